#include "skin/core/sVclUtils.h"

#include "skin/core/sMessageBox.h"

bool IsRectVisibleIn(const RECT& outer, const RECT& r)
{
    if (outer.top >= r.bottom || outer.left >= r.right || r.left >= outer.right || r.top >= outer.bottom)
        return false;
    return !IsRectEmpty(&r);
}

int GetCaptionFontHeight()
{
    NONCLIENTMETRICSW metrics{};
    // The size of the structure this build passes, never a byte count of some other layout.
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return 0;
    return metrics.lfCaptionFont.lfHeight;
}

int ShowWarningBox(const std::wstring& msg)
{
    return ShowMessageBox(msg, mtWarning, Buttons({mbOK}), 0);
}
