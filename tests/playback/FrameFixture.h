// A video frame on the fake DirectShow kit: its graph component finds a fake graph manager and a
// fake DVD graph builder, its video window a fake renderer. Message boxes, the decoder dialog, the
// open dialog and the drive queries are replaced, so that nothing blocks and no real drive counts.
#pragma once

#include "support/FakeGraphFixture.h"

#include "playback/TVideoFrame.h"

#include "common/TextConversion.h"
#include "fakes/FakeVideo.h"
#include "forms/MessageBoxSeam.h"

#include <memory>
#include <string>
#include <vector>

struct FrameDeleter {
    void operator()(vireon::TVideoFrame* frame) const { vireon::FreeComponent(frame); }
};
using FramePtr = std::unique_ptr<vireon::TVideoFrame, FrameDeleter>;

class FrameTest : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        component.reset();
        renderer = fakes::MakeFake<fakes::FakeVideoRenderer>(L"Own Renderer");
        platform.Provide(CLSID_VideoRenderer, static_cast<IBaseFilter*>(renderer.Get()));
        frame.reset(new vireon::TVideoFrame());
        frame->VideoWindow->SetRendererIsPopup(false);
        frame->OnPlayingStatusChanged = [this](vireon::TObject*) { ++playingEvents; };
        frame->OnVolumeChange = [this](vireon::TObject*) { ++volumeEvents; };
    }

    void TearDown() override {
        frame.reset();
        renderer.Reset();
        FakeGraphTest::TearDown();
    }

    fakes::FakeDvdControl2& Navigator() { return *dvdBuilder->control.Get(); }
    fakes::FakeDvdInfo2& NavigatorInfo() { return *dvdBuilder->info.Get(); }

    // "Caption: text" of every message box shown.
    std::vector<std::string> shown;
    int decoderDialogs = 0;
    int openDialogs = 0;
    int playingEvents = 0;
    int volumeEvents = 0;
    // What the open dialog answers: the chosen files (none: cancelled).
    std::vector<std::string> dialogChoice;

    vireon::TScopedSeam<vireon::TMessageBoxSeam> boxes{
        vireon::MessageBoxSeam(), [this](HWND, const std::string& Text, const std::string& Caption, UINT) {
            shown.push_back(Caption + ": " + Text);
            return IDOK;
        }};
    vireon::TScopedSeam<vireon::TCodecMessageSeam> decoders{vireon::CodecMessageSeam(),
                                                            [this] { ++decoderDialogs; }};
    vireon::TScopedSeam<vireon::TOpenDialogSeam> dialog{vireon::OpenDialogSeam(),
                                                        [this](OPENFILENAMEW& Dialog) {
                                                            ++openDialogs;
                                                            return FillDialog(Dialog);
                                                        }};
    vireon::TScopedSeam<vireon::TLogicalDrivesSeam> noDrives{vireon::LogicalDrivesSeam(),
                                                             [] { return DWORD(0); }};

    Microsoft::WRL::ComPtr<fakes::FakeVideoRenderer> renderer;
    FramePtr frame;

private:
    // The platform's answer: one full path, or the folder followed by the names (the chosen files
    // share one folder).
    BOOL FillDialog(OPENFILENAMEW& Dialog) {
        if (dialogChoice.empty())
            return FALSE;
        std::vector<std::string> parts;
        if (dialogChoice.size() == 1) {
            parts = dialogChoice;
        } else {
            const std::string& first = dialogChoice.front();
            parts.push_back(first.substr(0, first.find_last_of('\\')));
            for (const std::string& file : dialogChoice)
                parts.push_back(file.substr(file.find_last_of('\\') + 1));
        }
        std::vector<wchar_t> buffer;
        for (const std::string& part : parts) {
            const std::wstring wide = vireon::WideFromAnsi(part);
            buffer.insert(buffer.end(), wide.begin(), wide.end());
            buffer.push_back(L'\0');
        }
        buffer.push_back(L'\0');
        if (buffer.size() > Dialog.nMaxFile)
            return FALSE;
        std::copy(buffer.begin(), buffer.end(), Dialog.lpstrFile);
        return TRUE;
    }
};
