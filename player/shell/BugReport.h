// The bug report: every error that reaches the application opens a new mail to the support address,
// pre-filled with the error's message and a request for the steps that led to it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vireon {

// Percent-encodes Text for a field value of a mailto link: every byte but letters, digits and
// -._~!$'()*+,;:@ becomes %XX, so that "&", "?", "#", "%" and "=" in it cannot end the value or
// add fields.
std::string EncodeMailValue(std::string_view Text);

// The mail link reporting an error with that message.
std::string BugReportLink(std::string_view Message);

// Opens the report mails. The same message again within a few seconds of its mail opens no further
// one: a timer that fails on every tick must not bury the user in mails.
class TBugReport {
public:
    static constexpr DWORD kRepeatQuietMs = 5000;

    // True when a mail was asked for.
    bool Report(const std::string& Message);
    int SuppressedRepeats() const { return FSuppressed; }

private:
    std::string FLastMessage;
    DWORD FLastTick = 0;
    bool FAny = false;
    int FSuppressed = 0;
};

} // namespace vireon
