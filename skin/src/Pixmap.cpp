#include "Pixmap.h"

#include "skin/SkinInterfaces.h"

#include <algorithm>
#include <string>
#include <utility>

namespace vireon::skin {

namespace {

unsigned Mul255(unsigned a, unsigned b) {
    unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

} // namespace

uint32_t Premultiply(uint32_t argb) {
    unsigned a = argb >> 24;
    unsigned r = Mul255((argb >> 16) & 0xFF, a);
    unsigned g = Mul255((argb >> 8) & 0xFF, a);
    unsigned b = Mul255(argb & 0xFF, a);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t BlendOver(uint32_t dst, uint32_t src) {
    unsigned sa = src >> 24;
    if (sa == 255)
        return src;
    if (sa == 0)
        return dst;
    unsigned inv = 255 - sa;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        unsigned s = (src >> shift) & 0xFF;
        unsigned d = (dst >> shift) & 0xFF;
        out |= std::min(255u, s + Mul255(d, inv)) << shift;
    }
    return out;
}

uint32_t ScaleColour(uint32_t premultiplied, unsigned coverage) {
    if (coverage >= 255)
        return premultiplied;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= Mul255((premultiplied >> shift) & 0xFF, coverage) << shift;
    return out;
}

bool ClipRect(RECT& rect, const RECT& bounds) {
    rect.left = std::max(rect.left, bounds.left);
    rect.top = std::max(rect.top, bounds.top);
    rect.right = std::min(rect.right, bounds.right);
    rect.bottom = std::min(rect.bottom, bounds.bottom);
    return rect.left < rect.right && rect.top < rect.bottom;
}

TPixmap::TPixmap(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<int64_t>(width) * height > kMaxPixels)
        throw ESkinError("image size " + std::to_string(width) + " x " + std::to_string(height) +
                         " is out of range");
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * height, 0);
    data_ = pixels_.data();
}

TPixmap::TPixmap(int width, int height, uint32_t* external)
    : width_(width), height_(height), data_(external) {}

TPixmap::TPixmap(const TPixmap& other)
    : width_(other.width_), height_(other.height_),
      pixels_(other.data_, other.data_ + static_cast<size_t>(other.width_) * other.height_),
      data_(pixels_.data()) {}

TPixmap& TPixmap::operator=(const TPixmap& other) {
    if (this != &other)
        *this = TPixmap(other);
    return *this;
}

TPixmap::TPixmap(TPixmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      pixels_(std::move(other.pixels_)), data_(std::exchange(other.data_, nullptr)) {}

TPixmap& TPixmap::operator=(TPixmap&& other) noexcept {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::move(other.pixels_);
    data_ = std::exchange(other.data_, nullptr);
    return *this;
}

void TPixmap::Fill(const RECT& rect, uint32_t premultiplied) {
    RECT r = rect;
    if (!ClipRect(r, Bounds()))
        return;
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(Row(y) + r.left, Row(y) + r.right, premultiplied);
}

namespace {

// The part of `rect` that both images cover, with the matching source origin.
bool ClipPair(RECT& rect, POINT& origin, const RECT& destBounds, const TPixmap& source) {
    RECT r = rect;
    if (!ClipRect(r, destBounds))
        return false;
    origin.x += r.left - rect.left;
    origin.y += r.top - rect.top;
    if (origin.x < 0) {
        r.left -= origin.x;
        origin.x = 0;
    }
    if (origin.y < 0) {
        r.top -= origin.y;
        origin.y = 0;
    }
    r.right = std::min<LONG>(r.right, r.left + source.Width() - origin.x);
    r.bottom = std::min<LONG>(r.bottom, r.top + source.Height() - origin.y);
    rect = r;
    return r.left < r.right && r.top < r.bottom;
}

} // namespace

void TPixmap::Blend(const RECT& rect, const TPixmap& source, POINT origin) {
    RECT r = rect;
    if (!ClipPair(r, origin, Bounds(), source))
        return;
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* dst = Row(y) + r.left;
        const uint32_t* src = source.Row(origin.y + y - r.top) + origin.x;
        for (int x = 0; x < r.right - r.left; ++x)
            dst[x] = BlendOver(dst[x], src[x]);
    }
}

void TPixmap::Copy(const RECT& rect, const TPixmap& source, POINT origin) {
    RECT r = rect;
    if (!ClipPair(r, origin, Bounds(), source))
        return;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = source.Row(origin.y + y - r.top) + origin.x;
        std::copy(src, src + (r.right - r.left), Row(y) + r.left);
    }
}

} // namespace vireon::skin
