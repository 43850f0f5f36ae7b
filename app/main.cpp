#include "app/main.h"

#include "app/view_format_keeper.h"

#include "app/icon_theme.h"
#include "app/image_list_depth.h"
#include "app/main_dialogs.h"
#include "app/main_pictures.h"
#include "app/thema.h"
#include "framework/SysUtils.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"
#include "skin/controls/sTabControl.h"
#include "skin/controls/sUpDown.h"
#include "skin/core/sSkinManager.h"
#include "widgets/ASLink.h"
#include "widgets/AlPanel.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

TMainForm* MainForm = nullptr;

namespace {

// Sets a flag for one scope, also when the scope is left by an exception.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagGuard() { flag_ = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& flag_;
};

// What status panel 0 says while the mouse is over a control, by the control's name.
const std::array<std::pair<const wchar_t*, const wchar_t*>, 13> kHoverTexts = {{
    {L"AddButton", L" Добавление нового рецепта в базу"},
    {L"GroupButton", L" Создать новую категорию (раздел)"},
    {L"FavoriteButton", L" Копирование рецепта в папку Избранное"},
    {L"FotoButton", L" Посмотреть фотографию блюда"},
    {L"SaveTBtn", L" Сохранить внесенные изменения"},
    {L"SearchButton", L" Поиск текста в базе рецептов"},
    {L"PrevButton", L" Предыдущий рецепт"},
    {L"NextButton", L" Следущий рецепт"},
    {L"RefreshButton", L" Обновление списка рецептов"},
    {L"PrintButton", L" Печать выбранного рецепта"},
    {L"AboutButton", L" Информация о программе"},
    {L"ExitButton", L" Окончание работы с программой"},
    {L"RecipesList", L" Список доступных рецептов"},
}};

// Loads an icon file into the working icon; false when the file is no icon that can be read (damaged,
// cut short, gone or locked since it was found).
bool LoadIconFile(TIcon* working, const std::wstring& file)
{
    try {
        working->LoadFromFile(file);
        return true;
    } catch (const EInvalidGraphic&) {
        return false;
    } catch (const EStreamError&) {
        return false;
    }
}

// Adds the icon file, or the template's icon when there is no file for this place. A file that cannot
// be read as an icon is treated like a missing one: the theme and the tab icons are read at every
// start, so one damaged file would otherwise stop every start the same way.
void AddThemeIcon(TImageList* list, const TIconSource& source, TIcon* working, TImage* fallback)
{
    if (source && LoadIconFile(working, *source))
        list->AddIcon(working);
    else
        list->AddIcon(fallback->Picture()->Icon());
}

void MakeList32Bit(TImageList* list)
{
    list->SetHandle(ConvertTo32BitImageList(list->Handle(), list->Masked(), list->AllocBy()));
}

// Empties a list and adds one icon per place (the template where the theme has no file), then
// optionally converts it to 32 bits. The list's users (tool bar, menus, recipe views) hear of it once,
// at the end: they neither rebuild once per image nor paint with a handle the conversion replaced.
void RefillThemeList(TImageList* list, std::span<const TIconSource> sources, TIcon* working, TImage* fallback,
                     bool make32Bit)
{
    const TImageListUpdate update(list);
    list->Clear();
    for (const TIconSource& source : sources)
        AddThemeIcon(list, source, working, fallback);
    if (make32Bit)
        MakeList32Bit(list);
}

} // namespace

void RegisterAppClasses()
{
    // The main window's form data holds the skin manager with its stored skin.
    RegisterSkinManagerClasses();
    RegisterLinkLabelClass();
    RegisterAligningPanelClass();
    RegisterSkinStatusBarClasses();
    RegisterSkinToolBarClasses();
    RegisterSkinSplitterClasses();
    RegisterUpDownClasses();
    RegisterTabControlClasses();
    RegisterClass<TMainForm>(L"TMainForm", L"TForm");
    RegisterClass<TThemesForm>(L"TThemesForm", L"TForm");
}

// ---- Boxes ----

void TForwardingDialogs::ShowMessage(const std::wstring& text)
{
    if (Target)
        Target->ShowMessage(text);
    else
        ::ShowMessage(text);
}

void TForwardingDialogs::ShowInformation(const std::wstring& text)
{
    if (Target)
        Target->ShowInformation(text);
    else
        MessageDlg(text, mtInformation, {mbOK});
}

void TForwardingDialogs::ShowWarning(const std::wstring& text)
{
    if (Target)
        Target->ShowWarning(text);
    else
        MessageDlg(text, mtWarning, {mbOK});
}

bool TForwardingDialogs::Confirm(const std::wstring& text)
{
    if (Target)
        return Target->Confirm(text);
    return MessageDlg(text, mtConfirmation, {mbYes, mbNo}) == mrYes;
}

// ---- The form ----

TMainForm::TMainForm(TComponent* owner)
    : TForm(owner),
      settings_(&registry_),
      menuImage_(std::make_unique<TImageList>(16, 16)),
      toolBarImage_(std::make_unique<TImageList>(32, 32)),
      lbImage_(std::make_unique<TImageList>(32, 32)),
      lsImage_(std::make_unique<TImageList>(16, 16)),
      tabImage_(std::make_unique<TImageList>(24, 24)),
      findListImage_(std::make_unique<TImageList>(32, 32)),
      buttonsImage_(std::make_unique<TImageList>(16, 16))
{
    menuImage_->SetMasked(false);
    menuImage_->SetBkColor(static_cast<TColor>(16053492));
    lbImage_->SetMasked(false);
    lbImage_->SetBkColor(clWhite);
    lbImage_->SetShareImages(true);
    lsImage_->SetBkColor(clWhite);
    findListImage_->SetMasked(false);
}

TMainForm::~TMainForm()
{
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::DeclareBindings(TFormBindings& b)
{
    b.Field(L"imgStar1", &imgStar1);
    b.Field(L"imgStar2", &imgStar2);
    b.Field(L"imgStar3", &imgStar3);
    b.Field(L"imgStar4", &imgStar4);
    b.Field(L"imgStar5", &imgStar5);
    b.Field(L"StatusBar", &StatusBar);
    b.Field(L"ToolBar1", &ToolBar1);
    b.Field(L"ExitButton", &ExitButton);
    b.Field(L"AddButton", &AddButton);
    b.Field(L"GroupButton", &GroupButton);
    b.Field(L"FavoriteButton", &FavoriteButton);
    b.Field(L"FotoButton", &FotoButton);
    b.Field(L"SaveTBtn", &SaveTBtn);
    b.Field(L"SearchButton", &SearchButton);
    b.Field(L"PrevButton", &PrevButton);
    b.Field(L"NextButton", &NextButton);
    b.Field(L"RefreshButton", &RefreshButton);
    b.Field(L"PrintButton", &PrintButton);
    b.Field(L"AboutButton", &AboutButton);
    b.Field(L"AligningPanel1", &AligningPanel1);
    b.Field(L"sTabControl", &sTabControl);
    b.Field(L"RecipesList", &RecipesList);
    b.Field(L"Splitter1", &Splitter1);
    b.Field(L"Rich", &Rich);
    b.Field(L"null32x32", &null32x32);
    b.Field(L"null16x16", &null16x16);
    b.Field(L"null24x24", &null24x24);
    b.Field(L"MainMenu", &MainMenu);
    b.Field(L"mSave", &mSave);
    b.Field(L"mDelete", &mDelete);
    b.Field(L"mIconView", &mIconView);
    b.Field(L"mListView", &mListView);
    b.Field(L"mZUp", &mZUp);
    b.Field(L"mZDown", &mZDown);
    b.Field(L"mIcons", &mIcons);
    b.Field(L"PopupMenu1", &PopupMenu1);
    b.Field(L"subSave", &subSave);
    b.Field(L"PopupMenu2", &PopupMenu2);
    b.Field(L"TabPopupMenu", &TabPopupMenu);
    b.Field(L"PrinterSetup", &PrinterSetup);
    b.Field(L"PrintDialog", &PrintDialog);
    b.Field(L"ActionList1", &ActionList1);
    b.Field(L"NewAction", &NewAction);
    b.Field(L"SaveAction", &SaveAction);
    b.Field(L"DelAction", &DelAction);
    b.Field(L"PrintAction", &PrintAction);

    b.Handler(L"FormCreate", this, &TMainForm::FormCreate);
    b.Handler(L"FormShow", this, &TMainForm::FormShow);
    b.Handler(L"FormActivate", this, &TMainForm::FormActivate);
    b.Handler(L"sTabControlChange", this, &TMainForm::sTabControlChange);
    b.Handler(L"sTabControlMouseDown", this, &TMainForm::sTabControlMouseDown);
    b.Handler(L"RecipesListSelectItem", this, &TMainForm::RecipesListSelectItem);
    b.Handler(L"AddButtonClick", this, &TMainForm::AddButtonClick);
    b.Handler(L"mSaveClick", this, &TMainForm::mSaveClick);
    b.Handler(L"FavoriteButtonClick", this, &TMainForm::FavoriteButtonClick);
    b.Handler(L"N5Click", this, &TMainForm::N5Click);
    b.Handler(L"N11Click", this, &TMainForm::N11Click);
    b.Handler(L"N12Click", this, &TMainForm::N12Click);
    b.Handler(L"PrintButtonClick", this, &TMainForm::PrintButtonClick);
    b.Handler(L"N6Click", this, &TMainForm::N6Click);
    b.Handler(L"ExitButtonClick", this, &TMainForm::ExitButtonClick);
    b.Handler(L"N8Click", this, &TMainForm::N8Click);
    b.Handler(L"N9Click", this, &TMainForm::N9Click);
    b.Handler(L"N24Click", this, &TMainForm::N24Click);
    b.Handler(L"N15Click", this, &TMainForm::N15Click);
    b.Handler(L"mDeleteClick", this, &TMainForm::mDeleteClick);
    b.Handler(L"mIconViewClick", this, &TMainForm::mIconViewClick);
    b.Handler(L"mListViewClick", this, &TMainForm::mListViewClick);
    b.Handler(L"mZUpClick", this, &TMainForm::mZUpClick);
    b.Handler(L"mZDownClick", this, &TMainForm::mZDownClick);
    b.Handler(L"mIconsClick", this, &TMainForm::mIconsClick);
    b.Handler(L"menuThemesClick", this, &TMainForm::menuThemesClick);
    b.Handler(L"GroupButtonClick", this, &TMainForm::GroupButtonClick);
    b.Handler(L"N26Click", this, &TMainForm::N26Click);
    b.Handler(L"SearchButtonClick", this, &TMainForm::SearchButtonClick);
    b.Handler(L"FotoButtonClick", this, &TMainForm::FotoButtonClick);
    b.Handler(L"PrevButtonClick", this, &TMainForm::PrevButtonClick);
    b.Handler(L"NextButtonClick", this, &TMainForm::NextButtonClick);
    b.Handler(L"RefreshButtonClick", this, &TMainForm::RefreshButtonClick);
    b.Handler(L"AboutButtonClick", this, &TMainForm::AboutButtonClick);
    b.Handler(L"RichKeyPress", this, &TMainForm::RichKeyPress);
    b.Handler(L"RichMouseMove", this, &TMainForm::RichMouseMove);
    b.Handler(L"ToolBar1MouseMove", this, &TMainForm::ToolBar1MouseMove);
    b.Handler(L"ControlMouseMove", this, &TMainForm::ControlMouseMove);
}

const std::wstring& TMainForm::CategoryDir() const
{
    return store_ ? store_->CategoryDir() : emptyCategoryDir_;
}

// ---- Start-up ----

void TMainForm::FormCreate(TObject*)
{
    ControlStyle.Include(csOpaque);
    Rich->ControlStyle.Include(csOpaque);
    programDir_ = GetCurrentDir();
    store_ = std::make_unique<TRecipeStore>(programDir_, dialogs_);

    // The image lists are not components of the form data: they are tied to their users here.
    ToolBar1->SetImages(toolBarImage_.get());
    RecipesList->SetLargeImages(lbImage_.get());
    RecipesList->SetSmallImages(lsImage_.get());
    sTabControl->SetImages(tabImage_.get());
    MainMenu->SetImages(menuImage_.get());
    PopupMenu1->SetImages(menuImage_.get());
    PopupMenu2->SetImages(menuImage_.get());
    TabPopupMenu->SetImages(menuImage_.get());
    ActionList1->SetImages(toolBarImage_.get());
    MakeTemplatePictures();

    SetPanelText(2, L"Оценка:");
    const int w = StatusBar->Panels()->Items(0)->Width() + StatusBar->Panels()->Items(1)->Width();
    for (int i = 0; i < 5; ++i) {
        TImage* star = Star(i);
        star->SetParent(StatusBar);
        star->SetTop(6);
        star->SetLeft(w + 50 + 10 * i);
    }
    ShowStars(0);
    DisableSave();
}

void TMainForm::MakeTemplatePictures()
{
    for (int i = 0; i < 5; ++i)
        PaintStar(Star(i)->Picture()->Bitmap(), 10);
    null32x32->Picture()->Icon()->SetHandle(MakeTemplateIcon(32));
    null16x16->Picture()->Icon()->SetHandle(MakeTemplateIcon(16));
    null24x24->Picture()->Icon()->SetHandle(MakeTemplateIcon(24));
}

void TMainForm::FormShow(TObject*)
{
    ToolBar1->SetColor(clBtnFace);
    {
        // The tool bar rebuilds its buttons once, for the colour and the theme's images together.
        const TImageListUpdate update(toolBarImage_.get());
        toolBarImage_->SetBkColor(clBtnFace);
        SkinLoad();
    }
    SelectFirstCategory();
    CountStart(*settings_, counters_);
}

void TMainForm::FormActivate(TObject*)
{
    if (RecipesList->Items()->Count() > 0)
        SelectItem(0);
}

void TMainForm::SelectFirstCategory()
{
    store_->SelectFirstCategory();
    FillRecipeList(store_->CategoryDir());
}

void TMainForm::FillCategoryTabs()
{
    sTabControl->Tabs()->Clear();
    const std::vector<TCategoryTab> tabs = CategoryTabs(programDir_, mIcons->Checked());
    std::vector<std::wstring> names;
    {
        // The tab control hears of its images once, after the conversion replaced the handle.
        const TImageListUpdate update(tabImage_.get());
        // The tabs are laid out once, when the last is in.
        const TStringsUpdate tabsUpdate(sTabControl->Tabs());
        tabImage_->Clear();
        TIcon icon;
        for (const TCategoryTab& tab : tabs) {
            sTabControl->Tabs()->Add(tab.Name);
            names.push_back(tab.Name);
            AddThemeIcon(tabImage_.get(), tab.Icon, &icon, null24x24);
        }
        MakeList32Bit(tabImage_.get());
    }
    if (!tabs.empty())
        FollowListWithTabs(names);
}

// A rebuild may put another category at the tab index kept from before (a new category that lists
// earlier, one removed behind the program's back), so the current tab is chosen by the name of the
// category the list shows. When that category is gone, the first tab becomes current and the list
// follows it.
void TMainForm::FollowListWithTabs(const std::vector<std::wstring>& tabs)
{
    const auto shown = std::find(tabs.begin(), tabs.end(), store_->Category());
    const int index = shown != tabs.end() ? static_cast<int>(shown - tabs.begin()) : 0;
    {
        // The list already shows this category: the change handler must not refill it.
        const TFlagGuard quiet(tabsFollowList_);
        sTabControl->SetTabIndex(index);
    }
    // Before the first category is chosen at start-up there is no list to follow yet.
    if (shown == tabs.end() && !store_->Category().empty())
        sTabControlChange(sTabControl);
}

void TMainForm::FillRecipeList(const std::wstring& folder)
{
    recipeCount_ = 0;
    TListItems* items = RecipesList->Items();
    items->BeginUpdate();
    items->Clear();
    RecipesList->SetViewStyle(vsIcon);
    for (const std::wstring& caption : ListRecipeCaptions(folder)) {
        TListItem* item = items->Add();
        item->SetCaption(caption);
        item->SetImageIndex(0);
        ++recipeCount_;
    }
    // The list's window takes the items at the end of the update, already in the view they are shown
    // in: thousands of them are then one message, and the list style measures their captions once.
    if (mListView->Checked())
        RecipesList->SetViewStyle(vsList);
    items->EndUpdate();
    StatusBar->SetSimpleText(RecipeCountText(recipeCount_));
    DisableSave();
}

// ---- Opening a recipe ----

void TMainForm::RecipesListSelectItem(TObject*, TListItem* item, bool selected)
{
    if (!selected || !item)
        return;
    const std::wstring caption = item->Caption();
    TRichEditDocument view(Rich->Handle());
    // Until the recipe is in the view, the view names none: a load that fails must leave nothing that
    // a save could write over the recipe shown before.
    viewState_.ShowsOther();
    const TOpenedRecipe opened = store_->OpenRecipe(view, caption);
    candidatePhoto_ = store_->PhotoFile(caption);
    if (opened.Failed)
        DisableSave();
    else
        viewState_.OpenedFromList(caption);
    if (opened.Loaded) {
        CountView(*settings_, counters_);
        SetPanelText(0, opened.RatingText);
        ShowStars(opened.Rating);
        DisableSave();
    }
    if (opened.Photo) {
        FotoButton->SetVisible(true);
        PhotoPath = *opened.Photo;
    } else {
        FotoButton->SetVisible(false);
    }
}

void TMainForm::ShowStars(int n)
{
    const std::optional<int> shown = StarsShown(n);
    if (!shown)
        return;
    for (int i = 0; i < 5; ++i)
        Star(i)->SetVisible(i < *shown);
}

void TMainForm::DisableSave()
{
    viewState_.SaveDone();
    mSave->SetEnabled(false);
    subSave->SetEnabled(false);
    SaveAction->SetEnabled(false);
}

void TMainForm::EnableSave()
{
    // Only a recipe opened from the list may be saved over its file; the information document
    // and search hits stay read-only for the save commands.
    if (!viewState_.Edited())
        return;
    mSave->SetEnabled(true);
    subSave->SetEnabled(true);
    SaveAction->SetEnabled(true);
}

// ---- Tabs ----

void TMainForm::sTabControlChange(TObject*)
{
    if (tabsFollowList_)
        return;
    const int index = sTabControl->TabIndex();
    if (index < 0 || index >= sTabControl->Tabs()->GetCount())
        return;
    store_->SetCategory(sTabControl->Tabs()->Get(index));
    ClearView();
    FillRecipeList(store_->CategoryDir());
    if (RecipesList->Items()->Count() > 0)
        SelectItem(0);
}

void TMainForm::sTabControlMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbRight)
        return;
    const std::optional<int> tab = TabForRightClick(sTabControl->TabIndexAtPoint(x, y), sTabControl->Tabs()->GetCount());
    if (!tab)
        return;
    // The tab control's setter runs OnChange itself, so the list follows the tab that the pop-up will
    // act on.
    sTabControl->SetTabIndex(*tab);
}

// ---- Commands ----

void TMainForm::AddButtonClick(TObject*)
{
    RecipesChanged = 0;
    ShowNewRecipeDialog(this);
    if (RecipesChanged == 1)
        FillRecipeList(store_->CategoryDir());
}

void TMainForm::mSaveClick(TObject*)
{
    const std::optional<std::wstring> caption = SelectedCaption();
    if (!mSave->Enabled() || !caption || !viewState_.CanSave())
        return;
    // The view holds the recipe opened from the list, which is the selected one unless the list
    // moved without opening (a vanished file); the recipe of the view is the one written.
    TRichEditDocument view(Rich->Handle());
    if (store_->SaveRecipe(view, viewState_.Caption()))
        DisableSave();
}

void TMainForm::FavoriteButtonClick(TObject*)
{
    const std::optional<std::wstring> caption = SelectedCaption();
    // The view must hold the selected recipe itself: a search hit shown beside a selected item would
    // otherwise land in the favourites under that item's name.
    if (!caption || !viewState_.FromList())
        return;
    TRichEditDocument view(Rich->Handle());
    store_->CopyToFavourites(view, *caption);
}

void TMainForm::N5Click(TObject*)
{
    RecipesList->SetSelected(nullptr);
    ClearView();
    const std::wstring info = store_->InformationFile();
    if (FileExists(info)) {
        TRichEditDocument view(Rich->Handle());
        store_->ShowFile(view, info);
    }
    viewState_.ShowsOther();
    DisableSave();
}

void TMainForm::N11Click(TObject*)
{
    PrinterSetup->Execute();
}

void TMainForm::N12Click(TObject*)
{
    if (PrintDialog->Execute())
        Rich->Print(L"Рецепт");
}

void TMainForm::PrintButtonClick(TObject*)
{
    // The tool bar's print leaves a margin before the first lines; the view gets its selection, its
    // scroll position and every paragraph's own indent back whatever the printer does.
    TViewFormatKeeper keeper(Rich->Handle());
    Rich->SelectAll();
    Rich->Paragraph()->SetFirstIndent(40);
    if (PrintDialog->Execute())
        Rich->Print(L"Recipes");
}

void TMainForm::N6Click(TObject*)
{
    Close();
}

void TMainForm::ExitButtonClick(TObject*)
{
    Close();
}

void TMainForm::N8Click(TObject*)
{
    Rich->CopyToClipboard();
}

void TMainForm::N9Click(TObject*)
{
    Rich->SelectAll();
}

void TMainForm::N24Click(TObject*)
{
    ShowRatingDialog(this);
}

void TMainForm::N15Click(TObject*)
{
    RecipesChanged = 0;
    ShowMoveDialog(this);
    if (RecipesChanged == 1)
        FillRecipeList(store_->CategoryDir());
}

void TMainForm::mDeleteClick(TObject*)
{
    if (store_->DeleteRecipe(SelectedCaption())) {
        ShowStars(0);
        FillRecipeList(store_->CategoryDir());
        ClearView();
    }
}

void TMainForm::mIconViewClick(TObject*)
{
    ApplyListStyle(true);
    WriteThemeSetting(*settings_, L"List", ListSettingText(true));
}

void TMainForm::mListViewClick(TObject*)
{
    ApplyListStyle(false);
    WriteThemeSetting(*settings_, L"List", ListSettingText(false));
}

void TMainForm::mZUpClick(TObject*)
{
    WriteThemeSetting(*settings_, L"Bar", BarSettingText(false));
    ApplyTabPosition(false);
}

void TMainForm::mZDownClick(TObject*)
{
    WriteThemeSetting(*settings_, L"Bar", BarSettingText(true));
    ApplyTabPosition(true);
}

void TMainForm::mIconsClick(TObject*)
{
    const bool fromFolder = !mIcons->Checked();
    mIcons->SetChecked(fromFolder);
    WriteThemeSetting(*settings_, L"Icons", IconsSettingText(fromFolder));
}

void TMainForm::menuThemesClick(TObject*)
{
    const int remembered = sTabControl->TabIndex();
    ShowThemesDialog(this);
    if (remembered >= 0 && remembered < sTabControl->Tabs()->GetCount())
        store_->SetCategory(sTabControl->Tabs()->Get(remembered));
    ClearView();
    FillRecipeList(store_->CategoryDir());
    if (remembered >= 0 && remembered < sTabControl->Tabs()->GetCount())
        sTabControl->SetTabIndex(remembered);
}

void TMainForm::GroupButtonClick(TObject*)
{
    ShowNewCategoryDialog(this);
    FillCategoryTabs();
}

void TMainForm::N26Click(TObject*)
{
    const int index = sTabControl->TabIndex();
    if (index < 0 || index >= sTabControl->Tabs()->GetCount())
        return;
    if (!store_->DeleteCategory(sTabControl->Tabs()->Get(index)))
        return;
    SelectFirstCategory();
    FillCategoryTabs();
    ClearView();
    sTabControl->SetTabIndex(0);
    // The first category's first recipe opens as a click on its tab would open it; when the deleted
    // category was itself the first tab, the index does not change and the tab control stays silent.
    if (RecipesList->Items()->Count() > 0 && RecipesList->ItemIndex() < 0)
        SelectItem(0);
}

void TMainForm::SearchButtonClick(TObject*)
{
    ShowSearchDialog(this);
}

void TMainForm::FotoButtonClick(TObject*)
{
    const std::optional<std::wstring> caption = SelectedCaption();
    if (!caption) {
        FotoButton->SetVisible(false);
        return;
    }
    PhotoPath = store_->PhotoFile(*caption);
    if (FileExists(PhotoPath))
        ShowPhotoDialog(this);
}

void TMainForm::PrevButtonClick(TObject*)
{
    if (const std::optional<int> index = PreviousIndex(RecipesList->ItemIndex()))
        SelectItem(*index);
}

void TMainForm::NextButtonClick(TObject*)
{
    if (const std::optional<int> index = NextIndex(RecipesList->ItemIndex(), recipeCount_))
        SelectItem(*index);
}

void TMainForm::RefreshButtonClick(TObject*)
{
    FillRecipeList(store_->CategoryDir());
}

void TMainForm::AboutButtonClick(TObject*)
{
    ShowAboutDialog(this);
}

void TMainForm::RichKeyPress(TObject*, wchar_t&)
{
    EnableSave();
}

void TMainForm::RichMouseMove(TObject*, TShiftState, int, int)
{
    SetPanelText(0, L" ");
}

void TMainForm::ToolBar1MouseMove(TObject*, TShiftState, int, int)
{
    SetPanelText(0, L" ");
}

void TMainForm::ControlMouseMove(TObject* sender, TShiftState, int, int)
{
    auto* component = dynamic_cast<TComponent*>(sender);
    if (!component)
        return;
    for (const auto& [name, text] : kHoverTexts) {
        if (component->Name() == name) {
            SetPanelText(0, text);
            return;
        }
    }
}

// ---- What the dialogs use ----

std::optional<std::wstring> TMainForm::SelectedCaption()
{
    if (TListItem* item = RecipesList->Selected())
        return item->Caption();
    return std::nullopt;
}

void TMainForm::RateSelectedRecipe(int rating)
{
    const std::optional<std::wstring> caption = SelectedCaption();
    if (!caption || !viewState_.CanRate())
        return;
    TRichEditDocument view(Rich->Handle());
    store_->RateRecipe(view, rating, *caption);
}

void TMainForm::ShowSearchHit(const std::wstring& path)
{
    ClearView();
    viewState_.ShowsOther();
    DisableSave();
    if (FileExists(path)) {
        TRichEditDocument view(Rich->Handle());
        store_->ShowFile(view, path);
    }
}

// ---- Settings and icon themes ----

void TMainForm::ReadSettings()
{
    const TViewSettings settings = ::ReadSettings(*settings_);
    themeName_ = settings.ThemeName;
    ApplyListStyle(settings.BigIcons());
    mIcons->SetChecked(settings.IconsFromFolder());
    ApplyTabPosition(settings.TabsAtBottom());
}

void TMainForm::ApplyListStyle(bool bigIcons)
{
    RecipesList->SetViewStyle(bigIcons ? vsIcon : vsList);
    RecipesList->Arrange();
    mIconView->SetChecked(bigIcons);
    mListView->SetChecked(!bigIcons);
}

void TMainForm::ApplyTabPosition(bool atBottom)
{
    sTabControl->SetAlign(atBottom ? alBottom : alTop);
    mZDown->SetChecked(atBottom);
    mZUp->SetChecked(!atBottom);
}

void TMainForm::SkinLoad()
{
    ReadSettings();
    const TThemeIcons icons = ResolveThemeIcons(programDir_, themeName_);
    TIcon working;

    {
        // The recipe icon follows the tool bar's own; the tool bar hears of both at once.
        const TImageListUpdate update(toolBarImage_.get());
        RefillThemeList(toolBarImage_.get(), icons.ToolBar, &working, null32x32, false);
        // A theme without its recipe or search icon takes the template like every other place, so
        // that a partial theme never stops the start.
        AddThemeIcon(toolBarImage_.get(), icons.RecipeLarge, &working, null32x32);
    }
    {
        const TImageListUpdate update(menuImage_.get());
        menuImage_->SetBkColor(clMenu);
        RefillThemeList(menuImage_.get(), icons.Menu, &working, null16x16, true);
    }

    RefillThemeList(lbImage_.get(), {&icons.RecipeLarge, 1}, &working, null32x32, false);
    RefillThemeList(findListImage_.get(), {&icons.SearchHit, 1}, &working, null32x32, true);
    RefillThemeList(lsImage_.get(), {&icons.RecipeSmall, 1}, &working, null16x16, false);

    FillCategoryTabs();
}

// ---- Small helpers ----

void TMainForm::ClearView()
{
    TRichEditDocument(Rich->Handle()).Clear();
    viewState_.ShowsOther();
}

void TMainForm::SelectItem(int index)
{
    RecipesList->SetItemIndex(index);
}

void TMainForm::SetPanelText(int index, const std::wstring& text)
{
    StatusBar->Panels()->Items(index)->SetText(text);
}

std::wstring TMainForm::PanelText(int index)
{
    return StatusBar->Panels()->Items(index)->Text();
}

TImage* TMainForm::Star(int index) const
{
    const std::array<TImage*, 5> stars = {imgStar1, imgStar2, imgStar3, imgStar4, imgStar5};
    return stars[static_cast<size_t>(index)];
}
