// Published properties read and written by name at run time: ordinal values (integers, colours,
// enumerations), sets with the names of their elements, texts, nested objects and events. A class publishes
// them once, by its registered class name; lookups go through the registered base classes.
#pragma once

#include "framework/Classes.h"
#include "framework/Events.h"
#include "framework/Types.h"

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

enum TPropKind { pkOrdinal, pkSet, pkString, pkObject, pkMethod };

struct TPropInfo {
    TPropKind Kind = pkOrdinal;
    // Ordinal values; for sets bit i stands for the element named Elements[i].
    std::function<std::int64_t(const TPersistent*)> GetOrd;
    std::function<void(TPersistent*, std::int64_t)> SetOrd;
    std::vector<std::wstring> Elements;
    std::function<std::wstring(const TPersistent*)> GetText;
    std::function<TPersistent*(const TPersistent*)> GetObject;
    // Events: whether one is assigned, and assigning one (an empty value clears it).
    std::function<bool(const TPersistent*)> Assigned;
    std::function<void(TPersistent*, const std::any&)> SetMethod;
};

// ClassName must be registered with the form reader's class table (RegisterClass).
void RegisterPublishedProp(const std::wstring& className, const std::wstring& name, TPropInfo info);
// The property of Object's registered class or of its bases (names without case), nil when none.
const TPropInfo* GetPropInfo(const TPersistent* object, const std::wstring& name);

// Typed declarations: PublishOrd<TFont>(L"TFont", L"Color", &TFont::Color, &TFont::SetColor).
template <class T, class V>
void PublishOrd(const std::wstring& className, const std::wstring& name, V (T::*getter)() const,
                void (T::*setter)(V))
{
    TPropInfo info;
    info.GetOrd = [getter](const TPersistent* o) {
        return static_cast<std::int64_t>((static_cast<const T*>(o)->*getter)());
    };
    info.SetOrd = [setter](TPersistent* o, std::int64_t v) { (static_cast<T*>(o)->*setter)(static_cast<V>(v)); };
    RegisterPublishedProp(className, name, std::move(info));
}

// A set property; Names gives each element's name in the order of its enumeration values.
template <class T, class E>
void PublishSet(const std::wstring& className, const std::wstring& name, TSet<E> (T::*getter)() const,
                void (T::*setter)(TSet<E>), std::vector<std::wstring> names)
{
    TPropInfo info;
    info.Kind = pkSet;
    info.Elements = std::move(names);
    info.GetOrd = [getter](const TPersistent* o) {
        return static_cast<std::int64_t>((static_cast<const T*>(o)->*getter)().Bits());
    };
    info.SetOrd = [setter](TPersistent* o, std::int64_t v) {
        (static_cast<T*>(o)->*setter)(TSet<E>::FromBits(static_cast<std::uint32_t>(v)));
    };
    RegisterPublishedProp(className, name, std::move(info));
}

template <class T>
void PublishString(const std::wstring& className, const std::wstring& name, const std::wstring& (T::*getter)() const)
{
    TPropInfo info;
    info.Kind = pkString;
    info.GetText = [getter](const TPersistent* o) { return (static_cast<const T*>(o)->*getter)(); };
    RegisterPublishedProp(className, name, std::move(info));
}

template <class T, class C>
void PublishObject(const std::wstring& className, const std::wstring& name, C* (T::*getter)() const)
{
    TPropInfo info;
    info.Kind = pkObject;
    info.GetObject = [getter](const TPersistent* o) -> TPersistent* { return (static_cast<const T*>(o)->*getter)(); };
    RegisterPublishedProp(className, name, std::move(info));
}

// An event field; a value given to SetMethod must hold exactly the event's type.
template <class T, class... Args>
void PublishEvent(const std::wstring& className, const std::wstring& name, TEvent<Args...> T::*field)
{
    TPropInfo info;
    info.Kind = pkMethod;
    info.Assigned = [field](const TPersistent* o) { return static_cast<bool>(static_cast<const T*>(o)->*field); };
    info.SetMethod = [field](TPersistent* o, const std::any& value) {
        static_cast<T*>(o)->*field =
            value.has_value() ? std::any_cast<TEvent<Args...>>(value) : TEvent<Args...>(nullptr);
    };
    RegisterPublishedProp(className, name, std::move(info));
}
