// The main window's menu bar: captions, shortcuts and handlers.
#include "shell/TMainForm.h"

#include "forms/ShortCut.h"

namespace vireon {

namespace {

struct TItemDef {
    const char* Name;
    const char* Caption;
    const char* ShortCut = "";
    void (TMainForm::*Handler)(TObject*) = nullptr;
    bool Visible = true;
};

} // namespace

void TMainForm::CreateMainMenu() {
    MainMenu = new TMainMenu(this);
    MainMenu->SetName("MainMenu");
    auto add = [this](TMenuItem* Parent, const TItemDef& Def) {
        TNotifyEvent click;
        if (auto handler = Def.Handler)
            click = [this, handler](TObject* Sender) { (this->*handler)(Sender); };
        return TMenuItem::Create(this, Parent,
                                 {.Name = Def.Name,
                                  .Caption = Def.Caption,
                                  .ShortCut = TextToShortCut(Def.ShortCut),
                                  .Visible = Def.Visible,
                                  .OnClick = click});
    };
    auto submenu = [&](TMenuItem* Parent, const char* Name, const char* Caption,
                       std::initializer_list<TItemDef> Items, bool Visible = true) {
        TMenuItem* item = add(Parent, {Name, Caption, "", nullptr, Visible});
        for (const TItemDef& def : Items)
            add(item, def);
        return item;
    };
    TMenuItem* root = MainMenu->Items();

    TMenuItem* file =
        submenu(root, "miFile", "File",
                {{"miOpen", "Open File...", "F3", &TMainForm::miOpenClick},
                 {"miOpenDVDFolder", "Open DVD on the Hard drive", "", &TMainForm::miOpenDVDFolderClick},
                 {"miPlayFolder", "Play Folder...", "", &TMainForm::miPlayFolderClick}});
    miPlayDisk = add(file, {"miPlayDisk", "Play disk"});
    add(file, {"miFileLine", "-"});
    add(file, {"miExit", "Exit", "Alt+X", &TMainForm::miExitClick});

    submenu(root, "miView", "View",
            {{"miFullScreen2", "Full Screen 2", "Ctrl+F", &TMainForm::miFullScreenClick, false},
             {"miNoButtons", "No buttons"}},
            false);

    TMenuItem* play =
        submenu(root, "miPlayMenu", "Play",
                {{"miPlay", "Play/Pause", "Ctrl+P", &TMainForm::miPlayClick},
                 {"miStop", "Stop", "Ctrl+S", &TMainForm::miStopClick},
                 {"miNext", "Next", "Shift+Right", &TMainForm::miNextClick},
                 {"miPrevious", "Previous", "Shift+Left", &TMainForm::miPreviousClick},
                 {"miNextCharter", "Next Charter", "Ctrl+Right", &TMainForm::miNextCharterClick},
                 {"miPrevCharter", "Previous Charter", "Ctrl+Left", &TMainForm::miPrevCharterClick}});
    submenu(play, "miVolume", "Volume",
            {{"miVolumeMute", "Mute", "Ctrl+M", &TMainForm::miVolumeMuteClick},
             {"miVolumeUp", "Up", "", &TMainForm::miVolumeUpClick},
             {"miVolumeDown", "Down", "", &TMainForm::miVolumeDownClick}});
    miFullScreen = add(play, {"miFullScreen", "Full screen", "Alt+Enter", &TMainForm::miFullScreenClick});
    miAspectRatio = add(play, {"miAspectRatio", "Aspect ratio"});
    static const char* const ratios[] = {"Fit to screen", "LetterBox", "Crop", "4:3", "16:9", "2.35:1"};
    for (int tag = 0; tag < 6; ++tag)
        TMenuItem::Create(this, miAspectRatio,
                          {.Name = "miAspect" + std::to_string(tag),
                           .Caption = ratios[tag],
                           .Tag = tag,
                           .Checked = tag == 1,
                           .RadioItem = true,
                           .GroupIndex = 4,
                           .OnClick = [this](TObject* Sender) { miAspectRatioClick(Sender); }});

    TMenuItem* dvd = submenu(root, "miDVD", "DVD", {});
    miDVDRootMenu = add(dvd, {"miDVDRootMenu", "Menu", "", &TMainForm::miDVDRootMenuClick});
    miDVDRootMenu->SetEnabled(false);
    add(dvd, {"miEject", "Eject", "Ctrl+E", &TMainForm::miEjectClick});
    miSubtitles = add(dvd, {"miSubtitles", "Subtitles"});
    miAudioTracks = add(dvd, {"miAudioTracks", "Audio Tracks"});
    miChapters = add(dvd, {"miChapters", "Chapters"});

    TMenuItem* tools = submenu(root, "miTools", "Tools",
                               {{"miColorControl", "Color control", "", &TMainForm::miColorControlClick}});
    miCodecs = add(tools, {"miCodecs", "Codecs"});

    submenu(root, "miHelp", "Help",
            {{"miHelpTopics", "Help Topcis", "F1"},
             {"miAbout", "About", "", &TMainForm::miAboutClick},
             {"miWriteUs", "Send feedback", "", &TMainForm::miWriteUsClick}});
    SetMenu(MainMenu);
}

} // namespace vireon
