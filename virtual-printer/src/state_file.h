#pragma once
// The printer's lasting state as text, so that several processes can share one printer through a file.
//
//   vprinter-state 1
//   model <model name as hex, "-" when empty>
//   item <read code> <set class> <set code> <width> <raw value as hex>     (one line per item)
//   menu <menu file bytes as hex, "-" when none>
//   fault <name> <value>                                                  (one line per fault)
// Numbers are decimal, byte strings hex without blanks, an absent optional value "-".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "item_store.h"
#include "vprinter/virtual_printer.h"

namespace vprinter {

struct PrinterState {
    std::vector<StoredItem> items;
    std::string modelName;
    Bytes menuFile;
    Faults faults;
};

std::string writeState(const PrinterState& state);
// nullopt for anything that is not a whole, well-formed state text.
std::optional<PrinterState> readState(std::string_view text);

}  // namespace vprinter
