// JPEG decoding against ImageMagick's decode, and damaged data that must fail cleanly.
#include "framework/Jpeg.h"

#include "tests/framework/pixel_compare.h"

#include <cstring>

using namespace graphicstest;
using testsupport::LoadPpm;
using testsupport::Pixels24;

namespace {

Pixels24 DecodedPixels(TJPEGImage& jpeg)
{
    TBitmap bitmap;
    bitmap.Assign(&jpeg);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    return PixelsOf(bitmap);
}

class JpegSamples : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(JpegSamples, DecodeMatchesImageMagickWithinRounding)
{
    std::wstring name = GetParam();
    TJPEGImage jpeg;
    jpeg.LoadFromFile(DataFile(name + L".jpg"));
    Pixels24 expected = LoadPpm(DataFile(name + L".ppm"));
    EXPECT_EQ(jpeg.Width(), expected.width);
    EXPECT_EQ(jpeg.Height(), expected.height);
    Pixels24 actual = DecodedPixels(jpeg);
    Difference d = Compare(actual, expected);
    if (d.max > 3)
        KeepForInspection(actual, testsupport::Narrow(name));
    // Both sides run libjpeg; only the colour conversion's rounding may differ.
    EXPECT_LE(d.max, 3) << testsupport::Narrow(name);
    EXPECT_LT(d.mean, 0.5) << testsupport::Narrow(name);
}

INSTANTIATE_TEST_SUITE_P(LibraryAndImageMagickFiles, JpegSamples,
                         ::testing::Values(L"testorig", L"testimgint", L"testimgari", L"im_baseline",
                                           L"im_progressive", L"im_gray", L"im_cmyk", L"im_444"));

TEST(JpegImage, GreyFileIsMarkedGrayscaleAndDrawsInGrey)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(DataFile(L"im_gray.jpg"));
    EXPECT_TRUE(jpeg.Grayscale());
    Pixels24 p = DecodedPixels(jpeg);
    EXPECT_EQ(p.bgr[300], p.bgr[301]);
    EXPECT_EQ(p.bgr[301], p.bgr[302]);
}

std::string Bytes(const wchar_t* name) { return testsupport::ReadFileBytes(DataFile(name)); }

void LoadBytes(TJPEGImage& jpeg, const std::string& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    jpeg.LoadFromStream(&stream);
}

TEST(JpegDamage, TruncatedFileRaisesEJpeg)
{
    std::string good = Bytes(L"testorig.jpg");
    for (std::size_t keep : {good.size() - 2, good.size() * 3 / 4, good.size() / 2, std::size_t{700}, std::size_t{20}}) {
        TJPEGImage jpeg;
        EXPECT_THROW(LoadBytes(jpeg, good.substr(0, keep)), EJPEG) << keep;
    }
}

TEST(JpegDamage, GarbageAndEmptyDataRaiseEJpegWithAMessage)
{
    TJPEGImage jpeg;
    try {
        LoadBytes(jpeg, "this is not a picture");
        FAIL() << "no exception";
    } catch (const EJPEG& e) {
        EXPECT_NE(e.Message().find(L"JPEG"), std::wstring::npos);
        EXPECT_GT(e.Message().size(), 12u);
    }
    EXPECT_THROW(LoadBytes(jpeg, ""), EJPEG);
    EXPECT_THROW(LoadBytes(jpeg, "\xFF\xD8"), EJPEG);
    EXPECT_TRUE(jpeg.Empty());
}

TEST(JpegDamage, HugeDeclaredSizeIsRefusedBeforeDecoding)
{
    std::string bytes = Bytes(L"testorig.jpg");
    // The frame header (SOF0): marker, length, precision, then height and width, big-endian.
    std::size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    bytes[sof + 5] = bytes[sof + 6] = '\xFF';
    bytes[sof + 7] = bytes[sof + 8] = '\xF0';
    TJPEGImage jpeg;
    EXPECT_THROW(LoadBytes(jpeg, bytes), EJPEG);
}

TEST(JpegDamage, TwelveBitSampleIsRefusedCleanly)
{
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromFile(DataFile(L"testorig12.jpg")), EJPEG);
}

TEST(JpegDamage, CorruptedBytesNeverCrash)
{
    std::string good = Bytes(L"testorig.jpg");
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    int refused = 0;
    for (int round = 0; round < 150; ++round) {
        std::string bad = good;
        for (int i = 0; i < 4; ++i)
            bad[next() % bad.size()] = static_cast<char>(next() & 0xFF);
        TJPEGImage jpeg;
        try {
            LoadBytes(jpeg, bad);
            EXPECT_EQ(jpeg.Width() * jpeg.Height() > 0, true);
        } catch (const EJPEG&) {
            ++refused;
            EXPECT_TRUE(jpeg.Empty());
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(JpegDamage, FailedLoadKeepsThePreviousImage)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(DataFile(L"im_baseline.jpg"));
    int width = jpeg.Width();
    EXPECT_THROW(LoadBytes(jpeg, "garbage"), EJPEG);
    EXPECT_EQ(jpeg.Width(), width);
}

TEST(JpegImage, DrawAndStretchDrawPaintThePicture)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(DataFile(L"testorig.jpg"));
    Pixels24 reference = DecodedPixels(jpeg);
    TBitmap target;
    target.SetSize(300, 200);
    target.Canvas()->Draw(10, 20, &jpeg);
    COLORREF expected = reference.At(100, 50);
    EXPECT_EQ(static_cast<COLORREF>(target.Canvas()->Pixels(110, 70)), expected);
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);

    TBitmap doubled;
    doubled.SetSize(454, 298);
    doubled.Canvas()->StretchDraw(Rect(0, 0, 454, 298), &jpeg);
    EXPECT_EQ(static_cast<COLORREF>(doubled.Canvas()->Pixels(201, 101)), expected);
}

TEST(JpegImage, SaveWritesTheFileAsLoaded)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(DataFile(L"testorig.jpg"));
    TMemoryStream stream;
    jpeg.SaveToStream(&stream);
    std::string good = Bytes(L"testorig.jpg");
    ASSERT_EQ(stream.Size(), static_cast<std::int64_t>(good.size()));
    EXPECT_EQ(std::memcmp(stream.Memory(), good.data(), good.size()), 0);
}

TEST(JpegImage, AssignFromBitmapCompressesCloseToTheOriginal)
{
    TBitmap source;
    source.LoadFromFile(DataFile(L"bmp24.bmp"));
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(95);
    jpeg.Assign(&source);
    EXPECT_EQ(jpeg.Width(), 227);
    TMemoryStream stream;
    jpeg.SaveToStream(&stream);
    stream.SetPosition(0);
    TJPEGImage again;
    again.LoadFromStream(&stream);
    Difference d = Compare(DecodedPixels(again), PixelsOf(source));
    EXPECT_LT(d.mean, 4.0);
}

TEST(JpegImage, AssignBetweenImagesCopies)
{
    TJPEGImage a;
    a.LoadFromFile(DataFile(L"im_444.jpg"));
    TJPEGImage b;
    b.Assign(&a);
    EXPECT_EQ(b.Width(), a.Width());
    EXPECT_EQ(DecodedPixels(b).bgr, DecodedPixels(a).bgr);
    a.Assign(nullptr);
    EXPECT_TRUE(a.Empty());
    EXPECT_FALSE(b.Empty());
}

} // namespace
