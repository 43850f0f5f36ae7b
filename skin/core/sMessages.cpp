#include "skin/core/sMessages.h"

UINT RegisterSkinMessage()
{
    return RegisterWindowMessageW(kSkinCmdMessageName);
}
