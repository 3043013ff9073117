// Writes the programs' icons: 32 x 32 and 16 x 16 images, each in 256 colours and in 32-bit colour.
// Usage: MakeIcon player|survey OUT.ico
// The art is drawn here from simple shapes, supersampled for smooth edges.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

enum class Glyph { Player, Survey };

bool insideRoundedSquare(double x, double y, double radius) {
    double cx = std::clamp(x, radius, 1.0 - radius);
    double cy = std::clamp(y, radius, 1.0 - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool insidePlayTriangle(double x, double y) {
    // Points (0.38,0.28), (0.38,0.72), (0.74,0.5).
    if (x < 0.38)
        return false;
    double half = 0.22 * (0.74 - x) / 0.36;
    return std::fabs(y - 0.5) <= half;
}

bool insideQuestionMark(double x, double y) {
    double dx = x - 0.5, dy = y - 0.38;
    double r = std::sqrt(dx * dx + dy * dy);
    bool arc = r > 0.11 && r < 0.2 && !(dx < 0 && dy > 0);
    bool stem = std::fabs(x - 0.5) < 0.045 && y > 0.5 && y < 0.64;
    double ddx = x - 0.5, ddy = y - 0.75;
    bool dot = ddx * ddx + ddy * ddy < 0.055 * 0.055;
    return arc || stem || dot;
}

// Colour of one point of the unit square.
Rgba shade(Glyph glyph, double x, double y) {
    if (!insideRoundedSquare(x, y, 0.22))
        return {};
    bool mark = glyph == Glyph::Player ? insidePlayTriangle(x, y) : insideQuestionMark(x, y);
    if (mark)
        return {245, 247, 250, 255};
    // Accent blue, lighter at the top.
    double t = y;
    return {30 + 20 * (1 - t), 110 + 40 * (1 - t), 200 + 40 * (1 - t), 255};
}

std::vector<Rgba> render(Glyph glyph, int size) {
    constexpr int kSub = 4;
    std::vector<Rgba> out(size * size);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            Rgba sum;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    Rgba c = shade(glyph, (px + (sx + 0.5) / kSub) / size, (py + (sy + 0.5) / kSub) / size);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            Rgba& p = out[py * size + px];
            if (sum.a > 0) {
                p.r = sum.r / sum.a;
                p.g = sum.g / sum.a;
                p.b = sum.b / sum.a;
            }
            p.a = sum.a / (kSub * kSub);
        }
    return out;
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
uint8_t byte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// A 6 x 6 x 6 colour cube followed by 40 greys.
std::vector<Rgba> palette() {
    std::vector<Rgba> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.push_back({r * 51.0, g * 51.0, b * 51.0, 255});
    for (int i = 0; i < 40; ++i) {
        double v = 255.0 * i / 39;
        p.push_back({v, v, v, 255});
    }
    return p;
}

int nearest(const std::vector<Rgba>& pal, const Rgba& c) {
    int best = 0;
    double bestDistance = 1e30;
    for (size_t i = 0; i < pal.size(); ++i) {
        double d = (pal[i].r - c.r) * (pal[i].r - c.r) + (pal[i].g - c.g) * (pal[i].g - c.g) +
                   (pal[i].b - c.b) * (pal[i].b - c.b);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<uint8_t> encodeImage(const std::vector<Rgba>& px, int size, int bits) {
    std::vector<uint8_t> b;
    put32(b, 40);
    put32(b, size);
    put32(b, size * 2);  // colour and mask planes
    put16(b, 1);
    put16(b, bits);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, bits == 8 ? 256 : 0);
    put32(b, 0);
    std::vector<Rgba> pal = palette();
    if (bits == 8)
        for (const Rgba& c : pal) {
            b.push_back(byte(c.b));
            b.push_back(byte(c.g));
            b.push_back(byte(c.r));
            b.push_back(0);
        }
    const int rowBytes = ((size * bits / 8) + 3) & ~3;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < size; ++x) {
            const Rgba& c = px[y * size + x];
            if (bits == 32) {
                row.push_back(byte(c.b));
                row.push_back(byte(c.g));
                row.push_back(byte(c.r));
                row.push_back(byte(c.a));
            } else {
                row.push_back(static_cast<uint8_t>(c.a >= 128 ? nearest(pal, c) : 0));
            }
        }
        row.resize(rowBytes, 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    const int maskBytes = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskBytes, 0);
        for (int x = 0; x < size; ++x)
            if (px[y * size + x].a < 128)
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[1]) != "player" && std::string(argv[1]) != "survey")) {
        std::fprintf(stderr, "usage: MakeIcon player|survey OUT.ico\n");
        return 2;
    }
    Glyph glyph = std::string(argv[1]) == "player" ? Glyph::Player : Glyph::Survey;
    struct Entry {
        int size, bits;
        std::vector<uint8_t> data;
    };
    std::vector<Entry> entries;
    for (int size : {32, 16})
        for (int bits : {8, 32})
            entries.push_back({size, bits, encodeImage(render(glyph, size), size, bits)});

    std::vector<uint8_t> file;
    put16(file, 0);
    put16(file, 1);
    put16(file, static_cast<uint32_t>(entries.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
    for (const Entry& e : entries) {
        file.push_back(static_cast<uint8_t>(e.size));
        file.push_back(static_cast<uint8_t>(e.size));
        file.push_back(0);  // 256 or more colours
        file.push_back(0);
        put16(file, 1);
        put16(file, e.bits);
        put32(file, static_cast<uint32_t>(e.data.size()));
        put32(file, offset);
        offset += static_cast<uint32_t>(e.data.size());
    }
    for (const Entry& e : entries)
        file.insert(file.end(), e.data.begin(), e.data.end());

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
