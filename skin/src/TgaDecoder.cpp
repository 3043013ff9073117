#include "TgaDecoder.h"

#include "PixelMath.h"

#include <string>

namespace vireon::skin {

namespace {

constexpr size_t kHeaderSize = 18;

uint32_t ReadPixel(const uint8_t* p, int bytes) {
    uint32_t a = bytes == 4 ? p[3] : 255;
    return Premultiply((a << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]);
}

std::string SizeText(const TTgaHeader& header) {
    return std::to_string(header.width) + " x " + std::to_string(header.height);
}

// Where the pixels in file order go in the top-down output, whatever order the file stores.
class TPixelCursor {
public:
    TPixelCursor(const TTgaHeader& header, uint32_t* out)
        : out_(out), width_(header.width), height_(header.height), topDown_((header.descriptor & 0x20) != 0),
          rightToLeft_((header.descriptor & 0x10) != 0) {
        StartRow();
    }

    void Put(uint32_t pixel) {
        row_[rightToLeft_ ? width_ - 1 - column_ : column_] = pixel;
        if (++column_ == width_) {
            column_ = 0;
            ++fileRow_;
            if (fileRow_ < height_)
                StartRow();
        }
    }

private:
    void StartRow() {
        int y = topDown_ ? fileRow_ : height_ - 1 - fileRow_;
        row_ = out_ + size_t(y) * width_;
    }

    uint32_t* out_;
    uint32_t* row_ = nullptr;
    int width_;
    int height_;
    bool topDown_;
    bool rightToLeft_;
    int fileRow_ = 0;
    int column_ = 0;
};

} // namespace

TTgaHeader ReadTgaHeader(std::span<const uint8_t> data, int maxSide, int64_t maxPixels) {
    if (data.size() < kHeaderSize)
        throw ETgaError("not a TGA image (the header is incomplete)");
    const uint8_t* h = data.data();
    TTgaHeader header{h[2], h[12] | (h[13] << 8), h[14] | (h[15] << 8), h[16] / 8, h[17], kHeaderSize + h[0]};
    if (h[1] != 0 || (header.type != 2 && header.type != 10))
        throw ETgaError("unsupported TGA type " + std::to_string(header.type) +
                        " (only true colour, raw or RLE)");
    if (h[16] != 24 && h[16] != 32)
        throw ETgaError("unsupported TGA depth of " + std::to_string(h[16]) + " bits");
    if (header.width == 0 || header.height == 0)
        throw ETgaError("the TGA image has no pixels");
    if (header.width > maxSide || header.height > maxSide ||
        int64_t(header.width) * header.height > maxPixels)
        throw ETgaError("the TGA image size " + SizeText(header) + " is out of range");
    // The least data the promised size needs, checked before any memory is taken for it.
    size_t count = size_t(header.width) * header.height;
    size_t least = header.type == 2 ? count * header.bytes : (count + 127) / 128 * (1 + header.bytes);
    if (header.start + least > data.size())
        throw ETgaError("the TGA data is truncated (the header promises " + SizeText(header) + " pixels)");
    return header;
}

void DecodeTgaPixels(std::span<const uint8_t> data, const TTgaHeader& header, uint32_t* out) {
    size_t count = size_t(header.width) * header.height, pos = header.start;
    TPixelCursor cursor(header, out);
    auto need = [&](size_t n) {
        if (pos > data.size() || data.size() - pos < n)
            throw ETgaError("the TGA data is truncated");
    };
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        bool repeat = false;
        if (header.type == 10) {
            need(1);
            run = (data[pos] & 0x7F) + 1;
            repeat = (data[pos] & 0x80) != 0;
            ++pos;
            if (run > count - i)
                throw ETgaError("a TGA run goes past the end of the image");
        }
        need(repeat ? header.bytes : run * header.bytes);
        if (repeat) {
            uint32_t pixel = ReadPixel(&data[pos], header.bytes);
            for (size_t k = 0; k < run; ++k)
                cursor.Put(pixel);
            pos += header.bytes;
        } else {
            for (size_t k = 0; k < run; ++k, pos += header.bytes)
                cursor.Put(ReadPixel(&data[pos], header.bytes));
        }
        i += run;
    }
}

} // namespace vireon::skin
