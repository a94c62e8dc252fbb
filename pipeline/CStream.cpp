#include "pipeline/CStream.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>

#include "pipeline/Ports.h"

// Pump that also tells how many bytes its rounds moved, so that the nested
// rich-edit pumps can tell a stuck chain from one that is still draining.
int PumpCounting(CStream* from, CStream* to, bool repeat, int* movedTotal);

namespace {

constexpr int kDefaultBufferSize = 1024;
constexpr int kHeadBufferFactor = 8;
constexpr std::size_t kSlack = 12;

// The end mark a consumer leaves once it has read everything.
std::uint8_t* const kConsumedMark = reinterpret_cast<std::uint8_t*>(~std::uintptr_t{0});

struct ErrorCollector {
    std::string* text = nullptr;
    bool active = false;
} g_collector;

std::uintptr_t Addr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

bool Finished(const std::uint8_t* mark) { return mark != nullptr && mark != kConsumedMark; }

// ---- finishing -------------------------------------------------------------

void FinishWriting(CStream* s) {
    LinkCells* o = s->out;
    if (o->e) return;
    o->e = o->w;
    if (o->r < o->w && s->padCount > 0) {
        std::memset(o->w, s->padByte, static_cast<std::size_t>(s->padCount));
        o->w += s->padCount;
    }
}

void FinishReading(CStream* s) {
    s->in->e = kConsumedMark;
    s->in->r = s->in->w;  // padding still unread is dropped
    FinishWriting(s);
}

// True when a consumer has read its input up to the producer's end mark.
bool ReachedEnd(const LinkCells* in) {
    return Finished(in->e) && Addr(in->r) >= Addr(in->e);
}

// ---- transfers -------------------------------------------------------------

int TransferProcess(CStream* s) {
    LinkCells* in = s->in;
    LinkCells* out = s->out;
    if (in->r >= in->w) {
        // The producer finished without a byte more: let the stage write what
        // it held back for more input, and finish once it holds nothing.
        if (!ReachedEnd(in)) return 0;
        std::uint8_t* before = out->w;
        if (s->holdsOutput) {
            s->outCursor = out->w;
            s->outLimit = in->r;
            s->inCursor = in->r;
            s->inEnd = in->w;
            s->inEndMark = in->e;
            s->Process();
            out->w = s->outCursor;
        }
        if (!s->holdsOutput) FinishReading(s);
        return static_cast<int>(out->w - before);
    }
    std::uint8_t* before = out->w;
    s->outCursor = out->w;
    s->outLimit = in->r;
    s->inCursor = in->r;
    s->inEnd = in->w;
    s->inEndMark = in->e;
    s->Process();
    out->w = s->outCursor;
    int consumed = static_cast<int>(s->inCursor - in->r);
    int produced = static_cast<int>(out->w - before);
    in->r = const_cast<std::uint8_t*>(s->inCursor);
    // Past the producer's end mark the stage still reads the padding it
    // asked for, which closes what is open (a string, a line). It is done
    // once a call moves nothing although it had room to write: a stage that
    // stopped because its output was full goes on after the stages below
    // have read it.
    const bool hadRoom = s->outLimit - before > static_cast<std::ptrdiff_t>(kSlack);
    if (ReachedEnd(in) && consumed == 0 && produced == 0 && hadRoom && !s->holdsOutput) FinishReading(s);
    return consumed > 0 ? consumed : produced;
}

// Copies from the input link into the output buffer; the rich-edit
// endpoints install it on themselves while the control streams.
int TransferCopy(CStream* s) {
    LinkCells* in = s->in;
    LinkCells* out = s->out;
    std::size_t n = std::min<std::size_t>(in->w - in->r, s->bufferEnd - out->w);
    if (n) std::memcpy(out->w, in->r, n);
    in->r += n;
    out->w += n;
    if (ReachedEnd(in)) FinishReading(s);
    return static_cast<int>(n);
}

int SinkConsumed(CStream* s, std::size_t n) {
    s->in->r += n;
    if (ReachedEnd(s->in)) FinishReading(s);
    return static_cast<int>(n);
}

// Kind 0 as a source: the control's text arrives chunk by chunk; each chunk
// is pushed through the chain before the next is taken.
class StreamOutReader : public ITextSurface::ChunkReader {
public:
    explicit StreamOutReader(CStream* s) : s_(s) {}
    bool Take(const std::uint8_t* data, std::size_t size) override {
        try {
            s_->in->r = const_cast<std::uint8_t*>(data);
            s_->in->w = const_cast<std::uint8_t*>(data) + size;
            while (s_->in->r < s_->in->w) {
                int moved = 0;
                int r = PumpCounting(s_, s_->partner, false, &moved);
                if (r < 0) {
                    s_->error = 1;
                    return false;
                }
                if (moved == 0) return false;  // the chain is stuck
            }
            return true;
        } catch (...) {
            failure = std::current_exception();
            s_->error = 1;
            return false;
        }
    }
    std::exception_ptr failure;

private:
    CStream* s_;
};

int TransferRichEditSource(CStream* s) {
    auto* surface = static_cast<ITextSurface*>(s->endpoint);
    if (!surface->HasText()) return 0;
    std::uint8_t* savedR = s->in->r;
    std::uint8_t* savedW = s->in->w;
    s->transfer = TransferCopy;
    StreamOutReader reader(s);
    surface->StreamOut(reader);
    s->in->r = savedR;
    s->in->w = savedW;
    if (reader.failure) std::rethrow_exception(reader.failure);
    FinishWriting(s);
    return s->error ? -1 : 0;
}

// Kind 0 as a sink: the control asks for buffers; each is filled by pumping
// the chain into it.
class StreamInFiller : public ITextSurface::BufferFiller {
public:
    explicit StreamInFiller(CStream* s) : s_(s) {}
    bool Fill(std::uint8_t* buffer, std::size_t capacity, std::size_t* filled) override {
        *filled = 0;
        try {
            s_->bufferSize = static_cast<int>(capacity);
            s_->bufferStart = buffer;
            s_->bufferEnd = buffer + capacity;
            s_->out->w = s_->out->r = buffer;
            s_->transfer = TransferCopy;
            while (!s_->out->e && s_->out->w < s_->bufferEnd) {
                int moved = 0;
                int r = PumpCounting(s_->partner, s_, false, &moved);
                if (r < 0) {
                    s_->error = 1;
                    return false;
                }
                if (moved == 0) break;  // nothing moved in a whole round: hand over what there is
            }
            *filled = static_cast<std::size_t>(s_->out->w - buffer);
            return true;
        } catch (...) {
            failure = std::current_exception();
            s_->error = 1;
            return false;
        }
    }
    std::exception_ptr failure;

private:
    CStream* s_;
};

int TransferRichEditSink(CStream* s) {
    auto* surface = static_cast<ITextSurface*>(s->endpoint);
    StreamInFiller filler(s);
    surface->StreamIn(filler);
    // The control's buffers are gone once the stream-in returns.
    s->bufferStart = s->bufferEnd = nullptr;
    s->bufferSize = 0;
    s->out->w = s->out->r = nullptr;
    if (!s->out->e) s->out->e = kConsumedMark;
    if (filler.failure) std::rethrow_exception(filler.failure);
    return s->error ? -1 : 0;
}

int TransferFileSource(CStream* s) {
    auto* file = static_cast<IByteFile*>(s->endpoint);
    std::size_t want = s->in->r - s->out->w;
    std::size_t got = file->Read(s->out->w, want);
    s->out->w += got;
    if (got < want) FinishWriting(s);
    return static_cast<int>(got);
}

int TransferFileSink(CStream* s) {
    auto* file = static_cast<IByteFile*>(s->endpoint);
    std::size_t n = s->in->w - s->in->r;
    if (n) file->Write(s->in->r, n);
    return SinkConsumed(s, n);
}

int CopyFromBytes(CStream* s, const std::uint8_t* data, std::size_t size) {
    std::size_t pos = static_cast<std::size_t>(s->position);
    std::size_t n = std::min<std::size_t>(s->in->r - s->out->w, size - std::min(pos, size));
    if (n) std::memcpy(s->out->w, data + pos, n);
    s->out->w += n;
    s->position += static_cast<int>(n);
    if (static_cast<std::size_t>(s->position) >= size) FinishWriting(s);
    return static_cast<int>(n);
}

int TransferStringSource(CStream* s) {
    auto* text = static_cast<std::string*>(s->endpoint);
    return CopyFromBytes(s, reinterpret_cast<const std::uint8_t*>(text->data()), text->size());
}

int TransferStringSink(CStream* s) {
    auto* text = static_cast<std::string*>(s->endpoint);
    std::size_t n = s->in->w - s->in->r;
    text->append(reinterpret_cast<const char*>(s->in->r), n);
    s->position += static_cast<int>(n);
    return SinkConsumed(s, n);
}

int TransferMemorySource(CStream* s) {
    auto* block = static_cast<MemoryBlock*>(s->endpoint);
    return CopyFromBytes(s, block->data, block->size);
}

int TransferMemorySink(CStream* s) {
    auto* block = static_cast<MemoryBlock*>(s->endpoint);
    std::size_t pos = static_cast<std::size_t>(s->position);
    std::size_t room = block->size - std::min(pos, block->size);
    std::size_t n = std::min<std::size_t>(s->in->w - s->in->r, room);
    if (n) std::memcpy(block->data + pos, s->in->r, n);
    s->position += static_cast<int>(n);
    return SinkConsumed(s, n);
}

int TransferDiscard(CStream* s) {
    return SinkConsumed(s, s->in->w - s->in->r);
}

TransferFn TransferFor(const CStream* s, bool isHead) {
    switch (s->kind) {
    case kRichEditStream: return isHead ? TransferRichEditSource : TransferRichEditSink;
    case kFileStream: return isHead ? TransferFileSource : TransferFileSink;
    case kStringStream: return isHead ? TransferStringSource : TransferStringSink;
    case kMemoryStream: return isHead ? TransferMemorySource : TransferMemorySink;
    case kDiscardStream: return TransferDiscard;
    default: return TransferProcess;
    }
}

bool IsEndpoint(const CStream& s) { return s.kind >= kRichEditStream && s.kind <= kEndpointStage; }

// The run's one working block: the cells first, then the buffers, the
// head's highest and every later stage's directly below its predecessor's.
struct BlockFree {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

// ---- CStream -----------------------------------------------------------------

CStream::CStream(int kind_, void* endpoint_) : endpoint(endpoint_), kind(kind_) {}

void CStream::Init() {}

int CStream::Process() { return 0; }

void CStream::RequestPadding(std::uint8_t value, std::int16_t count) {
    if (prev) {
        prev->padByte = value;
        prev->padCount = count;
    }
}

void Link(CStream& a, CStream& b) {
    if (IsEndpoint(a)) a.prev = nullptr;
    a.next = &b;
    b.prev = &a;
    if (IsEndpoint(b)) b.next = nullptr;
}

void SetErrorCollector(std::string* text) {
    g_collector.text = text;
    g_collector.active = text != nullptr;
}

void ClearErrorCollector() {
    g_collector.text = nullptr;
    g_collector.active = false;
}

int RunChain(CStream* head) {
    if (!head) return -1;
    CStream* tail = head;
    std::size_t stages = 0;
    for (CStream* s = head; s; s = s->next) {
        s->transfer = TransferFor(s, s == head);
        s->bufferSize = kDefaultBufferSize;
        s->position = 0;
        s->error = 0;
        s->padCount = 0;
        tail = s;
        ++stages;
    }
    // Init after every stage is reset: an Init asks its upstream for padding.
    for (CStream* s = head; s; s = s->next) s->Init();
    head->partner = tail;
    tail->partner = head;
    head->bufferSize = kDefaultBufferSize * kHeadBufferFactor;
    if (tail != head) tail->bufferSize = 0;

    std::size_t buffers = 0;
    std::size_t maxPad = 0;
    for (CStream* s = head; s; s = s->next) {
        buffers += static_cast<std::size_t>(s->bufferSize) + kSlack;
        maxPad = std::max<std::size_t>(maxPad, s->padCount > 0 ? s->padCount : 0);
    }
    std::size_t cellBytes = (stages + 1) * sizeof(LinkCells);
    std::size_t total = cellBytes + buffers + maxPad + kSlack;
    std::unique_ptr<std::uint8_t, BlockFree> block(static_cast<std::uint8_t*>(std::malloc(total)));
    if (!block) return -1;
    std::memset(block.get(), 0, total);

    auto* cells = reinterpret_cast<LinkCells*>(block.get());
    std::uint8_t* top = block.get() + total - maxPad - kSlack;
    LinkCells* upstream = &cells[0];
    std::size_t index = 1;
    for (CStream* s = head; s; s = s->next, ++index) {
        s->in = upstream;
        s->out = &cells[index];
        s->bufferEnd = top;
        s->bufferStart = top - s->bufferSize;
        top = s->bufferStart;
        s->out->w = s->out->r = s->bufferStart;
        s->out->e = nullptr;
        upstream = s->out;
    }
    cells[0].w = cells[0].r = head->bufferEnd;
    cells[0].e = nullptr;

    try {
        return Pump(head, tail, true);
    } catch (const StageError& e) {
        if (g_collector.active && g_collector.text) {
            *g_collector.text = e.text();
            return -1;
        }
        return 0;
    }
}

int Pump(CStream* from, CStream* to, bool repeat) {
    int movedTotal = 0;
    return PumpCounting(from, to, repeat, &movedTotal);
}

int PumpCounting(CStream* from, CStream* to, bool repeat, int* movedTotal) {
    CStream* start = from;
    CStream* firstOpen = from;
    int r = 0;
    for (;;) {
        if (!start) return r;
        int moved = 0;
        for (CStream* s = start; s; s = s->next) {
            r = s->transfer(s);
            if (r < 0) return r;
            moved += r;
            *movedTotal += r;
            if (s->out->e) {
                start = firstOpen = s->next;
            } else if (s->out->w <= s->bufferStart + s->bufferSize / 2) {
                break;
            }
            if (s == to) break;
        }
        if (!start || start == to->next) return r;

        // Compaction, from the stage before the tail back to the first open
        // stage: unread remnants move to the buffer's start so that the
        // producers above get their room back.
        if (firstOpen != to) {
            for (CStream* c = to->prev; c; c = c->prev) {
                LinkCells* o = c->out;
                if (o->w == o->r) {
                    o->w = o->r = c->bufferStart;
                } else if (o->w - o->r >= kDefaultBufferSize) {
                    break;
                } else {
                    std::size_t unread = o->w - o->r;
                    std::memmove(c->bufferStart, o->r, unread);
                    o->r = c->bufferStart;
                    o->w = c->bufferStart + unread;
                }
                start = c;
                if (c == firstOpen) break;
            }
        }
        if (!repeat && firstOpen == start) return r;
        if (moved <= 0) return r;
    }
}
