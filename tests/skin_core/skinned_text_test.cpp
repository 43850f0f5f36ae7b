// Text in a section's colours: outlines one pixel off on each side where a colour is given, the hot
// colours, the washed-out disabled colour, nothing without a section; captions cut to a width; the
// placement of a button's glyph and caption for every layout and alignment.
#include "skin/core/sCommonData.h"
#include "skin/core/sTextColors.h"
#include "tests/skin_core/paint_support.h"

#include <climits>
#include <stdexcept>

using namespace painttest;

namespace {

struct InkBox {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;
    bool Empty() const { return Left > Right; }
};

// The box of every pixel that is not the white background.
InkBox InkOf(TBitmap* bmp)
{
    InkBox box;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x)
            if (Get(bmp, x, y) != RGB(255, 255, 255)) {
                box.Left = std::min(box.Left, x);
                box.Right = std::max(box.Right, x);
                box.Top = std::min(box.Top, y);
                box.Bottom = std::max(box.Bottom, y);
            }
    return box;
}

int CountPixels(TBitmap* bmp, COLORREF color)
{
    int n = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x)
            n += Get(bmp, x, y) == color;
    return n;
}

// Every inked pixel of the column is a shade of Color over white (edges may be smoothed), and there is one.
bool ColumnIsShadeOf(TBitmap* bmp, int x, COLORREF color)
{
    int inked = 0;
    for (int y = 0; y < bmp->Height(); ++y) {
        const COLORREF c = Get(bmp, x, y);
        if (c == RGB(255, 255, 255))
            continue;
        ++inked;
        const int channels[3][2] = {{GetRValue(c), GetRValue(color)}, {GetGValue(c), GetGValue(color)},
                                    {GetBValue(c), GetBValue(color)}};
        // A full channel of Color stays full; the empty ones all fade alike.
        for (const auto& ch : channels)
            if (ch[1] == 255 && ch[0] != 255)
                return false;
        if ((GetRValue(color) == 0 && GetGValue(color) == 0 && GetRValue(c) != GetGValue(c)) ||
            (GetGValue(color) == 0 && GetBValue(color) == 0 && GetGValue(c) != GetBValue(c)) ||
            (GetRValue(color) == 0 && GetBValue(color) == 0 && GetRValue(c) != GetBValue(c)))
            return false;
    }
    return inked > 0;
}

constexpr UINT kFlags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
const TRect kTextRect{6, 4, 94, 36};

} // namespace

class SkinnedText : public PaintTest {
protected:
    void SetUp() override
    {
        TsGeneralData gd;
        gd.ClassName = L"BUTTON";
        gd.Color = 0xFFFFFF;
        gd.FontColor = RGBToColor(0, 0, 0);
        manager.Sections.push_back(gd);
        bmp = MakeBitmap(100, 40, RGB(255, 255, 255));
        bmp->Canvas()->Font()->SetName(L"Arial");
        bmp->Canvas()->Font()->SetHeight(-22);
        bmp->Canvas()->Font()->SetStyle({fsBold});
    }
    TsGeneralData& Section() { return manager.Sections[0]; }

    // The same text drawn plainly in black, for comparison.
    std::unique_ptr<TBitmap> Plain()
    {
        auto plain = MakeBitmap(100, 40, RGB(255, 255, 255));
        plain->Canvas()->Font()->Assign(bmp->Canvas()->Font());
        plain->Canvas()->Font()->SetColor(clBlack);
        plain->Canvas()->Brush()->SetStyle(bsClear);
        TRect r = kTextRect;
        DrawTextStr(plain->Canvas()->Handle(), L"Щи", r, kFlags);
        return plain;
    }

    std::unique_ptr<TBitmap> bmp;
};

TEST_F(SkinnedText, NoOutlineColoursDrawTheTextOnceInTheFontColour)
{
    WriteTextEx(bmp->Canvas(), L"Щи", true, nullptr, false, 0, kFlags, kTextRect);
    auto plain = Plain();
    EXPECT_FALSE(InkOf(bmp.get()).Empty());
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) { return Get(plain.get(), x, y); }));
}

TEST_F(SkinnedText, EachOutlineColourLiesOnePixelOffOnItsSide)
{
    const InkBox plain = InkOf(Plain().get());
    Section().TCLeft = RGBToColor(255, 0, 0);
    WriteTextEx(bmp->Canvas(), L"Щи", true, nullptr, false, 0, kFlags, kTextRect);
    InkBox box = InkOf(bmp.get());
    EXPECT_EQ(box.Left, plain.Left - 1);
    EXPECT_EQ(box.Right, plain.Right);
    EXPECT_EQ(box.Top, plain.Top);
    EXPECT_EQ(box.Bottom, plain.Bottom);
    EXPECT_TRUE(ColumnIsShadeOf(bmp.get(), box.Left, RGB(255, 0, 0)));
    EXPECT_GT(CountPixels(bmp.get(), RGB(255, 0, 0)), 0);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 0, 0)), 0);

    auto all = MakeBitmap(100, 40, RGB(255, 255, 255));
    all->Canvas()->Font()->Assign(bmp->Canvas()->Font());
    Section().TCTop = RGBToColor(0, 255, 0);
    Section().TCRight = RGBToColor(0, 0, 255);
    Section().TCBottom = RGBToColor(255, 255, 0);
    WriteTextEx(all->Canvas(), L"Щи", true, nullptr, false, 0, kFlags, kTextRect);
    box = InkOf(all.get());
    EXPECT_EQ(box.Left, plain.Left - 1);
    EXPECT_EQ(box.Right, plain.Right + 1);
    EXPECT_EQ(box.Top, plain.Top - 1);
    EXPECT_EQ(box.Bottom, plain.Bottom + 1);
    // The bottom outline is drawn last of the four, so it owns the lowest row, and the right one the
    // rightmost column.
    EXPECT_GT(CountPixels(all.get(), RGB(255, 255, 0)), 0);
    EXPECT_TRUE(ColumnIsShadeOf(all.get(), box.Right, RGB(0, 0, 255)));
    EXPECT_TRUE(ColumnIsShadeOf(all.get(), box.Left, RGB(255, 0, 0)));
    EXPECT_GT(CountPixels(all.get(), RGB(0, 0, 0)), 0);
}

TEST_F(SkinnedText, HotTextTakesTheHotColours)
{
    Section().TCLeft = RGBToColor(255, 0, 0);
    Section().HotFontColor = RGBToColor(0, 0, 200);
    Section().HotTCRight = RGBToColor(0, 150, 0);
    WriteTextEx(bmp->Canvas(), L"Щи", true, nullptr, true, 0, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 0, 200)), 0);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 150, 0)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(255, 0, 0)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(0, 0, 0)), 0);
}

TEST_F(SkinnedText, DisabledBlackOnWhiteIsDrawnInFortyPercentGreyWithoutOutlines)
{
    Section().TCLeft = RGBToColor(255, 0, 0);
    WriteTextEx(bmp->Canvas(), L"Щи", false, nullptr, false, 0, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(153, 153, 153)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(255, 0, 0)), 0);
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x)
            ASSERT_GE(GetRValue(Get(bmp.get(), x, y)), 153) << x << "," << y;
}

TEST_F(SkinnedText, NothingIsDrawnWithoutASectionOrAText)
{
    WriteTextEx(bmp->Canvas(), L"Щи", true, nullptr, false, 1, kFlags, kTextRect);
    WriteTextEx(bmp->Canvas(), L"Щи", true, nullptr, false, -1, kFlags, kTextRect);
    WriteTextEx(bmp->Canvas(), nullptr, true, nullptr, false, 0, kFlags, kTextRect);
    EXPECT_TRUE(InkOf(bmp.get()).Empty());
}

TEST_F(SkinnedText, AnotherManagersSectionsAreUsedWhenItIsGiven)
{
    TsSkinManager other;
    TsGeneralData gd;
    gd.FontColor = RGBToColor(0, 0, 200);
    other.Sections.push_back(gd);
    other.Sections.push_back(gd);
    WriteTextEx(bmp->Canvas(), L"Щи", true, &other, false, 1, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 0, 200)), 0);
}

class ControlText : public SkinnedText {
protected:
    TsCommonData data{nullptr, false};
};

TEST_F(ControlText, SkinnedTextStaysWithinItsRectangleAndTheClippingIsGivenBack)
{
    data.SkinIndex = 0;
    Section().TCRight = RGBToColor(255, 0, 0);
    WriteTextByData(bmp->Canvas(), L"Щи и борщ", true, false, &data, kFlags, TRect{6, 4, 30, 36});
    const InkBox box = InkOf(bmp.get());
    ASSERT_FALSE(box.Empty());
    EXPECT_LE(box.Right, 29);
    EXPECT_GE(box.Left, 6);
    // The right outline shows beside the strokes, in shades of red where the edges are smoothed.
    int reddish = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) {
            const COLORREF c = Get(bmp.get(), x, y);
            reddish += GetRValue(c) == 255 && GetGValue(c) == GetBValue(c) && GetGValue(c) < 255;
        }
    EXPECT_GT(reddish, 0);

    bmp->Canvas()->Brush()->SetStyle(bsSolid);
    bmp->Canvas()->Brush()->SetColor(RGBToColor(0, 200, 0));
    bmp->Canvas()->FillRect(TRect{90, 30, 100, 40});
    EXPECT_EQ(Get(bmp.get(), 95, 35), RGB(0, 200, 0));
}

TEST_F(ControlText, CustomFontKeepsItsColourAndGetsNoOutlines)
{
    data.SkinIndex = 0;
    data.SetCustomFont(true);
    Section().TCLeft = RGBToColor(255, 0, 0);
    bmp->Canvas()->Font()->SetColor(RGBToColor(0, 0, 200));
    WriteTextByData(bmp->Canvas(), L"Щи", true, false, &data, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 0, 200)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(255, 0, 0)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(0, 0, 0)), 0);
}

TEST_F(ControlText, WithoutASectionTheFontColourIsUsedEnabledOrNot)
{
    bmp->Canvas()->Font()->SetColor(RGBToColor(0, 120, 0));
    WriteTextByData(bmp->Canvas(), L"Щи", true, false, &data, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(0, 120, 0)), 0);
    auto disabled = MakeBitmap(100, 40, RGB(255, 255, 255));
    disabled->Canvas()->Font()->Assign(bmp->Canvas()->Font());
    WriteTextByData(disabled->Canvas(), L"Щи", false, false, &data, kFlags, kTextRect);
    EXPECT_TRUE(PixelsAre(disabled.get(), [&](int x, int y) { return Get(bmp.get(), x, y); }));
}

TEST_F(ControlText, DisabledSkinnedTextIsTheFortyPercentMix)
{
    data.SkinIndex = 0;
    WriteTextByData(bmp->Canvas(), L"Щи", false, false, &data, kFlags, kTextRect);
    EXPECT_GT(CountPixels(bmp.get(), RGB(153, 153, 153)), 0);
    EXPECT_EQ(CountPixels(bmp.get(), RGB(0, 0, 0)), 0);
}

TEST_F(ControlText, AFailureInDisabledTextIsSwallowedAndTheClippingGivenBack)
{
    data.SkinIndex = 0;
    TFont* font = bmp->Canvas()->Font();
    const TNotifyEvent listener = font->OnChange;
    font->OnChange = TNotifyEvent([](TObject*) { throw std::runtime_error("the font cannot change"); });
    EXPECT_NO_THROW(WriteTextByData(bmp->Canvas(), L"Щи", false, false, &data, kFlags, kTextRect));
    font->OnChange = listener;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(bmp->Canvas()->Handle(), clip), 0);
    DeleteObject(clip);
}

TEST_F(ControlText, HotWebButtonTextIsUnderlined)
{
    Section().ClassName = L"WEBBUTTON";
    data.SetSkinSection(L"WEBBUTTON");
    ASSERT_EQ(data.SkinIndex, 0);
    WriteTextByData(bmp->Canvas(), L"Щи", true, false, &data, kFlags, kTextRect);
    EXPECT_FALSE(bmp->Canvas()->Font()->Style().Contains(fsUnderline));
    WriteTextByData(bmp->Canvas(), L"Щи", true, true, &data, kFlags, kTextRect);
    EXPECT_TRUE(bmp->Canvas()->Font()->Style().Contains(fsUnderline));
}

class CutTextTest : public PaintTest {
protected:
    void SetUp() override
    {
        bmp = MakeBitmap(4, 4, RGB(255, 255, 255));
        canvas()->Font()->SetName(L"Arial");
        canvas()->Font()->SetHeight(-14);
    }
    TCanvas* canvas() { return bmp->Canvas(); }
    std::unique_ptr<TBitmap> bmp;
};

TEST_F(CutTextTest, TextThatFitsComesBackUnchanged)
{
    const std::wstring text = L"Борщ с пампушками";
    const int width = canvas()->TextWidth(text);
    EXPECT_EQ(CutText(canvas(), text, width), text);
    EXPECT_EQ(CutText(canvas(), text, width + 50), text);
    EXPECT_EQ(CutText(canvas(), L"", 100), L"");
}

TEST_F(CutTextTest, ZeroOrNegativeWidthGivesAnEmptyText)
{
    EXPECT_EQ(CutText(canvas(), L"Борщ", 0), L"");
    EXPECT_EQ(CutText(canvas(), L"Борщ", -5), L"");
}

TEST_F(CutTextTest, LongTextKeepsTheLongestHeadThatFitsWithDots)
{
    const std::wstring text = L"Борщ с пампушками";
    const int full = canvas()->TextWidth(text);
    for (int maxWidth = canvas()->TextWidth(L"Б..."); maxWidth < full; maxWidth += 3) {
        const std::wstring cut = CutText(canvas(), text, maxWidth);
        ASSERT_GE(cut.size(), 4u) << maxWidth;
        ASSERT_EQ(cut.substr(cut.size() - 3), L"...");
        const std::wstring head = cut.substr(0, cut.size() - 3);
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << maxWidth;
        EXPECT_LE(canvas()->TextWidth(cut), maxWidth);
        EXPECT_GT(canvas()->TextWidth(text.substr(0, head.size() + 1) + L"..."), maxWidth);
    }
}

TEST_F(CutTextTest, NotEvenOneCharacterFittingGivesAnEmptyText)
{
    const int dots = canvas()->TextWidth(L"Ж...");
    EXPECT_EQ(CutText(canvas(), L"Жжжжжжжжжж", dots - 1), L"");
    EXPECT_EQ(CutText(canvas(), L"Жжжжжжжжжж", 1), L"");
}

TEST_F(CutTextTest, CuttingNeverSplitsASurrogatePair)
{
    const std::wstring text = L"a\xD83C\xDF72\xD83C\xDF72\xD83C\xDF72\xD83C\xDF72";
    const int full = canvas()->TextWidth(text);
    for (int maxWidth = 1; maxWidth < full; ++maxWidth) {
        const std::wstring cut = CutText(canvas(), text, maxWidth);
        for (size_t i = 0; i < cut.size(); ++i)
            if (IS_HIGH_SURROGATE(cut[i])) {
                ASSERT_TRUE(i + 1 < cut.size() && IS_LOW_SURROGATE(cut[i + 1])) << maxWidth;
            }
    }
}

namespace {

struct Layout {
    TPoint Glyph;
    TRect Text;
};

Layout Calc(TRect client, TPoint glyph, TPoint text, std::uint8_t layout, std::uint8_t alignment, int margin,
            int spacing, UINT bidi = 0)
{
    Layout out;
    CalcGlyphTextLayout(client, glyph, text, layout, alignment, margin, spacing, out.Glyph, out.Text, bidi);
    return out;
}

void ExpectLayout(const Layout& got, TPoint glyph, TRect text)
{
    EXPECT_EQ(got.Glyph, glyph);
    EXPECT_EQ(got.Text, text);
}

const TRect kWide{10, 20, 110, 60};
constexpr TPoint kGlyph{16, 16};
constexpr TPoint kText{40, 12};

} // namespace

TEST(GlyphTextLayout, GlyphLeftInEachAlignment)
{
    // Automatic margin and spacing share the free 44 pixels in thirds.
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphLeft, gaLeft, -1, -1), {24, 32}, {54, 34, 94, 46});
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphLeft, gaRight, 4, 3), {47, 32}, {66, 34, 106, 46});
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphLeft, gaCenter, -1, 4), {30, 32}, {50, 34, 90, 46});
}

TEST(GlyphTextLayout, GlyphRightInEachAlignment)
{
    // A given margin with automatic spacing: (100 - 21 - 40) div 2 = 19.
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphRight, gaLeft, 5, -1), {74, 32}, {15, 34, 55, 46});
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphRight, gaRight, 2, 6), {92, 32}, {46, 34, 86, 46});
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphRight, gaCenter, -1, 4), {74, 32}, {30, 34, 70, 46});
}

TEST(GlyphTextLayout, RightToLeftSwapsLeftAndRightLayouts)
{
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphLeft, gaLeft, 5, -1, DT_RIGHT), {74, 32}, {15, 34, 55, 46});
    ExpectLayout(Calc(kWide, kGlyph, kText, glGlyphRight, gaRight, 4, 3, DT_RIGHT), {47, 32}, {66, 34, 106, 46});
    const Layout top = Calc(kWide, kGlyph, kText, glGlyphTop, gaLeft, -1, -1);
    const Layout topRtl = Calc(kWide, kGlyph, kText, glGlyphTop, gaLeft, -1, -1, DT_RIGHT);
    EXPECT_EQ(top.Glyph, topRtl.Glyph);
    EXPECT_EQ(top.Text, topRtl.Text);
}

TEST(GlyphTextLayout, GlyphAboveOrBelowIsCentredWhateverTheMargin)
{
    const TRect tall{0, 0, 60, 80};
    ExpectLayout(Calc(tall, kGlyph, kText, glGlyphTop, gaLeft, -1, -1), {22, 17}, {10, 50, 50, 62});
    ExpectLayout(Calc(tall, kGlyph, kText, glGlyphBottom, gaLeft, -1, -1), {22, 47}, {10, 18, 50, 30});
    ExpectLayout(Calc(tall, kGlyph, kText, glGlyphBottom, gaLeft, 4, 2), {22, 39}, {10, 25, 50, 37});
    ExpectLayout(Calc(tall, kGlyph, kText, glGlyphTop, gaLeft, 9, 2), {22, 25}, {10, 43, 50, 55});
}

TEST(GlyphTextLayout, WithoutAGlyphTheSpacingIsZeroAndTheMarginTwo)
{
    ExpectLayout(Calc(TRect{0, 0, 100, 40}, TPoint{0, 0}, kText, glGlyphLeft, gaLeft, -1, -1), {2, 20},
                 {2, 14, 42, 26});
}

TEST(GlyphTextLayout, OverfullClientsDivideTowardZero)
{
    // (31 - 40 - 2 - 16) div 2 = -27 div 2 = -13, not -14.
    ExpectLayout(Calc(TRect{0, 0, 31, 20}, kGlyph, kText, glGlyphLeft, gaCenter, -1, 2), {-13, 2}, {5, 4, 45, 16});
}
