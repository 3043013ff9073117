// The skin-style menu bar of a skinned main window: it opens its menus on a press, by Alt and a
// mnemonic, and, like every Windows menu bar, switches menus with the Left and Right keys or the
// mouse moving over the bar while a menu is open; Alt alone or F10 selects the bar.
#include "TSkin.h"
#include "TSkinWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwctype>

namespace vireon::skin {

namespace {

TSkinWindow* SkinnedWindow(HWND window) {
    DWORD_PTR data = 0;
    if (!window ||
        !GetWindowSubclass(window, TSkinWindow::SubclassProcedure(), TSkinWindow::kSubclassId, &data))
        return nullptr;
    return reinterpret_cast<TSkinWindow*>(data);
}

// The skinned window whose bar menu is open on this thread, if any: the menu's owner as the
// system names it, else the window that holds the mouse for the menu or receives its keys.
TSkinWindow* MenuOwner(const MSG& msg) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    for (HWND candidate : {GetGUIThreadInfo(GetCurrentThreadId(), &info) ? info.hwndMenuOwner : nullptr,
                           GetCapture(), msg.hwnd})
        if (TSkinWindow* window = SkinnedWindow(candidate))
            return window;
    return nullptr;
}

} // namespace

int TSkinWindow::MenuBarItemAt(POINT screen) const {
    RECT window{};
    GetWindowRect(window_, &window);
    POINT p{screen.x - window.left, screen.y - window.top};
    const auto& items = const_cast<TSkinFormView&>(view_).MenuItems();
    for (size_t i = 0; i < items.size(); ++i)
        if (PtInRect(&items[i].rect, p))
            return int(i);
    return -1;
}

// Alt and a letter open the menu bar's item with that mnemonic; Alt alone or F10 select the bar.
void TSkinWindow::KeyMenu(wchar_t key) {
    if (!key) {
        SelectMenuBar();
        return;
    }
    int item = MnemonicItem(key);
    if (item >= 0)
        TrackMenuBar(item, true);
}

int TSkinWindow::MnemonicItem(wchar_t key) {
    auto& items = view_.MenuItems();
    for (size_t i = 0; i < items.size(); ++i) {
        size_t amp = items[i].text.find(L'&');
        if (amp != std::wstring::npos && amp + 1 < items[i].text.size() &&
            towupper(items[i].text[amp + 1]) == towupper(key))
            return int(i);
    }
    return -1;
}

void TSkinWindow::SetMenuBarHot(int item) {
    view_.MenuHot() = item;
    Invalidate(view_.MenuBarRect());
}

// The bar selected from the keyboard: Left and Right move along it, Down, Up or Enter open the
// item's menu, a letter opens the item of that mnemonic, Esc, Alt, F10 or a click leave it.
void TSkinWindow::SelectMenuBar() {
    int count = int(view_.MenuItems().size());
    if (count == 0)
        return;
    std::shared_ptr<bool> alive = alive_;
    int hot = 0, open = -1;
    SetMenuBarHot(hot);
    MSG msg{};
    bool selected = true;
    while (selected && *alive && GetMessageW(&msg, nullptr, 0, 0)) {
        bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
        if (key && (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT)) {
            hot = (hot + (msg.wParam == VK_LEFT ? count - 1 : 1)) % count;
            SetMenuBarHot(hot);
        } else if (key && (msg.wParam == VK_DOWN || msg.wParam == VK_UP || msg.wParam == VK_RETURN)) {
            open = hot;
            selected = false;
        } else if (key && (msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU || msg.wParam == VK_F10)) {
            selected = false;
        } else if (key) {
            TranslateMessage(&msg);
        } else if (character) {
            open = MnemonicItem(wchar_t(msg.wParam));
            selected = open < 0;
        } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
            continue;
        } else if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            selected = false;
        } else {
            // A press anywhere leaves the bar and then does what it does.
            selected = !(msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                         msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (!*alive)
        return;
    SetMenuBarHot(-1);
    if (open >= 0)
        TrackMenuBar(open, true);
}

// While a bar menu is open: Left on its first level and Right on an item without a submenu move
// to the neighbouring menu, the mouse over another item of the bar opens that one.
LRESULT CALLBACK TSkinWindow::MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    TSkinWindow* self = code == MSGF_MENU ? MenuOwner(*msg) : nullptr;
    if (self && self->menuTrack_.top && self->FilterMenuMessage(*msg))
        return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool TSkinWindow::FilterMenuMessage(const MSG& msg) {
    int count = int(view_.MenuItems().size());
    int next = -1;
    bool byKey = false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT &&
        (!menuTrack_.selected || menuTrack_.selected == menuTrack_.top)) {
        next = (menuTrack_.item + count - 1) % count;
        byKey = true;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT && !menuTrack_.selectedOpens) {
        next = (menuTrack_.item + 1) % count;
        byKey = true;
    } else if (msg.message == WM_MOUSEMOVE && msg.hwnd == window_) {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        ClientToScreen(window_, &p);
        next = MenuBarItemAt(p);
    } else if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        next = MenuBarItemAt(msg.pt);
    }
    if (next < 0 || next == menuTrack_.item)
        return false;
    menuTrack_.next = next;
    menuTrack_.nextByKey = byKey;
    EndMenu();
    return true;
}

// WM_MENUSELECT while a bar menu is open: which item is highlighted, and whether it opens a submenu.
void TSkinWindow::MenuSelected(WPARAM wParam, LPARAM lParam) {
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    UINT flags = HIWORD(wParam);
    bool closed = flags == 0xFFFF && !menu;
    menuTrack_.selected = closed ? nullptr : menu;
    menuTrack_.selectedOpens = !closed && (flags & MF_POPUP) != 0;
}

void TSkinWindow::TrackMenuBar(int item, bool byKey) {
    HMENU menu = GetMenu(window_);
    std::shared_ptr<bool> alive = alive_;
    while (menu && item >= 0 && item < int(view_.MenuItems().size())) {
        HMENU sub = GetSubMenu(menu, item);
        if (!sub) {
            if (view_.MenuItems()[item].enabled)
                PostMessageW(window_, WM_COMMAND, GetMenuItemID(menu, item), 0);
            return;
        }
        if (!view_.MenuItems()[item].enabled)
            return;
        SetMenuBarHot(item);
        RECT window{};
        GetWindowRect(window_, &window);
        RECT r = view_.MenuItems()[item].rect;
        OffsetRect(&r, window.left, window.top);
        TPMPARAMS params{sizeof(params), r};
        menuTrack_ = {sub, item};
        // Opened from the keyboard, the menu starts with its first item selected.
        if (byKey)
            PostMessageW(window_, WM_KEYDOWN, VK_DOWN, 0);
        {
            UniqueHook filter(SetWindowsHookExW(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId()));
            TSkinMenuStyler styler(sub, view_.Def().menu, view_.Fonts());
            styler_ = &styler;
            TrackPopupMenuEx(sub, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, r.left,
                             r.bottom, window_, &params);
            if (!*alive)
                return;
            styler_ = nullptr;
        }
        TMenuTrack track = menuTrack_;
        menuTrack_ = {};
        SetMenuBarHot(-1);
        byKey = track.nextByKey;
        item = track.next >= 0 ? track.next : NextMenuBarItem(item);
    }
}

// A press on the bar closed the open menu: a press on another item opens that item's menu, a
// press on the same item only closes it. The press may still wait in the queue or have been taken.
int TSkinWindow::NextMenuBarItem(int current) {
    MSG pending{};
    if (PeekMessageW(&pending, window_, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE)) {
        if (MenuBarItemAt(pending.pt) == current)
            PeekMessageW(&pending, window_, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
        return -1;
    }
    POINT cursor{};
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) || !GetCursorPos(&cursor))
        return -1;
    int next = MenuBarItemAt(cursor);
    return next == current ? -1 : next;
}

} // namespace vireon::skin
