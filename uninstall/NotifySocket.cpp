#include "uninstall/NotifySocket.h"

#include "uninstall/Seams.h"

#include <algorithm>
#include <utility>

namespace uninstall {

namespace {

constexpr char NotifyClassName[] = "NotifySocketWindow";
// One receive takes at most this much, so a flood of data cannot grow one chunk without bound.
constexpr uint32_t MaxChunk = 64 * 1024;

int LiveSockets = 0;

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* socket = reinterpret_cast<TNotifySocket*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (socket)
        return socket->Dispatch(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterNotifyClass(HINSTANCE instance) {
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, NotifyClassName, &existing)) {
        if (existing.lpfnWndProc == DefWindowProcA)
            return;
        UnregisterClassA(NotifyClassName, instance);
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = NotifyClassName;
    RegisterClassA(&windowClass);
}

} // namespace

TWinsockUser::TWinsockUser() noexcept {
    if (++LiveSockets == 1) {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
    }
}

TWinsockUser::~TWinsockUser() {
    if (--LiveSockets == 0)
        WSACleanup();
}

int TWinsockUser::LiveCount() noexcept {
    return LiveSockets;
}

TNotifySocket::TNotifySocket() {
    FAddress.sin_family = AF_INET;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterNotifyClass(instance);
    FNotifyWindow.reset(CreateWindowExA(WS_EX_TOOLWINDOW, NotifyClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, nullptr));
    if (FNotifyWindow) {
        SetWindowLongPtrA(FNotifyWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(FNotifyWindow.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NotifyWindowProc));
    }
}

TNotifySocket::~TNotifySocket() {
    CloseSocket(false);
    if (FNotifyWindow)
        SetWindowLongPtrA(FNotifyWindow.get(), GWLP_USERDATA, 0);
}

void TNotifySocket::SetPort(int port) {
    if (port >= 1 && port <= 65535)
        FAddress.sin_port = htons(static_cast<u_short>(port));
}

void TNotifySocket::SetAddress(const std::string& text) {
    unsigned long address = inet_addr(text.c_str());
    if (address == INADDR_NONE) {
        const hostent* host = gethostbyname(text.c_str());
        if (host && host->h_addrtype == AF_INET && host->h_addr_list && host->h_addr_list[0])
            address = *reinterpret_cast<const unsigned long*>(host->h_addr_list[0]);
    }
    FAddress.sin_addr.s_addr = address;
}

void TNotifySocket::Connect() {
    if (FHandle)
        CloseSocket(false);
    FHandle.reset(socket(AF_INET, SOCK_STREAM, 0));
    if (!FHandle) {
        CheckResult(SOCKET_ERROR);
        return;
    }
    if (CheckResult(WSAAsyncSelect(Handle(), FNotifyWindow.get(), WM_SOCKETNOTIFY, SOCKET_EVENT_MASK)) ==
        SOCKET_ERROR)
        return;
    const int result = connect(Handle(), reinterpret_cast<const sockaddr*>(&FAddress), sizeof FAddress);
    if (result == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
        CheckResult(result);
}

int TNotifySocket::SendString(const std::string& text) {
    return CheckResult(send(Handle(), text.data(), static_cast<int>(text.size()), 0));
}

LRESULT TNotifySocket::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SOCKETLOOKUP) {
        RunHandler(TSocketHandler::Lookup, 0);
        return 0;
    }
    if (message != WM_SOCKETNOTIFY)
        return DefWindowProcA(FNotifyWindow.get(), message, wParam, lParam);
    // Notifications of a socket closed since they were posted belong to no connection of ours.
    if (!FHandle || static_cast<SOCKET>(wParam) != Handle())
        return 0;
    const unsigned error = WSAGETSELECTERROR(lParam);
    if (error > 10000) {
        WSASetLastError(static_cast<int>(error));
        CheckResult(SOCKET_ERROR);
        return 0;
    }
    const std::optional<TSocketHandler> handler = HandlerForEvent(WSAGETSELECTEVENT(lParam));
    if (!handler)
        return 0;
    if (*handler == TSocketHandler::Read)
        MessageRead(WaitingBytes());
    else if (*handler == TSocketHandler::Close)
        CloseSocket(true);
    else if (*handler != TSocketHandler::Connect || IsConnected())
        RunHandler(*handler, 0);
    return 0;
}

bool TNotifySocket::IsConnected() {
    sockaddr_in peer{};
    int length = sizeof peer;
    return getpeername(Handle(), reinterpret_cast<sockaddr*>(&peer), &length) == 0;
}

bool TNotifySocket::PeerHasClosed() {
    // Everything waiting has been read: a peek then finds the end of the stream (0) or an error such
    // as a reset, while an open connection would block.
    char byte;
    const int peeked = recv(Handle(), &byte, 1, MSG_PEEK);
    return peeked == 0 || (peeked == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK);
}

uint32_t TNotifySocket::WaitingBytes() {
    u_long waiting = 0;
    if (CheckResult(ioctlsocket(Handle(), FIONREAD, &waiting)) == SOCKET_ERROR)
        return 0;
    return waiting;
}

void TNotifySocket::MessageRead(uint32_t count) {
    if (count > 0) {
        std::string chunk(std::min(count, MaxChunk), '\0');
        const int received = CheckResult(recv(Handle(), chunk.data(), static_cast<int>(chunk.size()), 0));
        if (received > 0) {
            chunk.resize(static_cast<size_t>(received));
            FReceiveQueue.Append(std::move(chunk));
        }
    }
    RunHandler(TSocketHandler::Read, count);
}

void TNotifySocket::DrainNotifications() {
    MSG message;
    while (FHandle &&
           PeekMessageA(&message, FNotifyWindow.get(), WM_SOCKETNOTIFY, WM_SOCKETLOOKUP, PM_REMOVE))
        DispatchMessageA(&message);
    // Bytes that arrived with the close but whose notification is not queued yet.
    while (FHandle) {
        const uint32_t waiting = WaitingBytes();
        if (waiting == 0)
            break;
        MessageRead(waiting);
    }
}

void TNotifySocket::CloseSocket(bool drain) {
    if (!FHandle)
        return;
    if (drain) {
        DrainNotifications();
        if (FHandle && !PeerHasClosed())
            return;
    }
    if (!FHandle)
        return;
    // The handle is given up before the handler runs, so a close requested from within it does nothing.
    TUniqueSocket handle(FHandle.release());
    RunHandler(TSocketHandler::Close, 0, handle.get());
    if (closesocket(handle.release()) == SOCKET_ERROR)
        CheckResult(SOCKET_ERROR);
}

int TNotifySocket::CheckResult(int result) {
    if (result == SOCKET_ERROR)
        RunHandler(TSocketHandler::Error, static_cast<uint32_t>(WSAGetLastError()) & 0xFFFF);
    return result;
}

TNotifySocket::TSocketEvent& TNotifySocket::EventOf(TSocketHandler handler) {
    switch (handler) {
    case TSocketHandler::Error:
        return OnError;
    case TSocketHandler::Lookup:
        return OnLookup;
    case TSocketHandler::Close:
        return OnClose;
    case TSocketHandler::Accept:
        return OnAccept;
    case TSocketHandler::Read:
        return OnRead;
    case TSocketHandler::Connect:
        return OnConnect;
    case TSocketHandler::Write:
        return OnWrite;
    case TSocketHandler::OOB:
        break;
    }
    return OnOOB;
}

void TNotifySocket::RunHandler(TSocketHandler handler, uint32_t sizeOrError) {
    RunHandler(handler, sizeOrError, Handle());
}

void TNotifySocket::RunHandler(TSocketHandler handler, uint32_t sizeOrError, SOCKET handle) {
    const TSocketMessage message{MessageCode(handler), sizeOrError, static_cast<uint32_t>(handle), this};
    FConnected = ConnectedAfter(handler, FConnected, sizeOrError);
    // A copy, so that an event may reassign itself while it runs.
    const TSocketEvent event = EventOf(handler);
    if (event)
        event(*this, message);
    else
        ShowMessageBox(HandlerName(handler), DiagnosticText(handler, message));
}

} // namespace uninstall
