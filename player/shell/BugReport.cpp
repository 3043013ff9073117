#include "shell/BugReport.h"

#include "shell/ProductInfo.h"
#include "util/ShellOpen.h"

#include <cstring>

namespace vireon {

namespace {

bool StandsAsItIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr("-._~!$'()*+,;:@", c) != nullptr);
}

// The mail link's line break, written as the link encodes it.
constexpr char kLineBreak[] = "%0D";

} // namespace

std::string EncodeMailValue(std::string_view Text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(Text.size());
    for (char ch : Text) {
        const auto c = static_cast<unsigned char>(ch);
        if (StandsAsItIs(c)) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return encoded;
}

std::string BugReportLink(std::string_view Message) {
    const std::string body =
        EncodeMailValue("Hello Vireon's Developers!") + kLineBreak +
        EncodeMailValue("  I would like to report a bug (" + std::string(Message) + ")") + kLineBreak +
        EncodeMailValue("  Steps to reproduce the bug: ");
    return std::string("mailto:") + kSupportMailAddress + "?Subj=Bug%20Report&Body=" + body;
}

bool TBugReport::Report(const std::string& Message) {
    const DWORD now = GetTickCount();
    if (FAny && Message == FLastMessage && now - FLastTick < kRepeatQuietMs) {
        ++FSuppressed;
        return false;
    }
    FAny = true;
    FLastMessage = Message;
    FLastTick = now;
    ShellOpen(BugReportLink(Message), "", "", SW_SHOWNORMAL);
    return true;
}

} // namespace vireon
