#include "TSkin.h"

#include "common/TextConversion.h"

#include "TPrivateFonts.h"
#include "TSkinWindow.h"
#include "TgaImage.h"

namespace vireon::skin {

using Microsoft::WRL::ComPtr;

ComPtr<TSkin> TSkin::Create() {
    return AdoptComPointer(new TSkin);
}

ComPtr<ISkin> CreateSkin(TSkinExceptionEvent onHandlerException) {
    ComPtr<TSkin> skin = TSkin::Create();
    skin->Events().OnHandlerException = std::move(onHandlerException);
    return skin;
}

TSkin::~TSkin() {
    // Each record takes its subclass off its window.
    auto windows = std::move(windows_);
    windows.clear();
}

void TSkin::LoadSkin(const std::wstring& path) {
    std::shared_ptr<TSkinData> data = ParseSkinFile(path);
    // The faces stay loaded while any window still draws with this skin; loading a skin with the
    // same font files again keeps the ones loaded.
    if (data_ && data_->fontFiles == data->fontFiles)
        data->fonts = data_->fonts;
    else
        data->fonts = std::make_shared<const TPrivateFonts>(data->fontFiles, Utf8FromWide(path));
    data_ = std::move(data);
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
        throw ESkinError("ApplySkinForm: the skin " + Utf8FromWide(data_->path) + " has no form \"" +
                         Utf8FromWide(formName) + "\"");
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
            Report(std::current_exception());
        }
    }
    return *alive;
}

void Trace(const std::string& text) noexcept {
    OutputDebugStringA(("skin: " + text + "\n").c_str());
}

void TraceError(const char* what, std::exception_ptr error) noexcept {
    std::string text = std::string(what) + ": ";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text += e.what();
    } catch (...) {
        text += "an exception of unknown type";
    }
    Trace(text);
}

void TSkin::Report(std::exception_ptr error) noexcept {
    if (!events_.OnHandlerException) {
        TraceError("unhandled error in an event", error);
        return;
    }
    // The hook may release the skin; it lives until the hook returns.
    ComPtr<ISkin> self(this);
    try {
        events_.OnHandlerException(error);
    } catch (...) {
        TraceError("the handler-exception event failed", std::current_exception());
    }
}

bool TSkin::Raise(const TSkinEvent& event, ISkinObject* source, const std::shared_ptr<bool>& alive) {
    if (!event)
        return *alive;
    // A copy: the handler may assign the event anew while it runs.
    TSkinEvent handler = event;
    return Guarded(source, alive, [&] { handler(this, source); });
}

bool TSkin::RaiseMouseDown(ISkinObject* source, TSkinMouseButton button, POINT point,
                           const std::shared_ptr<bool>& alive) {
    if (!events_.OnMouseDown)
        return *alive;
    TSkinMouseEvent handler = events_.OnMouseDown;
    return Guarded(source, alive, [&] { handler(this, source, button, point.x, point.y); });
}

bool TSkin::RaiseScroll(ISkinObject* source, int pos, const std::shared_ptr<bool>& alive) {
    if (!events_.OnScroll)
        return *alive;
    TSkinScrollEvent handler = events_.OnScroll;
    return Guarded(source, alive, [&] { handler(this, source, pos); });
}

} // namespace vireon::skin
