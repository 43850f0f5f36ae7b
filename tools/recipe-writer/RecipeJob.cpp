#include "tools/recipe-writer/RecipeJob.h"

#include "framework/System.h"

#include <sstream>

namespace recipes {
namespace {

bool Unescape(const std::wstring& raw, std::wstring& value) {
    value.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != L'\\') {
            value += raw[i];
            continue;
        }
        if (i + 1 >= raw.size()) {
            return false;
        }
        const wchar_t next = raw[++i];
        if (next == L'n') {
            value += L"\r\n";
        } else if (next == L'\\') {
            value += L'\\';
        } else {
            return false;
        }
    }
    return true;
}

std::wstring* FieldOf(RecipeJob& job, const std::wstring& key) {
    if (key == L"name") return &job.fields.name;
    if (key == L"portions") return &job.fields.portions;
    if (key == L"rating") return &job.fields.rating;
    if (key == L"products") return &job.fields.products;
    if (key == L"method") return &job.fields.method;
    if (key == L"author") return &job.fields.author;
    if (key == L"target") return &job.target;
    return nullptr;
}

bool FinishRecord(RecipeJob& job, bool& open, int line, std::vector<RecipeJob>& jobs, std::wstring& error) {
    if (!open) {
        return true;
    }
    if (job.fields.name.empty() || job.target.empty()) {
        error = L"line " + std::to_wstring(line) + L": a recipe needs a name and a target";
        return false;
    }
    jobs.push_back(job);
    job = RecipeJob{};
    open = false;
    return true;
}

} // namespace

bool ParseRecipeJobs(const std::string& utf8, std::vector<RecipeJob>& jobs, std::wstring& error) {
    std::wstring text;
    try {
        text = Utf8ToWide(utf8);
    } catch (const std::exception&) {
        error = L"the job list is not UTF-8 text";
        return false;
    }
    std::wistringstream in(text);
    std::wstring line;
    RecipeJob job;
    bool open = false;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (line == L"%%") {
            if (!FinishRecord(job, open, number, jobs, error)) {
                return false;
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        const auto eq = line.find(L'=');
        std::wstring* field = eq == std::wstring::npos ? nullptr : FieldOf(job, line.substr(0, eq));
        if (field == nullptr || !Unescape(line.substr(eq + 1), *field)) {
            error = L"line " + std::to_wstring(number) + L": not a recipe field: " + line;
            return false;
        }
        open = true;
    }
    return FinishRecord(job, open, number, jobs, error);
}

bool IsValidRecipeFileName(const std::wstring& name) {
    if (name.empty() || name.back() == L'.' || name.back() == L' ') {
        return false;
    }
    for (wchar_t c : name) {
        if (c < 32 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) {
            return false;
        }
    }
    return true;
}

} // namespace recipes
