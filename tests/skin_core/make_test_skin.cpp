// Writes the generated test skin as a folder, so the build can check it with skinpack.
#include "tests/skin_core/test_skin.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    testskin::WriteTestSkinFolder(argv[1], argv[2]);
    return 0;
}
