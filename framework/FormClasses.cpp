// The framework's classes as the form reader knows them: each class's published properties, declared once.
#include "framework/ActnList.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/RichEdit.h"
#include "framework/StdCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/TypInfo.h"

namespace {

std::vector<std::pair<std::wstring, TColor>> ColorNames()
{
    return {
        {L"clBlack", clBlack}, {L"clMaroon", clMaroon}, {L"clGreen", clGreen}, {L"clOlive", clOlive},
        {L"clNavy", clNavy}, {L"clPurple", clPurple}, {L"clTeal", clTeal}, {L"clGray", clGray},
        {L"clSilver", clSilver}, {L"clRed", clRed}, {L"clLime", clLime}, {L"clYellow", clYellow},
        {L"clBlue", clBlue}, {L"clFuchsia", clFuchsia}, {L"clAqua", clAqua}, {L"clWhite", clWhite},
        {L"clNone", clNone}, {L"clDefault", clDefault}, {L"clScrollBar", clScrollBar},
        {L"clBackground", clBackground}, {L"clActiveCaption", clActiveCaption},
        {L"clInactiveCaption", clInactiveCaption}, {L"clMenu", clMenu}, {L"clWindow", clWindow},
        {L"clWindowFrame", clWindowFrame}, {L"clMenuText", clMenuText}, {L"clWindowText", clWindowText},
        {L"clCaptionText", clCaptionText}, {L"clActiveBorder", clActiveBorder},
        {L"clInactiveBorder", clInactiveBorder}, {L"clAppWorkSpace", clAppWorkSpace},
        {L"clHighlight", clHighlight}, {L"clHighlightText", clHighlightText}, {L"clBtnFace", clBtnFace},
        {L"clBtnShadow", clBtnShadow}, {L"clGrayText", clGrayText}, {L"clBtnText", clBtnText},
        {L"clInactiveCaptionText", clInactiveCaptionText}, {L"clBtnHighlight", clBtnHighlight},
        {L"cl3DDkShadow", cl3DDkShadow}, {L"cl3DLight", cl3DLight}, {L"clInfoText", clInfoText},
        {L"clInfoBk", clInfoBk}, {L"clHotLight", clHotLight}, {L"clMenuBar", clMenuBar},
        {L"clMenuHighlight", clMenuHighlight},
    };
}

std::vector<std::pair<std::wstring, TBiDiMode>> BiDiModeNames()
{
    return {{L"bdLeftToRight", bdLeftToRight}, {L"bdRightToLeft", bdRightToLeft},
            {L"bdRightToLeftNoAlign", bdRightToLeftNoAlign}, {L"bdRightToLeftReadingOnly", bdRightToLeftReadingOnly}};
}

// Shortcuts are written as text ('Ctrl+S') or as numbers.
template <class T>
void ShortCutProperty(TClassBuilder<T>& b, void (T::*setter)(TShortCut))
{
    b.Custom(L"ShortCut", [setter](T* o, const TFormValue& v, TFormReader& r) {
        if (v.kind == TFormValue::vkInteger) {
            (o->*setter)(static_cast<TShortCut>(v.integer));
            return;
        }
        if (v.kind == TFormValue::vkString) {
            TShortCut sc = TextToShortCut(v.text);
            if (!sc && !v.text.empty())
                r.Error(v.line, L"Invalid shortcut '" + v.text + L"'");
            (o->*setter)(sc);
            return;
        }
        r.Error(v.line, L"Shortcut expected, found " + v.Describe());
    });
}

void RegisterGraphicsClasses()
{
    RegisterClass<TPersistent>(L"TPersistent", L"");
    RegisterClass<TFont>(L"TFont", L"TPersistent")
        .String(L"Name", &TFont::SetName)
        .Int(L"Height", &TFont::SetHeight)
        .Int(L"Size", &TFont::SetSize)
        .Enum(L"Color", &TFont::SetColor, ColorNames(), true)
        .Set<TFontStyles, TFontStyle>(L"Style", &TFont::SetStyle,
                                      {{L"fsBold", fsBold}, {L"fsItalic", fsItalic}, {L"fsUnderline", fsUnderline},
                                       {L"fsStrikeOut", fsStrikeOut}})
        .Custom(L"Charset", [](TFont* f, const TFormValue& v, TFormReader& r) {
            const std::vector<std::pair<std::wstring, int>> names = {
                {L"DEFAULT_CHARSET", DEFAULT_CHARSET}, {L"ANSI_CHARSET", ANSI_CHARSET},
                {L"RUSSIAN_CHARSET", RUSSIAN_CHARSET}, {L"SYMBOL_CHARSET", SYMBOL_CHARSET},
                {L"OEM_CHARSET", OEM_CHARSET}};
            int value = v.kind == TFormValue::vkInteger ? TClassBuilder<TFont>::IntValue(v, r)
                                                        : TClassBuilder<TFont>::IdentValue(v, r, names);
            f->SetCharset(static_cast<std::uint8_t>(value));
        });
    RegisterClass<TSizeConstraints>(L"TSizeConstraints", L"TPersistent")
        .Int(L"MinWidth", &TSizeConstraints::SetMinWidth)
        .Int(L"MinHeight", &TSizeConstraints::SetMinHeight)
        .Int(L"MaxWidth", &TSizeConstraints::SetMaxWidth)
        .Int(L"MaxHeight", &TSizeConstraints::SetMaxHeight);
    PublishOrd<TFont>(L"TFont", L"Color", &TFont::Color, &TFont::SetColor);
}

void RegisterControlClasses()
{
    RegisterClass<TComponent>(L"TComponent", L"TPersistent")
        .Custom(L"Tag", [](TComponent* c, const TFormValue& v, TFormReader& r) {
            c->Tag = TClassBuilder<TComponent>::IntValue(v, r);
        });
    RegisterClass<TControl>(L"TControl", L"TComponent")
        .Int(L"Left", &TControl::SetLeft)
        .Int(L"Top", &TControl::SetTop)
        .Int(L"Width", &TControl::SetWidth)
        .Int(L"Height", &TControl::SetHeight)
        .Int(L"ClientWidth", &TControl::SetClientWidth)
        .Int(L"ClientHeight", &TControl::SetClientHeight)
        .String(L"Caption", &TControl::SetCaption)
        .String(L"Text", &TControl::SetText)
        .Enum(L"Align", &TControl::SetAlign,
              {{L"alNone", alNone}, {L"alTop", alTop}, {L"alBottom", alBottom}, {L"alLeft", alLeft},
               {L"alRight", alRight}, {L"alClient", alClient}, {L"alCustom", alCustom}})
        .Set<TAnchors, TAnchorKind>(L"Anchors", &TControl::SetAnchors,
                                    {{L"akLeft", akLeft}, {L"akTop", akTop}, {L"akRight", akRight}, {L"akBottom", akBottom}})
        .Bool(L"Visible", &TControl::SetVisible)
        .Bool(L"Enabled", &TControl::SetEnabled)
        .Enum(L"Color", &TControl::SetColor, ColorNames(), true)
        .Bool(L"ParentColor", &TControl::SetParentColor)
        .Bool(L"ParentFont", &TControl::SetParentFont)
        .Object(L"Font", &TControl::Font)
        .Object(L"Constraints", &TControl::Constraints)
        .String(L"Hint", &TControl::SetHint)
        .Bool(L"ShowHint", &TControl::SetShowHint)
        .Bool(L"ParentShowHint", &TControl::SetParentShowHint)
        .Enum(L"BiDiMode", &TControl::SetBiDiMode, BiDiModeNames())
        .Bool(L"ParentBiDiMode", &TControl::SetParentBiDiMode)
        .Int(L"Cursor", &TControl::SetCursor)
        .Reference(L"PopupMenu", &TControl::SetPopupMenu)
        .Event(L"OnClick", &TControl::OnClick)
        .Event(L"OnDblClick", &TControl::OnDblClick)
        .Event(L"OnResize", &TControl::OnResize)
        .Event(L"OnMouseDown", &TControl::OnMouseDown)
        .Event(L"OnMouseMove", &TControl::OnMouseMove)
        .Event(L"OnMouseUp", &TControl::OnMouseUp);
    RegisterClass<TWinControl>(L"TWinControl", L"TControl")
        .Bool(L"TabStop", &TWinControl::SetTabStop)
        .Int(L"TabOrder", &TWinControl::SetTabOrder)
        .Bool(L"DoubleBuffered", &TWinControl::SetDoubleBuffered)
        .Event(L"OnEnter", &TWinControl::OnEnter)
        .Event(L"OnExit", &TWinControl::OnExit)
        .Event(L"OnKeyDown", &TWinControl::OnKeyDown)
        .Event(L"OnKeyUp", &TWinControl::OnKeyUp)
        .Event(L"OnKeyPress", &TWinControl::OnKeyPress);
    RegisterClass<TGraphicControl>(L"TGraphicControl", L"TControl");
    RegisterClass<TCustomControl>(L"TCustomControl", L"TWinControl");
    PublishOrd<TControl>(L"TControl", L"Color", &TControl::Color, &TControl::SetColor);
    PublishObject<TControl>(L"TControl", L"Font", &TControl::Font);
}

void RegisterFormClasses()
{
    RegisterClass<TCustomForm>(L"TCustomForm", L"TWinControl")
        .Enum(L"BorderStyle", &TCustomForm::SetBorderStyle,
              {{L"bsNone", bsNone}, {L"bsSingle", bsSingle}, {L"bsSizeable", bsSizeable}, {L"bsDialog", bsDialog},
               {L"bsToolWindow", bsToolWindow}, {L"bsSizeToolWin", bsSizeToolWin}})
        .Set<TBorderIcons, TBorderIcon>(L"BorderIcons", &TCustomForm::SetBorderIcons,
                                        {{L"biSystemMenu", biSystemMenu}, {L"biMinimize", biMinimize},
                                         {L"biMaximize", biMaximize}, {L"biHelp", biHelp}})
        .Enum(L"Position", &TCustomForm::SetPosition,
              {{L"poDesigned", poDesigned}, {L"poDefault", poDefault}, {L"poDefaultPosOnly", poDefaultPosOnly},
               {L"poDefaultSizeOnly", poDefaultSizeOnly}, {L"poScreenCenter", poScreenCenter},
               {L"poDesktopCenter", poDesktopCenter}, {L"poMainFormCenter", poMainFormCenter},
               {L"poOwnerFormCenter", poOwnerFormCenter}})
        .Enum(L"FormStyle", &TCustomForm::SetFormStyle,
              {{L"fsNormal", fsNormal}, {L"fsMDIChild", fsMDIChild}, {L"fsMDIForm", fsMDIForm}, {L"fsStayOnTop", fsStayOnTop}})
        .Enum(L"WindowState", &TCustomForm::SetWindowState,
              {{L"wsNormal", wsNormal}, {L"wsMinimized", wsMinimized}, {L"wsMaximized", wsMaximized}})
        .Reference(L"Menu", &TCustomForm::SetMenu)
        .Reference(L"ActiveControl", &TCustomForm::SetActiveControl)
        .Bool(L"AutoSize", &TCustomForm::SetAutoSize)
        .Bool(L"AutoScroll", &TCustomForm::SetAutoScroll)
        .Int(L"BorderWidth", &TCustomForm::SetBorderWidth)
        .Bool(L"AlphaBlend", &TCustomForm::SetAlphaBlend)
        .Int(L"AlphaBlendValue", &TCustomForm::SetAlphaBlendValue)
        .Bool(L"KeyPreview", &TCustomForm::SetKeyPreview)
        .Event(L"OnCreate", &TCustomForm::OnCreate)
        .Event(L"OnShow", &TCustomForm::OnShow)
        .Event(L"OnHide", &TCustomForm::OnHide)
        .Event(L"OnActivate", &TCustomForm::OnActivate)
        .Event(L"OnDeactivate", &TCustomForm::OnDeactivate)
        .Event(L"OnClose", &TCustomForm::OnClose)
        .Event(L"OnCloseQuery", &TCustomForm::OnCloseQuery)
        .Event(L"OnDestroy", &TCustomForm::OnDestroy)
        .Event(L"OnPaint", &TCustomForm::OnPaint);
    RegisterClass<TForm>(L"TForm", L"TCustomForm");
}

void RegisterMenuClasses()
{
    auto item = RegisterClass<TMenuItem>(L"TMenuItem", L"TComponent");
    item.String(L"Caption", &TMenuItem::SetCaption)
        .Bool(L"Checked", &TMenuItem::SetChecked)
        .Bool(L"RadioItem", &TMenuItem::SetRadioItem)
        .Bool(L"AutoCheck", &TMenuItem::SetAutoCheck)
        .Bool(L"Enabled", &TMenuItem::SetEnabled)
        .Bool(L"Visible", &TMenuItem::SetVisible)
        .Bool(L"Default", &TMenuItem::SetDefault)
        .Enum(L"Break", &TMenuItem::SetBreak, {{L"mbNone", mbNone}, {L"mbBreak", mbBreak}, {L"mbBarBreak", mbBarBreak}})
        .Int(L"GroupIndex", &TMenuItem::SetGroupIndex)
        .Int(L"ImageIndex", &TMenuItem::SetImageIndex)
        .String(L"Hint", &TMenuItem::SetHint)
        .Reference(L"Action", &TMenuItem::SetAction)
        .Event(L"OnClick", &TMenuItem::OnClick)
        .Event(L"OnMeasureItem", &TMenuItem::OnMeasureItem)
        .Event(L"OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
    ShortCutProperty(item, &TMenuItem::SetShortCut);
    RegisterClass<TMenu>(L"TMenu", L"TComponent")
        .Bool(L"OwnerDraw", &TMenu::SetOwnerDraw)
        .Enum(L"BiDiMode", &TMenu::SetBiDiMode, BiDiModeNames())
        .Reference(L"Images", &TMenu::SetImages);
    RegisterClass<TMainMenu>(L"TMainMenu", L"TMenu");
    RegisterClass<TPopupMenu>(L"TPopupMenu", L"TMenu")
        .Bool(L"AutoPopup", &TPopupMenu::SetAutoPopup)
        .Enum(L"Alignment", &TPopupMenu::SetAlignment, {{L"paLeft", paLeft}, {L"paRight", paRight}, {L"paCenter", paCenter}})
        .Set<TMenuAnimations, TMenuAnimation>(L"MenuAnimation", &TPopupMenu::SetMenuAnimation,
                                              {{L"maLeftToRight", maLeftToRight}, {L"maRightToLeft", maRightToLeft},
                                               {L"maTopToBottom", maTopToBottom}, {L"maBottomToTop", maBottomToTop},
                                               {L"maNone", maNone}})
        .Event(L"OnPopup", &TPopupMenu::OnPopup);
}

void RegisterActionClasses()
{
    RegisterClass<TBasicAction>(L"TBasicAction", L"TComponent")
        .Event(L"OnExecute", &TBasicAction::OnExecute)
        .Event(L"OnUpdate", &TBasicAction::OnUpdate);
    auto action = RegisterClass<TCustomAction>(L"TCustomAction", L"TBasicAction");
    action.String(L"Caption", &TCustomAction::SetCaption)
        .String(L"Hint", &TCustomAction::SetHint)
        .Bool(L"Enabled", &TCustomAction::SetEnabled)
        .Bool(L"Checked", &TCustomAction::SetChecked)
        .Bool(L"Visible", &TCustomAction::SetVisible)
        .Int(L"ImageIndex", &TCustomAction::SetImageIndex)
        .String(L"Category", &TCustomAction::SetCategory)
        .Reference(L"ActionList", &TCustomAction::SetActionList);
    ShortCutProperty(action, &TCustomAction::SetShortCut);
    RegisterClass<TAction>(L"TAction", L"TCustomAction");
    RegisterClass<TCustomActionList>(L"TCustomActionList", L"TComponent")
        .Reference(L"Images", &TCustomActionList::SetImages)
        .Event(L"OnExecute", &TCustomActionList::OnExecute)
        .Event(L"OnUpdate", &TCustomActionList::OnUpdate);
    RegisterClass<TActionList>(L"TActionList", L"TCustomActionList");
}

std::vector<std::pair<std::wstring, TAlignment>> AlignmentNames()
{
    return {{L"taLeftJustify", taLeftJustify}, {L"taRightJustify", taRightJustify}, {L"taCenter", taCenter}};
}

std::vector<std::pair<std::wstring, TScrollStyle>> ScrollStyleNames()
{
    return {{L"ssNone", ssNone}, {L"ssHorizontal", ssHorizontal}, {L"ssVertical", ssVertical}, {L"ssBoth", ssBoth}};
}

std::vector<std::pair<std::wstring, TBorderStyleKind>> BorderStyleNames()
{
    return {{L"bsNone", bsNoBorder}, {L"bsSingle", bsSingleBorder}};
}

void RegisterStdCtrlsClasses()
{
    RegisterClass<TCustomEdit>(L"TCustomEdit", L"TWinControl")
        .Bool(L"ReadOnly", &TCustomEdit::SetReadOnly)
        .Int(L"MaxLength", &TCustomEdit::SetMaxLength)
        .Enum(L"BorderStyle", &TCustomEdit::SetBorderStyle, BorderStyleNames())
        .Event(L"OnChange", &TCustomEdit::OnChange);
    RegisterClass<TEdit>(L"TEdit", L"TCustomEdit");
    RegisterClass<TMemo>(L"TMemo", L"TCustomEdit")
        .Object(L"Lines", &TMemo::Lines)
        .Enum(L"ScrollBars", &TMemo::SetScrollBars, ScrollStyleNames())
        .Bool(L"WordWrap", &TMemo::SetWordWrap)
        .Bool(L"WantReturns", &TMemo::SetWantReturns);
    RegisterClass<TCustomListBox>(L"TCustomListBox", L"TWinControl")
        .Object(L"Items", &TCustomListBox::Items)
        .Int(L"ItemIndex", &TCustomListBox::SetItemIndex)
        .Bool(L"Sorted", &TCustomListBox::SetSorted);
    RegisterClass<TListBox>(L"TListBox", L"TCustomListBox");
    RegisterClass<TCustomComboBox>(L"TCustomComboBox", L"TWinControl")
        .Enum(L"Style", &TCustomComboBox::SetStyle,
              {{L"csDropDown", csDropDown}, {L"csSimple", csSimple}, {L"csDropDownList", csDropDownList}})
        .Object(L"Items", &TCustomComboBox::Items)
        .Int(L"ItemIndex", &TCustomComboBox::SetItemIndex)
        .Int(L"DropDownCount", &TCustomComboBox::SetDropDownCount)
        .Bool(L"Sorted", &TCustomComboBox::SetSorted)
        .Event(L"OnChange", &TCustomComboBox::OnChange)
        .Event(L"OnDropDown", &TCustomComboBox::OnDropDown)
        .Event(L"OnCloseUp", &TCustomComboBox::OnCloseUp);
    RegisterClass<TComboBox>(L"TComboBox", L"TCustomComboBox");
    RegisterClass<TButtonControl>(L"TButtonControl", L"TWinControl");
    RegisterClass<TButton>(L"TButton", L"TButtonControl")
        .Custom(L"ModalResult", [](TButton* b, const TFormValue& v, TFormReader& r) {
            const std::vector<std::pair<std::wstring, int>> names = {
                {L"mrNone", mrNone}, {L"mrOk", mrOk}, {L"mrCancel", mrCancel}, {L"mrAbort", mrAbort},
                {L"mrRetry", mrRetry}, {L"mrIgnore", mrIgnore}, {L"mrYes", mrYes}, {L"mrNo", mrNo}};
            b->SetModalResult(v.kind == TFormValue::vkInteger ? TClassBuilder<TButton>::IntValue(v, r)
                                                              : TClassBuilder<TButton>::IdentValue(v, r, names));
        })
        .Bool(L"Default", &TButton::SetDefault)
        .Bool(L"Cancel", &TButton::SetCancel);
    RegisterClass<TBitBtn>(L"TBitBtn", L"TButton")
        .Binary(L"Glyph", &TBitBtn::ReadGlyphData)
        .Int(L"NumGlyphs", &TBitBtn::SetNumGlyphs)
        .Enum(L"Layout", &TBitBtn::SetLayout,
              {{L"blGlyphLeft", blGlyphLeft}, {L"blGlyphRight", blGlyphRight}, {L"blGlyphTop", blGlyphTop},
               {L"blGlyphBottom", blGlyphBottom}})
        .Int(L"Margin", &TBitBtn::SetMargin)
        .Int(L"Spacing", &TBitBtn::SetSpacing);
    RegisterClass<TCustomLabel>(L"TCustomLabel", L"TGraphicControl")
        .Enum(L"Alignment", &TCustomLabel::SetAlignment, AlignmentNames())
        .Enum(L"Layout", &TCustomLabel::SetLayout, {{L"tlTop", tlTop}, {L"tlCenter", tlCenter}, {L"tlBottom", tlBottom}})
        .Bool(L"AutoSize", &TCustomLabel::SetAutoSize)
        .Bool(L"WordWrap", &TCustomLabel::SetWordWrap)
        .Bool(L"ShowAccelChar", &TCustomLabel::SetShowAccelChar)
        .Bool(L"Transparent", &TCustomLabel::SetTransparent)
        .Reference(L"FocusControl", &TCustomLabel::SetFocusControl);
    RegisterClass<TLabel>(L"TLabel", L"TCustomLabel");
}

void RegisterExtCtrlsClasses()
{
    RegisterClass<TImage>(L"TImage", L"TGraphicControl")
        .Object(L"Picture", &TImage::Picture)
        .Bool(L"AutoSize", &TImage::SetAutoSize)
        .Bool(L"Center", &TImage::SetCenter)
        .Bool(L"Stretch", &TImage::SetStretch)
        .Bool(L"Transparent", &TImage::SetTransparent);
    RegisterClass<TBevel>(L"TBevel", L"TGraphicControl")
        .Enum(L"Shape", &TBevel::SetShape,
              {{L"bsBox", bsBox}, {L"bsFrame", bsFrame}, {L"bsTopLine", bsTopLine}, {L"bsBottomLine", bsBottomLine},
               {L"bsLeftLine", bsLeftLine}, {L"bsRightLine", bsRightLine}, {L"bsSpacer", bsSpacer}})
        .Enum(L"Style", &TBevel::SetStyle, {{L"bsLowered", bsLowered}, {L"bsRaised", bsRaised}});
    const std::vector<std::pair<std::wstring, TPanelBevel>> bevels = {
        {L"bvNone", bvNone}, {L"bvLowered", bvLowered}, {L"bvRaised", bvRaised}, {L"bvSpace", bvSpace}};
    RegisterClass<TCustomPanel>(L"TCustomPanel", L"TCustomControl")
        .Enum(L"BevelOuter", &TCustomPanel::SetBevelOuter, bevels)
        .Enum(L"BevelInner", &TCustomPanel::SetBevelInner, bevels)
        .Int(L"BevelWidth", &TCustomPanel::SetBevelWidth)
        .Int(L"BorderWidth", &TCustomPanel::SetBorderWidth)
        .Enum(L"Alignment", &TCustomPanel::SetAlignment, AlignmentNames());
    RegisterClass<TPanel>(L"TPanel", L"TCustomPanel");
}

void RegisterRichEditClasses()
{
    RegisterClass<TCustomRichEdit>(L"TCustomRichEdit", L"TCustomEdit")
        .Object(L"Lines", &TCustomRichEdit::Lines)
        .Enum(L"ScrollBars", &TCustomRichEdit::SetScrollBars, ScrollStyleNames())
        .Bool(L"WordWrap", &TCustomRichEdit::SetWordWrap)
        .Bool(L"HideSelection", &TCustomRichEdit::SetHideSelection)
        .Bool(L"PlainText", &TCustomRichEdit::SetPlainText);
    RegisterClass<TRichEdit>(L"TRichEdit", L"TCustomRichEdit");
}

void RegisterDialogsClasses()
{
    RegisterClass<TCommonDialog>(L"TCommonDialog", L"TComponent")
        .Event(L"OnShow", &TCommonDialog::OnShow)
        .Event(L"OnClose", &TCommonDialog::OnClose);
    RegisterClass<TOpenDialog>(L"TOpenDialog", L"TCommonDialog")
        .String(L"Filter", &TOpenDialog::SetFilter)
        .Int(L"FilterIndex", &TOpenDialog::SetFilterIndex)
        .String(L"FileName", &TOpenDialog::SetFileName)
        .String(L"InitialDir", &TOpenDialog::SetInitialDir)
        .String(L"DefaultExt", &TOpenDialog::SetDefaultExt)
        .String(L"Title", &TOpenDialog::SetTitle)
        .Set<TOpenOptions, TOpenOption>(L"Options", &TOpenDialog::SetOptions,
                                        {{L"ofReadOnly", ofReadOnly}, {L"ofOverwritePrompt", ofOverwritePrompt},
                                         {L"ofHideReadOnly", ofHideReadOnly}, {L"ofNoChangeDir", ofNoChangeDir},
                                         {L"ofAllowMultiSelect", ofAllowMultiSelect},
                                         {L"ofPathMustExist", ofPathMustExist}, {L"ofFileMustExist", ofFileMustExist},
                                         {L"ofEnableSizing", ofEnableSizing}, {L"ofNoValidate", ofNoValidate},
                                         {L"ofCreatePrompt", ofCreatePrompt}, {L"ofOldStyleDialog", ofOldStyleDialog}});
    RegisterClass<TOpenPictureDialog>(L"TOpenPictureDialog", L"TOpenDialog");
    RegisterClass<TPrintDialog>(L"TPrintDialog", L"TCommonDialog").Int(L"Copies", &TPrintDialog::SetCopies);
    RegisterClass<TPrinterSetupDialog>(L"TPrinterSetupDialog", L"TPrintDialog");
}

} // namespace

void RegisterFrameworkClasses()
{
    RegisterGraphicsClasses();
    RegisterControlClasses();
    RegisterFormClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
    RegisterStdCtrlsClasses();
    RegisterExtCtrlsClasses();
    RegisterRichEditClasses();
    RegisterDialogsClasses();
    RegisterComCtrlClasses();
}
