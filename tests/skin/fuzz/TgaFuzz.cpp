// libFuzzer target over the TGA decoder, built for the host with sanitizers. Any bytes as a TGA file;
// when the header is accepted, every pixel is decoded and checked: each one written exactly where a
// plain reading of the file puts it, premultiplied, opaque in a 24-bit image, and a raw image with
// the data its header promised never fails.
#include "skin/src/PixelMath.h"
#include "skin/src/TgaDecoder.h"
#include "tests/support/FuzzProperty.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vireon::skin;

using fuzzsupport::Check;

namespace {

// Small limits keep every run fast; the limits themselves are checked here as properties.
constexpr int kMaxSide = 2048;
constexpr int64_t kMaxPixels = 1 << 16;
// Alpha 0 with a colour is no premultiplied pixel: whatever still holds it was never written.
constexpr uint32_t kUnwritten = 0x00FFFFFF;

// The pixels in file order, read the obvious way; false when the data runs out first.
[[clang::no_sanitize("coverage")]] bool
ReadFileOrder(const uint8_t* data, size_t size, const TTgaHeader& header, std::vector<uint32_t>& pixels) {
    size_t count = size_t(header.width) * header.height, pos = header.start;
    auto pixel = [&](size_t at) {
        uint32_t a = header.bytes == 4 ? data[at + 3] : 255;
        return Premultiply(a << 24 | uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 1]) << 8 | data[at]);
    };
    while (pixels.size() < count) {
        bool rle = header.type == 10;
        if (rle && pos >= size)
            return false;
        size_t run = rle ? (data[pos] & 0x7F) + 1 : 1;
        bool repeat = rle && (data[pos] & 0x80);
        pos += rle;
        for (size_t k = 0; k < run; ++k) {
            if (pos + header.bytes > size || pixels.size() == count)
                return false;
            pixels.push_back(pixel(pos));
            if (!repeat || k + 1 == run)
                pos += header.bytes;
        }
    }
    return true;
}

[[clang::no_sanitize("coverage")]] void
CheckPixels(const uint8_t* data, size_t size, const TTgaHeader& header, const std::vector<uint32_t>& out) {
    std::vector<uint32_t> fileOrder;
    bool complete = ReadFileOrder(data, size, header, fileOrder);
    Check(complete, "a decoded image whose data a plain reading finds incomplete");
    bool topDown = header.descriptor & 0x20, rightToLeft = header.descriptor & 0x10;
    for (int row = 0; row < header.height; ++row)
        for (int column = 0; column < header.width; ++column) {
            int y = topDown ? row : header.height - 1 - row,
                x = rightToLeft ? header.width - 1 - column : column;
            uint32_t pixel = out[size_t(y) * header.width + x];
            Check(pixel != kUnwritten, "a pixel left unwritten");
            Check(pixel == fileOrder[size_t(row) * header.width + column], "a pixel in the wrong place");
            for (int shift = 0; shift < 24; shift += 8)
                Check(((pixel >> shift) & 0xFF) <= pixel >> 24, "a pixel that is not premultiplied");
            Check(header.bytes == 4 || pixel >> 24 == 255, "a 24-bit pixel that is not opaque");
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    TTgaHeader header;
    try {
        header = ReadTgaHeader(bytes, kMaxSide, kMaxPixels);
    } catch (const ETgaError&) {
        return 0;
    }
    Check(header.width >= 1 && header.height >= 1 && header.width <= kMaxSide && header.height <= kMaxSide &&
              int64_t(header.width) * header.height <= kMaxPixels,
          "an accepted size beyond the limits");
    std::vector<uint32_t> out(size_t(header.width) * header.height, kUnwritten);
    try {
        DecodeTgaPixels(bytes, header, out.data());
    } catch (const ETgaError&) {
        Check(header.type == 10, "a raw image with all its data that fails to decode");
        return 0;
    }
    CheckPixels(data, size, header, out);
    return 0;
}
