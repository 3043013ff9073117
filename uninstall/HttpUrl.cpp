#include "uninstall/HttpUrl.h"

#include "uninstall/UStr.h"

#include <cstdint>

namespace uninstall {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks, control characters and DEL would break the request line or its headers.
bool HasUnsafeByte(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte == 127)
            return true;
    }
    return false;
}

// True when text starts with a scheme other than "http": letters, digits, "+", "-", "." then "://".
bool HasForeignScheme(const std::string& text) {
    const size_t colon = text.find("://");
    if (colon == std::string::npos || colon == 0 || !IsAsciiLetter(text[0]))
        return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// Digits only, 1 to 65535; an empty port means the default.
std::optional<int> ParsePort(const std::string& digits) {
    if (digits.empty())
        return 80;
    if (digits.size() > 5)
        return std::nullopt;
    int port = 0;
    for (char c : digits) {
        if (!IsDigit(c))
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// Host and port from "host", "host:port", "[v6]" or "[v6]:port".
bool SplitHostPort(const std::string& hostPort, THttpUrl& url) {
    size_t hostEnd = hostPort.find(':');
    if (!hostPort.empty() && hostPort[0] == '[') {
        const size_t close = hostPort.find(']');
        if (close == std::string::npos)
            return false;
        hostEnd = close + 1;
        if (hostEnd < hostPort.size() && hostPort[hostEnd] != ':')
            return false;
    }
    if (hostEnd == std::string::npos)
        hostEnd = hostPort.size();
    url.Host = hostPort.substr(0, hostEnd);
    if (url.Host.empty() || url.Host == "[]")
        return false;
    const std::optional<int> port =
        hostEnd < hostPort.size() ? ParsePort(hostPort.substr(hostEnd + 1)) : std::optional<int>(80);
    if (!port)
        return false;
    url.Port = *port;
    return true;
}

} // namespace

std::optional<THttpUrl> ParseHttpUrl(const std::string& text) {
    std::string r = text;
    if (StartsWith(UpperCase(r), "HTTP://"))
        r.erase(0, 7);
    else if (HasForeignScheme(r))
        return std::nullopt;
    if (HasUnsafeByte(r))
        return std::nullopt;
    // The fragment is the browser's business and never sent.
    r = r.substr(0, r.find('#'));
    const size_t authorityEnd = r.find_first_of("/?");
    std::string authority = r.substr(0, authorityEnd);
    THttpUrl url;
    if (authorityEnd != std::string::npos) {
        url.Path = r.substr(authorityEnd);
        if (url.Path[0] == '?')
            url.Path.insert(url.Path.begin(), '/');
    }
    // User information ends at the last "@" of the authority.
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        const std::string user = authority.substr(0, at);
        const size_t colon = user.find(':');
        url.UserName = user.substr(0, colon);
        url.Password = colon == std::string::npos ? std::string() : user.substr(colon + 1);
        authority.erase(0, at + 1);
    }
    if (!SplitHostPort(authority, url))
        return std::nullopt;
    return url;
}

std::string Base64Encode(const std::string& data) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        const size_t left = data.size() - i;
        uint32_t group = static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << 16;
        if (left > 1)
            group |= static_cast<uint32_t>(static_cast<uint8_t>(data[i + 1])) << 8;
        if (left > 2)
            group |= static_cast<uint8_t>(data[i + 2]);
        out += alphabet[(group >> 18) & 63];
        out += alphabet[(group >> 12) & 63];
        out += left > 1 ? alphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? alphabet[group & 63] : '=';
    }
    return out;
}

} // namespace uninstall
