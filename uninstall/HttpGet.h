// A minimal event-driven HTTP/1.1 client: one GET request for a URL, the answer collected as lines.
// It runs on the GUI thread over TNotifySocket and has no time-out of its own.
#pragma once

#include "uninstall/NotifySocket.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uninstall {

// Standard Base64 with "=" padding and no line breaks, for input of any length.
std::string Base64Encode(const std::string& data);

class THttpRequest {
public:
    using TDoneEvent = std::function<void(THttpRequest& sender)>;

    // An answer longer than this is cut off: reading stops and the connection is closed.
    static constexpr size_t MaxAnswer = 64 * 1024;

    THttpRequest() = default;
    THttpRequest(const THttpRequest&) = delete;
    THttpRequest& operator=(const THttpRequest&) = delete;
    // No event reaches the owner after release.
    ~THttpRequest();

    // Starts over with a new socket and returns at once; the exchange runs in later socket events.
    void Get();
    // Host, Port, Path, UserName and Password from Url.
    void ParseUrl();

    // The server closed the connection, or the answer was cut off at MaxAnswer.
    bool Finished() const noexcept { return FFinished; }
    bool Oversized() const noexcept { return FOversized; }
    TNotifySocket* Socket() const noexcept { return FSocket.get(); }

    std::string Host;
    std::string Url;
    std::string Path;
    std::string UserName;
    std::string Password;
    std::string Method = "GET";
    std::string ProxyHost;
    int ProxyPort = 0;
    int StatusCode = 0;
    bool InBody = false;
    std::vector<std::string> HeaderLines;
    std::vector<std::string> BodyLines;
    int Port = 80;
    // After every batch of received data and once more when the server closes the connection.
    TDoneEvent OnDone;

private:
    void WireSocket();
    void DropSocket();
    void SendRequest();
    void ReadResponse();
    void SocketClosed();
    void TakeLine(const std::string& received);
    void RaiseDone();

    std::unique_ptr<TNotifySocket> FSocket;
    size_t FAnswerBytes = 0;
    bool FFinished = false;
    bool FOversized = false;
};

} // namespace uninstall
