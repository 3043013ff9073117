// The main window in a test: made as the program makes it, with its message boxes, shell launches
// and the shell's other windows caught; clicks on its skin objects the way the mouse gives them.
#pragma once

#include "shell/ShellWindows.h"
#include "shell/TMainForm.h"

#include "forms/MessageBoxSeam.h"
#include "util/ShellOpen.h"

#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace shelltest {

struct TShownMessage {
    std::string Text;
    std::string Caption;
};

// Everything the main window may launch or show, recorded instead.
class TCaughtEffects {
public:
    TCaughtEffects()
        : FBoxes(vireon::MessageBoxSeam(),
                 [this](HWND, const std::string& Text, const std::string& Caption, UINT) {
                     Messages.push_back({Text, Caption});
                     return IDOK;
                 }),
          FShell(vireon::ShellExecuteSeam(),
                 [this](HWND, const char*, const char* File, const char*, const char*, int) {
                     Links.push_back(File);
                     return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
                 }) {
        vireon::ShellWindows() = {};
        vireon::ShellWindows().ShowAbout = [this] { Windows.push_back("About"); };
        vireon::ShellWindows().ShowColorControl = [this] { Windows.push_back("Colors"); };
    }
    ~TCaughtEffects() { vireon::ShellWindows() = {}; }

    std::vector<TShownMessage> Messages;
    std::vector<std::string> Links;
    std::vector<std::string> Windows;

private:
    vireon::TScopedSeam<vireon::TMessageBoxSeam> FBoxes;
    vireon::TScopedSeam<vireon::TShellExecuteSeam> FShell;
};

// A main window started as the program starts it; freed at the end of the scope.
inline vireon::TMainForm* StartMainForm(vireon::TMainFormStart Start = {}) {
    auto* form = new vireon::TMainForm(nullptr, std::move(Start));
    form->DoCreate();
    if (form->Started())
        form->Show();
    vireon::Application().ProcessMessages();
    return form;
}

// Posts the mouse messages of a click on the named skin object, then runs them.
inline void ClickSkinObject(vireon::TMainForm& Form, const std::wstring& Name) {
    Microsoft::WRL::ComPtr<vireon::skin::ISkinVisual> visual;
    ASSERT_TRUE(SUCCEEDED(Form.SkinForm()->FindObject(Name).As(&visual)));
    const RECT r = visual->GetRect();
    // Client coordinates start below the frame's top part and the menu bar.
    const vireon::skin::TSkinFrame frame = Form.SkinForm()->GetFrame();
    const LPARAM at =
        MAKELPARAM((r.left + r.right) / 2 - frame.Left, (r.top + r.bottom) / 2 - frame.Top - 20);
    PostMessageW(Form.Handle(), WM_MOUSEMOVE, 0, at);
    PostMessageW(Form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Form.Handle(), WM_LBUTTONUP, 0, at);
    vireon::Application().ProcessMessages();
}

// Which of the ten controlled buttons take a click now (a disabled one does not).
inline std::vector<std::wstring> ClickableButtons(vireon::TMainForm& Form) {
    std::vector<std::wstring> clicked;
    vireon::skin::TSkinEvents& events = Form.Skin()->Events();
    const auto saved = events.OnClick;
    events.OnClick = [&](vireon::skin::ISkin*, vireon::skin::ISkinObject* Source) {
        clicked.push_back(Source->GetName());
    };
    for (const wchar_t* stem : vireon::TButtonController::Stems())
        ClickSkinObject(Form, L"bn" + std::wstring(stem));
    events.OnClick = saved;
    return clicked;
}

inline std::string SamplePath() {
    return VIREON_BUILD_DIR "\\samples\\sample.avi";
}

} // namespace shelltest
