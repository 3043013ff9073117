// The ten skin buttons that follow what the loaded media allows, found by name on a skin form and
// enabled or disabled together by a bit mask (bit n is the button of index n).
#pragma once

#include "skin/SkinInterfaces.h"

#include <array>
#include <string>

namespace vireon {

class TButtonController {
public:
    static constexpr int kButtonCount = 10;
    static constexpr unsigned kAllButtons = 1023;
    // "bnMenu", "bnAudio" and "bnSubtitles": what only a DVD offers.
    static constexpr unsigned kDvdButtons = 28;
    static constexpr unsigned kAudioButton = 1u << 3;
    static constexpr unsigned kSubtitlesButton = 1u << 4;

    // Finds "bn" + stem + Suffix for each stem; a missing object leaves its slot empty.
    TButtonController(skin::ISkinForm* Form, const std::wstring& Suffix);

    void DisableButtons(unsigned Mask);
    void EnableButtons(unsigned Mask);
    skin::ISkinButton* Button(int Index) const { return FButtons.at(Index).Get(); }

    // The stems in index order.
    static const std::array<const wchar_t*, kButtonCount>& Stems();

private:
    void SetDisabled(unsigned Mask, bool Disabled);

    std::array<Microsoft::WRL::ComPtr<skin::ISkinButton>, kButtonCount> FButtons;
};

} // namespace vireon
