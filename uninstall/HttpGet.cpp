#include "uninstall/HttpGet.h"

#include "uninstall/UStr.h"

namespace uninstall {

std::string Base64Encode(const std::string& data) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        const size_t left = data.size() - i;
        uint32_t group = static_cast<uint8_t>(data[i]) << 16;
        if (left > 1)
            group |= static_cast<uint8_t>(data[i + 1]) << 8;
        if (left > 2)
            group |= static_cast<uint8_t>(data[i + 2]);
        out += alphabet[(group >> 18) & 63];
        out += alphabet[(group >> 12) & 63];
        out += left > 1 ? alphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? alphabet[group & 63] : '=';
    }
    return out;
}

THttpRequest::~THttpRequest() {
    OnDone = nullptr;
    DropSocket();
}

void THttpRequest::DropSocket() {
    if (!FSocket)
        return;
    // The connection ends quietly: none of its events reach this request any more.
    const TNotifySocket::TSocketEvent ignore = [](TNotifySocket&, const TSocketMessage&) {};
    FSocket->OnConnect = FSocket->OnRead = FSocket->OnClose = FSocket->OnError = ignore;
    FSocket.reset();
}

void THttpRequest::ParseUrl() {
    std::string r = Url;
    if (StartsWith(UpperCase(r), "HTTP://"))
        r.erase(0, 7);
    // User information counts only before the path: an "@" in the query is data, not a user name.
    UserName.clear();
    Password.clear();
    const size_t at = r.find('@');
    if (at != std::string::npos && at < r.find('/')) {
        const std::string user = r.substr(0, at);
        UserName = ExtractWord(1, user, ':');
        Password = ExtractWord(2, user, ':');
        r.erase(0, at + 1);
    }
    const size_t slash = r.find('/');
    const size_t colon = r.substr(0, slash).find(':');
    if (colon != std::string::npos) {
        const size_t end = slash == std::string::npos ? r.size() : slash;
        Port = LeadingNumber(r.substr(colon + 1, end - colon - 1));
        r.erase(colon, end - colon);
    }
    Host = ExtractWord(1, r, '/');
    if (Host.empty())
        Host = r;
    Path = r.size() > Host.size() ? r.substr(Host.size()) : std::string(1, '/');
}

void THttpRequest::Get() {
    InBody = false;
    FAnswerBytes = 0;
    FFinished = false;
    FOversized = false;
    DropSocket();
    FSocket = std::make_unique<TNotifySocket>();
    ParseUrl();
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
    FSocket->OnConnect = [this](TNotifySocket&, const TSocketMessage&) { SendRequest(); };
    FSocket->OnRead = [this](TNotifySocket&, const TSocketMessage&) { ReadResponse(); };
    FSocket->OnClose = [this](TNotifySocket&, const TSocketMessage&) { SocketClosed(); };
    // Errors are swallowed: the owner learns only from its own time limit and the lines.
    FSocket->OnError = [](TNotifySocket&, const TSocketMessage&) {};
}

void THttpRequest::SendRequest() {
    HeaderLines.clear();
    BodyLines.clear();
    FSocket->SendString(Method + ' ' + Path + " HTTP/1.1\r\n");
    FSocket->SendString("User-Agent: Uninstall-HTTP\r\n");
    FSocket->SendString("Host: " + Host + "\r\n");
    if (!UserName.empty())
        FSocket->SendString("Authorization: Basic " + Base64Encode(UserName + ':' + Password) + "\r\n");
    FSocket->SendString("\r\n");
}

void THttpRequest::ReadResponse() {
    if (FOversized)
        return;
    if (FAnswerBytes + FSocket->Count() > MaxAnswer) {
        // Closing raises the socket's close event, which finishes the request.
        FOversized = true;
        FSocket->Close();
        return;
    }
    while (FSocket->HasLine('\n')) {
        const std::string line = FSocket->ReadLine('\n');
        FAnswerBytes += line.size() + 1;
        TakeLine(line);
    }
    RaiseDone();
}

void THttpRequest::SocketClosed() {
    // A last line the server sent without a line feed still counts.
    if (!FOversized && FSocket->Count() > 0) {
        std::string rest(FSocket->Count(), '\0');
        FSocket->ReadBuf(rest.data(), rest.size());
        FAnswerBytes += rest.size();
        TakeLine(rest);
    }
    FFinished = true;
    RaiseDone();
}

void THttpRequest::TakeLine(const std::string& received) {
    const std::string line = ExtractWord(1, received, '\r');
    if (StartsWith(line, "<"))
        InBody = true;
    (InBody ? BodyLines : HeaderLines).push_back(line);
    if (StartsWith(line, "HTTP/1."))
        StatusCode = LeadingNumber(ExtractWord(2, line, ' '));
}

void THttpRequest::RaiseDone() {
    if (OnDone)
        OnDone(*this);
}

} // namespace uninstall
