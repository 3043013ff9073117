// Our DVD navigator behind the platform's IDvdControl2 and IDvdInfo2: plays the titles of a volume
// through TTitlePlayback and posts the DVD events into the filter graph's event queue. Menus need a
// DVD virtual machine and are not offered: the navigator lives in the title domain.
#pragma once

#include "common/ComObject.h"
#include "common/DirectShowUuids.h"
#include "dvdnav/DvdVolume.h"
#include "dvdnav/HomeThread.h"
#include "dvdnav/NavigatorClock.h"
#include "dvdnav/TitlePlayback.h"

#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>

namespace dvdnav {

class TDvdNavigator final : public vireon::TComObject<IDvdControl2, IDvdInfo2> {
public:
    static constexpr UINT TickMs = 250;
    static constexpr UINT StartTickMs = 20; // until playback is seen running: the first events come quickly

    // The clock ticks on Home's thread, where the navigator's commands are expected too.
    TDvdNavigator(Microsoft::WRL::ComPtr<IGraphBuilder> Graph, std::shared_ptr<const TDvdVolume> Volume,
                  std::shared_ptr<const THomeThread> Home);
    TDvdNavigator(const TDvdNavigator&) = delete;
    TDvdNavigator& operator=(const TDvdNavigator&) = delete;

    // Renders the first title and starts the clock; what the builder reports in its render status.
    // May run on any thread.
    TRenderOutcome Start();
    // One step of the clock.
    void Tick();
    // The builder rendered another volume: stop the clock, take its filters out of the graph and
    // refuse further commands. May run on any thread.
    void Retire();
    const TDvdVolume& Volume() const { return *Volume_; }

    // IDvdControl2
    HRESULT STDMETHODCALLTYPE PlayTitle(ULONG Title, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayChapterInTitle(ULONG Title, ULONG Chapter, DWORD Flags,
                                                 IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayAtTimeInTitle(ULONG Title, DVD_HMSF_TIMECODE* Time, DWORD Flags,
                                                IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE ReturnFromSubmenu(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayAtTime(DVD_HMSF_TIMECODE* Time, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayChapter(ULONG Chapter, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayPrevChapter(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE ReplayChapter(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayNextChapter(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayForwards(double Speed, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayBackwards(double Speed, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE ShowMenu(DVD_MENU_ID Id, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE Resume(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SelectRelativeButton(DVD_RELATIVE_BUTTON Button) override;
    HRESULT STDMETHODCALLTYPE ActivateButton() override;
    HRESULT STDMETHODCALLTYPE SelectButton(ULONG Button) override;
    HRESULT STDMETHODCALLTYPE SelectAndActivateButton(ULONG Button) override;
    HRESULT STDMETHODCALLTYPE StillOff() override;
    HRESULT STDMETHODCALLTYPE Pause(WINBOOL Enable) override;
    HRESULT STDMETHODCALLTYPE SelectAudioStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SelectSubpictureStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SetSubpictureState(WINBOOL Enable, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SelectAngle(ULONG Angle, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SelectParentalLevel(ULONG Level) override;
    HRESULT STDMETHODCALLTYPE SelectParentalCountry(BYTE Country[2]) override;
    HRESULT STDMETHODCALLTYPE SelectKaraokeAudioPresentationMode(ULONG Mode) override;
    HRESULT STDMETHODCALLTYPE SelectVideoModePreference(ULONG Mode) override;
    HRESULT STDMETHODCALLTYPE SetDVDDirectory(const WCHAR* Path) override;
    HRESULT STDMETHODCALLTYPE ActivateAtPosition(POINT Point) override;
    HRESULT STDMETHODCALLTYPE SelectAtPosition(POINT Point) override;
    HRESULT STDMETHODCALLTYPE PlayChaptersAutoStop(ULONG Title, ULONG Chapter, ULONG Count, DWORD Flags,
                                                   IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE AcceptParentalLevelChange(WINBOOL Accept) override;
    HRESULT STDMETHODCALLTYPE SetOption(DVD_OPTION_FLAG Flag, WINBOOL Option) override;
    HRESULT STDMETHODCALLTYPE SetState(IDvdState* State, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE PlayPeriodInTitleAutoStop(ULONG Title, DVD_HMSF_TIMECODE* StartTime,
                                                        DVD_HMSF_TIMECODE* EndTime, DWORD Flags,
                                                        IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SetGPRM(ULONG Index, WORD Value, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE SelectDefaultMenuLanguage(LCID Language) override;
    HRESULT STDMETHODCALLTYPE SelectDefaultAudioLanguage(LCID Language,
                                                         DVD_AUDIO_LANG_EXT Extension) override;
    HRESULT STDMETHODCALLTYPE SelectDefaultSubpictureLanguage(LCID Language,
                                                              DVD_SUBPICTURE_LANG_EXT Extension) override;

    // IDvdInfo2
    HRESULT STDMETHODCALLTYPE GetCurrentDomain(DVD_DOMAIN* Domain) override;
    HRESULT STDMETHODCALLTYPE GetCurrentLocation(DVD_PLAYBACK_LOCATION2* Location) override;
    HRESULT STDMETHODCALLTYPE GetTotalTitleTime(DVD_HMSF_TIMECODE* Time, ULONG* Flags) override;
    HRESULT STDMETHODCALLTYPE GetCurrentButton(ULONG* Count, ULONG* Current) override;
    HRESULT STDMETHODCALLTYPE GetCurrentAngle(ULONG* Count, ULONG* Current) override;
    HRESULT STDMETHODCALLTYPE GetCurrentAudio(ULONG* Count, ULONG* Current) override;
    HRESULT STDMETHODCALLTYPE GetCurrentSubpicture(ULONG* Count, ULONG* Current, WINBOOL* Disabled) override;
    HRESULT STDMETHODCALLTYPE GetCurrentUOPS(ULONG* Uops) override;
    HRESULT STDMETHODCALLTYPE GetAllSPRMs(SPRMARRAY* Registers) override;
    HRESULT STDMETHODCALLTYPE GetAllGPRMs(GPRMARRAY* Registers) override;
    HRESULT STDMETHODCALLTYPE GetAudioLanguage(ULONG Stream, LCID* Language) override;
    HRESULT STDMETHODCALLTYPE GetSubpictureLanguage(ULONG Stream, LCID* Language) override;
    HRESULT STDMETHODCALLTYPE GetTitleAttributes(ULONG Index, DVD_MenuAttributes* Menu,
                                                 DVD_TitleAttributes* Title) override;
    HRESULT STDMETHODCALLTYPE GetVMGAttributes(DVD_MenuAttributes* Attributes) override;
    HRESULT STDMETHODCALLTYPE GetCurrentVideoAttributes(DVD_VideoAttributes* Attributes) override;
    HRESULT STDMETHODCALLTYPE GetAudioAttributes(ULONG Stream, DVD_AudioAttributes* Attributes) override;
    HRESULT STDMETHODCALLTYPE GetKaraokeAttributes(ULONG Stream, DVD_KaraokeAttributes* Attributes) override;
    HRESULT STDMETHODCALLTYPE GetSubpictureAttributes(ULONG Stream,
                                                      DVD_SubpictureAttributes* Attributes) override;
    HRESULT STDMETHODCALLTYPE GetDVDVolumeInfo(ULONG* VolumeCount, ULONG* Current, DVD_DISC_SIDE* Side,
                                               ULONG* TitleCount) override;
    HRESULT STDMETHODCALLTYPE GetDVDTextNumberOfLanguages(ULONG* Count) override;
    HRESULT STDMETHODCALLTYPE GetDVDTextLanguageInfo(ULONG Index, ULONG* StringCount, LCID* Language,
                                                     enum DVD_TextCharSet* CharacterSet) override;
    HRESULT STDMETHODCALLTYPE GetDVDTextStringAsNative(ULONG LangIndex, ULONG StringIndex, BYTE* String,
                                                       ULONG Size, ULONG* ReturnSize,
                                                       enum DVD_TextStringType* Type) override;
    HRESULT STDMETHODCALLTYPE GetDVDTextStringAsUnicode(ULONG LangIndex, ULONG StringIndex, WCHAR* String,
                                                        ULONG Size, ULONG* ReturnSize,
                                                        enum DVD_TextStringType* Type) override;
    HRESULT STDMETHODCALLTYPE GetPlayerParentalLevel(ULONG* Level, BYTE CountryCode[2]) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfChapters(ULONG Title, ULONG* Count) override;
    HRESULT STDMETHODCALLTYPE GetTitleParentalLevels(ULONG Title, ULONG* Levels) override;
    HRESULT STDMETHODCALLTYPE GetDVDDirectory(WCHAR* Path, ULONG Size, ULONG* ReturnSize) override;
    HRESULT STDMETHODCALLTYPE IsAudioStreamEnabled(ULONG Stream, WINBOOL* Enabled) override;
    HRESULT STDMETHODCALLTYPE GetDiscID(const WCHAR* Path, ULONGLONG* Id) override;
    HRESULT STDMETHODCALLTYPE GetState(IDvdState** State) override;
    HRESULT STDMETHODCALLTYPE GetMenuLanguages(LCID* Languages, ULONG Count, ULONG* ReturnCount) override;
    HRESULT STDMETHODCALLTYPE GetButtonAtPosition(POINT Point, ULONG* Button) override;
    HRESULT STDMETHODCALLTYPE GetCmdFromEvent(LONG_PTR Param, IDvdCmd** Cmd) override;
    HRESULT STDMETHODCALLTYPE GetDefaultMenuLanguage(LCID* Language) override;
    HRESULT STDMETHODCALLTYPE GetDefaultAudioLanguage(LCID* Language, DVD_AUDIO_LANG_EXT* Extension) override;
    HRESULT STDMETHODCALLTYPE GetDefaultSubpictureLanguage(LCID* Language,
                                                           DVD_SUBPICTURE_LANG_EXT* Extension) override;
    HRESULT STDMETHODCALLTYPE GetDecoderCaps(DVD_DECODER_CAPS* Caps) override;
    HRESULT STDMETHODCALLTYPE GetButtonRect(ULONG Button, RECT* Rect) override;
    HRESULT STDMETHODCALLTYPE IsSubpictureStreamEnabled(ULONG Stream, WINBOOL* Enabled) override;

private:
    ~TDvdNavigator() override;

    const TDvdTitle& CurrentTitle() const { return Volume_->Titles[Title_ - 1]; }
    const TTitleSet& CurrentSet() const { return Volume_->TitleSetOf(CurrentTitle()).Info; }
    int FrameRate() const;
    ULONG TimeCodeFlags() const;

    // Title time <-> position in the playing VOB.
    int64_t TitleTimeMs() const;
    int64_t FileTimeOf(int64_t TitleMs) const;
    int ChapterAt(int64_t TitleMs) const;

    HRESULT Jump(int Title, int64_t TitleMs);
    TRenderOutcome OpenTitle(int Title);
    bool AtEndOfTitle(int64_t TitleMs) const;
    void EnterTitleDomain();
    void EndOfTitle();
    void StopClock();
    void EndScan();
    void StepScan();
    void PostTime(int64_t TitleMs);
    void Post(long Code, LONG_PTR Param1, LONG_PTR Param2);
    bool AudioEnabled(ULONG Stream) const;
    bool SubpictureEnabled(ULONG Stream) const;
    HRESULT Scan(double Speed);

    Microsoft::WRL::ComPtr<IGraphBuilder> Graph_;
    Microsoft::WRL::ComPtr<IMediaEventSink> Events_;
    std::shared_ptr<const TDvdVolume> Volume_;
    TTitlePlayback Playback_;
    std::shared_ptr<const THomeThread> Home_;
    std::unique_ptr<TNavigatorClock> Clock_; // made, used and destroyed on the home thread only

    DVD_DOMAIN Domain_ = DVD_DOMAIN_Stop;
    int Title_ = 1;
    int Chapter_ = 1;
    bool Retired_ = false;
    bool Announced_ = false; // domain, title and chapter events sent for this playback
    bool StoppedAtEnd_ = false;
    int64_t LastSecond_ = -1;
    int64_t FileOffsetMs_ = 0; // where the playing title starts in its title set's timeline
    bool HmsfEvents_ = false;
    bool ResetOnStop_ = false;
    bool NotifyParentalLevel_ = false;
    ULONG Audio_ = 0;
    ULONG Subpicture_ = 0;
    bool SubpicturesShown_ = false;

    // Scanning: the rate is tried first; when the graph keeps playing at normal speed the position
    // is stepped at the scan's pace instead.
    double ScanSpeed_ = 0; // signed; 0 when not scanning
    bool ScanByRate_ = false;
    bool ScanChecked_ = false;
    int64_t ScanPositionMs_ = 0;
    DWORD ScanStartTick_ = 0;
};

} // namespace dvdnav
