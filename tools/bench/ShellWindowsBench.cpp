// The shell's own windows under Wine: the roll-up animation's ticks at its 3 ms interval (mean
// interval and steps that moved other than 4 pixels) against a bare 3 ms timer on a plain window,
// and opening the colour window (first and repeated) against creating and showing a bare window
// with the same controls. Prints each figure next to its baseline.
// Usage: ShellWindowsBench [ROUNDS]

#include "BenchTiming.h"

#include "shell/TColorControlForm.h"
#include "shell/TCustomRollUpForm.h"

#include "engine/TVideoWindow.h"
#include "forms/TApplication.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vireon;
using benchtiming::Median;
using benchtiming::NowMs;

namespace {

struct TTickLog {
    std::vector<double> Times;
    std::vector<int> Tops;
};

double MeanInterval(const std::vector<double>& Times) {
    return Times.size() < 2 ? 0 : (Times.back() - Times.front()) / double(Times.size() - 1);
}

// The roll-up window rolling up once, every tick logged with the window's top edge.
TTickLog RollUpTicks() {
    TTickLog log;
    auto* form = new TCustomRollUpForm(&Application(), nullptr, "RollUpBench");
    TNotifyEvent tick = form->Timer->OnTimer;
    form->Timer->OnTimer = [&, tick](TObject* Sender) {
        tick(Sender);
        log.Times.push_back(NowMs());
        log.Tops.push_back(form->Top());
    };
    form->RollUp();
    while (!form->Finished())
        Application().HandleMessage();
    FreeComponent(form);
    return log;
}

LRESULT CALLBACK BareProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return DefWindowProcA(Window, Msg, WParam, LParam);
}

HWND BareWindow(int Width, int Height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ShellBenchBare";
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_TOPMOST, "ShellBenchBare", "", WS_POPUP, 0, 0, Width, Height, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// A plain popup moved 4 pixels on every tick of a bare 3 ms timer, as many ticks as the roll-up took.
std::vector<double> BareTicks(size_t Count) {
    HWND window = BareWindow(287, 177);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    std::vector<double> times;
    SetTimer(window, 1, 3, nullptr);
    int top = GetSystemMetrics(SM_CYSCREEN);
    MSG msg;
    while (times.size() < Count && GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && msg.hwnd == window) {
            top -= 4;
            SetWindowPos(window, nullptr, 0, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            times.push_back(NowMs());
        }
        DispatchMessageA(&msg);
    }
    KillTimer(window, 1);
    DestroyWindow(window);
    return times;
}

void BareColourWindow() {
    HWND window = BareWindow(166, 226);
    const char* labels[] = {"Brightness", "Contrast", "Hue", "Saturation"};
    for (int i = 0; i < 4; ++i) {
        CreateWindowExA(0, "STATIC", labels[i], WS_CHILD | WS_VISIBLE, 8, 8 + 40 * i, 150, 14, window,
                        nullptr, nullptr, nullptr);
        HWND bar = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, 8,
                                   22 + 40 * i, 150, 26, window, nullptr, nullptr, nullptr);
        SendMessageA(bar, TBM_SETRANGEMAX, FALSE, 10000);
        SendMessageA(bar, TBM_SETTICFREQ, 1000, 0);
        SendMessageA(bar, TBM_SETPOS, TRUE, 750);
    }
    CreateWindowExA(0, "BUTTON", "Utilized colors", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8, 172, 150, 17,
                    window, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "Reset to Default", WS_CHILD | WS_VISIBLE, 8, 194, 150, 22, window, nullptr,
                    nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    DestroyWindow(window);
}

void RollUpFigures(int Rounds) {
    std::vector<double> ours, bare;
    int uneven = 0;
    size_t ticks = 0;
    for (int round = 0; round < Rounds; ++round) {
        TTickLog log = RollUpTicks();
        ticks = log.Times.size();
        for (size_t i = 1; i + 1 < log.Tops.size(); ++i)
            uneven += log.Tops[i - 1] - log.Tops[i] != 4;
        ours.push_back(MeanInterval(log.Times));
        bare.push_back(MeanInterval(BareTicks(ticks)));
    }
    std::printf("roll-up (177 px, %zu ticks): mean tick interval %.2f ms, steps other than 4 px: %d; "
                "bare 3 ms timer: %.2f ms\n",
                ticks, Median(ours), uneven, Median(bare));
}

void ColourWindowFigures(int Rounds) {
    std::vector<double> first, again, bare;
    for (int round = 0; round < Rounds; ++round) {
        auto* host = new TForm(&Application());
        host->SetBounds(100, 100, 640, 480);
        auto* video = new TVideoWindow(host);
        video->SetBounds(0, 0, 640, 360);
        video->SetParent(host);
        host->Show();
        double start = NowMs();
        ShowColorControl(video);
        UpdateWindow(ColorControlForm->Handle());
        first.push_back(NowMs() - start);
        ColorControlForm->Hide();
        start = NowMs();
        ShowColorControl(video);
        UpdateWindow(ColorControlForm->Handle());
        again.push_back(NowMs() - start);
        FreeComponent(ColorControlForm);
        FreeComponent(host);
        start = NowMs();
        BareColourWindow();
        bare.push_back(NowMs() - start);
    }
    std::printf("colour window: first open %.2f ms, open again %.2f ms; bare window with the same controls: "
                "%.2f ms\n",
                Median(first), Median(again), Median(bare));
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    TApplicationScope scope;
    Application().Initialize();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RollUpFigures(rounds);
    ColourWindowFigures(rounds);
    return 0;
}
