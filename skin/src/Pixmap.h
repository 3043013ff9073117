// A 32-bit premultiplied BGRA pixel buffer (the layout of a top-down 32-bit DIB) and the blending
// arithmetic the engine draws with.
#pragma once

#include "PixelMath.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vireon::skin {

class TPixmap {
public:
    // Images beyond this many pixels are refused (about 256 MB).
    static constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;
    static constexpr int kMaxSide = 32768;

    TPixmap() = default;
    // Transparent; throws ESkinError for absurd sizes.
    TPixmap(int width, int height);
    // A view of memory owned elsewhere (a DIB section); copies of it own their pixels.
    TPixmap(int width, int height, uint32_t* external);
    TPixmap(const TPixmap& other);
    TPixmap& operator=(const TPixmap& other);
    TPixmap(TPixmap&& other) noexcept;
    TPixmap& operator=(TPixmap&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    uint32_t* Row(int y) { return data_ + static_cast<size_t>(y) * width_; }
    const uint32_t* Row(int y) const { return data_ + static_cast<size_t>(y) * width_; }
    uint32_t At(int x, int y) const { return Row(y)[x]; }
    uint32_t* Data() { return data_; }
    const uint32_t* Data() const { return data_; }

    RECT Bounds() const { return {0, 0, width_, height_}; }
    // Sets every pixel of the rectangle (clipped) to the premultiplied colour.
    void Fill(const RECT& rect, uint32_t premultiplied);
    // Blends `source` from `origin` over the rectangle (clipped to both images).
    void Blend(const RECT& rect, const TPixmap& source, POINT origin);
    // Copies instead of blending.
    void Copy(const RECT& rect, const TPixmap& source, POINT origin);

private:
    void Allocate(int width, int height);

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
    uint32_t* data_ = nullptr;
};

// Clips `rect` to `bounds`; false when nothing is left.
bool ClipRect(RECT& rect, const RECT& bounds);

} // namespace vireon::skin
