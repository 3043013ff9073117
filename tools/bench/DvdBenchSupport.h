// What the DVD benchmarks share: a message pump with a deadline and the median of the rounds.
#pragma once

#include "BenchTiming.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace dvdbench {

using Clock = std::chrono::steady_clock;

// Pumps messages until Done answers true; false after 10 s.
inline bool PumpUntil(const std::function<bool()>& Done) {
    auto Start = Clock::now();
    while (Clock::now() - Start < std::chrono::seconds(10)) {
        MSG Message;
        while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&Message);
        if (Done())
            return true;
        Sleep(1);
    }
    return false;
}

using benchtiming::Median;

} // namespace dvdbench
