#include "forms/LiveCounts.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TApplication.h"
#include "forms/TTimer.h"

#include "FormsTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace vireon;

using namespace vireon::testing;

TEST(Application, TimerTicksAndStops) {
    int ticks = 0;
    TTimer timer(nullptr, {.Interval = 10, .OnTimer = [&](TObject*) { ++ticks; }});
    EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    int stoppedAt = ticks;
    RunFor(150);
    EXPECT_EQ(stoppedAt, ticks);
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return ticks > stoppedAt; }));
}

TEST(Application, TimerLeavesNothingBehind) {
    int timers = LiveCounts().Timers;
    {
        TTimer timer(nullptr, {.Interval = 10});
        EXPECT_EQ(timers + 1, LiveCounts().Timers);
        timer.SetInterval(0);
        EXPECT_EQ(timers, LiveCounts().Timers);
        timer.SetInterval(50);
    }
    EXPECT_EQ(timers, LiveCounts().Timers);
}

TEST(Application, ExceptionInTimerTickReachesOnExceptionAndLoopGoesOn) {
    ExceptionLog log;
    int ticks = 0;
    TTimer timer(nullptr, {.Interval = 10, .OnTimer = [&](TObject*) {
                               if (++ticks == 1)
                                   throw std::runtime_error("tick failed");
                           }});
    EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));
    ASSERT_EQ(1u, log.Messages.size());
    EXPECT_EQ("tick failed", log.Messages[0]);
}

TEST(Application, WithoutHandlerExceptionIsShownInAMessageBox) {
    std::vector<std::string> shown;
    TScopedSeam box(MessageBoxSeam(), [&](HWND, const std::string& text, const std::string& caption, UINT flags) {
        shown.push_back(caption + ": " + text);
        EXPECT_EQ(static_cast<UINT>(MB_OK), flags & 0xF);
        return IDOK;
    });
    Application().HandleException(std::runtime_error("Bad thing"));
    Application().HandleException(std::runtime_error("Done."));
    EXPECT_EQ((std::vector<std::string>{"Error: Bad thing.", "Error: Done."}), shown);
}

TEST(Application, FailingExceptionHandlerFallsBackToTheStandardDisplay) {
    std::vector<std::string> shown;
    TScopedSeam box(MessageBoxSeam(), [&](HWND, const std::string& text, const std::string&, UINT) {
        shown.push_back(text);
        return IDOK;
    });
    Application().OnException = [](TObject*, const std::exception&) {
        throw std::runtime_error("handler broke");
    };
    Application().HandleException(std::runtime_error("first"));
    Application().OnException = nullptr;
    EXPECT_EQ((std::vector<std::string>{"handler broke."}), shown);
}

TEST(Application, OnMessageCanSwallowAQueuedMessage) {
    std::vector<UINT> seen;
    Application().OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_SYSCOMMAND && msg.wParam == SC_SCREENSAVE)
            handled = true;
        if (msg.message == WM_SYSCOMMAND || msg.message == WM_APP)
            seen.push_back(static_cast<UINT>(msg.wParam));
    };
    HWND window = Application().Handle();
    PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    PostMessageA(window, WM_APP, 7, 0);
    Application().ProcessMessages();
    Application().OnMessage = nullptr;
    EXPECT_EQ((std::vector<UINT>{SC_SCREENSAVE, 7}), seen);
}

TEST(Application, OnIdleRunsWhenTheQueueIsEmpty) {
    int idles = 0;
    Application().OnIdle = [&](TObject*, bool& done) {
        ++idles;
        done = true;
    };
    PostMessageA(Application().Handle(), WM_NULL, 0, 0);
    EXPECT_TRUE(RunUntil([&] { return idles > 0; }));
    Application().OnIdle = nullptr;
}

TEST(Application, TopMostWindowsAreNormalizedAndRestored) {
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "top", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    Application().NormalizeTopMosts();
    Application().NormalizeTopMosts();
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Application().RestoreTopMosts();
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Application().RestoreTopMosts();
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(window);
}
