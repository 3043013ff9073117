// An image list component; it can be bound to a shared list (the system's file icons) that it
// must never destroy.
#pragma once

#include "common/Win32Handles.h"
#include "forms/TComponent.h"

#include <commctrl.h>

#include <functional>

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

    // The bound list; one bound by SetHandleSource is fetched here, the first time it is asked for.
    HIMAGELIST Handle() const;
    // Binds the list; a list not shared is destroyed with the component or when replaced.
    void SetHandle(HIMAGELIST Value);
    // Binds the list that Source gives, fetched when the handle is first asked for: a list that is
    // costly to come by (the system's file icons) costs nothing until something uses it.
    void SetHandleSource(std::function<HIMAGELIST()> Source);
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }
    int Count() const;

private:
    void FreeHandle();

    mutable UniqueImageList FHandle;
    mutable std::function<HIMAGELIST()> FSource;
    bool FShareImages = false;
};

} // namespace vireon
