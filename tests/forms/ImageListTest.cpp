// The image list component: a list bound from a source is fetched once, on first use, and a
// shared list outlives the component.
#include "forms/TImageList.h"

#include <gtest/gtest.h>

using namespace vireon;

namespace {

// A list of one 16 x 16 image, made by the test and destroyed by it.
HIMAGELIST ListOfOne() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

} // namespace

TEST(ImageList, ASourceIsAskedOnceWhenTheHandleIsFirstUsed) {
    HIMAGELIST list = ListOfOne();
    int asked = 0;
    {
        TImageList images;
        images.SetShareImages(true);
        images.SetHandleSource([&] {
            ++asked;
            return list;
        });
        EXPECT_EQ(0, asked) << "nothing is fetched while nobody uses the list";
        EXPECT_EQ(list, images.Handle());
        EXPECT_EQ(1, images.Count());
        EXPECT_EQ(list, images.Handle());
        EXPECT_EQ(1, asked);
    }
    // Shared: the component let go of the list without destroying it.
    EXPECT_EQ(1, ImageList_GetImageCount(list));
    ImageList_Destroy(list);
}

TEST(ImageList, AHandleSetDirectlyReplacesASourceNotYetAsked) {
    HIMAGELIST list = ListOfOne();
    int asked = 0;
    TImageList images;
    images.SetHandleSource([&] {
        ++asked;
        return static_cast<HIMAGELIST>(nullptr);
    });
    images.SetHandle(list);
    EXPECT_EQ(list, images.Handle());
    EXPECT_EQ(0, asked);
}
