// Skin selection: packed file, folder and stored skin, the cached indexes and a failing load.
#include "skin/core/sSkinManager.h"
#include "skin/core/acntUtils.h"
#include "framework/SysUtils.h"

#include "tests/skin_core/message_box_watcher.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

#include <string>

using namespace testskin;

namespace {

class SkinManager : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        sm.SetSkinDirectory(Folder());
    }
    void ExpectTestSkinLoaded()
    {
        EXPECT_TRUE(sm.SkinData()->Active);
        EXPECT_GE(sm.ConstData.GlobalInfo, 0);
        EXPECT_GE(FindSectionIndex(&sm, L"BUTTON"), 0);
        EXPECT_GE(sm.ConstData.CheckBox[0], 0);
    }
    void ExpectEmpty()
    {
        EXPECT_TRUE(sm.Sections.empty());
        EXPECT_TRUE(sm.Masks.empty());
        EXPECT_TRUE(sm.Patterns.empty());
        EXPECT_EQ(sm.ConstData.GlobalInfo, -1);
        EXPECT_EQ(sm.ConstData.ComboBtn, -1);
        EXPECT_EQ(sm.ConstData.CheckBox[8], -1);
    }
    TsSkinManager sm;
};

TEST_F(SkinManager, NewManagerHoldsNoSkin)
{
    TsSkinManager fresh;
    EXPECT_TRUE(fresh.Sections.empty());
    EXPECT_EQ(fresh.ConstData.GlobalInfo, 0);
    EXPECT_EQ(GetGlobalFontColor(&fresh), 0xFF00FF);
    EXPECT_EQ(fresh.SkinDirectory(), L"c:\\Skins");
    EXPECT_TRUE(fresh.Active());
}

TEST_F(SkinManager, LoadsASkinFolder)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    ExpectTestSkinLoaded();
    EXPECT_FALSE(sm.IsPacked());
    EXPECT_EQ(sm.SkinData()->SkinPath, Folder() + L"\\Flat\\");
}

TEST_F(SkinManager, LoadsAPackedFileBeforeAFolderOfTheSameName)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    auto entries = TestSkinEntries();
    entries[0].bytes += "[PACKEDONLY]\r\nCOLOR=1\r\n";
    testsupport::WriteFileBytes(PathOf(L"Flat.asz"), BuildContainer(entries));
    sm.SetSkinName(L"Flat");
    ExpectTestSkinLoaded();
    EXPECT_TRUE(sm.IsPacked());
    EXPECT_GE(FindSectionIndex(&sm, L"PACKEDONLY"), 0);
}

// A relative skin directory is the program's: its packed files are found there, not in whatever
// folder the process works in (here the test's own folder).
TEST_F(SkinManager, PackedFileOfARelativeSkinDirectoryIsTheProgramFoldersOne)
{
    const std::wstring relative = L"relative-skins-" + std::to_wstring(GetCurrentProcessId());
    struct Removed {
        std::wstring path;
        ~Removed() { testsupport::RemoveTree(path); }
    } removed{ProgramFolder() + relative};
    testsupport::WriteFileBytes(removed.path + L"\\Flat.asz", BuildContainer(TestSkinEntries()));
    struct WorkingFolder {
        wchar_t before[MAX_PATH] = {};
        WorkingFolder() { GetCurrentDirectoryW(MAX_PATH, before); }
        ~WorkingFolder() { SetCurrentDirectoryW(before); }
    } workingFolder;
    ASSERT_TRUE(SetCurrentDirectoryW(Folder().c_str()));
    sm.SetSkinDirectory(relative);
    sm.SetSkinName(L"Flat");
    EXPECT_TRUE(sm.Active());
    EXPECT_TRUE(sm.IsPacked());
    ExpectTestSkinLoaded();
    EXPECT_EQ(sm.SkinData()->SkinPath, removed.path + L"\\");
}

TEST_F(SkinManager, CachedIndexesFollowTheSkin)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    const TacCachedIndexes& c = sm.ConstData;
    EXPECT_EQ(c.GlobalInfo, FindSectionIndex(&sm, L"GLOBALINFO"));
    EXPECT_EQ(c.ScrollBtn[0], FindSectionIndex(&sm, L"SCROLLBTNTOP"));
    EXPECT_GE(c.ScrollBtnBorder[0], 0);
    EXPECT_GE(c.ScrollBtnGlyph[0], 0);
    // SCROLLBTNBOTTOM inherits its glyph from SCROLLBTNTOP.
    EXPECT_EQ(c.ScrollBtnGlyph[1], c.ScrollBtnGlyph[0]);
    EXPECT_EQ(c.Tab[0], FindSectionIndex(&sm, L"TABTOP"));
    // TABTOP names itself as parent: its own mask is found, nothing loops.
    EXPECT_GE(c.TabBorder[0], 0);
    EXPECT_EQ(c.CheckBox[1], -1);
    EXPECT_EQ(c.ComboBtn, -1);
}

TEST_F(SkinManager, SwitchingOffEmptiesEverything)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    sm.SetActive(false);
    ExpectEmpty();
    EXPECT_FALSE(sm.SkinData()->Active);
    sm.SetActive(true);
    ExpectTestSkinLoaded();
}

TEST_F(SkinManager, NameWhileInactiveIsOnlyStored)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetActive(false);
    sm.SetSkinName(L"Flat");
    EXPECT_TRUE(sm.Sections.empty());
    sm.SetActive(true);
    ExpectTestSkinLoaded();
}

TEST_F(SkinManager, UnknownNameTakesTheFirstStoredSkin)
{
    TsStoredSkin* stored = sm.InternalSkins()->Add();
    stored->SetName(L"Office2007 (internal)");
    const std::string packed = BuildContainer(TestSkinEntries());
    stored->Data()->WriteBuffer(packed.data(), static_cast<std::int32_t>(packed.size()));
    sm.SetSkinName(L"nothing here");
    EXPECT_EQ(sm.SkinName(), L"Office2007 (internal)");
    ExpectTestSkinLoaded();
    EXPECT_TRUE(sm.IsPacked());
    EXPECT_TRUE(sm.SkinData()->SkinPath.empty());
    // The stored skin keeps its data.
    EXPECT_EQ(stored->Data()->Size(), static_cast<std::int64_t>(packed.size()));
}

TEST_F(SkinManager, StoredSkinNamesCompareExactly)
{
    sm.InternalSkins()->Add()->SetName(L"Office2007 (internal)");
    EXPECT_EQ(sm.InternalSkins()->IndexOfSkin(L"Office2007 (internal)"), 0);
    EXPECT_EQ(sm.InternalSkins()->IndexOfSkin(L"office2007 (internal)"), -1);
}

TEST_F(SkinManager, NoSkinAnywhereSwitchesOff)
{
    sm.SetSkinName(L"nothing here");
    EXPECT_FALSE(sm.Active());
    ExpectEmpty();
}

TEST_F(SkinManager, DamagedPackedSkinRaisesAndLeavesNothingHalfBuilt)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    sm.SetSkinName(L"Flat");
    std::string packed = BuildContainer(TestSkinEntries());
    packed.resize(packed.size() - 10);
    testsupport::WriteFileBytes(PathOf(L"Cut.asz"), packed);
    EXPECT_ANY_THROW(sm.SetSkinName(L"Cut"));
    ExpectEmpty();
    EXPECT_FALSE(sm.SkinData()->Active);
}

// A skin text held open by another program, or a folder in its place: the load fails with a message
// naming the text, and the skin that was active stays, under its own name.
TEST_F(SkinManager, UnreadableSkinTextFailsAndKeepsTheActiveSkin)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    WriteTestSkinFolder(Folder(), L"Held");
    ASSERT_TRUE(ForceDirectories(PathOf(L"Hollow\\Options.dat")));
    sm.SetSkinName(L"Flat");
    const HANDLE held = CreateFileW(PathOf(L"Held\\Options.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const std::wstring name : {L"Held", L"Hollow"}) {
        std::wstring message;
        try {
            sm.SetSkinName(name);
        } catch (const Exception& e) {
            message = e.Message();
        }
        EXPECT_NE(message.find(name + L"\\Options.dat"), std::wstring::npos) << testsupport::Narrow(message);
        EXPECT_EQ(sm.SkinName(), L"Flat");
        ExpectTestSkinLoaded();
    }
    CloseHandle(held);
}

TEST_F(SkinManager, BadValueMidLoadLeavesNothingHalfBuilt)
{
    testsupport::WriteFileBytes(PathOf(L"Bad\\Options.dat"),
                                "[GLOBALINFO]\r\nBOXCHECKED=@0000@0000@0039@0013@3@0\r\n[X]\r\nM=@00z0\r\n");
    EXPECT_THROW(sm.SetSkinName(L"Bad"), EConvertError);
    ExpectEmpty();
}

TEST_F(SkinManager, WrongMagicFileCountsAsAbsent)
{
    WriteTestSkinFolder(Folder(), L"Flat");
    testsupport::WriteFileBytes(PathOf(L"Flat.asz"), BuildContainer(TestSkinEntries(), 0, "ASzF"));
    MessageBoxWatcher watcher;
    sm.SetSkinName(L"Flat");
    EXPECT_TRUE(watcher.Wait().found);
    ExpectTestSkinLoaded();
    EXPECT_FALSE(sm.IsPacked());
}

TEST_F(SkinManager, MaskSizesNeverDivideByZero)
{
    TsMaskData m;
    m.R = RECT{0, 0, 30, 12};
    m.ImageCount = 0;
    m.MaskType = 1;
    sm.Masks.push_back(m);
    EXPECT_EQ(GetMaskFrameSize(&sm, 0).x, 30);
    EXPECT_EQ(GetMaskFrameSize(&sm, 0).y, 6);
    EXPECT_EQ(GetMaskBorderLeft(&sm, 0), 10);
    EXPECT_EQ(sm.Masks[0].ImageCount, 1);
    EXPECT_EQ(GetMaskBorderBottom(&sm, 0), 2);
    EXPECT_EQ(GetMaskBorderRight(&sm, 5), 0);
    // A stored skin can give any mask type; -1 leaves one row.
    sm.Masks[0].MaskType = -1;
    EXPECT_EQ(GetMaskFrameSize(&sm, 0).y, 12);
    EXPECT_EQ(GetMaskBorderBottom(&sm, 0), 4);
    EXPECT_FALSE(IsValidMaskIndex(&sm, 1));
    EXPECT_FALSE(IsValidSectionIndex(&sm, 0));
}

TEST(SkinDirectory, RelativeDirectoriesResolveAgainstTheProgramFolder)
{
    TsSkinManager sm;
    std::wstring program = ProgramFolder();
    std::wstring parent = program.substr(0, program.size() - 1);
    parent.erase(parent.find_last_of(L"\\/") + 1);
    sm.SetSkinDirectory(L"..\\Skins");
    EXPECT_EQ(sm.ResolveSkinDirectory(), parent + L"Skins");
    sm.SetSkinDirectory(L".\\Skins");
    EXPECT_EQ(sm.ResolveSkinDirectory(), program + L"Skins");
    sm.SetSkinDirectory(L"Skins");
    EXPECT_EQ(sm.ResolveSkinDirectory(), program + L"Skins");
    sm.SetSkinDirectory(L"D:\\Skins");
    EXPECT_EQ(sm.ResolveSkinDirectory(), L"D:\\Skins");
    sm.SetSkinDirectory(L"\\\\server\\Skins");
    EXPECT_EQ(sm.ResolveSkinDirectory(), L"\\\\server\\Skins");
}

} // namespace
