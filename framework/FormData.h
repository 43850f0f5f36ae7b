// Form data: our text format for forms and their components, its parser, the table of readable classes
// with their published properties, and the reader that builds a form from the data.
//
//   object MainForm: TMainForm          // a component: name and class; nested blocks are its children
//     Caption = 'Велмора'               // strings in quotes ('' for a quote, #1234 for a character code)
//     Left = 10                         // integers (decimal or $hex), floats with "."
//     Align = alClient                  // identifiers: enumerations, colours, booleans, references
//     Anchors = [akLeft, akTop]         // sets
//     Font.Name = 'Tahoma'              // nested properties
//     Lines = ('one' 'two')             // lists
//     Data = {0A0BFF}                   // binary, inline
//     SkinData = file 'office.asz'      // binary, from a file compiled into the program beside the form
//     Items = < item Caption = 'a' end > // collections
//     OnCreate = FormCreate             // events: a handler that the form declares
//   end
#pragma once

#include "framework/Classes.h"
#include "framework/SysUtils.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

struct TFormItem;
struct TFormProperty;

struct TFormValue {
    enum Kind { vkInteger, vkFloat, vkString, vkIdent, vkSet, vkList, vkBinary, vkFile, vkCollection };
    Kind kind = vkInteger;
    std::int64_t integer = 0;
    double number = 0;
    std::wstring text; // string, identifier or file name
    std::vector<std::wstring> set;
    std::vector<TFormValue> list;
    std::vector<std::uint8_t> bytes;
    std::vector<TFormItem> items;
    int line = 0;

    std::wstring Describe() const;
};

struct TFormProperty {
    std::wstring name; // dotted for nested properties: "Font.Name"
    TFormValue value;
    int line = 0;
};

struct TFormItem {
    std::vector<TFormProperty> properties;
    int line = 0;
};

struct TFormObject {
    std::wstring name;
    std::wstring className;
    std::vector<TFormProperty> properties;
    std::vector<TFormObject> children;
    int line = 0;
};

// Parses form data (UTF-8 text). Raises EReadError "file(line): reason" for malformed data.
TFormObject ParseFormData(const std::string& utf8, const std::wstring& fileName);

class TFormReader;

// What a class offers to the reader: how to create it (components only) and its published properties.
class TClassInfo {
public:
    using Setter = std::function<void(TPersistent* object, const TFormValue& value, TFormReader& reader)>;
    using Getter = std::function<TPersistent*(TPersistent* object)>;
    using Factory = std::function<TComponent*(TComponent* owner)>;
    using Tester = std::function<bool(const TPersistent* object)>;

    TClassInfo(std::wstring name, const TClassInfo* parent, Factory factory, Tester tester)
        : name_(std::move(name)), parent_(parent), factory_(std::move(factory)), tester_(std::move(tester))
    {
    }
    bool IsInstance(const TPersistent* object) const { return tester_ && tester_(object); }
    int Depth() const { return parent_ ? parent_->Depth() + 1 : 0; }

    const std::wstring& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    const Factory& Create() const { return factory_; }
    // Looked up without case, through the base classes.
    const Setter* FindProperty(const std::wstring& name) const;
    const Getter* FindObject(const std::wstring& name) const;

    void AddProperty(const std::wstring& name, Setter setter);
    void AddObject(const std::wstring& name, Getter getter);

private:
    std::wstring name_;
    const TClassInfo* parent_;
    Factory factory_;
    Tester tester_;
    std::map<std::wstring, Setter> properties_; // upper-case names
    std::map<std::wstring, Getter> objects_;
};

// Registers a class under its name (its base registered first); returns the entry to add properties to.
TClassInfo& RegisterClassInfo(const std::wstring& name, const std::wstring& parentName, TClassInfo::Factory factory,
                              TClassInfo::Tester tester);
const TClassInfo* FindClassInfo(const std::wstring& name);
// The closest registered class of Object: its own class, or else the most derived registered base.
const TClassInfo* ClassInfoOf(const TPersistent* object);

// The handlers and component fields a form declares once, by name; the reader binds events and fields
// through it.
class TFormBindings {
public:
    template <class C, class... Args>
    void Handler(const std::wstring& name, C* object, void (C::*method)(Args...))
    {
        handlers_.insert_or_assign(Key(name), Entry{std::type_index(typeid(TEvent<Args...>)), TEvent<Args...>(object, method)});
    }
    // The field receives the component of that name after reading (it must be of class T).
    template <class T>
    void Field(const std::wstring& name, T** field)
    {
        fields_[Key(name)] = [field](TComponent* c) {
            T* typed = dynamic_cast<T*>(c);
            if (!typed)
                return false;
            *field = typed;
            return true;
        };
    }

    // nullptr when no handler of that name exists; throws std::bad_any_cast on a type mismatch.
    const std::any* FindHandler(const std::wstring& name, std::type_index type, bool& typeMatches) const;
    // False when the field exists but has another class; True when bound or when no field is declared.
    bool BindField(const std::wstring& name, TComponent* component) const;

private:
    struct Entry {
        std::type_index type;
        std::any event;
    };
    static std::wstring Key(const std::wstring& name);
    std::map<std::wstring, Entry> handlers_;
    std::map<std::wstring, std::function<bool(TComponent*)>> fields_;
};

// A root that binds handlers and fields (forms) implements this.
class IFormBindingsSource {
public:
    virtual ~IFormBindingsSource() = default;
    virtual void DeclareBindings(TFormBindings& bindings) = 0;
};

// Reads one form's data into Root: components created in data order with csLoading and csReading set,
// properties applied in data order, references fixed up at the end, then Loaded for the root and for
// each component in the order its reading finished. Errors are EReadError "file(line): reason".
class TFormReader {
public:
    TFormReader(TComponent* root, std::wstring fileName);
    void Read(const TFormObject& data);

    TComponent* Root() const { return root_; }
    [[noreturn]] void Error(int line, const std::wstring& message) const;
    // Binary data of a file compiled in beside the form ("file 'x.asz'").
    std::vector<std::uint8_t> LoadFile(const std::wstring& name, int line) const;
    // Called at the end of reading with the component named Name (the root included).
    void AddFixup(const std::wstring& name, int line, std::function<void(TComponent*)> apply);
    template <class... Args>
    TEvent<Args...> FindEvent(const TFormValue& value) const
    {
        bool typeMatches = false;
        const std::any* handler = bindings_.FindHandler(value.text, std::type_index(typeid(TEvent<Args...>)), typeMatches);
        if (!handler)
            Error(value.line, L"Handler " + value.text + L" not found");
        if (!typeMatches)
            Error(value.line, L"Handler " + value.text + L" has the wrong parameters");
        return std::any_cast<TEvent<Args...>>(*handler);
    }

    // Applies one property (dotted names descend into nested objects) to Object.
    void ApplyProperty(TPersistent* object, const TFormProperty& property);

    // Loads form data compiled into the program: the resource of type FORMDATA whose root has class
    // ClassName. The file-loader hook lets tests and tools read from elsewhere.
    using FileLoader = std::function<bool(const std::wstring& name, std::vector<std::uint8_t>& bytes)>;
    void SetFileLoader(FileLoader loader) { fileLoader_ = std::move(loader); }

private:
    TComponent* ReadChild(const TFormObject& data, TComponent* parent);
    void ReadBody(TComponent* component, const TFormObject& data);

    struct Fixup {
        std::wstring name;
        int line;
        std::function<void(TComponent*)> apply;
    };

    TComponent* root_;
    std::wstring fileName_;
    TFormBindings bindings_;
    std::vector<Fixup> fixups_;
    std::vector<TComponent*> loaded_;
    FileLoader fileLoader_;
};

// Form data compiled into the program: finds the data whose root is of class ClassName, with the name
// of the file it came from. False when the program has none.
bool FindFormResource(const std::wstring& className, std::string& data, std::wstring& fileName);
// Reads the compiled-in data of Root's class into Root; False when there is none.
bool ReadComponentResource(TComponent* root);

// Typed declaration of a class's published properties, once per class:
//   RegisterClass<TPanel>(L"TPanel", L"TCustomControl").Int(L"BevelWidth", &TPanel::SetBevelWidth);
template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}
    TClassInfo& Info() const { return info_; }

    TClassBuilder& Int(const std::wstring& name, void (T::*setter)(int))
    {
        info_.AddProperty(name, [setter](TPersistent* o, const TFormValue& v, TFormReader& r) {
            (Cast(o)->*setter)(IntValue(v, r));
        });
        return *this;
    }
    TClassBuilder& Bool(const std::wstring& name, void (T::*setter)(bool))
    {
        info_.AddProperty(name, [setter](TPersistent* o, const TFormValue& v, TFormReader& r) {
            (Cast(o)->*setter)(BoolValue(v, r));
        });
        return *this;
    }
    TClassBuilder& String(const std::wstring& name, void (T::*setter)(const std::wstring&))
    {
        info_.AddProperty(name, [setter](TPersistent* o, const TFormValue& v, TFormReader& r) {
            (Cast(o)->*setter)(StringValue(v, r));
        });
        return *this;
    }
    // Enumerations and named integer constants (colours: clBtnFace or a number).
    template <class E>
    TClassBuilder& Enum(const std::wstring& name, void (T::*setter)(E), std::vector<std::pair<std::wstring, E>> names,
                        bool numbersAllowed = false)
    {
        info_.AddProperty(name, [setter, names, numbersAllowed](TPersistent* o, const TFormValue& v, TFormReader& r) {
            if (numbersAllowed && v.kind == TFormValue::vkInteger) {
                (Cast(o)->*setter)(static_cast<E>(v.integer));
                return;
            }
            (Cast(o)->*setter)(IdentValue(v, r, names));
        });
        return *this;
    }
    // Sets of enumeration values given as [a, b]; S has Include(E).
    template <class S, class E>
    TClassBuilder& Set(const std::wstring& name, void (T::*setter)(S), std::vector<std::pair<std::wstring, E>> names)
    {
        info_.AddProperty(name, [setter, names](TPersistent* o, const TFormValue& v, TFormReader& r) {
            if (v.kind != TFormValue::vkSet)
                r.Error(v.line, L"Set expected, found " + v.Describe());
            S s{};
            for (const auto& item : v.set) {
                TFormValue one;
                one.kind = TFormValue::vkIdent;
                one.text = item;
                one.line = v.line;
                s.Include(IdentValue(one, r, names));
            }
            (Cast(o)->*setter)(s);
        });
        return *this;
    }
    // A reference to another component of the form, by name (forward references allowed).
    template <class C>
    TClassBuilder& Reference(const std::wstring& name, void (T::*setter)(C*))
    {
        info_.AddProperty(name, [setter, name](TPersistent* o, const TFormValue& v, TFormReader& r) {
            if (v.kind != TFormValue::vkIdent)
                r.Error(v.line, L"Component name expected, found " + v.Describe());
            T* target = Cast(o);
            int line = v.line;
            TFormReader* reader = &r;
            r.AddFixup(v.text, v.line, [target, setter, reader, line, name](TComponent* c) {
                C* typed = dynamic_cast<C*>(c);
                if (!typed)
                    reader->Error(line, L"Property " + name + L" cannot refer to " +
                                            (c ? L"a " + c->ClassName() : std::wstring(L"nothing")));
                (target->*setter)(typed);
            });
        });
        return *this;
    }
    // An event: the value names a handler that the root declares.
    template <class... Args>
    TClassBuilder& Event(const std::wstring& name, TEvent<Args...> T::*field)
    {
        info_.AddProperty(name, [field](TPersistent* o, const TFormValue& v, TFormReader& r) {
            if (v.kind != TFormValue::vkIdent)
                r.Error(v.line, L"Handler name expected, found " + v.Describe());
            Cast(o)->*field = r.FindEvent<Args...>(v);
        });
        return *this;
    }
    TClassBuilder& Binary(const std::wstring& name, void (T::*setter)(const std::vector<std::uint8_t>&))
    {
        info_.AddProperty(name, [setter](TPersistent* o, const TFormValue& v, TFormReader& r) {
            if (v.kind == TFormValue::vkBinary)
                (Cast(o)->*setter)(v.bytes);
            else if (v.kind == TFormValue::vkFile)
                (Cast(o)->*setter)(r.LoadFile(v.text, v.line));
            else
                r.Error(v.line, L"Binary data expected, found " + v.Describe());
        });
        return *this;
    }
    // A nested object (a font, a collection, a string list) whose own properties follow with a dot,
    // or which takes a list or collection value as a whole.
    template <class C>
    TClassBuilder& Object(const std::wstring& name, C* (T::*getter)() const)
    {
        info_.AddObject(name, [getter](TPersistent* o) -> TPersistent* { return (Cast(o)->*getter)(); });
        return *this;
    }
    TClassBuilder& Custom(const std::wstring& name, std::function<void(T*, const TFormValue&, TFormReader&)> apply)
    {
        info_.AddProperty(name, [apply](TPersistent* o, const TFormValue& v, TFormReader& r) { apply(Cast(o), v, r); });
        return *this;
    }

    static int IntValue(const TFormValue& v, TFormReader& r)
    {
        if (v.kind != TFormValue::vkInteger)
            r.Error(v.line, L"Integer expected, found " + v.Describe());
        if (v.integer < INT32_MIN || v.integer > UINT32_MAX)
            r.Error(v.line, L"Integer out of range");
        return static_cast<int>(static_cast<std::int32_t>(v.integer));
    }
    static bool BoolValue(const TFormValue& v, TFormReader& r)
    {
        if (v.kind == TFormValue::vkIdent) {
            if (SameUpperCase(v.text, L"True"))
                return true;
            if (SameUpperCase(v.text, L"False"))
                return false;
        }
        r.Error(v.line, L"True or False expected, found " + v.Describe());
    }
    static std::wstring StringValue(const TFormValue& v, TFormReader& r)
    {
        if (v.kind != TFormValue::vkString)
            r.Error(v.line, L"String expected, found " + v.Describe());
        return v.text;
    }
    template <class E>
    static E IdentValue(const TFormValue& v, TFormReader& r, const std::vector<std::pair<std::wstring, E>>& names)
    {
        if (v.kind == TFormValue::vkIdent)
            for (const auto& [text, value] : names)
                if (SameUpperCase(text, v.text))
                    return value;
        r.Error(v.line, L"Invalid property value " + v.Describe());
    }

private:
    static T* Cast(TPersistent* o) { return static_cast<T*>(o); }
    TClassInfo& info_;
};

// A component class (T(TComponent* owner) exists) or a persistent class without a factory.
template <class T>
TClassBuilder<T> RegisterClass(const std::wstring& name, const std::wstring& parentName)
{
    TClassInfo::Factory factory;
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
        factory = [](TComponent* owner) -> TComponent* { return Create<T>(owner); };
    auto tester = [](const TPersistent* object) { return dynamic_cast<const T*>(object) != nullptr; };
    return TClassBuilder<T>(RegisterClassInfo(name, parentName, factory, tester));
}
