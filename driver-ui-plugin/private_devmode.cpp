#include "private_devmode.h"

#include <algorithm>
#include <cstring>

namespace tavrel {

void DefaultPrivateDevMode(PrivateDevMode& part) {
    part.dmExtraHdr.dwSize = sizeof(PrivateDevMode);
    part.dmExtraHdr.dwSignature = kOemSignature;
    part.dmExtraHdr.dwVersion = kOemVersion;
    part.dwMoveValue = 0;
    part.dwCompressRate = 100;
}

void ConvertPrivateDevMode(const PrivateDevMode* in, PrivateDevMode* out) {
    if (!in || !out) {
        return;
    }
    if (out->dmExtraHdr.dwSignature != in->dmExtraHdr.dwSignature) {
        DefaultPrivateDevMode(*out);
        return;
    }
    // A part from an older or smaller layout keeps the defaults in the fields it lacks.
    out->dwMoveValue = 0;
    out->dwCompressRate = 100;
    const std::size_t bytes =
        std::min<std::size_t>({in->dmExtraHdr.dwSize, out->dmExtraHdr.dwSize, sizeof(PrivateDevMode)});
    std::memmove(out, in, bytes);
    out->dmExtraHdr.dwSize = sizeof(PrivateDevMode);
    out->dmExtraHdr.dwVersion = kOemVersion;
}

void ValidatePrivateDevMode(PrivateDevMode& part) {
    part.dmExtraHdr.dwSize = sizeof(PrivateDevMode);
    part.dmExtraHdr.dwSignature = kOemSignature;
    part.dmExtraHdr.dwVersion = kOemVersion;
    if (part.dwMoveValue > 100) {
        part.dwMoveValue = 0;
    }
    if (part.dwCompressRate > 100) {
        part.dwCompressRate = 100;
    }
}

}  // namespace tavrel
