#include "TSkinImage.h"

#include "common/TextConversion.h"

#include "common/Win32Handles.h"
#include "TgaImage.h"

namespace vireon::skin {

namespace {

// A TGA beside the skin is small; this bounds memory for hostile files.
constexpr size_t kMaxImageFile = 64 * 1024 * 1024;

} // namespace

Microsoft::WRL::ComPtr<TSkinImage> TSkinImage::Create() {
    return MakeComObject<TSkinImage>();
}

Microsoft::WRL::ComPtr<ISkinImage> CreateSkinImage() {
    return TSkinImage::Create();
}

void TSkinImage::CreateImage(int width, int height) {
    pixels_ = TPixmap(width, height);
}

void TSkinImage::LoadFromFile(const std::wstring& path) {
    // Decoded aside, so a failure leaves the old picture in place.
    pixels_ = DecodeTga(ReadFileBytes(path, kMaxImageFile), Utf8FromWide(path));
}

SIZE TSkinImage::GetSize() {
    return {pixels_.Width(), pixels_.Height()};
}

void TSkinImage::FillRect(const RECT& rect, DWORD colour) {
    pixels_.Fill(rect, Premultiply(colour));
}

void TSkinImage::BlendImage(const RECT& rect, POINT origin, ISkinImage* source) {
    auto* image = dynamic_cast<TSkinImage*>(source);
    if (!image)
        throw ESkinError("BlendImage: the source is not an image of this engine");
    if (image == this) {
        TPixmap copy = image->pixels_;
        pixels_.Blend(rect, copy, origin);
        return;
    }
    pixels_.Blend(rect, image->pixels_, origin);
}

void TSkinImage::DrawTo(HDC dc, const RECT& rect) {
    if (pixels_.Empty())
        return;
    DrawPixmap(dc, rect, pixels_, pixels_.Bounds(), true);
}

void DrawPixmap(HDC dc, const RECT& target, const TPixmap& pixmap, const RECT& source, bool blend) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixmap.Width();
    info.bmiHeader.biHeight = -pixmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int sw = source.right - source.left, sh = source.bottom - source.top;
    int tw = target.right - target.left, th = target.bottom - target.top;
    if (!blend && sw == tw && sh == th) {
        SetDIBitsToDevice(dc, target.left, target.top, sw, sh, source.left, pixmap.Height() - source.bottom,
                          0, pixmap.Height(), pixmap.Data(), &info, DIB_RGB_COLORS);
        return;
    }
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory)
        throw ESkinError("cannot create a drawing surface");
    memcpy(bits, pixmap.Data(), size_t(pixmap.Width()) * pixmap.Height() * 4);
    SelectedObject selected(memory.get(), bitmap.get());
    BLENDFUNCTION function{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (blend)
        AlphaBlend(dc, target.left, target.top, tw, th, memory.get(), source.left, source.top, sw, sh,
                   function);
    else
        StretchBlt(dc, target.left, target.top, tw, th, memory.get(), source.left, source.top, sw, sh,
                   SRCCOPY);
}

} // namespace vireon::skin
