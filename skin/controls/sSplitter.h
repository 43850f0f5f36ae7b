// The skinned splitter: the framework's splitter painted from the skin section "SPLITTER" in a normal,
// hot and pressed look, with the application's hints switched off while it is dragged.
#pragma once

#include "framework/Splitter.h"
#include "skin/core/sCommonData.h"

#include <memory>

class TsSplitter : public TSplitter {
    DECLARE_CLASS_NAME(TsSplitter)
public:
    explicit TsSplitter(TComponent* owner);
    ~TsSplitter() override;

    void AfterConstruction() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    // Between MouseDown and MouseUp.
    bool Dragging() const { return dragging_; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    bool SkinCommand(TMessage& message);
    // Collapsed neighbours move next to the splitter, so the drag finds them again.
    void SnapCollapsedNeighbours();
    void HoverChanged(const TMessage& message);
    void FocusChanged(const TMessage& message);

    std::unique_ptr<TsCommonData> skinData_; // owned
    bool dragging_ = false;
};

// Makes TsSplitter readable from form data.
void RegisterSkinSplitterClasses();
