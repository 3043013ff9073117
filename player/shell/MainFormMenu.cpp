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

// Builds the items of the form's menus from tables.
class TMenuBuilder {
public:
    explicit TMenuBuilder(TMainForm& Form) : FForm(Form) {}

    TMenuItem* Add(TMenuItem* Parent, const TItemDef& Def) {
        TNotifyEvent click;
        if (auto handler = Def.Handler)
            click = [form = &FForm, handler](TObject* Sender) { (form->*handler)(Sender); };
        return TMenuItem::Create(&FForm, Parent,
                                 {.Name = Def.Name,
                                  .Caption = Def.Caption,
                                  .ShortCut = TextToShortCut(Def.ShortCut),
                                  .Visible = Def.Visible,
                                  .OnClick = click});
    }
    TMenuItem* Submenu(TMenuItem* Parent, const char* Name, const char* Caption,
                       std::initializer_list<TItemDef> Items, bool Visible = true) {
        TMenuItem* item = Add(Parent, {Name, Caption, "", nullptr, Visible});
        for (const TItemDef& def : Items)
            Add(item, def);
        return item;
    }

private:
    TMainForm& FForm;
};

void TMainForm::CreateMainMenu() {
    MainMenu = new TMainMenu(this);
    MainMenu->SetName("MainMenu");
    TMenuBuilder builder(*this);
    TMenuItem* root = MainMenu->Items();
    CreateFileMenus(builder, root);
    CreatePlayMenu(builder, root);
    CreateDvdMenus(builder, root);
    SetMenu(MainMenu);
}

void TMainForm::CreateFileMenus(TMenuBuilder& Builder, TMenuItem* Root) {
    TMenuItem* file = Builder.Submenu(
        Root, "miFile", "File",
        {{"miOpen", "Open File...", "F3", &TMainForm::miOpenClick},
         {"miOpenDVDFolder", "Open DVD on the Hard drive", "", &TMainForm::miOpenDVDFolderClick},
         {"miPlayFolder", "Play Folder...", "", &TMainForm::miPlayFolderClick}});
    miPlayDisk = Builder.Add(file, {"miPlayDisk", "Play disk"});
    Builder.Add(file, {"miFileLine", "-"});
    Builder.Add(file, {"miExit", "Exit", "Alt+X", &TMainForm::miExitClick});

    Builder.Submenu(Root, "miView", "View",
                    {{"miFullScreen2", "Full Screen 2", "Ctrl+F", &TMainForm::miFullScreenClick, false},
                     {"miNoButtons", "No buttons"}},
                    false);
}

void TMainForm::CreatePlayMenu(TMenuBuilder& Builder, TMenuItem* Root) {
    TMenuItem* play =
        Builder.Submenu(Root, "miPlayMenu", "Play",
                        {{"miPlay", "Play/Pause", "Ctrl+P", &TMainForm::miPlayClick},
                         {"miStop", "Stop", "Ctrl+S", &TMainForm::miStopClick},
                         {"miNext", "Next", "Shift+Right", &TMainForm::miNextClick},
                         {"miPrevious", "Previous", "Shift+Left", &TMainForm::miPreviousClick},
                         {"miNextCharter", "Next Charter", "Ctrl+Right", &TMainForm::miNextCharterClick},
                         {"miPrevCharter", "Previous Charter", "Ctrl+Left", &TMainForm::miPrevCharterClick}});
    Builder.Submenu(play, "miVolume", "Volume",
                    {{"miVolumeMute", "Mute", "Ctrl+M", &TMainForm::miVolumeMuteClick},
                     {"miVolumeUp", "Up", "", &TMainForm::miVolumeUpClick},
                     {"miVolumeDown", "Down", "", &TMainForm::miVolumeDownClick}});
    miFullScreen =
        Builder.Add(play, {"miFullScreen", "Full screen", "Alt+Enter", &TMainForm::miFullScreenClick});
    miAspectRatio = Builder.Add(play, {"miAspectRatio", "Aspect ratio"});
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
}

void TMainForm::CreateDvdMenus(TMenuBuilder& Builder, TMenuItem* Root) {
    TMenuItem* dvd = Builder.Submenu(Root, "miDVD", "DVD", {});
    miDVDRootMenu = Builder.Add(dvd, {"miDVDRootMenu", "Menu", "", &TMainForm::miDVDRootMenuClick});
    miDVDRootMenu->SetEnabled(false);
    Builder.Add(dvd, {"miEject", "Eject", "Ctrl+E", &TMainForm::miEjectClick});
    miSubtitles = Builder.Add(dvd, {"miSubtitles", "Subtitles"});
    miAudioTracks = Builder.Add(dvd, {"miAudioTracks", "Audio Tracks"});
    miChapters = Builder.Add(dvd, {"miChapters", "Chapters"});

    TMenuItem* tools = Builder.Submenu(
        Root, "miTools", "Tools", {{"miColorControl", "Color control", "", &TMainForm::miColorControlClick}});
    miCodecs = Builder.Add(tools, {"miCodecs", "Codecs"});

    Builder.Submenu(Root, "miHelp", "Help",
                    {{"miHelpTopics", "Help Topcis", "F1"},
                     {"miAbout", "About", "", &TMainForm::miAboutClick},
                     {"miWriteUs", "Send feedback", "", &TMainForm::miWriteUsClick}});
}

} // namespace vireon
