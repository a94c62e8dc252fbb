#include "framework/LoadLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

// Milliseconds on the performance counter.
double LoadClock() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void AppendLoadLog(const char* format, ...) {
    static const std::string path = [] {
        char value[MAX_PATH] = {};
        DWORD n = GetEnvironmentVariableA("PRAMEL_LOAD_LOG", value, sizeof value);
        return n > 0 && n < sizeof value ? std::string(value) : std::string();
    }();
    if (path.empty()) return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (FILE* log = std::fopen(path.c_str(), "a")) {
        std::fprintf(log, "%s at=%.1f\n", line, LoadClock());
        std::fclose(log);
    }
}

