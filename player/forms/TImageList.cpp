#include "forms/TImageList.h"

namespace vireon {

TImageList::~TImageList() {
    FreeHandle();
}

void TImageList::SetHandle(HIMAGELIST Value) {
    if (FHandle.get() == Value)
        return;
    FreeHandle();
    FHandle.reset(Value);
}

// A shared list is let go of, never destroyed.
void TImageList::FreeHandle() {
    if (FShareImages)
        FHandle.release();
    FHandle.reset();
}

} // namespace vireon
