#include "fakes/FakeDvd.h"

#include <cstdio>
#include <cstring>

namespace fakes {

HRESULT FakeDvdControl2::Call(const char* method, const std::string& arguments, IDvdCmd** command) {
    if (command)
        *command = nullptr;
    auto found = results.find(method);
    HRESULT result = Record(method, arguments, found == results.end() ? S_OK : found->second);
    if (onCall)
        onCall(method);
    return result;
}

std::string FakeDvdControl2::Number(double value) {
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string FakeDvdControl2::Time(const DVD_HMSF_TIMECODE* time) {
    if (!time)
        return "null";
    char text[32];
    snprintf(text, sizeof text, "%u:%02u:%02u.%02u", time->bHours, time->bMinutes, time->bSeconds,
             time->bFrames);
    return text;
}

namespace {

template <typename T> HRESULT Put(T* target, const T& value) {
    if (!target)
        return E_POINTER;
    *target = value;
    return S_OK;
}

HRESULT Language(const std::map<ULONG, LCID>& languages, ULONG stream, LCID* language) {
    if (!language)
        return E_POINTER;
    auto found = languages.find(stream);
    if (found == languages.end())
        return E_INVALIDARG;
    *language = found->second;
    return S_OK;
}

} // namespace

STDMETHODIMP FakeDvdInfo2::GetCurrentDomain(DVD_DOMAIN* value) {
    Record("GetCurrentDomain");
    return Put(value, domain);
}

STDMETHODIMP FakeDvdInfo2::GetCurrentLocation(DVD_PLAYBACK_LOCATION2* value) {
    Record("GetCurrentLocation");
    return Put(value, location);
}

STDMETHODIMP FakeDvdInfo2::GetTotalTitleTime(DVD_HMSF_TIMECODE* time, ULONG* flags) {
    Record("GetTotalTitleTime");
    if (flags)
        *flags = timeCodeFlags;
    return Put(time, totalTime);
}

STDMETHODIMP FakeDvdInfo2::GetCurrentButton(ULONG* available, ULONG* current) {
    Record("GetCurrentButton");
    if (!available || !current)
        return E_POINTER;
    *available = buttonsAvailable;
    *current = currentButton;
    return S_OK;
}

STDMETHODIMP FakeDvdInfo2::GetCurrentAudio(ULONG* available, ULONG* current) {
    Record("GetCurrentAudio");
    if (!available || !current)
        return E_POINTER;
    *available = audioStreams;
    *current = currentAudio;
    return S_OK;
}

STDMETHODIMP FakeDvdInfo2::GetCurrentSubpicture(ULONG* available, ULONG* current, WINBOOL* disabled) {
    Record("GetCurrentSubpicture");
    if (!available || !current || !disabled)
        return E_POINTER;
    *available = subpictureStreams;
    *current = currentSubpicture;
    *disabled = subpictureDisabled;
    return S_OK;
}

STDMETHODIMP FakeDvdInfo2::GetCurrentUOPS(ULONG* value) {
    Record("GetCurrentUOPS");
    return Put(value, uops);
}

STDMETHODIMP FakeDvdInfo2::GetAudioLanguage(ULONG stream, LCID* language) {
    Record("GetAudioLanguage", std::to_string(stream));
    return FAILED(languageResult) ? languageResult : Language(audioLanguages, stream, language);
}

STDMETHODIMP FakeDvdInfo2::GetSubpictureLanguage(ULONG stream, LCID* language) {
    Record("GetSubpictureLanguage", std::to_string(stream));
    return FAILED(languageResult) ? languageResult : Language(subpictureLanguages, stream, language);
}

STDMETHODIMP FakeDvdInfo2::GetDVDVolumeInfo(ULONG* volumes, ULONG* volume, DVD_DISC_SIDE* side,
                                            ULONG* titleCount) {
    Record("GetDVDVolumeInfo");
    if (volumes)
        *volumes = 1;
    if (volume)
        *volume = 1;
    if (side)
        *side = DVD_SIDE_A;
    return Put(titleCount, titles);
}

STDMETHODIMP FakeDvdInfo2::GetNumberOfChapters(ULONG title, ULONG* count) {
    Record("GetNumberOfChapters", std::to_string(title));
    auto found = chapters.find(title);
    if (found == chapters.end())
        return E_INVALIDARG;
    return Put(count, found->second);
}

STDMETHODIMP FakeDvdInfo2::IsAudioStreamEnabled(ULONG stream, WINBOOL* enabled) {
    Record("IsAudioStreamEnabled", std::to_string(stream));
    return Put<WINBOOL>(enabled, stream < audioStreams && !disabledAudio.count(stream));
}

STDMETHODIMP FakeDvdInfo2::IsSubpictureStreamEnabled(ULONG stream, WINBOOL* enabled) {
    Record("IsSubpictureStreamEnabled", std::to_string(stream));
    return Put<WINBOOL>(enabled, stream < subpictureStreams && !disabledSubpictures.count(stream));
}

FakeDvdGraphBuilder::FakeDvdGraphBuilder(FakeFilterGraph* graph)
    : Fake("dvdbuilder"), control(MakeFake<FakeDvdControl2>()), info(MakeFake<FakeDvdInfo2>()),
      graph_(graph) {}

STDMETHODIMP FakeDvdGraphBuilder::GetFiltergraph(IGraphBuilder** graph) {
    if (!graph)
        return E_POINTER;
    *graph = nullptr;
    if (!graph_)
        return Record("GetFiltergraph", {}, getGraphResult);
    graph_.CopyTo(graph);
    return Record("GetFiltergraph");
}

STDMETHODIMP FakeDvdGraphBuilder::GetDvdInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    HRESULT result = E_NOINTERFACE;
    if (IsEqualIID(iid, __uuidof(IDvdControl2)) && control)
        result = control->QueryInterface(iid, out);
    else if (IsEqualIID(iid, __uuidof(IDvdInfo2)) && info)
        result = info->QueryInterface(iid, out);
    Record("GetDvdInterface", {}, result);
    return result;
}

STDMETHODIMP FakeDvdGraphBuilder::RenderDvdVideoVolume(LPCWSTR path, DWORD flags,
                                                       AM_DVD_RENDERSTATUS* status) {
    renderedNullPath = path == nullptr;
    renderedPath = path ? path : L"";
    renderedFlags = flags;
    std::string argument = path ? Narrow(path) : "null";
    if (renderBlocks && graph_) {
        Record("RenderDvdVideoVolume", argument + " waits");
        HRESULT result = graph_->Hang();
        if (status)
            *status = renderStatus;
        return result;
    }
    if (status)
        *status = renderStatus;
    return Record("RenderDvdVideoVolume", argument, renderResult);
}

STDMETHODIMP FakeCaptureGraphBuilder2::SetFiltergraph(IGraphBuilder* graph) {
    graph_ = graph;
    return Record("SetFiltergraph");
}

STDMETHODIMP FakeCaptureGraphBuilder2::GetFiltergraph(IGraphBuilder** graph) {
    if (!graph)
        return E_POINTER;
    return graph_ ? graph_.CopyTo(graph) : E_UNEXPECTED;
}

DWORD PackDvdTimecode(int hours, int minutes, int seconds, int frames, int rateCode) {
    DVD_TIMECODE code{};
    code.Hours1 = hours % 10;
    code.Hours10 = hours / 10;
    code.Minutes1 = minutes % 10;
    code.Minutes10 = minutes / 10;
    code.Seconds1 = seconds % 10;
    code.Seconds10 = seconds / 10;
    code.Frames1 = frames % 10;
    code.Frames10 = frames / 10;
    code.FrameRateCode = rateCode;
    DWORD value = 0;
    static_assert(sizeof code == sizeof value);
    std::memcpy(&value, &code, sizeof value);
    return value;
}

} // namespace fakes
