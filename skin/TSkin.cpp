#include "skin/TSkin.h"

#include "skin/TSkinWindow.h"
#include "skin/TgaImage.h"

namespace vireon {

using Microsoft::WRL::ComPtr;

ComPtr<TSkin> TSkin::Create() {
    return ComPtr<TSkin>(new TSkin);
}

TSkin::~TSkin() {
    // Each record takes its subclass off its window.
    auto windows = std::move(windows_);
    windows.clear();
}

void TSkin::LoadSkin(const std::wstring& path) {
    data_ = ParseSkinFile(path);
}

void TSkin::ApplySkin(HWND window) {
    if (!data_)
        throw ESkinError("ApplySkin: no skin is loaded");
    Apply(window, data_->forms.front(), true);
}

void TSkin::ApplySkinForm(HWND window, const std::wstring& formName) {
    if (!data_)
        throw ESkinError("ApplySkinForm: no skin is loaded");
    const TFormDef* form = data_->FindForm(formName);
    if (!form)
        throw ESkinError("ApplySkinForm: the skin " + Narrow(data_->path) + " has no form \"" +
                         Narrow(formName) + "\"");
    Apply(window, *form, false);
}

void TSkin::Apply(HWND window, const TFormDef& form, bool menuBar) {
    if (!IsWindow(window))
        throw ESkinError("cannot skin an invalid window handle");
    Forget(window);
    windows_[window] = std::make_unique<TSkinWindow>(*this, window, data_, form, menuBar);
}

ComPtr<ISkinForm> TSkin::GetSkinForm(HWND window) {
    TSkinWindow* record = Find(window);
    if (!record)
        throw ESkinError("GetSkinForm: the window is not skinned");
    return record->FormHandle();
}

TSkinWindow* TSkin::Find(HWND window) const {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

void TSkin::Forget(HWND window) {
    auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    std::unique_ptr<TSkinWindow> record = std::move(found->second);
    windows_.erase(found);
}

template <typename Call>
bool TSkin::Guarded(ISkinObject* source, const std::shared_ptr<bool>& alive, Call call) {
    {
        // The handler may close the window, or release the skin, and with them the object's last
        // reference: both live until the handler is done, and may go right after.
        ComPtr<ISkinObject> keep(source);
        ComPtr<ISkin> self(this);
        try {
            call();
        } catch (...) {
            if (OnHandlerException)
                OnHandlerException(std::current_exception());
        }
    }
    return *alive;
}

bool TSkin::Raise(const TSkinEvent& event, ISkinObject* source, const std::shared_ptr<bool>& alive) {
    if (!event)
        return *alive;
    return Guarded(source, alive, [&] { event(this, source); });
}

bool TSkin::RaiseMouseDown(ISkinObject* source, TSkinMouseButton button, POINT point,
                           const std::shared_ptr<bool>& alive) {
    if (!OnMouseDown)
        return *alive;
    return Guarded(source, alive, [&] { OnMouseDown(this, source, button, point.x, point.y); });
}

bool TSkin::RaiseScroll(ISkinObject* source, int pos, const std::shared_ptr<bool>& alive) {
    if (!OnScroll)
        return *alive;
    return Guarded(source, alive, [&] { OnScroll(this, source, pos); });
}

} // namespace vireon
