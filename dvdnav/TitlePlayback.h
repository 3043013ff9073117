// Plays a title set's VOB through the platform's own file playback inside the filter graph:
// renders the file, keeps one audio branch, seeks, reads the position and changes the rate.
// Filters that were in the graph before (the renderers of the graph's members) stay there and are
// fed again by every new title; the volume and balance survive every rebuild of a branch.
#pragma once

#include <dshow.h>
#include <wrl/client.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace dvdnav {

struct TRenderOutcome {
    HRESULT Result = E_FAIL;
    bool VideoRendered = false;
    bool AudioRendered = false;
};

// Renders one audio output of the splitter; empty while the graph's own Render applies. Tests
// fill it to make a decoder fail.
using TRenderAudioSeam = std::function<HRESULT(IGraphBuilder* Graph, IPin* Output)>;
TRenderAudioSeam& RenderAudioSeam();

class TTitlePlayback {
public:
    explicit TTitlePlayback(Microsoft::WRL::ComPtr<IGraphBuilder> Graph);

    // Replaces what this playback built by the sectors First..Last of the VOB files taken end to
    // end; the graph's run state is kept.
    TRenderOutcome Open(const std::vector<std::filesystem::path>& Vobs, uint32_t First, uint32_t Last);
    bool IsOpen() const { return Opened_; }
    // Stops the graph and takes out every filter this playback put in.
    void Close();

    // Leaves only the audio branch of the splitter's Index-th audio output connected. When that
    // branch cannot be built the old one stays and keeps playing. The graph is stopped meanwhile
    // and its run state kept.
    HRESULT SelectAudio(int Index);

    int64_t PositionMs() const;
    int64_t DurationMs() const;
    HRESULT SeekMs(int64_t Position);
    HRESULT SetRate(double Rate);

    bool IsRunning() const;
    void Run();
    void Stop();

private:
    struct TAudioLevels {
        long Volume = 0;
        long Balance = 0;
        bool Known = false;
    };

    void RemoveOwnFilters();
    void RemoveDownstream(IPin* Output);
    void ForgetRemovedFilters();
    HRESULT RenderAudio(IPin* Output);
    HRESULT KeepOnlyAudio(int Index); // on the stopped graph
    void KeepAudioLevels();
    void ApplyAudioLevels();
    Microsoft::WRL::ComPtr<IBaseFilter> FindSplitter() const;

    Microsoft::WRL::ComPtr<IGraphBuilder> Graph_;
    Microsoft::WRL::ComPtr<IMediaControl> Control_;
    Microsoft::WRL::ComPtr<IMediaSeeking> Seeking_;
    std::vector<Microsoft::WRL::ComPtr<IBaseFilter>> Own_; // what this playback put in the graph
    TAudioLevels Levels_;
    bool Opened_ = false;
};

} // namespace dvdnav
