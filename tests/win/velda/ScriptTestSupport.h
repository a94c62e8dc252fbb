// Shared pieces of the Velda tests under Wine: the COM apartment, the
// standard input of the type tests, script paths, and the editor's save
// chain that packs a produced text back into bytes.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

#include "ScriptRunner.h"
#include "TestFiles.h"

class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// 12 34 56 78 | FF FF FF FF | 01 00 00 00 00 00 00 00 | 41 42 00 | 82 A0
std::string TypesInput();

std::wstring TestScript(const char* name);
std::wstring ExampleTemplate(const char* name);

// Runs a script with a session block (or none) over input, in a work folder
// named after the running test.
ScriptResult RunWithBlock(const std::wstring& script, const session::SessionBlock& block, const std::string& input);

// The bytes the editor's save chain makes of a text, in the given order.
std::string PackText(const std::string& text, bool bigEndian);
// The CRC the editor computes over those bytes for its verification.
std::uint32_t PackedCrc(const std::string& text, bool bigEndian);

// A line as WScript.Echo writes it.
inline std::string Echo(const std::string& text) { return text + "\r\n"; }

// The system's message text for a Win32 error, in the ANSI code page.
std::string SystemMessage(DWORD error);
