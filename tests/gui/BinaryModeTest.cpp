// Binary mode end to end: what the editor shows for a file, in every data
// size and byte order, is what the conversion chain makes of the bytes; an
// edited byte reaches the file; a reload keeps the place; the display
// settings dialog takes only 4 to 64 bytes per line.
#include <gtest/gtest.h>

#include "Expected.h"
#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kLittleEndian = 32776;
constexpr UINT kBigEndian = 32777;
constexpr UINT kByteUnits = 32780;
constexpr UINT kWordUnits = 32781;
constexpr UINT kDwordUnits = 32782;
constexpr UINT kSave = 57603;
constexpr UINT kReload = 32802;
constexpr UINT kViewSettings = 32818;

std::string SampleBytes(std::size_t size) {
    std::string bytes;
    unsigned v = 0x12345678;
    for (std::size_t i = 0; i < size; ++i) {
        v = v * 1103515245u + 12345u;
        bytes += static_cast<char>(v >> 24);
    }
    return bytes;
}

HexLayout Layout(int groupSize, int byteOrder, int bytesPerLine = 16, int separator = 0) {
    HexLayout layout;
    layout.groupSize = groupSize;
    layout.byteOrder = static_cast<std::uint32_t>(byteOrder);
    layout.bytesPerLine = static_cast<std::uint32_t>(bytesPerLine);
    layout.separatorCode = static_cast<std::uint32_t>(separator);
    return layout;
}

std::string Shown(const PramelSession& editor) { return WithoutFinalLineBreak(editor.Text()); }
std::string Dumped(const std::string& bytes, const HexLayout& layout) {
    return WithoutFinalLineBreak(DumpText(bytes, layout));
}

class BinaryMode : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

TEST_F(BinaryMode, ShowsTheDumpInEveryDataSizeAndByteOrder) {
    // 203 bytes: the last line and the last group are both incomplete.
    std::string bytes = SampleBytes(203);
    std::string path = folder + "\\sample.dat";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(1, 0)));

    struct Case {
        UINT order;
        int byteOrder;
        UINT size;
        int groupSize;
    };
    for (Case c : {Case{kBigEndian, 1, kWordUnits, 2}, Case{kLittleEndian, 0, kWordUnits, 2},
                   Case{kLittleEndian, 0, kDwordUnits, 4}, Case{kBigEndian, 1, kDwordUnits, 4},
                   Case{kBigEndian, 1, kByteUnits, 1}}) {
        editor.Send(c.order);
        editor.Send(c.size);
        EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(c.groupSize, c.byteOrder)))
            << "group " << c.groupSize << " order " << c.byteOrder;
    }
    EXPECT_EQ(editor.StatusPane(5), "バイナリモード");
    editor.Screenshot("binary-mode");
}

TEST_F(BinaryMode, ByteOrderIsRememberedPerExtension) {
    std::string bytes = SampleBytes(40);
    std::string path = folder + "\\ordered.wrd";
    WriteFile(path, bytes);
    {
        PramelSession editor("\"" + path + "\"");
        ASSERT_TRUE(editor.Frame());
        editor.Send(kBigEndian);
        editor.Send(kWordUnits);
        EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(2, 1)));
    }
    DWORD stored = 0;
    ASSERT_TRUE(GetSetting(".wrd", "Endian", &stored));
    EXPECT_EQ(stored, 1u);
    // The next open of a file with that extension starts big-endian (the
    // data size is the document's own and starts at bytes again).
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Send(kWordUnits);
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(2, 1)));
}

TEST_F(BinaryMode, EditedByteIsSaved) {
    std::string bytes = SampleBytes(48);
    std::string path = folder + "\\edit.bin";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    // Overwrite the first byte's two digits and the third byte's.
    editor.TypeOver(0, 2, "A5");
    editor.TypeOver(6, 8, "0f");
    std::string text = editor.Text();
    ASSERT_EQ(text.substr(0, 2), "A5");
    editor.Send(kSave);
    std::string expected = bytes;
    expected[0] = static_cast<char>(0xA5);
    expected[2] = 0x0F;
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(PackedBytes(text, 0), expected);
    // Nothing is left beside the file.
    EXPECT_FALSE(editor.WaitForDialog({}, 300));
}

TEST_F(BinaryMode, ReloadKeepsTheFirstVisibleLine) {
    std::string bytes = SampleBytes(16 * 600);
    std::string path = folder + "\\long.bin";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.TypeOver(0, 2, "00");  // edited: the reload asks first
    editor.ScrollToLine(321);
    ASSERT_EQ(editor.FirstVisibleLine(), 321);
    editor.Post(kReload);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask.text, "再読み込みを実行してもいいですか？\n編集していた内容は破棄されます。");
    PramelSession::Click(ask, IDOK);
    editor.Settle();
    EXPECT_EQ(editor.FirstVisibleLine(), 321);
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(1, 0)));
}

TEST_F(BinaryMode, RefusedReloadKeepsTheByteOrder) {
    std::string bytes = SampleBytes(32);
    std::string path = folder + "\\keep.bin";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Send(kWordUnits);
    editor.TypeOver(0, 0, " ");
    editor.Post(kBigEndian);
    Dialog ask = editor.WaitForDialog();
    ASSERT_TRUE(ask);
    PramelSession::Click(ask, IDCANCEL);
    // Still little-endian: a reload now (answered OK) shows the little-endian
    // dump, not the big-endian one.
    editor.Post(kReload);
    Dialog again = editor.WaitForDialog();
    ASSERT_TRUE(again);
    PramelSession::Click(again, IDOK);
    editor.Settle();
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(2, 0)));
}

TEST_F(BinaryMode, DisplaySettingsTakeOnlyFourToSixtyFourBytes) {
    std::string bytes = SampleBytes(100);
    std::string path = folder + "\\layout.bin";
    WriteFile(path, bytes);
    PramelSession editor("\"" + path + "\"");
    ASSERT_TRUE(editor.Frame());
    editor.Post(kViewSettings);
    Dialog settings = editor.WaitForDialog("データ表示設定");
    ASSERT_TRUE(settings);
    editor.Screenshot("display-settings", settings.hwnd);
    HWND entry = GetDlgItem(settings.hwnd, 1016);
    for (const char* refused : {"3", "65", ""}) {
        SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(refused));
        PramelSession::Click(settings, IDOK);
        Dialog error = editor.WaitForDialog("エラー");
        ASSERT_TRUE(error) << "value '" << refused << "'";
        EXPECT_EQ(error.text, "範囲外の値が設定されました。");
        PramelSession::Click(error, IDOK);
        EXPECT_TRUE(IsWindowVisible(settings.hwnd)) << "value '" << refused << "'";
    }
    // 8 bytes per line with commas.
    SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("8"));
    SendMessageA(GetDlgItem(settings.hwnd, 1017), CB_SETCURSEL, 2, 0);
    PramelSession::Click(settings, IDOK);
    editor.Settle();
    EXPECT_FALSE(IsWindow(settings.hwnd) && IsWindowVisible(settings.hwnd));
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(1, 0, 8, 2)));
    DWORD lineSize = 0;
    DWORD separator = 0;
    ASSERT_TRUE(GetSetting("PramelView", "LineSize", &lineSize));
    ASSERT_TRUE(GetSetting("PramelView", "SepaCode", &separator));
    EXPECT_EQ(lineSize, 8u);
    EXPECT_EQ(separator, 2u);
}

TEST_F(BinaryMode, OpenDialogFillsTheEmptyDocumentInPlace) {
    std::string bytes = SampleBytes(20);
    std::string path = folder + "\\chosen.bin";
    WriteFile(path, bytes);
    PramelSession editor("");
    ASSERT_TRUE(editor.Frame());
    editor.Post(57601);
    ASSERT_TRUE(editor.AnswerFileDialog(path));
    editor.Settle();
    EXPECT_EQ(editor.Frames().size(), 1u);
    EXPECT_EQ(Shown(editor), Dumped(bytes, Layout(1, 0)));
    EXPECT_NE(editor.FrameTitle().find("chosen.bin"), std::string::npos);
}
