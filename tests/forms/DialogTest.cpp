#include "forms/TButton.h"
#include "forms/TForm.h"
#include "forms/TOpenDialog.h"

#include "FormsTestSupport.h"

#include "../util/TempFolder.h"

#include <cwchar>
#include <optional>

using namespace vireon;
using namespace vireon::testing;

namespace {

// A dialog with an OK button (default) and a Cancel button (cancel), like the decoder dialog.
struct TestDialog {
    TForm* Form = new TForm(nullptr);
    TButton* Ok = new TButton(Form, {.Parent = Form, .Caption = "OK", .ModalResult = mrOk, .Default = true});
    TButton* Close = new TButton(Form, {.Parent = Form,
                                        .Caption = "Close",
                                        .Bounds = {80, 0, 155, 25},
                                        .ModalResult = mrCancel,
                                        .Cancel = true});
    TestDialog() {
        Form->SetBorderStyle(bsDialog);
        Form->SetPosition(poMainFormCenter);
    }
    ~TestDialog() { Form->Free(); }
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    // Posts the key when the dialog shows, so the modal loop meets it.
    TModalResult ShowWithKey(WORD key) {
        Form->OnShow = [this, key](TObject*) { PostMessageA(Form->Handle(), WM_KEYDOWN, key, 1); };
        return Form->ShowModal();
    }
};

} // namespace

TEST(ShowModal, EnterAnswersWithTheDefaultButton) {
    TestDialog dialog;
    int clicks = 0;
    dialog.Ok->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(mrOk, dialog.ShowWithKey(VK_RETURN));
    EXPECT_EQ(1, clicks);
    EXPECT_FALSE(dialog.Form->Visible());
}

TEST(ShowModal, EscapeAnswersWithTheCancelButton) {
    TestDialog dialog;
    EXPECT_EQ(mrCancel, dialog.ShowWithKey(VK_ESCAPE));
}

TEST(ShowModal, DisablesOtherWindowsUntilItEnds) {
    auto* other = new TForm(nullptr);
    other->Show();
    TestDialog dialog;
    bool disabledMeanwhile = false;
    dialog.Form->OnShow = [&](TObject*) {
        disabledMeanwhile = !IsWindowEnabled(other->Handle());
        dialog.Form->Close();
    };
    EXPECT_EQ(mrCancel, dialog.Form->ShowModal());
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    other->Free();
}

TEST(ShowModal, CloseQueryCanRefuseTheResult) {
    TestDialog dialog;
    int queries = 0;
    dialog.Form->OnCloseQuery = [&](TObject*, bool& canClose) {
        // Refuse once; the second key press closes.
        canClose = ++queries > 1;
        if (!canClose)
            PostMessageA(dialog.Form->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    };
    EXPECT_EQ(mrOk, dialog.ShowWithKey(VK_ESCAPE));
    EXPECT_EQ(2, queries);
}

TEST(ShowModal, TabMovesTheFocusBetweenTheButtons) {
    TestDialog dialog;
    dialog.Form->Show();
    dialog.Ok->SetFocus();
    MSG tab{dialog.Ok->Handle(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(dialog.Form->HandleKeyMessage(tab));
    EXPECT_TRUE(dialog.Close->Focused());
    // Enter now answers with the focused button rather than the default one.
    MSG enter{dialog.Close->Handle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(dialog.Form->HandleKeyMessage(enter));
    EXPECT_EQ(mrCancel, dialog.Form->ModalResult());
}

TEST(ShowModal, AVisibleFormCannotBeShownModally) {
    TestDialog dialog;
    dialog.Form->Show();
    EXPECT_THROW(dialog.Form->ShowModal(), std::runtime_error);
}

TEST(OpenDialog, FilterIsTurnedIntoThePlatformForm) {
    using namespace std::string_literals;
    EXPECT_EQ("VIDEO_TS.IFO\0VIDEO_TS.IFO\0\0"s, MakeDialogFilter("VIDEO_TS.IFO|VIDEO_TS.IFO"));
    EXPECT_EQ("Media\0*.avi;*.mpg\0All\0*.*\0\0"s, MakeDialogFilter("Media|*.avi;*.mpg|All|*.*"));
    EXPECT_EQ("*.avi\0*.avi\0\0"s, MakeDialogFilter("*.avi"));
    EXPECT_EQ("", MakeDialogFilter(""));
}

TEST(OpenDialog, ChosenFilesComeInTheDialogsOrder) {
    using namespace std::string_literals;
    std::wstring many = L"C:\\Media\0b.avi\0a.avi\0c.mpg\0\0"s;
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Media\\b.avi", L"C:\\Media\\a.avi", L"C:\\Media\\c.mpg"}),
              ParseDialogFiles(many.c_str()));
    std::wstring root = L"C:\\\0a.avi\0b.avi\0\0"s;
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a.avi", L"C:\\b.avi"}), ParseDialogFiles(root.c_str()));
    std::wstring one = L"C:\\Media\\one.avi\0\0"s;
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Media\\one.avi"}), ParseDialogFiles(one.c_str()));
}

TEST(OpenDialog, ExecuteAsksThePlatformWithTheOptions) {
    using namespace std::string_literals;
    int calls = 0;
    DWORD flags = 0;
    std::wstring filter;
    std::optional<TScopedSeam<TOpenDialogSeam>> seam;
    seam.emplace(OpenDialogSeam(), [&](OPENFILENAMEW& dialog) {
        ++calls;
        flags = dialog.Flags;
        filter.assign(dialog.lpstrFilter, 21);
        std::wstring answer = L"Z:\\clips\0two.avi\0one.avi\0\0"s;
        std::copy(answer.begin(), answer.end(), dialog.lpstrFile);
        dialog.nFilterIndex = 2;
        return TRUE;
    });
    TOpenDialog dialog;
    dialog.SetFilter("Media|*.avi|All|*.*");
    dialog.SetOptions(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(1, calls);
    EXPECT_TRUE(flags & OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(flags & OFN_HIDEREADONLY);
    EXPECT_TRUE(flags & OFN_ENABLESIZING);
    EXPECT_TRUE(flags & OFN_EXPLORER);
    EXPECT_EQ(L"Media\0*.avi\0All\0*.*\0\0"s, filter);
    EXPECT_EQ((std::vector<std::string>{"Z:\\clips\\two.avi", "Z:\\clips\\one.avi"}), dialog.Files());
    EXPECT_EQ("Z:\\clips\\two.avi", dialog.FileName());
    EXPECT_EQ(2, dialog.FilterIndex());

    seam.reset();
    TScopedSeam refusal(OpenDialogSeam(), [](OPENFILENAMEW&) { return FALSE; });
    EXPECT_FALSE(dialog.Execute());
}

// The dialog answers in wide text; a name the ANSI code page cannot hold still opens with the
// player's ANSI file calls, alone or among several chosen files.
TEST(OpenDialog, NamesOutsideTheCodePageStillOpen) {
    TempFolder folder;
    const std::wstring where = WideFromAnsi(folder.path());
    const std::wstring names[] = {L"\x0412\x0438\x0434\x0435\x043E.avi", L"\x65E5\x672C.avi"};
    for (const std::wstring& name : names) {
        HANDLE file =
            CreateFileW((where + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }
    std::wstring answer;
    TScopedSeam seam(OpenDialogSeam(), [&](OPENFILENAMEW& dialog) {
        std::copy(answer.begin(), answer.end(), dialog.lpstrFile);
        return TRUE;
    });
    const auto opens = [](const std::string& path) {
        return path.find('?') == std::string::npos &&
               GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    TOpenDialog dialog;
    answer = where + L"\\" + names[0] + L'\0' + L'\0';
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(opens(dialog.FileName())) << dialog.FileName();

    answer = where + L'\0' + names[0] + L'\0' + names[1] + L'\0' + L'\0';
    dialog.SetOptions(ofAllowMultiSelect);
    ASSERT_TRUE(dialog.Execute());
    ASSERT_EQ(2u, dialog.Files().size());
    EXPECT_EQ(dialog.Files()[0], dialog.FileName());
    for (const std::string& file : dialog.Files())
        EXPECT_TRUE(opens(file)) << file;
    EXPECT_NE(dialog.Files()[0], dialog.Files()[1]);
}
