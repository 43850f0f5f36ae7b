#include "app/search.h"

#include "app/recipe_search.h"

void TSearchForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"Button1Click", this, &TSearchForm::Button1Click);
    b.Handler(L"FindListSelectItem", this, &TSearchForm::FindListSelectItem);
    b.Handler(L"Button2Click", this, &TSearchForm::Button2Click);
    b.Field(L"Label1", &Label1);
    b.Field(L"FindStrings", &FindStrings);
    b.Field(L"Button1", &Button1);
    b.Field(L"ProgressBar", &ProgressBar);
    b.Field(L"FindList", &FindList);
    b.Field(L"Button2", &Button2);
    b.Field(L"RichFind", &RichFind);
    b.Field(L"FileNameList", &FileNameList);
}

void TSearchForm::Loaded()
{
    TForm::Loaded();
    // The hidden controls still need their windows: recipes are loaded and listed in them.
    RichFind->HandleNeeded();
    FileNameList->HandleNeeded();
}

void TSearchForm::Button1Click(TObject*)
{
    ProgressBar->SetPosition(0);
    if (TCustomImageList* images = Host->FindListImages())
        FindList->SetLargeImages(images);
    FindList->Items()->Clear();
    FileNameList->Items()->Clear();
    const std::wstring bases = Host->Store().ProgramDir() + L"\\Bases\\";
    for (const std::wstring& name : ListFolderEntries(bases))
        FillFindList(bases + name + L"\\", bases + name + L"\\*.rcp");
}

void TSearchForm::FillFindList(const std::wstring& folder, const std::wstring& mask)
{
    TRecipeSearch search(*RichFind);
    search.SearchText = [this] { return FindStrings->Text(); };
    search.OnProgress = [this](int position) { ProgressBar->SetPosition(position); };
    search.OnHit = [this](const TSearchHit& hit) {
        TListItem* item = FindList->Items()->Add();
        item->SetCaption(hit.Caption);
        item->SetImageIndex(0);
        FileNameList->Items()->Add(hit.Path);
    };
    search.FillFindList(folder, mask);
}

void TSearchForm::FindListSelectItem(TObject*, TListItem* item, bool)
{
    // Selection and deselection alike show the hit's file anew: a hit left by a click beside the
    // list stays in the view as it stands on disk now. A change of every item at once names no hit.
    if (!item)
        return;
    const int index = item->Index();
    if (index < 0 || index >= FileNameList->Items()->Count())
        return;
    Host->ShowFoundRecipe(FileNameList->Items()->Strings(index));
}

void TSearchForm::Button2Click(TObject*)
{
    Close();
}
