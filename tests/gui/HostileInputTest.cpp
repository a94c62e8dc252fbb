// The editor under hostile input from outside: dropped-files hand-overs
// that another process forges, and a kill in the middle of a large save.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "PramelSession.h"

using namespace gui;

namespace {

constexpr UINT kSave = 57603;
constexpr ULONG_PTR kDroppedFilesData = 0x46445250;  // "PRDF"

// A dropped-files block as a second instance builds it: the header, the
// names each with a zero, an empty name.
std::string Block(const std::vector<std::string>& names, bool wide = false, DWORD offset = sizeof(DROPFILES)) {
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = offset;
    header.fWide = wide;
    std::memcpy(&block[0], &header, sizeof header);
    for (const auto& name : names) block += name + '\0';
    block += '\0';
    return block;
}

// Hands a block to the frame the way a second instance does; the frame's
// answer (TRUE: taken).
LRESULT HandOver(HWND frame, const std::string& block, ULONG_PTR tag = kDroppedFilesData,
                 DWORD size = 0xFFFFFFFF) {
    COPYDATASTRUCT data{};
    data.dwData = tag;
    data.cbData = size == 0xFFFFFFFF ? static_cast<DWORD>(block.size()) : size;
    data.lpData = const_cast<char*>(block.data());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                             &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

bool IsSaveLitter(const std::string& name, const std::string& target) {
    const std::string head = "~" + target + ".";
    return name.size() == head.size() + 8 + 8 && name.compare(0, head.size(), head) == 0 &&
           name.compare(name.size() - 8, 8, ".prmsave") == 0;
}

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

}  // namespace

// Another process can send the frame any block it likes: only a well-formed
// one opens files; the rest are refused, open nothing and leave the editor
// running.
TEST_F(HostileInput, MalformedHandOversAreIgnored) {
    const std::string first = folder + "\\first.bin";
    const std::string second = folder + "\\second.bin";
    WriteFile(first, "\x01\x02");
    WriteFile(second, "\x03\x04");
    PramelSession editor("\"" + first + "\"");
    HWND frame = editor.Frame();
    ASSERT_TRUE(frame);
    editor.Settle();

    std::vector<std::string> many(257, second);
    std::string unterminated = Block({second});
    unterminated.resize(unterminated.size() - 2);  // no zero after the name, no empty name
    std::string trailing = Block({second}) + "garbage";
    std::string cutCharacter = Block({second + "\x82"});  // a lead byte cut by the zero
    std::string header = Block({});
    header.resize(sizeof(DROPFILES) - 4);
    struct Case {
        const char* what;
        std::string block;
        ULONG_PTR tag;
        DWORD size;
    } cases[] = {
        {"another tag", Block({second}), 0x1234, 0xFFFFFFFF},
        {"shorter than its header", header, kDroppedFilesData, 0xFFFFFFFF},
        {"no data at all", std::string(), kDroppedFilesData, 0},
        {"names past the block", Block({second}, false, 4000), kDroppedFilesData, 0xFFFFFFFF},
        {"names inside the header", Block({second}, false, 8), kDroppedFilesData, 0xFFFFFFFF},
        {"wide names", Block({second}, true), kDroppedFilesData, 0xFFFFFFFF},
        {"a name without its zero", unterminated, kDroppedFilesData, 0xFFFFFFFF},
        {"a list without its end", Block({second}).substr(0, Block({second}).size() - 1), kDroppedFilesData,
         0xFFFFFFFF},
        {"bytes after the end", trailing, kDroppedFilesData, 0xFFFFFFFF},
        {"too many names", Block(many), kDroppedFilesData, 0xFFFFFFFF},
        {"a name longer than any path", Block({std::string(40000, 'x')}), kDroppedFilesData, 0xFFFFFFFF},
        {"control characters", Block({second + "\x01"}), kDroppedFilesData, 0xFFFFFFFF},
        {"a cut double-byte character", cutCharacter, kDroppedFilesData, 0xFFFFFFFF},
        {"no names", Block({}), kDroppedFilesData, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FALSE, HandOver(frame, c.block, c.tag, c.size)) << c.what;
    }
    // A dropped-files message with a handle from nowhere.
    PostMessageA(frame, WM_DROPFILES, 0x12345678, 0);
    PostMessageA(frame, WM_DROPFILES, 0, 0);
    editor.Settle();
    ASSERT_TRUE(editor.running());
    EXPECT_EQ(1u, editor.Frames().size());
    EXPECT_TRUE(editor.Dialogs().empty());

    // The channel itself works: a well-formed block opens its file, and the
    // longest list taken opens each name (one frame per file, the same
    // file once).
    EXPECT_EQ(TRUE, HandOver(frame, Block({second})));
    ASSERT_TRUE(WaitUntil([&] { return editor.Frames().size() == 2; }));
    std::vector<std::string> longest(256, second);
    EXPECT_EQ(TRUE, HandOver(frame, Block(longest)));
    editor.Settle();
    EXPECT_TRUE(editor.running());
    EXPECT_EQ(2u, editor.Frames().size());
}

// The editor is killed while it writes a large file. The file is then the
// whole old content or the whole new one, the temporary file left behind
// is recognisable by its name, and the next start removes it, but not a
// file of the same form that the editor did not make.
TEST_F(HostileInput, KillDuringALargeSaveLeavesTheFileWholeAndNoLitter) {
    const std::string name = "large.txt";
    const std::string path = folder + "\\" + name;
    std::string old;
    for (int line = 0; old.size() < 400000; ++line) old += "line " + std::to_string(line) + " of the old text\r\n";
    WriteFile(path, old);
    const std::string decoy = folder + "\\~" + name + ".0000BEEF.prmsave";
    WriteFile(decoy, "the user's own file");

    std::string before = old;  // the file's content before the save that is killed
    std::string newer;
    std::string litter;
    {
        PramelSession editor("\"" + path + "\"", false);
        Dialog ask = editor.WaitForDialog("オープンモード", 60000);
        ASSERT_TRUE(ask);
        PramelSession::Click(ask, IDYES);  // as text
        HWND frame = editor.Frame(60000);
        ASSERT_TRUE(frame);
        ASSERT_TRUE(WaitUntil([&] { return editor.TextLength(frame) > static_cast<long>(old.size() * 9 / 10); }, 120000));
        editor.Settle();
        // Each round changes the first character and saves; the kill comes
        // as soon as a temporary file shows. A round the poll misses has
        // saved completely and the next one tries again.
        const char marks[] = "ABCDEFGH";
        for (int round = 0; round < 8 && litter.empty(); ++round) {
            editor.TypeOver(0, 1, std::string(1, marks[round]));
            newer = std::string(1, marks[round]) + old.substr(1);
            editor.Post(kSave, frame);
            const DWORD start = GetTickCount();
            while (litter.empty() && GetTickCount() - start < 20000) {
                for (const auto& file : FilesIn(folder)) {
                    if (IsSaveLitter(file, name) && folder + "\\" + file != decoy) litter = file;
                }
                if (!litter.empty()) {
                    TerminateProcess(editor.process(), 9);
                } else if (ReadFile(path).substr(0, 1) == std::string(1, marks[round])) {
                    before = newer;
                    editor.Settle();
                    break;
                }
            }
        }
        ASSERT_FALSE(litter.empty()) << "no save was caught in the middle";
        EXPECT_NE(-1, editor.WaitForExit(10000));
    }
    const std::string after = ReadFile(path);
    EXPECT_TRUE(after == before || after == newer) << "the file holds " << after.size() << " bytes of neither";
    if (!FileExists(folder + "\\" + litter)) {
        // The kill came just after the new file took the old one's place.
        EXPECT_EQ(newer, after);
    }

    // The next start cleans up after the killed one.
    PramelSession again("");
    ASSERT_TRUE(again.Frame());
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(folder + "\\" + litter); })) << litter;
    EXPECT_EQ("the user's own file", ReadFile(decoy));
    EXPECT_EQ(after, ReadFile(path));
}
