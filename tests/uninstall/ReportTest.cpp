// The statistics report from the survey window's close request to the end of its message loop, over
// real sockets against a server on 127.0.0.1; the mail fallback goes to a recorder.
#include "LoopbackServer.h"
#include "SurveyTestSupport.h"

#include "uninstall/SurveyForm.h"
#include "uninstall/WindowsVersion.h"

#include <gtest/gtest.h>

using namespace uninstall;
using namespace uninstall_test;

namespace {

const std::string OsQuery = "&os=" + UrlEncode(GetWindowsVersionName());

struct TReportRun {
    std::vector<std::string> Mails;
    std::vector<std::string> Boxes;
    int ExitCode = -1;
    DWORD ElapsedMs = 0;
    bool BusySeenDuringWait = false;
    bool BusyAfter = false;
};

TSurveyForm* WatchedForm = nullptr;
bool BusySeen = false;

void CALLBACK WatchBusy(HWND, UINT, UINT_PTR, DWORD) {
    if (WatchedForm && WatchedForm->Busy)
        BusySeen = true;
}

// Builds the survey for the command line, lets prepare choose the answer, asks it to close (closes
// times) and runs its message loop to the end.
TReportRun RunReport(const std::string& commandLine, const std::string& host, DWORD waitMs,
                     const std::function<void(TSurveyForm&)>& prepare = nullptr, int closes = 1) {
    TSeamRecorder seams;
    TReportRun run;
    TReportSettings settings;
    settings.StatisticsHost = host;
    settings.WaitMs = waitMs;
    TSurveyForm form({commandLine, settings});
    if (prepare)
        prepare(form);
    for (int i = 0; i < closes; ++i)
        PostMessageA(form.Form(), WM_CLOSE, 0, 0);
    WatchedForm = &form;
    BusySeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchBusy);
    const DWORD start = GetTickCount();
    run.ExitCode = form.Run();
    run.ElapsedMs = GetTickCount() - start;
    KillTimer(nullptr, timer);
    WatchedForm = nullptr;
    run.BusySeenDuringWait = BusySeen;
    run.BusyAfter = form.Busy;
    EXPECT_EQ(nullptr, form.Form());
    run.Mails = seams.Opened;
    run.Boxes = seams.Boxes;
    return run;
}

std::string Answer(const std::string& body) {
    return TLoopbackServer::PlainAnswer(body);
}

} // namespace

TEST(SendReport, DeliveredAnswerSendsTheExactRequestAndNoMail) {
    // The answer comes a little later, so that the wait can be watched.
    TLoopbackServer server({{"", Answer("OK\r\n")}, 300});
    const TReportRun run = RunReport("Uninstall.exe \"My Player\"", server.Host(), 10000,
                                     [](TSurveyForm& form) { form.SelectReason(0); });
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ("GET /stat/uninstall.php?prj=My+Player&reason=Unstable" + OsQuery + " HTTP/1.1\r\n" +
                  "User-Agent: Uninstall-HTTP\r\nHost: 127.0.0.1\r\n\r\n",
              server.Requests()[0]);
    EXPECT_TRUE(run.Mails.empty());
    EXPECT_TRUE(run.Boxes.empty());
    EXPECT_EQ(0, run.ExitCode);
    EXPECT_TRUE(run.BusySeenDuringWait);
    EXPECT_FALSE(run.BusyAfter);
}

TEST(SendReport, OkInASecondBatchStillCountsAsDelivered) {
    TServerScript script{{"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n", "OK\r\n"}, 500};
    script.KeepOpen = true;
    TLoopbackServer server(script);
    const TReportRun run = RunReport("u Big_Media_Tool", server.Host(), 10000);
    EXPECT_TRUE(run.Mails.empty());
    ASSERT_EQ(1, server.Connections());
    EXPECT_EQ(0u,
              server.Requests()[0].find("GET /stat/uninstall.php?prj=Big+Media+Tool&reason=Other%3a+&os="));
}

TEST(SendReport, AnswersWithoutTheOkLineFallBackToOneMail) {
    const std::string mail =
        "mailto:survey@vireon.example?subject=uninstall+My+Player&body=Other:%20too%20slow";
    const std::vector<std::string> answers = {
        Answer("ok\r\n"), "HTTP/1.1 200 OK\r\n\r\n<html>\r\nOK\r\n</html>\r\n", Answer("OK\r\nmore\r\n"), ""};
    for (const std::string& answer : answers) {
        SCOPED_TRACE(answer);
        TLoopbackServer server({{answer}});
        const TReportRun run = RunReport("u \"My Player\"", server.Host(), 10000, [](TSurveyForm& form) {
            SetWindowTextA(form.OtherText(), "too slow");
        });
        EXPECT_EQ(std::vector<std::string>{mail}, run.Mails);
        EXPECT_EQ(1, server.Connections());
        EXPECT_NE(std::string::npos, server.Requests()[0].find("&reason=Other%3a+too+slow&"));
        // The server closed: the report does not wait for the limit.
        EXPECT_LT(run.ElapsedMs, 10000u);
    }
}

TEST(SendReport, RefusedConnectionWaitsTheWholeLimitThenMails) {
    const std::string host = "127.0.0.1:" + std::to_string(TLoopbackServer::RefusingPort());
    const TReportRun run = RunReport("u Tool", host, 10000);
    EXPECT_GE(run.ElapsedMs, 9900u);
    EXPECT_EQ(std::vector<std::string>{"mailto:survey@vireon.example?subject=uninstall+Tool&body=Other:%20"},
              run.Mails);
    EXPECT_TRUE(run.Boxes.empty());
    EXPECT_TRUE(run.BusyAfter);
}

TEST(SendReport, StallingServerEndsAtTheLimit) {
    TServerScript script{{"HTTP/1.1 200 OK\r\n"}};
    script.KeepOpen = true;
    TLoopbackServer server(script);
    const TReportRun run = RunReport("u Tool", server.Host(), 1500);
    EXPECT_GE(run.ElapsedMs, 1400u);
    EXPECT_EQ(1u, run.Mails.size());
}

TEST(SendReport, EndlessAnswerIsCutOffAndMailed) {
    TServerScript script{{Answer("")}};
    script.Endless = true;
    TLoopbackServer server(script);
    const TReportRun run = RunReport("u Tool", server.Host(), 10000);
    EXPECT_EQ(1u, run.Mails.size());
    EXPECT_TRUE(PumpUntil([&] { return server.StreamStopped(); }, 5000));
    EXPECT_LT(server.StreamedBytes(), 16u * 1024 * 1024);
}

TEST(SendReport, BadAnswersEndWithinTheWait) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Batches;
        bool Reset;
        bool Delivered;
    };
    const std::vector<TCase> cases = {
        {"1 MB line",
         {"HTTP/1.1 200 OK\r\n\r\n" + std::string(1024 * 1024, 'a') + "\r\nOK\r\n"},
         false,
         false},
        {"NUL bytes", {Answer(std::string("a\0b\r\nOK\r\n", 9))}, false, true},
        {"lone CR", {Answer("OK\rjunk")}, false, true},
        {"no line feed", {"HTTP/1.1 200 OK"}, false, false},
        {"status abc", {"HTTP/1.1 abc\r\n\r\nOK\r\n"}, false, true},
        {"reset", {"HTTP/1.1 200 OK\r\n\r\nO"}, true, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TServerScript script{test.Batches};
        script.Reset = test.Reset;
        TLoopbackServer server(script);
        const TReportRun run = RunReport("u Tool", server.Host(), 3000);
        EXPECT_EQ(test.Delivered ? 0u : 1u, run.Mails.size());
        EXPECT_TRUE(run.Boxes.empty());
        EXPECT_LT(run.ElapsedMs, 3500u);
    }
}

TEST(SendReport, HugeAndNonAsciiProductNamesEndWithinTheWait) {
    for (const std::string& name :
         {std::string(32 * 1024, 'n'), std::string("\"Lecteur_\xe9t\xe9"), std::string("\"\"")}) {
        SCOPED_TRACE(name.substr(0, 20));
        TLoopbackServer server({{Answer("OK\r\n")}});
        const TReportRun run = RunReport("u " + name, server.Host(), 3000);
        EXPECT_LE(run.Mails.size(), 1u);
        EXPECT_EQ(0, run.ExitCode);
        EXPECT_LT(run.ElapsedMs, 6000u);
        if (name[1] == 'L') {
            EXPECT_TRUE(run.Mails.empty());
            ASSERT_EQ(1u, server.Requests().size());
            EXPECT_EQ(0u, server.Requests()[0].find("GET /stat/uninstall.php?prj=Lecteur+%e9t%e9&"));
        }
    }
}

TEST(SendReport, SecondCloseRequestWhileWaitingIsIgnored) {
    TServerScript script{{"HTTP/1.1 200 OK\r\n\r\n", "OK\r\n"}, 600};
    script.KeepOpen = true;
    TLoopbackServer server(script);
    const TReportRun run = RunReport("u Tool", server.Host(), 10000, nullptr, 3);
    EXPECT_EQ(1, server.Connections());
    EXPECT_TRUE(run.Mails.empty());
    EXPECT_EQ(0, run.ExitCode);
}

TEST(SendReport, NothingCheckedSendsNothing) {
    TLoopbackServer server({{Answer("OK\r\n")}});
    const TReportRun run =
        RunReport("u Tool", server.Host(), 10000, [](TSurveyForm& form) { form.SelectReason(-1); });
    EXPECT_EQ(0, server.Connections());
    EXPECT_TRUE(run.Mails.empty());
}

TEST(SendReport, HostComesFromTheEnvironment) {
    _putenv("UNINSTALL_STATS_HOST=");
    EXPECT_EQ("stats.vireon.example", DefaultReportSettings().StatisticsHost);
    _putenv("UNINSTALL_STATS_HOST=127.0.0.1:8099");
    EXPECT_EQ("127.0.0.1:8099", DefaultReportSettings().StatisticsHost);
    EXPECT_EQ("survey@vireon.example", DefaultReportSettings().SurveyMail);
    _putenv("UNINSTALL_STATS_HOST=");
}
