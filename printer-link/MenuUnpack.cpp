#include "MenuUnpack.h"

#include <zlib.h>

#include <limits>

#include "platform/bytes.h"
#include "platform/text.h"

namespace {

// Menu container, numbers least significant byte first:
//   offset  size  content
//   0       2     signature 4A 5A
//   2       2     version (1)
//   4       4     unpacked size in bytes
//   8       8     reserved
//   16      rest  zlib stream (zlib header, deflate data, Adler-32), 32 KB window
constexpr std::size_t kHeaderSize = 16;

[[noreturn]] void Fail(const std::wstring& why) {
    throw platform::Exception(L"Menu data cannot be unpacked: " + why);
}

// Inflates exactly up to size bytes: a longer result is cut there, a stream that ends properly before gives
// what it holds.
platform::Bytes Inflate(const std::uint8_t* data, std::size_t length, std::uint32_t size) {
    if (length > std::numeric_limits<uInt>::max()) {
        Fail(L"container too large");
    }
    platform::Bytes out(size);
    z_stream zs{};
    if (inflateInit2(&zs, MAX_WBITS) != Z_OK) {
        Fail(L"the inflater cannot start");
    }
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(length);
    zs.next_out = out.data();
    zs.avail_out = size;
    int rc = Z_OK;
    while (zs.avail_out > 0) {
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            break;
        }
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) {
            break;  // the input has run out before the stream's end
        }
        if (rc != Z_OK) {
            break;
        }
    }
    const std::size_t produced = size - zs.avail_out;
    const std::wstring message = zs.msg ? platform::Utf8ToWide(zs.msg) : std::wstring();
    inflateEnd(&zs);
    if (produced < size && rc != Z_STREAM_END) {
        if (rc == Z_OK || rc == Z_BUF_ERROR) {
            Fail(L"the compressed data ends early");
        }
        Fail(message.empty() ? L"corrupt compressed data" : message);
    }
    out.resize(produced);
    return out;
}

}  // namespace

void UnpackMenuStream(platform::Bytes* stream, platform::Bytes& signature, std::uint16_t& version) {
    if (!stream || stream->empty()) {
        return;
    }
    const platform::Bytes& in = *stream;
    if (in.size() < kHeaderSize) {
        throw platform::Exception(L"Stream read error");
    }
    // The header goes to the caller as it stands, whatever the inflater then makes of the rest.
    signature.assign(in.begin(), in.begin() + 2);
    version = platform::ReadLe16(in.data() + 2);
    const std::uint32_t size = platform::ReadLe32(in.data() + 4);
    if (size > kMaxUnpackedMenuSize) {
        Fail(platform::Format(L"declared size %u is beyond any menu", {static_cast<std::int64_t>(size)}));
    }
    platform::Bytes unpacked = Inflate(in.data() + kHeaderSize, in.size() - kHeaderSize, size);
    *stream = std::move(unpacked);
}
