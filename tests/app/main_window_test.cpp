// The main window in process: start-up order, the star row, the save commands, list navigation, the
// tab road, the view settings and the theme dialog.
#include "tests/app/main_window_fixture.h"

#include "app/group.h"

#include "app/thema.h"
#include "framework/SysUtils.h"

#include <commctrl.h>

#include <functional>

using namespace apptest;

namespace {

class MainWindow : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        WriteRecipe(L"Супы", L"Борщ", L"3");
        WriteRecipe(L"Супы", L"Уха", L"x");
        WriteRecipe(L"Супы", L"Щи", L"7");
        WriteRecipe(L"Выпечка", L"Блины", L"5");
        WriteRecipe(L"Выпечка", L"Пирог", L"");
        MakeCategory(L"Избранное");
    }

    void Select(const std::wstring& caption)
    {
        for (int i = 0; i < form->RecipesList->Items()->Count(); ++i) {
            if (form->RecipesList->Items()->Item(i)->Caption() == caption) {
                form->RecipesList->SetItemIndex(i);
                testsupport::PumpMessagesUntilIdle(200);
                return;
            }
        }
        FAIL() << "no recipe " << Utf8(caption);
    }

    int TabOf(const std::wstring& category) const
    {
        const std::vector<std::wstring> tabs = TabTexts();
        for (size_t i = 0; i < tabs.size(); ++i)
            if (tabs[i] == category)
                return static_cast<int>(i);
        return -1;
    }

    bool SaveEnabled() const
    {
        const bool menu = form->mSave->Enabled();
        EXPECT_EQ(menu, form->subSave->Enabled());
        EXPECT_EQ(menu, form->SaveAction->Enabled());
        return menu;
    }

    std::wstring Category(const std::wstring& file) const { return form->CategoryDir() + file; }
};

const std::vector<bool> kNoStars = {false, false, false, false, false};

} // namespace

// ---- Start-up ----

TEST_F(MainWindow, StartUpListsCategoriesAsTabsAndOpensFirstRecipeOfFirstCategory)
{
    Start();
    const std::vector<std::wstring> categories = ListFolderEntries(Bases() + L"\\");
    EXPECT_EQ(TabTexts(), categories);
    EXPECT_EQ(form->sTabControl->TabIndex(), 0);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\" + categories[0] + L"\\");
    EXPECT_EQ(ListCaptions(), ListRecipeCaptions(form->CategoryDir()));
    ASSERT_GT(form->RecipesList->Items()->Count(), 0);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 0);
    ASSERT_FALSE(ViewLines().empty());
    EXPECT_EQ(ViewLines()[0], ListCaptions()[0]);
    EXPECT_EQ(form->RecipeCount(), static_cast<int>(ListCaptions().size()));
    EXPECT_EQ(form->StatusBar->SimpleText(), RecipeCountText(form->RecipeCount()));
    EXPECT_EQ(form->PanelText(2), L"Оценка:");
}

TEST_F(MainWindow, FirstStartWithoutSettingsUsesDefaultsAndCountsOneStart)
{
    Start();
    EXPECT_EQ(form->sTabControl->Align(), alBottom);
    EXPECT_TRUE(form->mZDown->Checked());
    EXPECT_FALSE(form->mZUp->Checked());
    EXPECT_EQ(form->RecipesList->ViewStyle(), vsList);
    EXPECT_TRUE(form->mListView->Checked());
    EXPECT_FALSE(form->mIconView->Checked());
    EXPECT_FALSE(form->mIcons->Checked());
    EXPECT_EQ(form->ThemeName(), L"Стандарт");
    EXPECT_EQ(ReadSetting(L"Counters", L"StartCount"), L"1");
    EXPECT_EQ(form->Counters().StartCount, 1);
}

TEST_F(MainWindow, StartCounterGoesOnFromStoredValueAndFromZeroWhenDamaged)
{
    WriteSetting(L"Counters", L"StartCount", L"41");
    Start();
    EXPECT_EQ(ReadSetting(L"Counters", L"StartCount"), L"42");
    WriteSetting(L"Counters", L"StartCount", L"сорок");
    Restart();
    EXPECT_EQ(ReadSetting(L"Counters", L"StartCount"), L"1");
}

TEST_F(MainWindow, OpeningRecipeCountsOneView)
{
    WriteSetting(L"Counters", L"ReceptCount", L"10");
    Start();
    const int afterStart = form->Counters().ViewCount;
    EXPECT_GE(afterStart, 10);
    Select(ListCaptions().back());
    EXPECT_EQ(form->Counters().ViewCount, afterStart + 1);
    EXPECT_EQ(ReadSetting(L"Counters", L"ReceptCount"), IntToStr(afterStart + 1));
}

TEST_F(MainWindow, StartUpWithThemeLackingRecipeAndSearchIconsFallsBackToTemplates)
{
    WriteTheme(L"Стандарт", RGB(255, 0, 0), {L"tb_exit", L"mn_new"});
    Start();
    EXPECT_EQ(form->ToolBarImage()->Count(), 13);
    EXPECT_EQ(form->MenuImage()->Count(), 14);
    EXPECT_EQ(form->LbImage()->Count(), 1);
    EXPECT_EQ(form->LsImage()->Count(), 1);
    EXPECT_EQ(form->FindListImage()->Count(), 1);
    EXPECT_EQ(ImageCentre(form->ToolBarImage(), 0), RGB(255, 0, 0));
    EXPECT_NE(ImageCentre(form->ToolBarImage(), 1), RGB(255, 0, 0));
    // The rest of the start ran: the list is filled and the start was counted.
    EXPECT_GT(form->RecipesList->Items()->Count(), 0);
    EXPECT_EQ(ReadSetting(L"Counters", L"StartCount"), L"1");
}

// Icon files a user's folders may hold damaged: random bytes, an icon cut short, an empty file. Each
// place takes the template as if the file were missing, and the start runs to its end.
TEST_F(MainWindow, DamagedThemeAndCategoryIconsAreTreatedLikeMissingOnes)
{
    WriteTheme(L"Стандарт", RGB(255, 0, 0));
    std::string random(766, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);
    const std::string whole = testsupport::ReadFileBytes(ThemeFolder(Folder(), L"Стандарт") + L"tb_prev.ico");
    const std::pair<const wchar_t*, std::string> damaged[] = {
        {L"tb_exit.ico", random}, {L"tb_new.ico", whole.substr(0, whole.size() / 2)}, {L"mn_new.ico", ""}};
    for (const auto& [file, bytes] : damaged)
        testsupport::WriteFileBytes(ThemeFolder(Folder(), L"Стандарт") + file, bytes);
    testsupport::WriteFileBytes(InCategory(L"Супы", L"icon.ico"), random);
    WriteSetting(L"Theme", L"Icons", L"Folder");

    Start();
    EXPECT_EQ(form->ToolBarImage()->Count(), 13);
    EXPECT_NE(ImageCentre(form->ToolBarImage(), 0), RGB(255, 0, 0));
    EXPECT_EQ(ImageCentre(form->ToolBarImage(), 1), RGB(255, 0, 0));
    EXPECT_NE(ImageCentre(form->LbImage(), 0), RGB(255, 0, 0));
    EXPECT_NE(ImageCentre(form->MenuImage(), 0), RGB(255, 0, 0));
    EXPECT_EQ(ImageCentre(form->MenuImage(), 1), RGB(255, 0, 0));
    EXPECT_EQ(form->TabImage()->Count(), static_cast<int>(TabTexts().size()));
    EXPECT_EQ(ImageCentre(form->TabImage(), TabOf(L"Супы")), ImageCentre(form->TabImage(), TabOf(L"Выпечка")));
    EXPECT_GT(form->RecipesList->Items()->Count(), 0);
    EXPECT_EQ(ReadSetting(L"Counters", L"StartCount"), L"1");
}

TEST(MainWindowEmpty, StartUpWithoutBasesShowsNoTabsAndEmptyList)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"velmora-nobases-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(folder));
    TRegistrySettings settings(L"Software\\Korvadin Tests\\NoBases" + std::to_wstring(GetCurrentProcessId()));
    ScriptedDialogs dialogs;
    TMainForm* form = Create<TMainForm>(Application);
    form->UseSettings(&settings);
    form->UseDialogs(&dialogs);
    form->Show();
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(form->sTabControl->Tabs()->GetCount(), 0);
    EXPECT_EQ(form->RecipesList->Items()->Count(), 0);
    EXPECT_EQ(form->CategoryDir(), folder + L"\\Bases\\\\");
    Free(form);
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.KeyPath().c_str());
    SetCurrentDir(saved);
    RemoveDirectoryW(folder.c_str());
}

// ---- The star row ----

TEST_F(MainWindow, StarsShowRatingOfOpenedRecipe)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    EXPECT_EQ(StarsVisible(), (std::vector<bool>{true, true, true, false, false}));
    EXPECT_EQ(form->PanelText(0), L"3");
}

TEST_F(MainWindow, RatingOutsideOneToFiveShowsDigitAndLeavesStarsAsTheyWere)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    Select(L"Щи");
    EXPECT_EQ(form->PanelText(0), L"7");
    EXPECT_EQ(StarsVisible(), (std::vector<bool>{true, true, true, false, false}));
}

TEST_F(MainWindow, RatingThatIsNoNumberHidesAllStars)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    Select(L"Уха");
    EXPECT_EQ(form->PanelText(0), L"x");
    EXPECT_EQ(StarsVisible(), kNoStars);
}

TEST_F(MainWindow, ShownStarsArePaintedInStatusBarAndHiddenOnesAreNot)
{
    Start();
    ClickTab(TabOf(L"Выпечка"));
    Select(L"Блины");
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(form->StatusBar->Handle());
    auto goldIn = [&](TImage* star) {
        int gold = 0;
        for (int y = star->Top(); y < star->Top() + star->Height() && y < shot.height; ++y)
            for (int x = star->Left(); x < star->Left() + star->Width() && x < shot.width; ++x)
                if (shot.At(x, y) == RGB(0xFF, 0xC0, 0x00))
                    ++gold;
        return gold;
    };
    EXPECT_GT(goldIn(form->imgStar5), 10);
    Select(L"Пирог");
    EXPECT_EQ(StarsVisible(), kNoStars);
    const testsupport::Pixels24 after = testsupport::CaptureWindow(form->StatusBar->Handle());
    int gold = 0;
    for (int y = 0; y < after.height; ++y)
        for (int x = 0; x < after.width; ++x)
            if (after.At(x, y) == RGB(0xFF, 0xC0, 0x00))
                ++gold;
    EXPECT_EQ(gold, 0);
}

// ---- Saving ----

TEST_F(MainWindow, SaveCommandsStayDisabledUntilKeyIsPressedInView)
{
    Start();
    EXPECT_FALSE(SaveEnabled());
    TypeIntoView(L'Ж');
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(MainWindow, SaveWritesViewToOpenedRecipeAndDisablesCommands)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Щи");
    SendMessageW(form->Rich->Handle(), EM_SETSEL, 0, 0);
    TypeIntoView(L'Ж');
    form->mSaveClick(form->mSave);
    EXPECT_FALSE(SaveEnabled());
    THiddenRecipeDocument saved;
    saved.LoadFromFile(Category(L"Щи.rcp"));
    EXPECT_EQ(saved.Paragraphs()[0], L"ЖЩи");
}

TEST_F(MainWindow, OpeningAnotherRecipeDisablesSave)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    TypeIntoView(L'a');
    Select(L"Щи");
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(MainWindow, InformationDocumentNeverEnablesSaveNorOverwritesRecipe)
{
    WriteText(PathOf(L"drenvask.doc"), "{\\rtf1 Information\\par}");
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    const std::string before = testsupport::ReadFileBytes(Category(L"Борщ.rcp"));
    form->N5Click(nullptr);
    EXPECT_EQ(ViewLines()[0], L"Information");
    EXPECT_EQ(form->RecipesList->Selected(), nullptr);
    TypeIntoView(L'z');
    EXPECT_FALSE(SaveEnabled());
    form->RecipesList->SetItemIndex(0);
    form->mSave->SetEnabled(true);
    form->mSaveClick(nullptr);
    EXPECT_EQ(testsupport::ReadFileBytes(Category(L"Борщ.rcp")), before);
}

TEST_F(MainWindow, SearchHitNeverEnablesSaveNorTakesRating)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    const std::string before = testsupport::ReadFileBytes(Category(L"Борщ.rcp"));
    form->ShowSearchHit(Bases() + L"\\Выпечка\\Блины.rcp");
    EXPECT_EQ(ViewLines()[0], L"Блины");
    TypeIntoView(L'z');
    EXPECT_FALSE(SaveEnabled());
    form->RateSelectedRecipe(1);
    EXPECT_EQ(testsupport::ReadFileBytes(Category(L"Борщ.rcp")), before);
    EXPECT_FALSE(Exists(Category(L"zБлины.rcp")));
    EXPECT_FALSE(Exists(Category(L"Блины.rcp")));
}

TEST_F(MainWindow, AFileThatCannotBeReadIsReportedByNameAndNothingIsSavedOverTheRecipeBefore)
{
    WriteText(PathOf(L"drenvask.doc"), "{\\rtf1 Information\\par}");
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    const std::string borsch = testsupport::ReadFileBytes(Category(L"Борщ.rcp"));
    const std::wstring hit = Bases() + L"\\Выпечка\\Блины.rcp";
    const std::vector<std::pair<std::wstring, std::function<void()>>> opens = {
        {Category(L"Щи.rcp"), [&] { Select(L"Щи"); }},
        {PathOf(L"drenvask.doc"), [&] { form->N5Click(nullptr); }},
        {hit, [&] { form->ShowSearchHit(hit); }},
    };
    for (const auto& [file, open] : opens) {
        Select(L"Борщ");
        dialogs.boxes.clear();
        {
            const HeldFile held = HoldFile(file);
            open();
        }
        EXPECT_EQ(ViewLines(), std::vector<std::wstring>{L""}) << Utf8(file);
        TypeIntoView(L'Ж');
        form->mSaveClick(form->mSave);
        EXPECT_EQ(testsupport::ReadFileBytes(Category(L"Борщ.rcp")), borsch) << Utf8(file);
        ASSERT_EQ(dialogs.boxes.size(), 1u) << Utf8(file);
        EXPECT_EQ(dialogs.boxes[0].text.rfind(L"Не могу прочитать файл: " + file + L"\n", 0), 0u);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, FavouritesTakeOpenedRecipeButNeverSearchHitUnderAnotherName)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Щи");
    form->FavoriteButtonClick(nullptr);
    THiddenRecipeDocument copy;
    copy.LoadFromFile(Bases() + L"\\Избранное\\Щи.rcp");
    EXPECT_EQ(copy.Paragraphs()[0], L"Щи");
    Select(L"Борщ");
    form->ShowSearchHit(Bases() + L"\\Выпечка\\Блины.rcp");
    form->FavoriteButtonClick(nullptr);
    EXPECT_FALSE(Exists(Bases() + L"\\Избранное\\Борщ.rcp"));
}

TEST_F(MainWindow, RatingOpenedRecipeWritesDigitIntoItsSecondLine)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Уха");
    form->RateSelectedRecipe(4);
    THiddenRecipeDocument saved;
    saved.LoadFromFile(Category(L"Уха.rcp"));
    EXPECT_EQ(saved.Paragraphs()[1], L"4");
}

// ---- Navigation ----

TEST_F(MainWindow, NextStopsAtLastRecipeAndPreviousAtFirst)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    ASSERT_EQ(form->RecipesList->ViewStyle(), vsList);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 0);
    form->PrevButtonClick(nullptr);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 0);
    form->NextButtonClick(nullptr);
    form->NextButtonClick(nullptr);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 2);
    EXPECT_EQ(ViewLines()[0], ListCaptions()[2]);
    form->NextButtonClick(nullptr);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 2);
    form->PrevButtonClick(nullptr);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 1);
    // After "Информация" nothing is selected: "Далее" opens the first recipe.
    form->N5Click(nullptr);
    form->NextButtonClick(nullptr);
    EXPECT_EQ(form->RecipesList->ItemIndex(), 0);
    EXPECT_EQ(ViewLines()[0], ListCaptions()[0]);
}

// ---- Tabs ----

TEST_F(MainWindow, ClickOnTabListsItsRecipesAndOpensTheFirst)
{
    Start();
    const int soups = TabOf(L"Супы");
    ClickTab(soups);
    EXPECT_EQ(form->sTabControl->TabIndex(), soups);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\Супы\\");
    EXPECT_EQ(ListCaptions(), ListRecipeCaptions(Bases() + L"\\Супы\\"));
    EXPECT_EQ(form->RecipesList->ItemIndex(), 0);
    EXPECT_EQ(ViewLines()[0], ListCaptions()[0]);
}

TEST_F(MainWindow, RightClickOnTabMakesItCurrentForItsPopUp)
{
    Start();
    const int soups = TabOf(L"Супы");
    RECT r{};
    SendMessageW(form->sTabControl->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(soups), reinterpret_cast<LPARAM>(&r));
    form->sTabControlMouseDown(form->sTabControl, mbRight, {}, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(form->sTabControl->TabIndex(), soups);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\Супы\\");
}

TEST_F(MainWindow, RightClickBesideTabsMakesFirstTabCurrent)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    const int width = form->sTabControl->Width();
    form->sTabControlMouseDown(form->sTabControl, mbRight, {}, width - 2, 2);
    EXPECT_EQ(form->sTabControl->TabIndex(), 0);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\" + TabTexts()[0] + L"\\");
}

TEST_F(MainWindow, DeletingCategoryRebuildsTabsAndReturnsToFirst)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    dialogs.answers = {true, true};
    form->N26Click(nullptr);
    EXPECT_FALSE(Exists(Bases() + L"\\Супы"));
    EXPECT_EQ(TabOf(L"Супы"), -1);
    EXPECT_EQ(form->sTabControl->TabIndex(), 0);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\" + TabTexts()[0] + L"\\");
}

// Whether the deleted category stood on another tab or on the first one (where the tab index stays 0
// and the tab control reports no change), the category shown afterwards opens its first recipe.
TEST_F(MainWindow, DeletingCategoryOpensFirstRecipeOfTheCategoryShown)
{
    WriteRecipe(L"Избранное", L"Окрошка", L"4");
    Start();
    for (const std::wstring& category : {std::wstring(L"Супы"), TabTexts()[0]}) {
        ClickTab(TabOf(category));
        dialogs.answers = {true, true};
        form->N26Click(nullptr);
        ASSERT_FALSE(Exists(Bases() + L"\\" + category));
        ASSERT_GT(form->RecipesList->Items()->Count(), 0) << Utf8(category);
        EXPECT_EQ(form->RecipesList->ItemIndex(), 0) << Utf8(category);
        ASSERT_FALSE(ViewLines().empty()) << Utf8(category);
        EXPECT_EQ(ViewLines()[0], ListCaptions()[0]) << Utf8(category);
    }
}

TEST_F(MainWindow, DeletingRecipeAskedNoKeepsItAndYesRemovesIt)
{
    Start();
    ClickTab(TabOf(L"Супы"));
    Select(L"Борщ");
    dialogs.answers = {false};
    form->mDeleteClick(nullptr);
    EXPECT_TRUE(Exists(Category(L"Борщ.rcp")));
    dialogs.answers = {true};
    form->mDeleteClick(nullptr);
    EXPECT_FALSE(Exists(Category(L"Борщ.rcp")));
    EXPECT_EQ(ListCaptions(), (std::vector<std::wstring>{L"Уха", L"Щи"}));
    EXPECT_EQ(StarsVisible(), kNoStars);
}

// ---- View settings ----

TEST_F(MainWindow, IconViewIsWrittenAndReadBackAtNextStart)
{
    Start();
    form->mIconViewClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"List"), L"Big");
    EXPECT_EQ(form->RecipesList->ViewStyle(), vsIcon);
    EXPECT_TRUE(form->mIconView->Checked());
    EXPECT_FALSE(form->mListView->Checked());
    Restart();
    EXPECT_EQ(form->RecipesList->ViewStyle(), vsIcon);
    EXPECT_TRUE(form->mIconView->Checked());
    form->mListViewClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"List"), L"Small");
    Restart();
    EXPECT_EQ(form->RecipesList->ViewStyle(), vsList);
}

TEST_F(MainWindow, TabPositionIsWrittenAndReadBackAtNextStart)
{
    Start();
    form->mZUpClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"Bar"), L"Top");
    EXPECT_EQ(form->sTabControl->Align(), alTop);
    EXPECT_TRUE(form->mZUp->Checked());
    Restart();
    EXPECT_EQ(form->sTabControl->Align(), alTop);
    form->mZDownClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"Bar"), L"Bottom");
    EXPECT_EQ(form->sTabControl->Align(), alBottom);
    // The tabs really moved under the list.
    EXPECT_GT(form->sTabControl->Top(), form->RecipesList->Top());
}

TEST_F(MainWindow, LowerCaseBottomPutsTabsAtTop)
{
    WriteSetting(L"Theme", L"Bar", L"bottom");
    Start();
    EXPECT_EQ(form->sTabControl->Align(), alTop);
    EXPECT_TRUE(form->mZUp->Checked());
}

namespace {

// Cancels the new-category dialog as soon as it shows: the tabs are rebuilt after it in any case.
void CALLBACK CancelNewCategory(HWND, UINT, UINT_PTR id, DWORD)
{
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
        auto* dialog = dynamic_cast<TNewGroupForm*>(Screen->CustomForms(i));
        if (!dialog || !dialog->Showing())
            continue;
        KillTimer(nullptr, id);
        dialog->btCancelClick(dialog->btCancel);
        return;
    }
}

} // namespace

TEST_F(MainWindow, IconsFromFolderIsWrittenAndTakesEffectAtNextRebuild)
{
    {
        TIcon icon;
        icon.SetHandle(CopyIcon(LoadIconW(nullptr, IDI_ERROR)));
        icon.SaveToFile(InCategory(L"Супы", L"icon.ico"));
    }
    Start();
    const int soups = TabOf(L"Супы");
    const COLORREF fallback = ImageCentre(form->TabImage(), soups);
    form->mIconsClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"Icons"), L"Folder");
    EXPECT_TRUE(form->mIcons->Checked());
    EXPECT_EQ(ImageCentre(form->TabImage(), soups), fallback);
    SetTimer(nullptr, 0, 50, CancelNewCategory);
    form->GroupButtonClick(nullptr);
    EXPECT_NE(ImageCentre(form->TabImage(), soups), fallback);
    EXPECT_EQ(ImageCentre(form->TabImage(), TabOf(L"Выпечка")), fallback);
    form->mIconsClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"Icons"), L"Themes");
    Restart();
    EXPECT_FALSE(form->mIcons->Checked());
}

// ---- Theme dialog ----

namespace {

std::wstring gThemeToChoose;

// Picks the theme in the open theme dialog and presses "OK".
void CALLBACK ChooseTheme(HWND, UINT, UINT_PTR id, DWORD)
{
    try {
        for (int i = 0; i < Screen->CustomFormCount(); ++i) {
            auto* dialog = dynamic_cast<TThemesForm*>(Screen->CustomForms(i));
            if (!dialog || !dialog->Showing())
                continue;
            KillTimer(nullptr, id);
            dialog->ThemesList->SetItemIndex(dialog->ThemesList->Items()->IndexOf(gThemeToChoose));
            dialog->OKButtonClick(dialog->OKButton);
            return;
        }
    } catch (...) {
        KillTimer(nullptr, id);
    }
}

} // namespace

TEST_F(MainWindow, ThemeDialogRebuildsTabsAndRestoresCategory)
{
    WriteTheme(L"Стандарт", RGB(255, 0, 0));
    WriteTheme(L"Синяя", RGB(0, 0, 255));
    Start();
    EXPECT_EQ(ImageCentre(form->ToolBarImage(), 0), RGB(255, 0, 0));
    const int soups = TabOf(L"Супы");
    ClickTab(soups);
    const std::vector<std::wstring> tabsBefore = TabTexts();

    gThemeToChoose = L"Синяя";
    SetTimer(nullptr, 0, 50, ChooseTheme);
    form->menuThemesClick(nullptr);

    EXPECT_EQ(ReadSetting(L"Theme", L"Name"), L"Синяя");
    EXPECT_EQ(form->ThemeName(), L"Синяя");
    EXPECT_EQ(ImageCentre(form->ToolBarImage(), 0), RGB(0, 0, 255));
    EXPECT_EQ(ImageCentre(form->MenuImage(), 0), RGB(0, 0, 255));
    EXPECT_EQ(TabTexts(), tabsBefore);
    EXPECT_EQ(form->sTabControl->TabIndex(), soups);
    EXPECT_EQ(form->CategoryDir(), Bases() + L"\\Супы\\");
    EXPECT_EQ(ListCaptions(), ListRecipeCaptions(Bases() + L"\\Супы\\"));
}

TEST_F(MainWindow, ThemeDialogListsThemeFoldersAndChangesNothingWithoutSelection)
{
    WriteTheme(L"Стандарт", RGB(255, 0, 0), {L"tb_exit"});
    WriteTheme(L"Синяя", RGB(0, 0, 255), {L"tb_exit"});
    Start();
    TThemesForm* dialog = nullptr;
    Application->CreateForm(dialog);
    dialog->Main = form;
    dialog->FormActivate(dialog);
    std::vector<std::wstring> listed;
    for (int i = 0; i < dialog->ThemesList->Items()->GetCount(); ++i)
        listed.push_back(dialog->ThemesList->Items()->Get(i));
    EXPECT_EQ(listed, ListThemes(Folder()));
    dialog->ApplyButtonClick(nullptr);
    EXPECT_EQ(ReadSetting(L"Theme", L"Name"), L"<missing>");
    Free(dialog);
}

// ---- Layout ----

TEST_F(MainWindow, WorkingAreaPanelAlignsWithMinimumSizeFromFormData)
{
    Start();
    ASSERT_NE(form->AligningPanel1, nullptr);
    EXPECT_TRUE(form->AligningPanel1->AligningActive());
    EXPECT_EQ(form->AligningPanel1->MinWidth(), 763);
    EXPECT_EQ(form->AligningPanel1->MinHeight(), 438);
    EXPECT_EQ(form->AligningPanel1->RecordCount(), form->AligningPanel1->ControlCount());
}

TEST_F(MainWindow, ResizingToHalfAgainAndBackReturnsListAndViewToFirstBounds)
{
    Start();
    struct Bounds {
        int left, top, width, height;
        bool operator==(const Bounds&) const = default;
    };
    auto boundsOf = [](TControl* c) { return Bounds{c->Left(), c->Top(), c->Width(), c->Height()}; };
    const Bounds list = boundsOf(form->RecipesList);
    const Bounds view = boundsOf(form->Rich);
    const int width = form->Width();
    const int height = form->Height();

    form->SetBounds(form->Left(), form->Top(), width * 3 / 2, height * 3 / 2);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_NE(boundsOf(form->Rich), view) << "the view follows the larger window";

    form->SetBounds(form->Left(), form->Top(), width, height);
    testsupport::PumpMessagesUntilIdle(200);
    const Bounds listAfter = boundsOf(form->RecipesList);
    const Bounds viewAfter = boundsOf(form->Rich);
    EXPECT_EQ(listAfter.left, list.left);
    EXPECT_EQ(listAfter.top, list.top);
    EXPECT_EQ(listAfter.width, list.width);
    EXPECT_EQ(listAfter.height, list.height);
    EXPECT_EQ(viewAfter.left, view.left);
    EXPECT_EQ(viewAfter.top, view.top);
    EXPECT_EQ(viewAfter.width, view.width);
    EXPECT_EQ(viewAfter.height, view.height);
}
