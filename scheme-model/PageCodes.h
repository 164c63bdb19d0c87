#pragma once
// Page codes: one byte that selects an item list of the model. Sub-group n has page code 127 + n.

#include <cstdint>

inline constexpr std::uint8_t pgAdvance = 0;
inline constexpr std::uint8_t pgSingleItem = 1;
inline constexpr std::uint8_t pgMaintenance = 99;
inline constexpr std::uint8_t pgBase = 100;
inline constexpr std::uint8_t pgSaveValues = 101;
// A run mode of the command line only; it selects no list.
inline constexpr std::uint8_t pgReadMenu = 102;
inline constexpr std::uint8_t pgSubGroup01 = 128;
inline constexpr std::uint8_t pgSubGroup02 = 129;
inline constexpr std::uint8_t pgSubGroup64 = 191;

// Number of page header entries: page codes 0 to 191.
inline constexpr int kIndexItemCount = 192;
