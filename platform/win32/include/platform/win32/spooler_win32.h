#pragma once
// The print spooler through winspool. PrinterHandle values are the spooler's own handles.

#include "platform/spooler.h"

namespace platform::win32 {

class Win32Spooler : public Spooler {
public:
    PrinterHandle OpenPrinter(const std::wstring& printerName) override;
    void ClosePrinter(PrinterHandle printer) override;
    std::optional<PrinterInfo2> GetPrinter2(PrinterHandle printer) override;
    std::optional<PrinterInfo5> GetPrinter5(PrinterHandle printer) override;
    std::optional<std::wstring> GetPrinterDriverName(PrinterHandle printer) override;
    std::vector<JobInfo> EnumJobs(PrinterHandle printer) override;
    bool StartDocPrinter(PrinterHandle printer, const std::wstring& docName, const std::wstring& dataType) override;
    bool StartPagePrinter(PrinterHandle printer) override;
    bool WritePrinter(PrinterHandle printer,
                      const std::uint8_t* data,
                      std::size_t length,
                      std::size_t& written) override;
    bool EndPagePrinter(PrinterHandle printer) override;
    bool EndDocPrinter(PrinterHandle printer) override;
    std::optional<PrinterDataValue> GetPrinterData(PrinterHandle printer, const std::wstring& valueName) override;
    bool SetPrinterData(PrinterHandle printer, const std::wstring& valueName, const PrinterDataValue& value) override;
    std::wstring PrinterDriverDirectory() override;
};

}  // namespace platform::win32
