// The record handed to every socket handler and event, the message numbers, and the platform-free
// parts of the socket layer: which handler a notification reaches, how it changes the connected
// state, and the diagnostic texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace uninstall {

class TNotifySocket;

constexpr unsigned WM_SOCKETNOTIFY = 0x7400; // the platform's notification
constexpr unsigned WM_SOCKETERROR = 0x7401;
constexpr unsigned WM_SOCKETCLOSE = 0x7402;
constexpr unsigned WM_SOCKETREAD = 0x7403;
constexpr unsigned WM_SOCKETCONNECT = 0x7404;
constexpr unsigned WM_SOCKETACCEPT = 0x7405;
constexpr unsigned WM_SOCKETWRITE = 0x7406;
constexpr unsigned WM_SOCKETOOB = 0x7407;
constexpr unsigned WM_SOCKETLOOKUP = 0x7409;

// Read, connect and close.
constexpr long SOCKET_EVENT_MASK = 0x31;

struct TSocketMessage {
    uint16_t Code = 0;
    uint32_t SizeOrError = 0;
    uint32_t SocketHandle = 0;
    TNotifySocket* Sender = nullptr;
};

enum class TSocketHandler { Error, Lookup, Close, Accept, Read, Connect, Write, OOB };

// The handler the event half of a notification reaches (read 1, write 2, out-of-band 4, accept 8,
// connect 16, close 32); none for any other event.
std::optional<TSocketHandler> HandlerForEvent(unsigned event);
uint16_t MessageCode(TSocketHandler handler);
// "Message_Read" and so on: the caption of the handler's diagnostic box.
std::string HandlerName(TSocketHandler handler);
// The connected state after the handler; read counts only when bytes were waiting.
bool ConnectedAfter(TSocketHandler handler, bool connected, uint32_t sizeOrError);
// The standard name of a Windows Sockets 1.1 error code, or "UNDEFINED WINSOCK ERROR".
std::string WinsockErrorName(uint32_t code);
// The text shown when the handler's event is unassigned.
std::string DiagnosticText(TSocketHandler handler, const TSocketMessage& message);

} // namespace uninstall
