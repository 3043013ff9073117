#include "TestSkin.h"

#include "skin/SkinInterfaces.h"

#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace shelltest {

struct TTestSkin::TImpl {
    ComPtr<vireon::skin::ISkin> Skin = vireon::skin::CreateSkin({});
};

TTestSkin::TTestSkin() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Skin->LoadSkin(L"" VIREON_BUILD_DIR "/bin/skins/DVDTest.skn");
    FImpl->Skin->Events().OnClick = [this](vireon::skin::ISkin*, vireon::skin::ISkinObject* Source) {
        if (OnClick)
            OnClick(Source->GetName());
    };
}

TTestSkin::~TTestSkin() = default;

void TTestSkin::Apply(HWND Window, const std::wstring& Form) {
    FImpl->Skin->ApplySkinForm(Window, Form);
}

bool TTestSkin::IsSkinned(HWND Window) const {
    try {
        return FImpl->Skin->GetSkinForm(Window) != nullptr;
    } catch (const vireon::skin::ESkinError&) {
        return false;
    }
}

void TTestSkin::Click(HWND Window, const std::wstring& Object) {
    ComPtr<vireon::skin::ISkinForm> form = FImpl->Skin->GetSkinForm(Window);
    ComPtr<vireon::skin::ISkinVisual> visual;
    if (ComPtr<vireon::skin::ISkinObject> found = form->FindObject(Object);
        !found || FAILED(found.As(&visual)))
        throw std::runtime_error("the skin form has no visible object of that name");
    const RECT rect = visual->GetRect();
    const vireon::skin::TSkinFrame frame = form->GetFrame();
    // Mouse messages take client coordinates; the client starts below the frame's top part.
    const LPARAM point =
        MAKELPARAM((rect.left + rect.right) / 2 - frame.Left, (rect.top + rect.bottom) / 2 - frame.Top);
    // Posted, as the mouse does: the handlers run from the application's message loop.
    PostMessageW(Window, WM_MOUSEMOVE, 0, point);
    PostMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(Window, WM_LBUTTONUP, 0, point);
}

} // namespace shelltest
