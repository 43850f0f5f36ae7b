#include "app/recipe_search.h"

#include "app/recipe_store.h"
#include "framework/SysUtils.h"

bool TRecipeSearch::Matches(const std::wstring& word)
{
    return richFind_.FindText(word, 0, kSearchedCharacters, TSearchTypes{stWholeWord}) != -1;
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
        do {
            if (counter > 100)
                counter = 0;
            if (OnProgress)
                OnProgress(counter);
            ++counter;
            const std::wstring path = folder + rec.Name;
            try {
                richFind_.LoadFromFile(path);
            } catch (const Exception&) {
                // A recipe that vanished or cannot be read is no hit; the search goes on.
                continue;
            }
            const std::wstring word = SearchText ? SearchText() : std::wstring();
            if (Matches(word) && OnHit)
                OnHit(TSearchHit{RecipeCaption(rec.Name), path});
        } while (FindNext(rec) == 0);
        FindClose(rec);
    }
    if (OnProgress)
        OnProgress(0);
}
