// The TGA format itself (true colour, 24 or 32 bits, raw or run-length encoded, any row and column
// order), apart from the engine's images. Platform-free, so it is also built and fuzzed on the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace vireon::skin {

// Why the bytes are not a supported, complete TGA image (the file's name is added by the caller).
class ETgaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header's promise of the size, and where the pixel data starts.
struct TTgaHeader {
    int type = 0;
    int width = 0;
    int height = 0;
    int bytes = 0;
    int descriptor = 0;
    size_t start = 0;
};

// Reads and checks the header: a supported kind, a size within maxSide and maxPixels, and at least
// the data that size needs. Throws ETgaError.
TTgaHeader ReadTgaHeader(std::span<const uint8_t> data, int maxSide, int64_t maxPixels);

// Decodes the pixels as premultiplied 0xAARRGGBB straight into `out`, width x height top row first,
// with no buffer between. Throws ETgaError when the data runs out or a run passes the image's end;
// `out` is then partly written.
void DecodeTgaPixels(std::span<const uint8_t> data, const TTgaHeader& header, uint32_t* out);

} // namespace vireon::skin
