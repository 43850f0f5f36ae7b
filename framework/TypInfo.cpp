#include "framework/TypInfo.h"

#include "framework/FormData.h"
#include "framework/SysUtils.h"

#include <map>
#include <memory>

namespace {

// Keyed by the registered class (its entry in the form reader's table) and the upper-case name.
std::map<std::pair<const TClassInfo*, std::wstring>, TPropInfo>& PropTable()
{
    static std::map<std::pair<const TClassInfo*, std::wstring>, TPropInfo> table;
    return table;
}

} // namespace

void RegisterPublishedProp(const std::wstring& className, const std::wstring& name, TPropInfo info)
{
    const TClassInfo* cls = FindClassInfo(className);
    if (!cls)
        throw EFilerError(L"Class " + className + L" must be registered before its property " + name);
    PropTable()[{cls, UpperCase(name)}] = std::move(info);
}

const TPropInfo* GetPropInfo(const TPersistent* object, const std::wstring& name)
{
    const std::wstring key = UpperCase(name);
    const auto& table = PropTable();
    for (const TClassInfo* cls = ClassInfoOf(object); cls; cls = cls->Parent()) {
        auto it = table.find({cls, key});
        if (it != table.end())
            return &it->second;
    }
    return nullptr;
}
