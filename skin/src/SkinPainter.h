// Turns object definitions into pictures: panels, buttons in each state, scroll bars, text.
#pragma once

#include "common/Win32Handles.h"
#include "SkinData.h"

#include <map>
#include <tuple>

namespace vireon::skin {

// A 32-bit top-down DIB section with a memory DC selected on it, seen as a pixmap.
class TSurface {
public:
    TSurface() = default;
    TSurface(int width, int height);
    TSurface(TSurface&&) = default;
    TSurface& operator=(TSurface&&) = default;
    ~TSurface();
    HDC DC() const { return dc_.get(); }
    TPixmap& Pixels() { return view_; }

private:
    UniqueBitmap bitmap_;
    UniqueMemoryDC dc_;
    HGDIOBJ previous_ = nullptr;
    TPixmap view_;
};

TPixmap RenderPanel(const TObjectDef& def, int width, int height);
TPixmap RenderButton(const TObjectDef& def, int width, int height, TButtonStateIndex state);
TPixmap RenderScrollBar(const TObjectDef& def, int width, int height, int pos, int max, bool hot);
// Thumb placement along the bar: the first pixel of the thumb for a position.
int ThumbStart(const TObjectDef& def, int length, int pos, int max);
int PosFromPoint(const TObjectDef& def, int length, int along, int max);

// Fonts by face list ("Inter,Tahoma": the first face this process has wins, the skin's own faces
// included; with none of them, the platform's default face), size and weight.
class TFontCache {
public:
    HFONT Get(const std::wstring& faces, int size, bool bold, bool underline);

private:
    std::map<std::tuple<std::wstring, int, bool, bool>, UniqueFont> fonts_;
};

// Colour channel swap for GDI.
COLORREF ToColorRef(uint32_t argb);

// Draws a static's text, clipped to `clip`, onto the surface DC.
void DrawStaticText(HDC dc, const RECT& rect, const RECT& clip, const TObjectDef& def,
                    const std::wstring& text, TFontCache& fonts);

} // namespace vireon::skin
