// Image lists over the common controls' image lists, and the change links that tell the controls
// using a list to refresh.
#pragma once

#include "framework/Graphics.h"

#include <commctrl.h>

#include <vector>

class TCustomImageList;

// A control's subscription to an image list's changes. The link leaves its list when it goes; a
// list that goes first clears the link's Sender.
class TChangeLink : public TObject {
    DECLARE_CLASS_NAME(TChangeLink)
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TCustomImageList* Sender() const { return sender_; }
    void SetSender(TCustomImageList* value) { sender_ = value; }
    // Moves the link from its list to Value (nil: to none); false when it already listens to Value.
    bool Link(TCustomImageList* value);
    virtual void Change();

    TNotifyEvent OnChange;

private:
    TCustomImageList* sender_ = nullptr; // borrowed
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TPersistent {
    DECLARE_CLASS_NAME(TCustomImageList)
public:
    explicit TCustomImageList(int width = 16, int height = 16);
    ~TCustomImageList() override;
    TCustomImageList(const TCustomImageList&) = delete;
    TCustomImageList& operator=(const TCustomImageList&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    void SetSize(int width, int height);
    // Masked lists keep a mask beside each image; changing it empties the list.
    bool Masked() const { return masked_; }
    void SetMasked(bool value);
    // The colour drawn under the images; clNone draws them transparently.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value);
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle value);
    // A list that shares its images leaves its handle alive when it goes.
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool value) { shareImages_ = value; }
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value) { allocBy_ = value > 0 ? value : 1; }

    // The list's handle, made on first use. Setting one takes it over (its image size becomes the
    // list's); the old handle goes unless images are shared.
    HIMAGELIST Handle();
    void SetHandle(HIMAGELIST value);
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Each returns the index of the new image, or raises EInvalidOperation.
    int Add(TBitmap* image, TBitmap* mask);
    int AddIcon(TIcon* image);
    int AddMasked(TBitmap* image, TColor maskColor);
    // Copies every image of another list to the end of this one.
    void AddImages(TCustomImageList* source);
    void Delete(int index);
    void Clear();
    int Count();

    // Disabled images are drawn in light grey over what is there.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void GetBitmap(int index, TBitmap* image);
    void GetIcon(int index, TIcon* image);

    // Between BeginUpdate and the matching EndUpdate the users of the list are not told of changes;
    // EndUpdate tells them once if anything changed. Filling a list image by image then rebuilds a
    // tool bar or a menu once instead of once per image.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    void CreateHandle();
    void FreeHandle();
    void CheckIndex(int index);
    void DrawDisabled(TCanvas* canvas, int x, int y, int index);

    HIMAGELIST handle_ = nullptr; // owned unless shareImages_
    int width_;
    int height_;
    bool masked_ = true;
    TColor bkColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    bool shareImages_ = false;
    int allocBy_ = 4;
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
    std::vector<TChangeLink*> links_; // borrowed
};

// Holds an image list's change notices for one scope, also when the scope is left by an exception.
using TImageListUpdate = TUpdateScope<TCustomImageList>;

class TImageList : public TCustomImageList {
    DECLARE_CLASS_NAME(TImageList)
public:
    using TCustomImageList::TCustomImageList;
};
