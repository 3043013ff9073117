#include "uninstall/SocketMessage.h"

#include <utility>

namespace uninstall {

std::optional<TSocketHandler> HandlerForEvent(unsigned event) {
    switch (event) {
    case 1:
        return TSocketHandler::Read;
    case 2:
        return TSocketHandler::Write;
    case 4:
        return TSocketHandler::OOB;
    case 8:
        return TSocketHandler::Accept;
    case 16:
        return TSocketHandler::Connect;
    case 32:
        return TSocketHandler::Close;
    default:
        return std::nullopt;
    }
}

uint16_t MessageCode(TSocketHandler handler) {
    switch (handler) {
    case TSocketHandler::Error:
        return WM_SOCKETERROR;
    case TSocketHandler::Lookup:
        return WM_SOCKETLOOKUP;
    case TSocketHandler::Close:
        return WM_SOCKETCLOSE;
    case TSocketHandler::Accept:
        return WM_SOCKETACCEPT;
    case TSocketHandler::Read:
        return WM_SOCKETREAD;
    case TSocketHandler::Connect:
        return WM_SOCKETCONNECT;
    case TSocketHandler::Write:
        return WM_SOCKETWRITE;
    case TSocketHandler::OOB:
        return WM_SOCKETOOB;
    }
    return 0;
}

namespace {
const char* NotificationName(TSocketHandler handler) {
    switch (handler) {
    case TSocketHandler::Lookup:
        return "WM_SOCKETLOOKUP";
    case TSocketHandler::Close:
        return "WM_SOCKETCLOSE";
    case TSocketHandler::Accept:
        return "WM_SOCKETACCEPT";
    case TSocketHandler::Read:
        return "WM_SOCKETREAD";
    case TSocketHandler::Connect:
        return "WM_SOCKETCONNECT";
    case TSocketHandler::Write:
        return "WM_SOCKETWRITE";
    case TSocketHandler::OOB:
        return "WM_SOCKETOOB";
    case TSocketHandler::Error:
        break;
    }
    return "";
}
} // namespace

std::string HandlerName(TSocketHandler handler) {
    switch (handler) {
    case TSocketHandler::Error:
        return "Message_Error";
    case TSocketHandler::Lookup:
        return "Message_Lookup";
    case TSocketHandler::Close:
        return "Message_Close";
    case TSocketHandler::Accept:
        return "Message_Accept";
    case TSocketHandler::Read:
        return "Message_Read";
    case TSocketHandler::Connect:
        return "Message_Connect";
    case TSocketHandler::Write:
        return "Message_Write";
    case TSocketHandler::OOB:
        return "Message_OOB";
    }
    return {};
}

bool ConnectedAfter(TSocketHandler handler, bool connected, uint32_t sizeOrError) {
    switch (handler) {
    case TSocketHandler::Close:
        return false;
    case TSocketHandler::Accept:
    case TSocketHandler::Connect:
    case TSocketHandler::Write:
        return true;
    case TSocketHandler::Read:
        return sizeOrError > 0 ? true : connected;
    case TSocketHandler::Error:
    case TSocketHandler::Lookup:
    case TSocketHandler::OOB:
        break;
    }
    return connected;
}

std::string WinsockErrorName(uint32_t code) {
    static const std::pair<uint32_t, const char*> names[] = {
        {10004, "WSAEINTR"},           {10009, "WSAEBADF"},          {10013, "WSAEACCES"},
        {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},         {10024, "WSAEMFILE"},
        {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},    {10037, "WSAEALREADY"},
        {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"},   {10040, "WSAEMSGSIZE"},
        {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},    {10043, "WSAEPROTONOSUPPORT"},
        {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},     {10046, "WSAEPFNOSUPPORT"},
        {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},     {10049, "WSAEADDRNOTAVAIL"},
        {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},    {10052, "WSAENETRESET"},
        {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},     {10055, "WSAENOBUFS"},
        {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},       {10058, "WSAESHUTDOWN"},
        {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},      {10061, "WSAECONNREFUSED"},
        {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"},   {10064, "WSAEHOSTDOWN"},
        {10065, "WSAEHOSTUNREACH"},    {10066, "WSAENOTEMPTY"},      {10067, "WSAEPROCLIM"},
        {10068, "WSAEUSERS"},          {10069, "WSAEDQUOT"},         {10070, "WSAESTALE"},
        {10071, "WSAEREMOTE"},         {10091, "WSASYSNOTREADY"},    {10092, "WSAVERNOTSUPPORTED"},
        {10093, "WSANOTINITIALISED"},  {11001, "WSAHOST_NOT_FOUND"}, {11002, "WSATRY_AGAIN"},
        {11003, "WSANO_RECOVERY"},     {11004, "WSANO_DATA"},
    };
    for (const auto& [number, name] : names)
        if (number == code)
            return name;
    return "UNDEFINED WINSOCK ERROR";
}

std::string DiagnosticText(TSocketHandler handler, const TSocketMessage& message) {
    const std::string socket = " on socket " + std::to_string(static_cast<int32_t>(message.SocketHandle));
    if (handler == TSocketHandler::Error)
        return WinsockErrorName(message.SizeOrError) + socket;
    return NotificationName(handler) + socket;
}

} // namespace uninstall
