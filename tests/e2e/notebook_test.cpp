// The notebook used as a person uses it: starting it, choosing categories and recipes, editing,
// favourites, deleting, returning from a dialog, the view settings and the icon themes, each checked on
// disk, in the registry and on a screenshot.
#include "app/recipe_document.h"
#include "tests/e2e/notebook_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using namespace e2e;
using testsupport::Narrow;

constexpr wchar_t kFavourites[] = L"Избранное";

// Puts text on the clipboard, as another program would for the user to paste.
bool PutOnClipboard(const std::wstring& text)
{
    if (!OpenClipboard(nullptr))
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
    }
    const bool put = memory && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    return put;
}

// Positions in the main menu (menus on the bar; items without separators).
constexpr int kMenuFile = 0;
constexpr int kItemInformation = 3;
constexpr int kMenuView = 2;
constexpr int kItemBigIcons = 0;
constexpr int kItemList = 1;
constexpr int kItemTabs = 2;
constexpr int kSubItemTabsTop = 0;
constexpr int kSubItemTabsBottom = 1;
constexpr int kItemThemes = 3;

class NotebookUseTest : public NotebookTest {
protected:
    // A category other than the favourites holding a recipe with a photo and one without.
    struct Choice {
        std::wstring category;
        std::wstring withPhoto;
        std::wstring withoutPhoto;
    };
    Choice ChooseCategory() const
    {
        for (const auto& category : CategoriesOnDisk()) {
            if (category == kFavourites || !FolderExists(CategoryPath(category)))
                continue;
            Choice choice{category, {}, {}};
            for (const auto& recipe : RecipesOnDisk(category)) {
                bool photo = FileExists(CategoryPath(category) + L"\\" + recipe + L".jpg");
                (photo ? choice.withPhoto : choice.withoutPhoto) = recipe;
            }
            if (!choice.withPhoto.empty() && !choice.withoutPhoto.empty())
                return choice;
        }
        return {};
    }

    // The rating as the status bar shows it: line 1 of the recipe, a digit or nothing.
    int ShownRating() const
    {
        std::wstring digit = StatusPanelText(StatusBar(), 0);
        return digit.size() == 1 && digit[0] >= L'0' && digit[0] <= L'5' ? digit[0] - L'0' : 0;
    }

    std::wstring StartCount() const { return Setting(L"Counters", L"StartCount").value_or(L"<none>"); }
    int ViewCount() const { return std::stoi(Setting(L"Counters", L"ReceptCount").value_or(L"-1")); }
};

TEST_F(NotebookUseTest, EveryStartIsCountedAndTheFirstRecipeOpens)
{
    StartNotebook();
    ASSERT_TRUE(WaitUntil([&] { return StartCount() == L"1"; })) << Narrow(StartCount());
    auto categories = CategoriesOnDisk();
    EXPECT_EQ(TabCaptions(Tabs()), categories);
    EXPECT_EQ(CurrentTab(Tabs()), 0);
    auto first = RecipesOnDisk(categories.front());
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(ListItems(), first);
    ASSERT_TRUE(WaitUntil([&] { return SelectedListItem(List()) == 0 && ViewFirstLine() == first.front(); }));
    EXPECT_GE(ViewCount(), 1);
    Shot(MainWindow(), L"first-start");
    StopProgram();

    int viewsBefore = ViewCount();
    StartNotebook();
    ASSERT_TRUE(WaitUntil([&] { return StartCount() == L"2"; })) << Narrow(StartCount());
    EXPECT_TRUE(WaitUntil([&] { return ViewCount() > viewsBefore; }));
    Shot(MainWindow(), L"second-start");
}

TEST_F(NotebookUseTest, FirstStartShowsTabsBelowAndTheListInListStyle)
{
    StartNotebook();
    RECT tabs{}, list{};
    GetWindowRect(Tabs(), &tabs);
    GetWindowRect(List(), &list);
    EXPECT_GE(tabs.top, list.bottom - 1) << "the tabs stand at the bottom of the panel";
    EXPECT_EQ(ListViewStyle(List()), static_cast<DWORD>(LV_VIEW_LIST));
    EXPECT_FALSE(Setting(L"Theme", L"Bar").has_value()) << "reading the settings writes nothing";
}

TEST_F(NotebookUseTest, ThePointerOverAControlExplainsItInTheStatusBar)
{
    StartNotebook();
    const std::pair<const wchar_t*, const wchar_t*> buttons[] = {
        {L"Выйти", L" Окончание работы с программой"},
        {L"Новый", L" Добавление нового рецепта в базу"},
        {L"Группа", L" Создать новую категорию (раздел)"},
        {L"Избран...", L" Копирование рецепта в папку Избранное"},
        {L"Найти", L" Поиск текста в базе рецептов"},
        {L"Назад", L" Предыдущий рецепт"},
        {L"Далее", L" Следущий рецепт"},
        {L"Обнов...", L" Обновление списка рецептов"},
        {L"Печать", L" Печать выбранного рецепта"},
        {L"О прог...", L" Информация о программе"},
    };
    for (const auto& [caption, text] : buttons) {
        ToolButtonInfo button = ToolButton(caption);
        ASSERT_TRUE(button.found) << Narrow(caption);
        Bot().MoveTo(ToolBar(), {(button.rect.left + button.rect.right) / 2, (button.rect.top + button.rect.bottom) / 2});
        EXPECT_TRUE(WaitUntil([&] { return StatusPanelText(StatusBar(), 0) == text; }, 3000))
            << Narrow(caption) << ": '" << Narrow(StatusPanelText(StatusBar(), 0)) << "'";
    }
    Bot().MoveTo(List(), ClientCentre(List()));
    EXPECT_TRUE(WaitUntil([&] { return StatusPanelText(StatusBar(), 0) == L" Список доступных рецептов"; }, 3000));
    Shot(MainWindow(), L"over-list");
    Bot().MoveTo(View(), ClientCentre(View()));
    EXPECT_TRUE(WaitUntil([&] { return StatusPanelText(StatusBar(), 0) == L" "; }, 3000));
}

TEST_F(NotebookUseTest, ClickingATabListsItsCategoryAndOpensItsFirstRecipe)
{
    StartNotebook();
    auto categories = CategoriesOnDisk();
    ASSERT_GE(categories.size(), 2u);
    for (size_t i = 1; i < std::min<size_t>(categories.size(), 4); ++i) {
        OpenCategory(categories[i]);
        auto recipes = RecipesOnDisk(categories[i]);
        if (!recipes.empty()) {
            EXPECT_TRUE(WaitUntil([&] { return SelectedListItem(List()) == 0 && ViewFirstLine() == recipes.front(); }))
                << Narrow(categories[i]);
        }
        Shot(MainWindow(), L"tab-" + std::to_wstring(i));
    }
    OpenCategory(categories.front());
}

TEST_F(NotebookUseTest, OpeningARecipeShowsItsStarsAndThePhotoButtonOnlyWithAPhoto)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty()) << "the sample base needs a category with and without photos";
    StartNotebook();
    OpenCategory(choice.category);

    OpenRecipe(choice.withPhoto);
    EXPECT_TRUE(WaitUntil([&] { return ToolButton(L"Фото...").visible; })) << "a recipe with a photo shows the button";
    EXPECT_EQ(StarsSeen(), ShownRating()) << Narrow(StatusPanelText(StatusBar(), 0));
    Shot(MainWindow(), L"with-photo");

    OpenRecipe(choice.withoutPhoto);
    EXPECT_TRUE(WaitUntil([&] { return !ToolButton(L"Фото...").visible; })) << "no photo, no button";
    EXPECT_EQ(StarsSeen(), ShownRating()) << Narrow(StatusPanelText(StatusBar(), 0));
    Shot(MainWindow(), L"without-photo");
}

TEST_F(NotebookUseTest, ARecipeWithANameLongerThanTheViewKeepsItsRatingLine)
{
    // The longest name of the sample base wraps in the view; its rating is still read from line 1.
    std::wstring category, longest;
    for (const auto& c : CategoriesOnDisk())
        for (const auto& r : RecipesOnDisk(c))
            if (r.size() > longest.size()) {
                longest = r;
                category = c;
            }
    ASSERT_GT(longest.size(), 60u) << "the sample base needs a recipe with a long name";
    StartNotebook();
    OpenCategory(category);
    OpenRecipe(longest);
    std::wstring digit = StatusPanelText(StatusBar(), 0);
    ASSERT_EQ(digit.size(), 1u) << "'" << Narrow(digit) << "' is not a rating digit";
    EXPECT_GE(digit[0], L'1');
    EXPECT_LE(digit[0], L'5');
    EXPECT_EQ(StarsSeen(), digit[0] - L'0');
    Shot(MainWindow(), L"long-name");
}

TEST_F(NotebookUseTest, AnEditSavedWithCtrlSReachesTheFileAndComesBack)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withoutPhoto);
    const std::wstring file = RecipePath(choice.category, choice.withoutPhoto);
    const std::string before = testsupport::ReadFileBytes(file);
    EXPECT_FALSE(ToolButton(L"Сохран...").enabled) << "nothing to save yet";

    // The caret goes to the end of the text, where a person would add a note.
    Bot().ClickCentre(View());
    Bot().PressShortcut({VK_CONTROL, VK_END});
    const std::wstring note = L"Проверено: вкусно";
    Bot().PressKey(VK_RETURN);
    Bot().TypeText(note);
    ASSERT_TRUE(WaitUntil([&] { return ViewText().find(note) != std::wstring::npos; }));
    EXPECT_TRUE(WaitUntil([&] { return ToolButton(L"Сохран...").enabled; })) << "typing enables saving";
    Shot(MainWindow(), L"edited");

    Bot().PressShortcut({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !ToolButton(L"Сохран...").enabled; })) << "saving disables saving";
    EXPECT_NE(testsupport::ReadFileBytes(file), before);

    // Another recipe and back: the note is read from the file.
    OpenRecipe(choice.withPhoto);
    OpenRecipe(choice.withoutPhoto);
    EXPECT_NE(ViewText().find(note), std::wstring::npos);
    Shot(MainWindow(), L"reopened");
}

TEST_F(NotebookUseTest, AnEditLeftUnsavedNeverReachesTheFile)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withoutPhoto);
    const std::wstring file = RecipePath(choice.category, choice.withoutPhoto);
    const std::string before = testsupport::ReadFileBytes(file);
    Bot().ClickCentre(View());
    Bot().PressShortcut({VK_CONTROL, VK_END});
    Bot().TypeText(L" черновик");
    ASSERT_TRUE(WaitUntil([&] { return ToolButton(L"Сохран...").enabled; }));
    OpenRecipe(choice.withPhoto);
    EXPECT_FALSE(ToolButton(L"Сохран...").enabled);
    EXPECT_EQ(testsupport::ReadFileBytes(file), before);
}

TEST_F(NotebookUseTest, ARecipeAnotherProgramHoldsIsReportedAndNothingIsSavedOverTheOneBefore)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    const auto recipes = RecipesOnDisk(choice.category);
    ASSERT_GE(recipes.size(), 3u);
    // Neither is the first recipe, which the list selects again when the box closes.
    const std::wstring before = RecipePath(choice.category, recipes[1]), held = RecipePath(choice.category, recipes[2]);
    const std::string beforeBytes = testsupport::ReadFileBytes(before);
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(recipes[1]);
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ClickRecipe(2);
    const bool reported = AnswerMessage(L"OK", L"cannot-read");
    CloseHandle(holder);
    ASSERT_TRUE(reported);

    Bot().ClickCentre(View());
    Bot().TypeText(L"ж");
    Bot().PressShortcut({VK_CONTROL, 'S'});
    Bot().WaitIdle(MainWindow());
    EXPECT_EQ(testsupport::ReadFileBytes(before), beforeBytes);
}

TEST_F(NotebookUseTest, ASaveOnAFullDiskLeavesTheRecipeAsItWasAndSaysSo)
{
    // A category on a file system of 64 KB that the host mounts (as root).
    const std::wstring folder = CategoryPath(L"Disk"), recipe = RecipePath(L"Disk", L"Борщ");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring host = testsupport::Widen(testsupport::HostPath(folder));
    testsupport::RunHostShell(L"mount -t tmpfs -o size=64k tmpfs '" + host + L"'", Folder());
    ULARGE_INTEGER size{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), nullptr, &size, nullptr) || size.QuadPart > 1024 * 1024)
        GTEST_SKIP() << "a small file system is needed: 'mount -t tmpfs' was refused here (it needs root)";
    const std::shared_ptr<void> unmount(nullptr, [&](void*) {
        StopProgram();
        testsupport::RunHostShell(L"umount -l '" + host + L"'", Folder());
    });
    recipes::HiddenRichEdit edit;
    recipes::ComposeRecipe(edit.Handle(), {L"Борщ", L"2", L"4", L"Свёкла", L"Варить два часа.", L""});
    std::wstring error;
    ASSERT_TRUE(recipes::SaveRichEditRtf(edit.Handle(), recipe, error));
    const std::string before = testsupport::ReadFileBytes(recipe);
    HANDLE filler = CreateFileW((folder + L"\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string block(64 * 1024, '0');
    for (DWORD written = 1; written > 0;)
        WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    CloseHandle(filler);

    StartNotebook();
    OpenCategory(L"Disk");
    OpenRecipe(L"Борщ");
    // A note pasted from another program, longer than the recipe.
    ASSERT_TRUE(PutOnClipboard(std::wstring(16 * 1024, L'ж')));
    Bot().ClickCentre(View());
    Bot().PressShortcut({VK_CONTROL, 'V'});
    Bot().TypeText(L"!");
    ASSERT_TRUE(WaitUntil([&] { return ToolButton(L"Сохран...").enabled; }));
    Bot().PressShortcut({VK_CONTROL, 'S'});
    const HWND box = WaitForProgramWindow(L"#32770");
    ASSERT_NE(box, nullptr) << "the failed save is not reported";
    Shot(box, L"cannot-save");
    EXPECT_EQ(testsupport::ReadFileBytes(recipe), before);
    EXPECT_EQ(FolderEntries(folder).size(), 2u) << "a stray file is left beside the recipe";
}

TEST_F(NotebookUseTest, TheInformationDocumentIsNeverSavedOverTheSelectedRecipe)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    ASSERT_TRUE(FileExists(BasePath(L"drenvask.doc")));
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withoutPhoto);
    const std::wstring file = RecipePath(choice.category, choice.withoutPhoto);
    const std::string before = testsupport::ReadFileBytes(file);

    ChooseMenu(kMenuFile, kItemInformation);
    ASSERT_TRUE(WaitUntil([&] { return !ViewText().empty() && ViewFirstLine() != choice.withoutPhoto; }))
        << "the information document does not show";
    EXPECT_EQ(SelectedListItem(List()), -1);
    Bot().ClickCentre(View());
    Bot().TypeText(L"x");
    Bot().PressShortcut({VK_CONTROL, 'S'});
    EXPECT_FALSE(ToolButton(L"Сохран...").enabled);
    Shot(MainWindow(), L"information");

    // A recipe chosen again opens from its file, untouched.
    OpenRecipe(choice.withoutPhoto);
    Bot().PressShortcut({VK_CONTROL, 'S'});
    EXPECT_EQ(testsupport::ReadFileBytes(file), before);
}

TEST_F(NotebookUseTest, CopyToFavouritesWritesTheRecipeThereAndTheTabListsIt)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    const std::wstring target = RecipePath(kFavourites, choice.withPhoto);
    ASSERT_FALSE(FileExists(target)) << "pick a recipe not yet among the favourites";
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withPhoto);
    ClickToolButton(L"Избран...");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(target); })) << Narrow(target);
    EXPECT_FALSE(FileExists(CategoryPath(kFavourites) + L"\\" + choice.withPhoto + L".jpg")) << "the photo stays";
    EXPECT_TRUE(FileExists(RecipePath(choice.category, choice.withPhoto))) << "the original stays";

    OpenCategory(kFavourites);
    OpenRecipe(choice.withPhoto);
    Shot(MainWindow(), L"favourites");
}

TEST_F(NotebookUseTest, DeletingARecipeAsksAndNoKeepsIt)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withPhoto);
    const auto listed = ListItems();
    const int index = SelectedListItem(List());

    ClickRecipe(index, MouseButton::Right);
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"&Нет", L"asked")) << "no confirmation box with a No button";
    EXPECT_TRUE(FileExists(RecipePath(choice.category, choice.withPhoto)));
    EXPECT_TRUE(FileExists(CategoryPath(choice.category) + L"\\" + choice.withPhoto + L".jpg"));
    EXPECT_EQ(ListItems(), listed);
}

TEST_F(NotebookUseTest, DeletingARecipeWithYesRemovesItAndItsPhoto)
{
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    StartNotebook();
    OpenCategory(choice.category);
    OpenRecipe(choice.withPhoto);
    const int index = SelectedListItem(List());

    ClickRecipe(index, MouseButton::Right);
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"&Да", L"asked")) << "no confirmation box with a Yes button";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(RecipePath(choice.category, choice.withPhoto)); }));
    // The photo goes after the recipe file: wait for it as well.
    const std::wstring photo = CategoryPath(choice.category) + L"\\" + choice.withPhoto + L".jpg";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(photo); }));
    EXPECT_TRUE(WaitUntil([&] { return ListItems() == RecipesOnDisk(choice.category); }));
    EXPECT_EQ(StarsSeen(), 0);
    Shot(MainWindow(), L"deleted");
}

TEST_F(NotebookUseTest, DeletingACategoryAsksTwiceAndRemovesTheFolder)
{
    // A category of the user's own, made beside the sample ones before the start.
    const std::wstring mine = L"Мои заготовки";
    ASSERT_TRUE(CreateDirectoryW(CategoryPath(mine).c_str(), nullptr));
    Choice choice = ChooseCategory();
    ASSERT_TRUE(CopyFileW(RecipePath(choice.category, choice.withPhoto).c_str(), RecipePath(mine, L"Лечо").c_str(), TRUE));
    StartNotebook();
    int tab = TabIndexOf(mine);
    ASSERT_GE(tab, 0);

    // No at the first question keeps everything.
    ClickTab(tab, MouseButton::Right);
    ASSERT_TRUE(WaitUntil([&] { return CurrentTab(Tabs()) == tab; })) << "a right click makes the tab current";
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"&Нет", L"first-question"));
    EXPECT_TRUE(FolderExists(CategoryPath(mine)));

    // Yes twice removes the folder with its recipe and the tab.
    ClickTab(tab, MouseButton::Right);
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"&Да", L"first-yes"));
    ASSERT_TRUE(AnswerMessage(L"&Да", L"second-yes"));
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(CategoryPath(mine)); }));
    EXPECT_TRUE(WaitUntil([&] { return TabIndexOf(mine) < 0 && CurrentTab(Tabs()) == 0; }));
    EXPECT_EQ(TabCaptions(Tabs()), CategoriesOnDisk());
    // The first category is shown with its first recipe open.
    const auto first = RecipesOnDisk(CategoriesOnDisk().front());
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(WaitUntil([&] { return SelectedListItem(List()) == 0 && ViewFirstLine() == first.front(); }))
        << "the view shows '" << Narrow(ViewFirstLine()) << "'";
    Shot(MainWindow(), L"deleted");

    // The deletion worked through the current folder; every category still opens afterwards.
    for (const auto& category : CategoriesOnDisk())
        OpenCategory(category);
}

// When one of the program's own dialogs closes, the main window is active again and selects the first
// recipe of its list, which opens it.
TEST_F(NotebookUseTest, ClosingADialogSelectsTheFirstRecipeAgain)
{
    const struct {
        const wchar_t* button;
        const wchar_t* dialogClass;
        const wchar_t* closeCaption;
    } dialogs[] = {{L"О прог...", L"TAboutForm", L"OK"}, {L"Найти", L"TSearchForm", L"Закрыть"}};
    Choice choice = ChooseCategory();
    ASSERT_FALSE(choice.category.empty());
    const auto recipes = RecipesOnDisk(choice.category);
    StartNotebook();
    OpenCategory(choice.category);
    for (const auto& d : dialogs) {
        OpenRecipe(recipes.back());
        ASSERT_NE(SelectedListItem(List()), 0);
        ClickToolButton(d.button);
        HWND dialog = WaitForProgramWindow(d.dialogClass);
        ASSERT_NE(dialog, nullptr) << Narrow(d.dialogClass);
        HWND close = FindChildWindow(dialog, {}, d.closeCaption);
        ASSERT_NE(close, nullptr) << Narrow(d.closeCaption);
        Bot().ClickCentre(close);
        ASSERT_TRUE(WaitForWindowGone(dialog));
        EXPECT_TRUE(WaitUntil([&] { return SelectedListItem(List()) == 0 && ViewFirstLine() == recipes.front(); }))
            << Narrow(d.dialogClass) << ": the view shows '" << Narrow(ViewFirstLine()) << "'";
    }
    Shot(MainWindow(), L"reselected");
}

TEST_F(NotebookUseTest, TheFavouritesCategoryCannotBeDeleted)
{
    StartNotebook();
    int tab = TabIndexOf(kFavourites);
    ASSERT_GE(tab, 0);
    ClickTab(tab, MouseButton::Right);
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"OK", L"refused"));
    EXPECT_TRUE(FolderExists(CategoryPath(kFavourites)));
    EXPECT_FALSE(RecipesOnDisk(kFavourites).empty());
    EXPECT_GE(TabIndexOf(kFavourites), 0);
}

TEST_F(NotebookUseTest, ViewAndTabPositionAreStoredAndComeBackAtTheNextStart)
{
    StartNotebook();
    auto before = Shot(MainWindow(), L"list-style");
    ChooseMenu(kMenuView, kItemBigIcons);
    ASSERT_TRUE(WaitUntil([&] { return Setting(L"Theme", L"List") == std::optional<std::wstring>(L"Big"); }));
    EXPECT_EQ(ListViewStyle(List()), static_cast<DWORD>(LV_VIEW_ICON));
    ChooseMenu(kMenuView, kItemTabs, kSubItemTabsTop);
    ASSERT_TRUE(WaitUntil([&] { return Setting(L"Theme", L"Bar") == std::optional<std::wstring>(L"Top"); }));
    RECT tabs{}, list{};
    ASSERT_TRUE(WaitUntil([&] {
        GetWindowRect(Tabs(), &tabs);
        GetWindowRect(List(), &list);
        return tabs.bottom <= list.top + 1;
    })) << "the tabs move above the list";
    auto after = Shot(MainWindow(), L"big-icons-tabs-top");
    EXPECT_GT(before.DifferingPixels(after), 1000);
    StopProgram();

    StartNotebook();
    EXPECT_EQ(ListViewStyle(List()), static_cast<DWORD>(LV_VIEW_ICON));
    GetWindowRect(Tabs(), &tabs);
    GetWindowRect(List(), &list);
    EXPECT_LE(tabs.bottom, list.top + 1);
    Shot(MainWindow(), L"restarted");

    ChooseMenu(kMenuView, kItemList);
    EXPECT_TRUE(WaitUntil([&] { return Setting(L"Theme", L"List") == std::optional<std::wstring>(L"Small"); }));
    EXPECT_EQ(ListViewStyle(List()), static_cast<DWORD>(LV_VIEW_LIST));
    ChooseMenu(kMenuView, kItemTabs, kSubItemTabsBottom);
    EXPECT_TRUE(WaitUntil([&] { return Setting(L"Theme", L"Bar") == std::optional<std::wstring>(L"Bottom"); }));
}

TEST_F(NotebookUseTest, PickingTheSecondIconThemeRepaintsTheToolBarAndKeepsTheCategory)
{
    auto themes = FolderEntries(BasePath(L"Resource"));
    auto other = std::find_if(themes.begin(), themes.end(), [](const std::wstring& t) { return t != L"Стандарт"; });
    ASSERT_NE(other, themes.end()) << "the sample base needs a second theme";
    StartNotebook();
    auto categories = CategoriesOnDisk();
    ASSERT_GE(categories.size(), 2u);
    OpenCategory(categories[1]);
    auto before = CaptureWindowOnScreen(ToolBar());

    ChooseMenu(kMenuView, kItemThemes);
    HWND dialog = WaitForProgramWindow(L"TThemesForm");
    ASSERT_NE(dialog, nullptr) << "no theme dialog";
    HWND list = FindChildWindow(dialog, L"TListBox");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(list) == themes; }));
    int index = static_cast<int>(other - themes.begin());
    RECT item = ListBoxItemRect(list, index);
    Bot().Click(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Shot(dialog, L"dialog");
    HWND ok = FindChildWindow(dialog, {}, L"OK");
    ASSERT_NE(ok, nullptr);
    Bot().ClickCentre(ok);
    ASSERT_TRUE(WaitForWindowGone(dialog));

    EXPECT_TRUE(WaitUntil([&] { return Setting(L"Theme", L"Name") == std::optional<std::wstring>(*other); }));
    EXPECT_TRUE(WaitUntil([&] { return CurrentTab(Tabs()) == 1 && ListItems() == RecipesOnDisk(categories[1]); }))
        << "the category stays current";
    Bot().WaitIdle(MainWindow());
    auto after = CaptureWindowOnScreen(ToolBar());
    // The tool bar may size itself anew around the new icons: the buttons' common area is compared.
    const int w = std::min(before.width, after.width);
    const int h = std::min(before.height, after.height);
    EXPECT_GT(Crop(before, w, h).DifferingPixels(Crop(after, w, h)), 500)
        << "the tool bar shows the other theme's icons";
    Shot(MainWindow(), L"second-theme");
}

} // namespace
