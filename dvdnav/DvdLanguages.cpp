#include "dvdnav/DvdLanguages.h"

#include <array>

namespace dvdnav {

namespace {

struct TLanguage {
    std::string_view Code;
    uint32_t Lcid; // 0: Windows has no locale of this language
    std::string_view EnglishName;
};

constexpr std::array Languages{
#include "dvdnav/DvdLanguageTable.inc"
};

const TLanguage* FindLanguage(std::string_view Code) {
    if (Code.size() != 2)
        return nullptr;
    // Discs are not consistent about case.
    char Lower[2] = {static_cast<char>(Code[0] | 0x20), static_cast<char>(Code[1] | 0x20)};
    std::string_view Key(Lower, 2);
    for (const TLanguage& Language : Languages)
        if (Language.Code == Key)
            return &Language;
    return nullptr;
}

} // namespace

uint32_t LanguageCodeToLcid(std::string_view Code) {
    const TLanguage* Language = FindLanguage(Code);
    return Language && Language->Lcid ? Language->Lcid : UnknownLanguageLcid;
}

std::string LanguageEnglishName(std::string_view Code) {
    const TLanguage* Language = FindLanguage(Code);
    return Language ? std::string(Language->EnglishName) : std::string("Unknown");
}

} // namespace dvdnav
