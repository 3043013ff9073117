#include "SkinObjects.h"

#include "common/TextConversion.h"

#include "TSkinWindow.h"
#include "TgaImage.h"

namespace vireon::skin {

using Microsoft::WRL::ComPtr;

TSkinWindow& TSkinHandleBase::Window() const {
    if (!window_)
        throw ESkinError("the skin object \"" + Utf8FromWide(name_) + "\" belongs to a window that is gone");
    return *window_;
}

ComPtr<ISkinObject> TSkinFormHandle::FindObject(const std::wstring& name) {
    return Window().FindHandle(name);
}

TSkinFrame TSkinFormHandle::GetFrame() {
    return Window().View().Def().frame;
}

void TSkinFormHandle::PopupMenu(HMENU menu, int x, int y) {
    Window().PopupMenu(menu, x, y);
}

template <typename I, typename... B> ComPtr<ISkinForm> TSkinVisualHandle<I, B...>::GetForm() {
    return Window().FormHandle();
}

template <typename I, typename... B>
ComPtr<ISkinObject> TSkinVisualHandle<I, B...>::FindObject(const std::wstring& name) {
    return Window().FindHandle(name);
}

template <typename I, typename... B> RECT TSkinVisualHandle<I, B...>::GetRect() {
    return Window().View().Object(index_).rect;
}

template <typename I, typename... B> void TSkinVisualHandle<I, B...>::SetRect(const RECT& rect) {
    constexpr LONG kLimit = 1 << 20;
    if (rect.right < rect.left || rect.bottom < rect.top || rect.left < -kLimit || rect.top < -kLimit ||
        rect.right > kLimit || rect.bottom > kLimit)
        throw ESkinError("SetRect: the rectangle (" + std::to_string(rect.left) + ", " +
                         std::to_string(rect.top) + ", " + std::to_string(rect.right) + ", " +
                         std::to_string(rect.bottom) + ") of \"" + Utf8FromWide(name_) + "\" is not valid");
    Window().SetObjectRect(index_, rect);
}

template <typename I, typename... B> void TSkinVisualHandle<I, B...>::SetVisible(bool visible) {
    Window().SetObjectVisible(index_, visible);
}

template <typename I, typename... B> int TSkinVisualHandle<I, B...>::HitTest(int x, int y) {
    return Window().ScreenHit(index_, x, y) ? 1 : 0;
}

template <typename I, typename... B> RECT TSkinVisualHandle<I, B...>::GetRectRelative(ISkinObject* origin) {
    RECT rect = GetRect();
    ComPtr<ISkinVisual> visual;
    if (origin && SUCCEEDED(origin->QueryInterface(__uuidof(ISkinVisual),
                                                   reinterpret_cast<void**>(visual.GetAddressOf())))) {
        RECT base = visual->GetRect();
        OffsetRect(&rect, -base.left, -base.top);
    }
    return rect;
}

template class TSkinVisualHandle<ISkinVisual, ISkinObject>;
template class TSkinVisualHandle<ISkinButton, ISkinVisual, ISkinObject>;
template class TSkinVisualHandle<ISkinStatic, ISkinVisual, ISkinObject>;
template class TSkinVisualHandle<ISkinScrollBar, ISkinVisual, ISkinObject>;

void TSkinButtonHandle::SetDisabled(bool disabled) {
    Window().SetButtonDisabled(index_, disabled);
}

void TSkinStaticHandle::SetText(const std::wstring& text) {
    Window().SetObjectText(index_, text);
}

void TSkinScrollBarHandle::SetMax(int max) {
    if (max < 0)
        throw ESkinError("SetMax: " + std::to_string(max) + " is out of range (at least 0) for \"" +
                         Utf8FromWide(name_) + "\"");
    Window().SetScroll(index_, Window().View().Object(index_).pos, max);
}

int TSkinScrollBarHandle::GetPos() {
    return Window().View().Object(index_).pos;
}

void TSkinScrollBarHandle::SetPos(int pos) {
    Window().SetScroll(index_, pos, Window().View().Object(index_).max);
}

int TSkinScrollBarHandle::GetStep() {
    return Window().View().Object(index_).def->step;
}

} // namespace vireon::skin
