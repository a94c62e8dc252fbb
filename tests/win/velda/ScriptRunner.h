// The editor's side of a template run, for tests: creates the session block
// "VeldaShare", starts `cscript //nologo <script>` with chosen standard
// handles, waits, and hands back what the script left: its standard output
// and standard error bytes, its exit code and the block.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "session/SessionBlock.h"

struct ScriptRequest {
    std::wstring script;                          // full path of the .js/.vbs
    std::optional<session::SessionBlock> block;   // nullopt: no mapping at all
    std::string input;                            // bytes of the standard-input file
    // false: the information query's situation, all three standard handles
    // INVALID_HANDLE_VALUE.
    bool withHandles = true;
    DWORD timeoutMs = 30000;
    // Look for the library's start-up message box and press its OK button.
    bool dismissStartupBox = false;
    std::wstring workFolder;  // where input, output and message files go
};

struct ScriptResult {
    bool started = false;
    bool timedOut = false;
    DWORD exitCode = 0;
    std::string output;     // standard output, raw bytes
    std::string errors;     // standard error, raw bytes
    session::SessionBlock block{};  // the block after the run (when mapped)
    bool boxSeen = false;
    std::wstring boxCaption;
    std::wstring boxText;   // texts of the box's static controls, joined
    std::string failure;    // why the run could not be set up
};

ScriptResult RunScript(const ScriptRequest& request);

// The block the editor's master copy starts with, laid out for one run.
session::SessionBlock MakeRunBlock(unsigned unitSize, bool bigEndian, int lineBytes, int separator,
                                   const char* fileName = "sample.bin");
