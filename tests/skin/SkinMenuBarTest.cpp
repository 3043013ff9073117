// The skin-style menu bar of a skinned main window behaves like every Windows menu bar: a press
// opens a menu, the arrow keys and the mouse move from menu to menu, Alt alone or F10 select it.
#include "SkinTestSupport.h"

#include "TSkin.h"
#include "TSkinWindow.h"

#include <commctrl.h>

#include <functional>
#include <vector>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

VOID CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Records every menu the window opens; `onOpen` runs inside the menu's loop after each one.
struct MenuWatch {
    std::vector<HMENU> opened;
    int measured = 0;
    std::function<void(size_t)> onOpen;
};

LRESULT CALLBACK WatchMenus(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    auto* watch = reinterpret_cast<MenuWatch*>(data);
    if (message == WM_MEASUREITEM)
        ++watch->measured;
    if (message == WM_INITMENUPOPUP) {
        watch->opened.push_back(reinterpret_cast<HMENU>(wParam));
        if (watch->onOpen)
            watch->onOpen(watch->opened.size());
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class SkinMenuBar : public testing::Test {
protected:
    void SetUp() override {
        skin_->LoadSkin(skintest::ShippedSkin());
        skin_->ApplySkin(window_.get());
        AppendMenuW(Help(), MF_STRING, 200, L"About");
        SetWindowSubclass(window_.get(), WatchMenus, 1, reinterpret_cast<DWORD_PTR>(&watch_));
        // A menu that fails to switch would stay open: this ends it, and the test fails instead.
        safety_ = SetTimer(nullptr, 0, 3000, EndMenuSoon);
    }
    void TearDown() override {
        KillTimer(nullptr, safety_);
        RemoveWindowSubclass(window_.get(), WatchMenus, 1);
    }

    HMENU File() { return GetSubMenu(GetMenu(window_.get()), 0); }
    HMENU Help() { return GetSubMenu(GetMenu(window_.get()), 1); }
    TSkinFormView& View() { return skin_->Find(window_.get())->View(); }
    // The centre of a bar item in client and in screen coordinates.
    LPARAM ItemClientPoint(int item) {
        RECT r = View().MenuItems()[item].rect;
        RECT client = View().ClientRect();
        return MAKELPARAM((r.left + r.right) / 2 - client.left, (r.top + r.bottom) / 2 - client.top);
    }
    void Press(int item) { SendMessageW(window_.get(), WM_LBUTTONDOWN, MK_LBUTTON, ItemClientPoint(item)); }
    void PostKey(WPARAM key) { PostMessageW(window_.get(), WM_KEYDOWN, key, 0); }
    void ExpectOpened(const std::vector<HMENU>& expected) {
        EXPECT_EQ(watch_.opened, expected);
        EXPECT_EQ(View().MenuHot(), -1);
    }

    ComPtr<TSkin> skin_ = TSkin::Create();
    skintest::TestWindow window_{true};
    MenuWatch watch_;
    UINT_PTR safety_ = 0;
};

} // namespace

TEST_F(SkinMenuBar, APressOpensTheMenuInSkinStyleAndPutsItBack) {
    SetTimer(nullptr, 0, 300, EndMenuSoon);
    Press(1);
    ExpectOpened({Help()});
    EXPECT_EQ(watch_.measured, 1);
    EXPECT_EQ(GetMenuState(Help(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    // Alt+F opens the first menu by its mnemonic.
    SetTimer(nullptr, 0, 300, EndMenuSoon);
    SendMessageW(window_.get(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    ExpectOpened({Help(), File()});
}

TEST_F(SkinMenuBar, ArrowKeysMoveToTheNeighbouringMenu) {
    // Right from File to Help, Right again round to File, Left back to Help.
    watch_.onOpen = [&](size_t count) {
        if (count < 4)
            PostKey(count == 3 ? VK_LEFT : VK_RIGHT);
        else
            SetTimer(nullptr, 0, 100, EndMenuSoon);
    };
    Press(0);
    ExpectOpened({File(), Help(), File(), Help()});
}

TEST_F(SkinMenuBar, TheMouseOverTheBarOpensTheMenuUnderIt) {
    watch_.onOpen = [&](size_t count) {
        if (count == 1) {
            PostMessageW(window_.get(), WM_MOUSEMOVE, 0, ItemClientPoint(0)); // the open one: stays
            PostMessageW(window_.get(), WM_MOUSEMOVE, 0, ItemClientPoint(1));
        } else {
            SetTimer(nullptr, 0, 100, EndMenuSoon);
        }
    };
    Press(0);
    ExpectOpened({File(), Help()});
}

TEST_F(SkinMenuBar, AltAloneOrF10SelectTheBar) {
    // Alt pressed and let go alone selects the bar; Right then Down open the second menu.
    PostKey(VK_RIGHT);
    PostKey(VK_DOWN);
    watch_.onOpen = [](size_t) { SetTimer(nullptr, 0, 100, EndMenuSoon); };
    SendMessageW(window_.get(), WM_SYSKEYDOWN, VK_MENU, 1 << 29);
    SendMessageW(window_.get(), WM_SYSKEYUP, VK_MENU, (1 << 29) | (3u << 30));
    ExpectOpened({Help()});
    // F10 selects it too; Esc leaves it without opening anything.
    PostKey(VK_ESCAPE);
    SendMessageW(window_.get(), WM_SYSKEYDOWN, VK_F10, 0);
    SendMessageW(window_.get(), WM_SYSKEYUP, VK_F10, 3u << 30);
    ExpectOpened({Help()});
    // With the bar selected, a letter opens the menu of that mnemonic.
    PostKey('F');
    SendMessageW(window_.get(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    ExpectOpened({Help(), File()});
}
