// Skins stored in the manager (travelling in form data) and the animation settings of skin changes.
#pragma once

#include "framework/Classes.h"
#include "skin/core/sConst.h"

#include <memory>
#include <string>
#include <vector>

// A stored skin; Data holds a packed container, empty when the skin is spelled out otherwise.
class TsStoredSkin : public TPersistent {
    DECLARE_CLASS_NAME(TsStoredSkin)
public:
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value)
    {
        if (value != name_)
            name_ = value;
    }
    TMemoryStream* Data() { return &data_; }

    double Version = 0;
    std::wstring Description;
    std::wstring Author;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Color = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    std::int32_t BorderColor = clFuchsia;

private:
    std::wstring name_;
    TMemoryStream data_;
};

class TsStoredSkins : public TPersistent {
    DECLARE_CLASS_NAME(TsStoredSkins)
public:
    TsStoredSkin* Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TsStoredSkin* Items(int index) const;
    void Clear() { items_.clear(); }
    // The first item whose Name equals Name exactly; -1 when none.
    int IndexOfSkin(const std::wstring& name) const;

private:
    std::vector<std::unique_ptr<TsStoredSkin>> items_;
};
