// The framework's classes as the form reader knows them: each class's published properties, declared once.
#include "framework/ActnList.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

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
        .Event(L"OnEnter", &TWinControl::OnEnter)
        .Event(L"OnExit", &TWinControl::OnExit)
        .Event(L"OnKeyDown", &TWinControl::OnKeyDown)
        .Event(L"OnKeyUp", &TWinControl::OnKeyUp)
        .Event(L"OnKeyPress", &TWinControl::OnKeyPress);
    RegisterClass<TGraphicControl>(L"TGraphicControl", L"TControl");
    RegisterClass<TCustomControl>(L"TCustomControl", L"TWinControl");
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
    RegisterClass<TMenu>(L"TMenu", L"TComponent").Bool(L"OwnerDraw", &TMenu::SetOwnerDraw);
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
    RegisterClass<TCustomActionList>(L"TCustomActionList", L"TComponent");
    RegisterClass<TActionList>(L"TActionList", L"TCustomActionList");
}

} // namespace

void RegisterFrameworkClasses()
{
    RegisterGraphicsClasses();
    RegisterControlClasses();
    RegisterFormClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
}
