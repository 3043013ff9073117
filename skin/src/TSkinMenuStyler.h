// Skin-style menus: for the time a menu is tracked, its items (and those of its submenus) become
// owner-drawn with the skin's colours; afterwards they are put back exactly as they were.
#pragma once

#include "common/Win32Handles.h"
#include "SkinData.h"
#include "SkinPainter.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace vireon::skin {

class TSkinMenuStyler {
public:
    TSkinMenuStyler(HMENU menu, const TMenuLook& look, TFontCache& fonts);
    TSkinMenuStyler(const TSkinMenuStyler&) = delete;
    TSkinMenuStyler& operator=(const TSkinMenuStyler&) = delete;
    ~TSkinMenuStyler();

    // WM_MEASUREITEM and WM_DRAWITEM for the styled items; false for items that are not ours.
    bool Measure(MEASUREITEMSTRUCT& item);
    bool Draw(const DRAWITEMSTRUCT& item);
    // Takes over the border of a menu's window (as WM_ENTERIDLE names it) for the skin's colours.
    void Adopt(HWND menuWindow);

private:
    struct TItem {
        HMENU menu = nullptr;
        UINT type = 0;
        ULONG_PTR data = 0;
        std::wstring text;
        bool popup = false;
    };
    struct TMenuBackground {
        HMENU menu = nullptr;
        MENUINFO info{};
    };

    static LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);
    void PaintBorder(HWND menuWindow);
    void Style(HMENU menu);
    void Restore(const TItem& item, UINT position);
    const TItem* Ours(ULONG_PTR data) const;

    const TMenuLook& look_;
    TFontCache& fonts_;
    std::vector<std::unique_ptr<TItem>> items_;
    std::vector<TMenuBackground> backgrounds_;
    UniqueBrush brush_;
    UniqueBrush borderBrush_;
    std::vector<HWND> adopted_;
};

// The top-level items of a menu bar laid out from the left of `bar`.
std::vector<struct TMenuBarItem> LayoutMenuBar(HMENU menu, HDC dc, HFONT font, const RECT& bar);

} // namespace vireon::skin
