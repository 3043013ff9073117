// The survey window on the virtual screen: its layout, the focus, Enter and the close box, and the
// program itself started without an argument.
#include "LoopbackServer.h"
#include "SurveyTestSupport.h"

#include "uninstall/SurveyControls.h"
#include "uninstall/SurveyForm.h"

#include <gtest/gtest.h>

using namespace uninstall;
using namespace uninstall_test;

namespace {

TSurveyCreateArgs Args(const std::string& commandLine, const std::string& host = "127.0.0.1:1") {
    TReportSettings settings;
    settings.StatisticsHost = host;
    return {commandLine, settings};
}

RECT RectIn(HWND child, HWND parent) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND child, HWND parent, int left, int top, int width, int height) {
    const RECT rect = RectIn(child, parent);
    EXPECT_EQ(left, rect.left);
    EXPECT_EQ(top, rect.top);
    if (width >= 0) {
        EXPECT_EQ(width, rect.right - rect.left);
    }
    if (height >= 0) {
        EXPECT_EQ(height, rect.bottom - rect.top);
    }
}

void ShowAndFocus(TSurveyForm& form) {
    form.Show(SW_SHOWNORMAL);
    SetForegroundWindow(form.Form());
    PumpUntil([&] { return GetForegroundWindow() == form.Form() && GetFocus() == form.OtherText(); }, 3000);
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// A survey window destroyed at the end of a test posts the quit request; the next test must not see it.
class SurveyWindow : public testing::Test {
protected:
    void TearDown() override { DrainQuit(); }
};

} // namespace

TEST_F(SurveyWindow, ConstructionTable) {
    TSurveyForm form(Args("u \"My Player\""));
    HWND window = form.Form();
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(324, outer.left);
    EXPECT_EQ(199, outer.top);
    EXPECT_EQ(430, outer.right - outer.left);
    EXPECT_EQ(314, outer.bottom - outer.top);
    EXPECT_EQ("Uninstall", WindowText(window));
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE,
              GetWindowLongPtrA(window, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));

    ExpectRect(form.HeaderPanel(), window, 4, 8, 412, 20);
    ExpectRect(form.HeaderLabel(), form.HeaderPanel(), 8, 3, -1, 22);
    EXPECT_EQ("Question:", WindowText(form.HeaderLabel()));
    ExpectRect(form.ReasonGroup(), window, 16, 60, 389, 181);
    ExpectRect(form.OtherText(), form.ReasonGroup(), 78, 150, 301, -1);
    ExpectRect(form.UninstallButton(), window, 328, 252, 76, 25);
    EXPECT_EQ("Uninstall", WindowText(form.UninstallButton()));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrA(form.UninstallButton(), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(MAKELRESULT(TSurveyForm::UninstallButtonId, DC_HASDEFID),
              SendMessageA(window, DM_GETDEFID, 0, 0));

    // Children of the group in creation order: the text box, then the reasons; "Other" checked.
    HWND child = GetWindow(form.ReasonGroup(), GW_CHILD);
    EXPECT_EQ(form.OtherText(), child);
    for (int i = 0; i < TSurveyForm::ReasonCount; ++i) {
        SCOPED_TRACE(i);
        child = GetWindow(child, GW_HWNDNEXT);
        ASSERT_EQ(form.ReasonButtons()[i], child);
        EXPECT_EQ(TSurveyForm::Reasons[i], WindowText(child));
        ExpectRect(child, form.ReasonGroup(), 8, 12 + 23 * i, -1, -1);
        EXPECT_EQ(i == 6 ? BST_CHECKED : BST_UNCHECKED, SendMessageA(child, BM_GETCHECK, 0, 0));
    }
    EXPECT_EQ("Why have you made up your mind to remove My Player?", WindowText(form.QuestionLabel()));
}

TEST_F(SurveyWindow, QuestionIsCentredAndALongNameGoesNegative) {
    for (const std::string& name :
         {std::string("Big_Media_Tool"), std::string(200, 'W'), std::string(32 * 1024, 'n')}) {
        SCOPED_TRACE(name.size());
        TSurveyForm form(Args("u " + name));
        RECT client;
        GetClientRect(form.Form(), &client);
        const RECT label = RectIn(form.QuestionLabel(), form.Form());
        const int width = label.right - label.left;
        EXPECT_EQ(36, label.top);
        // Window coordinates stop at 16 bits; the 32 KB name only has to go far left.
        if (width < 32767) {
            EXPECT_EQ(client.right / 2 - width / 2, label.left);
        }
        if (name.size() > 100) {
            EXPECT_LT(label.left, 0);
        } else {
            EXPECT_GT(label.left, 0);
        }
    }
}

TEST_F(SurveyWindow, StartsWithOtherSelectedAndTheCaretInTheText) {
    TSurveyForm form(Args("u Tool"));
    ShowAndFocus(form);
    EXPECT_EQ(form.OtherText(), GetFocus());
    EXPECT_EQ(BST_CHECKED, SendMessageA(form.ReasonButtons()[6], BM_GETCHECK, 0, 0));
    // The reasons form one group: a click checks one and clears the others.
    SendMessageA(form.ReasonButtons()[1], BM_CLICK, 0, 0);
    for (int i = 0; i < TSurveyForm::ReasonCount; ++i)
        EXPECT_EQ(i == 1 ? BST_CHECKED : BST_UNCHECKED,
                  SendMessageA(form.ReasonButtons()[i], BM_GETCHECK, 0, 0));
    SendMessageA(form.ReasonButtons()[6], BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(form.ReasonButtons()[1], BM_GETCHECK, 0, 0));
    SetFocus(form.OtherText());
    // Escape does nothing.
    PressKey(VK_ESCAPE);
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(IsWindow(form.Form()));
}

TEST_F(SurveyWindow, EnterInTheTextClosesAndReports) {
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    TSeamRecorder seams;
    TSurveyForm form(Args("u Tool", server.Host()));
    ShowAndFocus(form);
    ASSERT_EQ(form.OtherText(), GetFocus());
    SetWindowTextA(form.OtherText(), "slow");
    PressKey(VK_RETURN);
    EXPECT_EQ(0, form.Run());
    EXPECT_EQ(nullptr, form.Form());
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_NE(std::string::npos, server.Requests()[0].find("reason=Other%3a+slow&"));
    EXPECT_TRUE(seams.Opened.empty());
}

TEST_F(SurveyWindow, CloseBoxReportsLikeTheButton) {
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    TSeamRecorder seams;
    TSurveyForm form(Args("u Tool", server.Host()));
    ShowAndFocus(form);
    form.SelectReason(2);
    // What the title bar's close box and Alt+F4 send.
    PostMessageA(form.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0, form.Run());
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_NE(std::string::npos, server.Requests()[0].find("reason=Resource+hungry&"));
}

TEST_F(SurveyWindow, ButtonClickClosesThroughTheCloseRequest) {
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    TSeamRecorder seams;
    TSurveyForm form(Args("u Tool", server.Host()));
    ShowAndFocus(form);
    SendMessageA(form.UninstallButton(), BM_CLICK, 0, 0);
    // The click only posts the close request.
    EXPECT_TRUE(IsWindow(form.Form()));
    EXPECT_EQ(0, form.Run());
    EXPECT_EQ(1u, server.Requests().size());
}

TEST(SurveyProgram, NoArgumentEndsAtOnceSendingNothing) {
    TLoopbackServer server({{TLoopbackServer::PlainAnswer("OK\r\n")}});
    SetEnvironmentVariableA("UNINSTALL_STATS_HOST", server.Host().c_str());
    // Never a real mail program, even if something went wrong.
    SetEnvironmentVariableA("WINEDLLOVERRIDES", "winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml=");
    for (const std::string arguments : {"", " \"\""}) {
        SCOPED_TRACE(arguments);
        std::string commandLine = "\"" VIREON_BUILD_DIR "/bin/Uninstall.exe\"" + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
        DWORD exitCode = 1234;
        GetExitCodeProcess(process.hProcess, &exitCode);
        EXPECT_EQ(0u, exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    EXPECT_EQ(0, server.Connections());
}
