// The stage base class of the conversion chains and the chain runner.
//
// A chain is a list of stages linked head to tail. One run allocates one
// block that holds the links' cells and every stage's output buffer, laid out
// so that each buffer lies directly below its upstream stage's buffer: a stage
// may then write past its own buffer into input it has already consumed, and
// the buffers never need to grow. Stages are resumable state machines in the
// manner of zlib's streams: Process converts as much as the current windows
// allow and keeps its state for the next call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum StreamKind : int {
    kRichEditStream = 0,
    kFileStream = 1,
    kStringStream = 2,
    kMemoryStream = 3,
    kDiscardStream = 4,
    kEndpointStage = 5,   // a processing stage that ends its chain
    kProcessingStage = 6,
};

// One link between a producer and its consumer: write position, read
// position and end mark (null while the producer may still write, the final
// write position once it has finished, kConsumedMark once the consumer has
// read everything).
struct LinkCells {
    std::uint8_t* w;
    std::uint8_t* r;
    std::uint8_t* e;
};

class CStream;
using TransferFn = int (*)(CStream*);

class CStream {
public:
    explicit CStream(int kind = kFileStream, void* endpoint = nullptr);
    virtual ~CStream() = default;
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;

    // Resets the stage for a run; most stages ask upstream for padding here.
    virtual void Init();
    // Converts within the window; the base does nothing.
    virtual int Process();

    void* endpoint;
    int kind;
    CStream* prev = nullptr;
    CStream* next = nullptr;
    CStream* partner = nullptr;
    LinkCells* in = nullptr;
    LinkCells* out = nullptr;

    // Window set before each Process call.
    std::uint8_t* outCursor = nullptr;
    std::uint8_t* outLimit = nullptr;
    const std::uint8_t* inCursor = nullptr;
    const std::uint8_t* inEnd = nullptr;
    const std::uint8_t* inEndMark = nullptr;

    int bufferSize = 0;
    std::uint8_t* bufferStart = nullptr;
    std::uint8_t* bufferEnd = nullptr;
    TransferFn transfer = nullptr;
    int position = 0;
    int error = 0;
    std::uint8_t padByte = 0;
    std::int16_t padCount = 0;
    // Set by a stage that holds back output until it sees more input or more
    // room; the run does not let it finish while this is set.
    bool holdsOutput = false;

protected:
    // Asks the upstream stage to append count bytes of value after its
    // final output, so that a stage needing look-ahead reaches the real end.
    void RequestPadding(std::uint8_t value, std::int16_t count);
    // True when the window's end is the producer's final end.
    bool InputEnded() const { return inEndMark != nullptr; }
};

// Links a to b, head first.
void Link(CStream& a, CStream& b);

// Runs the chain that starts at head to completion. Returns a non-negative
// number on success and -1 when the working block cannot be had or a stage
// aborted with an error text. FileError from a file endpoint propagates.
int RunChain(CStream* head);

// The scheduler of a run; re-entered by the rich-edit transfers.
int Pump(CStream* from, CStream* to, bool repeat);

// Error raised by a stage to abort its run with a text.
class StageError {
public:
    explicit StageError(std::string text) : text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The process-wide error text collector: while it is set, a stage error's
// text lands in *text and the run returns -1.
void SetErrorCollector(std::string* text);
void ClearErrorCollector();
