#include "skin/core/acntUtils.h"

#include "framework/Graphics.h"
#include "framework/SysUtils.h"
#include "framework/TypInfo.h"

#include <algorithm>

#include <shellapi.h>

std::wstring ProgramFolder()
{
    return IncludeTrailingPathDelimiter(ApplicationFolder());
}

std::unique_ptr<TIcon> LoadFileIcon(const std::wstring& fileName, unsigned flags)
{
    if (!FileExists(fileName))
        return nullptr;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(fileName.c_str(), 0, &info, sizeof(info), flags | SHGFI_ICON) || !info.hIcon)
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(info.hIcon);
    if (icon->Empty())
        return nullptr;
    return icon;
}

// ---- Published properties by name ----

namespace {

const TPropInfo* PropOfKind(const TPersistent* obj, const std::wstring& name, std::initializer_list<TPropKind> kinds)
{
    const TPropInfo* info = obj ? GetPropInfo(obj, name) : nullptr;
    if (!info)
        return nullptr;
    for (TPropKind kind : kinds)
        if (info->Kind == kind)
            return info;
    return nullptr;
}

// The set's elements as text: names joined by commas, in element order.
std::wstring SetToText(const TPropInfo& info, std::int64_t value)
{
    std::wstring text;
    for (std::size_t bit = 0; bit < info.Elements.size() && bit < 32; ++bit)
        if (value & (std::int64_t{1} << bit))
            text += (text.empty() ? L"" : L",") + info.Elements[bit];
    return text;
}

std::int64_t TextToSet(const TPropInfo& info, const std::wstring& text)
{
    std::int64_t value = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L',', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring name = Trim(text.substr(start, end - start));
        if (!name.empty()) {
            auto it = std::find_if(info.Elements.begin(), info.Elements.end(),
                                   [&](const std::wstring& e) { return SameText(e, name); });
            if (it == info.Elements.end())
                throw EConvertError(L"Invalid property element: " + name);
            value |= std::int64_t{1} << (it - info.Elements.begin());
        }
        start = end + 1;
    }
    return value;
}

} // namespace

bool HasProperty(const TPersistent* obj, const std::wstring& name)
{
    return obj && GetPropInfo(obj, name) != nullptr;
}

TPersistent* GetObjectPropByName(const TPersistent* obj, const std::wstring& name)
{
    const TPropInfo* info = PropOfKind(obj, name, {pkObject});
    return info ? info->GetObject(obj) : nullptr;
}

std::int64_t GetOrdPropByName(const TPersistent* obj, const std::wstring& name)
{
    const TPropInfo* info = PropOfKind(obj, name, {pkOrdinal, pkSet});
    return info ? info->GetOrd(obj) : -1;
}

void SetOrdPropByName(TPersistent* obj, const std::wstring& name, std::int64_t value)
{
    if (const TPropInfo* info = PropOfKind(obj, name, {pkOrdinal, pkSet}))
        info->SetOrd(obj, value);
}

bool SetPropHasElement(const TPersistent* obj, const std::wstring& propName, const std::wstring& elemName)
{
    const TPropInfo* info = PropOfKind(obj, propName, {pkSet});
    if (!info)
        return false;
    const std::int64_t value = info->GetOrd(obj);
    for (std::size_t bit = 0; bit < info->Elements.size() && bit < 32; ++bit)
        if ((value & (std::int64_t{1} << bit)) && info->Elements[bit] == elemName)
            return true;
    return false;
}

bool ChangeSetPropElement(TPersistent* obj, const std::wstring& propName, const std::wstring& elemName, bool include)
{
    const TPropInfo* info = PropOfKind(obj, propName, {pkSet});
    if (!info)
        return false;
    std::wstring text = SetToText(*info, info->GetOrd(obj));
    if (include) {
        // A plain substring test, as the element list is text here.
        if (text.find(elemName) == std::wstring::npos) {
            text += L"," + elemName;
            info->SetOrd(obj, TextToSet(*info, text));
        }
        return false;
    }
    for (const std::wstring& cut : {L"," + elemName, elemName + L",", elemName}) {
        const std::size_t at = text.find(cut);
        if (at != std::wstring::npos) {
            text.erase(at, cut.size());
            info->SetOrd(obj, TextToSet(*info, text));
            break;
        }
    }
    return false;
}
