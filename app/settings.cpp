#include "app/settings.h"

#include "framework/SysUtils.h"

#include <climits>
#include <vector>

const wchar_t kDefaultThemeName[] = L"Стандарт";

namespace {

constexpr wchar_t kThemeSection[] = L"Theme";
constexpr wchar_t kCountersSection[] = L"Counters";

// Owns an open registry key for one operation.
class RegKey {
public:
    RegKey(const std::wstring& path, REGSAM access)
    {
        const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               access, nullptr, &key_, nullptr);
        if (status != ERROR_SUCCESS)
            throw ERegistryException(L"Failed to get data for '" + path + L"': " +
                                     SysErrorMessage(static_cast<unsigned long>(status)));
    }
    ~RegKey() { RegCloseKey(key_); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

int CounterAfter(int stored)
{
    return stored == INT_MAX ? stored : stored + 1;
}

} // namespace

std::wstring TRegistrySettings::ReadString(const std::wstring& section, const std::wstring& ident,
                                           const std::wstring& defaultValue)
{
    RegKey key(keyPath_ + L"\\" + section, KEY_READ);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), ident.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
        return defaultValue;
    // The stored string may or may not carry its terminating zero.
    return std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
}

void TRegistrySettings::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value)
{
    RegKey key(keyPath_ + L"\\" + section, KEY_WRITE);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS status =
        RegSetValueExW(key.Get(), ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    if (status != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to set data for '" + ident + L"': " +
                                 SysErrorMessage(static_cast<unsigned long>(status)));
}

TViewSettings ReadSettings(TSettingsStorage& storage)
{
    TViewSettings settings;
    settings.ThemeName = storage.ReadString(kThemeSection, L"Name", kDefaultThemeName);
    settings.Bar = storage.ReadString(kThemeSection, L"Bar", L"Bottom");
    settings.Icons = storage.ReadString(kThemeSection, L"Icons", L"Themes");
    settings.List = storage.ReadString(kThemeSection, L"List", L"Small");
    return settings;
}

void WriteThemeSetting(TSettingsStorage& storage, const std::wstring& name, const std::wstring& text)
{
    storage.WriteString(kThemeSection, name, text);
}

std::wstring BarSettingText(bool atBottom)
{
    return atBottom ? L"Bottom" : L"Top";
}

std::wstring IconsSettingText(bool fromFolder)
{
    return fromFolder ? L"Folder" : L"Themes";
}

std::wstring ListSettingText(bool bigIcons)
{
    return bigIcons ? L"Big" : L"Small";
}

int ReadCounter(TSettingsStorage& storage, const std::wstring& name)
{
    // A damaged counter must not stop the program from starting: it starts again from 0.
    int value = 0;
    return TryStrToInt(storage.ReadString(kCountersSection, name, L"0"), value) ? value : 0;
}

void CountStart(TSettingsStorage& storage, TCounters& counters)
{
    counters.StartCount = CounterAfter(ReadCounter(storage, L"StartCount"));
    storage.WriteString(kCountersSection, L"StartCount", IntToStr(counters.StartCount));
    counters.ViewCount = ReadCounter(storage, L"ReceptCount");
}

void CountView(TSettingsStorage& storage, TCounters& counters)
{
    counters.ViewCount = CounterAfter(ReadCounter(storage, L"ReceptCount"));
    storage.WriteString(kCountersSection, L"ReceptCount", IntToStr(counters.ViewCount));
}
