// Measures how long a GUI program takes to come up:
//   StartProbe TITLE PROGRAM [ARGS...]
// starts PROGRAM, waits for its visible top-level window titled TITLE, then for the program to be
// idle: it has answered a sent message (it reached its message loop after showing the window) and
// then waits for input with nothing queued, its first paint and anything it posted done. Prints
// "VISIBLE IDLE CPU": the milliseconds from the start to each, and the processor time the program
// used until idle (less disturbed by other work on the machine); then closes the window and ends.
// Exit code 1 when the window or the idle state does not come within 30 s.
#include "BenchTiming.h"
#include "ProcessWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kWaitMs = 30000;

HWND WaitVisibleWindow(DWORD processId, const wchar_t* title, HANDLE process, double start) {
    auto titled = [title](HWND window) {
        wchar_t text[256];
        return GetWindowTextW(window, text, 256) > 0 && wcscmp(text, title) == 0;
    };
    while (benchtiming::NowMs() - start < kWaitMs) {
        HWND found = benchwindow::FindProcessWindow(processId, titled);
        if (found || WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return found;
        Sleep(1);
    }
    return nullptr;
}

// The command line of the program to start: every argument after the title, quoted again.
std::wstring ChildCommandLine(int argc, LPWSTR* argv) {
    std::wstring line;
    for (int i = 2; i < argc; ++i) {
        if (!line.empty())
            line += L' ';
        line += L'"';
        line += argv[i];
        line += L'"';
    }
    return line;
}

// User and kernel time of the process so far, in milliseconds.
double ProcessorMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1;
    auto ms = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void CloseProgram(HWND window, HANDLE process) {
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: StartProbe TITLE PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    std::wstring commandLine = ChildCommandLine(argc, argv);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    const double start = benchtiming::NowMs();
    if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    HWND window = WaitVisibleWindow(child.dwProcessId, argv[1], child.hProcess, start);
    const double visible = benchtiming::NowMs() - start;
    bool idle = false;
    if (window) {
        DWORD_PTR result = 0;
        idle = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0 &&
               WaitForInputIdle(child.hProcess, kWaitMs) == 0;
    }
    const double ready = benchtiming::NowMs() - start;
    const double processor = ProcessorMs(child.hProcess);
    CloseProgram(window, child.hProcess);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    if (!idle)
        return 1;
    std::printf("%.0f %.0f %.0f\n", visible, ready, processor);
    return 0;
}
