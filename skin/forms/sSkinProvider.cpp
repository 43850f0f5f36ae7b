// The provider's life around its form: attaching to the form's window procedure, preparing the form for
// the skin, the menus and adapters it hands the form to, the window region, and giving everything back.
#include "skin/forms/sSkinProvider.h"

#include "framework/FormData.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessageBox.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sStoredSkins.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acScrollBars.h"
#include "skin/forms/sMDIForm.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"

TsSkinProvider* MDIMainProvider = nullptr;
TsSkinProvider* MaximizedChildProvider = nullptr;

TsSkinProvider::TsSkinProvider(TComponent* owner)
    : TComponent(owner),
      titleButtons_(std::make_unique<TsTitleButtons>(this)),
      titleIcon_(std::make_unique<TsTitleIcon>())
{
    form_ = GetOwnerForm(this);
    skinData_ = std::make_unique<TsCommonData>(this, true);
    skinData_->COC = COC_TsSkinProvider;
    skinData_->SetSkinSection(L"FORM");
    if (!form_)
        return;
    // At most one provider works per form: a later one stays inert.
    for (int i = 0; i < form_->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TsSkinProvider*>(form_->Components(i));
        if (other && other != this) {
            form_ = nullptr;
            if (IsDesigning())
                ShowWarningBox(L"Only one TsSkinProvider component is allowed!");
            break;
        }
    }
    if (!form_ || IsDesigning())
        return;
    form_->SetDoubleBuffered(false);
    buttonsCache_ = CreateBmp24(0, 0);
    menuLineBmp_ = CreateBmp24(0, 0);
    mdiSetupPending_ = true;
    cornerRects_.clear();
    menuLineCount_ = -1;
    oldWndProc_ = form_->WindowProc;
    ownWndProc_ = TWndMethod(this, &TsSkinProvider::ProviderWndProc);
    form_->WindowProc = ownWndProc_;
    attached_ = true;
    RegisterSkinnedForm(form_);
    formActive_ = true;
}

TsSkinProvider::~TsSkinProvider()
{
    FreeScrollAdapter();
    if (attached_ && form_) {
        UnregisterSkinnedForm(form_);
        // Someone who subclassed the form after us keeps the chain: only our own entry is taken out.
        if (form_->WindowProc == ownWndProc_)
            form_->WindowProc = oldWndProc_;
        if (!form_->HasState(csDestroying))
            GiveFormBack();
        if (MDIMainProvider == this)
            SetMDIForm(false);
        if (systemMenu_) {
            TsSystemMenu* menu = systemMenu_;
            systemMenu_ = nullptr;
            Free(menu);
        }
        buttonsCache_.reset();
        menuLineBmp_.reset();
        captionBmp_.reset();
        attached_ = false;
    }
    if (MaximizedChildProvider == this)
        MaximizedChildProvider = nullptr;
    DropMDIState();
    CancelTracking();
    titleIcon_.reset();
    titleButtons_.reset();
    adapter_.reset();
    skinData_.reset();
}

void TsSkinProvider::GiveFormBack()
{
    // A form that outlives its provider gets its system menu, colour and square corners back.
    RestoreSysMenuStyle();
    if (useGlobalColor_ && !skinData_->CustomColor())
        form_->SetColor(clBtnFace);
    if (!form_->HandleAllocated())
        return;
    HWND wnd = form_->Handle();
    SetWindowRgn(wnd, nullptr, FALSE);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TsSkinProvider::AfterConstruction()
{
    TComponent::AfterConstruction();
    TsSkinManager* sm = Manager();
    if (sm && sm->Active() && !HasState(csLoading))
        PrepareForm();
}

void TsSkinProvider::Loaded()
{
    TComponent::Loaded();
    TsSkinManager* sm = Manager();
    if (!sm || IsDesigning() || !form_ || !skinData_->Skinned(true))
        return;
    if (!adapter_)
        CreateAdapter();
    PrepareForm();
    UpdateSystemMenuItems();
    int index = FindMaskIndex(sm, sm->ConstData.GlobalInfo, L"GLOBALINFO", L"TITLEBUTTON");
    if (!IsValidMaskIndex(sm, index))
        index = FindMaskIndex(sm, skinData_->SkinIndex, skinData_->SkinSection(), L"TITLEBUTTON");
    for (int i = 0; i < titleButtons_->Count(); ++i) {
        TsTitleButton* button = titleButtons_->Items(i);
        button->ImageIndex = button->UseSkinData ? index : -1;
    }
    // What the reading queued for the MDI main form and its client window is handled before the client
    // gets its adapter.
    if (form_->FormStyle() == fsMDIForm && Application)
        Application->ProcessMessages();
    UpdateMDIClient();
}

void TsSkinProvider::SetMDIForm(bool value)
{
    if (value) {
        if (!mdiForm_)
            mdiForm_ = std::make_unique<TsMDIForm>(this);
        MDIMainProvider = this;
        return;
    }
    mdiForm_.reset();
    if (MDIMainProvider == this)
        MDIMainProvider = nullptr;
}

void TsSkinProvider::UpdateMDIClient()
{
    if (mdiForm_)
        mdiForm_->UpdateMDIClient();
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove)
        ComponentFreed(component);
    if (!skinData_)
        return;
    auto* sm = dynamic_cast<TsSkinManager*>(component);
    if (sm && operation == TOperation::opInsert && !skinData_->GetSkinManager())
        skinData_->SetSkinManagerField(sm);
    else if (sm && operation == TOperation::opRemove && skinData_->SkinManager() == sm)
        skinData_->SetSkinManagerField(nullptr);
    auto* control = dynamic_cast<TWinControl*>(component);
    if (control && operation == TOperation::opInsert && adapter_ && adapter_->IsAdaptable(control))
        adapter_->AddNewItem(control);
}

// ---- Properties ----

void TsSkinProvider::SetCaptionAlignment(TAlignment value)
{
    if (captionAlignment_ == value)
        return;
    captionAlignment_ = value;
    SetFrameDirty();
    if (form_ && form_->Visible())
        SendNcPaint();
}

void TsSkinProvider::SetTitleButtons(TsTitleButtons* value)
{
    titleButtons_->Assign(value);
}

void TsSkinProvider::SetTitleSkin(const std::wstring& value)
{
    if (titleSkin_ == value)
        return;
    titleSkin_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetUseGlobalColor(bool value)
{
    if (useGlobalColor_ == value)
        return;
    useGlobalColor_ = value;
    if (!form_)
        return;
    TsSkinManager* sm = Manager();
    if (skinData_->Skinned() && value && !skinData_->CustomColor() && sm)
        form_->SetColor(GetGlobalColor(sm));
    else
        form_->SetColor(clBtnFace);
}

// ---- Preparing the form ----

bool TsSkinProvider::SkinnedNow() const
{
    TsSkinManager* sm = Manager();
    return form_ && sm && sm->Active() && !form_->HasState(csDestroying) && skinData_->Skinned(true);
}

bool TsSkinProvider::FormBusy() const
{
    return !form_ || form_->HasState(csDestroying) || form_->HasState(csLoading);
}

void TsSkinProvider::SendNcPaint()
{
    if (form_ && form_->HandleAllocated())
        SendMessageW(form_->Handle(), WM_NCPAINT, 0, 0);
}

bool TsSkinProvider::OnScreen() const
{
    return form_ && form_->HandleAllocated() && PaintsShown(form_->Handle());
}

void TsSkinProvider::RemoveSysMenuStyle()
{
    if (!form_ || !form_->HandleAllocated())
        return;
    try {
        HWND wnd = form_->Handle();
        const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
        if (style & WS_SYSMENU)
            SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    } catch (...) {
        // A window going away keeps its style.
    }
}

void TsSkinProvider::RestoreSysMenuStyle()
{
    if (!form_ || !form_->HandleAllocated() || form_->BorderIcons().Empty())
        return;
    HWND wnd = form_->Handle();
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    if (!(style & WS_SYSMENU))
        SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
}

void TsSkinProvider::ApplyGlobalColor()
{
    TsSkinManager* sm = Manager();
    if (!form_ || !sm || skinData_->Updating() || FormBusy() || HasState(csLoading) || !useGlobalColor_ ||
        skinData_->CustomColor())
        return;
    form_->SetColor(GetGlobalColor(sm));
}

void TsSkinProvider::PrepareForm()
{
    TsSkinManager* sm = Manager();
    if (!sm || !form_)
        return;
    skinData_->Loaded();
    if (!systemMenu_) {
        systemMenu_ = new TsSystemMenu(this);
        systemMenu_->Form = form_;
    }
    UpdateSystemMenuItems();
    if (sm->SkinData()->Active && !IsMDIChild())
        RemoveSysMenuStyle();
    if (mdiSetupPending_ && sm->SkinData()->Active) {
        mdiSetupPending_ = false;
        if (form_->FormStyle() == fsMDIForm && !IsDesigning())
            SetMDIForm(true);
    }
    skinData_->UpdateIndexes();
    InitCaptionButtons();
    if (IsMDIChild() && MDIMainProvider && MDIMainProvider != this && MDIMainProvider->form_ &&
        !MDIMainProvider->form_->HasState(csDestroying) && MDIMainProvider->skinData_->Skinned()) {
        MDIMainProvider->SetFrameDirty();
        MDIMainProvider->menuLineCount_ = -1;
    }
    // The global colour: only outside updates, loading and destruction.
    if (!skinData_->FUpdating && !FormBusy() && !HasState(csLoading) && useGlobalColor_ && !skinData_->CustomColor())
        form_->SetColor(GetGlobalColor(sm));
}

void TsSkinProvider::UpdateSystemMenuItems()
{
    if (!systemMenu_)
        return;
    try {
        systemMenu_->UpdateItems();
    } catch (...) {
        // Forms in odd states keep the items as they were.
    }
}

void TsSkinProvider::CreateAdapter()
{
    if (adapter_ || !form_ || !SkinLinks().MakeCtrlAdapter)
        return;
    adapter_ = SkinLinks().MakeCtrlAdapter(this);
    if (adapter_)
        adapter_->AddAllItems(nullptr);
}

TsSkinableMenus* TsSkinProvider::Menus() const
{
    TsSkinManager* sm = Manager();
    return sm ? dynamic_cast<TsSkinableMenus*>(sm->SkinableMenus()) : nullptr;
}

void TsSkinProvider::HookComponentMenus(TComponent* owner, bool value)
{
    TsSkinableMenus* menus = Menus();
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (auto* main = dynamic_cast<TMainMenu*>(c)) {
            menus->HookMainMenu(main, value);
        } else if (auto* popup = dynamic_cast<TPopupMenu*>(c)) {
            menus->HookPopupMenu(popup, value);
        } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
            if (!dynamic_cast<TMainMenu*>(item->GetParentMenu()))
                menus->HookSubItems(item, value);
        }
        if (c->ComponentCount() > 0)
            HookComponentMenus(c, value);
    }
}

void TsSkinProvider::HookMenus(bool value)
{
    TsSkinManager* sm = Manager();
    TsSkinableMenus* menus = Menus();
    if (IsDesigning() || !form_ || !menus || !sm->IsDefault() || !sm->SkinnedPopups())
        return;
    menus->SetActive(value);
    HookComponentMenus(form_, value);
}

void TsSkinProvider::PrepareMainMenu()
{
    TMainMenu* menu = form_ ? form_->Menu() : nullptr;
    if (!menu || menu->Items()->Count() == 0)
        return;
    TMenuItem* first = menu->Items()->Items(0);
    const std::wstring caption = first->Caption();
    skinData_->BeginSkinUpdate();
    const bool ownerDraw = skinData_->Skinned();
    if (menu->OwnerDraw() != ownerDraw) {
        // Switching the drawing builds every menu of the tree again, the bar included.
        menu->SetOwnerDraw(ownerDraw);
    } else {
        // Changing the first caption makes the system build the menu bar again (and measure its
        // owner-drawn items anew).
        first->SetCaption(L"");
        first->SetCaption(caption);
    }
    skinData_->EndSkinUpdate();
}

void TsSkinProvider::RepaintFrame()
{
    SetFrameDirty();
    menuDirty_ = true;
    menuLineCount_ = -1;
    SendNcPaint();
}

void TsSkinProvider::InvalidateFrame()
{
    SetFrameDirty();
    menuDirty_ = true;
    menuLineCount_ = -1;
    if (form_ && form_->HandleAllocated())
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
}

TsSkinProvider* TsSkinProvider::ProviderOfMenuItem(TMenuItem* item)
{
    for (TComponent* c = item; c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) {
            if (!form->HandleAllocated())
                return nullptr;
            return reinterpret_cast<TsSkinProvider*>(SendSkinCmd(form->Handle(), SkinCmdGetProvider, 0));
        }
    return nullptr;
}

void TsSkinProvider::ShowSystemMenu(int x, int y)
{
    if (!systemMenu_ || !form_)
        return;
    if (MakeSkinMenu) {
        systemMenu_->RemoveSkinList();
        systemMenu_->BuildSkinList();
        TsSkinManager* sm = Manager();
        if (sm && sm->SkinnedPopups() && Menus())
            Menus()->HookPopupMenu(systemMenu_, true);
    }
    UpdateSystemMenuItems();
    // The form hears the menu's messages (its loop, its popups opening) and takes its commands.
    if (form_->HandleAllocated())
        systemMenu_->SetWindowHandle(form_->Handle());
    systemMenu_->Popup(x, y);
}

// ---- Window region ----

void TsSkinProvider::UpdateRegionRects()
{
    cornerRects_.clear();
    TsSkinManager* sm = Manager();
    if (!sm)
        return;
    const int width = FormWidth();
    if (IsValidMaskIndex(sm, skinData_->BorderIndex)) {
        const TsMaskData& md = sm->Masks[static_cast<size_t>(skinData_->BorderIndex)];
        AddRgnFromMask(cornerRects_, width, md, false, 0);
        AddRgnFromMask(cornerRects_, width, md, true, FormHeight() - md.WB);
    }
    const int title = TitleSectionIndex();
    if (title >= 0) {
        const std::wstring name = sm->Sections[static_cast<size_t>(title)].ClassName;
        const int mask = FindMaskIndex(sm, title, name, L"BORDERSMASK");
        if (IsValidMaskIndex(sm, mask))
            AddRgnFromMask(cornerRects_, width, sm->Masks[static_cast<size_t>(mask)], false, 0);
    }
}

HRGN TsSkinProvider::CreateFormRegion(int x, int y)
{
    return RegionLessRects(TRect{0, 0, FormWidth(), FormHeight()}, cornerRects_, x, y).Release();
}

void TsSkinProvider::UpdateFormRegion(bool redraw)
{
    if (suspendRegion_ || !HasBorder() || !form_ || !form_->HandleAllocated())
        return;
    // A form placed in another control is cut to the skin's corners as a form of its own is.
    HWND wnd = form_->Handle();
    // A form that keeps a region of its own says so; it keeps it until our first complete frame.
    if (framePainted_ || SendMessageW(wnd, 0xBC4D, 0x41A2, 0) != 0x41A2) {
        GdiObject<HRGN> region(CreateFormRegion(0, 0));
        // The same region again would only make the system work out the frame anew and repaint it.
        if (WindowRegionEquals(wnd, region.Get()))
            return;
        settingRegion_ = true;
        SetWindowRegion(wnd, std::move(region), redraw);
    }
}

// ---- Links with the skin core ----

TsSkinManager* ProviderManagerOf(LRESULT provider)
{
    auto* p = reinterpret_cast<TsSkinProvider*>(provider);
    return p && p->SkinData() ? p->SkinData()->GetSkinManager() : nullptr;
}

void RefreshProviderOf(LRESULT provider)
{
    auto* p = reinterpret_cast<TsSkinProvider*>(provider);
    if (!p || !p->Form())
        return;
    p->UpdateRegionRects();
    p->UpdateFormRegion(true);
    p->InvalidateFrame();
}

HRGN ProviderFadeRegionOf(LRESULT provider)
{
    auto* p = reinterpret_cast<TsSkinProvider*>(provider);
    if (!p || !p->Form() || !p->HasBorder())
        return nullptr;
    p->SkinData()->BGChanged = true;
    p->PaintFrame();
    p->UpdateRegionRects();
    return p->CreateFormRegion(0, 0);
}

bool ProviderMenuLineSource(LRESULT provider, TacMenuLineSource& source)
{
    auto* p = reinterpret_cast<TsSkinProvider*>(provider);
    if (!p || !p->Form())
        return false;
    source.MenuLineBmp = p->MenuLineBmp();
    source.CaptionHeight = p->CaptionHeight();
    source.SysBorderHeight = p->SysBorderHeight();
    source.FullBorderHeight = p->SysBorderHeight();
    source.Form = p->Form();
    return true;
}

LRESULT MDIMainProviderOf()
{
    return reinterpret_cast<LRESULT>(MDIMainProvider);
}

void RegisterSkinProviderClasses()
{
    // The program links the form-skinning layer before anything else registers classes.
    RegisterClass<TComponent>(L"TComponent", L"");
    RegisterClass<TsSkinProvider>(L"TsSkinProvider", L"TComponent")
        .Enum(L"CaptionAlignment", &TsSkinProvider::SetCaptionAlignment,
              {{L"taLeftJustify", taLeftJustify}, {L"taRightJustify", taRightJustify}, {L"taCenter", taCenter}})
        .Custom(L"GripMode",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->GripMode = TClassBuilder<TsSkinProvider>::IdentValue(
                        v, r, std::vector<std::pair<std::wstring, TsGripMode>>{{L"gmNone", gmNone},
                                                                               {L"gmRightBottom", gmRightBottom}});
                })
        .Custom(L"MakeSkinMenu",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->MakeSkinMenu = TClassBuilder<TsSkinProvider>::BoolValue(v, r);
                })
        .String(L"MenuLineSkin", &TsSkinProvider::SetMenuLineSkin)
        .Custom(L"ResizeMode",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->ResizeMode = TClassBuilder<TsSkinProvider>::IdentValue(
                        v, r, std::vector<std::pair<std::wstring, TsResizeMode>>{{L"rmStandard", rmStandard},
                                                                                 {L"rmBorder", rmBorder}});
                })
        .Custom(L"ScreenSnap",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->ScreenSnap = TClassBuilder<TsSkinProvider>::BoolValue(v, r);
                })
        .Custom(L"SnapBuffer",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->SnapBuffer = TClassBuilder<TsSkinProvider>::IntValue(v, r);
                })
        .Custom(L"ShowAppIcon",
                [](TsSkinProvider* p, const TFormValue& v, TFormReader& r) {
                    p->ShowAppIcon = TClassBuilder<TsSkinProvider>::BoolValue(v, r);
                })
        .String(L"TitleSkin", &TsSkinProvider::SetTitleSkin)
        .Bool(L"UseGlobalColor", &TsSkinProvider::SetUseGlobalColor)
        .Object(L"SkinData", &TsSkinProvider::SkinData)
        .Object(L"TitleButtons", &TsSkinProvider::TitleButtons)
        .Object(L"TitleIcon", &TsSkinProvider::TitleIcon)
        .Event(L"OnSkinItem", &TsSkinProvider::OnSkinItem);
    RegisterClass<TPersistent>(L"TPersistent", L"");
    RegisterClass<TCollectionItem>(L"TCollectionItem", L"TPersistent");
    using TIconBuilder = TClassBuilder<TsTitleIcon>;
    RegisterClass<TsTitleIcon>(L"TsTitleIcon", L"TPersistent")
        .Custom(L"Glyph", [](TsTitleIcon* i, const TFormValue& v, TFormReader& r) { ReadFormPicture(i->Glyph(), v, r); })
        .Custom(L"Height", [](TsTitleIcon* i, const TFormValue& v, TFormReader& r) { i->Height = TIconBuilder::IntValue(v, r); })
        .Custom(L"Width", [](TsTitleIcon* i, const TFormValue& v, TFormReader& r) { i->Width = TIconBuilder::IntValue(v, r); });
    using TButtonBuilder = TClassBuilder<TsTitleButton>;
    RegisterClass<TsTitleButton>(L"TsTitleButton", L"TCollectionItem")
        .String(L"Name", &TsTitleButton::SetName)
        .Custom(L"Glyph",
                [](TsTitleButton* b, const TFormValue& v, TFormReader& r) {
                    // Through the setter, so the collection hears of the change.
                    TBitmap glyph;
                    ReadFormPicture(&glyph, v, r);
                    b->SetGlyph(&glyph);
                })
        .Custom(L"Enabled", [](TsTitleButton* b, const TFormValue& v, TFormReader& r) { b->Enabled = TButtonBuilder::BoolValue(v, r); })
        .Custom(L"UseSkinData",
                [](TsTitleButton* b, const TFormValue& v, TFormReader& r) { b->UseSkinData = TButtonBuilder::BoolValue(v, r); })
        .Event(L"OnMouseDown", &TsTitleButton::OnMouseDown)
        .Event(L"OnMouseUp", &TsTitleButton::OnMouseUp);
}
