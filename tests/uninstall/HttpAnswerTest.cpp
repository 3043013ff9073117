// Reading HTTP answers into lines without the platform: the framing by Content-Length, by chunks and
// by the end of the connection, and every kind of bad framing.
#include "uninstall/HttpAnswer.h"

#include <gtest/gtest.h>

using namespace uninstall;

namespace {

enum class TEnd { Open, Complete, Malformed, Truncated };

struct TRead {
    THttpLines Lines;
    TEnd End = TEnd::Open;
    size_t Left = 0;
};

TEnd EndOf(const THttpAnswer& answer) {
    if (answer.Complete())
        return TEnd::Complete;
    if (answer.Malformed())
        return TEnd::Malformed;
    return answer.Truncated() ? TEnd::Truncated : TEnd::Open;
}

// Feeds the batches one by one; closes the connection afterwards when closed is set.
TRead Read(const std::vector<std::string>& batches, bool closed) {
    TRead read;
    TReceiveQueue queue;
    THttpAnswer answer;
    for (const std::string& batch : batches) {
        queue.Append(batch);
        answer.Take(queue, read.Lines);
    }
    if (closed)
        answer.ConnectionClosed(queue, read.Lines);
    read.End = EndOf(answer);
    read.Left = queue.Count();
    return read;
}

const std::string Ok200 = "HTTP/1.1 200 OK\r\n";

} // namespace

TEST(HttpAnswer, ContentLengthEndsTheAnswerWithoutTheClose) {
    // Python's http.server serving a file holding "OK": no final line end, the connection kept open.
    const TRead keepAlive = Read({Ok200 + "Content-Length: 2\r\n\r\nO", "K"}, false);
    EXPECT_EQ(TEnd::Complete, keepAlive.End);
    EXPECT_EQ((std::vector<std::string>{"HTTP/1.1 200 OK", "Content-Length: 2", "", "OK"}),
              keepAlive.Lines.HeaderLines);
    EXPECT_EQ(200, keepAlive.Lines.StatusCode);
    // Bytes past the announced length are no part of the answer.
    const TRead extra = Read({Ok200 + "content-length:  4 \r\n\r\nOK\r\nJUNK\r\n"}, false);
    EXPECT_EQ(TEnd::Complete, extra.End);
    EXPECT_EQ("OK", extra.Lines.HeaderLines.back());
    EXPECT_EQ(0u, extra.Left);
    // An empty body and the answers that have none are complete at their blank line.
    EXPECT_EQ(TEnd::Complete, Read({Ok200 + "Content-Length: 0\r\n\r\n"}, false).End);
    EXPECT_EQ(TEnd::Complete, Read({"HTTP/1.1 204 No Content\r\n\r\n"}, false).End);
    // One length twice is fine.
    EXPECT_EQ(TEnd::Complete, Read({Ok200 + "Content-Length: 2\r\nContent-Length: 2\r\n\r\nOK"}, false).End);
}

TEST(HttpAnswer, ChunksAreReadAsTheirData) {
    const std::string head = Ok200 + "Transfer-Encoding: chunked\r\n\r\n";
    const std::string chunks = "1\r\nO\r\n4;name=value\r\nK\r\nx\r\n00\r\nTrailer: 1\r\n\r\n";
    const TRead whole = Read({head + chunks}, false);
    EXPECT_EQ(TEnd::Complete, whole.End);
    EXPECT_EQ((std::vector<std::string>{"HTTP/1.1 200 OK", "Transfer-Encoding: chunked", "", "OK", "x"}),
              whole.Lines.HeaderLines);
    // Byte by byte, the same.
    std::vector<std::string> bytes;
    for (char c : head + chunks)
        bytes.emplace_back(1, c);
    const TRead single = Read(bytes, false);
    EXPECT_EQ(TEnd::Complete, single.End);
    EXPECT_EQ(whole.Lines.HeaderLines, single.Lines.HeaderLines);
    // Capital hexadecimal digits, a last coding of "chunked" and a missing final blank line at the close.
    const TRead gzipChunked =
        Read({Ok200 + "Transfer-Encoding: gzip, Chunked\r\n\r\nA\r\n0123456789\r\n0\r\n"}, true);
    EXPECT_EQ(TEnd::Complete, gzipChunked.End);
    EXPECT_EQ("0123456789", gzipChunked.Lines.HeaderLines.back());
    // Chunks override a length.
    EXPECT_EQ(
        TEnd::Complete,
        Read({Ok200 + "Content-Length: 99\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nOK\r\n0\r\n\r\n"}, false)
            .End);
}

TEST(HttpAnswer, WithoutFramingTheCloseEndsTheAnswer) {
    const TRead open = Read({Ok200 + "\r\nOK\r\nmo", "re"}, false);
    EXPECT_EQ(TEnd::Open, open.End);
    EXPECT_EQ("OK", open.Lines.HeaderLines.back());
    const TRead closed = Read({Ok200 + "\r\nOK\r\nmo", "re"}, true);
    EXPECT_EQ(TEnd::Complete, closed.End);
    EXPECT_EQ("more", closed.Lines.HeaderLines.back());
    // No status line at all: everything is body, to the close.
    EXPECT_EQ((std::vector<std::string>{"OK"}), Read({"OK"}, true).Lines.HeaderLines);
    // An interim answer comes before the real one.
    const TRead interim =
        Read({"HTTP/1.1 100 Continue\r\n\r\n" + Ok200 + "Content-Length: 2\r\n\r\nOK"}, false);
    EXPECT_EQ(TEnd::Complete, interim.End);
    EXPECT_EQ(200, interim.Lines.StatusCode);
}

TEST(HttpAnswer, HtmlIsSplitAtItsFirstTag) {
    const std::string body = "<html>\r\nOK\r\n</html>";
    const TRead read = Read({"HTTP/1.1 404 Not Found\r\nContent-Length: 19\r\n\r\n" + body}, false);
    EXPECT_EQ(TEnd::Complete, read.End);
    EXPECT_EQ(404, read.Lines.StatusCode);
    EXPECT_EQ((std::vector<std::string>{"<html>", "OK", "</html>"}), read.Lines.BodyLines);
    EXPECT_TRUE(read.Lines.InBody);
    // Byte by byte, a line is taken once its line feed comes, whatever batch that is in.
    std::vector<std::string> bytes;
    for (char c : "HTTP/1.1 404 Not Found\r\n\r\n" + body)
        bytes.emplace_back(1, c);
    const TRead spread = Read(bytes, true);
    EXPECT_EQ(TEnd::Complete, spread.End);
    EXPECT_EQ(read.Lines.BodyLines, spread.Lines.BodyLines);
}

TEST(HttpAnswer, BadFramingEndsTheAnswerWithoutTakingItsLines) {
    struct TCase {
        const char* Name;
        std::string Answer;
        bool Closed;
        TEnd End;
    };
    const std::string chunked = Ok200 + "Transfer-Encoding: chunked\r\n\r\n";
    const std::vector<TCase> cases = {
        {"length longer than what came", Ok200 + "Content-Length: 10\r\n\r\nOK\r\n", true, TEnd::Truncated},
        {"negative length", Ok200 + "Content-Length: -2\r\n\r\nOK", false, TEnd::Malformed},
        {"length not a number", Ok200 + "Content-Length: two\r\n\r\nOK", false, TEnd::Malformed},
        {"length with a sign", Ok200 + "Content-Length: +2\r\n\r\nOK", false, TEnd::Malformed},
        {"two different lengths", Ok200 + "Content-Length: 2\r\nContent-Length: 3\r\n\r\nOK", false,
         TEnd::Malformed},
        {"length of 2 GB", Ok200 + "Content-Length: 2147483648\r\n\r\nOK", false, TEnd::Malformed},
        {"length of 20 digits", Ok200 + "Content-Length: 99999999999999999999\r\n\r\nOK", false,
         TEnd::Malformed},
        {"chunk size not hexadecimal", chunked + "OK\r\n", false, TEnd::Malformed},
        {"chunk size empty", chunked + "\r\nOK\r\n", false, TEnd::Malformed},
        {"chunk of 2 GB", chunked + "80000000\r\nOK\r\n", false, TEnd::Malformed},
        {"chunk size of 17 digits", chunked + "00000000000000002\r\nOK\r\n", false, TEnd::Malformed},
        {"chunk without its line end", chunked + "2\r\nOKxx\r\n", false, TEnd::Malformed},
        {"chunks cut short", chunked + "5\r\nOK", true, TEnd::Truncated},
        {"head cut short", Ok200 + "Content-Type: text/plain\r\n", true, TEnd::Truncated},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        const TRead read = Read({test.Answer}, test.Closed);
        EXPECT_EQ(test.End, read.End);
        EXPECT_EQ(0u, read.Left);
    }
}

TEST(HttpAnswer, ConsumedCountsEveryByteOnce) {
    TReceiveQueue queue;
    THttpAnswer answer;
    THttpLines lines;
    const std::string text = Ok200 + "Content-Length: 5\r\n\r\nOK\r\n";
    queue.Append(text.substr(0, 20));
    answer.Take(queue, lines);
    EXPECT_EQ(20u, answer.Consumed() + queue.Count());
    queue.Append(text.substr(20) + "after");
    answer.Take(queue, lines);
    EXPECT_TRUE(answer.Complete());
    EXPECT_EQ(text.size() + 5, answer.Consumed());
    // The body's fifth byte is the first of what followed: it counts, the rest does not.
    EXPECT_EQ((std::vector<std::string>{"OK", "a"}),
              std::vector<std::string>(lines.HeaderLines.end() - 2, lines.HeaderLines.end()));
}
