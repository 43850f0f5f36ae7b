#include "skin/forms/sSystemMenu.h"

#include "framework/Forms.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"

namespace {

constexpr const wchar_t* kSkinSelectName = L"SkinSelectItem";
constexpr int kSkinsPerColumn = 20;

// A menu shows "&&" as one ampersand; a single one only marks the access key.
std::wstring EscapeAmpersands(const std::wstring& name)
{
    std::wstring caption;
    for (wchar_t c : name) {
        caption += c;
        if (c == L'&')
            caption += L'&';
    }
    return caption;
}

} // namespace

std::wstring SkinNameOfCaption(const std::wstring& caption)
{
    std::wstring name;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != L'&')
            name += caption[i];
        else if (i + 1 < caption.size() && caption[i + 1] == L'&')
            name += caption[++i];
    }
    return name;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider) : TPopupMenu(provider), Provider(provider)
{
    ItemRestore = MakeItem(L"ItemRestore", L"Restore", &TsSystemMenu::RestoreClick);
    ItemMove = MakeItem(L"ItemMove", L"Move", &TsSystemMenu::MoveClick);
    ItemSize = MakeItem(L"ItemSize", L"Size", &TsSystemMenu::SizeClick);
    ItemMinimize = MakeItem(L"ItemMinimize", L"Minimize", &TsSystemMenu::MinimizeClick);
    ItemMaximize = MakeItem(L"ItemMaximize", L"Maximize", &TsSystemMenu::MaximizeClick);
    auto* line = new TMenuItem(this);
    line->SetCaption(L"-");
    Items()->Add(line);
    ItemClose = MakeItem(L"ItemClose", L"Close", &TsSystemMenu::CloseClick);
    ItemClose->SetShortCut(scAlt | VK_F4);
}

TMenuItem* TsSystemMenu::MakeItem(const wchar_t* name, const wchar_t* caption, void (TsSystemMenu::*click)(TObject*))
{
    return AddMenuItem(this, name, caption, TNotifyEvent(this, click));
}

bool TsSystemMenu::IsMDIChild() const
{
    return Form && Form->FormStyle() == fsMDIChild;
}

void TsSystemMenu::SendCommand(WPARAM command)
{
    if (Form && Form->HandleAllocated())
        SendMessageW(Form->Handle(), WM_SYSCOMMAND, command, 0);
}

void TsSystemMenu::RestoreClick(TObject*)
{
    SendCommand(SC_RESTORE);
    UpdateItems();
}

void TsSystemMenu::MoveClick(TObject*)
{
    SendCommand(SC_MOVE);
}

void TsSystemMenu::SizeClick(TObject*)
{
    SendCommand(SC_SIZE);
}

void TsSystemMenu::MinimizeClick(TObject*)
{
    if (Application && Form && Application->MainForm() == Form) {
        Application->Minimize();
        UpdateItems();
        return;
    }
    SendCommand(SC_MINIMIZE);
}

void TsSystemMenu::MaximizeClick(TObject*)
{
    if (!Form)
        return;
    if (IsMDIChild())
        MaximizedChildProvider = Provider;
    else
        Form->SetWindowState(wsMaximized);
    SendCommand(SC_MAXIMIZE);
    UpdateItems();
}

void TsSystemMenu::CloseClick(TObject*)
{
    SendCommand(SC_CLOSE);
}

// ---- Visibility and enabling rules ----

namespace {

bool IsToolOrPlain(TFormBorderStyle bs)
{
    return bs == bsNone || bs == bsDialog || bs == bsToolWindow || bs == bsSizeToolWin;
}

bool FormIconic(TCustomForm* form)
{
    return form->HandleAllocated() && ::IsIconic(form->Handle());
}

} // namespace

bool TsSystemMenu::VisibleClose() const
{
    return Form && Form->BorderIcons().Contains(biSystemMenu);
}

bool TsSystemMenu::VisibleMax() const
{
    if (!Form)
        return false;
    if (FormIconic(Form) || IsMDIChild())
        return true;
    const TBorderIcons icons = Form->BorderIcons();
    if (IsToolOrPlain(Form->BorderStyle()))
        return false;
    return icons.Contains(biSystemMenu) && icons.Contains(biMaximize);
}

bool TsSystemMenu::VisibleMin() const
{
    try {
        if (!Form)
            return false;
        if (FormIconic(Form) || IsMDIChild())
            return true;
        const TFormBorderStyle bs = Form->BorderStyle();
        if (IsToolOrPlain(bs))
            return false;
        const TBorderIcons icons = Form->BorderIcons();
        if (bs == bsSingle && !icons.Contains(biMinimize))
            return false;
        return icons.Contains(biSystemMenu);
    } catch (...) {
        return false;
    }
}

bool TsSystemMenu::CanMaximize() const
{
    if (!Form || !Form->BorderIcons().Contains(biMaximize))
        return false;
    if (IsMDIChild())
        return true;
    const TFormBorderStyle bs = Form->BorderStyle();
    return Form->WindowState() != wsMaximized && (bs == bsSingle || bs == bsSizeable);
}

bool TsSystemMenu::CanMinimize() const
{
    return Form && Form->BorderIcons().Contains(biMinimize) && Form->WindowState() != wsMinimized;
}

bool TsSystemMenu::CanMove() const
{
    return Form && Form->WindowState() != wsMaximized;
}

bool TsSystemMenu::CanRestore() const
{
    if (!Form)
        return false;
    const TWindowState ws = Form->WindowState();
    return (Form->BorderIcons().Contains(biMaximize) && ws != wsNormal) || ws == wsMinimized;
}

bool TsSystemMenu::CanSize() const
{
    return Form && Form->BorderStyle() != bsSingle && !FormIconic(Form);
}

void TsSystemMenu::UpdateItems()
{
    if (!Form)
        return;
    try {
        const TFormBorderStyle bs = Form->BorderStyle();
        ItemRestore->SetVisible(IsMDIChild() || (!IsToolOrPlain(bs) && Form->BorderIcons().Contains(biSystemMenu)));
        ItemRestore->SetEnabled(CanRestore());
        ItemMove->SetVisible(true);
        ItemMove->SetEnabled(CanMove());
        ItemSize->SetVisible(IsMDIChild() || !(bs == bsNone || bs == bsDialog || bs == bsToolWindow));
        ItemSize->SetEnabled(CanSize());
        ItemMinimize->SetVisible(VisibleMin());
        ItemMinimize->SetEnabled(CanMinimize());
        ItemMaximize->SetVisible(VisibleMax());
        ItemMaximize->SetEnabled(CanMaximize());
        ItemClose->SetVisible(VisibleClose());
        ItemClose->SetEnabled(true);
    } catch (...) {
        // A form in an odd state keeps the items as they were.
    }
}

// ---- The list of skins ----

void TsSystemMenu::RemoveSkinList()
{
    if (Items()->Count() == 0 || Items()->Items(0)->Name() != kSkinSelectName)
        return;
    TMenuItem* list = Items()->Items(0);
    while (list->Count() > 0)
        Free(list->Items(list->Count() - 1));
    Free(list);
}

void TsSystemMenu::BuildSkinList()
{
    TsSkinManager* sm = Provider ? Provider->SkinData()->GetSkinManager() : nullptr;
    if (!sm)
        return;
    TStringList names;
    std::wstring first;
    sm->ListSkinNames(&names, slFoldersAndPackedFiles, first);
    if (names.Count() == 0)
        return;
    auto* list = new TMenuItem(this);
    list->SetName(kSkinSelectName);
    list->SetCaption(L"Available skins");
    Items()->Insert(0, list);
    if (Items()->Count() < 2 || !Items()->Items(1)->IsLine()) {
        auto* line = new TMenuItem(this);
        line->SetCaption(L"-");
        Items()->Insert(1, line);
    }
    for (int i = 0; i < names.Count(); ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(EscapeAmpersands(names.Strings(i)));
        item->SetRadioItem(true);
        item->SetChecked(names.Strings(i) == sm->SkinName());
        if (i > 0 && i % kSkinsPerColumn == 0)
            item->SetBreak(mbBreak);
        item->SetName(std::wstring(kSkinSelectName) + std::to_wstring(i));
        item->OnClick = TNotifyEvent(this, &TsSystemMenu::SkinItemClick);
        list->Add(item);
    }
}

void TsSystemMenu::SkinItemClick(TObject* sender)
{
    TsSkinManager* sm = Provider ? Provider->SkinData()->GetSkinManager() : nullptr;
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!sm || !item)
        return;
    sm->SetSkinName(SkinNameOfCaption(item->Caption()));
}

// ---- Caption icon and title buttons ----

TsTitleIcon::TsTitleIcon() : glyph_(std::make_unique<TBitmap>()) {}

TsTitleButton::TsTitleButton(TCollection* collection)
    : TCollectionItem(collection), glyph_(std::make_unique<TBitmap>())
{
}

void TsTitleButton::SetName(const std::wstring& value)
{
    if (value != name_)
        name_ = value;
}

void TsTitleButton::SetGlyph(TBitmap* value)
{
    glyph_->Assign(value);
    Changed(false);
}

TsTitleButtons::TsTitleButtons(TsSkinProvider* owner)
    : TCollection(&MakeCollectionItem<TsTitleButton>, owner), owner_(owner)
{
}

TsTitleButtons::~TsTitleButtons()
{
    owner_ = nullptr;
}
