#include "platform/win32/spooler_win32.h"

#include <climits>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

HANDLE H(PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

std::wstring Text(const wchar_t* s) {
    return s ? std::wstring(s) : std::wstring();
}

// A spooler query that takes (buffer, size, &needed): asked once for the size, then for the data. A
// DWORD-aligned buffer, since the structures come back at its start.
template <typename Query>
std::optional<std::vector<DWORD>> Query2(Query query) {
    DWORD needed = 0;
    query(nullptr, 0, &needed);
    if (needed == 0) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<DWORD> buffer((needed + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
        const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
        if (query(reinterpret_cast<BYTE*>(buffer.data()), size, &needed)) {
            return buffer;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// GetPrinterW at one level, into a buffer that holds the level's structure at its start.
std::optional<std::vector<DWORD>> PrinterLevel(PrinterHandle printer, DWORD level) {
    if (!printer) {
        return std::nullopt;
    }
    return Query2(
        [&](BYTE* b, DWORD size, DWORD* needed) { return ::GetPrinterW(H(printer), level, b, size, needed); });
}

}  // namespace

PrinterHandle Win32Spooler::OpenPrinter(const std::wstring& printerName) {
    HANDLE h = nullptr;
    // An empty name opens the local print server.
    std::wstring name = printerName;
    if (!::OpenPrinterW(name.empty() ? nullptr : name.data(), &h, nullptr)) {
        return 0;
    }
    return reinterpret_cast<PrinterHandle>(h);
}

void Win32Spooler::ClosePrinter(PrinterHandle printer) {
    if (printer) {
        ::ClosePrinter(H(printer));
    }
}

std::optional<PrinterInfo2> Win32Spooler::GetPrinter2(PrinterHandle printer) {
    auto buffer = PrinterLevel(printer, 2);
    if (!buffer) {
        return std::nullopt;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer->data());
    PrinterInfo2 out;
    out.printerName = Text(info->pPrinterName);
    out.portName = Text(info->pPortName);
    out.driverName = Text(info->pDriverName);
    out.attributes = info->Attributes;
    out.status = info->Status;
    out.jobs = info->cJobs;
    return out;
}

std::optional<PrinterInfo5> Win32Spooler::GetPrinter5(PrinterHandle printer) {
    auto buffer = PrinterLevel(printer, 5);
    if (!buffer) {
        return std::nullopt;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_5W*>(buffer->data());
    return PrinterInfo5{Text(info->pPrinterName), Text(info->pPortName), info->Attributes};
}

std::optional<std::wstring> Win32Spooler::GetPrinterDriverName(PrinterHandle printer) {
    if (!printer) {
        return std::nullopt;
    }
    auto buffer = Query2([&](BYTE* b, DWORD size, DWORD* needed) {
        return ::GetPrinterDriverW(H(printer), nullptr, 1, b, size, needed);
    });
    if (!buffer) {
        return std::nullopt;
    }
    return Text(reinterpret_cast<const DRIVER_INFO_1W*>(buffer->data())->pName);
}

std::vector<JobInfo> Win32Spooler::EnumJobs(PrinterHandle printer) {
    std::vector<JobInfo> jobs;
    if (!printer) {
        return jobs;
    }
    DWORD count = 0;
    auto buffer = Query2([&](BYTE* b, DWORD size, DWORD* needed) {
        return ::EnumJobsW(H(printer), 0, 0xFFFFFFFF, 1, b, size, needed, &count);
    });
    if (!buffer) {
        return jobs;
    }
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer->data());
    for (DWORD i = 0; i < count; ++i) {
        jobs.push_back(JobInfo{info[i].JobId, Text(info[i].pDocument), info[i].Status});
    }
    return jobs;
}

bool Win32Spooler::StartDocPrinter(PrinterHandle printer, const std::wstring& docName, const std::wstring& dataType) {
    std::wstring doc = docName;
    std::wstring type = dataType;
    DOC_INFO_1W info{};
    info.pDocName = doc.data();
    info.pOutputFile = nullptr;
    info.pDatatype = type.empty() ? nullptr : type.data();
    return printer && ::StartDocPrinterW(H(printer), 1, reinterpret_cast<BYTE*>(&info)) != 0;
}

bool Win32Spooler::StartPagePrinter(PrinterHandle printer) {
    return printer && ::StartPagePrinter(H(printer));
}

bool Win32Spooler::WritePrinter(PrinterHandle printer,
                                const std::uint8_t* data,
                                std::size_t length,
                                std::size_t& written) {
    written = 0;
    if (!printer || (length > 0 && !data) || length > INT_MAX) {
        return false;
    }
    DWORD n = 0;
    const BOOL ok = ::WritePrinter(H(printer), const_cast<std::uint8_t*>(data), static_cast<DWORD>(length), &n);
    written = n;
    return ok;
}

bool Win32Spooler::EndPagePrinter(PrinterHandle printer) {
    return printer && ::EndPagePrinter(H(printer));
}

bool Win32Spooler::EndDocPrinter(PrinterHandle printer) {
    return printer && ::EndDocPrinter(H(printer));
}

std::optional<PrinterDataValue> Win32Spooler::GetPrinterData(PrinterHandle printer, const std::wstring& valueName) {
    if (!printer) {
        return std::nullopt;
    }
    std::wstring name = valueName;
    DWORD type = 0;
    DWORD needed = 0;
    DWORD status = ::GetPrinterDataW(H(printer), name.data(), &type, nullptr, 0, &needed);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
        return std::nullopt;
    }
    PrinterDataValue value;
    value.type = type;
    value.data.resize(needed);
    if (needed > 0) {
        status = ::GetPrinterDataW(H(printer), name.data(), &type, value.data.data(), needed, &needed);
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.data.resize(needed);
        value.type = type;
    }
    return value;
}

bool Win32Spooler::SetPrinterData(PrinterHandle printer, const std::wstring& valueName, const PrinterDataValue& value) {
    if (!printer || value.data.size() > INT_MAX) {
        return false;
    }
    std::wstring name = valueName;
    Bytes data = value.data;
    return ::SetPrinterDataW(H(printer), name.data(), value.type, data.data(), static_cast<DWORD>(data.size())) ==
           ERROR_SUCCESS;
}

std::wstring Win32Spooler::PrinterDriverDirectory() {
    auto buffer = Query2([&](BYTE* b, DWORD size, DWORD* needed) {
        return ::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, b, size, needed);
    });
    if (!buffer) {
        return {};
    }
    return Text(reinterpret_cast<const wchar_t*>(buffer->data()));
}

}  // namespace platform::win32
