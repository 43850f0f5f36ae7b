#include "skin/core/sStoredSkins.h"

TsStoredSkin* TsStoredSkins::Add()
{
    items_.push_back(std::make_unique<TsStoredSkin>());
    return items_.back().get();
}

TsStoredSkin* TsStoredSkins::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    return items_[static_cast<size_t>(index)].get();
}

int TsStoredSkins::IndexOfSkin(const std::wstring& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)]->Name() == name)
            return i;
    return -1;
}
