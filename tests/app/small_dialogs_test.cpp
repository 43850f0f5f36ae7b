// The move, new-category, photo and about dialogs driven in process: what they show, what they write
// and the messages they give.
#include "tests/app/dialogs_support.h"

#include "app/about.h"
#include "app/group.h"
#include "app/remove.h"
#include "app/show.h"
#include "framework/SysUtils.h"

using apptest::Exists;
using apptest::ScriptedDialogs;

// ---- Move ----

class MoveDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeCategory(L"Супы");
        MakeCategory(L"Десерты");
        MakeCategory(L"Я");
        WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
        WriteText(InCategory(L"Супы", L"Борщ.jpg"), "photo");
        host->Category = L"Супы";
        host->Selected = L"Борщ";
    }
    void Choose(TRemoveForm* form, const std::wstring& category)
    {
        form->CategoryList->SetItemIndex(form->CategoryList->Items()->IndexOf(category));
        form->CategoryListClick(form->CategoryList);
    }
};

TEST_F(MoveDialog, ShowsTheRecipeAndEveryCategoryWithOKDisabled)
{
    auto* form = Open<TRemoveForm>();
    KeepScreenshot(form, L"remove");
    EXPECT_EQ(form->Caption(), L"Перемещение рецепта");
    EXPECT_EQ(form->RecipeName->Caption(), L"Борщ");
    EXPECT_EQ(form->L2->Caption(), L"в категорию");
    EXPECT_FALSE(form->OKButton->Enabled());
    EXPECT_EQ(form->CategoryList->Items()->Count(), 3);
    EXPECT_GE(form->CategoryList->Items()->IndexOf(L"Десерты"), 0);
}

TEST_F(MoveDialog, WithoutASelectedRecipeSaysSoInRedAndOKStaysDisabled)
{
    host->Selected.reset();
    auto* form = Open<TRemoveForm>();
    EXPECT_EQ(form->RecipeName->Caption(), L"Рецепт не выбран");
    EXPECT_EQ(form->RecipeName->Font()->Color(), clRed);
    Choose(form, L"Десерты");
    EXPECT_FALSE(form->OKButton->Enabled());
}

TEST_F(MoveDialog, ChoosingACategoryNamesItAndAOneLetterNameIsStillChoosable)
{
    auto* form = Open<TRemoveForm>();
    Choose(form, L"Десерты");
    EXPECT_EQ(form->L2->Caption(), L"в категорию Десерты");
    EXPECT_TRUE(form->OKButton->Enabled());
    Choose(form, L"Я");
    EXPECT_EQ(form->L2->Caption(), L"в категорию Не выбрана категория");
    form->OKButtonClick(form->OKButton);
    EXPECT_TRUE(Exists(InCategory(L"Я", L"Борщ.rcp")));
}

TEST_F(MoveDialog, MovingToItsOwnCategoryChangesNothingAndKeepsTheDialogOpen)
{
    auto* form = Open<TRemoveForm>();
    Choose(form, L"Супы");
    form->OKButtonClick(form->OKButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Рецепт с таким названием уже есть в выбранной вами категории.");
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(host->RecipesChanged, 0);
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
}

TEST_F(MoveDialog, ANameThatExistsInTheTargetKeepsBothRecipesAndTheDialogOpen)
{
    WriteRecipe(L"Десерты", L"Борщ", L"Сахар");
    const std::string target = testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.rcp"));
    auto* form = Open<TRemoveForm>();
    Choose(form, L"Десерты");
    form->OKButtonClick(form->OKButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Рецепт с таким названием уже есть в выбранной вами категории.");
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.rcp")), target);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(host->RecipesChanged, 0);
}

TEST_F(MoveDialog, MovedRecipeTakesItsPhotoAndTheListIsRefilled)
{
    const std::string recipe = testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.rcp"));
    auto* form = Open<TRemoveForm>();
    Choose(form, L"Десерты");
    form->OKButtonClick(form->OKButton);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.rcp")), recipe);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.jpg")), "photo");
    EXPECT_EQ(host->RecipesChanged, 1);
    EXPECT_FALSE(form->Visible());
}

// ---- New category ----

class GroupDialog : public DialogTest {};

TEST_F(GroupDialog, ANewNameBecomesACategoryWithTheSuccessMessage)
{
    auto* form = Open<TNewGroupForm>();
    KeepScreenshot(form, L"group");
    EXPECT_EQ(form->Caption(), L"Новая категория");
    form->Edit1->SetText(L"Выпечка");
    form->btOKClick(form->btOK);
    EXPECT_TRUE(DirectoryExists(Bases() + L"\\Выпечка"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, ScriptedDialogs::Kind::Information);
    EXPECT_EQ(dialogs.boxes[0].text, L"Новая категория успешно создана");
    EXPECT_FALSE(form->Visible());
}

TEST_F(GroupDialog, AnExistingOrEmptyNameOrOneLeadingOutOfBasesGivesTheFailureMessage)
{
    MakeCategory(L"Супы");
    for (const std::wstring name : {L"Супы", L"", L"..\\Чужое", L"a\\b"}) {
        dialogs.boxes.clear();
        auto* form = Open<TNewGroupForm>();
        form->Edit1->SetText(name);
        form->btOKClick(form->btOK);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].kind, ScriptedDialogs::Kind::Warning);
        EXPECT_EQ(dialogs.boxes[0].text, L"По какой-то причине новая категория не создана");
    }
    EXPECT_FALSE(DirectoryExists(Folder() + L"\\Чужое"));
    EXPECT_FALSE(DirectoryExists(Bases() + L"\\a"));
}

TEST_F(GroupDialog, CancelCreatesNothing)
{
    auto* form = Open<TNewGroupForm>();
    form->Edit1->SetText(L"Выпечка");
    form->btCancelClick(form->btCancel);
    EXPECT_FALSE(DirectoryExists(Bases() + L"\\Выпечка"));
    EXPECT_TRUE(dialogs.boxes.empty());
}

// ---- Photo ----

class PhotoWindow : public DialogTest {};

TEST_F(PhotoWindow, SizesItselfToThePicture)
{
    host->Photo = testsupport::TestDataPath(L"gradient.jpg");
    auto* form = Open<TFotoForm>();
    form->FormActivate(form);
    Pump();
    KeepScreenshot(form, L"show");
    EXPECT_EQ(form->Caption(), L"Фотография");
    EXPECT_EQ(form->Foto->Width(), 96);
    EXPECT_EQ(form->Foto->Height(), 64);
    EXPECT_EQ(form->ClientWidth(), 96);
    EXPECT_EQ(form->ClientHeight(), 64);
    // The picture is on screen: the gradient runs from red at the top to blue at the bottom.
    const testsupport::Pixels24 p = testsupport::CaptureWindow(form->Handle());
    EXPECT_GT(GetRValue(p.At(48, 1)), 200);
    EXPECT_GT(GetBValue(p.At(48, 62)), 200);
}

TEST_F(PhotoWindow, AnUnreadablePhotoIsReportedAndLeavesNoWindow)
{
    WriteText(PathOf(L"broken.jpg"), "not a jpeg");
    host->Photo = PathOf(L"broken.jpg");
    auto* form = Open<TFotoForm>();
    EXPECT_NO_THROW(form->FormActivate(form));
    Pump();
    EXPECT_FALSE(form->Visible());
    ASSERT_FALSE(Errors.empty());
    EXPECT_EQ(Errors.back().rfind(L"JPEG error: ", 0), 0u) << testsupport::Narrow(Errors.back());
}

// ---- About ----

class AboutDialog : public DialogTest {};

TEST_F(AboutDialog, ShowsTheCountersAndTheProgram)
{
    host->Starts = 17;
    host->Views = 1234;
    auto* form = Open<TAboutForm>();
    KeepScreenshot(form, L"about");
    EXPECT_EQ(form->Caption(), L"О программе");
    EXPECT_EQ(form->startn->Caption(), L"17");
    EXPECT_EQ(form->receptsn->Caption(), L"1234");
    EXPECT_EQ(form->OKButton->Caption(), L"OK");
    EXPECT_EQ(form->OKButton->ModalResult(), mrCancel);
}

TEST_F(AboutDialog, LinksOpenMailAndTheSiteAsTheyAreMeant)
{
    auto* form = Open<TAboutForm>();
    EXPECT_EQ(form->MailLink1->Link(), L"mailto:" + form->MailLink1->Caption());
    EXPECT_EQ(form->MailLink2->Link(), L"mailto:" + form->MailLink2->Caption());
    EXPECT_EQ(form->MailLink1->Hint(), L"Написать письмо");
    EXPECT_EQ(form->SiteLink->Link(), form->SiteLink->Caption());
    EXPECT_EQ(form->SiteLink->Hint(), L"Открыть в браузере");
    EXPECT_FALSE(form->ASLink1->URLEnabled());
    EXPECT_EQ(form->ASLink1->Hint(), L"Скопировать в буфер обмена");
}

TEST_F(AboutDialog, ClickingTheAccountNumberPutsItOnTheClipboardAsText)
{
    auto* form = Open<TAboutForm>();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    form->ASLink1->Click(); // links are off: only the copy happens
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const std::string text(static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(testsupport::Widen(text), form->ASLink1->Caption());
    EXPECT_TRUE(Errors.empty());
}

TEST_F(AboutDialog, CopyingFailsCleanlyWhenTheClipboardIsHeldElsewhere)
{
    auto* form = Open<TAboutForm>();
    ASSERT_TRUE(OpenClipboard(form->OKButton->Handle()));
    // Another window holds the clipboard open: the copy reports false instead of writing.
    EXPECT_FALSE(CopyTextToClipboard(form->Handle(), L"123"));
    CloseClipboard();
    EXPECT_TRUE(CopyTextToClipboard(form->Handle(), L"123"));
}
