#include "frame/CMsgWnd.h"

#include <richedit.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "document/CPramelApp.h"
#include "document/CPramelDoc.h"
#include "frame/FrameTexts.h"
#include "framework/CFrameWnd.h"
#include "framework/Strings.h"
#include "resources/pramel/resource.h"
#include "templates/CScriptEngine.h"

namespace {

// The longest link the bar opens (the longest address browsers take).
constexpr LONG kMaxLinkChars = 2083;

// The messages a template run collected: each line followed by CR LF. The
// file is emptied afterwards, so each run's messages show once.
std::string TakeMessages(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        std::size_t length = (end == std::string::npos ? bytes.size() : end) - start;
        if (length > 0 && bytes[start + length - 1] == '\r') --length;
        text.append(bytes, start, length);
        text += "\r\n";
        start = next;
    }
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return text;
}

// Hands a text to the control as plain text (never read as rich text, which
// a text starting with "{\\rtf" would be otherwise). A buffer never ends
// between a CR and its LF or inside a double-byte character: the control
// would take the pieces for separate characters.
struct PlainText {
    const std::string* text;
    std::size_t at;
};

DWORD CALLBACK GivePlainText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* source = reinterpret_cast<PlainText*>(cookie);
    const std::string& text = *source->text;
    std::size_t end = source->at;
    std::size_t limit = source->at + static_cast<std::size_t>(size > 2 ? size : 2);
    while (end < text.size()) {
        std::size_t next = end + (IsDBCSLeadByte(static_cast<BYTE>(text[end])) && end + 1 < text.size() ? 2 : 1);
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        if (next > limit) break;
        end = next;
    }
    std::memcpy(buffer, text.data() + source->at, end - source->at);
    *done = static_cast<LONG>(end - source->at);
    source->at = end;
    return 0;
}

void StreamPlainText(HWND control, const std::string& text, bool replaceSelection) {
    PlainText source{&text, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, GivePlainText};
    SendMessageA(control, EM_STREAMIN, SF_TEXT | (replaceSelection ? SFF_SELECTION : 0),
                 reinterpret_cast<LPARAM>(&stream));
}

// A template below the library folder shows its path relative to it.
std::string ShortTemplatePath(const std::string& path, const std::string& libraryFolder) {
    if (!libraryFolder.empty() && path.size() >= libraryFolder.size() &&
        CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(),
                       static_cast<int>(libraryFolder.size()), libraryFolder.c_str(),
                       static_cast<int>(libraryFolder.size())) == CSTR_EQUAL) {
        return path.substr(libraryFolder.size());
    }
    return path;
}

// The template file's last change, in local time; empty when the file
// cannot be opened.
std::string LastWriteText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    FILETIME written{};
    FILETIME local{};
    SYSTEMTIME time{};
    bool ok = GetFileTime(file, nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local) &&
              FileTimeToSystemTime(&local, &time);
    CloseHandle(file);
    if (!ok) return std::string();
    return text::Format(texts::kDetailsTime, time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                        time.wSecond);
}

}  // namespace

CMsgWnd::CMsgWnd() : CDialogBar(IDD_MSGBAR) {}

bool CMsgWnd::Create(HWND frame, UINT barId) {
    frame_ = frame;
    if (!CDialogBar::Create(frame, barId)) return false;
    // Without the rich-edit library the bar shows only its dialog controls.
    if (LoadLibraryA("riched20.dll")) {
        output_ = CreateWindowExA(0, "RichEdit20A", "",
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                                  0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_OUTPUT_TEXT)),
                                  GetModuleHandleA(nullptr), nullptr);
    }
    if (output_) {
        SendMessageA(output_, EM_SETEVENTMASK, 0, ENM_LINK);
        SendMessageA(output_, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
        LOGFONTA logFont{};
        HFONT barFont = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
        if (barFont) GetObjectA(barFont, sizeof logFont, &logFont);
        logFont.lfHeight = 14;
        logFont.lfWidth = 0;
        logFont.lfPitchAndFamily = FIXED_PITCH;
        logFont.lfCharSet = SHIFTJIS_CHARSET;
        lstrcpynA(logFont.lfFaceName, texts::kOutputFontFace, LF_FACESIZE);
        font_.reset(CreateFontIndirectA(&logFont));
        if (font_) SendMessageA(output_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    SetWindowTextA(hwnd(), texts::kOutputBarTitle);
    Layout();
    return true;
}

void CMsgWnd::Layout() {
    if (!output_) return;
    RECT bar{};
    GetClientRect(hwnd(), &bar);
    if (IsFloating()) {
        // Floating, the text fills the bar below the template line.
        int right = bar.right - 3;
        int bottom = bar.bottom - 2;
        if (right < 1) right = 1;
        if (bottom < 23) bottom = 23;
        SetWindowPos(output_, nullptr, 0, 22, right, bottom - 22, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT frame{};
    GetClientRect(frame_, &frame);
    // Docked, the bar is as wide as the frame; the text keeps a margin.
    int right = (frame.right > 0 ? frame.right : bar.right) - 20;
    int bottom = bar.bottom - 5;
    if (right < 10) right = 10;
    if (bottom < 22) bottom = 22;
    SetWindowPos(output_, nullptr, 10, 22, right - 10, bottom - 22, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMsgWnd::OnDockStateChanged(bool floating, bool vertical) {
    CDialogBar::OnDockStateChanged(floating, vertical);
    Layout();
}

std::string CMsgWnd::OutputText() const { return output_ ? text::WindowText(output_) : std::string(); }

void CMsgWnd::SetOutputText(const std::string& value) {
    if (!output_) return;
    StreamPlainText(output_, value, false);
    if (value.empty()) return;
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(frame_));
    if (frame && !frame->IsBarVisible(*this)) SendMessageA(frame_, WM_COMMAND, ID_VIEW_OUTPUTBAR, 0);
}

INT_PTR CMsgWnd::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kMessage: {
        const CScriptEngine* engine = CPramelApp::Get() ? CPramelApp::Get()->templates().engine() : nullptr;
        switch (wp) {
        case 0:
            SetOutputText(std::string());
            break;
        case 1:
            if (lp && lp == expected_) SetOutputText(*reinterpret_cast<const std::string*>(lp));
            break;
        case 2:
            if (lp) {
                // A run result only from the frame, about the engine it knows.
                if (lp == expected_ && engine == reinterpret_cast<const CScriptEngine*>(lp)) ShowRunResult(*engine);
                break;
            }
            // The end of a load without template clears what an earlier
            // run left.
            SetOutputText(std::string());
            SetItemText(IDC_TEMPLATE_NAME, std::string());
            EnableWindow(Item(IDC_DETAILS), FALSE);
            break;
        default:
            break;
        }
        expected_ = 0;
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_DETAILS && HIWORD(wp) == BN_CLICKED) {
            ShowDetails();
            return TRUE;
        }
        return CDialogBar::DialogProc(msg, wp, lp);
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (output_ && header && header->hwndFrom == output_ && header->code == EN_LINK) {
            const auto* link = reinterpret_cast<const ENLINK*>(lp);
            if (link->msg == WM_LBUTTONDOWN) OpenLink(*link);
            return TRUE;
        }
        return CDialogBar::DialogProc(msg, wp, lp);
    }
    case WM_SIZE:
        Layout();
        return FALSE;
    default:
        return CDialogBar::DialogProc(msg, wp, lp);
    }
}

void CMsgWnd::ShowRunResult(const CScriptEngine& engine) {
    SetOutputText(TakeMessages(engine.messageFile()));
    const session::SessionBlock& block = engine.master();
    std::string name(block.templateName, strnlen(block.templateName, sizeof block.templateName));
    if (name.empty()) {
        // Each run starts without a declaration: a template that gave no
        // name must not keep the name of the one before.
        SetItemText(IDC_TEMPLATE_NAME, std::string());
        EnableWindow(Item(IDC_DETAILS), FALSE);
        return;
    }
    int version = block.version;
    int magnitude = version < 0 ? -version : version;
    SetItemText(IDC_TEMPLATE_NAME,
                version != 0 ? text::Format(version < 0 ? texts::kTemplateNameNegativeVersion
                                                        : texts::kTemplateNameVersion,
                                            name.c_str(), magnitude / 100, magnitude % 100)
                             : text::Format(texts::kTemplateNameOnly, name.c_str()));
    EnableWindow(Item(IDC_DETAILS), TRUE);
}

void CMsgWnd::AppendText(const std::string& value, bool link) {
    if (!output_ || value.empty()) return;
    LONG end = static_cast<LONG>(SendMessageA(output_, WM_GETTEXTLENGTH, 0, 0));
    CHARRANGE at{end, end};
    SendMessageA(output_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_LINK;
    format.dwEffects = link ? CFE_LINK : 0;
    SendMessageA(output_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    StreamPlainText(output_, value, true);
}

void CMsgWnd::ShowDetails() {
    if (!output_) return;
    SetOutputText(std::string());
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(frame_));
    auto* doc = frame ? dynamic_cast<CPramelDoc*>(frame->GetActiveDocument()) : nullptr;
    std::string path = doc ? doc->templatePath : std::string();
    std::string folder = CPramelApp::Get() ? CPramelApp::Get()->templates().libraryFolder() : std::string();

    std::string details = std::string(texts::kDetailsHeading) + texts::kDetailsPath + ShortTemplatePath(path, folder);
    if (doc) {
        // The document's own copy of its last run: the engine's block holds
        // whichever document ran a template last.
        const session::SessionBlock& block = doc->sessionCopy;
        std::string author(block.editorName, strnlen(block.editorName, sizeof block.editorName));
        std::string comment(block.comment, strnlen(block.comment, sizeof block.comment));
        if (!author.empty()) details += texts::kDetailsAuthor + author;
        if (!comment.empty()) details += texts::kDetailsComment + comment;
        AppendText(details);
        details.clear();
        std::string uri(block.helpUri, strnlen(block.helpUri, sizeof block.helpUri));
        if (!uri.empty()) {
            AppendText(texts::kDetailsUri);
            AppendText(uri, true);
        }
    }
    std::string updated = path.empty() ? std::string() : LastWriteText(path);
    if (!updated.empty()) details += texts::kDetailsUpdated + updated;
    AppendText(details);
}

void CMsgWnd::OpenLink(const ENLINK& link) {
    LONG length = link.chrg.cpMax - link.chrg.cpMin;
    // An over-long link is refused rather than cut into another address.
    if (length <= 0 || length > kMaxLinkChars) return;
    SendMessageA(output_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link.chrg));
    std::vector<char> buffer(static_cast<std::size_t>(length) * 2 + 1, '\0');
    TEXTRANGEA range{link.chrg, buffer.data()};
    SendMessageA(output_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (buffer[0] == '\0') return;
    ShellExecuteA(nullptr, nullptr, buffer.data(), nullptr, nullptr, SW_SHOWNORMAL);
}
