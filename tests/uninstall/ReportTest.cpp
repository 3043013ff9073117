// The statistics report from the survey window's close request to the end of its message loop, over
// real sockets against a server on 127.0.0.1; the mail fallback goes to a recorder.
#include "LoopbackServer.h"
#include "SurveyTestSupport.h"

#include "uninstall/NotifySocket.h"
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
                  "User-Agent: Uninstall-HTTP\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n",
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
        "mailto:survey@vireon.example?subject=uninstall%20My%20Player&body=Other:%20too%20slow";
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
    EXPECT_EQ(
        std::vector<std::string>{"mailto:survey@vireon.example?subject=uninstall%20Tool&body=Other:%20"},
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

TEST(SendReport, BadAnswersEndLongBeforeTheLimit) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Batches;
        // The server keeps the connection open: only the answer itself can end the wait early.
        bool KeepOpen;
        bool Reset;
        bool Delivered;
    };
    const std::string ok200 = "HTTP/1.1 200 OK\r\n";
    const std::string chunked = ok200 + "Transfer-Encoding: chunked\r\n\r\n";
    const std::vector<TCase> cases = {
        {"1 MB line", {ok200 + "\r\n" + std::string(1024 * 1024, 'a') + "\r\nOK\r\n"}, true, false, false},
        {"NUL bytes", {Answer(std::string("a\0b\r\nOK\r\n", 9))}, false, false, true},
        {"lone CR", {Answer("OK\rjunk")}, false, false, true},
        {"no line feed", {"HTTP/1.1 200 OK"}, false, false, false},
        {"status abc", {"HTTP/1.1 abc\r\n\r\nOK\r\n"}, false, false, true},
        {"reset", {"HTTP/1.1 200 OK\r\n\r\nO"}, false, true, false},
        {"length longer than what came", {ok200 + "Content-Length: 50\r\n\r\nOK\r\n"}, false, false, false},
        {"negative length", {ok200 + "Content-Length: -4\r\n\r\nOK\r\n"}, true, false, false},
        {"length not a number", {ok200 + "Content-Length: four\r\n\r\nOK\r\n"}, true, false, false},
        {"chunk size not hexadecimal", {chunked + "OK\r\n"}, true, false, false},
        {"chunk of 2 GB", {chunked + "80000000\r\nOK\r\n"}, true, false, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TServerScript script{test.Batches};
        script.KeepOpen = test.KeepOpen;
        script.Reset = test.Reset;
        TLoopbackServer server(script);
        const TReportRun run = RunReport("u Tool", server.Host(), 5000);
        EXPECT_EQ(test.Delivered ? 0u : 1u, run.Mails.size());
        EXPECT_TRUE(run.Boxes.empty());
        EXPECT_LT(run.ElapsedMs, 2500u);
    }
}

TEST(SendReport, KeepAliveAndChunkedServersAreHeardAtOnce) {
    for (const TServerScript& script :
         {TLoopbackServer::KeepAliveServer("OK"), TLoopbackServer::ChunkedServer({"O", "K"})}) {
        SCOPED_TRACE(script.Batches[0]);
        TLoopbackServer server(script);
        const TReportRun run = RunReport("u Tool", server.Host(), 10000);
        EXPECT_TRUE(run.Mails.empty());
        EXPECT_LT(run.ElapsedMs, 2000u);
        EXPECT_EQ(1, server.Connections());
        EXPECT_TRUE(PumpUntil([&] { return server.ClientCloses() == 1; }, 5000));
    }
}

namespace {

BOOL CALLBACK FindNotifyWindow(HWND window, LPARAM parameter) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "NotifySocketWindow")
        return TRUE;
    *reinterpret_cast<HWND*>(parameter) = window;
    return FALSE;
}

// What any program on the desktop can do while the report waits: post every socket notification
// to the live socket's window, and ask the survey window and its text box for their menus.
std::function<void()> Forger(DWORD thread, HWND form, HWND otherText) {
    return [thread, form, otherText] {
        HWND notify = nullptr;
        EnumThreadWindows(thread, FindNotifyWindow, reinterpret_cast<LPARAM>(&notify));
        const auto* socket = reinterpret_cast<const TNotifySocket*>(GetWindowLongPtrA(notify, GWLP_USERDATA));
        const SOCKET handle = socket ? socket->Handle() : INVALID_SOCKET;
        PostMessageA(notify, 0x7409, 0, 0);
        for (WORD event : {2, 4, 8, 16, 32, 1})
            PostMessageA(notify, 0x7400, handle, MAKELPARAM(event, 0));
        PostMessageA(otherText, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(otherText), MAKELPARAM(400, 300));
        PostMessageA(form, WM_SYSCOMMAND, SC_KEYMENU, 0);
        PostMessageA(form, WM_SYSCOMMAND, SC_MOVE, 0);
        PostMessageA(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form), MAKELPARAM(400, 300));
    };
}

} // namespace

TEST(SendReport, ForgedMessagesNeitherBlockNorEndTheWait) {
    const DWORD thread = GetCurrentThreadId();
    for (const bool answers : {false, true}) {
        SCOPED_TRACE(answers ? "server answers after 1.5 s" : "silent server");
        std::function<void()> forge;
        TServerScript script = TLoopbackServer::SilentServer([&forge] { forge(); });
        if (answers) {
            script.Batches = {"", TLoopbackServer::KeepAliveAnswer("OK")};
            script.PauseMs = 1500;
        }
        TLoopbackServer server(script);
        // Shown, as the user sees it: menus of hidden windows end at once.
        const TReportRun run = RunReport("u Tool", server.Host(), 3000, [&](TSurveyForm& form) {
            form.Show(SW_SHOWNORMAL);
            forge = Forger(thread, form.Form(), form.OtherText());
        });
        EXPECT_TRUE(run.Boxes.empty());
        EXPECT_EQ(answers ? 0u : 1u, run.Mails.size());
        ASSERT_EQ(1u, server.Requests().size());
        EXPECT_EQ(server.Requests()[0].find("GET "), server.Requests()[0].rfind("GET "));
        if (answers) {
            EXPECT_GE(run.ElapsedMs, 1400u);
            EXPECT_LT(run.ElapsedMs, 2900u);
        } else {
            EXPECT_GE(run.ElapsedMs, 2900u);
            EXPECT_LT(run.ElapsedMs, 4500u);
        }
    }
}

TEST(SendReport, HugeAndNonAsciiProductNames) {
    const std::string huge(32 * 1024, 'n');
    for (const std::string& name : {huge, std::string("\"Lecteur_\xe9t\xe9\"")}) {
        SCOPED_TRACE(name.substr(0, 20));
        TLoopbackServer server({{Answer("OK\r\n")}});
        const TReportRun run = RunReport("u " + name, server.Host(), 3000);
        EXPECT_TRUE(run.Mails.empty());
        EXPECT_EQ(0, run.ExitCode);
        ASSERT_EQ(1u, server.Requests().size());
        const std::string prj = name == huge ? huge : "Lecteur+%e9t%e9";
        EXPECT_EQ(0u,
                  server.Requests()[0].find("GET /stat/uninstall.php?prj=" + prj + "&reason=Other%3a+&os="));
    }
}

TEST(SendReport, WithoutAProductNameNothingIsSentWhateverClosesTheWindow) {
    TLoopbackServer server({{Answer("OK\r\n")}});
    for (const char* commandLine : {"u \"\"", "u"}) {
        SCOPED_TRACE(commandLine);
        const TReportRun run = RunReport(commandLine, server.Host(), 3000);
        EXPECT_TRUE(run.Mails.empty());
        EXPECT_EQ(0, run.ExitCode);
        EXPECT_LT(run.ElapsedMs, 1000u);
    }
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(0, server.Connections());
}

TEST(SendReport, TheMailCarriesHostileAndLongTextsSafely) {
    struct TCase {
        std::string Product, Typed, Body;
    };
    const std::string ellipsis = MailEncode(SystemEllipsis());
    const std::vector<TCase> cases = {
        {"Tool", "x&cc=boss@example.com&subject=hi #100%",
         "Other:%20x%26cc%3Dboss@example.com%26subject%3Dhi%20%23100%25"},
        {"Tool", std::string(1000, 'r'), ""},
        {"Tool", std::string(32000, 'r'), ""},
        {std::string(32000, 'p'), "slow", "Other:%20slow"},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Typed.substr(0, 20));
        TLoopbackServer server({{Answer("no\r\n")}});
        const TReportRun run = RunReport("u " + test.Product, server.Host(), 3000, [&](TSurveyForm& form) {
            SetWindowTextA(form.OtherText(), test.Typed.c_str());
        });
        ASSERT_EQ(1u, run.Mails.size());
        const std::string& mail = run.Mails[0];
        EXPECT_LT(mail.size(), MaxMailUrl);
        const std::string body = mail.substr(mail.find("&body=") + 6);
        if (!test.Body.empty()) {
            EXPECT_EQ(test.Body, body);
        } else {
            EXPECT_EQ(0u, body.find("Other:%20rrr"));
            EXPECT_EQ(ellipsis, body.substr(body.size() - ellipsis.size()));
        }
        if (test.Product.size() > 1000) {
            const std::string subject = mail.substr(0, mail.find("&body="));
            EXPECT_EQ(ellipsis, subject.substr(subject.size() - ellipsis.size()));
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
    // Only a host and a port: anything that would change the path or the request is ignored.
    for (const char* bad : {"127.0.0.1:8099/x?", "127.0.0.1:0", "user@127.0.0.1", "127.0.0.1 x"}) {
        SCOPED_TRACE(bad);
        _putenv(("UNINSTALL_STATS_HOST=" + std::string(bad)).c_str());
        EXPECT_EQ("stats.vireon.example", DefaultReportSettings().StatisticsHost);
    }
    EXPECT_EQ("survey@vireon.example", DefaultReportSettings().SurveyMail);
    _putenv("UNINSTALL_STATS_HOST=");
}
