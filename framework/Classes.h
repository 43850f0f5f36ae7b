// The framework's basic classes: persistent objects, pointer lists, string lists and streams.
// Window-free: it also builds with the host compiler.
#pragma once

#include "framework/Events.h"
#include "framework/System.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TPersistent : public TObject {
    DECLARE_CLASS_NAME(TPersistent)
public:
    // Copies Source into this object; a class that cannot asks Source to AssignTo it.
    virtual void Assign(TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest);

private:
    [[noreturn]] void AssignError(TPersistent* source);
};

// An ordered list of untyped pointers.
class TList : public TObject {
    DECLARE_CLASS_NAME(TList)
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Get(int index) const;
    void Put(int index, void* item);
    void* operator[](int index) const { return Get(index); }
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);
    int IndexOf(void* item) const;
    void Move(int from, int to);
    void Exchange(int a, int b);
    void Clear() { items_.clear(); }
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }

private:
    std::vector<void*> items_;
};

// Positions and sizes of streams are 64-bit.
enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    DECLARE_CLASS_NAME(TStream)
public:
    // Returns the number of bytes actually read (0 at the end).
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize);

    // Raise EReadError / EWriteError when fewer bytes than asked move.
    void ReadBuffer(void* buffer, std::int32_t count);
    void WriteBuffer(const void* buffer, std::int32_t count);
    // Copies Count bytes (0: the whole source from its start) and returns the count copied.
    std::int64_t CopyFrom(TStream* source, std::int64_t count);
};

class TCustomMemoryStream : public TStream {
    DECLARE_CLASS_NAME(TCustomMemoryStream)
public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return size_; }
    void* Memory() const { return memory_; }
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::wstring& fileName);

protected:
    void SetPointer(void* memory, std::int64_t size);

    void* memory_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    DECLARE_CLASS_NAME(TMemoryStream)
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    std::int32_t Write(const void* buffer, std::int32_t count) override;
    void SetSize(std::int64_t newSize) override;
    void Clear();
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::wstring& fileName);

private:
    void SetCapacity(std::int64_t capacity);
    std::int64_t capacity_ = 0;
};

// Open modes of TFileStream: one access mode, optionally or-ed with a share mode; fmCreate creates
// or truncates.
enum : std::uint32_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
    DECLARE_CLASS_NAME(TFileStream)
public:
    // Raises EFCreateError or EFOpenError naming the file and the system's reason.
    TFileStream(const std::wstring& fileName, std::uint32_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    const std::wstring& FileName() const { return fileName_; }

private:
    std::wstring fileName_;
    void* handle_ = nullptr; // owned: a Win32 file handle, or a FILE* in the host build
};

// A list of strings with an object per string. Abstract storage: descendants implement Get, Put,
// Insert, Delete, Clear, GetCount, GetObject and PutObject.
class TStrings : public TPersistent {
    DECLARE_CLASS_NAME(TStrings)
public:
    virtual std::wstring Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int index) const;
    virtual void Put(int index, const std::wstring& s);
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const std::wstring& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::wstring& s);
    virtual int AddObject(const std::wstring& s, TObject* object);
    virtual int IndexOf(const std::wstring& s) const;
    virtual int IndexOfName(const std::wstring& name) const;
    int IndexOfObject(TObject* object) const;
    void InsertObject(int index, const std::wstring& s, TObject* object);
    void Move(int from, int to);
    virtual void Exchange(int a, int b);

    int Count() const { return GetCount(); }
    std::wstring operator[](int index) const { return Get(index); }
    std::wstring Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    // "Name=Value" access: the name is compared without case.
    std::wstring Names(int index) const;
    std::wstring ValueFromIndex(int index) const;
    std::wstring Values(const std::wstring& name) const;
    void SetValue(const std::wstring& name, const std::wstring& value);

    // The lines joined with CR LF, each line ended; setting splits at CR LF, LF or CR.
    std::wstring Text() const;
    virtual void SetText(const std::wstring& text);
    std::wstring CommaText() const;

    void AddStrings(const TStrings* strings);
    void Assign(TPersistent* source) override;
    bool Equals(const TStrings* strings) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Files and streams hold text as UTF-8 (with or without byte order mark), UTF-16 with a byte order
    // mark, or else the system's ANSI code page; writing uses UTF-8 without a mark unless told otherwise.
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::wstring& fileName);
    void SaveToStream(TStream* stream) const;
    void SaveToFile(const std::wstring& fileName) const;
    // The rest of the stream as one text, decoded as LoadFromStream decodes it, for readers that split
    // it themselves.
    static std::wstring ReadText(TStream* stream);

protected:
    // Called with True when the first BeginUpdate starts and False when the last EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    [[noreturn]] void Error(const std::wstring& message, int index) const;

private:
    int updateCount_ = 0;
};

// BeginUpdate for the life of the scope, EndUpdate at its end (also when it ends with an exception), for
// anything that counts its updates (string lists, image lists).
template <class T>
class TUpdateScope {
public:
    explicit TUpdateScope(T* target) : target_(target) { target_->BeginUpdate(); }
    ~TUpdateScope() { target_->EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    T* target_; // borrowed
};

using TStringsUpdate = TUpdateScope<TStrings>;

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    DECLARE_CLASS_NAME(TStringList)
public:
    std::wstring Get(int index) const override;
    // The string itself, without a copy, for readers that walk long lists.
    const std::wstring& StringAt(int index) const;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, const std::wstring& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::wstring& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::wstring& s) override;
    int AddObject(const std::wstring& s, TObject* object) override;
    int IndexOf(const std::wstring& s) const override;
    void Exchange(int a, int b) override;

    // Sorted lists keep their strings in case-insensitive order and refuse Insert.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    // The list owns its objects and deletes them when their strings go.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool value) { ownsObjects_ = value; }
    virtual void Sort();
    // Binary search of a sorted list: True when found; Index is the place either way.
    bool Find(const std::wstring& s, int& index) const;

    ~TStringList() override;

private:
    struct Item {
        std::wstring text;
        TObject* object;
    };
    int Compare(const std::wstring& a, const std::wstring& b) const;
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

// ---- Components ----

enum TComponentStateFlag : std::uint32_t {
    csLoading = 0x01,
    csReading = 0x02,
    csWriting = 0x04,
    csDestroying = 0x08,
    csDesigning = 0x10, // never set: the program has no designer
    csAncestor = 0x20,
    csUpdating = 0x40,
    csFixups = 0x80,
};
using TComponentState = std::uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    DECLARE_CLASS_NAME(TComponent)
public:
    // The owner takes the new component into its list; the second phase (AfterConstruction) is run by
    // the code that creates it: use Create<T>(...).
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Runs once the whole object exists, so it may call overridden methods.
    virtual void AfterConstruction() {}
    // Runs before the destructors: marks this component and its owned components as being destroyed.
    virtual void BeforeDestruction() { Destroying(); }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const std::wstring& name) const;

    const std::wstring& Name() const { return name_; }
    // Raises EComponentError for an invalid identifier or a name already used in the owner.
    virtual void SetName(const std::wstring& name);

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
    // For the form reader and owners: switch the loading flags.
    void SetComponentState(TComponentState flags) { state_ |= flags; }
    void ClearComponentState(TComponentState flags) { state_ &= ~flags; }

    // Called once the component's data has been read and every reference fixed up.
    virtual void Loaded();
    // The form reader places a component read inside another one's block here (a control in its
    // parent); components that have no parent ignore it.
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }
    // Told when a component of the same owner, or one this component asked to hear about, comes or goes.
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks to be told (opRemove) when Component is destroyed, whoever owns it.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Destroys the owned components, last created first.
    void DestroyComponents();
    void Destroying();

    std::intptr_t Tag = 0;

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void NotifyOwned(TComponent* component, TOperation operation);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_; // owned
    std::vector<TComponent*> freeNotifies_; // not owned: both sides keep each other
    std::wstring name_;
    TComponentState state_ = 0;
};

// Creates a component in both phases. The owner, when given, destroys it.
template <class T, class... Args>
T* Create(Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    try {
        object->AfterConstruction();
    } catch (...) {
        delete object;
        throw;
    }
    return object;
}

// Destroys a component (nil is allowed): marks it as being destroyed first.
void Free(TComponent* component);
template <class T>
void FreeAndNil(T*& component)
{
    T* c = component;
    component = nullptr;
    Free(c);
}

// Deletes a component through Free: for std::unique_ptr of ownerless components.
struct TComponentDeleter {
    void operator()(TComponent* component) const { Free(component); }
};
template <class T>
using TOwned = std::unique_ptr<T, TComponentDeleter>;

// ---- Collections ----

class TCollection;

class TCollectionItem : public TPersistent {
    DECLARE_CLASS_NAME(TCollectionItem)
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return collection_; }
    int Index() const;
    void SetIndex(int value);
    std::intptr_t ID() const { return id_; }
    virtual std::wstring DisplayName() const { return ClassName(); }

protected:
    // Tells the collection that this item changed (all: the whole collection).
    void Changed(bool all);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    std::intptr_t id_ = 0;
};

// An owned, ordered list of items of one class; Update runs after every change.
class TCollection : public TPersistent {
    DECLARE_CLASS_NAME(TCollection)
public:
    using ItemFactory = TCollectionItem* (*)(TCollection*);
    explicit TCollection(ItemFactory factory, TPersistent* owner = nullptr)
        : factory_(factory), owner_(owner)
    {
    }
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* FindItemID(std::intptr_t id) const;
    TPersistent* Owner() const { return owner_; }
    void Assign(TPersistent* source) override;

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

protected:
    // Item is the changed item, or nil when the whole collection changed.
    virtual void Update(TCollectionItem* item) { (void)item; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item, int index);
    void RemoveItem(TCollectionItem* item);
    void Changed(TCollectionItem* item);

    ItemFactory factory_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_; // owned
    std::intptr_t nextId_ = 0;
    int updateCount_ = 0;
};

// A collection of items of class T (T(TCollection*) must exist).
template <class T>
TCollectionItem* MakeCollectionItem(TCollection* collection)
{
    return new T(collection);
}
