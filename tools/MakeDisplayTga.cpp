// Draws the picture of the "Insufficient decoders" dialog: a disc with an amber warning badge,
// 64 x 64, written as a 32-bit TGA with straight alpha (bottom-up rows, uncompressed).
// Usage: MakeDisplayTga OUT.tga
#include "Raster.h"

#include <cstdio>
#include <fstream>
#include <vector>

using namespace vireon::skin;

namespace {

constexpr int kSize = 64;

TPixmap Draw() {
    TPixmap image(kSize, kSize);
    TMask shadow(kSize, kSize);
    shadow.Circle(29, 31, 26);
    PaintMask(image, shadow, 0, 0, 0x30000000);
    TMask disc(kSize, kSize);
    disc.Circle(28, 28, 25);
    PaintMask(image, disc, 0, 0, 0xFF5B6B84, 0xFF2B3445);
    TMask sheen(kSize, kSize);
    sheen.CircleOutline(28, 28, 17, 9);
    PaintMask(image, sheen, 0, 0, 0x40A8C4FF, 0x10FFFFFF);
    TMask rim(kSize, kSize);
    rim.CircleOutline(28, 28, 24.5f, 1);
    PaintMask(image, rim, 0, 0, 0x50FFFFFF, 0x20FFFFFF);
    TMask hub(kSize, kSize);
    hub.Circle(28, 28, 7.5f);
    PaintMask(image, hub, 0, 0, 0xFFC9D3E3);
    TMask hole(kSize, kSize);
    hole.Circle(28, 28, 3.5f);
    PaintMask(image, hole, 0, 0, 0xFF222834);

    std::vector<TPolyline> triangle{{{{47, 33}, {62, 60}, {32, 60}}, true}};
    TMask badgeEdge(kSize, kSize);
    badgeEdge.Stroke(triangle, 5);
    badgeEdge.Fill(triangle);
    PaintMask(image, badgeEdge, 0, 0, 0xFFF5B83D, 0xFFE8912A);
    TMask mark(kSize, kSize);
    mark.Stroke({{{{47, 42}, {47, 51}}, false}}, 3.2f);
    mark.Circle(47, 56.5f, 1.9f);
    PaintMask(image, mark, 0, 0, 0xFF3A2608);
    return image;
}

void WriteTga(const TPixmap& image, const char* path) {
    std::vector<unsigned char> out(18, 0);
    out[2] = 2;
    out[12] = kSize & 0xFF;
    out[13] = kSize >> 8;
    out[14] = kSize & 0xFF;
    out[15] = kSize >> 8;
    out[16] = 32;
    out[17] = 8; // eight alpha bits, bottom-up rows
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            uint32_t p = image.At(x, y);
            unsigned a = p >> 24;
            auto straight = [&](int shift) {
                unsigned c = (p >> shift) & 0xFF;
                return static_cast<unsigned char>(a ? std::min(255u, (c * 255 + a / 2) / a) : 0);
            };
            out.push_back(straight(0));
            out.push_back(straight(8));
            out.push_back(straight(16));
            out.push_back(static_cast<unsigned char>(a));
        }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDisplayTga OUT.tga\n");
        return 2;
    }
    WriteTga(Draw(), argv[1]);
    return 0;
}
