#include "dvdnav/OwnDvdGraphBuilder.h"

#include "common/ComObject.h"
#include "common/DirectShowUuids.h"
#include "dvdnav/DvdNavigator.h"

#include <bit>

namespace dvdnav {

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD DecoderFlags =
    AM_DVD_HWDEC_PREFER | AM_DVD_HWDEC_ONLY | AM_DVD_SWDEC_PREFER | AM_DVD_SWDEC_ONLY;

// Interfaces of the renderers, answered by the graph manager on their behalf.
bool IsRendererInterface(REFIID Iid) {
    return Iid == __uuidof(IVideoWindow) || Iid == __uuidof(IBasicVideo) || Iid == __uuidof(IBasicVideo2) ||
           Iid == __uuidof(IBasicAudio);
}

} // namespace

HRESULT CreateOwnDvdGraphBuilder(IDvdGraphBuilder** Builder) {
    if (!Builder)
        return E_POINTER;
    *Builder = nullptr;
    ComPtr<IGraphBuilder> Graph;
    HRESULT Result = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Graph));
    if (FAILED(Result))
        return Result;
    *Builder = new TOwnDvdGraphBuilder(std::move(Graph));
    return S_OK;
}

std::optional<std::filesystem::path> FindVolumeOnOpticalDrives() {
    DWORD OldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &OldMode); // no "insert a disc" boxes
    std::optional<std::filesystem::path> Found;
    DWORD Drives = GetLogicalDrives();
    for (wchar_t Letter = L'A'; Letter <= L'Z' && !Found; ++Letter) {
        wchar_t Root[] = {Letter, L':', L'\\', 0};
        if (!(Drives & (1u << (Letter - L'A'))) || GetDriveTypeW(Root) != DRIVE_CDROM)
            continue;
        try {
            Found = TDvdVolume::FindVideoTsFolder(Root);
        } catch (const EIfoError&) {
        }
    }
    SetThreadErrorMode(OldMode, nullptr);
    return Found;
}

TOwnDvdGraphBuilder::TOwnDvdGraphBuilder(ComPtr<IGraphBuilder> Graph)
    : Graph_(std::move(Graph)), Home_(std::make_shared<const THomeThread>()) {}

HRESULT TOwnDvdGraphBuilder::GetFiltergraph(IGraphBuilder** Graph) {
    if (!Graph)
        return E_POINTER;
    return Graph_.CopyTo(Graph);
}

HRESULT TOwnDvdGraphBuilder::GetDvdInterface(REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    *Object = nullptr;
    // Until a volume is rendered there is no navigator: the graph then plays plain files.
    if (!Navigator_)
        return E_NOINTERFACE;
    if (Iid == __uuidof(IDvdControl2) || Iid == __uuidof(IDvdInfo2))
        return Navigator_->QueryInterface(Iid, Object);
    if (IsRendererInterface(Iid))
        return Graph_->QueryInterface(Iid, Object);
    return E_NOINTERFACE;
}

HRESULT TOwnDvdGraphBuilder::RenderDvdVideoVolume(const WCHAR* Path, DWORD Flags,
                                                  AM_DVD_RENDERSTATUS* Status) {
    AM_DVD_RENDERSTATUS Local{};
    AM_DVD_RENDERSTATUS& Out = Status ? *Status : Local;
    Out = {};
    if (std::popcount(Flags & DecoderFlags) > 1)
        return E_INVALIDARG;
    if (Flags & AM_DVD_HWDEC_ONLY)
        return VFW_E_DVD_DECNOTENOUGH; // there are no hardware DVD decoders behind this builder
    std::filesystem::path Folder;
    if (!Path || !*Path) {
        auto Found = FindVolumeOnOpticalDrives();
        if (!Found) {
            Out.bDvdVolUnknown = TRUE;
            return S_FALSE;
        }
        Folder = *Found;
    } else {
        Folder = Path;
    }
    return Render(Folder, Out);
}

HRESULT TOwnDvdGraphBuilder::Render(const std::filesystem::path& Folder, AM_DVD_RENDERSTATUS& Status) {
    std::shared_ptr<const TDvdVolume> Volume;
    try {
        Volume = std::make_shared<const TDvdVolume>(TDvdVolume::Read(Folder));
    } catch (const EIfoError&) {
        Status.bDvdVolInvalid = TRUE;
        return S_FALSE;
    }
    if (Navigator_) {
        Navigator_->Retire(); // whoever still holds it must not steer the new volume's graph
        Navigator_.Reset();
    }
    ComPtr<TDvdNavigator> Navigator = vireon::MakeComObject<TDvdNavigator>(Graph_, Volume, Home_);
    TRenderOutcome Outcome = Navigator->Start();
    const TDvdTitle& First = Volume->Titles.front();
    bool HasAudio = !Volume->TitleSetOf(First).Info.Audio.empty();
    Status.iNumStreams = HasAudio ? 2 : 1;
    if (FAILED(Outcome.Result) || !Outcome.VideoRendered) {
        Status.iNumStreamsFailed++;
        Status.dwFailedStreamsFlag |= AM_DVD_STREAM_VIDEO;
    }
    if (HasAudio && (FAILED(Outcome.Result) || !Outcome.AudioRendered)) {
        Status.iNumStreamsFailed++;
        Status.dwFailedStreamsFlag |= AM_DVD_STREAM_AUDIO;
    }
    if (Status.iNumStreamsFailed == Status.iNumStreams)
        return VFW_E_DVD_RENDERFAIL; // nothing plays: no navigator either
    Navigator_ = Navigator;
    return Status.iNumStreamsFailed ? S_FALSE : S_OK;
}

} // namespace dvdnav
