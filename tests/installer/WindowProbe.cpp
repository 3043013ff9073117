// Test helper run under Wine beside the installer tests: waits for a visible top-level window with
// the given caption, then prints, for every such window (a dialog and its message box share one),
// its caption and the text of each of its child windows, one per line.
// Usage: WindowProbe CAPTION [SECONDS]   (exit code 1 when no such window appeared in time)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The window's text without trailing blanks (some captions carry one).
std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    return trimmed;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    std::printf("%s\n", TextOf(child).c_str());
    return TRUE;
}

struct TSearch {
    const char* Caption;
    int Found = 0;
};

BOOL CALLBACK PrintMatching(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<TSearch*>(parameter);
    if (!IsWindowVisible(window) || TextOf(window) != search.Caption)
        return TRUE;
    ++search.Found;
    std::printf("%s\n", search.Caption);
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    for (int waited = 0; waited < seconds * 10; ++waited) {
        TSearch search{argv[1]};
        EnumWindows(PrintMatching, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return 0;
        Sleep(100);
    }
    return 1;
}
