// The library utilities: words, rectangles and numbers, INI text held as split lines, directory names.
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"

#include "tests/support/test_support.h"

#include "framework/Graphics.h"

#include <shellapi.h>

namespace {

const TCharSet kSemicolon{L';'};

TEST(Words, RunsOfDelimitersSeparateButCountAsNothing)
{
    EXPECT_EQ(CountWords(L";;a;;b;", kSemicolon), 2);
    EXPECT_EQ(GetWordAt(2, L";;a;;b;", kSemicolon), L"b");
    EXPECT_EQ(FindWordStart(3, L";;a;;b;", kSemicolon), 0);
    EXPECT_EQ(FindWordStart(2, L";;a;;b;", kSemicolon), 6);
    EXPECT_EQ(GetWordAt(1, L"", kSemicolon), L"");
    EXPECT_EQ(CountWords(L";;;", kSemicolon), 0);
    EXPECT_EQ(GetWordAt(2, L"one two(three)", TCharSet{L' ', L'(', L')'}), L"two");
}

TEST(Words, RemoveCharDeletesEveryOccurrence)
{
    EXPECT_EQ(RemoveChar(L" C O L O R = 1 ", L' '), L"COLOR=1");
}

TEST(Numbers, ClampAndChoose)
{
    EXPECT_EQ(ClampToByte(300), 255);
    EXPECT_EQ(ClampToByte(-4), 0);
    EXPECT_EQ(ClampToByte(254), 254);
    EXPECT_TRUE(IsBetween(5, 5, 6));
    EXPECT_FALSE(IsBetween(7, 5, 6));
    EXPECT_EQ(ChooseInt(false, 1, 2), 2);
    EXPECT_EQ(ChooseStr(true, L"a", L"b"), L"a");
    EXPECT_EQ(LargerOf(-1, 3), 3);
    EXPECT_EQ(SmallerOf(-1, 3), -1);
}

TEST(Rectangles, VisibilityNeedsOverlapAndArea)
{
    const RECT outer{0, 0, 100, 50};
    EXPECT_TRUE(IsRectVisibleIn(outer, RECT{90, 40, 120, 60}));
    EXPECT_FALSE(IsRectVisibleIn(outer, RECT{100, 0, 120, 10}));
    EXPECT_FALSE(IsRectVisibleIn(outer, RECT{10, 50, 20, 60}));
    EXPECT_FALSE(IsRectVisibleIn(outer, RECT{10, 10, 10, 20}));
    EXPECT_EQ(RectWidth(RECT{3, 4, 10, 20}), 7);
    EXPECT_EQ(RectHeight(RECT{3, 4, 10, 20}), 16);
    const TCacheInfo ci = MakeCacheInfo(nullptr, 3, 4);
    EXPECT_TRUE(ci.Ready);
    EXPECT_EQ(ci.X, 3);
    EXPECT_EQ(EmptyCacheInfo.X, -99);
    EXPECT_FALSE(EmptyCacheInfo.Ready);
}

TEST(Rectangles, CaptionFontHeightComesFromTheSystem)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(GetCaptionFontHeight(), metrics.lfCaptionFont.lfHeight);
    EXPECT_NE(GetCaptionFontHeight(), 0);
}

class IniText : public ::testing::Test {
protected:
    void Split(std::initializer_list<const wchar_t*> text)
    {
        for (const wchar_t* line : text)
            lines.Add(line);
        SplitIniSections(&lines, &sections);
    }
    TStringList lines;
    TStringList sections;
};

TEST_F(IniText, SplitDropsLinesBeforeTheFirstHeaderAndComments)
{
    Split({L"x=1", L"[A]", L";c", L"k=v", L"[B"});
    ASSERT_EQ(sections.Count(), 1);
    EXPECT_EQ(sections.Get(0), L"A");
    auto* a = dynamic_cast<TStringList*>(sections.GetObject(0));
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->Count(), 2);
    EXPECT_EQ(a->Get(0), L"k=v");
    EXPECT_EQ(a->Get(1), L"[B");
}

TEST_F(IniText, ReadsKeepSpacesAndHexadecimal)
{
    Split({L"[S]", L"K= v ", L"C=0xFF00FF", L"Z=0x", L"N=abc"});
    EXPECT_EQ(ReadSectionString(&lines, &sections, L"S", L"d", L"K"), L" v ");
    EXPECT_EQ(ReadSectionString(&lines, &sections, L"S", L"d", L"missing"), L"d");
    EXPECT_EQ(ReadSectionString(&lines, &sections, L"T", L"d", L"K"), L"d");
    EXPECT_EQ(ReadSectionInteger(&lines, &sections, L"S", 7, L"C"), 16711935);
    EXPECT_EQ(ReadSectionInteger(&lines, &sections, L"S", 7, L"Z"), 7);
    EXPECT_EQ(ReadSectionInteger(&lines, &sections, L"S", 7, L"N"), 7);
    EXPECT_EQ(ReadSectionInteger(&lines, &sections, L"S", 7, L"missing"), 7);
}

TEST(Paths, NormalizeDirEndsWithOneBackslash)
{
    EXPECT_EQ(NormalizeDir(L"C"), L"C:\\");
    EXPECT_EQ(NormalizeDir(L"C:"), L"C:\\");
    EXPECT_EQ(NormalizeDir(L"c:\\Skins"), L"c:\\Skins\\");
    EXPECT_EQ(NormalizeDir(L"c:/Skins/"), L"c:/Skins\\");
    EXPECT_EQ(NormalizeDir(L"c:\\Skins\\"), L"c:\\Skins\\");
    EXPECT_EQ(NormalizeDir(L""), L"");
}

TEST(Paths, ProgramFolderIsTheExecutablesFolder)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L"\\/") + 1);
    EXPECT_EQ(ProgramFolder(), folder);
}

TEST(Paths, LoadFileIconGivesTheShellsIconOrNothing)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    for (unsigned flags : {0u, unsigned(SHGFI_SMALLICON)}) {
        std::unique_ptr<TIcon> icon = LoadFileIcon(path, flags);
        ASSERT_TRUE(icon);
        EXPECT_FALSE(icon->Empty());
    }
    EXPECT_FALSE(LoadFileIcon(ProgramFolder() + L"no such file.exe", 0));
    EXPECT_FALSE(LoadFileIcon(L"", 0));
}

} // namespace
