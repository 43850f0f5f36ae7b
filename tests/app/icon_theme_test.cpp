// Icon themes: where each icon comes from, with the template icons for every file a theme lacks.
#include "app/icon_theme.h"

#include "framework/SysUtils.h"
#include "tests/app/store_fixture.h"

using namespace apptest;

namespace {

class ThemeTest : public testsupport::TempFolderTest {
protected:
    std::wstring Theme(const std::wstring& name) const { return PathOf(L"Resource\\" + name + L"\\"); }
    void Icon(const std::wstring& theme, const std::wstring& file) const
    {
        testsupport::WriteFileBytes(Theme(theme) + file + L".ico", "ico");
    }
};

std::wstring SampleBase()
{
    std::wstring dir = testsupport::Widen(VELMORA_SAMPLE_BASE_DIR);
    for (auto& c : dir)
        if (c == L'/')
            c = L'\\';
    return dir;
}

} // namespace

TEST_F(ThemeTest, AFullThemeGivesEveryPlaceItsFile)
{
    for (const wchar_t* name : kToolBarIconNames)
        Icon(L"Полная", name);
    for (const wchar_t* name : kMenuIconNames)
        Icon(L"Полная", name);
    Icon(L"Полная", L"ls_doc");

    const TThemeIcons icons = ResolveThemeIcons(Folder(), L"Полная");
    for (size_t i = 0; i < icons.ToolBar.size(); ++i)
        EXPECT_EQ(icons.ToolBar[i], Theme(L"Полная") + kToolBarIconNames[i] + L".ico");
    for (size_t i = 0; i < icons.Menu.size(); ++i)
        EXPECT_EQ(icons.Menu[i], Theme(L"Полная") + kMenuIconNames[i] + L".ico");
    EXPECT_EQ(icons.RecipeLarge, Theme(L"Полная") + L"tb_new.ico");
    EXPECT_EQ(icons.SearchHit, Theme(L"Полная") + L"tb_find.ico");
    EXPECT_EQ(icons.RecipeSmall, Theme(L"Полная") + L"ls_doc.ico");
}

TEST_F(ThemeTest, APartialThemeFallsBackToTheTemplatesElsewhere)
{
    Icon(L"Частичная", L"tb_new");
    Icon(L"Частичная", L"tb_find");
    const TThemeIcons icons = ResolveThemeIcons(Folder(), L"Частичная");
    for (size_t i = 0; i < icons.ToolBar.size(); ++i) {
        if (i == 6 || i == 8)
            EXPECT_TRUE(icons.ToolBar[i].has_value());
        else
            EXPECT_FALSE(icons.ToolBar[i].has_value()) << i;
    }
    for (const auto& icon : icons.Menu)
        EXPECT_FALSE(icon.has_value());
    EXPECT_TRUE(icons.RecipeLarge.has_value());
    EXPECT_TRUE(icons.SearchHit.has_value());
    EXPECT_FALSE(icons.RecipeSmall.has_value());
}

TEST_F(ThemeTest, AThemeWithoutTheRecipeAndSearchIconsFallsBackLikeEveryOtherFile)
{
    Icon(L"Без", L"tb_exit");
    Icon(L"Без", L"mn_new");
    const TThemeIcons icons = ResolveThemeIcons(Folder(), L"Без");
    EXPECT_TRUE(icons.ToolBar[0].has_value());
    EXPECT_TRUE(icons.Menu[0].has_value());
    EXPECT_FALSE(icons.RecipeLarge.has_value());
    EXPECT_FALSE(icons.SearchHit.has_value());
}

TEST_F(ThemeTest, AMissingThemeFolderUsesTheTemplatesEverywhere)
{
    const TThemeIcons icons = ResolveThemeIcons(Folder(), L"Нет такой");
    for (const auto& icon : icons.ToolBar)
        EXPECT_FALSE(icon.has_value());
    for (const auto& icon : icons.Menu)
        EXPECT_FALSE(icon.has_value());
    EXPECT_FALSE(icons.RecipeLarge || icons.SearchHit || icons.RecipeSmall);
}

TEST_F(ThemeTest, ThemesAreTheEntriesOfResource)
{
    Icon(L"Стандарт", L"tb_new");
    Icon(L"Зима", L"tb_new");
    std::vector<std::wstring> themes = ListThemes(Folder());
    std::sort(themes.begin(), themes.end());
    EXPECT_EQ(themes, (std::vector<std::wstring>{L"Зима", L"Стандарт"}));
    EXPECT_TRUE(ListThemes(PathOf(L"нет")).empty());
}

TEST(SampleThemes, TheStandardThemeHasEveryIcon)
{
    const TThemeIcons icons = ResolveThemeIcons(SampleBase(), L"Стандарт");
    for (size_t i = 0; i < icons.ToolBar.size(); ++i)
        EXPECT_TRUE(icons.ToolBar[i].has_value()) << Utf8(kToolBarIconNames[i]);
    for (size_t i = 0; i < icons.Menu.size(); ++i)
        EXPECT_TRUE(icons.Menu[i].has_value()) << Utf8(kMenuIconNames[i]);
    EXPECT_TRUE(icons.RecipeLarge && icons.SearchHit && icons.RecipeSmall);
}

TEST(SampleThemes, TheSampleBaseShipsAtLeastTwoThemes)
{
    const std::vector<std::wstring> themes = ListThemes(SampleBase());
    EXPECT_GE(themes.size(), 2u);
    EXPECT_NE(std::find(themes.begin(), themes.end(), L"Стандарт"), themes.end());
}
