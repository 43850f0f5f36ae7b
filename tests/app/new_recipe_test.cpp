// The new-recipe dialog driven in process: the fields it opens and in which order, what it writes,
// the existing-name check, the photo it copies (chosen through the system's open dialog) and what it
// refuses to write.
#include "tests/app/dialogs_support.h"
#include "tests/support/device_names.h"

#include "app/new_recipes.h"
#include "framework/SysUtils.h"

#include <dlgs.h>

#include <string>
#include <vector>

using apptest::Exists;

namespace {

// The file name the next system open dialog is answered with.
std::wstring gAnswer;

// Fills the open dialog's file name and confirms it, from the dialog's own message loop.
BOOL CALLBACK FindOwnDialog(HWND wnd, LPARAM found)
{
    wchar_t cls[16] = {};
    GetClassNameW(wnd, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(wnd))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
}

// Only this thread's dialog: other test programs on the same display may show dialogs of their own.
void CALLBACK AnswerOpenDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOwnDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, id);
    if (GetDlgItem(dialog, cmb13))
        SetDlgItemTextW(dialog, cmb13, gAnswer.c_str());
    else
        SetDlgItemTextW(dialog, edt1, gAnswer.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Logs enabling and focusing of a control, then passes every message on.
class TStateLog : public TObject {
public:
    TStateLog(TControl* control, std::wstring name, std::vector<std::wstring>& log)
        : control_(control), name_(std::move(name)), log_(log)
    {
        saved_ = control->WindowProc;
        control->WindowProc = TWndMethod(this, &TStateLog::Proc);
    }
    ~TStateLog() override { control_->WindowProc = saved_; }
    void Proc(TMessage& m)
    {
        if (m.Msg == CM_ENABLEDCHANGED)
            log_.push_back(name_);
        if (m.Msg == WM_SETFOCUS)
            log_.push_back(L"focus " + name_);
        saved_(m);
    }

private:
    TControl* control_;
    std::wstring name_;
    std::vector<std::wstring>& log_;
    TWndMethod saved_;
};

} // namespace

class NewRecipeDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeCategory(L"Супы");
        MakeCategory(L"Десерты");
        WriteText(PathOf(L"снимок.jpg"), "jpeg bytes");
    }
    TNewForm* OpenDialog()
    {
        auto* form = Open<TNewForm>();
        form->FormActivate(form);
        return form;
    }
    void Choose(TNewForm* form, const std::wstring& category)
    {
        form->CategoryBox->SetItemIndex(form->CategoryBox->Items()->IndexOf(category));
        form->CategoryBoxChange(form->CategoryBox);
    }
    void Fill(TNewForm* form, const std::wstring& name)
    {
        form->NameRecipes->SetText(name);
        form->Portions->SetText(L"4");
        form->RatingComboBox->SetText(L"5");
        form->Produkts->SetText(L"Свёкла\r\nКапуста");
        form->Recipes->SetText(L"Варить час.");
        form->Autor->SetText(L"Бабушка");
    }
    std::vector<std::wstring> Lines(const std::wstring& file)
    {
        THiddenRecipeDocument document;
        document.LoadFromFile(file);
        return document.Paragraphs();
    }
    // Presses Browse and answers the system's open dialog with path.
    void Browse(TNewForm* form, const std::wstring& path)
    {
        gAnswer = path;
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerOpenDialog);
        form->BrowseBtnClick(form->BrowseBtn);
        KillTimer(nullptr, timer);
    }
};

TEST_F(NewRecipeDialog, StartsWithTheCategoriesAndTheRecipeFieldsClosed)
{
    auto* form = OpenDialog();
    KeepScreenshot(form, L"new_recipes");
    EXPECT_EQ(form->Caption(), L"Новый рецепт");
    EXPECT_EQ(form->CategoryBox->Items()->Count(), 2);
    EXPECT_EQ(form->CategoryBox->DropDownCount(), 2);
    EXPECT_EQ(form->CategoryBox->Text(), L"Выберите категорию из этого списка");
    for (TWinControl* c : std::initializer_list<TWinControl*>{form->NameRecipes, form->Portions, form->RatingComboBox,
                                                              form->Produkts, form->Recipes, form->Autor}) {
        EXPECT_FALSE(c->Enabled()) << testsupport::Narrow(c->Name());
        EXPECT_EQ(c->Color(), clBtnFace);
    }
    EXPECT_EQ(form->FotoName->Color(), clBtnFace);
    EXPECT_EQ(form->buttonOK->Caption(), L"ОК");
    EXPECT_EQ(form->RatingComboBox->Items()->Count(), 6);
}

TEST_F(NewRecipeDialog, ChoosingACategoryOpensTheFieldsInOrderAndFocusesTheName)
{
    auto* form = OpenDialog();
    Pump(); // activation settles first: its own focus changes are not part of the choice
    std::vector<std::wstring> log;
    {
        TStateLog a(form->Autor, L"Autor", log), n(form->NameRecipes, L"NameRecipes", log),
            p(form->Portions, L"Portions", log), r(form->RatingComboBox, L"RatingComboBox", log),
            pr(form->Produkts, L"Produkts", log), re(form->Recipes, L"Recipes", log);
        Choose(form, L"Супы");
        Pump();
    }
    // The system may hand the focus back once more afterwards; the order of the choice is what counts.
    const std::vector<std::wstring> expected = {L"Autor",          L"NameRecipes", L"focus NameRecipes", L"Portions",
                                                L"RatingComboBox", L"Produkts",    L"Recipes"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::wstring>(log.begin(), log.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(form->Produkts->Color(), clWindow);
    EXPECT_EQ(form->FotoName->Color(), clWindow);
}

TEST_F(NewRecipeDialog, MoreThanTwentyCategoriesShowTwentyRows)
{
    for (int i = 0; i < 23; ++i)
        MakeCategory(L"Категория " + IntToStr(i));
    auto* form = OpenDialog();
    EXPECT_EQ(form->CategoryBox->Items()->Count(), 25);
    EXPECT_EQ(form->CategoryBox->DropDownCount(), 20);
}

TEST_F(NewRecipeDialog, SavesEveryFieldIntoTheChosenCategoryAndAsksForARefill)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Борщ");
    form->buttonOKClick(form->buttonOK);
    const std::wstring file = InCategory(L"Супы", L"Борщ.rcp");
    ASSERT_TRUE(Exists(file));
    EXPECT_EQ(Lines(file), (std::vector<std::wstring>{L"Борщ", L"5", L"Количество порций : 4", L"Необходимые продукты:",
                                                       L"Свёкла", L"Капуста", L"Способ приготовления:", L"Варить час.",
                                                       L"", L"Автор: Бабушка"}));
    EXPECT_EQ(host->RecipesChanged, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NewRecipeDialog, ATypedRatingIsWrittenAsItIs)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Щи");
    form->RatingComboBox->SetText(L"9");
    form->buttonOKClick(form->buttonOK);
    EXPECT_EQ(Lines(InCategory(L"Супы", L"Щи.rcp"))[1], L"9");
}

TEST_F(NewRecipeDialog, ATypedCategoryAloneSavesNothingButTheDialogStillCloses)
{
    auto* form = OpenDialog();
    form->CategoryBox->SetText(L"Супы");
    form->CategoryBoxChange(form->CategoryBox);
    Fill(form, L"Борщ");
    form->buttonOKClick(form->buttonOK);
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_EQ(host->RecipesChanged, 1);
    EXPECT_FALSE(form->Visible());
}

TEST_F(NewRecipeDialog, LeavingTheNameOfAnExistingRecipeReplacesItWithTheMessage)
{
    WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    form->NameRecipes->SetText(L"Борщ");
    form->NameRecipesExit(form->NameRecipes);
    EXPECT_EQ(form->NameRecipes->Text(), L"Рецепт с таким названием уже существует");
    form->NameRecipes->SetText(L"Щи");
    form->NameRecipesExit(form->Portions);
    EXPECT_EQ(form->NameRecipes->Text(), L"Щи");
}

TEST_F(NewRecipeDialog, OKNeverOverwritesARecipeOfTheCategoryChosenAfterTheNameCheck)
{
    WriteRecipe(L"Десерты", L"Борщ", L"Сахар");
    const std::string before = testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.rcp"));
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Борщ");
    form->NameRecipesExit(form->NameRecipes);
    EXPECT_EQ(form->NameRecipes->Text(), L"Борщ");
    Choose(form, L"Десерты");
    form->buttonOKClick(form->buttonOK);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Десерты", L"Борщ.rcp")), before);
    EXPECT_EQ(form->NameRecipes->Text(), L"Рецепт с таким названием уже существует");
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(host->RecipesChanged, 0);
}

TEST_F(NewRecipeDialog, ANameThatLeadsOutOfItsCategoryIsNotSavedAndTheUserIsToldWhy)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    const std::pair<std::wstring, const wchar_t*> refusals[] = {
        {L"..\\..\\Чужой", kBadRecipeNameText}, {L"a\\b", kBadRecipeNameText}, {L"", kNoRecipeNameText},
        {L"  ", kNoRecipeNameText}, {L"..", kBadRecipeNameText}};
    for (const auto& [name, text] : refusals) {
        dialogs.boxes.clear();
        Fill(form, name);
        form->buttonOKClick(form->buttonOK);
        EXPECT_TRUE(form->Visible());
        ASSERT_EQ(dialogs.boxes.size(), 1u) << apptest::Utf8(name);
        EXPECT_EQ(dialogs.boxes[0].text, text) << apptest::Utf8(name);
        EXPECT_EQ(form->NameRecipes->Text(), name) << "what was typed stays";
        // A return from the message activates the dialog again: the chosen category stays.
        form->FormActivate(form);
        EXPECT_EQ(form->CategoryBox->Text(), L"Супы");
    }
    EXPECT_FALSE(Exists(PathOf(L"Чужой.rcp")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L".rcp")));
    EXPECT_TRUE(store->Categories().size() == 2u);
    EXPECT_EQ(host->RecipesChanged, 0);
}

TEST_F(NewRecipeDialog, ADeviceNameIsNotSaved)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    for (const wchar_t* name : testsupport::kDeviceNames) {
        dialogs.boxes.clear();
        Fill(form, name);
        form->buttonOKClick(form->buttonOK);
        EXPECT_TRUE(form->Visible()) << apptest::Utf8(name);
        ASSERT_EQ(dialogs.boxes.size(), 1u) << apptest::Utf8(name);
        EXPECT_EQ(dialogs.boxes[0].text, kBadRecipeNameText);
    }
    EXPECT_TRUE(ListRecipeCaptions(InCategory(L"Супы", L"")).empty());
    EXPECT_EQ(host->RecipesChanged, 0);
}

TEST_F(NewRecipeDialog, ThePhotoChosenInTheOpenDialogIsCopiedUnderTheRecipesName)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Борщ");
    Browse(form, PathOf(L"снимок.jpg"));
    EXPECT_EQ(form->FotoName->Text(), L"снимок.jpg");
    form->buttonOKClick(form->buttonOK);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.jpg")), "jpeg bytes");
    EXPECT_TRUE(Exists(PathOf(L"снимок.jpg")));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NewRecipeDialog, APhotoChosenInAnEarlierDialogIsNeverCopied)
{
    auto* first = OpenDialog();
    Browse(first, PathOf(L"снимок.jpg"));
    first->Close();
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Борщ");
    form->FotoName->SetText(L"снимок.jpg");
    form->buttonOKClick(form->buttonOK);
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Фотография не найдена в указанной Вами папке");
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
}

TEST_F(NewRecipeDialog, APhotoTypedAsAFullPathIsCopied)
{
    auto* form = OpenDialog();
    Choose(form, L"Супы");
    Fill(form, L"Борщ");
    form->FotoName->SetText(PathOf(L"снимок.jpg"));
    form->buttonOKClick(form->buttonOK);
    EXPECT_EQ(testsupport::ReadFileBytes(InCategory(L"Супы", L"Борщ.jpg")), "jpeg bytes");
}

TEST_F(NewRecipeDialog, WithoutAChosenCategoryThePhotoCopyIsReportedAsFailedAndNothingIsWritten)
{
    SetCurrentDir(Bases());
    auto* form = OpenDialog();
    form->CategoryBox->SetText(L"Супы");
    form->CategoryBoxChange(form->CategoryBox);
    Fill(form, L"Борщ");
    form->FotoName->SetText(PathOf(L"снимок.jpg"));
    form->buttonOKClick(form->buttonOK);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Произошла ошибка при копировании файла");
    EXPECT_EQ(store->Categories().size(), 2u);
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.rcp")));
    EXPECT_FALSE(Exists(InCategory(L"Супы", L"Борщ.jpg")));
    EXPECT_EQ(host->RecipesChanged, 1);
}
