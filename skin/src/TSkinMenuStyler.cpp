#include "TSkinMenuStyler.h"

#include "TSkinFormView.h"

#include <commctrl.h>

namespace vireon::skin {

namespace {

constexpr int kItemHeight = 26;
constexpr int kSeparatorHeight = 9;
constexpr int kTextLeft = 30;
constexpr int kRightSpace = 28;

// The caption as shown: "&&" stays one ampersand, a single "&" (the mnemonic mark) goes.
std::wstring Shown(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

std::wstring ItemText(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info) || info.cch == 0)
        return {};
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = UINT(text.size());
    GetMenuItemInfoW(menu, position, TRUE, &info);
    text.resize(wcslen(text.c_str()));
    return text;
}

void FillRounded(HDC dc, const RECT& r, uint32_t colour, int radius) {
    UniqueBrush brush(CreateSolidBrush(ToColorRef(colour)));
    UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(colour)));
    SelectedObject b(dc, brush.get());
    SelectedObject p(dc, pen.get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
}

void DrawCheck(HDC dc, const RECT& r, bool radio, uint32_t colour) {
    int cx = r.left + 15, cy = (r.top + r.bottom) / 2;
    if (radio) {
        FillRounded(dc, {cx - 3, cy - 3, cx + 4, cy + 4}, colour, 7);
        return;
    }
    UniquePen pen(CreatePen(PS_SOLID, 2, ToColorRef(colour)));
    SelectedObject p(dc, pen.get());
    POINT points[] = {{cx - 5, cy}, {cx - 2, cy + 3}, {cx + 4, cy - 4}};
    Polyline(dc, points, 3);
}

void DrawArrow(HDC dc, const RECT& r, uint32_t colour) {
    int x = r.right - 14, cy = (r.top + r.bottom) / 2;
    UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(colour)));
    SelectedObject p(dc, pen.get());
    POINT points[] = {{x, cy - 4}, {x + 4, cy}, {x, cy + 4}};
    Polyline(dc, points, 3);
}

} // namespace

TSkinMenuStyler::TSkinMenuStyler(HMENU menu, const TMenuLook& look, TFontCache& fonts)
    : look_(look), fonts_(fonts), brush_(CreateSolidBrush(ToColorRef(look.popupFill))),
      borderBrush_(CreateSolidBrush(ToColorRef(look.border))) {
    Style(menu);
}

namespace {

constexpr UINT_PTR kMenuSubclassId = 0x564D4E55;

} // namespace

void TSkinMenuStyler::Adopt(HWND menuWindow) {
    if (!IsWindow(menuWindow) || std::find(adopted_.begin(), adopted_.end(), menuWindow) != adopted_.end())
        return;
    adopted_.push_back(menuWindow);
    SetWindowSubclass(menuWindow, MenuWindowProc, kMenuSubclassId, reinterpret_cast<DWORD_PTR>(this));
    PaintBorder(menuWindow);
}

LRESULT CALLBACK TSkinMenuStyler::MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSkinMenuStyler*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, MenuWindowProc, id);
        std::erase(self->adopted_, window);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_PAINT || message == WM_NCPAINT || message == WM_PRINT)
        self->PaintBorder(window);
    return result;
}

// The system draws a light edge around the menu; over it go the skin's border and fill.
void TSkinMenuStyler::PaintBorder(HWND menuWindow) {
    RECT r{};
    GetWindowRect(menuWindow, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(menuWindow);
    if (!dc)
        return;
    FrameRect(dc, &r, borderBrush_.get());
    for (int i = 0; i < 2; ++i) {
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, brush_.get());
    }
    ReleaseDC(menuWindow, dc);
}

void TSkinMenuStyler::Style(HMENU menu) {
    TMenuBackground background{};
    background.menu = menu;
    background.info.cbSize = sizeof(MENUINFO);
    background.info.fMask = MIM_BACKGROUND;
    GetMenuInfo(menu, &background.info);
    backgrounds_.push_back(background);
    MENUINFO dark{};
    dark.cbSize = sizeof(dark);
    dark.fMask = MIM_BACKGROUND;
    dark.hbrBack = brush_.get();
    SetMenuInfo(menu, &dark);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info) || (info.fType & MFT_OWNERDRAW))
            continue;
        auto item = std::make_unique<TItem>();
        item->menu = menu;
        item->type = info.fType;
        item->data = info.dwItemData;
        item->text = ItemText(menu, UINT(i));
        item->popup = info.hSubMenu != nullptr;
        MENUITEMINFOW owner{};
        owner.cbSize = sizeof(owner);
        owner.fMask = MIIM_FTYPE | MIIM_DATA;
        owner.fType = (info.fType & (MFT_SEPARATOR | MFT_RADIOCHECK)) | MFT_OWNERDRAW;
        owner.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        SetMenuItemInfoW(menu, UINT(i), TRUE, &owner);
        items_.push_back(std::move(item));
        if (info.hSubMenu)
            Style(info.hSubMenu);
    }
}

TSkinMenuStyler::~TSkinMenuStyler() {
    for (HWND window : adopted_)
        RemoveWindowSubclass(window, MenuWindowProc, kMenuSubclassId);
    // Items are found by their data, not their place: a handler may have changed the menu meanwhile.
    for (TMenuBackground& background : backgrounds_) {
        if (!IsMenu(background.menu))
            continue;
        int count = GetMenuItemCount(background.menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_DATA;
            const TItem* item =
                GetMenuItemInfoW(background.menu, UINT(i), TRUE, &info) ? Ours(info.dwItemData) : nullptr;
            if (item)
                Restore(*item, UINT(i));
        }
        SetMenuInfo(background.menu, &background.info);
    }
}

void TSkinMenuStyler::Restore(const TItem& item, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = item.type;
    info.dwItemData = item.data;
    SetMenuItemInfoW(item.menu, position, TRUE, &info);
    if (!(item.type & MFT_SEPARATOR) && !item.text.empty()) {
        std::wstring text = item.text;
        info.fMask = MIIM_STRING;
        info.dwTypeData = text.data();
        SetMenuItemInfoW(item.menu, position, TRUE, &info);
    }
}

const TSkinMenuStyler::TItem* TSkinMenuStyler::Ours(ULONG_PTR data) const {
    for (const auto& item : items_)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data)
            return item.get();
    return nullptr;
}

bool TSkinMenuStyler::Measure(MEASUREITEMSTRUCT& measure) {
    const TItem* item = measure.CtlType == ODT_MENU ? Ours(measure.itemData) : nullptr;
    if (!item)
        return false;
    if (item->type & MFT_SEPARATOR) {
        measure.itemHeight = kSeparatorHeight;
        measure.itemWidth = 60;
        return true;
    }
    WindowDC screen(nullptr);
    SelectedObject font(screen.get(), fonts_.Get(look_.font, look_.fontSize, false, false));
    RECT r{};
    std::wstring shown = Shown(item->text);
    DrawTextW(screen.get(), shown.c_str(), int(shown.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    measure.itemWidth = UINT(r.right + kTextLeft + kRightSpace + 24);
    measure.itemHeight = kItemHeight;
    return true;
}

bool TSkinMenuStyler::Draw(const DRAWITEMSTRUCT& draw) {
    const TItem* item = draw.CtlType == ODT_MENU ? Ours(draw.itemData) : nullptr;
    if (!item)
        return false;
    HDC dc = draw.hDC;
    RECT r = draw.rcItem;
    {
        UniqueBrush back(CreateSolidBrush(ToColorRef(look_.popupFill)));
        ::FillRect(dc, &r, back.get());
    }
    if (item->type & MFT_SEPARATOR) {
        int y = (r.top + r.bottom) / 2;
        UniqueBrush line(CreateSolidBrush(ToColorRef(look_.separator)));
        RECT l{r.left + 10, y, r.right - 10, y + 1};
        ::FillRect(dc, &l, line.get());
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        return true;
    }
    bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    bool selected = (draw.itemState & ODS_SELECTED) != 0 && !disabled;
    if (selected)
        FillRounded(dc, {r.left + 4, r.top + 1, r.right - 4, r.bottom - 1}, look_.popupHot, 8);
    uint32_t text = disabled ? look_.disabledText : selected ? look_.hotText : look_.popupText;
    if (draw.itemState & ODS_CHECKED)
        DrawCheck(dc, r, (item->type & MFT_RADIOCHECK) != 0, text);
    SelectedObject font(dc, fonts_.Get(look_.font, look_.fontSize, false, false));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(text));
    std::wstring caption = Shown(item->text), shortcut;
    size_t tab = caption.find(L'\t');
    if (tab != std::wstring::npos) {
        shortcut = caption.substr(tab + 1);
        caption.resize(tab);
    }
    RECT t{r.left + kTextLeft, r.top, r.right - kRightSpace, r.bottom};
    DrawTextW(dc, caption.c_str(), int(caption.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (!shortcut.empty()) {
        SetTextColor(dc, ToColorRef(selected ? look_.hotText : look_.disabledText));
        DrawTextW(dc, shortcut.c_str(), int(shortcut.size()), &t,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (item->popup)
        DrawArrow(dc, r, text);
    // Keeps the system's own submenu arrow off the item.
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    return true;
}

std::vector<TMenuBarItem> LayoutMenuBar(HMENU menu, HDC dc, HFONT font, const RECT& bar) {
    std::vector<TMenuBarItem> items;
    if (!menu)
        return items;
    SelectedObject selected(dc, font);
    int x = bar.left + 6;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        TMenuBarItem item;
        item.text = ItemText(menu, UINT(i));
        item.shown = Shown(item.text);
        item.enabled = !(GetMenuState(menu, UINT(i), MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED));
        RECT r{};
        DrawTextW(dc, item.shown.c_str(), int(item.shown.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        int width = r.right - r.left + 20;
        item.rect = {x, bar.top, std::min<LONG>(x + width, bar.right), bar.bottom};
        x += width;
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace vireon::skin
