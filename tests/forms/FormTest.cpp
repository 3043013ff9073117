#include "forms/LiveCounts.h"
#include "forms/TButton.h"
#include "forms/TCheckBox.h"
#include "forms/TForm.h"
#include "forms/TFrame.h"
#include "forms/TImage.h"
#include "forms/TImageList.h"
#include "forms/TLabel.h"
#include "forms/TMenu.h"
#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"
#include "forms/TShape.h"
#include "forms/TSpeedButton.h"
#include "forms/TTrackBar.h"

#include "FormsTestSupport.h"

#include <commctrl.h>

#include <stdexcept>

using namespace vireon;
using namespace vireon::testing;

namespace {

TLiveCounts Snapshot() {
    // The application and its window exist once and for all.
    Application().Initialize();
    return LiveCounts();
}

void ExpectSameCounts(const TLiveCounts& before) {
    const TLiveCounts& now = LiveCounts();
    EXPECT_EQ(before.Components, now.Components);
    EXPECT_EQ(before.Windows, now.Windows);
    EXPECT_EQ(before.Menus, now.Menus);
    EXPECT_EQ(before.Timers, now.Timers);
    EXPECT_EQ(before.GdiObjects, now.GdiObjects);
}

// A form with a main menu, a popup menu, a timer, a frame and one of each control.
TForm* BuildFullForm() {
    auto* form = new TForm(nullptr);
    form->SetName("TestForm");
    auto* menu = new TMainMenu(form);
    form->SetMenu(menu);
    TMenuItem* file = TMenuItem::Create(form, menu->Items(), {.Name = "miFile", .Caption = "File"});
    TMenuItem::Create(form, file,
                      {.Name = "miOpen", .Caption = "Open File...", .ShortCut = TextToShortCut("F3")});
    auto* popup = new TPopupMenu(form);
    TMenuItem::Create(form, popup->Items(), {.Name = "miPopupItem", .Caption = "Popup item"});
    form->SetPopupMenu(popup);
    new TTimer(form, {.Name = "Timer", .Interval = 500});
    auto* frame = new TFrame(form);
    frame->SetName("VideoFrame");
    frame->SetParent(form);
    frame->SetAlign(alClient);
    new TButton(form, {.Parent = frame, .Name = "bnClose", .Caption = "Close", .Default = true});
    new TLabel(form, {.Parent = frame, .Name = "lbTitle", .Caption = "Title", .Bold = true});
    new TSpeedButton(form, {.Name = "bnPlay", .Visible = false});
    auto* track = new TTrackBar(form);
    track->SetParent(frame);
    auto* check = new TCheckBox(form);
    check->SetParent(frame);
    auto* shape = new TShape(form);
    shape->SetShape(stRoundRect);
    shape->SetParent(frame);
    auto* image = new TImage(form);
    image->SetParent(frame);
    image->SetBitmap(CreateBitmap(8, 8, 1, 32, nullptr));
    new TImageList(form);
    return form;
}

LRESULT CALLBACK PassOn(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return DefSubclassProc(window, msg, wParam, lParam);
}

} // namespace

TEST(Form, AHiddenChildGetsItsWindowOnlyWhenShownOrAskedFor) {
    TLiveCounts before = Snapshot();
    auto* form = new TForm(nullptr);
    auto* shown = new TButton(form, {.Parent = form, .Name = "bnShown"});
    auto* hidden = new TSpeedButton(form, {.Parent = form, .Name = "bnHidden", .Visible = false});
    auto* asked = new TSpeedButton(form, {.Parent = form, .Name = "bnAsked", .Visible = false});
    HWND window = form->Handle();
    EXPECT_TRUE(shown->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated());
    EXPECT_FALSE(asked->HandleAllocated());

    hidden->SetVisible(true);
    ASSERT_TRUE(hidden->HandleAllocated());
    EXPECT_EQ(window, GetParent(hidden->Handle()));
    EXPECT_TRUE(GetWindowLongA(hidden->Handle(), GWL_STYLE) & WS_VISIBLE);

    HWND made = asked->Handle();
    EXPECT_EQ(window, GetParent(made));
    EXPECT_FALSE(GetWindowLongA(made, GWL_STYLE) & WS_VISIBLE);
    form->Free();
    EXPECT_FALSE(IsWindow(made));
    ExpectSameCounts(before);
}

TEST(Form, FreeingAFormLeavesNothingBehind) {
    TLiveCounts before = Snapshot();
    TForm* form = BuildFullForm();
    form->Show();
    RunFor(50);
    EXPECT_GT(LiveCounts().Windows, before.Windows + 5);
    EXPECT_GT(LiveCounts().Menus, before.Menus);
    EXPECT_EQ(before.Timers + 1, LiveCounts().Timers);
    HWND window = form->Handle();
    HWND button = dynamic_cast<TWinControl*>(form->FindComponent("bnClose"))->Handle();
    HMENU bar = form->Menu()->Handle();
    HMENU file = dynamic_cast<TMenuItem*>(form->FindComponent("miFile"))->Handle();
    ASSERT_TRUE(IsMenu(bar));
    ASSERT_TRUE(IsMenu(file));
    form->Free();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(file));
    ExpectSameCounts(before);
}

TEST(Form, MenuBarOfAnotherOwnerOutlivesTheForm) {
    auto* menu = new TMainMenu(nullptr);
    TMenuItem* file = TMenuItem::Create(menu, menu->Items(), {.Caption = "File"});
    TMenuItem::Create(menu, file, {.Caption = "Open"});
    auto* form = new TForm(nullptr);
    form->SetMenu(menu);
    form->Show();
    HWND window = form->Handle();
    EXPECT_EQ(menu->Handle(), GetMenu(window));
    form->Free();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsMenu(menu->Handle()));
    EXPECT_TRUE(IsMenu(file->Handle()));
    EXPECT_EQ(nullptr, menu->Window());
    // The bar serves the next form made with it.
    auto* next = new TForm(nullptr);
    next->SetMenu(menu);
    EXPECT_EQ(menu->Handle(), GetMenu(next->Handle()));
    next->Free();
    EXPECT_TRUE(IsMenu(menu->Handle()));
    delete menu;
}

TEST(Form, WindowsLeadBackToTheirControlsOnlyWhenMadeByUs) {
    auto* form = new TForm(nullptr);
    auto* button = new TButton(form, {.Parent = form, .Caption = "OK"});
    HWND window = form->Handle();
    EXPECT_EQ(form, TWinControl::FromHandle(window));
    EXPECT_EQ(button, TWinControl::FromHandle(button->Handle()));
    // Subclassed once more, the window still leads to its control.
    ASSERT_TRUE(SetWindowSubclass(window, PassOn, 1, 0));
    EXPECT_EQ(form, TWinControl::FromHandle(window));
    RemoveWindowSubclass(window, PassOn, 1);
    // A window of someone else's with user data of its own is none of ours.
    HWND foreign = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(foreign));
    DestroyWindow(foreign);
    form->Free();
}

TEST(Form, FindsItsComponentsByNameIgnoringCase) {
    TForm* form = BuildFullForm();
    EXPECT_EQ("bnPlay", form->FindComponent("BNPLAY")->Name());
    EXPECT_EQ("miOpen", form->FindComponent("miopen")->Name());
    EXPECT_EQ(nullptr, form->FindComponent("bnMissing"));
    form->Free();
}

TEST(Form, MenuCommandReachesItsItem) {
    TForm* form = BuildFullForm();
    auto* open = dynamic_cast<TMenuItem*>(form->FindComponent("miOpen"));
    int clicks = 0;
    open->OnClick = [&](TObject* sender) {
        EXPECT_EQ(open, sender);
        ++clicks;
    };
    EXPECT_EQ(form->Menu()->Handle(), GetMenu(form->Handle()));
    PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
    // Nobody owns this one: it is ignored.
    PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0xFFF0, 0), 0);
    EXPECT_TRUE(RunUntil([&] { return clicks == 1; }));
    // Rebuilt from scratch, the new item gets the command.
    TMenuItem* file = open->Parent();
    file->Clear();
    TMenuItem* again =
        TMenuItem::Create(form, file, {.Caption = "Again", .OnClick = [&](TObject*) { clicks += 10; }});
    PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(again->Command(), 0), 0);
    EXPECT_TRUE(RunUntil([&] { return clicks == 11; }));
    form->Free();
}

TEST(Form, ExceptionInAClickHandlerReachesOnExceptionAndTheLoopGoesOn) {
    ExceptionLog log;
    auto* form = new TForm(nullptr);
    int clicks = 0;
    auto* button = new TButton(form, {.Parent = form, .OnClick = [&](TObject*) {
                                          ++clicks;
                                          throw std::runtime_error("click failed");
                                      }});
    form->Show();
    HWND buttonWindow = button->Handle();
    for (int i = 0; i < 2; ++i)
        PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(buttonWindow));
    EXPECT_TRUE(RunUntil([&] { return clicks == 2; }));
    EXPECT_EQ((std::vector<std::string>{"click failed", "click failed"}), log.Messages);
    form->Free();
}

TEST(Form, ExceptionInAWindowProcedureIsHandledOnceAndPaintingStops) {
    ExceptionLog log;
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->OnPaint = [](TObject*, HDC) { throw std::runtime_error("paint failed"); };
    form->Show();
    RunFor(200);
    // One failed paint, not an endless stream of paint requests.
    EXPECT_EQ(1u, log.Messages.size());
    form->Free();
}

TEST(Form, FreeingAFormFromItsOwnHandlerIsDeferred) {
    TLiveCounts before = Snapshot();
    auto* form = new TForm(nullptr);
    bool afterFree = false;
    auto* button = new TButton(form, {.Parent = form});
    button->OnClick = [&](TObject*) {
        form->Free();
        // Still alive until the handler has returned.
        afterFree = form->Name().empty();
    };
    form->Show();
    PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle()));
    EXPECT_TRUE(RunUntil([&] { return LiveCounts().Windows == before.Windows; }));
    EXPECT_TRUE(afterFree);
    ExpectSameCounts(before);
}

TEST(Form, CloseRunsQueryAndActions) {
    auto* form = new TForm(nullptr);
    form->Show();
    int queries = 0, closes = 0;
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        // A second Close while the query runs is ignored.
        form->Close();
        canClose = allow;
    };
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form->Close();
    EXPECT_EQ(1, queries);
    EXPECT_EQ(0, closes);
    EXPECT_TRUE(form->Visible());
    allow = true;
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunUntil([&] { return closes == 1; }));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));

    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->Show();
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunUntil([&] { return destroyed; }));
}

TEST(Form, FormListFollowsCreationAndClosing) {
    int before = Screen().FormCount();
    auto* first = new TForm(nullptr);
    auto* second = new TForm(nullptr);
    ASSERT_EQ(before + 2, Screen().FormCount());
    EXPECT_EQ(first, Screen().Forms(before));
    EXPECT_EQ(second, Screen().Forms(before + 1));
    second->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    second->Show();
    second->Close();
    EXPECT_EQ(before + 1, Screen().FormCount());
    delete first;
    EXPECT_EQ(before, Screen().FormCount());
}

TEST(Form, StylesAndPositions) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->SetClientSize(166, 226);
    form->SetPosition(poScreenCenter);
    form->Show();
    HWND window = form->Handle();
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(166, form->ClientWidth());
    EXPECT_EQ(226, form->ClientHeight());
    EXPECT_EQ((Screen().Width() - form->Width()) / 2, form->Left());
    form->SetFormStyle(fsNormal);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->SetBorderStyle(bsDialog);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION);
    form->Free();
}

TEST(Frame, ReceivesItsPostedPrivateMessages) {
    auto* form = new TForm(nullptr);
    auto* frame = new TFrame(form);
    frame->SetParent(form);
    // Asked first, the frame's window is made along with its parent's, once.
    int windows = LiveCounts().Windows;
    frame->Handle();
    EXPECT_EQ(windows + 2, LiveCounts().Windows);
    EXPECT_EQ(form->Handle(), GetParent(frame->Handle()));
    std::vector<UINT> seen;
    for (UINT message : {WM_USER + 1, WM_USER + 2, WM_USER + 3})
        frame->SetMessageHandler(message, [&seen, message](TMessage&) {
            seen.push_back(message);
            return true;
        });
    frame->Post(WM_USER + 3);
    frame->Post(WM_USER + 1);
    frame->Post(WM_USER + 2);
    EXPECT_TRUE(RunUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ((std::vector<UINT>{WM_USER + 3, WM_USER + 1, WM_USER + 2}), seen);
    form->Free();
}

TEST(Frame, MayFreeItselfFromItsOwnMessageHandler) {
    TLiveCounts before = Snapshot();
    auto* form = new TForm(nullptr);
    auto* frame = new TFrame(form);
    frame->SetParent(form);
    bool handled = false;
    frame->SetMessageHandler(WM_USER + 1, [&](TMessage&) {
        frame->Free();
        handled = true;
        return true;
    });
    frame->Post(WM_USER + 1);
    EXPECT_TRUE(RunUntil([&] { return handled && form->ControlCount() == 0; }));
    EXPECT_EQ(0, form->ComponentCount());
    form->Free();
    ExpectSameCounts(before);
    EXPECT_EQ(0, Application().DispatchDepth());
}

TEST(Frame, AlignmentAndAnchorsFollowTheForm) {
    auto* form = new TForm(nullptr);
    form->SetClientSize(400, 300);
    auto* frame = new TFrame(form);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    auto* bottom = new TButton(form, {.Parent = form, .Bounds = {0, 0, 50, 20}});
    bottom->SetAlign(alBottom);
    auto* corner = new TButton(form, {.Parent = frame, .Bounds = {300, 200, 350, 220}});
    corner->SetAnchors(akRight | akBottom);
    auto* wide = new TButton(form, {.Parent = frame, .Bounds = {10, 10, 390, 30}});
    wide->SetAnchors(akLeft | akTop | akRight);
    form->Show();
    EXPECT_EQ(400, frame->Width());
    EXPECT_EQ(280, frame->Height());
    EXPECT_EQ(280, bottom->Top());
    form->SetClientSize(500, 400);
    EXPECT_EQ(500, frame->Width());
    EXPECT_EQ(380, frame->Height());
    EXPECT_EQ(400, corner->Left());
    EXPECT_EQ(300, corner->Top());
    EXPECT_EQ(480, wide->Width());
    form->Free();
}

TEST(Controls, TrackBarRangePositionAndChange) {
    auto* form = new TForm(nullptr);
    auto* track = new TTrackBar(form);
    track->SetParent(form);
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    track->SetRange(-180, 180);
    track->SetFrequency(36);
    track->SetThumbLength(10);
    track->SetPosition(500);
    EXPECT_EQ(180, track->Position());
    EXPECT_EQ(180, SendMessageA(track->Handle(), TBM_GETPOS, 0, 0));
    EXPECT_EQ(-180, SendMessageA(track->Handle(), TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1, changes);
    track->SetPosition(180);
    EXPECT_EQ(1, changes);
    // The user moves the thumb: the window tells its parent.
    SendMessageA(track->Handle(), TBM_SETPOS, TRUE, -36);
    SendMessageA(form->Handle(), WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(track->Handle()));
    EXPECT_EQ(-36, track->Position());
    EXPECT_EQ(2, changes);
    track->SetMax(-200);
    EXPECT_EQ(-200, track->Min());
    EXPECT_EQ(-200, track->Position());
    form->Free();
}

TEST(Controls, CheckBoxFollowsClicks) {
    auto* form = new TForm(nullptr);
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(check->Handle()));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(BST_CHECKED, SendMessageA(check->Handle(), BM_GETCHECK, 0, 0));
    check->SetChecked(false);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(check->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(2, clicks);
    form->Free();
}

TEST(Controls, CustomControlMouseEventsAndClick) {
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->SetBounds(0, 0, 100, 100);
    std::vector<std::string> events;
    shape->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        events.push_back("down " + std::to_string(button) + " " + std::to_string(shift & (ssShift | ssLeft)) +
                         " " + std::to_string(x) + "," + std::to_string(y));
    };
    shape->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    shape->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    shape->OnClick = [&](TObject*) { events.push_back("click"); };
    form->Show();
    HWND window = shape->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    // Released outside: no click.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(300, 40));
    EXPECT_EQ(
        (std::vector<std::string>{"down 0 9 10,20", "move 30,40", "click", "up", "down 0 8 10,20", "up"}),
        events);
    form->Free();
}

TEST(Controls, ContextPopupEventCanTakeTheRequest) {
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->SetBounds(10, 10, 100, 100);
    auto* popup = new TPopupMenu(form);
    shape->SetPopupMenu(popup);
    form->Show();
    POINT seen{};
    shape->OnContextPopup = [&](TObject*, POINT position, bool& handled) {
        seen = position;
        handled = true;
    };
    POINT screen = shape->ClientToScreen({5, 6});
    LRESULT result = SendMessageA(shape->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(shape->Handle()),
                                  MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(1, result);
    EXPECT_EQ(5, seen.x);
    EXPECT_EQ(6, seen.y);
    // The popup menu goes first; the control forgets it.
    popup->Free();
    EXPECT_EQ(nullptr, shape->PopupMenu());
    form->Free();
}

TEST(Controls, WindowMessageHookRunsBeforeDefaultHandling) {
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    shape->OnWindowMessage = [](TMessage& message) {
        if (message.Msg != WM_ERASEBKGND)
            return false;
        message.Result = -1;
        return true;
    };
    EXPECT_EQ(-1, SendMessageA(shape->Handle(), WM_ERASEBKGND, 0, 0));
    form->Free();
}

TEST(Controls, CursorOfTheControlAndOfTheScreen) {
    auto* form = new TForm(nullptr);
    auto* shape = new TShape(form);
    shape->SetParent(form);
    form->Show();
    HWND window = shape->Handle();
    shape->SetCursor(crNone);
    EXPECT_EQ(TRUE,
              SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, 0)));
    EXPECT_EQ(nullptr, GetCursor());
    Screen().SetCursor(crHandPoint);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(CursorHandle(crHandPoint), GetCursor());
    Screen().SetCursor(crDefault);
    form->Free();
}

TEST(Controls, ImageAndLabelSizeThemselves) {
    TLiveCounts before = Snapshot();
    auto* form = new TForm(nullptr);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetAutoSize(true);
    image->SetBitmap(CreateBitmap(37, 21, 1, 32, nullptr));
    EXPECT_EQ(37, image->Width());
    EXPECT_EQ(21, image->Height());
    EXPECT_THROW(image->LoadFromFile("Z:\\nowhere\\missing.bmp"), std::runtime_error);
    EXPECT_EQ(37, image->PictureSize().cx);

    auto* label =
        new TLabel(form, {.Parent = form, .Caption = "Insufficient decoders to play media.", .Bold = true});
    label->SetAutoSize(true);
    int oneLine = label->Height();
    EXPECT_GT(label->Width(), 100);
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption(label->Caption());
    EXPECT_EQ(60, label->Width());
    EXPECT_GT(label->Height(), 2 * oneLine);
    form->Free();
    ExpectSameCounts(before);
}

TEST(Controls, SharedImageListIsNeverDestroyed) {
    HIMAGELIST shared = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    auto* list = new TImageList(nullptr);
    list->SetShareImages(true);
    list->SetHandle(shared);
    EXPECT_EQ(0, list->Count());
    list->Free();
    EXPECT_TRUE(ImageList_Destroy(shared));
}
