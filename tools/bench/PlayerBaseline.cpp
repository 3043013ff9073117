// The bare programs the player's start-up is measured against, under the same Wine:
//   PlayerBaseline window      opens one plain window titled "BareWindow" and runs until closed;
//   PlayerBaseline play FILE   plays FILE in a plain DirectShow graph and ends as soon as its
//                              position advances (exit code 0), or after 30 s (exit code 1).
#include <windows.h>
#include <dshow.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"BareWindow", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int RunPlay(const wchar_t* file) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int result = 1;
    IGraphBuilder* graph = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   reinterpret_cast<void**>(&graph)))) {
        IMediaControl* control = nullptr;
        IMediaSeeking* seeking = nullptr;
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
        if (control && seeking && SUCCEEDED(graph->RenderFile(file, nullptr)) && SUCCEEDED(control->Run())) {
            const DWORD start = GetTickCount();
            LONGLONG position = 0;
            while (GetTickCount() - start < 30000) {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&message);
                if (SUCCEEDED(seeking->GetCurrentPosition(&position)) && position > 0) {
                    result = 0;
                    break;
                }
                Sleep(5);
            }
            control->Stop();
        }
        if (seeking)
            seeking->Release();
        if (control)
            control->Release();
        graph->Release();
    }
    CoUninitialize();
    return result;
}

} // namespace

// A GUI program like the player, so that both start the same way.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int result = 2;
    if (argc >= 2 && std::wcscmp(argv[1], L"window") == 0)
        result = RunWindow();
    else if (argc >= 3 && std::wcscmp(argv[1], L"play") == 0)
        result = RunPlay(argv[2]);
    LocalFree(argv);
    return result;
}
