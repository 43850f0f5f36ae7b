#include "tests/app/sample_base.h"

#include "tests/support/test_support.h"

#ifndef VELMORA_SAMPLE_BASE_DIR
#error "VELMORA_SAMPLE_BASE_DIR must name the generated sample base"
#endif

namespace samplebase {

std::wstring BasePath() {
    std::wstring dir = testsupport::Widen(VELMORA_SAMPLE_BASE_DIR);
    for (auto& c : dir) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return dir;
}

std::wstring PathIn(const std::wstring& relative) {
    return BasePath() + L"\\" + relative;
}

std::vector<std::wstring> ListNames(const std::wstring& folder, const std::wstring& pattern, bool foldersOnly) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = data.cFileName;
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != L"." && name != L".." && (!foldersOnly || folder)) {
            names.push_back(name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::vector<std::wstring> Categories() {
    return ListNames(PathIn(L"Bases"), L"*.*", true);
}

const std::vector<std::wstring>& ThemeIconNames() {
    static const std::vector<std::wstring> names = {
        L"tb_exit", L"tb_prev", L"tb_next", L"tb_update", L"tb_print", L"tb_about", L"tb_new",
        L"tb_favor", L"tb_find", L"tb_pict", L"tb_group", L"tb_save",
        L"mn_new", L"mn_favor", L"mn_info", L"mn_print", L"mn_exit", L"mn_copy", L"mn_delete",
        L"mn_icon", L"mn_list", L"mn_about", L"mn_rating", L"mn_move", L"mn_skin", L"mn_base",
        L"ls_doc"};
    return names;
}

const std::vector<std::wstring>& ThemeNames() {
    static const std::vector<std::wstring> names = {L"Стандарт", L"Глянец"};
    return names;
}

std::string ReadBytes(const std::wstring& path) {
    return testsupport::ReadFileBytes(path);
}

} // namespace samplebase
