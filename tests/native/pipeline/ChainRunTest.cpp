// The chain runner: endpoints of every kind, empty sources, a sink that
// fills up, stage errors and file errors.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "TestEndpoints.h"
#include "pipeline/CConvHex2Char.h"
#include "pipeline/CStream.h"
#include "pipeline/Chains.h"

using namespace pramel_test;

namespace {

const EndKind kAllKinds[] = {EndKind::File, EndKind::String, EndKind::Memory, EndKind::RichEdit};

// Aborts its run with a text once it has seen failAfter input bytes.
class FailingStage : public CStream {
public:
    explicit FailingStage(std::size_t failAfter) : CStream(kProcessingStage), failAfter_(failAfter) {}
    void Init() override { seen_ = 0; }
    int Process() override {
        std::size_t n = static_cast<std::size_t>(inEnd - inCursor);
        if (seen_ + n > failAfter_) throw StageError("conversion failed at " + std::to_string(failAfter_));
        seen_ += n;
        std::size_t room = static_cast<std::size_t>(outLimit - outCursor);
        n = std::min(n, room);
        std::copy(inCursor, inCursor + n, outCursor);
        inCursor += n;
        outCursor += n;
        return 0;
    }

private:
    std::size_t failAfter_;
    std::size_t seen_ = 0;
};

class CollectorGuard {
public:
    explicit CollectorGuard(std::string* text) { SetErrorCollector(text); }
    ~CollectorGuard() { ClearErrorCollector(); }
};

}  // namespace

// A chain of two endpoints copies its data unchanged, whatever the kinds and
// wherever the sizes fall against the 8192-byte head buffer.
class EndpointCopyTest : public ::testing::TestWithParam<std::tuple<EndKind, EndKind>> {};

TEST_P(EndpointCopyTest, CopiesUnchanged) {
    const auto [from, to] = GetParam();
    const std::vector<std::vector<std::size_t>> chunkings = {{kWhole}, {1}, {7, 333}, {4096}};
    const std::vector<std::vector<std::size_t>> buffers = {{65536}, {1}, {5, 4095}};
    int round = 0;
    for (std::size_t size : {0u, 1u, 1023u, 1024u, 8191u, 8192u, 8193u, 30011u}) {
        for (std::size_t variant = 0; variant < 3; ++variant, ++round) {
            std::string data = RandomBytes(size, static_cast<std::uint32_t>(size * 3 + variant));
            auto src = Endpoint::Source(from, data, chunkings[round % chunkings.size()]);
            auto sink = Endpoint::Sink(to, size + 100, buffers[round % buffers.size()]);
            Link(src->stream(), sink->stream());
            ASSERT_GE(RunChain(&src->stream()), 0);
            SCOPED_TRACE(src->Describe() + " -> " + sink->Describe() + ", " + std::to_string(size) + " bytes");
            EXPECT_TRUE(sink->Output() == data) << "got " << sink->Output().size() << " bytes";
            EXPECT_TRUE(sink->GuardIntact());
        }
    }
}

// Every pair but control to control: no chain has a control at both ends
// (a stream-in nested in a stream-out would replace the content each round).
std::vector<std::tuple<EndKind, EndKind>> EndpointPairs() {
    std::vector<std::tuple<EndKind, EndKind>> pairs;
    for (EndKind from : kAllKinds)
        for (EndKind to : kAllKinds)
            if (from != EndKind::RichEdit || to != EndKind::RichEdit) pairs.emplace_back(from, to);
    return pairs;
}

INSTANTIATE_TEST_SUITE_P(AllKinds, EndpointCopyTest, ::testing::ValuesIn(EndpointPairs()),
                         [](const auto& info) {
                             return std::string(Name(std::get<0>(info.param))) + "_to_" + Name(std::get<1>(info.param));
                         });

// An empty source moves nothing through the processing stages either: the
// sink receives no byte (a save writes an empty file).
TEST(ChainRun, EmptySourceMovesNothing) {
    for (EndKind from : kAllKinds) {
        for (EndKind to : kAllKinds) {
            auto src = Endpoint::Source(from, ""), src2 = Endpoint::Source(from, "");
            auto sink = Endpoint::Sink(to, 16), sink2 = Endpoint::Sink(to, 16);
            EXPECT_GE(RunPackChain(src->stream(), 0, sink->stream()), 0);
            EXPECT_GE(RunDumpChain(src2->stream(), HexLayout{}, sink2->stream()), 0);
            EXPECT_EQ(sink->Output() + sink2->Output(), "") << Name(from) << " -> " << Name(to);
        }
    }
}

// A memory sink that is full ends the run instead of looping, directly
// behind the source or behind a stage; it keeps what fitted, nothing more.
TEST(ChainRun, FullMemorySinkEndsTheRun) {
    const std::string data = RandomBytes(100000, 7);
    for (std::size_t capacity : {0u, 10u, 1024u, 9000u}) {
        for (bool dump : {false, true}) {
            auto src = Endpoint::Source(EndKind::String, data);
            auto sink = Endpoint::Sink(EndKind::Memory, capacity);
            if (dump) {
                EXPECT_GE(RunDumpChain(src->stream(), HexLayout{}, sink->stream()), 0);
            } else {
                Link(src->stream(), sink->stream());
                EXPECT_GE(RunChain(&src->stream()), 0);
            }
            const std::string expected = dump ? ReferenceDump(data, HexLayout{}) : data;
            EXPECT_TRUE(sink->Output() == expected.substr(0, capacity)) << capacity << (dump ? " dump" : " copy");
            EXPECT_TRUE(sink->GuardIntact());
        }
    }
}

// With the collector set a stage error ends the run with -1 and its text;
// without it the run still ends, the text is dropped and the result is not
// negative. Both hold when the error rises inside a nested rich-edit pump.
TEST(ChainRun, StageErrorGoesToTheCollector) {
    const std::string data = RandomBytes(50000, 11);
    for (EndKind from : kAllKinds) {
        for (std::size_t failAfter : {0u, 20000u}) {
            SCOPED_TRACE(std::string(Name(from)) + " fails after " + std::to_string(failAfter));
            std::string collected;
            {
                CollectorGuard guard(&collected);
                auto src = Endpoint::Source(from, data, {333});
                auto sink = Endpoint::Sink(from == EndKind::RichEdit ? EndKind::File : EndKind::RichEdit);
                FailingStage stage(failAfter);
                Link(src->stream(), stage);
                Link(stage, sink->stream());
                EXPECT_EQ(RunChain(&src->stream()), -1);
            }
            EXPECT_EQ(collected, "conversion failed at " + std::to_string(failAfter));

            auto src = Endpoint::Source(from, data, {333});
            auto sink = Endpoint::Sink(EndKind::String);
            FailingStage stage(failAfter);
            Link(src->stream(), stage);
            Link(stage, sink->stream());
            EXPECT_GE(RunChain(&src->stream()), 0);
            EXPECT_LT(sink->Output().size(), data.size());
        }
    }
}

// A refused read or write reaches the caller of the run unchanged (the
// block is released on the way out: the leak checker watches this), and the
// next run works normally.
TEST(ChainRun, FileErrorsPropagate) {
    const std::string data = RandomBytes(40000, 5);
    for (std::size_t at : {0u, 100u, 8192u, 30000u}) {
        SCOPED_TRACE(at);
        auto src = Endpoint::Source(EndKind::File, data);
        src->file.failReadAt = at;
        auto sink = Endpoint::Sink(EndKind::String);
        EXPECT_THROW(RunDumpChain(src->stream(), HexLayout{}, sink->stream()), FileError);

        // The save chain: rich-edit text through the packer into a file that
        // refuses to take more; the error crosses the nested stream-out.
        auto text = Endpoint::Source(EndKind::RichEdit, ReferenceDump(data, HexLayout{}), {4096});
        auto out = Endpoint::Sink(EndKind::File);
        out->file.failWriteAt = at;
        EXPECT_THROW(RunPackChain(text->stream(), 0, out->stream()), FileError);
        EXPECT_LE(out->file.written.size(), at);
    }
    auto src = Endpoint::Source(EndKind::File, data);
    auto sink = Endpoint::Sink(EndKind::File);
    EXPECT_GE(RunDumpChain(src->stream(), HexLayout{}, sink->stream()), 0);
    EXPECT_EQ(sink->Output(), ReferenceDump(data, HexLayout{}));
}
