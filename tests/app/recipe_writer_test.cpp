// The recipe writer: the document's line sequence with its fonts, sizes, colours and indents, the
// round trip through an RTF file, and the job list it reads.
#include "tests/app/rich_text_probe.h"
#include "tests/support/test_support.h"
#include "tools/recipe-writer/RecipeJob.h"

#include <algorithm>

using namespace samplebase;
using recipes::RecipeFields;
using testsupport::Narrow;

namespace {

constexpr COLORREF kNavy = RGB(0, 0, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kMaroon = RGB(0x80, 0, 0);
constexpr COLORREF kGreen = RGB(0, 0x80, 0);
constexpr COLORREF kDarkGrey = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kOlive = RGB(0x80, 0x80, 0);

RecipeFields FullRecipe() {
    return {L"Щи из квашеной капусты", L"4", L"5", L"Капуста квашеная — 500 г\r\nКартофель — 3 шт.",
            L"Капусту потушить.\r\nСварить щи.", L"Бабушка"};
}

class RecipeWriter : public testsupport::TempFolderTest {
protected:
    std::vector<std::wstring> Compose(const RecipeFields& fields) {
        recipes::ComposeRecipe(edit_.Handle(), fields);
        return recipes::RichEditParagraphs(edit_.Handle());
    }
    LineLook Look(const std::vector<std::wstring>& lines, size_t index) {
        return LookOfLine(edit_.Handle(), lines, index);
    }
    HWND Edit() const { return edit_.Handle(); }

private:
    recipes::HiddenRichEdit edit_;
};

void ExpectLook(const LineLook& look, const wchar_t* face, LONG twips, COLORREF colour, const char* what) {
    EXPECT_EQ(look.face, face) << what;
    EXPECT_EQ(look.twips, twips) << what;
    EXPECT_EQ(look.colour, colour) << what;
}

} // namespace

TEST_F(RecipeWriter, ComposesTheLinesInTheDialogsOrder) {
    const auto lines = Compose(FullRecipe());
    const std::vector<std::wstring> expected = {
        L"Щи из квашеной капусты", L"5", L"Количество порций : 4", L"Необходимые продукты:",
        L"Капуста квашеная — 500 г", L"Картофель — 3 шт.", L"Способ приготовления:", L"Капусту потушить.",
        L"Сварить щи.", L"", L"Автор: Бабушка"};
    ASSERT_GE(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
    }
    for (size_t i = expected.size(); i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].empty()) << "nothing follows the author";
    }
}

TEST_F(RecipeWriter, GivesEachLineItsFontSizeAndColour) {
    const auto lines = Compose(FullRecipe());
    ExpectLook(Look(lines, 0), L"Arial", 240, kNavy, "name");
    ExpectLook(Look(lines, 1), L"Arial", 240, kWhite, "rating");
    ExpectLook(Look(lines, 2), L"Tahoma", 200, kMaroon, "portions label");
    ExpectLook(LookAt(Edit(), static_cast<LONG>(lines[0].size() + lines[1].size() + 2 + lines[2].size() - 1)),
               L"Tahoma", 200, kGreen, "portions value");
    ExpectLook(Look(lines, 3), L"Tahoma", 200, kMaroon, "products heading");
    ExpectLook(Look(lines, 4), L"Tahoma", 200, kGreen, "products");
    ExpectLook(Look(lines, 5), L"Tahoma", 200, kGreen, "second product line");
    ExpectLook(Look(lines, 6), L"Tahoma", 200, kMaroon, "method heading");
    ExpectLook(Look(lines, 7), L"Tahoma", 200, kDarkGrey, "method");
    ExpectLook(Look(lines, 10), L"Tahoma", 200, kOlive, "author");
}

TEST_F(RecipeWriter, IndentsEveryParagraphTheSameWay) {
    const auto lines = Compose(FullRecipe());
    for (size_t i = 0; i < 11; ++i) {
        const LineLook look = Look(lines, i);
        EXPECT_EQ(look.startIndent, 200) << "line " << i;
        EXPECT_EQ(look.offset, -200) << "line " << i;
    }
}

TEST_F(RecipeWriter, LeavesOutThePortionsLineWhenPortionsAreEmpty) {
    RecipeFields fields = FullRecipe();
    fields.portions.clear();
    const auto lines = Compose(fields);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], L"Необходимые продукты:");
}

TEST_F(RecipeWriter, KeepsLineOneEmptyWithoutARating) {
    RecipeFields fields = FullRecipe();
    fields.rating.clear();
    const auto lines = Compose(fields);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], fields.name);
    EXPECT_EQ(lines[1], L"");
    EXPECT_EQ(lines[2], L"Количество порций : 4");
}

TEST_F(RecipeWriter, EndsWithTheEmptyLineWithoutAnAuthor) {
    RecipeFields fields = FullRecipe();
    fields.author.clear();
    auto lines = Compose(fields);
    while (lines.size() > 1 && lines.back().empty() && lines[lines.size() - 2].empty()) {
        lines.pop_back();
    }
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], L"Сварить щи.");
    EXPECT_EQ(lines.back(), L"");
}

TEST_F(RecipeWriter, ComposingAgainReplacesTheFormerDocument) {
    Compose(FullRecipe());
    RecipeFields other = FullRecipe();
    other.name = L"Компот";
    const auto lines = Compose(other);
    EXPECT_EQ(lines[0], L"Компот");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Необходимые продукты:"), 1);
}

TEST_F(RecipeWriter, SavedFileReadsBackIntoTheSameLinesAndLooks) {
    const auto written = Compose(FullRecipe());
    std::wstring error;
    const std::wstring path = PathOf(L"Щи.rcp");
    ASSERT_TRUE(recipes::SaveRichEditRtf(Edit(), path, error)) << Narrow(error);
    EXPECT_EQ(testsupport::ReadFileBytes(path).rfind("{\\rtf", 0), 0u);

    recipes::HiddenRichEdit reader;
    ASSERT_TRUE(recipes::LoadRichEditFile(reader.Handle(), path, error)) << Narrow(error);
    const auto read = recipes::RichEditParagraphs(reader.Handle());
    ASSERT_GE(read.size(), 11u);
    for (size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(read[i], written[i]) << "line " << i;
    }
    ExpectLook(LookOfLine(reader.Handle(), read, 0), L"Arial", 240, kNavy, "name");
    ExpectLook(LookOfLine(reader.Handle(), read, 1), L"Arial", 240, kWhite, "rating");
    ExpectLook(LookOfLine(reader.Handle(), read, 10), L"Tahoma", 200, kOlive, "author");
}

TEST_F(RecipeWriter, KeepsAVeryLongMethodWhole) {
    RecipeFields fields = FullRecipe();
    fields.method.clear();
    for (int i = 0; i < 2000; ++i) {
        fields.method += L"Помешивать и пробовать на соль, шаг " + std::to_wstring(i) + L".\r\n";
    }
    const auto lines = Compose(fields);
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Помешивать и пробовать на соль, шаг 1999."), lines.end());
}

TEST_F(RecipeWriter, SavingIntoAMissingFolderFailsWithAReason) {
    Compose(FullRecipe());
    std::wstring error;
    EXPECT_FALSE(recipes::SaveRichEditRtf(Edit(), PathOf(L"нет такой папки\\Щи.rcp"), error));
    EXPECT_NE(error.find(L"Щи.rcp"), std::wstring::npos);
}

TEST_F(RecipeWriter, LoadingAMissingFileFailsWithAReason) {
    std::wstring error;
    EXPECT_FALSE(recipes::LoadRichEditFile(Edit(), PathOf(L"нет.rcp"), error));
    EXPECT_FALSE(error.empty());
}

TEST(RecipeJobList, ReadsRecordsWithLineBreaksAndBackslashes) {
    std::vector<recipes::RecipeJob> jobs;
    std::wstring error;
    const std::string text = testsupport::Narrow(
        L"name=Блины\nrating=4\nproducts=Мука\\nМолоко\ntarget=Z:\\\\base\\\\Блины.rcp\n%%\n"
        L"name=Квас\ntarget=Z:\\\\Квас.rcp\n%%\n");
    ASSERT_TRUE(recipes::ParseRecipeJobs(text, jobs, error)) << Narrow(error);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].fields.name, L"Блины");
    EXPECT_EQ(jobs[0].fields.rating, L"4");
    EXPECT_EQ(jobs[0].fields.products, L"Мука\r\nМолоко");
    EXPECT_EQ(jobs[0].target, L"Z:\\base\\Блины.rcp");
    EXPECT_EQ(jobs[1].fields.name, L"Квас");
    EXPECT_TRUE(jobs[1].fields.portions.empty());
}

TEST(RecipeJobList, TakesALastRecordWithoutItsSeparator) {
    std::vector<recipes::RecipeJob> jobs;
    std::wstring error;
    ASSERT_TRUE(recipes::ParseRecipeJobs("name=A\r\ntarget=B\r\n", jobs, error)) << Narrow(error);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].target, L"B");
}

TEST(RecipeJobList, RefusesBrokenInputNamingTheLine) {
    const char* broken[] = {"name=A\n%%\n", "name=A\ncolour=red\ntarget=B\n", "name=A\nno field here\n",
                            "name=A\\q\ntarget=B\n", "name=A\\\ntarget=B\n"};
    for (const char* text : broken) {
        std::vector<recipes::RecipeJob> jobs;
        std::wstring error;
        EXPECT_FALSE(recipes::ParseRecipeJobs(text, jobs, error)) << text;
        EXPECT_NE(error.find(L"line "), std::wstring::npos) << text;
    }
}

TEST(RecipeJobList, AnEmptyListHoldsNoRecipe) {
    std::vector<recipes::RecipeJob> jobs;
    std::wstring error;
    EXPECT_TRUE(recipes::ParseRecipeJobs("", jobs, error));
    EXPECT_TRUE(jobs.empty());
}

TEST(RecipeFileNames, RefuseWhatCannotNameAFile) {
    EXPECT_TRUE(recipes::IsValidRecipeFileName(L"Пирог с капустой, яйцом и луком"));
    for (const wchar_t* bad : {L"", L"Щи: суточные", L"a/b", L"a\\b", L"что?", L"end.", L"end ", L"a\"b", L"a|b"}) {
        EXPECT_FALSE(recipes::IsValidRecipeFileName(bad)) << Narrow(bad);
    }
}
