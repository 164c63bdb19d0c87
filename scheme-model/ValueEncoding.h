#pragma once
// The three value encodings between the model's 32-bit values and the bytes on the wire, shared by the value
// reads (reply entries) and the dialogs (set commands).
//
// Value reply entry:
//   offset  size  content
//   0       1     item code (the value of the item's GetInstruction)
//   1       1     value type byte: 1 ptByte, 2 ptWord, 3 ptMask
//   2       1..3  value bytes: ptByte b; ptWord low byte, high byte; ptMask high byte first

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::uint32_t ptByte = 1;
inline constexpr std::uint32_t ptWord = 2;
inline constexpr std::uint32_t ptMask = 3;

// A multi-select list holds at most this many options: option k (from 1) is bit 24 - k of the mask.
inline constexpr int kMaskOptionCount = 24;
inline constexpr int MaskBitOfOption(int option) {
    return kMaskOptionCount - option;
}

// One byte, two's complement, but 192..255 read back as -64..-1 (128..191 stay positive).
std::int32_t DecodeByteValue(std::uint8_t b);
// Sign and magnitude: bit 15 is the minus sign.
std::int32_t DecodeWordValue(std::uint8_t low, std::uint8_t high);
std::int32_t DecodeMaskValue(std::uint8_t high, std::uint8_t middle, std::uint8_t low);

// The value bytes of a set command in the order they are sent: ptByte one byte, two's complement; ptWord two
// bytes low first, sign and magnitude with bit 15 the minus sign; ptMask three bytes high first. No bytes for
// a width that carries no value. Nothing for a value that does not fit its width (ptByte outside -256..255,
// ptWord a magnitude of 0x8000 or more, ptMask outside 0..0xFFFFFF): such a value is never to be sent, since
// it would lengthen or cut the frame, or read back as another value.
std::optional<std::vector<std::uint8_t>> EncodeValueBytes(std::int32_t value, std::uint32_t width);
// The same bytes as hex command text ("FE", "05 80", "A0 00 00"); empty for a width that carries no value.
std::optional<std::wstring> ValueToHex(std::int32_t value, std::uint32_t width);

struct TValueReplyEntry {
    std::uint8_t code = 0;
    std::uint8_t type = 0;
    std::int32_t value = 0;
    std::size_t size = 0;  // bytes the entry takes, code and type byte included
};

// Decodes the entry that starts at data[0]; length is what the buffer still holds from there. itemWidth is the
// value width of the item the entry belongs to (0 when unknown): a type-2 entry of a width-1 item carries the
// value in its second value byte. Nothing for an unknown type byte (its length is unknown) or a cut entry.
std::optional<TValueReplyEntry> DecodeReplyEntry(const std::uint8_t* data, std::size_t length, std::uint32_t itemWidth);
