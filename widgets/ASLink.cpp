#include "widgets/ASLink.h"

#include "framework/FormData.h"
#include "framework/Forms.h"

#include <shellapi.h>

namespace {

// The character after the caption's single "&", upper-cased; 0 when there is none.
wchar_t AccelChar(const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
            reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(caption[i + 1])))));
    }
    return 0;
}

wchar_t UpperChar(wchar_t c)
{
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

} // namespace

const wchar_t* URLTypePrefix(TURLType type)
{
    switch (type) {
    case utFile: return L"file://";
    case utFtp: return L"ftp://";
    case utGopher: return L"gopher://";
    case utHttp: return L"http://";
    case utHttps: return L"https://";
    case utMailto: return L"mailto:";
    case utNews: return L"news:";
    case utTelnet: return L"telnet:";
    case utWais: return L"wais:";
    }
    return L"";
}

int DrawShadowText(HDC dc, const std::wstring& text, TShadowPosition position, TColor shadowColor, int size,
                   UINT flags, RECT& rect)
{
    RECT textRect = rect;
    RECT shadowRect = rect;
    switch (position) {
    case spLeftTop: OffsetRect(&textRect, size, size); break;
    case spLeftBottom: OffsetRect(&textRect, size, 0); OffsetRect(&shadowRect, 0, size); break;
    case spRightBottom: OffsetRect(&shadowRect, size, size); break;
    case spRightTop: OffsetRect(&textRect, 0, size); OffsetRect(&shadowRect, size, 0); break;
    }
    const COLORREF textColor = GetTextColor(dc);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(shadowColor)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadowRect, flags);
    SetTextColor(dc, textColor);
    const int height = DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, flags);
    UnionRect(&rect, &textRect, &shadowRect);
    return height > 0 ? height + size : height;
}

TASLink::TASLink(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 17);
    SetCursor(crHandPoint);
}

TASLink::~TASLink()
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
}

void TASLink::Changed()
{
    Invalidate();
}

void TASLink::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    Changed();
}

void TASLink::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    AutoSizeToText();
}

void TASLink::SetFocusControl(TWinControl* value)
{
    if (value == focusControl_)
        return;
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}

void TASLink::SetLayout(TTextLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    Changed();
}

void TASLink::SetShadowColor(TColor value)
{
    if (value == shadowColor_)
        return;
    shadowColor_ = value;
    Changed();
}

void TASLink::SetShadowSize(int value)
{
    if (value < 0)
        value = 0;
    if (value > 255)
        value = 255;
    if (value == shadowSize_)
        return;
    shadowSize_ = value;
    AutoSizeToText();
    Changed();
}

void TASLink::SetShadowPos(TShadowPosition value)
{
    if (value == shadowPos_)
        return;
    shadowPos_ = value;
    Changed();
}

void TASLink::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    Changed();
}

void TASLink::SetShowFocus(bool value)
{
    if (value == showFocus_)
        return;
    showFocus_ = value;
    Changed();
}

void TASLink::SetTransparent(bool value)
{
    if (value == Transparent())
        return;
    if (value)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Changed();
}

void TASLink::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    AutoSizeToText();
}

std::wstring TASLink::Link()
{
    return urlTypeAdd_ ? URLTypePrefix(urlType_) + Caption() : Caption();
}

bool TASLink::OpenLink()
{
    if (Caption().empty() || !urlEnabled_)
        return false;
    return ShellOpen(Link(), L"", L"", SW_SHOWNOACTIVATE) > 32;
}

INT_PTR TASLink::ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
                           int showCommand)
{
    HWND owner = nullptr;
    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        owner = Application->MainForm()->Handle();
    return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, nullptr, file.c_str(), parameters.c_str(),
                                                   directory.c_str(), showCommand));
}

void TASLink::Click()
{
    TGraphicControl::Click();
    OpenLink();
    Repaint();
}

void TASLink::Dispatch(TMessage& message)
{
    static const TMessageEntry<TASLink> kLinkMessages[] = {
        {CM_MOUSEENTER, &TASLink::CMMouseEnter},   {CM_MOUSELEAVE, &TASLink::CMMouseLeave},
        {CM_DIALOGCHAR, &TASLink::CMDialogChar},   {CM_FOCUSCHANGED, &TASLink::CMFocusChanged},
        {CM_TEXTCHANGED, &TASLink::CMTextChanged}, {CM_FONTCHANGED, &TASLink::CMFontChanged},
    };
    if (DispatchIn(this, kLinkMessages, message))
        return;
    TGraphicControl::Dispatch(message);
}

void TASLink::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == static_cast<TComponent*>(focusControl_))
        focusControl_ = nullptr;
}

void TASLink::Loaded()
{
    TGraphicControl::Loaded();
    AutoSizeToText();
}

void TASLink::CMMouseEnter(TMessage&)
{
    if (mouseInside_)
        return;
    mouseInside_ = true;
    savedFontColor_ = Font()->Color();
    Font()->SetColor(linkColor_);
    Repaint();
}

void TASLink::CMMouseLeave(TMessage&)
{
    if (!mouseInside_)
        return;
    mouseInside_ = false;
    Font()->SetColor(savedFontColor_);
    Repaint();
}

void TASLink::CMDialogChar(TMessage& m)
{
    if (!focusControl_ || !Enabled() || !showAccelChar_)
        return;
    const wchar_t accel = AccelChar(Caption());
    if (!accel || UpperChar(static_cast<wchar_t>(m.WParam)) != accel)
        return;
    if (focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

void TASLink::CMFocusChanged(TMessage& m)
{
    const bool focused = focusControl_ && reinterpret_cast<TComponent*>(m.LParam) == focusControl_;
    if (focused == focusControlFocused_)
        return;
    focusControlFocused_ = focused;
    if (showFocus_)
        Invalidate();
}

void TASLink::CMTextChanged(TMessage&)
{
    Invalidate();
    AutoSizeToText();
}

void TASLink::CMFontChanged(TMessage&)
{
    Invalidate();
    AutoSizeToText();
}

void TASLink::DrawCaption(HDC dc, RECT& rect, UINT flags)
{
    std::wstring text = Caption();
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&")))
        text = L" ";
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    TSelectedObject font(dc, Font()->Handle());
    TColor textColor = Font()->Color();
    TColor shadowColor = shadowColor_;
    int shadowSize = shadowSize_;
    TShadowPosition shadowPos = shadowPos_;
    if (!Enabled()) {
        textColor = clGrayText;
        shadowColor = clBtnHighlight;
        // New-style controls show a disabled caption embossed even without a shadow of its own.
        if (shadowSize == 0) {
            shadowSize = 1;
            shadowPos = spRightBottom;
        }
    }
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(textColor)));
    DrawShadowText(dc, text, shadowPos, shadowColor, shadowSize, flags, rect);
}

void TASLink::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT rect = client.ToRECT();
    rect.left += 1;
    rect.right -= 1;
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    flags |= alignment_ == taRightJustify ? DT_RIGHT : alignment_ == taCenter ? DT_CENTER : DT_LEFT;
    if (layout_ != tlTop) {
        RECT measured = rect;
        DrawCaption(dc, measured, flags | DT_CALCRECT);
        const int free = (rect.bottom - rect.top) - (measured.bottom - measured.top);
        OffsetRect(&rect, 0, layout_ == tlBottom ? free : free / 2);
    }
    DrawCaption(dc, rect, flags);
    if (showFocus_ && focusControlFocused_ && !(ComponentState() & csDesigning)) {
        RECT frame = rect;
        InflateRect(&frame, 1, 1);
        DrawFocusRect(dc, &frame);
    }
}

void TASLink::AutoSizeToText()
{
    if (!autoSize_ || (ComponentState() & csLoading))
        return;
    RECT rect = ClientRect().ToRECT();
    rect.left += 1;
    rect.right -= 1;
    UINT flags = DT_CALCRECT | DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    DrawCaption(TScreenDC().Get(), rect, flags);
    rect.left -= 1;
    rect.right += 1;
    int left = Left();
    const int width = rect.right - rect.left;
    if (alignment_ == taRightJustify)
        left += Width() - width;
    SetBounds(left, Top(), width, rect.bottom - rect.top);
}

void RegisterLinkLabelClass()
{
    RegisterClass<TASLink>(L"TASLink", L"TGraphicControl")
        .Enum(L"Alignment", &TASLink::SetAlignment,
              {{L"taLeftJustify", taLeftJustify}, {L"taRightJustify", taRightJustify}, {L"taCenter", taCenter}})
        .Bool(L"AutoSize", &TASLink::SetAutoSize)
        .Reference(L"FocusControl", &TASLink::SetFocusControl)
        .Enum(L"Layout", &TASLink::SetLayout, {{L"tlTop", tlTop}, {L"tlCenter", tlCenter}, {L"tlBottom", tlBottom}})
        .Int(L"ShadowColor", &TASLink::SetShadowColor)
        .Int(L"ShadowSize", &TASLink::SetShadowSize)
        .Enum(L"ShadowPos", &TASLink::SetShadowPos,
              {{L"spLeftTop", spLeftTop}, {L"spLeftBottom", spLeftBottom}, {L"spRightBottom", spRightBottom},
               {L"spRightTop", spRightTop}})
        .Bool(L"ShowAccelChar", &TASLink::SetShowAccelChar)
        .Bool(L"ShowFocus", &TASLink::SetShowFocus)
        .Bool(L"Transparent", &TASLink::SetTransparent)
        .Bool(L"WordWrap", &TASLink::SetWordWrap)
        .Int(L"LinkColor", &TASLink::SetLinkColor)
        .Bool(L"URLEnabled", &TASLink::SetURLEnabled)
        .Bool(L"URLTypeAdd", &TASLink::SetURLTypeAdd)
        .Enum(L"URLType", &TASLink::SetURLType,
              {{L"utFile", utFile}, {L"utFtp", utFtp}, {L"utGopher", utGopher}, {L"utHttp", utHttp},
               {L"utHttps", utHttps}, {L"utMailto", utMailto}, {L"utNews", utNews}, {L"utTelnet", utTelnet},
               {L"utWais", utWais}});
}
