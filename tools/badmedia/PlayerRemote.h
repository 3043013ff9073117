// The running player seen from another process, as a user sees it: its windows, its dialogs, its
// message boxes, whether it answers, and whether the picture in its video area moves.
#pragma once

#include "common/Win32Handles.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace vireon::badmedia {

// What happened on screen while the player was handled.
struct TSeen {
    std::vector<std::wstring> Messages; // message boxes and other dialogs, answered
    bool DialogStayed = false;          // the file dialog did not accept the path and was cancelled
};

class TPlayerRemote {
public:
    // Starts the player and waits for its main window.
    explicit TPlayerRemote(const std::wstring& Program);
    ~TPlayerRemote();
    TPlayerRemote(const TPlayerRemote&) = delete;
    TPlayerRemote& operator=(const TPlayerRemote&) = delete;

    bool Started() const { return FMain != nullptr; }
    bool Alive() const;
    // The longest answer to a window message since the last call, in ms; -1 when one took more
    // than the limit or was refused.
    long TakeSlowestAnswer();

    // Opens Path through the open-file dialog, or through the play-folder dialog.
    bool OpenFile(const std::wstring& Path, TSeen& Seen);
    bool OpenFolder(const std::wstring& Path, TSeen& Seen);
    // Answers what the player shows for up to Milliseconds; ends early once nothing is shown and
    // QuietMs have passed without a new dialog.
    void AnswerDialogs(DWORD Milliseconds, TSeen& Seen);
    // The picture moves: the video area changes between captures Changes times within Milliseconds.
    // Dialogs shown meanwhile are answered.
    bool PictureMoves(DWORD Milliseconds, TSeen& Seen, int Changes = 2);
    // Stops playback through the Play menu, so that a picture still moving is the case's own.
    void Stop();
    // Asks the player to close as a user does; false when it had to be ended.
    bool Close();

private:
    static DWORD WINAPI PingThread(void* Parameter);
    void Ping();
    void ChooseMenuItem(int Menu, int Item);
    HWND WaitWindow(bool (*Match)(HWND), DWORD Milliseconds, TSeen* Seen);
    bool EnterPath(HWND Dialog, const std::wstring& Path, TSeen& Seen);
    bool ChooseFolder(HWND Dialog, const std::wstring& Path);
    bool AnswerOneDialog(TSeen& Seen);
    std::vector<HWND> OwnWindows() const;
    std::vector<unsigned> CaptureVideoArea() const;

    UniqueHandle FProcess;
    DWORD FProcessId = 0;
    HWND FMain = nullptr;
    UniqueHandle FPinger;
    std::atomic<bool> FStop{false};
    std::atomic<long> FSlowest{0};
};

} // namespace vireon::badmedia
