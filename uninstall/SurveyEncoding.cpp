#include "uninstall/SurveyEncoding.h"

#include <array>
#include <string_view>

namespace uninstall {

namespace {

constexpr bool IsLetterOrDigit(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9');
}

constexpr bool IsOneOf(unsigned char byte, std::string_view set) {
    return byte != 0 && set.find(static_cast<char>(byte)) != std::string_view::npos;
}

// What each byte is to the encodings, worked out at compile time: encoding and decoding look a byte
// up once instead of testing it against every range and set.
struct TByteClasses {
    std::array<bool, 256> KeptInUrl{};
    std::array<bool, 256> KeptInMail{};
    std::array<int8_t, 256> HexValue{};
};

constexpr TByteClasses MakeByteClasses() {
    TByteClasses classes;
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        classes.KeptInUrl[b] = IsLetterOrDigit(b) || IsOneOf(b, "!$'()*-.@_");
        classes.KeptInMail[b] = IsLetterOrDigit(b) || IsOneOf(b, "-._~!$'()*+,;:@");
        classes.HexValue[b] = b >= '0' && b <= '9' ? static_cast<int8_t>(b - '0')
                              : (b | 0x20) >= 'a' && (b | 0x20) <= 'f'
                                  ? static_cast<int8_t>((b | 0x20) - 'a' + 10)
                                  : int8_t{-1};
    }
    return classes;
}

constexpr TByteClasses ByteClasses = MakeByteClasses();

// Writes "%" and two digits at out[at].
void WriteEscape(std::string& out, size_t at, unsigned char byte, const char* digits) {
    out[at] = '%';
    out[at + 1] = digits[byte >> 4];
    out[at + 2] = digits[byte & 15];
}

// The encoded length of one byte in a mail field.
size_t MailEncodedSize(unsigned char byte) {
    return ByteClasses.KeptInMail[byte] ? 1 : 3;
}

size_t MailEncodedLength(const std::string& text) {
    size_t length = 0;
    for (char c : text)
        length += MailEncodedSize(static_cast<unsigned char>(c));
    return length;
}

bool IsKeptInUrl(unsigned char byte) {
    return ByteClasses.KeptInUrl[byte];
}

int HexValue(char c) {
    return ByteClasses.HexValue[static_cast<unsigned char>(c)];
}

// The longest start of text whose encoding, with the ellipsis's, fits budget, then the ellipsis;
// the text itself when all of it fits.
std::string FitMailField(const std::string& text, size_t budget, const std::string& ellipsis) {
    if (MailEncodedLength(text) <= budget)
        return text;
    size_t used = MailEncodedLength(ellipsis);
    if (used > budget)
        return {};
    size_t keep = 0;
    while (keep < text.size() && used + MailEncodedSize(static_cast<unsigned char>(text[keep])) <= budget)
        used += MailEncodedSize(static_cast<unsigned char>(text[keep++]));
    return text.substr(0, keep) + ellipsis;
}

// Splits budget between two encoded sizes: each gets what it needs up to half, the rest goes to
// the other.
size_t FirstShare(size_t first, size_t second, size_t budget) {
    if (first + second <= budget)
        return first;
    const size_t half = budget / 2;
    if (first <= half)
        return first;
    if (second <= half)
        return budget - second;
    return half;
}

bool IsHostByte(char c) {
    return IsLetterOrDigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

} // namespace

std::string UrlEncode(const std::string& text) {
    size_t length = 0;
    for (char c : text)
        length += IsKeptInUrl(static_cast<unsigned char>(c)) || c == ' ' ? 1 : 3;
    std::string out(length, '\0');
    size_t at = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsKeptInUrl(byte) || byte == ' ') {
            out[at++] = byte == ' ' ? '+' : c;
        } else {
            WriteEscape(out, at, byte, "0123456789abcdef");
            at += 3;
        }
    }
    return out;
}

std::string MailEncode(const std::string& text) {
    std::string out(MailEncodedLength(text), '\0');
    size_t at = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (MailEncodedSize(byte) == 1) {
            out[at++] = c;
        } else {
            WriteEscape(out, at, byte, "0123456789ABCDEF");
            at += 3;
        }
    }
    return out;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReportUrl(const std::string& statisticsHost, const std::string& product,
                      const std::string& reason, const std::string& osName) {
    return "http://" + statisticsHost + "/stat/uninstall.php" + "?prj=" + UrlEncode(product) +
           "&reason=" + UrlEncode(reason) + "&os=" + UrlEncode(osName);
}

std::string MailUrl(const std::string& surveyMail, const std::string& product, const std::string& reason,
                    const std::string& ellipsis) {
    const std::string head = "mailto:" + surveyMail + "?subject=" + MailEncode("uninstall ");
    const std::string middle = "&body=";
    const size_t fixed = head.size() + middle.size();
    // What is left for the product name and the reason, one character short of the limit.
    const size_t budget = MaxMailUrl - 1 > fixed ? MaxMailUrl - 1 - fixed : 0;
    const size_t productShare = FirstShare(MailEncodedLength(product), MailEncodedLength(reason), budget);
    const std::string subject = MailEncode(FitMailField(product, productShare, ellipsis));
    const std::string body = MailEncode(FitMailField(reason, budget - subject.size(), ellipsis));
    return head + subject + middle + body;
}

bool IsStatisticsHost(const std::string& text) {
    const size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    if (host.empty() || host.size() > 253)
        return false;
    for (char c : host)
        if (!IsHostByte(c))
            return false;
    if (colon == std::string::npos)
        return true;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return false;
    long value = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535;
}

} // namespace uninstall
