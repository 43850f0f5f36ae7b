#include "skin/core/sConst.h"

#include "framework/Startup.h"

TCacheInfo CacheReply;
TColor ParentBgColor = sNoColor;
TColor TransFillColor = sNoColor;
int HScrollArrowWidth = 0;

namespace {

void StartSkinConstants()
{
    CacheReply = EmptyCacheInfo;
    ParentBgColor = sNoColor;
    TransFillColor = sNoColor;
    HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
}

} // namespace

void AddSkinConstantsStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::SkinCacheInfo, L"Skin constants", StartSkinConstants, nullptr);
}
