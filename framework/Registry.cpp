// The registry as INI sections.
#include "framework/Registry.h"

#include "framework/SysUtils.h"

namespace {

// Closes a key opened here when the scope ends.
struct KeyHolder {
    HKEY key = nullptr;
    ~KeyHolder()
    {
        if (key)
            RegCloseKey(key);
    }
};

// A value as text: strings as they are, numbers in decimal.
bool ReadValueText(HKEY key, const std::wstring& name, std::wstring& text)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (type == REG_DWORD) {
        DWORD value = 0;
        size = sizeof(value);
        if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
            return false;
        text = IntToStr(static_cast<std::int32_t>(value));
        return true;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0')
        buffer.pop_back();
    text = buffer;
    return true;
}

} // namespace

TRegIniFile::TRegIniFile(const std::wstring& fileName) : TCustomIniFile(fileName)
{
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, fileName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr);
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to create key " + fileName + L": " + SysErrorMessage(static_cast<unsigned long>(rc)));
}

TRegIniFile::~TRegIniFile()
{
    if (root_)
        RegCloseKey(root_);
}

HKEY TRegIniFile::OpenSection(const std::wstring& section, bool create, REGSAM access)
{
    HKEY key = nullptr;
    LONG rc = create ? RegCreateKeyExW(root_, section.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr)
                     : RegOpenKeyExW(root_, section.c_str(), 0, access, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

std::wstring TRegIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                     const std::wstring& defaultValue)
{
    KeyHolder k{OpenSection(section, false, KEY_READ)};
    std::wstring text;
    if (!k.key || !ReadValueText(k.key, ident, text))
        return defaultValue;
    return text;
}

void TRegIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value)
{
    KeyHolder k{OpenSection(section, true, KEY_WRITE)};
    if (!k.key)
        throw ERegistryException(L"Failed to create key " + FileName() + L"\\" + section);
    LONG rc = RegSetValueExW(k.key, ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to set data for '" + ident + L"'");
}

void TRegIniFile::ReadSection(const std::wstring& section, TStrings* strings)
{
    strings->BeginUpdate();
    strings->Clear();
    KeyHolder k{OpenSection(section, false, KEY_READ)};
    if (k.key) {
        wchar_t name[16384];
        for (DWORD i = 0;; ++i) {
            DWORD length = 16384;
            if (RegEnumValueW(k.key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            strings->Add(std::wstring(name, length));
        }
    }
    strings->EndUpdate();
}

void TRegIniFile::ReadSections(TStrings* strings)
{
    strings->BeginUpdate();
    strings->Clear();
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(root_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strings->Add(std::wstring(name, length));
    }
    strings->EndUpdate();
}

void TRegIniFile::ReadSectionValues(const std::wstring& section, TStrings* strings)
{
    TStringList names;
    ReadSection(section, &names);
    strings->BeginUpdate();
    strings->Clear();
    for (int i = 0; i < names.Count(); ++i)
        strings->Add(names[i] + L"=" + ReadString(section, names[i], L""));
    strings->EndUpdate();
}

void TRegIniFile::EraseSection(const std::wstring& section)
{
    RegDeleteTreeW(root_, section.c_str());
    RegDeleteKeyW(root_, section.c_str());
}

void TRegIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident)
{
    KeyHolder k{OpenSection(section, false, KEY_WRITE)};
    if (k.key)
        RegDeleteValueW(k.key, ident.c_str());
}

bool TRegIniFile::ValueExists(const std::wstring& section, const std::wstring& ident)
{
    KeyHolder k{OpenSection(section, false, KEY_READ)};
    return k.key && RegQueryValueExW(k.key, ident.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
