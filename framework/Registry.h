// INI-style access to the registry: sections are subkeys of one key under HKEY_CURRENT_USER and values
// are strings.
#pragma once

#include "framework/IniFiles.h"

class TRegIniFile : public TCustomIniFile {
    DECLARE_CLASS_NAME(TRegIniFile)
public:
    // FileName is the key's path under HKEY_CURRENT_USER ("Software\Korvadin"); it is created when
    // missing. Raises ERegistryException when it cannot be opened or created.
    explicit TRegIniFile(const std::wstring& fileName);
    ~TRegIniFile() override;
    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;

    std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                            const std::wstring& defaultValue) override;
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;
    void ReadSection(const std::wstring& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::wstring& section, TStrings* strings) override;
    void EraseSection(const std::wstring& section) override;
    void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
    void UpdateFile() override {}
    bool ValueExists(const std::wstring& section, const std::wstring& ident) override;

private:
    HKEY OpenSection(const std::wstring& section, bool create, REGSAM access);

    HKEY root_ = nullptr; // owned
};
