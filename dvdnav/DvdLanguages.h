// ISO 639 language codes of DVD streams, their Windows language identifiers and English names.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dvdnav {

// The locale a stream gets when its language is not given or not one Windows knows: the
// invariant locale, whose name is no language's ("Invariant Language").
constexpr uint32_t UnknownLanguageLcid = 0x007F;

// Windows locale identifier of a two-letter ISO 639-1 code (also the three 1988 codes discs still
// carry: iw, in, ji); UnknownLanguageLcid when the code is empty, unknown or has no Windows locale.
uint32_t LanguageCodeToLcid(std::string_view Code);

// English name of a two-letter code ("English"); "Unknown" when not known.
std::string LanguageEnglishName(std::string_view Code);

} // namespace dvdnav
