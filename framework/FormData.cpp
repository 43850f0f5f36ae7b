// The form-data parser, the table of readable classes and the reader.
#include "framework/FormData.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cwchar>
#include <cwctype>

// ---- Parser ----

namespace {

class TFormParser {
public:
    TFormParser(const std::string& utf8, std::wstring fileName) : text_(Utf8ToWide(utf8)), fileName_(std::move(fileName))
    {
        if (!text_.empty() && text_[0] == 0xFEFF)
            pos_ = 1;
    }

    TFormObject ParseRoot()
    {
        SkipSpace();
        TFormObject root = ParseObject();
        SkipSpace();
        if (pos_ < text_.size())
            Fail(L"Text after the end of the root object");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::wstring& message) const
    {
        throw EReadError(fileName_ + L"(" + IntToStr(line_) + L"): " + message);
    }

    wchar_t Peek() const { return pos_ < text_.size() ? text_[pos_] : L'\0'; }
    bool AtEnd() const { return pos_ >= text_.size(); }

    void SkipSpace()
    {
        while (!AtEnd()) {
            wchar_t c = text_[pos_];
            if (c == L'\n') {
                ++line_;
                ++pos_;
            } else if (c == L' ' || c == L'\t' || c == L'\r') {
                ++pos_;
            } else if (c == L'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'/') {
                while (!AtEnd() && text_[pos_] != L'\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; }
    static bool IsIdentChar(wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9'); }

    // An identifier, dotted when allowDots ("Font.Name", "SkinData.SkinSection").
    std::wstring Ident(bool allowDots)
    {
        SkipSpace();
        if (!IsIdentStart(Peek()))
            Fail(L"Identifier expected");
        size_t start = pos_;
        while (!AtEnd() && (IsIdentChar(text_[pos_]) ||
                            (allowDots && text_[pos_] == L'.' && pos_ + 1 < text_.size() && IsIdentStart(text_[pos_ + 1]))))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    bool NextIsWord(const wchar_t* word)
    {
        SkipSpace();
        size_t n = std::wcslen(word);
        if (text_.size() - pos_ < n)
            return false;
        for (size_t i = 0; i < n; ++i) {
            wchar_t c = text_[pos_ + i];
            if (c >= L'A' && c <= L'Z')
                c = static_cast<wchar_t>(c + 32);
            if (c != word[i])
                return false;
        }
        return pos_ + n >= text_.size() || !IsIdentChar(text_[pos_ + n]);
    }

    void Expect(wchar_t c)
    {
        SkipSpace();
        if (Peek() != c)
            Fail(std::wstring(L"'") + c + L"' expected");
        ++pos_;
    }

    TFormObject ParseObject()
    {
        if (!NextIsWord(L"object"))
            Fail(L"'object' expected");
        TFormObject object;
        object.line = line_;
        pos_ += 6;
        object.name = Ident(false);
        Expect(L':');
        object.className = Ident(false);
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail(L"'end' expected for object " + object.name);
            if (NextIsWord(L"end")) {
                pos_ += 3;
                return object;
            }
            if (NextIsWord(L"object")) {
                object.children.push_back(ParseObject());
                continue;
            }
            object.properties.push_back(ParseProperty());
        }
    }

    TFormProperty ParseProperty()
    {
        TFormProperty property;
        SkipSpace();
        property.line = line_;
        property.name = Ident(true);
        Expect(L'=');
        property.value = ParseValue();
        return property;
    }

    TFormValue ParseValue()
    {
        SkipSpace();
        TFormValue value;
        value.line = line_;
        wchar_t c = Peek();
        if (c == L'\'' || c == L'#') {
            value.kind = TFormValue::vkString;
            value.text = ParseString();
        } else if (c == L'-' || c == L'+' || c == L'$' || (c >= L'0' && c <= L'9')) {
            ParseNumber(value);
        } else if (c == L'[') {
            value.kind = TFormValue::vkSet;
            ++pos_;
            SkipSpace();
            if (Peek() != L']') {
                for (;;) {
                    value.set.push_back(Ident(false));
                    SkipSpace();
                    if (Peek() == L',') {
                        ++pos_;
                        continue;
                    }
                    break;
                }
            }
            Expect(L']');
        } else if (c == L'(') {
            value.kind = TFormValue::vkList;
            ++pos_;
            for (;;) {
                SkipSpace();
                if (AtEnd())
                    Fail(L"')' expected");
                if (Peek() == L')') {
                    ++pos_;
                    break;
                }
                value.list.push_back(ParseValue());
            }
        } else if (c == L'{') {
            value.kind = TFormValue::vkBinary;
            ++pos_;
            ParseBinary(value.bytes);
        } else if (c == L'<') {
            value.kind = TFormValue::vkCollection;
            ++pos_;
            ParseCollection(value.items);
        } else if (NextIsWord(L"file")) {
            pos_ += 4;
            SkipSpace();
            if (Peek() != L'\'')
                Fail(L"File name expected");
            value.kind = TFormValue::vkFile;
            value.text = ParseString();
        } else if (IsIdentStart(c)) {
            value.kind = TFormValue::vkIdent;
            value.text = Ident(true);
        } else {
            Fail(L"Property value expected");
        }
        return value;
    }

    // 'text' with '' for a quote, #code characters, and + joining pieces across lines.
    std::wstring ParseString()
    {
        std::wstring result;
        for (;;) {
            SkipSpace();
            wchar_t c = Peek();
            if (c == L'\'') {
                ++pos_;
                for (;;) {
                    if (AtEnd() || text_[pos_] == L'\n')
                        Fail(L"Unterminated string");
                    wchar_t ch = text_[pos_++];
                    if (ch == L'\'') {
                        if (Peek() == L'\'') {
                            result += L'\'';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    result += ch;
                }
            } else if (c == L'#') {
                ++pos_;
                size_t start = pos_;
                while (!AtEnd() && text_[pos_] >= L'0' && text_[pos_] <= L'9')
                    ++pos_;
                if (start == pos_ || pos_ - start > 5)
                    Fail(L"Character code expected");
                unsigned long code = std::wcstoul(text_.substr(start, pos_ - start).c_str(), nullptr, 10);
                if (code > 0xFFFF)
                    Fail(L"Character code out of range");
                result += static_cast<wchar_t>(code);
            } else {
                Fail(L"String expected");
            }
            // Pieces join when they touch ('a'#13'b') or across lines with "+"; pieces apart are separate
            // values (items of a list).
            if (Peek() == L'\'' || Peek() == L'#')
                continue;
            size_t savedPos = pos_;
            int savedLine = line_;
            SkipSpace();
            if (Peek() == L'+') {
                ++pos_;
                continue;
            }
            pos_ = savedPos;
            line_ = savedLine;
            return result;
        }
    }

    void ParseNumber(TFormValue& value)
    {
        size_t start = pos_;
        bool negative = false;
        if (Peek() == L'-' || Peek() == L'+') {
            negative = Peek() == L'-';
            ++pos_;
        }
        if (Peek() == L'$') {
            ++pos_;
            size_t digits = pos_;
            std::uint64_t n = 0;
            while (!AtEnd() && std::iswxdigit(text_[pos_])) {
                wchar_t h = text_[pos_++];
                n = n * 16 + static_cast<std::uint64_t>(h <= L'9' ? h - L'0' : (h | 0x20) - L'a' + 10);
                if (n > 0xFFFFFFFFull)
                    Fail(L"Number out of range");
            }
            if (digits == pos_)
                Fail(L"Hexadecimal digits expected");
            value.kind = TFormValue::vkInteger;
            value.integer = negative ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n);
            return;
        }
        size_t digits = pos_;
        while (!AtEnd() && text_[pos_] >= L'0' && text_[pos_] <= L'9')
            ++pos_;
        if (digits == pos_)
            Fail(L"Number expected");
        bool isFloat = false;
        if (Peek() == L'.' && pos_ + 1 < text_.size() && text_[pos_ + 1] >= L'0' && text_[pos_ + 1] <= L'9') {
            isFloat = true;
            ++pos_;
            while (!AtEnd() && text_[pos_] >= L'0' && text_[pos_] <= L'9')
                ++pos_;
        }
        std::wstring number = text_.substr(start, pos_ - start);
        if (isFloat) {
            value.kind = TFormValue::vkFloat;
            value.number = std::wcstod(number.c_str(), nullptr);
            return;
        }
        if (pos_ - digits > 10)
            Fail(L"Number out of range");
        std::int64_t n = std::wcstoll(number.c_str(), nullptr, 10);
        if (n < INT32_MIN || n > 0xFFFFFFFFll)
            Fail(L"Number out of range");
        value.kind = TFormValue::vkInteger;
        value.integer = n;
    }

    void ParseBinary(std::vector<std::uint8_t>& bytes)
    {
        int high = -1;
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail(L"'}' expected");
            wchar_t c = text_[pos_++];
            if (c == L'}')
                break;
            int digit;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if ((c | 0x20) >= L'a' && (c | 0x20) <= L'f')
                digit = (c | 0x20) - L'a' + 10;
            else
                Fail(L"Hexadecimal digit expected in binary data");
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0)
            Fail(L"Odd number of digits in binary data");
    }

    void ParseCollection(std::vector<TFormItem>& items)
    {
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail(L"'>' expected");
            if (Peek() == L'>') {
                ++pos_;
                return;
            }
            if (!NextIsWord(L"item"))
                Fail(L"'item' expected");
            TFormItem item;
            item.line = line_;
            pos_ += 4;
            for (;;) {
                SkipSpace();
                if (AtEnd())
                    Fail(L"'end' expected for item");
                if (NextIsWord(L"end")) {
                    pos_ += 3;
                    break;
                }
                item.properties.push_back(ParseProperty());
            }
            items.push_back(std::move(item));
        }
    }

    std::wstring text_;
    std::wstring fileName_;
    size_t pos_ = 0;
    int line_ = 1;
};

std::wstring Upper(const std::wstring& s)
{
    return UpperCase(s);
}

} // namespace

TFormObject ParseFormData(const std::string& utf8, const std::wstring& fileName)
{
    return TFormParser(utf8, fileName).ParseRoot();
}

std::wstring TFormValue::Describe() const
{
    switch (kind) {
    case vkInteger:
        return IntToStr(integer);
    case vkFloat:
        return FloatToStr(number);
    case vkString:
        return L"'" + text + L"'";
    case vkIdent:
        return text;
    case vkSet:
        return L"a set";
    case vkList:
        return L"a list";
    case vkBinary:
        return L"binary data";
    case vkFile:
        return L"file '" + text + L"'";
    case vkCollection:
        return L"a collection";
    }
    return L"?";
}

// ---- Class table ----

namespace {

std::map<std::wstring, std::unique_ptr<TClassInfo>>& ClassTable()
{
    static std::map<std::wstring, std::unique_ptr<TClassInfo>> table;
    return table;
}

} // namespace

const TClassInfo::Setter* TClassInfo::FindProperty(const std::wstring& name) const
{
    std::wstring key = Upper(name);
    for (const TClassInfo* c = this; c; c = c->parent_) {
        auto it = c->properties_.find(key);
        if (it != c->properties_.end())
            return &it->second;
    }
    return nullptr;
}

const TClassInfo::Getter* TClassInfo::FindObject(const std::wstring& name) const
{
    std::wstring key = Upper(name);
    for (const TClassInfo* c = this; c; c = c->parent_) {
        auto it = c->objects_.find(key);
        if (it != c->objects_.end())
            return &it->second;
    }
    return nullptr;
}

void TClassInfo::AddProperty(const std::wstring& name, Setter setter)
{
    properties_[Upper(name)] = std::move(setter);
}

void TClassInfo::AddObject(const std::wstring& name, Getter getter)
{
    objects_[Upper(name)] = std::move(getter);
}

TClassInfo& RegisterClassInfo(const std::wstring& name, const std::wstring& parentName, TClassInfo::Factory factory,
                              TClassInfo::Tester tester)
{
    auto& table = ClassTable();
    const TClassInfo* parent = parentName.empty() ? nullptr : FindClassInfo(parentName);
    if (!parentName.empty() && !parent)
        throw EFilerError(L"Class " + parentName + L" must be registered before " + name);
    auto& slot = table[Upper(name)];
    if (slot)
        return *slot; // registered already: its declarations stay
    slot = std::make_unique<TClassInfo>(name, parent, std::move(factory), std::move(tester));
    return *slot;
}

const TClassInfo* FindClassInfo(const std::wstring& name)
{
    auto& table = ClassTable();
    auto it = table.find(Upper(name));
    return it == table.end() ? nullptr : it->second.get();
}

const TClassInfo* ClassInfoOf(const TPersistent* object)
{
    if (!object)
        return nullptr;
    if (const TClassInfo* own = FindClassInfo(object->ClassName()); own && own->IsInstance(object))
        return own;
    const TClassInfo* best = nullptr;
    for (const auto& [key, info] : ClassTable())
        if (info->IsInstance(object) && (!best || info->Depth() > best->Depth()))
            best = info.get();
    return best;
}

// ---- Bindings ----

std::wstring TFormBindings::Key(const std::wstring& name)
{
    return Upper(name);
}

const std::any* TFormBindings::FindHandler(const std::wstring& name, std::type_index type, bool& typeMatches) const
{
    auto it = handlers_.find(Key(name));
    if (it == handlers_.end())
        return nullptr;
    typeMatches = it->second.type == type;
    return &it->second.event;
}

bool TFormBindings::BindField(const std::wstring& name, TComponent* component) const
{
    auto it = fields_.find(Key(name));
    return it == fields_.end() || it->second(component);
}

// ---- Reader ----

TFormReader::TFormReader(TComponent* root, std::wstring fileName) : root_(root), fileName_(std::move(fileName))
{
    if (auto* source = dynamic_cast<IFormBindingsSource*>(root))
        source->DeclareBindings(bindings_);
}

void TFormReader::Error(int line, const std::wstring& message) const
{
    throw EReadError(fileName_ + L"(" + IntToStr(line) + L"): " + message);
}

void TFormReader::Read(const TFormObject& data)
{
    if (!SameText(data.className, root_->ClassName()))
        Error(data.line, L"The data is for " + data.className + L", not " + root_->ClassName());
    root_->SetComponentState(csLoading | csReading);
    try {
        ReadBody(root_, data);
        for (const Fixup& fixup : fixups_) {
            TComponent* target = SameText(fixup.name, root_->Name()) ? root_ : root_->FindComponent(fixup.name);
            if (!target)
                Error(fixup.line, L"Component " + fixup.name + L" not found");
            fixup.apply(target);
        }
    } catch (...) {
        root_->ClearComponentState(csReading);
        for (TComponent* c : loaded_)
            c->ClearComponentState(csReading | csLoading);
        throw;
    }
    root_->ClearComponentState(csReading);
    root_->Loaded();
    for (TComponent* c : loaded_)
        c->Loaded();
}

void TFormReader::ReadBody(TComponent* component, const TFormObject& data)
{
    if (component != root_) {
        component->SetName(data.name);
    } else if (root_->Name().empty()) {
        // A second form of the same class under the same owner gets a name of its own.
        std::wstring name = data.name;
        TComponent* owner = root_->Owner();
        for (int n = 1; owner && owner->FindComponent(name) && owner->FindComponent(name) != root_; ++n)
            name = data.name + L"_" + IntToStr(n);
        root_->SetName(name);
    }
    for (const TFormProperty& property : data.properties)
        ApplyProperty(component, property);
    for (const TFormObject& child : data.children)
        ReadChild(child, component);
}

TComponent* TFormReader::ReadChild(const TFormObject& data, TComponent* parent)
{
    const TClassInfo* info = FindClassInfo(data.className);
    if (!info || !info->Create())
        Error(data.line, L"Class " + data.className + L" not found");
    if (root_->FindComponent(data.name))
        Error(data.line, L"A component named " + data.name + L" already exists");
    TComponent* component = info->Create()(root_);
    component->SetComponentState(csLoading | csReading);
    component->SetName(data.name);
    if (!bindings_.BindField(data.name, component))
        Error(data.line, L"Field " + data.name + L" does not hold a " + data.className);
    component->SetParentComponent(parent);
    for (const TFormProperty& property : data.properties)
        ApplyProperty(component, property);
    for (const TFormObject& child : data.children)
        ReadChild(child, component);
    component->ClearComponentState(csReading);
    loaded_.push_back(component);
    return component;
}

void TFormReader::ApplyProperty(TPersistent* object, const TFormProperty& property)
{
    // Walk the dotted path through nested objects.
    std::wstring path = property.name;
    TPersistent* target = object;
    for (size_t dot; (dot = path.find(L'.')) != std::wstring::npos;) {
        std::wstring head = path.substr(0, dot);
        const TClassInfo* info = ClassInfoOf(target);
        const TClassInfo::Getter* getter = info ? info->FindObject(head) : nullptr;
        if (!getter)
            Error(property.line, L"Property " + target->ClassName() + L"." + head + L" does not exist");
        TPersistent* inner = (*getter)(target);
        if (!inner)
            Error(property.line, L"Property " + target->ClassName() + L"." + head + L" has no object");
        target = inner;
        path = path.substr(dot + 1);
    }
    const TClassInfo* info = ClassInfoOf(target);
    if (info) {
        if (const TClassInfo::Setter* setter = info->FindProperty(path)) {
            (*setter)(target, property.value, *this);
            return;
        }
        if (const TClassInfo::Getter* getter = info->FindObject(path)) {
            TPersistent* inner = (*getter)(target);
            const TFormValue& v = property.value;
            if (auto* strings = dynamic_cast<TStrings*>(inner); strings && v.kind == TFormValue::vkList) {
                strings->BeginUpdate();
                strings->Clear();
                for (const TFormValue& item : v.list) {
                    if (item.kind != TFormValue::vkString)
                        Error(item.line, L"String expected, found " + item.Describe());
                    strings->Add(item.text);
                }
                strings->EndUpdate();
                return;
            }
            if (auto* collection = dynamic_cast<TCollection*>(inner); collection && v.kind == TFormValue::vkCollection) {
                collection->BeginUpdate();
                collection->Clear();
                for (const TFormItem& item : v.items) {
                    TCollectionItem* added = collection->Add();
                    for (const TFormProperty& p : item.properties)
                        ApplyProperty(added, p);
                }
                collection->EndUpdate();
                return;
            }
            Error(property.line, L"Invalid value " + v.Describe() + L" for " + target->ClassName() + L"." + path);
        }
    }
    Error(property.line, L"Property " + target->ClassName() + L"." + path + L" does not exist");
}

std::vector<std::uint8_t> TFormReader::LoadFile(const std::wstring& name, int line) const
{
    std::vector<std::uint8_t> bytes;
    if (fileLoader_ && fileLoader_(name, bytes))
        return bytes;
#ifdef _WIN32
    std::wstring resName = UpperCase(name);
    for (wchar_t& c : resName)
        if (c == L'.')
            c = L'_';
    HRSRC res = FindResourceW(nullptr, resName.c_str(), L"FORMFILE");
    if (res) {
        HGLOBAL global = LoadResource(nullptr, res);
        const auto* data = static_cast<const std::uint8_t*>(LockResource(global));
        DWORD size = SizeofResource(nullptr, res);
        if (data)
            return std::vector<std::uint8_t>(data, data + size);
    }
#endif
    Error(line, L"File " + name + L" is not in the program");
}

void TFormReader::AddFixup(const std::wstring& name, int line, std::function<void(TComponent*)> apply)
{
    fixups_.push_back(Fixup{name, line, std::move(apply)});
}

// ---- Compiled-in form data ----

#ifdef _WIN32
namespace {

struct ResourceSearch {
    std::wstring className;
    std::string data;
    std::wstring fileName;
    bool found = false;
};

// The class of the root object: the identifier after the colon of the first "object" line (comment
// lines before it may hold colons of their own).
std::wstring RootClassOf(const std::string& data)
{
    size_t pos = 0;
    while (pos < data.size()) {
        size_t end = data.find('\n', pos);
        if (end == std::string::npos)
            end = data.size();
        std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        size_t first = line.find_first_not_of(" \t\r\xEF\xBB\xBF");
        if (first == std::string::npos || line.compare(first, 2, "//") == 0)
            continue;
        size_t colon = line.find(':', first);
        if (colon == std::string::npos)
            return L"";
        size_t start = line.find_first_not_of(" \t", colon + 1);
        if (start == std::string::npos)
            return L"";
        size_t stop = start;
        while (stop < line.size() && (std::isalnum(static_cast<unsigned char>(line[stop])) || line[stop] == '_'))
            ++stop;
        return Utf8ToWide(line.substr(start, stop - start));
    }
    return L"";
}

BOOL CALLBACK EnumFormResource(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    auto* search = reinterpret_cast<ResourceSearch*>(param);
    try {
        HRSRC res = FindResourceW(module, name, type);
        HGLOBAL global = res ? LoadResource(module, res) : nullptr;
        const char* bytes = global ? static_cast<const char*>(LockResource(global)) : nullptr;
        if (!bytes)
            return TRUE;
        std::string data(bytes, SizeofResource(module, res));
        if (!SameText(RootClassOf(data), search->className))
            return TRUE;
        search->data = std::move(data);
        search->fileName = IS_INTRESOURCE(name) ? IntToStr(reinterpret_cast<std::uintptr_t>(name)) : LowerCase(name);
        search->fileName += L".form";
        search->found = true;
        return FALSE;
    } catch (...) {
        return TRUE; // nothing may unwind through the system's enumeration
    }
}

} // namespace

bool FindFormResource(const std::wstring& className, std::string& data, std::wstring& fileName)
{
    ResourceSearch search;
    search.className = className;
    EnumResourceNamesW(nullptr, L"FORMDATA", EnumFormResource, reinterpret_cast<LONG_PTR>(&search));
    if (!search.found)
        return false;
    data = std::move(search.data);
    fileName = std::move(search.fileName);
    return true;
}
#else
bool FindFormResource(const std::wstring&, std::string&, std::wstring&)
{
    return false;
}
#endif

bool ReadComponentResource(TComponent* root)
{
    std::string data;
    std::wstring fileName;
    if (!FindFormResource(root->ClassName(), data, fileName))
        return false;
    TFormObject parsed = ParseFormData(data, fileName);
    TFormReader(root, fileName).Read(parsed);
    return true;
}
