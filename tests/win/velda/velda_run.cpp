// velda_run: runs one template the way the editor does and prints what came
// back, for trying templates by hand and for the Wine benchmark.
//
//   velda_run [options] script.js|.vbs [input-file]
//     --unit N      data unit size in the block (default 1)
//     --big         big-endian byte order
//     --line N      bytes per line (default 16)
//     --sep N       separator code: 0 space, 1 tab, 2 comma
//     --query       the information query: no standard handles
//     --no-mapping  start the script without the session block
//     --work DIR    folder for the work files (default: current folder)
//     --quiet       leave out the produced text (messages are still shown)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ScriptRunner.h"
#include "TestFiles.h"

namespace {

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    return length == 0 ? path : std::wstring(buffer, length);
}

int Usage() {
    std::fprintf(stderr, "usage: velda_run [--unit N] [--big] [--line N] [--sep N] [--query] [--no-mapping] "
                         "[--work DIR] [--quiet] script [input-file]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    unsigned unit = 1;
    bool big = false, query = false, noMapping = false, quiet = false;
    int line = 16, separator = 0;
    std::wstring work = L".", script, inputPath;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        auto next = [&]() -> std::wstring { return i + 1 < argc ? argv[++i] : L""; };
        if (arg == L"--unit") unit = static_cast<unsigned>(_wtoi(next().c_str()));
        else if (arg == L"--big") big = true;
        else if (arg == L"--line") line = _wtoi(next().c_str());
        else if (arg == L"--sep") separator = _wtoi(next().c_str());
        else if (arg == L"--query") query = true;
        else if (arg == L"--no-mapping") noMapping = true;
        else if (arg == L"--work") work = next();
        else if (arg == L"--quiet") quiet = true;
        else if (script.empty()) script = arg;
        else if (inputPath.empty()) inputPath = arg;
        else return Usage();
    }
    if (script.empty()) return Usage();

    ScriptRequest request;
    request.script = FullPath(script);
    request.workFolder = FullPath(work);
    request.withHandles = !query;
    request.dismissStartupBox = noMapping;
    request.timeoutMs = 600000;
    if (!noMapping) {
        session::SessionBlock block = MakeRunBlock(unit, big, line, separator, "input.bin");
        if (query) {
            block = session::SessionBlock{};
            block.blockSize = session::kBlockSize;
        }
        request.block = block;
    }
    if (!inputPath.empty()) request.input = ReadWholeFile(FullPath(inputPath));

    const ULONGLONG start = GetTickCount64();
    const ScriptResult result = RunScript(request);
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (!result.failure.empty()) {
        std::fprintf(stderr, "velda_run: %s\n", result.failure.c_str());
        return 1;
    }
    std::printf("--- standard output (%u bytes)\n", static_cast<unsigned>(result.output.size()));
    if (!quiet) {
        std::fwrite(result.output.data(), 1, result.output.size(), stdout);
        std::printf("\n");
    }
    std::printf("--- standard error (%u bytes)\n", static_cast<unsigned>(result.errors.size()));
    std::fwrite(result.errors.data(), 1, result.errors.size(), stdout);
    std::printf("--- exit code %lu%s, %llu ms\n", result.exitCode, result.timedOut ? " (timed out)" : "",
                static_cast<unsigned long long>(elapsed));
    if (result.boxSeen) std::printf("--- message box seen\n");
    if (!noMapping) {
        const session::SessionBlock& b = result.block;
        std::printf("status %d errorOffset %d fileSize %u outputBytes %u outputCrc %08X reversible %d version %d "
                    "dataFormat %u\n",
                    b.status, b.errorOffset, b.fileSize, b.outputBytes, b.outputCrc, b.reversible, b.version,
                    b.dataFormat);
        std::printf("templateName [%s] templateExtend [%s] editorName [%s]\n", b.templateName, b.templateExtend,
                    b.editorName);
    }
    return 0;
}
