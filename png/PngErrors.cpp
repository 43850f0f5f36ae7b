#include "png/PngErrors.h"

std::wstring PngResourceString(int id)
{
    switch (id) {
    case kPngResInvalidCRC:
        return L"Это не PNG картинка";
    case kPngResInvalidIHDR:
    case kPngResMissingMultipleIDAT:
        return L"PNG картинка не может быть загружена";
    case kPngResZlibError:
        return L"Невозможно декомпрессировать картинку.\r\n Описание: ";
    case kPngResInvalidPalette:
        return L"PNG картинка содержит неверную палитру";
    case kPngResInvalidFileHeader:
        return L"Этот файл не является верной PNG картинкой";
    case kPngResIHDRNotFirst:
        return L"PNG картинка не поддерживается или повреждена";
    case kPngResSizeExceeds:
        return L"PNG картинка имеет недопустимый размер";
    case kPngResMissingPalette:
        return L"Отсутствует палитра";
    case kPngResChunkBeyondEnd:
        return L"PNG картинка повреждена: блок данных длиннее файла";
    default:
        return std::wstring();
    }
}

std::wstring ZLIBErrorText(int code)
{
    switch (code) {
    case -6:
        return L"incompatible version (-6)";
    case -5:
        return L"buffer error (-5)";
    case -4:
        return L"insufficient memory (-4)";
    case -3:
        return L"data error (-3)";
    case -2:
        return L"stream error (-2)";
    case -1:
        return L"file error (-1)";
    case 0:
        return L"(0)";
    case 1:
        return L"stream end (1)";
    case 2:
        return L"need dictionary (2)";
    default:
        return L"(" + std::to_wstring(code) + L")";
    }
}

void RaiseZlibError(int code)
{
    RaiseCodecError<EPNGZLIBError>(kPngResZlibError, ZLIBErrorText(code));
}
