// The typed DVD events of the graph component.
#include "engine/TFilterGraph.h"

#include "engine/EDirectShowException.h"

#include <dvdevcod.h>

namespace vireon {

bool TFilterGraph::DispatchDvdEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    switch (Code) {
    case EC_DVD_DOMAIN_CHANGE:
        DispatchDvdDomain(Param1);
        return true;
    case EC_DVD_TITLE_CHANGE:
        Raise(OnDVDTitleChange, static_cast<int>(Param1));
        return true;
    case EC_DVD_CHAPTER_START:
        Raise(OnDVDChapterStart, static_cast<int>(Param1));
        return true;
    case EC_DVD_AUDIO_STREAM_CHANGE:
    case EC_DVD_SUBPICTURE_STREAM_CHANGE:
        DispatchStreamLanguage(Code, Param1);
        return true;
    case EC_DVD_ANGLE_CHANGE:
        Raise(OnDVDAngleChange, static_cast<int>(Param1), static_cast<int>(Param2));
        return true;
    case EC_DVD_BUTTON_CHANGE:
        Raise(OnDVDButtonChange, static_cast<int>(Param1), static_cast<int>(Param2));
        return true;
    case EC_DVD_VALID_UOPS_CHANGE:
        Raise(OnDVDValidUOPSChange, static_cast<int>(Param1));
        return true;
    case EC_DVD_STILL_ON:
        Raise(OnDVDStillOn, Param1 == 1, static_cast<int>(Param2));
        return true;
    case EC_DVD_STILL_OFF:
        Raise(OnDVDStillOff);
        return true;
    case EC_DVD_CURRENT_TIME:
        DispatchDvdCurrentTime(Param1);
        return true;
    case EC_DVD_ERROR:
        DispatchDvdError(Param1);
        return true;
    case EC_DVD_WARNING:
        DispatchDvdWarning(Param1);
        return true;
    case EC_DVD_CHAPTER_AUTOSTOP:
        Raise(OnDVDChapterAutoStop);
        return true;
    case EC_DVD_NO_FP_PGC:
        Raise(OnDVDNoFP_PGC);
        return true;
    default:
        return false;
    }
}

bool TFilterGraph::DispatchDvdStateEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    switch (Code) {
    case EC_DVD_PLAYBACK_RATE_CHANGE:
        Raise(OnDVDPlaybackRateChange, static_cast<float>(Param1) / 10000.0f);
        return true;
    case EC_DVD_PARENTAL_LEVEL_CHANGE:
        Raise(OnDVDParentalLevelChange, static_cast<int>(Param1));
        return true;
    case EC_DVD_PLAYBACK_STOPPED:
        Raise(OnDVDPlaybackStopped);
        return true;
    case EC_DVD_ANGLES_AVAILABLE:
        Raise(OnDVDAnglesAvailable, Param1 == 1);
        return true;
    case EC_DVD_PLAYPERIOD_AUTOSTOP:
        Raise(OnDVDPlayPeriodAutoStop);
        return true;
    case EC_DVD_BUTTON_AUTO_ACTIVATED:
        Raise(OnDVDButtonAutoActivated, static_cast<int>(Param1));
        return true;
    case EC_DVD_CMD_START:
        Raise(OnDVDCMDStart, static_cast<int>(Param1));
        return true;
    case EC_DVD_CMD_END:
        Raise(OnDVDCMDEnd, static_cast<int>(Param1));
        return true;
    case EC_DVD_DISC_EJECTED:
        Raise(OnDVDDiscEjected);
        return true;
    case EC_DVD_DISC_INSERTED:
        Raise(OnDVDDiscInserted);
        return true;
    case EC_DVD_CURRENT_HMSF_TIME: {
        DWORD packed = static_cast<DWORD>(Param1);
        DVD_HMSF_TIMECODE time;
        static_assert(sizeof time == sizeof packed);
        memcpy(&time, &packed, sizeof time);
        Raise(OnDVDCurrentHMSFTime, time, UnpackDvdTimecode(static_cast<DWORD>(Param2)));
        return true;
    }
    case EC_DVD_KARAOKE_MODE:
        Raise(OnDVDKaraokeMode, Param1 != 0);
        return true;
    default:
        return false;
    }
}

void TFilterGraph::DispatchDvdDomain(LONG_PTR Domain) {
    switch (Domain) {
    case DVD_DOMAIN_FirstPlay:
        return Raise(OnDVDDomainFirstPlay);
    case DVD_DOMAIN_VideoManagerMenu:
        return Raise(OnDVDDomainVideoManagerMenu);
    case DVD_DOMAIN_VideoTitleSetMenu:
        return Raise(OnDVDDomainVideoTitleSetMenu);
    case DVD_DOMAIN_Title:
        return Raise(OnDVDDomainTitle);
    case DVD_DOMAIN_Stop:
        // The navigator stopped the graph itself (end of the disc's play): the listeners learn of it
        // as of any stop, so buttons and timers show playback stopped.
        BroadcastControlEvent(gcStop, 0);
        return Raise(OnDVDDomainStop);
    default:
        return;
    }
}

void TFilterGraph::DispatchDvdError(LONG_PTR Error) {
    switch (Error) {
    case DVD_ERROR_Unexpected:
        return Raise(OnDVDErrorUnexpected);
    case DVD_ERROR_InvalidDVD1_0Disc:
        return Raise(OnDVDErrorInvalidDVD1_0Disc);
    case DVD_ERROR_InvalidDiscRegion:
        return Raise(OnDVDErrorInvalidDiscRegion);
    case DVD_ERROR_LowParentalLevel:
        return Raise(OnDVDErrorLowParentalLevel);
    case DVD_ERROR_IncompatibleSystemAndDecoderRegions:
        return Raise(OnDVDErrorIncompatibleSystemAndDecoderRegions);
    case DVD_ERROR_IncompatibleDiscAndDecoderRegions:
        return Raise(OnDVDErrorIncompatibleDiscAndDecoderRegions);
    default:
        return;
    }
}

void TFilterGraph::DispatchDvdWarning(LONG_PTR Warning) {
    switch (Warning) {
    case DVD_WARNING_InvalidDVD1_0Disc:
        return Raise(OnDVDWarningInvalidDVD1_0Disc);
    case DVD_WARNING_FormatNotSupported:
        return Raise(OnDVDWarningFormatNotSupported);
    case DVD_WARNING_IllegalNavCommand:
        return Raise(OnDVDWarningIllegalNavCommand);
    case DVD_WARNING_Open:
        return Raise(OnDVDWarningOpen);
    case DVD_WARNING_Seek:
        return Raise(OnDVDWarningSeek);
    case DVD_WARNING_Read:
        return Raise(OnDVDWarningRead);
    default:
        return;
    }
}

void TFilterGraph::DispatchStreamLanguage(long Code, LONG_PTR Stream) {
    bool audio = Code == EC_DVD_AUDIO_STREAM_CHANGE;
    if (audio ? !OnDVDAudioStreamChange : !OnDVDSubpictureStreamChange)
        return;
    Microsoft::WRL::ComPtr<IDvdInfo2> info;
    if (FAILED(QueryInterface(info)))
        return;
    LCID language = 0;
    ULONG stream = static_cast<ULONG>(Stream);
    CheckMediaResult(audio ? info->GetAudioLanguage(stream, &language)
                           : info->GetSubpictureLanguage(stream, &language));
    char name[260] = {};
    GetLocaleInfoA(language, LOCALE_SENGLANGUAGE, name, sizeof name);
    if (audio)
        Raise(OnDVDAudioStreamChange, static_cast<int>(Stream), language, std::string(name));
    else
        Raise(OnDVDSubpictureStreamChange, static_cast<int>(Stream), language, std::string(name));
}

void TFilterGraph::DispatchDvdCurrentTime(LONG_PTR TimeCode) {
    TDVDTimeCode code = UnpackDvdTimecode(static_cast<DWORD>(TimeCode));
    int frate = code.FrameRateCode == 1 ? 25 : code.FrameRateCode == 3 ? 30 : 0;
    Raise(OnDVDCurrentTime, code.d0 + 10 * code.d1, code.d2 + 10 * code.d3, code.d4 + 10 * code.d5,
          code.d6 + 10 * code.d7, frate);
}

} // namespace vireon
