// The main window: category tabs, the recipe list, the recipe view with its star row, the tool bar,
// menus and status bar, and every command of the program.
#pragma once

#include "app/main_state.h"
#include "app/recipe_document.h"
#include "app/recipe_store.h"
#include "app/settings.h"
#include "app/thema.h"
#include "framework/ActnList.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/RichEdit.h"
#include "framework/Splitter.h"
#include "skin/controls/sTabControl.h"
#include "widgets/AlPanel.h"

#include <memory>
#include <optional>
#include <string>

// Routes the store's boxes to the main window's message dialogs, or to another set (scripted answers).
class TForwardingDialogs : public TStoreDialogs {
public:
    void ShowMessage(const std::wstring& text) override;
    void ShowInformation(const std::wstring& text) override;
    void ShowWarning(const std::wstring& text) override;
    bool Confirm(const std::wstring& text) override;
    // nullptr: the framework's message dialogs.
    TStoreDialogs* Target = nullptr; // borrowed
};

class TMainForm : public TForm, public IThemedWindow {
    DECLARE_CLASS_NAME(TMainForm)
public:
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;
    void DeclareBindings(TFormBindings& bindings) override;

    // ---- What the dialogs and the theme dialog use ----
    const std::wstring& ProgramDir() const override { return programDir_; }
    const std::wstring& CategoryDir() const;
    int RecipeCount() const { return recipeCount_; }
    const std::wstring& ThemeName() const { return themeName_; }
    const TCounters& Counters() const { return counters_; }
    std::wstring PhotoPath;
    unsigned char RecipesChanged = 0;
    TRecipeStore& Store() { return *store_; }
    TStoreDialogs& StoreDialogs() { return dialogs_; }
    TSettingsStorage& Settings() override { return *settings_; }
    TImageList* FindListImage() const { return findListImage_.get(); }
    // The caption of the selected list item, if one is selected.
    std::optional<std::wstring> SelectedCaption();
    // Writes the rating into the opened recipe; does nothing unless the view holds a recipe of the list.
    void RateSelectedRecipe(int rating);
    // Shows a search hit in the view; the list, tabs, stars and photo button stay as they are.
    void ShowSearchHit(const std::wstring& path);
    // Reads the settings and loads the icon theme, then rebuilds the tabs.
    void SkinLoad() override;

    // Settings and boxes may be replaced before the window is first shown (tests use their own).
    void UseSettings(TSettingsStorage* storage) { settings_ = storage ? storage : &registry_; }
    void UseDialogs(TStoreDialogs* dialogs) { dialogs_.Target = dialogs; }

    // ---- Components of the form data ----
    TImage* imgStar1 = nullptr;
    TImage* imgStar2 = nullptr;
    TImage* imgStar3 = nullptr;
    TImage* imgStar4 = nullptr;
    TImage* imgStar5 = nullptr;
    TStatusBar* StatusBar = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ExitButton = nullptr;
    TToolButton* AddButton = nullptr;
    TToolButton* GroupButton = nullptr;
    TToolButton* FavoriteButton = nullptr;
    TToolButton* FotoButton = nullptr;
    TToolButton* SaveTBtn = nullptr;
    TToolButton* SearchButton = nullptr;
    TToolButton* PrevButton = nullptr;
    TToolButton* NextButton = nullptr;
    TToolButton* RefreshButton = nullptr;
    TToolButton* PrintButton = nullptr;
    TToolButton* AboutButton = nullptr;
    TAligningPanel* AligningPanel1 = nullptr;
    TsTabControl* sTabControl = nullptr;
    TListView* RecipesList = nullptr;
    TSplitter* Splitter1 = nullptr;
    TRichEdit* Rich = nullptr;
    TImage* null32x32 = nullptr;
    TImage* null16x16 = nullptr;
    TImage* null24x24 = nullptr;
    TMainMenu* MainMenu = nullptr;
    TMenuItem* mSave = nullptr;
    TMenuItem* mDelete = nullptr;
    TMenuItem* mIconView = nullptr;
    TMenuItem* mListView = nullptr;
    TMenuItem* mZUp = nullptr;
    TMenuItem* mZDown = nullptr;
    TMenuItem* mIcons = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* subSave = nullptr;
    TPopupMenu* PopupMenu2 = nullptr;
    TPopupMenu* TabPopupMenu = nullptr;
    TPrinterSetupDialog* PrinterSetup = nullptr;
    TPrintDialog* PrintDialog = nullptr;
    TActionList* ActionList1 = nullptr;
    TAction* NewAction = nullptr;
    TAction* SaveAction = nullptr;
    TAction* DelAction = nullptr;
    TAction* PrintAction = nullptr;

    // The image lists (made with the form, filled by SkinLoad).
    TImageList* MenuImage() const { return menuImage_.get(); }
    TImageList* ToolBarImage() const { return toolBarImage_.get(); }
    TImageList* LbImage() const { return lbImage_.get(); }
    TImageList* LsImage() const { return lsImage_.get(); }
    TImageList* TabImage() const { return tabImage_.get(); }

    // ---- Handlers and operations ----
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormActivate(TObject* sender);
    void SelectFirstCategory();
    void FillCategoryTabs();
    void FillRecipeList(const std::wstring& folder);
    void RecipesListSelectItem(TObject* sender, TListItem* item, bool selected);
    void ShowStars(int n);
    void DisableSave();
    void EnableSave();
    void sTabControlChange(TObject* sender);
    void sTabControlMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

    void AddButtonClick(TObject* sender);
    void mSaveClick(TObject* sender);
    void FavoriteButtonClick(TObject* sender);
    void N5Click(TObject* sender);
    void N11Click(TObject* sender);
    void N12Click(TObject* sender);
    void PrintButtonClick(TObject* sender);
    void N6Click(TObject* sender);
    void ExitButtonClick(TObject* sender);
    void N8Click(TObject* sender);
    void N9Click(TObject* sender);
    void N24Click(TObject* sender);
    void N15Click(TObject* sender);
    void mDeleteClick(TObject* sender);
    void mIconViewClick(TObject* sender);
    void mListViewClick(TObject* sender);
    void mZUpClick(TObject* sender);
    void mZDownClick(TObject* sender);
    void mIconsClick(TObject* sender);
    void menuThemesClick(TObject* sender);
    void GroupButtonClick(TObject* sender);
    void N26Click(TObject* sender);
    void SearchButtonClick(TObject* sender);
    void FotoButtonClick(TObject* sender);
    void PrevButtonClick(TObject* sender);
    void NextButtonClick(TObject* sender);
    void RefreshButtonClick(TObject* sender);
    void AboutButtonClick(TObject* sender);
    void RichKeyPress(TObject* sender, wchar_t& key);
    void RichMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ToolBar1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    // The hover text of a tool button or of the recipe list.
    void ControlMouseMove(TObject* sender, TShiftState shift, int x, int y);

    // Status panel 0 (hover texts, the rating digit) and the simple text (the count).
    std::wstring PanelText(int index);

private:
    void ReadSettings();
    void ApplyTabPosition(bool atBottom);
    void ApplyListStyle(bool bigIcons);
    void ClearView();
    void SelectItem(int index);
    void SetPanelText(int index, const std::wstring& text);
    TImage* Star(int index) const;
    void MakeTemplatePictures();
    void PrintView(const std::wstring& title);
    void FollowListWithTabs(const std::vector<std::wstring>& tabs);

    std::wstring programDir_;
    std::wstring emptyCategoryDir_;
    int recipeCount_ = 0;
    bool tabsFollowList_ = false; // set while the tabs are pointed at the listed category
    std::wstring candidatePhoto_;
    std::wstring themeName_;
    TCounters counters_;
    TRegistrySettings registry_;
    TSettingsStorage* settings_; // borrowed: registry_ or a storage the caller keeps alive
    TForwardingDialogs dialogs_;
    std::unique_ptr<TRecipeStore> store_;
    std::unique_ptr<TRichEditDocument> view_;
    TRecipeViewState viewState_;
    std::unique_ptr<TImageList> menuImage_;
    std::unique_ptr<TImageList> toolBarImage_;
    std::unique_ptr<TImageList> lbImage_;
    std::unique_ptr<TImageList> lsImage_;
    std::unique_ptr<TImageList> tabImage_;
    std::unique_ptr<TImageList> findListImage_;
    std::unique_ptr<TImageList> buttonsImage_;
};

// The program's main form (set by the program block; the dialogs reach the main window through it).
extern TMainForm* MainForm;

// Makes the program's forms known to the form reader by class name.
void RegisterAppClasses();
