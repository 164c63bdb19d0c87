#pragma once
// The compressed form in which the printer hands out its settings menu.
//
//   offset  size  content
//   0       2     signature 4A 5A
//   2       2     version 1, low byte first
//   4       4     unpacked size, low byte first
//   8       8     reserved, zero
//   16      rest  zlib stream (header, deflate data, Adler-32) of the menu bytes

#include "vprinter/virtual_printer.h"

namespace vprinter {

inline constexpr std::size_t kContainerHeaderBytes = 16;

// Empty for an empty menu: the printer then holds none.
Bytes buildMenuContainer(const Bytes& menu);
// corrupt: the zlib header check and the first deflate block no longer hold, so inflating fails at once.
// truncate: only the first half of the zlib stream is left; the header still declares the whole menu.
Bytes damageMenuContainer(Bytes container, bool corrupt, bool truncate);

}  // namespace vprinter
