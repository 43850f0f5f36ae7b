// The adapter of an MDI form's client window: the client shows the part of the form's skinned
// background that lies under it, with its frame and scroll bars from the form's cache.
#pragma once

#include "skin/forms/acEditAdapters.h"

class TCustomForm;
class TsSkinProvider;

class TacMDIWnd : public TacBaseWnd {
public:
    using TacBaseWnd::TacBaseWnd;
    std::wstring ClassName() const override { return L"TacMDIWnd"; }
    void Destroy() override;
    void WndProc(TMessage& message) override;
    TPoint BarCacheOffset() const override;

    // Borrowed from the MDI form support; cleared, never freed, when the adapter goes.
    TCustomForm* Form = nullptr;
    TsCommonData* FormData = nullptr;
    TsSkinProvider* FormProvider = nullptr;

    // The active child is maximized: the client leaves its background to it.
    bool ChildMaximized() const;
    // The form's cache under the client area into DC at Origin, with the form's graphic controls.
    void PaintClientBackground(HDC dc, TPoint origin);

private:
    // Still adapted, also while a scroll message of the bars runs.
    bool Attached() const;
    bool Painting() const;
    void ResumePainting(WORD scrollCode);
    void WMPaint(TMessage& message);
    void WMNCPaint(TMessage& message);
    void AfterBase(TMessage& message);
};

// The adapter on an MDI form's client window, held for the MDI form support (the skin links' entry).
std::unique_ptr<TObject> MakeMDIClientAdapter(HWND client, TsSkinProvider* provider);
