#include "uninstall/HttpAnswer.h"

#include "uninstall/UStr.h"

#include <algorithm>

namespace uninstall {

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A decimal length of up to 18 digits; anything else (a sign, letters, blanks inside) is none.
bool ParseLength(const std::string& text, uint64_t& value) {
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
bool ParseChunkSize(const std::string& line, uint64_t& value) {
    const std::string digits = TrimText(line.substr(0, line.find(';')));
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

std::string CutAtReturn(const std::string& received) {
    return ExtractWord(1, received, '\r');
}

} // namespace

void TakeAnswerLine(const std::string& received, THttpLines& lines) {
    const std::string line = CutAtReturn(received);
    if (StartsWith(line, "<"))
        lines.InBody = true;
    (lines.InBody ? lines.BodyLines : lines.HeaderLines).push_back(line);
    if (StartsWith(line, "HTTP/1."))
        lines.StatusCode = LeadingNumber(ExtractWord(2, line, ' '));
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

std::string THttpAnswer::ReadLine(TReceiveQueue& queue) {
    std::string line = queue.ReadLine('\n');
    FConsumed += line.size() + 1;
    return line;
}

bool THttpAnswer::TakeHeadLine(TReceiveQueue& queue, THttpLines& lines) {
    if (!queue.Contains('\n'))
        return false;
    const std::string received = ReadLine(queue);
    TakeAnswerLine(received, lines);
    const std::string line = CutAtReturn(received);
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

void THttpAnswer::Header(const std::string& line) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return;
    const std::string name = UpperCase(TrimText(line.substr(0, colon)));
    const std::string value = TrimText(line.substr(colon + 1));
    if (name == "CONTENT-LENGTH") {
        uint64_t length = 0;
        // Two different lengths are as bad as an unreadable one.
        if (!ParseLength(value, length) || (FHasLength && length != FLength))
            FLengthBad = true;
        FHasLength = true;
        FLength = length;
    } else if (name == "TRANSFER-ENCODING") {
        const std::string codings = UpperCase(value);
        const size_t comma = codings.rfind(',');
        FChunked = TrimText(comma == std::string::npos ? codings : codings.substr(comma + 1)) == "CHUNKED";
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
    if (!queue.Contains('\n'))
        return false;
    const std::string line = CutAtReturn(ReadLine(queue));
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
    std::string data(static_cast<size_t>(bytes), '\0');
    queue.ReadBuf(data.data(), data.size());
    FConsumed += data.size();
    FBody.Append(std::move(data));
}

void THttpAnswer::SplitBody(THttpLines& lines) {
    while (FBody.Contains('\n'))
        TakeAnswerLine(FBody.ReadLine('\n'), lines);
}

void THttpAnswer::FinishBody(THttpLines& lines) {
    if (FBody.Count() > 0) {
        std::string rest(FBody.Count(), '\0');
        FBody.ReadBuf(rest.data(), rest.size());
        TakeAnswerLine(rest, lines);
    }
    FBody.Clear();
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
