#pragma once
// The plug-in's private part of the DEVMODE, which the driver keeps after the public DEVMODE.
//
//   offset size content
//        0    4 dwSize          20
//        4    4 dwSignature     0x4D534654 (bytes 54 46 53 4D)
//        8    4 dwVersion       1
//       12    4 dwMoveValue     0..100, default 0 (carried only)
//       16    4 dwCompressRate  0..100, default 100 (the document compression item)

#include "driver_kit.h"

namespace tavrel {

inline constexpr driverkit::DWORD kOemSignature = 0x4D534654;
inline constexpr driverkit::DWORD kOemVersion = 1;

struct PrivateDevMode {
    driverkit::OEM_DMEXTRAHEADER dmExtraHdr;
    driverkit::DWORD dwMoveValue;
    driverkit::DWORD dwCompressRate;
};
static_assert(sizeof(PrivateDevMode) == 20);

// The defaults of OEMDM_DEFAULT.
void DefaultPrivateDevMode(PrivateDevMode& part);
// Carries the input over the output (see the .cpp); nothing happens when either is missing.
void ConvertPrivateDevMode(const PrivateDevMode* in, PrivateDevMode* out);
// Puts a part's header right and its values in their ranges.
void ValidatePrivateDevMode(PrivateDevMode& part);

}  // namespace tavrel
