#include "forms/TImageList.h"

#include <utility>

namespace vireon {

TImageList::~TImageList() {
    FreeHandle();
}

HIMAGELIST TImageList::Handle() const {
    if (FSource)
        FHandle.reset(std::exchange(FSource, nullptr)());
    return FHandle.get();
}

void TImageList::SetHandle(HIMAGELIST Value) {
    FSource = nullptr;
    if (FHandle.get() == Value)
        return;
    FreeHandle();
    FHandle.reset(Value);
}

void TImageList::SetHandleSource(std::function<HIMAGELIST()> Source) {
    FreeHandle();
    FSource = std::move(Source);
}

int TImageList::Count() const {
    HIMAGELIST list = Handle();
    return list ? ImageList_GetImageCount(list) : 0;
}

// A shared list is let go of, never destroyed.
void TImageList::FreeHandle() {
    if (FShareImages)
        FHandle.release();
    FHandle.reset();
}

} // namespace vireon
