#include "Raster.h"

#include <cmath>

namespace vireon::skin {

namespace {

uint32_t Lerp(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        float ca = float((a >> shift) & 0xFF), cb = float((b >> shift) & 0xFF);
        out |= uint32_t(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

} // namespace

void PaintMask(TPixmap& target, const TMask& mask, int x, int y, uint32_t colour) {
    PaintMask(target, mask, x, y, colour, colour);
}

void PaintMask(TPixmap& target, const TMask& mask, int x, int y, uint32_t colour, uint32_t bottom) {
    for (int my = 0; my < mask.Height(); ++my) {
        int ty = y + my;
        if (ty < 0 || ty >= target.Height())
            continue;
        float t = mask.Height() > 1 ? float(my) / float(mask.Height() - 1) : 0.f;
        uint32_t premul = Premultiply(colour == bottom ? colour : Lerp(colour, bottom, t));
        uint32_t* row = target.Row(ty);
        for (int mx = 0; mx < mask.Width(); ++mx) {
            int tx = x + mx;
            float c = mask.At(mx, my);
            if (tx < 0 || tx >= target.Width() || c <= 0)
                continue;
            // Most of a shape is fully covered.
            row[tx] =
                BlendOver(row[tx], c >= 1 ? premul : ScaleColour(premul, unsigned(std::lround(c * 255))));
        }
    }
}

} // namespace vireon::skin
