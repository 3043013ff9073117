#include "PlayerRemote.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace vireon::badmedia {
namespace {

constexpr DWORD kAnswerLimitMs = 2000;
constexpr int kOpenFileNameBox = 0x47c; // the file name combo box of the explorer-style dialog
constexpr int kOpenFileNameEdit = 0x480;
// Where the skin puts the video area in the main window (its left, top, width and height).
constexpr RECT kVideoArea{0, 52, 800, 450};
constexpr int kChangedPixels = 500;

std::wstring ClassOf(HWND Window) {
    wchar_t name[64] = {};
    GetClassNameW(Window, name, 64);
    return name;
}

std::wstring TextOf(HWND Window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsDialog(HWND Window) {
    return IsWindowVisible(Window) && ClassOf(Window) == L"#32770";
}

bool IsOpenDialog(HWND Window) {
    return IsDialog(Window) &&
           (GetDlgItem(Window, kOpenFileNameBox) || GetDlgItem(Window, kOpenFileNameEdit));
}

bool IsFolderDialog(HWND Window) {
    return IsDialog(Window) && TextOf(Window) == L"Play folder";
}

// The player's own modal forms that are not message boxes.
bool IsOwnModalForm(HWND Window) {
    return IsWindowVisible(Window) && TextOf(Window) == L"Insufficient decoders";
}

// A dialog with controls to type or pick in: a file or folder dialog, perhaps still being built.
bool HasInputControls(HWND Dialog) {
    for (HWND child = GetWindow(Dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring name = ClassOf(child);
        if (name == L"ComboBox" || name == L"Edit" || name == L"SysTreeView32" || name == L"#32770")
            return true;
    }
    return false;
}

bool IsAnswerable(HWND Window) {
    return (IsDialog(Window) && !HasInputControls(Window) && !IsOpenDialog(Window) &&
            !IsFolderDialog(Window)) ||
           IsOwnModalForm(Window);
}

// The longest static text of a dialog: a message box's message.
std::wstring MessageOf(HWND Dialog) {
    std::wstring longest;
    for (HWND child = GetWindow(Dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = TextOf(child);
        if (ClassOf(child) == L"Static" && text.size() > longest.size())
            longest = text;
    }
    return longest.empty() ? TextOf(Dialog) : longest;
}

void PressButton(HWND Dialog, int Id) {
    PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Dialog, Id)));
}

// Answers a dialog with its first button, or closes a form.
void Dismiss(HWND Window) {
    if (!IsDialog(Window)) {
        PostMessageW(Window, WM_CLOSE, 0, 0);
        return;
    }
    for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Button") {
            PressButton(Window, GetDlgCtrlID(child));
            return;
        }
    PressButton(Window, IDCANCEL);
}

void PostKey(HWND Window, WORD Key) {
    PostMessageW(Window, WM_KEYDOWN, Key, 1);
    PostMessageW(Window, WM_KEYUP, Key, 0xC0000001);
}

} // namespace

TPlayerRemote::TPlayerRemote(const std::wstring& Program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + Program + L"\"";
    if (!CreateProcessW(Program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    FProcess.reset(process.hProcess);
    CloseHandle(process.hThread);
    FProcessId = process.dwProcessId;
    FMain = WaitWindow(
        [](HWND Window) {
            return IsWindowVisible(Window) && TextOf(Window) == L"Vireon" && ClassOf(Window) != L"#32770";
        },
        30000, nullptr);
    if (FMain)
        FPinger.reset(CreateThread(nullptr, 0, PingThread, this, 0, nullptr));
}

TPlayerRemote::~TPlayerRemote() {
    FStop = true;
    if (FPinger)
        WaitForSingleObject(FPinger.get(), INFINITE);
    if (Alive())
        TerminateProcess(FProcess.get(), 1);
}

bool TPlayerRemote::Alive() const {
    return FProcess && WaitForSingleObject(FProcess.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI TPlayerRemote::PingThread(void* Parameter) {
    static_cast<TPlayerRemote*>(Parameter)->Ping();
    return 0;
}

// Every 100 ms the main window is asked for an answer; the slowest is kept.
void TPlayerRemote::Ping() {
    while (!FStop) {
        DWORD start = GetTickCount();
        DWORD_PTR result = 0;
        bool answered = SendMessageTimeoutW(FMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &result);
        long took = static_cast<long>(GetTickCount() - start);
        if (!answered && Alive())
            FSlowest = -1;
        else if (FSlowest >= 0 && took > FSlowest)
            FSlowest = took;
        Sleep(100);
    }
}

long TPlayerRemote::TakeSlowestAnswer() {
    return FSlowest.exchange(0);
}

namespace {

struct TWindowSearch {
    DWORD Process;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND Window, LPARAM Data) {
    auto* search = reinterpret_cast<TWindowSearch*>(Data);
    DWORD process = 0;
    GetWindowThreadProcessId(Window, &process);
    if (process == search->Process)
        search->Found.push_back(Window);
    return TRUE;
}

} // namespace

std::vector<HWND> TPlayerRemote::OwnWindows() const {
    TWindowSearch search{FProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Waits for a window of the player that Match accepts, answering message boxes meanwhile when
// Seen is given.
HWND TPlayerRemote::WaitWindow(bool (*Match)(HWND), DWORD Milliseconds, TSeen* Seen) {
    DWORD start = GetTickCount();
    do {
        for (HWND window : OwnWindows())
            if (Match(window))
                return window;
        if (Seen)
            AnswerOneDialog(*Seen);
        Sleep(50);
    } while (GetTickCount() - start < Milliseconds && Alive());
    return nullptr;
}

bool TPlayerRemote::AnswerOneDialog(TSeen& Seen) {
    for (HWND window : OwnWindows())
        if (IsAnswerable(window)) {
            std::wstring message = MessageOf(window);
            // A box answered is gone before the next look; one still there was asked already.
            if (Seen.Messages.empty() || Seen.Messages.back() != message)
                Seen.Messages.push_back(message);
            Dismiss(window);
            Sleep(100);
            return true;
        }
    return false;
}

void TPlayerRemote::AnswerDialogs(DWORD Milliseconds, TSeen& Seen) {
    constexpr DWORD kQuietMs = 1200;
    DWORD start = GetTickCount(), lastShown = start;
    while (GetTickCount() - start < Milliseconds && Alive()) {
        if (AnswerOneDialog(Seen))
            lastShown = GetTickCount();
        else if (!Seen.Messages.empty() && GetTickCount() - lastShown > kQuietMs)
            return;
        Sleep(50);
    }
}

// A menu of the menu bar through the keyboard, as a user opens it with Alt: the first menu is
// selected, and a menu's first item when it drops down. Unlike a shortcut, this works whichever
// window of the player is active.
void TPlayerRemote::ChooseMenuItem(int Menu, int Item) {
    PostMessageW(FMain, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int i = 0; i < Menu; ++i)
        PostKey(FMain, VK_RIGHT);
    for (int i = 0; i <= Item; ++i)
        PostKey(FMain, VK_DOWN);
    PostKey(FMain, VK_RETURN);
}

void TPlayerRemote::Stop() {
    ChooseMenuItem(1, 1); // Play, "Stop"
    TSeen ignored;
    AnswerDialogs(300, ignored);
}

bool TPlayerRemote::OpenFile(const std::wstring& Path, TSeen& Seen) {
    ChooseMenuItem(0, 0); // File, "Open File..."
    HWND dialog = WaitWindow(IsOpenDialog, 10000, &Seen);
    return dialog && EnterPath(dialog, Path, Seen);
}

// Types the path into the file name box and presses Open; a dialog that stays is cancelled.
bool TPlayerRemote::EnterPath(HWND Dialog, const std::wstring& Path, TSeen& Seen) {
    HWND box = GetDlgItem(Dialog, kOpenFileNameBox);
    if (!box)
        box = GetDlgItem(Dialog, kOpenFileNameEdit);
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Path.c_str()), SMTO_ABORTIFHUNG,
                        kAnswerLimitMs, nullptr);
    PressButton(Dialog, IDOK);
    DWORD start = GetTickCount();
    while (IsWindow(Dialog) && IsWindowVisible(Dialog) && GetTickCount() - start < 3000) {
        // The dialog's own complaints (a name it cannot find) are message boxes of the player too.
        AnswerOneDialog(Seen);
        Sleep(50);
    }
    if (!IsWindow(Dialog) || !IsWindowVisible(Dialog))
        return true;
    Seen.DialogStayed = true;
    PressButton(Dialog, IDCANCEL);
    return false;
}

bool TPlayerRemote::OpenFolder(const std::wstring& Path, TSeen& Seen) {
    ChooseMenuItem(0, 2); // File, "Play Folder..."
    HWND dialog = WaitWindow(IsFolderDialog, 10000, &Seen);
    return dialog && ChooseFolder(dialog, Path);
}

// The browser takes its selection as a path in the player's memory.
bool TPlayerRemote::ChooseFolder(HWND Dialog, const std::wstring& Path) {
    int size = WideCharToMultiByte(CP_ACP, 0, Path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, Path.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    void* remote = VirtualAllocEx(FProcess.get(), nullptr, ansi.size(), MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return false;
    bool written = WriteProcessMemory(FProcess.get(), remote, ansi.data(), ansi.size(), nullptr);
    if (written)
        SendMessageTimeoutW(Dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG, kAnswerLimitMs, nullptr);
    PressButton(Dialog, written ? IDOK : IDCANCEL);
    DWORD start = GetTickCount();
    while (IsWindow(Dialog) && GetTickCount() - start < 3000)
        Sleep(50);
    VirtualFreeEx(FProcess.get(), remote, 0, MEM_RELEASE);
    return written;
}

std::vector<unsigned> TPlayerRemote::CaptureVideoArea() const {
    RECT window{};
    GetWindowRect(FMain, &window);
    const int width = kVideoArea.right, height = kVideoArea.bottom;
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    std::vector<unsigned> pixels(static_cast<size_t>(width) * height);
    {
        SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), window.left + kVideoArea.left,
               window.top + kVideoArea.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

bool TPlayerRemote::PictureMoves(DWORD Milliseconds, TSeen& Seen, int Changes) {
    std::vector<unsigned> previous = CaptureVideoArea();
    DWORD start = GetTickCount();
    int seen = 0;
    while (seen < Changes && GetTickCount() - start < Milliseconds && Alive()) {
        Sleep(150);
        // A box coming or going over the video is no movement of the picture.
        if (AnswerOneDialog(Seen)) {
            Sleep(200);
            previous = CaptureVideoArea();
            seen = 0;
            continue;
        }
        std::vector<unsigned> now = CaptureVideoArea();
        size_t differing = 0;
        for (size_t i = 0; i < now.size(); ++i)
            differing += (now[i] & 0xFFFFFF) != (previous[i] & 0xFFFFFF);
        if (differing > kChangedPixels) {
            ++seen;
            previous = std::move(now);
        }
    }
    return seen >= Changes;
}

bool TPlayerRemote::Close() {
    if (!Alive())
        return false;
    PostMessageW(FMain, WM_CLOSE, 0, 0);
    TSeen ignored;
    DWORD start = GetTickCount();
    while (Alive() && GetTickCount() - start < 10000) {
        AnswerOneDialog(ignored);
        Sleep(100);
    }
    return !Alive();
}

} // namespace vireon::badmedia
