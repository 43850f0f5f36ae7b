// The recipe-list measurements: the main window's FillRecipeList and the store's listing of a generated
// category of 5,000 recipes, against a bare find-first/find-next scan of the same folder.
#include "tools/bench/bench.h"
#include "tools/bench/profiler.h"
#include "tools/bench/program_window.h"

#include "app/main.h"
#include "app/recipe_store.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRecipes = 5000;
constexpr int kRuns = 9;

// A category as the program meets it: recipes with Cyrillic names, every tenth with a photo beside it.
bool MakeCategory(const std::wstring& folder)
{
    if (!ForceDirectories(folder))
        return false;
    for (int i = 0; i < kRecipes; ++i) {
        const std::wstring name = folder + L"Рецепт номер " + IntToStr(i);
        for (const wchar_t* ext : {L".rcp", L".jpg"}) {
            if (ext[1] == L'j' && i % 10 != 0)
                continue;
            HANDLE file = CreateFileW((name + ext).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                return false;
            DWORD written = 0;
            WriteFile(file, "{\\rtf1 x}", 9, &written, nullptr);
            CloseHandle(file);
        }
    }
    return true;
}

size_t BareScan(const std::wstring& folder)
{
    size_t count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*.rcp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++count;
    while (FindNextFileW(find, &data));
    ::FindClose(find);
    return count;
}

void RemoveCategory(const std::wstring& folder)
{
    TSearchRec rec;
    if (FindFirst(folder + L"*.*", faAnyFile, rec) == 0) {
        do {
            if (rec.Name != L"." && rec.Name != L"..")
                DeleteFile(folder + rec.Name);
        } while (FindNext(rec) == 0);
        FindClose(rec);
    }
    RemoveDir(folder);
}

} // namespace

VELMORA_BENCH(recipe_list)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = IncludeTrailingPathDelimiter(temp) + L"velmora-bench-" + IntToStr(GetCurrentProcessId());
    const std::wstring folder = root + L"\\Bases\\Много\\";
    if (!MakeCategory(folder))
        throw std::runtime_error("cannot make the category");
    size_t listed = 0;
    size_t scanned = 0;
    bench::Result r;
    r.ours = "store listing of 5000 recipes";
    r.oursMs = bench::MedianMs(kRuns, [&] { listed = ListRecipeCaptions(folder).size(); });
    r.theirs = "bare FindFirst/FindNext";
    r.theirsMs = bench::MedianMs(kRuns, [&] { scanned = BareScan(folder); });
    RemoveCategory(folder);
    RemoveDir(root + L"\\Bases");
    RemoveDir(root);
    if (listed != scanned || listed != static_cast<size_t>(kRecipes))
        throw std::runtime_error("the listing and the scan disagree");
    return r;
}

// The main window's own refill, in the program's own setting (skinned, its list adapted): the scan,
// the list view's items and the count text.
VELMORA_BENCH(fill_recipe_list)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = IncludeTrailingPathDelimiter(temp) + L"velmora-bench-fill-" + IntToStr(GetCurrentProcessId());
    const std::wstring folder = root + L"\\Bases\\Много\\";
    if (!MakeCategory(folder))
        throw std::runtime_error("cannot make the category");
    size_t scanned = 0;
    int listed = 0;
    bench::Result r;
    {
        bench::ProgramWindow program(root);
        TMainForm* form = program.Main();
        r.ours = "FillRecipeList of 5000 recipes";
        {
            bench::Profile profile("fill recipe list");
            r.oursMs = bench::MedianMs(std::getenv("VELMORA_BENCH_PROFILE") ? 60 : kRuns, [&] {
                form->FillRecipeList(folder);
                bench::PumpMessages();
            });
        }
        r.theirs = "bare FindFirst/FindNext";
        r.theirsMs = bench::MedianMs(kRuns, [&] { scanned = BareScan(folder); });
        listed = form->RecipeCount();
    }
    RemoveCategory(folder);
    RemoveDir(root + L"\\Bases");
    RemoveDir(root);
    if (listed != kRecipes || scanned != static_cast<size_t>(kRecipes))
        throw std::runtime_error("the list and the scan disagree");
    return r;
}
