// A damaged packed skin dropped into the skin folder and chosen from the system menu: the reader's
// warning shows, the program keeps its look and goes on working, and no window is lost. Skins whose
// image counts no frame can be cut by: every dialog still opens, scrolls and closes.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

#include <string>

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

namespace {

using namespace e2e;

// What a hostile skin makes of every image value of the drawn stored skin: counts no frame can be cut
// by, which only the reader's clamps keep from a division by zero in the painters.
enum class Hostility {
    NoImages,          // an image count of 0 in every value
    NegativeMaskType,  // a mask type of -1 in every value (each a bitmap of its own)
    BeyondSixteenBits, // 65536 images over 65535 mask rows: 0 and -1 once cut to 16 bits
};

struct HostileSkin {
    const wchar_t* name;
    Hostility hostility;
};

// Where a test's one hostile skin stands in "Available skins": its Cyrillic name sorts after the two
// packed skins of the folder and the stored skin.
constexpr int kHostileSkinPosition = 3;

int Digits(const std::string& value, size_t at, size_t count)
{
    return std::stoi(value.substr(at, count));
}

// An image value in the fixed columns ("@" glyph, "^" border, "~" texture) rewritten as the skin wants
// it; every other value stays as it is.
std::string Rewritten(const std::string& value, Hostility hostility, const std::string& masterBitmap)
{
    if (value.size() < 20 || (value[0] != '@' && value[0] != '^' && value[0] != '~'))
        return value;
    const std::string rect = std::to_string(Digits(value, 1, 4)) + "," + std::to_string(Digits(value, 6, 4)) + "," +
                             std::to_string(Digits(value, 11, 4)) + "," + std::to_string(Digits(value, 16, 4));
    const size_t countAt = value[0] == '@' ? 21 : 41;
    switch (hostility) {
    case Hostility::NoImages:
        if (value[0] == '~')
            return "#x (" + rect + ") (0,0)";
        return value.substr(0, countAt) + "0" + value.substr(countAt + 1);
    case Hostility::NegativeMaskType: {
        const int count = value[0] == '~' ? 1 : Digits(value, countAt, 1);
        const char* type = value[0] == '@' ? "2" : value[0] == '^' ? "0" : "1";
        return "!" + masterBitmap + "!" + std::to_string(count) + "!-1!" + type;
    }
    case Hostility::BeyondSixteenBits:
        return "#x (" + rect + ") (65536,65535)";
    }
    return value;
}

class HostileSkinCountsTest : public NotebookTest, public ::testing::WithParamInterface<HostileSkin> {
protected:
    void SetUp() override
    {
        NotebookTest::SetUp();
        const std::wstring drawn = testsupport::Widen(VELMORA_DRAWN_SKIN_DIR);
        const std::string text = testsupport::ReadFileBytes(drawn + L"\\Options.dat");
        const std::string master = "MASTER.BMP";
        std::string out, line;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            line = text.substr(start, end - start);
            start = end + 1;
            const size_t equals = line.find('=');
            if (equals != std::string::npos && line.compare(0, equals, "MASTERBITMAP") != 0)
                line = line.substr(0, equals + 1) + Rewritten(line.substr(equals + 1), GetParam().hostility, master);
            out += line + "\n";
        }
        testsupport::WriteFileBytes(SkinFolder() + L"\\Options.dat", out);
        testsupport::WriteFileBytes(SkinFolder() + L"\\" + testsupport::Widen(master),
                                    testsupport::ReadFileBytes(drawn + L"\\" + testsupport::Widen(master)));
    }
    void TearDown() override
    {
        NotebookTest::TearDown();
        testsupport::RemoveTree(SkinFolder());
    }
    std::wstring SkinFolder() const { return std::wstring(kSkinFolder) + L"\\" + GetParam().name; }

    // Drops a combo box's list with a click on its arrow, scrolls the list and closes it again.
    void DropDown(HWND box)
    {
        HWND list = DropDownList(box);
        ASSERT_NE(list, nullptr) << "the list does not drop down";
        Bot().WaitIdle(list);
        SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
        SendMessageW(list, WM_VSCROLL, SB_PAGEUP, 0);
        Bot().WaitIdle(list);
        Shot(list, L"dropped");
        // Closed by the box itself: an Escape whose release reaches the dialog would close the dialog.
        SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
        ASSERT_TRUE(WaitForWindowGone(list, 5000));
    }

    // The new-recipe dialog with both lists dropped, a text field scrolled and the open-picture dialog.
    void NewRecipeDialog()
    {
        ClickToolButton(L"Новый");
        HWND dialog = WaitForProgramWindow(L"TNewForm", L"Новый рецепт");
        ASSERT_NE(dialog, nullptr) << "no new-recipe dialog";
        Bot().WaitIdle(dialog);
        Shot(dialog, L"new-recipe");
        for (HWND box : FindChildWindows(dialog, L"TComboBox"))
            if (IsWindowEnabled(box))
                DropDown(box);
        ASSERT_TRUE(IsWindowVisible(dialog)) << "closing the list closed the dialog";
        Bot().ClickCentre(ButtonOf(dialog, L"Обзор..."));
        HWND picker = WaitForTopWindow({ProcessId(), L"#32770", {}, true});
        ASSERT_NE(picker, nullptr) << "no open-picture dialog";
        Bot().WaitIdle(picker);
        Shot(picker, L"open-picture");
        // Escape must reach the picker: one that reaches the dialog under it closes the dialog instead.
        ASSERT_TRUE(Bot().Activate(picker)) << "the open-picture dialog is not in front";
        Bot().PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForWindowGone(picker));
        Bot().ClickCentre(ButtonOf(dialog, L"Отмена"));
        ASSERT_TRUE(WaitForWindowGone(dialog)) << "the new-recipe dialog stays open";
    }

    void PrintDialog()
    {
        ClickToolButton(L"Печать");
        HWND dialog = WaitForTopWindow({ProcessId(), L"#32770", {}, true});
        ASSERT_NE(dialog, nullptr) << "no print dialog";
        Bot().WaitIdle(dialog);
        Shot(dialog, L"print");
        ASSERT_TRUE(Bot().Activate(dialog)) << "the print dialog is not in front";
        Bot().PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForWindowGone(dialog)) << "the print dialog stays open";
    }

    void AboutDialog()
    {
        ClickToolButton(L"О прог...");
        HWND dialog = WaitForProgramWindow(L"TAboutForm", L"О программе");
        ASSERT_NE(dialog, nullptr) << "no about dialog";
        Shot(dialog, L"about");
        Bot().ClickCentre(ButtonOf(dialog, L"OK"));
        ASSERT_TRUE(WaitForWindowGone(dialog)) << "the about dialog stays open";
    }

    // The question before a recipe is deleted, answered No.
    void Message()
    {
        ClickRecipe(0);
        ClickRecipe(0, MouseButton::Right);
        ChooseLastPopupItem();
        ASSERT_TRUE(AnswerMessage(L"&Нет", L"message"));
    }
};

TEST_P(HostileSkinCountsTest, EveryDialogOpensScrollsAndClosesUnderTheSkin)
{
    StartNotebook();
    ASSERT_FALSE(HasFatalFailure());
    PickSkin(kHostileSkinPosition);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(Running()) << "the skin's load ended the program";
    Shot(MainWindow(), L"picked");
    Bot().ClickCentre(View());
    Bot().PressShortcut({VK_CONTROL, VK_END});
    SendMessageW(List(), WM_VSCROLL, SB_PAGEDOWN, 0);

    NewRecipeDialog();
    ASSERT_TRUE(Running());
    PrintDialog();
    ASSERT_TRUE(Running());
    AboutDialog();
    ASSERT_TRUE(Running());
    Message();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    Shot(MainWindow(), L"after");
}

INSTANTIATE_TEST_SUITE_P(
    Skins, HostileSkinCountsTest,
    ::testing::Values(HostileSkin{L"Шкура 1", Hostility::NoImages}, HostileSkin{L"Шкура 2", Hostility::NegativeMaskType},
                      HostileSkin{L"Шкура 3", Hostility::BeyondSixteenBits}),
    [](const ::testing::TestParamInfo<HostileSkin>& info) {
        switch (info.param.hostility) {
        case Hostility::NoImages:
            return "NoImages";
        case Hostility::NegativeMaskType:
            return "NegativeMaskType";
        case Hostility::BeyondSixteenBits:
            return "BeyondSixteenBits";
        }
        return "Unknown";
    });

} // namespace
