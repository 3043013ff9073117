// The pixel arithmetic the engine draws with: 32-bit premultiplied BGRA (0xAARRGGBB in a uint32_t).
// Platform-free, so the decoders that use it are also built and fuzzed on the host. Inline: every
// pixel of every picture goes through these.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vireon::skin {

// a * b / 255, rounded.
inline unsigned Mul255(unsigned a, unsigned b) {
    unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// 0xAARRGGBB with straight alpha to premultiplied.
uint32_t Premultiply(uint32_t argb);

// Source over destination, both premultiplied.
inline uint32_t BlendOver(uint32_t dst, uint32_t src) {
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

// Scales a premultiplied colour by coverage 0..255.
inline uint32_t ScaleColour(uint32_t premultiplied, unsigned coverage) {
    if (coverage >= 255)
        return premultiplied;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= Mul255((premultiplied >> shift) & 0xFF, coverage) << shift;
    return out;
}

} // namespace vireon::skin
