// A fixture that runs the real program on a throw-away copy of the sample base.
#include "tests/e2e/program_fixture.h"

#include <algorithm>

#ifndef VELMORA_SAMPLE_BASE_DIR
#error "VELMORA_SAMPLE_BASE_DIR must name the generated sample base"
#endif
#ifndef VELMORA_PROGRAM_EXE
#error "VELMORA_PROGRAM_EXE must name velmora.exe"
#endif
#ifndef VELMORA_SKIN_DIRECTORY_DIR
#error "VELMORA_SKIN_DIRECTORY_DIR must name the built skins of the skin directory"
#endif

namespace e2e {

namespace {

std::wstring WindowsPath(const char* utf8)
{
    std::wstring path = testsupport::Widen(utf8);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace

void ProgramTest::SetUp()
{
    TempFolderTest::SetUp();
    DeleteUserKey(kSettingsKey);
    base_ = PathOf(L"base");
    ASSERT_TRUE(FolderExists(WindowsPath(VELMORA_SAMPLE_BASE_DIR))) << "the sample base was not made";
    ASSERT_TRUE(CopyTree(WindowsPath(VELMORA_SAMPLE_BASE_DIR), base_)) << "cannot copy the sample base";
    // The program is set up as a user has it: the skins beside the stored one lie in its skin
    // directory, which the prefix's drive C holds.
    ASSERT_TRUE(CopyTree(WindowsPath(VELMORA_SKIN_DIRECTORY_DIR), kSkinDirectory)) << "cannot install the skins";
}

void ProgramTest::TearDown()
{
    StopProgram();
    DeleteUserKey(kSettingsKey);
    TempFolderTest::TearDown();
}

void ProgramTest::StartProgram()
{
    LaunchProgram();
    if (!HasFatalFailure())
        WaitForMainWindow();
}

void ProgramTest::LaunchProgram()
{
    ASSERT_FALSE(Running()) << "the program is already running";
    CloseHandles();
    std::wstring exe = WindowsPath(VELMORA_PROGRAM_EXE);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    // Wine now and then answers a process start with an internal error (seen on the first start in a
    // freshly copied prefix of a loaded machine); a second try a moment later starts the program.
    BOOL started = FALSE;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt)
            Sleep(1000);
        started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, base_.c_str(),
                                 &si, &pi);
        error = started ? 0 : GetLastError();
        if (!started && error != ERROR_INTERNAL_ERROR)
            break;
    }
    ASSERT_TRUE(started) << "cannot start " << testsupport::Narrow(exe) << " (error " << error << ")";
    process_ = pi.hProcess;
    thread_ = pi.hThread;
    processId_ = pi.dwProcessId;
    robot_ = std::make_unique<Robot>(process_);
}

void ProgramTest::WaitForMainWindow()
{
    WindowQuery main;
    main.processId = processId_;
    main.className = kMainFormClass;
    mainWindow_ = WaitForTopWindow(main, 30000);
    ASSERT_NE(mainWindow_, nullptr) << "the main window did not show";
    robot_->WaitIdle(mainWindow_);
}

bool ProgramTest::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ProgramTest::WaitForExit(DWORD timeoutMs)
{
    if (!process_)
        return true;
    // The test thread's own queue stays served while it waits (the program may send to it).
    DWORD start = GetTickCount();
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &process_, FALSE, 50, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (GetTickCount() - start >= timeoutMs)
            return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    }
}

DWORD ProgramTest::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

void ProgramTest::StopProgram()
{
    if (Running()) {
        // A modal dialog left open by a failed step is closed first, so the main window can close.
        for (HWND wnd : FindTopWindows({processId_, {}, {}, true}))
            if (wnd != mainWindow_)
                PostMessageW(wnd, WM_CLOSE, 0, 0);
        if (IsWindow(mainWindow_))
            PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
        if (!WaitForExit(10000)) {
            ADD_FAILURE() << "the program did not end when its window was closed";
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
    }
    CloseHandles();
}

void ProgramTest::CloseHandles()
{
    if (thread_)
        CloseHandle(thread_);
    if (process_)
        CloseHandle(process_);
    thread_ = process_ = nullptr;
    mainWindow_ = nullptr;
}

HWND ProgramTest::WaitForProgramWindow(const std::wstring& className, const std::wstring& caption, DWORD timeoutMs)
{
    WindowQuery query{processId_, className, caption, true};
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND wnd : FindTopWindows(query))
                if (wnd != mainWindow_) {
                    found = wnd;
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (found)
        robot_->WaitIdle(found);
    return found;
}

testsupport::Pixels24 ProgramTest::Shot(HWND wnd, const std::wstring& state)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::wstring name = testsupport::Widen(std::string(info->test_suite_name()) + "-" + info->name()) + L"-" + state;
    // Parameterised tests are named "Instance/Suite.Case/Param": a shot is one file, not a folder.
    std::replace(name.begin(), name.end(), L'/', L'-');
    WaitPainted(*robot_, wnd);
    return Screenshot(wnd, name);
}

bool AnswersSkinned(HWND wnd)
{
    constexpr UINT kSkinCommand = 0xA100;
    constexpr WORD kIsSkinned = 7;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(wnd, kSkinCommand, MAKEWPARAM(0, kIsSkinned), 0, SMTO_ABORTIFHUNG, 5000, &answer) &&
           answer == 1;
}

} // namespace e2e
