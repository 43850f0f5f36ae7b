// A damaged packed skin dropped into the skin folder and chosen from the system menu: the reader's
// warning shows, the program keeps its look and goes on working, and no window is lost.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

// The folder the main window's skin manager lists skins from.
constexpr wchar_t kSkinFolder[] = L"C:\\Skins";
constexpr wchar_t kWarning[] = L"Loaded data is not packed Quorvel file";

class HostileSkinTest : public NotebookTest {
protected:
    void SetUp() override
    {
        NotebookTest::SetUp();
        CreateDirectoryW(kSkinFolder, nullptr);
        // A container whose magic lost its lower-case "f", followed by an entry of garbage.
        testsupport::WriteFileBytes(SkinFile(), std::string("ASzF\x01\x00\x00\x00\x0B\x00\x00\x00Options.dat", 23) +
                                                    std::string(64, '\xA5'));
    }
    void TearDown() override
    {
        NotebookTest::TearDown();
        DeleteFileW(SkinFile().c_str());
        RemoveDirectoryW(kSkinFolder);
    }
    static std::wstring SkinFile() { return std::wstring(kSkinFolder) + L"\\Сломанный.asz"; }
};

TEST_F(HostileSkinTest, ADamagedSkinFromTheSystemMenuWarnsAndTheProgramGoesOn)
{
    StartNotebook();
    ASSERT_FALSE(HasFatalFailure());
    const size_t windows = FindTopWindows({ProcessId(), {}, {}, true}).size();
    const testsupport::Pixels24 before = Shot(MainWindow(), L"before");

    ASSERT_TRUE(Bot().Activate(MainWindow()));
    Bot().PressShortcut({VK_MENU, VK_SPACE});
    HWND menu = WaitForTopWindow({ProcessId(), L"#32768", {}, true});
    ASSERT_NE(menu, nullptr) << "no system menu";
    Shot(menu, L"system-menu");
    // "Available skins", then its list, sorted by name: the damaged file's Cyrillic name comes after the
    // stored skin and the packed skins of the folder, so it is the last entry.
    Bot().PressKey(VK_DOWN);
    Bot().PressKey(VK_RIGHT);
    Bot().PressKey(VK_END);
    Bot().PressKey(VK_RETURN);

    HWND box = WaitForTopWindow({ProcessId(), L"#32770", L"Warning", true});
    ASSERT_NE(box, nullptr) << "no warning";
    EXPECT_NE(FindChildWindow(box, {}, kWarning), nullptr) << "the warning names the damaged container";
    Shot(box, L"warning");
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(box));
    Bot().WaitIdle(MainWindow());

    ASSERT_TRUE(Running());
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    EXPECT_EQ(FindTopWindows({ProcessId(), {}, {}, true}).size(), windows) << "no window lost, none left behind";
    // The stored skin is loaded again: the window looks as it did.
    const testsupport::Pixels24 after = Shot(MainWindow(), L"after");
    ASSERT_EQ(after.width, before.width);
    ASSERT_EQ(after.height, before.height);
    EXPECT_LT(before.DifferingPixels(after), before.width * before.height / 100);

    // And the program still answers: another category opens.
    const int other = CurrentTab(Tabs()) == 0 ? 1 : 0;
    ClickTab(other);
    EXPECT_TRUE(WaitUntil([&] { return CurrentTab(Tabs()) == other; }));
}

} // namespace
