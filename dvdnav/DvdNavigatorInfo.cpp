// IDvdInfo2 of the navigator: what the player asks about the volume and the playing title.
#include "dvdnav/DvdNavigator.h"

#include "dvdnav/DvdLanguages.h"

#include <cstring>

namespace dvdnav {

namespace {

DVD_HMSF_TIMECODE ToHmsf(const TDvdTime& Time) {
    return {Time.Hours, Time.Minutes, Time.Seconds, Time.Frames};
}

}  // namespace

HRESULT TDvdNavigator::GetCurrentDomain(DVD_DOMAIN* Domain) {
    if (!Domain)
        return E_POINTER;
    *Domain = Domain_;
    return S_OK;
}

HRESULT TDvdNavigator::GetCurrentLocation(DVD_PLAYBACK_LOCATION2* Location) {
    if (!Location)
        return E_POINTER;
    int64_t Time = StoppedAtEnd_ ? CurrentTitle().DurationMs : TitleTimeMs();
    Location->TitleNum = static_cast<ULONG>(Title_);
    Location->ChapterNum = static_cast<ULONG>(Chapter_);
    Location->TimeCode = ToHmsf(MillisecondsToDvdTime(Time, FrameRate()));
    Location->TimeCodeFlags = TimeCodeFlags();
    return S_OK;
}

HRESULT TDvdNavigator::GetTotalTitleTime(DVD_HMSF_TIMECODE* Time, ULONG* Flags) {
    if (!Time)
        return E_POINTER;
    *Time = ToHmsf(CurrentTitle().Time);
    if (Flags)
        *Flags = TimeCodeFlags();
    return S_OK;
}

HRESULT TDvdNavigator::GetCurrentButton(ULONG* Count, ULONG* Current) {
    if (!Count || !Current)
        return E_POINTER;
    *Count = 0;
    *Current = 0;
    return S_OK;
}

HRESULT TDvdNavigator::GetCurrentAngle(ULONG* Count, ULONG* Current) {
    if (!Count || !Current)
        return E_POINTER;
    *Count = 1;
    *Current = 1;
    return S_OK;
}

HRESULT TDvdNavigator::GetCurrentAudio(ULONG* Count, ULONG* Current) {
    if (!Count || !Current)
        return E_POINTER;
    *Count = static_cast<ULONG>(CurrentSet().Audio.size());
    *Current = Audio_;
    return S_OK;
}

HRESULT TDvdNavigator::GetCurrentSubpicture(ULONG* Count, ULONG* Current, WINBOOL* Disabled) {
    if (!Count || !Current || !Disabled)
        return E_POINTER;
    *Count = static_cast<ULONG>(CurrentSet().Subpictures.size());
    *Current = Subpicture_;
    *Disabled = !SubpicturesShown_;
    return S_OK;
}

HRESULT TDvdNavigator::GetAudioLanguage(ULONG Stream, LCID* Language) {
    if (!Language)
        return E_POINTER;
    const auto& Audio = CurrentSet().Audio;
    if (Stream >= Audio.size())
        return E_INVALIDARG;
    *Language = LanguageCodeToLcid(Audio[Stream].Language);
    return S_OK;
}

HRESULT TDvdNavigator::GetSubpictureLanguage(ULONG Stream, LCID* Language) {
    if (!Language)
        return E_POINTER;
    const auto& Subpictures = CurrentSet().Subpictures;
    if (Stream >= Subpictures.size())
        return E_INVALIDARG;
    *Language = LanguageCodeToLcid(Subpictures[Stream].Language);
    return S_OK;
}

HRESULT TDvdNavigator::IsAudioStreamEnabled(ULONG Stream, WINBOOL* Enabled) {
    if (!Enabled)
        return E_POINTER;
    if (Stream >= CurrentSet().Audio.size())
        return E_INVALIDARG;
    *Enabled = AudioEnabled(Stream);
    return S_OK;
}

HRESULT TDvdNavigator::IsSubpictureStreamEnabled(ULONG Stream, WINBOOL* Enabled) {
    if (!Enabled)
        return E_POINTER;
    if (Stream >= CurrentSet().Subpictures.size())
        return E_INVALIDARG;
    *Enabled = SubpictureEnabled(Stream);
    return S_OK;
}

HRESULT TDvdNavigator::GetDVDVolumeInfo(ULONG* VolumeCount, ULONG* Current, DVD_DISC_SIDE* Side,
                                            ULONG* TitleCount) {
    if (!VolumeCount || !Current || !Side || !TitleCount)
        return E_POINTER;
    *VolumeCount = 1;
    *Current = 1;
    *Side = DVD_SIDE_A;
    *TitleCount = static_cast<ULONG>(Volume_->Titles.size());
    return S_OK;
}

HRESULT TDvdNavigator::GetNumberOfChapters(ULONG Title, ULONG* Count) {
    if (!Count)
        return E_POINTER;
    if (Title < 1 || Title > Volume_->Titles.size())
        return E_INVALIDARG;
    *Count = static_cast<ULONG>(Volume_->Titles[Title - 1].Chapters.size());
    return S_OK;
}

HRESULT TDvdNavigator::GetDVDDirectory(WCHAR* Path, ULONG Size, ULONG* ReturnSize) {
    if (!ReturnSize)
        return E_POINTER;
    std::wstring Folder = Volume_->Folder.wstring();
    *ReturnSize = static_cast<ULONG>(Folder.size() + 1);
    if (!Path)
        return S_OK;
    if (Size < Folder.size() + 1)
        return E_INVALIDARG;
    std::memcpy(Path, Folder.c_str(), (Folder.size() + 1) * sizeof(WCHAR));
    return S_OK;
}

}  // namespace dvdnav
