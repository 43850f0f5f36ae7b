// The provider's window procedure: the skin commands the form answers, and the window messages whose
// handling the skinned frame changes; everything else goes on to the form's own procedure.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/acntUtils.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sMDIForm.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"

namespace {

TsSkinManager* ManagerOf(const TMessage& m)
{
    return reinterpret_cast<TsSkinManager*>(m.LParam);
}

} // namespace

void TsSkinProvider::ProviderWndProc(TMessage& message)
{
    if (message.Msg == SM_SKINCMD && HandleSkinCommand(message))
        return;
    if (message.Msg == WM_NCDESTROY && IsMDIChild()) {
        // The main form loses the child's buttons and icon, and its client may show its own background again.
        if (MaximizedChildProvider == this)
            MaximizedChildProvider = nullptr;
        DefaultHandling(message);
        MDIChildGone();
        return;
    }
    // An outline drag outlives a skin removed meanwhile: losing the mouse ends it all the same.
    if (message.Msg == WM_CAPTURECHANGED && form_) {
        WMCaptureChanged(message);
        return;
    }
    if (!form_ || form_->HasState(csDestroying) || !SkinnedNow()) {
        DefaultHandling(message);
        return;
    }
    DispatchSkinned(message);
}

// ---- Skin commands ----

bool TsSkinProvider::HandleSkinCommand(TMessage& message)
{
    if (AnswerCommonSkinCmd(message, true))
        return true;
    const WORD cmd = SkinCmdOf(message.WParam);
    switch (cmd) {
    case SkinCmdSkinRemoved:
        SkinRemoved(message);
        return true;
    case SkinCmdGetProvider:
        message.Result = reinterpret_cast<LRESULT>(this);
        return true;
    case SkinCmdSkinChanged:
        SkinChanged(message);
        return true;
    default:
        break;
    }
    if (!form_ || form_->HasState(csDestroying) || !SkinnedNow())
        return false; // the form's own procedure hears it
    TsSkinManager* sm = Manager();
    switch (cmd) {
    case SkinCmdRefresh:
        SkinRefresh(message);
        break;
    case SkinCmdGetCache:
        if (!HasState(csLoading))
            CacheReply = TCacheInfo{skinData_->CacheBmp(), ClientOffsetX(), ClientOffsetY(), true};
        break;
    case SkinCmdSetUpdating:
        skinData_->SetUpdating(SkinCmdArgOf(message.WParam) == 1);
        if (skinData_->Updating())
            SetFrameDirty();
        break;
    case SkinCmdSetFlag:
        CommonMessage(message, skinData_.get());
        if (skinData_->ParentBgForced)
            PaintFrame();
        break;
    case SkinCmdIsBgChanged:
        message.LParam = skinData_->BGChanged || skinData_->Updating();
        break;
    case SkinCmdSetHeldObject:
        skinData_->HeldObject = reinterpret_cast<void*>(message.LParam);
        break;
    case SkinCmdIsBgPainted: {
        const TsGeneralData* gd = skinData_->Section();
        message.LParam = message.Result = gd && gd->GradientPercent + gd->ImagePercent > 0;
        break;
    }
    case SkinCmdGetBgColor: {
        const TsGeneralData* gd = skinData_->Section();
        ParentBgColor = gd && !skinData_->CustomColor() ? gd->HotColor : ColorToRGB(form_->Color());
        break;
    }
    case SkinCmdAdaptControl:
        if (!form_->HasState(csLoading) && message.LParam && adapter_)
            adapter_->AddAllItems(reinterpret_cast<TWinControl*>(message.LParam));
        break;
    case SkinCmdStopPainting:
    case SkinCmdResumePainting:
        if (skinData_->NeedsParentBg()) {
            const bool resume = cmd == SkinCmdResumePainting;
            SendMessageW(form_->Handle(), WM_SETREDRAW, resume ? 1 : 0, 0);
            if (resume) {
                const UINT flags = RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE | RDW_INVALIDATE;
                RedrawWindow(form_->Handle(), nullptr, nullptr, flags);
                if (MDIMainProvider == this && form_->ClientHandle())
                    RedrawWindow(form_->ClientHandle(), nullptr, nullptr, flags);
            }
        }
        break;
    default:
        break; // other commands stop at the skinned form
    }
    (void)sm;
    return true;
}

void TsSkinProvider::SkinChanged(TMessage& message)
{
    TsSkinManager* sm = Manager();
    if (!form_ || ManagerOf(message) != sm || !sm)
        return;
    const bool wasSkinned = skinData_->SkinIndex >= 0 && systemMenu_;
    FreeMenuBackground();
    if (!systemMenu_)
        PrepareForm();
    skinData_->UpdateIndexes();
    InitCaptionButtons();
    if (!form_->BorderIcons().Empty())
        RemoveSysMenuStyle();
    // While the manager tells of a change its skin reads inactive: menus let go here would only be
    // built again, owner-drawn, by the refresh that follows, which hooks them where popups are skinned.
    if (sm->SkinableMenus() && !(sm->TellingOfChange() && sm->IsDefault() && sm->SkinnedPopups()))
        sm->SkinableMenus()->UpdateActive();
    if (!wasSkinned) {
        HookMenus(true);
        // The main form's caption shows active while its active child is the form the user works in.
        if (form_->FormStyle() == fsMDIForm && Screen && form_->ActiveMDIChild() &&
            form_->ActiveMDIChild() == Screen->ActiveCustomForm())
            formActive_ = true;
        if (useGlobalColor_ && !skinData_->CustomColor())
            form_->SetColor(GetGlobalColor(sm));
        if (adapter_)
            adapter_->AddAllItems(nullptr);
        else
            CreateAdapter();
    }
    SetFrameDirty();
    menuLineCount_ = -1;
    regionChanged_ = true;
    if (OnScreen())
        SendNcPaint();
    if (form_->FormStyle() == fsMDIForm && !IsDesigning()) {
        SetMDIForm(true);
        UpdateMDIClient();
    }
}

void TsSkinProvider::SkinRemoved(TMessage& message)
{
    TsSkinManager* sm = Manager();
    if (!form_ || ManagerOf(message) != sm)
        return;
    FreeScrollAdapter();
    if (adapter_) {
        try {
            TMessage m = MakeSkinCmd(SkinCmdSkinRemoved, message.LParam);
            adapter_->BroadcastToItems(m);
        } catch (...) {
            // Adapters that fail to hear it go with the adapter all the same.
        }
        adapter_.reset();
    }
    CommonSkinCommand(message, skinData_.get());
    menuLineCount_ = -1;
    if (useGlobalColor_ && !skinData_->CustomColor() && !form_->HasState(csDestroying))
        form_->SetColor(clBtnFace);
    if (sm) {
        FreeMenuBackground();
        HookMenus(false);
        RestoreSysMenuStyle();
        if (mdiForm_ || MDIMainProvider == this)
            SetMDIForm(false);
        if (HasBorder() && !suspendRegion_ && form_->HandleAllocated()) {
            SetWindowRgn(form_->Handle(), nullptr, TRUE);
            cornerRects_.clear();
        }
    }
    framePainted_ = false;
    if (form_->HandleAllocated() && !form_->HasState(csDestroying))
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TsSkinProvider::SkinRefresh(TMessage& message)
{
    TsSkinManager* sm = Manager();
    if (ManagerOf(message) != sm)
        return;
    if (adapter_)
        adapter_->AddAllItems(nullptr);
    else
        CreateAdapter();
    UpdateScrollAdapter();
    SetFrameDirty();
    menuLineCount_ = -1;
    skinData_->SetUpdating(false);
    captionBmp_.reset();
    HookMenus(skinData_->Skinned());
    if (HasBorder())
        regionChanged_ = true;
    if (!form_->Visible() || !form_->HandleAllocated())
        return;
    const bool onScreen = OnScreen();
    if (onScreen)
        SendNcPaint();
    if (TCustomForm* child = MaximizedActiveChild()) {
        if (onScreen)
            SendMessageW(child->Handle(), WM_PAINT, 0, 0);
    } else {
        if (onScreen)
            SendMessageW(form_->Handle(), WM_PAINT, 0, 0);
        if (form_->FormStyle() == fsMDIForm && form_->ClientHandle()) {
            RECT r;
            GetClientRect(form_->ClientHandle(), &r);
            SendMessageW(form_->ClientHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
            SendMessageW(form_->ClientHandle(), WM_NCPAINT, 1, 0);
        }
    }
    ApplyGlobalColor();
    UpdateMDIClient();
    if (adapter_)
        adapter_->BroadcastToItems(message);
}

// ---- Window messages ----

void TsSkinProvider::DispatchSkinned(TMessage& message)
{
    switch (message.Msg) {
    case WM_CREATE: WMCreate(message); return;
    case WM_SIZE: WMSize(message); return;
    case WM_ACTIVATE: WMActivate(message); return;
    case WM_SETTEXT: WMSetText(message); return;
    case WM_PAINT: WMPaint(message); return;
    case WM_ERASEBKGND:
    case WM_ENTERIDLE:
        message.Result = 0;
        return;
    case WM_PRINTCLIENT: return;
    case WM_SYSCOLORCHANGE:
        DefaultHandling(message);
        PrepareMainMenu();
        return;
    case WM_SETTINGCHANGE:
        SetFrameDirty();
        captionBmp_.reset();
        DefaultHandling(message);
        return;
    case WM_CHILDACTIVATE:
        DefaultHandling(message);
        PrepareMainMenu();
        if (TsSkinProvider* main = LiveMainProvider(); main && main->MaximizedActiveChild())
            main->RepaintFrameNow();
        return;
    case WM_SHOWWINDOW:
        DefaultHandling(message);
        if (IsMDIChild() && IsMaximized())
            if (TsSkinProvider* main = LiveMainProvider())
                main->RepaintFrame();
        return;
    case WM_MDIACTIVATE:
    case WM_MDIDESTROY:
        WMMDIActivate(message);
        return;
    case WM_ENTERMENULOOP:
        EnterMDIMenuLoop();
        DefaultHandling(message);
        return;
    case WM_EXITMENULOOP:
        ExitMDIMenuLoop();
        DefaultHandling(message);
        return;
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        TsSkinManager* sm = Manager();
        if (!IsMDIChild() && form_->Menu() && sm && mi && mi->CtlType == ODT_MENU && Menus())
            if (TMenuItem* item = form_->Menu()->FindItem(mi->itemID, fkCommand))
                Menus()->HookItem(item, true);
        DefaultHandling(message);
        return;
    }
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(message); return;
    case WM_WINDOWPOSCHANGED:
    case WM_EXITSIZEMOVE: WMWindowPosChanged(message); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(message); return;
    case WM_NCHITTEST: WMNCHitTest(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    case WM_PRINT: WMPrint(message); return;
    case WM_NCACTIVATE: WMNCActivate(message); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(message); return;
    case WM_NCLBUTTONUP:
        WMNCLButtonUp(message);
        return;
    case WM_LBUTTONUP:
        // A client button-up carries key flags, not a hit code: it only ends an outline drag, whose
        // captured mouse releases over the client.
        if (TrackingActive() && !IsIconic() && !IsMaximized()) {
            StopTracking();
            return;
        }
        DefaultHandling(message);
        return;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(message); return;
    case WM_NCRBUTTONDOWN: WMNCRButtonDown(message); return;
    case WM_NCRBUTTONUP: WMNCRButtonUp(message); return;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case CM_MOUSELEAVE:
        SetHotButton(0, true);
        DefaultHandling(message);
        return;
    case WM_SYSCOMMAND: WMSysCommand(message); return;
    case WM_INITMENUPOPUP:
        if (message.LParam)
            SetSkinnedPopupOpen(true);
        DefaultHandling(message);
        return;
    case WM_MOUSEMOVE:
        DefaultHandling(message);
        TrackMouse();
        return;
    case WM_PARENTNOTIFY:
        WMParentNotify(message);
        return;
    case CM_FLOAT:
        CMFloat(message);
        return;
    case WM_SIZING:
        DefaultHandling(message);
        if (skinData_->CacheBmp()->Width() != FormWidth() || skinData_->CacheBmp()->Height() != FormHeight()) {
            SetFrameDirty();
            menuLineCount_ = -1;
        }
        return;
    case CM_ENABLEDCHANGED:
        DefaultHandling(message);
        SetFrameDirty();
        SendNcPaint();
        return;
    case CM_COLORCHANGED:
        // The form's colour is the skin's unless the form keeps its own.
        if (skinData_->CustomColor()) {
            if (!form_->ControlState.Contains(csCreating))
                SetFrameDirty();
            DefaultHandling(message);
        }
        return;
    case CM_MENUCHANGED:
        // The menu line is the frame's own painting: the bar's next paint (the default handling's
        // DrawMenuBar) paints it again in full, with the items as they are now.
        if (!form_->ControlState.Contains(csCreating) && form_->Visible()) {
            menuDirty_ = true;
            menuLineCount_ = -1;
            SetFrameDirty();
        }
        DefaultHandling(message);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        return;
    case CM_VISIBLECHANGED:
        MDIChildShowing(message);
        DefaultHandling(message);
        return;
    case CM_CONTROLLISTCHANGE:
        DefaultHandling(message);
        if (adapter_ && message.LParam)
            if (auto* control = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.WParam))) {
                // The notice comes while the control is put on the form, before its window is made; a
                // control that is about to be shown gets its window now, so that it can be adapted.
                if (!control->HandleAllocated() && control->Visible() && !control->HasState(csLoading) &&
                    form_ && form_->Showing() && !form_->HasState(csLoading))
                    control->HandleNeeded();
                adapter_->AddNewItem(control);
            }
        return;
    default:
        DefaultHandling(message);
        return;
    }
}

const TacFormAnimation* TsSkinProvider::ShowAnimation() const
{
    TsSkinManager* sm = Manager();
    if (!sm || !form_ || IsMDIChild() || form_->Parent())
        return nullptr;
    return form_->BorderStyle() == bsDialog ? static_cast<const TacFormAnimation*>(sm->AnimEffects()->DialogShow())
                                            : sm->AnimEffects()->FormShow();
}

void TsSkinProvider::CMShowingChanged(TMessage& message)
{
    SetFrameDirty();
    repaintedSize_ = {};
    // Systems from version 6 on show forms themselves; older ones fade the form in with the skin's effect.
    const TacFormAnimation* effect = WindowsMajorVersion() < 6 ? ShowAnimation() : nullptr;
    showAnimating_ = effect && effect->Active;
    if (!showAnimating_) {
        DefaultHandling(message);
        UpdateScrollAdapter();
        if (IsMDIChild() && IsMaximized())
            if (TsSkinProvider* main = LiveMainProvider())
                main->RepaintFrame();
        return;
    }
    HWND wnd = form_->Handle();
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    DefaultHandling(message);
    UpdateScrollAdapter();
    showAnimating_ = false;
    AnimShowControl(form_, effect->Time);
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    UpdateFormRegion(false);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE | RDW_INVALIDATE);
    settingRegion_ = false;
}

void TsSkinProvider::WMCreate(TMessage& message)
{
    MDICreate(message);
    captionBmp_.reset();
    DefaultHandling(message);
    PrepareForm();
    if (form_->Parent()) {
        // A form placed in another control is refreshed at once: no activation will come to do it.
        FreeScrollAdapter();
        UpdateScrollAdapter();
        SendSkinCmd(form_->Handle(), SkinCmdRefresh, reinterpret_cast<LPARAM>(Manager()));
    }
}

TsSkinProvider::TRepaintedSize TsSkinProvider::CurrentSize(WPARAM type) const
{
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    return {FormWidth(), FormHeight(), static_cast<int>(client.right), static_cast<int>(client.bottom), type};
}

void TsSkinProvider::WMSize(TMessage& message)
{
    // Nothing changed since the whole form was painted: its frame and background stay as they are, and
    // so do the children, which paint only once their parent's background is up to date. An MDI child's
    // size also tells the main form's menu line, which keeps its usual course.
    if (!IsMDIChild() && form_->Visible() && CurrentSize(message.WParam) == repaintedSize_) {
        DefaultHandling(message);
        return;
    }
    SetFrameDirty();
    regionChanged_ = true;
    DefaultHandling(message);
    if (!form_->Visible())
        return;
    if (IsMDIChild() && IsMaximized())
        if (TsSkinProvider* main = LiveMainProvider()) {
            TBitmap* cache = main->skinData_->CacheBmp();
            main->skinData_->BGChanged = cache->Width() == main->FormWidth() || cache->Height() == main->FormHeight();
            main->SendNcPaint();
        }
    const TsGeneralData* gd = skinData_->Section();
    if (gd && gd->GradientPercent > 0)
        for (int i = 0; i < form_->ControlCount(); ++i) {
            TControl* c = form_->Controls(i);
            if (!c->HasState(csDestroying))
                c->Perform(SM_SKINCMD, SkinCmdWParam(SkinCmdParentMoved, 1), 0);
        }
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
    repaintedSize_ = CurrentSize(message.WParam);
}

void TsSkinProvider::WMActivate(TMessage& message)
{
    DefaultHandling(message);
    if (form_->ControlState.Contains(csCreating))
        return;
    const bool active = LOWORD(message.WParam) != WA_INACTIVE;
    // The WM_NCACTIVATE before this message painted the frame in this state, and nothing made it dirty
    // since: it stays as it is.
    const bool frameCurrent = framePainted_ && !skinData_->BGChanged && active == formActive_ && !IsMDIChild() &&
                              !MaximizedActiveChild();
    formActive_ = active;
    if (!frameCurrent)
        SetFrameDirty();
    menuLineCount_ = -1;
    if (IsMDIChild())
        if (TsSkinProvider* main = LiveMainProvider()) {
            for (int i = 0; i < main->form_->MDIChildCount(); ++i) {
                TCustomForm* other = main->form_->MDIChildren(i);
                if (other != form_ && other->Visible() && other->HandleAllocated())
                    SendMessageW(other->Handle(), WM_NCPAINT, 0, 0);
            }
            main->SetFrameDirty();
        }
    if (!frameCurrent)
        SendNcPaint();
    HookMenus(true);
    if (TCustomForm* child = MaximizedActiveChild())
        SendMessageW(child->Handle(), WM_PAINT, 0, 0);
    UpdateSystemMenuItems();
}

void TsSkinProvider::WMSetText(TMessage& message)
{
    if (!form_->Visible()) {
        DefaultHandling(message);
        return;
    }
    // The system paints its own caption text on a caption change: keep it from the screen.
    HWND wnd = form_->Handle();
    SendMessageW(wnd, WM_SETREDRAW, 0, 0);
    DefaultHandling(message);
    SendMessageW(wnd, WM_SETREDRAW, 1, 0);
    if (HasBorder()) {
        SetFrameDirty();
        SendNcPaint();
    }
}

void TsSkinProvider::WMPaint(TMessage& message)
{
    if (!form_->Visible() || form_->FormState.Contains(fsCreating)) {
        // A translucent form is composed from what it paints even before it shows.
        if (form_->AlphaBlend())
            DefaultHandling(message);
        else
            message.Result = 0;
        return;
    }
    HWND wnd = form_->Handle();
    PAINTSTRUCT ps;
    HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : BeginPaint(wnd, &ps);
    skinData_->SetUpdating(skinData_->Updating());
    if (!showAnimating_ && !skinData_->Updating() && !HiddenBehindMaximizedChild())
        PaintClientBackground(dc, true);
    if (!message.WParam)
        EndPaint(wnd, &ps);
    message.Result = 0;
    MaximizeIfCreatedSo();
}

void TsSkinProvider::WMNCActivate(TMessage& message)
{
    HWND wnd = form_->Handle();
    if (form_->Visible()) {
        if ((message.WParam != 0) != formActive_)
            SetFrameDirty();
        // The system draws its own active caption here: it never reaches the screen.
        SendMessageW(wnd, WM_SETREDRAW, 0, 0);
        DefaultHandling(message);
        if (!showAnimating_)
            SendMessageW(wnd, WM_SETREDRAW, 1, 0);
    } else {
        skinData_->BGChanged = false;
        DefaultHandling(message);
    }
    if (form_->ControlState.Contains(csCreating))
        return;
    if (IsMDIChild() && form_->Visible() && form_->FormState.Contains(fsCreatedMDIChild) &&
        form_->FormState.Contains(fsShowing))
        if (TsSkinProvider* main = LiveMainProvider()) {
            main->SetFrameDirty();
            main->menuLineCount_ = -1;
            if (main->mdiForm_)
                main->mdiForm_->RefreshProviderFrame();
            if (main->form_->ClientHandle())
                SendMessageW(main->form_->ClientHandle(), WM_NCPAINT, 1, 0);
        }
    if (ShowsMDIChildButtons()) {
        // The main form stays active while its maximized child is: the child's buttons live in its menu line.
        if (message.WParam != 0 || MaximizedActiveChild()->Active() || GetActiveWindow() == form_->Handle()) {
            formActive_ = true;
            menuLineCount_ = -1;
        }
    } else if (HasBorder() && formActive_ != (message.WParam != 0)) {
        formActive_ = message.WParam != 0;
        menuLineCount_ = -1;
        SetFrameDirty();
    }
    SendNcPaint();
    if (IsMDIChild()) {
        SetFrameDirty();
        SendNcPaint();
    }
    TsSkinManager* sm = Manager();
    if (sm && sm->IsDefault() && sm->SkinnedPopups())
        HookMenus(skinData_->Skinned());
    if (!menuPrepared_) {
        menuPrepared_ = true;
        PrepareMainMenu();
    }
    if (!adapter_)
        CreateAdapter();
    if (form_->Visible() && !showAnimating_) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        repaintedSize_ = CurrentSize(IsIconic() ? SIZE_MINIMIZED : IsMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED);
    }
}

void TsSkinProvider::WMWindowPosChanged(TMessage& message)
{
    DefaultHandling(message);
    if (settingRegion_ || SkinChanging() || !form_->Visible() || form_->ControlState.Contains(csCreating))
        return;
    TBitmap* cache = skinData_->CacheBmp();
    if (cache->Width() != FormWidth() || cache->Height() != FormHeight()) {
        regionChanged_ = true;
        SetFrameDirty();
        menuLineCount_ = -1;
        SendNcPaint();
    }
}

void TsSkinProvider::WMSysCommand(TMessage& message)
{
    const WPARAM command = message.WParam & 0xFFF0;
    if (message.WParam == 0xF012)
        form_->Repaint();
    // An outline drags a form that lies as it stands; an iconic one moves as the system moves it.
    if (ResizeMode == rmBorder && (command == SC_MOVE || command == SC_SIZE) && !TrackingActive() && !IsIconic() &&
        !IsMaximized()) {
        StartTrackingCommand(command == SC_MOVE, static_cast<int>(message.WParam & 0xF));
        return;
    }
    if (IsMDIChild()) {
        MDIChildSysCommand(message);
        return;
    }
    if (form_->FormStyle() == fsMDIForm) {
        DefaultHandling(message);
        if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) {
            SetFrameDirty();
            menuLineCount_ = -1;
            SendNcPaint();
        }
        return;
    }
    DefaultHandling(message);
    if ((command == SC_MAXIMIZE || command == SC_RESTORE) && VisibleMax()) {
        // The maximize button turns into the restore button and back.
        hotButton_ = HTMAXBUTTON;
        SetHotButton(0, true);
    }
    if (command == SC_KEYMENU && LOWORD(message.LParam) == VK_SPACE && form_->BorderIcons().Contains(biSystemMenu)) {
        const TPoint o = WindowOrigin();
        ShowSystemMenu(o.X + SysBorderWidth(), o.Y + SysBorderHeight() + FormBorderWidth() + IconHeight());
    }
    UpdateSystemMenuItems();
}

void TsSkinProvider::WMNCHitTest(TMessage& message)
{
    if (CaptionHeight() <= 0) {
        DefaultHandling(message);
        return;
    }
    message.Result = 0;
    message.Result = HitTest(message);
    if (message.Result == 0 || message.Result == HTCAPTION) {
        DefaultHandling(message);
        // The skin draws the caption's buttons: the system's own, unseen beneath them (an MDI child keeps
        // its system menu), never answer.
        const LRESULT code = message.Result;
        if (code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP)
            message.Result = HTCAPTION;
        SetHotButton(0, true);
    }
    if (ResizeMode == rmBorder)
        RememberEdge(static_cast<int>(message.Result));
}

void TsSkinProvider::WMNCPaint(TMessage& message)
{
    message.Result = 0;
    if (showAnimating_ || !form_->Visible() || HasState(csLoading) || form_->FormState.Contains(fsCreating) ||
        form_->HasState(csDestroying) || !form_->HandleAllocated())
        return;
    skinData_->SetUpdating(skinData_->Updating());
    if (skinData_->Updating() || HiddenBehindMaximizedChild())
        return;
    if (!settingRegion_ && regionChanged_ && (HasBorder() || IsSizeable())) {
        // Painting first lets a form that keeps a region of its own hand it over at this very paint.
        PaintFrame();
        UpdateRegionRects();
        regionChanged_ = false;
        UpdateFormRegion(true);
    }
    if (!menuPrepared_) {
        menuPrepared_ = true;
        PrepareMainMenu();
    }
    HWND wnd = form_->Handle();
    if (TWindowDC dc(wnd); dc) {
        TSavedDC saved(dc.Get());
        if (!HasBorder() && IsSizeable())
            PaintBorderlessStrips(dc.Get());
        else
            PaintNonClient(dc.Get());
    }
    settingRegion_ = false;
    UpdateMDIClient();
}

void TsSkinProvider::WMPrint(TMessage& message)
{
    if (!form_->Visible() || HasState(csLoading) || form_->FormState.Contains(fsCreating) ||
        form_->HasState(csDestroying))
        return;
    // A print shows what the screen would: nothing while the skin is being updated, and nothing of a
    // child that the main form's maximized child hides.
    skinData_->SetUpdating(skinData_->Updating());
    if (skinData_->Updating() || HiddenBehindMaximizedChild())
        return;
    if (!menuPrepared_) {
        menuPrepared_ = true;
        PrepareMainMenu();
    }
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc)
        return;
    TSavedDC saved(dc);
    PaintNonClient(dc);
    SetViewportOrgEx(dc, ClientOffsetX(), ClientOffsetY(), nullptr);
    RECT client;
    GetClientRect(form_->Handle(), &client);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    PaintClientBackground(dc, true);
    if (mdiForm_ && form_->ClientHandle())
        PrintMDIClient(dc, message.LParam);
    RunFormOnPaint(dc);
}
