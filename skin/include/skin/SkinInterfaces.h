// The skin engine's public face: the control (ISkin) with its events, its image object (ISkinImage),
// the objects of a skin form, and the functions that create the control and the image. They are
// COM-style interfaces held in Microsoft::WRL::ComPtr; a failing call throws ESkinError. Strings
// are wide.
#pragma once

#include "skin/SkinError.h"

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace vireon::skin {

// Width of the frame parts around a skinned window's client area, in pixels.
struct TSkinFrame {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

struct ISkinForm;

struct ISkinObject : public IUnknown {
    virtual std::wstring GetName() = 0;
    // The skin form holding the object (a form answers itself).
    virtual Microsoft::WRL::ComPtr<ISkinForm> GetForm() = 0;
    // The object of that name in the same form, ignoring case; null when there is none.
    virtual Microsoft::WRL::ComPtr<ISkinObject> FindObject(const std::wstring& name) = 0;
};

struct ISkinForm : public ISkinObject {
    virtual TSkinFrame GetFrame() = 0;
    // Shows the menu in the skin's style at screen (x, y) until it closes; the chosen item arrives at
    // the window as WM_COMMAND.
    virtual void PopupMenu(HMENU menu, int x, int y) = 0;
};

struct ISkinVisual : public ISkinObject {
    // Rectangles are in skin-form pixels: the window's top-left corner is (0, 0).
    virtual RECT GetRect() = 0;
    virtual void SetRect(const RECT& rect) = 0;
    virtual void SetVisible(bool visible) = 0;
    // 1 when the screen point lies on the visible object, else 0.
    virtual int HitTest(int x, int y) = 0;
    // The object's rectangle relative to the top-left corner of `origin`.
    virtual RECT GetRectRelative(ISkinObject* origin) = 0;
};

struct ISkinScrollBar : public ISkinVisual {
    virtual void SetMax(int max) = 0;
    virtual int GetPos() = 0;
    virtual void SetPos(int pos) = 0;
    virtual int GetStep() = 0;
};

struct ISkinStatic : public ISkinVisual {
    virtual void SetText(const std::wstring& text) = 0;
};

struct ISkinButton : public ISkinVisual {
    virtual void SetDisabled(bool disabled) = 0;
};

struct ISkin;

// Events of the skin control, raised for every skinned window; Source is the object concerned.
enum class TSkinMouseButton { mbLeft, mbRight, mbMiddle };
using TSkinEvent = std::function<void(ISkin* Sender, ISkinObject* Source)>;
using TSkinMouseEvent =
    std::function<void(ISkin* Sender, ISkinObject* Source, TSkinMouseButton Button, int X, int Y)>;
using TSkinScrollEvent = std::function<void(ISkin* Sender, ISkinObject* Source, int NewPos)>;
// Where an exception thrown by an event handler goes: it cannot cross a window procedure.
using TSkinExceptionEvent = std::function<void(std::exception_ptr error)>;

struct TSkinEvents {
    TSkinEvent OnClick;
    TSkinMouseEvent OnMouseDown;
    TSkinEvent OnMouseIn;
    TSkinEvent OnMouseOut;
    TSkinScrollEvent OnScroll;
    // Unassigned, handler exceptions are only reported to the debugger output.
    TSkinExceptionEvent OnHandlerException;
};

struct ISkin : public IUnknown {
    // Parses and checks the whole file first: on an error the skin loaded before stays in use.
    virtual void LoadSkin(const std::wstring& path) = 0;
    virtual void ApplySkin(HWND window) = 0;
    virtual void ApplySkinForm(HWND window, const std::wstring& formName) = 0;
    virtual Microsoft::WRL::ComPtr<ISkinForm> GetSkinForm(HWND window) = 0;
    virtual TSkinEvents& Events() = 0;
};

// Premultiplied 32-bit image. Colours are 0xAARRGGBB with straight alpha.
struct ISkinImage : public IUnknown {
    virtual void CreateImage(int width, int height) = 0;
    virtual void LoadFromFile(const std::wstring& path) = 0;
    virtual SIZE GetSize() = 0;
    virtual void FillRect(const RECT& rect, DWORD colour) = 0;
    // Blends `source`, from `origin` on, over `rect` of this image by the source's alpha.
    virtual void BlendImage(const RECT& rect, POINT origin, ISkinImage* source) = 0;
    // Draws the image, scaled to `rect`, onto the device context by its alpha.
    virtual void DrawTo(HDC dc, const RECT& rect) = 0;
};

// A new skin control. `onHandlerException` receives what the event handlers throw; the program
// passes its application's exception handler here, so that nothing a handler throws is lost.
Microsoft::WRL::ComPtr<ISkin> CreateSkin(TSkinExceptionEvent onHandlerException);
// A new, empty image object.
Microsoft::WRL::ComPtr<ISkinImage> CreateSkinImage();

} // namespace vireon::skin

__CRT_UUID_DECL(vireon::skin::ISkinObject, 0xfb349693, 0x43fc, 0x4bb4, 0x98, 0x08, 0x44, 0x20, 0xd5, 0x96,
                0x6d, 0x0e)
__CRT_UUID_DECL(vireon::skin::ISkinForm, 0x2105ee16, 0xda22, 0x4613, 0x9f, 0x71, 0xcf, 0xb7, 0xd0, 0x84, 0xbc,
                0xfa)
__CRT_UUID_DECL(vireon::skin::ISkinVisual, 0xdf2a6c27, 0xf705, 0x4cc0, 0xaf, 0xf8, 0x04, 0x70, 0x2d, 0x95,
                0x76, 0x44)
__CRT_UUID_DECL(vireon::skin::ISkinScrollBar, 0x40c47b8d, 0x3ba8, 0x4935, 0x95, 0xb7, 0x67, 0x1b, 0xc3, 0x62,
                0x56, 0x86)
__CRT_UUID_DECL(vireon::skin::ISkinStatic, 0x115ecac4, 0xb6d0, 0x4f24, 0xa1, 0xbc, 0xc2, 0xfe, 0xd9, 0x5d,
                0x07, 0xbd)
__CRT_UUID_DECL(vireon::skin::ISkinButton, 0x3f6c9484, 0xee1d, 0x40b4, 0x95, 0xb7, 0x3c, 0xa0, 0x51, 0x00,
                0x7e, 0x11)
__CRT_UUID_DECL(vireon::skin::ISkin, 0x769bdd0c, 0x48bb, 0x44e8, 0xa9, 0x5d, 0x2e, 0x7e, 0x4e, 0xb8, 0x41,
                0x2e)
__CRT_UUID_DECL(vireon::skin::ISkinImage, 0xdca7db69, 0x4d52, 0x45bc, 0xbc, 0xa0, 0x18, 0xfb, 0x82, 0xef,
                0xaf, 0xf5)
