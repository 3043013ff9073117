// Skinned windows under the virtual display: objects, rectangles, hit tests, scroll bars, events
// and the window chrome.
#include "SkinTestSupport.h"

#include "TSkin.h"
#include "TSkinWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

const char* kSkin = R"(vireon-skin 1
glyph dot
  circle 10 10 4
end
style flat
  normal fill=none glyph=#FFFFFF
end
form MainForm 300 200
  frame 4 30 4 6
  drag 0 0 250 30 anchor=lr
  panel pnScreen 4 50 292 100 fill=#000000 anchor=lrtb
  button bnPlay 10 160 30 30 glyph=dot style=flat anchor=lb tip="Play"
  button bnStop 50 160 30 30 glyph=dot style=flat anchor=lb
  button bnPause 10 160 30 30 glyph=dot style=flat anchor=lb hidden
  button bnClose 270 0 30 30 glyph=dot style=flat anchor=r command=close
  scrollbar sbPosition 100 160 107 20 orient=h step=256 max=100 thumbsize=7 anchor=lrb
  scrollbar sbVolume 270 60 20 100 orient=v step=500 max=10000 thumbsize=10 anchor=rb
  static lbFilmCaption 100 180 150 16 text="caption" anchor=lrb
  static Site 10 40 40 10 hidden
end
)";

struct EventLog {
    std::vector<std::wstring> entries;
    void Attach(TSkin& skin) {
        skin.Events().OnClick = [this](ISkin*, ISkinObject* source) { Add(L"click ", source); };
        skin.Events().OnMouseDown = [this](ISkin*, ISkinObject* source, TSkinMouseButton button, int x,
                                           int y) {
            Add(L"down" + std::to_wstring(int(button)) + L" " + std::to_wstring(x) + L"," +
                    std::to_wstring(y) + L" ",
                source);
        };
        skin.Events().OnMouseIn = [this](ISkin*, ISkinObject* source) { Add(L"in ", source); };
        skin.Events().OnMouseOut = [this](ISkin*, ISkinObject* source) { Add(L"out ", source); };
        skin.Events().OnScroll = [this](ISkin*, ISkinObject* source, int pos) {
            Add(L"scroll " + std::to_wstring(pos) + L" ", source);
        };
    }
    void Add(const std::wstring& what, ISkinObject* source) { entries.push_back(what + source->GetName()); }
};

class SkinWindow : public testing::Test {
protected:
    void SetUp() override {
        skin_->LoadSkin(skintest::WriteScratch("window.skn", kSkin));
        skin_->ApplySkinForm(window_.get(), L"MainForm");
        SetWindowPos(window_.get(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        skintest::PumpMessages();
        form_ = skin_->GetSkinForm(window_.get());
        log_.Attach(*skin_.Get());
    }

    template <typename Interface> ComPtr<Interface> Find(const wchar_t* name) {
        ComPtr<Interface> object;
        ComPtr<ISkinObject> found = form_->FindObject(name);
        EXPECT_TRUE(found) << "no object";
        if (found) {
            EXPECT_HRESULT_SUCCEEDED(found.As(&object));
        }
        return object;
    }

    // Mouse messages take client coordinates; the client starts below the frame's top part.
    void Mouse(UINT message, int formX, int formY) {
        TSkinFrame frame = form_->GetFrame();
        SendMessageW(window_.get(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                     MAKELPARAM(formX - frame.Left, formY - frame.Top));
    }
    void Click(int x, int y) {
        Mouse(WM_MOUSEMOVE, x, y);
        Mouse(WM_LBUTTONDOWN, x, y);
        Mouse(WM_LBUTTONUP, x, y);
    }

    ComPtr<TSkin> skin_ = TSkin::Create();
    skintest::TestWindow window_;
    ComPtr<ISkinForm> form_;
    EventLog log_;
};

} // namespace

TEST_F(SkinWindow, FindsObjectsByNameAndKind) {
    EXPECT_EQ(form_->GetName(), L"MainForm");
    EXPECT_FALSE(form_->FindObject(L"bnMissing"));
    ComPtr<ISkinObject> play = form_->FindObject(L"BNPLAY");
    ASSERT_TRUE(play);
    EXPECT_EQ(play->GetName(), L"bnPlay");
    EXPECT_EQ(play->GetForm().Get(), form_.Get());
    EXPECT_EQ(play->FindObject(L"sbPosition")->GetName(), L"sbPosition");
    ComPtr<ISkinButton> button;
    ComPtr<ISkinScrollBar> bar;
    ComPtr<ISkinStatic> label;
    EXPECT_HRESULT_SUCCEEDED(play.As(&button));
    EXPECT_EQ(play.As(&bar), E_NOINTERFACE);
    EXPECT_EQ(form_->FindObject(L"lbFilmCaption").As(&label), S_OK);
    EXPECT_EQ(form_->FindObject(L"pnScreen").As(&button), E_NOINTERFACE);
    TSkinFrame frame = form_->GetFrame();
    EXPECT_EQ(frame.Left, 4);
    EXPECT_EQ(frame.Top, 30);
    EXPECT_EQ(frame.Right, 4);
    EXPECT_EQ(frame.Bottom, 6);
}

TEST_F(SkinWindow, HandlesAreCountedAndOutliveTheirWindow) {
    ComPtr<ISkinObject> play = form_->FindObject(L"bnPlay");
    ULONG held = play->AddRef();
    EXPECT_EQ(play->Release(), held - 1);
    ComPtr<ISkinVisual> visual;
    ASSERT_HRESULT_SUCCEEDED(play.As(&visual));
    DestroyWindow(window_.get());
    EXPECT_THROW(visual->GetRect(), ESkinError);
    EXPECT_THROW(form_->GetFrame(), ESkinError);
    EXPECT_THROW(skin_->GetSkinForm(window_.get()), ESkinError);
    // The window took two references of its own; with it gone, ours are the last.
    EXPECT_EQ(play->AddRef(), 3u);
    play->Release();
}

TEST_F(SkinWindow, RectanglesAreInFormPixelsAndRelative) {
    auto screen = Find<ISkinVisual>(L"pnScreen");
    auto play = Find<ISkinVisual>(L"bnPlay");
    RECT r = play->GetRect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 160);
    EXPECT_EQ(r.right, 40);
    RECT relative = play->GetRectRelative(screen.Get());
    EXPECT_EQ(relative.left, 6);
    EXPECT_EQ(relative.top, 110);
    RECT onForm = screen->GetRectRelative(form_.Get());
    EXPECT_EQ(onForm.left, 4);
    EXPECT_EQ(onForm.top, 50);
    play->SetRect({12, 150, 12, 170});
    EXPECT_EQ(play->GetRect().right, 12);
    EXPECT_THROW(play->SetRect({20, 0, 10, 0}), ESkinError);
    EXPECT_THROW(play->SetRect({0, 0, 1 << 30, 10}), ESkinError);
    // The client area lies inside the frame parts.
    RECT client{}, window{};
    GetClientRect(window_.get(), &client);
    GetWindowRect(window_.get(), &window);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(client.right, 292);
    EXPECT_EQ(client.bottom, 200 - 36);
}

TEST_F(SkinWindow, KeepsItsFrameWhenTheOwnerChangesStyles) {
    SetWindowLongW(window_.get(), GWL_STYLE, WS_OVERLAPPEDWINDOW);
    SetWindowPos(window_.get(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetWindowTextW(window_.get(), L"new caption");
    EXPECT_EQ(GetWindowLongW(window_.get(), GWL_STYLE) & WS_CAPTION, 0);
    RECT client{};
    GetClientRect(window_.get(), &client);
    EXPECT_EQ(client.right, 292);
    EXPECT_EQ(client.bottom, 200 - 36);
}

TEST_F(SkinWindow, HitTestTakesScreenPointsAndVisibility) {
    auto play = Find<ISkinVisual>(L"bnPlay");
    RECT window{};
    GetWindowRect(window_.get(), &window);
    EXPECT_EQ(play->HitTest(window.left + 10, window.top + 160), 1);
    EXPECT_EQ(play->HitTest(window.left + 39, window.top + 189), 1);
    EXPECT_EQ(play->HitTest(window.left + 40, window.top + 160), 0);
    EXPECT_EQ(play->HitTest(window.left + 9, window.top + 170), 0);
    play->SetVisible(false);
    EXPECT_EQ(play->HitTest(window.left + 20, window.top + 170), 0);
}

TEST_F(SkinWindow, ScrollBarKeepsItsPositionWithinZeroToMax) {
    auto bar = Find<ISkinScrollBar>(L"sbPosition");
    EXPECT_EQ(bar->GetPos(), 0);
    EXPECT_EQ(bar->GetStep(), 256);
    bar->SetMax(16384);
    bar->SetPos(8192);
    EXPECT_EQ(bar->GetPos(), 8192);
    bar->SetPos(bar->GetPos() + 10000);
    EXPECT_EQ(bar->GetPos(), 16384);
    bar->SetPos(-5);
    EXPECT_EQ(bar->GetPos(), 0);
    bar->SetPos(9000);
    bar->SetMax(100);
    EXPECT_EQ(bar->GetPos(), 100);
    EXPECT_THROW(bar->SetMax(-1), ESkinError);
    EXPECT_EQ(bar->GetPos(), 100);
}

TEST_F(SkinWindow, DraggingRaisesOneScrollWithTheFinalPosition) {
    auto bar = Find<ISkinScrollBar>(L"sbPosition");
    // 107 pixels with a 7-pixel thumb: 100 pixels of travel for 0..100.
    Mouse(WM_MOUSEMOVE, 120, 170);
    Mouse(WM_LBUTTONDOWN, 120, 170);
    Mouse(WM_MOUSEMOVE, 150, 170);
    bar->SetPos(3); // the player's timer does not move the thumb under the mouse
    Mouse(WM_MOUSEMOVE, 180, 171);
    EXPECT_EQ(bar->GetPos(), 77);
    Mouse(WM_LBUTTONUP, 180, 171);
    std::vector<std::wstring> scrolls;
    for (const auto& e : log_.entries)
        if (e.rfind(L"scroll", 0) == 0)
            scrolls.push_back(e);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0], L"scroll 77 sbPosition");
    // Past the end the position stops at the maximum; the vertical bar runs top to bottom.
    Mouse(WM_LBUTTONDOWN, 280, 60);
    Mouse(WM_LBUTTONUP, 280, 400);
    EXPECT_EQ(Find<ISkinScrollBar>(L"sbVolume")->GetPos(), 10000);
    EXPECT_NE(std::find(log_.entries.begin(), log_.entries.end(), L"scroll 10000 sbVolume"),
              log_.entries.end());
}

TEST_F(SkinWindow, WheelMovesAScrollBarByItsStep) {
    auto volume = Find<ISkinScrollBar>(L"sbVolume");
    volume->SetPos(5000);
    RECT window{};
    GetWindowRect(window_.get(), &window);
    LPARAM onBar = MAKELPARAM(window.left + 280, window.top + 100);
    SendMessageW(window_.get(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), onBar);
    EXPECT_EQ(volume->GetPos(), 4500); // up is towards the top of a vertical bar
    SendMessageW(window_.get(), WM_MOUSEWHEEL, MAKEWPARAM(0, -2 * WHEEL_DELTA), onBar);
    EXPECT_EQ(volume->GetPos(), 5500);
    std::vector<std::wstring> expected = {L"scroll 4500 sbVolume", L"scroll 5500 sbVolume"};
    EXPECT_EQ(log_.entries, expected);
    // Off the bars the wheel changes nothing.
    SendMessageW(window_.get(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                 MAKELPARAM(window.left + 20, window.top + 170));
    EXPECT_EQ(log_.entries.size(), 2u);
}

namespace {

BOOL CALLBACK FindTips(HWND candidate, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(candidate, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0)
        *reinterpret_cast<HWND*>(found) = candidate;
    return TRUE;
}

} // namespace

TEST_F(SkinWindow, ObjectsWithATipGetATooltipOnceTheMouseComes) {
    HWND tips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTips, reinterpret_cast<LPARAM>(&tips));
    EXPECT_FALSE(tips) << "no tooltip before the mouse is over the window";
    Mouse(WM_MOUSEMOVE, 20, 170);
    Mouse(WM_MOUSEMOVE, 25, 170);
    EnumThreadWindows(GetCurrentThreadId(), FindTips, reinterpret_cast<LPARAM>(&tips));
    ASSERT_TRUE(tips);
    EXPECT_EQ(GetWindow(tips, GW_OWNER), window_.get());
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(SkinWindow, EventsNameTheirSourceAndDisabledButtonsStayQuiet) {
    Mouse(WM_MOUSEMOVE, 20, 170);
    Click(60, 170);
    SendMessageW(window_.get(), WM_RBUTTONDOWN, 0, MAKELPARAM(60 - 4, 170 - 30));
    auto stop = Find<ISkinButton>(L"bnStop");
    stop->SetDisabled(true);
    log_.entries.clear();
    Click(60, 170);
    Mouse(WM_MOUSEMOVE, 150, 100);
    std::vector<std::wstring> quiet = {L"out bnStop", L"in pnScreen"};
    EXPECT_EQ(log_.entries, quiet);
    stop->SetDisabled(false);
    log_.entries.clear();
    Click(65, 175);
    std::vector<std::wstring> expected = {L"out pnScreen", L"in bnStop", L"down0 65,175 bnStop",
                                          L"click bnStop"};
    EXPECT_EQ(log_.entries, expected);
    // A press that leaves the button before release is no click.
    log_.entries.clear();
    Mouse(WM_LBUTTONDOWN, 65, 175);
    Mouse(WM_MOUSEMOVE, 150, 100);
    Mouse(WM_LBUTTONUP, 150, 100);
    for (const auto& e : log_.entries)
        EXPECT_EQ(e.find(L"click"), std::wstring::npos);
}

TEST_F(SkinWindow, AnObjectShownUnderTheMouseTakesTheHoverAfterTheCall) {
    RECT window{};
    GetWindowRect(window_.get(), &window);
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    SetCursorPos(window.left + 20, window.top + 170);
    Mouse(WM_MOUSEMOVE, 20, 170);
    Find<ISkinVisual>(L"bnPlay")->SetVisible(false);
    Find<ISkinVisual>(L"bnPause")->SetVisible(true);
    EXPECT_EQ(log_.entries.back(), L"in bnPlay");
    skintest::PumpMessages();
    EXPECT_EQ(log_.entries.back(), L"in bnPause");
    ShowWindow(window_.get(), SW_HIDE);
}

TEST_F(SkinWindow, FirstEventsReportEachButtonOfTheMouse) {
    Mouse(WM_MOUSEMOVE, 20, 170);
    SendMessageW(window_.get(), WM_RBUTTONDOWN, 0, MAKELPARAM(20 - 4, 170 - 30));
    SendMessageW(window_.get(), WM_MBUTTONDOWN, 0, MAKELPARAM(20 - 4, 170 - 30));
    std::vector<std::wstring> expected = {L"in bnPlay", L"down1 20,170 bnPlay", L"down2 20,170 bnPlay"};
    EXPECT_EQ(log_.entries, expected);
}

TEST_F(SkinWindow, AHandlerMayCloseTheWindowAndThenFail) {
    std::string caught;
    skin_->Events().OnHandlerException = [&](std::exception_ptr e) { caught = skintest::What(e); };
    skin_->Events().OnClick = [&](ISkin*, ISkinObject*) {
        DestroyWindow(window_.get());
        throw std::runtime_error("handler failed");
    };
    Click(20, 170);
    EXPECT_FALSE(IsWindow(window_.get()));
    EXPECT_EQ(caught, "handler failed");
}

TEST_F(SkinWindow, AHandlerMayReleaseTheSkin) {
    skin_->Events().OnClick = [this](ISkin*, ISkinObject* source) {
        skin_.Reset();
        EXPECT_EQ(source->GetName(), L"bnPlay"); // still answers until the handler returns
    };
    Click(20, 170);
    EXPECT_FALSE(skin_);
    EXPECT_THROW(form_->GetFrame(), ESkinError);
    SendMessageW(window_.get(), WM_MOUSEMOVE, 0, MAKELPARAM(56, 140)); // the window works on without its skin
    EXPECT_TRUE(IsWindow(window_.get()));
}

TEST_F(SkinWindow, HandlerExceptionsGoToTheirOwnEvent) {
    std::vector<std::string> caught;
    skin_->Events().OnClick = [](ISkin*, ISkinObject*) { throw std::runtime_error("handler failed"); };
    skin_->Events().OnHandlerException = [&](std::exception_ptr e) { caught.push_back(skintest::What(e)); };
    Click(20, 170);
    EXPECT_EQ(caught, std::vector<std::string>{"handler failed"});
    // The hook failing in turn stays inside the engine too; the window works on.
    skin_->Events().OnHandlerException = [&](std::exception_ptr e) {
        caught.push_back(skintest::What(e));
        throw std::runtime_error("hook failed");
    };
    Click(20, 170);
    Click(60, 170);
    EXPECT_EQ(caught.size(), 3u);
    EXPECT_EQ(log_.entries.back(), L"down0 60,170 bnStop");
    // Created for the program, the skin hands handler errors to the hook it is given.
    std::string viaCreation;
    ComPtr<ISkin> created = CreateSkin([&](std::exception_ptr e) { viaCreation = skintest::What(e); });
    created->Events().OnHandlerException(std::make_exception_ptr(std::runtime_error("to the program")));
    EXPECT_EQ(viaCreation, "to the program");
}

TEST_F(SkinWindow, ARefusedChangeLeavesTheObjectAsItWas) {
    std::vector<std::string> caught;
    skin_->Events().OnHandlerException = [&](std::exception_ptr e) { caught.push_back(skintest::What(e)); };
    auto caption = Find<ISkinStatic>(L"lbFilmCaption");
    RECT before = caption->GetRect();
    EXPECT_THROW(caption->SetRect({0, 0, 9000, 9000}), ESkinError);
    RECT after = caption->GetRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    caption->SetText(L"still drawn");
    auto play = Find<ISkinVisual>(L"bnPlay");
    EXPECT_THROW(play->SetRect({0, 0, 9000, 9000}), ESkinError);
    EXPECT_EQ(play->GetRect().right, 40);
    // The mouse over the objects repaints them without an error.
    Mouse(WM_MOUSEMOVE, 20, 170);
    Mouse(WM_MOUSEMOVE, 120, 185);
    EXPECT_TRUE(caught.empty());
    EXPECT_EQ(log_.entries, (std::vector<std::wstring>{L"in bnPlay", L"out bnPlay", L"in lbFilmCaption"}));
}

TEST_F(SkinWindow, AnErrorInTheWindowProcedureGoesToTheHandlerHook) {
    std::vector<std::string> caught;
    skin_->Events().OnHandlerException = [&](std::exception_ptr e) { caught.push_back(skintest::What(e)); };
    // The stretched video area is too large to draw: the resize cannot be shown, but raises
    // nothing out of the window procedure.
    SetWindowPos(window_.get(), nullptr, 0, 0, 9000, 9000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(caught.empty());
    SetWindowPos(window_.get(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    caught.clear();
    Click(60, 170);
    EXPECT_TRUE(caught.empty());
    EXPECT_EQ(log_.entries.back(), L"click bnStop");
    EXPECT_EQ(Find<ISkinVisual>(L"pnScreen")->GetRect().right, 296);
}

TEST_F(SkinWindow, CloseButtonClosesTheWindowThroughItsSystemCommand) {
    Click(280, 10);
    skintest::PumpMessages();
    EXPECT_FALSE(IsWindow(window_.get()));
}

TEST_F(SkinWindow, AnchoredObjectsFollowAWiderWindow) {
    SetWindowPos(window_.get(), nullptr, 0, 0, 500, 260, SWP_NOMOVE | SWP_NOZORDER);
    RECT bar = Find<ISkinVisual>(L"sbPosition")->GetRect();
    EXPECT_EQ(bar.left, 100);
    EXPECT_EQ(bar.right, 407);
    EXPECT_EQ(bar.top, 220);
    RECT close = Find<ISkinVisual>(L"bnClose")->GetRect();
    EXPECT_EQ(close.left, 470);
    EXPECT_EQ(close.top, 0);
    RECT play = Find<ISkinVisual>(L"bnPlay")->GetRect();
    EXPECT_EQ(play.left, 10);
    EXPECT_EQ(play.top, 220);
    RECT screen = Find<ISkinVisual>(L"pnScreen")->GetRect();
    EXPECT_EQ(screen.right, 496);
    EXPECT_EQ(screen.bottom, 210);
}

TEST_F(SkinWindow, TitleAreaDragsAndObjectsInItStayClickable) {
    RECT window{};
    GetWindowRect(window_.get(), &window);
    auto hit = [&](int x, int y) {
        return SendMessageW(window_.get(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    EXPECT_EQ(hit(100, 10), HTCAPTION);
    EXPECT_EQ(hit(280, 10), HTCLIENT);
    EXPECT_EQ(hit(100, 100), HTCLIENT);
}

namespace {

VOID CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

} // namespace

TEST_F(SkinWindow, PopupMenuPutsTheItemsBackAsTheyWere) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"&Play\tCtrl+P");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING | MF_CHECKED, 11, L"English");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Audio");
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    info.dwItemData = 1234;
    SetMenuItemInfoW(menu, 0, TRUE, &info);
    SetTimer(nullptr, 0, 300, EndMenuSoon);
    form_->PopupMenu(menu, 100, 100);
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STRING;
    wchar_t text[64] = {};
    info.dwTypeData = text;
    info.cch = 64;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &info));
    EXPECT_EQ(info.dwItemData, 1234u);
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
    EXPECT_STREQ(text, L"&Play\tCtrl+P");
    info.cch = 64;
    ASSERT_TRUE(GetMenuItemInfoW(sub, 0, TRUE, &info));
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
    EXPECT_STREQ(text, L"English");
    EXPECT_THROW(form_->PopupMenu(nullptr, 0, 0), ESkinError);
    DestroyMenu(menu);
}

TEST(SkinMainWindow, KeepsTwentyPixelsForTheMenuBar) {
    ComPtr<TSkin> skin = TSkin::Create();
    skin->LoadSkin(skintest::ShippedSkin());
    skintest::TestWindow window(true);
    skin->ApplySkin(window.get());
    ComPtr<ISkinForm> form = skin->GetSkinForm(window.get());
    EXPECT_EQ(form->GetName(), L"MainForm");
    TSkinFrame frame = form->GetFrame();
    POINT origin{0, 0};
    ClientToScreen(window.get(), &origin);
    RECT outer{};
    GetWindowRect(window.get(), &outer);
    EXPECT_EQ(origin.x - outer.left, frame.Left);
    EXPECT_EQ(origin.y - outer.top, frame.Top + 20);
    // The video area sits right below the menu bar, as the player places its video there.
    ComPtr<ISkinVisual> screen;
    ASSERT_HRESULT_SUCCEEDED(form->FindObject(L"pnScreen").As(&screen));
    EXPECT_EQ(screen->GetRectRelative(form.Get()).top, frame.Top + 20);
    TSkinWindow* record = skin->Find(window.get());
    ASSERT_TRUE(record);
    ASSERT_EQ(record->View().MenuItems().size(), 2u);
    EXPECT_EQ(record->View().MenuItems()[0].shown, L"File");
}
