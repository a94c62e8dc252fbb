#include "tools/prmconv/ConvOptions.h"

#include <cstdlib>

const char kConvUsage[] =
    "usage: prmconv dump [-g|--group 1|2|4] [-e|--endian little|big] [-w|--width 4..64]\n"
    "                    [-s|--separator space|tab|comma] [INPUT] [OUTPUT]\n"
    "       prmconv pack [-e|--endian little|big] [INPUT] [OUTPUT]\n"
    "       prmconv crc  [-e|--endian little|big] [INPUT]\n"
    "       prmconv --help\n"
    "dump turns bytes into the editor's hexadecimal text, pack turns text back\n"
    "into bytes as the editor saves it, crc prints the CRC-32 of the packed bytes.\n"
    "A file name of - or an omitted one means standard input or output.\n";

namespace {

bool ParseNumber(const std::string& text, long low, long high, long* value) {
    if (text.empty() || text.size() > 4) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < low || v > high) return false;
    *value = v;
    return true;
}

bool ApplyOption(const std::string& name, const std::string& value, ConvOptions* o, std::string* error) {
    bool dump = o->command == ConvOptions::Command::Dump;
    long n = 0;
    if (name == "-e" || name == "--endian") {
        if (value == "little") o->layout.byteOrder = 0;
        else if (value == "big") o->layout.byteOrder = 1;
        else return *error = "bad value for " + name + ": '" + value + "' (little or big)", false;
    } else if (dump && (name == "-g" || name == "--group")) {
        if (!ParseNumber(value, 1, 4, &n) || n == 3) return *error = "bad value for " + name + ": '" + value + "' (1, 2 or 4)", false;
        o->layout.groupSize = static_cast<int>(n);
    } else if (dump && (name == "-w" || name == "--width")) {
        if (!ParseNumber(value, 4, 64, &n)) return *error = "bad value for " + name + ": '" + value + "' (4 to 64)", false;
        o->layout.bytesPerLine = static_cast<std::uint32_t>(n);
    } else if (dump && (name == "-s" || name == "--separator")) {
        if (value == "space") o->layout.separatorCode = 0;
        else if (value == "tab") o->layout.separatorCode = 1;
        else if (value == "comma") o->layout.separatorCode = 2;
        else return *error = "bad value for " + name + ": '" + value + "' (space, tab or comma)", false;
    } else {
        return *error = "unknown option: " + name, false;
    }
    return true;
}

}  // namespace

bool ParseConvOptions(const std::vector<std::string>& args, ConvOptions* o, std::string* error) {
    if (args.empty()) return *error = "missing command (dump, pack or crc)", false;
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        o->command = ConvOptions::Command::Help;
        return true;
    }
    if (command == "dump") o->command = ConvOptions::Command::Dump;
    else if (command == "pack") o->command = ConvOptions::Command::Pack;
    else if (command == "crc") o->command = ConvOptions::Command::Crc;
    else return *error = "unknown command: " + command, false;

    std::vector<std::string> names;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o->command = ConvOptions::Command::Help;
            return true;
        }
        if (a.size() > 1 && a[0] == '-') {
            std::string name = a, value;
            std::size_t eq = a.find('=');
            if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return *error = "missing value for " + a, false;
            }
            if (!ApplyOption(name, value, o, error)) return false;
        } else {
            names.push_back(a);
        }
    }
    std::size_t maxNames = o->command == ConvOptions::Command::Crc ? 1 : 2;
    if (names.size() > maxNames) return *error = "unexpected argument: " + names[maxNames], false;
    if (names.size() > 0) o->input = names[0];
    if (names.size() > 1) o->output = names[1];
    return true;
}
