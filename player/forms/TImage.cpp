#include "forms/TImage.h"

#include <stdexcept>

namespace vireon {

TImage::TImage(TComponent* AOwner) : TCustomControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    SetBitmap(nullptr);
}

void TImage::SetBitmap(HBITMAP Value) {
    if (FBitmap)
        CountGdiObject(-1);
    FBitmap.reset(Value);
    if (FBitmap)
        CountGdiObject(1);
    PictureChanged();
}

void TImage::LoadFromFile(const std::string& FileName) {
    auto bitmap =
        static_cast<HBITMAP>(LoadImageA(nullptr, FileName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap)
        throw std::runtime_error("Cannot load the picture " + FileName);
    SetBitmap(bitmap);
}

SIZE TImage::PictureSize() const {
    BITMAP info{};
    if (!FBitmap || !GetObjectA(FBitmap.get(), sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged();
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    Invalidate();
}

void TImage::PictureChanged() {
    SIZE size = PictureSize();
    if (FAutoSize && size.cx > 0 && size.cy > 0)
        SetBounds(Left(), Top(), size.cx, size.cy);
    Invalidate();
}

void TImage::Paint(HDC DC, const RECT& Client) {
    SIZE size = PictureSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    UniqueMemoryDC memory(CreateCompatibleDC(DC));
    if (!memory)
        return;
    SelectedObject selected(memory.get(), FBitmap.get());
    if (FStretch) {
        SetStretchBltMode(DC, HALFTONE);
        StretchBlt(DC, 0, 0, Client.right, Client.bottom, memory.get(), 0, 0, size.cx, size.cy, SRCCOPY);
        return;
    }
    int x = FCenter ? (Client.right - size.cx) / 2 : 0;
    int y = FCenter ? (Client.bottom - size.cy) / 2 : 0;
    BitBlt(DC, x, y, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

} // namespace vireon
