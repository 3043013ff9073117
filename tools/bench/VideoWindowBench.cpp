// Painting the video area of a 1920 x 1080 video window (off-screen bitmap, one blit), against a
// bare Win32 window doing the same fill and blit. Prints the median time of each.

#include "BenchTiming.h"

#include "engine/TVideoWindow.h"

#include "forms/TApplication.h"
#include "forms/TForm.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vireon;
using benchtiming::Median;
using benchtiming::NowMs;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BarePaint(HWND window) {
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(25, 80, 108));
    RECT client{0, 0, kWidth, kHeight};
    FillRect(memory, &client, brush);
    BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    Application().Initialize();
    TForm form;
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, kWidth, kHeight);
    auto* video = new TVideoWindow(&form);
    video->SetColor(RGB(25, 80, 108));
    video->SetAlign(alClient);
    video->SetParent(&form);
    form.Show();
    HWND bare = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    Application().ProcessMessages();

    std::vector<double> framework, baseline;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        video->PaintVideoArea();
        GdiFlush();
        framework.push_back(NowMs() - start);
        start = NowMs();
        BarePaint(bare);
        GdiFlush();
        baseline.push_back(NowMs() - start);
    }
    std::printf("PaintVideoArea of a %d x %d video window (median of %d):\n", kWidth, kHeight, runs);
    std::printf("  video window: %.3f ms\n", Median(framework));
    std::printf("  bare Win32 baseline: %.3f ms\n", Median(baseline));
    DestroyWindow(bare);
    return 0;
}
