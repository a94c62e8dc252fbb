// The contract between the library and the editor: whatever mix of output
// members a template uses, in any layout the editor can ask for, the text
// packs back through the editor's save chain to exactly the file's bytes,
// and the block's byte count and CRC describe those bytes.
//
// Each case makes a random file and a random script (JScript, or VBScript
// for every fourth case) that consumes the file with PutByte..PutQWord,
// PutBytes..PutQWords, PutString, PutFormat, Print, PrintIndex, Indent and a
// few reads that must not disturb anything, and ends with PutAll. Literal
// texts are comments or blanks: a bare "ID:" would hold the digit D.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptTestSupport.h"
#include "session/Crc32.h"

namespace {

struct Layout {
    unsigned unit;
    bool bigEndian;
    int lineBytes;
    int separator;
};

// Case k covers bytes per line 4 + k (all of 4..64 over the 61 cases) and
// walks through the 18 combinations of unit size, byte order and separator.
Layout LayoutOf(int k) {
    const int combination = k % 18;
    static const unsigned units[] = {1, 2, 4};
    return {units[combination % 3], (combination / 3) % 2 == 1, 4 + k, combination / 6};
}

std::string RandomFile(std::mt19937& random, int k) {
    std::size_t size;
    if (k == 0) {
        size = 0;
    } else if (k == 1) {
        size = 1;
    } else if (k % 10 == 5) {
        size = 2048 + random() % 1500;  // several 1024-byte blocks
    } else {
        size = 2 + random() % 1200;
    }
    std::string bytes;
    while (bytes.size() < size) {
        switch (random() % 6) {
        case 0:  // any bytes
            for (int i = random() % 24; i > 0; --i) bytes += static_cast<char>(random() & 0xFF);
            break;
        case 1:  // printable text with quotes and blanks
            for (int i = random() % 24; i > 0; --i) bytes += "ab \"<>[];Z9%"[random() % 12];
            break;
        case 2:  // double-byte characters, some without a valid trail byte
            for (int i = random() % 8; i > 0; --i) {
                bytes += static_cast<char>(0x81 + random() % 0x1F);
                bytes += static_cast<char>(random() % 4 == 0 ? random() & 0xFF : 0x40 + random() % 0x3F);
            }
            break;
        case 3:  // line ends and zeros
            bytes += std::string("\r\n\0\0\n\r", 6).substr(random() % 6);
            break;
        case 4:  // half-width katakana and high bytes
            for (int i = random() % 8; i > 0; --i) bytes += static_cast<char>(0xA0 + random() % 0x60);
            break;
        default:
            bytes += std::string(random() % 12, static_cast<char>(random() & 0xFF));
            break;
        }
    }
    bytes.resize(size);
    return bytes;
}

// One script line in either language.
class ScriptWriter {
public:
    explicit ScriptWriter(bool vbscript) : vb_(vbscript) {
        text_ = vb_ ? "Dim f, x\r\nSet f = CreateObject(\"Velda.File\")\r\n"
                    : "var f = new ActiveXObject(\"Velda.File\");\r\nvar x;\r\n";
    }
    // A member call whose result is dropped.
    void Call(const std::string& member, const std::string& arguments = "") {
        if (vb_) {
            Line("f." + member + (arguments.empty() ? "" : " " + arguments));
        } else {
            Line("f." + member + "(" + arguments + ");");
        }
    }
    // A member call whose result is stored (and so converted by the host).
    void Read(const std::string& member, const std::string& arguments) {
        Line(std::string(vb_ ? "x = " : "x = ") + "f." + member + "(" + arguments + ")" + (vb_ ? "" : ";"));
    }
    void Assign(const std::string& property, const std::string& value) {
        Line("f." + property + " = " + value + (vb_ ? "" : ";"));
    }
    std::string Quote(const std::string& text) const { return "\"" + text + "\""; }
    std::string Bool(bool value) const { return vb_ ? (value ? "True" : "False") : (value ? "true" : "false"); }
    const std::string& Text() const { return text_; }

private:
    void Line(const std::string& line) { text_ += line + "\r\n"; }
    bool vb_;
    std::string text_;
};

// Emits the whole file through a random mix of members.
std::string RandomScript(std::mt19937& random, std::size_t size, bool vbscript) {
    static const char* const comments[] = {"comment", "値 の 説明", "x = 1", "A-B (c)", "見出し"};
    static const char* const units[] = {"Byte", "Word", "DWord", "QWord"};
    static const unsigned widths[] = {1, 2, 4, 8};
    ScriptWriter script(vbscript);
    std::size_t left = size;
    for (int step = 0; left > 0 && step < 400; ++step) {
        const int pick = static_cast<int>(random() % 100);
        const int u = static_cast<int>(random() % 4);
        if (pick < 14) {
            if (left < widths[u]) continue;
            script.Call(std::string("Put") + units[u], random() % 2 ? script.Bool(random() % 2 == 1) : "");
            left -= widths[u];
        } else if (pick < 32) {
            // Mostly a few lines; now and then enough to cross 1024-byte blocks.
            std::size_t most = std::min<std::size_t>(left / widths[u], random() % 6 == 0 ? 600 : 40);
            const std::size_t count = random() % (most + 1);
            script.Call(std::string("Put") + units[u] + "s", std::to_string(count));
            left -= count * widths[u];
        } else if (pick < 46) {
            const std::size_t count = random() % (std::min<std::size_t>(left, 48) + 1);
            script.Call("PutString", std::to_string(count));
            left -= count;
        } else if (pick < 62) {
            static const struct {
                const char* text;
                std::size_t bytes;
            } pieces[] = {{"%B", 1},  {"%2b", 2}, {"%W", 2},     {"%3w", 6},  {"%D", 4},  {"%q", 8},
                          {"%C", 1},  {"%5c", 5}, {"%0C", 1},    {"%%", 0},   {"<id>", 0}, {"<名前>", 0},
                          {"\t", 0},  {"%2D", 8}, {"%0B", 1},    {"%1Q", 8}};
            std::string format;
            std::size_t bytes = 0;
            for (int n = 1 + random() % 5; n > 0; --n) {
                const auto& piece = pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
                if (bytes + piece.bytes > left) continue;
                // Conversions side by side would read as one number.
                if (!format.empty()) format += " ";
                format += piece.text;
                bytes += piece.bytes;
            }
            script.Call("PutFormat", script.Quote(format));
            left -= bytes;
        } else if (pick < 72) {
            script.Call("Print", script.Quote(comments[random() % 5]));
        } else if (pick < 80) {
            script.Call("PrintIndex", script.Quote(comments[random() % 5]));
        } else if (pick < 88) {
            static const char* const indents[] = {"-1", "0", "1", "2", "5"};
            script.Assign("Indent", indents[random() % 5]);
        } else {
            // Reads that leave the position and the counters alone.
            switch (random() % 4) {
            case 0:
                if (left >= 4) script.Read("GetWord", "1");
                break;
            case 1:
                if (left >= 3) script.Read("GetFormat", script.Quote("%B%W"));
                break;
            case 2:
                script.Read("CalcCrc32", "0, 4, 0, 1");
                break;
            default:
                script.Read("FindByte", "0");
                break;
            }
        }
    }
    script.Call("PutAll");
    return script.Text();
}

// Where two byte strings first differ, for the failure message.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
    std::ostringstream text;
    text << "sizes " << expected.size() << " and " << actual.size() << ", first difference at byte " << i;
    return text.str();
}

class Contract : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(Contract, TheTextPacksBackToTheFileAndTheBlockDescribesIt) {
    const int k = GetParam();
    const Layout layout = LayoutOf(k);
    const bool vbscript = k % 4 == 3;
    std::mt19937 random(static_cast<unsigned>(0x5EED + k));
    const std::string file = RandomFile(random, k);
    const std::string script = RandomScript(random, file.size(), vbscript);

    const std::wstring folder = WorkFolder("Contract." + std::to_string(k));
    const std::wstring scriptPath = Join(folder, vbscript ? L"emit.vbs" : L"emit.js");
    ASSERT_TRUE(WriteWholeFile(scriptPath, script));
    SCOPED_TRACE("unit " + std::to_string(layout.unit) + (layout.bigEndian ? " big" : " little") + "-endian, " +
                 std::to_string(layout.lineBytes) + " bytes per line, separator " +
                 std::to_string(layout.separator) + ", " + std::to_string(file.size()) + " bytes, " +
                 (vbscript ? "VBScript" : "JScript") + "; files in the work folder Contract." + std::to_string(k));

    ScriptRequest request;
    request.script = scriptPath;
    request.block = MakeRunBlock(layout.unit, layout.bigEndian, layout.lineBytes, layout.separator, "random.bin");
    request.input = file;
    request.workFolder = folder;
    const ScriptResult run = RunScript(request);
    ASSERT_TRUE(run.started) << run.failure;
    ASSERT_FALSE(run.timedOut);
    ASSERT_EQ("", run.errors);
    ASSERT_EQ(0, run.block.status);

    const bool bigEndian = session::IsBigEndian(run.block);
    EXPECT_EQ(layout.bigEndian, bigEndian);
    const std::string packed = PackText(run.output, bigEndian);
    EXPECT_TRUE(packed == file) << FirstDifference(file, packed);
    EXPECT_EQ(file.size(), run.block.outputBytes);
    EXPECT_EQ(session::Crc32Update(0, file.data(), file.size()), run.block.outputCrc);
    EXPECT_EQ(run.block.outputCrc, PackedCrc(run.output, bigEndian));
}

INSTANTIATE_TEST_SUITE_P(EveryLineWidth, Contract, ::testing::Range(0, 61));
