#include "app/recipe_store.h"

#include "framework/SysUtils.h"

#include <shellapi.h>

#include <iterator>

const wchar_t kFavouritesCategory[] = L"Избранное";

TScanGuard::~TScanGuard()
{
    FindClose(rec_);
}

namespace {

constexpr wchar_t kRecipeExt[] = L".rcp";
constexpr wchar_t kPhotoExt[] = L".jpg";

bool IsDotEntry(const std::wstring& name)
{
    return name == L"." || name == L"..";
}

// The recipe a rating is written to. The name line decides, so a recipe renamed in the view is rated
// under its new name; a name line that cannot be a file name must not send the file elsewhere.
std::wstring RatingName(const std::wstring& lineZero, const std::wstring& selectedCaption)
{
    return IsPlainFileName(lineZero) ? lineZero : selectedCaption;
}

bool IsLinkEntry(const std::wstring& path)
{
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Owns a file handle for one operation.
class HandleGuard {
public:
    explicit HandleGuard(HANDLE handle) : handle_(handle) {}
    ~HandleGuard()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Removes a link (junction or symbolic link, to a folder or a file) without touching what it points
// to. The link is opened as itself and deleted through that handle only when the handle really names
// the link: where the system resolves it anyway, removing "the link" would remove its target, so
// nothing is removed then and the caller reports the entry.
bool RemoveLink(const std::wstring& path)
{
    HandleGuard link(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (link.Get() == INVALID_HANDLE_VALUE)
        return false;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &tag, sizeof(tag)) ||
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return false;
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(link.Get(), FileDispositionInfo, &disposition, sizeof(disposition)) != 0;
}

} // namespace

std::wstring RecipeCaption(const std::wstring& fileName)
{
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::wstring();
}

bool IsRecipeFileName(const std::wstring& fileName)
{
    // The scan's pattern also finds names that only begin their extension with "rcp" (through their
    // short names); their caption plus ".rcp" would name another file.
    const size_t ext = std::size(kRecipeExt) - 1;
    return IsPlainFileName(fileName) && fileName.size() > ext &&
           SameText(fileName.substr(fileName.size() - ext), kRecipeExt);
}

int ParseRating(const std::wstring& line)
{
    int value = 0;
    return TryStrToInt(line, value) ? value : 0;
}

std::wstring ShownDeletePath(const std::wstring& path)
{
    if (path.size() <= 60)
        return path;
    return L"..." + path.substr(path.size() - 61);
}

std::wstring DeleteRecipePrompt(const std::wstring& path)
{
    return L"Вы действительно хотите удалить рецепт:\n" + ShownDeletePath(path);
}

std::vector<std::wstring> ListFolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    TSearchRec rec;
    if (FindFirst(folder + L"*.*", faDirectory, rec) != 0)
        return names;
    const TScanGuard guard(rec);
    do {
        if (IsPlainFileName(rec.Name))
            names.push_back(rec.Name);
    } while (FindNext(rec) == 0);
    return names;
}

std::vector<std::wstring> ListRecipeCaptions(const std::wstring& folder)
{
    std::vector<std::wstring> captions;
    TSearchRec rec;
    if (FindFirst(folder + L"*" + kRecipeExt, faAnyFile, rec) != 0)
        return captions;
    const TScanGuard guard(rec);
    do {
        if (IsRecipeFileName(rec.Name))
            captions.push_back(RecipeCaption(rec.Name));
    } while (FindNext(rec) == 0);
    return captions;
}

bool CopyFileShell(const std::wstring& source, const std::wstring& target)
{
    // An empty name would let the shell fall back to the current directory: nothing is copied then.
    if (source.empty() || target.empty())
        return false;
    // Both lists end with two zero characters: the string's own and the one added here.
    std::wstring from = source + L'\0';
    std::wstring to = target + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    return SHFileOperationW(&op) == 0;
}

TRecipeStore::TRecipeStore(std::wstring programDir, TStoreDialogs& dialogs)
    : programDir_(std::move(programDir)), categoryDir_(programDir_ + L"\\Bases\\\\"), dialogs_(dialogs)
{
}

std::wstring TRecipeStore::BasesDir() const
{
    return programDir_ + L"\\Bases\\";
}

std::wstring TRecipeStore::CategoryFolder(const std::wstring& category) const
{
    return BasesDir() + category;
}

void TRecipeStore::SetCategory(const std::wstring& category)
{
    category_ = category;
    categoryDir_ = CategoryFolder(category) + L"\\";
}

std::vector<std::wstring> TRecipeStore::Categories() const
{
    return ListFolderEntries(BasesDir());
}

std::optional<std::wstring> TRecipeStore::FirstCategory() const
{
    std::vector<std::wstring> names = Categories();
    if (names.empty())
        return std::nullopt;
    return names.front();
}

std::optional<std::wstring> TRecipeStore::SelectFirstCategory()
{
    std::optional<std::wstring> first = FirstCategory();
    SetCategory(first.value_or(std::wstring()));
    return first;
}

std::wstring TRecipeStore::RecipeFile(const std::wstring& caption) const
{
    return categoryDir_ + caption + kRecipeExt;
}

std::wstring TRecipeStore::PhotoFile(const std::wstring& caption) const
{
    return categoryDir_ + caption + kPhotoExt;
}

std::wstring TRecipeStore::FavouriteFile(const std::wstring& caption) const
{
    return CategoryFolder(kFavouritesCategory) + L"\\" + caption + kRecipeExt;
}

std::wstring TRecipeStore::InformationFile() const
{
    return programDir_ + L"\\drenvask.doc";
}

bool TRecipeStore::ShowFile(TRecipeDocument& view, const std::wstring& file) const
{
    view.Clear();
    try {
        view.LoadFromFile(file);
        return true;
    } catch (const EStreamError& e) {
        // The document's message names the file and says why; the view shows nothing of it.
        view.Clear();
        dialogs_.ShowMessage(e.Message());
        return false;
    }
}

TOpenedRecipe TRecipeStore::OpenRecipe(TRecipeDocument& view, const std::wstring& caption) const
{
    TOpenedRecipe opened;
    view.Clear();
    const std::wstring file = RecipeFile(caption);
    if (FileExists(file)) {
        opened.Failed = !ShowFile(view, file);
        opened.Loaded = !opened.Failed;
    }
    if (opened.Loaded) {
        const std::vector<std::wstring> lines = view.Paragraphs();
        if (lines.size() > 1)
            opened.RatingText = lines[1];
        opened.Rating = ParseRating(opened.RatingText);
    }
    const std::wstring photo = PhotoFile(caption);
    if (FileExists(photo))
        opened.Photo = photo;
    return opened;
}

bool TRecipeStore::Writable(const std::wstring& category, const std::wstring& caption) const
{
    if (IsPlainFileName(category) && IsRecipeFileName(caption + kRecipeExt))
        return true;
    dialogs_.ShowMessage(kCannotSaveFile + CategoryFolder(category) + L"\\" + caption + kRecipeExt +
                         L"\nСистема не допускает такое имя файла.");
    return false;
}

bool TRecipeStore::SaveRecipe(TRecipeDocument& document, const std::wstring& caption) const
{
    if (!Writable(category_, caption))
        return false;
    document.SaveToFile(RecipeFile(caption));
    return true;
}

bool TRecipeStore::CopyToFavourites(TRecipeDocument& document, const std::wstring& caption) const
{
    if (!Writable(kFavouritesCategory, caption))
        return false;
    document.SaveToFile(FavouriteFile(caption));
    return true;
}

std::wstring TRecipeStore::RatingFile(const std::wstring& lineZero, const std::wstring& selectedCaption) const
{
    return RecipeFile(RatingName(lineZero, selectedCaption));
}

std::wstring TRecipeStore::RateRecipe(TRecipeDocument& document, int rating, const std::wstring& selectedCaption) const
{
    document.ReplaceParagraph(1, IntToStr(rating));
    const std::vector<std::wstring> lines = document.Paragraphs();
    const std::wstring name = RatingName(lines.empty() ? std::wstring() : lines.front(), selectedCaption);
    if (!Writable(category_, name))
        return {};
    const std::wstring file = RecipeFile(name);
    document.SaveToFile(file);
    return file;
}

TMoveResult TRecipeStore::MoveRecipe(const std::wstring& sourceCategory, const std::wstring& targetCategory,
                                     const std::wstring& name) const
{
    static const wchar_t kAlreadyThere[] = L"Рецепт с таким названием уже есть в выбранной вами категории.";
    const std::wstring source = CategoryFolder(sourceCategory) + L"\\" + name;
    const std::wstring target = CategoryFolder(targetCategory) + L"\\" + name;
    if (target == source) {
        dialogs_.ShowInformation(kAlreadyThere);
        return TMoveResult::AlreadyThere;
    }
    if (!Writable(targetCategory, name))
        return TMoveResult::Refused;
    // Copy first and delete only what arrived: a failed copy must never cost the recipe.
    if (!CopyFile(source + kRecipeExt, target + kRecipeExt, true)) {
        dialogs_.ShowInformation(kAlreadyThere);
        return TMoveResult::AlreadyThere;
    }
    // A source that will not go (read-only, held open) stays beside its copy, and the user is told so.
    const bool recipeGone = DeleteMovedFile(source + kRecipeExt);
    if (FileExists(source + kPhotoExt) && CopyFile(source + kPhotoExt, target + kPhotoExt, true) && recipeGone)
        DeleteMovedFile(source + kPhotoExt);
    return TMoveResult::Moved;
}

bool TRecipeStore::DeleteMovedFile(const std::wstring& file) const
{
    if (DeleteFile(file))
        return true;
    dialogs_.ShowMessage(L"Не могу удалить файл: " + file);
    return false;
}

bool TRecipeStore::DeleteRecipe(const std::optional<std::wstring>& selectedCaption) const
{
    if (!selectedCaption) {
        dialogs_.ShowInformation(L"Укажите нужный вам файл.");
        return false;
    }
    const std::wstring file = RecipeFile(*selectedCaption);
    const std::wstring photo = PhotoFile(*selectedCaption);
    if (!dialogs_.Confirm(DeleteRecipePrompt(file)) || !FileExists(file))
        return false;
    if (!DeleteFile(file)) {
        dialogs_.ShowMessage(L"Не могу удалить файл: " + file);
        return false;
    }
    if (FileExists(photo))
        DeleteFile(photo);
    return true;
}

bool TRecipeStore::CreateCategory(const std::wstring& name) const
{
    if (IsPlainFileName(name) && CreateDir(CategoryFolder(name) + L"\\")) {
        dialogs_.ShowInformation(L"Новая категория успешно создана");
        return true;
    }
    dialogs_.ShowWarning(L"По какой-то причине новая категория не создана");
    return false;
}

bool TRecipeStore::DeleteCategory(const std::wstring& name) const
{
    if (name == kFavouritesCategory) {
        dialogs_.ShowMessage(L"Нельзя удалять служебную группу");
        return false;
    }
    // Without a category name the path would be Bases itself.
    if (!IsPlainFileName(name))
        return false;
    if (!dialogs_.Confirm(L"Вы действительно хотите удалить группу \"" + name + L"\""))
        return false;
    if (!dialogs_.Confirm(L"Внимание. Будут удалены все рецепты в выбранной группе"))
        return false;
    DeleteTree(CategoryFolder(name));
    return true;
}

bool TRecipeStore::DeleteTree(const std::wstring& path) const
{
    // A category that is itself a link goes as a link: entering it would empty the folder it names.
    if (IsLinkEntry(path))
        return RemoveLink(path);
    if (!SetCurrentDir(path)) {
        dialogs_.ShowMessage(L"Не могу войти в каталог: " + path);
        return false;
    }
    if (!DeleteEntries())
        return false;
    SetCurrentDir(L"..");
    return RemoveDir(path);
}

bool TRecipeStore::DeleteEntries() const
{
    TSearchRec rec;
    if (FindFirst(L"*.*", faAnyFile, rec) != 0)
        return true;
    const TScanGuard guard(rec);
    do {
        if (IsDotEntry(rec.Name))
            continue;
        const bool link = (rec.Attr & faSymLink) != 0;
        if ((rec.Attr & faDirectory) != 0 && !link) {
            if (!DeleteTree(rec.Name))
                return false;
            continue;
        }
        // A link to a folder is never entered: only the link itself is removed.
        const bool removed = link ? RemoveLink(rec.Name) : DeleteFile(rec.Name);
        if (!removed) {
            dialogs_.ShowMessage(L"Не могу удалить файл: " + rec.Name);
            return false;
        }
    } while (FindNext(rec) == 0);
    return true;
}

void TRecipeStore::AddRecipePhoto(const std::wstring& source, const std::wstring& categoryFolder,
                                  const std::wstring& recipeName) const
{
    if (!FileExists(source)) {
        dialogs_.ShowMessage(L"Фотография не найдена в указанной Вами папке");
        return;
    }
    // Without a chosen category there is no target: the shell is never asked to copy to an empty path.
    if (categoryFolder.empty()) {
        dialogs_.ShowMessage(L"Произошла ошибка при копировании файла");
        return;
    }
    const std::wstring target = categoryFolder + L"\\" + recipeName + kPhotoExt;
    if (FileExists(categoryFolder + L"\\" + ExtractFileName(source)))
        dialogs_.ShowMessage(target);
    if (!CopyFileShell(source, target))
        dialogs_.ShowMessage(L"Произошла ошибка при копировании файла");
}
