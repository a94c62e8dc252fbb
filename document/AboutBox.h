// The version information box, filled from the executable's version
// resource.
#pragma once

#include <windows.h>

#include <string>

// The named string of the file's version resource (first translation),
// cut to size - 1 bytes; empty when there is none.
std::string ReadVersionString(const std::string& filePath, const std::string& name, std::size_t size);
void ShowAboutBox(HWND window);
