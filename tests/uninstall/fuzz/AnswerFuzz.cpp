// libFuzzer target over reading an HTTP answer: the answer bytes fed to a receive queue in chunks
// the input chooses, as a socket delivers them. No byte is lost or counted twice, lines hold no line
// end, and how the bytes were cut into chunks changes nothing: fed at once, they give the same lines
// and the same end.
#include "FuzzCheck.h"

#include "uninstall/HttpAnswer.h"

using namespace uninstall;
using uninstall_fuzz::Check;

namespace {

constexpr size_t MaxAnswer = 64 * 1024;

struct TReading {
    THttpLines Lines;
    bool Complete = false;
    bool Malformed = false;
    bool Truncated = false;
};

// Feeds answer in chunks of the given sizes (the last one takes the rest), then closes.
TReading Read(const std::string& answer, const std::vector<size_t>& sizes) {
    TReading reading;
    TReceiveQueue queue;
    THttpAnswer reader;
    size_t fed = 0;
    for (size_t i = 0; fed < answer.size(); ++i) {
        const size_t size = i < sizes.size() ? sizes[i] : answer.size() - fed;
        queue.Append(answer.substr(fed, size));
        fed += std::min(size, answer.size() - fed);
        // The client's limit: past it the connection is cut and nothing more is read.
        if (reader.Consumed() + queue.Count() > MaxAnswer)
            return reading;
        reader.Take(queue, reading.Lines);
        Check(reader.Consumed() + queue.Count() == fed, "every byte is queued or consumed, once");
    }
    reader.ConnectionClosed(queue, reading.Lines);
    Check(reader.Consumed() == fed, "at the close every byte is consumed");
    reading.Complete = reader.Complete();
    reading.Malformed = reader.Malformed();
    reading.Truncated = reader.Truncated();
    Check(reading.Complete + reading.Malformed + reading.Truncated == 1, "one end after the close");
    return reading;
}

[[clang::no_sanitize("coverage")]] void CheckLines(const THttpLines& lines) {
    for (const auto* list : {&lines.HeaderLines, &lines.BodyLines})
        for (const std::string& line : *list)
            Check(line.find_first_of("\r\n") == std::string::npos, "lines hold no line end");
    Check(lines.BodyLines.empty() || lines.InBody, "body lines only after a line starting with <");
    Check(lines.BodyLines.empty() || lines.BodyLines.front().rfind('<', 0) == 0, "the body starts with <");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte gives the number of chunk sizes that follow, one byte each; the rest is the answer.
    if (size < 1)
        return 0;
    const size_t count = std::min<size_t>(data[0] % 32, size - 1);
    std::vector<size_t> sizes;
    for (size_t i = 0; i < count; ++i)
        sizes.push_back(data[1 + i]);
    const std::string answer(reinterpret_cast<const char*>(data + 1 + count), size - 1 - count);
    if (answer.size() > MaxAnswer)
        return 0;
    const TReading chunked = Read(answer, sizes);
    const TReading whole = Read(answer, {});
    CheckLines(chunked.Lines);
    Check(chunked.Lines.HeaderLines == whole.Lines.HeaderLines, "header lines do not depend on the chunks");
    Check(chunked.Lines.BodyLines == whole.Lines.BodyLines, "body lines do not depend on the chunks");
    Check(chunked.Lines.StatusCode == whole.Lines.StatusCode, "status does not depend on the chunks");
    Check(chunked.Complete == whole.Complete && chunked.Malformed == whole.Malformed,
          "the end does not depend on the chunks");
    return 0;
}
