// The live state of one skin form (object rectangles, visibility, hover and pressed states, scroll
// positions, texts) and its drawing into an off-screen surface. It knows no window: TSkinWindow
// feeds it input and puts its pixels on the screen.
#pragma once

#include "SkinData.h"
#include "SkinPainter.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vireon::skin {

struct TObjectState {
    const TObjectDef* def = nullptr;
    RECT rect{};
    bool visible = true;
    bool disabled = false;
    bool hover = false;
    bool pressed = false;
    int pos = 0;
    int max = 0;
    std::wstring text;
    // Pictures for the current size: one per button state, or one for panels and statics.
    std::array<TPixmap, bsCount> cache;
    SIZE cacheSize{-1, -1};
};

// One top-level item of the menu bar as drawn.
struct TMenuBarItem {
    std::wstring text;  // with its "&" mnemonic mark
    std::wstring shown; // as drawn
    RECT rect{};
    bool enabled = true;
};

class TSkinFormView {
public:
    static constexpr int kMenuBarHeight = 20;

    TSkinFormView(std::shared_ptr<const TSkinData> data, const TFormDef& form, bool menuBar);

    const TFormDef& Def() const { return *form_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasMenuBar() const { return menuBar_; }
    // The window's client area within the form.
    RECT ClientRect() const;
    RECT MenuBarRect() const;

    // Moves anchored objects by the change of size and makes a new surface.
    void Resize(int width, int height);
    // Draws the part `dirty` of the form into the surface.
    void Render(const RECT& dirty);
    TSurface& Surface() { return surface_; }
    TFontCache& Fonts() { return fonts_; }

    size_t Count() const { return objects_.size(); }
    TObjectState& Object(size_t index) { return objects_[index]; }
    // Index of the object of that name (ignoring case), or -1.
    int Find(const std::wstring& name) const;
    // Topmost visible object at a form point, or -1.
    int HitObject(POINT point) const;
    bool InDragArea(POINT point) const;
    // The rectangle a change of the object touches (its own rectangle, also when hidden).
    RECT Bounds(size_t index) const;

    std::vector<TMenuBarItem>& MenuItems() { return menuItems_; }
    int& MenuHot() { return menuHot_; }

private:
    void DrawObject(TObjectState& object, const RECT& clip);
    void DrawMenuBar(const RECT& clip);
    const TPixmap& Picture(TObjectState& object, TButtonStateIndex state);
    TPixmap RenderBackground(int width, int height) const;

    std::shared_ptr<const TSkinData> data_;
    const TFormDef* form_;
    bool menuBar_;
    int width_ = 0;
    int height_ = 0;
    std::vector<TObjectState> objects_;
    TSurface surface_;
    TPixmap background_;
    TFontCache fonts_;
    std::vector<TMenuBarItem> menuItems_;
    int menuHot_ = -1;
};

} // namespace vireon::skin
