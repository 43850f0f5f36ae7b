// Skin images: the master bitmap, own bitmaps, plain bitmap names and JPEG files, read from a folder,
// from a packed file and from a stored skin, into real bitmaps the painters can address by scan line.
#include "skin/core/sSkinManager.h"

#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

#include <cstdlib>
#include <vector>

using namespace testskin;

namespace {

COLORREF PixelOf(TBitmap* bitmap, int x, int y)
{
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    const auto* row = static_cast<const std::uint8_t*>(bitmap->ScanLine(y));
    return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

// JPEG keeps a flat colour within a few steps per channel.
bool Near(COLORREF a, COLORREF b, int tolerance = 6)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Every pixel of a bitmap as a colour, top row first, whatever the bitmap's depth.
std::vector<COLORREF> AllPixels(TBitmap* bitmap)
{
    const int width = bitmap->Width(), height = bitmap->Height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> quads(static_cast<size_t>(width) * static_cast<size_t>(height));
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap->Handle(), 0, static_cast<UINT>(height), quads.data(), &bi,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    std::vector<COLORREF> out;
    for (std::uint32_t q : quads)
        out.push_back(RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF));
    return out;
}

std::vector<COLORREF> CraftedPixels(int width, int height, int bits)
{
    std::vector<COLORREF> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back(CraftedPixel(x, y, bits));
    return out;
}

class SkinImages : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        sm.SetSkinDirectory(Folder());
        sm.OnUnresolvedImage = [this](const std::wstring& section, const std::wstring& key, const std::wstring&) {
            unresolved.push_back(section + L"/" + key);
        };
    }
    const TsMaskData& Mask(const wchar_t* section, const wchar_t* key)
    {
        const int i = FindMaskIndex(&sm, FindSectionIndex(&sm, section), section, key);
        EXPECT_GE(i, 0) << testsupport::Narrow(section) << " " << testsupport::Narrow(key);
        return sm.Masks.at(static_cast<size_t>(i < 0 ? 0 : i));
    }
    void LoadFolderSkin(const std::string& options, const std::vector<PackEntry>& images)
    {
        testsupport::WriteFileBytes(PathOf(L"S\\Options.dat"), options);
        for (const PackEntry& e : images)
            testsupport::WriteFileBytes(PathOf(L"S\\" + testsupport::Widen(e.name)), e.bytes);
        sm.SetSkinName(L"S");
    }
    // Names, kinds and sizes of every mask and pattern, to compare loads from different sources.
    std::vector<std::wstring> Describe() const
    {
        std::vector<std::wstring> out;
        for (const TsMaskData& m : sm.Masks)
            out.push_back(m.ClassName + L"/" + m.PropertyName + L" " + std::to_wstring(m.ImgType) + L" " +
                          (m.Bmp ? std::to_wstring(m.Bmp->Width()) + L"x" + std::to_wstring(m.Bmp->Height())
                                 : L"master") +
                          L" " + std::to_wstring(m.WL) + L"," + std::to_wstring(m.WT));
        for (const TsPatternData& p : sm.Patterns)
            out.push_back(L"pattern " + p.ClassName + L"/" + p.PropertyName + L" " + std::to_wstring(p.Img->Width()));
        return out;
    }
    TsSkinManager sm;
    std::vector<std::wstring> unresolved;
};

TEST_F(SkinImages, MasterBitmapIsA24BitDibWithTheKeyColour)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    ASSERT_TRUE(sm.MasterBitmap);
    TBitmap* master = sm.MasterBitmap.get();
    ASSERT_EQ(master->Width(), kMasterWidth);
    ASSERT_EQ(master->Height(), kMasterHeight);
    EXPECT_EQ(master->HandleType(), bmDIB);
    EXPECT_TRUE(master->Transparent());
    EXPECT_EQ(master->TransparentColor(), clFuchsia);
    for (int y = 0; y < kMasterHeight; y += 3)
        for (int x = 0; x < kMasterWidth; x += 5)
            ASSERT_EQ(PixelOf(master, x, y), MasterPixel(x, y)) << x << "," << y;
    // The form border's corners carry the key colour, its inside the flat colour.
    EXPECT_EQ(PixelOf(master, 0, 13), kKeyColor);
    EXPECT_EQ(PixelOf(master, 29, 42), kKeyColor);
    EXPECT_EQ(PixelOf(master, 15, 28), kFormColor);
    EXPECT_TRUE(unresolved.empty());
}

TEST_F(SkinImages, OwnBitmapValueTakesCountsTypeAndThirdsOfAFrame)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    const TsMaskData& m = Mask(L"BUTTON", L"BORDERSMASK");
    ASSERT_TRUE(m.Bmp);
    EXPECT_EQ(m.Bmp->Width(), kButtonWidth);
    EXPECT_EQ(m.R.right, kButtonWidth);
    EXPECT_EQ(m.R.bottom, kButtonHeight);
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 1);
    EXPECT_EQ(m.ImgType, itisaBorder);
    EXPECT_EQ(m.WL, 10); // 90 div (3 x 3)
    EXPECT_EQ(m.WR, 10);
    EXPECT_EQ(m.WT, 6); // 40 div ((1 + 1) x 3)
    EXPECT_EQ(m.ClassName, L"BUTTON");
    EXPECT_EQ(PixelOf(m.Bmp.get(), 0, 0), kKeyColor);
    EXPECT_EQ(PixelOf(m.Bmp.get(), 45, 20), kButtonColor);
    const POINT frame = GetMaskFrameSize(&sm, FindMaskIndexNoParent(&sm, L"BUTTON", L"BORDERSMASK"));
    EXPECT_EQ(frame.x, 30);
    EXPECT_EQ(frame.y, 20);
}

TEST_F(SkinImages, OwnBitmapValueWithWidthsAndOddCounts)
{
    LoadFolderSkin("[A]\nWIDE=!B.BMP!2!0!1!1!2!3!4\nZERO=!B.BMP!0!-1!7\nLOWER=!b.bmp!1!0!0\n",
                   {{"B.BMP", FlatBitmapFile(30, 12, RGB(1, 2, 3))}});
    const TsMaskData& wide = Mask(L"A", L"WIDE");
    EXPECT_EQ(wide.ImgType, itisaTexture);
    EXPECT_EQ(wide.WL, 1);
    EXPECT_EQ(wide.WT, 2);
    EXPECT_EQ(wide.WR, 3);
    EXPECT_EQ(wide.WB, 4);
    // An own bitmap is cut in thirds and halves whatever its counts say: 30 x 12 gives 10 x 6.
    const POINT frame = GetMaskFrameSize(&sm, FindMaskIndexNoParent(&sm, L"A", L"WIDE"));
    EXPECT_EQ(frame.x, 10);
    EXPECT_EQ(frame.y, 6);
    // A count of 0 and a negative mask type divide nothing by zero; an unknown type is a border.
    const TsMaskData& zero = Mask(L"A", L"ZERO");
    EXPECT_EQ(zero.ImgType, itisaBorder);
    EXPECT_EQ(zero.WL, 10);
    EXPECT_EQ(zero.WT, 4);
    // The file name of the "!" form must be written in capitals.
    EXPECT_EQ(FindMaskIndexNoParent(&sm, L"A", L"LOWER"), -1);
    EXPECT_EQ(unresolved, std::vector<std::wstring>{L"A/LOWER"});
}

// 65536 images would wrap round to none in the mask's 16 bits, and 65535 rows to a mask type of -1.
TEST_F(SkinImages, OwnBitmapCountsBeyondSixteenBitsStopAtTheLargest)
{
    std::vector<std::wstring> clamped;
    sm.OnClampedImage = [&](const std::wstring& section, const std::wstring& key, const std::wstring&) {
        clamped.push_back(section + L"/" + key);
    };
    LoadFolderSkin("[A]\nHUGE=!B.BMP!65536!65535!0\nNONE=!B.BMP!-3!-1!2\n",
                   {{"B.BMP", FlatBitmapFile(30, 12, RGB(1, 2, 3))}});
    EXPECT_EQ(Mask(L"A", L"HUGE").ImageCount, 32767);
    EXPECT_EQ(Mask(L"A", L"HUGE").MaskType, 32766);
    EXPECT_EQ(Mask(L"A", L"NONE").ImageCount, 1);
    EXPECT_EQ(Mask(L"A", L"NONE").MaskType, 0);
    EXPECT_EQ(clamped, (std::vector<std::wstring>{L"A/HUGE", L"A/NONE"}));
}

TEST_F(SkinImages, OwnBitmapValueMissingItsTypeRaises)
{
    testsupport::WriteFileBytes(PathOf(L"S\\B.BMP"), FlatBitmapFile(30, 12, RGB(1, 2, 3)));
    testsupport::WriteFileBytes(PathOf(L"S\\Options.dat"), "[GLOBALINFO]\nX=1\n[A]\nM=!B.BMP!3!1\n");
    EXPECT_THROW(sm.SetSkinName(L"S"), EConvertError);
    EXPECT_TRUE(sm.Masks.empty());
    EXPECT_EQ(sm.ConstData.GlobalInfo, -1);
}

TEST_F(SkinImages, PlainBitmapNameIsThreeStatesOverAMaskRow)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    const TsMaskData& m = Mask(L"EDIT", L"BORDERSMASK");
    ASSERT_TRUE(m.Bmp);
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 1);
    EXPECT_EQ(m.WL, kEditWidth / 9);
    EXPECT_EQ(m.WT, kEditHeight / 6);
    EXPECT_EQ(m.R.right, kEditWidth);
    EXPECT_EQ(PixelOf(m.Bmp.get(), 10, 10), kEditColor);
}

TEST_F(SkinImages, JpegOfNinetyThousandPixelsStaysAPatternASmallerOneBecomesATexture)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    ASSERT_EQ(sm.Patterns.size(), 1u);
    const int p = FindPatternIndex(&sm, FindSectionIndex(&sm, L"FORM"), L"FORM", L"PATTERN");
    ASSERT_EQ(p, 0);
    EXPECT_EQ(sm.Patterns[0].Img->Width(), 300);
    EXPECT_EQ(sm.Patterns[0].Img->Height(), 300);
    // PANEL inherits FORM's pattern through PARENTCLASS.
    EXPECT_EQ(FindPatternIndex(&sm, FindSectionIndex(&sm, L"PANEL"), L"PANEL", L"PATTERN"), 0);

    const int t = FindTextureIndex(&sm, FindSectionIndex(&sm, L"BUTTON"), L"BUTTON", L"HOTPATTERN");
    ASSERT_GE(t, 0);
    const TsMaskData& texture = sm.Masks[static_cast<size_t>(t)];
    ASSERT_TRUE(texture.Bmp);
    EXPECT_EQ(texture.Bmp->Width(), 299);
    EXPECT_EQ(texture.Bmp->Height(), 300);
    EXPECT_EQ(texture.ImageCount, 1);
    EXPECT_TRUE(Near(PixelOf(texture.Bmp.get(), 150, 150), kTextureColor));
    EXPECT_EQ(FindPatternIndex(&sm, FindSectionIndex(&sm, L"BUTTON"), L"BUTTON", L"HOTPATTERN"), -1);
}

TEST_F(SkinImages, FolderPackedFileAndStoredSkinGiveTheSameArrays)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    const std::vector<std::wstring> fromFolder = Describe();
    EXPECT_EQ(fromFolder.size(), 10u);

    testsupport::WriteFileBytes(PathOf(L"Packed.asz"), BuildContainer(TestSkinEntries()));
    sm.SetSkinName(L"Packed");
    EXPECT_TRUE(sm.IsPacked());
    EXPECT_EQ(Describe(), fromFolder);
    EXPECT_EQ(PixelOf(sm.MasterBitmap.get(), 15, 28), kFormColor);

    const std::string packed = BuildContainer(TestSkinEntries());
    TsStoredSkin* stored = sm.InternalSkins()->Add();
    stored->SetName(L"Stored");
    stored->ReadData(std::vector<std::uint8_t>(packed.begin(), packed.end()));
    sm.SetSkinName(L"Stored");
    EXPECT_TRUE(sm.IsPacked());
    EXPECT_EQ(Describe(), fromFolder);
    EXPECT_TRUE(unresolved.empty());
}

TEST_F(SkinImages, EveryLayoutOfABitmapEntryGivesThePixelsOfItsFile)
{
    const std::vector<PackEntry> images = {
        {"B24.BMP", CraftedBitmapFile(13, 7, 24, false)},   {"B32.BMP", CraftedBitmapFile(13, 7, 32, false)},
        {"DOWN.BMP", CraftedBitmapFile(13, 7, 24, true)},   {"GREY.BMP", CraftedBitmapFile(13, 7, 8, false)},
        {"TAIL.BMP", CraftedBitmapFile(13, 7, 24, false, std::string(16, 'x'))},
    };
    std::string options = "[GLOBALINFO]\r\nVERSION=6\r\n[A]\r\n";
    // Textures keep the depth of their files.
    for (const PackEntry& e : images)
        options += e.name.substr(0, e.name.size() - 4) + "=!" + e.name + "!1!0!1\r\n";
    LoadFolderSkin(options, images);
    struct Picture {
        TPixelFormat format;
        std::vector<COLORREF> pixels;
    };
    std::vector<Picture> fromFiles;
    for (const PackEntry& e : images) {
        const std::wstring key = testsupport::Widen(e.name.substr(0, e.name.size() - 4));
        TBitmap* bitmap = Mask(L"A", key.c_str()).Bmp.get();
        ASSERT_NE(bitmap, nullptr) << e.name;
        fromFiles.push_back({bitmap->PixelFormat(), AllPixels(bitmap)});
        const int bits = e.name == "GREY.BMP" ? 8 : 24;
        EXPECT_EQ(fromFiles.back().pixels, CraftedPixels(13, 7, bits)) << e.name;
    }
    EXPECT_EQ(fromFiles[1].format, pf32bit);
    EXPECT_EQ(fromFiles[3].format, pf8bit);

    std::vector<PackEntry> entries{{"Options.dat", options}};
    entries.insert(entries.end(), images.begin(), images.end());
    testsupport::WriteFileBytes(PathOf(L"Packed.asz"), BuildContainer(entries));
    sm.SetSkinName(L"Packed");
    ASSERT_TRUE(sm.IsPacked());
    for (size_t i = 0; i < images.size(); ++i) {
        const std::wstring key = testsupport::Widen(images[i].name.substr(0, images[i].name.size() - 4));
        TBitmap* bitmap = Mask(L"A", key.c_str()).Bmp.get();
        ASSERT_NE(bitmap, nullptr) << images[i].name;
        EXPECT_EQ(bitmap->PixelFormat(), fromFiles[i].format) << images[i].name;
        EXPECT_EQ(AllPixels(bitmap), fromFiles[i].pixels) << images[i].name;
    }
    EXPECT_TRUE(unresolved.empty());
}

TEST_F(SkinImages, ABitmapEntryNamedFourTimesGivesEachItsOwnPicture)
{
    const std::string options = "[GLOBALINFO]\r\nMASTERBITMAP=B24.BMP\r\n[A]\r\nX=!B24.BMP!1!0!1\r\n"
                                "Y=!B24.BMP!3!1!0\r\n[B]\r\nZ=b24.bmp\r\n";
    const std::string bitmap = CraftedBitmapFile(13, 7, 24, false);
    testsupport::WriteFileBytes(PathOf(L"Packed.asz"), BuildContainer({{"Options.dat", options}, {"B24.BMP", bitmap}}));
    sm.SetSkinName(L"Packed");
    ASSERT_TRUE(sm.IsPacked());
    TBitmap* x = Mask(L"A", L"X").Bmp.get();
    TBitmap* y = Mask(L"A", L"Y").Bmp.get();
    TBitmap* z = Mask(L"B", L"Z").Bmp.get();
    ASSERT_TRUE(x && y && z && sm.MasterBitmap);
    const std::vector<COLORREF> expected = CraftedPixels(13, 7, 24);
    for (TBitmap* b : {x, y, z, sm.MasterBitmap.get()})
        EXPECT_EQ(AllPixels(b), expected);
    EXPECT_NE(x->Handle(), y->Handle());
    EXPECT_NE(y->Handle(), z->Handle());
    EXPECT_NE(z->Handle(), sm.MasterBitmap->Handle());
    // A change to one picture is its own.
    static_cast<std::uint8_t*>(x->ScanLine(0))[0] ^= 0xFF;
    for (TBitmap* b : {y, z, sm.MasterBitmap.get()})
        EXPECT_EQ(AllPixels(b), expected);
    EXPECT_TRUE(unresolved.empty());
}

TEST_F(SkinImages, BitmapEntryCutShortInItsPixelsEndsTheLoadWithNothingHalfBuilt)
{
    const PackEntry options{"Options.dat", "[GLOBALINFO]\r\nVERSION=6\r\n[A]\r\nX=!BIG.BMP!1!0!1\r\n"};
    const std::string whole = BuildContainer({options, {"BIG.BMP", CraftedBitmapFile(200, 150, 24, false)}});
    const size_t start = BuildContainer({options}).size() + 4 + 7 + 4;
    testsupport::WriteFileBytes(PathOf(L"Cut.asz"), whole.substr(0, start + (whole.size() - start) / 2));
    EXPECT_THROW(sm.SetSkinName(L"Cut"), EReadError);
    EXPECT_TRUE(sm.Masks.empty());
    EXPECT_TRUE(sm.Sections.empty());
    EXPECT_FALSE(sm.MasterBitmap);
}

TEST_F(SkinImages, BitmapEntryWhoseHeaderPromisesMoreRowsFailsAsItsFileDoes)
{
    std::string bitmap = CraftedBitmapFile(13, 7, 24, false);
    bitmap[22] = 9; // nine rows promised, seven given
    const std::string options = "[GLOBALINFO]\r\nVERSION=6\r\n[A]\r\nX=!B24.BMP!1!0!1\r\n";
    EXPECT_THROW(LoadFolderSkin(options, {{"B24.BMP", bitmap}}), EInvalidGraphic);
    testsupport::WriteFileBytes(PathOf(L"Packed.asz"), BuildContainer({{"Options.dat", options}, {"B24.BMP", bitmap}}));
    EXPECT_THROW(sm.SetSkinName(L"Packed"), EInvalidGraphic);
    EXPECT_TRUE(sm.Masks.empty());
    EXPECT_FALSE(sm.MasterBitmap);
}

TEST_F(SkinImages, MissingImagesAreSkippedAndReported)
{
    // Counts that are missing or no numbers do not matter when there is no picture to count.
    LoadFolderSkin("[GLOBALINFO]\nMASTERBITMAP=NONE.BMP\n[A]\nB=!GONE.BMP!3!1!0\nC=gone.bmp\nD=gone.jpg\n"
                   "E=@0000@0000@0010@0010@1@0\nF=!GONE.BMP\nG=!GONE.BMP!three!one!x\n",
                   {});
    ASSERT_TRUE(sm.MasterBitmap);
    EXPECT_TRUE(sm.MasterBitmap->Empty());
    ASSERT_EQ(sm.Masks.size(), 1u);
    EXPECT_EQ(sm.Masks[0].PropertyName, L"E");
    EXPECT_TRUE(sm.Patterns.empty());
    const std::vector<std::wstring> expected{L"GLOBALINFO/MASTERBITMAP", L"A/B", L"A/C", L"A/F", L"A/G", L"A/D"};
    EXPECT_EQ(unresolved, expected);
}

TEST_F(SkinImages, DamagedImageEndsTheLoadWithNothingHalfBuilt)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    std::vector<PackEntry> entries = TestSkinEntries();
    entries[2].bytes = "BM not really a bitmap";
    testsupport::WriteFileBytes(PathOf(L"Broken.asz"), BuildContainer(entries));
    EXPECT_THROW(sm.SetSkinName(L"Broken"), EInvalidGraphic);
    EXPECT_TRUE(sm.Masks.empty());
    EXPECT_TRUE(sm.Patterns.empty());
    EXPECT_TRUE(sm.Sections.empty());
    EXPECT_FALSE(sm.MasterBitmap);
    EXPECT_EQ(sm.ConstData.GlobalInfo, -1);
    EXPECT_EQ(sm.ConstData.ScrollBtnBorder[0], -1);
    EXPECT_EQ(sm.SkinInfo(), L"N/A");
}

TEST_F(SkinImages, DamagedJpegEndsTheLoad)
{
    std::vector<PackEntry> entries = TestSkinEntries();
    entries[4].bytes = entries[4].bytes.substr(0, 40);
    testsupport::WriteFileBytes(PathOf(L"Broken.asz"), BuildContainer(entries));
    EXPECT_THROW(sm.SetSkinName(L"Broken"), EJPEG);
    EXPECT_TRUE(sm.Masks.empty());
    EXPECT_TRUE(sm.Patterns.empty());
}

TEST_F(SkinImages, CommonSectionsAddBitmapFilesAndJpegPatterns)
{
    TStringList common;
    common.SetText(L"[EXTRA]\nBORDERSMASK=EXTRA.BMP\nPATTERN=TINY.JPG\nOLD=#o (0,0,9,9) (1,0)\n"
                   L"[GLOBALINFO]\nIGNORED=EXTRA.BMP\n");
    sm.CommonSections()->Assign(&common);
    LoadFolderSkin("[GLOBALINFO]\nVERSION=1\n", {{"EXTRA.BMP", FlatBitmapFile(18, 12, RGB(9, 9, 9))},
                                                {"TINY.JPG", FlatJpegFile(10, 10, RGB(200, 10, 10))}});
    const int border = FindMaskIndexNoParent(&sm, L"EXTRA", L"BORDERSMASK");
    ASSERT_GE(border, 0);
    EXPECT_EQ(sm.Masks[static_cast<size_t>(border)].Bmp->Width(), 18);
    EXPECT_EQ(sm.Masks[static_cast<size_t>(border)].ImageCount, 3);
    EXPECT_GE(FindMaskIndexNoParent(&sm, L"EXTRA", L"OLD"), 0);
    EXPECT_EQ(FindMaskIndexNoParent(&sm, L"GLOBALINFO", L"IGNORED"), -1);
    // A JPEG of the common text stays a pattern whatever its size.
    ASSERT_EQ(sm.Patterns.size(), 1u);
    EXPECT_EQ(sm.Patterns[0].ClassName, L"EXTRA");
    EXPECT_EQ(sm.Patterns[0].Img->Width(), 10);
    EXPECT_GE(FindSectionIndex(&sm, L"EXTRA"), 0);
}

} // namespace
