// Program entry of the player. Until the skinned main window arrives, a plain window plays the
// file named on the command line through DirectShow, or says why it cannot.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "common/DirectShowUuids.h"
#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "forms/TApplication.h"

using Microsoft::WRL::ComPtr;

namespace {

struct Playback {
    ComPtr<IGraphBuilder> Graph;
    ComPtr<IVideoWindow> Video;
    std::string Status = "Vireon";
};

Playback* ThePlayback = nullptr;

// The first argument, without quotes.
std::string FirstArgument(const char* commandLine) {
    std::string line = commandLine ? commandLine : "";
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos)
        return {};
    if (line[start] == '"') {
        size_t end = line.find('"', start + 1);
        return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    return line.substr(start, line.find(' ', start) - start);
}

void FollowWindow(const Playback& playback, HWND window) {
    if (!playback.Video)
        return;
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    playback.Video->SetWindowPosition(client.left, client.top, client.right - client.left, client.bottom - client.top);
}

void Open(Playback& playback, HWND window, const std::string& fileName) {
    if (fileName.empty())
        return;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&playback.Graph));
    if (SUCCEEDED(hr))
        hr = playback.Graph->RenderFile(vireon::WideFromAnsi(fileName).c_str(), nullptr);
    if (FAILED(hr)) {
        playback.Graph.Reset();
        playback.Status = "The media \"" + fileName + "\" is not playable.";
        return;
    }
    if (SUCCEEDED(playback.Graph.As(&playback.Video))) {
        // Wine leaves a renderer window black when it is made a child of ours (it belongs to
        // another thread), so it stays a borderless popup placed over our client area.
        playback.Video->put_WindowStyle(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        playback.Video->put_MessageDrain(reinterpret_cast<OAHWND>(window));
        FollowWindow(playback, window);
        playback.Video->put_Visible(OATRUE);
    }
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(playback.Graph.As(&control)))
        control->Run();
}

void Close(Playback& playback) {
    ComPtr<IMediaControl> control;
    if (playback.Graph && SUCCEEDED(playback.Graph.As(&control)))
        control->Stop();
    if (playback.Video)
        playback.Video->put_Visible(OAFALSE);
    playback.Video.Reset();
    playback.Graph.Reset();
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    vireon::UniqueBrush background(CreateSolidBrush(RGB(24, 26, 30)));
    FillRect(dc, &client, background.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 210, 225));
    DrawTextA(dc, ThePlayback->Status.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_SIZE:
    case WM_MOVE:
        FollowWindow(*ThePlayback, window);
        return 0;
    case WM_DESTROY:
        Close(*ThePlayback);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    // The application's forms go before COM does.
    vireon::TApplicationScope scope;
    Playback playback;
    ThePlayback = &playback;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAINICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "TMainForm";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "TMainForm", "Vireon", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 660, 520, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);
    Open(playback, window, FirstArgument(commandLine));
    InvalidateRect(window, nullptr, TRUE);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
