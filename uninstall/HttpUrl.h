// The parts of an "http://" URL the client needs, and the Base64 form of Basic credentials. Both are
// free of the platform so that they can run anywhere, fuzzers included.
#pragma once

#include <optional>
#include <string>

namespace uninstall {

struct THttpUrl {
    // A name, a dotted address or a bracketed IPv6 literal; never empty, never holding "/" or "@".
    std::string Host;
    // The request target: starts with "/", holds no blank or control character, no fragment.
    std::string Path = "/";
    std::string UserName;
    std::string Password;
    // 1 to 65535.
    int Port = 80;
};

// The scheme "http://" is optional and recognised in any letter case. Refused (no value): another
// scheme, an empty host, a bad or out-of-range port, an unclosed IPv6 bracket, blanks or control
// characters anywhere. A query that comes straight after the host belongs to the path.
std::optional<THttpUrl> ParseHttpUrl(const std::string& url);

// Standard Base64 with "=" padding and no line breaks, for input of any length.
std::string Base64Encode(const std::string& data);

} // namespace uninstall
