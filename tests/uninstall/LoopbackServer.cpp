#include "LoopbackServer.h"

#include <cstdio>

namespace uninstall_test {

namespace {
struct TWinsockScope {
    TWinsockScope() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~TWinsockScope() { WSACleanup(); }
};

// A new TCP socket bound to a free port on 127.0.0.1; returns the socket and sets port.
SOCKET BindLoopback(int& port) {
    SOCKET bound = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return bound;
}
} // namespace

TLoopbackServer::TLoopbackServer(TServerScript script) : FScript(std::move(script)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    FListener = BindLoopback(FPort);
    listen(FListener, 8);
    FThread = std::thread([this] { Serve(); });
}

TLoopbackServer::~TLoopbackServer() {
    Stop();
    WSACleanup();
}

void TLoopbackServer::Stop() {
    FStop = true;
    if (FThread.joinable())
        FThread.join();
    if (FListener != INVALID_SOCKET)
        closesocket(FListener);
    FListener = INVALID_SOCKET;
}

std::string TLoopbackServer::Host() const {
    return "127.0.0.1:" + std::to_string(FPort);
}

std::vector<std::string> TLoopbackServer::Requests() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FRequests;
}

int TLoopbackServer::RefusingPort() {
    TWinsockScope winsock;
    int port = 0;
    closesocket(BindLoopback(port));
    return port;
}

std::string TLoopbackServer::PlainAnswer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

std::string TLoopbackServer::KeepAliveAnswer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: keep-alive\r\n\r\n" + body;
}

std::string TLoopbackServer::ChunkedAnswer(const std::vector<std::string>& pieces) {
    std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (const std::string& piece : pieces) {
        char size[16];
        snprintf(size, sizeof size, "%x", static_cast<unsigned>(piece.size()));
        answer += std::string(size) + "\r\n" + piece + "\r\n";
    }
    return answer + "0\r\n\r\n";
}

TServerScript TLoopbackServer::KeepAliveServer(const std::string& body) {
    TServerScript script{{KeepAliveAnswer(body)}};
    script.KeepOpen = true;
    return script;
}

TServerScript TLoopbackServer::ChunkedServer(const std::vector<std::string>& pieces) {
    const std::string answer = ChunkedAnswer(pieces);
    // Cut inside the first chunk, so that the client sees the chunks arrive in two batches.
    const size_t cut = answer.find("\r\n\r\n") + 6;
    TServerScript script{{answer.substr(0, cut), answer.substr(cut)}, 100};
    script.KeepOpen = true;
    return script;
}

TServerScript TLoopbackServer::SilentServer(std::function<void()> onRequest) {
    TServerScript script;
    script.KeepOpen = true;
    script.OnRequest = std::move(onRequest);
    return script;
}

bool TLoopbackServer::WaitReadable(SOCKET socket, int ms) const {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &timeout) > 0;
}

void TLoopbackServer::RecordMore(SOCKET client) {
    while (WaitReadable(client, 0)) {
        char buffer[4096];
        const int received = recv(client, buffer, sizeof buffer, MSG_PEEK);
        if (received <= 0)
            return;
        recv(client, buffer, received, 0);
        std::lock_guard<std::mutex> lock(FLock);
        FRequests.back().append(buffer, static_cast<size_t>(received));
    }
}

void TLoopbackServer::WaitForClientClose(SOCKET client) {
    while (!FStop) {
        if (!WaitReadable(client, 50))
            continue;
        char buffer[512];
        if (recv(client, buffer, sizeof buffer, 0) <= 0) {
            ++FClientCloses;
            return;
        }
    }
}

bool TLoopbackServer::Pause(DWORD ms) const {
    for (DWORD waited = 0; waited < ms && !FStop; waited += 10)
        Sleep(10);
    return !FStop;
}

void TLoopbackServer::Serve() {
    while (!FStop) {
        if (!WaitReadable(FListener, 50))
            continue;
        SOCKET client = accept(FListener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        ++FConnections;
        Answer(client);
    }
}

void TLoopbackServer::Answer(SOCKET client) {
    std::string request;
    while (!FStop && request.find("\r\n\r\n") == std::string::npos) {
        if (!WaitReadable(client, 50))
            continue;
        char buffer[4096];
        const int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0)
            break;
        request.append(buffer, static_cast<size_t>(received));
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FRequests.push_back(request);
    }
    if (FScript.OnRequest)
        FScript.OnRequest();
    for (size_t i = 0; i < FScript.Batches.size(); ++i) {
        if (i > 0 && !Pause(FScript.PauseMs))
            break;
        RecordMore(client);
        send(client, FScript.Batches[i].data(), static_cast<int>(FScript.Batches[i].size()), 0);
    }
    if (FScript.Endless) {
        const std::string block(4096, 'x');
        while (!FStop) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(client, &set);
            timeval timeout{0, 50000};
            if (select(0, nullptr, &set, nullptr, &timeout) <= 0)
                continue;
            if (send(client, block.data(), static_cast<int>(block.size()), 0) <= 0) {
                FStreamStopped = true;
                break;
            }
            FStreamed += block.size();
        }
    }
    if (FScript.KeepOpen)
        WaitForClientClose(client);
    if (FScript.Reset) {
        linger hard{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    }
    closesocket(client);
}

} // namespace uninstall_test
