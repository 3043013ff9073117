#include "TPrivateFonts.h"

#include "common/TextConversion.h"

#include "TSkin.h"
#include "TgaImage.h"

namespace vireon::skin {

TPrivateFonts::TPrivateFonts(const std::vector<std::wstring>& files, const std::string& skinName) {
    for (const std::wstring& path : files) {
        PrivateFontFile file(path);
        if (file) {
            files_.push_back(std::move(file));
            continue;
        }
        bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        Trace(skinName + ": the font file " + Utf8FromWide(path) +
              (exists ? " holds no font this system can read" : " is missing") +
              "; its text is drawn in the platform's faces");
    }
}

} // namespace vireon::skin
