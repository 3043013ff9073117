// An image list component; it can be bound to a shared list (the system's file icons) that it
// must never destroy.
#pragma once

#include "common/Win32Handles.h"
#include "forms/TComponent.h"

#include <commctrl.h>

namespace vireon {

struct ImageListTraits {
    using pointer = HIMAGELIST;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<ImageListTraits>;

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TImageList() override;

    HIMAGELIST Handle() const { return FHandle.get(); }
    // Binds the list; a list not shared is destroyed with the component or when replaced.
    void SetHandle(HIMAGELIST Value);
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }
    int Count() const { return FHandle ? ImageList_GetImageCount(FHandle.get()) : 0; }

private:
    void FreeHandle();

    UniqueImageList FHandle;
    bool FShareImages = false;
};

} // namespace vireon
