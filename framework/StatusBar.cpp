// The status bar over the system's status window: panels, simple text, size grip, owner-drawn panels.
#include "framework/ComCtrls.h"

#include <commctrl.h>

// ---- TStatusPanel ----

void TStatusPanel::SetWidth(int value)
{
    if (value == width_)
        return;
    width_ = value;
    Changed(true);
}

void TStatusPanel::SetText(const std::wstring& value)
{
    if (value == text_)
        return;
    text_ = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value)
{
    if (value == bevel_)
        return;
    bevel_ = value;
    Changed(false);
}

void TStatusPanel::Assign(TPersistent* source)
{
    if (auto* p = dynamic_cast<TStatusPanel*>(source)) {
        width_ = p->width_;
        text_ = p->text_;
        style_ = p->style_;
        alignment_ = p->alignment_;
        bevel_ = p->bevel_;
        Changed(true);
        return;
    }
    TCollectionItem::Assign(source);
}

// ---- TStatusPanels ----

TStatusPanels::TStatusPanels(TStatusBar* bar) : TCollection(MakeCollectionItem<TStatusPanel>, bar), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem* item)
{
    if (item)
        bar_->UpdatePanel(item->Index());
    else
        bar_->UpdatePanels();
}

// ---- TStatusBar ----

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)), canvas_(std::make_unique<TControlCanvas>())
{
    canvas_->SetControl(this);
    // Controls placed on the bar (rating stars) are painted over its panels.
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csAcceptsControls};
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar()
{
    canvas_->FreeHandle();
}

void TStatusBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEW);
    // The framework places the bar; the system must not move it to its parent's bottom edge itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    if (sizeGrip_)
        params.Style |= SBARS_SIZEGRIP;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    // A new window (after RecreateWnd too) knows nothing of the panels: send them again.
    UpdatePanels();
    if (simplePanel_)
        SendMessageW(handle_, SB_SIMPLE, TRUE, 0);
    SendSimpleText();
}

void TStatusBar::Dispatch(TMessage& message)
{
    static const TMessageEntry<TStatusBar> kStatusBarMessages[] = {
        {CN_DRAWITEM, &TStatusBar::CNDrawItem},
    };
    if (DispatchIn(this, kStatusBarMessages, message))
        return;
    TWinControl::Dispatch(message);
}

void TStatusBar::UpdatePanels()
{
    if (!handle_)
        return;
    int count = panels_->Count();
    std::vector<int> edges;
    int right = 0;
    for (int i = 0; i < count; ++i) {
        right += panels_->Items(i)->Width();
        edges.push_back(i == count - 1 ? -1 : right);
    }
    if (edges.empty())
        edges.push_back(-1);
    SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i)
        UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int index)
{
    if (!handle_ || index < 0 || index >= panels_->Count())
        return;
    TStatusPanel* panel = panels_->Items(index);
    WPARAM flags = static_cast<WPARAM>(index);
    if (panel->Style() == psOwnerDraw)
        flags |= SBT_OWNERDRAW;
    if (panel->Bevel() == pbNone)
        flags |= SBT_NOBORDERS;
    else if (panel->Bevel() == pbRaised)
        flags |= SBT_POPOUT;
    // The system centres text after one tab and right-aligns it after two.
    std::wstring text = panel->Text();
    if (panel->Alignment() == taCenter)
        text = L"\t" + text;
    else if (panel->Alignment() == taRightJustify)
        text = L"\t\t" + text;
    LPARAM data = panel->Style() == psOwnerDraw ? reinterpret_cast<LPARAM>(panel) : reinterpret_cast<LPARAM>(text.c_str());
    SendMessageW(handle_, SB_SETTEXTW, flags, data);
}

void TStatusBar::SetSimplePanel(bool value)
{
    if (value == simplePanel_)
        return;
    simplePanel_ = value;
    if (handle_)
        SendMessageW(handle_, SB_SIMPLE, value, 0);
}

void TStatusBar::SetSimpleText(const std::wstring& value)
{
    if (value == simpleText_)
        return;
    simpleText_ = value;
    SendSimpleText();
}

void TStatusBar::SendSimpleText()
{
    if (handle_)
        SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSizeGrip(bool value)
{
    if (value == sizeGrip_)
        return;
    sizeGrip_ = value;
    RecreateWnd();
}

void TStatusBar::CNDrawItem(TMessage& m)
{
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    int index = static_cast<int>(item->itemID);
    TStatusPanel* panel = index >= 0 && index < panels_->Count() ? panels_->Items(index) : nullptr;
    canvas_->FreeHandle();
    {
        TCanvasDCBinding bind(canvas_.get(), item->hDC);
        canvas_->Font()->Assign(Font());
        canvas_->Brush()->SetColor(clBtnFace);
        canvas_->Brush()->SetStyle(bsSolid);
        DrawPanel(panel, TRect::FromRECT(item->rcItem));
    }
    m.Result = TRUE;
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect)
{
    if (OnDrawPanel)
        OnDrawPanel(this, panel, rect);
    else
        canvas_->FillRect(rect);
}
