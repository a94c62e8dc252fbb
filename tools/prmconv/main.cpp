// prmconv: the editor's conversions on the command line. dump shows a file
// as binary mode does, pack saves a text as the editor does, crc prints the
// check value of the bytes a text packs to.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/ByteFiles.h"
#include "pipeline/Chains.h"
#include "tools/prmconv/ConvOptions.h"
#ifdef _WIN32
#include "tools/prmconv/TemplateCommands.h"
#endif

namespace {

std::unique_ptr<OsByteFile> OpenInput(const std::string& name) {
    return name == "-" ? OsByteFile::StandardInput() : OsByteFile::Open(name, OsByteFile::Mode::Read);
}

std::unique_ptr<OsByteFile> OpenOutput(const std::string& name) {
    return name == "-" ? OsByteFile::StandardOutput() : OsByteFile::Open(name, OsByteFile::Mode::Write);
}

int Run(const ConvOptions& o) {
    auto input = OpenInput(o.input);
    CStream source(kFileStream, input.get());
    if (o.command == ConvOptions::Command::Crc) {
        std::printf("%08X\n", PackedTextCrc(source, o.layout.byteOrder));
        return 0;
    }
    auto output = OpenOutput(o.output);
    CStream sink(kFileStream, output.get());
    int result = o.command == ConvOptions::Command::Dump ? RunDumpChain(source, o.layout, sink)
                                                         : RunPackChain(source, o.layout.byteOrder, sink);
    output->Flush();
    if (result < 0) {
        std::fprintf(stderr, "prmconv: out of memory\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ConvOptions options;
    std::string error;
    if (!ParseConvOptions(args, &options, &error)) {
        std::fprintf(stderr, "prmconv: %s (see prmconv --help)\n", error.c_str());
        return kExitUsage;
    }
    if (options.command == ConvOptions::Command::Help) {
        std::fputs(kConvUsage, stdout);
        return 0;
    }
    using C = ConvOptions::Command;
    if (options.command == C::Apply || options.command == C::Verify || options.command == C::Templates) {
#ifdef _WIN32
        try {
            return RunTemplateCommand(options);
        } catch (const FileError& e) {
            std::fprintf(stderr, "prmconv: %s\n", e.what());
            return kExitFailed;
        }
#else
        std::fprintf(stderr, "prmconv: templates run on Windows only (the script hosts and the library are there)\n");
        return kExitUsage;
#endif
    }
    try {
        return Run(options);
    } catch (const FileError& e) {
        std::fprintf(stderr, "prmconv: %s\n", e.what());
        return 1;
    }
}
