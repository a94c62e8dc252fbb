// The command line split into switches and parameters. Parameters follow the
// system's quoting rules (double quotes group, backslashes before a quote
// escape it). The first parameter that is not a switch makes the command
// "open a file"; without one it is "new document".
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum class ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;

    // Called for every parameter in order; flag is true for a switch ("/x"
    // or "-x", given without its lead character), last for the final one.
    virtual void ParseParam(const std::string& param, bool flag, bool last);

    // Splits a whole command line (program name first, which is skipped).
    void ParseCommandLine(const std::string& commandLine);
    static std::vector<std::string> Split(const std::string& commandLine);

    ShellCommand shellCommand = ShellCommand::FileNew;
    std::string fileName;  // the first file parameter
};
