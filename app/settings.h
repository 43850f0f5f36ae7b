// The view settings and usage counters kept in the current user's registry, read and written like an
// INI file with sections (one subkey per section, every value a string).
#pragma once

#include <string>

// Where the settings live: one section-and-value store. The registry is the program's; tests may use
// any other key.
class TSettingsStorage {
public:
    virtual ~TSettingsStorage() = default;
    virtual std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                                    const std::wstring& defaultValue) = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) = 0;
};

// A key under HKEY_CURRENT_USER, opened (and created when missing) for each operation and closed right
// after. Failures raise ERegistryException.
class TRegistrySettings : public TSettingsStorage {
public:
    explicit TRegistrySettings(std::wstring keyPath = L"Software\\Korvadin") : keyPath_(std::move(keyPath)) {}

    std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                            const std::wstring& defaultValue) override;
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;

    const std::wstring& KeyPath() const { return keyPath_; }

private:
    std::wstring keyPath_;
};

extern const wchar_t kDefaultThemeName[]; // "Стандарт"

// The four view settings as last read; the flags say how each one is applied.
struct TViewSettings {
    std::wstring ThemeName;
    std::wstring Bar;
    std::wstring Icons;
    std::wstring List;

    bool TabsAtBottom() const { return Bar == L"Bottom"; }
    bool IconsFromFolder() const { return Icons == L"Folder"; }
    bool BigIcons() const { return List == L"Big"; }
};

// Reads Name, Bar, Icons and List of the Theme section, in this order, with their defaults.
TViewSettings ReadSettings(TSettingsStorage& storage);
// Writes one value of the Theme section.
void WriteThemeSetting(TSettingsStorage& storage, const std::wstring& name, const std::wstring& text);

// What the menu items write.
std::wstring BarSettingText(bool atBottom);
std::wstring IconsSettingText(bool fromFolder);
std::wstring ListSettingText(bool bigIcons);

// The usage counters as the about dialog shows them.
struct TCounters {
    int StartCount = 0;
    int ViewCount = 0;
};

// A stored counter; a value that is not a number counts as 0.
int ReadCounter(TSettingsStorage& storage, const std::wstring& name);
// Once per run, after the first show: one more start; the view counter is read as stored.
void CountStart(TSettingsStorage& storage, TCounters& counters);
// Each time a recipe file is opened from the list: one more view.
void CountView(TSettingsStorage& storage, TCounters& counters);
