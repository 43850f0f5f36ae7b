// The real program driven as a person would, with mouse and keyboard, on a throw-away copy of the
// sample base and a fresh registry key; each step is checked on disk, in the registry and kept as a
// screenshot beside the test's log.
#include "tests/e2e/robot.h"

#include "tools/recipe-writer/RecipeDocument.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <functional>
#include <thread>

using namespace robot;

namespace {

const std::wstring kKey = L"Software\\Korvadin";

std::wstring Windows(const char* path)
{
    std::string text(path);
    std::wstring wide(text.begin(), text.end());
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

void CopyTree(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::vector<std::wstring> Entries(const std::wstring& folder, const std::wstring& pattern, bool folders)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != L"." && name != L".." && isFolder == folders)
            names.push_back(folders ? name : name.substr(0, name.size() - 4));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FileParagraphs(const std::wstring& path)
{
    recipes::HiddenRichEdit edit;
    std::wstring error;
    if (!recipes::LoadRichEditFile(edit.Handle(), path, error))
        return {};
    return recipes::RichEditParagraphs(edit.Handle());
}

std::wstring FirstLine(const std::wstring& text)
{
    return text.substr(0, text.find_first_of(L"\r\n"));
}

class Session : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey.c_str());
        CopyTree(Windows(VELMORA_E2E_SAMPLE_BASE), Folder());
        exe = Windows(VELMORA_E2E_PROGRAM);
        screens = Windows(VELMORA_E2E_SCREENS);
        CreateDirectoryW(screens.c_str(), nullptr);
        categories = Entries(Bases(), L"*", true);
        ASSERT_GE(categories.size(), 3u);
    }

    void TearDown() override
    {
        program.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey.c_str());
        TempFolderTest::TearDown();
    }

    std::wstring Bases() const { return PathOf(L"Bases"); }
    std::wstring Recipe(const std::wstring& category, const std::wstring& name) const
    {
        return Bases() + L"\\" + category + L"\\" + name + L".rcp";
    }
    std::vector<std::wstring> Recipes(const std::wstring& category) const
    {
        return Entries(Bases() + L"\\" + category, L"*.rcp", false);
    }

    void Start()
    {
        program.reset();
        program = std::make_unique<Program>(exe, Folder());
    }
    void Shot(const std::wstring& name)
    {
        program->Settle(300);
        Screenshot(screens + L"\\" + name + L".bmp");
    }
    HWND Child(const std::wstring& className) const { return FindChild(program->Main(), className); }
    std::wstring ShownRecipe() const { return FirstLine(WindowText(Child(L"TRichEdit"))); }

    // Clicks tab 0 of the tab strip, then walks to tab index with the arrow keys, until the view
    // shows the first recipe of that category (the first click may only activate the window).
    void GoToTab(int index)
    {
        const std::vector<std::wstring> recipes = Recipes(categories[static_cast<size_t>(index)]);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const RECT tabs = ScreenRect(Child(L"TTabControl"));
            Click(tabs.left + 12, tabs.top + 10);
            program->Settle(200);
            for (int i = 0; i < index; ++i) {
                Key(VK_RIGHT);
                program->Settle(200);
            }
            if (!recipes.empty() && ShownRecipe() == recipes[0])
                return;
        }
        ADD_FAILURE() << "tab " << index << " did not open";
    }
    // Clicks the list's first item until the list has the keyboard focus, then walks down with the
    // arrow keys to the recipe at index of the category's listing.
    void GoToRecipe(const std::vector<std::wstring>& recipes, int index)
    {
        HWND list = Child(L"TListView");
        for (int attempt = 0; attempt < 3; ++attempt) {
            const RECT r = ScreenRect(list);
            Click(r.left + 30, r.top + 10);
            program->Settle(200);
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(GetWindowThreadProcessId(program->Main(), nullptr), &info);
            if (info.hwndFocus != list)
                continue;
            for (int i = 0; i < index; ++i) {
                Key(VK_DOWN);
                program->Settle(200);
            }
            if (ShownRecipe() == recipes[static_cast<size_t>(index)])
                return;
        }
        ADD_FAILURE() << "recipe " << index << " did not open";
    }
    // Opens menu number menu of the menu bar and chooses its item number item (separators skipped).
    void MenuCommand(int menu, int item)
    {
        Key(VK_MENU);
        for (int i = 0; i < menu; ++i)
            Key(VK_RIGHT);
        Key(VK_DOWN);
        for (int i = 0; i < item; ++i)
            Key(VK_DOWN);
        Key(VK_RETURN);
        program->Settle();
    }
    // Answers the message dialog that is open by clicking its button.
    void Answer(bool yes)
    {
        HWND dialog = program->WaitForWindow(L"TMessageForm");
        ASSERT_NE(dialog, nullptr) << "no message dialog";
        HWND button = FindButton(dialog, yes ? L"&Да" : L"&Нет");
        ASSERT_NE(button, nullptr);
        // A click that only activates the dialog is repeated, as a person would.
        for (int attempt = 0; attempt < 3 && IsWindow(dialog); ++attempt) {
            program->Settle(300);
            ClickCentre(button);
            program->Settle();
        }
        EXPECT_FALSE(IsWindow(dialog)) << "the message dialog stayed open";
    }

    // Runs a test's steps on a thread of their own: only a thread without windows may join the
    // program's desktop, and this one has OLE's.
    void Steps(const std::function<void()>& body)
    {
        std::thread worker([&] {
            try {
                body();
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            program.reset();
        });
        worker.join();
    }

    std::wstring exe;
    std::wstring screens;
    std::vector<std::wstring> categories;
    std::unique_ptr<Program> program;
};

} // namespace

TEST_F(Session, TwoStartsAreCountedWithTheRecipeEachOneOpened)
{
    Steps([&] {
        Start();
        EXPECT_EQ(ShownRecipe(), Recipes(categories[0])[0]);
        Shot(L"01-first-start");
        Key(VK_F4, false, true);
        ASSERT_TRUE(program->WaitForExit());
        EXPECT_EQ(RegString(kKey + L"\\Counters", L"StartCount"), L"1");
        Start();
        Shot(L"02-second-start");
        EXPECT_EQ(RegString(kKey + L"\\Counters", L"StartCount"), L"2");
        EXPECT_EQ(RegString(kKey + L"\\Counters", L"ReceptCount"), L"2");
        EXPECT_EQ(RegString(kKey + L"\\Theme", L"Name"), L"<missing>");
    });
}

TEST_F(Session, TabAndListOpenRecipesAndEditsAreSavedAndCopiedToFavourites)
{
    Steps([&] {
        Start();
        GoToTab(1);
        EXPECT_EQ(ShownRecipe(), Recipes(categories[1])[0]);
        Shot(L"03-second-tab");
        GoToTab(0);
        const std::vector<std::wstring> recipes = Recipes(categories[0]);
        ASSERT_GE(recipes.size(), 2u);
        GoToRecipe(recipes, 1);
        EXPECT_EQ(ShownRecipe(), recipes[1]);
        Shot(L"04-second-recipe");

        const RECT view = ScreenRect(Child(L"TRichEdit"));
        Click(view.left + 200, view.top + 120);
        Key(VK_HOME, true);
        Type(L"Проверка ");
        Key('S', true);
        program->Settle();
        EXPECT_EQ(FileParagraphs(Recipe(categories[0], recipes[1]))[0], L"Проверка " + recipes[1]);
        Shot(L"05-edited-and-saved");

        MenuCommand(0, 2); // "Файл" / "Копировать в Избранное"
        ASSERT_TRUE(Exists(Recipe(L"Избранное", recipes[1])));
        EXPECT_EQ(FileParagraphs(Recipe(L"Избранное", recipes[1]))[0], L"Проверка " + recipes[1]);
    });
}

TEST_F(Session, ViewAndTabPositionAreWrittenToRegistryAndKeptAtNextStart)
{
    Steps([&] {
        Start();
        MenuCommand(2, 0); // "Вид" / "Большие иконки"
        EXPECT_EQ(RegString(kKey + L"\\Theme", L"List"), L"Big");
        // "Вид" / "Закладки" / "Расположить Вверху"
        Key(VK_MENU);
        Key(VK_RIGHT);
        Key(VK_RIGHT);
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_RIGHT);
        Key(VK_RETURN);
        program->Settle();
        EXPECT_EQ(RegString(kKey + L"\\Theme", L"Bar"), L"Top");
        const RECT tabs = ScreenRect(Child(L"TTabControl"));
        const RECT list = ScreenRect(Child(L"TListView"));
        EXPECT_LT(tabs.top, list.top);
        Shot(L"08-icons-and-tabs-on-top");
        Key(VK_F4, false, true);
        ASSERT_TRUE(program->WaitForExit());
        Start();
        EXPECT_LT(ScreenRect(Child(L"TTabControl")).top, ScreenRect(Child(L"TListView")).top);
        Shot(L"09-settings-kept");
    });
}

TEST_F(Session, SecondIconThemeIsChosenInThemeDialog)
{
    Steps([&] {
        const std::vector<std::wstring> themes = Entries(PathOf(L"Resource"), L"*", true);
        ASSERT_GE(themes.size(), 2u);
        // The theme that is not the default one, at its place in the dialog's list.
        const int other = themes[0] == L"Стандарт" ? 1 : 0;
        Start();
        Shot(L"10-first-theme");
        MenuCommand(2, 3); // "Вид" / "Темы..."
        HWND dialog = program->WaitForWindow(L"TThemesForm");
        ASSERT_NE(dialog, nullptr);
        HWND list = FindChild(dialog, L"TListBox");
        ASSERT_NE(list, nullptr);
        const RECT r = ScreenRect(list);
        DWORD_PTR itemHeight = 16;
        SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &itemHeight);
        Click(r.left + 20, r.top + 2 + static_cast<int>(itemHeight) * other + static_cast<int>(itemHeight) / 2);
        Shot(L"11-theme-dialog");
        ClickCentre(FindButton(dialog, L"OK"));
        program->Settle();
        EXPECT_EQ(RegString(kKey + L"\\Theme", L"Name"), themes[static_cast<size_t>(other)]);
        Shot(L"12-second-theme");
    });
}

TEST_F(Session, DeletingRecipeAsksAndOnlyYesDeletes)
{
    Steps([&] {
        Start();
        GoToTab(2);
        const std::vector<std::wstring> recipes = Recipes(categories[2]);
        ASSERT_FALSE(recipes.empty());
        GoToRecipe(recipes, 0);
        ASSERT_EQ(ShownRecipe(), recipes[0]);
        MenuCommand(1, 4); // "Правка" / "Удалить рецепт"
        Shot(L"06-delete-prompt");
        Answer(false);
        EXPECT_TRUE(Exists(Recipe(categories[2], recipes[0])));
        GoToRecipe(recipes, 0);
        MenuCommand(1, 4);
        Answer(true);
        EXPECT_FALSE(Exists(Recipe(categories[2], recipes[0])));
        EXPECT_FALSE(Exists(Bases() + L"\\" + categories[2] + L"\\" + recipes[0] + L".jpg"));
        Shot(L"07-recipe-deleted");
    });
}

TEST_F(Session, CategoryIsDeletedFromTabPopUpAfterTwoConfirmations)
{
    Steps([&] {
        Start();
        const std::wstring doomed = categories[0];
        ASSERT_NE(doomed, L"Избранное");
        const RECT tabs = ScreenRect(Child(L"TTabControl"));
        // The pop-up of the tab under the pointer: its last item is "Удалить".
        Click(tabs.left + 12, tabs.top + 10, true);
        HWND popup = program->WaitForWindow(L"#32768");
        ASSERT_NE(popup, nullptr) << "no pop-up menu";
        program->Settle(300);
        const RECT menu = ScreenRect(popup);
        Click(menu.left + 30, menu.bottom - 10);
        program->Settle();
        Answer(true);
        Shot(L"13-second-confirmation");
        Answer(true);
        EXPECT_FALSE(Exists(Bases() + L"\\" + doomed));
        Shot(L"14-category-deleted");
    });
}
