// Tests that need the foreground window: shortcuts, activation order, popup menus, the main loop.
#include "forms/TForm.h"
#include "forms/TMenu.h"
#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"
#include "forms/TShape.h"

#include "FormsTestSupport.h"

#include <stdexcept>

using namespace vireon;
using namespace vireon::testing;

namespace {

// Holds modifier keys down on this thread's keyboard state for a scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<BYTE> keys) {
        GetKeyboardState(FSaved);
        BYTE state[256];
        memcpy(state, FSaved, sizeof(state));
        for (BYTE key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(FSaved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE FSaved[256];
};

void PostKey(HWND window, WORD key, bool alt = false) {
    LPARAM flags = 1 | (alt ? (KF_ALTDOWN << 16) : 0);
    PostMessageA(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags);
}

void Activate(TForm* form) {
    form->Show();
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
    RunUntil([&] { return form->Active(); }, 2000);
}

struct PlayerMenu {
    TForm* Form = new TForm(nullptr);
    TMainMenu* Menu = new TMainMenu(Form);
    std::vector<std::string> Clicked;

    TMenuItem* Add(TMenuItem* parent, const std::string& caption, const char* shortCut) {
        return TMenuItem::Create(Form, parent,
                                 {.Caption = caption,
                                  .ShortCut = TextToShortCut(shortCut),
                                  .OnClick = [this, caption](TObject*) { Clicked.push_back(caption); }});
    }

    PlayerMenu() {
        Form->SetMenu(Menu);
        TMenuItem* file = Add(Menu->Items(), "File", "");
        Add(file, "Open File...", "F3");
        Add(file, "Exit", "Alt+X");
        TMenuItem* view = Add(Menu->Items(), "View", "");
        view->SetVisible(false);
        Add(view, "Full Screen 2", "Ctrl+F")->SetVisible(false);
        TMenuItem* play = Add(Menu->Items(), "Play", "");
        Add(play, "Play/Pause", "Ctrl+P");
        Add(play, "Next", "Shift+Right");
        Add(play, "Full screen", "Alt+Enter");
        Add(play, "Stop", "Ctrl+S")->SetEnabled(false);
    }
    ~PlayerMenu() { Form->Free(); }
    PlayerMenu(const PlayerMenu&) = delete;
    PlayerMenu& operator=(const PlayerMenu&) = delete;
};

} // namespace

TEST(ShortCuts, ReachTheirItemsWhileTheWindowIsActive) {
    PlayerMenu player;
    HWND window = player.Form->Handle();
    // Each key is sent while the window is active (other programs on the screen may take it).
    auto press = [&](WORD key, bool alt, std::initializer_list<BYTE> held) {
        Activate(player.Form);
        ASSERT_TRUE(player.Form->Active());
        HeldKeys keys(held);
        PostKey(window, key, alt);
        RunFor(50);
    };
    press(VK_F3, false, {});
    press('X', true, {});
    press(VK_RETURN, true, {});
    press('P', false, {VK_CONTROL});
    press('F', false, {VK_CONTROL});
    press('S', false, {VK_CONTROL});
    press(VK_RIGHT, false, {VK_SHIFT});
    // A key no item owns does nothing.
    press(VK_F12, false, {});
    // Hidden items keep their shortcuts; disabled ones do not run.
    EXPECT_EQ((std::vector<std::string>{"Open File...", "Exit", "Full screen", "Play/Pause", "Full Screen 2",
                                        "Next"}),
              player.Clicked);
}

TEST(ShortCuts, DoNothingWhileAnotherWindowIsActive) {
    PlayerMenu player;
    auto* other = new TForm(nullptr);
    Activate(player.Form);
    Activate(other);
    ASSERT_FALSE(player.Form->Active());
    PostKey(player.Form->Handle(), VK_F3);
    RunFor(100);
    EXPECT_TRUE(player.Clicked.empty());
    other->Free();
}

TEST(ShortCuts, ExceptionInTheHandlerReachesOnException) {
    ExceptionLog log;
    PlayerMenu player;
    player.Menu->Items()->Items(0)->Items(0)->OnClick = [](TObject*) {
        throw std::runtime_error("open failed");
    };
    Activate(player.Form);
    PostKey(player.Form->Handle(), VK_F3);
    PostKey(player.Form->Handle(), 'X', true);
    EXPECT_TRUE(RunUntil([&] { return player.Clicked.size() == 1; }));
    EXPECT_EQ((std::vector<std::string>{"open failed"}), log.Messages);
    EXPECT_EQ((std::vector<std::string>{"Exit"}), player.Clicked);
}

TEST(Screen, ActivationBringsAFormToTheFrontOfTheList) {
    auto* first = new TForm(nullptr);
    auto* second = new TForm(nullptr);
    int deactivations = 0;
    first->OnDeactivate = [&](TObject*) { ++deactivations; };
    Activate(first);
    EXPECT_EQ(first, Screen().Forms(0));
    EXPECT_EQ(first, Screen().ActiveForm());
    Activate(second);
    EXPECT_EQ(second, Screen().Forms(0));
    EXPECT_EQ(first, Screen().Forms(1));
    EXPECT_EQ(1, deactivations);
    second->Free();
    first->Free();
}

TEST(PopupMenu, RightClickShowsItAndTheChoiceRunsItsItem) {
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->SetBounds(0, 0, 200, 200);
    auto* popup = new TPopupMenu(form);
    int chosen = 0, popups = 0;
    TMenuItem::Create(form, popup->Items(), {.Caption = "First", .OnClick = [&](TObject*) { ++chosen; }});
    shape->SetPopupMenu(popup);
    popup->OnPopup = [&](TObject*) {
        ++popups;
        // Chosen with the keyboard once the menu tracks.
        PostKey(shape->Handle(), VK_DOWN);
        PostKey(shape->Handle(), VK_RETURN);
    };
    Activate(form);
    SendMessageA(shape->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(1, popups);
    EXPECT_EQ(1, chosen);
    EXPECT_EQ(shape, popup->PopupComponent());
    form->Free();
}

TEST(ApplicationRun, EndsWhenTheMainFormCloses) {
    int created = 0;
    auto* form = Application().CreateForm<TForm>();
    EXPECT_EQ(form, Application().MainForm());
    form->OnShow = [&](TObject*) {
        ++created;
        PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    };
    Application().Run();
    EXPECT_EQ(1, created);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(form->Visible());
    delete form;
    EXPECT_EQ(nullptr, Application().MainForm());
}
