// The framework's basic classes: persistent objects, pointer lists, string lists and streams.
// Window-free: it also builds with the host compiler.
#pragma once

#include "framework/System.h"

#include <cstdint>
#include <memory>
#include <string>
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

// An ordered list of untyped pointers, as the Parts' TList.
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

// Typed as the Parts use it: "Integer" positions and sizes of streams are 64-bit here.
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

protected:
    // Called with True when the first BeginUpdate starts and False when the last EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    [[noreturn]] void Error(const std::wstring& message, int index) const;

private:
    int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    DECLARE_CLASS_NAME(TStringList)
public:
    std::wstring Get(int index) const override;
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
