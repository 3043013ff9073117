#include "uninstall/HttpAnswer.h"

#include "uninstall/UStr.h"

#include <algorithm>

namespace uninstall {

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A decimal length of up to 18 digits; anything else (a sign, letters, blanks inside) is none.
bool ParseLength(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 18)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

// The hexadecimal size of a chunk size line, before any extension; at most 8 digits.
bool ParseChunkSize(std::string_view line, uint64_t& value) {
    const std::string_view digits = TrimView(line.substr(0, line.find(';')));
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char c : digits) {
        if (!IsHexDigit(c))
            return false;
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return true;
}

// The line a server meant: what comes before its carriage return, carriage returns in front skipped.
std::string_view CutAtReturn(std::string_view received) {
    return WordView(1, received, '\r');
}

void FileLine(std::string_view line, THttpLines& lines) {
    if (line.starts_with('<'))
        lines.InBody = true;
    (lines.InBody ? lines.BodyLines : lines.HeaderLines).emplace_back(line);
    if (line.starts_with("HTTP/1."))
        lines.StatusCode = LeadingNumber(WordView(2, line, ' '));
}

} // namespace

void TakeAnswerLine(std::string_view received, THttpLines& lines) {
    FileLine(CutAtReturn(received), lines);
}

void THttpAnswer::Take(TReceiveQueue& queue, THttpLines& lines) {
    while (Step(queue, lines)) {
    }
    if (Complete() || Malformed() || Truncated())
        Discard(queue);
}

void THttpAnswer::Discard(TReceiveQueue& queue) {
    FConsumed += queue.Count();
    queue.Clear();
}

bool THttpAnswer::Step(TReceiveQueue& queue, THttpLines& lines) {
    switch (FStage) {
    case TStage::StatusLine:
    case TStage::Headers:
        return TakeHeadLine(queue, lines);
    case TStage::Body:
        return TakeBody(queue, lines);
    case TStage::ChunkSize:
    case TStage::ChunkEnd:
    case TStage::Trailers:
        return TakeChunkLine(queue, lines);
    case TStage::ChunkData:
        return TakeChunkData(queue, lines);
    case TStage::Done:
    case TStage::Malformed:
    case TStage::Truncated:
        break;
    }
    return false;
}

bool THttpAnswer::ReadLine(TReceiveQueue& queue) {
    if (!queue.ReadLine('\n', FLine))
        return false;
    FConsumed += FLine.size() + 1;
    return true;
}

bool THttpAnswer::TakeHeadLine(TReceiveQueue& queue, THttpLines& lines) {
    if (!ReadLine(queue))
        return false;
    const std::string_view line = CutAtReturn(FLine);
    FileLine(line, lines);
    if (FStage == TStage::StatusLine) {
        // Without a status line the answer is the old kind: all of it is body, to the close.
        FStage = StartsWith(line, "HTTP/") ? TStage::Headers : TStage::Body;
        FStatus = LeadingNumber(ExtractWord(2, line, ' '));
    } else if (line.empty()) {
        EndOfHead();
    } else {
        Header(line);
    }
    return true;
}

void THttpAnswer::Header(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string_view name = TrimView(line.substr(0, colon));
    const std::string_view value = TrimView(line.substr(colon + 1));
    if (SameAsciiText(name, "CONTENT-LENGTH")) {
        uint64_t length = 0;
        // Two different lengths are as bad as an unreadable one.
        if (!ParseLength(value, length) || (FHasLength && length != FLength))
            FLengthBad = true;
        FHasLength = true;
        FLength = length;
    } else if (SameAsciiText(name, "TRANSFER-ENCODING")) {
        // Only the last coding decides how the body is framed.
        const size_t comma = value.rfind(',');
        FChunked = SameAsciiText(TrimView(comma == std::string_view::npos ? value : value.substr(comma + 1)),
                                 "CHUNKED");
    }
}

void THttpAnswer::EndOfHead() {
    if (FStatus >= 100 && FStatus < 200) {
        // An interim answer: the real one follows with its own head.
        FStage = TStage::StatusLine;
        FHasLength = FLengthBad = FChunked = false;
        return;
    }
    if (FStatus == 204 || FStatus == 304) {
        FStage = TStage::Done;
    } else if (FChunked) {
        FFraming = TFraming::Chunked;
        FStage = TStage::ChunkSize;
    } else if (FLengthBad || (FHasLength && FLength > MaxBody)) {
        FStage = TStage::Malformed;
    } else if (FHasLength) {
        FFraming = TFraming::Length;
        FRemaining = FLength;
        FStage = FLength == 0 ? TStage::Done : TStage::Body;
    } else {
        FStage = TStage::Body;
    }
}

bool THttpAnswer::TakeBody(TReceiveQueue& queue, THttpLines& lines) {
    const uint64_t waiting = queue.Count();
    const uint64_t take = FFraming == TFraming::Length ? std::min(FRemaining, waiting) : waiting;
    MoveToBody(queue, take);
    SplitBody(lines);
    if (FFraming == TFraming::Length) {
        FRemaining -= take;
        if (FRemaining == 0) {
            FinishBody(lines);
            FStage = TStage::Done;
        }
    }
    return false;
}

bool THttpAnswer::TakeChunkLine(TReceiveQueue& queue, THttpLines& lines) {
    if (!ReadLine(queue))
        return false;
    const std::string_view line = CutAtReturn(FLine);
    if (FStage == TStage::ChunkEnd) {
        FStage = line.empty() ? TStage::ChunkSize : TStage::Malformed;
    } else if (FStage == TStage::Trailers) {
        if (line.empty()) {
            FinishBody(lines);
            FStage = TStage::Done;
        }
    } else {
        uint64_t size = 0;
        if (!ParseChunkSize(line, size) || size > MaxBody)
            FStage = TStage::Malformed;
        else if (size == 0)
            FStage = TStage::Trailers;
        else {
            FRemaining = size;
            FStage = TStage::ChunkData;
        }
    }
    return true;
}

bool THttpAnswer::TakeChunkData(TReceiveQueue& queue, THttpLines& lines) {
    const uint64_t take = std::min<uint64_t>(FRemaining, queue.Count());
    if (take == 0)
        return false;
    MoveToBody(queue, take);
    SplitBody(lines);
    FRemaining -= take;
    if (FRemaining == 0)
        FStage = TStage::ChunkEnd;
    return true;
}

void THttpAnswer::MoveToBody(TReceiveQueue& queue, uint64_t bytes) {
    if (bytes == 0)
        return;
    const size_t kept = FBody.size();
    FBody.resize(kept + static_cast<size_t>(bytes));
    queue.ReadBuf(FBody.data() + kept, static_cast<size_t>(bytes));
    FConsumed += static_cast<size_t>(bytes);
}

void THttpAnswer::SplitBody(THttpLines& lines) {
    const std::string_view body = FBody;
    size_t start = 0;
    // The bytes kept from before hold no line feed: only what came since is searched.
    for (size_t end = body.find('\n', FBodySearched); end != std::string_view::npos;
         end = body.find('\n', start)) {
        TakeAnswerLine(body.substr(start, end - start), lines);
        start = end + 1;
    }
    // Only bytes after the last line feed stay, so each byte is moved here at most once.
    if (start > 0)
        FBody.erase(0, start);
    FBodySearched = FBody.size();
}

void THttpAnswer::FinishBody(THttpLines& lines) {
    if (!FBody.empty())
        TakeAnswerLine(FBody, lines);
    FBody.clear();
    FBodySearched = 0;
}

void THttpAnswer::ConnectionClosed(TReceiveQueue& queue, THttpLines& lines) {
    Take(queue, lines);
    switch (FStage) {
    case TStage::StatusLine:
    case TStage::Body:
        if (FFraming == TFraming::UntilClose) {
            // A last line the server sent without a line feed still counts.
            MoveToBody(queue, queue.Count());
            FinishBody(lines);
            FStage = TStage::Done;
            return;
        }
        break;
    case TStage::Trailers:
        // The chunks are all there; only the closing blank line is missing.
        FinishBody(lines);
        FStage = TStage::Done;
        Discard(queue);
        return;
    case TStage::Done:
    case TStage::Malformed:
    case TStage::Truncated:
        return;
    default:
        break;
    }
    MoveToBody(queue, queue.Count());
    FinishBody(lines);
    FStage = TStage::Truncated;
}

} // namespace uninstall
