// The skin control: loads a skin file, skins windows with its forms and raises the events of
// every skinned window.
#pragma once

#include "skin/ComObject.h"
#include "skin/SkinData.h"
#include "skin/SkinInterfaces.h"

#include <exception>
#include <functional>
#include <map>
#include <memory>

namespace vireon {

class TSkinWindow;

class TSkin : public TComObject<ISkin> {
public:
    static Microsoft::WRL::ComPtr<TSkin> Create();
    ~TSkin() override;

    // Parses and checks the whole file first: on an error the skin loaded before stays in use.
    void LoadSkin(const std::wstring& path) override;
    // Skins the main window with the skin's first form, keeping a 20-pixel menu bar below the
    // frame's top part.
    void ApplySkin(HWND window) override;
    void ApplySkinForm(HWND window, const std::wstring& formName) override;
    Microsoft::WRL::ComPtr<ISkinForm> GetSkinForm(HWND window) override;

    TSkinEvent OnClick;
    TSkinMouseEvent OnMouseDown;
    TSkinEvent OnMouseIn;
    TSkinEvent OnMouseOut;
    TSkinScrollEvent OnScroll;
    // An exception thrown by an event handler cannot cross the window procedure; it goes here
    // (dropped when unassigned).
    std::function<void(std::exception_ptr)> OnHandlerException;

    // Raise an event unless it is unassigned; false when the window went away meanwhile.
    bool Raise(const TSkinEvent& event, ISkinObject* source, const std::shared_ptr<bool>& alive);
    bool RaiseMouseDown(ISkinObject* source, TSkinMouseButton button, POINT point,
                        const std::shared_ptr<bool>& alive);
    bool RaiseScroll(ISkinObject* source, int pos, const std::shared_ptr<bool>& alive);

    // The engine's side: the window record for a handle (null when not skinned), and its end.
    TSkinWindow* Find(HWND window) const;
    void Forget(HWND window);
    const TSkinData* Data() const { return data_.get(); }

private:
    TSkin() = default;
    void Apply(HWND window, const TFormDef& form, bool menuBar);
    template <typename Call> bool Guarded(ISkinObject* source, const std::shared_ptr<bool>& alive, Call call);

    std::shared_ptr<const TSkinData> data_;
    std::map<HWND, std::unique_ptr<TSkinWindow>> windows_;
};

} // namespace vireon
