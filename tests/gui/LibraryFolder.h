// A template library for a GUI test: a copy of Velda.dll with chosen
// templates in subfolders, registered as the library's location while the
// object lives; and the small path and registry helpers it needs.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace gui {

// A path of the build (Unix or Windows form) as a Windows path.
std::string WindowsPath(std::string path);
// Code page 932 text as UTF-16.
std::wstring Wide(const std::string& text);
// Deletes a folder with everything in it.
void RemoveTree(const std::string& folder);
// The library's registered server path, and setting it.
std::string RegistryServer();
void SetRegistryServer(const std::string& path);

class LibraryFolder {
public:
    // Makes folder\lib\ with Velda.dll and the templates (subfolder, name),
    // taken from the tests' code page 932 copies, and registers it.
    LibraryFolder(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& templates);
    ~LibraryFolder();
    LibraryFolder(const LibraryFolder&) = delete;
    LibraryFolder& operator=(const LibraryFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string saved_;
};

}  // namespace gui
