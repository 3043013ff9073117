// Navigator operations beyond what the player uses: they answer E_NOTIMPL, and out-parameters
// that hand out objects are cleared so a caller never releases garbage.
#include "dvdnav/DvdNavigator.h"

namespace dvdnav {

HRESULT TDvdNavigator::Stop() {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::ReturnFromSubmenu(DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::Resume(DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectRelativeButton(DVD_RELATIVE_BUTTON) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::ActivateButton() {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectButton(ULONG) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectAndActivateButton(ULONG) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::StillOff() {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::Pause(WINBOOL) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectAngle(ULONG, DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectParentalLevel(ULONG) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectParentalCountry(BYTE[2]) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectKaraokeAudioPresentationMode(ULONG) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectVideoModePreference(ULONG) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SetDVDDirectory(const WCHAR*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::PlayChaptersAutoStop(ULONG, ULONG, ULONG, DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::AcceptParentalLevelChange(WINBOOL) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SetState(IDvdState*, DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::PlayPeriodInTitleAutoStop(ULONG, DVD_HMSF_TIMECODE*, DVD_HMSF_TIMECODE*, DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SetGPRM(ULONG, WORD, DWORD, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectDefaultMenuLanguage(LCID) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectDefaultAudioLanguage(LCID, DVD_AUDIO_LANG_EXT) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::SelectDefaultSubpictureLanguage(LCID, DVD_SUBPICTURE_LANG_EXT) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetCurrentUOPS(ULONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetAllSPRMs(SPRMARRAY*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetAllGPRMs(GPRMARRAY*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetTitleAttributes(ULONG, DVD_MenuAttributes*, DVD_TitleAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetVMGAttributes(DVD_MenuAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetCurrentVideoAttributes(DVD_VideoAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetAudioAttributes(ULONG, DVD_AudioAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetKaraokeAttributes(ULONG, DVD_KaraokeAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetSubpictureAttributes(ULONG, DVD_SubpictureAttributes*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDVDTextNumberOfLanguages(ULONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDVDTextLanguageInfo(ULONG, ULONG*, LCID*, enum DVD_TextCharSet*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDVDTextStringAsNative(ULONG, ULONG, BYTE*, ULONG, ULONG*, enum DVD_TextStringType*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDVDTextStringAsUnicode(ULONG, ULONG, WCHAR*, ULONG, ULONG*, enum DVD_TextStringType*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetPlayerParentalLevel(ULONG*, BYTE[2]) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetTitleParentalLevels(ULONG, ULONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDiscID(const WCHAR*, ULONGLONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetState(IDvdState** State) {
    if (State)
        *State = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetMenuLanguages(LCID*, ULONG, ULONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetButtonAtPosition(POINT, ULONG*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetCmdFromEvent(LONG_PTR, IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDefaultMenuLanguage(LCID*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDefaultAudioLanguage(LCID*, DVD_AUDIO_LANG_EXT*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDefaultSubpictureLanguage(LCID*, DVD_SUBPICTURE_LANG_EXT*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetDecoderCaps(DVD_DECODER_CAPS*) {
    return E_NOTIMPL;
}

HRESULT TDvdNavigator::GetButtonRect(ULONG, RECT*) {
    return E_NOTIMPL;
}

}  // namespace dvdnav
