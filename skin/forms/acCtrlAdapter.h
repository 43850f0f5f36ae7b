// The control adapter chooser: a skinned form's provider gives its standard child controls (edits, list
// boxes, list views, buttons, combo boxes) window adapters, so that they are painted from the skin
// although they are not skinned controls themselves.
#pragma once

#include "skin/forms/acSBUtils.h"
#include "skin/forms/sSkinProvider.h"

#include <memory>
#include <string>
#include <vector>

class TacCtrlAdapter;

// One adapted control: its skin state and its window adapter, both owned.
class TacAdapterItem : public TPersistent {
    DECLARE_CLASS_NAME(TacAdapterItem)
public:
    TacAdapterItem();
    ~TacAdapterItem() override;
    // Gives the control its window adapter by its kind.
    virtual void Adapt(TWinControl* control);

    TWinControl* Control = nullptr; // borrowed
    std::unique_ptr<TsCommonData> SkinData;
    TacCtrlAdapter* CtrlAdapter = nullptr; // the list that holds the item
    TacAdapterPtr<> WndAdapter;            // owned; nil when none
};

class TacCtrlAdapter : public TPersistent, public IacProviderCtrlAdapter {
    DECLARE_CLASS_NAME(TacCtrlAdapter)
public:
    explicit TacCtrlAdapter(TsSkinProvider* provider);
    ~TacCtrlAdapter() override;

    bool IsAdaptable(TWinControl* control) override;
    TacAdapterItem* GetItem(int index) const;
    void AddNewItem(TWinControl* control) override { AddItem(control, StdSection); }
    virtual void AddItem(TWinControl* control, const std::wstring& section);
    virtual void RemoveItem(int index);
    // Scans the control's owned components, then its child controls (the provider's form when nil).
    void AddAllItems(TWinControl* control) override;
    void BroadcastToItems(TMessage& message) override;
    int Count() const { return static_cast<int>(Items.size()); }
    void RemoveAllItems();

    std::wstring StdSection; // never assigned: controls added one by one keep the section they have
    std::vector<std::unique_ptr<TacAdapterItem>> Items;
    TsSkinProvider* Provider = nullptr; // the owner

private:
    void ScanOne(TComponent* component);
};

// True for the class names of outside components that the chooser adapts like edits, rich views or
// virtual trees (exact, case-sensitive).
bool IsAdaptableClassName(const std::wstring& name);

// The chooser of a provider (the skin links' entry). The adapters of push buttons, bitmap buttons,
// transparent panels, combo boxes, grids and virtual trees come through the links' makers, from the
// units that define them; a control whose maker is empty gets no adapter.
std::unique_ptr<IacProviderCtrlAdapter> MakeCtrlAdapter(TsSkinProvider* provider);
