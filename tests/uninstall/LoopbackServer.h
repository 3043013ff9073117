// A tiny HTTP server on 127.0.0.1 with its own thread and blocking Winsock, scripted per test: it
// records each request and answers with batches of bytes, stalls, streams without end, or resets.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace uninstall_test {

struct TServerScript {
    // Sent one after the other with a pause between them.
    std::vector<std::string> Batches;
    DWORD PauseMs = 300;
    // After the batches: keep the connection open until the server stops, send without end, or
    // reset the connection instead of closing it.
    bool KeepOpen = false;
    bool Endless = false;
    bool Reset = false;
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
    // The request bytes of every connection so far.
    std::vector<std::string> Requests() const;
    // Bytes sent by the endless stream before the client went away.
    size_t StreamedBytes() const { return FStreamed; }
    // True once the endless stream ended because the client closed.
    bool StreamStopped() const { return FStreamStopped; }
    void Stop();

    // A port on 127.0.0.1 where nothing listens: a connect is refused.
    static int RefusingPort();
    // The usual plain answer whose last line is "OK".
    static std::string PlainAnswer(const std::string& body);

private:
    void Serve();
    void Answer(SOCKET client);
    bool WaitReadable(SOCKET socket, int ms) const;
    bool Pause(DWORD ms) const;

    TServerScript FScript;
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FConnections{0};
    std::atomic<size_t> FStreamed{0};
    std::atomic<bool> FStreamStopped{false};
    mutable std::mutex FLock;
    std::vector<std::string> FRequests;
    std::thread FThread;
};

} // namespace uninstall_test
