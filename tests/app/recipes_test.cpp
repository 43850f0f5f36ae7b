// The ".rcp" files of the sample base, read back the way the program reads them: line 0 is the
// recipe's name, line 1 its rating.
#include "tests/app/rich_text_probe.h"
#include "tests/app/sample_base.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <cstdint>

using namespace samplebase;
using testsupport::Narrow;

namespace {

struct LoadedRecipe {
    std::wstring category;
    std::wstring name;
    std::vector<std::wstring> lines;
    LineLook nameLook;
    LineLook ratingLook;
};

std::vector<LoadedRecipe> LoadAll() {
    std::vector<LoadedRecipe> all;
    recipes::HiddenRichEdit edit;
    if (!edit.Valid()) {
        ADD_FAILURE() << "no rich-edit control";
        return all;
    }
    for (const auto& category : Categories()) {
        for (const auto& file : ListNames(PathIn(L"Bases\\" + category), L"*.rcp", false)) {
            LoadedRecipe recipe{category, file.substr(0, file.size() - 4), {}, {}, {}};
            std::wstring error;
            const std::wstring path = PathIn(L"Bases\\" + category + L"\\" + file);
            EXPECT_EQ(ReadBytes(path).rfind("{\\rtf", 0), 0u) << Narrow(path);
            if (!recipes::LoadRichEditFile(edit.Handle(), path, error)) {
                ADD_FAILURE() << Narrow(error);
                continue;
            }
            recipe.lines = recipes::RichEditParagraphs(edit.Handle());
            recipe.nameLook = LookOfLine(edit.Handle(), recipe.lines, 0);
            recipe.ratingLook = LookOfLine(edit.Handle(), recipe.lines, 1);
            all.push_back(recipe);
        }
    }
    return all;
}

const std::vector<LoadedRecipe>& Recipes() {
    static const std::vector<LoadedRecipe> all = LoadAll();
    return all;
}

size_t TextLength(const LoadedRecipe& recipe) {
    size_t n = 0;
    for (const auto& line : recipe.lines) {
        n += line.size();
    }
    return n;
}

} // namespace

TEST(SampleRecipes, FirstLineIsTheFileName) {
    ASSERT_GE(Recipes().size(), 36u);
    for (const auto& recipe : Recipes()) {
        ASSERT_GE(recipe.lines.size(), 2u) << Narrow(recipe.name);
        EXPECT_EQ(recipe.lines[0], recipe.name);
    }
}

TEST(SampleRecipes, SecondLineIsARatingDigit) {
    for (const auto& recipe : Recipes()) {
        const std::wstring& rating = recipe.lines[1];
        EXPECT_TRUE(rating.size() == 1 && rating[0] >= L'0' && rating[0] <= L'5')
            << Narrow(recipe.name) << ": " << Narrow(rating);
    }
}

TEST(SampleRecipes, RatingsUseTheWholeScale) {
    std::vector<int> counts(6, 0);
    for (const auto& recipe : Recipes()) {
        if (recipe.lines[1].size() == 1 && recipe.lines[1][0] >= L'0' && recipe.lines[1][0] <= L'5') {
            ++counts[static_cast<size_t>(recipe.lines[1][0] - L'0')];
        }
    }
    EXPECT_GT(counts[5], 0);
    EXPECT_GT(counts[3] + counts[2] + counts[1], 0);
}

TEST(SampleRecipes, NameIsNavyArialAndRatingIsWhite) {
    for (const auto& recipe : Recipes()) {
        EXPECT_EQ(recipe.nameLook.face, L"Arial") << Narrow(recipe.name);
        EXPECT_EQ(recipe.nameLook.twips, 240) << Narrow(recipe.name);
        EXPECT_EQ(recipe.nameLook.colour, RGB(0, 0, 0x80)) << Narrow(recipe.name);
        EXPECT_EQ(recipe.ratingLook.colour, RGB(0xFF, 0xFF, 0xFF)) << Narrow(recipe.name);
    }
}

TEST(SampleRecipes, HoldTheHeadingsOfTheNewRecipeDialog) {
    for (const auto& recipe : Recipes()) {
        const auto& lines = recipe.lines;
        const auto products = std::find(lines.begin(), lines.end(), L"Необходимые продукты:");
        const auto method = std::find(lines.begin(), lines.end(), L"Способ приготовления:");
        EXPECT_TRUE(products != lines.end() && method != lines.end() && products < method) << Narrow(recipe.name);
    }
}

TEST(SampleRecipes, OneHasALongNameKeptWholeInLineZero) {
    bool found = false;
    for (const auto& recipe : Recipes()) {
        found = found || (recipe.name.size() > 60 && recipe.lines[0] == recipe.name);
    }
    EXPECT_TRUE(found);
}

TEST(SampleRecipes, LengthsDifferAndOneMethodIsVeryLong) {
    size_t shortest = SIZE_MAX;
    size_t longest = 0;
    for (const auto& recipe : Recipes()) {
        shortest = std::min(shortest, TextLength(recipe));
        longest = std::max(longest, TextLength(recipe));
    }
    EXPECT_GT(longest, 4000u);
    EXPECT_LT(shortest, 800u);
}
