// libFuzzer target over the survey's report texts: the statistics URL's values and the prepared
// mail's link. Encodings keep to their character sets and decode to the input; the mail link stays
// under its limit and holds the product and reason whole or cut with the ellipsis; a host the setting
// accepts gives a URL the HTTP client parses to that host and the report's path.
#include "FuzzCheck.h"

#include "uninstall/HttpUrl.h"
#include "uninstall/SurveyEncoding.h"

#include <cstring>

using namespace uninstall;
using uninstall_fuzz::Check;

namespace {

[[clang::no_sanitize("coverage")]] bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

[[clang::no_sanitize("coverage")]] void CheckCharacters(const std::string& encoded, const char* kept) {
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '%') {
            Check(i + 2 < encoded.size() && encoded[i + 1] != 0 && encoded[i + 2] != 0 &&
                      std::strchr("0123456789abcdefABCDEF", encoded[i + 1]) &&
                      std::strchr("0123456789abcdefABCDEF", encoded[i + 2]),
                  "an escape has two hexadecimal digits");
            i += 2;
            continue;
        }
        Check(IsLetterOrDigit(c) || (c != 0 && std::strchr(kept, c) != nullptr), "only kept characters");
    }
}

[[clang::no_sanitize("coverage")]] std::string PlusAsBlank(std::string text) {
    for (char& c : text)
        if (c == '+')
            c = ' ';
    return text;
}

// The field's decoded text is the whole original or a start of it followed by the ellipsis.
[[clang::no_sanitize("coverage")]] void CheckField(const std::string& decoded, const std::string& original,
                                                   const std::string& ellipsis) {
    if (decoded == original)
        return;
    Check(decoded.size() >= ellipsis.size() &&
              decoded.compare(decoded.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0,
          "a cut field ends in the ellipsis");
    const std::string start = decoded.substr(0, decoded.size() - ellipsis.size());
    Check(original.compare(0, start.size(), start) == 0, "a cut field keeps the start of the text");
}

void CheckMail(const std::string& product, const std::string& reason) {
    const std::string url = MailUrl("survey@vireon.example", product, reason);
    Check(url.size() < MaxMailUrl, "the mail link stays under its limit");
    const std::string head = "mailto:survey@vireon.example?subject=uninstall%20";
    Check(url.compare(0, head.size(), head) == 0, "the link starts with the address and the subject");
    const size_t body = url.find("&body=");
    Check(body != std::string::npos && url.find('&', body + 1) == std::string::npos, "one body field");
    Check(url.find('?', head.size()) == std::string::npos && url.find('#') == std::string::npos,
          "no second query and no fragment");
    const std::string subject = url.substr(head.size(), body - head.size());
    const std::string text = url.substr(body + 6);
    CheckCharacters(subject, "-._~!$'()*+,;:@");
    CheckCharacters(text, "-._~!$'()*+,;:@");
    CheckField(PercentDecode(subject), product, AnsiEllipsis);
    CheckField(PercentDecode(text), reason, AnsiEllipsis);
}

void CheckReportUrl(const std::string& host, const std::string& product, const std::string& reason) {
    if (!IsStatisticsHost(host))
        return;
    const auto url = ParseHttpUrl(ReportUrl(host, product, reason, "Windows XP"));
    Check(url.has_value(), "an accepted host gives a URL the client takes");
    Check(url->Host == host.substr(0, host.find(':')), "the request goes to the host");
    const std::string path = "/stat/uninstall.php?prj=" + UrlEncode(product) + "&reason=";
    Check(url->Path.compare(0, path.size(), path) == 0, "the path is the report's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> fields = uninstall_fuzz::Fields(data, size, 3);
    const std::string& product = fields[0];
    const std::string& reason = fields[1];
    const std::string encoded = UrlEncode(reason);
    CheckCharacters(encoded, "!$'()*-.@_+");
    Check(PercentDecode(PlusAsBlank(encoded)) == reason, "the URL value decodes to the reason");
    Check(encoded.size() <= 3 * reason.size(), "at most three times as long");
    const std::string mailEncoded = MailEncode(reason);
    CheckCharacters(mailEncoded, "-._~!$'()*+,;:@");
    Check(PercentDecode(mailEncoded) == reason, "the mail value decodes to the reason");
    CheckMail(product, reason);
    CheckReportUrl(fields[2], product, reason);
    return 0;
}
