// A fixture that runs the real program on a throw-away copy of the sample base with a fresh registry key,
// and a robot to drive it.
#pragma once

#include "tests/e2e/robot.h"
#include "tests/e2e/screenshot.h"
#include "tests/support/test_support.h"

#include <memory>
#include <string>

namespace e2e {

// Where the program keeps its settings and counters.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Korvadin";
inline constexpr wchar_t kMainFormClass[] = L"TMainForm";
// The main window's skin directory, as its form data names it.
inline constexpr wchar_t kSkinDirectory[] = L"c:\\Skins";

class ProgramTest : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts velmora.exe with the copy as its working folder and waits until its main window shows.
    // A second call after StopProgram starts it again on the same copy and registry.
    void StartProgram();
    // The two halves of StartProgram, for a start that shows something before the main window.
    void LaunchProgram();
    void WaitForMainWindow();
    // Closes the main window and waits for the process to end; ends it by force if it will not.
    void StopProgram();
    // Waits for the process to end by itself; true when it did.
    bool WaitForExit(DWORD timeoutMs = 10000);
    DWORD ExitCode() const;

    bool Running() const;
    HANDLE Process() const { return process_; }
    DWORD ProcessId() const { return processId_; }
    HWND MainWindow() const { return mainWindow_; }
    Robot& Bot() { return *robot_; }

    // The copy of the sample base: the program's working folder.
    const std::wstring& Base() const { return base_; }
    std::wstring BasePath(const std::wstring& relative) const { return base_ + L"\\" + relative; }
    std::wstring CategoryPath(const std::wstring& category) const { return base_ + L"\\Bases\\" + category; }
    std::wstring RecipePath(const std::wstring& category, const std::wstring& recipe) const
    {
        return CategoryPath(category) + L"\\" + recipe + L".rcp";
    }

    std::optional<std::wstring> Setting(const std::wstring& section, const std::wstring& value) const
    {
        return ReadUserString(std::wstring(kSettingsKey) + L"\\" + section, value);
    }

    // A window of the program other than the main window, by class and caption, once it shows.
    HWND WaitForProgramWindow(const std::wstring& className, const std::wstring& caption = {},
                              DWORD timeoutMs = 10000);

    // Screenshot of a window kept as <test name>-<state>.bmp.
    testsupport::Pixels24 Shot(HWND wnd, const std::wstring& state);

private:
    void CloseHandles();

    std::wstring base_;
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD processId_ = 0;
    HWND mainWindow_ = nullptr;
    std::unique_ptr<Robot> robot_;
};

// Whether a window of the program answers the skin's question "are you skinned" (skin command 7) with 1.
bool AnswersSkinned(HWND wnd);

} // namespace e2e
