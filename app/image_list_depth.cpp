#include "app/image_list_depth.h"

#include "framework/System.h"

namespace {

// Owns an image list for the length of one conversion.
class ImageListGuard {
public:
    explicit ImageListGuard(HIMAGELIST list) : list_(list) {}
    ~ImageListGuard()
    {
        if (list_)
            ImageList_Destroy(list_);
    }
    ImageListGuard(const ImageListGuard&) = delete;
    ImageListGuard& operator=(const ImageListGuard&) = delete;
    HIMAGELIST Get() const { return list_; }
    HIMAGELIST Release()
    {
        HIMAGELIST list = list_;
        list_ = nullptr;
        return list;
    }

private:
    HIMAGELIST list_;
};

} // namespace

HIMAGELIST ConvertTo32BitImageList(HIMAGELIST list, bool masked, int growBy)
{
    if (!list)
        return nullptr;
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    const UINT flags = ILC_COLOR32 | (masked ? ILC_MASK : 0);
    ImageListGuard converted(ImageList_Create(width, height, flags, 0, growBy > 0 ? growBy : 1));
    if (!converted.Get())
        throw EInvalidOperation(L"Неверный ImageList");
    const int count = ImageList_GetImageCount(list);
    for (int i = 0; i < count; ++i) {
        // Going through an icon carries colour, alpha and mask of each image together.
        HICON icon = ImageList_GetIcon(list, i, ILD_TRANSPARENT);
        if (!icon)
            throw EInvalidOperation(L"Неверный ImageList");
        const int added = ImageList_AddIcon(converted.Get(), icon);
        DestroyIcon(icon);
        if (added < 0)
            throw EInvalidOperation(L"Неверный ImageList");
    }
    ImageList_SetBkColor(converted.Get(), ImageList_GetBkColor(list));
    return converted.Release();
}
