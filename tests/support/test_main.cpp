// The entry point of every test executable: the process state a GUI program has, then GoogleTest.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A test program that dies of an exception says so, and where, before it goes: its output goes to a
// pipe, and what it had printed would otherwise be all that is left of it (or nothing).
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    HMODULE module = nullptr;
    wchar_t name[MAX_PATH] = L"?";
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(record->ExceptionAddress), &module))
        GetModuleFileNameW(module, name, MAX_PATH);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\ncrash: exception 0x%08lX at %p (%ls + 0x%llX) in %s.%s\n",
                 static_cast<unsigned long>(record->ExceptionCode), record->ExceptionAddress, name,
                 static_cast<unsigned long long>(static_cast<const char*>(record->ExceptionAddress) -
                                                 reinterpret_cast<const char*>(module)),
                 test ? test->test_suite_name() : "(no test)", test ? test->name() : "");
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv)
{
    // A failing test must report, not wait for someone to close a system error box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    // Every line reaches the pipe as it is written, so a program that dies shows how far it got.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
