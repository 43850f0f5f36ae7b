// Shell item-identifier lists handled with the shell's allocator, the shell folder object, and the one
// desktop folder object the library keeps from start-up to exit together with the OLE initialisation.
#pragma once

#include "framework/Classes.h"
#include "framework/WinApi.h"

#include <shlobj.h>

#include <memory>

class TStartup;

// Size bytes from the shell allocator, zeroed; nil when the allocation fails.
LPITEMIDLIST NewItemList(UINT size);
// The entry after P (P advanced by its length field).
LPITEMIDLIST NextItemEntry(LPCITEMIDLIST p);
// 0 for nil; else the length fields up to the terminator plus the terminator's 2 bytes.
UINT ItemListSize(LPCITEMIDLIST p);
// A copy of P (nil for nil or when the allocation fails).
LPITEMIDLIST CloneItemList(LPCITEMIDLIST p);
// A without its terminator, followed by B whole; either may be nil (nil B adds nothing).
LPITEMIDLIST JoinItemLists(LPCITEMIDLIST a, LPCITEMIDLIST b);
void FreeItemList(LPITEMIDLIST p);
// The desktop's list; raises EOleSysError when the shell fails.
LPITEMIDLIST DesktopItemList();

// A shell folder with its list relative to the parent and its full list from the desktop.
class TacShellFolder : public TObject {
    DECLARE_CLASS_NAME(TacShellFolder)
public:
    // Takes a reference of Folder and copies Relative. A nil parent means the desktop folder object
    // (for the desktop folder object itself: none).
    TacShellFolder(TacShellFolder* parent, IShellFolder* folder, LPCITEMIDLIST relative);
    ~TacShellFolder() override;
    TacShellFolder(const TacShellFolder&) = delete;
    TacShellFolder& operator=(const TacShellFolder&) = delete;

    TacShellFolder* Parent() const { return parent_; }
    IShellFolder* ShellFolder() const { return folder_; }
    LPCITEMIDLIST RelativeID() const { return relative_; }
    LPCITEMIDLIST AbsoluteID() const { return absolute_; }
    TStringList* Details() const { return details_.get(); }
    int Level() const { return level_; }

private:
    TacShellFolder* parent_;            // borrowed
    IShellFolder* folder_;              // one reference held
    IShellFolder2* folder2_ = nullptr;  // empty slots for richer interfaces
    IShellDetails* details2_ = nullptr;
    LPITEMIDLIST relative_ = nullptr;   // owned (shell allocator)
    LPITEMIDLIST absolute_ = nullptr;   // owned (shell allocator)
    std::unique_ptr<TStringList> details_;
    int level_ = 0;
};

// The desktop folder object, between start-up and exit; nil outside that span.
TacShellFolder* DesktopShellFolder();

// At start: the desktop folder object, the unit's critical section and OleInitialize; at exit the
// reverse. OleUninitialize runs only when OleInitialize succeeded.
void AddShellFoldersStartupStep(TStartup& startup);
