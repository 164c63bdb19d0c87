#pragma once
// The print spooler. Every call blocks briefly, runs on the calling thread and reports failure through its
// result; a handle comes from OpenPrinter and is released by ClosePrinter.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

inline constexpr std::uint32_t kPrinterAttributeWorkOffline = 0x400;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

using PrinterHandle = std::uintptr_t;  // 0 is no printer

struct PrinterInfo2 {
    std::wstring printerName;
    std::wstring portName;
    std::wstring driverName;
    std::uint32_t attributes = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;  // jobs queued
};

// Level 5: the printer's name, its port and attributes, without the driver's data.
struct PrinterInfo5 {
    std::wstring printerName;
    std::wstring portName;
    std::uint32_t attributes = 0;
};

struct JobInfo {
    std::uint32_t jobId = 0;
    std::wstring document;
    std::uint32_t status = 0;
};

struct PrinterDataValue {
    std::uint32_t type = 0;
    Bytes data;
};

class Spooler {
public:
    virtual ~Spooler() = default;

    virtual PrinterHandle OpenPrinter(const std::wstring& printerName) = 0;
    virtual void ClosePrinter(PrinterHandle printer) = 0;
    virtual std::optional<PrinterInfo2> GetPrinter2(PrinterHandle printer) = 0;
    virtual std::optional<PrinterInfo5> GetPrinter5(PrinterHandle printer) = 0;
    // Level 1 of the printer's driver: its name.
    virtual std::optional<std::wstring> GetPrinterDriverName(PrinterHandle printer) = 0;
    virtual std::vector<JobInfo> EnumJobs(PrinterHandle printer) = 0;

    // A raw job: StartDocPrinter (level 1), StartPagePrinter, WritePrinter..., EndPagePrinter, EndDocPrinter.
    virtual bool StartDocPrinter(PrinterHandle printer, const std::wstring& docName, const std::wstring& dataType) = 0;
    virtual bool StartPagePrinter(PrinterHandle printer) = 0;
    virtual bool WritePrinter(PrinterHandle printer, const std::uint8_t* data, std::size_t length,
                              std::size_t& written) = 0;
    virtual bool EndPagePrinter(PrinterHandle printer) = 0;
    virtual bool EndDocPrinter(PrinterHandle printer) = 0;

    virtual std::optional<PrinterDataValue> GetPrinterData(PrinterHandle printer, const std::wstring& valueName) = 0;
    virtual bool SetPrinterData(PrinterHandle printer, const std::wstring& valueName,
                                const PrinterDataValue& value) = 0;

    // The printer-driver folder of the local machine and the current environment.
    virtual std::wstring PrinterDriverDirectory() = 0;
};

}  // namespace platform
