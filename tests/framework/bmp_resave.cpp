// Reads a BMP file into a bitmap and writes it back through SaveToFile, so that a reader nobody here
// wrote (ImageMagick, run by bmp_written_check.sh) can check the files the bitmap writes.
// Usage: bmp_resave SOURCE.bmp TARGET.bmp; exit code 0 on success, 1 with a message otherwise.
#include "framework/Graphics.h"

#include <shellapi.h>

#include <cstdio>

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3) {
        std::fputs("usage: bmp_resave SOURCE.bmp TARGET.bmp\n", stderr);
        return 2;
    }
    try {
        TBitmap bitmap;
        bitmap.LoadFromFile(argv[1]);
        bitmap.SaveToFile(argv[2]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%ls\n", e.Message().c_str());
        LocalFree(argv);
        return 1;
    }
    LocalFree(argv);
    return 0;
}
