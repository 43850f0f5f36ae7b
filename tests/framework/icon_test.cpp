// Icons: the best of several images for a requested size, drawing against ImageMagick, saving.
#include "framework/Graphics.h"

#include "tests/framework/pixel_compare.h"

#include <cstring>

using namespace graphicstest;
using testsupport::LoadPpm;
using testsupport::Pixels24;

namespace {

Pixels24 DrawnOnWhite(TIcon& icon)
{
    TBitmap target;
    target.SetSize(icon.Width(), icon.Height());
    target.Canvas()->Draw(0, 0, &icon);
    return PixelsOf(target);
}

struct FitCase {
    int requested;
    int width;
    int bits;
    int image; // index of the chosen image in multi.ico
};

class IconFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(IconFit, ChoosesTheNearestSizeAndTheDeepestImage)
{
    TIcon icon;
    icon.SetSize(GetParam().requested, GetParam().requested);
    icon.LoadFromFile(DataFile(L"multi.ico"));
    EXPECT_EQ(icon.ImageCount(), 5);
    EXPECT_EQ(icon.Width(), GetParam().width);
    EXPECT_EQ(icon.Height(), GetParam().width);
    EXPECT_EQ(icon.BitCount(), GetParam().bits);
    ASSERT_NE(icon.Handle(), nullptr);

    Pixels24 expected = LoadPpm(DataFile(L"multi_" + std::to_wstring(GetParam().image) + L".ppm"));
    Pixels24 actual = DrawnOnWhite(icon);
    Difference d = Compare(actual, expected);
    if (d.max > 2)
        KeepForInspection(actual, "icon" + std::to_string(GetParam().requested));
    EXPECT_LE(d.max, 2);
}

INSTANTIATE_TEST_SUITE_P(MultiSizeIcon, IconFit,
                         ::testing::Values(FitCase{16, 16, 32, 0}, FitCase{24, 24, 32, 1}, FitCase{32, 32, 32, 2},
                                           FitCase{48, 48, 32, 3}, FitCase{20, 24, 32, 1}, FitCase{64, 48, 32, 3},
                                           FitCase{8, 16, 32, 0}));

TEST(Icons, PngCompressedImageIsChosenForALargeRequest)
{
    TIcon icon;
    icon.SetSize(256, 256);
    icon.LoadFromFile(DataFile(L"png256.ico"));
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.Width(), 256);
    EXPECT_EQ(icon.BitCount(), 32);
    EXPECT_NE(icon.Handle(), nullptr);
    icon.SetSize(16, 16);
    EXPECT_EQ(icon.Width(), 16);
}

TEST(Icons, ThirtyTwoBitImageStoredWithoutItsMaskDrawsByItsAlpha)
{
    std::string multi = testsupport::ReadFileBytes(DataFile(L"multi.ico"));
    const int kLarge = 3; // the 48-pixel 32-bit image
    std::uint32_t size, offset;
    std::memcpy(&size, multi.data() + 6 + kLarge * 16 + 8, 4);
    std::memcpy(&offset, multi.data() + 6 + kLarge * 16 + 12, 4);
    // A file of that image alone, its mask rows (48 rows of 8 bytes) left out.
    std::uint32_t withoutMask = size - 48 * 8;
    std::string ico = multi.substr(0, 6) + multi.substr(6 + kLarge * 16, 16) + multi.substr(offset, withoutMask);
    ico[4] = 1;
    ico[5] = 0;
    std::uint32_t newOffset = 6 + 16;
    std::memcpy(ico.data() + 6 + 8, &withoutMask, 4);
    std::memcpy(ico.data() + 6 + 12, &newOffset, 4);

    TMemoryStream stream;
    stream.WriteBuffer(ico.data(), static_cast<std::int32_t>(ico.size()));
    stream.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(&stream);
    ASSERT_EQ(icon.Width(), 48);
    Difference d = Compare(DrawnOnWhite(icon), LoadPpm(DataFile(L"multi_3.ppm")));
    EXPECT_LE(d.max, 2);
}

TEST(Icons, TruncatedPngImageIsRefused)
{
    std::string ico = testsupport::ReadFileBytes(DataFile(L"png256.ico"));
    // The 256-pixel image is the second; cut its bytes to half.
    std::uint32_t size;
    std::memcpy(&size, ico.data() + 6 + 16 + 8, 4);
    size /= 2;
    std::memcpy(ico.data() + 6 + 16 + 8, &size, 4);
    TMemoryStream stream;
    stream.WriteBuffer(ico.data(), static_cast<std::int32_t>(ico.size()));
    stream.SetPosition(0);
    TIcon icon;
    icon.SetSize(256, 256);
    EXPECT_THROW(icon.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(icon.Empty());
}

TEST(Icons, ChangingTheSizeChoosesAgain)
{
    TIcon icon;
    icon.SetSize(16, 16);
    icon.LoadFromFile(DataFile(L"multi.ico"));
    EXPECT_EQ(icon.Width(), 16);
    icon.SetSize(48, 48);
    EXPECT_EQ(icon.Width(), 48);
}

TEST(Icons, SaveWritesTheWholeFileBack)
{
    TIcon icon;
    icon.LoadFromFile(DataFile(L"multi.ico"));
    TMemoryStream stream;
    icon.SaveToStream(&stream);
    EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(testsupport::ReadFileBytes(DataFile(L"multi.ico")).size()));
    stream.SetPosition(0);
    TIcon again;
    again.LoadFromStream(&stream);
    EXPECT_EQ(again.ImageCount(), 5);
}

TEST(Icons, HandleOnlyIconSavesAsAnIcoFile)
{
    TIcon source;
    source.SetSize(32, 32);
    source.LoadFromFile(DataFile(L"multi.ico"));
    TIcon icon;
    icon.SetHandle(CopyIcon(source.Handle()));
    EXPECT_EQ(icon.Width(), 32);
    TMemoryStream stream;
    icon.SaveToStream(&stream);
    stream.SetPosition(0);
    TIcon again;
    again.SetSize(32, 32);
    again.LoadFromStream(&stream);
    EXPECT_EQ(again.Width(), 32);
    Difference d = Compare(DrawnOnWhite(again), DrawnOnWhite(source));
    EXPECT_LE(d.max, 2);
}

TEST(Icons, AssignCopiesAndOwnsItsOwnHandle)
{
    TIcon a;
    a.LoadFromFile(DataFile(L"multi.ico"));
    TIcon b;
    b.Assign(&a);
    EXPECT_NE(b.Handle(), a.Handle());
    EXPECT_EQ(b.Width(), a.Width());
    HICON released = a.ReleaseHandle();
    EXPECT_TRUE(a.Empty());
    DestroyIcon(released);
    EXPECT_FALSE(b.Empty());
}

void ExpectInvalid(const std::string& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    TIcon icon;
    EXPECT_THROW(icon.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(icon.Empty());
}

TEST(Icons, DamagedFilesRaiseInvalidGraphic)
{
    std::string good = testsupport::ReadFileBytes(DataFile(L"multi.ico"));
    ExpectInvalid("");
    ExpectInvalid("garbage bytes, not an icon");
    ExpectInvalid(good.substr(0, 30));
    ExpectInvalid(good.substr(0, good.size() / 2));
    std::string zeroCount = good;
    zeroCount[4] = zeroCount[5] = 0;
    ExpectInvalid(zeroCount);
}

// The directory entry of image `index`: its size in bytes at +8, its offset at +12.
std::uint32_t EntryField(const std::string& ico, int index, int field)
{
    std::uint32_t v;
    std::memcpy(&v, ico.data() + 6 + index * 16 + field, 4);
    return v;
}

void SetEntryField(std::string& ico, int index, int field, std::uint32_t value)
{
    std::memcpy(ico.data() + 6 + index * 16 + field, &value, 4);
}

void ExpectInvalidAt48(const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    TIcon icon;
    icon.SetSize(48, 48);
    EXPECT_THROW(icon.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(icon.Empty());
}

TEST(Icons, ImageLargerThanItsBytesIsRefused)
{
    std::string good = testsupport::ReadFileBytes(DataFile(L"multi.ico"));
    const int kLarge = 3; // the 48-pixel image
    std::uint32_t offset = EntryField(good, kLarge, 12);

    // Its header claims far more pixels than the file holds.
    std::string huge = good;
    std::int32_t width = 4000, height = 8000;
    std::memcpy(huge.data() + offset + 4, &width, 4);
    std::memcpy(huge.data() + offset + 8, &height, 4);
    ExpectInvalidAt48(huge);

    // Its directory entry gives it fewer bytes than its pixels need.
    std::string shortEntry = good;
    SetEntryField(shortEntry, kLarge, 8, 200);
    ExpectInvalidAt48(shortEntry);

    // A depth no icon has.
    std::string oddDepth = good;
    std::uint16_t bits = 7;
    std::memcpy(oddDepth.data() + offset + 14, &bits, 2);
    std::memset(oddDepth.data() + 6 + kLarge * 16 + 6, 0, 2); // the entry's own depth word
    ExpectInvalidAt48(oddDepth);
}

} // namespace
