// The picture-format registry, the picture, and the ordered start-up steps.
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/Startup.h"

#include "tests/framework/pixel_compare.h"

using namespace graphicstest;

namespace {

class JpegRegistered : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        RegisterJpegFormats();
    }
    void TearDown() override
    {
        UnregisterJpegFormats();
        TempFolderTest::TearDown();
    }
};

TEST_F(JpegRegistered, LookupByExtensionIgnoresCaseAndTheDot)
{
    TGraphicClass jpeg = GraphicClassOf<TJPEGImage>();
    EXPECT_EQ(TPicture::FileFormatOf(L"jpg"), jpeg);
    EXPECT_EQ(TPicture::FileFormatOf(L"JPG"), jpeg);
    EXPECT_EQ(TPicture::FileFormatOf(L".Jpeg"), jpeg);
    EXPECT_EQ(TPicture::FileFormatOf(L"BMP"), GraphicClassOf<TBitmap>());
    EXPECT_EQ(TPicture::FileFormatOf(L".ico"), GraphicClassOf<TIcon>());
    EXPECT_EQ(TPicture::FileFormatOf(L"png"), nullptr);
    EXPECT_EQ(TPicture::FileFormatOf(L""), nullptr);
}

TEST_F(JpegRegistered, UnregisteringRemovesEveryExtensionOfTheClass)
{
    UnregisterJpegFormats();
    EXPECT_EQ(TPicture::FileFormatOf(L"jpg"), nullptr);
    EXPECT_EQ(TPicture::FileFormatOf(L"jpeg"), nullptr);
    EXPECT_NE(TPicture::FileFormatOf(L"bmp"), nullptr);
    RegisterJpegFormats();
}

TEST_F(JpegRegistered, FilterNamesTheFormats)
{
    std::wstring filter = TPicture::GraphicFilter(nullptr);
    EXPECT_NE(filter.find(L"JPEG Image File (*.jpg)|*.jpg"), std::wstring::npos);
    EXPECT_NE(filter.find(L"*.bmp"), std::wstring::npos);
    EXPECT_EQ(TPicture::GraphicFilter(GraphicClassOf<TBitmap>()).find(L"jpg"), std::wstring::npos);
}

TEST_F(JpegRegistered, PictureLoadsTheClassOfTheExtensionInAnyCase)
{
    std::wstring upper = PathOf(L"Фото.JPG");
    ASSERT_TRUE(CopyFileW(DataFile(L"testorig.jpg").c_str(), upper.c_str(), FALSE));
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(upper);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 227);
    EXPECT_EQ(picture.Height(), 149);
    EXPECT_GE(changes, 1);

    picture.LoadFromFile(DataFile(L"bmp8.bmp"));
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(DataFile(L"multi.ico"));
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
}

TEST_F(JpegRegistered, UnknownExtensionRaisesInvalidGraphicAndKeepsThePicture)
{
    TPicture picture;
    picture.LoadFromFile(DataFile(L"bmp24.bmp"));
    std::wstring path = PathOf(L"photo.xyz");
    testsupport::WriteFileBytes(path, "data");
    try {
        picture.LoadFromFile(path);
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L".xyz"), std::wstring::npos);
    }
    EXPECT_EQ(picture.Width(), 227);
}

TEST_F(JpegRegistered, DamagedFileLeavesThePictureAsItWas)
{
    TPicture picture;
    picture.LoadFromFile(DataFile(L"bmp24.bmp"));
    std::wstring path = PathOf(L"broken.jpg");
    testsupport::WriteFileBytes(path, "\xFF\xD8\xFF\xE0 not really");
    EXPECT_THROW(picture.LoadFromFile(path), EJPEG);
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
}

// A format of the test's own, to see that a later registration takes over an extension.
class TTestGraphic : public TBitmap {
    DECLARE_CLASS_NAME(TTestGraphic)
};

TEST_F(JpegRegistered, NewestRegistrationOfAnExtensionWins)
{
    TPicture::RegisterFileFormat(L"BMP", L"Test", GraphicClassOf<TTestGraphic>());
    EXPECT_EQ(TPicture::FileFormatOf(L"bmp"), GraphicClassOf<TTestGraphic>());
    TPicture picture;
    picture.LoadFromFile(DataFile(L"bmp4.bmp"));
    EXPECT_EQ(picture.Graphic()->ClassName(), L"TTestGraphic");
    TPicture::UnregisterGraphicClass(GraphicClassOf<TTestGraphic>());
    EXPECT_EQ(TPicture::FileFormatOf(L"bmp"), GraphicClassOf<TBitmap>());
}

TEST_F(JpegRegistered, AssignedGraphicIsCopied)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    TPicture picture;
    picture.SetGraphic(&bitmap);
    ASSERT_NE(picture.Graphic(), &bitmap);
    EXPECT_EQ(picture.Width(), 3);
    bitmap.SetSize(5, 5);
    EXPECT_EQ(picture.Width(), 3);
    picture.SetGraphic(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Bitmap()->Width(), 0);
}

// Start-up steps record what they did here.
std::wstring g_log;
void StartA() { g_log += L"+A"; }
void FinishA() { g_log += L"-A"; }
void StartB() { g_log += L"+B"; }
void FinishB() { g_log += L"-B"; }
void StartC() { g_log += L"+C"; }
void FinishC() { g_log += L"-C"; }
void StartFails()
{
    g_log += L"+X";
    throw Exception(L"step failed");
}

TEST(Startup, StepsRunInTheOverviewsOrderAndFinishInReverse)
{
    g_log.clear();
    {
        TStartup startup;
        startup.Add(TStartupOrder::PngFormat, L"png", StartC, FinishC);
        startup.Add(TStartupOrder::SkinCacheInfo, L"cache", StartA, FinishA);
        startup.Add(TStartupOrder::JpegFormats, L"jpeg", StartB, FinishB);
        EXPECT_EQ(startup.Names(), (std::vector<std::wstring>{L"cache", L"jpeg", L"png"}));
        startup.Start();
        startup.Start();
        EXPECT_EQ(g_log, L"+A+B+C");
        startup.Finish();
        EXPECT_EQ(g_log, L"+A+B+C-C-B-A");
    }
    EXPECT_EQ(g_log, L"+A+B+C-C-B-A");
}

TEST(Startup, FailedStepFinishesOnlyWhatStarted)
{
    g_log.clear();
    TStartup startup;
    startup.Add(TStartupOrder::SkinCacheInfo, L"a", StartA, FinishA);
    startup.Add(TStartupOrder::JpegFormats, L"x", StartFails, FinishB);
    startup.Add(TStartupOrder::PngFormat, L"c", StartC, FinishC);
    EXPECT_THROW(startup.Start(), Exception);
    EXPECT_EQ(g_log, L"+A+X-A");
    EXPECT_FALSE(startup.Started());
}

TEST(Startup, DestructionFinishesStartedSteps)
{
    g_log.clear();
    {
        TStartup startup;
        startup.Add(TStartupOrder::JpegFormats, L"a", StartA, FinishA);
        startup.Add(TStartupOrder::JpegFormats, L"b", StartB, FinishB);
        startup.Start();
    }
    EXPECT_EQ(g_log, L"+A+B-B-A");
}

TEST(Startup, JpegStepRegistersTheFormatsUntilShutdown)
{
    {
        TStartup startup;
        AddJpegStartupStep(startup);
        EXPECT_EQ(TPicture::FileFormatOf(L"jpg"), nullptr);
        startup.Start();
        EXPECT_EQ(TPicture::FileFormatOf(L"jpg"), GraphicClassOf<TJPEGImage>());
        EXPECT_EQ(TPicture::FileFormatOf(L"jpeg"), GraphicClassOf<TJPEGImage>());
    }
    EXPECT_EQ(TPicture::FileFormatOf(L"jpg"), nullptr);
}

} // namespace
