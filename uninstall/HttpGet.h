// A minimal event-driven HTTP/1.1 client: one GET request for a URL, the answer collected as lines.
// It runs on the GUI thread over TNotifySocket and has no time-out of its own.
#pragma once

#include "uninstall/HttpAnswer.h"
#include "uninstall/HttpUrl.h"
#include "uninstall/NotifySocket.h"

#include <functional>
#include <memory>
#include <string>

namespace uninstall {

class THttpRequest : public THttpLines {
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
    // A URL that ParseUrl refuses starts nothing and leaves Refused set.
    void Get();
    // Host, Port, Path, UserName and Password from Url; false (and the parts cleared) when refused.
    bool ParseUrl();

    // The server closed the connection, the answer was complete as its framing says, or it was cut
    // off at MaxAnswer or for unreadable framing.
    bool Finished() const noexcept { return FFinished; }
    bool Oversized() const noexcept { return FOversized; }
    bool Refused() const noexcept { return FRefused; }
    const THttpAnswer& Answer() const noexcept { return FAnswer; }
    TNotifySocket* Socket() const noexcept { return FSocket.get(); }

    std::string Host;
    std::string Url;
    std::string Path;
    std::string UserName;
    std::string Password;
    std::string Method = "GET";
    std::string ProxyHost;
    int ProxyPort = 0;
    int Port = 80;
    // After every batch of received data and once more when the connection ends.
    TDoneEvent OnDone;

private:
    void WireSocket();
    void DropSocket();
    void SendRequest();
    void ReadResponse();
    void SocketClosed();
    void RaiseDone();

    std::unique_ptr<TNotifySocket> FSocket;
    THttpAnswer FAnswer;
    bool FRequestSent = false;
    bool FFinished = false;
    bool FOversized = false;
    bool FRefused = false;
};

} // namespace uninstall
