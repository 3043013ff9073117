// Shows the shipped skin's three forms on screen for a while, with a menu bar on the main window:
// a quick look at the skin without the player.
// Usage: SkinPreview SKIN.skn [SECONDS] [muted|menu|popup]
#include "common/TextConversion.h"
#include "skin/SkinInterfaces.h"

#include <windows.h>

#include <string>
#include <utility>

using Microsoft::WRL::ComPtr;
using namespace vireon::skin;

namespace {

HWND MakeWindow(const wchar_t* title, int x, int y, int w, int h, HMENU menu) {
    return CreateWindowExW(0, L"SkinPreviewWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h,
                           nullptr, menu, GetModuleHandleW(nullptr), nullptr);
}

HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    const wchar_t* names[] = {L"&File", L"&Play", L"&DVD", L"&Tools", L"&Help"};
    for (const wchar_t* name : names) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"Open File...\tF3");
        AppendMenuW(sub, MF_STRING | MF_CHECKED, 101, L"Play/Pause\tCtrl+P");
        AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(sub, MF_STRING | MF_GRAYED, 102, L"No Chapters");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
    }
    return bar;
}

VOID CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

template <typename Interface> ComPtr<Interface> Find(ISkinForm* form, const wchar_t* name) {
    ComPtr<Interface> object;
    form->FindObject(name).As(&object);
    return object;
}

// The main window as it looks while a film plays.
void ShowSampleState(ISkinForm* form) {
    Find<ISkinStatic>(form, L"lbFilmCaption")->SetText(L"Sample Clip - Chapter 3");
    Find<ISkinStatic>(form, L"lbFilmElapsed")->SetText(L"00:12:41 / 00:42:10");
    Find<ISkinScrollBar>(form, L"sbPosition")->SetPos(4930);
    auto line = Find<ISkinStatic>(form, L"sbPositionLine");
    RECT r = line->GetRect();
    r.right = r.left + MulDiv(776, 4930, 16384);
    line->SetRect(r);
    Find<ISkinScrollBar>(form, L"sbVolume")->SetPos(3000);
    auto volumeLine = Find<ISkinStatic>(form, L"sbVolumeLine");
    r = volumeLine->GetRect();
    r.top = 7000 * (r.top - r.bottom) / 10000 + r.bottom;
    volumeLine->SetRect(r);
    Find<ISkinButton>(form, L"bnMenu")->SetDisabled(true);
}

HMENU MakeAudioMenu() {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING | MF_CHECKED | MFT_RADIOCHECK, 1, L"English (AC3 5.1)");
    AppendMenuW(popup, MF_STRING, 2, L"Deutsch (AC3 2.0)");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING | MF_GRAYED, 3, L"No Subtitles");
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 4, L"Chapter 1");
    AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Chapters");
    return popup;
}

// Runs the windows for a while; `popup`, when given, opens after a second.
void Run(ISkinForm* form, HMENU popup, int seconds) {
    constexpr UINT_PTR kPopupTimer = 7;
    if (popup)
        SetTimer(nullptr, kPopupTimer, 1000, nullptr);
    // An open menu runs its own loop; this ends it shortly before the preview does.
    SetTimer(nullptr, 0, (seconds - 1) * 1000, CloseMenus);
    UINT_PTR end = SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == end)
            break;
        if (msg.message == WM_TIMER && !msg.hwnd && popup && !msg.lParam) {
            KillTimer(nullptr, msg.wParam);
            form->PopupMenu(std::exchange(popup, nullptr), 330, 500);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SkinPreviewWindow";
    RegisterClassW(&wc);
    std::string path(argv[1]), mode(argc > 3 ? argv[3] : "");
    ComPtr<ISkin> skin = CreateSkin({});
    skin->LoadSkin(vireon::WideFromAnsi(path));
    HWND main = MakeWindow(L"Vireon", 10, 10, 800, 600, MakeMenu());
    HWND mini = MakeWindow(L"Mini", 0, 940, 1280, 72, nullptr);
    HWND about = MakeWindow(L"About", 860, 40, 348, 211, nullptr);
    skin->ApplySkin(main);
    skin->ApplySkinForm(mini, L"MiniControlForm");
    skin->ApplySkinForm(about, L"AboutDlg");
    SetWindowPos(mini, nullptr, 0, 1024 - 80, 1280, 72, SWP_NOZORDER);
    ComPtr<ISkinForm> form = skin->GetSkinForm(main);
    ShowSampleState(form.Get());
    if (mode == "muted")
        Find<ISkinVisual>(form.Get(), L"bnMuteOff")->SetVisible(true);
    if (mode == "menu")
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    Run(form.Get(), mode == "popup" ? MakeAudioMenu() : nullptr, argc > 2 ? atoi(argv[2]) : 5);
    return 0;
}
