// Runs a template script as a child process under its script host
// (cscript for .js and .vbs, PowerShell for .ps1) and waits for it.
//
// A run hands the script the document's file as standard input, the output
// text file as standard output and the message file as standard error, and
// shares the session block "VeldaShare" with the template runtime library:
// the master copy goes in before the script starts and comes back after it
// has ended. A run that lasts longer than about three seconds shows the
// progress dialog, whose Cancel ends the script by force.
//
// The engine knows nothing of frames, views or documents: the caller
// passes the window to disable during the run (or none), so the same
// engine serves the editor and the command line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "session/SessionBlock.h"

class CCancelDialog;

class CScriptEngine {
public:
    // The exit code given to a script that the editor ends by force.
    static constexpr long kCancelled = -2000;
    // Poll interval, polls before the progress dialog shows, progress range
    // and the time limit of an information query.
    static constexpr DWORD kPollMs = 100;
    static constexpr int kPollsBeforeDialog = 30;
    static constexpr int kProgressRange = 1024;
    static constexpr DWORD kQueryLimitMs = 5000;
    // Size of the caller's buffer for QueryTemplateInfo's extensions.
    static constexpr std::size_t kExtensionsSize = 256;

    CScriptEngine();
    virtual ~CScriptEngine();
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;

    // The two work files, set once at start-up. False (and nothing set)
    // when a path does not fit the 260-byte path buffers.
    bool SetWorkFiles(const std::string& outputFile, const std::string& messageFile);
    // The library folder (ending in a backslash, or empty): the working
    // folder of an information query. False when it does not fit.
    bool SetLibraryFolder(const std::string& folder);

    const std::string& outputFile() const { return outputFile_; }
    const std::string& messageFile() const { return messageFile_; }
    const std::string& libraryFolder() const { return libraryFolder_; }
    bool HasWorkFiles() const { return !outputFile_.empty() && !messageFile_.empty(); }

    // The editor's own copy of the session block: the document writes the
    // layout into it before a run and reads the results after.
    session::SessionBlock& master() { return master_; }
    const session::SessionBlock& master() const { return master_; }

    // Runs the template on an open file. `file` is read by the script from
    // its start (the engine hands the child its own inheritable duplicate);
    // `fileName` is the name the script sees (name and extension, no
    // folder). `frame` (may be null) is disabled during the run.
    // Result: the exit code of the script process; kCancelled after a
    // cancel; the negative status of the block when the script ended with
    // exit code 0 after a fatal error report; -1 when a work file cannot be
    // created, a path does not fit or the process cannot be started.
    long RunTemplate(HANDLE file, const std::string& fileName, const std::string& templatePath, HWND frame);

    // Runs the template without input, only to learn the file extensions it
    // declares. `extensions` (at least kExtensionsSize bytes) receives the
    // block's templateExtend text, possibly empty. Result: the exit code,
    // or -1 when the mapping cannot be made or the process cannot start.
    long QueryTemplateInfo(const std::string& templatePath, char* extensions);

    // One poll while the progress dialog shows: moves its bar, lets the
    // thread's messages through, and returns whether Cancel was pressed.
    bool UpdateProgress(const session::SessionBlock& block, CCancelDialog& dialog);

    // The exit code of the last RunTemplate's process (0 when none ran),
    // whether its process started at all (when not, the work files hold
    // nothing of that file), and the command line it was started with.
    long lastExitCode() const { return lastExitCode_; }
    bool lastRunStarted() const { return lastRunStarted_; }
    const std::string& lastCommandLine() const { return lastCommandLine_; }
    // True while a run or a query is under way; another is then refused
    // with -1 and leaves everything as it is.
    bool IsRunning() const { return running_; }

private:
    session::SessionBlock master_;
    session::SessionBlock* active_;
    std::string outputFile_;
    std::string messageFile_;
    std::string libraryFolder_;
    long lastExitCode_ = 0;
    bool lastRunStarted_ = false;
    bool running_ = false;
    std::string lastCommandLine_;
};
