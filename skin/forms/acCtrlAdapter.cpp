#include "skin/forms/acCtrlAdapter.h"

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acEditAdapters.h"

#include <algorithm>

namespace {

// The scan's re-entrancy flag and the removal flag are process-wide (one GUI thread).
bool gScanning = false;
bool gRemoving = false;

// The control-type code of the items' skin state.
constexpr int kAdapterItemCOC = 227;

const wchar_t* const kEditClassNames[] = {L"TSynEdit", L"TSynMemo", L"TDBSynEdit"};
const wchar_t* const kRichViewClassNames[] = {L"TRichView", L"TDBRichViewEdit", L"TRichViewEdit", L"TDBRichView"};
const wchar_t* const kTreeClassNames[] = {L"TVirtualStringTree", L"TVirtualDrawTree", L"TEasyListview",
                                          L"TVirtualExplorerListview", L"TVirtualExplorerTreeview"};

template <std::size_t N>
bool NameIn(const std::wstring& name, const wchar_t* const (&names)[N])
{
    return std::any_of(std::begin(names), std::end(names), [&](const wchar_t* n) { return name == n; });
}

TacAdapterPtr<> Make(TacSkinLinks::TAdapterMaker maker, HWND wnd, TsSkinManager* sm, TsCommonData* data,
                     const std::wstring& section)
{
    return maker ? maker(wnd, sm, data, section) : nullptr;
}

// A custom control that publishes grid options of its own.
bool HasGridOptions(TWinControl* control)
{
    return dynamic_cast<TCustomControl*>(control) && HasProperty(control, L"OptionsEh");
}

} // namespace

bool IsAdaptableClassName(const std::wstring& name)
{
    return NameIn(name, kEditClassNames) || NameIn(name, kRichViewClassNames) || NameIn(name, kTreeClassNames);
}

// ---- TacAdapterItem ----

TacAdapterItem::TacAdapterItem() : SkinData(std::make_unique<TsCommonData>(this, true))
{
    SkinData->COC = kAdapterItemCOC;
}

TacAdapterItem::~TacAdapterItem()
{
    // The adapter goes before the skin state it borrows.
    WndAdapter.reset();
    SkinData.reset();
}

void TacAdapterItem::Adapt(TWinControl* control)
{
    if (!control || !control->HandleAllocated())
        return;
    if (control->Parent() && QuerySkinCmd(control, SkinCmdIsSkinned))
        return;
    Control = control;
    SkinData->FOwnerControl = control;
    SkinData->FOwnerObj = control;
    if (!control->Parent())
        return;
    HWND wnd = control->Handle();
    TsSkinManager* sm = SkinData->SkinManager();
    const TacSkinLinks& links = SkinLinks();
    const std::wstring name = control->ClassName();
    if (dynamic_cast<TListView*>(control)) {
        WndAdapter = MakeAdapter<TacListViewWnd>(wnd, true, L"EDIT", sm, SkinData.get());
    } else if (dynamic_cast<TButton*>(control)) {
        SkinData->SetSkinSection(L"BUTTON");
        // A class test: a button derived from the bit button shows its glyph as well.
        const bool bitButton = dynamic_cast<TBitBtn*>(control) != nullptr;
        WndAdapter = Make(bitButton ? links.BitBtnWnd : links.BtnWnd, wnd, sm, SkinData.get(), L"BUTTON");
    } else if (dynamic_cast<TCustomComboBox*>(control)) {
        WndAdapter = Make(links.ComboBoxWnd, wnd, sm, SkinData.get(), L"EDIT");
    } else if (dynamic_cast<TCustomEdit*>(control) || dynamic_cast<TCustomListBox*>(control)) {
        WndAdapter = MakeAdapter<TacEditWnd>(wnd, true, L"EDIT", sm, SkinData.get());
    } else if (dynamic_cast<TPanel*>(control)) {
        SkinData->SetSkinSection(L"PANEL");
        WndAdapter = Make(links.TransPanelWnd, wnd, sm, SkinData.get(), L"PANEL");
    } else if (NameIn(name, kEditClassNames)) {
        WndAdapter = MakeAdapter<TacEditWnd>(wnd, true, L"EDIT", sm, SkinData.get());
    } else if (NameIn(name, kRichViewClassNames)) {
        WndAdapter = Make(links.GridWnd, wnd, sm, SkinData.get(), L"EDIT");
    } else if (NameIn(name, kTreeClassNames)) {
        WndAdapter = Make(links.VirtualTreeViewWnd, wnd, sm, SkinData.get(), L"EDIT");
    } else if (HasGridOptions(control)) {
        WndAdapter = Make(links.GridEhWnd, wnd, sm, SkinData.get(), L"EDIT");
    }
}

// ---- TacCtrlAdapter ----

TacCtrlAdapter::TacCtrlAdapter(TsSkinProvider* provider) : Provider(provider) {}

TacCtrlAdapter::~TacCtrlAdapter()
{
    // Items whose adapter already let go of its window go quietly first.
    Items.erase(std::remove_if(Items.begin(), Items.end(),
                               [](const std::unique_ptr<TacAdapterItem>& item) {
                                   return !item->WndAdapter || item->WndAdapter->Released;
                               }),
                Items.end());
    RemoveAllItems();
}

bool TacCtrlAdapter::IsAdaptable(TWinControl* control)
{
    if (!control || !control->Parent())
        return false;
    if (dynamic_cast<TListView*>(control) || dynamic_cast<TButton*>(control) ||
        dynamic_cast<TCustomComboBox*>(control) || dynamic_cast<TCustomEdit*>(control) ||
        dynamic_cast<TCustomListBox*>(control))
        return true;
    return IsAdaptableClassName(control->ClassName()) || HasGridOptions(control);
}

TacAdapterItem* TacCtrlAdapter::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return Items[static_cast<std::size_t>(index)].get();
}

void TacCtrlAdapter::AddItem(TWinControl* control, const std::wstring& section)
{
    if (!control)
        return;
    if (control->Parent() && QuerySkinCmd(control, SkinCmdIsSkinned))
        return;
    std::wstring skinSection = section;
    if (Provider && Provider->OnSkinItem) {
        bool canBeAdded = true;
        Provider->OnSkinItem(control, canBeAdded, skinSection);
        if (!canBeAdded)
            return;
    }
    auto found = std::find_if(Items.begin(), Items.end(),
                              [&](const std::unique_ptr<TacAdapterItem>& item) { return item->Control == control; });
    const bool isNew = found == Items.end();
    TacAdapterItem* item;
    if (isNew) {
        Items.push_back(std::make_unique<TacAdapterItem>());
        item = Items.back().get();
        item->CtrlAdapter = this;
        item->Control = control;
    } else {
        item = found->get();
    }
    item->SkinData->SetSkinSection(skinSection);
    if (!isNew) {
        // An adapter that let go of its window (released, or detached when the window went) is replaced.
        if (item->WndAdapter && (item->WndAdapter->Released || item->WndAdapter->Detached)) {
            item->WndAdapter.reset();
            if (control->Parent())
                item->Adapt(control);
        }
        return;
    }
    if (control->Parent())
        item->Adapt(control);
    if (!item->WndAdapter)
        Items.pop_back();
}

void TacCtrlAdapter::RemoveItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    Items.erase(Items.begin() + index);
}

void TacCtrlAdapter::ScanOne(TComponent* component)
{
    auto* win = dynamic_cast<TWinControl*>(component);
    if (win && IsAdaptable(win)) {
        AddItem(win, L"EDIT");
    } else if (auto* label = dynamic_cast<TLabel*>(component)) {
        label->SetTransparent(true);
        if (TsSkinManager* sm = DefaultManager())
            label->Font()->SetColor(GetGlobalFontColor(sm));
    }
    if (win && win->HandleAllocated() && win->Parent()) {
        gScanning = false;
        AddAllItems(win);
    }
}

void TacCtrlAdapter::AddAllItems(TWinControl* control)
{
    if (gScanning || !Provider)
        return;
    TsSkinManager* sm = Provider->SkinData() ? Provider->SkinData()->GetSkinManager() : nullptr;
    if (!sm || !sm->SkinningRules.Contains(srThirdParty))
        return;
    gScanning = true;
    TWinControl* root = control ? control : Provider->Form();
    if (root) {
        for (int i = 0; i < root->ComponentCount(); ++i)
            ScanOne(root->Components(i));
        for (int i = 0; i < root->ControlCount(); ++i)
            ScanOne(root->Controls(i));
    }
    gScanning = false;
}

void TacCtrlAdapter::BroadcastToItems(TMessage& message)
{
    for (const auto& item : Items) {
        // A detached adapter's control may be gone already: its window was destroyed under it.
        if (!item->WndAdapter || item->WndAdapter->Released || item->WndAdapter->Detached || !item->Control ||
            !item->Control->Parent())
            continue;
        try {
            SendToControlWindow(item->Control, message.Msg, message.WParam, message.LParam);
        } catch (...) {
            // A control that fails to hear a broadcast keeps its old look; the others still hear it.
        }
    }
}

void TacCtrlAdapter::RemoveAllItems()
{
    if (gRemoving)
        return;
    gRemoving = true;
    SetAdaptersBeingRemoved(true);
    while (!Items.empty())
        Items.pop_back();
    SetAdaptersBeingRemoved(false);
    gRemoving = false;
}

std::unique_ptr<IacProviderCtrlAdapter> MakeCtrlAdapter(TsSkinProvider* provider)
{
    return std::make_unique<TacCtrlAdapter>(provider);
}
