// Every example template of the help runs here, in JScript and in
// VBScript, against the real library the way the editor runs a template:
// the example's input file as standard input and the editor's settings in
// the session block. Both must write exactly the text and the messages the
// help shows for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptRunner.h"
#include "TestFiles.h"

namespace {

// The build passes the folder as a path of the build machine; under Wine
// its root is drive Z:.
std::wstring ExampleFolder() {
    std::wstring path = Widen(HELP_EXAMPLES);
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

struct Example {
    std::string name;
    std::string input;  // bytes
    unsigned unit = 1;
    bool big = false;
    int line = 16;
    int separator = 0;
    std::string file = "sample.bin";
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string FromHex(const std::string& text) {
    std::string bytes, digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// manifest.txt: NAME | input bytes in hexadecimal | settings
std::vector<Example> ReadManifest() {
    std::vector<Example> examples;
    std::istringstream lines(ReadWholeFile(Join(ExampleFolder(), L"manifest.txt")));
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const auto bar1 = line.find('|');
        const auto bar2 = line.find('|', bar1 + 1);
        if (bar1 == std::string::npos || bar2 == std::string::npos) {
            ADD_FAILURE() << "bad manifest line: " << line;
            continue;
        }
        Example example;
        example.name = Trim(line.substr(0, bar1));
        example.input = FromHex(line.substr(bar1 + 1, bar2 - bar1 - 1));
        std::istringstream settings(line.substr(bar2 + 1));
        std::string setting;
        while (settings >> setting) {
            const auto equals = setting.find('=');
            const std::string key = setting.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
            if (key == "line") example.line = std::stoi(value);
            else if (key == "sep") example.separator = std::stoi(value);
            else if (key == "unit") example.unit = static_cast<unsigned>(std::stoi(value));
            else if (key == "big") example.big = value == "1";
            else if (key == "file") example.file = value;
            else ADD_FAILURE() << example.name << ": unknown setting " << setting;
        }
        examples.push_back(example);
    }
    return examples;
}

// The help shows texts with line feeds; lines the library writes through
// the runtime's text stream end with CR LF.
std::string Lines(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class HelpExample : public ::testing::TestWithParam<std::string> {};

TEST_P(HelpExample, BothLanguagesWriteWhatTheHelpShows) {
    const std::string language = GetParam();
    const std::vector<Example> examples = ReadManifest();
    ASSERT_GE(examples.size(), 20u);
    const std::wstring folder = ExampleFolder();
    for (const Example& example : examples) {
        SCOPED_TRACE(example.name + "." + language);
        const std::wstring base = Join(folder, Widen(example.name));
        const std::wstring script = base + L"." + Widen(language);
        ASSERT_TRUE(Exists(script));
        ASSERT_TRUE(Exists(base + L".out"));
        const std::string expectedErrors = Exists(base + L".err") ? ReadWholeFile(base + L".err") : "";

        ScriptRequest request;
        request.script = script;
        request.block = MakeRunBlock(example.unit, example.big, example.line, example.separator, example.file.c_str());
        request.input = example.input;
        request.workFolder = WorkFolder("help_" + example.name + "_" + language);
        const ScriptResult result = RunScript(request);
        ASSERT_TRUE(result.failure.empty()) << result.failure;
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(Lines(result.output), ReadWholeFile(base + L".out"));
        EXPECT_EQ(Lines(result.errors), expectedErrors);
        // An error report in the messages goes with the status the editor
        // reads; an example that ends normally accounts for every byte.
        const bool reported = expectedErrors.find("ファイルオフセット") != std::string::npos;
        EXPECT_EQ(result.block.status, reported ? -100 : 0);
        if (!reported && result.block.reversible != 0) {
            EXPECT_EQ(result.block.outputBytes, example.input.size()) << "a reversible example emits every byte";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, HelpExample, ::testing::Values("js", "vbs"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
