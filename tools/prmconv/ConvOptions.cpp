#include "tools/prmconv/ConvOptions.h"

#include <cstdlib>

const char kConvUsage[] =
    "usage: prmconv dump [-g|--group 1|2|4] [-e|--endian little|big] [-w|--width 4..64]\n"
    "                    [-s|--separator space|tab|comma] [INPUT] [OUTPUT]\n"
    "       prmconv pack [-e|--endian little|big] [INPUT] [OUTPUT]\n"
    "       prmconv crc  [-e|--endian little|big] [INPUT]\n"
    "       prmconv apply [-g|--group 1|2|4] [-e|--endian little|big] [-w|--width 4..64]\n"
    "                     [-s|--separator space|tab|comma] TEMPLATE FILE [OUTPUT]\n"
    "       prmconv verify [layout options as apply] TEMPLATE FILE\n"
    "       prmconv templates FILE\n"
    "       prmconv --help\n"
    "dump turns bytes into the editor's hexadecimal text, pack turns text back\n"
    "into bytes as the editor saves it, crc prints the CRC-32 of the packed bytes.\n"
    "A file name of - or an omitted one means standard input or output.\n"
    "\n"
    "Templates (Windows, with the template library registered) run as the\n"
    "editor runs them, without a window:\n"
    "apply writes the text the template produces for FILE (to OUTPUT or the\n"
    "standard output) and prints the template's messages and result line on\n"
    "the standard error; verify applies the template, packs its text back and\n"
    "tells whether the text stands for the file (CRC-32 and every byte);\n"
    "templates lists the templates the template list offers for FILE.\n"
    "The layout options set what the template is told of the editor's layout.\n"
    "The editor's library folder ships templates for BMP, PNG, GIF, JPEG/JFIF,\n"
    "ICO/CUR, WAV, Standard MIDI, ZIP, GZIP, TAR, ELF, PE/COFF and\n"
    "TrueType/OpenType, one subfolder per family.\n"
    "\n"
    "Exit codes: 0 done (verify: the text stands for the file), 1 an error, a\n"
    "cancelled template or a mismatch, 2 bad use, 3 no such template, 4 no such\n"
    "file, 5 the template library is not registered, 6 no template listed for\n"
    "the file.\n";

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
    bool dump = o->command == ConvOptions::Command::Dump || o->command == ConvOptions::Command::Apply ||
                o->command == ConvOptions::Command::Verify;
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
    if (args.empty()) return *error = "missing command (dump, pack, crc, apply, verify or templates)", false;
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        o->command = ConvOptions::Command::Help;
        return true;
    }
    if (command == "dump") o->command = ConvOptions::Command::Dump;
    else if (command == "pack") o->command = ConvOptions::Command::Pack;
    else if (command == "crc") o->command = ConvOptions::Command::Crc;
    else if (command == "apply") o->command = ConvOptions::Command::Apply;
    else if (command == "verify") o->command = ConvOptions::Command::Verify;
    else if (command == "templates") o->command = ConvOptions::Command::Templates;
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
    using C = ConvOptions::Command;
    if (o->command == C::Apply || o->command == C::Verify) {
        // The template and the file are needed; apply may name an output.
        std::size_t maxNames = o->command == C::Apply ? 3 : 2;
        if (names.size() < 2) return *error = std::string("missing ") + (names.empty() ? "TEMPLATE" : "FILE"), false;
        if (names.size() > maxNames) return *error = "unexpected argument: " + names[maxNames], false;
        o->templatePath = names[0];
        o->input = names[1];
        if (names.size() > 2) o->output = names[2];
        return true;
    }
    if (o->command == C::Templates) {
        if (names.empty()) return *error = "missing FILE", false;
        if (names.size() > 1) return *error = "unexpected argument: " + names[1], false;
        o->input = names[0];
        return true;
    }
    std::size_t maxNames = o->command == C::Crc ? 1 : 2;
    if (names.size() > maxNames) return *error = "unexpected argument: " + names[maxNames], false;
    if (names.size() > 0) o->input = names[0];
    if (names.size() > 1) o->output = names[1];
    return true;
}
