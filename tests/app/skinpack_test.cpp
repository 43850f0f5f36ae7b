// The shipped skin through skinpack's checks: the drawn folder and the packed file the program carries
// both load through the real reader without a problem, and unpacking gives the folder's text back.
#include "tests/support/test_support.h"

#include <windows.h>

#include <string>

namespace {

struct ProgramRun {
    DWORD exitCode = 1;
    std::string output;
};

// Runs a console program and collects what it prints.
ProgramRun RunProgram(const std::wstring& commandLine)
{
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            run.output.append(buffer, got);
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    return run;
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

const std::wstring kSkinpack = testsupport::Widen(VELMORA_SKINPACK_EXE);
const std::wstring kFolder = testsupport::Widen(VELMORA_SKIN_FOLDER);
const std::wstring kShipped = testsupport::Widen(VELMORA_SHIPPED_SKIN_FILE);

class ShippedSkinLint : public testsupport::TempFolderTest {};

// skinpack finds no problem in the drawn folder nor in the packed file the program carries.
class SkinpackLint : public ::testing::TestWithParam<const std::wstring*> {};

TEST_P(SkinpackLint, PassesLint)
{
    const ProgramRun run = RunProgram(Quoted(kSkinpack) + L" lint " + Quoted(*GetParam()));
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find(" 0 problems"), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Shipped, SkinpackLint, ::testing::Values(&kFolder, &kShipped),
                         [](const ::testing::TestParamInfo<const std::wstring*>& info) {
                             return info.param == &kFolder ? "DrawnFolder" : "PackedFileTheProgramCarries";
                         });

TEST_F(ShippedSkinLint, UnpackedFileHoldsTheFolderText)
{
    const std::wstring out = Folder() + L"\\unpacked";
    const ProgramRun run = RunProgram(Quoted(kSkinpack) + L" unpack " + Quoted(kShipped) + L" " + Quoted(out));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(testsupport::ReadFileBytes(out + L"\\Options.dat"),
              testsupport::ReadFileBytes(kFolder + L"\\Options.dat"));
    EXPECT_EQ(testsupport::ReadFileBytes(out + L"\\MASTER.BMP"), testsupport::ReadFileBytes(kFolder + L"\\MASTER.BMP"));
}

TEST_F(ShippedSkinLint, ImageCountsNoFrameCanBeCutByAreReported)
{
    testsupport::WriteFileBytes(PathOf(L"Bad\\Options.dat"),
                                "[GLOBALINFO]\nVERSION=5\n[A]\nNONE=@0000@0000@0030@0012@0@0\n"
                                "ROWS=#x (0,0,30,12) (3,-1)\nOK=@0000@0000@0030@0012@3@0\nGONE=!GONE.BMP!x\n");
    const ProgramRun run = RunProgram(Quoted(kSkinpack) + L" lint " + Quoted(PathOf(L"Bad")));
    EXPECT_NE(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("[A] NONE="), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("[A] ROWS="), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("[A] OK="), std::string::npos) << run.output;
    // A picture that is not there is named, whatever its counts say.
    EXPECT_NE(run.output.find("[A] GONE=!GONE.BMP!x names no image"), std::string::npos) << run.output;
}

} // namespace
