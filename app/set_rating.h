// The rating dialog: one to five stars chosen on a track bar and written into the selected recipe.
#pragma once

#include "app/dialog_host.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TRatingForm : public TForm {
    DECLARE_CLASS_NAME(TRatingForm)
public:
    explicit TRatingForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;
    void Loaded() override;

    TDialogHost* Host = nullptr; // borrowed

    // 0 hides every star; 1..5 shows stars 1..n and hides the others.
    void SetRating(int n);
    void FormActivate(TObject* sender);
    void TrackBarChange(TObject* sender);
    void Button1Click(TObject* sender);

    TImage* imgStar1 = nullptr;
    TImage* imgStar2 = nullptr;
    TImage* imgStar3 = nullptr;
    TImage* imgStar4 = nullptr;
    TImage* imgStar5 = nullptr;
    TBevel* Bevel1 = nullptr;
    TTrackBar* TrackBar = nullptr;
    TButton* Button1 = nullptr;

private:
    TImage* Star(int index) const;
};

// Draws the star the rating shows (gold on the dialog's face) into a bitmap of size x size pixels.
void DrawRatingStar(TBitmap* bitmap, int size);
