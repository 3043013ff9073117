// An image control showing a bitmap it owns.
#pragma once

#include "forms/TCustomControl.h"

#include <string>

namespace vireon {

class TImage : public TCustomControl {
public:
    explicit TImage(TComponent* AOwner = nullptr);
    ~TImage() override;

    HBITMAP Bitmap() const { return FBitmap.get(); }
    // Takes ownership of the bitmap (null clears the picture).
    void SetBitmap(HBITMAP Value);
    // Loads a .bmp file; throws when it cannot be read.
    void LoadFromFile(const std::string& FileName);
    SIZE PictureSize() const;

    // Sized by its picture.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);

protected:
    void Paint(HDC DC, const RECT& Client) override;

private:
    void PictureChanged();

    UniqueBitmap FBitmap;
    bool FAutoSize = false;
    bool FStretch = false;
    bool FCenter = false;
};

} // namespace vireon
