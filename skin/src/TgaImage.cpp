#include "TgaImage.h"

#include "common/TextConversion.h"

#include "common/Win32Handles.h"
#include "skin/SkinInterfaces.h"

#include <functional>

namespace vireon::skin {

std::vector<uint8_t> ReadFileBytes(const std::wstring& path, size_t limit) {
    std::string name = Utf8FromWide(path);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw ESkinError(name + ": cannot open the file (error " + std::to_string(GetLastError()) + ")");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        throw ESkinError(name + ": cannot read the file size");
    if (static_cast<uint64_t>(size.QuadPart) > limit)
        throw ESkinError(name + ": the file is too large (" + std::to_string(size.QuadPart) +
                         " bytes, at most " + std::to_string(limit) + ")");
    std::vector<uint8_t> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!data.empty() &&
        (!ReadFile(file.get(), data.data(), DWORD(data.size()), &read, nullptr) || read != data.size()))
        throw ESkinError(name + ": cannot read the file");
    return data;
}

namespace {

constexpr size_t kHeaderSize = 18;

uint32_t ReadPixel(const uint8_t* p, int bytes) {
    uint32_t a = bytes == 4 ? p[3] : 255;
    return Premultiply((a << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]);
}

} // namespace

namespace {

// The header's promise of the size, and where the pixel data starts.
struct TTgaHeader {
    int type = 0;
    int width = 0;
    int height = 0;
    int bytes = 0;
    int descriptor = 0;
    size_t start = 0;
};

TTgaHeader ReadHeader(const std::vector<uint8_t>& data, const std::function<ESkinError(std::string)>& fail) {
    if (data.size() < kHeaderSize)
        throw fail("not a TGA image (the header is incomplete)");
    const uint8_t* h = data.data();
    TTgaHeader header{h[2], h[12] | (h[13] << 8), h[14] | (h[15] << 8), h[16] / 8, h[17], kHeaderSize + h[0]};
    if (h[1] != 0 || (header.type != 2 && header.type != 10))
        throw fail("unsupported TGA type " + std::to_string(header.type) + " (only true colour, raw or RLE)");
    if (h[16] != 24 && h[16] != 32)
        throw fail("unsupported TGA depth of " + std::to_string(h[16]) + " bits");
    if (header.width == 0 || header.height == 0)
        throw fail("the TGA image has no pixels");
    if (header.width > TPixmap::kMaxSide || header.height > TPixmap::kMaxSide ||
        int64_t(header.width) * header.height > TPixmap::kMaxPixels)
        throw fail("the TGA image size " + std::to_string(header.width) + " x " +
                   std::to_string(header.height) + " is out of range");
    // The least data the promised size needs, checked before any memory is taken for it.
    size_t count = size_t(header.width) * header.height;
    size_t least = header.type == 2 ? count * header.bytes : (count + 127) / 128 * (1 + header.bytes);
    if (header.start + least > data.size())
        throw fail("the TGA data is truncated (the header promises " + std::to_string(header.width) + " x " +
                   std::to_string(header.height) + " pixels)");
    return header;
}

// Pixels in file order, raw or run-length encoded.
std::vector<uint32_t> ReadPixels(const std::vector<uint8_t>& data, const TTgaHeader& header,
                                 const std::function<ESkinError(std::string)>& fail) {
    size_t count = size_t(header.width) * header.height, pos = header.start;
    std::vector<uint32_t> pixels(count);
    auto need = [&](size_t n) {
        if (pos + n > data.size())
            throw fail("the TGA data is truncated");
    };
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        bool repeat = false;
        if (header.type == 10) {
            need(1);
            run = (data[pos] & 0x7F) + 1;
            repeat = (data[pos] & 0x80) != 0;
            ++pos;
            if (i + run > count)
                throw fail("a TGA run goes past the end of the image");
        }
        need(repeat ? header.bytes : run * header.bytes);
        for (size_t k = 0; k < run; ++k) {
            pixels[i + k] = ReadPixel(&data[pos], header.bytes);
            if (!repeat)
                pos += header.bytes;
        }
        if (repeat)
            pos += header.bytes;
        i += run;
    }
    return pixels;
}

} // namespace

TPixmap DecodeTga(const std::vector<uint8_t>& data, const std::string& name) {
    auto fail = [&](const std::string& why) { return ESkinError(name + ": " + why); };
    TTgaHeader header = ReadHeader(data, fail);
    std::vector<uint32_t> pixels = ReadPixels(data, header, fail);
    TPixmap image(header.width, header.height);
    bool topDown = (header.descriptor & 0x20) != 0;
    bool rightToLeft = (header.descriptor & 0x10) != 0;
    int width = header.width, height = header.height;
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = pixels.data() + size_t(topDown ? y : height - 1 - y) * width;
        uint32_t* dst = image.Row(y);
        for (int x = 0; x < width; ++x)
            dst[x] = src[rightToLeft ? width - 1 - x : x];
    }
    return image;
}

} // namespace vireon::skin
