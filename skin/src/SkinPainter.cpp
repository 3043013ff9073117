#include "SkinPainter.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace vireon::skin {

TSurface::TSurface(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_ || !bits)
        throw ESkinError("cannot create a drawing surface of " + std::to_string(width) + " x " +
                         std::to_string(height));
    previous_ = SelectObject(dc_.get(), bitmap_.get());
    view_ = TPixmap(width, height, static_cast<uint32_t*>(bits));
}

TSurface::~TSurface() {
    if (dc_ && previous_)
        SelectObject(dc_.get(), previous_);
}

COLORREF ToColorRef(uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

namespace {

bool Visible(uint32_t colour) {
    return (colour >> 24) != 0;
}

void PaintBox(TPixmap& image, float radius, uint32_t fill, uint32_t fill2, uint32_t border) {
    float w = float(image.Width()), h = float(image.Height());
    if (Visible(fill) || Visible(fill2)) {
        TMask mask(image.Width(), image.Height());
        mask.RoundRect(0, 0, w, h, radius);
        PaintMask(image, mask, 0, 0, fill, fill2);
    }
    if (Visible(border)) {
        TMask ring(image.Width(), image.Height());
        ring.RoundRectBorder(0, 0, w, h, radius, 1);
        PaintMask(image, ring, 0, 0, border);
    }
}

} // namespace

TPixmap RenderPanel(const TObjectDef& def, int width, int height) {
    TPixmap image(std::max(0, width), std::max(0, height));
    if (image.Empty())
        return image;
    PaintBox(image, def.radius, def.fill, def.fill2, def.border);
    if (def.glyph)
        PaintMask(image, GlyphMask(*def.glyph, width, height, def.glyphSize, 0), 0, 0, def.colour);
    return image;
}

TPixmap RenderButton(const TObjectDef& def, int width, int height, TButtonStateIndex state) {
    TPixmap image(std::max(0, width), std::max(0, height));
    if (image.Empty())
        return image;
    const TButtonLook& look = def.style.states[state];
    PaintBox(image, def.style.radius, look.fill, look.fill, look.border);
    if (def.glyph)
        PaintMask(image, GlyphMask(*def.glyph, width, height, def.glyphSize, look.offset), 0, 0, look.glyph);
    return image;
}

int ThumbStart(const TObjectDef& def, int length, int pos, int max) {
    int travel = std::max(0, length - def.thumbSize);
    if (max <= 0)
        return 0;
    return int((int64_t(std::clamp(pos, 0, max)) * travel + max / 2) / max);
}

int PosFromPoint(const TObjectDef& def, int length, int along, int max) {
    int travel = std::max(1, length - def.thumbSize);
    int offset = std::clamp(along - def.thumbSize / 2, 0, travel);
    return int((int64_t(offset) * max + travel / 2) / travel);
}

TPixmap RenderScrollBar(const TObjectDef& def, int width, int height, int pos, int max, bool hot) {
    TPixmap image(std::max(0, width), std::max(0, height));
    if (image.Empty())
        return image;
    float w = float(width), h = float(height), t = float(def.trackWidth), s = float(def.thumbSize);
    if (Visible(def.track) && def.trackWidth > 0) {
        TMask track(width, height);
        if (def.vertical)
            track.RoundRect((w - t) / 2, s / 2 - t / 2, t, h - s + t, t / 2);
        else
            track.RoundRect(s / 2 - t / 2, (h - t) / 2, w - s + t, t, t / 2);
        PaintMask(image, track, 0, 0, def.track);
    }
    TMask thumb(width, height);
    int start = ThumbStart(def, def.vertical ? height : width, pos, max);
    // A hovered or dragged thumb grows a little, within the bar.
    float length = def.vertical ? h : w, centre = start + s / 2;
    float radius =
        std::min({s / 2 + (hot ? 1.5f : 0.f), (def.vertical ? w : h) / 2, centre, length - centre});
    if (def.vertical)
        thumb.Circle(w / 2, start + s / 2, radius);
    else
        thumb.Circle(start + s / 2, h / 2, radius);
    PaintMask(image, thumb, 0, 0, hot ? def.thumbHover : def.thumb);
    return image;
}

namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// The face the platform draws its own windows' text in.
std::wstring PlatformFace() {
    LOGFONTW font{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font))
        return {};
    return font.lfFaceName;
}

// The first face of the list this process has (the skin's own faces included), else the
// platform's default face.
std::wstring InstalledFace(const std::wstring& faces) {
    std::wstringstream list(faces);
    std::wstring face;
    WindowDC screen(nullptr);
    while (std::getline(list, face, L',')) {
        face.erase(0, face.find_first_not_of(L' '));
        face.erase(face.find_last_not_of(L' ') + 1);
        if (face.empty())
            continue;
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(screen.get(), &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found)
            return face;
    }
    return PlatformFace();
}

} // namespace

HFONT TFontCache::Get(const std::wstring& faces, int size, bool bold, bool underline) {
    auto key = std::make_tuple(faces, size, bold, underline);
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return found->second.get();
    std::wstring face = InstalledFace(faces);
    HFONT font = CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH, face.c_str());
    fonts_[key].reset(font);
    return font;
}

void DrawStaticText(HDC dc, const RECT& rect, const RECT& clip, const TObjectDef& def,
                    const std::wstring& text, TFontCache& fonts) {
    if (text.empty())
        return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SelectObject(dc, fonts.Get(def.font, def.fontSize, def.bold, def.underline));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(def.colour));
    UINT align = def.align == TAlign::Center ? DT_CENTER : def.align == TAlign::Right ? DT_RIGHT : DT_LEFT;
    RECT r = rect;
    DrawTextW(dc, text.c_str(), int(text.size()), &r,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    RestoreDC(dc, saved);
}

} // namespace vireon::skin
