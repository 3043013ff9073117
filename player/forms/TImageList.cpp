#include "forms/TImageList.h"

namespace vireon {

TImageList::~TImageList() {
    FreeHandle();
}

void TImageList::SetHandle(HIMAGELIST Value) {
    if (FHandle == Value)
        return;
    FreeHandle();
    FHandle = Value;
}

void TImageList::FreeHandle() {
    if (FHandle && !FShareImages)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

} // namespace vireon
