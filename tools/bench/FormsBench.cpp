// Creating and showing a form with 50 menu items and 20 controls, against a bare Win32 program
// doing the same with plain windows and menus. Prints the median time of each per form.

#include "BenchTiming.h"

#include "forms/TApplication.h"
#include "forms/TButton.h"
#include "forms/TCheckBox.h"
#include "forms/TForm.h"
#include "forms/TLabel.h"
#include "forms/TMenu.h"
#include "forms/TSpeedButton.h"
#include "forms/TTrackBar.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vireon;
using benchtiming::Median;
using benchtiming::NowMs;

namespace {

constexpr int kMenus = 5;
constexpr int kItemsPerMenu = 9; // 5 menus + 45 items = 50 menu items
constexpr int kControls = 20;

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void BuildFrameworkForm() {
    auto* form = new TForm(nullptr);
    form->SetCaption("Benchmark");
    form->SetBounds(50, 50, 640, 480);
    auto* menu = new TMainMenu(form);
    for (int m = 0; m < kMenus; ++m) {
        TMenuItem* top = TMenuItem::Create(form, menu->Items(), {.Caption = "Menu " + std::to_string(m)});
        for (int i = 0; i < kItemsPerMenu; ++i)
            TMenuItem::Create(
                form, top, {.Caption = "Item " + std::to_string(i), .ShortCut = ShortCut('A' + i, ssCtrl)});
    }
    form->SetMenu(menu);
    for (int c = 0; c < kControls; ++c) {
        int x = 10 + (c % 4) * 150, y = 10 + (c / 4) * 60;
        switch (c % 5) {
        case 0:
            new TButton(form, {.Parent = form, .Caption = "Button", .Bounds = {x, y, x + 75, y + 25}});
            break;
        case 1:
            new TLabel(form, {.Parent = form, .Caption = "Label", .Bounds = {x, y, x + 100, y + 15}});
            break;
        case 2: {
            auto* track = new TTrackBar(form);
            track->SetBounds(x, y, 140, 30);
            track->SetParent(form);
            break;
        }
        case 3: {
            auto* check = new TCheckBox(form);
            check->SetBounds(x, y, 100, 17);
            check->SetParent(form);
            break;
        }
        default:
            new TSpeedButton(form, {.Parent = form, .Caption = "Speed", .Bounds = {x, y, x + 60, y + 22}});
            break;
        }
    }
    form->Show();
    form->Update();
    Application().ProcessMessages();
    form->Free();
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void BuildBareForm() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HMENU bar = CreateMenu();
    for (int m = 0; m < kMenus; ++m) {
        HMENU popup = CreatePopupMenu();
        for (int i = 0; i < kItemsPerMenu; ++i) {
            std::string text = "Item " + std::to_string(i) + "\tCtrl+" + static_cast<char>('A' + i);
            AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(100 + m * 10 + i), text.c_str());
        }
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), ("Menu " + std::to_string(m)).c_str());
    }
    HWND window = CreateWindowExA(0, "BareForm", "Benchmark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50,
                                  640, 480, nullptr, bar, instance, nullptr);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    static const char* const classes[] = {"BUTTON", "STATIC", TRACKBAR_CLASSA, "BUTTON", "BUTTON"};
    static const DWORD styles[] = {BS_PUSHBUTTON, SS_LEFT, TBS_AUTOTICKS, BS_CHECKBOX, BS_OWNERDRAW};
    for (int c = 0; c < kControls; ++c) {
        int x = 10 + (c % 4) * 150, y = 10 + (c / 4) * 60;
        HWND child = CreateWindowExA(0, classes[c % 5], "Control", WS_CHILD | WS_VISIBLE | styles[c % 5], x,
                                     y, 100, 25, window, nullptr, instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    PumpPending();
    DestroyWindow(window);
    DeleteObject(font);
}

template <typename Build> double TimeMs(Build build) {
    double start = NowMs();
    build();
    double elapsed = NowMs() - start;
    PumpPending();
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = "BareForm";
    RegisterClassA(&windowClass);
    Application().Initialize();
    // One of each first, so class registration and library loading are not measured.
    BuildBareForm();
    BuildFrameworkForm();
    // Taken in turns, so a busy machine slows both alike.
    std::vector<double> bare, framework;
    for (int i = 0; i < iterations; ++i) {
        bare.push_back(TimeMs(BuildBareForm));
        framework.push_back(TimeMs(BuildFrameworkForm));
    }
    std::printf("form with 50 menu items and 20 controls, created, shown and freed (median of %d):\n",
                iterations);
    std::printf("  framework: %.2f ms\n", Median(framework));
    std::printf("  bare Win32 baseline: %.2f ms\n", Median(bare));
    return 0;
}
