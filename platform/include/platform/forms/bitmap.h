#pragma once
// A picture from the program's embedded bitmap resources (or from bytes), with its size read from the bitmap
// header. The bytes are kept as a device-independent bitmap (header, colour table, pixels) for a backend to
// draw; nothing here decodes pixels. Every length is checked before it is read: a resource that is not a
// well-formed bitmap raises platform::Exception "Bitmap image is not valid".

#include <cstddef>
#include <string>

#include "platform/types.h"

namespace platform::forms {

// A bitmap resource of that name does not exist.
class ResourceNotFound : public platform::Exception {
public:
    explicit ResourceNotFound(const std::wstring& name);
};

class Bitmap {
public:
    Bitmap() = default;

    // The bitmap resource of that name (letter case does not matter). Raises ResourceNotFound ("Resource %s
    // not found") or platform::Exception for a broken bitmap.
    static Bitmap FromResource(const std::wstring& name);
    // A bitmap file (starting with "BM") or a bare device-independent bitmap.
    static Bitmap FromBytes(const Bytes& bytes, const std::wstring& name = L"");

    bool Empty() const { return dib_.empty(); }
    const std::wstring& Name() const { return name_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    // From the information header on (no file header).
    const Bytes& Dib() const { return dib_; }
    // Where the pixels start in Dib(): right after the header, the colour masks and the colour table.
    std::size_t PixelOffset() const { return pixelOffset_; }

    bool operator==(const Bitmap& other) const { return dib_ == other.dib_; }

private:
    std::wstring name_;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::size_t pixelOffset_ = 0;
    Bytes dib_;
};

}  // namespace platform::forms
