// Actions, action lists and the links that carry an action's properties to its clients.
#include "framework/ActnList.h"

#include "framework/SysUtils.h"

#include <algorithm>

// ---- TActionLink ----

TActionLink::~TActionLink()
{
    if (action_)
        action_->UnregisterLink(this);
}

void TActionLink::SetAction(TBasicAction* value)
{
    if (value == action_)
        return;
    if (action_)
        action_->UnregisterLink(this);
    action_ = value;
    if (value) {
        value->RegisterLink(this);
        if (auto* a = dynamic_cast<TCustomAction*>(value)) {
            SetCaption(a->Caption());
            SetHint(a->Hint());
            SetEnabled(a->Enabled());
            SetChecked(a->Checked());
            SetVisible(a->Visible());
            SetImageIndex(a->ImageIndex());
            SetShortCut(a->ShortCut());
        }
    }
}

bool TActionLink::Execute()
{
    return action_ && action_->Execute();
}

// ---- TBasicAction ----

TBasicAction::~TBasicAction()
{
    Destroying();
    // The clients keep their properties and lose the action.
    std::vector<TActionLink*> links = links_;
    for (TActionLink* link : links)
        link->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterLink(TActionLink* link)
{
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TBasicAction::UnregisterLink(TActionLink* link)
{
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

// ---- TCustomAction ----

TCustomAction::~TCustomAction()
{
    if (actionList_)
        actionList_->RemoveAction(this);
}

void TCustomAction::SetActionList(TCustomActionList* value)
{
    if (value == actionList_)
        return;
    if (actionList_)
        actionList_->RemoveAction(this);
    if (value)
        value->AddAction(this);
}

void TCustomAction::SetParentComponent(TComponent* parent)
{
    if (auto* list = dynamic_cast<TCustomActionList*>(parent))
        SetActionList(list);
}

int TCustomAction::Index() const
{
    if (!actionList_)
        return -1;
    for (int i = 0; i < actionList_->ActionCount(); ++i)
        if (actionList_->Actions(i) == this)
            return i;
    return -1;
}

void TCustomAction::SetCaption(const std::wstring& value)
{
    caption_ = value;
    ForEachLink([&](TActionLink* l) { l->SetCaption(value); });
}

void TCustomAction::SetHint(const std::wstring& value)
{
    hint_ = value;
    ForEachLink([&](TActionLink* l) { l->SetHint(value); });
}

void TCustomAction::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    ForEachLink([&](TActionLink* l) { l->SetEnabled(value); });
}

void TCustomAction::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    ForEachLink([&](TActionLink* l) { l->SetChecked(value); });
}

void TCustomAction::SetVisible(bool value)
{
    if (value == visible_)
        return;
    visible_ = value;
    ForEachLink([&](TActionLink* l) { l->SetVisible(value); });
}

void TCustomAction::SetImageIndex(int value)
{
    imageIndex_ = value;
    ForEachLink([&](TActionLink* l) { l->SetImageIndex(value); });
}

void TCustomAction::SetShortCut(TShortCut value)
{
    shortCut_ = value;
    ForEachLink([&](TActionLink* l) { l->SetShortCut(value); });
}

bool TCustomAction::Execute()
{
    if (!enabled_)
        return false;
    if (actionList_ && actionList_->OnExecute) {
        bool handled = false;
        actionList_->OnExecute(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Execute();
}

bool TCustomAction::Update()
{
    if (actionList_ && actionList_->OnUpdate) {
        bool handled = false;
        actionList_->OnUpdate(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Update();
}

// ---- TCustomActionList ----

TCustomActionList::~TCustomActionList()
{
    Destroying();
    std::vector<TCustomAction*> actions = actions_;
    for (TCustomAction* a : actions)
        a->SetActionList(nullptr);
}

TCustomAction* TCustomActionList::Actions(int index) const
{
    if (index < 0 || index >= ActionCount())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return actions_[static_cast<size_t>(index)];
}

void TCustomActionList::AddAction(TCustomAction* action)
{
    if (action->ActionList() == this)
        return;
    if (action->actionList_)
        action->actionList_->RemoveAction(action);
    actions_.push_back(action);
    action->actionList_ = this;
}

void TCustomActionList::RemoveAction(TCustomAction* action)
{
    auto it = std::find(actions_.begin(), actions_.end(), action);
    if (it == actions_.end())
        return;
    actions_.erase(it);
    action->actionList_ = nullptr;
}

bool TCustomActionList::IsShortCut(TShortCut shortCut)
{
    std::vector<TCustomAction*> actions = actions_;
    for (TCustomAction* a : actions) {
        if (a->ShortCut() != shortCut || shortCut == 0)
            continue;
        a->Update();
        if (!a->Enabled())
            continue;
        if (a->Execute())
            return true;
    }
    return false;
}

void TCustomActionList::UpdateActions()
{
    std::vector<TCustomAction*> actions = actions_;
    for (TCustomAction* a : actions)
        a->Update();
}
