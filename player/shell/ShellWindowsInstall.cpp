// The shell's real windows behind the main window's slots.
#include "shell/ShellWindows.h"

#include "shell/TAboutDlg.h"
#include "shell/TColorControlForm.h"
#include "shell/TMainForm.h"
#include "shell/TMiniControlForm.h"

#include "forms/TApplication.h"

namespace vireon {

namespace {

void CreateMiniBar(TMainForm& MainForm) {
    if (!MiniControlForm)
        MiniControlForm = new TMiniControlForm(&Application(), &MainForm);
}

// Runs Action on the mini bar when it exists.
template <typename Action> auto OnMiniBar(Action&& Do) {
    return [Do = std::forward<Action>(Do)] {
        if (MiniControlForm)
            Do(*MiniControlForm);
    };
}

} // namespace

void InstallShellWindows(TMainForm& MainForm) {
    TShellWindows& slots = ShellWindows();
    TMainForm* main = &MainForm;
    slots.ShowAbout = [main] { ShowAbout(main->Skin()); };
    slots.ShowColorControl = [main] { ShowColorControl(main->VideoFrame->VideoWindow); };
    slots.AboutMouseIn = [](skin::ISkinObject* Source) {
        if (AboutDlg)
            AboutDlg->SkinMouseIn(Source);
    };
    slots.AboutMouseOut = [](skin::ISkinObject* Source) {
        if (AboutDlg)
            AboutDlg->SkinMouseOut(Source);
    };
    slots.AboutMouseDown = [](skin::ISkinObject* Source) {
        if (AboutDlg)
            AboutDlg->SkinMouseDown(Source);
    };
    slots.MiniBarExists = [] { return MiniControlForm != nullptr; };
    slots.CreateMiniBar = [main] { CreateMiniBar(*main); };
    slots.MiniBarAutoShow = [] { return MiniControlForm && MiniControlForm->AutoShow(); };
    slots.RollUpMiniBar = OnMiniBar([](TMiniControlForm& Bar) { Bar.RollUp(); });
    slots.RollDownMiniBar = OnMiniBar([](TMiniControlForm& Bar) { Bar.RollDown(); });
    slots.HideMiniBar = OnMiniBar([](TMiniControlForm& Bar) { Bar.HideAtOnce(); });
    slots.RefreshMiniBarCaptionAndButtons =
        OnMiniBar([](TMiniControlForm& Bar) { Bar.RefreshCaptionAndButtons(); });
    slots.RefreshMiniBarPlayButtons = OnMiniBar([](TMiniControlForm& Bar) { Bar.RefreshPlayButtons(); });
    slots.RefreshMiniBarVolume = OnMiniBar([](TMiniControlForm& Bar) { Bar.RefreshVolume(); });
}

} // namespace vireon
