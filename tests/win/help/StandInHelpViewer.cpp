// Stands in for the HTML Help viewer hh.exe in the editor's test of the Help
// commands. Writes the command line it was started with, exactly, into a
// file of its own (named after its process id) in the folder that the
// environment variable PRAMEL_HELP_VIEWER_REPORT names; then, like a viewer
// the user keeps open, stays until the event named by
// PRAMEL_HELP_VIEWER_HOLD is set (at most a minute).
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("PRAMEL_HELP_VIEWER_REPORT", folder, sizeof folder) == 0) return 2;
    char name[64];
    std::snprintf(name, sizeof name, "\\viewer-%lu.txt", GetCurrentProcessId());
    const std::string path = std::string(folder) + name;
    const std::string line = GetCommandLineA();
    HANDLE report = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (report == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(report, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(report);

    char hold[MAX_PATH] = {};
    if (GetEnvironmentVariableA("PRAMEL_HELP_VIEWER_HOLD", hold, sizeof hold) > 0) {
        HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, hold);
        if (event) {
            WaitForSingleObject(event, 60000);
            CloseHandle(event);
        }
    }
    return 0;
}
