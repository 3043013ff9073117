// Running the thread's message queue in tests that have no framework loop: graph notifications,
// skin windows, renderer windows.
#pragma once

#include <windows.h>

namespace testsupport {

// Dispatches every message queued for the thread, then returns.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Dispatches messages until the condition holds or the time is up; answers the condition.
template <typename Condition> bool PumpUntil(const Condition& Done, DWORD TimeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!Done() && GetTickCount() - start < TimeoutMs) {
        PumpMessages();
        Sleep(5);
    }
    return Done();
}

// Dispatches messages for the given time.
inline void PumpMessagesFor(DWORD Milliseconds) {
    PumpUntil([] { return false; }, Milliseconds);
}

} // namespace testsupport
