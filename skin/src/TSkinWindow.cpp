#include "TSkinWindow.h"

#include "TSkin.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <functional>

namespace vireon::skin {

using Microsoft::WRL::ComPtr;

namespace {

constexpr LONG kFrameStyles = WS_CAPTION | WS_THICKFRAME;
constexpr LONG kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

RECT Union(const RECT& a, const RECT& b) {
    RECT r;
    UnionRect(&r, &a, &b);
    return r;
}

bool Interactive(const TObjectState& o) {
    return o.def->kind == TObjectKind::Button || o.def->kind == TObjectKind::ScrollBar;
}

} // namespace

TSkinWindow::TSkinWindow(TSkin& skin, HWND window, std::shared_ptr<const TSkinData> data,
                         const TFormDef& form, bool menuBar)
    : skin_(skin), window_(window), view_(std::move(data), form, menuBar) {
    form_ = MakeComObject<TSkinFormHandle>(this, form.name);
    detachable_.push_back(form_.Get());
    for (size_t i = 0; i < view_.Count(); ++i) {
        const TObjectDef& def = *view_.Object(i).def;
        ComPtr<ISkinObject> handle;
        TSkinHandleBase* base = nullptr;
        auto make = [&](auto object) {
            base = object.Get();
            handle = std::move(object);
        };
        switch (def.kind) {
        case TObjectKind::Panel:
            make(MakeComObject<TSkinPanelHandle>(this, int(i), def.name));
            break;
        case TObjectKind::Button:
            make(MakeComObject<TSkinButtonHandle>(this, int(i), def.name));
            break;
        case TObjectKind::ScrollBar:
            make(MakeComObject<TSkinScrollBarHandle>(this, int(i), def.name));
            break;
        case TObjectKind::Static:
            make(MakeComObject<TSkinStaticHandle>(this, int(i), def.name));
            break;
        }
        handles_.push_back(handle);
        detachable_.push_back(base);
    }
    SetWindowLongW(window_, GWL_STYLE,
                   (GetWindowLongW(window_, GWL_STYLE) & ~kFrameStyles) | WS_CLIPCHILDREN);
    SetWindowLongW(window_, GWL_EXSTYLE, GetWindowLongW(window_, GWL_EXSTYLE) & ~kFrameExStyles);
    SetWindowSubclass(window_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetWindowPos(window_, nullptr, 0, 0, form.width, form.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SyncSize();
    RefreshMenuBar();
    RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE);
}

// Tips matter once the mouse is over the window: they are made then, not with the window (a
// tooltip window and one tool per object cost start-up time). The move that makes them is passed
// on to them, so they count it like every later one.
void TSkinWindow::CreateTips(const MSG& firstMove) {
    tipsMade_ = true;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    tips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, window_, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    if (!tips_)
        return;
    for (size_t i = 0; i < view_.Count(); ++i) {
        const TObjectDef& def = *view_.Object(i).def;
        if (def.tip.empty())
            continue;
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = i;
        tool.lpszText = const_cast<wchar_t*>(def.tip.c_str());
        SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        UpdateTip(int(i));
    }
    MSG relayed = firstMove;
    SendMessageW(tips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// Tips follow their object; a hidden object shows none.
void TSkinWindow::UpdateTip(int index) {
    const TObjectState& o = view_.Object(index);
    if (!tips_ || o.def->tip.empty())
        return;
    RECT client = view_.ClientRect();
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = window_;
    tool.uId = UINT_PTR(index);
    tool.rect = o.rect;
    OffsetRect(&tool.rect, -client.left, -client.top);
    if (!o.visible)
        tool.rect = {};
    SendMessageW(tips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The wheel moves a scroll bar under the mouse by its step: up is forward on a horizontal bar and
// towards the top on a vertical one.
bool TSkinWindow::Wheel(POINT screen, int delta) {
    RECT window{};
    GetWindowRect(window_, &window);
    int hit = view_.HitObject({screen.x - window.left, screen.y - window.top});
    if (hit < 0 || view_.Object(hit).def->kind != TObjectKind::ScrollBar || pressed_ == hit)
        return false;
    TObjectState& o = view_.Object(hit);
    int notches = delta / WHEEL_DELTA;
    if (notches == 0)
        return true;
    int64_t pos = int64_t(o.pos) + int64_t(o.def->vertical ? -notches : notches) * o.def->step;
    SetScroll(hit, int(std::clamp<int64_t>(pos, 0, o.max)), o.max);
    skin_.RaiseScroll(handles_[hit].Get(), o.pos, alive_);
    return true;
}

TSkinWindow::~TSkinWindow() {
    *alive_ = false;
    for (TSkinHandleBase* handle : detachable_)
        handle->Detach();
    if (window_ && IsWindow(window_)) {
        RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

ComPtr<ISkinObject> TSkinWindow::FindHandle(const std::wstring& name) {
    if (SameName(name, view_.Def().name))
        return form_;
    int index = view_.Find(name);
    return index < 0 ? nullptr : handles_[index];
}

LRESULT CALLBACK TSkinWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSkinWindow*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, id);
        self->window_ = nullptr;
        self->skin_.Forget(window);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    std::shared_ptr<bool> alive = self->alive_;
    bool handled = false;
    LRESULT result = 0;
    // No error may leave a window procedure: it would end the process.
    try {
        result = self->Handle(message, wParam, lParam, handled);
    } catch (...) {
        if (*alive)
            self->skin_.Report(std::current_exception());
        else
            TraceError("error in a window that is gone", std::current_exception());
        return 0;
    }
    if (handled || !*alive)
        return result;
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT TSkinWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    LRESULT result = 0;
    handled = HandleFrame(message, wParam, lParam, result) || HandleMenu(message, wParam, lParam, result) ||
              HandleInput(message, wParam, lParam);
    return result;
}

// The frame, the painting and the styles: the skin draws everything.
bool TSkinWindow::HandleFrame(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NCCALCSIZE: {
        RECT* r =
            wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        const TSkinFrame& f = view_.Def().frame;
        int menu = view_.HasMenuBar() ? TSkinFormView::kMenuBarHeight : 0;
        RECT w = *r;
        *r = {w.left + f.Left, w.top + f.Top + menu, std::max<LONG>(w.left + f.Left, w.right - f.Right),
              std::max<LONG>(w.top + f.Top + menu, w.bottom - f.Bottom)};
        return true;
    }
    case WM_NCPAINT:
        RefreshMenuBar();
        PaintFrame();
        return true;
    case WM_NCACTIVATE:
        result = TRUE;
        return true;
    case WM_PAINT:
        PaintClient();
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_NCHITTEST:
        result = HitTestFrame(lParam);
        return true;
    case WM_NCLBUTTONDBLCLK:
        return wParam == HTCAPTION;
    case WM_STYLECHANGING: {
        // The frame stays the skin's, whatever styles the window's owner sets later.
        auto* change = reinterpret_cast<STYLESTRUCT*>(lParam);
        if (wParam == WPARAM(GWL_STYLE))
            change->styleNew = (change->styleNew & ~kFrameStyles) | WS_CLIPCHILDREN;
        else if (wParam == WPARAM(GWL_EXSTYLE))
            change->styleNew &= ~kFrameExStyles;
        return false;
    }
    case WM_SETTEXT: {
        // The default handling may paint a caption of its own over the skin's frame.
        std::shared_ptr<bool> alive = alive_;
        result = DefSubclassProc(window_, message, wParam, lParam);
        if (*alive)
            PaintFrame();
        return true;
    }
    default:
        return false;
    }
}

bool TSkinWindow::HandleMenu(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MEASUREITEM:
        result = TRUE;
        return styler_ && styler_->Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        result = TRUE;
        return styler_ && styler_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ENTERIDLE:
        if (wParam == MSGF_MENU && styler_)
            styler_->Adopt(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_KEYMENU || !view_.HasMenuBar())
            return false;
        KeyMenu(wchar_t(lParam & 0xFFFF));
        return true;
    case WM_MENUSELECT:
        if (menuTrack_.top)
            MenuSelected(wParam, lParam);
        return false;
    default:
        if (message != RehoverMessage())
            return false;
        Rehover();
        return true;
    }
}

// Mouse input turns into object states and events; the window's own handlers see it afterwards.
bool TSkinWindow::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        SyncSize();
        return false;
    case WM_MOUSEWHEEL:
        return Wheel({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_MOUSEMOVE:
        if (!tipsMade_)
            CreateTips({window_, message, wParam, lParam, DWORD(GetMessageTime()), {}});
        MouseMove(FormPoint(lParam));
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return MouseDown(FormPoint(lParam), TSkinMouseButton::mbLeft);
    case WM_RBUTTONDOWN:
        return MouseDown(FormPoint(lParam), TSkinMouseButton::mbRight);
    case WM_MBUTTONDOWN:
        return MouseDown(FormPoint(lParam), TSkinMouseButton::mbMiddle);
    case WM_LBUTTONUP:
        return MouseUp(FormPoint(lParam));
    case WM_MOUSELEAVE:
        MouseLeave();
        return false;
    case WM_CAPTURECHANGED:
        if (pressed_ >= 0 && reinterpret_cast<HWND>(lParam) != window_) {
            TObjectState& o = view_.Object(pressed_);
            o.pressed = false;
            pressed_ = -1;
            Invalidate(o.rect);
        }
        return false;
    default:
        return false;
    }
}

POINT TSkinWindow::FormPoint(LPARAM clientPoint) const {
    RECT client = view_.ClientRect();
    return {GET_X_LPARAM(clientPoint) + client.left, GET_Y_LPARAM(clientPoint) + client.top};
}

LRESULT TSkinWindow::HitTestFrame(LPARAM screenPoint) {
    RECT window{};
    GetWindowRect(window_, &window);
    POINT p{GET_X_LPARAM(screenPoint) - window.left, GET_Y_LPARAM(screenPoint) - window.top};
    int hit = view_.HitObject(p);
    if (hit >= 0 && Interactive(view_.Object(hit)))
        return HTCLIENT;
    RECT bar = view_.MenuBarRect();
    if (PtInRect(&bar, p))
        return HTCLIENT;
    return view_.InDragArea(p) ? HTCAPTION : HTCLIENT;
}

void TSkinWindow::SyncSize() {
    // A minimised window keeps its layout for when it comes back.
    if (IsIconic(window_))
        return;
    RECT window{};
    GetWindowRect(window_, &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    if (width <= 0 || height <= 0 || (width == view_.Width() && height == view_.Height()))
        return;
    view_.Resize(width, height);
    for (size_t i = 0; i < view_.Count(); ++i)
        UpdateTip(int(i));
    RefreshMenuBar();
    RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE);
}

void TSkinWindow::RefreshMenuBar() {
    if (!view_.HasMenuBar())
        return;
    const TMenuLook& look = view_.Def().menu;
    HFONT font = view_.Fonts().Get(look.font, look.fontSize, false, false);
    std::vector<TMenuBarItem> items =
        LayoutMenuBar(GetMenu(window_), view_.Surface().DC(), font, view_.MenuBarRect());
    bool same =
        items.size() == view_.MenuItems().size() &&
        std::equal(items.begin(), items.end(), view_.MenuItems().begin(), [](const auto& a, const auto& b) {
            return a.text == b.text && a.enabled == b.enabled && EqualRect(&a.rect, &b.rect);
        });
    if (same)
        return;
    view_.MenuItems() = std::move(items);
    view_.Render(view_.MenuBarRect());
}

void TSkinWindow::Present(const RECT& rect) {
    HDC dc = GetDCEx(window_, nullptr, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc)
        return;
    RECT window{};
    GetWindowRect(window_, &window);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        if (!IsWindowVisible(child) || !GetWindowRect(child, &r))
            continue;
        ExcludeClipRect(dc, r.left - window.left, r.top - window.top, r.right - window.left,
                        r.bottom - window.top);
    }
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, view_.Surface().DC(),
           rect.left, rect.top, SRCCOPY);
    ReleaseDC(window_, dc);
}

void TSkinWindow::PaintClient() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    RECT client = view_.ClientRect();
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, view_.Surface().DC(), r.left + client.left,
           r.top + client.top, SRCCOPY);
    EndPaint(window_, &paint);
}

void TSkinWindow::PaintFrame() {
    HDC dc = GetWindowDC(window_);
    if (!dc)
        return;
    RECT client = view_.ClientRect();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    BitBlt(dc, 0, 0, view_.Width(), view_.Height(), view_.Surface().DC(), 0, 0, SRCCOPY);
    ReleaseDC(window_, dc);
}

void TSkinWindow::Invalidate(const RECT& rect) {
    RECT r = rect;
    if (!ClipRect(r, {0, 0, view_.Width(), view_.Height()}))
        return;
    view_.Render(r);
    if (IsWindowVisible(window_) && !IsIconic(window_))
        Present(r);
}

namespace {

// What a caller may change of an object, kept to take a refused change back.
struct TSavedObject {
    explicit TSavedObject(const TObjectState& o)
        : rect(o.rect), visible(o.visible), disabled(o.disabled), pos(o.pos), max(o.max), text(o.text) {}
    void Restore(TObjectState& o) const {
        o.rect = rect;
        o.visible = visible;
        o.disabled = disabled;
        o.pos = pos;
        o.max = max;
        o.text = text;
    }
    RECT rect;
    bool visible;
    bool disabled;
    int pos;
    int max;
    std::wstring text;
};

} // namespace

// A change the form cannot draw (a size beyond what an image may have) raises, and the object
// stays as it was: drawn, hit-tested and shown as before the call.
void TSkinWindow::Change(int index, const std::function<void(TObjectState&)>& apply) {
    TObjectState& o = view_.Object(index);
    TSavedObject saved(o);
    RECT before = o.rect;
    apply(o);
    RECT touched = Union(before, o.rect);
    try {
        Invalidate(touched);
    } catch (...) {
        saved.Restore(o);
        Invalidate(touched);
        throw;
    }
    UpdateTip(index);
}

void TSkinWindow::SetObjectRect(int index, const RECT& rect) {
    if (EqualRect(&view_.Object(index).rect, &rect))
        return;
    Change(index, [&](TObjectState& o) { o.rect = rect; });
}

void TSkinWindow::SetObjectVisible(int index, bool visible) {
    TObjectState& o = view_.Object(index);
    if (o.visible == visible)
        return;
    Change(index, [&](TObjectState& object) { object.visible = visible; });
    if (!visible && hover_ == index) {
        hover_ = -1;
        o.hover = false;
    }
    // What lies under the mouse may have changed (play turns into pause under the pointer); it is
    // looked at once the caller is done, not inside its call.
    if (tracking_)
        PostMessageW(window_, RehoverMessage(), 0, 0);
}

UINT TSkinWindow::RehoverMessage() {
    static const UINT message = RegisterWindowMessageW(L"VireonSkinRehover");
    return message;
}

void TSkinWindow::Rehover() {
    RECT window{};
    POINT cursor{};
    if (!tracking_ || pressed_ >= 0 || !GetCursorPos(&cursor) || !GetWindowRect(window_, &window))
        return;
    SetHover(view_.HitObject({cursor.x - window.left, cursor.y - window.top}));
}

void TSkinWindow::SetObjectText(int index, const std::wstring& text) {
    if (view_.Object(index).text == text)
        return;
    Change(index, [&](TObjectState& o) { o.text = text; });
}

void TSkinWindow::SetButtonDisabled(int index, bool disabled) {
    TObjectState& o = view_.Object(index);
    if (o.disabled == disabled)
        return;
    Change(index, [&](TObjectState& object) { object.disabled = disabled; });
    if (disabled && pressed_ == index) {
        pressed_ = -1;
        o.pressed = false;
        ReleaseCapture();
        Invalidate(o.rect);
    }
}

void TSkinWindow::SetScroll(int index, int pos, int max) {
    TObjectState& o = view_.Object(index);
    // While the user drags the thumb, the program does not move it under the mouse.
    if (pressed_ == index)
        pos = o.pos;
    int clamped = std::clamp(pos, 0, max);
    if (clamped == o.pos && max == o.max)
        return;
    Change(index, [&](TObjectState& object) {
        object.max = max;
        object.pos = clamped;
    });
}

bool TSkinWindow::ScreenHit(int index, int x, int y) {
    const TObjectState& o = view_.Object(index);
    RECT window{};
    if (!o.visible || !GetWindowRect(window_, &window))
        return false;
    POINT p{x - window.left, y - window.top};
    return PtInRect(&o.rect, p) != FALSE;
}

void TSkinWindow::SetHover(int index) {
    if (index == hover_)
        return;
    std::shared_ptr<bool> alive = alive_;
    int old = hover_;
    hover_ = index;
    if (old >= 0) {
        view_.Object(old).hover = false;
        Invalidate(view_.Object(old).rect);
    }
    if (index >= 0) {
        view_.Object(index).hover = true;
        Invalidate(view_.Object(index).rect);
    }
    if (old >= 0 && !skin_.Raise(skin_.Events().OnMouseOut, handles_[old].Get(), alive))
        return;
    if (index >= 0)
        skin_.Raise(skin_.Events().OnMouseIn, handles_[index].Get(), alive);
}

bool TSkinWindow::MouseMove(POINT p) {
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    if (pressed_ >= 0 && view_.Object(pressed_).def->kind == TObjectKind::ScrollBar) {
        DragTo(p);
        return true;
    }
    int hot = -1;
    for (size_t i = 0; i < view_.MenuItems().size(); ++i)
        if (PtInRect(&view_.MenuItems()[i].rect, p))
            hot = int(i);
    if (hot != view_.MenuHot()) {
        view_.MenuHot() = hot;
        Invalidate(view_.MenuBarRect());
    }
    SetHover(view_.HitObject(p));
    return true;
}

void TSkinWindow::MouseLeave() {
    tracking_ = false;
    if (view_.MenuHot() >= 0) {
        view_.MenuHot() = -1;
        Invalidate(view_.MenuBarRect());
    }
    if (pressed_ < 0)
        SetHover(-1);
}

bool TSkinWindow::MouseDown(POINT p, TSkinMouseButton button) {
    for (size_t i = 0; button == TSkinMouseButton::mbLeft && i < view_.MenuItems().size(); ++i)
        if (PtInRect(&view_.MenuItems()[i].rect, p)) {
            TrackMenuBar(int(i), false);
            return true;
        }
    int hit = view_.HitObject(p);
    if (hit < 0)
        return false;
    TObjectState& o = view_.Object(hit);
    if (o.def->kind == TObjectKind::Button && o.disabled)
        return false;
    if (button == TSkinMouseButton::mbLeft) {
        pressed_ = hit;
        o.pressed = true;
        SetCapture(window_);
        if (o.def->kind == TObjectKind::ScrollBar)
            DragTo(p);
        Invalidate(o.rect);
    }
    skin_.RaiseMouseDown(handles_[hit].Get(), button, p, alive_);
    return false;
}

bool TSkinWindow::MouseUp(POINT p) {
    if (pressed_ < 0)
        return false;
    int index = pressed_;
    TObjectState& o = view_.Object(index);
    if (o.def->kind == TObjectKind::ScrollBar)
        DragTo(p);
    pressed_ = -1;
    o.pressed = false;
    ReleaseCapture();
    Invalidate(o.rect);
    std::shared_ptr<bool> alive = alive_;
    if (o.def->kind == TObjectKind::ScrollBar) {
        skin_.RaiseScroll(handles_[index].Get(), o.pos, alive);
    } else if (view_.HitObject(p) == index && !o.disabled) {
        RunSystemCommand(*o.def);
        skin_.Raise(skin_.Events().OnClick, handles_[index].Get(), alive);
    }
    if (*alive)
        SetHover(view_.HitObject(p));
    return false;
}

void TSkinWindow::DragTo(POINT p) {
    TObjectState& o = view_.Object(pressed_);
    int length = o.def->vertical ? o.rect.bottom - o.rect.top : o.rect.right - o.rect.left;
    int along = o.def->vertical ? p.y - o.rect.top : p.x - o.rect.left;
    int pos = PosFromPoint(*o.def, length, along, o.max);
    if (pos == o.pos)
        return;
    o.pos = pos;
    Invalidate(o.rect);
}

void TSkinWindow::RunSystemCommand(const TObjectDef& def) {
    if (def.command == TSysCommand::Minimize)
        PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (def.command == TSysCommand::Close)
        PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TSkinWindow::PopupMenu(HMENU menu, int x, int y) {
    if (!IsMenu(menu))
        throw ESkinError("PopupMenu: the menu handle is not valid");
    std::shared_ptr<bool> alive = alive_;
    TSkinMenuStyler styler(menu, view_.Def().menu, view_.Fonts());
    styler_ = &styler;
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, x, y, window_,
                     nullptr);
    if (*alive)
        styler_ = nullptr;
}

} // namespace vireon::skin
