// The rating and search dialogs driven in process: the stars and the digit the rating writes, the
// hits of a search and what choosing one shows.
#include "tests/app/dialogs_support.h"

#include "app/search.h"
#include "app/set_rating.h"
#include "framework/SysUtils.h"

#include <richedit.h>

using apptest::Exists;

namespace {

int VisibleStars(TRatingForm* form)
{
    int n = 0;
    for (TImage* star : {form->imgStar1, form->imgStar2, form->imgStar3, form->imgStar4, form->imgStar5})
        n += star->Visible();
    return n;
}

// The text colour of the first character of paragraph index of a recipe file.
COLORREF ParagraphColor(const std::wstring& file, int index)
{
    THiddenRecipeDocument document;
    document.LoadFromFile(file);
    const std::vector<std::wstring> lines = document.Paragraphs();
    LONG start = 0;
    for (int i = 0; i < index; ++i)
        start += static_cast<LONG>(lines[static_cast<size_t>(i)].size()) + 1;
    SendMessageW(document.Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + 1);
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(document.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.crTextColor;
}

} // namespace

class RatingDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeCategory(L"Супы");
        WriteRecipe(L"Супы", L"Борщ", L"Свёкла", L"4");
        store->SetCategory(L"Супы");
        host->Category = L"Супы";
        host->Selected = L"Борщ";
        host->ViewDocument().LoadFromFile(InCategory(L"Супы", L"Борщ.rcp"));
    }
    TRatingForm* OpenDialog()
    {
        auto* form = Open<TRatingForm>();
        form->FormActivate(form);
        return form;
    }
};

TEST_F(RatingDialog, StartsAtOneStarWhateverTheRecipesRating)
{
    auto* form = OpenDialog();
    KeepScreenshot(form, L"set_rating");
    EXPECT_EQ(form->Caption(), L"Оценить");
    EXPECT_EQ(VisibleStars(form), 1);
    EXPECT_TRUE(form->imgStar1->Visible());
    EXPECT_EQ(form->TrackBar->Position(), 1);
    EXPECT_TRUE(form->TrackBar->Enabled());
    EXPECT_EQ(form->Button1->Caption(), L"OK");
}

TEST_F(RatingDialog, WithoutASelectedRecipeTheTrackBarStaysDisabledAndNothingIsWritten)
{
    host->Selected.reset();
    const std::string before = testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp"));
    auto* form = OpenDialog();
    EXPECT_FALSE(form->TrackBar->Enabled());
    form->Button1Click(form->Button1);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp")), before);
    EXPECT_FALSE(form->Visible());
}

TEST_F(RatingDialog, TheTrackBarShowsThatManyStarsAndZeroHidesThemAll)
{
    auto* form = OpenDialog();
    for (int n = 1; n <= 5; ++n) {
        form->TrackBar->SetPosition(n);
        form->TrackBarChange(form->TrackBar);
        EXPECT_EQ(VisibleStars(form), n);
    }
    form->SetRating(0);
    EXPECT_EQ(VisibleStars(form), 0);
    form->SetRating(7);
    EXPECT_EQ(VisibleStars(form), 0);
}

TEST_F(RatingDialog, OKWritesTheChosenDigitInWhiteIntoLineOneOfTheRecipe)
{
    auto* form = OpenDialog();
    form->TrackBar->SetPosition(2);
    form->TrackBarChange(form->TrackBar);
    form->Button1Click(form->Button1);
    const std::wstring file = InCategory(L"Супы", L"Борщ.rcp");
    THiddenRecipeDocument written;
    written.LoadFromFile(file);
    ASSERT_GE(written.Paragraphs().size(), 2u);
    EXPECT_EQ(written.Paragraphs()[0], L"Борщ");
    EXPECT_EQ(written.Paragraphs()[1], L"2");
    EXPECT_EQ(ParagraphColor(file, 1), RGB(255, 255, 255));
    EXPECT_FALSE(form->Visible());
    // Nothing else was written into the category.
    EXPECT_EQ(ListRecipeCaptions(store->CategoryDir()), std::vector<std::wstring>{L"Борщ"});
}

class SearchDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeCategory(L"Супы");
        MakeCategory(L"Рыба");
        WriteRecipe(L"Супы", L"Уха", L"Окунь, картофель");
        WriteRecipe(L"Рыба", L"Уха", L"Окунь и ёрш");
        WriteRecipe(L"Рыба", L"Карп", L"Карп, сметана");
    }
    TSearchForm* Search(const std::wstring& word)
    {
        auto* form = Open<TSearchForm>();
        form->FindStrings->SetText(word);
        form->Button1Click(form->Button1);
        Pump();
        return form;
    }
};

TEST_F(SearchDialog, ListsEveryHitWithItsFileInTheSameOrder)
{
    auto* form = Search(L"ОКУНЬ");
    KeepScreenshot(form, L"search");
    EXPECT_EQ(form->Caption(), L"Поиск");
    ASSERT_EQ(form->FindList->Items()->Count(), 2);
    ASSERT_EQ(form->FileNameList->Items()->Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(form->FindList->Items()->Item(i)->Caption(), L"Уха");
        EXPECT_EQ(ExtractFileName(form->FileNameList->Items()->Strings(i)), L"Уха.rcp");
    }
    EXPECT_NE(form->FileNameList->Items()->Strings(0), form->FileNameList->Items()->Strings(1));
    EXPECT_EQ(form->ProgressBar->Position(), 0);
}

TEST_F(SearchDialog, ANewSearchReplacesTheHits)
{
    auto* form = Search(L"окунь");
    form->FindStrings->SetText(L"сметана");
    form->Button1Click(form->Button1);
    ASSERT_EQ(form->FindList->Items()->Count(), 1);
    EXPECT_EQ(form->FindList->Items()->Item(0)->Caption(), L"Карп");
    EXPECT_EQ(form->FileNameList->Items()->Count(), 1);
}

TEST_F(SearchDialog, ChoosingEachOfTwoSameNamedHitsShowsItsOwnFileAndDeselectionShowsTheLeftHitAgain)
{
    auto* form = Search(L"окунь");
    form->FindList->Items()->Item(1)->SetSelected(true);
    Pump();
    form->FindList->Items()->Item(0)->SetSelected(true);
    Pump();
    const std::wstring first = form->FileNameList->Items()->Strings(0);
    const std::wstring second = form->FileNameList->Items()->Strings(1);
    EXPECT_EQ(host->Shown, (std::vector<std::wstring>{second, second, first}));
    form->FindList->Items()->Item(0)->SetSelected(false);
    Pump();
    EXPECT_EQ(host->Shown.back(), first);
    EXPECT_EQ(host->Shown.size(), 4u);
    EXPECT_EQ(host->ViewDocument().Paragraphs()[0], L"Уха");
    EXPECT_EQ(host->RecipesChanged, 0);
}

TEST_F(SearchDialog, AnItemOutsideTheHitListIsIgnored)
{
    auto* form = Search(L"карп");
    TListItem* stray = form->FindList->Items()->Add();
    stray->SetCaption(L"лишний");
    form->FindListSelectItem(form->FindList, stray, true);
    form->FindListSelectItem(form->FindList, nullptr, true);
    form->FindListSelectItem(form->FindList, nullptr, false);
    EXPECT_TRUE(host->Shown.empty());
}

TEST_F(SearchDialog, WithoutBasesTheSearchFindsNothing)
{
    ASSERT_TRUE(store->DeleteTree(Bases()));
    auto* form = Search(L"окунь");
    EXPECT_EQ(form->FindList->Items()->Count(), 0);
    EXPECT_TRUE(Errors.empty());
}
