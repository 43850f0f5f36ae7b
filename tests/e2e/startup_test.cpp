// The program starts on its working folder, shows its main window and ends when the window is closed;
// a skin of its stored skin's name that cannot be read only costs a message at start.
#include "tests/e2e/program_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace e2e;

class ProgramLifeTest : public ProgramTest {};

TEST_F(ProgramLifeTest, MainWindowShowsCaptionedVelmora)
{
    StartProgram();
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_EQ(WindowClass(MainWindow()), kMainFormClass);
    EXPECT_EQ(WindowCaption(MainWindow()), L"Велмора");
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    // The task-bar title belongs to the program's hidden application window.
    HWND application = FindTopWindow({ProcessId(), L"TApplication", {}, false});
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(WindowCaption(application), L"Велмора 1.11");

    RECT rc{};
    GetWindowRect(MainWindow(), &rc);
    auto shot = Shot(MainWindow(), L"started");
    EXPECT_EQ(shot.width, rc.right - rc.left);
    EXPECT_EQ(shot.height, rc.bottom - rc.top);
    EXPECT_TRUE(FileExists(ShotsFolder() + L"\\ProgramLifeTest-MainWindowShowsCaptionedVelmora-started.bmp"));
}

// Pixels of the program icon's green cover inside a rectangle of a picture.
int CoverPixels(const testsupport::Pixels24& shot, RECT area)
{
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(shot.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(shot.width, area.right); ++x) {
            const COLORREF c = shot.At(x, y);
            n += std::abs(GetRValue(c) - 0x2f) < 24 && std::abs(GetGValue(c) - 0x6b) < 24 &&
                 std::abs(GetBValue(c) - 0x3a) < 24;
        }
    return n;
}

TEST_F(ProgramLifeTest, TheTitleBarShowsTheProgramsOwnIcon)
{
    // The executable carries the icon under the name the system and the forms look for.
    HMODULE exe = LoadLibraryExW(testsupport::Widen(VELMORA_PROGRAM_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(FindResourceW(exe, L"MAINICON", RT_GROUP_ICON), nullptr);
    FreeLibrary(exe);

    StartProgram();
    const auto shot = Shot(MainWindow(), L"title");
    // The icon sits at the left of the title bar, above the client area.
    POINT client{0, 0};
    ClientToScreen(MainWindow(), &client);
    RECT window{};
    GetWindowRect(MainWindow(), &window);
    const RECT title{0, 0, 48, client.y - window.top};
    EXPECT_GT(CoverPixels(shot, title), 10) << "no icon in the title bar";
}

TEST_F(ProgramLifeTest, AltF4EndsTheProcess)
{
    StartProgram();
    ASSERT_TRUE(Bot().Activate(MainWindow()));
    Bot().PressShortcut({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitForExit(10000)) << "the program is still running after Alt+F4";
    EXPECT_EQ(ExitCode(), 0u);
}

// How the skin directory's skin of the stored skin's name fails to be read at start.
enum Unreadable { kHeldText, kFolderForText, kDamagedPackedFile };
constexpr const char* kUnreadableNames[] = {"HeldText", "FolderForText", "DamagedPackedFile"};

class UnreadableSkinStartTest : public ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
        testsupport::RemoveTree(skin_);
        DeleteFileW((skin_ + L".asz").c_str());
    }
    const std::wstring skin_ = std::wstring(kSkinDirectory) + L"\\Office2007 (internal)";
    const std::wstring text_ = skin_ + L"\\Options.dat";
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

TEST_P(UnreadableSkinStartTest, TheProgramStartsSkinnedAfterOneMessage)
{
    if (GetParam() == kDamagedPackedFile) {
        const std::string whole = testsupport::ReadFileBytes(std::wstring(kSkinDirectory) + L"\\Dusk.asz");
        testsupport::WriteFileBytes(skin_ + L".asz", whole.substr(0, whole.size() / 2));
    } else if (GetParam() == kFolderForText) {
        ASSERT_TRUE(CreateDirectoryW(skin_.c_str(), nullptr) && CreateDirectoryW(text_.c_str(), nullptr));
    } else {
        testsupport::WriteFileBytes(text_, "[FORM]\r\n");
        held_ = CreateFileW(text_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held_, INVALID_HANDLE_VALUE);
    }
    LaunchProgram();
    ASSERT_FALSE(HasFatalFailure());
    HWND box = WaitForTopWindow({ProcessId(), L"#32770", L"Велмора 1.11", true}, 30000);
    ASSERT_NE(box, nullptr) << "no message";
    bool named = false;
    for (HWND wnd : FindChildWindows(box, {}))
        named = named || WindowCaption(wnd).find(text_) != std::wstring::npos;
    EXPECT_TRUE(named || GetParam() == kDamagedPackedFile) << "the message names the skin text";
    Shot(box, L"message");
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(box));

    WaitForMainWindow();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(FindTopWindow({ProcessId(), L"#32770", {}, true}), nullptr) << "a second message";
    ASSERT_TRUE(Bot().Activate(MainWindow()));
    EXPECT_TRUE(AnswersSkinned(MainWindow()));
    Shot(MainWindow(), L"started");
}

INSTANTIATE_TEST_SUITE_P(Ways, UnreadableSkinStartTest, ::testing::Range(0, 3),
                         [](const ::testing::TestParamInfo<int>& info) { return kUnreadableNames[info.param]; });

} // namespace
