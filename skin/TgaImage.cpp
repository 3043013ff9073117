#include "skin/TgaImage.h"

#include "common/Win32Handles.h"
#include "skin/SkinInterfaces.h"

namespace vireon {

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path, size_t limit) {
    std::string name = Narrow(path);
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

TPixmap DecodeTga(const std::vector<uint8_t>& data, const std::string& name) {
    auto fail = [&](const std::string& why) { return ESkinError(name + ": " + why); };
    if (data.size() < kHeaderSize)
        throw fail("not a TGA image (the header is incomplete)");
    const uint8_t* h = data.data();
    int idLength = h[0], colourMapType = h[1], type = h[2];
    int width = h[12] | (h[13] << 8), height = h[14] | (h[15] << 8);
    int bits = h[16], descriptor = h[17];
    if (colourMapType != 0 || (type != 2 && type != 10))
        throw fail("unsupported TGA type " + std::to_string(type) + " (only true colour, raw or RLE)");
    if (bits != 24 && bits != 32)
        throw fail("unsupported TGA depth of " + std::to_string(bits) + " bits");
    if (width == 0 || height == 0)
        throw fail("the TGA image has no pixels");
    if (width > TPixmap::kMaxSide || height > TPixmap::kMaxSide ||
        int64_t(width) * height > TPixmap::kMaxPixels)
        throw fail("the TGA image size " + std::to_string(width) + " x " + std::to_string(height) +
                   " is out of range");
    int bytes = bits / 8;
    size_t pos = kHeaderSize + idLength;
    size_t count = size_t(width) * height;
    // The least data the promised size needs, checked before any memory is taken for it.
    size_t least = type == 2 ? count * bytes : (count + 127) / 128 * (1 + bytes);
    if (pos + least > data.size())
        throw fail("the TGA data is truncated (the header promises " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels)");
    TPixmap image(width, height);
    std::vector<uint32_t> pixels(count);
    auto need = [&](size_t n) {
        if (pos + n > data.size())
            throw fail("the TGA data is truncated (the header promises " + std::to_string(width) + " x " +
                       std::to_string(height) + " pixels)");
    };
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        bool repeat = false;
        if (type == 10) {
            need(1);
            run = (data[pos] & 0x7F) + 1;
            repeat = (data[pos] & 0x80) != 0;
            ++pos;
            if (i + run > count)
                throw fail("a TGA run goes past the end of the image");
        }
        if (repeat) {
            need(bytes);
            std::fill_n(pixels.begin() + i, run, ReadPixel(&data[pos], bytes));
            pos += bytes;
        } else {
            need(run * bytes);
            for (size_t k = 0; k < run; ++k, pos += bytes)
                pixels[i + k] = ReadPixel(&data[pos], bytes);
        }
        i += run;
    }
    bool topDown = (descriptor & 0x20) != 0;
    bool rightToLeft = (descriptor & 0x10) != 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = pixels.data() + size_t(topDown ? y : height - 1 - y) * width;
        uint32_t* dst = image.Row(y);
        for (int x = 0; x < width; ++x)
            dst[x] = src[rightToLeft ? width - 1 - x : x];
    }
    return image;
}

} // namespace vireon
