// The provider's multiple-document side: the buttons and icon of a maximized child in the main form's
// menu line, the child's system commands, activation and destruction, which repaint the main frame, and
// the icon form that keeps those buttons visible while the main form's menu loop runs.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sMDIForm.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"

#include <algorithm>
#include <cstdint>

namespace {

// The MDI child created while the active child is maximized, until its first paint maximizes it; the
// child that asked is the one maximized, whichever form paints first.
TsSkinProvider* MaximizeOnCreate = nullptr;
TForm* MDIIconsForm = nullptr; // owned by the application while the main form's menu loop runs

constexpr int kMDIIconsWidth = 60;

int GlobalMask(TsSkinManager* sm, const wchar_t* name)
{
    return FindMaskIndexNoParent(sm, L"GLOBALINFO", name);
}

bool Inside(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// The main form's active child when it is maximized.
TCustomForm* MaximizedChildOf(const TCustomForm* mainForm)
{
    if (!mainForm || mainForm->FormStyle() != fsMDIForm || !mainForm->ClientHandle())
        return nullptr;
    TCustomForm* child = mainForm->ActiveMDIChild();
    return child && child->HandleAllocated() && IsZoomed(child->Handle()) ? child : nullptr;
}

} // namespace

// ---- The main provider as children see it ----

TsSkinProvider* TsSkinProvider::LiveMainProvider() const
{
    TsSkinProvider* main = MDIMainProvider;
    if (!main || main == this || !main->form_ || main->form_->HasState(csDestroying) || !main->skinData_->Skinned())
        return nullptr;
    return main;
}

TCustomForm* TsSkinProvider::MaximizedActiveChild() const
{
    return form_ && form_->FormStyle() == fsMDIForm ? MaximizedChildOf(form_) : nullptr;
}

bool TsSkinProvider::ShowsMDIChildButtons() const
{
    return MDIMainProvider == this && form_->Menu() && MaximizedChildProvider && MaximizedActiveChild();
}

bool TsSkinProvider::HiddenBehindMaximizedChild() const
{
    if (!IsMDIChild())
        return false;
    TsSkinProvider* main = LiveMainProvider();
    TCustomForm* maximized = main ? main->MaximizedActiveChild() : nullptr;
    return maximized && maximized != form_;
}

void TsSkinProvider::SuspendRedraw(bool alsoMain)
{
    skinData_->BeginSkinUpdate();
    SendMessageW(form_->Handle(), WM_SETREDRAW, 0, 0);
    if (TsSkinProvider* main = alsoMain && IsMDIChild() ? LiveMainProvider() : nullptr) {
        main->skinData_->BeginSkinUpdate();
        SendMessageW(main->form_->Handle(), WM_SETREDRAW, 0, 0);
    }
}

void TsSkinProvider::ResumeRedraw(bool alsoMain)
{
    skinData_->EndSkinUpdate();
    SendMessageW(form_->Handle(), WM_SETREDRAW, 1, 0);
    if (TsSkinProvider* main = alsoMain && IsMDIChild() ? LiveMainProvider() : nullptr) {
        main->skinData_->EndSkinUpdate();
        SendMessageW(main->form_->Handle(), WM_SETREDRAW, 1, 0);
    }
}

void TsSkinProvider::RefreshMainFrame()
{
    TsSkinProvider* main = MDIMainProvider;
    if (!main || !main->form_ || main->form_->HasState(csDestroying) || !main->form_->HandleAllocated())
        return;
    main->skinData_->BeginSkinUpdate();
    if (Application)
        Application->ProcessMessages();
    main->SetFrameDirty();
    main->menuLineCount_ = -1;
    main->skinData_->EndSkinUpdate();
    if (main->mdiForm_)
        main->mdiForm_->RefreshProviderFrame();
    RedrawWindow(main->form_->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

void TsSkinProvider::MainFrameChanged()
{
    TsSkinProvider* main = LiveMainProvider();
    if (!main)
        return;
    main->menuDirty_ = true;
    main->SetFrameDirty();
    main->menuLineCount_ = -1;
    main->SendNcPaint();
}

// ---- Buttons of the maximized child ----

void TsSkinProvider::InitMDIChildButtons(bool fromForm, bool big)
{
    TsSkinManager* sm = Manager();
    if (form_->FormStyle() != fsMDIForm || IsDesigning())
        return;
    if (fromForm) {
        mdiMinButton_.ImageIndex = minButton_.ImageIndex;
        mdiMaxButton_.ImageIndex = maxButton_.ImageIndex;
        mdiCloseButton_.ImageIndex = closeButton_.ImageIndex;
        return;
    }
    mdiMinButton_.ImageIndex = GlobalMask(sm, big ? L"BICONMIN" : L"SICONMIN");
    mdiMaxButton_.ImageIndex = GlobalMask(sm, big ? L"BICONMAX" : L"SICONMAX");
    mdiCloseButton_.ImageIndex = GlobalMask(sm, big ? L"BICONCLOSE" : L"SICONCLOSE");
    if (!big && !IsValidMaskIndex(sm, mdiMinButton_.ImageIndex))
        InitMDIChildButtons(true, false);
}

int TsSkinProvider::MDIButtonWidth() const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, mdiCloseButton_.ImageIndex))
        return 16;
    const TsMaskData& md = sm->Masks[static_cast<size_t>(mdiCloseButton_.ImageIndex)];
    return md.Bmp ? md.Bmp->Width() / 3 : (md.R.right - md.R.left) / MaskFrames(md);
}

int TsSkinProvider::MDIButtonHeight() const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, mdiCloseButton_.ImageIndex))
        return 16;
    const TsMaskData& md = sm->Masks[static_cast<size_t>(mdiCloseButton_.ImageIndex)];
    return md.Bmp ? md.Bmp->Height() / 2 : (md.R.bottom - md.R.top) / MaskRows(md);
}

int TsSkinProvider::MaskOfMDIRestore() const
{
    TsSkinManager* sm = Manager();
    const int norm = GlobalMask(sm, L"SICONNORM");
    return IsValidMaskIndex(sm, norm) ? norm : GlobalMask(sm, L"BICONNORM");
}

void TsSkinProvider::PaintMDIChildButtons()
{
    if (!ShowsMDIChildButtons())
        return;
    const int w = MDIButtonWidth(), h = MDIButtonHeight();
    const int top = NonClientTopHeight() - (MenuHeight() - h) / 2 - h - 1;
    const int right = FormWidth() - SysBorderWidth();
    mdiMinButton_.Rect = TRect{right - 3 * w - 3, top, right - 2 * w - 3, top + h};
    mdiMaxButton_.Rect = TRect{right - 2 * w - 2, top, right - w - 2, top + h};
    mdiCloseButton_.Rect = TRect{right - w - 1, top, right - 1, top + h};
    TsSkinProvider* child = MaximizedChildProvider;
    DrawButtonImage(mdiMinButton_, mdiMinButton_.ImageIndex, mdiMinButton_.State, child->CanMinimize());
    DrawButtonImage(mdiMaxButton_, MaskOfMDIRestore(), mdiMaxButton_.State, child->CanRestore());
    DrawButtonImage(mdiCloseButton_, mdiCloseButton_.ImageIndex, mdiCloseButton_.State, true);
}

bool TsSkinProvider::RepaintMDIButton(int code, const TsCaptionButton& button)
{
    TsSkinProvider* child = MaximizedChildProvider;
    switch (code) {
    case HTMDIMIN:
        if (child && child->CanMinimize())
            DrawButtonImage(button, button.ImageIndex, button.State, true);
        return true;
    case HTMDIMAX:
        DrawButtonImage(button, MaskOfMDIRestore(), button.State, child && child->CanRestore());
        return true;
    case HTMDICLOSE:
        DrawButtonImage(button, button.ImageIndex, button.State, true);
        return true;
    default:
        return false;
    }
}

void TsSkinProvider::PaintMDIChildIcon()
{
    if (MDIMainProvider != this || !IsChildIconShown())
        return;
    TCustomForm* child = MaximizedActiveChild();
    HICON icon = child ? child->Icon() : nullptr;
    TIcon* own = icon ? nullptr : ProgramIconSmall();
    if (own && !own->Empty())
        icon = own->Handle();
    if (!icon)
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    const int size = MenuHeight() - 2;
    DrawIconEx(skinData_->CacheBmp()->Canvas()->Handle(), SysBorderWidth() + 1, CaptionHeight() + SysBorderHeight() + 1,
               icon, size, size, 0, nullptr, DI_NORMAL);
}

int TsSkinProvider::MDIButtonHit(const TPoint& p)
{
    if (!ShowsMDIChildButtons())
        return 0;
    const int code = Inside(mdiCloseButton_.Rect, p) ? HTMDICLOSE
                     : Inside(mdiMaxButton_.Rect, p) ? HTMDIMAX
                     : Inside(mdiMinButton_.Rect, p) ? HTMDIMIN
                                                     : 0;
    if (code)
        SetHotButton(code, true);
    return code;
}

bool TsSkinProvider::MDIButtonOpen(int code) const
{
    TsSkinProvider* child = MaximizedChildProvider;
    if (code == HTMDIMIN)
        return child && child->CanMinimize();
    if (code == HTMDIMAX)
        return child && child->CanRestore();
    return true;
}

void TsSkinProvider::ReleaseMDIButton(int code, bool pressed)
{
    TCustomForm* child = form_->ActiveMDIChild();
    if (pressed && child && child->HandleAllocated()) {
        static const WPARAM kCommands[] = {SC_CLOSE, SC_RESTORE, SC_MINIMIZE};
        if (code == HTMDIMIN && MaximizedChildProvider)
            skinData_->BeginSkinUpdate();
        // The child may be gone once its command returns: the buttons' states are cleared first.
        hotButton_ = code;
        SetHotButton(0, code == HTMDIMIN);
        SendMessageW(child->Handle(), WM_SYSCOMMAND, kCommands[code - HTMDICLOSE], 0);
        if (code == HTMDIMIN && skinData_->Updating())
            skinData_->EndSkinUpdate();
        return;
    }
    SetHotButton(0, code == HTMDIMIN);
}

// ---- The child's system commands ----

void TsSkinProvider::MDIChildSysCommand(TMessage& message)
{
    const WPARAM command = message.WParam & 0xFFF0;
    TsSkinProvider* main = LiveMainProvider();
    const bool leaving = IsMaximized() && command != SC_MAXIMIZE;
    if (leaving && main)
        main->skinData_->BeginSkinUpdate();
    const bool mainHasClient = main && main->mdiForm_;
    HWND wnd = form_->Handle();
    switch (command) {
    case SC_MINIMIZE:
        MaximizedChildProvider = nullptr;
        DefaultHandling(message);
        if (leaving)
            RefreshMainFrame();
        UpdateSystemMenuItems();
        captionBmp_.reset();
        SetFrameDirty();
        RefreshMainFrame();
        return;
    case SC_MAXIMIZE:
        MaximizedChildProvider = this;
        SuspendRedraw(true);
        DefaultHandling(message);
        ResumeRedraw(true);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INTERNALPAINT | RDW_INVALIDATE);
        if (main) {
            main->menuLineCount_ = -1;
            if (mainHasClient)
                RefreshMainFrame();
        }
        UpdateSystemMenuItems();
        return;
    case SC_CLOSE:
        if (leaving && mainHasClient)
            RefreshMainFrame();
        if (main)
            main->suspendRegion_ = true;
        DefaultHandling(message);
        // The child may be gone now: this provider is touched only while its form still answers with it.
        if (IsWindow(wnd) && SendSkinCmd(wnd, SkinCmdGetProvider, 0) == reinterpret_cast<LRESULT>(this))
            SetHotButton(0, false);
        if (main && MDIMainProvider == main) {
            main->suspendRegion_ = false;
            if (leaving && mainHasClient)
                RefreshMainFrame();
            if (main->skinData_->Updating())
                main->skinData_->EndSkinUpdate();
        }
        return;
    case SC_RESTORE:
        MDIChildRestore(message, leaving);
        return;
    case SC_KEYMENU:
        if (main)
            main->skinData_->EndSkinUpdate();
        return;
    default:
        DefaultHandling(message);
        if (main)
            main->skinData_->EndSkinUpdate();
        return;
    }
}

void TsSkinProvider::MDIChildRestore(TMessage& message, bool leaving)
{
    const bool wasIconic = IsIconic();
    if (MaximizedChildProvider == this)
        MaximizedChildProvider = nullptr;
    if (MaximizeOnCreate) {
        if (TsSkinProvider* main = LiveMainProvider())
            main->skinData_->EndSkinUpdate();
        return;
    }
    SuspendRedraw(true);
    DefaultHandling(message);
    SetFrameDirty();
    RemoveSysMenuStyle();
    ResumeRedraw(true);
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (TsSkinProvider* main = LiveMainProvider())
        for (int i = 0; i < main->form_->MDIChildCount(); ++i) {
            TCustomForm* other = main->form_->MDIChildren(i);
            if (other == form_ || !other->HandleAllocated())
                continue;
            if (IsZoomed(other->Handle()))
                other->SetWindowState(wsNormal);
            RedrawWindow(other->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
    if (leaving || wasIconic)
        RefreshMainFrame();
    UpdateSystemMenuItems();
}

// ---- Messages of MDI forms ----

bool TsSkinProvider::OpensUnderMaximizedChild() const
{
    TsSkinProvider* main = IsMDIChild() ? LiveMainProvider() : nullptr;
    return main && main->MaximizedActiveChild();
}

void TsSkinProvider::MDIChildShowing(const TMessage& message)
{
    // The system restores a maximized child before it creates the next one: whether this child opens
    // under a maximized one is read while it is being shown, before its window exists.
    if (message.WParam && !form_->HandleAllocated() && OpensUnderMaximizedChild())
        MaximizeOnCreate = this;
}

void TsSkinProvider::MDICreate(TMessage& message)
{
    if (MaximizeOnCreate != this)
        MaximizeOnCreate = OpensUnderMaximizedChild() ? this : nullptr;
    (void)message;
}

void TsSkinProvider::MaximizeIfCreatedSo()
{
    if (MaximizeOnCreate != this)
        return;
    MaximizeOnCreate = nullptr;
    MaximizedChildProvider = this;
    form_->SetWindowState(wsMaximized);
}

void TsSkinProvider::WMMDIActivate(TMessage& message)
{
    DefaultHandling(message);
    if (!IsMDIChild() || !LiveMainProvider())
        return;
    menuPrepared_ = false;
    MainFrameChanged();
    // The child being activated is the one whose buttons the main form may show.
    if (reinterpret_cast<HWND>(message.LParam) == form_->Handle())
        MaximizedChildProvider = this;
}

void TsSkinProvider::MDIChildGone()
{
    TsSkinProvider* main = LiveMainProvider();
    if (!main || !main->mdiForm_)
        return;
    main->RepaintFrame();
    if (!main->form_->ActiveMDIChild() && main->form_->ClientHandle())
        RedrawWindow(main->form_->ClientHandle(), nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

// ---- The menu loop of a main form with a maximized child ----

void TsSkinProvider::EnterMDIMenuLoop()
{
    if (!ShowsMDIChildButtons() || suspendRegion_)
        return;
    suspendRegion_ = true;
    if (!MDIIconsForm) {
        auto* icons = Create<TForm>(Application);
        icons->SetName(L"acMDIIcons");
        icons->SetBorderStyle(bsNone);
        MDIIconsForm = icons;
    }
    // The form paints from this provider's frame, and goes with it (or tells it when it goes first).
    MDIIconsForm->Tag = reinterpret_cast<std::intptr_t>(this);
    MDIIconsForm->OnPaint = TNotifyEvent(this, &TsSkinProvider::PaintMDIIcons);
    MDIIconsForm->FreeNotification(this);
    RECT wr;
    GetWindowRect(form_->Handle(), &wr);
    SetWindowPos(MDIIconsForm->Handle(), HWND_TOP, wr.right - kMDIIconsWidth, wr.top + CaptionHeight(), kMDIIconsWidth,
                 GetSystemMetrics(SM_CYMENU) + 3, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TsSkinProvider::ExitMDIMenuLoop()
{
    suspendRegion_ = false;
    if (MDIIconsForm) {
        TForm* icons = MDIIconsForm;
        MDIIconsForm = nullptr;
        Free(icons);
    }
}

void TsSkinProvider::ComponentFreed(TComponent* gone)
{
    if (gone && gone == MDIIconsForm)
        MDIIconsForm = nullptr;
}

void TsSkinProvider::DropMDIState()
{
    if (MaximizeOnCreate == this)
        MaximizeOnCreate = nullptr;
    if (MDIIconsForm && MDIIconsForm->Tag == reinterpret_cast<std::intptr_t>(this)) {
        TForm* icons = MDIIconsForm;
        MDIIconsForm = nullptr;
        Free(icons);
    }
}

void TsSkinProvider::PaintMDIIcons(TObject* sender)
{
    auto* icons = dynamic_cast<TForm*>(sender);
    TBitmap* cache = skinData_->CacheBmp();
    if (!icons || !cache || cache->Empty())
        return;
    BitBlt(icons->Canvas()->Handle(), 0, 0, kMDIIconsWidth, GetSystemMetrics(SM_CYMENU) + 3, cache->Canvas()->Handle(),
           FormWidth() - kMDIIconsWidth, CaptionHeight(), SRCCOPY);
}

void TsSkinProvider::PrintMDIClient(HDC dc, LPARAM flags)
{
    // The client paints itself and its children: the form's own background paint leaves its place out.
    HWND client = form_->ClientHandle();
    POINT at{0, 0};
    MapWindowPoints(client, form_->Handle(), &at, 1);
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, at.x, at.y, nullptr);
    SendMessageW(client, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}
