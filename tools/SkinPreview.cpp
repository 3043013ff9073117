// Shows the shipped skin's three forms on screen for a while, with a menu bar on the main window:
// a quick look at the skin without the player.
// Usage: SkinPreview SKIN.skn [SECONDS] [muted|menu|popup]
#include "skin/TSkin.h"

#include <windows.h>

#include <string>

using Microsoft::WRL::ComPtr;
using namespace vireon;

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
    std::string path(argv[1]);
    ComPtr<TSkin> skin = TSkin::Create();
    skin->LoadSkin(std::wstring(path.begin(), path.end()));
    HWND main = MakeWindow(L"Vireon", 10, 10, 800, 600, MakeMenu());
    HWND mini = MakeWindow(L"Mini", 0, 940, 1280, 72, nullptr);
    HWND about = MakeWindow(L"About", 860, 40, 348, 211, nullptr);
    skin->ApplySkin(main);
    skin->ApplySkinForm(mini, L"MiniControlForm");
    skin->ApplySkinForm(about, L"AboutDlg");
    SetWindowPos(mini, nullptr, 0, 1024 - 80, 1280, 72, SWP_NOZORDER);
    ComPtr<ISkinForm> form = skin->GetSkinForm(main);
    ComPtr<ISkinStatic> caption, elapsed, line;
    form->FindObject(L"lbFilmCaption").As(&caption);
    form->FindObject(L"lbFilmElapsed").As(&elapsed);
    caption->SetText(L"Sample Clip - Chapter 3");
    elapsed->SetText(L"00:12:41 / 00:42:10");
    ComPtr<ISkinScrollBar> position, volume;
    form->FindObject(L"sbPosition").As(&position);
    position->SetPos(4930);
    form->FindObject(L"sbPositionLine").As(&line);
    RECT r = line->GetRect();
    r.right = r.left + MulDiv(776, 4930, 16384);
    line->SetRect(r);
    form->FindObject(L"sbVolume").As(&volume);
    volume->SetPos(3000);
    ComPtr<ISkinStatic> volumeLine;
    form->FindObject(L"sbVolumeLine").As(&volumeLine);
    r = volumeLine->GetRect();
    r.top = 7000 * (r.top - r.bottom) / 10000 + r.bottom;
    volumeLine->SetRect(r);
    ComPtr<ISkinButton> menuButton;
    form->FindObject(L"bnMenu").As(&menuButton);
    menuButton->SetDisabled(true);
    if (argc > 3 && std::string(argv[3]) == "muted") {
        ComPtr<ISkinVisual> muteOff;
        form->FindObject(L"bnMuteOff").As(&muteOff);
        muteOff->SetVisible(true);
    }
    if (argc > 3 && std::string(argv[3]) == "menu")
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    if (argc > 3 && std::string(argv[3]) == "popup") {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING | MF_CHECKED | MFT_RADIOCHECK, 1, L"English (AC3 5.1)");
        AppendMenuW(popup, MF_STRING, 2, L"Deutsch (AC3 2.0)");
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup, MF_STRING | MF_GRAYED, 3, L"No Subtitles");
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 4, L"Chapter 1");
        AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Chapters");
        SetTimer(main, 7, 1000, nullptr);
        SetWindowLongPtrW(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(popup));
    }
    int seconds = argc > 2 ? atoi(argv[2]) : 5;
    // An open menu runs its own loop; this ends it shortly before the preview does.
    SetTimer(nullptr, 0, (seconds - 1) * 1000, CloseMenus);
    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        if (msg.message == WM_TIMER && msg.wParam == 7) {
            KillTimer(main, 7);
            form->PopupMenu(reinterpret_cast<HMENU>(GetWindowLongPtrW(main, GWLP_USERDATA)), 330, 500);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
