// Persistent objects, pointer lists, string lists and streams.
#include "framework/Classes.h"

#include "framework/SysUtils.h"

#ifdef _WIN32
#include "framework/WinApi.h"
#else
#include <cstdio>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

// ---- TPersistent ----

void TPersistent::Assign(TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest)
{
    dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* source)
{
    std::wstring sourceName = source ? source->ClassName() : L"nil";
    throw EConvertError(L"Cannot assign a " + sourceName + L" to a " + ClassName());
}

// ---- TList ----

void* TList::Get(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return items_[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item)
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    items_[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item)
{
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Move(int from, int to)
{
    if (from == to)
        return;
    void* item = Get(from);
    Delete(from);
    Insert(to, item);
}

void TList::Exchange(int a, int b)
{
    void* item = Get(a);
    Put(a, Get(b));
    Put(b, item);
}

// ---- TStream ----

std::int64_t TStream::Size()
{
    std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t)
{
    throw EStreamError(L"Stream cannot change its size");
}

void TStream::ReadBuffer(void* buffer, std::int32_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    const std::int32_t chunk = 64 * 1024;
    std::vector<char> buffer(static_cast<size_t>(std::min<std::int64_t>(count, chunk)) + 1);
    std::int64_t left = count;
    while (left > 0) {
        std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(left, chunk));
        source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- TCustomMemoryStream / TMemoryStream ----

std::int32_t TCustomMemoryStream::Read(void* buffer, std::int32_t count)
{
    if (count <= 0 || position_ >= size_ || position_ < 0)
        return 0;
    std::int64_t n = std::min<std::int64_t>(count, size_ - position_);
    std::memcpy(buffer, static_cast<char*>(memory_) + position_, static_cast<size_t>(n));
    position_ += n;
    return static_cast<std::int32_t>(n);
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case TSeekOrigin::soBeginning: position_ = offset; break;
    case TSeekOrigin::soCurrent: position_ += offset; break;
    case TSeekOrigin::soEnd: position_ = size_ + offset; break;
    }
    return position_;
}

void TCustomMemoryStream::SetPointer(void* memory, std::int64_t size)
{
    memory_ = memory;
    size_ = size;
}

void TCustomMemoryStream::SaveToStream(TStream* stream)
{
    std::int64_t left = size_;
    const char* p = static_cast<const char*>(memory_);
    while (left > 0) {
        std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(left, 1 << 30));
        stream->WriteBuffer(p, n);
        p += n;
        left -= n;
    }
}

void TCustomMemoryStream::SaveToFile(const std::wstring& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(&file);
}

TMemoryStream::~TMemoryStream()
{
    std::free(memory_);
}

void TMemoryStream::SetCapacity(std::int64_t capacity)
{
    if (capacity == capacity_)
        return;
    if (capacity == 0) {
        std::free(memory_);
        memory_ = nullptr;
        capacity_ = 0;
        return;
    }
    if (capacity < 0 || static_cast<std::uint64_t>(capacity) > SIZE_MAX / 2)
        throw EOutOfMemory(L"Out of memory while expanding memory stream");
    void* grown = std::realloc(memory_, static_cast<size_t>(capacity));
    if (!grown)
        throw EOutOfMemory(L"Out of memory while expanding memory stream");
    memory_ = grown;
    capacity_ = capacity;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    if (newSize < 0)
        throw EStreamError(L"Invalid stream size");
    std::int64_t oldPosition = position_;
    if (newSize > capacity_ || newSize < capacity_ / 4)
        SetCapacity(newSize == 0 ? 0 : (newSize + 0x1FFF) & ~std::int64_t{0x1FFF});
    size_ = newSize;
    if (oldPosition > newSize)
        position_ = newSize;
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count)
{
    if (count <= 0 || position_ < 0)
        return 0;
    std::int64_t end = position_ + count;
    if (end > size_) {
        if (end > capacity_)
            SetCapacity(std::max(end + end / 4, std::int64_t{0x2000}));
        size_ = end;
    }
    std::memcpy(static_cast<char*>(memory_) + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::Clear()
{
    SetCapacity(0);
    size_ = 0;
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    std::int64_t count = stream->Size();
    SetSize(count);
    std::int64_t done = 0;
    while (done < count) {
        std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(count - done, 1 << 30));
        stream->ReadBuffer(static_cast<char*>(memory_) + done, n);
        done += n;
    }
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::wstring& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

// ---- TFileStream ----

#ifdef _WIN32

TFileStream::TFileStream(const std::wstring& fileName, std::uint32_t mode) : fileName_(fileName)
{
    if (mode == fmCreate || (mode & fmCreate) == fmCreate) {
        HANDLE h = CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(GetLastError()));
        handle_ = h;
        return;
    }
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD share[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE};
    DWORD a = access[std::min<std::uint32_t>(mode & 3, 2)];
    DWORD s = share[std::min<std::uint32_t>((mode & 0xF0) >> 4, 4)];
    HANDLE h = CreateFileW(fileName.c_str(), a, s, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + SysErrorMessage(GetLastError()));
    handle_ = h;
}

TFileStream::~TFileStream()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count)
{
    DWORD done = 0;
    if (count <= 0 || !ReadFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<std::int32_t>(done);
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count)
{
    DWORD done = 0;
    if (count <= 0 || !WriteFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<std::int32_t>(done);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER result{};
    if (!SetFilePointerEx(static_cast<HANDLE>(handle_), distance, &result, methods[static_cast<int>(origin)]))
        return -1;
    return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t newSize)
{
    std::int64_t pos = Position();
    Seek(newSize, TSeekOrigin::soBeginning);
    if (!SetEndOfFile(static_cast<HANDLE>(handle_)))
        throw EStreamError(L"Cannot set the size of \"" + fileName_ + L"\"");
    Seek(std::min(pos, newSize), TSeekOrigin::soBeginning);
}

#else

TFileStream::TFileStream(const std::wstring& fileName, std::uint32_t mode) : fileName_(fileName)
{
    std::string narrow = WideToUtf8(fileName);
    const char* how = (mode & fmCreate) == fmCreate ? "w+b" : (mode & 3) == fmOpenRead ? "rb" : "r+b";
    std::FILE* f = std::fopen(narrow.c_str(), how);
    if (!f) {
        if ((mode & fmCreate) == fmCreate)
            throw EFCreateError(L"Cannot create file \"" + fileName + L"\"");
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\"");
    }
    handle_ = f;
}

TFileStream::~TFileStream()
{
    if (handle_)
        std::fclose(static_cast<std::FILE*>(handle_));
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int32_t>(std::fread(buffer, 1, static_cast<size_t>(count), static_cast<std::FILE*>(handle_)));
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int32_t>(
        std::fwrite(buffer, 1, static_cast<size_t>(count), static_cast<std::FILE*>(handle_)));
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    auto* f = static_cast<std::FILE*>(handle_);
    if (fseeko(f, offset, whence[static_cast<int>(origin)]) != 0)
        return -1;
    return ftello(f);
}

void TFileStream::SetSize(std::int64_t newSize)
{
    auto* f = static_cast<std::FILE*>(handle_);
    std::fflush(f);
    if (ftruncate(fileno(f), newSize) != 0)
        throw EStreamError(L"Cannot set the size of \"" + fileName_ + L"\"");
}

#endif

// ---- TStrings ----

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::Put(int index, const std::wstring& s)
{
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::wstring& s)
{
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::wstring& s, TObject* object)
{
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::wstring& s, TObject* object)
{
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::IndexOf(const std::wstring& s) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(Get(i), s))
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::wstring& name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        std::wstring s = Get(i);
        size_t eq = s.find(L'=');
        if (eq != std::wstring::npos && SameText(s.substr(0, eq), name))
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

void TStrings::Move(int from, int to)
{
    if (from == to)
        return;
    BeginUpdate();
    std::wstring s = Get(from);
    TObject* object = GetObject(from);
    Delete(from);
    InsertObject(to, s, object);
    EndUpdate();
}

void TStrings::Exchange(int a, int b)
{
    BeginUpdate();
    std::wstring sa = Get(a);
    TObject* oa = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, sa);
    PutObject(b, oa);
    EndUpdate();
}

std::wstring TStrings::Names(int index) const
{
    std::wstring s = Get(index);
    size_t eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(0, eq);
}

std::wstring TStrings::ValueFromIndex(int index) const
{
    std::wstring s = Get(index);
    size_t eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(eq + 1);
}

std::wstring TStrings::Values(const std::wstring& name) const
{
    int i = IndexOfName(name);
    return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::wstring& name, const std::wstring& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
    } else if (i < 0) {
        Add(name + L"=" + value);
    } else {
        Put(i, name + L"=" + value);
    }
}

std::wstring TStrings::Text() const
{
    std::wstring out;
    for (int i = 0; i < GetCount(); ++i)
        out += Get(i) + L"\r\n";
    return out;
}

void TStrings::SetText(const std::wstring& text)
{
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
    EndUpdate();
}

std::wstring TStrings::CommaText() const
{
    std::wstring out;
    for (int i = 0; i < GetCount(); ++i) {
        std::wstring s = Get(i);
        bool quote = s.empty() || s.find_first_of(L" ,\"") != std::wstring::npos;
        if (i)
            out += L",";
        out += quote ? L"\"" + StringReplaceAll(s, L"\"", L"\"\"") + L"\"" : s;
    }
    return out;
}

void TStrings::AddStrings(const TStrings* strings)
{
    BeginUpdate();
    for (int i = 0; i < strings->GetCount(); ++i)
        AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

void TStrings::Assign(TPersistent* source)
{
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        BeginUpdate();
        Clear();
        AddStrings(strings);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

bool TStrings::Equals(const TStrings* strings) const
{
    if (GetCount() != strings->GetCount())
        return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != strings->Get(i))
            return false;
    return true;
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Error(const std::wstring& message, int index) const
{
    throw EStringListError(StringReplaceAll(message, L"%d", IntToStr(index)));
}

namespace {

bool IsValidUtf8(const std::string& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size() + (extra ? 0 : 1))
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::wstring DecodeText(const std::string& bytes)
{
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return Utf8ToWide(bytes.substr(3));
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            out += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return out;
    }
    if (IsValidUtf8(bytes))
        return Utf8ToWide(bytes);
#ifdef _WIN32
    return AnsiToWide(bytes);
#else
    std::wstring out;
    for (char c : bytes)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
#endif
}

} // namespace

std::wstring TStrings::ReadText(TStream* stream)
{
    std::int64_t size = stream->Size() - stream->Position();
    std::string bytes(static_cast<size_t>(std::max<std::int64_t>(size, 0)), '\0');
    if (!bytes.empty())
        bytes.resize(static_cast<size_t>(stream->Read(bytes.data(), static_cast<std::int32_t>(bytes.size()))));
    return DecodeText(bytes);
}

void TStrings::LoadFromStream(TStream* stream)
{
    SetText(ReadText(stream));
}

void TStrings::LoadFromFile(const std::wstring& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TStrings::SaveToStream(TStream* stream) const
{
    std::string bytes = WideToUtf8(Text());
    stream->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

void TStrings::SaveToFile(const std::wstring& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(&file);
}

// ---- TStringList ----

TStringList::~TStringList()
{
    if (ownsObjects_)
        for (auto& item : items_)
            delete item.object;
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error(L"List index out of bounds (%d)", index);
}

std::wstring TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].text;
}

const std::wstring& TStringList::StringAt(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int index, const std::wstring& s)
{
    if (sorted_)
        Error(L"Operation not allowed on sorted list", index);
    CheckIndex(index);
    items_[static_cast<size_t>(index)].text = s;
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)].object = object;
}

void TStringList::Insert(int index, const std::wstring& s)
{
    if (sorted_)
        Error(L"Operation not allowed on sorted list", index);
    if (index < 0 || index > GetCount())
        Error(L"List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, Item{s, nullptr});
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    TObject* object = items_[static_cast<size_t>(index)].object;
    items_.erase(items_.begin() + index);
    if (ownsObjects_)
        delete object;
}

void TStringList::Clear()
{
    std::vector<Item> old;
    old.swap(items_);
    if (ownsObjects_)
        for (auto& item : old)
            delete item.object;
}

int TStringList::Add(const std::wstring& s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const std::wstring& s, TObject* object)
{
    int index = GetCount();
    if (sorted_) {
        if (Find(s, index)) {
            if (duplicates_ == TDuplicates::dupIgnore)
                return index;
            if (duplicates_ == TDuplicates::dupError)
                throw EStringListError(L"String list does not allow duplicates");
        }
    }
    items_.insert(items_.begin() + index, Item{s, object});
    return index;
}

int TStringList::Compare(const std::wstring& a, const std::wstring& b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

int TStringList::IndexOf(const std::wstring& s) const
{
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < GetCount(); ++i)
        if (Compare(items_[static_cast<size_t>(i)].text, s) == 0)
            return i;
    return -1;
}

void TStringList::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
}

void TStringList::SetSorted(bool value)
{
    if (value && !sorted_)
        Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
}

bool TStringList::Find(const std::wstring& s, int& index) const
{
    int low = 0;
    int high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        int mid = (low + high) / 2;
        int c = Compare(items_[static_cast<size_t>(mid)].text, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept)
                    low = mid;
            }
        }
    }
    index = low;
    return found;
}
