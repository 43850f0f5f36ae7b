// The library's start-up units: their place in the start-up order, what each makes and frees, item
// identifier lists with the shell's allocator, the desktop folder object, and missing resources.
#include "framework/Startup.h"
#include "framework/SysUtils.h"
#include "skin/core/sConst.h"
#include "skin/core/sLibraryResources.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sShellFolders.h"

#include "tests/support/test_support.h"

#include <cstring>
#include <vector>

namespace {

void AddLibrarySteps(TStartup& s)
{
    // Added out of order on purpose: the places decide.
    AddFontGlyphsStartupStep(s);
    AddShellFoldersStartupStep(s);
    AddThemeApiStartupStep(s);
    AddSkinnedFormsStartupStep(s);
    AddLibraryBitmapsStartupStep(s);
    AddDateUtilitiesStartupStep(s);
    AddSkinMessageStartupStep(s);
    AddSkinConstantsStartupStep(s);
}

// An item list of entries with the given payload sizes, made with the shell allocator.
LPITEMIDLIST MakeList(const std::vector<int>& payloads)
{
    UINT size = 2;
    for (int p : payloads)
        size += 2 + p;
    LPITEMIDLIST list = NewItemList(size);
    auto* bytes = reinterpret_cast<BYTE*>(list);
    BYTE fill = 1;
    for (int p : payloads) {
        const USHORT cb = static_cast<USHORT>(2 + p);
        std::memcpy(bytes, &cb, 2);
        std::memset(bytes + 2, fill++, static_cast<std::size_t>(p));
        bytes += cb;
    }
    return list;
}

} // namespace

TEST(StartupUnits, LibraryStepsRunInTheProgramsOrder)
{
    TStartup s;
    AddLibrarySteps(s);
    EXPECT_EQ(s.Names(), (std::vector<std::wstring>{L"Skin constants", L"Skin command message", L"Date utilities",
                                                    L"Program icons and skinned forms", L"Visual styles entries",
                                                    L"Shell folders", L"Library bitmaps", L"Font glyphs"}));
}

TEST(StartupUnits, EachUnitMakesItsStateAtStartAndFreesItAtExit)
{
    TStartup s;
    AddLibrarySteps(s);
    s.Start();
    ASSERT_NE(DesktopShellFolder(), nullptr);
    EXPECT_EQ(DesktopShellFolder()->Parent(), nullptr);
    EXPECT_EQ(DesktopShellFolder()->Level(), 0);
    ASSERT_NE(LibraryBitmap(0), nullptr);
    ASSERT_NE(FontGlyph(3), nullptr);
    ChangedSectionName = L"BUTTON";
    s.Finish();
    EXPECT_EQ(DesktopShellFolder(), nullptr);
    EXPECT_EQ(LibraryBitmap(0), nullptr);
    EXPECT_EQ(FontGlyph(3), nullptr);
    EXPECT_EQ(ProgramIconLarge(), nullptr);
    EXPECT_EQ(ProgramIconSmall(), nullptr);
    EXPECT_EQ(ThemeApi().SetWindowTheme, nullptr);
    EXPECT_TRUE(ChangedSectionName.empty());
    EXPECT_TRUE(SkinnedForms().empty());
}

TEST(StartupUnits, MissingResourcesLeaveEmptyBitmapsAndTheProgramStarts)
{
    TStartup s;
    AddLibraryBitmapsStartupStep(s);
    AddFontGlyphsStartupStep(s);
    ASSERT_NO_THROW(s.Start());
    // This test program has none of the library's bitmap resources.
    for (int i = 0; i < kLibraryBitmapCount; ++i)
        EXPECT_TRUE(LibraryBitmap(i)->Empty());
    for (int i = 0; i < kFontGlyphCount; ++i)
        EXPECT_TRUE(FontGlyph(i)->Empty());
    s.Finish();
}

TEST(StartupUnits, DateFlagFollowsTheShortDateFormat)
{
    TStartup s;
    AddDateUtilitiesStartupStep(s);
    s.Start();
    wchar_t format[80]{};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80);
    EXPECT_EQ(LongYearDates(), UpperCase(format).find(L"YYYY") != std::wstring::npos);
}

TEST(StartupUnits, ThemeEntriesAreUsableOrNull)
{
    TStartup s;
    AddThemeApiStartupStep(s);
    s.Start();
    HMODULE lib = GetModuleHandleW(L"UXTHEME");
    EXPECT_EQ(ThemeApi().SetWindowTheme != nullptr, lib && GetProcAddress(lib, "SetWindowTheme"));
    s.Finish();
    EXPECT_FALSE(ThemesActive()); // callers see no themes once the entries are gone
}

TEST(ItemLists, SizesCountEveryEntryAndTheTerminator)
{
    EXPECT_EQ(ItemListSize(nullptr), 0u);
    LPITEMIDLIST list = MakeList({3, 5});
    EXPECT_EQ(ItemListSize(list), 5u + 7u + 2u);
    EXPECT_EQ(reinterpret_cast<BYTE*>(NextItemEntry(list)) - reinterpret_cast<BYTE*>(list), 5);
    LPITEMIDLIST copy = CloneItemList(list);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, list, ItemListSize(list)), 0);
    FreeItemList(copy);
    FreeItemList(list);
    EXPECT_EQ(CloneItemList(nullptr), nullptr);
}

TEST(ItemLists, JoinKeepsOneTerminatorAndAcceptsMissingHalves)
{
    LPITEMIDLIST a = MakeList({3});
    LPITEMIDLIST b = MakeList({4, 1});
    LPITEMIDLIST ab = JoinItemLists(a, b);
    EXPECT_EQ(ItemListSize(ab), ItemListSize(a) - 2 + ItemListSize(b));
    EXPECT_EQ(reinterpret_cast<BYTE*>(ab)[2], 1);
    EXPECT_EQ(reinterpret_cast<BYTE*>(NextItemEntry(ab))[2], 1); // b's first entry follows a's
    LPITEMIDLIST onlyB = JoinItemLists(nullptr, b);
    EXPECT_EQ(std::memcmp(onlyB, b, ItemListSize(b)), 0);
    LPITEMIDLIST onlyA = JoinItemLists(a, nullptr);
    ASSERT_NE(onlyA, nullptr);
    EXPECT_EQ(ItemListSize(onlyA), ItemListSize(a)); // still terminated
    for (LPITEMIDLIST p : {a, b, ab, onlyB, onlyA})
        FreeItemList(p);
}

TEST(ShellFolders, AFolderWithoutParentHangsBelowTheDesktop)
{
    TStartup s;
    AddShellFoldersStartupStep(s);
    s.Start();
    LPITEMIDLIST relative = MakeList({6});
    IShellFolder* desktop = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetDesktopFolder(&desktop)));
    {
        TacShellFolder folder(nullptr, desktop, relative);
        EXPECT_EQ(folder.Parent(), DesktopShellFolder());
        EXPECT_EQ(folder.Level(), 1);
        EXPECT_EQ(ItemListSize(folder.AbsoluteID()),
                  ItemListSize(DesktopShellFolder()->AbsoluteID()) - 2 + ItemListSize(relative));
        EXPECT_NE(folder.RelativeID(), relative); // a copy of its own
        TacShellFolder child(&folder, desktop, relative);
        EXPECT_EQ(child.Level(), 2);
    }
    desktop->Release();
    FreeItemList(relative);
    s.Finish();
}
