// The template runtime library (Velda.dll) seen from the editor: the
// start-up check that its Com object can be created and reports version
// 103, registration through the system's regsvr32, the registered folder
// (the library folder that holds the template tree), the command that
// registers a library from another folder, and version resources.
#pragma once

#include <windows.h>

#include <string>

namespace library {

constexpr int kExpectedVersion = 103;
constexpr const char kLibraryFileName[] = "Velda.dll";

// The registered library's folder, ending in a backslash; empty when the
// registration cannot be read.
std::string LocateLibrary();
// True when the editor may start: the library is there with the right
// version, or the user chose to keep the registered one. Asks to register
// and registers as needed; false when the user cancels.
bool EnsureLibrary();
// The system's folder browser; OK is enabled only on a folder holding
// Velda.dll. The chosen folder without trailing backslash, or empty.
std::string BrowseLibraryFolder(const std::string& title);
// Runs regsvr32 on the file (elevated where the system has elevation) and
// waits until it has ended.
void RegisterLibrary(const std::string& libraryPath);
// The file version of a library file as major * 100 + minor * 10 + build,
// or -1 when it has none that reads as three numbers.
int LibraryFileVersion(const std::string& libraryPath);
// The command that registers the library of another folder; the change
// takes effect at the next start.
void ChangeLibrary(HWND owner);

}  // namespace library

// The named string of the file's version resource (first translation),
// cut to size - 1 bytes; empty when there is none.
std::string ReadVersionString(const std::string& filePath, const std::string& name, std::size_t size);
// The application's version information box.
void ShowAboutBox(HWND window);
