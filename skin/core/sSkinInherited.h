// Reading a skin's INI text through the PARENTCLASS chain of its sections; needs no window.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
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
    // Keys and values are views of the text the index keeps.
    struct Line {
        std::wstring_view key;                    // the key as written, or the whole line when it has no "="
        const std::wstring_view* value = nullptr; // what the INI reads for that key, or null
    };
    struct Section {
        std::wstring name;
        std::vector<Line> lines;
        // The line of the key and its value, in the text's order, one for each key: a section has a
        // handful of keys, scanned faster than hashed.
        std::vector<std::pair<size_t, std::wstring_view>> values;
        // PARENTCLASS as read (null when absent), and the section it names (null: none).
        const std::wstring_view* parent = nullptr;
        const Section* parentSection = nullptr;
    };

    explicit TSkinTextIndex(const TMemIniFile& ini);
    // Straight from a skin text, split into lines as TStrings splits it and read as TMemIniFile reads
    // them (trimmed, comments and empty lines aside, sections of the same name merged), without making
    // the INI first. The index keeps the text.
    explicit TSkinTextIndex(std::wstring text);
    TSkinTextIndex(const TSkinTextIndex&) = delete;
    TSkinTextIndex& operator=(const TSkinTextIndex&) = delete;

    const std::vector<Section>& Sections() const { return sections_; }
    // The section of that name, or null.
    const Section* Find(const std::wstring& name) const;
    static const std::wstring_view* Value(const Section* section, const TSkinKey& key);

private:
    // A line read, for the section of that index.
    struct RawLine {
        size_t section = 0;
        std::wstring_view key;
        std::wstring_view value;
        bool hasValue = false;
    };
    static const std::wstring_view* Find(const Section& section, const std::wstring& lowerKey);
    size_t AddSection(const std::wstring& name, std::wstring lowerName);
    // Reading lines one by one into raw: the section being filled, by index (the list grows).
    struct Reading {
        std::vector<RawLine> raw;
        size_t current = 0;
        bool inSection = false;
    };
    void AddLine(Reading& reading, size_t first, size_t end);
    void Finish(const std::vector<RawLine>& raw);

    std::wstring text_;              // the text read, which keys and values view
    std::deque<std::wstring> lines_; // the lines of an INI the index was made over
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
    // For a section of the index, as found there.
    explicit TInheritedReader(const TSkinTextIndex::Section& section);

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
    void Follow(const TSkinTextIndex::Section* current, std::wstring_view asked);

    std::unique_ptr<TSkinTextIndex> own_; // when made over an INI of its own
    std::vector<const TSkinTextIndex::Section*> chain_; // null for a parent that names no section
};

// Integer keys that fall back through PARENTCLASS; -1 counts as absent. A loop in the chain ends it.
int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue);
std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue);
