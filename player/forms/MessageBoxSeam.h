// Every blocking message box of the player goes through this one function, so that tests can
// replace it and never block.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vireon {

// Same contract as MessageBoxA: owner window, text, caption, MB_ flags; answers the button id.
using TMessageBoxFunction = std::function<int(HWND, const std::string&, const std::string&, UINT)>;

int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags);

// Installs a replacement (an empty one restores the platform's box) and answers the previous one.
TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction Function);

// Replaces the message box for a scope, as tests do.
class TScopedMessageBox {
public:
    explicit TScopedMessageBox(TMessageBoxFunction Function)
        : FPrevious(SetMessageBoxFunction(std::move(Function))) {}
    TScopedMessageBox(const TScopedMessageBox&) = delete;
    TScopedMessageBox& operator=(const TScopedMessageBox&) = delete;
    ~TScopedMessageBox() { SetMessageBoxFunction(std::move(FPrevious)); }

private:
    TMessageBoxFunction FPrevious;
};

} // namespace vireon
