#include "app/set_rating.h"

#include <cmath>
#include <numbers>
#include <vector>

void DrawRatingStar(TBitmap* bitmap, int size)
{
    bitmap->SetWidth(size);
    bitmap->SetHeight(size);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, size, size));
    std::vector<TPoint> points;
    const double c = (size - 1) / 2.0;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? c * 0.42 : c;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        points.push_back(Point(static_cast<int>(std::lrint(c + radius * std::cos(angle))),
                               static_cast<int>(std::lrint(c + radius * std::sin(angle)))));
    }
    canvas->Brush()->SetColor(static_cast<TColor>(0x00C0FF)); // gold
    canvas->Pen()->SetColor(static_cast<TColor>(0x0080C0));
    canvas->Polygon(points);
}

void TRatingForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormActivate", this, &TRatingForm::FormActivate);
    b.Handler(L"TrackBarChange", this, &TRatingForm::TrackBarChange);
    b.Handler(L"Button1Click", this, &TRatingForm::Button1Click);
    b.Field(L"imgStar1", &imgStar1);
    b.Field(L"imgStar2", &imgStar2);
    b.Field(L"imgStar3", &imgStar3);
    b.Field(L"imgStar4", &imgStar4);
    b.Field(L"imgStar5", &imgStar5);
    b.Field(L"Bevel1", &Bevel1);
    b.Field(L"TrackBar", &TrackBar);
    b.Field(L"Button1", &Button1);
}

void TRatingForm::Loaded()
{
    TForm::Loaded();
    for (int i = 1; i <= 5; ++i)
        DrawRatingStar(Star(i)->Picture()->Bitmap(), Star(i)->Width());
}

TImage* TRatingForm::Star(int index) const
{
    TImage* const stars[] = {imgStar1, imgStar2, imgStar3, imgStar4, imgStar5};
    return stars[index - 1];
}

void TRatingForm::SetRating(int n)
{
    if (n < 0 || n > 5)
        return;
    for (int i = 1; i <= 5; ++i)
        Star(i)->SetVisible(i <= n);
}

void TRatingForm::FormActivate(TObject*)
{
    // The dialog always starts at one star; the recipe's present rating is not read.
    SetRating(1);
    if (Host->SelectedRecipe())
        TrackBar->SetEnabled(true);
}

void TRatingForm::TrackBarChange(TObject*)
{
    SetRating(TrackBar->Position());
}

void TRatingForm::Button1Click(TObject*)
{
    if (Host->SelectedRecipe())
        Host->RateSelectedRecipe(TrackBar->Position());
    Close();
}
