// Icon files of the user's folders that are damaged: the theme's exit icon and a category's tab icon hold
// random bytes. The program starts as if they were missing and works.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;
using testsupport::Narrow;

class DamagedIconTest : public NotebookTest {
protected:
    // Tab icons come from the category folders, as a user who chose "Иконки из папки" has it stored.
    void StoreIconsFromFolders()
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\Theme").c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const wchar_t value[] = L"Folder";
        RegSetValueExW(key, L"Icons", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
        RegCloseKey(key);
    }
    static std::string RandomBytes()
    {
        std::string bytes(1000, '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
        return bytes;
    }
};

TEST_F(DamagedIconTest, TheMainWindowOpensAndWorksAsWithTheIconsMissing)
{
    const auto categories = CategoriesOnDisk();
    ASSERT_GE(categories.size(), 2u);
    const std::wstring exitIcon = BasePath(L"Resource\\Стандарт\\tb_exit.ico");
    ASSERT_TRUE(FileExists(exitIcon));
    testsupport::WriteFileBytes(exitIcon, RandomBytes());
    testsupport::WriteFileBytes(CategoryPath(categories[1]) + L"\\icon.ico", RandomBytes());
    StoreIconsFromFolders();

    StartNotebook();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(FindTopWindows({ProcessId(), L"#32770", {}, true}).size(), 0u) << "an error box shows";
    EXPECT_EQ(TabCaptions(Tabs()), categories);
    const auto first = RecipesOnDisk(categories.front());
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(WaitUntil([&] { return SelectedListItem(List()) == 0 && ViewFirstLine() == first.front(); }));
    EXPECT_TRUE(WaitUntil([&] { return Setting(L"Counters", L"StartCount") == std::optional<std::wstring>(L"1"); }))
        << "the start did not run to its end";
    EXPECT_TRUE(ToolButton(L"Выйти").found);
    Shot(MainWindow(), L"started");

    OpenCategory(categories[1]);
    EXPECT_EQ(ListItems(), RecipesOnDisk(categories[1]));
    Shot(MainWindow(), L"damaged-tab-icon");
}

} // namespace
