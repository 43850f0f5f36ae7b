// The recipe store on temporary program folders: listing, captions, ratings, the delete prompt,
// moving, deleting, favourites and categories.
#include "tests/app/store_fixture.h"

#include "app/recipe_document.h"
#include "framework/SysUtils.h"
#include "tests/support/device_names.h"

using namespace apptest;
using Kind = ScriptedDialogs::Kind;

namespace {

const std::wstring kAlreadyThere = L"Рецепт с таким названием уже есть в выбранной вами категории.";

// Writes a recipe the way the new-recipe dialog does.
void WriteRecipe(const std::wstring& path, const std::wstring& name, const std::wstring& rating)
{
    THiddenRecipeDocument document;
    recipes::RecipeFields fields;
    fields.name = name;
    fields.rating = rating;
    fields.products = L"Мука 200 г";
    fields.method = L"Смешать и испечь.";
    recipes::ComposeRecipe(document.Handle(), fields);
    document.SaveToFile(path);
}

std::vector<std::wstring> LinesOf(const std::wstring& path)
{
    THiddenRecipeDocument document;
    document.LoadFromFile(path);
    return document.Paragraphs();
}

} // namespace

// --- Listing -------------------------------------------------------------------------------------

TEST_F(StoreTest, CategoriesListFoldersAndPlainFilesButNotDotsOrHiddenEntries)
{
    MakeCategory(L"Супы");
    MakeCategory(L"Выпечка");
    WriteText(Bases() + L"\\заметка.txt", "x");
    MakeCategory(L"Скрытая");
    SetFileAttributesW((Bases() + L"\\Скрытая").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);

    std::vector<std::wstring> names = store->Categories();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Выпечка", L"Супы", L"заметка.txt"}));
}

TEST_F(StoreTest, CategoriesComeInTheFileSystemsOrder)
{
    for (const wchar_t* name : {L"b", L"C", L"a"})
        MakeCategory(name);
    std::vector<std::wstring> raw;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Bases() + L"\\*.*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            raw.push_back(name);
    } while (FindNextFileW(find, &data));
    ::FindClose(find);

    EXPECT_EQ(store->Categories(), raw);
    EXPECT_EQ(store->FirstCategory(), raw.front());
}

TEST_F(StoreTest, NoBasesFolderListsNothingAndKeepsTheEmptyCategoryPath)
{
    RemoveDir(Bases());
    EXPECT_TRUE(store->Categories().empty());
    EXPECT_FALSE(store->FirstCategory().has_value());
    EXPECT_EQ(store->CategoryDir(), Folder() + L"\\Bases\\\\");
}

TEST_F(StoreTest, SelectingTheFirstCategoryFollowsTheListingAndEmptiesWithoutCategories)
{
    MakeCategory(L"Супы");
    MakeCategory(L"Выпечка");
    EXPECT_EQ(store->SelectFirstCategory(), store->Categories().front());
    EXPECT_EQ(store->CategoryDir(), Bases() + L"\\" + store->Categories().front() + L"\\");

    RemoveDir(Bases() + L"\\Супы");
    RemoveDir(Bases() + L"\\Выпечка");
    EXPECT_FALSE(store->SelectFirstCategory().has_value());
    EXPECT_EQ(store->CategoryDir(), Bases() + L"\\\\");
    EXPECT_TRUE(ListRecipeCaptions(store->CategoryDir()).empty());
}

TEST_F(StoreTest, RecipeCaptionsDropOnlyTheLastFourCharacters)
{
    MakeCategory(L"Салаты");
    for (const wchar_t* file : {L"a.rcp", L"x.rcp.rcp", L"Оливье.rcp", L"Оливье.jpg", L"icon.ico"})
        WriteText(InCategory(L"Салаты", file), "x");

    std::vector<std::wstring> captions = ListRecipeCaptions(Bases() + L"\\Салаты\\");
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"a", L"x.rcp", L"Оливье"}));
}

TEST_F(StoreTest, RecipeListOfAMissingFolderIsEmpty)
{
    EXPECT_TRUE(ListRecipeCaptions(Bases() + L"\\Нет такой\\").empty());
}

TEST_F(StoreTest, SettingTheCategoryGivesItsFolderWithTrailingSeparator)
{
    store->SetCategory(L"Супы");
    EXPECT_EQ(store->CategoryDir(), Folder() + L"\\Bases\\Супы\\");
    EXPECT_EQ(store->RecipeFile(L"Борщ"), Folder() + L"\\Bases\\Супы\\Борщ.rcp");
    EXPECT_EQ(store->PhotoFile(L"Борщ"), Folder() + L"\\Bases\\Супы\\Борщ.jpg");
}

// --- Rating and the delete prompt ------------------------------------------------------------------

TEST(RatingText, DigitsReadAsNumbersAndAnythingElseAsZero)
{
    EXPECT_EQ(ParseRating(L"3"), 3);
    EXPECT_EQ(ParseRating(L"0"), 0);
    EXPECT_EQ(ParseRating(L""), 0);
    EXPECT_EQ(ParseRating(L"x"), 0);
    EXPECT_EQ(ParseRating(L"3 звезды"), 0);
    // Out of range values stay as they are: the stars then keep their state.
    EXPECT_EQ(ParseRating(L"7"), 7);
    EXPECT_EQ(ParseRating(L"99999999999"), 0);
}

TEST(DeletePrompt, PathsUpToSixtyCharactersAreShownWhole)
{
    const std::wstring path(60, L'ж');
    EXPECT_EQ(ShownDeletePath(path), path);
}

TEST(DeletePrompt, LongerPathsShowDotsAndTheLastSixtyOneCharacters)
{
    std::wstring path;
    for (int i = 0; i < 100; ++i)
        path += static_cast<wchar_t>(L'a' + i % 26);
    EXPECT_EQ(ShownDeletePath(path), L"..." + path.substr(39));
    EXPECT_EQ(ShownDeletePath(path).size(), 64u);

    const std::wstring sixtyOne(61, L'q');
    EXPECT_EQ(ShownDeletePath(sixtyOne), L"..." + sixtyOne);
}

TEST(DeletePrompt, QuestionAndPathAreSeparatedByOneLineFeed)
{
    EXPECT_EQ(DeleteRecipePrompt(L"C:\\x.rcp"), L"Вы действительно хотите удалить рецепт:\nC:\\x.rcp");
}

// --- Opening ---------------------------------------------------------------------------------------

TEST_F(StoreTest, OpeningARecipeLoadsItAndReadsItsRatingAndPhoto)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), L"Борщ", L"4");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "jpeg");
    THiddenRecipeDocument view;
    const TOpenedRecipe opened = store->OpenRecipe(view, L"Борщ");
    EXPECT_TRUE(opened.Loaded);
    EXPECT_EQ(opened.RatingText, L"4");
    EXPECT_EQ(opened.Rating, 4);
    EXPECT_EQ(opened.Photo, InCategory(L"Супы", L"Борщ.jpg"));
    EXPECT_EQ(view.Paragraphs()[0], L"Борщ");
}

TEST_F(StoreTest, OpeningARecipeWithAnOddRatingLineKeepsItsText)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), L"Борщ", L"7");
    WriteRecipe(InCategory(L"Супы", L"Щи.rcp"), L"Щи", L"x");
    THiddenRecipeDocument view;
    const TOpenedRecipe seven = store->OpenRecipe(view, L"Борщ");
    EXPECT_EQ(seven.RatingText, L"7");
    EXPECT_EQ(seven.Rating, 7);
    EXPECT_FALSE(seven.Photo.has_value());
    const TOpenedRecipe x = store->OpenRecipe(view, L"Щи");
    EXPECT_EQ(x.RatingText, L"x");
    EXPECT_EQ(x.Rating, 0);
}

TEST_F(StoreTest, OpeningAVanishedRecipeLeavesTheViewEmptyAndStillFindsThePhoto)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "jpeg");
    THiddenRecipeDocument view;
    SetWindowTextW(view.Handle(), L"Прежний рецепт");
    const TOpenedRecipe opened = store->OpenRecipe(view, L"Борщ");
    EXPECT_FALSE(opened.Loaded);
    EXPECT_EQ(view.Paragraphs(), std::vector<std::wstring>{L""});
    EXPECT_TRUE(opened.Photo.has_value());
}

// --- Saving, favourites and rating -----------------------------------------------------------------

TEST_F(StoreTest, SaveWritesTheViewToTheSelectedRecipe)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    THiddenRecipeDocument view;
    recipes::ComposeRecipe(view.Handle(), {L"Борщ", L"", L"4", L"Свёкла", L"Варить", L""});
    store->SaveRecipe(view, L"Борщ");
    const auto lines = LinesOf(InCategory(L"Супы", L"Борщ.rcp"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Борщ");
    EXPECT_EQ(lines[1], L"4");
}

TEST_F(StoreTest, FavouritesGetACopyWithoutThePhoto)
{
    MakeCategory(L"Супы");
    MakeCategory(kFavouritesCategory);
    store->SetCategory(L"Супы");
    WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), L"Борщ", L"5");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "jpeg");
    WriteText(InCategory(kFavouritesCategory, L"Борщ.rcp"), "old");

    THiddenRecipeDocument view;
    view.LoadFromFile(store->RecipeFile(L"Борщ"));
    store->CopyToFavourites(view, L"Борщ");

    EXPECT_EQ(LinesOf(InCategory(kFavouritesCategory, L"Борщ.rcp"))[0], L"Борщ");
    EXPECT_FALSE(Exists(InCategory(kFavouritesCategory, L"Борщ.jpg")));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
}

TEST_F(StoreTest, FavouritesWithoutTheirFolderRaiseACreationErrorAndCreateNothing)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    THiddenRecipeDocument view;
    recipes::ComposeRecipe(view.Handle(), {L"Борщ", L"", L"", L"", L"", L""});
    EXPECT_THROW(store->CopyToFavourites(view, L"Борщ"), EFCreateError);
    EXPECT_FALSE(Exists(Bases() + L"\\" + kFavouritesCategory));
}

TEST_F(StoreTest, RatingWritesTheDigitIntoLineOneOfTheRecipe)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), L"Борщ", L"");
    THiddenRecipeDocument view;
    view.LoadFromFile(store->RecipeFile(L"Борщ"));

    EXPECT_EQ(store->RateRecipe(view, 4, L"Борщ"), store->RecipeFile(L"Борщ"));
    const auto lines = LinesOf(InCategory(L"Супы", L"Борщ.rcp"));
    EXPECT_EQ(lines[0], L"Борщ");
    EXPECT_EQ(ParseRating(lines[1]), 4);
    EXPECT_EQ(lines[2], L"Необходимые продукты:");
}

TEST_F(StoreTest, RatingARenamedRecipeWritesASecondFileAndLeavesTheFirst)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), L"Борщ красный", L"2");
    const std::string before = testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp"));
    THiddenRecipeDocument view;
    view.LoadFromFile(store->RecipeFile(L"Борщ"));

    store->RateRecipe(view, 5, L"Борщ");
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp")), before);
    EXPECT_EQ(ParseRating(LinesOf(InCategory(L"Супы", L"Борщ красный.rcp"))[1]), 5);
}

TEST_F(StoreTest, RatingANameLineThatIsNoFileNameWritesTheSelectedRecipe)
{
    MakeCategory(L"Супы");
    store->SetCategory(L"Супы");
    for (const std::wstring nameLine : {L"", L"..", L".", L"..\\..\\Побег", L"a/b", L"c:x", L"Что?", L"a|b"}) {
        WriteRecipe(InCategory(L"Супы", L"Борщ.rcp"), nameLine, L"1");
        THiddenRecipeDocument view;
        view.LoadFromFile(store->RecipeFile(L"Борщ"));
        EXPECT_EQ(store->RateRecipe(view, 3, L"Борщ"), store->RecipeFile(L"Борщ")) << Utf8(nameLine);
        EXPECT_EQ(ParseRating(LinesOf(InCategory(L"Супы", L"Борщ.rcp"))[1]), 3) << Utf8(nameLine);
    }
    EXPECT_FALSE(Exists(Folder() + L"\\Побег.rcp"));
    EXPECT_FALSE(Exists(Bases() + L"\\.rcp"));
    std::vector<std::wstring> left = ListRecipeCaptions(Bases() + L"\\Супы\\");
    EXPECT_EQ(left, std::vector<std::wstring>{L"Борщ"});
}

// --- Moving ----------------------------------------------------------------------------------------

class MoveTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        MakeCategory(L"Супы");
        MakeCategory(L"Выпечка");
        WriteText(InCategory(L"Супы", L"Борщ.rcp"), "borsch");
    }
};

TEST_F(MoveTest, MoveToItsOwnCategoryIsRefusedAndChangesNothing)
{
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    EXPECT_EQ(store->MoveRecipe(L"Супы", L"Супы", L"Борщ"), TMoveResult::AlreadyThere);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Information);
    EXPECT_EQ(dialogs.boxes[0].text, kAlreadyThere);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp")), "borsch");
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
}

TEST_F(MoveTest, MoveKeepsBothRecipesWhenTargetExists)
{
    WriteText(InCategory(L"Выпечка", L"Борщ.rcp"), "other");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    EXPECT_EQ(store->MoveRecipe(L"Супы", L"Выпечка", L"Борщ"), TMoveResult::AlreadyThere);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, kAlreadyThere);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp")), "borsch");
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Выпечка", L"Борщ.rcp")), "other");
    // The photo follows only a recipe that arrived.
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_FALSE(Exists(InCategory(L"Выпечка", L"Борщ.jpg")));
}

TEST_F(MoveTest, MoveCarriesTheRecipeAndItsPhoto)
{
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    EXPECT_EQ(store->MoveRecipe(L"Супы", L"Выпечка", L"Борщ"), TMoveResult::Moved);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Выпечка", L"Борщ.rcp")), "borsch");
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Выпечка", L"Борщ.jpg")), "photo");
}

TEST_F(MoveTest, MoveKeepsTheSourcePhotoWhenTheTargetHasOne)
{
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    WriteText(InCategory(L"Выпечка", L"Борщ.jpg"), "other photo");
    EXPECT_EQ(store->MoveRecipe(L"Супы", L"Выпечка", L"Борщ"), TMoveResult::Moved);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.jpg")), "photo");
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Выпечка", L"Борщ.jpg")), "other photo");
}

TEST_F(MoveTest, MoveOfAVanishedRecipeLosesNothing)
{
    DeleteFile(InCategory(L"Супы", L"Борщ.rcp"));
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    EXPECT_EQ(store->MoveRecipe(L"Супы", L"Выпечка", L"Борщ"), TMoveResult::AlreadyThere);
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_FALSE(Exists(InCategory(L"Выпечка", L"Борщ.rcp")));
}

TEST_F(MoveTest, ASourceThatWillNotGoIsReportedAndBothCopiesStay)
{
    const std::wstring source = InCategory(L"Супы", L"Борщ.rcp");
    const std::wstring target = InCategory(L"Выпечка", L"Борщ.rcp");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY);
    const TMoveResult result = store->MoveRecipe(L"Супы", L"Выпечка", L"Борщ");
    SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(result, TMoveResult::Moved);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Message);
    EXPECT_EQ(dialogs.boxes[0].text, L"Не могу удалить файл: " + source);
    EXPECT_EQ(testsupport::ReadFileBytes(source), "borsch");
    EXPECT_EQ(testsupport::ReadFileBytes(target), "borsch");
    // The recipe that stayed keeps its photo; the copy gets one too.
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_TRUE(Exists(InCategory(L"Выпечка", L"Борщ.jpg")));
}

// --- Deleting a recipe -----------------------------------------------------------------------------

class DeleteRecipeTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        MakeCategory(L"Супы");
        store->SetCategory(L"Супы");
        WriteText(InCategory(L"Супы", L"Борщ.rcp"), "borsch");
        WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
    }
};

TEST_F(DeleteRecipeTest, WithoutSelectionAsksForAFile)
{
    EXPECT_FALSE(store->DeleteRecipe(std::nullopt));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Information);
    EXPECT_EQ(dialogs.boxes[0].text, L"Укажите нужный вам файл.");
}

TEST_F(DeleteRecipeTest, NoKeepsTheRecipe)
{
    dialogs.answers = {false};
    EXPECT_FALSE(store->DeleteRecipe(std::wstring(L"Борщ")));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Confirm);
    EXPECT_EQ(dialogs.boxes[0].text, DeleteRecipePrompt(store->RecipeFile(L"Борщ")));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
}

TEST_F(DeleteRecipeTest, YesDeletesTheRecipeAndItsPhoto)
{
    dialogs.answers = {true};
    EXPECT_TRUE(store->DeleteRecipe(std::wstring(L"Борщ")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
}

TEST_F(DeleteRecipeTest, YesOnAVanishedRecipeChangesNothing)
{
    DeleteFile(InCategory(L"Супы", L"Борщ.rcp"));
    dialogs.answers = {true};
    EXPECT_FALSE(store->DeleteRecipe(std::wstring(L"Борщ")));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
}

TEST_F(DeleteRecipeTest, ARecipeThatCannotBeDeletedKeepsItsPhotoAndIsReported)
{
    const std::wstring file = InCategory(L"Супы", L"Борщ.rcp");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs.answers = {true};
    EXPECT_FALSE(store->DeleteRecipe(std::wstring(L"Борщ")));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Exists(file));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, L"Не могу удалить файл: " + file);
}

// --- Categories ------------------------------------------------------------------------------------

TEST_F(StoreTest, NewCategoryIsCreatedAndReported)
{
    EXPECT_TRUE(store->CreateCategory(L"Десерты"));
    EXPECT_TRUE(DirectoryExists(Bases() + L"\\Десерты"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Information);
    EXPECT_EQ(dialogs.boxes[0].text, L"Новая категория успешно создана");
}

TEST_F(StoreTest, ExistingCategoryNameEndsInTheFailureMessage)
{
    MakeCategory(L"Супы");
    EXPECT_FALSE(store->CreateCategory(L"Супы"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Kind::Warning);
    EXPECT_EQ(dialogs.boxes[0].text, L"По какой-то причине новая категория не создана");
}

TEST_F(StoreTest, CategoryNamesThatLeaveBasesAreRefused)
{
    const std::vector<std::wstring> names = {L"",     L".",      L"..",   L"..\\Побег", L"../Побег", L"a\\b",
                                             L"C:\\Побег", L"c:x", L"a*",   L"что?",      L"\"к\"",    L"<a>",
                                             L"a|b"};
    for (const std::wstring& name : names) {
        dialogs.boxes.clear();
        EXPECT_FALSE(store->CreateCategory(name)) << Utf8(name);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, L"По какой-то причине новая категория не создана");
    }
    EXPECT_FALSE(Exists(Folder() + L"\\Побег"));
    EXPECT_FALSE(Exists(Bases() + L"\\a"));
    EXPECT_TRUE(store->Categories().empty());
}

class DeviceNameTest : public StoreTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(DeviceNameTest, IsNeverTakenForACategoryOrARatingsFile)
{
    const std::wstring name = GetParam();
    EXPECT_FALSE(IsPlainFileName(name));
    EXPECT_FALSE(store->CreateCategory(name));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"По какой-то причине новая категория не создана");
    EXPECT_TRUE(store->Categories().empty());
    store->SetCategory(L"Супы");
    EXPECT_EQ(store->RatingFile(name, L"Борщ"), InCategory(L"Супы", L"Борщ.rcp"));
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceNameTest, ::testing::ValuesIn(testsupport::kDeviceNames));

TEST_F(StoreTest, NamesTheSystemOpensAsADeviceOrAsAnotherFileAreNeitherListedNorWritten)
{
    MakeCategory(L"Soups");
    MakeCategory(kFavouritesCategory);
    store->SetCategory(L"Soups");
    THiddenRecipeDocument view;
    recipes::ComposeRecipe(view.Handle(), {L"NUL", L"", L"2", L"", L"", L""});
    store->SaveRecipe(view, L"NUL");
    store->CopyToFavourites(view, L"com1");
    store->RateRecipe(view, 3, L"Aux");
    EXPECT_EQ(dialogs.boxes.size(), 3u);
    for (const auto& box : dialogs.boxes)
        EXPECT_EQ(box.text.rfind(L"Не могу сохранить файл: " + Bases(), 0), 0u) << Utf8(box.text);

    // Only the host makes such names as they are written.
    WriteText(InCategory(L"Soups", L"Borsch.rcp"), "x");
    if (!testsupport::RunHostShell(L"cd '" + testsupport::Widen(testsupport::HostPath(Bases())) +
                                       L"' && mkdir nul 'Cat.' && cd Soups && : > NUL.rcp && : > 'X.rcp.' && : > 'Y.rcp '",
                                   Folder()))
        GTEST_SKIP() << "no host shell here to make names the system cannot make";
    EXPECT_EQ(ListRecipeCaptions(store->CategoryDir()), std::vector<std::wstring>{L"Borsch"});
    EXPECT_EQ(store->Categories().size(), 2u);
}

TEST(PlainFileNames, NamesThatOnlyBeginLikeDevicesStayPlain)
{
    for (const wchar_t* name : {L"CONSOLE", L"Conserve.rcp", L"COM10", L"LPT0", L"COM", L"Nullify", L"Aux-soup"})
        EXPECT_TRUE(IsPlainFileName(name)) << Utf8(name);
}

TEST(PlainFileNames, NamesEndingInADotOrASpaceAreNotPlainForTheSystemDropsTheEnd)
{
    for (const wchar_t* name : {L"Супы.", L"Борщ ", L"X.rcp.", L"..."})
        EXPECT_FALSE(IsPlainFileName(name)) << Utf8(name);
    EXPECT_TRUE(IsPlainFileName(L"X..rcp"));
}

TEST_F(StoreTest, FavouritesCannotBeDeleted)
{
    MakeCategory(kFavouritesCategory);
    dialogs.answers = {true, true};
    EXPECT_FALSE(store->DeleteCategory(kFavouritesCategory));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Нельзя удалять служебную группу");
    EXPECT_TRUE(DirectoryExists(Bases() + L"\\" + kFavouritesCategory));
}

TEST_F(StoreTest, DeletingACategoryAsksTwiceAndStopsAtTheFirstNo)
{
    MakeCategory(L"Супы");
    WriteText(InCategory(L"Супы", L"Борщ.rcp"), "x");
    dialogs.answers = {true, false};
    EXPECT_FALSE(store->DeleteCategory(L"Супы"));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Вы действительно хотите удалить группу \"Супы\"");
    EXPECT_EQ(dialogs.boxes[1].text, L"Внимание. Будут удалены все рецепты в выбранной группе");
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
}

TEST_F(StoreTest, DeletingACategoryRemovesItsRecipesAndLeavesTheOthers)
{
    MakeCategory(L"Супы");
    MakeCategory(L"Салаты");
    WriteText(InCategory(L"Супы", L"Борщ.rcp"), "x");
    WriteText(InCategory(L"Супы", L"Борщ.jpg"), "x");
    WriteText(InCategory(L"Салаты", L"Оливье.rcp"), "x");
    dialogs.answers = {true, true};
    EXPECT_TRUE(store->DeleteCategory(L"Супы"));
    EXPECT_FALSE(Exists(Bases() + L"\\Супы"));
    EXPECT_TRUE(Exists(InCategory(L"Салаты", L"Оливье.rcp")));
    EXPECT_EQ(store->Categories(), std::vector<std::wstring>{L"Салаты"});
}

TEST_F(StoreTest, DeletingWithoutACategoryNameNeverTouchesBases)
{
    MakeCategory(L"Супы");
    dialogs.answers = {true, true};
    EXPECT_FALSE(store->DeleteCategory(L""));
    EXPECT_TRUE(DirectoryExists(Bases() + L"\\Супы"));
}

// --- The photo of a new recipe ---------------------------------------------------------------------

TEST_F(StoreTest, NewRecipePhotoIsCopiedUnderTheRecipesName)
{
    MakeCategory(L"Супы");
    WriteText(PathOf(L"снимок.jpg"), "jpeg");
    store->AddRecipePhoto(PathOf(L"снимок.jpg"), Bases() + L"\\Супы", L"Борщ");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.jpg")), "jpeg");
    EXPECT_TRUE(Exists(PathOf(L"снимок.jpg")));
}

TEST_F(StoreTest, NewRecipePhotoThatIsMissingIsReported)
{
    MakeCategory(L"Супы");
    store->AddRecipePhoto(PathOf(L"нет.jpg"), Bases() + L"\\Супы", L"Борщ");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Фотография не найдена в указанной Вами папке");
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
}

TEST_F(StoreTest, NewRecipePhotoNamedLikeAFileOfTheCategoryShowsTheTargetAndStillCopies)
{
    MakeCategory(L"Супы");
    WriteText(PathOf(L"снимок.jpg"), "jpeg");
    WriteText(InCategory(L"Супы", L"снимок.jpg"), "old");
    store->AddRecipePhoto(PathOf(L"снимок.jpg"), Bases() + L"\\Супы", L"Борщ");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, InCategory(L"Супы", L"Борщ.jpg"));
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.jpg")), "jpeg");
}

TEST_F(StoreTest, NewRecipePhotoWithoutACategoryCopiesNothingAndReportsTheFailure)
{
    WriteText(PathOf(L"снимок.jpg"), "jpeg");
    SetCurrentDir(Bases());
    store->AddRecipePhoto(PathOf(L"снимок.jpg"), L"", L"Борщ");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Произошла ошибка при копировании файла");
    EXPECT_TRUE(store->Categories().empty());
}
