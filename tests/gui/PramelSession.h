// Drives a running Pramel.exe from outside, the way a user would: commands
// posted as WM_COMMAND to its frame, message boxes answered by their
// buttons, the text read back from the rich-edit control, and windows
// captured to bitmaps. One session is one editor process; the destructor
// makes sure it is gone before the next test starts (the editor allows one
// instance per user).
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// The folder of the test program; Pramel.exe is found beside it or in the
// path given by the PRAMEL_EXE environment variable.
std::string PramelPath();
// A fresh folder for one test's files.
std::string ScratchFolder(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// The names of the files (not folders) in a folder.
std::vector<std::string> FilesIn(const std::string& folder);
// The editor's settings key (HKCU\Software\Tevrin\Pramel): emptied, then
// given the current layout version, so each test starts from defaults.
void ResetSettings();
void SetSetting(const std::string& section, const std::string& entry, DWORD value);
bool GetSetting(const std::string& section, const std::string& entry, DWORD* value);
// Where screenshots go (PRAMEL_SCREENSHOTS, else the current folder).
std::string ScreenshotFolder();
// Polls the condition until it holds or the time is up; its last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// A message box or dialog of the editor.
struct Dialog {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;  // the message of a message box
    explicit operator bool() const { return hwnd != nullptr; }
};

class PramelSession {
public:
    // Starts the editor with the arguments (already quoted as needed) and
    // waits until its main frame is up. Message boxes shown during start-up
    // are left for the test to answer (see WaitForDialog).
    explicit PramelSession(const std::string& arguments, bool waitForFrame = true);
    ~PramelSession();
    PramelSession(const PramelSession&) = delete;
    PramelSession& operator=(const PramelSession&) = delete;

    DWORD processId() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }
    bool running() const;
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitForExit(DWORD timeoutMs);

    // The editor's main frame (the first visible frame window), found anew.
    HWND Frame(DWORD timeoutMs = 10000) const;
    std::vector<HWND> Frames() const;
    std::string FrameTitle(HWND frame = nullptr) const;
    // The rich-edit control of a frame's view.
    HWND Control(HWND frame = nullptr) const;
    std::string Text(HWND frame = nullptr) const;
    void SetText(const std::string& text, HWND frame = nullptr) const;
    // Selects [start, end) and types the characters over it.
    void TypeOver(long start, long end, const std::string& chars, HWND frame = nullptr) const;
    // Presses and releases a key (a virtual-key code) in the text.
    void PressKey(UINT key, HWND frame = nullptr) const;
    long FirstVisibleLine(HWND frame = nullptr) const;
    void ScrollToLine(long line, HWND frame = nullptr) const;
    CHARRANGE Selection(HWND frame = nullptr) const;
    void Select(long start, long end, HWND frame = nullptr) const;
    // Where the control draws a character (client coordinates, pixels).
    POINT CharPosition(long index, HWND frame = nullptr) const;
    // The control's default character format (face, height in twips).
    CHARFORMAT2A DefaultCharFormat(HWND frame = nullptr) const;
    // The text's length in characters, a line break counting as one.
    long TextLength(HWND frame = nullptr) const;
    // The number of lines the control holds (EM_GETLINECOUNT); without word
    // wrap, one more than the line breaks in the text.
    long LineCount(HWND frame = nullptr) const;

    // The find box in the standard toolbar: its edit text and its list.
    HWND FindBox(HWND frame = nullptr) const;
    void SetFindBoxText(const std::string& text, HWND frame = nullptr) const;
    std::string FindBoxText(HWND frame = nullptr) const;
    std::vector<std::string> FindBoxHistory(HWND frame = nullptr) const;

    // Rests the mouse on a toolbar button (bar id, command id) until its
    // tooltip shows; the tooltip's text (empty on time-out). The status
    // bar's message pane then shows the button's prompt.
    std::string HoverToolButton(int barId, UINT command, HWND frame = nullptr) const;
    // Moves the mouse off the toolbars (onto the text).
    void MoveMouseToText(HWND frame = nullptr) const;
    // The state flags of a menu item (MF_CHECKED, MF_GRAYED, ...) as the
    // user sees them when its menu opens; 0xFFFFFFFF if there is no such
    // item. Read inside the editor by pramel_gui_probe.dll, since another
    // process cannot read a menu under Wine.
    UINT MenuItemState(UINT command, HWND frame = nullptr) const;

    // One page the editor asked the rich-edit control to lay out for
    // printing (EM_FORMATRANGE): the text's rectangle and the page, in
    // twips from the printable area's corner, and the characters.
    struct PageRequest {
        RECT rc;
        RECT rcPage;
        LONG cpMin;
        LONG cpMax;
        LONG render;
        LONG next;  // the first character left for the next page
    };
    // Wine's rich-edit control lays out no pages. This puts a stand-in into
    // the editor's control that fills each page with charsPerPage
    // characters and records the requests.
    bool StandInPageLayout(long charsPerPage, HWND frame = nullptr);
    std::vector<PageRequest> PageRequests() const;
    // Text of a status-bar pane, of the output bar's text.
    std::string StatusPane(int pane, HWND frame = nullptr) const;
    std::string OutputBarText(HWND frame = nullptr) const;
    // A window of the frame by its control id (the first one found), and
    // its text.
    HWND Item(int id, HWND frame = nullptr) const;
    std::string ItemText(int id, HWND frame = nullptr) const;

    // Posts a command to the frame; returns at once (it may open a dialog).
    void Post(UINT command, HWND frame = nullptr) const;
    // Sends a command and waits until the editor has handled it (only for
    // commands that show nothing modal).
    void Send(UINT command, HWND frame = nullptr) const;
    // Lets the editor's message queue drain.
    void Settle() const;

    // Waits for a dialog or message box of the editor (with the title, when
    // one is given); empty on time-out.
    Dialog WaitForDialog(const std::string& title = {}, DWORD timeoutMs = 10000) const;
    // The editor's dialogs and message boxes that are up now.
    std::vector<Dialog> Dialogs() const;
    static void Click(const Dialog& dialog, int buttonId);
    // Answers the open save dialog with a full path.
    bool AnswerFileDialog(const std::string& path, DWORD timeoutMs = 10000) const;

    // Renders the window into a bitmap file under ScreenshotFolder().
    std::string Screenshot(const std::string& name, HWND window = nullptr) const;

    // Closes every frame, answering "save changes?" with No.
    void Quit();

private:
    // Sends a message whose parameter points to a structure: the structure
    // is copied into the editor's memory and back. The pointer goes in
    // lParam, or in wParam when pointerInWParam.
    LRESULT SendWithStruct(HWND window, UINT msg, WPARAM wp, LPARAM lp, void* data, std::size_t size,
                           bool pointerInWParam = false) const;
    // A rich-edit control's text (its length asked in characters: Wine
    // answers WM_GETTEXTLENGTH from another process with 0 once the text
    // holds double-byte characters).
    std::string RichText(HWND control) const;
    // Runs a function of pramel_gui_probe.dll in the editor; its result.
    DWORD CallProbe(const char* function, void* parameter) const;

    PROCESS_INFORMATION pi_{};
    void* pageLog_ = nullptr;  // in the editor's memory
};

}  // namespace gui
