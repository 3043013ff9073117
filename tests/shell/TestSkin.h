// The shipped skin on windows of the shell's tests: skins a window with one of the skin's forms and
// clicks its objects the way the mouse does.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace shelltest {

class TTestSkin {
public:
    TTestSkin();
    ~TTestSkin();
    TTestSkin(const TTestSkin&) = delete;
    TTestSkin& operator=(const TTestSkin&) = delete;

    void Apply(HWND Window, const std::wstring& Form);
    // True while the skin engine's subclass is on the window.
    bool IsSkinned(HWND Window) const;
    // Posts the mouse messages that move onto the named object of the window's skin form and click it.
    void Click(HWND Window, const std::wstring& Object);

    // The skin's click event, with the name of the object clicked.
    std::function<void(const std::wstring& Object)> OnClick;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace shelltest
