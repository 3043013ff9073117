#include "forms/TTimer.h"

#include "forms/LiveCounts.h"
#include "forms/TApplication.h"

#include <stdexcept>

namespace vireon {

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FId = Application().AllocateTimerId([this] { Tick(); });
    UpdateTimer();
}

TTimer::TTimer(TComponent* AOwner, const CreateArgs& Args) : TTimer(AOwner) {
    SetName(Args.Name);
    OnTimer = Args.OnTimer;
    FInterval = Args.Interval;
    FEnabled = Args.Enabled;
    UpdateTimer();
}

TTimer::~TTimer() {
    if (FTimer)
        --LiveCounts().Timers;
    FTimer.reset();
    Application().FreeTimerId(FId);
}

void TTimer::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT Value) {
    if (FInterval == Value)
        return;
    FInterval = Value;
    UpdateTimer();
}

// Re-arming restarts the count, as users of a timer expect after changing its interval.
void TTimer::UpdateTimer() {
    if (FTimer)
        --LiveCounts().Timers;
    FTimer.reset();
    if (!FEnabled || FInterval == 0)
        return;
    HWND window = Application().Handle();
    if (!SetTimer(window, FId, FInterval, nullptr))
        throw std::runtime_error("Not enough timers available");
    FTimer = UniqueTimer(window, FId);
    ++LiveCounts().Timers;
}

void TTimer::Tick() {
    CallEvent(OnTimer, this);
}

} // namespace vireon
