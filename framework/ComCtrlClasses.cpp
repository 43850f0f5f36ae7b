// The common controls and the splitter as the form reader knows them: each class's published
// properties, declared once.
#include "framework/ActnList.h"
#include "framework/ComCtrls.h"
#include "framework/FormData.h"
#include "framework/Menus.h"
#include "framework/Splitter.h"

namespace {

const std::vector<std::pair<std::wstring, TAlignment>> kAlignments = {
    {L"taLeftJustify", taLeftJustify}, {L"taRightJustify", taRightJustify}, {L"taCenter", taCenter}};

void RegisterStatusBar()
{
    RegisterClass<TStatusPanel>(L"TStatusPanel", L"TPersistent")
        .Int(L"Width", &TStatusPanel::SetWidth)
        .String(L"Text", &TStatusPanel::SetText)
        .Enum(L"Style", &TStatusPanel::SetStyle, {{L"psText", psText}, {L"psOwnerDraw", psOwnerDraw}})
        .Enum(L"Alignment", &TStatusPanel::SetAlignment, kAlignments)
        .Enum(L"Bevel", &TStatusPanel::SetBevel, {{L"pbNone", pbNone}, {L"pbLowered", pbLowered}, {L"pbRaised", pbRaised}});
    RegisterClass<TStatusBar>(L"TStatusBar", L"TWinControl")
        .Object(L"Panels", &TStatusBar::Panels)
        .Bool(L"SimplePanel", &TStatusBar::SetSimplePanel)
        .String(L"SimpleText", &TStatusBar::SetSimpleText)
        .Bool(L"SizeGrip", &TStatusBar::SetSizeGrip)
        .Event(L"OnDrawPanel", &TStatusBar::OnDrawPanel);
}

void RegisterToolBar()
{
    const std::vector<std::pair<std::wstring, TEdgeStyle>> edges = {
        {L"esNone", esNone}, {L"esRaised", esRaised}, {L"esLowered", esLowered}};
    RegisterClass<TToolBar>(L"TToolBar", L"TWinControl")
        .Int(L"ButtonWidth", &TToolBar::SetButtonWidth)
        .Int(L"ButtonHeight", &TToolBar::SetButtonHeight)
        .Bool(L"Flat", &TToolBar::SetFlat)
        .Bool(L"List", &TToolBar::SetList)
        .Bool(L"ShowCaptions", &TToolBar::SetShowCaptions)
        .Bool(L"Transparent", &TToolBar::SetTransparent)
        .Bool(L"AutoSize", &TToolBar::SetAutoSize)
        .Int(L"BorderWidth", &TToolBar::SetBorderWidth)
        .Set<TEdgeBorders, TEdgeBorder>(L"EdgeBorders", &TToolBar::SetEdgeBorders,
                                        {{L"ebLeft", ebLeft}, {L"ebTop", ebTop}, {L"ebRight", ebRight}, {L"ebBottom", ebBottom}})
        .Enum(L"EdgeInner", &TToolBar::SetEdgeInner, edges)
        .Enum(L"EdgeOuter", &TToolBar::SetEdgeOuter, edges)
        .Reference(L"Images", &TToolBar::SetImages)
        .Reference(L"HotImages", &TToolBar::SetHotImages)
        .Reference(L"DisabledImages", &TToolBar::SetDisabledImages)
        .Event(L"OnAdvancedCustomDraw", &TToolBar::OnAdvancedCustomDraw)
        .Event(L"OnAdvancedCustomDrawButton", &TToolBar::OnAdvancedCustomDrawButton);
    RegisterClass<TToolButton>(L"TToolButton", L"TGraphicControl")
        .Enum(L"Style", &TToolButton::SetStyle,
              {{L"tbsButton", tbsButton}, {L"tbsCheck", tbsCheck}, {L"tbsDropDown", tbsDropDown},
               {L"tbsSeparator", tbsSeparator}, {L"tbsDivider", tbsDivider}})
        .Int(L"ImageIndex", &TToolButton::SetImageIndex)
        .Bool(L"Down", &TToolButton::SetDown)
        .Reference(L"DropdownMenu", &TToolButton::SetDropdownMenu)
        .Reference(L"Action", &TToolButton::SetAction);
}

void RegisterTabsAndRanges()
{
    RegisterClass<TTabControl>(L"TTabControl", L"TWinControl")
        .Object(L"Tabs", &TTabControl::Tabs)
        .Int(L"TabIndex", &TTabControl::SetTabIndex)
        .Enum(L"TabPosition", &TTabControl::SetTabPosition,
              {{L"tpTop", tpTop}, {L"tpBottom", tpBottom}, {L"tpLeft", tpLeft}, {L"tpRight", tpRight}})
        .Bool(L"MultiLine", &TTabControl::SetMultiLine)
        .Reference(L"Images", &TTabControl::SetImages)
        .Event(L"OnChange", &TTabControl::OnChange)
        .Event(L"OnChanging", &TTabControl::OnChanging);
    RegisterClass<TCustomUpDown>(L"TCustomUpDown", L"TWinControl")
        .Int(L"Min", &TCustomUpDown::SetMin)
        .Int(L"Max", &TCustomUpDown::SetMax)
        .Int(L"Position", &TCustomUpDown::SetPosition)
        .Int(L"Increment", &TCustomUpDown::SetIncrement)
        .Enum(L"Orientation", &TCustomUpDown::SetOrientation, {{L"udHorizontal", udHorizontal}, {L"udVertical", udVertical}})
        .Enum(L"AlignButton", &TCustomUpDown::SetAlignButton, {{L"udLeft", udLeft}, {L"udRight", udRight}})
        .Bool(L"Wrap", &TCustomUpDown::SetWrap)
        .Bool(L"ArrowKeys", &TCustomUpDown::SetArrowKeys)
        .Bool(L"Thousands", &TCustomUpDown::SetThousands)
        .Reference(L"Associate", &TCustomUpDown::SetAssociate)
        .Event(L"OnClick", &TCustomUpDown::OnClick)
        .Event(L"OnChanging", &TCustomUpDown::OnChanging)
        .Event(L"OnChangingEx", &TCustomUpDown::OnChangingEx);
    RegisterClass<TUpDown>(L"TUpDown", L"TCustomUpDown");
    RegisterClass<TTrackBar>(L"TTrackBar", L"TWinControl")
        .Int(L"Min", &TTrackBar::SetMin)
        .Int(L"Max", &TTrackBar::SetMax)
        .Int(L"Position", &TTrackBar::SetPosition)
        .Enum(L"TickMarks", &TTrackBar::SetTickMarks, {{L"tmBottomRight", tmBottomRight}, {L"tmTopLeft", tmTopLeft}, {L"tmBoth", tmBoth}})
        .Enum(L"TickStyle", &TTrackBar::SetTickStyle, {{L"tsNone", tsNone}, {L"tsAuto", tsAuto}, {L"tsManual", tsManual}})
        .Enum(L"Orientation", &TTrackBar::SetOrientation, {{L"trHorizontal", trHorizontal}, {L"trVertical", trVertical}})
        .Event(L"OnChange", &TTrackBar::OnChange);
    RegisterClass<TProgressBar>(L"TProgressBar", L"TWinControl")
        .Int(L"Min", &TProgressBar::SetMin)
        .Int(L"Max", &TProgressBar::SetMax)
        .Int(L"Position", &TProgressBar::SetPosition);
    RegisterClass<TSplitter>(L"TSplitter", L"TGraphicControl")
        .Int(L"MinSize", &TSplitter::SetMinSize)
        .Enum(L"ResizeStyle", &TSplitter::SetResizeStyle,
              {{L"rsNone", rsNone}, {L"rsLine", rsLine}, {L"rsUpdate", rsUpdate}, {L"rsPattern", rsPattern}})
        .Bool(L"AutoSnap", &TSplitter::SetAutoSnap)
        .Bool(L"Beveled", &TSplitter::SetBeveled)
        .Event(L"OnMoved", &TSplitter::OnMoved)
        .Event(L"OnPaint", &TSplitter::OnPaint);
}

void RegisterListView()
{
    RegisterClass<TListColumn>(L"TListColumn", L"TPersistent")
        .String(L"Caption", &TListColumn::SetCaption)
        .Int(L"Width", &TListColumn::SetWidth)
        .Enum(L"Alignment", &TListColumn::SetAlignment, kAlignments)
        .Int(L"ImageIndex", &TListColumn::SetImageIndex);
    RegisterClass<TListView>(L"TListView", L"TWinControl")
        .Enum(L"ViewStyle", &TListView::SetViewStyle,
              {{L"vsIcon", vsIcon}, {L"vsSmallIcon", vsSmallIcon}, {L"vsList", vsList}, {L"vsReport", vsReport}})
        .Object(L"Columns", &TListView::Columns)
        .Reference(L"LargeImages", &TListView::SetLargeImages)
        .Reference(L"SmallImages", &TListView::SetSmallImages)
        .Bool(L"ShowColumnHeaders", &TListView::SetShowColumnHeaders)
        .Bool(L"ReadOnly", &TListView::SetReadOnly)
        .Bool(L"OwnerData", &TListView::SetOwnerData)
        .Bool(L"HotTrack", &TListView::SetHotTrack)
        .Set<THotTrackStyles, THotTrackStyle>(L"HotTrackStyles", &TListView::SetHotTrackStyles,
                                              {{L"htHandPoint", htHandPoint}, {L"htUnderlineCold", htUnderlineCold},
                                               {L"htUnderlineHot", htUnderlineHot}})
        .Event(L"OnSelectItem", &TListView::OnSelectItem);
}

} // namespace

void RegisterComCtrlClasses()
{
    RegisterStatusBar();
    RegisterToolBar();
    RegisterTabsAndRanges();
    RegisterListView();
}
