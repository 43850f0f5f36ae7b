// The search over all recipes: the beginning of each recipe's text is searched for a whole word, case
// ignored, as the rich-edit control's text search finds it. RTF recipes are read without the control
// where their text can be read exactly; every other recipe is loaded into the hidden control.
#pragma once

#include "framework/RichEdit.h"

#include <functional>
#include <string>

// The part of a recipe that is searched: its first 255 characters (the name and the first lines).
constexpr int kSearchedCharacters = 255;

// One found recipe: the caption it is listed with and its file.
struct TSearchHit {
    std::wstring Caption;
    std::wstring Path;
};

class TRecipeSearch {
public:
    // richFind: the hidden control each recipe is loaded into.
    explicit TRecipeSearch(TCustomRichEdit& richFind) : richFind_(richFind) {}

    // The text to search for, asked afresh for every file.
    std::function<std::wstring()> SearchText;
    // The progress bar's position within the current category.
    std::function<void(int)> OnProgress;
    std::function<void(const TSearchHit&)> OnHit;

    // Searches every category of programDir + "\Bases\", in listing order; nothing without Bases.
    void SearchAll(const std::wstring& programDir);
    // Searches the files of mask (folder + "*.rcp") of one category folder (ending with "\"); the
    // progress runs 0..100 and starts again from 0. A file that cannot be read is passed over.
    void FillFindList(const std::wstring& folder, const std::wstring& mask);
    // Whether the recipe at path holds the search text in its searched beginning. Raises the file
    // errors of reading it.
    bool RecipeMatches(const std::wstring& path);
    // Whether the loaded document holds word, whole and case ignored, in its searched beginning.
    bool Matches(const std::wstring& word);
    // Loads as much of a recipe file as the search needs: an RTF recipe is streamed in by growing
    // prefixes until the control holds more than the searched characters; anything else is loaded
    // whole. Raises the file errors of the control's own loading.
    void LoadBeginning(const std::wstring& path);

private:
    void LoadBeginning(TMemoryStream& file);
    // True when the control fell back to showing RTF as plain text.
    bool ShowsRtfSource();

    TCustomRichEdit& richFind_;
};
