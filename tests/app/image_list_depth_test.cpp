// Rebuilding image lists in 32-bit colour: images, order, size and mask kept, and the icons' alpha
// channel still blends when drawn.
#include "app/image_list_depth.h"

#include "framework/System.h"
#include "tests/support/test_support.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct ListDeleter {
    void operator()(_IMAGELIST* list) const { ImageList_Destroy(list); }
};
using ImageListPtr = std::unique_ptr<_IMAGELIST, ListDeleter>;

// A 16 x 16 icon of one colour at one alpha, with an all-opaque mask.
HICON MakeIcon(COLORREF colour, std::uint8_t alpha)
{
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = 16;
    header.bV5Height = -16;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colourBitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                            nullptr, 0);
    ReleaseDC(nullptr, screen);
    // Icons keep straight, not premultiplied, colour beside their alpha.
    const std::uint32_t pixel = (std::uint32_t(alpha) << 24) | (std::uint32_t(GetRValue(colour)) << 16) |
                                (std::uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
    for (int i = 0; i < 256; ++i)
        static_cast<std::uint32_t*>(bits)[i] = pixel;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colourBitmap);
    return icon;
}

void AddIcon(HIMAGELIST list, COLORREF colour, std::uint8_t alpha)
{
    HICON icon = MakeIcon(colour, alpha);
    ASSERT_GE(ImageList_AddIcon(list, icon), 0);
    DestroyIcon(icon);
}

// Draws one image over white and reads the pixel in its middle.
COLORREF DrawnOverWhite(HIMAGELIST list, int index)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::memset(bits, 0xFF, 16 * 16 * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    const std::uint32_t pixel = static_cast<std::uint32_t*>(bits)[8 * 16 + 8];
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int BitsPerPixel(HIMAGELIST list)
{
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(list, 0, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmImage, sizeof(bitmap), &bitmap);
    return bitmap.bmBitsPixel;
}

bool HasMask(HIMAGELIST list)
{
    IMAGEINFO info{};
    return ImageList_GetImageInfo(list, 0, &info) && info.hbmMask != nullptr;
}

} // namespace

TEST(ImageListDepth, ImagesKeepTheirOrderSizeAndCount)
{
    ImageListPtr source(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    AddIcon(source.get(), RGB(255, 0, 0), 255);
    AddIcon(source.get(), RGB(0, 0, 255), 255);
    ImageListPtr converted(ConvertTo32BitImageList(source.get(), true));
    ASSERT_TRUE(converted);
    EXPECT_EQ(ImageList_GetImageCount(converted.get()), 2);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(converted.get(), &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(BitsPerPixel(converted.get()), 32);
    EXPECT_EQ(DrawnOverWhite(converted.get(), 0), RGB(255, 0, 0));
    EXPECT_EQ(DrawnOverWhite(converted.get(), 1), RGB(0, 0, 255));
    // The old list is the owner's: still whole.
    EXPECT_EQ(ImageList_GetImageCount(source.get()), 2);
}

TEST(ImageListDepth, TheMaskIsKeptOnlyForMaskedLists)
{
    ImageListPtr masked(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    AddIcon(masked.get(), RGB(0, 128, 0), 255);
    ImageListPtr unmasked(ImageList_Create(16, 16, ILC_COLOR24, 0, 4));
    AddIcon(unmasked.get(), RGB(0, 128, 0), 255);
    ImageListPtr fromMasked(ConvertTo32BitImageList(masked.get(), true));
    ImageListPtr fromUnmasked(ConvertTo32BitImageList(unmasked.get(), false));
    EXPECT_TRUE(HasMask(fromMasked.get()));
    EXPECT_FALSE(HasMask(fromUnmasked.get()));
}

TEST(ImageListDepth, HalfTransparentIconsStillBlendAfterConversion)
{
    ImageListPtr source(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
    AddIcon(source.get(), RGB(255, 0, 0), 128);
    ImageListPtr converted(ConvertTo32BitImageList(source.get(), true));
    const COLORREF drawn = DrawnOverWhite(converted.get(), 0);
    EXPECT_EQ(GetRValue(drawn), 255);
    EXPECT_NEAR(GetGValue(drawn), 127, 3);
    EXPECT_NEAR(GetBValue(drawn), 127, 3);
}

TEST(ImageListDepth, AnEmptyListStaysEmptyAndNoListGivesNone)
{
    ImageListPtr source(ImageList_Create(24, 24, ILC_COLOR24, 0, 4));
    ImageListPtr converted(ConvertTo32BitImageList(source.get(), false));
    ASSERT_TRUE(converted);
    EXPECT_EQ(ImageList_GetImageCount(converted.get()), 0);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(converted.get(), &width, &height);
    EXPECT_EQ(width, 24);
    EXPECT_EQ(ConvertTo32BitImageList(nullptr, false), nullptr);
}
