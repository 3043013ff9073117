#include "shell/TButtonController.h"

namespace vireon {

const std::array<const wchar_t*, TButtonController::kButtonCount>& TButtonController::Stems() {
    static const std::array<const wchar_t*, kButtonCount> stems{
        L"Prev",   L"Next",       L"Menu",     L"Audio", L"Subtitles",
        L"Colors", L"FullScreen", L"Maximize", L"Stop",  L"NextFrame"};
    return stems;
}

TButtonController::TButtonController(skin::ISkinForm* Form, const std::wstring& Suffix) {
    if (!Form)
        return;
    for (int i = 0; i < kButtonCount; ++i)
        if (Microsoft::WRL::ComPtr<skin::ISkinObject> found =
                Form->FindObject(L"bn" + std::wstring(Stems()[i]) + Suffix))
            found.As(&FButtons[i]);
}

void TButtonController::DisableButtons(unsigned Mask) {
    SetDisabled(Mask, true);
}

void TButtonController::EnableButtons(unsigned Mask) {
    SetDisabled(Mask, false);
}

void TButtonController::SetDisabled(unsigned Mask, bool Disabled) {
    for (int i = 0; i < kButtonCount; ++i)
        if (FButtons[i] && (Mask & (1u << i)))
            FButtons[i]->SetDisabled(Disabled);
}

} // namespace vireon
