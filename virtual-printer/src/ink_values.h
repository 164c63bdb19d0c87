#pragma once
// The ink printer's own values outside the settings menu: the head alignment for each of its three print
// resolutions, the drying time, the page counter and the ink level, with the commands that read and set them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vprinter {

struct PrinterCore;
struct Frame;

// Resolution codes of the alignment commands: 00 300 dpi, 01 600 dpi, 02 1200 dpi.
inline constexpr std::size_t kAlignmentResolutions = 3;

struct InkValues {
    // As the wire carries them: one byte, two's complement.
    std::array<std::uint8_t, kAlignmentResolutions> alignment{};
    // In units of 10 ms.
    std::uint16_t dryingTime = 0;
    std::uint32_t pageCount = 0;
    // Percent; the printer reports whatever it holds, 0 to 255.
    std::uint8_t inkLevel = 100;
};

// The rows of the command table for these commands: their body lengths (known from the first bytes, so that a
// value byte that spells part of the tail does not cut the frame) and their handlers.
std::optional<std::size_t> alignmentPrintLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void printAlignmentPattern(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> alignmentSetLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void setAlignment(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> dryingSetLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void setDryingTime(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> alignmentReadLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void readAlignment(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> inquiryReadLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void readInquiry(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
// The maintenance commands (cleanings, head and cartridge changes, the nozzle check): the printer names each
// in its log and does nothing else that a test could see.
std::optional<std::size_t> maintenanceLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void runMaintenance(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> headChangeStateLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void setHeadChangeState(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);
std::optional<std::size_t> dryingReadLength(const PrinterCore&, const std::uint8_t*, std::size_t);
void readDryingTime(PrinterCore& core, const Frame& frame, std::uint64_t nowMs);

}  // namespace vprinter
