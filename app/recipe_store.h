// The recipe store: the folder tree under Bases, the recipe files and the operations the main window
// and the dialogs perform on them. Window-free apart from the boxes it shows through TStoreDialogs and
// the document it reads and writes through TRecipeDocument.
#pragma once

#include "app/recipe_document.h"
#include "app/store_dialogs.h"

#include <optional>
#include <string>
#include <vector>

extern const wchar_t kFavouritesCategory[]; // "Избранное"

struct TSearchRec;

// Closes a running find-first/find-next scan on every way out of its loop, an exception included.
class TScanGuard {
public:
    explicit TScanGuard(TSearchRec& rec) : rec_(rec) {}
    ~TScanGuard();
    TScanGuard(const TScanGuard&) = delete;
    TScanGuard& operator=(const TScanGuard&) = delete;

private:
    TSearchRec& rec_;
};

// The caption a found recipe file is listed with: its name less the last four characters.
std::wstring RecipeCaption(const std::wstring& fileName);
// Whether a found file is listed as a recipe: a plain file name (IsPlainFileName) that ends in ".rcp",
// so that the caption plus ".rcp" names this very file again.
bool IsRecipeFileName(const std::wstring& fileName);

// A recipe's rating from the text of its line 1: a decimal integer, 0 when empty or not a number.
// Values outside 0..5 are returned as they are; the stars ignore them.
int ParseRating(const std::wstring& line);

// The path as the delete prompt shows it: whole up to 60 characters, else "..." and its last 61.
std::wstring ShownDeletePath(const std::wstring& path);
std::wstring DeleteRecipePrompt(const std::wstring& path);

// Entries of a folder as the program lists categories and themes: "*.*" with folders requested (plain
// files come too), "." and ".." skipped, in the file system's order. folder ends with "\". Names that
// are not plain file names (devices, a final dot or space) are left out: the system would open
// another entry or a device for them.
std::vector<std::wstring> ListFolderEntries(const std::wstring& folder);

// Captions of the "*.rcp" files of a folder (folder ends with "\"), in the file system's order; only
// files whose names pass IsRecipeFileName.
std::vector<std::wstring> ListRecipeCaptions(const std::wstring& folder);

// Copies one file through the shell's file operation; true when the shell reports success.
bool CopyFileShell(const std::wstring& source, const std::wstring& target);

// Refused: a name the system would not open as written (reported; nothing changes).
enum class TMoveResult { Moved, AlreadyThere, Refused };

// What opening a recipe of the list gives the main window.
struct TOpenedRecipe {
    bool Loaded = false;        // the file existed and is in the view (a view is counted)
    bool Failed = false;        // the file exists but could not be read: reported, the view is empty
    std::wstring RatingText;    // line 1 as it stands, for the status bar
    int Rating = 0;             // line 1 as a number, 0 when empty or not a number
    std::optional<std::wstring> Photo; // the recipe's photo, when it exists
};

class TRecipeStore {
public:
    // programDir: the working folder the program started in, without a trailing "\".
    TRecipeStore(std::wstring programDir, TStoreDialogs& dialogs);

    const std::wstring& ProgramDir() const { return programDir_; }
    // ProgramDir + "\Bases\".
    std::wstring BasesDir() const;
    // ProgramDir + "\Bases\" + category (no trailing "\").
    std::wstring CategoryFolder(const std::wstring& category) const;

    // The current category's folder with a trailing "\"; set when a category becomes current.
    const std::wstring& CategoryDir() const { return categoryDir_; }
    // The current category's name; empty before one is chosen or when Bases lists none.
    const std::wstring& Category() const { return category_; }
    void SetCategory(const std::wstring& category);

    std::vector<std::wstring> Categories() const;
    // The first listed category, if Bases lists any.
    std::optional<std::wstring> FirstCategory() const;
    // Makes the first listed category current and returns it; with none, the current category becomes
    // the empty name (CategoryDir ProgramDir + "\Bases\\"), whose list is empty.
    std::optional<std::wstring> SelectFirstCategory();

    // Files of a recipe of the current category.
    std::wstring RecipeFile(const std::wstring& caption) const;
    std::wstring PhotoFile(const std::wstring& caption) const;
    std::wstring FavouriteFile(const std::wstring& caption) const;

    // ProgramDir + "\drenvask.doc", the information document.
    std::wstring InformationFile() const;

    // Clears the view and loads the file into it. A file that cannot be read (held by another program,
    // nested deeper than the view takes) is reported by name and leaves the view empty: false then.
    bool ShowFile(TRecipeDocument& view, const std::wstring& file) const;
    // Clears the view and loads the current category's recipe of that caption into it, if its file
    // exists; the photo is looked for either way.
    TOpenedRecipe OpenRecipe(TRecipeDocument& view, const std::wstring& caption) const;

    // Saves the document over the current category's recipe of that caption; false (reported) when the
    // names cannot make a file name that the system opens as written. Raises the document's save
    // errors.
    bool SaveRecipe(TRecipeDocument& document, const std::wstring& caption) const;
    // Saves the document as a recipe of the favourites (overwriting; the photo stays behind); false as
    // for SaveRecipe.
    bool CopyToFavourites(TRecipeDocument& document, const std::wstring& caption) const;
    // The file a rating is written to: the recipe named by the document's line 0, or the recipe of
    // the selected caption when line 0 cannot be a file name.
    std::wstring RatingFile(const std::wstring& lineZero, const std::wstring& selectedCaption) const;
    // Puts the rating digit into line 1 and saves the document; returns the file written, or nothing
    // (reported) when neither name can be written.
    std::wstring RateRecipe(TRecipeDocument& document, int rating, const std::wstring& selectedCaption) const;

    // Moves a recipe (and its photo) between categories without ever losing the source; shows the
    // "already there" message when the target exists, and the failed-delete message when a copied
    // source stays (both files are kept then).
    TMoveResult MoveRecipe(const std::wstring& sourceCategory, const std::wstring& targetCategory,
                           const std::wstring& name) const;

    // Asks and deletes the current category's recipe and its photo; true when the recipe was deleted.
    bool DeleteRecipe(const std::optional<std::wstring>& selectedCaption) const;

    // Creates a category folder; shows the result. Names that are not plain entry names are refused.
    bool CreateCategory(const std::wstring& name) const;
    // Asks twice and deletes a category with all its recipes; true when the user confirmed, so that
    // the tabs must be rebuilt (whatever the deletion's result).
    bool DeleteCategory(const std::wstring& name) const;

    // Deletes a folder with everything in it, through the process's current directory; links are
    // removed, never followed. Stops and reports at the first entry it cannot delete.
    bool DeleteTree(const std::wstring& path) const;

    // Copies the photo chosen for a new recipe next to it as recipe name + ".jpg"; reports missing
    // sources and failed copies. categoryFolder is empty when no category was chosen.
    void AddRecipePhoto(const std::wstring& source, const std::wstring& categoryFolder,
                        const std::wstring& recipeName) const;

private:
    // Whether a recipe of that name may be written into the category's folder: both are plain file
    // names. Reports the refusal with the file's path.
    bool Writable(const std::wstring& category, const std::wstring& caption) const;
    // Deletes the source of a finished copy; reports one that stays.
    bool DeleteMovedFile(const std::wstring& file) const;
    // Deletes every entry of the current directory; false (reported) at the first one that stays.
    bool DeleteEntries() const;

    std::wstring programDir_;
    std::wstring category_;
    std::wstring categoryDir_;
    TStoreDialogs& dialogs_;
};
