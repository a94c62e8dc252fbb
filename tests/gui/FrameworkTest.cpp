// The framework's and the editor's pieces that decide about data and
// texts, run under Wine without a window: the safe save, command-line
// splitting, the recent-file list, the settings store, the file dialogs'
// filter and name rules, and the dropped-files block of the hand-over.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "document/CMultiFileCommandLineInfo.h"
#include "document/CSingleInstance.h"
#include "frame/CTavFileDialog.h"
#include "framework/CFileException.h"
#include "framework/CFrameWnd.h"
#include "framework/CRecentFileList.h"
#include "framework/CSafeSaveFile.h"
#include "framework/CSettingsStore.h"

namespace {

std::string ScratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "pramel-framework-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Write(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int FilesIn(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

}  // namespace

TEST(SafeSave, CommitReplacesTheTargetAndReportsItsName) {
    std::string folder = ScratchFolder("commit");
    std::string target = folder + "\\data.bin";
    Write(target, "old contents");
    {
        CSafeSaveFile save(target);
        EXPECT_EQ(save.file().GetFilePath(), target);
        EXPECT_EQ(save.file().GetFileName(), "data.bin");
        EXPECT_NE(save.temporaryPath(), target);
        save.file().Write("new", 3);
        EXPECT_EQ(Read(target), "old contents");  // nothing visible before the commit
        save.Commit();
    }
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(FilesIn(folder), 1);
}

TEST(SafeSave, ReplacedFileKeepsItsHiddenAndArchiveMarks) {
    std::string folder = ScratchFolder("marks");
    std::string target = folder + "\\hidden.bin";
    Write(target, "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    {
        CSafeSaveFile save(target);
        save.file().Write("new", 3);
        save.Commit();
    }
    EXPECT_EQ(Read(target), "new");
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SafeSave, AbandonedSaveLeavesTheTargetByteForByte) {
    std::string folder = ScratchFolder("abandon");
    std::string target = folder + "\\keep.bin";
    const std::string original("\x00\x01\x02\xFF old", 8);
    Write(target, original);
    try {
        CSafeSaveFile save(target);
        save.file().Write("partial", 7);
        throw std::runtime_error("conversion stopped");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Read(target), original);
    EXPECT_EQ(FilesIn(folder), 1);
}

TEST(SafeSave, ReadOnlyAndHeldTargetsAreRefusedBeforeWriting) {
    std::string folder = ScratchFolder("refuse");
    std::string target = folder + "\\ro.bin";
    Write(target, "read only");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        CSafeSaveFile save(target);
        FAIL() << "a read-only target must be refused";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause(), CFileException::Cause::ReadOnly);
        EXPECT_EQ(e.path(), target);
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        CSafeSaveFile save(target);
        FAIL() << "a target held without sharing must be refused";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause(), CFileException::Cause::SharingViolation);
    }
    CloseHandle(held);
    EXPECT_EQ(Read(target), "read only");
    EXPECT_EQ(FilesIn(folder), 1);
}

TEST(SafeSave, NewFileInAMissingFolderIsABadPath) {
    std::string target = ScratchFolder("missing") + "\\no such folder\\x.bin";
    try {
        CSafeSaveFile save(target);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause(), CFileException::Cause::BadPath);
    }
}

TEST(CommandLine, SplitsLikeTheSystem) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CCommandLineInfo::Split("Pramel.exe"), V{"Pramel.exe"});
    EXPECT_EQ(CCommandLineInfo::Split("\"C:\\Program Files\\Pramel.exe\"  a.bin   \"b c.bin\""),
              (V{"C:\\Program Files\\Pramel.exe", "a.bin", "b c.bin"}));
    EXPECT_EQ(CCommandLineInfo::Split("p \"a\\\"b\" c\\\\\"d e\" \\x"), (V{"p", "a\"b", "c\\d e", "\\x"}));
    // "表" is 0x95 0x5C: its second byte is no backslash escape.
    EXPECT_EQ(CCommandLineInfo::Split("p \"C:\\表\\\" x\""), (V{"p", "C:\\表\" x"}));
    EXPECT_EQ(CCommandLineInfo::Split("p C:\\表\" x\""), (V{"p", "C:\\表 x"}));
}

TEST(CommandLine, KeepsEveryFileAndSkipsSwitches) {
    CMultiFileCommandLineInfo info;
    info.ParseCommandLine("Pramel.exe /n one.bin -x \"two words.txt\" three");
    EXPECT_EQ(info.files, (std::vector<std::string>{"one.bin", "two words.txt", "three"}));
    EXPECT_EQ(info.fileName, "one.bin");
    EXPECT_EQ(info.shellCommand, CCommandLineInfo::ShellCommand::FileOpen);

    CMultiFileCommandLineInfo none;
    none.ParseCommandLine("Pramel.exe");
    EXPECT_TRUE(none.files.empty());
    EXPECT_EQ(none.shellCommand, CCommandLineInfo::ShellCommand::FileNew);
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostFour) {
    CRecentFileList list(57616, 4);
    for (const char* p : {"C:\\a.bin", "C:\\b.bin", "C:\\c.bin", "C:\\d.bin", "C:\\e.bin"}) list.Add(p);
    list.Add("c:\\C.BIN");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "c:\\C.BIN");
    EXPECT_EQ(list[1], "C:\\e.bin");
    EXPECT_EQ(list[3], "C:\\b.bin");
    EXPECT_EQ(*list.ForCommand(57617), "C:\\e.bin");
    EXPECT_EQ(list.ForCommand(57620), nullptr);

    CSettingsStore store;
    store.SetRoot("Tevrin", "PramelFrameworkTest");
    list.Save(store);
    CRecentFileList loaded(57616, 4);
    loaded.Load(store);
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded[0], "c:\\C.BIN");
    store.DeleteAllSections();
}

TEST(RecentFiles, MenuShowsNumberedEntriesAndDoublesAmpersands) {
    CRecentFileList list(57616, 4);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 57601, "open");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 57616, "recent");
    AppendMenuA(menu, MF_STRING, 57665, "exit");
    list.UpdateMenu(menu, "(none)");
    char text[128];
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "(none)");
    list.Add("C:\\R&D\\x.bin");
    list.Add("C:\\y.bin");
    list.UpdateMenu(menu, "(none)");
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&1 C:\\y.bin");
    GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&2 C:\\R&&D\\x.bin");
    EXPECT_EQ(GetMenuItemID(menu, 3), 57665u);
    DestroyMenu(menu);
}

TEST(Settings, DefaultsForMissingOrMistypedValues) {
    CSettingsStore store;
    store.SetRoot("Tevrin", "PramelFrameworkTest");
    store.DeleteAllSections();
    EXPECT_EQ(store.GetInt("PramelView", "LineSize", 16), 16);
    EXPECT_TRUE(store.WriteString("PramelView", "LineSize", "32"));
    EXPECT_EQ(store.GetInt("PramelView", "LineSize", 16), 16);  // a string is no number
    EXPECT_TRUE(store.WriteInt("PramelView", "LineSize", 32));
    EXPECT_EQ(store.GetInt("PramelView", "LineSize", 16), 32);
    EXPECT_TRUE(store.WriteString("Templates", "Filter", "サブ"));
    EXPECT_EQ(store.GetString("Templates", "Filter", ""), "サブ");
    store.DeleteAllSections();
    EXPECT_EQ(store.GetInt("PramelView", "LineSize", 16), 16);
    EXPECT_EQ(store.GetString("Templates", "Filter", "none"), "none");
}

TEST(FileDialogs, FilterSeparatorsSkipDoubleByteCharacters) {
    // "ポ" is 0x83 0x7C: its second byte looks like '|'.
    std::string filter = CFileDialog::SystemFilter("ポ (*.x)|*.x|");
    EXPECT_EQ(filter, std::string("ポ (*.x)\0*.x\0\0", 14));
}

TEST(FileDialogs, SaveDialogAddsAndRemovesTheTextExtension) {
    std::string appended;
    EXPECT_EQ(CTavFileDialog::NameForType("data", true, appended), "data.txt");
    EXPECT_EQ(CTavFileDialog::NameForType("data.txt", false, appended), "data");
    EXPECT_TRUE(appended.empty());
    // A name the user wrote with ".txt" keeps it either way.
    EXPECT_EQ(CTavFileDialog::NameForType("notes.txt", true, appended), "notes.txt");
    EXPECT_EQ(CTavFileDialog::NameForType("notes.txt", false, appended), "notes.txt");
    // Between other types nothing changes; an empty name stays empty.
    EXPECT_EQ(CTavFileDialog::NameForType("plain", false, appended), "plain");
    EXPECT_EQ(CTavFileDialog::NameForType("", true, appended), "");
    // Another extension gets ".txt" after it and loses only that.
    EXPECT_EQ(CTavFileDialog::NameForType("image.bmp", true, appended), "image.bmp.txt");
    EXPECT_EQ(CTavFileDialog::NameForType("image.bmp.txt", false, appended), "image.bmp");
}

TEST(HandOver, DroppedFilesBlockLayout) {
    std::string block = CSingleInstance::BuildDropBlock({"C:\\a.bin", "D:\\ｂ.txt"});
    ASSERT_EQ(block.size(), 22u + (8 + 2) + (9 + 2));
    DROPFILES header{};
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.pFiles, 20u);
    EXPECT_FALSE(header.fWide);
    EXPECT_EQ(block.substr(20, 9), std::string("C:\\a.bin\0", 9));
    EXPECT_EQ(std::string(block.data() + 29), "D:\\ｂ.txt");
    // The list ends with an empty name.
    EXPECT_EQ(block[38], '\0');
    EXPECT_EQ(block[39], '\0');

    std::string empty = CSingleInstance::BuildDropBlock({});
    ASSERT_EQ(empty.size(), 22u);
    EXPECT_EQ(empty.substr(20), std::string("\0\0", 2));
}

TEST(HandOver, DroppedNamesComeBackWholeEvenPastThePathLimit) {
    const std::string longName = "C:\\" + std::string(300, 'x') + "\\deep.bin";
    std::string block = CSingleInstance::BuildDropBlock({"C:\\a.bin", longName, "D:\\ｂ.txt"});
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size());
    ASSERT_TRUE(memory);
    std::memcpy(GlobalLock(memory), block.data(), block.size());
    GlobalUnlock(memory);
    std::vector<std::string> names = CFrameWnd::DroppedFilePaths(static_cast<HDROP>(memory));
    GlobalFree(memory);
    EXPECT_EQ(names, (std::vector<std::string>{"C:\\a.bin", longName, "D:\\ｂ.txt"}));
}
