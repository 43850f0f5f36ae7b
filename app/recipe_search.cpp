#include "app/recipe_search.h"

#include "app/recipe_store.h"
#include "app/rtf_prefix_text.h"
#include "framework/SysUtils.h"

#include <richedit.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

// The control's text beyond the searched range that a prefix must reach: the character after the range
// decides whole words, and the last few characters of a cut stream may be a cut escape.
constexpr int kPrefixMargin = 32;
constexpr std::int32_t kFirstPrefix = 1536;

bool IsRtf(const std::string& bytes)
{
    return bytes.compare(0, 5, "{\\rtf") == 0;
}

// The RTF groups open at the end of text: braces counted, escaped ones ("\{", "\}") left out.
int OpenGroups(std::string_view text)
{
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '{')
            ++depth;
        else if (text[i] == '}' && depth > 0)
            --depth;
    }
    return depth;
}

} // namespace

bool TRecipeSearch::ShowsRtfSource()
{
    wchar_t text[8] = {};
    TEXTRANGEW range{{0, 5}, text};
    SendMessageW(richFind_.Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return std::wstring_view(text) == L"{\\rtf";
}

void TRecipeSearch::LoadBeginning(const std::wstring& path)
{
    TMemoryStream file;
    file.LoadFromFile(path);
    LoadBeginning(file);
}

void TRecipeSearch::LoadBeginning(TMemoryStream& file)
{
    const std::int32_t size = static_cast<std::int32_t>(file.Size());
    const std::string head(static_cast<const char*>(file.Memory()), static_cast<size_t>(std::min<std::int32_t>(size, 5)));
    if (!IsRtf(head)) {
        richFind_.LoadFromStream(&file);
        return;
    }
    // Streaming a whole recipe makes the control lay out text the search never reads. RTF is read
    // front to back, so the characters of a prefix are those of the whole document.
    const char* bytes = static_cast<const char*>(file.Memory());
    for (std::int32_t prefix = kFirstPrefix;; prefix *= 4) {
        std::int32_t take = std::min(prefix, size);
        // A prefix ends before a control word, never inside one ("\u10" of "\u1097").
        if (take < size) {
            const std::string_view part(bytes, static_cast<size_t>(take));
            const size_t slash = part.rfind('\\');
            if (slash != std::string_view::npos && slash > 0)
                take = static_cast<std::int32_t>(slash);
        }
        TMemoryStream part;
        part.WriteBuffer(bytes, take);
        // The control reads only complete documents: the groups still open at the cut are closed.
        const std::string closing(static_cast<size_t>(OpenGroups(std::string_view(bytes, static_cast<size_t>(take)))), '}');
        if (!closing.empty())
            part.WriteBuffer(closing.data(), static_cast<std::int32_t>(closing.size()));
        part.SetPosition(0);
        richFind_.LoadFromStream(&part);
        if (take == size)
            return;
        if (ShowsRtfSource()) {
            // The control would not read the prefix as RTF: the whole file decides, as it always did.
            file.SetPosition(0);
            richFind_.LoadFromStream(&file);
            return;
        }
        if (richFind_.GetTextLen() > kSearchedCharacters + kPrefixMargin)
            return;
    }
}

bool TRecipeSearch::Matches(const std::wstring& word)
{
    return richFind_.FindText(word, 0, kSearchedCharacters, TSearchTypes{stWholeWord}) != -1;
}

bool TRecipeSearch::RecipeMatches(const std::wstring& path)
{
    TMemoryStream file;
    file.LoadFromFile(path);
    const std::string_view bytes(static_cast<const char*>(file.Memory()), static_cast<size_t>(file.Size()));
    // Most recipes are RTF this program wrote: their beginning is read here, without the control,
    // and searched exactly as the control's text would be. The rest goes through the control.
    if (IsRtf(std::string(bytes.substr(0, 5)))) {
        if (const auto text = RtfPrefixText(bytes, kSearchedCharacters + kPrefixMargin)) {
            const std::wstring word = SearchText ? SearchText() : std::wstring();
            return FindTextIn(*text, word, 0, kSearchedCharacters, TSearchTypes{stWholeWord}) != -1;
        }
    }
    LoadBeginning(file);
    return Matches(SearchText ? SearchText() : std::wstring());
}

void TRecipeSearch::SearchAll(const std::wstring& programDir)
{
    const std::wstring bases = programDir + L"\\Bases\\";
    for (const std::wstring& name : ListFolderEntries(bases))
        FillFindList(bases + name + L"\\", bases + name + L"\\*.rcp");
}

void TRecipeSearch::FillFindList(const std::wstring& folder, const std::wstring& mask)
{
    int counter = 0;
    TSearchRec rec;
    if (FindFirst(mask, faAnyFile, rec) == 0) {
        // The scan is closed however the loop is left: a failure the search does not pass over (no
        // memory for a recipe, a hit or a progress step the dialog cannot show) goes to the caller.
        const TScanGuard scan(rec);
        do {
            // Only what the recipe list would list is searched: a device or a name the system opens
            // as another file is no recipe.
            if (!IsRecipeFileName(rec.Name))
                continue;
            if (counter > 100)
                counter = 0;
            if (OnProgress)
                OnProgress(counter);
            ++counter;
            const std::wstring path = folder + rec.Name;
            bool hit = false;
            try {
                hit = RecipeMatches(path);
            } catch (const Exception&) {
                // A recipe that vanished or cannot be read is no hit; the search goes on.
                continue;
            }
            if (hit && OnHit)
                OnHit(TSearchHit{RecipeCaption(rec.Name), path});
        } while (FindNext(rec) == 0);
    }
    if (OnProgress)
        OnProgress(0);
}
