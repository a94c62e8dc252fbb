// The editor's texts are code page 932 bytes: messages, captions and the
// template text it produces. Sources are UTF-8 and the compiler turns narrow
// literals into code page 932 (-fexec-charset=CP932), while wide literals
// stay UTF-16 for the Win32 "W" functions. These tests pin that down for
// every tree, and under Wine also that the process really runs in code page
// 932, so that ANSI APIs and the rich-edit control read those bytes as the
// same characters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Bytes of a narrow literal, without its terminating NUL.
template <size_t N>
std::string bytesOf(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// "起動エラー" in code page 932.
const char kStartupErrorCp932[] = "\x8B\x4E\x93\xAE\x83\x47\x83\x89\x81\x5B";

TEST(ExecutionCharset, JapaneseLiteralsHoldCodePage932Bytes) {
  EXPECT_EQ(bytesOf("起動エラー"), bytesOf(kStartupErrorCp932));
  // Full-width letters and a space, as in the face name "ＭＳ ゴシック".
  EXPECT_EQ(bytesOf("ＭＳ ゴシック"),
            bytesOf("\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"));
  // Half-width katakana are single bytes in code page 932.
  EXPECT_EQ(bytesOf("ｱｲｳ"), bytesOf("\xB1\xB2\xB3"));
}

TEST(ExecutionCharset, TrailByteBackslashIsPartOfTheCharacter) {
  // "表" and "ソ" end in 0x5C, the byte of "\". The conversion happens after
  // escape processing, so that byte must neither start an escape nor be
  // doubled or dropped.
  EXPECT_EQ(bytesOf("表示"), bytesOf("\x95\x5C\x8E\xA6"));
  EXPECT_EQ(bytesOf("ソ\n"), bytesOf("\x83\x5C\x0A"));
  EXPECT_EQ(std::strlen("表\\"), 3u);
}

TEST(ExecutionCharset, AsciiAndEscapesAreUnchanged) {
  EXPECT_EQ(bytesOf("Velda.File\r\n\t\"<>[];"),
            bytesOf("\x56\x65\x6C\x64\x61\x2E\x46\x69\x6C\x65\x0D\x0A\x09\x22\x3C\x3E\x5B\x5D\x3B"));
  EXPECT_EQ('A', 0x41);
  EXPECT_EQ('\\', 0x5C);
}

TEST(ExecutionCharset, WideLiteralsStayUnicode) {
  const wchar_t text[] = L"起動エラー";
  ASSERT_EQ(sizeof(text) / sizeof(text[0]), 6u);
  EXPECT_EQ(static_cast<unsigned>(text[0]), 0x8D77u);
  EXPECT_EQ(static_cast<unsigned>(text[1]), 0x52D5u);
  EXPECT_EQ(static_cast<unsigned>(text[2]), 0x30A8u);
  EXPECT_EQ(static_cast<unsigned>(text[3]), 0x30E9u);
  EXPECT_EQ(static_cast<unsigned>(text[4]), 0x30FCu);
  EXPECT_EQ(static_cast<unsigned>(text[5]), 0u);
}

#ifdef _WIN32

// Converts ANSI (code page of the process) text to UTF-16, failing on bytes
// that are not valid in that code page.
std::wstring ansiToWide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return L"<invalid>";
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                      static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

std::string wideToAnsi(const std::wstring& text) {
  BOOL defaulted = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, &defaulted);
  if (n <= 0 || defaulted) return "<unmappable>";
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], n,
                      nullptr, nullptr);
  return ansi;
}

TEST(WindowsCodePage, ProcessRunsInCodePage932) {
  // Wine takes the ANSI code page from the locale (LC_ALL=ja_JP.UTF-8); on
  // Windows it is the system locale. Anything else garbles every text.
  EXPECT_EQ(GetACP(), 932u);
}

TEST(WindowsCodePage, AnsiApisReadOurLiteralsAsTheSameCharacters) {
  EXPECT_EQ(ansiToWide(kStartupErrorCp932), std::wstring(L"起動エラー"));
  EXPECT_EQ(ansiToWide("表示ソ"), std::wstring(L"表示ソ"));
  EXPECT_EQ(ansiToWide("ｱｲｳ"), std::wstring(L"ｱｲｳ"));
  EXPECT_EQ(wideToAnsi(L"起動エラー"), bytesOf("起動エラー"));
  EXPECT_EQ(wideToAnsi(L"表示ソ"), bytesOf("表示ソ"));
}

TEST(WindowsCodePage, LeadByteTableMatchesCodePage932) {
  EXPECT_TRUE(IsDBCSLeadByte(0x8B));
  EXPECT_TRUE(IsDBCSLeadByte(0x95));
  EXPECT_TRUE(IsDBCSLeadByte(0xE0));
  EXPECT_FALSE(IsDBCSLeadByte(0x5C));
  EXPECT_FALSE(IsDBCSLeadByte(0xB1));  // half-width katakana
  EXPECT_FALSE(IsDBCSLeadByte('A'));
}

// The user interface asks for fonts by their Japanese face names; the test
// prefix maps them to IPA Gothic, so they exist under those names. Without
// the mapping Wine substitutes "IPAゴシック" and reports that name instead.
std::wstring faceSelectedFor(const wchar_t* face) {
  LOGFONTW lf = {};
  lf.lfHeight = -12;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return L"<no font>";
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t selected[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, selected);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return selected;
}

TEST(WindowsFonts, JapaneseFaceNamesExist) {
  // Windows may answer with the other name of the same family.
  const struct {
    const wchar_t* asked;
    const wchar_t* otherName;
  } faces[] = {
      {L"ＭＳ ゴシック", L"MS Gothic"},
      {L"MS Gothic", L"ＭＳ ゴシック"},
      {L"ＭＳ Ｐゴシック", L"MS PGothic"},
      {L"MS UI Gothic", L"MS UI Gothic"},
  };
  for (const auto& face : faces) {
    const std::wstring selected = faceSelectedFor(face.asked);
    EXPECT_TRUE(selected == face.asked || selected == face.otherName)
        << "asked for " << ::testing::PrintToString(std::wstring(face.asked)) << ", got "
        << ::testing::PrintToString(selected);
  }
}

#endif  // _WIN32

}  // namespace
