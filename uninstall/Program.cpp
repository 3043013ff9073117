// Program entry of the uninstall survey: build the window, run the message loop, end with code 0.

#include "uninstall/SurveyForm.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    uninstall::TSurveyForm survey({GetCommandLineA(), uninstall::DefaultReportSettings()});
    if (!survey.QuitPosted())
        survey.Show(showCommand);
    survey.Run();
    return 0;
}
