// Hue and saturation: the colour arithmetic, and the manager's settings applied to a whole skin.
#include "skin/core/sTextColors.h"
#include "skin/core/sSkinManager.h"

#include "framework/Graphics.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

using namespace testskin;

namespace {

constexpr std::int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

TEST(ColourMaths, HueTurnsRedIntoGreenAndLeavesGreys)
{
    EXPECT_EQ(ChangeHue(120, kRed), kGreen);
    EXPECT_EQ(ChangeHue(240, kRed), kBlue);
    EXPECT_EQ(ChangeHue(120, 0x808080), 0x808080);
    EXPECT_EQ(ChangeHue(120, 0), 0);
}

TEST(ColourMaths, HueTurnedBackwardsMatchesTheSameTurnForwards)
{
    EXPECT_EQ(ChangeHue(-120, kRed), kBlue);
    EXPECT_EQ(ChangeHue(-40, 0x3060A0), ChangeHue(320, 0x3060A0));
    EXPECT_EQ(ChangeHue(-400, 0x20C020), ChangeHue(320, 0x20C020));
}

TEST(ColourMaths, SaturationMovesTowardsOrAwayFromGrey)
{
    const std::int32_t orange = RGB(200, 100, 0);
    EXPECT_EQ(ChangeSaturation(orange, 100), static_cast<std::int32_t>(RGB(100, 100, 100)));
    EXPECT_EQ(ChangeSaturation(orange, 0), orange);
    EXPECT_EQ(ChangeSaturation(orange, 50), static_cast<std::int32_t>(RGB(150, 100, 50)));
    // Away from grey, limited to the channel range.
    EXPECT_EQ(ChangeSaturation(orange, -100), static_cast<std::int32_t>(RGB(255, 100, 0)));
}

class ColourSettings : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        WriteTestSkinFolder(Folder(), L"Flat");
        plain.SetSkinDirectory(Folder());
        plain.SetSkinName(L"Flat");
        turned.SetSkinDirectory(Folder());
    }
    static COLORREF MasterAt(TsSkinManager& sm, int x, int y)
    {
        const auto* row = static_cast<const std::uint8_t*>(sm.MasterBitmap->ScanLine(y));
        return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    TsSkinManager plain;
    TsSkinManager turned;
};

TEST_F(ColourSettings, HueOffsetTurnsEverySectionColourAndImagePixel)
{
    turned.SetHueOffset(120); // no skin yet: only stored
    turned.SetSkinName(L"Flat");
    ASSERT_EQ(turned.Sections.size(), plain.Sections.size());
    for (size_t i = 0; i < plain.Sections.size(); ++i) {
        EXPECT_EQ(turned.Sections[i].Color, ChangeHue(120, plain.Sections[i].Color));
        EXPECT_EQ(turned.Sections[i].HotColor, ChangeHue(120, plain.Sections[i].HotColor));
        if (plain.Sections[i].TCLeft == -1) {
            EXPECT_EQ(turned.Sections[i].TCLeft, -1);
        }
    }
    EXPECT_EQ(MasterAt(turned, 5, 5), static_cast<COLORREF>(ChangeHue(120, kBoxColor)));
    EXPECT_EQ(MasterAt(turned, 0, 0), kKeyColor);
    EXPECT_EQ(turned.SkinData()->BorderColor, plain.SkinData()->BorderColor); // a grey
}

TEST_F(ColourSettings, ChangingTheHueOfALoadedSkinReadsItAgainFromTheOriginal)
{
    turned.SetSkinName(L"Flat");
    turned.SetHueOffset(120);
    turned.SetHueOffset(240);
    const int global = FindSectionIndex(&plain, L"GLOBALINFO");
    // Turned once by 240 from the skin's colours, not 120 + 240 from the already turned ones.
    EXPECT_EQ(turned.Sections[static_cast<size_t>(global)].Color,
              ChangeHue(240, plain.Sections[static_cast<size_t>(global)].Color));
    turned.SetHueOffset(0);
    EXPECT_EQ(MasterAt(turned, 5, 5), kBoxColor);
}

TEST_F(ColourSettings, SaturationWorksOnTheNegatedPercentWithinOneHundred)
{
    turned.SetSaturation(100); // -100 %: away from grey
    turned.SetSkinName(L"Flat");
    EXPECT_EQ(MasterAt(turned, 5, 5), static_cast<COLORREF>(ChangeSaturation(kBoxColor, -100)));
    turned.SetSaturation(-150); // 150 mod 101 = 49 %: towards grey
    EXPECT_EQ(MasterAt(turned, 5, 5), static_cast<COLORREF>(ChangeSaturation(kBoxColor, 49)));
}

TEST_F(ColourSettings, ABorderColourOfNoneStaysNone)
{
    for (PackEntry entry : TestSkinEntries()) {
        if (entry.name == "Options.dat") {
            const std::string line = "BORDERCOLOR=0x808080\r\n";
            const size_t at = entry.bytes.find(line);
            ASSERT_NE(at, std::string::npos);
            entry.bytes.replace(at, line.size(), "BORDERCOLOR=0xFF00FF\r\n");
        }
        testsupport::WriteFileBytes(PathOf(L"NoBorder\\" + testsupport::Widen(entry.name)), entry.bytes);
    }
    turned.SetHueOffset(90);
    turned.SetSkinName(L"NoBorder");
    ASSERT_TRUE(turned.SkinData()->Active);
    EXPECT_EQ(turned.SkinData()->BorderColor, clFuchsia);
}

} // namespace
