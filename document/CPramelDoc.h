// The editor's document: a file shown as text in one of three modes.
//   text (1)      the file is plain text;
//   binary (2)    its bytes are shown as hexadecimal text and the edited
//                 text is packed back into bytes on saving;
//   template (3)  a template script renders the file; the text is checked
//                 against the bytes the template emitted, and a save can
//                 let the template judge the written file first.
// It remembers the byte order per file extension, refuses to save over a
// read-only file (Save becomes Save As), and saves through a temporary file
// so that a failed conversion leaves the old file untouched.
#pragma once

#include <string>

#include "framework/CRichEditDoc.h"
#include "session/SessionBlock.h"

class CArchive;
class CFile;
class CFrameWnd;
class CPramelView;
class CScriptEngine;

class CPramelDoc : public CRichEditDoc {
public:
    enum Mode { kModeNone = 0, kModeText = 1, kModeBinary = 2, kModeTemplate = 3 };

    CPramelDoc();

    // Sets the path, byte order and template, then loads the file in the
    // document's current mode.
    bool OpenFile(const std::string& path);
    // Loads the file again with the current settings, keeping the first
    // visible line; false when the user declined or the file did not load.
    bool Reload();
    // Packs the view's text into the archive's file: 1 saved, 0 cancelled,
    // -1 conversion error.
    int SaveConversion(CArchive& archive);
    // The title: full path while the frame is the active window, else the
    // file name; untitled documents keep their default title.
    void UpdateTitle() override;

    // Commands routed by the view: each reloads and puts the old value back
    // when the reload is refused.
    void ChangeByteOrder(int order);
    void ChangeDataSize(int size);

    CPramelView* GetPramelView() const;

    // Framework hooks.
    void Serialize(CArchive& archive) override { LoadOrStore(archive); }
    bool DoSave(const std::string* path, bool replace = true) override { return SaveDocument(path, replace); }
    void OnCloseDocument() override { CloseDocument(); }
    void ReportSaveLoadException(const std::string& path, const std::exception& error, bool saving) override {
        ReportSaveError(path, error, saving);
    }
    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Refused while the document loads, reloads or saves: a template run or
    // a dialog of that operation pumps messages, and a close arriving then
    // would delete the document under the operation.
    bool CanCloseFrame(CFrameWnd* frame) override;
    bool IsBusy() const { return busy_ > 0; }
    // Commands that would save, reload or close the document.
    static bool IsBlockedWhileBusy(UINT id);

    int dataSize = 1;
    int byteOrder = 1;
    int mode = kModeBinary;
    int saveType = 2;
    int writable = 1;
    int preSaveCheck = 1;
    session::SessionBlock sessionCopy{};
    std::string templatePath;

private:
    // Marks the document busy for the length of one operation.
    class BusyScope {
    public:
        explicit BusyScope(CPramelDoc& document) : count_(document.busy_) { ++count_; }
        ~BusyScope() { --count_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        int& count_;
    };

    void LoadOrStore(CArchive& archive);
    void LoadBinary(CArchive& archive);
    // Keeps what a text-mode save would change and tells the user.
    void ReportTextLosses(unsigned losses);
    bool SaveDocument(const std::string* path, bool replace);
    void CloseDocument();
    void ReportSaveError(const std::string& path, const std::exception& error, bool saving);
    // Template mode: the layout a template runs with, the template's text
    // loaded and checked against the bytes it emitted, and the run over a
    // newly written file that lets the template judge it (false: the user
    // cancelled the save).
    void SetTemplateLayout(const CPramelView& view);
    void LoadTemplate(CArchive& archive);
    bool PreSaveRun(CFile& written);
    // Message 0x8000 to the frame's output bar: clear, error text, end of a
    // load; and the result of a template run.
    void NotifyOutputBar(WPARAM what, const std::string* text);
    void ShowRunResult(const CScriptEngine& engine);
    HWND FrameWindow() const;

    int busy_ = 0;
    // What a text-mode save would change in the file as loaded
    // (text_fidelity::Loss bits); cleared once the user agreed to a save.
    unsigned textLosses_ = 0;
};
