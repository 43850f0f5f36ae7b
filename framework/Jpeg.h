// JPEG images over libjpeg: decoded into a 24-bit DIB for drawing, kept compressed for saving.
#pragma once

#include "framework/Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

class TStartup;

// Corrupt, truncated or unsupported JPEG data, with libjpeg's own description.
DECLARE_EXCEPTION(EJPEG, EInvalidGraphic)

class TJPEGImage : public TGraphic {
    DECLARE_CLASS_NAME(TJPEGImage)
public:
    TJPEGImage();
    ~TJPEGImage() override;
    TJPEGImage(const TJPEGImage&) = delete;
    TJPEGImage& operator=(const TJPEGImage&) = delete;

    // The quality (1..100) an image assigned from a bitmap is compressed with.
    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int value) { quality_ = value < 1 ? 1 : value > 100 ? 100 : value; }
    // True when the image is stored with one grey channel.
    bool Grayscale() const { return grayscale_; }
    // Resizing a compressed image is not offered: both setters leave it as it is.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Decodes at once: bad data raises EJPEG and leaves the image as it was.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;

protected:
    void AssignTo(TPersistent* dest) override;
    int GetWidth() const override { return bitmap_ ? bitmap_->Width() : 0; }
    int GetHeight() const override { return bitmap_ ? bitmap_->Height() : 0; }
    bool GetEmpty() const override { return !bitmap_; }

private:
    void LoadFromData(std::vector<std::uint8_t> data);

    std::vector<std::uint8_t> data_;  // the compressed file
    std::unique_ptr<TBitmap> bitmap_; // the decoded picture, pf24bit
    int quality_ = 90;
    bool grayscale_ = false;
};

// Registers "jpeg" and "jpg" ("JPEG Image File") with the picture registry, and takes them out.
void RegisterJpegFormats();
void UnregisterJpegFormats();
// Adds the JPEG formats step at its place in the program's start-up order.
void AddJpegStartupStep(TStartup& startup);
