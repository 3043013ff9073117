// Move-only owners for handles, GDI objects, menus, windows and COM initialisation.
// Every platform resource of the player is held by one of these.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>
#include <utility>

namespace vireon {

template <typename Traits> class UniqueResource {
public:
    using pointer = typename Traits::pointer;

    UniqueResource() noexcept : value_(Traits::invalid()) {}
    explicit UniqueResource(pointer value) noexcept : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(pointer value = Traits::invalid()) noexcept {
        pointer old = std::exchange(value_, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }

private:
    pointer value_;
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};
// CreateFile answers INVALID_HANDLE_VALUE on failure, not null.
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};
struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { FindClose(h); }
};
template <typename T> struct GdiObjectTraits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteObject(h); }
};
struct MemoryDCTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteDC(h); }
};
struct MenuTraits {
    using pointer = HMENU;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyMenu(h); }
};
struct WindowTraits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyWindow(h); }
};
struct IconTraits {
    using pointer = HICON;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyIcon(h); }
};
struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { FreeLibrary(h); }
};

struct HookTraits {
    using pointer = HHOOK;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { UnhookWindowsHookEx(h); }
};

struct LocalMemoryTraits {
    using pointer = HLOCAL;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { LocalFree(p); }
};

struct CoTaskMemTraits {
    using pointer = void*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { CoTaskMemFree(p); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;
using UniqueMemoryDC = UniqueResource<MemoryDCTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueHook = UniqueResource<HookTraits>;
// Memory the system allocates for the caller with LocalAlloc (FormatMessage's buffer).
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
// Memory the shell or COM hands over (item ID lists, strings).
using UniqueCoTaskMem = UniqueResource<CoTaskMemTraits>;

// A window's device context, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC for a scope and restores the previous one.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window timer, killed with its owner.
class UniqueTimer {
public:
    UniqueTimer() noexcept = default;
    UniqueTimer(HWND window, UINT_PTR id) noexcept : window_(window), id_(id) {}
    UniqueTimer(const UniqueTimer&) = delete;
    UniqueTimer& operator=(const UniqueTimer&) = delete;
    UniqueTimer(UniqueTimer&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), id_(std::exchange(other.id_, 0)) {}
    UniqueTimer& operator=(UniqueTimer&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    ~UniqueTimer() { reset(); }
    explicit operator bool() const noexcept { return id_ != 0; }
    UINT_PTR id() const noexcept { return id_; }
    void reset() noexcept {
        if (id_ != 0)
            KillTimer(window_, id_);
        window_ = nullptr;
        id_ = 0;
    }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

// A font file added for this process only, removed again with the owner. Empty when the file
// could not be added (missing, or no font the system can read).
class PrivateFontFile {
public:
    PrivateFontFile() noexcept = default;
    explicit PrivateFontFile(std::wstring path)
        : path_(std::move(path)), faces_(AddFontResourceExW(path_.c_str(), FR_PRIVATE, nullptr)) {}
    PrivateFontFile(const PrivateFontFile&) = delete;
    PrivateFontFile& operator=(const PrivateFontFile&) = delete;
    PrivateFontFile(PrivateFontFile&& other) noexcept
        : path_(std::move(other.path_)), faces_(std::exchange(other.faces_, 0)) {}
    PrivateFontFile& operator=(PrivateFontFile&& other) noexcept {
        if (this != &other) {
            reset();
            path_ = std::move(other.path_);
            faces_ = std::exchange(other.faces_, 0);
        }
        return *this;
    }
    ~PrivateFontFile() { reset(); }
    explicit operator bool() const noexcept { return faces_ != 0; }
    // How many faces the file added.
    int faces() const noexcept { return faces_; }
    void reset() noexcept {
        if (faces_ != 0)
            RemoveFontResourceExW(path_.c_str(), FR_PRIVATE, nullptr);
        faces_ = 0;
    }

private:
    std::wstring path_;
    int faces_ = 0;
};

// COM initialised on this thread for the owner's lifetime.
class ComInitialization {
public:
    explicit ComInitialization(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(CoInitializeEx(nullptr, model)) {}
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    ~ComInitialization() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

} // namespace vireon
