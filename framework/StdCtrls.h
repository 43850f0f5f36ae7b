// Standard controls over the system's own windows (edits, memos, combo boxes, list boxes, push
// buttons) and the windowless label.
#pragma once

#include "framework/Controls.h"

#include <memory>
#include <optional>
#include <string>

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBorderStyleKind { bsNoBorder, bsSingleBorder };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// Edits, list boxes and combo boxes share this: the text and background colours they answer the
// colour notifications with follow Color and Font.Color, with one cached brush.
class TCustomEdit : public TWinControl {
    DECLARE_CLASS_NAME(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    TBorderStyleKind BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyleKind value);
    bool Modified();
    void SetModified(bool value);

    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::wstring SelText();
    void SetSelText(const std::wstring& value);
    void SelectAll();
    void Clear() { SetText(L""); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change() { OnChange(this); }
    // The native class the control is made from ("EDIT" here).
    virtual const wchar_t* NativeClassName() const { return L"EDIT"; }

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    TBorderStyleKind borderStyle_ = bsSingleBorder;
    bool modified_ = false; // kept while the control has no window
    int selStart_ = 0;      // kept across RecreateWnd
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
    DECLARE_CLASS_NAME(TEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TMemo : public TCustomEdit {
    DECLARE_CLASS_NAME(TMemo)
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    // The text as lines separated by CR LF (hard line breaks, not wrapped display lines).
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
};

// The items of a list box or combo box: in the window while it exists, kept here otherwise.
class TItemStrings;

class TCustomListBox : public TWinControl {
    DECLARE_CLASS_NAME(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex();
    void SetItemIndex(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    int ItemHeight();
    void Clear();
    int ItemAtPos(const TPoint& pos, bool existing);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    std::unique_ptr<TItemStrings> items_;
    int savedIndex_ = -1;
    bool sorted_ = false;
};

class TListBox : public TCustomListBox {
    DECLARE_CLASS_NAME(TListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

class TCustomComboBox : public TWinControl {
    DECLARE_CLASS_NAME(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex();
    void SetItemIndex(int value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool DroppedDown();
    void SetDroppedDown(bool value);
    void Clear();
    // The window of the edit part (drop-down and simple styles) and of the list, once seen.
    HWND EditHandle() const { return editHandle_; }
    HWND ListHandle() const { return listHandle_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    void Dispatch(TMessage& message) override;
    // The closed box's height is the system's; the list's height comes from DropDownCount.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change() { OnChange(this); }

private:
    void CNCommand(TMessage& m);
    // The edit and list windows are the combo box's own children: their colour requests reach it and
    // not its parent.
    void WMCtlColorChild(TMessage& m);
    void ApplyDropDownCount();

    std::unique_ptr<TItemStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int savedIndex_ = -1;
    bool sorted_ = false;
    HWND editHandle_ = nullptr; // the system's: destroyed with the combo box
    HWND listHandle_ = nullptr; // the system's
};

class TComboBox : public TCustomComboBox {
    DECLARE_CLASS_NAME(TComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TButtonControl : public TWinControl {
    DECLARE_CLASS_NAME(TButtonControl)
public:
    explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
    DECLARE_CLASS_NAME(TButton)
public:
    explicit TButton(TComponent* owner);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }

    // Closes a modal form with the button's modal result, then runs OnClick.
    void Click() override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

// A windowless text: painted by its parent, optionally transparent, sized to its text.
class TCustomLabel : public TGraphicControl {
    DECLARE_CLASS_NAME(TCustomLabel)
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

protected:
    void Paint() override;
    // Draws (or with DT_CALCRECT measures) the caption into rect.
    void DoDrawText(HDC dc, RECT& rect, UINT flags);
    virtual void AdjustBounds();

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr; // not owned: a free notification clears it
    // The font the size was last worked out with: a change of its colour alone keeps the size.
    std::optional<TFont::TShape> measuredShape_;
};

class TLabel : public TCustomLabel {
    DECLARE_CLASS_NAME(TLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
