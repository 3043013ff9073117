// Reading an HTTP answer into lines, free of the platform: the status line and headers, then a body
// framed by Content-Length, by chunks, or by the end of the connection.
#pragma once

#include "uninstall/ReceiveQueue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace uninstall {

// What the client shows its owner: the received lines, split at the first one starting with "<".
struct THttpLines {
    int StatusCode = 0;
    bool InBody = false;
    std::vector<std::string> HeaderLines;
    std::vector<std::string> BodyLines;
};

class THttpAnswer {
public:
    // Larger chunks or announced lengths can never fit the client's answer limit.
    static constexpr uint64_t MaxBody = 64 * 1024;

    // Takes every complete piece the queue holds; the lines go to lines. Bytes after a complete
    // answer are discarded.
    void Take(TReceiveQueue& queue, THttpLines& lines);
    // The server closed the connection: an answer read to the end of the connection is complete, a
    // last line without a line feed counts; an answer framed by length or chunks is cut short.
    void ConnectionClosed(TReceiveQueue& queue, THttpLines& lines);

    // The whole answer has arrived, as its framing says.
    bool Complete() const noexcept { return FStage == TStage::Done; }
    // The framing cannot be read: a bad Content-Length or chunk size, or one past MaxBody.
    bool Malformed() const noexcept { return FStage == TStage::Malformed; }
    // The connection ended before a framed answer was complete.
    bool Truncated() const noexcept { return FStage == TStage::Truncated; }
    // The body runs to the end of the connection (no Content-Length, not chunked).
    bool Unframed() const noexcept { return FFraming == TFraming::UntilClose; }
    // Bytes taken from the queue so far.
    size_t Consumed() const noexcept { return FConsumed; }

private:
    enum class TStage {
        StatusLine,
        Headers,
        Body,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailers,
        Done,
        Malformed,
        Truncated
    };
    enum class TFraming { UntilClose, Length, Chunked };

    bool Step(TReceiveQueue& queue, THttpLines& lines);
    bool TakeHeadLine(TReceiveQueue& queue, THttpLines& lines);
    void Header(std::string_view line);
    void EndOfHead();
    bool TakeBody(TReceiveQueue& queue, THttpLines& lines);
    bool TakeChunkLine(TReceiveQueue& queue, THttpLines& lines);
    bool TakeChunkData(TReceiveQueue& queue, THttpLines& lines);
    // The next line from queue into FLine, counted as consumed; false while none is complete.
    bool ReadLine(TReceiveQueue& queue);
    void MoveToBody(TReceiveQueue& queue, uint64_t bytes);
    void SplitBody(THttpLines& lines);
    void FinishBody(THttpLines& lines);
    void Discard(TReceiveQueue& queue);

    TStage FStage = TStage::StatusLine;
    TFraming FFraming = TFraming::UntilClose;
    int FStatus = 0;
    bool FLengthBad = false;
    bool FHasLength = false;
    bool FChunked = false;
    uint64_t FLength = 0;
    uint64_t FRemaining = 0;
    size_t FConsumed = 0;
    // Body bytes after the last line feed, and how many of them were searched for one.
    std::string FBody;
    size_t FBodySearched = 0;
    // The head or chunk line being read, its room reused from line to line.
    std::string FLine;
};

// One received line: cut at its carriage return, then filed as the client's rules say.
void TakeAnswerLine(std::string_view received, THttpLines& lines);

} // namespace uninstall
