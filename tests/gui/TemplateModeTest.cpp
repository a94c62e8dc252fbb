// Template mode end to end: the editor runs real templates under cscript
// with the real library, shows exactly the text the template prints, checks
// it against the bytes the template emitted, lets the template judge a save,
// and offers a choice when several templates claim an extension. Each test
// gives the editor a library folder of its own (a copy of Velda.dll with
// chosen templates beside it, registered as the library's location).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "Expected.h"
#include "LibraryFolder.h"
#include "PramelSession.h"
#include "ScriptRunner.h"

using namespace gui;

namespace {

constexpr UINT kOpen = 57601;
constexpr UINT kClose = 57602;
constexpr UINT kSave = 57603;
constexpr UINT kSaveAs = 57604;
constexpr UINT kReload = 32802;
constexpr UINT kChooseTemplate = 135;
constexpr UINT kLittleEndian = 32776;
constexpr UINT kBigEndian = 32777;
constexpr UINT kLibrarySettings = 32803;
constexpr int kTemplateName = 1007;
constexpr int kDetails = 1011;
constexpr UINT kShowErrorMessage = 0x0500;
constexpr UINT kOutputBarMessage = 0x8000;

// Texts compared without their line-break style and final line break.
std::string Normalized(std::string text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') out += c;
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The control's character position of a byte offset into its text (a line
// break counts as one character there).
long CharIndex(const std::string& text, std::size_t offset) {
    std::string prefix = text.substr(0, offset);
    long breaks = 0;
    for (std::size_t i = 0; i + 1 < prefix.size(); ++i) breaks += prefix[i] == '\r' && prefix[i + 1] == '\n';
    return static_cast<long>(Wide(prefix).size()) - breaks;
}

std::string Le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

std::string Bitmap(int width, int height) {
    int row = (width * 3 + 3) & ~3;
    std::string pixels;
    for (int y = 0; y < height; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) line += {static_cast<char>(x * 30), static_cast<char>(y * 60), '\x80'};
        line.resize(static_cast<std::size_t>(row), '\0');
        pixels += line;
    }
    std::string info = Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(24) + Le32(0) +
                       Le32(static_cast<unsigned>(pixels.size())) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    return "BM" + Le32(static_cast<unsigned>(14 + info.size() + pixels.size())) + Le32(0) +
           Le32(static_cast<unsigned>(14 + info.size())) + info + pixels;
}

std::string Wave(int samples) {
    std::string data;
    for (int i = 0; i < samples; ++i) data += Le16(static_cast<unsigned>(i * 1000));
    std::string format = Le16(1) + Le16(1) + Le32(8000) + Le32(16000) + Le16(2) + Le16(16);
    std::string body = "WAVE" + std::string("fmt ") + Le32(16) + format + "data" +
                       Le32(static_cast<unsigned>(data.size())) + data;
    return "RIFF" + Le32(static_cast<unsigned>(body.size())) + body;
}

// What the template prints for the file when run without the editor, in
// the editor's default layout.
ScriptResult RunAlone(const std::string& templatePath, const std::string& bytes, const std::string& fileName,
                      const std::string& work) {
    ScriptRequest request;
    request.script = Wide(templatePath);
    request.block = MakeRunBlock(1, false, 16, 0, fileName.c_str());
    request.input = bytes;
    request.workFolder = Wide(work);
    return RunScript(request);
}

std::string ResultLines(const session::SessionBlock& block) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "ファイルCRC32:%lXh  ファイルサイズ:%ldバイト\r\nファイルの解析が終了しました。[終了コード:0]\r\n",
                  static_cast<unsigned long>(block.outputCrc), static_cast<long>(static_cast<int>(block.fileSize)));
    return line;
}

std::string LastWriteText(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &t);
    char text[64];
    std::snprintf(text, sizeof text, "%d年%d月%d日%d時%d分%d秒", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

HWND FrameShowing(const PramelSession& editor, const std::string& name) {
    for (HWND frame : editor.Frames()) {
        if (editor.FrameTitle(frame).find(name) != std::string::npos) return frame;
    }
    return nullptr;
}

// Waits until a frame for each name shows some text.
bool AllShown(const PramelSession& editor, const std::vector<std::string>& names) {
    return WaitUntil(
        [&] {
            for (const auto& name : names) {
                HWND frame = FrameShowing(editor, name);
                if (!frame || editor.TextLength(frame) <= 0) return false;
            }
            return true;
        },
        60000);
}

std::string TextOfWindow(HWND w) {
    wchar_t text[512] = {};
    GetWindowTextW(w, text, 512);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

HWND OutputBar(const PramelSession& editor, HWND frame) { return GetParent(editor.Item(kDetails, frame)); }

void PressDetails(const PramelSession& editor, HWND frame) {
    HWND button = editor.Item(kDetails, frame);
    PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(kDetails, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    editor.Settle();
}

class TemplateMode : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

TEST_F(TemplateMode, BitmapAndWaveShowTheTemplatesTextAndEditsReachTheFile) {
    LibraryFolder library(folder, {{"画像", "Bitmap.js"}, {"音声", "Wave.vbs"}});
    const std::string bmp = Bitmap(5, 3);
    const std::string wav = Wave(24);
    const std::string bmpPath = folder + "\\sample.bmp";
    const std::string wavPath = folder + "\\sample.wav";
    WriteFile(bmpPath, bmp);
    WriteFile(wavPath, wav);

    PramelSession editor("\"" + bmpPath + "\" \"" + wavPath + "\"");
    ASSERT_TRUE(AllShown(editor, {"sample.bmp", "sample.wav"}));
    editor.Settle();
    EXPECT_TRUE(editor.Dialogs().empty()) << "no message after loading reversible templates";
    editor.Screenshot("template-mode", FrameShowing(editor, "sample.wav"));

    struct Case {
        std::string name;
        std::string bytes;
        std::string templateFile;
        std::string shownName;
    };
    for (const Case& c : {Case{"sample.bmp", bmp, library.path() + "画像\\Bitmap.js", " ビットマップ画像 Ver.1.00"},
                          Case{"sample.wav", wav, library.path() + "音声\\Wave.vbs", " WAVE オーディオ Ver.1.00"}}) {
        SCOPED_TRACE(c.name);
        HWND frame = FrameShowing(editor, c.name);
        ScriptResult alone = RunAlone(c.templateFile, c.bytes, c.name, folder);
        ASSERT_TRUE(alone.started) << alone.failure;
        EXPECT_EQ(Normalized(editor.Text(frame)), Normalized(alone.output));
        EXPECT_EQ(alone.block.outputBytes, c.bytes.size());
        EXPECT_EQ(editor.OutputBarText(frame), ResultLines(alone.block));
        EXPECT_EQ(editor.ItemText(kTemplateName, frame), c.shownName);
        EXPECT_EQ(editor.StatusPane(5, frame), "テンプレートモード");
        EXPECT_EQ(editor.MenuItemState(kSave, frame) & MF_GRAYED, 0u);
    }

    // The open dialog offers the listed extensions as its third file type,
    // chosen from the start.
    editor.Post(kOpen);
    Dialog open = editor.WaitForDialog();
    ASSERT_TRUE(open);
    HWND types = GetDlgItem(open.hwnd, 0x470);
    EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), 2);
    wchar_t type[256] = {};
    SendMessageW(types, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(type));
    std::wstring typeText = type;
    EXPECT_EQ(typeText.rfind(Wide("テンプレート適用 ("), 0), 0u);
    for (const char* key : {"BMP", "DIB", "WAV"}) EXPECT_NE(typeText.find(Wide(key)), std::wstring::npos) << key;
    PramelSession::Click(open, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open.hwnd); }));

    // The details, twice: shown once, with the path below the library.
    HWND bmpFrame = FrameShowing(editor, "sample.bmp");
    std::string details = std::string("【テンプレート詳細情報】\r\nファイルパス名 : 画像\\Bitmap.js") +
                          "\r\n作成者　　　　 : Tevrin" +
                          "\r\nコメント　　　 : BITMAPFILEHEADER と BITMAPINFOHEADER を解析します。" +
                          "\r\nURI 　　　　　 : https://learn.microsoft.com/windows/win32/gdi/bitmap-storage" +
                          "\r\nファイル更新日 : " + LastWriteText(library.path() + "画像\\Bitmap.js");
    PressDetails(editor, bmpFrame);
    PressDetails(editor, bmpFrame);
    EXPECT_EQ(editor.OutputBarText(bmpFrame), details);

    // bfReserved1 is the first "0000" after its comment: typed over, saved,
    // and the file changes in exactly those two bytes (little-endian, as
    // the template set it); the pre-save run passes without a question.
    std::string text = editor.Text(bmpFrame);
    std::size_t at = text.find("0000", text.find("bfReserved1"));
    ASSERT_NE(at, std::string::npos);
    editor.TypeOver(CharIndex(text, at), CharIndex(text, at) + 4, "1234", bmpFrame);
    editor.Post(kSave, bmpFrame);
    std::string edited = bmp;
    edited[6] = '\x34';
    edited[7] = '\x12';
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(bmpPath) == edited; }, 30000));
    editor.Settle();
    EXPECT_TRUE(editor.Dialogs().empty());
    EXPECT_NE(editor.OutputBarText(bmpFrame).find("[終了コード:0]"), std::string::npos);

    // A reload applies the same template again. (The wave's frame opened
    // last and is in front: the one to take a picture of.)
    HWND wavFrame = FrameShowing(editor, "sample.wav");
    PressDetails(editor, wavFrame);
    editor.Screenshot("template-mode-details", wavFrame);
    std::string before = editor.Text(wavFrame);
    editor.Send(kReload, wavFrame);
    EXPECT_EQ(editor.Text(wavFrame), before);
    EXPECT_EQ(editor.ItemText(kTemplateName, wavFrame), " WAVE オーディオ Ver.1.00");
}

TEST_F(TemplateMode, UncheckedMismatchedAndJudgingTemplates) {
    LibraryFolder library(folder, {{"check", "Unchecked.js"}, {"check", "Mismatch.js"}, {"check", "Judge.js"}});
    const std::string nrvPath = folder + "\\x.nrv";
    const std::string fmtPath = folder + "\\x.fmt";
    const std::string badPath = folder + "\\x.bad";
    WriteFile(nrvPath, std::string("\x01\x02\x03", 3));
    WriteFile(fmtPath, std::string("\x00\x11\x22\x33", 4));
    WriteFile(badPath, std::string("\x10\x20", 2));

    PramelSession editor("\"" + nrvPath + "\" \"" + fmtPath + "\" \"" + badPath + "\"");
    // The mismatch is told once, after loading.
    Dialog mismatch = editor.WaitForDialog("変換エラー", 60000);
    ASSERT_TRUE(mismatch);
    EXPECT_EQ(mismatch.text, "テンプレートの適用結果が元ファイルと一致しないため保存できません。");
    PramelSession::Click(mismatch, IDOK);
    ASSERT_TRUE(AllShown(editor, {"x.nrv", "x.fmt", "x.bad"}));
    editor.Settle();
    EXPECT_TRUE(editor.Dialogs().empty());

    // Its Save asks for a new name, and the file stays as it was.
    HWND badFrame = FrameShowing(editor, "x.bad");
    editor.Post(kSave, badFrame);
    Dialog saveAs = editor.WaitForDialog();
    ASSERT_TRUE(saveAs);
    EXPECT_TRUE(GetDlgItem(saveAs.hwnd, 0x470) || GetDlgItem(saveAs.hwnd, 0x47C)) << saveAs.title;
    PramelSession::Click(saveAs, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(saveAs.hwnd); }));
    editor.Settle();
    EXPECT_EQ(ReadFile(badPath), std::string("\x10\x20", 2));

    // Another template chosen by hand for the same file: applied at once,
    // and its text may be saved again.
    editor.Post(kChooseTemplate, badFrame);
    ASSERT_TRUE(editor.AnswerFileDialog(library.path() + "check\\Unchecked.js"));
    // Without a version of its own, no version is shown (not the one of the
    // template that ran before).
    EXPECT_TRUE(WaitUntil([&] { return editor.ItemText(kTemplateName, badFrame) == " 検査なし"; }, 30000));
    editor.Settle();
    EXPECT_TRUE(editor.Dialogs().empty());

    // Not reversible: nothing is checked and the text can be edited, but
    // it is saved only under a name the user gives.
    HWND nrvFrame = FrameShowing(editor, "x.nrv");
    editor.TypeOver(0, 0, "7", nrvFrame);
    EXPECT_EQ(editor.Text(nrvFrame).substr(0, 1), "7");
    editor.Post(kSave, nrvFrame);
    Dialog nrvSaveAs = editor.WaitForDialog();
    ASSERT_TRUE(nrvSaveAs);
    EXPECT_TRUE(GetDlgItem(nrvSaveAs.hwnd, 0x470) || GetDlgItem(nrvSaveAs.hwnd, 0x47C)) << nrvSaveAs.title;
    PramelSession::Click(nrvSaveAs, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(nrvSaveAs.hwnd); }));
    EXPECT_EQ(ReadFile(nrvPath), std::string("\x01\x02\x03", 3));

    // A format problem found by the pre-save run: No keeps the old file
    // byte for byte and leaves nothing behind; Yes saves.
    HWND fmtFrame = FrameShowing(editor, "x.fmt");
    EXPECT_EQ(editor.ItemText(kTemplateName, fmtFrame), " 判定 Ver.2.05");
    EXPECT_TRUE(editor.MenuItemState(kBigEndian, fmtFrame) & MF_CHECKED) << "the template's byte order is taken";
    EXPECT_TRUE(editor.MenuItemState(kLittleEndian, nrvFrame) & MF_CHECKED) << "not from a template that is not reversible";
    std::string text = editor.Text(fmtFrame);
    std::size_t at = text.find("00");
    ASSERT_NE(at, std::string::npos);
    editor.TypeOver(CharIndex(text, at), CharIndex(text, at) + 2, "FF", fmtFrame);
    std::vector<std::string> filesBefore = FilesIn(folder);
    for (int answer : {IDNO, IDYES}) {
        editor.Post(kSave, fmtFrame);
        Dialog ask = editor.WaitForDialog("フォーマット異常", 30000);
        ASSERT_TRUE(ask);
        EXPECT_EQ(ask.text, "テンプレートがフォーマット異常を検出しました。このまま保存しますか？");
        EXPECT_NE(editor.OutputBarText(fmtFrame).find("ファイルの解析が中断されました。[終了コード:-100]"),
                  std::string::npos);
        PramelSession::Click(ask, answer);
        editor.Settle();
        if (answer == IDNO) {
            EXPECT_EQ(ReadFile(fmtPath), std::string("\x00\x11\x22\x33", 4));
            EXPECT_EQ(FilesIn(folder), filesBefore);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return ReadFile(fmtPath) == std::string("\xFF\x11\x22\x33", 4); }));
        }
    }

    // Message numbers of the view and the output bar sent by another
    // program carry nothing the editor acts on.
    HWND view = GetParent(editor.Control(fmtFrame));
    std::string shown = editor.OutputBarText(fmtFrame);
    PostMessageA(view, kShowErrorMessage, 1, 0);
    PostMessageA(view, kShowErrorMessage, 0x10, 0x20);
    PostMessageA(OutputBar(editor, fmtFrame), kOutputBarMessage, 1, 0x12345678);
    PostMessageA(OutputBar(editor, fmtFrame), kOutputBarMessage, 2, 0x12345678);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(OutputBar(editor, fmtFrame), kOutputBarMessage, 1, 0x40, SMTO_ABORTIFHUNG, 5000, &r);
    editor.Settle();
    EXPECT_TRUE(editor.running());
    EXPECT_TRUE(editor.Dialogs().empty());
    EXPECT_EQ(editor.OutputBarText(fmtFrame), shown);
}

namespace {

std::uint32_t PngCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string BigEndian32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string PngChunk(const std::string& type, const std::string& data) {
    return BigEndian32(static_cast<std::uint32_t>(data.size())) + type + data + BigEndian32(PngCrc(type + data));
}

}  // namespace

// A library template that carries a checksum: a width typed into a PNG's
// header leaves the chunk's stored CRC stale, and the pre-save run stops
// on it before the file is written.
TEST_F(TemplateMode, StaleChunkCrcIsQuestionedBeforeThePngIsSaved) {
    LibraryFolder library(folder, {{"画像", "Png.js"}});
    const std::string ihdr = BigEndian32(1) + BigEndian32(1) + std::string("\x08\x00\x00\x00\x00", 5);
    const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IEND", "");
    const std::string pngPath = folder + "\\sample.png";
    WriteFile(pngPath, png);

    PramelSession editor("\"" + pngPath + "\"");
    ASSERT_TRUE(AllShown(editor, {"sample.png"}));
    editor.Settle();
    HWND frame = FrameShowing(editor, "sample.png");
    EXPECT_TRUE(editor.Dialogs().empty());
    EXPECT_EQ(editor.StatusPane(5, frame), "テンプレートモード");
    std::string text = editor.Text(frame);
    std::size_t at = text.find("00000001 <幅>");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NE(text.find("<CRC 計算値 " ), std::string::npos) << text;
    editor.TypeOver(CharIndex(text, at), CharIndex(text, at) + 8, "00000002", frame);

    std::string edited = png;
    edited[19] = '\x02';  // the width's low byte: 8 + 4 + 4 + 3
    for (int answer : {IDNO, IDYES}) {
        editor.Post(kSave, frame);
        Dialog ask = editor.WaitForDialog("フォーマット異常", 30000);
        ASSERT_TRUE(ask);
        EXPECT_NE(editor.OutputBarText(frame).find("チャンク IHDR の CRC が一致しません"), std::string::npos)
            << editor.OutputBarText(frame);
        PramelSession::Click(ask, answer);
        editor.Settle();
        if (answer == IDNO) EXPECT_EQ(ReadFile(pngPath), png);
        else EXPECT_TRUE(WaitUntil([&] { return ReadFile(pngPath) == edited; }));
    }
}

TEST_F(TemplateMode, SeveralTemplatesForOneExtensionAreOffered) {
    LibraryFolder library(folder, {{"選択", "PickC.js"}, {"選択", "PickA.js"}, {"選択", "PickB.js"}});
    const std::string first = folder + "\\first.two";
    const std::string second = folder + "\\second.two";
    const std::string bytes("\x0A\x0B\x0C", 3);
    WriteFile(first, bytes);
    WriteFile(second, bytes);

    PramelSession editor("\"" + first + "\"", false);
    Dialog choose = editor.WaitForDialog("テンプレートの選択", 60000);
    ASSERT_TRUE(choose);
    HWND list = GetDlgItem(choose.hwnd, 1019);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    PramelSession::Click(choose, IDOK);
    ASSERT_TRUE(AllShown(editor, {"first.two"}));
    EXPECT_EQ(editor.ItemText(kTemplateName), " 選択A") << "the first line of the sorted list";

    // The library settings: the folder, its subfolders and an empty entry;
    // a chosen subfolder is kept once applied.
    editor.Post(kLibrarySettings);
    Dialog settings = editor.WaitForDialog("ライブラリの設定");
    ASSERT_TRUE(settings);
    editor.Screenshot("library-settings", settings.hwnd);
    HWND apply = GetDlgItem(settings.hwnd, 32814);
    HWND folders = GetDlgItem(settings.hwnd, 1015);
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_EQ(SendMessageA(folders, CB_GETCOUNT, 0, 0), 2);
    EXPECT_FALSE(TextOfWindow(GetDlgItem(settings.hwnd, 1007)).empty());
    SendMessageA(folders, CB_SETCURSEL, 0, 0);
    SendMessageA(settings.hwnd, WM_COMMAND, MAKEWPARAM(1015, CBN_SELCHANGE), reinterpret_cast<LPARAM>(folders));
    EXPECT_TRUE(IsWindowEnabled(apply));
    PramelSession::Click(settings, 32814);
    EXPECT_FALSE(IsWindowEnabled(apply));
    PramelSession::Click(settings, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(settings.hwnd); }));
    HKEY key = nullptr;
    char filter[64] = {};
    DWORD size = sizeof filter - 1;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tevrin\\Pramel\\Templates", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "Filter", nullptr, nullptr, reinterpret_cast<BYTE*>(filter), &size);
        RegCloseKey(key);
    }
    EXPECT_STREQ(filter, "選択");

    // Cancelled, the file opens in binary mode.
    PramelSession handOver("\"" + second + "\"", false);
    handOver.WaitForExit(30000);
    choose = editor.WaitForDialog("テンプレートの選択", 60000);
    ASSERT_TRUE(choose);
    // Asked to close while the file is still being opened, the new frame
    // stays: its document is in use.
    for (HWND frame : editor.Frames()) {
        if (frame == FrameShowing(editor, "first.two")) continue;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        PostMessageA(frame, WM_COMMAND, kClose, 0);
    }
    editor.Settle();
    PramelSession::Click(choose, IDCANCEL);
    ASSERT_TRUE(AllShown(editor, {"second.two"}));
    HWND frame = FrameShowing(editor, "second.two");
    EXPECT_EQ(editor.StatusPane(5, frame), "バイナリモード");
    HexLayout layout;
    EXPECT_EQ(WithoutFinalLineBreak(editor.Text(frame)), WithoutFinalLineBreak(DumpText(bytes, layout)));
}

namespace {

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry{};
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + "\\" + name, to + "\\" + name);
        } else {
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

// Registers a library file quietly and waits.
void Register(const std::string& library) {
    std::string command = "regsvr32.exe /s \"" + library + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

// A copy of the installed folder, started with the library not registered:
// one question, the registration of the library beside the editor, and its
// templates listed and applied.
TEST_F(TemplateMode, FirstStartFromTheInstalledFolderRegistersAndListsTheLibrary) {
    const std::string installed = folder + "\\Pramel";
    CopyTree(WindowsPath(PRAMEL_DIST), installed);
    const std::string library = installed + "\\ライブラリ\\";
    ASSERT_TRUE(FileExists(library + "Velda.dll"));
    DeleteFileA((library + "TemplateList.txt").c_str());  // a copy that never ran
    const std::string bmpPath = folder + "\\first.bmp";
    WriteFile(bmpPath, Bitmap(2, 2));
    SetRegistryServer(folder + "\\nowhere\\Velda.dll");
    _putenv_s("PRAMEL_EXE", (installed + "\\Pramel.exe").c_str());
    {
        PramelSession editor("\"" + bmpPath + "\"", false);
        Dialog ask = editor.WaitForDialog({}, 30000);
        ASSERT_TRUE(ask);
        EXPECT_EQ(ask.title, "セットアップ");
        EXPECT_EQ(ask.text, "ライブラリがセットアップされていません。登録しますか？");
        PramelSession::Click(ask, IDOK);
        ASSERT_TRUE(AllShown(editor, {"first.bmp"}));
        editor.Settle();
        EXPECT_TRUE(editor.Dialogs().empty());
        EXPECT_EQ(RegistryServer(), library + "Velda.dll");
        EXPECT_EQ(editor.ItemText(kTemplateName), " ビットマップ画像 Ver.1.00");
        std::string list = ReadFile(library + "TemplateList.txt");
        for (const char* entry : {"BMP=画像\\Bitmap.js\r\n", "DIB=画像\\Bitmap.js\r\n", "WAV=音声\\Wave.vbs\r\n"}) {
            EXPECT_NE(list.find(entry), std::string::npos) << entry;
        }
    }
    _putenv_s("PRAMEL_EXE", "");
    Register(WindowsPath(PRAMEL_VELDA_DLL));
}

// Without the library folder beside the editor, the folder browser asks for
// one; it takes only a folder that holds the library, and cancelling it
// ends the start without a window.
TEST_F(TemplateMode, FirstStartWithoutTheLibraryFolderAsksForOne) {
    const std::string installed = folder + "\\Pramel";
    CreateDirectoryA(installed.c_str(), nullptr);
    CopyFileA((WindowsPath(PRAMEL_DIST) + "\\Pramel.exe").c_str(), (installed + "\\Pramel.exe").c_str(), FALSE);
    const std::string saved = RegistryServer();
    SetRegistryServer(folder + "\\nowhere\\Velda.dll");
    _putenv_s("PRAMEL_EXE", (installed + "\\Pramel.exe").c_str());
    {
        PramelSession editor("", false);
        Dialog ask = editor.WaitForDialog("セットアップ", 30000);
        ASSERT_TRUE(ask);
        PramelSession::Click(ask, IDOK);
        Dialog browser;
        EXPECT_TRUE(WaitUntil([&] {
            for (const Dialog& d : editor.Dialogs()) {
                if (d.hwnd != ask.hwnd && IsWindowVisible(d.hwnd)) browser = d;
            }
            return static_cast<bool>(browser);
        }));
        ASSERT_TRUE(browser);
        editor.Screenshot("library-folder-browser", browser.hwnd);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(browser.hwnd, IDOK))) << "no library in the current folder";
        PramelSession::Click(browser, IDCANCEL);
        EXPECT_NE(editor.WaitForExit(30000), -1) << "the start ends";
        EXPECT_TRUE(editor.Frames().empty());
    }
    _putenv_s("PRAMEL_EXE", "");
    SetRegistryServer(saved);
}

// A template that runs for seconds: the progress dialog shows, the file
// cannot be saved or closed meanwhile, and a cancelled run leaves a text
// that is saved only under a new name.
TEST_F(TemplateMode, CancelledRunCannotBeSavedOverTheFile) {
    LibraryFolder library(folder, {{"slow", "Slow.js"}});
    const std::string path = folder + "\\x.slw";
    const std::string bytes("\x41\x42\x43\x44", 4);
    WriteFile(path, bytes);

    PramelSession editor("\"" + path + "\"", false);
    Dialog progress = editor.WaitForDialog("ダイアログ", 60000);
    ASSERT_TRUE(progress);
    EXPECT_NE(progress.text.find("キャンセルボタン押下にて処理を中断します。"), std::string::npos);
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    for (UINT command : {kSave, kSaveAs, kClose, kReload}) PostMessageA(frame, WM_COMMAND, command, 0);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    Sleep(500);
    EXPECT_EQ(editor.Dialogs().size(), 1u) << "nothing but the progress dialog";
    PramelSession::Click(progress, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return editor.TextLength(frame) > 0; }, 30000));
    editor.Settle();
    EXPECT_TRUE(editor.running());
    EXPECT_NE(editor.OutputBarText(frame).find("[終了コード:-2000]"), std::string::npos);
    // The text stands for the first byte only, and says so.
    Dialog mismatch = editor.WaitForDialog("変換エラー");
    ASSERT_TRUE(mismatch);
    PramelSession::Click(mismatch, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(mismatch.hwnd); }));

    editor.Post(kSave, frame);
    Dialog saveAs = editor.WaitForDialog();
    ASSERT_TRUE(saveAs);
    EXPECT_TRUE(GetDlgItem(saveAs.hwnd, 0x470) || GetDlgItem(saveAs.hwnd, 0x47C)) << saveAs.title;
    PramelSession::Click(saveAs, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(saveAs.hwnd); }));
    EXPECT_EQ(ReadFile(path), bytes);
}
