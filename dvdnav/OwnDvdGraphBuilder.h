// The DVD graph builder of our own, used where the platform's cannot supply a filter graph.
#pragma once

#include "common/ComObject.h"
#include "dvdnav/HomeThread.h"

#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>

namespace dvdnav {

class TDvdNavigator;

// Creates our DVD graph builder (IDvdGraphBuilder with its own IDvdControl2/IDvdInfo2 navigator).
HRESULT CreateOwnDvdGraphBuilder(IDvdGraphBuilder** Builder);

// Builds a DVD graph in a platform filter graph manager of its own: the first title of the volume
// plays through the platform's file playback; GetDvdInterface hands out the navigator. A volume may
// be rendered on any thread; the navigator's clock runs on the thread that made the builder.
class TOwnDvdGraphBuilder final : public vireon::TComObject<IDvdGraphBuilder> {
public:
    explicit TOwnDvdGraphBuilder(Microsoft::WRL::ComPtr<IGraphBuilder> Graph);
    TOwnDvdGraphBuilder(const TOwnDvdGraphBuilder&) = delete;
    TOwnDvdGraphBuilder& operator=(const TOwnDvdGraphBuilder&) = delete;

    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** Graph) override;
    HRESULT STDMETHODCALLTYPE GetDvdInterface(REFIID Iid, void** Object) override;
    HRESULT STDMETHODCALLTYPE RenderDvdVideoVolume(const WCHAR* Path, DWORD Flags,
                                                   AM_DVD_RENDERSTATUS* Status) override;

private:
    HRESULT Render(const std::filesystem::path& Folder, AM_DVD_RENDERSTATUS& Status);

    Microsoft::WRL::ComPtr<IGraphBuilder> Graph_;
    Microsoft::WRL::ComPtr<TDvdNavigator> Navigator_;
    std::shared_ptr<const THomeThread> Home_;
};

// The VIDEO_TS folder on the first optical drive holding a DVD-Video volume.
std::optional<std::filesystem::path> FindVolumeOnOpticalDrives();

} // namespace dvdnav
