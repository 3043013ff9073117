// The skin on a window of the framework: a form with a main menu, a popup menu and controls is
// skinned through the skin's public face, its skin objects hovered, clicked and scrolled, its popup
// shown in skin style, the form resized and freed, and nothing is left behind: no window, no GDI
// or user object, no reference to the skin's objects. The framework subclasses its windows one way
// (SetWindowLongPtr), the skin another (SetWindowSubclass); both have to hold together.
#include "SkinTestSupport.h"

#include "forms/TApplication.h"
#include "forms/TButton.h"
#include "forms/TForm.h"
#include "forms/TMenu.h"
#include "forms/TMenuItem.h"
#include "forms/TPopupMenu.h"
#include "shell/ShellSkin.h"
#include "skin/SkinInterfaces.h"

#include <windowsx.h>

#include <string>
#include <vector>

using namespace vireon;
using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

// What the process holds: GDI and user objects, and the windows of this thread.
BOOL CALLBACK CountOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Windows counts a process's GDI objects; Wine answers 0 there, but finds any live object by the
// index in the low word of its handle.
DWORD GdiObjects() {
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0)
        return count;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) ? 1 : 0;
    return count;
}

struct TResources {
    DWORD Gdi = GdiObjects();
    DWORD User = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    int Windows = CountWindows();

    static int CountWindows() {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&count));
        return count;
    }
};

void ExpectNothingLeft(const TResources& before) {
    skintest::PumpMessages();
    TResources after;
    EXPECT_EQ(after.Windows, before.Windows);
    EXPECT_GT(before.Gdi, 0u);
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.User, before.User);
}

VOID CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

class TSkinnedForm {
public:
    TSkinnedForm() {
        Form->SetBounds(50, 50, 800, 600);
        auto* menu = new TMainMenu(Form);
        Form->SetMenu(menu);
        TMenuItem* file = TMenuItem::Create(Form, menu->Items(), {.Caption = "&File"});
        TMenuItem::Create(Form, file, {.Caption = "Open File..."});
        TMenuItem::Create(Form, TMenuItem::Create(Form, menu->Items(), {.Caption = "&Help"}),
                          {.Caption = "About"});
        Popup = new TPopupMenu(Form);
        TMenuItem::Create(Form, Popup->Items(), {.Caption = "English"});
        TMenuItem::Create(Form, Popup->Items(), {.Caption = "Deutsch", .Checked = true});
        new TButton(Form, {.Parent = Form, .Name = "bnStop", .Caption = "Stop", .Bounds = {0, 0, 1, 1}});
        Skin->LoadSkin(skintest::ShippedSkin());
        Skin->ApplySkin(Form->Handle());
        SkinForm = Skin->GetSkinForm(Form->Handle());
        TSkinEvents& events = Skin->Events();
        events.OnClick = [this](ISkin*, ISkinObject* source) { Log(L"click ", source); };
        events.OnMouseIn = [this](ISkin*, ISkinObject* source) { Log(L"in ", source); };
        events.OnMouseOut = [this](ISkin*, ISkinObject* source) { Log(L"out ", source); };
        events.OnScroll = [this](ISkin*, ISkinObject* source, int pos) {
            Log(L"scroll " + std::to_wstring(pos) + L" ", source);
        };
    }

    void Log(const std::wstring& what, ISkinObject* source) { Events.push_back(what + source->GetName()); }
    ComPtr<ISkinVisual> Visual(const wchar_t* name) {
        ComPtr<ISkinVisual> visual;
        EXPECT_HRESULT_SUCCEEDED(SkinForm->FindObject(name).As(&visual)) << "no object";
        return visual;
    }
    // The centre of a skin object in the window's client coordinates.
    LPARAM ClientCentre(const wchar_t* name) {
        RECT r = Visual(name)->GetRect();
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        RECT window{};
        GetWindowRect(Form->Handle(), &window);
        p.x += window.left;
        p.y += window.top;
        ScreenToClient(Form->Handle(), &p);
        return MAKELPARAM(p.x, p.y);
    }
    void Send(UINT message, const wchar_t* name) {
        SendMessageW(Form->Handle(), message, 0, ClientCentre(name));
    }

    TForm* Form = new TForm(nullptr);
    TPopupMenu* Popup = nullptr;
    // Created as the player creates it: handler errors go to the application.
    ComPtr<ISkin> Skin = CreateShellSkin();
    ComPtr<ISkinForm> SkinForm;
    std::vector<std::wstring> Events;
};

} // namespace

namespace {

// Hovered, clicked and scrolled through the skin's events, a popup shown in skin style, resized,
// and a handler's error handed to the application.
void Exercise(TSkinnedForm& skinned) {
    HWND window = skinned.Form->Handle();
    // Hovered and clicked through the skin's events.
    skinned.Send(WM_MOUSEMOVE, L"bnStop");
    skinned.Send(WM_LBUTTONDOWN, L"bnStop");
    skinned.Send(WM_LBUTTONUP, L"bnStop");
    skinned.Send(WM_MOUSEMOVE, L"bnNext");
    EXPECT_EQ(skinned.Events,
              (std::vector<std::wstring>{L"in bnStop", L"click bnStop", L"out bnStop", L"in bnNext"}));
    // Scrolled with the wheel: the volume by its step of 500, up towards the top.
    ComPtr<ISkinScrollBar> volume;
    ASSERT_HRESULT_SUCCEEDED(skinned.Visual(L"sbVolume").As(&volume));
    volume->SetPos(5000);
    POINT onVolume{GET_X_LPARAM(skinned.ClientCentre(L"sbVolume")),
                   GET_Y_LPARAM(skinned.ClientCentre(L"sbVolume"))};
    ClientToScreen(window, &onVolume);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(onVolume.x, onVolume.y));
    EXPECT_EQ(volume->GetPos(), 4500);
    EXPECT_EQ(skinned.Events.back(), L"scroll 4500 sbVolume");
    // The framework's popup menu in the skin's style, put back as it was.
    SetTimer(nullptr, 0, 200, EndMenuSoon);
    skinned.SkinForm->PopupMenu(skinned.Popup->Handle(), 200, 200);
    EXPECT_EQ(GetMenuState(skinned.Popup->Handle(), 1, MF_BYPOSITION) & (MF_OWNERDRAW | MF_CHECKED),
              UINT(MF_CHECKED));
    // Resized by the framework: the slider stretches with the window.
    RECT bar = skinned.Visual(L"sbPosition")->GetRect();
    skinned.Form->SetBounds(50, 50, 900, 650);
    EXPECT_EQ(skinned.Visual(L"sbPosition")->GetRect().right, bar.right + 100);
    // A handler's error reaches the application's exception handler.
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    skinned.Skin->Events().OnClick = [](ISkin*, ISkinObject*) { throw std::runtime_error("handler failed"); };
    skinned.Send(WM_MOUSEMOVE, L"bnStop");
    skinned.Send(WM_LBUTTONDOWN, L"bnStop");
    skinned.Send(WM_LBUTTONUP, L"bnStop");
    Application().OnException = nullptr;
    EXPECT_EQ(errors, std::vector<std::string>{"handler failed"});
}

} // namespace

TEST(SkinOnForms, AFormIsSkinnedDrivenAndFreedLeavingNothing) {
    // The first skinned window registers classes and loads the common controls once.
    // The first pass registers window classes and makes the system's menu and tooltip resources.
    {
        TSkinnedForm warmUp;
        Exercise(warmUp);
        warmUp.Form->Free();
    }
    skintest::PumpMessages();
    TResources before;
    ComPtr<ISkinObject> stopHandle;
    {
        TSkinnedForm skinned;
        HWND window = skinned.Form->Handle();
        Exercise(skinned);
        stopHandle = skinned.SkinForm->FindObject(L"bnStop");
        skinned.Form->Free();
        EXPECT_FALSE(IsWindow(window));
        // With the form gone, the object the program kept answers with an error and the skin
        // is held by nobody else.
        EXPECT_THROW(skinned.SkinForm->GetFrame(), ESkinError);
        ULONG skinReferences = skinned.Skin->AddRef();
        skinned.Skin->Release();
        EXPECT_EQ(skinReferences, 2u);
    }
    ULONG handleReferences = stopHandle->AddRef();
    stopHandle->Release();
    EXPECT_EQ(handleReferences, 2u);
    stopHandle.Reset();
    ExpectNothingLeft(before);
}
