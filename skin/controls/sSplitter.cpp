// The skinned splitter: paints its section into a cache made for one paint, tracks hover and focus
// for the hot look, shows the pressed look while a live drag runs, and keeps the application's hints
// off while any splitter is dragged.
#include "skin/controls/sSplitter.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"

namespace {

// Shared by every splitter: a drag that starts while another splitter holds the hints keeps the value
// saved by the first.
bool HintsSuspended = false;
bool SavedShowHint = false;

bool OwnManager(const TMessage& m, const TsCommonData* data)
{
    return m.LParam == reinterpret_cast<LPARAM>(data->GetSkinManager());
}

} // namespace

TsSplitter::TsSplitter(TComponent* owner) : TSplitter(owner), skinData_(std::make_unique<TsCommonData>(this, false))
{
    skinData_->COC = COC_TsSplitter;
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetWidth(6);
}

TsSplitter::~TsSplitter() = default;

void TsSplitter::AfterConstruction()
{
    TSplitter::AfterConstruction();
    skinData_->Loaded();
}

void TsSplitter::Loaded()
{
    TSplitter::Loaded();
    skinData_->Loaded();
}

void TsSplitter::SnapCollapsedNeighbours()
{
    TWinControl* parent = Parent();
    if (!AutoSnap() || !parent)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (Align() == alTop && c->Height() == 0)
            c->SetTop(Top());
        else if (Align() == alLeft && c->Width() == 0)
            c->SetLeft(Left());
    }
}

void TsSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!HintsSuspended) {
        SavedShowHint = Application->ShowHint();
        Application->SetShowHint(false);
        HintsSuspended = true;
    }
    SnapCollapsedNeighbours();
    TSplitter::MouseDown(button, shift, x, y);
    dragging_ = true;
    if (ResizeStyle() == rsUpdate)
        Repaint();
}

void TsSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TSplitter::MouseUp(button, shift, x, y);
    dragging_ = false;
    if (ResizeStyle() == rsUpdate)
        Repaint();
    // Only a drag that saved the setting gives it back: a release without a press of ours must not
    // switch the application's hints to a value nobody saved.
    if (HintsSuspended) {
        Application->SetShowHint(SavedShowHint);
        HintsSuspended = false;
    }
}

void TsSplitter::Paint()
{
    if (!skinData_->Skinned(false)) {
        TSplitter::Paint();
        return;
    }
    const TRect r = ClientRect();
    skinData_->InitCacheBmp();
    int state = skinData_->CtrlSkinState();
    if (dragging_ && ResizeStyle() == rsUpdate)
        state = 2;
    TCacheInfo ci;
    skinData_->GetParentCache(ci);
    TBitmap* cache = skinData_->CacheBmp();
    PaintItem(skinData_.get(), ci, true, true, cache, Point(Left(), Top()), r, state);
    BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
    skinData_->FCacheBmp.reset();
    OnPaint(this);
}

bool TsSplitter::SkinCommand(TMessage& m)
{
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinChanged:
        if (!OwnManager(m, skinData_.get()))
            return false;
        CommonMessage(m, skinData_.get());
        return true;
    case SkinCmdSkinRemoved:
    case SkinCmdRefresh:
        if (!OwnManager(m, skinData_.get()))
            return false;
        CommonMessage(m, skinData_.get());
        Repaint();
        return true;
    case SkinCmdEndParentUpdate:
        if (!ControlIsReady(this) || !skinData_->Skinned() || !skinData_->Updating())
            return false;
        skinData_->FUpdating = false;
        Repaint();
        return true;
    default:
        return false;
    }
}

void TsSplitter::HoverChanged(const TMessage& m)
{
    if (skinData_->FFocused)
        return;
    skinData_->FMouseAbove = m.Msg == CM_MOUSEENTER;
    skinData_->BGChanged = true;
    Repaint();
}

void TsSplitter::FocusChanged(const TMessage& m)
{
    skinData_->FFocused = m.Msg == WM_SETFOCUS || m.Msg == CM_ENTER;
    skinData_->FMouseAbove = false;
    skinData_->BGChanged = true;
    Repaint();
}

void TsSplitter::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD && (AnswerCommonSkinCmd(m) || SkinCommand(m)))
        return;
    if (!ControlIsReady(this) || !skinData_->Skinned()) {
        TSplitter::WndProc(m);
        return;
    }
    switch (m.Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_MOUSEWHEEL:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        skinData_->BGChanged = true;
        break;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        return;
    default:
        break;
    }
    if (CommonMessage(m, skinData_.get()))
        return;
    TSplitter::WndProc(m);
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        HoverChanged(m);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENTER:
    case CM_EXIT:
        FocusChanged(m);
        break;
    default:
        break;
    }
}

void RegisterSkinSplitterClasses()
{
    RegisterCommonDataClass();
    RegisterClass<TsSplitter>(L"TsSplitter", L"TSplitter").Object(L"SkinData", &TsSplitter::SkinData);
}
