// The view's document as the store reads and writes it: paragraphs, the rating line, files that are
// not RTF, and files that cannot be opened or created.
#include "tests/app/store_fixture.h"

#include "app/recipe_document.h"
#include "framework/SysUtils.h"

#include <richedit.h>

using namespace apptest;

namespace {

class DocumentTest : public testsupport::TempFolderTest {
protected:
    void Compose(const recipes::RecipeFields& fields) { recipes::ComposeRecipe(document.Handle(), fields); }

    THiddenRecipeDocument document;
};

recipes::RecipeFields Borsch(const std::wstring& rating)
{
    return {L"Борщ", L"4", rating, L"Свёкла\r\nКапуста", L"Варить два часа.", L"Бабушка"};
}

// Colour and size of the character at a position of the document.
CHARFORMAT2W FormatAt(HWND edit, LONG position)
{
    CHARRANGE range{position, position + 1};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
}

} // namespace

TEST_F(DocumentTest, ParagraphsFollowTheRecipeLayout)
{
    Compose(Borsch(L"3"));
    const auto lines = document.Paragraphs();
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0], L"Борщ");
    EXPECT_EQ(lines[1], L"3");
    EXPECT_EQ(lines[2], L"Количество порций : 4");
    EXPECT_EQ(lines[3], L"Необходимые продукты:");
    EXPECT_EQ(lines[4], L"Свёкла");
    EXPECT_EQ(lines[5], L"Капуста");
}

TEST_F(DocumentTest, SavedRecipeLoadsBackIntoTheSameParagraphs)
{
    Compose(Borsch(L"5"));
    const auto before = document.Paragraphs();
    document.SaveToFile(PathOf(L"Борщ.rcp"));
    EXPECT_EQ(testsupport::ReadFileBytes(PathOf(L"Борщ.rcp")).rfind("{\\rtf", 0), 0u);

    THiddenRecipeDocument other;
    other.LoadFromFile(PathOf(L"Борщ.rcp"));
    EXPECT_EQ(other.Paragraphs(), before);
}

TEST_F(DocumentTest, ALongNameStaysOneLineInANarrowView)
{
    std::wstring name;
    for (int i = 0; i < 20; ++i)
        name += L"Очень длинное название ";
    recipes::RecipeFields fields = Borsch(L"4");
    fields.name = name;
    MoveWindow(document.Handle(), 0, 0, 60, 300, FALSE);
    Compose(fields);
    ASSERT_GT(SendMessageW(document.Handle(), EM_GETLINECOUNT, 0, 0), 10);
    const auto lines = document.Paragraphs();
    EXPECT_EQ(lines[0], name);
    EXPECT_EQ(lines[1], L"4");
}

TEST_F(DocumentTest, ReplacingTheRatingLineKeepsTheOtherLines)
{
    Compose(Borsch(L"2"));
    auto expected = document.Paragraphs();
    document.ReplaceParagraph(1, L"5");
    expected[1] = L"5";
    EXPECT_EQ(document.Paragraphs(), expected);
}

TEST_F(DocumentTest, AnEmptyRatingLineTakesTheDigitInItsWhiteText)
{
    Compose(Borsch(L""));
    ASSERT_EQ(document.Paragraphs()[1], L"");
    document.ReplaceParagraph(1, L"4");
    const auto lines = document.Paragraphs();
    EXPECT_EQ(lines[0], L"Борщ");
    EXPECT_EQ(lines[1], L"4");
    EXPECT_EQ(lines[2], L"Количество порций : 4");
    // Line 0 "Борщ" and its paragraph mark come first.
    const CHARFORMAT2W cf = FormatAt(document.Handle(), 5);
    EXPECT_EQ(cf.crTextColor, RGB(255, 255, 255));
}

TEST_F(DocumentTest, ReplacingBeyondTheEndAppendsLines)
{
    SetWindowTextW(document.Handle(), L"Только имя");
    document.ReplaceParagraph(1, L"3");
    const auto lines = document.Paragraphs();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Только имя");
    EXPECT_EQ(lines[1], L"3");
}

TEST_F(DocumentTest, PlainTextFilesAreShownAsTextWithRatingZero)
{
    testsupport::WriteFileBytes(PathOf(L"простой.rcp"), "Just a name\r\nnot a rating\r\n");
    document.LoadFromFile(PathOf(L"простой.rcp"));
    const auto lines = document.Paragraphs();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Just a name");
    EXPECT_EQ(ParseRating(lines[1]), 0);
}

TEST_F(DocumentTest, LoadingReplacesThePreviousDocument)
{
    Compose(Borsch(L"1"));
    testsupport::WriteFileBytes(PathOf(L"b.rcp"), "B");
    document.LoadFromFile(PathOf(L"b.rcp"));
    EXPECT_EQ(document.Paragraphs()[0], L"B");
    EXPECT_EQ(document.Paragraphs().size(), 1u);
}

TEST_F(DocumentTest, AMissingFileRaisesAnOpenErrorAndKeepsTheView)
{
    Compose(Borsch(L"1"));
    EXPECT_THROW(document.LoadFromFile(PathOf(L"нет.rcp")), EFOpenError);
    EXPECT_EQ(document.Paragraphs()[0], L"Борщ");
}

TEST_F(DocumentTest, SavingIntoAMissingFolderRaisesACreationErrorAndWritesNothing)
{
    Compose(Borsch(L"1"));
    EXPECT_THROW(document.SaveToFile(PathOf(L"нет\\Борщ.rcp")), EFCreateError);
    EXPECT_FALSE(Exists(PathOf(L"нет")));
}

TEST_F(DocumentTest, ASaveThatFailsLeavesTheFileAsItWasAndNoOtherFile)
{
    Compose(Borsch(L"1"));
    document.SaveToFile(PathOf(L"Борщ.rcp"));
    const std::string before = testsupport::ReadFileBytes(PathOf(L"Борщ.rcp"));
    // Half of the new copy is written, then the disk is full.
    const TWholeFileResult result = WriteFileWhole(PathOf(L"Борщ.rcp"), [&](void* file) {
        DWORD written = 0;
        WriteFile(file, before.data(), static_cast<DWORD>(before.size() / 2), &written, nullptr);
        SetLastError(ERROR_DISK_FULL);
        return false;
    });
    EXPECT_EQ(result.Step, TWholeFileResult::Write);
    // Another program holds the file: the whole new copy cannot take its place.
    Compose(Borsch(L"5"));
    {
        const HeldFile held = HoldFile(PathOf(L"Борщ.rcp"));
        EXPECT_THROW(document.SaveToFile(PathOf(L"Борщ.rcp")), EWriteError);
    }
    EXPECT_EQ(testsupport::ReadFileBytes(PathOf(L"Борщ.rcp")), before);
    EXPECT_FALSE(Exists(PathOf(L"Борщ.rcp.tmp")));
}

TEST_F(DocumentTest, GroupsNestedDeeperThanTheControlTakesAreRefusedAndLeaveTheViewEmpty)
{
    for (const std::string& deep : {NestedRtf(33), NestedRtf(100000, false)}) {
        Compose(Borsch(L"1"));
        testsupport::WriteFileBytes(PathOf(L"глубокий.rcp"), deep);
        EXPECT_THROW(document.LoadFromFile(PathOf(L"глубокий.rcp")), EReadError);
        EXPECT_EQ(document.Paragraphs(), std::vector<std::wstring>{L""});
        std::wstring error;
        EXPECT_FALSE(recipes::LoadRichEditFile(document.Handle(), PathOf(L"глубокий.rcp"), error));
    }
}

TEST_F(DocumentTest, ClearEmptiesTheView)
{
    Compose(Borsch(L"1"));
    document.Clear();
    EXPECT_EQ(document.Paragraphs(), std::vector<std::wstring>{L""});
}

TEST_F(DocumentTest, DamagedRecipeFilesLoadWithoutFailing)
{
    Compose(Borsch(L"3"));
    document.SaveToFile(PathOf(L"целый.rcp"));
    const std::string whole = testsupport::ReadFileBytes(PathOf(L"целый.rcp"));
    const std::vector<std::string> damaged = {
        whole.substr(0, whole.size() / 2),
        "{\\rtf1 {{{{{{{{{{{{{{{{\\fonttbl",
        "{\\rtf",
        std::string("{\\rtf1\\ansi \0\0\0\xff\xfe garbage}", 30),
        "",
    };
    for (size_t i = 1; i < damaged.size(); ++i) {
        document.LoadFromFile(PathOf(L"целый.rcp"));
        testsupport::WriteFileBytes(PathOf(L"битый.rcp"), damaged[i]);
        EXPECT_NO_THROW(document.LoadFromFile(PathOf(L"битый.rcp"))) << i;
        // Nothing of the recipe shown before may stay behind, to be taken for this one.
        EXPECT_NE(document.Paragraphs()[0], L"Борщ") << i;
    }
    // Half a recipe still shows its beginning.
    testsupport::WriteFileBytes(PathOf(L"битый.rcp"), damaged[0]);
    document.LoadFromFile(PathOf(L"битый.rcp"));
    EXPECT_EQ(document.Paragraphs()[0], L"Борщ");
}
