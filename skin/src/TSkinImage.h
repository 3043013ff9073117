// The engine's image object: a premultiplied 32-bit image to load, fill, blend and draw.
#pragma once

#include "common/ComObject.h"
#include "Pixmap.h"
#include "skin/SkinInterfaces.h"

namespace vireon::skin {

class TSkinImage : public TComObject<ISkinImage> {
public:
    static Microsoft::WRL::ComPtr<TSkinImage> Create();

    void CreateImage(int width, int height) override;
    void LoadFromFile(const std::wstring& path) override;
    SIZE GetSize() override;
    void FillRect(const RECT& rect, DWORD colour) override;
    void BlendImage(const RECT& rect, POINT origin, ISkinImage* source) override;
    void DrawTo(HDC dc, const RECT& rect) override;

    const TPixmap& Pixels() const { return pixels_; }

private:
    TPixmap pixels_;
};

// Draws a premultiplied pixmap region onto a device context, blending by its alpha.
void DrawPixmap(HDC dc, const RECT& target, const TPixmap& pixmap, const RECT& source, bool blend);

} // namespace vireon::skin
