// The menu container unpacker on its own: header, declared size and zlib stream.

#include <cstddef>
#include <cstdint>

#include "MenuUnpack.h"
#include "platform/types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Bytes stream(data, data + size);
    platform::Bytes signature;
    std::uint16_t version = 0;
    try {
        UnpackMenuStream(&stream, signature, version);
    } catch (const platform::Exception&) {
        // a refused container is an outcome, not a fault
    }
    return 0;
}
