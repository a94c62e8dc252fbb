#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

#include "pipeline/CStream.h"
#include "pipeline/Chains.h"

std::string TypesInput() {
    return std::string("\x12\x34\x56\x78\xFF\xFF\xFF\xFF\x01\x00\x00\x00\x00\x00\x00\x00\x41\x42\x00\x82\xA0", 21);
}

std::wstring TestScript(const char* name) { return Join(ScriptFolder(), Widen(name)); }
std::wstring ExampleTemplate(const char* name) { return Join(TemplateFolder(), Widen(name)); }

ScriptResult RunWithBlock(const std::wstring& script, const session::SessionBlock& block, const std::string& input) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ScriptRequest request;
    request.script = script;
    request.block = block;
    request.input = input;
    request.workFolder = WorkFolder(std::string(test->test_suite_name()) + "." + test->name());
    return RunScript(request);
}

std::string PackText(const std::string& text, bool bigEndian) {
    std::string input = text;
    std::string bytes;
    CStream source(kStringStream, &input);
    CStream sink(kStringStream, &bytes);
    RunPackChain(source, bigEndian ? 1 : 0, sink);
    return bytes;
}

std::uint32_t PackedCrc(const std::string& text, bool bigEndian) {
    std::string input = text;
    CStream source(kStringStream, &input);
    return PackedTextCrc(source, bigEndian ? 1 : 0);
}

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text != nullptr ? text : "", length);
    if (text != nullptr) LocalFree(text);
    return message;
}
