// Program entry of the player. Until the skinned main window arrives, a plain form with the video
// window plays the file named on the command line, or says why it cannot.

#include <windows.h>

#include <string>

#include "common/TextConversion.h"
#include "engine/EDirectShowException.h"
#include "engine/TFilterGraph.h"
#include "engine/TVideoWindow.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"

using namespace vireon;

namespace {

// The first argument, without quotes.
std::string FirstArgument(const char* commandLine) {
    std::string line = commandLine ? commandLine : "";
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos)
        return {};
    if (line[start] == '"') {
        size_t end = line.find('"', start + 1);
        return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    return line.substr(start, line.find(' ', start) - start);
}

class TPlaceholderForm : public TForm {
public:
    explicit TPlaceholderForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption("Vireon");
        SetBounds(0, 0, 660, 520);
        SetPosition(poScreenCenter);
        FGraph = new TFilterGraph(this);
        FGraph->SetName("FilterGraph");
        FVideo = new TVideoWindow(this);
        FVideo->SetName("VideoWindow");
        FVideo->SetColor(RGB(24, 26, 30));
        FVideo->SetAlign(alClient);
        FVideo->SetParent(this);
        FVideo->SetFilterGraph(FGraph);
        FVideo->OnPaint = [this](TObject*, HDC dc) { PaintStatus(dc); };
    }

    void Open(const std::string& fileName) {
        if (fileName.empty())
            return;
        FGraph->SetActive(true);
        try {
            FGraph->RenderMediaFile(WideFromAnsi(fileName));
            FVideo->UpdateVideoWindow();
            FGraph->Play();
        } catch (const EDirectShowException&) {
            FGraph->ResetGraph();
            FGraph->SetActive(false);
            FStatus = "The media \"" + fileName + "\" is not playable.";
            FVideo->Invalidate();
        }
    }

private:
    void PaintStatus(HDC dc) {
        RECT client{0, 0, FVideo->ClientWidth(), FVideo->ClientHeight()};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(200, 210, 225));
        DrawTextA(dc, FStatus.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    TFilterGraph* FGraph;
    TVideoWindow* FVideo;
    std::string FStatus = "Vireon";
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // The application's forms, with the graph and its renderers, go before COM does.
    TApplicationScope scope;
    TApplication& application = Application();
    application.Initialize();
    auto* form = application.CreateForm<TPlaceholderForm>();
    form->Show();
    form->Open(FirstArgument(commandLine));
    application.Run();
    return 0;
}
