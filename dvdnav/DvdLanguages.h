// ISO 639 language codes of DVD streams, their Windows language identifiers and English names.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dvdnav {

// Windows locale identifier (primary language, default sub-language) of a two-letter code;
// 0 when the code is unknown or empty.
uint32_t LanguageCodeToLcid(std::string_view Code);

// English name of a two-letter code ("English"); "Unknown" when not known.
std::string LanguageEnglishName(std::string_view Code);

}  // namespace dvdnav
