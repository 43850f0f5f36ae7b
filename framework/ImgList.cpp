// Image lists and their change links.
#include "framework/ImgList.h"

#include <algorithm>

TChangeLink::~TChangeLink()
{
    if (sender_)
        sender_->UnRegisterChanges(this);
}

bool TChangeLink::Link(TCustomImageList* value)
{
    if (sender_ == value)
        return false;
    if (sender_)
        sender_->UnRegisterChanges(this);
    if (value)
        value->RegisterChanges(this);
    return true;
}

void TChangeLink::Change()
{
    if (OnChange)
        OnChange(sender_);
}

TCustomImageList::TCustomImageList(int width, int height) : width_(width), height_(height) {}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_)
        link->SetSender(nullptr);
    FreeHandle();
}

void TCustomImageList::FreeHandle()
{
    if (handle_ && !shareImages_)
        ImageList_Destroy(handle_);
    handle_ = nullptr;
}

void TCustomImageList::CreateHandle()
{
    UINT flags = ILC_COLORDDB | (masked_ ? ILC_MASK : 0);
    handle_ = ImageList_Create(width_, height_, flags, allocBy_, allocBy_);
    if (!handle_)
        throw EInvalidOperation(L"Failed to create the image list");
    ImageList_SetBkColor(handle_, bkColor_ == clNone ? CLR_NONE : ColorToColorRef(bkColor_));
}

HIMAGELIST TCustomImageList::Handle()
{
    if (!handle_)
        CreateHandle();
    return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST value)
{
    if (value == handle_)
        return;
    FreeHandle();
    handle_ = value;
    if (value) {
        int w = 0, h = 0;
        ImageList_GetIconSize(value, &w, &h);
        width_ = w;
        height_ = h;
        ImageList_SetBkColor(handle_, bkColor_ == clNone ? CLR_NONE : ColorToColorRef(bkColor_));
    }
    Change();
}

void TCustomImageList::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    if (width <= 0 || height <= 0)
        throw EInvalidOperation(L"Invalid image size");
    width_ = width;
    height_ = height;
    if (handle_) {
        FreeHandle();
        CreateHandle();
    }
    Change();
}

void TCustomImageList::SetMasked(bool value)
{
    if (value == masked_)
        return;
    masked_ = value;
    if (handle_) {
        FreeHandle();
        CreateHandle();
    }
    Change();
}

void TCustomImageList::SetBkColor(TColor value)
{
    if (value == bkColor_)
        return;
    bkColor_ = value;
    if (handle_)
        ImageList_SetBkColor(handle_, value == clNone ? CLR_NONE : ColorToColorRef(value));
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value)
{
    if (value == drawingStyle_)
        return;
    drawingStyle_ = value;
    Change();
}

void TCustomImageList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Change();
    }
}

void TCustomImageList::Change()
{
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    // A link may unregister itself while it is told.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->Change();
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || std::find(links_.begin(), links_.end(), link) != links_.end())
        return;
    link->SetSender(this);
    links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end())
        return;
    links_.erase(it);
    link->SetSender(nullptr);
}

int TCustomImageList::Count() { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::CheckIndex(int index)
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation(L"Invalid image list index " + std::to_wstring(index));
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image)
        return -1;
    // The list copies the pictures; it needs them unselected from any DC.
    TBitmap imageCopy;
    imageCopy.Assign(image);
    TBitmap maskCopy;
    if (mask)
        maskCopy.Assign(mask);
    int index = ImageList_Add(Handle(), imageCopy.Handle(), mask ? maskCopy.Handle() : nullptr);
    if (index < 0)
        throw EInvalidOperation(L"Failed to add an image to the image list");
    Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* image)
{
    if (!image || !image->Handle())
        return -1;
    int index = ImageList_ReplaceIcon(Handle(), -1, image->Handle());
    if (index < 0)
        throw EInvalidOperation(L"Failed to add an icon to the image list");
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!image)
        return -1;
    TBitmap imageCopy;
    imageCopy.Assign(image);
    int index = ImageList_AddMasked(Handle(), imageCopy.Handle(), ColorToColorRef(maskColor));
    if (index < 0)
        throw EInvalidOperation(L"Failed to add an image to the image list");
    Change();
    return index;
}

void TCustomImageList::AddImages(TCustomImageList* source)
{
    if (!source || source == this)
        return;
    int count = source->Count();
    for (int i = 0; i < count; ++i) {
        // Through an icon, so a 32-bit source keeps its alpha channel.
        HICON icon = ImageList_GetIcon(source->Handle(), i, ILD_NORMAL);
        if (!icon)
            continue;
        ImageList_ReplaceIcon(Handle(), -1, icon);
        DestroyIcon(icon);
    }
    Change();
}

void TCustomImageList::Delete(int index)
{
    CheckIndex(index);
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Clear()
{
    if (handle_)
        ImageList_Remove(handle_, -1);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    if (!enabled) {
        DrawDisabled(canvas, x, y, index);
        return;
    }
    static const UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    ImageList_DrawEx(handle_, index, canvas->Handle(), x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, kStyles[drawingStyle_]);
}

// The image is drawn over a copy of what is there; every pixel it changed becomes a light grey of
// its brightness. This serves masked, unmasked and alpha images alike.
void TCustomImageList::DrawDisabled(TCanvas* canvas, int x, int y, int index)
{
    TBitmap under, drawn;
    under.SetPixelFormat(pf24bit);
    under.SetSize(width_, height_);
    under.Canvas()->CopyRect(Rect(0, 0, width_, height_), canvas, Bounds(x, y, width_, height_));
    drawn.Assign(&under);
    drawn.SetPixelFormat(pf24bit);
    ImageList_DrawEx(handle_, index, drawn.Canvas()->Handle(), 0, 0, 0, 0, CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
    for (int row = 0; row < height_; ++row) {
        auto* src = static_cast<const std::uint8_t*>(under.ScanLine(row));
        auto* dst = static_cast<std::uint8_t*>(drawn.ScanLine(row));
        for (int col = 0; col < width_ * 3; col += 3) {
            if (src[col] == dst[col] && src[col + 1] == dst[col + 1] && src[col + 2] == dst[col + 2])
                continue;
            int luminance = (dst[col] * 29 + dst[col + 1] * 150 + dst[col + 2] * 77) >> 8;
            auto grey = static_cast<std::uint8_t>(128 + luminance / 2);
            dst[col] = dst[col + 1] = dst[col + 2] = grey;
        }
    }
    canvas->Draw(x, y, &drawn);
}

void TCustomImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image || index < 0 || index >= Count())
        return;
    image->SetSize(width_, height_);
    TCanvas* c = image->Canvas();
    c->Brush()->SetColor(bkColor_ == clNone ? clWhite : bkColor_);
    c->FillRect(Rect(0, 0, width_, height_));
    ImageList_DrawEx(handle_, index, c->Handle(), 0, 0, 0, 0, CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
}

void TCustomImageList::GetIcon(int index, TIcon* image)
{
    if (!image || index < 0 || index >= Count())
        return;
    image->SetHandle(ImageList_GetIcon(handle_, index, ILD_NORMAL));
}
