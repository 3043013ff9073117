// A frame: a panel with its own components and its own window, embedded in a form. Private
// messages posted to its window reach its message handlers (SetMessageHandler) or WndProc.
#pragma once

#include "forms/TWinControl.h"

namespace vireon {

class TFrame : public TWinControl {
public:
    explicit TFrame(TComponent* AOwner = nullptr);

    // Posts a message to the frame's window, to be handled after the current handler returns.
    void Post(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

protected:
    void CreateParams(TCreateParams& Params) override;
};

} // namespace vireon
