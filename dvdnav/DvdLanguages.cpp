#include "dvdnav/DvdLanguages.h"

#include <array>

namespace dvdnav {

namespace {

struct TLanguage {
    std::string_view Code;
    uint16_t PrimaryLanguage;
    std::string_view EnglishName;
};

constexpr uint32_t SublangDefault = 0x01;

constexpr std::array Languages{
    TLanguage{"af", 0x36, "Afrikaans"},  TLanguage{"ar", 0x01, "Arabic"},
    TLanguage{"bg", 0x02, "Bulgarian"},  TLanguage{"ca", 0x03, "Catalan"},
    TLanguage{"cs", 0x05, "Czech"},      TLanguage{"cy", 0x52, "Welsh"},
    TLanguage{"da", 0x06, "Danish"},     TLanguage{"de", 0x07, "German"},
    TLanguage{"el", 0x08, "Greek"},      TLanguage{"en", 0x09, "English"},
    TLanguage{"es", 0x0a, "Spanish"},    TLanguage{"et", 0x25, "Estonian"},
    TLanguage{"eu", 0x2d, "Basque"},     TLanguage{"fa", 0x29, "Persian"},
    TLanguage{"fi", 0x0b, "Finnish"},    TLanguage{"fr", 0x0c, "French"},
    TLanguage{"ga", 0x3c, "Irish"},      TLanguage{"gl", 0x56, "Galician"},
    TLanguage{"he", 0x0d, "Hebrew"},     TLanguage{"hi", 0x39, "Hindi"},
    TLanguage{"hr", 0x1a, "Croatian"},   TLanguage{"hu", 0x0e, "Hungarian"},
    TLanguage{"id", 0x21, "Indonesian"}, TLanguage{"is", 0x0f, "Icelandic"},
    TLanguage{"it", 0x10, "Italian"},    TLanguage{"iw", 0x0d, "Hebrew"},
    TLanguage{"ja", 0x11, "Japanese"},   TLanguage{"ko", 0x12, "Korean"},
    TLanguage{"lt", 0x27, "Lithuanian"}, TLanguage{"lv", 0x26, "Latvian"},
    TLanguage{"ms", 0x3e, "Malay"},      TLanguage{"nl", 0x13, "Dutch"},
    TLanguage{"no", 0x14, "Norwegian"},  TLanguage{"pl", 0x15, "Polish"},
    TLanguage{"pt", 0x16, "Portuguese"}, TLanguage{"ro", 0x18, "Romanian"},
    TLanguage{"ru", 0x19, "Russian"},    TLanguage{"sk", 0x1b, "Slovak"},
    TLanguage{"sl", 0x24, "Slovenian"},  TLanguage{"sv", 0x1d, "Swedish"},
    TLanguage{"th", 0x1e, "Thai"},       TLanguage{"tr", 0x1f, "Turkish"},
    TLanguage{"uk", 0x22, "Ukrainian"},  TLanguage{"vi", 0x2a, "Vietnamese"},
    TLanguage{"zh", 0x04, "Chinese"},
};

const TLanguage* FindLanguage(std::string_view Code) {
    for (const TLanguage& Language : Languages)
        if (Language.Code == Code)
            return &Language;
    return nullptr;
}

}  // namespace

uint32_t LanguageCodeToLcid(std::string_view Code) {
    const TLanguage* Language = FindLanguage(Code);
    return Language ? SublangDefault << 10 | Language->PrimaryLanguage : 0;
}

std::string LanguageEnglishName(std::string_view Code) {
    const TLanguage* Language = FindLanguage(Code);
    return Language ? std::string(Language->EnglishName) : std::string("Unknown");
}

}  // namespace dvdnav
