// The folder tree of the generated base: categories, favourites, themes, the information document.
#include "app/recipe_document.h"
#include "tests/app/sample_base.h"
#include "tests/support/test_support.h"

#include <algorithm>

using namespace samplebase;
using testsupport::Narrow;

namespace {

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

TEST(SampleBaseLayout, HasSixCategoriesWithFavourites) {
    const auto categories = Categories();
    EXPECT_GE(categories.size(), 6u);
    EXPECT_TRUE(Contains(categories, L"Избранное"));
}

TEST(SampleBaseLayout, BasesHoldsOnlyCategoryFolders) {
    // A plain file in Bases would be listed as a category by the program.
    EXPECT_EQ(ListNames(PathIn(L"Bases"), L"*.*", false).size(), Categories().size());
}

TEST(SampleBaseLayout, EveryCategoryHoldsRecipesAndAtLeast36InAll) {
    size_t total = 0;
    for (const auto& category : Categories()) {
        const auto recipes = ListNames(PathIn(L"Bases\\" + category), L"*.rcp", false);
        EXPECT_FALSE(recipes.empty()) << Narrow(category);
        total += recipes.size();
    }
    EXPECT_GE(total, 36u);
}

TEST(SampleBaseLayout, FavouritesHoldSeveralRecipes) {
    EXPECT_GE(ListNames(PathIn(L"Bases\\Избранное"), L"*.rcp", false).size(), 2u);
}

TEST(SampleBaseLayout, CategoryFoldersHoldOnlyRecipesPhotosAndTabIcon) {
    for (const auto& category : Categories()) {
        for (const auto& name : ListNames(PathIn(L"Bases\\" + category), L"*.*", false)) {
            const auto dot = name.rfind(L'.');
            const std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot);
            EXPECT_TRUE(ext == L".rcp" || ext == L".jpg" || name == L"icon.ico") << Narrow(category + L"\\" + name);
        }
    }
}

TEST(SampleBaseLayout, ResourceHoldsBothThemesAndTheDefaultOne) {
    const auto themes = ListNames(PathIn(L"Resource"), L"*.*", true);
    for (const auto& theme : ThemeNames()) {
        EXPECT_TRUE(Contains(themes, theme)) << Narrow(theme);
    }
}

TEST(InformationDocument, OpensInRichEditWithItsText) {
    recipes::HiddenRichEdit edit;
    ASSERT_TRUE(edit.Valid());
    std::wstring error;
    ASSERT_TRUE(recipes::LoadRichEditFile(edit.Handle(), PathIn(L"drenvask.doc"), error)) << Narrow(error);
    const auto lines = recipes::RichEditParagraphs(edit.Handle());
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0].rfind(L"Велмора", 0), 0u) << Narrow(lines[0]);
    std::wstring all;
    for (const auto& line : lines) {
        all += line + L"\n";
    }
    // Read as RTF, not shown as its source text.
    EXPECT_EQ(all.find(L"\\rtf"), std::wstring::npos);
    for (const wchar_t* expected : {L"Bases", L"Избранное", L"Resource", L"icon.ico", L"Ctrl+S", L"Ctrl+P", L"Ins"}) {
        EXPECT_NE(all.find(expected), std::wstring::npos) << Narrow(expected);
    }
}
