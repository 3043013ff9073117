// The folder dialog: what it asks of the browser (through the seam), and the platform's browser
// itself driven by keys.

#include "util/TFolderDialog.h"

#include "DialogDriver.h"
#include "TempFolder.h"

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vireon;

namespace {

// A window standing in for the browser: it records the selection requests it receives.
class FakeBrowserWindow {
public:
    FakeBrowserWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VireonFakeBrowser";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("VireonFakeBrowser", "Browse for Folder", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        current_ = this;
    }
    ~FakeBrowserWindow() {
        DestroyWindow(window_);
        current_ = nullptr;
    }
    HWND window() const { return window_; }
    std::string Title() const {
        char text[256] = {};
        GetWindowTextA(window_, text, sizeof text);
        return text;
    }
    std::vector<std::string> selections;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == BFFM_SETSELECTIONA && current_ && wParam)
            current_->selections.push_back(reinterpret_cast<const char*>(lParam));
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    static inline FakeBrowserWindow* current_ = nullptr;
    HWND window_;
};

// Waits until the browser's tree has selected the item named Name.
DialogDriver::Step SelectionIs(const std::string& name) {
    return [name](HWND dialog) {
        HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
        char text[MAX_PATH] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = text;
        item.cchTextMax = sizeof text;
        return item.hItem && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) &&
               lstrcmpiA(text, name.c_str()) == 0;
    };
}

PIDLIST_ABSOLUTE ItemOf(const char* path) {
    return ILCreateFromPathA(path);
}

class FolderDialogSeam : public ::testing::Test {
protected:
    // The fake browser opens (the dialog's callback sees it initialised) and answers Answer().
    void Browse(std::function<PIDLIST_ABSOLUTE()> answer) {
        seam_.reset(); // the old fake goes first, or it would restore the empty slot over the new one
        seam_ = std::make_unique<TScopedSeam<TBrowseForFolderSeam>>(
            BrowseForFolderSeam(), [this, answer](BROWSEINFOW& info) {
                ++calls;
                flags = info.ulFlags;
                prompt = info.lpszTitle ? AnsiFromWide(info.lpszTitle) : "";
                rootGiven = info.pidlRoot != nullptr;
                info.lpfn(browser.window(), BFFM_INITIALIZED, 0, info.lParam);
                return answer();
            });
    }
    FakeBrowserWindow browser;
    int calls = 0;
    UINT flags = ~0u;
    bool rootGiven = true;
    std::string prompt;

private:
    std::unique_ptr<TScopedSeam<TBrowseForFolderSeam>> seam_;
};

TEST_F(FolderDialogSeam, OpensTitledOnTheCurrentFolder) {
    TempFolder tree;
    Browse([&] { return ItemOf(tree.path().c_str()); });
    TFolderDialog dialog;
    dialog.SetDialogTitle("Play folder");
    dialog.SetPrompt("Select folder with media files");
    dialog.SetFolder("C:\\windows");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(1, calls);
    EXPECT_EQ("Play folder", browser.Title());
    EXPECT_EQ("Select folder with media files", prompt);
    EXPECT_EQ(std::vector<std::string>{"C:\\windows"}, browser.selections);
    EXPECT_EQ(0u, flags);
    EXPECT_FALSE(rootGiven);
    EXPECT_EQ(tree.path(), dialog.Folder()); // no separator at the end
}

TEST_F(FolderDialogSeam, DriveRootEndsInASeparator) {
    Browse([] { return ItemOf("C:\\"); });
    TFolderDialog dialog;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ("C:\\", dialog.Folder());
    EXPECT_TRUE(browser.selections.empty()); // no current folder, nothing selected
}

// The browser answers in wide text; a folder the ANSI code page cannot name still opens with the
// player's ANSI file calls.
TEST_F(FolderDialogSeam, FolderOutsideTheCodePageStillOpens) {
    TempFolder tree;
    const std::wstring folder = WideFromAnsi(tree.path()) + L"\\\x0412\x0438\x0434\x0435\x043E";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    Browse([&] { return ILCreateFromPathW(folder.c_str()); });
    TFolderDialog dialog;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(std::string::npos, dialog.Folder().find('?')) << dialog.Folder();
    const DWORD attributes = GetFileAttributesA(dialog.Folder().c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << dialog.Folder();
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FolderDialogSeam, CancelKeepsTheFolder) {
    Browse([] { return nullptr; });
    TFolderDialog dialog;
    dialog.SetFolder("C:\\films");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ("C:\\films", dialog.Folder());
}

TEST_F(FolderDialogSeam, ItemWithoutAFileSystemPathGivesAnEmptyFolder) {
    Browse([] {
        PIDLIST_ABSOLUTE computer = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
        return computer;
    });
    TFolderDialog dialog;
    dialog.SetFolder("C:\\films");
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ("", dialog.Folder());
}

// The platform's own browser: opened on the current folder, accepted with Enter, cancelled with Escape.
TEST(FolderDialog, PlatformBrowserAcceptsAndCancels) {
    TempFolder tree;
    TFolderDialog dialog;
    dialog.SetDialogTitle("Play folder");
    dialog.SetPrompt("Select folder with media files");
    dialog.SetFolder(tree.path());
    {
        const std::string name = tree.path().substr(tree.path().find_last_of('\\') + 1);
        DialogDriver driver({SelectionIs(name), DialogDriver::Key(VK_RETURN)});
        EXPECT_TRUE(dialog.Execute());
        EXPECT_FALSE(driver.forced());
        EXPECT_EQ("Play folder", driver.caption());
    }
    EXPECT_TRUE(lstrcmpiA(tree.path().c_str(), dialog.Folder().c_str()) == 0) << dialog.Folder();
    {
        DialogDriver driver({DialogDriver::Key(VK_ESCAPE)});
        dialog.SetFolder("C:\\");
        EXPECT_FALSE(dialog.Execute());
        EXPECT_FALSE(driver.forced());
    }
    EXPECT_EQ("C:\\", dialog.Folder());
}

} // namespace
