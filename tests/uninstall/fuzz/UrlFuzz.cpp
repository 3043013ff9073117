// libFuzzer target over the HTTP client's URL parsing: any text either is refused or gives parts a
// request can carry (a host without "/" or "@", a path starting with "/" and free of blanks and
// control characters, a port from 1 to 65535), and the parts written back as a URL parse the same.
#include "FuzzCheck.h"

#include "uninstall/HttpUrl.h"

using uninstall::ParseHttpUrl;
using uninstall::THttpUrl;
using uninstall_fuzz::Check;

namespace {

[[clang::no_sanitize("coverage")]] bool SafeForRequest(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte == 127)
            return false;
    }
    return true;
}

std::string WrittenBack(const THttpUrl& url) {
    std::string text = "http://";
    if (!url.UserName.empty() || !url.Password.empty())
        text += url.UserName + (url.Password.empty() ? "" : ":" + url.Password) + "@";
    return text + url.Host + ":" + std::to_string(url.Port) + url.Path;
}

void CheckParts(const THttpUrl& url) {
    Check(!url.Host.empty(), "host not empty");
    Check(url.Host.find_first_of("/@?#") == std::string::npos, "host holds no / @ ? #");
    Check(url.Host[0] != '[' || url.Host.back() == ']', "a bracketed host is closed");
    Check(url.Host[0] == '[' || url.Host.find(':') == std::string::npos, "a plain host holds no colon");
    Check(!url.Path.empty() && url.Path[0] == '/', "path starts with /");
    Check(url.Path.find('#') == std::string::npos, "no fragment in the path");
    Check(SafeForRequest(url.Path) && SafeForRequest(url.Host), "request line and Host header stay one line");
    Check(url.Port >= 1 && url.Port <= 65535, "port in range");
    Check(url.UserName.find(':') == std::string::npos, "user name holds no colon");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto url = ParseHttpUrl(text);
    if (!url)
        return 0;
    CheckParts(*url);
    const auto again = ParseHttpUrl(WrittenBack(*url));
    Check(again.has_value(), "parts written back parse");
    Check(again->Host == url->Host && again->Path == url->Path && again->Port == url->Port,
          "parts written back parse the same");
    Check(again->UserName == url->UserName && again->Password == url->Password, "user information kept");
    return 0;
}
