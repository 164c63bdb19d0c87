#include "menu_container.h"

#include <zlib.h>

namespace vprinter {
namespace {

void putLe(Bytes& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

Bytes buildMenuContainer(const Bytes& menu) {
    if (menu.empty()) {
        return {};
    }
    uLongf packedSize = compressBound(static_cast<uLong>(menu.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, menu.data(), static_cast<uLong>(menu.size()), Z_BEST_COMPRESSION) !=
        Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    Bytes container = {0x4A, 0x5A};
    putLe(container, 1, 2);
    putLe(container, static_cast<std::uint32_t>(menu.size()), 4);
    container.insert(container.end(), 8, 0x00);
    container.insert(container.end(), packed.begin(), packed.end());
    return container;
}

Bytes damageMenuContainer(Bytes container, bool corrupt, bool truncate) {
    if (container.size() <= kContainerHeaderBytes + 2) {
        return container;
    }
    if (truncate) {
        const std::size_t streamBytes = container.size() - kContainerHeaderBytes;
        container.resize(kContainerHeaderBytes + streamBytes / 2);
    }
    if (corrupt) {
        // FLG one off breaks the header's multiple-of-31 check; a deflate block of the reserved type 3 is
        // refused by any inflater that skips that check.
        container[kContainerHeaderBytes + 1] ^= 0x01;
        if (container.size() > kContainerHeaderBytes + 2) {
            container[kContainerHeaderBytes + 2] = 0x07;
        }
    }
    return container;
}

}  // namespace vprinter
