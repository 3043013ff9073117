// Plays a title set's VOB through the platform's own file playback inside the filter graph:
// renders the file, keeps one audio branch, seeks, reads the position and changes the rate.
#pragma once

#include <dshow.h>
#include <wrl/client.h>

#include <cstdint>
#include <filesystem>

namespace dvdnav {

struct TRenderOutcome {
    HRESULT Result = E_FAIL;
    bool VideoRendered = false;
    bool AudioRendered = false;
};

class TTitlePlayback {
public:
    explicit TTitlePlayback(Microsoft::WRL::ComPtr<IGraphBuilder> Graph);

    // Empties the graph and renders the file; the graph's run state is kept.
    TRenderOutcome Open(const std::filesystem::path& Vob);
    const std::filesystem::path& OpenFile() const { return File_; }

    // Leaves only the audio branch of the splitter's Index-th audio output connected.
    HRESULT SelectAudio(int Index);

    int64_t PositionMs() const;
    int64_t DurationMs() const;
    HRESULT SeekMs(int64_t Position);
    HRESULT SetRate(double Rate);

    bool IsRunning() const;
    void Run();
    void Stop();

private:
    void RemoveAllFilters();
    void RemoveDownstream(IPin* Output);
    Microsoft::WRL::ComPtr<IBaseFilter> FindSplitter() const;

    Microsoft::WRL::ComPtr<IGraphBuilder> Graph_;
    Microsoft::WRL::ComPtr<IMediaControl> Control_;
    Microsoft::WRL::ComPtr<IMediaSeeking> Seeking_;
    std::filesystem::path File_;
};

}  // namespace dvdnav
