// The splitter: a windowless bar between an aligned control and the rest of its parent, dragged to
// resize that control.
#pragma once

#include "framework/Controls.h"

#include <memory>

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = TEvent<TObject*, int&, bool&>;

class TSplitter : public TGraphicControl {
    DECLARE_CLASS_NAME(TSplitter)
public:
    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;

    // The smallest size the neighbour (and the rest of the parent) keeps while dragging.
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }
    // Dragged below MinSize, the neighbour collapses to nothing instead of stopping at MinSize.
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool value) { autoSnap_ = value; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value);
    // The control the splitter resizes, found when a drag starts (nullptr otherwise).
    TControl* ResizeControl() const { return control_; }

    TNotifyEvent OnPaint;
    TNotifyEvent OnMoved;
    TCanResizeEvent OnCanResize;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanResize(int& newSize);
    virtual void StopSizing();

private:
    TControl* FindControl();
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    // The neighbour's size for a pointer at Pos (parent coordinates along the drag axis).
    int SizeAt(int pos);
    void ApplySize(int size);
    void DrawLine();

    TControl* control_ = nullptr; // not owned: a sibling, followed by free notification while dragging
    int minSize_ = 30;
    TResizeStyle resizeStyle_ = rsPattern;
    bool autoSnap_ = true;
    bool beveled_ = false;
    int downPos_ = 0;    // parent coordinate where the drag started
    int startSize_ = 0;  // the neighbour's size then
    int maxSize_ = 0;
    int newSize_ = 0;
    int lineAt_ = 0;     // where the line of rsLine/rsPattern is drawn, parent coordinates
    HDC lineDC_ = nullptr; // owned while a line drag runs: the parent's DC
    GdiObject<HBRUSH> lineBrush_; // owned
};
