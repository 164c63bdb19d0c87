#pragma once
// Hex text for the command log and the state file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vprinter/virtual_printer.h"

namespace vprinter {

std::string hexByte(std::uint8_t byte);
// Two upper-case digits per byte, separated by blanks.
std::string hexBytes(const std::uint8_t* data, std::size_t n, std::string_view separator = " ");
// Pairs of hex digits in either case; blanks and tabs between them are dropped. nullopt for an odd digit
// count or any other character, so that a damaged text is refused rather than read as something else.
std::optional<Bytes> parseHex(std::string_view text);

}  // namespace vprinter
