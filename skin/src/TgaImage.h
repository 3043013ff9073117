// Reading TGA images (true colour, 24 or 32 bits, raw or run-length encoded, either row order).
#pragma once

#include "Pixmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vireon::skin {

// Decodes the bytes of a TGA file into a premultiplied pixmap. Throws ESkinError with a message
// that starts with `name` when the data is not a supported, complete TGA image.
TPixmap DecodeTga(const std::vector<uint8_t>& data, const std::string& name);

// Reads a whole file of at most `limit` bytes; throws ESkinError naming the file otherwise.
std::vector<uint8_t> ReadFileBytes(const std::wstring& path, size_t limit);

} // namespace vireon::skin
