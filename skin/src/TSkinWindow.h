// A window skinned with one skin form: the engine draws its frame, menu bar and client area from
// the form, turns mouse input into object states and events, and offers the window's minimise and
// close commands through the skin's buttons.
#pragma once

#include "SkinObjects.h"
#include "TSkinFormView.h"
#include "TSkinMenuStyler.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

namespace vireon::skin {

class TSkin;

class TSkinWindow {
public:
    TSkinWindow(TSkin& skin, HWND window, std::shared_ptr<const TSkinData> data, const TFormDef& form,
                bool menuBar);
    TSkinWindow(const TSkinWindow&) = delete;
    TSkinWindow& operator=(const TSkinWindow&) = delete;
    ~TSkinWindow();

    HWND Handle() const { return window_; }
    TSkinFormView& View() { return view_; }
    Microsoft::WRL::ComPtr<ISkinForm> FormHandle() { return form_; }
    Microsoft::WRL::ComPtr<ISkinObject> FindHandle(const std::wstring& name);

    void SetObjectRect(int index, const RECT& rect);
    void SetObjectVisible(int index, bool visible);
    void SetObjectText(int index, const std::wstring& text);
    void SetButtonDisabled(int index, bool disabled);
    void SetScroll(int index, int pos, int max);
    bool ScreenHit(int index, int x, int y);
    void PopupMenu(HMENU menu, int x, int y);

    // Redraws a part of the form and shows it at once, without erasing.
    void Invalidate(const RECT& rect);

    // How the engine's subclass is found on a window.
    static constexpr UINT_PTR kSubclassId = 0x56534B4E;
    static SUBCLASSPROC SubclassProcedure() { return SubclassProc; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    bool HandleFrame(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleMenu(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    void KeyMenu(wchar_t key);
    int MnemonicItem(wchar_t key);
    void SelectMenuBar();
    void SetMenuBarHot(int item);
    int MenuBarItemAt(POINT screen) const;
    static LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam);
    bool FilterMenuMessage(const MSG& msg);
    void MenuSelected(WPARAM wParam, LPARAM lParam);
    void Change(int index, const std::function<void(TObjectState&)>& apply);
    void Present(const RECT& rect);
    void PaintClient();
    void PaintFrame();
    void SyncSize();
    POINT FormPoint(LPARAM clientPoint) const;
    LRESULT HitTestFrame(LPARAM screenPoint);
    bool MouseMove(POINT p);
    bool MouseDown(POINT p, TSkinMouseButton button);
    bool MouseUp(POINT p);
    void MouseLeave();
    void SetHover(int index);
    void DragTo(POINT p);
    void RefreshMenuBar();
    void TrackMenuBar(int item, bool byKey);
    int NextMenuBarItem(int current);
    void RunSystemCommand(const TObjectDef& def);
    void CreateTips(const MSG& firstMove);
    void UpdateTip(int index);
    bool Wheel(POINT screen, int delta);
    static UINT RehoverMessage();
    void Rehover();

    TSkin& skin_;
    HWND window_;
    TSkinFormView view_;
    Microsoft::WRL::ComPtr<TSkinFormHandle> form_;
    std::vector<Microsoft::WRL::ComPtr<ISkinObject>> handles_;
    std::vector<TSkinHandleBase*> detachable_;
    int hover_ = -1;
    int pressed_ = -1;
    bool tracking_ = false;
    TSkinMenuStyler* styler_ = nullptr;
    // The bar menu open now: its item, what is highlighted in it, and the item to open next.
    struct TMenuTrack {
        HMENU top = nullptr;
        int item = -1;
        HMENU selected = nullptr;
        bool selectedOpens = false;
        int next = -1;
        bool nextByKey = false;
    };
    TMenuTrack menuTrack_;
    UniqueWindow tips_;
    bool tipsMade_ = false;
    // Cleared when the window goes, so that code after an event handler knows to stop.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace vireon::skin
