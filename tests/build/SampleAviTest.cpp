// The generated sample clip plays through the platform's filter graph manager, sound included.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "common/DirectShowUuids.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace {

const std::wstring kSample = L"" VIREON_BUILD_DIR "/samples/sample.avi";

class SampleAvi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
    }
    void TearDown() override {
        graph.Reset();
        CoUninitialize();
    }

    static void PumpMessages(DWORD milliseconds) { testsupport::PumpMessagesFor(milliseconds); }


    ComPtr<IGraphBuilder> graph;
};

TEST_F(SampleAvi, RendersEveryStream) {
    // S_OK, not VFW_S_PARTIAL_RENDER: the audio pin reaches the (null) sound device too.
    EXPECT_EQ(S_OK, graph->RenderFile(kSample.c_str(), nullptr));

    ComPtr<IBasicVideo> video;
    ASSERT_HRESULT_SUCCEEDED(graph.As(&video));
    long width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(video->get_SourceWidth(&width));
    ASSERT_HRESULT_SUCCEEDED(video->get_SourceHeight(&height));
    EXPECT_EQ(320, width);
    EXPECT_EQ(240, height);

    ComPtr<IBasicAudio> audio;
    ASSERT_HRESULT_SUCCEEDED(graph.As(&audio));
    long volume = 1;
    EXPECT_HRESULT_SUCCEEDED(audio->get_Volume(&volume));
    EXPECT_HRESULT_SUCCEEDED(audio->put_Volume(-500));
}

TEST_F(SampleAvi, PositionAdvancesWhilePlaying) {
    ASSERT_HRESULT_SUCCEEDED(graph->RenderFile(kSample.c_str(), nullptr));
    ComPtr<IMediaSeeking> seeking;
    ComPtr<IMediaControl> control;
    ASSERT_HRESULT_SUCCEEDED(graph.As(&seeking));
    ASSERT_HRESULT_SUCCEEDED(graph.As(&control));

    LONGLONG duration = 0;
    ASSERT_HRESULT_SUCCEEDED(seeking->GetDuration(&duration));
    EXPECT_NEAR(10.0, duration / 1e7, 0.1);

    ASSERT_HRESULT_SUCCEEDED(control->Run());
    LONGLONG position = 0;
    for (int attempt = 0; attempt < 50 && position < 5000000; ++attempt) {
        PumpMessages(100);
        ASSERT_HRESULT_SUCCEEDED(seeking->GetCurrentPosition(&position));
    }
    EXPECT_GE(position, 5000000) << "half a second of playback";
    EXPECT_HRESULT_SUCCEEDED(control->Stop());
}

}  // namespace
