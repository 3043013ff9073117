// The COM objects handed out for a skinned window's form and its objects. They are thin handles onto
// the window; once the window is gone, every call raises.
#pragma once

#include "common/ComObject.h"
#include "skin/SkinInterfaces.h"

namespace vireon::skin {

class TSkinWindow;

// What every handle shares: its window and, for objects, the index of its object.
class TSkinHandleBase {
public:
    TSkinHandleBase(TSkinWindow* window, int index, std::wstring name)
        : window_(window), index_(index), name_(std::move(name)) {}
    void Detach() { window_ = nullptr; }

protected:
    TSkinWindow& Window() const;
    TSkinWindow* window_;
    int index_;
    std::wstring name_;
};

class TSkinFormHandle : public TComObject<ComChain<ISkinForm, ISkinObject>>, public TSkinHandleBase {
public:
    TSkinFormHandle(TSkinWindow* window, std::wstring name) : TSkinHandleBase(window, -1, std::move(name)) {}
    std::wstring GetName() override { return name_; }
    Microsoft::WRL::ComPtr<ISkinForm> GetForm() override { return this; }
    Microsoft::WRL::ComPtr<ISkinObject> FindObject(const std::wstring& name) override;
    TSkinFrame GetFrame() override;
    void PopupMenu(HMENU menu, int x, int y) override;
};

// ISkinVisual for every object kind; `Interface` is the most derived interface of the kind.
template <typename Interface, typename... Bases>
class TSkinVisualHandle : public TComObject<ComChain<Interface, Bases...>>, public TSkinHandleBase {
public:
    using TSkinHandleBase::TSkinHandleBase;
    std::wstring GetName() override { return name_; }
    Microsoft::WRL::ComPtr<ISkinForm> GetForm() override;
    Microsoft::WRL::ComPtr<ISkinObject> FindObject(const std::wstring& name) override;
    RECT GetRect() override;
    void SetRect(const RECT& rect) override;
    void SetVisible(bool visible) override;
    int HitTest(int x, int y) override;
    RECT GetRectRelative(ISkinObject* origin) override;
};

using TSkinPanelHandle = TSkinVisualHandle<ISkinVisual, ISkinObject>;

class TSkinButtonHandle : public TSkinVisualHandle<ISkinButton, ISkinVisual, ISkinObject> {
public:
    using TSkinVisualHandle::TSkinVisualHandle;
    void SetDisabled(bool disabled) override;
};

class TSkinStaticHandle : public TSkinVisualHandle<ISkinStatic, ISkinVisual, ISkinObject> {
public:
    using TSkinVisualHandle::TSkinVisualHandle;
    void SetText(const std::wstring& text) override;
};

class TSkinScrollBarHandle : public TSkinVisualHandle<ISkinScrollBar, ISkinVisual, ISkinObject> {
public:
    using TSkinVisualHandle::TSkinVisualHandle;
    void SetMax(int max) override;
    int GetPos() override;
    void SetPos(int pos) override;
    int GetStep() override;
};

} // namespace vireon::skin
