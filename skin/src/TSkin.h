// The skin control: loads a skin file, skins windows with its forms and raises the events of
// every skinned window.
#pragma once

#include "common/ComObject.h"
#include "SkinData.h"
#include "skin/SkinInterfaces.h"

#include <exception>
#include <functional>
#include <map>
#include <memory>

namespace vireon::skin {

class TSkinWindow;

// Reports to the debugger output what the engine cannot raise.
void Trace(const std::string& text) noexcept;
void TraceError(const char* what, std::exception_ptr error) noexcept;

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

    TSkinEvents& Events() override { return events_; }

    // Raise an event unless it is unassigned; false when the window went away meanwhile.
    bool Raise(const TSkinEvent& event, ISkinObject* source, const std::shared_ptr<bool>& alive);
    bool RaiseMouseDown(ISkinObject* source, TSkinMouseButton button, POINT point,
                        const std::shared_ptr<bool>& alive);
    bool RaiseScroll(ISkinObject* source, int pos, const std::shared_ptr<bool>& alive);
    // An error caught in a window procedure: to OnHandlerException, else to the debugger output.
    // Nothing leaves, not even what OnHandlerException itself throws.
    void Report(std::exception_ptr error) noexcept;

    // The engine's side: the window record for a handle (null when not skinned), and its end.
    TSkinWindow* Find(HWND window) const;
    void Forget(HWND window);
    const TSkinData* Data() const { return data_.get(); }

private:
    TSkin() = default;
    void Apply(HWND window, const TFormDef& form, bool menuBar);
    template <typename Call> bool Guarded(ISkinObject* source, const std::shared_ptr<bool>& alive, Call call);

    TSkinEvents events_;
    std::shared_ptr<const TSkinData> data_;
    std::map<HWND, std::unique_ptr<TSkinWindow>> windows_;
};

} // namespace vireon::skin
