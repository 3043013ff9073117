#include "dvdnav/DvdVolumeReport.h"

#include "dvdnav/DvdLanguages.h"

#include <cstdio>

namespace dvdnav {

namespace {

std::string LanguageText(bool HasLanguage, const std::string& Code) {
    if (!HasLanguage || Code.empty())
        return "xx - Unknown";
    return Code + " - " + LanguageEnglishName(Code);
}

}  // namespace

std::string FormatDuration(int64_t Milliseconds) {
    char Text[48];
    std::snprintf(Text, sizeof Text, "%lld:%02lld:%02lld.%03lld", static_cast<long long>(Milliseconds / 3600000),
                  static_cast<long long>(Milliseconds / 60000 % 60), static_cast<long long>(Milliseconds / 1000 % 60),
                  static_cast<long long>(Milliseconds % 1000));
    return Text;
}

std::string DescribeVolume(const TDvdVolume& Volume) {
    std::string Out;
    char Line[160];
    for (const TDvdTitle& Title : Volume.Titles) {
        const TTitleSet& Set = Volume.TitleSetOf(Title).Info;
        std::snprintf(Line, sizeof Line, "Title: %d, Length: %s, Chapters: %zu\n", Title.Number,
                      FormatDuration(Title.DurationMs).c_str(), Title.Chapters.size());
        Out += Line;
        int Number = 0;
        for (size_t I = 0; I < Set.Audio.size(); ++I) {
            if (!(Title.AudioControl[I] & 0x8000))
                continue;
            std::snprintf(Line, sizeof Line, "  Audio: %d, Language: %s\n", ++Number,
                          LanguageText(Set.Audio[I].HasLanguage, Set.Audio[I].Language).c_str());
            Out += Line;
        }
        Number = 0;
        for (size_t I = 0; I < Set.Subpictures.size(); ++I) {
            if (!(Title.SubpictureControl[I] & 0x80000000u))
                continue;
            std::snprintf(Line, sizeof Line, "  Subtitle: %d, Language: %s\n", ++Number,
                          LanguageText(Set.Subpictures[I].HasLanguage, Set.Subpictures[I].Language).c_str());
            Out += Line;
        }
    }
    return Out;
}

}  // namespace dvdnav
