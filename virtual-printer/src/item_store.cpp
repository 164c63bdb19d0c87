#include "item_store.h"

#include <algorithm>
#include <cstdlib>

namespace vprinter {

std::uint32_t encodeValue(int width, std::int32_t value) {
    const std::int64_t v = value;
    switch (width) {
        case 1:
            return static_cast<std::uint32_t>(v < 0 ? v + 256 : v) & 0xFF;
        case 2:
            return static_cast<std::uint32_t>(v < 0 ? -v + 0x8000 : v) & 0xFFFF;
        default:
            return static_cast<std::uint32_t>(value) & 0xFFFFFF;
    }
}

std::int32_t decodeValue(int width, std::uint32_t raw) {
    switch (width) {
        case 1:
            return raw < 192 ? static_cast<std::int32_t>(raw) : static_cast<std::int32_t>(raw) - 256;
        case 2:
            return raw < 0x8000 ? static_cast<std::int32_t>(raw) : -static_cast<std::int32_t>(raw - 0x8000);
        default:
            return static_cast<std::int32_t>(raw);
    }
}

Bytes valueBytes(int width, std::uint32_t raw) {
    switch (width) {
        case 1:
            return {static_cast<std::uint8_t>(raw)};
        case 2:
            return {static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8)};
        default:
            return {static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 8),
                    static_cast<std::uint8_t>(raw)};
    }
}

std::uint32_t rawFromBytes(int width, const std::uint8_t* bytes) {
    switch (width) {
        case 1:
            return bytes[0];
        case 2:
            return bytes[0] + 256u * bytes[1];
        default:
            return (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
    }
}

bool ItemStore::define(ItemCode code, int width, std::int32_t value) {
    if (width < 1 || width > 3) {
        return false;
    }
    defineRaw(code, width, encodeValue(width, value));
    return true;
}

void ItemStore::defineRaw(ItemCode code, int width, std::uint32_t raw) {
    // A read code or a set code names one item only, so a redefinition replaces whatever held either.
    std::erase_if(items_, [&](const StoredItem& item) {
        return item.code.get == code.get || (item.code.setClass == code.setClass && item.code.set == code.set);
    });
    items_.push_back({code, width, raw});
}

const StoredItem* ItemStore::findByGet(std::uint8_t get) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const StoredItem& item) { return item.code.get == get; });
    return it == items_.end() ? nullptr : &*it;
}

const StoredItem* ItemStore::findBySet(std::uint8_t setClass, std::uint8_t set) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const StoredItem& item) {
        return item.code.setClass == setClass && item.code.set == set;
    });
    return it == items_.end() ? nullptr : &*it;
}

std::optional<std::int32_t> ItemStore::value(ItemCode code) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const StoredItem& item) { return item.code == code; });
    if (it == items_.end()) {
        return std::nullopt;
    }
    return decodeValue(it->width, it->raw);
}

void ItemStore::clear() {
    items_.clear();
    staged_.clear();
    settingsMode_ = false;
}

void ItemStore::enter() {
    // A second enter starts over: whatever the first one staged was never saved.
    staged_.clear();
    settingsMode_ = true;
}

bool ItemStore::stage(const StoredItem& item, std::uint32_t raw) {
    if (!settingsMode_) {
        return false;
    }
    staged_.push_back({item.code, raw});
    return true;
}

void ItemStore::save() {
    for (const Staged& change : staged_) {
        for (StoredItem& item : items_) {
            if (item.code == change.code) {
                item.raw = change.raw;
            }
        }
    }
    staged_.clear();
    settingsMode_ = false;
}

}  // namespace vprinter
