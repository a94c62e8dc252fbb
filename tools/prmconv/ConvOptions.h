// Command line of prmconv: the command, the layout options and the two
// file names ("-" or an omitted name is a standard stream).
#pragma once

#include <string>
#include <vector>

#include "pipeline/Chains.h"

struct ConvOptions {
    enum class Command { Dump, Pack, Crc, Apply, Verify, Templates, Help } command = Command::Help;
    HexLayout layout;        // dump uses all of it; pack and crc only the byte order
    std::string input = "-";
    std::string output = "-";
    std::string templatePath;  // apply and verify: the template to run on input
};

// Exit codes of prmconv.
enum ConvExit {
    kExitOk = 0,
    kExitFailed = 1,           // an error, a cancel, or (verify) a mismatch
    kExitUsage = 2,
    kExitNoTemplate = 3,       // the template file is missing
    kExitNoFile = 4,           // the input file is missing
    kExitNoLibrary = 5,        // the template library is not registered
    kExitNoTemplatesHere = 6,  // templates: none listed for the file
};

// Parses argv[1..]; on a bad command, option or value returns false and sets
// error to a one-line message naming it.
bool ParseConvOptions(const std::vector<std::string>& args, ConvOptions* options, std::string* error);

extern const char kConvUsage[];
