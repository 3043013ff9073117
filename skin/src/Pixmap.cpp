#include "Pixmap.h"

#include "skin/SkinInterfaces.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace vireon::skin {

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
    Allocate(width, height);
}

void TPixmap::Allocate(int width, int height) {
    // A 32-bit process may not find room for what the size limit allows: the skin's error then,
    // like any other image it cannot take.
    try {
        pixels_.assign(static_cast<size_t>(width) * height, 0);
    } catch (const std::bad_alloc&) {
        throw ESkinError("not enough memory for an image of " + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels");
    }
    width_ = width;
    height_ = height;
    data_ = pixels_.data();
}

TPixmap::TPixmap(int width, int height, uint32_t* external)
    : width_(width), height_(height), data_(external) {}

TPixmap::TPixmap(const TPixmap& other) {
    if (!other.data_)
        return;
    Allocate(other.width_, other.height_);
    std::copy(other.data_, other.data_ + pixels_.size(), data_);
}

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
