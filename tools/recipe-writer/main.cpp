// recipe-writer JOBFILE: composes every recipe of the job list in a hidden rich-edit control and
// saves it as a ".rcp" file. Exit code 0 when every recipe was written, 1 otherwise.
#include "app/recipe_document.h"
#include "framework/System.h"
#include "framework/WinApi.h"
#include "tools/recipe-writer/RecipeJob.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Report(const std::wstring& text) {
    std::fputs((WideToUtf8(text) + "\n").c_str(), stderr);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr) != 0) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteOne(HWND edit, const recipes::RecipeJob& job) {
    if (!recipes::IsValidRecipeFileName(job.fields.name)) {
        Report(L"recipe-writer: a recipe name cannot be a file name: " + job.fields.name);
        return false;
    }
    recipes::ComposeRecipe(edit, job.fields);
    std::wstring error;
    if (!recipes::SaveRichEditRtf(edit, job.target, error)) {
        Report(L"recipe-writer: " + error);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        Report(L"usage: recipe-writer JOBFILE");
        return 2;
    }
    std::string bytes;
    if (!ReadWholeFile(argv[1], bytes)) {
        Report(L"recipe-writer: cannot read " + std::wstring(argv[1]));
        return 1;
    }
    std::vector<recipes::RecipeJob> jobs;
    std::wstring error;
    if (!recipes::ParseRecipeJobs(bytes, jobs, error)) {
        Report(L"recipe-writer: " + std::wstring(argv[1]) + L": " + error);
        return 1;
    }
    recipes::HiddenRichEdit edit;
    if (!edit.Valid()) {
        Report(L"recipe-writer: the rich-edit control cannot be created");
        return 1;
    }
    int failed = 0;
    for (const auto& job : jobs) {
        if (!WriteOne(edit.Handle(), job)) {
            ++failed;
        }
    }
    std::printf("recipe-writer: %d of %d recipes written\n", static_cast<int>(jobs.size()) - failed,
                static_cast<int>(jobs.size()));
    return failed == 0 ? 0 : 1;
}
