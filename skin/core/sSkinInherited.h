// Reading a skin's INI text through the PARENTCLASS chain of its sections; needs no window.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TMemIniFile;

// Section followed by its PARENTCLASS ancestors. The chain ends at an empty or "?" parent, at a section
// naming itself, and at a section already in the chain (a loop), so every walk along it ends.
std::vector<std::wstring> ParentChain(TMemIniFile* ini, const std::wstring& section);

// A key as the INI compares it (lower case), made once for the many sections it is read from.
struct TSkinKey {
    explicit TSkinKey(const std::wstring& key);
    std::wstring lower;
};

// The skin text indexed once for a whole load: a skin has hundreds of sections whose keys are read
// through their parents' again and again, and every image value is visited twice. Names and keys
// compare as the INI compares them; of equal keys the first one counts, as the INI reads it.
class TSkinTextIndex {
public:
    struct Line {
        std::wstring key;                     // the key as written, or the whole line when it has no "="
        const std::wstring* value = nullptr;  // what the INI reads for that key, or null
    };
    struct Section {
        std::wstring name;
        std::wstring upperName; // UpperCase(name): what a loop of parents is told by
        std::vector<Line> lines;
        // The line of the key and its value, in the text's order, one for each key: a section has a
        // handful of keys, scanned faster than hashed.
        std::vector<std::pair<size_t, std::wstring>> values;
        // PARENTCLASS as read (null when absent), upper-cased, and the section it names (null: none).
        const std::wstring* parent = nullptr;
        std::wstring upperParent;
        const Section* parentSection = nullptr;
    };

    explicit TSkinTextIndex(const TMemIniFile& ini);
    // Straight from a skin text, split into lines as TStrings splits it and read as TMemIniFile reads
    // them (trimmed, comments and empty lines aside, sections of the same name merged), without making
    // the INI first.
    explicit TSkinTextIndex(const std::wstring& text);
    TSkinTextIndex(const TSkinTextIndex&) = delete;
    TSkinTextIndex& operator=(const TSkinTextIndex&) = delete;

    const std::vector<Section>& Sections() const { return sections_; }
    // The section of that name, or null.
    const Section* Find(const std::wstring& name) const;
    static const std::wstring* Value(const Section* section, const TSkinKey& key);

private:
    struct RawLine {
        std::wstring key;
        std::wstring value;
        bool hasValue = false;
    };
    static const std::wstring* Find(const Section& section, const std::wstring& lowerKey);
    size_t AddSection(const std::wstring& name);
    // Reading lines one by one into raw: the section being filled, by index (the list grows).
    struct Reading {
        std::vector<std::vector<RawLine>> raw;
        size_t current = 0;
        bool inSection = false;
    };
    void AddLine(Reading& reading, const std::wstring& text, size_t first, size_t end);
    void Finish(std::vector<std::vector<RawLine>>& raw);

    std::vector<Section> sections_;
    std::unordered_map<std::wstring, size_t> byName_; // lower-case name -> index
};

// Reads keys of one section through its PARENTCLASS chain. The chain and the values of its sections are
// taken from the INI once for all the keys of the section; keys compare as the INI compares them.
class TInheritedReader {
public:
    TInheritedReader(TMemIniFile* ini, const std::wstring& section);
    // Over an index made once for all the sections of a skin.
    TInheritedReader(const TSkinTextIndex& text, const std::wstring& section);

    // A value that is not a number, and -1, count as absent.
    int Integer(const std::wstring& key, int defaultValue) const { return Integer(TSkinKey(key), defaultValue); }
    int Integer(const TSkinKey& key, int defaultValue) const;
    // "?" counts as absent.
    std::wstring String(const std::wstring& key, const std::wstring& defaultValue) const
    {
        return String(TSkinKey(key), defaultValue);
    }
    std::wstring String(const TSkinKey& key, const std::wstring& defaultValue) const;

private:
    void Follow(const TSkinTextIndex& text, const std::wstring& section);

    std::unique_ptr<TSkinTextIndex> own_; // when made over an INI of its own
    std::vector<const TSkinTextIndex::Section*> chain_; // null for a parent that names no section
};

// Integer keys that fall back through PARENTCLASS; -1 counts as absent. A loop in the chain ends it.
int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue);
std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue);
