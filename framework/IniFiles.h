// INI-style settings: the abstract reader/writer and the in-memory INI file over a file or a string list.
// Window-free: it also builds with the host compiler.
#pragma once

#include "framework/Classes.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TCustomIniFile : public TObject {
    DECLARE_CLASS_NAME(TCustomIniFile)
public:
    explicit TCustomIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}

    const std::wstring& FileName() const { return fileName_; }

    virtual std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                                    const std::wstring& defaultValue) = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) = 0;
    // The names of a section's keys, in text order.
    virtual void ReadSection(const std::wstring& section, TStrings* strings) = 0;
    virtual void ReadSections(TStrings* strings) = 0;
    // The section's "key=value" lines, in text order.
    virtual void ReadSectionValues(const std::wstring& section, TStrings* strings) = 0;
    virtual void EraseSection(const std::wstring& section) = 0;
    virtual void DeleteKey(const std::wstring& section, const std::wstring& ident) = 0;
    virtual void UpdateFile() = 0;

    // Decimal or "0x"/"$" hexadecimal; anything else gives the default.
    int ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue);
    void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    // "0" is False, any other integer True; a non-number gives the default.
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue);
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);
    // "." separates decimals whatever the locale.
    double ReadFloat(const std::wstring& section, const std::wstring& ident, double defaultValue);
    void WriteFloat(const std::wstring& section, const std::wstring& ident, double value);
    bool SectionExists(const std::wstring& section);
    virtual bool ValueExists(const std::wstring& section, const std::wstring& ident);

private:
    std::wstring fileName_;
};

// The whole INI text in memory. Lines are trimmed, ";" starts a comment line, section and key names
// compare without case, and sections and keys keep their text order. Changes reach the file only
// through UpdateFile.
class TMemIniFile : public TCustomIniFile {
    DECLARE_CLASS_NAME(TMemIniFile)
public:
    // Reads the file when it exists; a missing file gives an empty INI.
    explicit TMemIniFile(const std::wstring& fileName);
    ~TMemIniFile() override;

    std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                            const std::wstring& defaultValue) override;
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;
    void ReadSection(const std::wstring& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::wstring& section, TStrings* strings) override;
    void EraseSection(const std::wstring& section) override;
    void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
    void UpdateFile() override;
    bool ValueExists(const std::wstring& section, const std::wstring& ident) override;

    // The INI as lines of text, and replacing it from lines.
    void GetStrings(TStrings* list) const;
    void SetStrings(const TStrings* list);
    void Clear();

    // The sections in the text's order and their "key=value" lines, for readers that index the whole
    // INI once instead of asking key by key.
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    const std::wstring& SectionName(int index) const { return sections_[static_cast<size_t>(index)]->name; }
    const TStringList& SectionLines(int index) const { return sections_[static_cast<size_t>(index)]->values; }

private:
    // Skins hold hundreds of sections read key by key through inheritance chains: sections and keys
    // are found through maps keyed by their lower-case names, not by scanning the text.
    struct Section {
        std::wstring name;
        TStringList values; // "key=value" lines
        std::unordered_map<std::wstring, int> keys; // lower-case key -> line in values; rebuilt when stale
        bool keysStale = true;
        int IndexOfKey(const std::wstring& ident);
    };
    Section* FindSection(const std::wstring& name) const;
    Section* AddSection(const std::wstring& name);

    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::wstring, Section*> byName_; // lower-case name -> section
};
