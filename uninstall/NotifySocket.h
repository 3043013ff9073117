// A TCP client socket for the GUI thread: the platform posts a message to a hidden window when the
// socket connects, has data or is closed, and the socket turns each into a handler and an event.
#pragma once

#include "uninstall/ReceiveQueue.h"
#include "uninstall/SocketMessage.h"
#include "uninstall/Win32Owners.h"

#include <functional>
#include <string>

namespace uninstall {

class TNotifySocket {
public:
    using TSocketEvent = std::function<void(TNotifySocket& sender, const TSocketMessage& message)>;

    TNotifySocket();
    TNotifySocket(const TNotifySocket&) = delete;
    TNotifySocket& operator=(const TNotifySocket&) = delete;
    ~TNotifySocket();

    // 1 to 65535; any other value leaves the port unchanged.
    void SetPort(int port);
    // A dotted address, or a host name looked up with the blocking lookup; an unknown host leaves
    // 255.255.255.255 so that the connect fails.
    void SetAddress(const std::string& text);
    // Starts a non-blocking connect and returns at once.
    void Connect();
    // One send of all bytes; returns the platform's result.
    int SendString(const std::string& text);
    size_t Count() const noexcept { return FReceiveQueue.Count(); }
    size_t ReadBuf(char* destination, size_t n) { return FReceiveQueue.ReadBuf(destination, n); }
    std::string ReadLine(char delimiter) { return FReceiveQueue.ReadLine(delimiter); }
    bool HasLine(char delimiter) const { return FReceiveQueue.Contains(delimiter); }
    TReceiveQueue& ReceiveQueue() noexcept { return FReceiveQueue; }
    // Closes without dispatching pending notifications.
    void Close() { CloseSocket(false); }

    const sockaddr_in& Address() const noexcept { return FAddress; }
    SOCKET Handle() const noexcept { return FHandle.get(); }
    HWND NotifyWindow() const noexcept { return FNotifyWindow.get(); }
    bool Connected() const noexcept { return FConnected; }

    TSocketEvent OnError, OnLookup, OnAccept, OnClose, OnConnect, OnRead, OnWrite, OnOOB;

    // The hidden window's procedure for this socket.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CloseSocket(bool drain);
    void DrainNotifications();
    // Anyone may post to the notification window: a connect or close notification counts only when
    // the socket's state agrees with it.
    bool IsConnected();
    bool PeerHasClosed();
    // The error path: a result of -1 reaches Message_Error with the thread's last socket error.
    int CheckResult(int result);
    void MessageRead(uint32_t count);
    void RunHandler(TSocketHandler handler, uint32_t sizeOrError);
    void RunHandler(TSocketHandler handler, uint32_t sizeOrError, SOCKET handle);
    TSocketEvent& EventOf(TSocketHandler handler);
    uint32_t WaitingBytes();

    TWinsockUser FWinsock;
    sockaddr_in FAddress{};
    TUniqueSocket FHandle;
    TUniqueWindow FNotifyWindow;
    bool FConnected = false;
    TReceiveQueue FReceiveQueue;
};

} // namespace uninstall
