// QueryTemplateInfo with real scripts: the declared extensions come back,
// a template that does not end is ended after 5000 ms with what it declared
// kept, and the master copy is never touched.
#include <cstring>

#include "EngineFixture.h"

namespace {

// Runs a query into a buffer filled with garbage; the extensions text.
long Ask(CScriptEngine& engine, const std::string& path, std::string* extensions) {
    char buffer[CScriptEngine::kExtensionsSize];
    std::memset(buffer, 'x', sizeof buffer);
    const session::SessionBlock before = engine.master();
    const long result = engine.QueryTemplateInfo(path, buffer);
    EXPECT_EQ(std::memcmp(&before, &engine.master(), sizeof before), 0) << "a query leaves the master copy alone";
    const void* end = std::memchr(buffer, '\0', sizeof buffer);
    EXPECT_NE(end, nullptr) << "the extensions are terminated within the buffer";
    extensions->assign(buffer, end ? static_cast<const char*>(end) - buffer : 0);
    return result;
}

class QueryDeclared : public EngineTest, public ::testing::WithParamInterface<const char*> {};

// Regist fails without an input file and ends the script, so what the
// script assigns after it never arrives. The master copy's texts do not
// leak into the query's block.
TEST_P(QueryDeclared, ReturnsTheDeclaredExtensions) {
    std::strcpy(engine_.master().templateExtend, ".old");
    std::string extensions;
    EXPECT_EQ(Ask(engine_, ScriptPath(GetParam()), &extensions), 0);
    EXPECT_EQ(extensions, ".bmp.dib");
}

INSTANTIATE_TEST_SUITE_P(JScriptAndVBScript, QueryDeclared, ::testing::Values("Declare.js", "Declare.vbs"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(std::strlen("Declare."));
                         });

using QueryLimit = EngineTest;

TEST_F(QueryLimit, HangingTemplateIsEndedWithItsDeclarationsKept) {
    std::string extensions;
    const ULONGLONG start = GetTickCount64();
    const long result = Ask(engine_, ScriptPath("QueryHang.js"), &extensions);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 5000u) << "the query waits its whole limit";
    EXPECT_EQ(extensions, ".hng");
    // Ended by force, whatever exit code the system then reports: such a
    // template is listed as one whose extensions are not known.
    EXPECT_EQ(result, -2000);
}

}  // namespace
