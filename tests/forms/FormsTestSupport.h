// Helpers of the window framework's tests: running the message loop for a while and collecting the
// exceptions that reach the application.
#pragma once

#include "forms/TApplication.h"
#include "forms/TTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vireon::testing {

// Runs the application's loop until the condition holds or the time is up; answers the condition.
template <typename Condition> bool RunUntil(Condition condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    // A ticking timer keeps HandleMessage from waiting for ever on an empty queue.
    TTimer wake(nullptr, {.Interval = 20});
    while (!condition() && GetTickCount() - start < timeoutMs)
        Application().HandleMessage();
    return condition();
}

inline void RunFor(DWORD ms) {
    RunUntil([] { return false; }, ms);
}

// Collects what reaches Application().OnException while it lives.
struct ExceptionLog {
    std::vector<std::string> Messages;
    ExceptionLog() {
        Application().OnException = [this](TObject*, const std::exception& e) {
            Messages.push_back(e.what());
        };
    }
    ~ExceptionLog() { Application().OnException = nullptr; }
    ExceptionLog(const ExceptionLog&) = delete;
    ExceptionLog& operator=(const ExceptionLog&) = delete;
};

} // namespace vireon::testing
