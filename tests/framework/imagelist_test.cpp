// Image lists: adding, drawing (enabled and disabled), change links, 32-bit re-creation.
#include "framework/ImgList.h"

#include "tests/framework/pixel_compare.h"

using namespace graphicstest;

namespace {

// A 16x16 fuchsia square with a red square inside.
void PaintSprite(TBitmap& bitmap)
{
    bitmap.SetSize(16, 16);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(Rect(0, 0, 16, 16));
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(4, 4, 12, 12));
}

void FillTarget(TBitmap& target, int w, int h, TColor color)
{
    target.SetSize(w, h);
    target.Canvas()->Brush()->SetColor(color);
    target.Canvas()->FillRect(Rect(0, 0, w, h));
}

TEST(ImageLists, AddDeleteClearKeepTheCount)
{
    TImageList list(16, 16);
    TBitmap sprite;
    PaintSprite(sprite);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(&sprite, nullptr), 0);
    EXPECT_EQ(list.AddMasked(&sprite, clFuchsia), 1);
    TIcon icon;
    icon.SetSize(16, 16);
    icon.LoadFromFile(DataFile(L"multi.ico"));
    EXPECT_EQ(list.AddIcon(&icon), 2);
    EXPECT_EQ(list.Count(), 3);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_THROW(list.Delete(5), EInvalidOperation);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageLists, MaskedImageLeavesItsMaskColourOut)
{
    TImageList list(16, 16);
    TBitmap sprite;
    PaintSprite(sprite);
    list.AddMasked(&sprite, clFuchsia);
    TBitmap target;
    target.SetSize(20, 20);
    list.Draw(target.Canvas(), 2, 2, 0);
    EXPECT_EQ(target.Canvas()->Pixels(3, 3), clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(8, 8), clRed);
}

TEST(ImageLists, DisabledImageIsGreyWhereItDrawsAndLeavesTheRest)
{
    TImageList list(16, 16);
    TBitmap sprite;
    PaintSprite(sprite);
    list.AddMasked(&sprite, clFuchsia);
    TBitmap target;
    target.SetSize(16, 16);
    list.Draw(target.Canvas(), 0, 0, 0, false);
    TColor inside = target.Canvas()->Pixels(8, 8);
    EXPECT_EQ(ColorRed(inside), ColorGreen(inside));
    EXPECT_EQ(ColorGreen(inside), ColorBlue(inside));
    EXPECT_NE(inside, clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);
}

TEST(ImageLists, GetBitmapAndGetIconGiveTheImageBack)
{
    TImageList list(16, 16);
    TBitmap sprite;
    PaintSprite(sprite);
    list.AddMasked(&sprite, clFuchsia);
    list.SetBkColor(clYellow);
    TBitmap back;
    list.GetBitmap(0, &back);
    EXPECT_EQ(back.Width(), 16);
    EXPECT_EQ(back.Canvas()->Pixels(8, 8), clRed);
    EXPECT_EQ(back.Canvas()->Pixels(0, 0), clYellow);
    TIcon icon;
    list.GetIcon(0, &icon);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_NE(icon.Handle(), nullptr);
}

TEST(ChangeLinks, LinkedControlsHearChangesUntilEitherSideGoes)
{
    TChangeLink link;
    int heard = 0;
    link.OnChange = [&](TObject*) { ++heard; };
    {
        TImageList list(16, 16);
        list.RegisterChanges(&link);
        EXPECT_EQ(link.Sender(), &list);
        TBitmap sprite;
        PaintSprite(sprite);
        list.Add(&sprite, nullptr);
        list.SetBkColor(clRed);
        EXPECT_EQ(heard, 2);
        {
            TChangeLink shortLived;
            list.RegisterChanges(&shortLived);
        }
        list.Clear();
        EXPECT_EQ(heard, 3);
    }
    EXPECT_EQ(link.Sender(), nullptr);
}

TEST(ImageLists, NewSizeEmptiesTheList)
{
    TImageList list(16, 16);
    TBitmap sprite;
    PaintSprite(sprite);
    list.Add(&sprite, nullptr);
    list.SetWidth(24);
    EXPECT_EQ(list.Count(), 0);
    int w = 0, h = 0;
    ImageList_GetIconSize(list.Handle(), &w, &h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 16);
}

TEST(ImageLists, SharedImagesOutliveTheList)
{
    HIMAGELIST handle;
    {
        TImageList list(16, 16);
        list.SetShareImages(true);
        TBitmap sprite;
        PaintSprite(sprite);
        list.Add(&sprite, nullptr);
        handle = list.Handle();
    }
    EXPECT_EQ(ImageList_GetImageCount(handle), 1);
    ImageList_Destroy(handle);
}

int BitsOfImages(HIMAGELIST list)
{
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(list, 0, &info))
        return 0;
    BITMAP bm{};
    GetObjectW(info.hbmImage, sizeof bm, &bm);
    return bm.bmBitsPixel;
}

// The re-creation the application does for its menu lists: images copied out, a 32-bit handle of
// the same geometry put in, images copied back.
void RecreateAs32Bit(TImageList& list)
{
    TImageList temporary(list.Width(), list.Height());
    temporary.AddImages(&list);
    UINT flags = ILC_COLOR32 | (list.Masked() ? ILC_MASK : 0);
    list.SetHandle(ImageList_Create(list.Width(), list.Height(), flags, 0, list.AllocBy()));
    ASSERT_TRUE(list.HandleAllocated());
    list.AddImages(&temporary);
}

TEST(ImageLists, RecreatedThirtyTwoBitListKeepsImagesAndDrawsAlpha)
{
    TIcon icon;
    icon.SetSize(32, 32);
    icon.LoadFromFile(DataFile(L"multi.ico"));
    ASSERT_EQ(icon.BitCount(), 32);

    TImageList list(32, 32);
    list.SetMasked(false);
    list.SetBkColor(clMenu);
    list.AddIcon(&icon);
    list.AddIcon(&icon);
    int notified = 0;
    list.OnChange = [&](TObject*) { ++notified; };
    RecreateAs32Bit(list);
    EXPECT_GT(notified, 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Width(), 32);
    EXPECT_EQ(BitsOfImages(list.Handle()), 32);

    // An icon added now keeps its soft edges: drawn over red it blends as the icon itself does.
    list.SetBkColor(clNone);
    list.AddIcon(&icon);
    TBitmap fromList;
    FillTarget(fromList, 32, 32, clRed);
    list.Draw(fromList.Canvas(), 0, 0, 2);
    TBitmap direct;
    FillTarget(direct, 32, 32, clRed);
    direct.Canvas()->Draw(0, 0, &icon);
    Difference d = Compare(PixelsOf(fromList), PixelsOf(direct));
    EXPECT_LE(d.max, 2);
}

} // namespace
