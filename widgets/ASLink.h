// TASLink: a label that draws its caption with an optional drop shadow, takes the link colour while
// the mouse is over it and opens its caption through the shell when clicked.
#pragma once

#include "framework/StdCtrls.h"

#include <string>

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
enum TURLType { utFile, utFtp, utGopher, utHttp, utHttps, utMailto, utNews, utTelnet, utWais };

// The scheme a link of that type is opened with ("mailto:", "http://", ...).
const wchar_t* URLTypePrefix(TURLType type);

// Draws text twice, first in the shadow colour offset by size pixels, then in the DC's text colour;
// rect becomes the union of both. Returns the drawn height plus size (or the height when it is not
// positive). With DT_CALCRECT nothing is drawn and rect is the measured extent.
int DrawShadowText(HDC dc, const std::wstring& text, TShadowPosition position, TColor shadowColor, int size,
                   UINT flags, RECT& rect);

class TASLink : public TGraphicControl {
    DECLARE_CLASS_NAME(TASLink)
public:
    explicit TASLink(TComponent* owner);
    ~TASLink() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int value);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool value);
    bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TColor LinkColor() const { return linkColor_; }
    void SetLinkColor(TColor value) { linkColor_ = value; }
    bool URLEnabled() const { return urlEnabled_; }
    void SetURLEnabled(bool value) { urlEnabled_ = value; }
    bool URLTypeAdd() const { return urlTypeAdd_; }
    void SetURLTypeAdd(bool value) { urlTypeAdd_ = value; }
    TURLType URLType() const { return urlType_; }
    void SetURLType(TURLType value) { urlType_ = value; }

    // The text the shell is asked to open: the caption, behind its scheme when URLTypeAdd is on.
    std::wstring Link();
    // Opens the link; false for an empty caption, a disabled link or a shell failure.
    bool OpenLink();

    void Click() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

protected:
    void Paint() override;
    // The shell's default action on file, owned by the main form's window; returns the shell's
    // result (above 32 on success). Texts of any length are passed whole.
    virtual INT_PTR ShellOpen(const std::wstring& file, const std::wstring& parameters,
                              const std::wstring& directory, int showCommand);
    // Draws (or with DT_CALCRECT measures) the caption into rect.
    void DrawCaption(HDC dc, RECT& rect, UINT flags);
    void AutoSizeToText();

private:
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMFocusChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void Changed();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr; // not owned: a free notification clears it
    TTextLayout layout_ = tlTop;
    TColor shadowColor_ = clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = spLeftTop;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    bool wordWrap_ = false;
    TColor linkColor_ = 0xFF0000;
    bool urlEnabled_ = true;
    bool urlTypeAdd_ = true;
    TURLType urlType_ = utMailto;
    TColor savedFontColor_ = clWindowText; // the font colour before the mouse came in
    bool mouseInside_ = false;
    bool focusControlFocused_ = false;
};

// Makes TASLink known to the form reader.
void RegisterLinkLabelClass();
