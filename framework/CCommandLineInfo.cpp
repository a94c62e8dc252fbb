#include "framework/CCommandLineInfo.h"

#include <windows.h>

void CCommandLineInfo::ParseParam(const std::string& param, bool flag, bool /*last*/) {
    if (flag) {
        // "/n" or "/nothing": start without a document.
        if (param == "n" || param == "N") shellCommand = ShellCommand::FileNothing;
        return;
    }
    if (fileName.empty()) {
        fileName = param;
        shellCommand = ShellCommand::FileOpen;
    }
}

void CCommandLineInfo::ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> args = Split(commandLine);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool flag = a.size() > 1 && (a[0] == '/' || a[0] == '-');
        ParseParam(flag ? a.substr(1) : a, flag, i + 1 == args.size());
    }
}

std::vector<std::string> CCommandLineInfo::Split(const std::string& line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = line.size();
    // The program name ends at the first blank outside quotes; quotes in it
    // are not escapes.
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    {
        std::string program;
        bool quoted = false;
        for (; i < n; ++i) {
            char c = line[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == ' ' || c == '\t')) {
                break;
            } else {
                program += c;
            }
        }
        args.push_back(program);
    }
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        std::string arg;
        bool quoted = false;
        for (; i < n; ++i) {
            char c = line[i];
            if (c == '\\') {
                std::size_t first = i;
                while (i < n && line[i] == '\\') ++i;
                std::size_t slashes = i - first;
                if (i < n && line[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote
                    // toggles; 2n+1: n backslashes and a literal quote.
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
                --i;  // the loop's step moves to the next unread character
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                continue;
            }
            if (!quoted && (c == ' ' || c == '\t')) break;
            // A double-byte character's trail byte may look like a backslash.
            if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < n) {
                arg += c;
                arg += line[++i];
                continue;
            }
            arg += c;
        }
        args.push_back(arg);
    }
    return args;
}
