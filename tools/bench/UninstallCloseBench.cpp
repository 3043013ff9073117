// Time from the survey window's close request to the end of the Uninstall process, with a statistics
// server on 127.0.0.1 that answers "OK" at once and closes, and with one that answers like a
// keep-alive HTTP/1.1 server (the length announced, no final line end, the connection left open),
// next to a bare window program measured the same way. With --before PATH an earlier build of
// Uninstall.exe is measured in the same run against both servers.
// Usage: BenchUninstallClose [runs] [--before PATH]   (BenchUninstallClose --bare is the baseline)

#include <winsock2.h>
#include <windows.h>

#include "ProcessWindow.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char BareClass[] = "BenchBareWindow";

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The baseline: a window that closes at once on the close request.
int RunBareWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = BareClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, BareClass, "Bare", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  324, 199, 430, 314, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// Answers every request with "OK" at once: a plain answer and a close, or a keep-alive answer after
// which the connection stays open until the client closes it (at most 15 s).
class TAnsweringServer {
public:
    explicit TAnsweringServer(bool keepAlive) : FKeepAlive(keepAlive) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        listen(FListener, 8);
        FThread = std::thread([this] { Serve(); });
    }
    ~TAnsweringServer() {
        FStop = true;
        FThread.join();
        closesocket(FListener);
        WSACleanup();
    }
    int Port() const { return FPort; }
    int Answered() const { return FAnswered; }

private:
    void Serve() {
        const std::string answer =
            FKeepAlive ? "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 2\r\n\r\nOK"
                       : "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nOK\r\n";
        while (!FStop) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(FListener, &set);
            timeval timeout{0, 50000};
            if (select(0, &set, nullptr, nullptr, &timeout) <= 0)
                continue;
            SOCKET client = accept(FListener, nullptr, nullptr);
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int received = recv(client, buffer, sizeof buffer, 0);
                if (received <= 0)
                    break;
                request.append(buffer, static_cast<size_t>(received));
            }
            send(client, answer.data(), static_cast<int>(answer.size()), 0);
            ++FAnswered;
            if (FKeepAlive)
                WaitForClientClose(client);
            closesocket(client);
        }
    }

    void WaitForClientClose(SOCKET client) {
        for (int waited = 0; waited < 15000 && !FStop; waited += 50) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(client, &set);
            timeval timeout{0, 50000};
            char buffer[512];
            if (select(0, &set, nullptr, nullptr, &timeout) > 0 &&
                recv(client, buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }

    bool FKeepAlive;
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FAnswered{0};
    std::thread FThread;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Starts the program, waits for its window, posts the close request and times until the process ends.
// Returns a negative value when the program could not be measured.
double MeasureClose(std::string commandLine, const char* className) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    auto ofClass = [className](HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return std::string(name) == className;
    };
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !window; ++i) {
        window = benchwindow::FindProcessWindow(process.dwProcessId, ofClass);
        if (!window)
            Sleep(10);
    }
    double elapsed = -1;
    if (window) {
        WaitForInputIdle(process.hProcess, 5000);
        Sleep(200);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
            QueryPerformanceCounter(&end);
            elapsed = Milliseconds(start, end);
        }
    }
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// A command line running fileName from this program's folder with the given arguments.
std::string CommandBeside(const char* fileName, const char* arguments) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command(1, '"');
    command.append(path);
    command.erase(command.find_last_of("\\/") + 1);
    command.append(fileName).append("\" ").append(arguments);
    return command;
}

struct TSeries {
    std::string Name;
    std::vector<double> Times;
    int Answered = 0;
};

// Runs of one Uninstall.exe against a server of each kind.
TSeries MeasureSurvey(const std::string& name, const std::string& commandLine, bool keepAlive, int runs) {
    TAnsweringServer server(keepAlive);
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    SetEnvironmentVariableA("UNINSTALL_STATS_HOST", host.c_str());
    TSeries series{name, {}, 0};
    for (int i = 0; i < runs; ++i)
        series.Times.push_back(MeasureClose(commandLine, "TSurveyForm"));
    series.Answered = server.Answered();
    return series;
}

bool Measured(const TSeries& series) {
    return std::all_of(series.Times.begin(), series.Times.end(), [](double v) { return v >= 0; });
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--bare")
        return RunBareWindow();
    int runs = 7;
    std::string before;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--before" && i + 1 < argc)
            before = argv[++i];
        else
            runs = std::max(1, std::atoi(argv[i]));
    }
    // No mail program may start, whatever happens.
    SetEnvironmentVariableA("WINEDLLOVERRIDES", "winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml=");
    const std::string survey = CommandBeside("Uninstall.exe", "Bench_Product");
    std::vector<TSeries> all;
    for (const bool keepAlive : {false, true}) {
        const std::string server = keepAlive ? "keep-alive server" : "closing server";
        all.push_back(MeasureSurvey("Uninstall.exe, " + server, survey, keepAlive, runs));
        if (!before.empty())
            all.push_back(
                MeasureSurvey("before, " + server, "\"" + before + "\" Bench_Product", keepAlive, runs));
    }
    TSeries bare{"bare window (base)", {}, runs};
    for (int i = 0; i < runs; ++i)
        bare.Times.push_back(MeasureClose(CommandBeside("BenchUninstallClose.exe", "--bare"), BareClass));
    std::printf(
        "close request to process end, median of %d runs (server on 127.0.0.1 answering \"OK\" at once; "
        "target under 200 ms):\n",
        runs);
    bool ok = Measured(bare);
    for (const TSeries& series : all) {
        std::printf("  %-36s %8.1f ms  (reports answered: %d of %d)\n", series.Name.c_str(),
                    Median(series.Times), series.Answered, runs);
        ok = ok && Measured(series) && series.Answered == runs;
    }
    std::printf("  %-36s %8.1f ms\n", bare.Name.c_str(), Median(bare.Times));
    return ok ? 0 : 1;
}
