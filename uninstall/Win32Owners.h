// Move-only owners for the survey program's handles, sockets, GDI objects and the Winsock start-up.
// The survey program shares nothing with the player, so it keeps its own small set here.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <utility>

namespace uninstall {

template <typename Traits> class TUniqueResource {
public:
    using pointer = typename Traits::pointer;

    TUniqueResource() noexcept : value_(Traits::invalid()) {}
    explicit TUniqueResource(pointer value) noexcept : value_(value) {}
    TUniqueResource(const TUniqueResource&) = delete;
    TUniqueResource& operator=(const TUniqueResource&) = delete;
    TUniqueResource(TUniqueResource&& other) noexcept : value_(other.release()) {}
    TUniqueResource& operator=(TUniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~TUniqueResource() { reset(); }

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

struct TWindowTraits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyWindow(h); }
};
template <typename T> struct TGdiObjectTraits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteObject(h); }
};
struct TSocketTraits {
    using pointer = SOCKET;
    static pointer invalid() noexcept { return INVALID_SOCKET; }
    static void close(pointer h) noexcept { closesocket(h); }
};
struct TKernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};

using TUniqueWindow = TUniqueResource<TWindowTraits>;
using TUniqueFont = TUniqueResource<TGdiObjectTraits<HFONT>>;
using TUniqueBrush = TUniqueResource<TGdiObjectTraits<HBRUSH>>;
using TUniqueSocket = TUniqueResource<TSocketTraits>;
using TUniqueHandle = TUniqueResource<TKernelHandleTraits>;

// A device context borrowed from a window for measuring or drawing, given back on scope exit.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context and restores the previous one on scope exit.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// One per live socket object: the first starts Windows Sockets 1.1, the last stops it.
class TWinsockUser {
public:
    TWinsockUser() noexcept;
    TWinsockUser(const TWinsockUser&) = delete;
    TWinsockUser& operator=(const TWinsockUser&) = delete;
    ~TWinsockUser();

    static int LiveCount() noexcept;
};

} // namespace uninstall
