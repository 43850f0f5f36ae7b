// The packed skin container ("ASzf"): its reader TacSkinConvertor and the loading of a packed skin file.
#pragma once

#include "framework/Classes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;

// Frees a bitmap a convertor holds: the container reader knows bitmaps by name only, the loader that
// made one says how it goes.
struct TacBitmapDeleter {
    void (*Free)(TBitmap*) = nullptr;
    void operator()(TBitmap* bitmap) const
    {
        if (Free)
            Free(bitmap);
    }
};
using TacBitmapPtr = std::unique_ptr<TBitmap, TacBitmapDeleter>;

// The pixels of a plain BMP entry: an uncompressed bottom-up picture of 24 or 32 bits without colour
// table, its rows (each padded to 4 bytes) right after the 54 bytes of its headers and filling the
// entry to its end.
struct TacBitmapLayout {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t BitCount = 0;
};

// One image entry of a container, unpacked.
struct TacImageItem {
    std::wstring Name; // as stored
    bool IsBitmap = false;
    // The entry's bytes; null for an entry whose pixels went straight into Bitmap.
    std::unique_ptr<TMemoryStream> Data;
    // A plain BMP entry inflated straight into a bitmap (see TacSkinConvertor::MakeBitmap), else null.
    TacBitmapPtr Bitmap;
    // The requests for Bitmap the skin reader is still going to make: all but the last take a copy.
    int PendingUses = 0;
};

class TacSkinConvertor : public TPersistent {
    DECLARE_CLASS_NAME(TacSkinConvertor)
public:
    TacSkinConvertor() = default;
    ~TacSkinConvertor() override;
    TacSkinConvertor(const TacSkinConvertor&) = delete;
    TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;

    // The number of image entries actually read.
    int ImageCount = 0;
    std::vector<TacImageItem> Files;
    // The inflated text entry ("Options.dat"); null when no container was read.
    std::unique_ptr<TMemoryStream> Options;
    // Set by a loader that makes bitmaps, so a plain BMP entry needs no buffer and no copy: given the
    // entry's name and layout it returns a bitmap of that layout and sets Pixels to its memory (rows
    // bottom first, as the entry holds them), or returns null to keep the entry's bytes in Data. Left
    // empty, every entry keeps its bytes.
    std::function<TacBitmapPtr(const std::wstring& name, const TacBitmapLayout& layout, void*& pixels)>
        MakeBitmap;

    // The container's bytes while they are parsed. A lent stream (a stored skin's data) is never freed
    // by the convertor; an owned one goes with Clear.
    TMemoryStream* PackedData() const { return source_; }
    void SetOwnedSource(std::unique_ptr<TMemoryStream> source);
    void LendSource(TMemoryStream* source);
    // Forgets the source without freeing it, and frees it when the convertor owned it.
    void ReleaseSource();

    // The image entry whose upper-cased name equals Name (written in upper case); null when none.
    TacImageItem* FindImage(const std::wstring& upperName);

private:
    TMemoryStream* source_ = nullptr;
    std::unique_ptr<TMemoryStream> ownedSource_;
};

extern const wchar_t* const SZNotPackedFile; // "Loaded data is not packed Quorvel file"

// Frees the image entries (last first), the Options stream and the source stream when owned.
void Clear(TacSkinConvertor* convertor);

// Parses the convertor's source from position 0 without a word to the user: False when there is no
// source or its magic is wrong (the convertor is then empty); damaged data raises as ParsePackedSkin's.
// Needs no window.
bool ReadPackedSkin(TacSkinConvertor* convertor);

// Parses the convertor's source from position 0. Returns False after a wrong magic (the warning box
// has been shown and the convertor is empty). Damaged data raises: EZDecompressionError for the
// compressed data, EReadError for a container cut short or inconsistent; the convertor is then empty.
bool ParsePackedSkin(TacSkinConvertor* convertor);

// Reads a whole ".asz" file into memory and parses it; nothing happens when the file does not exist.
// Makes the convertor when it is null, clears it otherwise. With FreeSource the source bytes are
// dropped afterwards, also when parsing raised. Returns False when the file is missing or not packed.
bool LoadPackedSkinFile(const std::wstring& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freeSource);


// The "ASzf" magic; the tool that writes containers uses it too.
inline constexpr char kPackedSkinMagic[4] = {'A', 'S', 'z', 'f'};
