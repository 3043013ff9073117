// Times the skin engine: loading DVDTest.skn, skinning a new main window (its first full picture, as
// at the player's start-up), a full repaint of the main window at 800 x 600, and the repaint after
// the mouse moves from one button to another. Each figure is printed beside a bare
// baseline measured in the same run.
// Usage: SkinBench SKIN.skn
#include "common/TextConversion.h"
#include "TSkin.h"
#include "TSkinWindow.h"
#include "TgaImage.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

double Milliseconds(int rounds, const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    work(); // warm caches and glyph pictures
    QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i)
        work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart) / rounds;
}

void Report(const char* what, double value, const char* baselineName, double baseline, double target) {
    std::printf("%-34s %8.3f ms   (baseline %s: %.3f ms; target < %.0f ms)\n", what, value, baselineName,
                baseline, target);
}

HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinBenchWindow";
    RegisterClassW(&wc);
    HMENU menu = CreateMenu();
    for (const wchar_t* name : {L"&File", L"&Play", L"&DVD", L"&Tools", L"&Help"})
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), name);
    return CreateWindowExW(0, L"SkinBenchWindow", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                           menu, GetModuleHandleW(nullptr), nullptr);
}

LPARAM ClientPoint(const TSkinFormView& view, int x, int y) {
    RECT client = view.ClientRect();
    return MAKELPARAM(x - client.left, y - client.top);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SkinBench SKIN.skn\n");
        return 2;
    }
    const std::wstring path = vireon::WideFromAnsi(argv[1]);
    ComPtr<TSkin> skin = TSkin::Create();

    double load = Milliseconds(50, [&] { skin->LoadSkin(path); });
    double read = Milliseconds(50, [&] { ReadFileBytes(path, kMaxSkinFileSize); });
    Report("LoadSkin(DVDTest.skn)", load, "reading the file", read, 20);

    double apply = Milliseconds(20, [&] {
        HWND fresh = MakeWindow();
        skin->ApplySkin(fresh);
        DestroyWindow(fresh);
    });
    double bare = Milliseconds(20, [&] { DestroyWindow(MakeWindow()); });
    Report("ApplySkin on a new main window", apply, "making the window", bare, 20);

    HWND window = MakeWindow();
    skin->ApplySkin(window);
    TSkinWindow* record = skin->Find(window);
    TSkinFormView& view = record->View();
    RECT all{0, 0, view.Width(), view.Height()};
    double repaint = Milliseconds(100, [&] { record->Invalidate(all); });
    HDC memory = view.Surface().DC();
    double blit = Milliseconds(100, [&] {
        HDC dc = GetWindowDC(window);
        BitBlt(dc, 0, 0, view.Width(), view.Height(), memory, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
    });
    char label[64];
    std::snprintf(label, sizeof label, "full repaint of MainForm %dx%d", view.Width(), view.Height());
    Report(label, repaint, "bare blit", blit, 4);

    // bnStop and bnNext sit side by side: each move takes the hover from one to the other.
    bool left = false;
    double hover = Milliseconds(500, [&] {
        left = !left;
        SendMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(view, left ? 124 : 164, 558));
    });
    double idle =
        Milliseconds(500, [&] { SendMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(view, 600, 590)); });
    Report("hover repaint (one button to next)", hover, "mouse move without change", idle, 1);
    DestroyWindow(window);
    return 0;
}
