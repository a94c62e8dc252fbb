// Command line of prmconv: the command, the layout options and the two
// file names ("-" or an omitted name is a standard stream).
#pragma once

#include <string>
#include <vector>

#include "pipeline/Chains.h"

struct ConvOptions {
    enum class Command { Dump, Pack, Crc, Help } command = Command::Help;
    HexLayout layout;        // dump uses all of it; pack and crc only the byte order
    std::string input = "-";
    std::string output = "-";
};

// Parses argv[1..]; on a bad command, option or value returns false and sets
// error to a one-line message naming it.
bool ParseConvOptions(const std::vector<std::string>& args, ConvOptions* options, std::string* error);

extern const char kConvUsage[];
