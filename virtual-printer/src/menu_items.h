#pragma once
// The settings a menu definition describes, so that a printer can be given the items of its own menu.

#include <cstdint>
#include <vector>

#include "vprinter/virtual_printer.h"

namespace vprinter {

struct MenuItem {
    ItemCode code;
    int width = 1;
    std::int32_t value = 0;
};

// Every section with a "GetInstruction" of one byte and a "SetInstruction" of class and code (with or
// without the frame head), with its "ParameterCount" (default 1) and "Default" (default 0). Other sections,
// and items whose width is not 1 to 3, are passed over. The text is UTF-16LE after a byte-order mark,
// else 8-bit; names match in any letter case and the first occurrence of a key counts.
std::vector<MenuItem> itemsFromMenu(const Bytes& menuFile);

}  // namespace vprinter
