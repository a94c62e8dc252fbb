// The example templates (Bitmap.js, Wave.vbs) over sample files made here:
// they declare themselves to the information query, decode headers into
// headings and named values, and their text passes the editor's check in
// every layout: it packs back to the file's bytes with the CRC the block
// reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ScriptTestSupport.h"
#include "session/Crc32.h"

namespace {

void U16(std::string* out, std::uint32_t value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}
void U32(std::string* out, std::uint32_t value) {
    U16(out, value & 0xFFFF);
    U16(out, value >> 16);
}

// A bitmap with a file header, an information header, a colour table for
// bit counts up to 8, and rows padded to four bytes.
std::string Bitmap(int width, int height, int bitCount) {
    const int colours = bitCount <= 8 ? 1 << bitCount : 0;
    const int rowBytes = (width * bitCount + 31) / 32 * 4;
    const int rows = height < 0 ? -height : height;
    const std::uint32_t offBits = 14 + 40 + 4 * colours;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes * rows);
    std::string out = "BM";
    U32(&out, offBits + imageSize);
    U16(&out, 0);
    U16(&out, 0);
    U32(&out, offBits);
    U32(&out, 40);
    U32(&out, static_cast<std::uint32_t>(width));
    U32(&out, static_cast<std::uint32_t>(height));
    U16(&out, 1);
    U16(&out, static_cast<std::uint32_t>(bitCount));
    U32(&out, 0);
    U32(&out, imageSize);
    U32(&out, 2835);
    U32(&out, 2835);
    U32(&out, static_cast<std::uint32_t>(colours));
    U32(&out, 0);
    for (int i = 0; i < colours; ++i) U32(&out, static_cast<std::uint32_t>(i * 0x010203) & 0xFFFFFF);
    for (std::uint32_t i = 0; i < imageSize; ++i) out.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    return out;
}

struct Chunk {
    std::string id;
    std::string data;
};

std::string Riff(const std::vector<Chunk>& chunks) {
    std::string body = "WAVE";
    for (const Chunk& chunk : chunks) {
        body += chunk.id;
        U32(&body, static_cast<std::uint32_t>(chunk.data.size()));
        body += chunk.data;
        if (chunk.data.size() % 2 == 1) body.push_back('\0');
    }
    std::string out = "RIFF";
    U32(&out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

std::string Format(int channels, int rate, int bits) {
    std::string out;
    U16(&out, 1);
    U16(&out, static_cast<std::uint32_t>(channels));
    U32(&out, static_cast<std::uint32_t>(rate));
    U32(&out, static_cast<std::uint32_t>(rate * channels * bits / 8));
    U16(&out, static_cast<std::uint32_t>(channels * bits / 8));
    U16(&out, static_cast<std::uint32_t>(bits));
    return out;
}

std::string Samples(std::size_t bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<char>((i * 91 + 7) & 0xFF));
    return out;
}

struct Sample {
    const char* name;
    std::string bytes;
    std::vector<std::string> headings;  // headings the text must hold
    const char* error = nullptr;        // the template's error report, if it must stop
};

std::vector<Sample> Bitmaps() {
    std::string truncated = Bitmap(7, 5, 24);
    truncated.resize(truncated.size() - 30);
    std::string garbage = "not a bitmap at all \x01\x02\x03";
    return {
        {"rgb24.bmp", Bitmap(5, 3, 24),
         {"[ 1.BITMAPFILEHEADER ]", "[ 2.BITMAPINFOHEADER ]", "[ 3.画素データ (5 x 3, 24 ビット) ]"}},
        {"palette8.bmp", Bitmap(3, 2, 8),
         {"[ 1.BITMAPFILEHEADER ]", "[ 3.カラーテーブル (256 色) ]", "[ 4.画素データ (3 x 2, 8 ビット) ]"}},
        {"mono-top-down.bmp", Bitmap(9, -4, 1), {"[ 3.カラーテーブル (2 色) ]", "[ 4.画素データ (9 x 4, 1 ビット) ]"}},
        {"info-only.dib", Bitmap(2, 2, 4).substr(14), {"[ 1.BITMAPINFOHEADER ]", "[ 2.カラーテーブル (16 色) ]"}},
        {"truncated.bmp", truncated, {"[ 1.BITMAPFILEHEADER ]", "[ テンプレート適用にて異常を検出しました。 ]"},
         "画素データが途中で切れています (3 / 5 行)。"},
        {"garbage.bmp", garbage, {"[ 1.残りのデータ ]"}},
    };
}

std::vector<Sample> Waves() {
    std::string truncated = Riff({{"fmt ", Format(2, 8000, 16)}, {"data", Samples(64)}});
    truncated.resize(truncated.size() - 10);
    return {
        {"stereo16.wav", Riff({{"fmt ", Format(2, 44100, 16)}, {"data", Samples(40)}}),
         {"[ 1.RIFF ヘッダ ]", "[ 2.チャンク fmt  (16 バイト) ]", "[ 3.チャンク data (40 バイト) ]"}},
        {"mono8-odd.wav", Riff({{"fmt ", Format(1, 11025, 8)}, {"LIST", std::string("INFOISFT\x05\0\0\0Velda", 17)}, {"data", Samples(13)}}),
         {"[ 3.チャンク LIST (17 バイト) ]", "[ 4.チャンク data (13 バイト) ]", "< 詰め物 >"}},
        {"truncated.wav", truncated, {"[ 3.チャンク data (", "[ テンプレート適用にて異常を検出しました。 ]"},
         "チャンク data がファイルの終端を越えています"},
        {"garbage.wav", std::string("RIFX\x10\0\0\0junk", 12), {"< RIFF WAVE ファイルではありません >"}},
    };
}

struct Layout {
    unsigned unit;
    bool bigEndian;
    int lineBytes;
    int separator;
};
const Layout kLayouts[] = {{1, false, 16, 0}, {2, true, 8, 2}, {4, false, 7, 1}};

void ExpectTemplatePasses(const std::wstring& script, const Sample& sample) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(std::string(sample.name) + ", unit " + std::to_string(layout.unit) + ", " +
                     std::to_string(layout.lineBytes) + " bytes per line");
        const ScriptResult run = RunWithBlock(
            script, MakeRunBlock(layout.unit, layout.bigEndian, layout.lineBytes, layout.separator, sample.name),
            sample.bytes);
        ASSERT_TRUE(run.started) << run.failure;
        ASSERT_FALSE(run.timedOut);
        if (sample.error) {
            // Cut short: the walk stops with the error report, and the text
            // still holds every byte.
            EXPECT_NE(std::string::npos, run.errors.find(sample.error)) << run.errors;
            EXPECT_EQ(-100, run.block.status);
        } else {
            EXPECT_EQ("", run.errors);
            EXPECT_EQ(0, run.block.status);
        }
        EXPECT_EQ(1, run.block.reversible);
        // The templates read little-endian data and say so.
        EXPECT_FALSE(session::IsBigEndian(run.block));
        EXPECT_EQ(sample.bytes.size(), run.block.outputBytes);
        EXPECT_EQ(session::Crc32Update(0, sample.bytes.data(), sample.bytes.size()), run.block.outputCrc);
        EXPECT_TRUE(PackText(run.output, false) == sample.bytes) << run.output;
        EXPECT_EQ(run.block.outputCrc, PackedCrc(run.output, false));
        for (const std::string& heading : sample.headings) {
            EXPECT_NE(std::string::npos, run.output.find(heading)) << heading << "\n" << run.output;
        }
    }
}

ScriptResult Query(const std::wstring& script) {
    ScriptRequest request;
    request.script = script;
    session::SessionBlock block{};
    block.blockSize = session::kBlockSize;
    request.block = block;
    request.withHandles = false;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    request.workFolder = WorkFolder(std::string(test->test_suite_name()) + "." + test->name());
    return RunScript(request);
}

}  // namespace

TEST(BitmapTemplate, DeclaresItsExtensionsToTheInformationQuery) {
    const ScriptResult run = Query(ExampleTemplate("Bitmap.js"));
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_STREQ(".bmp.dib", run.block.templateExtend);
    EXPECT_STREQ("ビットマップ画像", run.block.templateName);
    EXPECT_EQ(100, run.block.version);
}

TEST(BitmapTemplate, DecodesSampleBitmapsIntoATextThatPacksBack) {
    for (const Sample& sample : Bitmaps()) ExpectTemplatePasses(ExampleTemplate("Bitmap.js"), sample);
}

TEST(BitmapTemplate, NamesTheHeaderValues) {
    const Sample sample = Bitmaps()[0];
    const ScriptResult run =
        RunWithBlock(ExampleTemplate("Bitmap.js"), MakeRunBlock(1, false, 16, 0, sample.name), sample.bytes);
    ASSERT_TRUE(run.started) << run.failure;
    // 14 + 40 + 3 rows of 16 bytes = 102 = 0x66; the pixels start at 54 = 0x36.
    EXPECT_NE(std::string::npos, run.output.find("[ 1.BITMAPFILEHEADER ]\r\n\t< bfType 'BM' >\r\n\t\"BM\"\n"
                                                 "\t< bfSize ファイルサイズ >\r\n\t00000066\n"));
    EXPECT_NE(std::string::npos, run.output.find("\t< bfOffBits 画素データの位置 >\r\n\t00000036\n"));
    EXPECT_NE(std::string::npos, run.output.find("\t00000005 <biWidth 幅>\n"));
    EXPECT_NE(std::string::npos, run.output.find("\t0018 <biBitCount 色深度>\n"));
}

TEST(WaveTemplate, DeclaresItsExtensionToTheInformationQuery) {
    const ScriptResult run = Query(ExampleTemplate("Wave.vbs"));
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_STREQ(".wav", run.block.templateExtend);
    EXPECT_STREQ("WAVE オーディオ", run.block.templateName);
}

TEST(WaveTemplate, DecodesSampleWavesIntoATextThatPacksBack) {
    for (const Sample& sample : Waves()) ExpectTemplatePasses(ExampleTemplate("Wave.vbs"), sample);
}

TEST(WaveTemplate, ShowsOneFramePerLine) {
    const Sample sample = Waves()[0];
    const ScriptResult run =
        RunWithBlock(ExampleTemplate("Wave.vbs"), MakeRunBlock(1, false, 16, 0, sample.name), sample.bytes);
    ASSERT_TRUE(run.started) << run.failure;
    EXPECT_NE(std::string::npos, run.output.find("\t0002 <nChannels チャンネル数>\n"));
    EXPECT_NE(std::string::npos, run.output.find("\t0000AC44 <nSamplesPerSec サンプリング周波数>\n"));
    // Samples 07 62 BD 18: two 16-bit little-endian samples on one line.
    EXPECT_NE(std::string::npos, run.output.find("[ 3.チャンク data (40 バイト) ]\r\n\t\"data\"\n\t00000028 <チャンクサイズ>\n\t6207 18BD\n"));
}
