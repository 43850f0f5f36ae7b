// The search measurement: one word searched over a generated base of 10,000 recipes in 20 categories,
// against reading every one of those files once (the I/O floor).
#include "tools/bench/bench.h"

#include "app/recipe_document.h"
#include "app/recipe_search.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kCategories = 20;
constexpr int kPerCategory = 500;

std::string FileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read a generated recipe");
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write a generated recipe");
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Each category gets recipes of its own composed text (about 1,700 characters); every seventh recipe
// mentions the word among its products.
std::vector<std::wstring> MakeBase(const std::wstring& bases)
{
    std::vector<std::wstring> files;
    recipes::HiddenRichEdit edit;
    for (int c = 0; c < kCategories; ++c) {
        const std::wstring folder = bases + L"Категория " + IntToStr(c) + L"\\";
        if (!ForceDirectories(folder))
            throw std::runtime_error("cannot make a category");
        std::string plain, marked;
        for (int variant = 0; variant < 2; ++variant) {
            const std::wstring products = variant ? L"Мука, масло, кардамон, соль" : L"Мука, масло, корица, соль";
            // A method of about 1,500 characters, as a real recipe has.
            std::wstring method;
            for (int step = 1; step <= 20; ++step)
                method += IntToStr(step) + L". Замесить тесто, раскатать пласт и печь сорок минут в духовке.\r";
            recipes::ComposeRecipe(edit.Handle(), {L"Пирог номер " + IntToStr(c), L"6", L"4", products, method,
                                                   L"Бабушка"});
            std::wstring error;
            const std::wstring temp = folder + L"template.tmp";
            if (!recipes::SaveRichEditRtf(edit.Handle(), temp, error))
                throw std::runtime_error("cannot compose a recipe");
            (variant ? marked : plain) = FileBytes(temp);
            DeleteFile(temp);
        }
        for (int i = 0; i < kPerCategory; ++i) {
            const std::wstring file = folder + L"Пирог " + IntToStr(i) + L".rcp";
            WriteBytes(file, i % 7 == 0 ? marked : plain);
            files.push_back(file);
        }
    }
    return files;
}

void RemoveBase(const std::wstring& bases)
{
    for (int c = 0; c < kCategories; ++c) {
        const std::wstring folder = bases + L"Категория " + IntToStr(c) + L"\\";
        for (int i = 0; i < kPerCategory; ++i)
            DeleteFile(folder + L"Пирог " + IntToStr(i) + L".rcp");
        RemoveDir(folder);
    }
    RemoveDir(bases);
}

} // namespace

VELMORA_BENCH(recipe_search)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = IncludeTrailingPathDelimiter(temp) + L"velmora-search-" + IntToStr(GetCurrentProcessId());
    const std::wstring bases = root + L"\\Bases\\";
    const std::vector<std::wstring> files = MakeBase(bases);

    // The search loads each recipe into a hidden rich-edit control of a form, as the dialog does.
    const bool ownApplication = Application == nullptr;
    if (ownApplication)
        InitApplication();
    auto* host = Create<TForm>(Application);
    auto* richFind = Create<TRichEdit>(host);
    richFind->SetVisible(false);
    richFind->SetParent(host);
    size_t hits = 0;
    bench::Result r;
    r.ours = "search of 10000 recipes";
    r.oursMs = bench::MedianMs(3, [&] {
        hits = 0;
        TRecipeSearch search(*richFind);
        search.SearchText = [] { return std::wstring(L"кардамон"); };
        search.OnHit = [&](const TSearchHit&) { ++hits; };
        search.SearchAll(root);
    });
    size_t bytes = 0;
    r.theirs = "reading each file once";
    r.theirsMs = bench::MedianMs(3, [&] {
        bytes = 0;
        for (const std::wstring& file : files)
            bytes += FileBytes(file).size();
    });
    Free(host);
    if (ownApplication)
        DoneApplication();
    RemoveBase(bases);
    RemoveDir(root);
    const size_t expected = static_cast<size_t>(kCategories) * ((kPerCategory + 6) / 7);
    if (hits != expected || bytes == 0)
        throw std::runtime_error("the search found " + std::to_string(hits) + " recipes, not " + std::to_string(expected));
    return r;
}
