// Prints the video frame's figures next to bare baselines measured in the same run:
// - OpenSource on a folder of many non-playable files and a VIDEO_TS sub-folder, up to the moment
//   the DVD graph builder is asked to render the volume, next to a bare file-search loop over the
//   same folder;
// - OpenMedia of the sample clip up to the first advancing position, next to bare DirectShow.
//   FrameBench [files] [runs]   (defaults 10000 and 7)

#include "BareFileSearch.h"
#include "BareGraphRun.h"
#include "BenchTiming.h"

#include "playback/TVideoFrame.h"

#include "common/ComObject.h"
#include "common/TextConversion.h"
#include "engine/PlatformObjects.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace vireon;
using benchtiming::Median;
using benchtiming::NowMs;

namespace {

const std::string kSample = VIREON_BUILD_DIR "/samples/sample.avi";

// A DVD graph builder that notes when it is asked to render and then fails the way a machine
// without decoders does, so that only the frame's search is timed.
class TimingDvdBuilder : public TComObject<IDvdGraphBuilder> {
public:
    // When the last builder was asked to render; 0 until then.
    static inline double RenderCalledAt = 0;

    STDMETHODIMP GetFiltergraph(IGraphBuilder** Graph) override {
        if (!FGraph)
            CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&FGraph));
        return FGraph ? FGraph.CopyTo(Graph) : E_FAIL;
    }
    STDMETHODIMP GetDvdInterface(REFIID, void** Object) override {
        *Object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP RenderDvdVideoVolume(LPCWSTR, DWORD, AM_DVD_RENDERSTATUS*) override {
        RenderCalledAt = NowMs();
        return S_FALSE;
    }

private:
    ComPtr<IGraphBuilder> FGraph;
};

std::string TempFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name + std::to_string(GetCurrentProcessId());
}

void MakeFile(const std::string& path) {
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void SearchBenchmark(TVideoFrame& frame, int files, int runs) {
    const std::string folder = TempFolder("vireon-framebench-");
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i)
        MakeFile(folder + "\\notes" + std::to_string(i) + ".txt");
    CreateDirectoryA((folder + "\\VIDEO_TS").c_str(), nullptr);
    MakeFile(folder + "\\VIDEO_TS\\VIDEO_TS.IFO");

    TScopedSeam<TCreateInstanceSeam> platform(
        CreateInstanceSeam(), [](REFCLSID ClassId, REFIID Iid, void** Object) {
            if (IsEqualCLSID(ClassId, CLSID_DvdGraphBuilder))
                return REGDB_E_CLASSNOTREG;
            return CoCreateInstance(ClassId, nullptr, CLSCTX_INPROC_SERVER, Iid, Object);
        });
    TScopedSeam<TCreateOwnDvdGraphBuilderSeam> builder(
        CreateOwnDvdGraphBuilderSeam(), [](IDvdGraphBuilder** Builder) {
            *Builder = MakeComObject<TimingDvdBuilder>().Detach();
            return S_OK;
        });
    std::vector<double> frameRounds, bareRounds;
    bool reached = true;
    for (int round = 0; round < runs + 1; ++round) {
        TimingDvdBuilder::RenderCalledAt = 0;
        double start = NowMs();
        frame.OpenSource(folder);
        reached = reached && TimingDvdBuilder::RenderCalledAt > 0;
        double search = TimingDvdBuilder::RenderCalledAt - start;
        start = NowMs();
        BareFolderSearch(folder);
        double bare = NowMs() - start;
        if (round > 0) { // the first round warms the file system's caches
            frameRounds.push_back(search);
            bareRounds.push_back(bare);
        }
    }
    frame.CloseMedia();
    if (!reached)
        printf("OpenSource did not reach the DVD builder\n");
    else
        printf("OpenSource over %d non-playable files and VIDEO_TS, to the DVD render call (median of %d): "
               "%.1f ms (target under 300 ms); bare file-search loop over the folder %.1f ms\n",
               files, runs, Median(frameRounds), Median(bareRounds));
    for (int i = 0; i < files; ++i)
        DeleteFileA((folder + "\\notes" + std::to_string(i) + ".txt").c_str());
    DeleteFileA((folder + "\\VIDEO_TS\\VIDEO_TS.IFO").c_str());
    RemoveDirectoryA((folder + "\\VIDEO_TS").c_str());
    RemoveDirectoryA(folder.c_str());
}

// OpenMedia to the first advancing position; -1 when playback did not start within 10 s.
double FrameRun(TVideoFrame& frame) {
    double start = NowMs();
    if (!frame.OpenMedia(kSample, false))
        return -1;
    while (NowMs() - start < 10000) {
        Application().ProcessMessages();
        if (frame.GetPosition() > 0) {
            double elapsed = NowMs() - start;
            frame.CloseMedia();
            return elapsed;
        }
        Sleep(1);
    }
    return -1;
}

bool OpenBenchmark(TVideoFrame& frame, int runs) {
    FrameRun(frame);
    barerun::BareRun(WideFromAnsi(kSample));
    std::vector<double> frameRounds, bareRounds;
    for (int i = 0; i < runs; ++i) {
        double a = FrameRun(frame), b = barerun::BareRun(WideFromAnsi(kSample));
        if (a < 0 || b < 0) {
            printf("playback did not start\n");
            return false;
        }
        frameRounds.push_back(a);
        bareRounds.push_back(b);
    }
    double f = Median(frameRounds), b = Median(bareRounds);
    printf("OpenMedia of the sample clip to the first advancing position (median of %d): frame %.1f ms, bare "
           "DirectShow %.1f ms, ratio %.2f (target within 1.2)\n",
           runs, f, b, f / b);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int files = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    TApplicationScope scope;
    if (FAILED(scope.ComResult()))
        return 1;
    Application().Initialize();
    TScopedSeam<TMessageBoxSeam> quiet(
        MessageBoxSeam(), [](HWND, const std::string&, const std::string&, UINT) { return IDOK; });
    auto* form = new TForm(&Application());
    form->SetBounds(40, 40, 480, 360);
    auto* frame = new TVideoFrame(form);
    frame->SetAlign(alClient);
    frame->SetParent(form);
    form->Show();

    SearchBenchmark(*frame, files, runs);
    bool played = OpenBenchmark(*frame, runs);
    return played ? 0 : 1;
}
