#include "tools/bench/recipe_list_bench.h"

#include "app/recipe_store.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRecipes = 5000;
constexpr int kRuns = 9;

template <class F>
double MedianMs(F f)
{
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        f();
        QueryPerformanceCounter(&b);
        times.push_back(double(b.QuadPart - a.QuadPart) * 1000.0 / double(freq.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

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

int RunRecipeListBench()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = IncludeTrailingPathDelimiter(temp) + L"velmora-bench-" + IntToStr(GetCurrentProcessId());
    const std::wstring folder = root + L"\\Bases\\Много\\";
    if (!MakeCategory(folder)) {
        std::printf("recipe list: cannot make the category\n");
        return 1;
    }
    size_t listed = 0;
    size_t scanned = 0;
    const double ours = MedianMs([&] { listed = ListRecipeCaptions(folder).size(); });
    const double bare = MedianMs([&] { scanned = BareScan(folder); });
    RemoveCategory(folder);
    RemoveDir(root + L"\\Bases");
    RemoveDir(root);
    std::printf("recipe list (%d recipes, %zu listed, %zu scanned): FillRecipeList scan %.2f ms, bare FindFirst/FindNext "
                "%.2f ms, ratio %.2f\n",
                kRecipes, listed, scanned, ours, bare, bare > 0 ? ours / bare : 0.0);
    return listed == scanned && listed == static_cast<size_t>(kRecipes) ? 0 : 1;
}
