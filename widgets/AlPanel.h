// TAligningPanel: a panel that moves (and optionally sizes) its children in proportion when it is
// resized, so that a hand-placed layout scales with the window; labels may keep their distance from
// the controls they label.
#pragma once

#include "framework/ExtCtrls.h"

#include <vector>

DECLARE_EXCEPTION(ETooManyControls, Exception)
DECLARE_EXCEPTION(ECannotAssignToActive, Exception)

class TAligningPanel : public TCustomPanel {
    DECLARE_CLASS_NAME(TAligningPanel)
public:
    static constexpr int kMaxControls = 2047;

    explicit TAligningPanel(TComponent* owner);

    bool AligningActive() const { return aligningActive_; }
    void SetAligningActive(bool value);
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int value) { minHeight_ = value; }
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value) { minWidth_ = value; }
    bool MoveHorizontaly() const { return moveHorizontaly_; }
    void SetMoveHorizontaly(bool value);
    bool MoveVerticaly() const { return moveVerticaly_; }
    void SetMoveVerticaly(bool value);
    bool SizePanelsBevels() const { return sizePanelsBevels_; }
    void SetSizePanelsBevels(bool value);
    bool GlueLabels() const { return glueLabels_; }
    void SetGlueLabels(bool value);

    // The number of children the position records were made for (0: none).
    int RecordCount() const { return static_cast<int>(positions_.size()); }

    void Loaded() override;
    void Dispatch(TMessage& message) override;

private:
    // One child's exact scaled place; 0 means "not yet taken from the control". A glued label keeps its
    // horizontal and vertical distance from its focus control in Width and Height instead.
    struct TPositionRecord {
        double Left = 0, Top = 0, Width = 0, Height = 0;
    };

    void ClearPositions();
    void FreePositions();
    void AllocPositions(int count);
    void CheckNotActive() const;
    bool IsReadingOrLoading() const;
    void WMSize(TMessage& m);
    void ChildListChanged(int children);
    void ScaleChildren(double fx, double fy);
    void GlueLabelsToFocusControls();

    std::vector<TPositionRecord> positions_;
    bool firstSize_ = true;
    bool storedAligningActive_ = false; // the published default: data without the property leaves aligning off
    int oldHeight_ = 0;
    int oldWidth_ = 0;
    bool aligningActive_ = false;
    bool moveHorizontaly_ = true;
    bool moveVerticaly_ = true;
    bool sizePanelsBevels_ = false;
    bool glueLabels_ = false;
    int minHeight_ = 0;
    int minWidth_ = 0;
    bool loaded_ = false;
    bool applyingStored_ = false;
    bool oldSizeTaken_ = false; // switched on in code before the first scaling: the old size is recorded
};

// Makes TAligningPanel known to the form reader.
void RegisterAligningPanelClass();
