// The font files a skin brings along, added for this process only while the skin is in use.
#pragma once

#include "common/Win32Handles.h"

#include <string>
#include <vector>

namespace vireon::skin {

class TPrivateFonts {
public:
    // A file that cannot be added is left out, its cause written to the debugger output: the
    // skin's text then falls back to the platform's faces.
    TPrivateFonts(const std::vector<std::wstring>& files, const std::string& skinName);

    size_t Loaded() const { return files_.size(); }

private:
    std::vector<PrivateFontFile> files_;
};

} // namespace vireon::skin
