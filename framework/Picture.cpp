// The picture and its registry of file formats.
#include "framework/Graphics.h"

#include "framework/SysUtils.h"

namespace {

struct FileFormat {
    std::wstring extension; // without the dot, as registered
    std::wstring description;
    TGraphicClass graphicClass;
};

// The registry: bitmaps and icons are always known; other formats join at start-up.
std::vector<FileFormat>& FileFormats()
{
    static std::vector<FileFormat> formats{
        {L"bmp", L"Bitmaps", GraphicClassOf<TBitmap>()},
        {L"ico", L"Icons", GraphicClassOf<TIcon>()},
    };
    return formats;
}

std::wstring WithoutDot(const std::wstring& extension)
{
    return !extension.empty() && extension[0] == L'.' ? extension.substr(1) : extension;
}

} // namespace

void TPicture::RegisterFileFormat(const std::wstring& extension, const std::wstring& description, TGraphicClass graphicClass)
{
    if (!graphicClass)
        return;
    // The newest registration of an extension wins, so it goes first.
    auto& formats = FileFormats();
    formats.insert(formats.begin(), FileFormat{WithoutDot(extension), description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass)
{
    auto& formats = FileFormats();
    std::erase_if(formats, [&](const FileFormat& f) { return f.graphicClass == graphicClass; });
}

TGraphicClass TPicture::FileFormatOf(const std::wstring& extension)
{
    std::wstring ext = WithoutDot(extension);
    for (const FileFormat& f : FileFormats())
        if (AnsiCompareText(f.extension, ext) == 0)
            return f.graphicClass;
    return nullptr;
}

std::wstring TPicture::GraphicFilter(TGraphicClass graphicClass)
{
    std::wstring all, each, masks;
    for (const FileFormat& f : FileFormats()) {
        if (graphicClass && f.graphicClass != graphicClass)
            continue;
        std::wstring mask = L"*." + LowerCase(f.extension);
        masks += (masks.empty() ? L"" : L";") + mask;
        each += L"|" + f.description + L" (" + mask + L")|" + mask;
    }
    all = L"All (" + masks + L")|" + masks;
    return all + each;
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::SetOwnedGraphic(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* value)
{
    if (value == graphic_.get())
        return;
    if (!value) {
        SetOwnedGraphic(nullptr);
        return;
    }
    for (const FileFormat& f : FileFormats()) {
        if (f.graphicClass->isInstance(value) && f.graphicClass->className == value->ClassName()) {
            std::unique_ptr<TGraphic> copy = f.graphicClass->create();
            copy->Assign(value);
            SetOwnedGraphic(std::move(copy));
            return;
        }
    }
    throw EInvalidGraphic(L"Unknown picture format " + value->ClassName());
}

TBitmap* TPicture::Bitmap()
{
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        auto made = std::make_unique<TBitmap>();
        bitmap = made.get();
        SetOwnedGraphic(std::move(made));
    }
    return bitmap;
}

TIcon* TPicture::Icon()
{
    auto* icon = dynamic_cast<TIcon*>(graphic_.get());
    if (!icon) {
        auto made = std::make_unique<TIcon>();
        icon = made.get();
        SetOwnedGraphic(std::move(made));
    }
    return icon;
}

void TPicture::LoadFromFile(const std::wstring& fileName)
{
    std::wstring ext = ExtractFileExt(fileName);
    TGraphicClass graphicClass = FileFormatOf(ext);
    if (!graphicClass)
        throw EInvalidGraphic(L"Unknown picture file extension (" + ext + L")");
    std::unique_ptr<TGraphic> graphic = graphicClass->create();
    graphic->LoadFromFile(fileName);
    SetOwnedGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::wstring& fileName)
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* source)
{
    if (!source) {
        SetOwnedGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::AssignTo(TPersistent* dest)
{
    if (graphic_ && dynamic_cast<TGraphic*>(dest)) {
        dest->Assign(graphic_.get());
        return;
    }
    TPersistent::AssignTo(dest);
}
