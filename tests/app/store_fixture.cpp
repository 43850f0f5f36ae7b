#include "tests/app/store_fixture.h"

#include "framework/SysUtils.h"

namespace apptest {

void StoreTest::SetUp()
{
    TempFolderTest::SetUp();
    savedDir_ = GetCurrentDir();
    ASSERT_TRUE(CreateDir(Bases()));
    store = std::make_unique<TRecipeStore>(Folder(), dialogs);
}

void StoreTest::TearDown()
{
    SetCurrentDir(savedDir_);
    TempFolderTest::TearDown();
}

std::wstring StoreTest::InCategory(const std::wstring& category, const std::wstring& file) const
{
    return Bases() + L"\\" + category + L"\\" + file;
}

void StoreTest::MakeCategory(const std::wstring& category) const
{
    ASSERT_TRUE(CreateDir(Bases() + L"\\" + category));
}

void StoreTest::WriteText(const std::wstring& path, const std::string& text) const
{
    testsupport::WriteFileBytes(path, text);
}

HeldFile HoldFile(const std::wstring& path)
{
    return HeldFile(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), &CloseHandle);
}

std::string NestedRtf(int depth, bool closed)
{
    return "{\\rtf1 " + std::string(static_cast<size_t>(depth - 1), '{') + "x" +
           std::string(closed ? static_cast<size_t>(depth) : 0u, '}');
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Utf8(const std::wstring& text)
{
    return testsupport::Narrow(text);
}

} // namespace apptest
