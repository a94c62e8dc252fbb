// The fatal error report, messages, the template declaration and CRCs.
#include <cmath>

#include "tests/native/velda/VeldaFixture.h"

namespace velda::test {
namespace {

TEST_F(VeldaTest, FatalReportDumpsTheUnreadRest) {
    Bytes data(0x1A3, 0x11);
    data[0x1A0] = 0xDB;
    data[0x1A1] = 0x00;
    data[0x1A2] = 0x25;
    Open(data);
    UnitValue v;
    core->Seek(0x1A0, 0);
    ASSERT_EQ(kOk, core->PutUnit(1, false, &v));
    core->Seek(0x1A0, 0);
    EXPECT_EQ(kAbort, core->Abort(std::string("stop\0x", 6)));
    EXPECT_EQ(ErrorLine("1A0", "stop"), err.text);
    EXPECT_EQ("DB\n" + std::string(texts::kErrorBanner) + "DB 00 25\n", out.text);
    EXPECT_EQ(session::kStatusFatalError, block.status);
    EXPECT_EQ(0x1A0, block.errorOffset);
    EXPECT_EQ(4u, block.outputBytes);
    const Bytes emitted{0xDB, 0xDB, 0x00, 0x25};
    EXPECT_EQ(session::Crc32Update(0, emitted.data(), 4), block.outputCrc);
    EXPECT_TRUE(core->Eof());
#if defined(__GNUC__) && !defined(__clang__)
    EXPECT_EQ(46u, sizeof texts::kErrorBanner - 1);  // code page 932 bytes
#endif
}

TEST_F(VeldaTest, AssertAndAbortAtTheEnd) {
    Open({1, 2});
    EXPECT_EQ(kOk, core->Assert(1, nullptr));
    EXPECT_EQ("", out.text + err.text);
    core->Seek(0, 2);
    EXPECT_EQ(kAbort, core->Assert(0, nullptr));
    EXPECT_EQ(ErrorLine("2", texts::kAssertion), err.text);
    EXPECT_EQ(std::string(texts::kErrorBanner), out.text);
    const std::string mine = "mine";
    EXPECT_EQ(kAbort, core->Assert(0, &mine));
    EXPECT_EQ(ErrorLine("2", texts::kAssertion) + ErrorLine("2", "mine"), err.text);
}

TEST_F(VeldaTest, ExtensionNumbers) {
    struct Case { const char* extensions; const char* file; std::int32_t number; };
    const Case cases[] = {
        {".bmp.dib", "a.DIB", 2}, {"..bin..dat.", "x.dat", 2}, {".bmp", "noextension", 0},
        {".a.b.a", "f.tar.A", 3}, {".bin", "a.bi", 0}, {"", "a.", 0}, {".x..", "a.", 0},
    };
    for (const Case& c : cases) {
        Open({});
        session::CopyTextField(block.fileName, session::kFileNameWidth, c.file, std::strlen(c.file));
        core->SetTemplateExtend(c.extensions);
        EXPECT_EQ(c.number, core->GetExtendNo()) << c.extensions << " " << c.file;
    }
}

TEST_F(VeldaTest, DeclarationLandsInTheBlock) {
    Open({1});
    const std::pair<double, std::int16_t> versions[] = {
        {2.5, 250}, {1.059, 105}, {1.05, 105}, {2.05, 205}, {1.15, 115}, {0.29, 29}, {-2.05, -205},
        {1.0099999, 100}, {0, 0}, {-1.555, -155}, {1e9, 32767}, {-1e9, -32768}, {NAN, 0}};
    for (auto [version, stored] : versions) {
        core->SetVersion(version);
        EXPECT_EQ(stored, block.version) << version;
    }
    const std::string name(120, 'n');
    core->SetTemplateName(name);
    EXPECT_EQ(name, core->templateName());
    EXPECT_EQ(std::string(99, 'n'), block.templateName);
    const std::string japanese = std::string(98, 'c') + "\x82\xA0";  // the pair would end at byte 100
    core->SetComment(japanese);
    core->SetEditorName(japanese);
    EXPECT_EQ(japanese, block.comment);
    EXPECT_EQ(std::string(98, 'c'), block.editorName);

    EXPECT_EQ(1, core->reversible());
    core->SetReversible(-1);
    EXPECT_EQ(-1, core->reversible());
    core->SetReversible(0x12345);
    EXPECT_EQ(0x2345, block.reversible);

    block.dataFormat = 0xAB08;
    core->SetEndian(-1);
    EXPECT_TRUE(core->Endian());
    EXPECT_EQ(0xAB09, block.dataFormat);
    core->SetEndian(2);
    EXPECT_FALSE(core->Endian());
}

TEST_F(VeldaTest, AttachResetsTheSharedStateAndTheCounters) {
    Open(Pattern(70000));
    core->Seek(5, 0);
    core->PutUnits(1, 3);
    StringSink out2, err2;
    FileCore second(block, *source, out2, err2);  // shares the read position
    EXPECT_EQ(8u, second.Offset());
    second.Attach();
    EXPECT_EQ(0u, core->Offset());
    EXPECT_EQ(70000u, block.fileSize);
    EXPECT_EQ(0u, block.outputBytes);
    EXPECT_EQ(0u, block.outputCrc);
}

TEST_F(VeldaTest, CalcCrc32ReadsAStretchAndRestoresP) {
    Bytes data(600, 0x5A);
    const char digits[] = "123456789";
    data.insert(data.end(), digits, digits + 9);
    Open(data);
    core->Seek(7, 0);
    EXPECT_EQ(0x9B63D02Cu, core->CalcCrc32(600, 9, 0xFFFFFFFF, 0));
    EXPECT_EQ(0x9B63D02Cu, core->CalcCrc32(-9, 9, 0xFFFFFFFF, 2));
    EXPECT_EQ(0x9B63D02Cu, core->CalcCrc32(593, 9, 0xFFFFFFFF, 1));
    EXPECT_EQ(0x12345678u, core->CalcCrc32(0, 0, 0x12345678, 0));
    EXPECT_EQ(core->CalcCrc32(7, 601, 0, 0), core->CalcCrc32(5000, 601, 0, 9));  // refused target: from P
    EXPECT_EQ(0xFFFFFFFFu, core->CalcCrc32(-3, 4, 0, 2));
    EXPECT_EQ(7u, P());
    EXPECT_EQ(0u, block.outputBytes);
    EXPECT_EQ("", out.text);
}

}  // namespace
}  // namespace velda::test
