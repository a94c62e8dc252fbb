// File helpers for the Windows tests: paths of the build tree's test data,
// per-test work folders, whole-file reads and writes.
#pragma once

#include <string>

// Folder of the code page 932 test scripts and the converted templates.
std::wstring ScriptFolder();
std::wstring TemplateFolder();
// Full path of the Velda.dll under test.
std::wstring VeldaDllPath();
// A fresh, empty folder for one test (named after it).
std::wstring WorkFolder(const std::string& name);

std::wstring Join(const std::wstring& folder, const std::wstring& name);
std::wstring Widen(const std::string& text);   // ASCII/UTF-8 names only
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
