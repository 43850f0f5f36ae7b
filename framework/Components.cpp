// Components (ownership, names, notification, two-phase life) and collections.
#include "framework/Classes.h"

#include "framework/SysUtils.h"

#include <algorithm>

namespace {

bool IsValidIdent(const std::wstring& name)
{
    if (name.empty())
        return false;
    auto isAlpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
    if (!isAlpha(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), [&](wchar_t c) { return isAlpha(c) || (c >= L'0' && c <= L'9'); });
}

} // namespace

// ---- TComponent ----

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Those who asked to hear about our end drop their references now.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        if (other != owner_)
            other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::wstring& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const std::wstring& name)
{
    if (name == name_)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(L"'" + name + L"' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError(L"A component named " + name + L" already exists");
    }
    name_ = name;
}

void TComponent::Loaded()
{
    ClearComponentState(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component)
        RemoveFreeNotification(component);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& theirs = component->freeNotifies_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError(L"A component named " + component->name_ + L" already exists");
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    NotifyOwned(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    NotifyOwned(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation)
{
    // The owner first, then every component it owns, in creation order; copied, since a handler may
    // add or remove components.
    Notification(component, operation);
    std::vector<TComponent*> list = components_;
    for (TComponent* c : list)
        if (c != component && std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        Free(last); // removes itself from our list
        if (!components_.empty() && components_.back() == last)
            components_.pop_back();
    }
}

void TComponent::Destroying()
{
    if (HasState(csDestroying))
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

void Free(TComponent* component)
{
    if (!component)
        return;
    component->BeforeDestruction();
    delete component;
}

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection)
        collection->InsertItem(this, collection->Count());
}

TCollectionItem::~TCollectionItem()
{
    if (collection_)
        collection_->RemoveItem(this);
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value)
{
    int current = Index();
    if (current < 0 || value == current)
        return;
    auto& items = collection_->items_;
    value = std::clamp(value, 0, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool all)
{
    if (collection_)
        collection_->Changed(all ? nullptr : this);
}

// ---- TCollection ----

TCollection::~TCollection()
{
    updateCount_ = 1; // no Update calls into a half-destroyed owner
    Clear();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = factory_(nullptr);
    InsertItem(item, Count());
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = factory_(nullptr);
    InsertItem(item, std::clamp(index, 0, Count()));
    return item;
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(std::intptr_t id) const
{
    for (TCollectionItem* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

void TCollection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    Clear();
    for (TCollectionItem* item : other->items_)
        Add()->Assign(item);
    EndUpdate();
}

void TCollection::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item, int index)
{
    item->collection_ = this;
    item->id_ = nextId_++;
    items_.insert(items_.begin() + index, item);
    Changed(nullptr);
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (updateCount_ == 0)
        Update(item);
}
