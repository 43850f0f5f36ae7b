#include "widgets/AlPanel.h"

#include "framework/Dialogs.h"
#include "framework/FormData.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <cmath>

namespace {

// The label a glued label follows, or nullptr when Control is no label with a focus control.
TWinControl* GluedTo(TControl* control)
{
    auto* label = dynamic_cast<TLabel*>(control);
    return label ? label->FocusControl() : nullptr;
}

bool IsPanelOrBevel(TControl* control)
{
    return dynamic_cast<TCustomPanel*>(control) || dynamic_cast<TBevel*>(control);
}

// The Parts' Round: to nearest, ties to even.
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

TAligningPanel::TAligningPanel(TComponent* owner) : TCustomPanel(owner)
{
    oldHeight_ = Height();
    oldWidth_ = Width();
}

bool TAligningPanel::IsReadingOrLoading() const
{
    return (ComponentState() & csLoading) != 0;
}

void TAligningPanel::ClearPositions()
{
    for (TPositionRecord& r : positions_)
        r = TPositionRecord{};
}

void TAligningPanel::FreePositions()
{
    positions_.clear();
    positions_.shrink_to_fit();
}

void TAligningPanel::AllocPositions(int count)
{
    if (count > kMaxControls)
        throw ETooManyControls(L"Too many controls to handle");
    positions_.assign(static_cast<size_t>(count), TPositionRecord{});
}

void TAligningPanel::SetAligningActive(bool value)
{
    if (value == aligningActive_ && !IsReadingOrLoading())
        return;
    if (IsReadingOrLoading()) {
        // The stored value is applied in Loaded, once every child is there.
        storedAligningActive_ = value;
        return;
    }
    if (value && !positions_.empty()) {
        FreePositions();
        AllocPositions(ControlCount());
    } else if (!value) {
        FreePositions();
    } else {
        AllocPositions(ControlCount());
    }
    if (value && (ComponentState() & csDesigning) && loaded_ && minHeight_ != Height() && minWidth_ != Width() &&
        MessageBoxW(nullptr, L"Do you want to set minimum size properties according to current settings?",
                    L"AligningPanel 3.0", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        minHeight_ = Height();
        minWidth_ = Width();
    }
    aligningActive_ = value;
    // Once the panel has scaled, the old size stays that of its last scaling, also across switching
    // off and on: the children, left where they were meanwhile, still hold the layout of that size.
    // Before the first scaling, switched on in code, the present size stands in for the size before the
    // first size message, which that message no longer sees (the window's new size is taken before
    // it); switched on from form data, the first size message records the size the window is made with.
    if (value && firstSize_ && !applyingStored_) {
        oldHeight_ = Height();
        oldWidth_ = Width();
        oldSizeTaken_ = true;
    }
}

// Form data sets these before AligningActive takes effect, so a value read from the data is always
// kept; only a change under active aligning is refused.
void TAligningPanel::CheckNotActive() const
{
    if (aligningActive_)
        throw ECannotAssignToActive(L"Cannot assign when AligningActive");
}

void TAligningPanel::SetMoveHorizontaly(bool value)
{
    if (value == moveHorizontaly_)
        return;
    if (!IsReadingOrLoading())
        CheckNotActive();
    moveHorizontaly_ = value;
}

void TAligningPanel::SetMoveVerticaly(bool value)
{
    if (value == moveVerticaly_)
        return;
    if (!IsReadingOrLoading())
        CheckNotActive();
    moveVerticaly_ = value;
}

void TAligningPanel::SetSizePanelsBevels(bool value)
{
    if (value == sizePanelsBevels_)
        return;
    if (!IsReadingOrLoading())
        CheckNotActive();
    sizePanelsBevels_ = value;
}

void TAligningPanel::SetGlueLabels(bool value)
{
    if (value == glueLabels_)
        return;
    if (!IsReadingOrLoading())
        CheckNotActive();
    glueLabels_ = value;
}

void TAligningPanel::Loaded()
{
    TCustomPanel::Loaded();
    try {
        applyingStored_ = true;
        SetAligningActive(storedAligningActive_);
        applyingStored_ = false;
        loaded_ = true;
    } catch (...) {
        applyingStored_ = false;
        if (!(ComponentState() & csDesigning))
            throw;
        Application->HandleException(this);
    }
}

void TAligningPanel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE:
        WMSize(message);
        return;
    case CM_CONTROLLISTCHANGE:
        TCustomPanel::Dispatch(message);
        // Only a windowed child tells its parent that it came or went, as the system's parent
        // notification does; a label, image or bevel added at run time is simply measured and placed
        // at the next resize, which makes the records anew for the children then present. Sent after
        // a child joined the list and before one leaves it.
        if (dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.WParam)))
            ChildListChanged(ControlCount() - (message.LParam ? 0 : 1));
        return;
    default:
        TCustomPanel::Dispatch(message);
    }
}

void TAligningPanel::ChildListChanged(int children)
{
    if (aligningActive_ && !IsReadingOrLoading() && !(ComponentState() & csDestroying) && children != RecordCount())
        SetAligningActive(false);
}

void TAligningPanel::WMSize(TMessage& m)
{
    if (!aligningActive_ || (!moveHorizontaly_ && !moveVerticaly_)) {
        TCustomPanel::Dispatch(m);
        return;
    }
    if (firstSize_) {
        if (!oldSizeTaken_) {
            oldHeight_ = Height();
            oldWidth_ = Width();
        }
        firstSize_ = false;
    }
    TCustomPanel::Dispatch(m);
    const int newHeight = HIWORD(m.LParam) >= minHeight_ ? Height() : minHeight_;
    const int newWidth = LOWORD(m.LParam) >= minWidth_ ? Width() : minWidth_;
    if (ControlCount() == 0)
        return;
    if (RecordCount() != ControlCount())
        AllocPositions(ControlCount());
    if (oldWidth_ > 0 && oldHeight_ > 0)
        ScaleChildren(double(newWidth) / double(oldWidth_), double(newHeight) / double(oldHeight_));
    if (glueLabels_)
        GlueLabelsToFocusControls();
    oldHeight_ = newHeight;
    oldWidth_ = newWidth;
}

void TAligningPanel::ScaleChildren(double fx, double fy)
{
    // A glued label's distance is taken before anything moves: its focus control may come earlier in
    // the child order and would otherwise be measured at its new place.
    if (glueLabels_) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            TWinControl* focus = GluedTo(child);
            if (!focus)
                continue;
            TPositionRecord& r = positions_[static_cast<size_t>(i)];
            if (r.Height == 0)
                r.Height = focus->Top() - child->Top();
            if (r.Width == 0)
                r.Width = focus->Left() - child->Left();
        }
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        TPositionRecord& r = positions_[static_cast<size_t>(i)];
        const bool sized = sizePanelsBevels_ && IsPanelOrBevel(child);
        if (moveHorizontaly_) {
            if (r.Left == 0)
                r.Left = child->Left();
            r.Left *= fx;
            int width = child->Width();
            if (sized) {
                if (r.Width == 0)
                    r.Width = child->Width();
                r.Width *= fx;
                width = RoundEven(r.Width);
            }
            child->SetBounds(RoundEven(r.Left), child->Top(), width, child->Height());
        }
        if (moveVerticaly_) {
            if (r.Top == 0)
                r.Top = child->Top();
            r.Top *= fy;
            int height = child->Height();
            if (sized) {
                if (r.Height == 0)
                    r.Height = child->Height();
                r.Height *= fy;
                height = RoundEven(r.Height);
            }
            child->SetBounds(child->Left(), RoundEven(r.Top), child->Width(), height);
        }
    }
}

void TAligningPanel::GlueLabelsToFocusControls()
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        TWinControl* focus = GluedTo(child);
        if (!focus)
            continue;
        const TPositionRecord& r = positions_[static_cast<size_t>(i)];
        child->SetBounds(focus->Left() - RoundEven(r.Width), focus->Top() - RoundEven(r.Height), child->Width(),
                         child->Height());
    }
}

void RegisterAligningPanelClass()
{
    RegisterClass<TAligningPanel>(L"TAligningPanel", L"TCustomPanel")
        .Bool(L"AligningActive", &TAligningPanel::SetAligningActive)
        .Int(L"MinHeight", &TAligningPanel::SetMinHeight)
        .Int(L"MinWidth", &TAligningPanel::SetMinWidth)
        .Bool(L"MoveHorizontaly", &TAligningPanel::SetMoveHorizontaly)
        .Bool(L"MoveVerticaly", &TAligningPanel::SetMoveVerticaly)
        .Bool(L"SizePanelsBevels", &TAligningPanel::SetSizePanelsBevels)
        .Bool(L"GlueLabels", &TAligningPanel::SetGlueLabels);
}
