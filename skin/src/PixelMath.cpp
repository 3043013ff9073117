#include "PixelMath.h"

#include <algorithm>

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

} // namespace vireon::skin
