// What goes in comes out: a file loaded and saved again without an edit is
// the same file byte for byte, also where a line break or a double-byte
// character falls on the end of one of the control's load buffers; a large
// binary file shows exactly its dump; the save chain packs whatever text the
// user wrote the way the conversion pipeline does; and a save that cannot
// replace the file leaves both the file and the edits as they were.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "Expected.h"
#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kSave = 57603;
constexpr UINT kSaveAs = 57604;

// The first place two byte strings differ, for a failure message that does
// not print kilobytes of text.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    auto around = [at](const std::string& s) {
        std::string hex;
        std::size_t from = at >= 4 ? at - 4 : 0;
        for (std::size_t i = from; i < s.size() && i < at + 8; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X ", static_cast<unsigned char>(s[i]));
            hex += b;
        }
        return hex;
    };
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at byte " << at << ": got [" << around(actual)
                                         << "] expected [" << around(expected) << "] (from byte "
                                         << (at >= 4 ? at - 4 : 0) << ")";
}

std::size_t CountLineBreaks(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

// Appends plain code-page-932 text to s until it is exactly end bytes long:
// words, double-byte characters (among them ones whose second byte is a
// backslash or lies in the lead-byte range), and a line break every few
// pieces. Every character and line break is complete before end.
void FillTo(std::string& s, std::size_t end) {
    static const char* const kPieces[] = {
        "line of text ", "\x83\x5C\x95\x5C", " 0123456789 ", "\x82\xA0\x82\xA2\x82\xA4",
        "ABCDEF ",       "\x88\x9F\x88\x9F", "; [x] \"y\" ",
    };
    std::size_t i = 0;
    while (s.size() < end) {
        std::string piece = i % 8 == 7 ? "\r\n" : kPieces[i % 8];
        ++i;
        if (s.size() + piece.size() > end) break;
        s += piece;
    }
    while (s.size() < end) s += 'x';
}

class LoadFidelity : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

TEST_F(LoadFidelity, SaveThatCannotReplaceTheFileKeepsTheFileAndTheEdits) {
    std::mt19937 random(20240601);
    std::string original;
    for (int i = 0; i < 32; ++i) original += static_cast<char>(random() & 0xFF);
    std::string path = folder + "\\kept.bin";
    WriteFile(path, original);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.TypeOver(0, 2, "5A");
    // Another program reads the file and lets others read and write it, but
    // not remove or replace it: the check before the save passes, the whole
    // text is packed into the temporary file, and only the final replace
    // fails.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    editor.Post(kSave);
    Dialog report = editor.WaitForDialog();
    ASSERT_TRUE(report) << "a save that did not happen must say so";
    EXPECT_NE(report.text.find("kept.bin"), std::string::npos) << report.text;
    // The message names the cause and says the file is as it was.
    EXPECT_NE(report.text.find("他のプログラムが使用中のため保存できません。"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("元のファイルは変更されていません。"), std::string::npos) << report.text;
    PramelSession::Click(report, IDOK);
    editor.Settle();
    EXPECT_TRUE(SameBytes(ReadFile(path), original));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"kept.bin"}) << "the temporary file must go";

    // The edit is still unsaved: closing asks, and Cancel keeps the frame.
    HWND frame = editor.Frame();
    PostMessageA(frame, WM_CLOSE, 0, 0);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask) << "closing after a failed save must ask to save";
    EXPECT_NE(ask.text.find("への変更を保存しますか"), std::string::npos) << ask.text;
    PramelSession::Click(ask, IDCANCEL);
    editor.Settle();
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(editor.Text().substr(0, 2), "5A");

    // Once the other program lets go, the same document saves.
    CloseHandle(held);
    editor.Send(kSave);
    std::string edited = original;
    edited[0] = 0x5A;
    EXPECT_TRUE(SameBytes(ReadFile(path), edited));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"kept.bin"});
}

TEST_F(LoadFidelity, TextWithoutStrictFormIsPackedNotRefused) {
    // Odd digit counts, characters that are no digits, strings and comments
    // left open at the line end: the save chain reads all of them (short
    // numbers are padded, unknown characters separate) and writes what the
    // pipeline makes of the text, with no conversion error. The text is long
    // enough for the control to hand it out in several chunks.
    std::string path = folder + "\\loose.bin";
    WriteFile(path, std::string(32, '\x11'));
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    std::string text;
    for (int i = 0; text.size() < 9000; ++i) {
        switch (i % 6) {
        case 0: text += "1 123 12345 ab zz 7g "; break;
        case 1: text += "\"open string \x82\xA0\x82\xA2\r\n"; break;
        case 2: text += "41 42 [comment left open\r\n"; break;
        case 3: text += "fF Ee dD ; rest of line 99\r\n"; break;
        case 4: text += "<open 01\r\n0a0b0c0d0e0f101112131415161718 \"q\"\"\"\r\n"; break;
        default: text += "\x81\x40" "ff\x81\x40" "7\r\n"; break;
        }
    }
    editor.SetText(text);
    std::string shown = editor.Text();
    std::string error;
    std::string expected = PackedBytes(shown, 0, &error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_FALSE(expected.empty());
    editor.Post(kSave);
    Dialog report = editor.WaitForDialog({}, 2000);
    EXPECT_FALSE(report) << report.title << ": " << report.text;
    if (report) PramelSession::Click(report, IDOK);
    editor.Settle();
    EXPECT_TRUE(SameBytes(ReadFile(path), expected));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"loose.bin"});
}

TEST_F(LoadFidelity, TextModeRoundTripsAcrossLoadBufferEnds) {
    // The control takes a text in buffers of 4096 bytes. A CR at the end of
    // one buffer and its LF at the start of the next must stay one line
    // break, and a double-byte character cut by a buffer end must stay one
    // character. The "{\rtf" start makes the editor stream the text in
    // rather than set it in one piece (the control would read such a text
    // as rich text otherwise), so both ways of loading are covered.
    struct Case {
        const char* name;
        std::string text;
    };
    std::vector<Case> cases;
    for (const char* start : {"", "{\\rtf1 "}) {
        std::string prefix = start;
        std::string a = prefix;
        FillTo(a, 4095);
        a += "\r\n";  // CR at 4095, LF at 4096
        FillTo(a, 8191);
        a += "\x82\xA0";  // lead byte at 8191, trail byte at 8192
        FillTo(a, 12000);
        cases.push_back({"break at 4096, character at 8192", a});

        std::string b = prefix;
        FillTo(b, 8191);
        b += "\r\n";  // CR at 8191, LF at 8192
        FillTo(b, 10000);
        b += "\r\n";
        cases.push_back({"break at 8192", b});

        // A run of characters whose trail bytes lie in the lead-byte range,
        // with a lead byte at 4095; then a line break on the end of the
        // second buffer as it falls when the first held a byte back.
        std::string c = prefix;
        FillTo(c, 4093);
        c += "\x88\x9F\x88\x9F\x88\x9F";
        FillTo(c, 8190);
        c += "\r\n";
        FillTo(c, 9000);
        c += "\r\n\r\n";
        cases.push_back({"character at 4096, break at 8191", c});
    }

    int n = 0;
    for (const Case& k : cases) {
        ++n;
        SCOPED_TRACE(std::string(k.name) + (k.text[0] == '{' ? ", streamed in" : ", set in one piece"));
        std::string path = folder + "\\text" + std::to_string(n) + ".txt";
        std::string copy = folder + "\\copy" + std::to_string(n) + ".txt";
        WriteFile(path, k.text);
        PramelSession editor("\"" + path + "\"", false);
        Dialog ask = editor.WaitForDialog("オープンモード");
        ASSERT_TRUE(ask);
        PramelSession::Click(ask, IDYES);
        ASSERT_TRUE(editor.Frame());
        editor.Settle();
        ASSERT_EQ(editor.StatusPane(5), "テキストモード");
        EXPECT_EQ(editor.LineCount(), static_cast<long>(CountLineBreaks(k.text) + 1));
        EXPECT_TRUE(SameBytes(WithoutFinalLineBreak(editor.Text()), WithoutFinalLineBreak(k.text)));
        editor.Post(kSaveAs);
        ASSERT_TRUE(editor.AnswerFileDialog(copy));
        editor.Settle();
        EXPECT_FALSE(editor.WaitForDialog({}, 300));
        EXPECT_TRUE(SameBytes(ReadFile(copy), k.text));
        EXPECT_TRUE(SameBytes(ReadFile(path), k.text));
    }
}

TEST_F(LoadFidelity, LargeBinaryFileShowsItsWholeDumpAndSavesUnchanged) {
    std::mt19937 random(65536);
    std::string bytes;
    for (int i = 0; i < 64 * 1024; ++i) bytes += static_cast<char>(random() & 0xFF);
    std::string path = folder + "\\large.bin";
    std::string copy = folder + "\\large-copy.bin";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Settle();
    // 4096 lines of 16 bytes, and the empty line after the last break.
    EXPECT_EQ(editor.LineCount(), 4097);
    std::string dump = DumpText(bytes, HexLayout{});
    EXPECT_TRUE(SameBytes(WithoutFinalLineBreak(editor.Text()), WithoutFinalLineBreak(dump)));
    editor.Post(kSaveAs);
    ASSERT_TRUE(editor.AnswerFileDialog(copy));
    editor.Settle();
    EXPECT_FALSE(editor.WaitForDialog({}, 300));
    EXPECT_TRUE(SameBytes(ReadFile(copy), bytes));
    EXPECT_TRUE(SameBytes(ReadFile(path), bytes));
}
