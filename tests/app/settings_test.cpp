// The view settings and counters in the registry: defaults, values written and read back, and
// counters that are not numbers.
#include "app/settings.h"

#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// A registry key of its own for each test, removed afterwards.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : key_(L"Software\\VelmoraTests\\settings-" + std::to_wstring(GetCurrentProcessId()))
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    }
    ~SettingsTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    // Writes a raw string value the way another program (or an older version) might have left it.
    void Put(const std::wstring& section, const std::wstring& name, const std::wstring& value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\" + section).c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    // The stored value and its type; empty with type 0 when missing.
    std::pair<std::wstring, DWORD> Stored(const std::wstring& section, const std::wstring& name)
    {
        wchar_t buffer[256] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        DWORD type = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (key_ + L"\\" + section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        const LSTATUS status =
            RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return {};
        return {buffer, type};
    }

    std::wstring key_;
    TRegistrySettings storage{key_};
};

} // namespace

TEST_F(SettingsTest, MissingKeyGivesTheDefaults)
{
    const TViewSettings settings = ReadSettings(storage);
    EXPECT_EQ(settings.ThemeName, L"Стандарт");
    EXPECT_TRUE(settings.TabsAtBottom());
    EXPECT_FALSE(settings.IconsFromFolder());
    EXPECT_FALSE(settings.BigIcons());
}

TEST_F(SettingsTest, ComparisonsAreExactAndCaseSensitive)
{
    Put(L"Theme", L"Bar", L"bottom");
    Put(L"Theme", L"Icons", L"folder");
    Put(L"Theme", L"List", L"BIG");
    const TViewSettings settings = ReadSettings(storage);
    EXPECT_FALSE(settings.TabsAtBottom());
    EXPECT_FALSE(settings.IconsFromFolder());
    EXPECT_FALSE(settings.BigIcons());
}

TEST_F(SettingsTest, WrittenSettingsAreStringsThatReadBack)
{
    WriteThemeSetting(storage, L"Name", L"Зима");
    WriteThemeSetting(storage, L"Bar", BarSettingText(false));
    WriteThemeSetting(storage, L"Icons", IconsSettingText(true));
    WriteThemeSetting(storage, L"List", ListSettingText(true));

    EXPECT_EQ(Stored(L"Theme", L"Name"), std::make_pair(std::wstring(L"Зима"), DWORD(REG_SZ)));
    EXPECT_EQ(Stored(L"Theme", L"Bar").first, L"Top");
    EXPECT_EQ(Stored(L"Theme", L"Icons").first, L"Folder");
    EXPECT_EQ(Stored(L"Theme", L"List").first, L"Big");

    const TViewSettings settings = ReadSettings(storage);
    EXPECT_EQ(settings.ThemeName, L"Зима");
    EXPECT_FALSE(settings.TabsAtBottom());
    EXPECT_TRUE(settings.IconsFromFolder());
    EXPECT_TRUE(settings.BigIcons());
}

TEST_F(SettingsTest, FirstStartWritesStartCountOne)
{
    TCounters counters;
    CountStart(storage, counters);
    EXPECT_EQ(counters.StartCount, 1);
    EXPECT_EQ(counters.ViewCount, 0);
    EXPECT_EQ(Stored(L"Counters", L"StartCount"), std::make_pair(std::wstring(L"1"), DWORD(REG_SZ)));
}

TEST_F(SettingsTest, StartCountsOnAndTheViewCounterIsReadAsStored)
{
    Put(L"Counters", L"StartCount", L"41");
    Put(L"Counters", L"ReceptCount", L"7");
    TCounters counters;
    CountStart(storage, counters);
    EXPECT_EQ(counters.StartCount, 42);
    EXPECT_EQ(counters.ViewCount, 7);
    EXPECT_EQ(Stored(L"Counters", L"StartCount").first, L"42");
    EXPECT_EQ(Stored(L"Counters", L"ReceptCount").first, L"7");
}

TEST_F(SettingsTest, EachOpenedRecipeCountsOneView)
{
    TCounters counters;
    CountStart(storage, counters);
    CountView(storage, counters);
    CountView(storage, counters);
    EXPECT_EQ(counters.ViewCount, 2);
    EXPECT_EQ(Stored(L"Counters", L"ReceptCount").first, L"2");
}

TEST_F(SettingsTest, ACounterThatIsNoNumberCountsAsZero)
{
    Put(L"Counters", L"StartCount", L"много");
    Put(L"Counters", L"ReceptCount", L"12abc");
    TCounters counters;
    EXPECT_NO_THROW(CountStart(storage, counters));
    EXPECT_EQ(counters.StartCount, 1);
    EXPECT_EQ(counters.ViewCount, 0);
    EXPECT_NO_THROW(CountView(storage, counters));
    EXPECT_EQ(counters.ViewCount, 1);
    EXPECT_EQ(Stored(L"Counters", L"StartCount").first, L"1");
    EXPECT_EQ(Stored(L"Counters", L"ReceptCount").first, L"1");
}

TEST_F(SettingsTest, ACounterAtItsLargestValueStaysThere)
{
    Put(L"Counters", L"StartCount", L"2147483647");
    TCounters counters;
    CountStart(storage, counters);
    EXPECT_EQ(counters.StartCount, 2147483647);
}

