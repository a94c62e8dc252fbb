// A soak test of the real editor: a seeded random sequence of user actions
// (typing and deleting with Japanese text, selections, commands from every
// menu, find and replace, layout and font changes, reloads, saves, template
// choices, settings dialogs, files handed over by a second instance, and
// every question answered at random) on a binary, a text and a template
// document at once. After every save the file holds either its bytes from
// before or exactly what the text shown packs to; no action may crash or
// hang the editor.
//
// PRAMEL_SOAK_SEED and PRAMEL_SOAK_ACTIONS choose the run (the test command
// runs a short pass with a fixed seed; tests/gui/soak.sh runs long ones).
// A failure names the seed and the last actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "Expected.h"
#include "LibraryFolder.h"
#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kSave = 57603;
constexpr UINT kReplace = 57641;
constexpr UINT kEndianBig = 32777;
constexpr UINT kChooseTemplate = 135;
constexpr UINT kViewSettings = 32818;
constexpr UINT kFindDown = 32810;
constexpr UINT kFindUp = 32811;

// Commands that show nothing modal of their own (a question they raise is
// answered like any other), from the Edit, View and Data menus and both
// toolbars.
const UINT kPlainCommands[] = {
    57643, 57644,                              // undo, redo
    57634, 57635, 57637, 57642, 57632,         // copy, cut, paste, select all, clear
    32776, 32777, 32780, 32781, 32782,         // byte order, data size
    32784, 32785, 32786, 32787, 32788, 32789,  // gutter styles
    32790,                                     // character pane
    32791, 32792, 32793, 32794,                // comment out/in, headings
    32796, 32797, 32798, 32799, 32800,         // font sizes
    32805, 32806, 32807, 32808,                // tab widths
    32773, 32774, 32775, 32783,                // bars, always on top
    32801, 32802,                              // pre-save check, reload
    kFindDown, kFindUp, 57640,                 // find down/up, find next
};

// Pieces typed into the texts: hexadecimal digits, strings, comments,
// headings, line breaks and Japanese.
const char* const kPieces[] = {"0", "7F", "A", " ", "  ", "\r", "\r\r", "\"ab\"", "\"日本語\"", "<注>", "[ 見出し ]",
                               "FF FF", "x", "\t", "漢字", "'", "00 01 02 03", "\"", "<", "]"};

std::string Env(const char* name, const std::string& fallback) {
    char value[64] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value) : fallback;
}

struct Document {
    std::string name;
    std::string path;
    std::string onDisk;  // what the file holds
};

class SoakRun {
public:
    SoakRun(PramelSession& editor, std::vector<Document>& documents, unsigned seed, const std::string& templatePath)
        : editor_(editor), documents_(documents), random_(seed), templatePath_(templatePath) {}

    // One action; false once the editor has gone or stopped answering.
    bool Step(int number) {
        Document& doc = documents_[Pick(documents_.size())];
        HWND frame = FrameOf(doc);
        if (!frame) return Note(number, "no frame for " + doc.name), false;
        const int kind = static_cast<int>(Pick(100));
        if (kind < 30) Type(number, frame);
        else if (kind < 40) SelectSome(number, frame);
        else if (kind < 70) Command(number, frame);
        else if (kind < 82) Save(number, doc, frame);
        else if (kind < 88) FindAndReplace(number, frame);
        else if (kind < 92) Settings(number, frame);
        else if (kind < 96) ChooseTemplate(number, doc, frame);
        else HandOver(number, doc);
        editor_.Settle();
        AnswerEverything();
        if (!Alive()) return false;
        CheckFiles();
        return failure_.empty();
    }

    std::string History() const {
        std::string text;
        for (const std::string& line : history_) text += line + "\n";
        return text;
    }
    const std::string& failure() const { return failure_; }
    int saves() const { return saves_; }
    int answers() const { return answers_; }

private:
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

    bool Note(int number, const std::string& what) {
        history_.push_back(std::to_string(number) + ": " + what);
        if (history_.size() > 12) history_.pop_front();
        return true;
    }

    HWND FrameOf(const Document& doc) const {
        for (HWND frame : editor_.Frames()) {
            if (editor_.FrameTitle(frame).find(doc.name) != std::string::npos) return frame;
        }
        return nullptr;
    }

    bool Alive() {
        if (!editor_.running()) {
            failure_ = "the editor ended";
            return false;
        }
        HWND frame = editor_.Frame(2000);
        DWORD_PTR r = 0;
        if (frame && !SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &r)) {
            failure_ = "the editor stopped answering";
            return false;
        }
        return true;
    }

    void Type(int number, HWND frame) {
        const long length = editor_.TextLength(frame);
        const long start = static_cast<long>(Pick(static_cast<std::size_t>(length) + 1));
        const long end = std::min(length, start + static_cast<long>(Pick(6)));
        const std::string piece = kPieces[Pick(std::size(kPieces))];
        Note(number, "type at " + std::to_string(start) + ".." + std::to_string(end));
        editor_.TypeOver(start, end, piece, frame);
    }

    void SelectSome(int number, HWND frame) {
        const long length = editor_.TextLength(frame);
        const long a = static_cast<long>(Pick(static_cast<std::size_t>(length) + 1));
        const long b = static_cast<long>(Pick(static_cast<std::size_t>(length) + 1));
        Note(number, "select " + std::to_string(a) + ".." + std::to_string(b));
        editor_.Select(std::min(a, b), std::max(a, b), frame);
    }

    void Command(int number, HWND frame) {
        const UINT command = kPlainCommands[Pick(std::size(kPlainCommands))];
        if (command == kFindDown || command == kFindUp) editor_.SetFindBoxText(Pick(2) ? "0" : "日本", frame);
        // As a user could: not a command its menu shows greyed.
        const UINT state = editor_.MenuItemState(command, frame);
        if (state != 0xFFFFFFFF && (state & MF_GRAYED)) return;
        Note(number, "command " + std::to_string(command));
        editor_.Post(command, frame);
        editor_.Settle();
    }

    void Save(int number, Document& doc, HWND frame) {
        Note(number, "save " + doc.name);
        editor_.Post(kSave, frame);
    }

    // Any save (a Save, or a question before a reload or a close answered
    // Yes) leaves the file holding exactly what the text shown packs to;
    // a save that fails or is cancelled leaves it as it was.
    void CheckFiles() {
        for (Document& doc : documents_) {
            const std::string now = ReadFile(doc.path);
            if (now == doc.onDisk) continue;
            HWND frame = FrameOf(doc);
            if (!frame) continue;
            const std::string text = editor_.Text(frame);
            bool same = false;
            if (editor_.StatusPane(5, frame) == "テキストモード") {
                same = Lines(now) == Lines(text);
            } else {
                const int order = (editor_.MenuItemState(kEndianBig, frame) & MF_CHECKED) ? 1 : 0;
                std::string error;
                const std::string packed = PackedBytes(text, order, &error);
                same = error.empty() && packed == now;
            }
            if (!same) {
                failure_ = doc.name + " holds neither its old bytes nor what its text packs to\nfile: " +
                           Printable(now) + "\ntext: " + Printable(text);
                return;
            }
            doc.onDisk = now;
            ++saves_;
        }
    }

    // The start of a text with control bytes as hexadecimal, for a report.
    static std::string Printable(const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size() && i < 120; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            out += c < 0x20 ? std::string(hex) : std::string(1, static_cast<char>(c));
        }
        return out + (text.size() > 120 ? "..." : "") + " (" + std::to_string(text.size()) + " bytes)";
    }

    // A text with its line breaks in one form and without the last one.
    static std::string Lines(const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                out += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                out += text[i];
            }
        }
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }

    void FindAndReplace(int number, HWND frame) {
        Note(number, "replace");
        editor_.Post(kReplace, frame);
        Dialog dialog = editor_.WaitForDialog({}, 5000);
        if (!dialog || !GetDlgItem(dialog.hwnd, 0x480)) return;
        const char* const finds[] = {"0", "日本", "\"", "A", "語"};
        const char* const withs[] = {"1", "日本語", "", "B", "ご"};
        SetDlgText(dialog, 0x480, finds[Pick(std::size(finds))]);
        if (GetDlgItem(dialog.hwnd, 0x481)) SetDlgText(dialog, 0x481, withs[Pick(std::size(withs))]);
        const int button = Pick(2) ? 0x400 : 0x401;  // replace, replace all
        DWORD_PTR r = 0;
        SendMessageTimeoutA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(dialog.hwnd, button)), SMTO_ABORTIFHUNG, 30000, &r);
        editor_.Settle();
        PramelSession::Click(dialog, IDCANCEL);
    }

    void Settings(int number, HWND frame) {
        Note(number, "display settings");
        editor_.Post(kViewSettings, frame);
    }

    void ChooseTemplate(int number, const Document& doc, HWND frame) {
        const UINT state = editor_.MenuItemState(kChooseTemplate, frame);
        if (state != 0xFFFFFFFF && (state & MF_GRAYED)) return;
        Note(number, "choose template for " + doc.name);
        editor_.Post(kChooseTemplate, frame);
        if (Pick(2)) editor_.AnswerFileDialog(templatePath_, 3000);
    }

    // A second instance hands one of the files to the first.
    void HandOver(int number, const Document& doc) {
        Note(number, "second instance with " + doc.name);
        PramelSession second("\"" + doc.path + "\"", false);
        second.WaitForExit(15000);
    }

    // Every question, message box and dialog gets a random answer; file
    // dialogs and the print dialog are cancelled.
    void AnswerEverything() {
        for (int round = 0; round < 20; ++round) {
            std::vector<Dialog> open = editor_.Dialogs();
            if (open.empty()) return;
            const Dialog& d = open.back();
            std::vector<int> buttons;
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
                if (GetDlgItem(d.hwnd, id)) buttons.push_back(id);
            }
            const bool fileDialog = GetDlgItem(d.hwnd, 0x47C) || (GetDlgItem(d.hwnd, 0x480) && !GetDlgItem(d.hwnd, 0x400));
            const int answer = fileDialog || buttons.empty() ? IDCANCEL : buttons[Pick(buttons.size())];
            history_.push_back("  answer " + std::to_string(answer) + " to \"" + d.title + "\"");
            ++answers_;
            if (buttons.empty()) PostMessageA(d.hwnd, WM_CLOSE, 0, 0);
            else PramelSession::Click(d, answer);
            editor_.Settle();
        }
    }

    static void SetDlgText(const Dialog& dialog, int id, const std::string& text) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(GetDlgItem(dialog.hwnd, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 20000, &r);
    }

    PramelSession& editor_;
    std::vector<Document>& documents_;
    std::mt19937 random_;
    std::string templatePath_;
    std::deque<std::string> history_;
    std::string failure_;
    int saves_ = 0;
    int answers_ = 0;
};

}  // namespace

TEST(Soak, SeededActionsNeverCrashHangOrWriteAnythingButThePackedText) {
    ResetSettings();
    const unsigned seed = static_cast<unsigned>(std::stoul(Env("PRAMEL_SOAK_SEED", "20261208")));
    const int actions = std::stoi(Env("PRAMEL_SOAK_ACTIONS", "150"));
    const std::string folder = ScratchFolder("Soak" + std::to_string(seed));
    LibraryFolder library(folder, {{"画像", "Bitmap.js"}});

    std::string bmp = "BM";
    bmp += std::string("\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0", 28);
    bmp += std::string(24, '\0');
    bmp += std::string("\x10\x20\x30\x40\x50\x60\0\0\x70\x80\x90\xA0\xB0\xC0\0\0", 16);
    std::vector<Document> documents = {
        {"data.bin", folder + "\\data.bin", std::string("\x00\x01\x7F\x80\xFF\r\n\x81\x40", 9)},
        {"notes.txt", folder + "\\notes.txt", "日本語のテキスト\r\nsecond line\r\n"},
        {"pic.bmp", folder + "\\pic.bmp", bmp},
    };
    std::string arguments;
    for (const Document& doc : documents) {
        WriteFile(doc.path, doc.onDisk);
        arguments += " \"" + doc.path + "\"";
    }
    PramelSession editor(arguments, false);
    Dialog ask = editor.WaitForDialog({}, 20000);  // the text file's mode
    ASSERT_TRUE(ask);
    PramelSession::Click(ask, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return editor.Frames().size() == documents.size(); }, 60000));
    editor.Settle();
    for (HWND frame : editor.Frames()) {
        if (editor.FrameTitle(frame).find("pic.bmp") != std::string::npos) {
            EXPECT_EQ(editor.StatusPane(5, frame), "テンプレートモード") << "the bitmap opens through its template";
        }
    }

    SoakRun run(editor, documents, seed, library.path() + "画像\\Bitmap.js");
    const DWORD start = GetTickCount();
    int done = 0;
    while (done < actions && run.failure().empty()) {
        if (!run.Step(++done)) break;
    }
    const double seconds = (GetTickCount() - start) / 1000.0;
    std::printf("soak seed %u: %d actions in %.1f s (%.1f per second), %d saves written, %d questions answered\n",
                seed, done, seconds, seconds > 0 ? done / seconds : 0.0, run.saves(), run.answers());
    EXPECT_TRUE(run.failure().empty()) << "seed " << seed << ": " << run.failure() << "\nlast actions:\n"
                                       << run.History();
    if (editor.running()) editor.Quit();
}
