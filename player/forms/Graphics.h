// Colours, fonts, pens and brushes of the framework's controls.
#pragma once

#include "common/Win32Handles.h"
#include "forms/Events.h"

#include <cstdint>
#include <string>

namespace vireon {

// An RGB value (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = static_cast<TColor>(0x80000000u | COLOR_BTNFACE);
constexpr TColor clWindow = static_cast<TColor>(0x80000000u | COLOR_WINDOW);
constexpr TColor clWindowText = static_cast<TColor>(0x80000000u | COLOR_WINDOWTEXT);
constexpr TColor clBtnText = static_cast<TColor>(0x80000000u | COLOR_BTNTEXT);

COLORREF ColorToRGB(TColor Color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

class TFont {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    ~TFont();

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Size() const { return FSize; } // points
    void SetSize(int Value);
    unsigned Style() const { return FStyle; }
    void SetStyle(unsigned Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    void Assign(const TFont& Source);

    // The GDI font, made on first use and remade after a change.
    HFONT Handle();

    // Told after every change, so the control showing the font can refresh.
    std::function<void()> OnChange;

private:
    void Changed();

    std::string FName = "Tahoma";
    int FSize = 8;
    unsigned FStyle = 0;
    TColor FColor = clWindowText;
    UniqueFont FHandle;
};

enum TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// A solid brush of a colour, for one paint.
UniqueBrush MakeBrush(TColor Color);
// Keeps the live count of GDI objects the framework holds (fonts, bitmaps, brushes).
void CountGdiObject(int Delta);

} // namespace vireon
