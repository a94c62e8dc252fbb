// The template list over real template trees: a scan that asks each
// template through cscript and Velda.dll, the file it writes, when the file
// counts as out of date, and hand-edited or older lists read as they are.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "templates/CScriptEngine.h"
#include "templates/CTemplateList.h"

using Texts = std::vector<std::string>;

namespace {

std::string FromDefinition(const char* value) {
    std::string path = value;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) << path;
}

// Sets the file's last-write time to now moved by the given seconds.
void SetWriteTime(const std::string& path, long long secondsFromNow) {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    ULARGE_INTEGER t{{time.dwLowDateTime, time.dwHighDateTime}};
    t.QuadPart += secondsFromNow * 10000000LL;
    time = FILETIME{t.LowPart, t.HighPart};
    UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file && SetFileTime(file.get(), nullptr, nullptr, &time)) << path;
}

// Splits at CR LF; a bare LF or CR left inside a line shows as a failure.
Texts CrLfLines(const std::string& text) {
    Texts lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the text does not end in CR LF";
    return lines;
}

// A library folder in a scratch folder of the test's own, with the engine
// and the list pointed at it.
class TemplateTree : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string work = FromDefinition(LIST_TEST_WORK);
        CreateDirectoryA(work.c_str(), nullptr);
        const std::string folder = work + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        library_ = folder + "\\lib\\";
        CreateDirectoryA(library_.c_str(), nullptr);
        ASSERT_TRUE(engine_.SetLibraryFolder(library_));
        ASSERT_TRUE(list_.SetLibraryFolder(library_));
        listFile_ = library_ + "TemplateList.txt";
    }

    // Creates the folders of a relative path below the library folder.
    void MakeFolders(const std::string& relative) {
        for (std::size_t at = relative.find('\\'); at != std::string::npos; at = relative.find('\\', at + 1)) {
            CreateDirectoryA((library_ + relative.substr(0, at)).c_str(), nullptr);
        }
    }
    void AddScript(const char* script, const std::string& relative) {
        MakeFolders(relative);
        const std::string source = FromDefinition(LIST_TEST_SCRIPTS) + "\\" + script;
        ASSERT_TRUE(CopyFileA(source.c_str(), (library_ + relative).c_str(), FALSE)) << source;
    }
    void AddFile(const std::string& relative, const std::string& bytes = "x") {
        MakeFolders(relative);
        WriteBytes(library_ + relative, bytes);
    }

    std::string library_;
    std::string listFile_;
    CScriptEngine engine_;
    CTemplateList list_{engine_};
};

using TemplateListScan = TemplateTree;
using TemplateListFile = TemplateTree;

TEST_F(TemplateListScan, WritesWhatEachTemplateDeclares) {
    AddScript("Bitmap.js", "Bitmap.js");
    AddScript("Wave.vbs", "Wave.vbs");
    AddScript("Broken.js", "Broken.js");
    AddScript("Silent.js", "Silent.js");
    AddFile("readme.txt");
    AddScript("Wave.vbs", "sub\\Other.vbs");
    AddScript("Second.js", "sub\\表\\Second.js");  // a folder name whose trail byte is "\\"
    AddFile("sub\\表\\notes.txt");

    list_.Prepare();

    const Texts lines = CrLfLines(ReadBytes(listFile_));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "# 本ファイルは，テンプレートと拡張子の関連付けを定義します。");
    const std::string datePrefix = "# ファイル作成日：";
    ASSERT_EQ(lines[1].compare(0, datePrefix.size(), datePrefix), 0) << lines[1];
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[16];
    std::snprintf(today, sizeof today, "%04u/%02u/%02u ", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(lines[1].substr(datePrefix.size(), 11), today);
    EXPECT_EQ(lines[1].size(), datePrefix.size() + 19) << lines[1];
    EXPECT_EQ(lines[2], "#");

    const Texts entries(lines.begin() + 3, lines.end());
    Texts sorted = entries;
    std::sort(sorted.begin(), sorted.end());
    Texts expected{"BMP=Bitmap.js", "DIB=Bitmap.js",      "WAV=Wave.vbs",          "# ?=Broken.js",
                   "# ?=Silent.js", "WAV=sub\\Other.vbs", "BMP=sub\\表\\Second.js"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);

    // One template's keys stay together in declared order; a subfolder's
    // templates come together, where the walk met the subfolder.
    const auto at = [&](const char* entry) { return std::find(entries.begin(), entries.end(), entry) - entries.begin(); };
    EXPECT_EQ(at("DIB=Bitmap.js"), at("BMP=Bitmap.js") + 1);
    EXPECT_EQ(std::abs(at("WAV=sub\\Other.vbs") - at("BMP=sub\\表\\Second.js")), 1);

    // Read back: the comments are gone, the rest is in file order.
    Texts usable;
    for (const std::string& e : entries) {
        if (e.compare(0, 1, "#") != 0) usable.push_back(e);
    }
    EXPECT_EQ(list_.templateList(), usable);
    Texts bitmaps;
    for (const std::string& e : usable) {
        if (e.compare(0, 4, "BMP=") == 0) bitmaps.push_back(e.substr(4));
    }
    Texts found;
    EXPECT_EQ(list_.FindTemplatesForFile("C:\\pictures\\photo.Bmp", found), 2u);
    EXPECT_EQ(found, bitmaps);
    EXPECT_EQ(list_.FullPath("sub\\表\\Second.js"), library_ + "sub\\表\\Second.js");
}

TEST_F(TemplateListFile, OutOfDateWhenATemplateIsNewer) {
    AddFile("A.js");
    AddFile("sub\\deep\\B.vbs");
    AddFile("readme.txt");
    EXPECT_TRUE(list_.IsTemplateListStale()) << "no list file";

    WriteBytes(listFile_, "X=A.js\r\n");
    SetWriteTime(library_ + "A.js", -3600);
    SetWriteTime(library_ + "sub\\deep\\B.vbs", -3600);
    SetWriteTime(library_ + "readme.txt", 3600);
    EXPECT_FALSE(list_.IsTemplateListStale()) << "only a file that is no template is newer";

    SetWriteTime(library_ + "sub\\deep\\B.vbs", 3600);
    EXPECT_TRUE(list_.IsTemplateListStale()) << "a nested template is newer";

    ASSERT_TRUE(SetFileAttributesA(listFile_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(list_.IsTemplateListStale()) << "a read-only list is never rebuilt";
}

// A list file that cannot be written (here a folder holds its name; on
// Windows, a library folder installed for all users) leaves the scanned
// templates in use, every time.
TEST_F(TemplateListFile, ListThatCannotBeWrittenKeepsTheScannedTemplates) {
    AddScript("Bitmap.js", "画像\\Bitmap.js");
    AddScript("Broken.js", "Broken.js");
    ASSERT_TRUE(CreateDirectoryA(listFile_.c_str(), nullptr));
    for (int start = 0; start < 2; ++start) {
        list_.Prepare();
        EXPECT_EQ(list_.templateList(), (Texts{"BMP=画像\\Bitmap.js", "DIB=画像\\Bitmap.js"}));
        Texts found;
        EXPECT_EQ(list_.FindTemplatesForFile("C:\\a.dib", found), 1u);
        EXPECT_NE(list_.extensionPatterns().find("BMP"), std::string::npos) << list_.extensionPatterns();
    }
}

TEST_F(TemplateListFile, EmptyTreeLeavesNoFile) {
    AddFile("readme.txt");
    AddFile("empty\\notes.txt");
    list_.Prepare();
    EXPECT_EQ(GetFileAttributesA(listFile_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(list_.templateList().empty());
    EXPECT_EQ(list_.extensionList(), "");
    EXPECT_EQ(list_.extensionPatterns(), "");
    EXPECT_TRUE(list_.IsTemplateListStale());
}

TEST_F(TemplateListFile, HandEditedReadOnlyListIsReadAsWritten) {
    AddFile("Bitmap.js");
    AddFile("sub\\Wave.VBS");
    AddFile("other\\Absolute.js");
    AddFile("readme.txt");
    const std::string absolute = library_ + "other\\Absolute.js";
    // An older layout: another header, line feeds alone, a last line
    // without one.
    const std::string text =
        "# templates, edited by hand\n"
        "  BMP \t=\t Bitmap.js \t\r\n"
        "bmp=sub\\Wave.VBS\n"
        "# ?=Bitmap.js\n"
        "#WAV=sub\\Wave.VBS\n"
        "WAV = sub\\Wave.VBS\n"
        "a line without an entry\n"
        "TXT=readme.txt\n"
        "PNG=missing.js\n"
        "BMP=" + absolute + "\n"
        "RAW=other\\Absolute.js";
    WriteBytes(listFile_, text);
    SetWriteTime(library_ + "Bitmap.js", 3600);
    ASSERT_TRUE(SetFileAttributesA(listFile_.c_str(), FILE_ATTRIBUTE_READONLY));

    list_.Prepare();

    EXPECT_EQ(ReadBytes(listFile_), text);
    EXPECT_EQ(list_.templateList(), (Texts{"BMP=Bitmap.js", "bmp=sub\\Wave.VBS", "WAV=sub\\Wave.VBS",
                                           "BMP=" + absolute, "RAW=other\\Absolute.js"}));
    Texts found;
    EXPECT_EQ(list_.FindTemplatesForFile("a.bmp", found), 2u);
    EXPECT_EQ(found, (Texts{"Bitmap.js", absolute}));
    EXPECT_EQ(list_.FullPath(absolute), absolute);
    EXPECT_EQ(list_.extensionList(), "BMP;bmp;WAV;BMP;RAW");
    EXPECT_EQ(list_.extensionPatterns(), "*.BMP;*.bmp;*.WAV;*.BMP;*.RAW");
}

}  // namespace
