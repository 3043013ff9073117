#include "forms/Graphics.h"

#include "forms/LiveCounts.h"

#include <stdexcept>

namespace vireon {

COLORREF ColorToRGB(TColor Color) {
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void CountGdiObject(int Delta) {
    LiveCounts().GdiObjects += Delta;
}

UniqueBrush MakeBrush(TColor Color) {
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(Color)));
    if (!brush)
        throw std::runtime_error("Cannot create a brush");
    return brush;
}

TFont::~TFont() {
    if (FHandle)
        CountGdiObject(-1);
}

void TFont::SetName(const std::string& Value) {
    if (FName != Value) {
        FName = Value;
        Changed();
    }
}

void TFont::SetSize(int Value) {
    if (FSize != Value) {
        FSize = Value;
        Changed();
    }
}

void TFont::SetStyle(unsigned Value) {
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TFont::SetColor(TColor Value) {
    if (FColor != Value) {
        FColor = Value;
        if (OnChange)
            OnChange();
    }
}

void TFont::Assign(const TFont& Source) {
    FName = Source.FName;
    FSize = Source.FSize;
    FStyle = Source.FStyle;
    FColor = Source.FColor;
    Changed();
}

void TFont::Changed() {
    if (FHandle) {
        FHandle.reset();
        CountGdiObject(-1);
    }
    if (OnChange)
        OnChange();
}

namespace {

bool IsDefaultFont(const std::string& name, int size, unsigned style) {
    return name == "Tahoma" && size == 8 && style == 0;
}

HFONT CreateFontHandle(const std::string& name, int size, unsigned style) {
    WindowDC screen(nullptr);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(size, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    font.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style & fsItalic) ? TRUE : FALSE;
    font.lfUnderline = (style & fsUnderline) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(font.lfFaceName, name.c_str(), LF_FACESIZE);
    HFONT handle = CreateFontIndirectA(&font);
    if (!handle)
        throw std::runtime_error("Cannot create the font " + name);
    return handle;
}

} // namespace

HFONT TFont::Handle() {
    // Most controls keep the default font: they share one, made once for the process.
    if (IsDefaultFont(FName, FSize, FStyle)) {
        static UniqueFont shared(CreateFontHandle("Tahoma", 8, 0));
        return shared.get();
    }
    if (!FHandle) {
        FHandle.reset(CreateFontHandle(FName, FSize, FStyle));
        CountGdiObject(1);
    }
    return FHandle.get();
}

} // namespace vireon
