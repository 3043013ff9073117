// Fake DVD objects: a DVD graph builder handing out a graph and the navigator's IDvdControl2 and
// IDvdInfo2. The control records every command with its arguments; the info answers from fields.
#pragma once

#include "fakes/FakeFilterGraph.h"

#include <functional>
#include <set>

namespace fakes {

class FakeDvdControl2 : public Fake<IDvdControl2> {
public:
    FakeDvdControl2() : Fake("dvdcontrol") {}

    // The answer of each command by name; S_OK when not listed.
    std::map<std::string, HRESULT> results;
    // Runs after each recorded command (tests post events from here).
    std::function<void(const std::string& method)> onCall;

    STDMETHODIMP PlayTitle(ULONG ulTitle, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayTitle", std::to_string(ulTitle), ppCmd);
    }
    STDMETHODIMP PlayChapterInTitle(ULONG ulTitle, ULONG ulChapter, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayChapterInTitle", std::to_string(ulTitle) + "," + std::to_string(ulChapter), ppCmd);
    }
    STDMETHODIMP PlayAtTimeInTitle(ULONG ulTitle, DVD_HMSF_TIMECODE* pStartTime, DWORD,
                                   IDvdCmd** ppCmd) override {
        return Call("PlayAtTimeInTitle", std::to_string(ulTitle) + "," + Time(pStartTime), ppCmd);
    }
    STDMETHODIMP Stop() override { return Call("Stop", {}, nullptr); }
    STDMETHODIMP ReturnFromSubmenu(DWORD, IDvdCmd** ppCmd) override {
        return Call("ReturnFromSubmenu", {}, ppCmd);
    }
    STDMETHODIMP PlayAtTime(DVD_HMSF_TIMECODE* pTime, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayAtTime", Time(pTime), ppCmd);
    }
    STDMETHODIMP PlayChapter(ULONG ulChapter, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayChapter", std::to_string(ulChapter), ppCmd);
    }
    STDMETHODIMP PlayPrevChapter(DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayPrevChapter", {}, ppCmd);
    }
    STDMETHODIMP ReplayChapter(DWORD, IDvdCmd** ppCmd) override { return Call("ReplayChapter", {}, ppCmd); }
    STDMETHODIMP PlayNextChapter(DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayNextChapter", {}, ppCmd);
    }
    STDMETHODIMP PlayForwards(double dSpeed, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayForwards", Number(dSpeed), ppCmd);
    }
    STDMETHODIMP PlayBackwards(double dSpeed, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayBackwards", Number(dSpeed), ppCmd);
    }
    STDMETHODIMP ShowMenu(DVD_MENU_ID MenuID, DWORD, IDvdCmd** ppCmd) override {
        return Call("ShowMenu", std::to_string(MenuID), ppCmd);
    }
    STDMETHODIMP Resume(DWORD, IDvdCmd** ppCmd) override { return Call("Resume", {}, ppCmd); }
    STDMETHODIMP SelectRelativeButton(DVD_RELATIVE_BUTTON buttonDir) override {
        return Call("SelectRelativeButton", std::to_string(buttonDir), nullptr);
    }
    STDMETHODIMP ActivateButton() override { return Call("ActivateButton", {}, nullptr); }
    STDMETHODIMP SelectButton(ULONG ulButton) override {
        return Call("SelectButton", std::to_string(ulButton), nullptr);
    }
    STDMETHODIMP SelectAndActivateButton(ULONG ulButton) override {
        return Call("SelectAndActivateButton", std::to_string(ulButton), nullptr);
    }
    STDMETHODIMP StillOff() override { return Call("StillOff", {}, nullptr); }
    STDMETHODIMP Pause(WINBOOL bState) override { return Call("Pause", std::to_string(bState), nullptr); }
    STDMETHODIMP SelectAudioStream(ULONG ulAudio, DWORD, IDvdCmd** ppCmd) override {
        return Call("SelectAudioStream", std::to_string(ulAudio), ppCmd);
    }
    STDMETHODIMP SelectSubpictureStream(ULONG ulSubPicture, DWORD, IDvdCmd** ppCmd) override {
        return Call("SelectSubpictureStream", std::to_string(ulSubPicture), ppCmd);
    }
    STDMETHODIMP SetSubpictureState(WINBOOL bState, DWORD, IDvdCmd** ppCmd) override {
        return Call("SetSubpictureState", std::to_string(bState), ppCmd);
    }
    STDMETHODIMP SelectAngle(ULONG ulAngle, DWORD, IDvdCmd** ppCmd) override {
        return Call("SelectAngle", std::to_string(ulAngle), ppCmd);
    }
    STDMETHODIMP SelectParentalLevel(ULONG ulParentalLevel) override {
        return Call("SelectParentalLevel", std::to_string(ulParentalLevel), nullptr);
    }
    STDMETHODIMP SelectParentalCountry(BYTE*) override { return Call("SelectParentalCountry", {}, nullptr); }
    STDMETHODIMP SelectKaraokeAudioPresentationMode(ULONG ulMode) override {
        return Call("SelectKaraokeAudioPresentationMode", std::to_string(ulMode), nullptr);
    }
    STDMETHODIMP SelectVideoModePreference(ULONG ulPreferredDisplayMode) override {
        return Call("SelectVideoModePreference", std::to_string(ulPreferredDisplayMode), nullptr);
    }
    STDMETHODIMP SetDVDDirectory(LPCWSTR pszwPath) override {
        return Call("SetDVDDirectory", Narrow(pszwPath), nullptr);
    }
    STDMETHODIMP ActivateAtPosition(POINT point) override {
        return Call("ActivateAtPosition", std::to_string(point.x) + "," + std::to_string(point.y), nullptr);
    }
    STDMETHODIMP SelectAtPosition(POINT point) override {
        return Call("SelectAtPosition", std::to_string(point.x) + "," + std::to_string(point.y), nullptr);
    }
    STDMETHODIMP PlayChaptersAutoStop(ULONG ulTitle, ULONG ulChapter, ULONG ulChaptersToPlay, DWORD,
                                      IDvdCmd** ppCmd) override {
        return Call("PlayChaptersAutoStop",
                    std::to_string(ulTitle) + "," + std::to_string(ulChapter) + "," +
                        std::to_string(ulChaptersToPlay),
                    ppCmd);
    }
    STDMETHODIMP AcceptParentalLevelChange(WINBOOL bAccept) override {
        return Call("AcceptParentalLevelChange", std::to_string(bAccept), nullptr);
    }
    STDMETHODIMP SetOption(DVD_OPTION_FLAG flag, WINBOOL fState) override {
        return Call("SetOption", std::to_string(flag) + "," + std::to_string(fState), nullptr);
    }
    STDMETHODIMP SetState(IDvdState*, DWORD, IDvdCmd** ppCmd) override { return Call("SetState", {}, ppCmd); }
    STDMETHODIMP PlayPeriodInTitleAutoStop(ULONG ulTitle, DVD_HMSF_TIMECODE* pStartTime,
                                           DVD_HMSF_TIMECODE* pEndTime, DWORD, IDvdCmd** ppCmd) override {
        return Call("PlayPeriodInTitleAutoStop",
                    std::to_string(ulTitle) + "," + Time(pStartTime) + "," + Time(pEndTime), ppCmd);
    }
    STDMETHODIMP SetGPRM(ULONG ulIndex, WORD wValue, DWORD, IDvdCmd** ppCmd) override {
        return Call("SetGPRM", std::to_string(ulIndex) + "," + std::to_string(wValue), ppCmd);
    }
    STDMETHODIMP SelectDefaultMenuLanguage(LCID Language) override {
        return Call("SelectDefaultMenuLanguage", std::to_string(Language), nullptr);
    }
    STDMETHODIMP SelectDefaultAudioLanguage(LCID Language, DVD_AUDIO_LANG_EXT audioExtension) override {
        return Call("SelectDefaultAudioLanguage",
                    std::to_string(Language) + "," + std::to_string(audioExtension), nullptr);
    }
    STDMETHODIMP SelectDefaultSubpictureLanguage(LCID Language,
                                                 DVD_SUBPICTURE_LANG_EXT subpictureExtension) override {
        return Call("SelectDefaultSubpictureLanguage",
                    std::to_string(Language) + "," + std::to_string(subpictureExtension), nullptr);
    }

private:
    HRESULT Call(const char* method, const std::string& arguments, IDvdCmd** command);
    static std::string Number(double value);
    static std::string Time(const DVD_HMSF_TIMECODE* time);
};

class FakeDvdInfo2 : public Fake<IDvdInfo2> {
public:
    FakeDvdInfo2() : Fake("dvdinfo") {}

    // Steering: what the getters answer.
    HRESULT languageResult = S_OK;
    std::map<ULONG, LCID> audioLanguages, subpictureLanguages;
    DVD_DOMAIN domain = DVD_DOMAIN_Title;
    DVD_PLAYBACK_LOCATION2 location{};
    DVD_HMSF_TIMECODE totalTime{};
    ULONG timeCodeFlags = DVD_TC_FLAG_25fps;
    ULONG buttonsAvailable = 0, currentButton = 0;
    ULONG audioStreams = 0, currentAudio = 0;
    ULONG subpictureStreams = 0, currentSubpicture = 0;
    BOOL subpictureDisabled = TRUE;
    ULONG titles = 0;
    std::map<ULONG, ULONG> chapters; // per title
    // Streams below the counts above that the navigator reports as disabled.
    std::set<ULONG> disabledAudio, disabledSubpictures;
    ULONG uops = 0;

    STDMETHODIMP GetCurrentDomain(DVD_DOMAIN* value) override;
    STDMETHODIMP GetCurrentLocation(DVD_PLAYBACK_LOCATION2* value) override;
    STDMETHODIMP GetTotalTitleTime(DVD_HMSF_TIMECODE* time, ULONG* flags) override;
    STDMETHODIMP GetCurrentButton(ULONG* available, ULONG* current) override;
    STDMETHODIMP GetCurrentAngle(ULONG*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentAudio(ULONG* available, ULONG* current) override;
    STDMETHODIMP GetCurrentSubpicture(ULONG* available, ULONG* current, WINBOOL* disabled) override;
    STDMETHODIMP GetCurrentUOPS(ULONG* value) override;
    STDMETHODIMP GetAllSPRMs(SPRMARRAY*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAllGPRMs(GPRMARRAY*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAudioLanguage(ULONG stream, LCID* language) override;
    STDMETHODIMP GetSubpictureLanguage(ULONG stream, LCID* language) override;
    STDMETHODIMP GetTitleAttributes(ULONG, DVD_MenuAttributes*, DVD_TitleAttributes*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetVMGAttributes(DVD_MenuAttributes*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentVideoAttributes(DVD_VideoAttributes*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAudioAttributes(ULONG, DVD_AudioAttributes*) override { return E_NOTIMPL; }
    STDMETHODIMP GetKaraokeAttributes(ULONG, DVD_KaraokeAttributes*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSubpictureAttributes(ULONG, DVD_SubpictureAttributes*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDVDVolumeInfo(ULONG* volumes, ULONG* volume, DVD_DISC_SIDE* side,
                                  ULONG* titleCount) override;
    STDMETHODIMP GetDVDTextNumberOfLanguages(ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDVDTextLanguageInfo(ULONG, ULONG*, LCID*, DVD_TextCharSet*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDVDTextStringAsNative(ULONG, ULONG, BYTE*, ULONG, ULONG*, DVD_TextStringType*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDVDTextStringAsUnicode(ULONG, ULONG, WCHAR*, ULONG, ULONG*,
                                           DVD_TextStringType*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetPlayerParentalLevel(ULONG*, BYTE*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNumberOfChapters(ULONG title, ULONG* count) override;
    STDMETHODIMP GetTitleParentalLevels(ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDVDDirectory(LPWSTR, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP IsAudioStreamEnabled(ULONG stream, WINBOOL* enabled) override;
    STDMETHODIMP GetDiscID(LPCWSTR, ULONGLONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetState(IDvdState**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMenuLanguages(LCID*, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetButtonAtPosition(POINT, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCmdFromEvent(LONG_PTR, IDvdCmd**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultMenuLanguage(LCID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultAudioLanguage(LCID*, DVD_AUDIO_LANG_EXT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultSubpictureLanguage(LCID*, DVD_SUBPICTURE_LANG_EXT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDecoderCaps(DVD_DECODER_CAPS*) override { return E_NOTIMPL; }
    STDMETHODIMP GetButtonRect(ULONG, RECT*) override { return E_NOTIMPL; }
    STDMETHODIMP IsSubpictureStreamEnabled(ULONG stream, WINBOOL* enabled) override;
};

class FakeDvdGraphBuilder : public Fake<IDvdGraphBuilder> {
public:
    // A builder handing out the given graph (none: GetFiltergraph answers getGraphResult).
    explicit FakeDvdGraphBuilder(FakeFilterGraph* graph);

    HRESULT getGraphResult = E_NOTIMPL; // when there is no graph
    HRESULT renderResult = S_OK;
    AM_DVD_RENDERSTATUS renderStatus{};
    // RenderDvdVideoVolume hangs like its graph's calls (see FakeFilterGraph::renderBlocks), and
    // fills the status only if it returns.
    bool renderBlocks = false;
    // What RenderDvdVideoVolume received.
    bool renderedNullPath = false;
    std::wstring renderedPath;
    DWORD renderedFlags = 0;
    Microsoft::WRL::ComPtr<FakeDvdControl2> control;
    Microsoft::WRL::ComPtr<FakeDvdInfo2> info;

    STDMETHODIMP GetFiltergraph(IGraphBuilder** graph) override;
    STDMETHODIMP GetDvdInterface(REFIID iid, void** out) override;
    STDMETHODIMP RenderDvdVideoVolume(LPCWSTR path, DWORD flags, AM_DVD_RENDERSTATUS* status) override;

private:
    Microsoft::WRL::ComPtr<FakeFilterGraph> graph_;
};

class FakeCaptureGraphBuilder2 : public Fake<ICaptureGraphBuilder2> {
public:
    FakeCaptureGraphBuilder2() : Fake("capture") {}

    IGraphBuilder* Graph() const { return graph_.Get(); }

    STDMETHODIMP SetFiltergraph(IGraphBuilder* graph) override;
    STDMETHODIMP GetFiltergraph(IGraphBuilder** graph) override;
    STDMETHODIMP SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP FindInterface(const GUID*, const GUID*, IBaseFilter*, REFIID, void**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*, WORD,
                               WORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP AllocCapFile(LPCOLESTR, DWORDLONG) override { return E_NOTIMPL; }
    STDMETHODIMP CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP FindPin(IUnknown*, PIN_DIRECTION, const GUID*, const GUID*, WINBOOL, int, IPin**) override {
        return E_NOTIMPL;
    }

private:
    Microsoft::WRL::ComPtr<IGraphBuilder> graph_;
};

// A packed time as the platform's DVD_TIMECODE bit fields lay it out (what a navigator posts with
// event 267).
DWORD PackDvdTimecode(int hours, int minutes, int seconds, int frames, int rateCode);

} // namespace fakes
