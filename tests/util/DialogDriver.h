// Drives a modal dialog of this thread from inside its own modal loop: a thread timer finds the
// visible dialog and hands it to the test's steps, one step per tick; a step that answers false is
// tried again at the next tick. A dialog still open after some seconds is ended, so that a test never
// blocks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogDriver {
public:
    using Step = std::function<bool(HWND dialog)>;

    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, Tick);
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

    // Set when the dialog had to be ended by the driver.
    bool forced() const { return forced_; }
    std::string caption() const { return caption_; }

    static HWND FindDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // A key as the keyboard would send it to the focused control of the dialog.
    static Step Key(WPARAM key) {
        return [key](HWND dialog) {
            HWND focus = GetFocus();
            HWND target = focus && IsChild(dialog, focus) ? focus : dialog;
            PostMessageA(target, WM_KEYDOWN, key, 1);
            PostMessageA(target, WM_KEYUP, key, 0xC0000001);
            return true;
        };
    }
    static Step Click(int id) {
        return [id](HWND dialog) { return PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0) != FALSE; };
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM result) {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && std::string(name) == "#32770") {
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        if (!self)
            return;
        HWND dialog = FindDialog();
        if (!dialog)
            return;
        if (self->caption_.empty()) {
            char text[256] = {};
            GetWindowTextA(dialog, text, sizeof text);
            self->caption_ = text;
        }
        if (++self->ticks_ > 150) {
            self->forced_ = true;
            EndDialog(dialog, -2);
        } else if (self->next_ < self->steps_.size() && self->steps_[self->next_](dialog)) {
            ++self->next_;
        }
    }

    static inline DialogDriver* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    bool forced_ = false;
    std::string caption_;
    UINT_PTR timer_ = 0;
};
