// A tiny HTTP server on 127.0.0.1 with its own thread and blocking Winsock, scripted per test: it
// records each request and answers with batches of bytes, stalls, streams without end, or resets.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace uninstall_test {

struct TServerScript {
    // Sent one after the other with a pause between them.
    std::vector<std::string> Batches;
    DWORD PauseMs = 300;
    // After the batches: keep the connection open until the client closes it or the server stops,
    // send without end, or reset the connection instead of closing it.
    bool KeepOpen = false;
    bool Endless = false;
    bool Reset = false;
    // Runs on the server's thread once the request has arrived, before the answer: a test forges
    // messages to the client here, while the client waits.
    std::function<void()> OnRequest = nullptr;
};

class TLoopbackServer {
public:
    explicit TLoopbackServer(TServerScript script);
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;
    ~TLoopbackServer();

    int Port() const { return FPort; }
    // "127.0.0.1:PORT", for a statistics host or a URL.
    std::string Host() const;
    int Connections() const { return FConnections; }
    // The bytes every connection so far received before its answer's batches went out.
    std::vector<std::string> Requests() const;
    // Bytes sent by the endless stream before the client went away.
    size_t StreamedBytes() const { return FStreamed; }
    // Connections of a KeepOpen script that the client closed (the server kept them open).
    int ClientCloses() const { return FClientCloses; }
    // True once the endless stream ended because the client closed.
    bool StreamStopped() const { return FStreamStopped; }
    void Stop();

    // A port on 127.0.0.1 where nothing listens: a connect is refused.
    static int RefusingPort();
    // The usual plain answer whose last line is "OK".
    static std::string PlainAnswer(const std::string& body);
    // What a keep-alive HTTP/1.1 server sends: the body's length announced, no final line end
    // needed; with KeepOpen the connection then stays open.
    static std::string KeepAliveAnswer(const std::string& body);
    // A chunked answer with one chunk per piece and the closing empty chunk.
    static std::string ChunkedAnswer(const std::vector<std::string>& pieces);
    // Scripts for the three kinds of server: keep-alive (answer, then the connection stays open),
    // chunked (sent in two batches, then open), and silent (no answer, open) for forged messages.
    static TServerScript KeepAliveServer(const std::string& body);
    static TServerScript ChunkedServer(const std::vector<std::string>& pieces);
    static TServerScript SilentServer(std::function<void()> onRequest);

private:
    void Serve();
    void Answer(SOCKET client);
    bool WaitReadable(SOCKET socket, int ms) const;
    bool Pause(DWORD ms) const;
    void WaitForClientClose(SOCKET client);
    // Adds what else the client has sent to its connection's record.
    void RecordMore(SOCKET client);

    TServerScript FScript;
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FConnections{0};
    std::atomic<int> FClientCloses{0};
    std::atomic<size_t> FStreamed{0};
    std::atomic<bool> FStreamStopped{false};
    mutable std::mutex FLock;
    std::vector<std::string> FRequests;
    std::thread FThread;
};

} // namespace uninstall_test
