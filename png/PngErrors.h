// The PNG codec's exception classes, the texts of its string table and zlib's return-code texts.
#pragma once

#include "framework/System.h"

#include <string>

// Every codec failure has a class of its own, derived directly from Exception; EPngError serves three.
DECLARE_EXCEPTION(EPngError, Exception)
DECLARE_EXCEPTION(EPngInvalidCRC, Exception)
DECLARE_EXCEPTION(EPngInvalidIHDR, Exception)
DECLARE_EXCEPTION(EPNGMissingMultipleIDAT, Exception)
DECLARE_EXCEPTION(EPNGZLIBError, Exception)
DECLARE_EXCEPTION(EPNGInvalidPalette, Exception)
DECLARE_EXCEPTION(EPNGInvalidFileHeader, Exception)
DECLARE_EXCEPTION(EPNGIHDRNotFirst, Exception)
DECLARE_EXCEPTION(EPNGSizeExceeds, Exception)
DECLARE_EXCEPTION(EPNGUnknownCriticalChunk, Exception)
DECLARE_EXCEPTION(EPNGUnknownCompression, Exception)
DECLARE_EXCEPTION(EPNGUnknownInterlace, Exception)
DECLARE_EXCEPTION(EPngUnexpectedEnd, Exception)
DECLARE_EXCEPTION(EPNGNoImageData, Exception)
DECLARE_EXCEPTION(EPNGOutMemory, Exception)
DECLARE_EXCEPTION(EPNGHeaderNotPresent, Exception)

// String-table ids of the codec's messages.
enum : int {
    kPngResUnknownCriticalChunk = 65200,
    kPngResUnknownCompression = 65201,
    kPngResUnknownInterlace = 65202,
    kPngResCannotAssignChunk = 65203,
    kPngResUnexpectedEnd = 65204,
    kPngResNoImageData = 65205,
    kPngResCannotResize = 65206,
    kPngResOutMemory = 65207,
    kPngResHeaderNotPresent = 65208,
    kPngResInvalidCRC = 65223,
    kPngResInvalidIHDR = 65224,
    kPngResMissingMultipleIDAT = 65225,
    kPngResZlibError = 65226,
    kPngResInvalidPalette = 65227,
    kPngResInvalidFileHeader = 65228,
    kPngResIHDRNotFirst = 65229,
    kPngResSizeExceeds = 65230,
    kPngResMissingPalette = 65231,
    kPngResChunkBeyondEnd = 65232,
};

// The text of a codec string resource; unknown ids give an empty text.
std::wstring PngResourceString(int id);

// zlib's return code as the codec reports it: "data error (-3)", "need dictionary (2)".
std::wstring ZLIBErrorText(int code);

// Creates the exception with the string resource's text (plus an optional tail) and raises it.
template <class E>
[[noreturn]] void RaiseCodecError(int resourceId, const std::wstring& tail = std::wstring())
{
    throw E(PngResourceString(resourceId) + tail);
}

// Raises EPNGZLIBError for a zlib return code.
[[noreturn]] void RaiseZlibError(int code);
