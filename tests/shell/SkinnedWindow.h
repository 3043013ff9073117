// A plain top-level window skinned with the shipped skin's main form, for tests of the shell's
// parts without the main window around them.
#pragma once

#include "skin/SkinInterfaces.h"
#include "support/MessagePump.h"

#include <windows.h>

namespace shelltest {

struct TSkinnedWindow {
    explicit TSkinnedWindow(DWORD Style, RECT Bounds) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = L"ShellSkinnedWindow";
        RegisterClassW(&wc);
        Window = CreateWindowExW(0, wc.lpszClassName, L"skinned", Style | WS_VISIBLE, Bounds.left, Bounds.top,
                                 Bounds.right - Bounds.left, Bounds.bottom - Bounds.top, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        Skin = vireon::skin::CreateSkin({});
        Skin->LoadSkin(L"" VIREON_BUILD_DIR "/bin/skins/DVDTest.skn");
        Skin->ApplySkinForm(Window, L"MainForm");
        Form = Skin->GetSkinForm(Window);
        testsupport::PumpMessages();
    }
    ~TSkinnedWindow() {
        Form.Reset();
        if (IsWindow(Window))
            DestroyWindow(Window);
    }
    TSkinnedWindow(const TSkinnedWindow&) = delete;
    TSkinnedWindow& operator=(const TSkinnedWindow&) = delete;

    HWND Window = nullptr;
    Microsoft::WRL::ComPtr<vireon::skin::ISkin> Skin;
    Microsoft::WRL::ComPtr<vireon::skin::ISkinForm> Form;
};

} // namespace shelltest
