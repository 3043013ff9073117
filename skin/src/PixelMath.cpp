#include "PixelMath.h"

namespace vireon::skin {

uint32_t Premultiply(uint32_t argb) {
    unsigned a = argb >> 24;
    unsigned r = Mul255((argb >> 16) & 0xFF, a);
    unsigned g = Mul255((argb >> 8) & 0xFF, a);
    unsigned b = Mul255(argb & 0xFF, a);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

} // namespace vireon::skin
