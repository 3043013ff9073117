// Test helper run under Wine beside the installer tests: waits for a visible top-level window with
// the given caption and prints its caption, then the text of each child window, one per line.
// Usage: WindowProbe CAPTION [SECONDS]   (exit code 1 when no such window appeared in time)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    std::printf("%s\n", TextOf(child).c_str());
    return TRUE;
}

HWND WaitForWindow(const char* caption, int seconds) {
    for (int waited = 0; waited < seconds * 10; ++waited) {
        HWND window = FindWindowA(nullptr, caption);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(100);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    HWND window = WaitForWindow(argv[1], argc > 2 ? std::atoi(argv[2]) : 20);
    if (!window)
        return 1;
    std::printf("%s\n", TextOf(window).c_str());
    EnumChildWindows(window, PrintChild, 0);
    return 0;
}
