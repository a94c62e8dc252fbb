// Stands in for powershell.exe in the engine's tests. Reports exactly the
// command line it was started with, then a line feed, its working folder, a
// line feed, the number of bytes its standard input holds and its start-up
// flags and show state. The report goes to the file named by the environment
// variable STANDIN_REPORT when that is set (an information query gives the
// child no standard handles), else to standard output. Exits with the code in
// STANDIN_EXIT_CODE (0 when unset).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    std::string report = GetCommandLineA();
    report += '\n';
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    report += folder;
    report += '\n';

    unsigned long long inputBytes = 0;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input != nullptr && input != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) inputBytes += got;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    char line[128];
    std::snprintf(line, sizeof line, "input=%llu flags=%lx show=%u\n", inputBytes,
                  static_cast<unsigned long>(startup.dwFlags), static_cast<unsigned>(startup.wShowWindow));
    report += line;

    char reportFile[MAX_PATH] = {};
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE created = INVALID_HANDLE_VALUE;
    if (GetEnvironmentVariableA("STANDIN_REPORT", reportFile, sizeof reportFile) > 0) {
        created = CreateFileA(reportFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        output = created;
    }
    DWORD written = 0;
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        WriteFile(output, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    }
    if (created != INVALID_HANDLE_VALUE) CloseHandle(created);
    char code[32] = {};
    if (GetEnvironmentVariableA("STANDIN_EXIT_CODE", code, sizeof code) > 0) return std::atoi(code);
    return 0;
}
