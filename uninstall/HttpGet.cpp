#include "uninstall/HttpGet.h"

namespace uninstall {

namespace {

// Every event the socket can raise, assigned, so that none falls back to a diagnostic box.
void AssignEveryEvent(TNotifySocket& socket, const TNotifySocket::TSocketEvent& event) {
    socket.OnError = socket.OnLookup = socket.OnAccept = socket.OnClose = event;
    socket.OnConnect = socket.OnRead = socket.OnWrite = socket.OnOOB = event;
}

} // namespace

THttpRequest::~THttpRequest() {
    OnDone = nullptr;
    DropSocket();
}

void THttpRequest::DropSocket() {
    if (!FSocket)
        return;
    // The connection ends quietly: none of its events reach this request any more.
    AssignEveryEvent(*FSocket, [](TNotifySocket&, const TSocketMessage&) {});
    FSocket.reset();
}

bool THttpRequest::ParseUrl() {
    const std::optional<THttpUrl> url = ParseHttpUrl(Url);
    FRefused = !url;
    const THttpUrl parts = url.value_or(THttpUrl{});
    Host = parts.Host;
    Path = parts.Path;
    UserName = parts.UserName;
    Password = parts.Password;
    Port = parts.Port;
    return url.has_value();
}

void THttpRequest::Get() {
    InBody = false;
    FAnswer = THttpAnswer();
    FRequestSent = false;
    FFinished = false;
    FOversized = false;
    DropSocket();
    if (!ParseUrl())
        return;
    FSocket = std::make_unique<TNotifySocket>();
    FSocket->SetPort(Port);
    FSocket->SetAddress(Host);
    if (!ProxyHost.empty()) {
        FSocket->SetAddress(ProxyHost);
        FSocket->SetPort(ProxyPort);
        Path.insert(0, "http://" + Host);
    }
    WireSocket();
    Method = "GET";
    FSocket->Connect();
}

void THttpRequest::WireSocket() {
    // Lookup, accept, write and out-of-band events mean nothing to a client; errors are swallowed:
    // the owner learns only from its own time limit and the lines.
    AssignEveryEvent(*FSocket, [](TNotifySocket&, const TSocketMessage&) {});
    FSocket->OnConnect = [this](TNotifySocket&, const TSocketMessage&) { SendRequest(); };
    FSocket->OnRead = [this](TNotifySocket&, const TSocketMessage&) { ReadResponse(); };
    FSocket->OnClose = [this](TNotifySocket&, const TSocketMessage&) { SocketClosed(); };
}

void THttpRequest::SendRequest() {
    // One request per connection, whatever connect notifications arrive.
    if (FRequestSent)
        return;
    FRequestSent = true;
    HeaderLines.clear();
    BodyLines.clear();
    FSocket->SendString(Method + ' ' + Path + " HTTP/1.1\r\n");
    FSocket->SendString("User-Agent: Uninstall-HTTP\r\n");
    FSocket->SendString("Host: " + Host + "\r\n");
    if (!UserName.empty())
        FSocket->SendString("Authorization: Basic " + Base64Encode(UserName + ':' + Password) + "\r\n");
    // Without it a keep-alive server leaves the connection open and the answer's end unseen.
    FSocket->SendString("Connection: close\r\n");
    FSocket->SendString("\r\n");
}

void THttpRequest::ReadResponse() {
    if (FFinished)
        return;
    if (FAnswer.Consumed() + FSocket->Count() > MaxAnswer) {
        // Closing raises the socket's close event, which finishes the request.
        FOversized = true;
        FSocket->Close();
        return;
    }
    FAnswer.Take(FSocket->ReceiveQueue(), *this);
    if (FAnswer.Complete() || FAnswer.Malformed()) {
        FSocket->Close();
        return;
    }
    RaiseDone();
}

void THttpRequest::SocketClosed() {
    if (FFinished)
        return;
    if (!FOversized)
        FAnswer.ConnectionClosed(FSocket->ReceiveQueue(), *this);
    FFinished = true;
    RaiseDone();
}

void THttpRequest::RaiseDone() {
    if (OnDone)
        OnDone(*this);
}

} // namespace uninstall
