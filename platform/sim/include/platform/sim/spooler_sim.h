#pragma once
// The simulated print spooler: printers with driver, port, attributes, status, a job queue and printer data.
// Names of printers and printer data values match without regard to ASCII letter case, as the spooler's do.
//
// Handles: every OpenPrinter of a known printer gives a fresh non-zero handle (never reused); an unknown name
// gives 0. An empty name opens the local print server, as a null name does: a valid handle that has no
// printer, so printer queries on it fail and it lists no jobs. Calls on a handle that is not open fail
// (empty results, false); so do calls on a handle whose printer has since been removed.
//
// Raw jobs: StartDocPrinter queues a spooling job and captures a RawJob at once (completed false); the bytes
// of every WritePrinter are appended; EndDocPrinter marks it completed, takes it off the queue and hands it
// to the raw-job sink (a virtual printer on that port). A document still open at ClosePrinter leaves the
// queue and stays in RawJobs() as incomplete.
// WritePrinter works with or without StartPagePrinter, as on the real spooler. The offline attribute is only
// reported: jobs for an offline printer are accepted and delivered like any other.
//
// Thread-safe; the sink runs on the calling thread without any lock held.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/spooler.h"

namespace platform::sim {

inline constexpr std::uint32_t kJobStatusSpooling = 0x8;

struct RawJob {
    std::wstring printer;  // the printer's own spelling
    std::wstring docName;
    std::wstring dataType;
    Bytes bytes;
    bool completed = false;  // EndDocPrinter reached
    int pages = 0;           // StartPagePrinter calls
};

class SimSpooler : public Spooler {
public:
    using RawJobSink = std::function<void(const RawJob&)>;

    SimSpooler();

    // Spooler
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

    // Set-up. AddPrinter replaces a printer of the same name (its jobs and data are dropped).
    void AddPrinter(const std::wstring& name,
                    const std::wstring& driverName,
                    const std::wstring& portName,
                    std::uint32_t attributes = 0);
    // False for an unknown printer.
    bool SetAttributes(const std::wstring& name, std::uint32_t attributes);
    bool SetStatus(const std::wstring& name, std::uint32_t status);
    bool RemovePrinter(const std::wstring& name);
    // A job waiting in the printer's queue (as another program's print job would); its id, 0 for an unknown
    // printer.
    std::uint32_t AddQueuedJob(const std::wstring& printer, const std::wstring& document);
    void ClearJobs(const std::wstring& printer);
    // Printer data without a handle, for preparing and checking a test.
    bool PutPrinterData(const std::wstring& printer, const std::wstring& valueName, const PrinterDataValue& value);
    std::optional<PrinterDataValue> PrinterData(const std::wstring& printer, const std::wstring& valueName) const;
    // While set, every WritePrinter fails and writes nothing.
    void SetWriteFault(bool fails);
    void SetRawJobSink(RawJobSink sink);  // an empty function removes it
    void SetPrinterDriverDirectory(std::wstring directory);

    // Inspection.
    std::vector<RawJob> RawJobs() const;
    std::size_t OpenHandleCount() const;
    bool HasPrinter(const std::wstring& name) const;

private:
    struct DataEntry {
        std::wstring name;
        PrinterDataValue value;
    };
    struct Printer {
        std::uint64_t id = 0;  // a removed and re-added printer is a new printer for old handles
        std::wstring name;
        std::wstring driverName;
        std::wstring portName;
        std::uint32_t attributes = 0;
        std::uint32_t status = 0;
        std::vector<JobInfo> jobs;
        std::vector<DataEntry> data;
    };
    struct Handle {
        std::uint64_t printerId = 0;  // 0 for the print server
        bool docOpen = false;
        bool pageOpen = false;
        std::size_t rawJob = 0;   // index into rawJobs_ while a document is open
        std::uint32_t jobId = 0;  // the spooling job's id while a document is open
    };

    // All with mutex_ held.
    Printer* FindPrinter(const std::wstring& name);
    const Printer* FindPrinter(const std::wstring& name) const;
    Handle* FindHandle(PrinterHandle printer);
    Printer* PrinterOf(PrinterHandle printer);
    static const DataEntry* FindData(const Printer& p, const std::wstring& valueName);
    static void StoreData(Printer& p, const std::wstring& valueName, const PrinterDataValue& value);

    mutable std::mutex mutex_;
    std::vector<Printer> printers_;
    std::map<PrinterHandle, Handle> handles_;
    PrinterHandle nextHandle_ = 0x100;
    std::uint64_t nextPrinterId_ = 1;
    std::uint32_t nextJobId_ = 1;
    std::vector<RawJob> rawJobs_;
    bool writeFault_ = false;
    RawJobSink sink_;
    std::wstring driverDirectory_;
};

}  // namespace platform::sim
