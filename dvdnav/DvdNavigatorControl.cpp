// IDvdControl2 of the navigator: the commands the player sends. Commands complete at once, so no
// command object is handed out.
#include "dvdnav/DvdNavigator.h"

#include <dvdevcod.h>

namespace dvdnav {

namespace {

void NoCommand(IDvdCmd** Cmd) {
    if (Cmd)
        *Cmd = nullptr;
}

int64_t ToMilliseconds(const DVD_HMSF_TIMECODE& Time, int FrameRate) {
    TDvdTime Value{Time.bHours, Time.bMinutes, Time.bSeconds, Time.bFrames, FrameRate};
    return DvdTimeToMilliseconds(Value);
}

} // namespace

HRESULT TDvdNavigator::PlayTitle(ULONG Title, DWORD, IDvdCmd** Cmd) {
    return PlayChapterInTitle(Title, 1, 0, Cmd);
}

HRESULT TDvdNavigator::PlayChapterInTitle(ULONG Title, ULONG Chapter, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (Title < 1 || Title > Volume_->Titles.size())
        return E_INVALIDARG;
    const auto& Chapters = Volume_->Titles[Title - 1].Chapters;
    if (Chapter < 1 || Chapter > Chapters.size())
        return E_INVALIDARG;
    return Jump(static_cast<int>(Title), Chapters[Chapter - 1].StartMs);
}

HRESULT TDvdNavigator::PlayAtTimeInTitle(ULONG Title, DVD_HMSF_TIMECODE* Time, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (!Time)
        return E_POINTER;
    if (Title < 1 || Title > Volume_->Titles.size())
        return E_INVALIDARG;
    const TDvdTitle& Target = Volume_->Titles[Title - 1];
    int64_t Ms = ToMilliseconds(*Time, Target.Time.FrameRate == 30 ? 30 : 25);
    if (Ms >= Target.DurationMs)
        return E_INVALIDARG;
    return Jump(static_cast<int>(Title), Ms);
}

HRESULT TDvdNavigator::PlayAtTime(DVD_HMSF_TIMECODE* Time, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (!Time)
        return E_POINTER;
    if (Domain_ != DVD_DOMAIN_Title && !StoppedAtEnd_)
        return VFW_E_DVD_INVALIDDOMAIN;
    int64_t Ms = ToMilliseconds(*Time, FrameRate());
    if (Ms >= CurrentTitle().DurationMs)
        return E_INVALIDARG;
    return Jump(Title_, Ms);
}

HRESULT TDvdNavigator::PlayChapter(ULONG Chapter, DWORD, IDvdCmd** Cmd) {
    return PlayChapterInTitle(static_cast<ULONG>(Title_), Chapter, 0, Cmd);
}

HRESULT TDvdNavigator::PlayPrevChapter(DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (Chapter_ <= 1)
        return VFW_E_DVD_OPERATION_INHIBITED;
    return PlayChapterInTitle(static_cast<ULONG>(Title_), static_cast<ULONG>(Chapter_ - 1), 0, Cmd);
}

HRESULT TDvdNavigator::ReplayChapter(DWORD, IDvdCmd** Cmd) {
    return PlayChapterInTitle(static_cast<ULONG>(Title_), static_cast<ULONG>(Chapter_), 0, Cmd);
}

HRESULT TDvdNavigator::PlayNextChapter(DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (static_cast<size_t>(Chapter_) >= CurrentTitle().Chapters.size())
        return VFW_E_DVD_OPERATION_INHIBITED;
    return PlayChapterInTitle(static_cast<ULONG>(Title_), static_cast<ULONG>(Chapter_ + 1), 0, Cmd);
}

HRESULT TDvdNavigator::PlayForwards(double Speed, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (!(Speed > 0))
        return VFW_E_DVD_WRONG_SPEED;
    return Scan(Speed);
}

HRESULT TDvdNavigator::PlayBackwards(double Speed, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (!(Speed > 0))
        return VFW_E_DVD_WRONG_SPEED;
    return Scan(-Speed);
}

// Without a DVD virtual machine there are no menus: we are always outside one.
HRESULT TDvdNavigator::ShowMenu(DVD_MENU_ID, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    return VFW_E_DVD_INVALIDDOMAIN;
}

HRESULT TDvdNavigator::ActivateAtPosition(POINT) {
    return VFW_E_DVD_INVALIDDOMAIN;
}

HRESULT TDvdNavigator::SelectAtPosition(POINT) {
    return VFW_E_DVD_INVALIDDOMAIN;
}

HRESULT TDvdNavigator::SelectAudioStream(ULONG Stream, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (Retired_)
        return VFW_E_DVD_GRAPHNOTREADY;
    if (Stream >= CurrentSet().Audio.size())
        return E_INVALIDARG;
    if (!AudioEnabled(Stream))
        return VFW_E_DVD_STREAM_DISABLED;
    if (Stream != Audio_) {
        HRESULT Result = Playback_.SelectAudio(static_cast<int>(Stream));
        if (FAILED(Result))
            return Result; // the old stream plays on
    }
    Audio_ = Stream;
    Post(EC_DVD_AUDIO_STREAM_CHANGE, static_cast<LONG_PTR>(Stream), 0);
    return S_OK;
}

HRESULT TDvdNavigator::SelectSubpictureStream(ULONG Stream, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (Stream >= CurrentSet().Subpictures.size())
        return E_INVALIDARG;
    if (!SubpictureEnabled(Stream))
        return VFW_E_DVD_STREAM_DISABLED;
    Subpicture_ = Stream;
    Post(EC_DVD_SUBPICTURE_STREAM_CHANGE, static_cast<LONG_PTR>(Stream), SubpicturesShown_);
    return S_OK;
}

HRESULT TDvdNavigator::SetSubpictureState(WINBOOL Enable, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    SubpicturesShown_ = Enable != FALSE;
    Post(EC_DVD_SUBPICTURE_STREAM_CHANGE, static_cast<LONG_PTR>(Subpicture_), SubpicturesShown_);
    return S_OK;
}

HRESULT TDvdNavigator::SetOption(DVD_OPTION_FLAG Flag, WINBOOL Option) {
    switch (Flag) {
    case DVD_ResetOnStop:
        ResetOnStop_ = Option != FALSE;
        return S_OK;
    case DVD_NotifyParentalLevelChange:
        NotifyParentalLevel_ = Option != FALSE;
        return S_OK;
    case DVD_HMSF_TimeCodeEvents:
        HmsfEvents_ = Option != FALSE;
        LastSecond_ = -1; // the next tick reports the time in the new form
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

} // namespace dvdnav
