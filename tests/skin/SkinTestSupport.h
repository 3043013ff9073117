// Helpers shared by the skin tests: scratch files under the build folder, plain test windows.
#pragma once

#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <exception>
#include <fstream>
#include <string>

namespace skintest {

inline std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The message of a caught exception.
inline std::string What(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown";
    }
}

inline std::string ScratchDir() {
    std::string dir = VIREON_BUILD_DIR "/testenv/skin-tests";
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv", nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

inline std::wstring WriteScratch(const std::string& name, const std::string& content) {
    std::string path = ScratchDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return Wide(path);
}

inline std::wstring ShippedSkin() {
    return Wide(VIREON_BUILD_DIR "/bin/skins/DVDTest.skn");
}

// A plain top-level window like the forms library makes, destroyed with the owner.
class TestWindow {
public:
    explicit TestWindow(bool withMenu = false, int width = 400, int height = 300) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SkinTestWindow";
        RegisterClassW(&wc);
        HMENU menu = nullptr;
        if (withMenu) {
            menu = CreateMenu();
            HMENU file = CreatePopupMenu();
            AppendMenuW(file, MF_STRING, 100, L"Open File...\tF3");
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Help");
        }
        handle_ = CreateWindowExW(0, L"SkinTestWindow", L"test", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 100,
                                  100, width, height, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
    }
    ~TestWindow() {
        if (IsWindow(handle_))
            DestroyWindow(handle_);
    }
    HWND get() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

using testsupport::PumpMessages;

} // namespace skintest
