// The pixel arithmetic the engine draws with: 32-bit premultiplied BGRA (0xAARRGGBB in a uint32_t).
// Platform-free, so the decoders that use it are also built and fuzzed on the host.
#pragma once

#include <cstdint>

namespace vireon::skin {

// 0xAARRGGBB with straight alpha to premultiplied.
uint32_t Premultiply(uint32_t argb);
// Source over destination, both premultiplied.
uint32_t BlendOver(uint32_t dst, uint32_t src);
// Scales a premultiplied colour by coverage 0..255.
uint32_t ScaleColour(uint32_t premultiplied, unsigned coverage);

} // namespace vireon::skin
