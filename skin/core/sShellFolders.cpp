#include "skin/core/sShellFolders.h"

#include "framework/ComObj.h"
#include "framework/Startup.h"

#include <cstring>

namespace {

std::unique_ptr<TacShellFolder> gDesktopFolder;
CRITICAL_SECTION gLock;
bool gLockMade = false;
bool gOleStarted = false;

IMalloc* ShellAllocator()
{
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)))
        return nullptr;
    return malloc;
}

USHORT EntrySize(LPCITEMIDLIST p)
{
    USHORT cb = 0;
    std::memcpy(&cb, p, sizeof(cb)); // entries are packed: the length field may be unaligned
    return cb;
}

void FinishShellFolders();

void StartShellFolders()
{
    InitializeCriticalSection(&gLock);
    gLockMade = true;
    gOleStarted = SUCCEEDED(OleInitialize(nullptr));
    IShellFolder* desktop = nullptr;
    try {
        OleCheck(SHGetDesktopFolder(&desktop));
        gDesktopFolder = std::make_unique<TacShellFolder>(nullptr, desktop, nullptr);
    } catch (...) {
        // A step that fails is not finished by the start-up order, so it undoes itself.
        if (desktop)
            desktop->Release();
        FinishShellFolders();
        throw;
    }
    desktop->Release(); // the folder object holds its own reference
}

void FinishShellFolders()
{
    gDesktopFolder.reset();
    if (gLockMade)
        DeleteCriticalSection(&gLock);
    gLockMade = false;
    if (gOleStarted)
        OleUninitialize();
    gOleStarted = false;
}

} // namespace

LPITEMIDLIST NewItemList(UINT size)
{
    IMalloc* malloc = ShellAllocator();
    if (!malloc)
        return nullptr;
    void* p = malloc->Alloc(size);
    malloc->Release();
    if (p)
        std::memset(p, 0, size);
    return static_cast<LPITEMIDLIST>(p);
}

LPITEMIDLIST NextItemEntry(LPCITEMIDLIST p)
{
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(reinterpret_cast<const BYTE*>(p)) + EntrySize(p));
}

UINT ItemListSize(LPCITEMIDLIST p)
{
    if (!p)
        return 0;
    UINT size = 2;
    for (USHORT cb = EntrySize(p); cb != 0; p = NextItemEntry(p), cb = EntrySize(p))
        size += cb;
    return size;
}

LPITEMIDLIST CloneItemList(LPCITEMIDLIST p)
{
    if (!p)
        return nullptr;
    const UINT size = ItemListSize(p);
    LPITEMIDLIST copy = NewItemList(size);
    if (copy)
        std::memcpy(copy, p, size);
    return copy;
}

LPITEMIDLIST JoinItemLists(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    const UINT sizeA = a ? ItemListSize(a) - 2 : 0;
    // A nil B still ends the joined list with its terminator.
    const UINT sizeB = b ? ItemListSize(b) : 2;
    LPITEMIDLIST joined = NewItemList(sizeA + sizeB);
    if (!joined)
        return nullptr;
    if (a)
        std::memcpy(joined, a, sizeA);
    if (b)
        std::memcpy(reinterpret_cast<BYTE*>(joined) + sizeA, b, sizeB);
    return joined;
}

void FreeItemList(LPITEMIDLIST p)
{
    if (!p)
        return;
    if (IMalloc* malloc = ShellAllocator()) {
        malloc->Free(p);
        malloc->Release();
    }
}

LPITEMIDLIST DesktopItemList()
{
    LPITEMIDLIST p = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &p));
    return p;
}

TacShellFolder::TacShellFolder(TacShellFolder* parent, IShellFolder* folder, LPCITEMIDLIST relative)
    : parent_(parent ? parent : DesktopShellFolder()), folder_(folder), details_(std::make_unique<TStringList>())
{
    relative_ = CloneItemList(relative);
    if (parent_) {
        absolute_ = JoinItemLists(parent_->AbsoluteID(), relative);
    } else {
        LPITEMIDLIST desktop = DesktopItemList();
        absolute_ = JoinItemLists(desktop, relative);
        FreeItemList(desktop);
    }
    for (TacShellFolder* p = parent_; p; p = p->Parent())
        ++level_;
    if (folder_)
        folder_->AddRef();
}

TacShellFolder::~TacShellFolder()
{
    FreeItemList(relative_);
    FreeItemList(absolute_);
    if (folder_)
        folder_->Release();
}

TacShellFolder* DesktopShellFolder() { return gDesktopFolder.get(); }

void AddShellFoldersStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::ShellFolders, L"Shell folders", StartShellFolders, FinishShellFolders);
}
