#include "platform/forms/bitmap.h"

#include <cstdint>
#include <optional>

#include "platform/bytes.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace platform::forms {

ResourceNotFound::ResourceNotFound(const std::wstring& name)
    : platform::Exception(Format(L"Resource %s not found", {name})) {}

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::int64_t kMaxSide = 32768;

[[noreturn]] void Invalid() {
    throw platform::Exception(L"Bitmap image is not valid");
}

}  // namespace

Bitmap Bitmap::FromResource(const std::wstring& name) {
    std::optional<Bytes> bytes = platform::resources().Find(name, ResourceType::Bitmap);
    if (!bytes) {
        throw ResourceNotFound(name);
    }
    return FromBytes(*bytes, name);
}

// A bitmap file, all numbers little-endian:
//   file header (optional, 14 bytes)
//     0  2  "BM"
//     2  4  file size (not trusted)
//     6  4  reserved
//    10  4  offset of the pixels from the start of the file
//   information header (from here on the device-independent bitmap)
//     0  4  header size: 12 (core), or 40, 52, 56, 108, 124
//   core header (12)                    |  40-byte and longer headers
//     4  2  width                       |   4  4  width (signed)
//     6  2  height                      |   8  4  height (signed; negative: rows top-down)
//     8  2  planes (1)                  |  12  2  planes (1)
//    10  2  bits per pixel              |  14  2  bits per pixel
//                                       |  16  4  compression: 0 none, 1 RLE8, 2 RLE4, 3 bit fields
//                                       |  20  4  size of the pixel data (needed for RLE)
//                                       |  32  4  colours used (0: all that the bit count allows)
//   three 4-byte colour masks after a 40-byte header with bit fields
//   colour table: entries of 3 bytes (core) or 4 bytes
//   pixels: rows padded to 4 bytes, or RLE data
Bitmap Bitmap::FromBytes(const Bytes& bytes, const std::wstring& name) {
    std::size_t start = 0;
    std::optional<std::size_t> pixelOffset;  // from the start of bytes, when a file header names it
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        if (bytes.size() < kFileHeaderSize) {
            Invalid();
        }
        start = kFileHeaderSize;
        pixelOffset = ReadLe32(bytes.data() + 10);
    }
    const std::size_t available = bytes.size() - start;
    if (available < 4) {
        Invalid();
    }
    Bytes header(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end());
    const std::uint32_t headerSize = ReadLe32(header.data());
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124) {
        Invalid();
    }
    if (available < headerSize) {
        Invalid();
    }

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    std::size_t entrySize = 4;
    if (headerSize == 12) {
        width = ReadLe16(header.data() + 4);
        height = ReadLe16(header.data() + 6);
        planes = ReadLe16(header.data() + 8);
        bitCount = ReadLe16(header.data() + 10);
        entrySize = 3;
    } else {
        width = static_cast<std::int32_t>(ReadLe32(header.data() + 4));
        height = static_cast<std::int32_t>(ReadLe32(header.data() + 8));
        planes = ReadLe16(header.data() + 12);
        bitCount = ReadLe16(header.data() + 14);
        compression = ReadLe32(header.data() + 16);
        imageSize = ReadLe32(header.data() + 20);
        coloursUsed = ReadLe32(header.data() + 32);
    }
    const bool topDown = height < 0;
    if (topDown) {
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || planes != 1) {
        Invalid();
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        Invalid();
    }
    const bool rle = compression == 1 || compression == 2;
    if (compression > 3 || (compression == 1 && bitCount != 8) || (compression == 2 && bitCount != 4) ||
        (compression == 3 && bitCount != 16 && bitCount != 32) || (rle && topDown)) {
        Invalid();
    }

    std::size_t tableEnd = headerSize;
    if (compression == 3 && headerSize == 40) {
        tableEnd += 12;
    }
    if (tableEnd > available) {
        Invalid();
    }
    std::uint64_t entries = coloursUsed;
    if (bitCount <= 8) {
        const std::uint64_t most = 1ull << bitCount;
        if (entries == 0) {
            entries = most;
        } else if (entries > most) {
            Invalid();
        }
    } else if (entries > 256) {
        Invalid();
    }
    const std::uint64_t tableBytes = entries * entrySize;
    if (tableBytes > available - tableEnd) {
        Invalid();
    }
    tableEnd += static_cast<std::size_t>(tableBytes);

    std::uint64_t pixelStart = tableEnd;
    if (pixelOffset) {
        if (*pixelOffset < start + tableEnd || *pixelOffset > bytes.size()) {
            Invalid();
        }
        pixelStart = *pixelOffset - start;
    }
    std::uint64_t pixelBytes = 0;
    if (rle) {
        if (imageSize == 0) {
            Invalid();
        }
        pixelBytes = imageSize;
    } else {
        const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
        pixelBytes = stride * static_cast<std::uint64_t>(height);
    }
    if (pixelBytes > available - pixelStart) {
        Invalid();
    }

    Bitmap bitmap;
    bitmap.name_ = name;
    bitmap.width_ = static_cast<int>(width);
    bitmap.height_ = static_cast<int>(height);
    bitmap.bitsPerPixel_ = static_cast<int>(bitCount);
    bitmap.pixelOffset_ = tableEnd;
    // Kept packed: the pixels follow the colour table directly, whatever gap the file had.
    bitmap.dib_.assign(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(tableEnd));
    bitmap.dib_.insert(bitmap.dib_.end(), header.begin() + static_cast<std::ptrdiff_t>(pixelStart),
                       header.begin() + static_cast<std::ptrdiff_t>(pixelStart + pixelBytes));
    return bitmap;
}

}  // namespace platform::forms
