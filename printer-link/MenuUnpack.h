#pragma once
// The menu container the printer sends: a small header and a zlib stream holding the menu file.

#include <cstdint>

#include "platform/types.h"

// Refused before anything is allocated: no printer menu comes near this size.
inline constexpr std::uint32_t kMaxUnpackedMenuSize = 16u * 1024u * 1024u;

// Replaces the container in stream with the unpacked menu and hands back the container's signature and
// version as they stand. No stream, or an empty one, is left alone (signature and version untouched).
// Throws platform::Exception, leaving stream unchanged, for a container shorter than its header, a declared
// size above kMaxUnpackedMenuSize, and zlib data that is corrupt or ends before the declared size is reached.
void UnpackMenuStream(platform::Bytes* stream, platform::Bytes& signature, std::uint16_t& version);
