#pragma once
// The printer's settings: each item with its width and its value as the wire carries it, and the settings
// mode in which set frames are staged until the save command makes them stick.

#include <cstdint>
#include <optional>
#include <vector>

#include "vprinter/virtual_printer.h"

namespace vprinter {

struct StoredItem {
    ItemCode code;
    int width = 1;
    std::uint32_t raw = 0;  // one byte, two bytes (low + 256 * high) or a 24-bit mask, as sent and answered
};

// The value encodings of the three widths: one byte two's complement (read back as -64..191), two bytes sign
// and magnitude, a 24-bit mask.
std::uint32_t encodeValue(int width, std::int32_t value);
std::int32_t decodeValue(int width, std::uint32_t raw);
// The value bytes of a value reply entry: one byte, low byte first, or high byte first for the mask.
Bytes valueBytes(int width, std::uint32_t raw);
// The inverse, from the value bytes of a set frame (exactly `width` of them).
std::uint32_t rawFromBytes(int width, const std::uint8_t* bytes);

class ItemStore {
  public:
    bool define(ItemCode code, int width, std::int32_t value);
    void defineRaw(ItemCode code, int width, std::uint32_t raw);
    const StoredItem* findByGet(std::uint8_t get) const;
    const StoredItem* findBySet(std::uint8_t setClass, std::uint8_t set) const;
    std::optional<std::int32_t> value(ItemCode code) const;
    const std::vector<StoredItem>& all() const { return items_; }
    void clear();

    void enter();
    // Only inside settings mode; returns whether the value was staged.
    bool stage(const StoredItem& item, std::uint32_t raw);
    void save();
    bool inSettingsMode() const { return settingsMode_; }

  private:
    struct Staged {
        ItemCode code;
        std::uint32_t raw;
    };
    std::vector<StoredItem> items_;
    std::vector<Staged> staged_;
    bool settingsMode_ = false;
};

}  // namespace vprinter
