// The bug-report mail: the link's exact text, hostile messages that must stay inside the body, and
// errors from every kind of handler reaching it.
#include "shell/BugReport.h"

#include "forms/TApplication.h"
#include "forms/TTimer.h"
#include "util/Msg.h"
#include "util/ShellOpen.h"

#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace vireon;

namespace {

constexpr char kPrefix[] = "mailto:support@vireon.example?Subj=Bug%20Report&Body=";

// The shell-open seam records the links instead of starting a mail program.
class OpenedLinks {
public:
    OpenedLinks()
        : FSeam(ShellExecuteSeam(),
                [this](HWND, const char*, const char* File, const char*, const char*, int Show) {
                    Links.push_back(File);
                    Shows.push_back(Show);
                    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
                }) {}
    std::vector<std::string> Links;
    std::vector<int> Shows;

private:
    TScopedSeam<TShellExecuteSeam> FSeam;
};

// The body of a link: what follows "&Body=".
std::string Body(const std::string& Link) {
    return Link.substr(Link.find("&Body=") + 6);
}

// The mail fields a mail program reads from the link: split at "&", each up to its "=".
std::vector<std::string> FieldNames(const std::string& Link) {
    std::vector<std::string> names;
    std::string query = Link.substr(Link.find('?') + 1);
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        std::string field = query.substr(start, end == std::string::npos ? std::string::npos : end - start);
        names.push_back(field.substr(0, field.find('=')));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return names;
}

std::string Decode(const std::string& Text) {
    std::string plain;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '%' && i + 2 < Text.size()) {
            plain += static_cast<char>(std::stoi(Text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            plain += Text[i];
        }
    }
    return plain;
}

TEST(BugReportLink, TheExactLinkOfTheExamples) {
    EXPECT_EQ(
        std::string(kPrefix) +
            "Hello%20Vireon's%20Developers!%0D%20%20I%20would%20like%20to%20report%20a%20bug%20(Disk%20full)"
            "%0D%20%20Steps%20to%20reproduce%20the%20bug:%20",
        BugReportLink("Disk full"));
    EXPECT_NE(std::string::npos, BugReportLink("").find("bug%20()%0D"));
}

TEST(BugReportLink, HostileMessagesStayInsideTheBody) {
    const std::vector<std::string> hostile{
        "a&cc=attacker@example.com",
        "what?subject=x",
        "100% #1 = broken",
        "line one\r\nline two",
        "%0D%0ABcc:x@y",
        "\x80\xff\xe9t\xe9",
        "<script>&amp;</script>",
        std::string("nul\0byte", 8),
        "mailto:x?body=y&body=z",
        "a+b=c;d,e:f@g",
    };
    for (const std::string& message : hostile) {
        SCOPED_TRACE(message);
        const std::string link = BugReportLink(message);
        EXPECT_EQ((std::vector<std::string>{"Subj", "Body"}), FieldNames(link));
        EXPECT_EQ(std::string::npos, link.find('#'));
        EXPECT_EQ(std::string::npos, link.find_first_of(" \r\n\"<>"));
        // Decoded, the body holds the message exactly.
        const std::string body = Decode(Body(link));
        EXPECT_NE(std::string::npos, body.find("report a bug (" + message + ")\r  Steps"));
    }
    EXPECT_EQ("%25%26%3F%23%3D%20-._~!$'()*+,;:@azAZ09%2F%5C",
              EncodeMailValue("%&?#= -._~!$'()*+,;:@azAZ09/\\"));
}

TEST(BugReport, TwoErrorsOpenTwoMailsAFloodOfOneOpensOne) {
    OpenedLinks opened;
    TBugReport report;
    EXPECT_TRUE(report.Report("Disk full"));
    EXPECT_TRUE(report.Report("Access violation"));
    ASSERT_EQ(2u, opened.Links.size());
    EXPECT_EQ(BugReportLink("Disk full"), opened.Links[0]);
    EXPECT_EQ(BugReportLink("Access violation"), opened.Links[1]);
    EXPECT_EQ(SW_SHOWNORMAL, opened.Shows[0]);
    for (int i = 0; i < 50; ++i)
        report.Report("Access violation");
    EXPECT_EQ(2u, opened.Links.size());
    EXPECT_EQ(50, report.SuppressedRepeats());
    // Another error in between is a report of its own.
    EXPECT_TRUE(report.Report("Disk full"));
    EXPECT_EQ(3u, opened.Links.size());
}

// No mail program: the shell's failure is shown as a message, through the message-dialog seam.
TEST(BugReport, AFailedLaunchShowsThePlatformsText) {
    std::vector<std::string> shown;
    TScopedSeam<TShellExecuteSeam> shell(
        ShellExecuteSeam(), [](HWND, const char*, const char*, const char*, const char*, int) {
            SetLastError(ERROR_NO_ASSOCIATION);
            return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
        });
    TScopedSeam<TMessageDialogSeam> dialog(MessageDialogSeam(), [&](HWND Dialog) {
        char text[512]{};
        GetDlgItemTextA(Dialog, kMsgDlgTextId, text, sizeof(text));
        shown.push_back(text);
        return mrOk;
    });
    TBugReport report;
    report.Report("Disk full");
    ASSERT_EQ(1u, shown.size());
    EXPECT_FALSE(shown[0].empty());
}

} // namespace
