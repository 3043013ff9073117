// A timer that ticks on the user-interface thread while it is enabled.
#pragma once

#include "common/Win32Handles.h"
#include "forms/TComponent.h"

namespace vireon {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner = nullptr);
    ~TTimer() override;

    struct CreateArgs {
        std::string Name = {};
        UINT Interval = 1000;
        bool Enabled = true;
        TNotifyEvent OnTimer = {};
    };
    TTimer(TComponent* AOwner, const CreateArgs& Args);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds between ticks; 0 stops the timer like Enabled = false.
    UINT Interval() const { return FInterval; }
    void SetInterval(UINT Value);

    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    void Tick();

    bool FEnabled = true;
    UINT FInterval = 1000;
    UINT_PTR FId = 0;
    UniqueTimer FTimer;
};

} // namespace vireon
