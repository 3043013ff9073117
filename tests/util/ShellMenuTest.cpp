// ShellOpen through its seam (nothing is launched) and ClearMenu on the framework's menu items.

#include "util/Msg.h"
#include "util/ShellOpen.h"
#include "util/xMenu.h"

#include "forms/LiveCounts.h"
#include "forms/TApplication.h"
#include "forms/TMenuItem.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vireon;

namespace {

struct ShellCall {
    HWND window;
    bool verbGiven;
    std::string file;
    const char* parameters;
    std::string directory;
    int show;
};

struct ShownMessage {
    std::string caption, text;
    int buttons = 0;
};

// A fake shell that records each call and answers Result, leaving LastError behind; and a seam on
// the message dialog that records what it would have shown.
class ShellOpenTest : public ::testing::Test {
protected:
    void Answer(INT_PTR result, DWORD lastError) {
        result_ = result;
        lastError_ = lastError;
    }

    std::vector<ShellCall> calls;
    std::vector<ShownMessage> messages;

private:
    INT_PTR result_ = 0;
    DWORD lastError_ = ERROR_SUCCESS;
    TScopedSeam<TShellExecuteSeam> shell_{
        ShellExecuteSeam(), [this](HWND window, const char* verb, const char* file, const char* parameters,
                                   const char* directory, int show) {
            calls.push_back({window, verb != nullptr, file, parameters, directory ? directory : "", show});
            SetLastError(lastError_);
            return reinterpret_cast<HINSTANCE>(result_);
        }};
    TScopedSeam<TMessageDialogSeam> dialogs_{MessageDialogSeam(), [this](HWND dialog) {
                                                 char caption[64] = {}, text[512] = {};
                                                 GetWindowTextA(dialog, caption, sizeof caption);
                                                 GetDlgItemTextA(dialog, kMsgDlgTextId, text, sizeof text);
                                                 int buttons = 0;
                                                 for (int id = mrOk; id <= mrYesToAll; ++id)
                                                     buttons += GetDlgItem(dialog, id) != nullptr;
                                                 messages.push_back({caption, text, buttons});
                                                 return mrOk;
                                             }};
};

std::string SystemText(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    std::string result = text;
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

TEST_F(ShellOpenTest, SuccessShowsNothing) {
    Answer(42, ERROR_SUCCESS);
    EXPECT_EQ(42, ShellOpen("mailto:support@vireon.example", "", "", SW_SHOW));
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(Application().Handle(), calls[0].window);
    EXPECT_FALSE(calls[0].verbGiven); // the default verb
    EXPECT_EQ("mailto:support@vireon.example", calls[0].file);
    EXPECT_EQ(nullptr, calls[0].parameters);
    EXPECT_EQ("", calls[0].directory);
    EXPECT_EQ(SW_SHOW, calls[0].show);
    EXPECT_TRUE(messages.empty());

    ShellOpen("C:\\film.avi", "/play", "C:\\", SW_SHOWNORMAL);
    ASSERT_EQ(2u, calls.size());
    EXPECT_STREQ("/play", calls[1].parameters);
    EXPECT_EQ("C:\\", calls[1].directory);
}

TEST_F(ShellOpenTest, FailureShowsThePlatformsErrorText) {
    Answer(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SE_ERR_FNF, ShellOpen("C:\\missing.avi", "", "", SW_SHOW));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), messages[0].text);
    EXPECT_FALSE(messages[0].text.empty());
    EXPECT_EQ(1, messages[0].buttons);
}

TEST_F(ShellOpenTest, FailureWithoutAnErrorCodeIsNotReportedAsSuccess) {
    Answer(SE_ERR_NOASSOC, ERROR_SUCCESS);
    EXPECT_EQ(SE_ERR_NOASSOC, ShellOpen("mailto:x@y.example", "", "", SW_SHOW));
    ASSERT_EQ(1u, messages.size());
    EXPECT_NE(SystemText(ERROR_SUCCESS), messages[0].text);
    EXPECT_EQ(SystemText(ERROR_NO_ASSOCIATION), messages[0].text);

    Answer(32, ERROR_SUCCESS); // 32 is still a failure
    ShellOpen("x", "", "", SW_SHOW);
    EXPECT_EQ(2u, messages.size());
}

TEST(ClearMenu, FreesEverySubItemDeepestFirst) {
    const int before = LiveCounts().Components;
    TMenuItem root;
    root.SetCaption("Chapters");
    std::vector<std::string> freed;
    auto add = [&](TMenuItem* parent, const std::string& caption) {
        return TMenuItem::Create(&root, parent, {.Caption = caption});
    };
    TMenuItem* title = add(&root, "Title 1");
    add(title, "Chapter 1");
    add(title, "Chapter 2");
    add(&root, "-");
    add(&root, "Title 2");
    ASSERT_EQ(3, root.Count());
    ASSERT_EQ(before + 6, LiveCounts().Components);

    ClearMenu(&root);
    EXPECT_EQ(0, root.Count());
    EXPECT_EQ(before + 1, LiveCounts().Components);
    EXPECT_EQ(0, root.ComponentCount()); // the owner no longer lists them
    if (root.Handle()) {
        EXPECT_EQ(0, GetMenuItemCount(root.Handle()));
    }

    // Rebuilt from scratch, then cleared again; an empty item and a missing one are fine.
    add(&root, "No Chapters");
    EXPECT_EQ(1, root.Count());
    ClearMenu(&root);
    ClearMenu(&root);
    ClearMenu(nullptr);
    EXPECT_EQ(before + 1, LiveCounts().Components);
}

} // namespace
