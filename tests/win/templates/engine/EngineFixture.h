// Shared pieces of the script engine's tests: an engine with its work files
// in a fresh folder per test, the document file, a stand-in frame window,
// and the build's test scripts and stand-in host.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"
#include "templates/CScriptEngine.h"

// Full path of a converted test script (its folder name holds a blank).
std::string ScriptPath(const char* name);
// Folder of the stand-in powershell.exe.
std::string StandInFolder();

std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
// The system's message text for a Win32 error.
std::string SystemText(DWORD error);
// The result line of a run that ended normally, built by hand.
std::string FinishedLine(std::uint32_t crc, std::uint32_t size);

// n bytes 00 01 02 ... FF 00 01 ...
std::string CountingBytes(std::size_t n);

// Environment variable set for the scope, restored after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_;
};

// The stand-in powershell.exe found first when a .ps1 template runs.
class StandInHost {
public:
    StandInHost();

private:
    ScopedVariable path_;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file in this test's work folder.
    std::string Work(const std::string& name) const { return work_ + name; }
    // Runs a template on a document file holding `input`, opened the way
    // the document opens it (not inheritable), with the frame window.
    long Run(const std::string& templatePath, const std::string& input, const char* fileName = "sample.bin");
    std::string Output() const { return ReadBytes(engine_.outputFile()); }
    std::string Messages() const { return ReadBytes(engine_.messageFile()); }

    CScriptEngine engine_;
    std::string work_;  // ends in a backslash
    HWND frame_ = nullptr;
};
