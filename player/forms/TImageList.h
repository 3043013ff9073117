// An image list component; it can be bound to a shared list (the system's file icons) that it
// must never destroy.
#pragma once

#include "forms/TComponent.h"

#include <commctrl.h>

namespace vireon {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TImageList() override;

    HIMAGELIST Handle() const { return FHandle; }
    // Binds the list; a list not shared is destroyed with the component or when replaced.
    void SetHandle(HIMAGELIST Value);
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }
    int Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

private:
    void FreeHandle();

    HIMAGELIST FHandle = nullptr;
    bool FShareImages = false;
};

} // namespace vireon
