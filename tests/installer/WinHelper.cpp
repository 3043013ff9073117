// Test helper run under Wine beside the installer tests.
//   WinHelper windows CAPTION [SECONDS]
//     Waits for a visible top-level window with the caption, then prints, for every such window (a
//     dialog and its message box share one), its caption and the text of each child window, one per
//     line. Exit code 1 when none appeared in time.
//   WinHelper run COMMAND_LINE
//     Runs the command line exactly as given (Wine quotes arguments with blanks, which NSIS's /D=
//     does not accept), waits for the program and ends with its exit code.

#include <windows.h>
#include <shellapi.h>

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

int PrintWindows(const char* caption, int seconds) {
    for (int waited = 0; waited < seconds * 10; ++waited) {
        TSearch search{caption};
        EnumWindows(PrintMatching, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return 0;
        Sleep(100);
    }
    return 1;
}

int Run() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 3)
        return 2;
    std::wstring commandLine = arguments[2];
    LocalFree(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 2;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "windows" && argc > 2)
        return PrintWindows(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
    if (mode == "run" && argc > 2)
        return Run();
    std::fprintf(stderr, "usage: WinHelper windows CAPTION [SECONDS] | WinHelper run COMMAND_LINE\n");
    return 2;
}
