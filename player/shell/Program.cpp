// Program entry of the player: the application, the main window, the message loop.

#include "shell/ShellWindows.h"
#include "shell/TCodecMessageDlg.h"
#include "shell/TMainForm.h"

#include "playback/TVideoFrame.h"

#include "engine/TBoundedGraphCall.h"

#include "forms/TApplication.h"

#include <windows.h>

using namespace vireon;

namespace {

void RunPlayer() {
    // The application's forms, with the graph and its renderers, go before COM does.
    TApplicationScope scope;
    TApplication& application = Application();
    application.Initialize();
    // A disc named on the command line may already need the decoder dialog during start-up.
    CodecMessageSeam() = [] { ShowCodecMessage(); };
    auto* form = application.CreateForm<TMainForm>(
        TMainFormStart{.Parameters = CommandLineParameters(GetCommandLineW())});
    InstallShellWindows(*form);
    if (form->Started()) {
        application.Run();
    } else {
        // Start-up failed and asked the window to close: let that happen without showing it.
        while (!application.Terminated() && Application().MainForm())
            application.HandleMessage();
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RunPlayer();
    // A graph call given up on may still be stuck inside the platform's media libraries, which a
    // normal end would tear down under it.
    TBoundedGraphCall::EndProcessIfCallsAreStuck(0);
    return 0;
}
