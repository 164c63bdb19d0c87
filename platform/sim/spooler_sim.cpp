#include "platform/sim/spooler_sim.h"

#include <algorithm>

#include "platform/text.h"

namespace platform::sim {

SimSpooler::SimSpooler() : driverDirectory_(L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86") {}

SimSpooler::Printer* SimSpooler::FindPrinter(const std::wstring& name) {
    for (auto& p : printers_) {
        if (SameText(p.name, name)) {
            return &p;
        }
    }
    return nullptr;
}

const SimSpooler::Printer* SimSpooler::FindPrinter(const std::wstring& name) const {
    for (const auto& p : printers_) {
        if (SameText(p.name, name)) {
            return &p;
        }
    }
    return nullptr;
}

SimSpooler::Handle* SimSpooler::FindHandle(PrinterHandle printer) {
    auto it = handles_.find(printer);
    return it == handles_.end() ? nullptr : &it->second;
}

SimSpooler::Printer* SimSpooler::PrinterOf(PrinterHandle printer) {
    const Handle* h = FindHandle(printer);
    if (!h || h->printerId == 0) {
        return nullptr;
    }
    for (auto& p : printers_) {
        if (p.id == h->printerId) {
            return &p;
        }
    }
    return nullptr;
}

const SimSpooler::DataEntry* SimSpooler::FindData(const Printer& p, const std::wstring& valueName) {
    for (const auto& d : p.data) {
        if (SameText(d.name, valueName)) {
            return &d;
        }
    }
    return nullptr;
}

void SimSpooler::StoreData(Printer& p, const std::wstring& valueName, const PrinterDataValue& value) {
    for (auto& d : p.data) {
        if (SameText(d.name, valueName)) {
            d.value = value;
            return;
        }
    }
    p.data.push_back(DataEntry{valueName, value});
}

PrinterHandle SimSpooler::OpenPrinter(const std::wstring& printerName) {
    std::lock_guard lock(mutex_);
    Handle h;
    if (!printerName.empty()) {
        const Printer* p = FindPrinter(printerName);
        if (!p) {
            return 0;
        }
        h.printerId = p->id;
    }
    const PrinterHandle handle = nextHandle_++;
    handles_.emplace(handle, h);
    return handle;
}

void SimSpooler::ClosePrinter(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    Handle* h = FindHandle(printer);
    if (!h) {
        return;
    }
    if (h->docOpen) {
        if (Printer* p = PrinterOf(printer)) {
            std::erase_if(p->jobs, [&](const JobInfo& j) { return j.jobId == h->jobId; });
        }
    }
    handles_.erase(printer);
}

std::optional<PrinterInfo2> SimSpooler::GetPrinter2(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    const Printer* p = PrinterOf(printer);
    if (!p) {
        return std::nullopt;
    }
    PrinterInfo2 info;
    info.printerName = p->name;
    info.portName = p->portName;
    info.driverName = p->driverName;
    info.attributes = p->attributes;
    info.status = p->status;
    info.jobs = static_cast<std::uint32_t>(p->jobs.size());
    return info;
}

std::optional<PrinterInfo5> SimSpooler::GetPrinter5(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    const Printer* p = PrinterOf(printer);
    if (!p) {
        return std::nullopt;
    }
    return PrinterInfo5{p->name, p->portName, p->attributes};
}

std::optional<std::wstring> SimSpooler::GetPrinterDriverName(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    const Printer* p = PrinterOf(printer);
    if (!p) {
        return std::nullopt;
    }
    return p->driverName;
}

std::vector<JobInfo> SimSpooler::EnumJobs(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    const Printer* p = PrinterOf(printer);
    if (!p) {
        return {};
    }
    return p->jobs;
}

bool SimSpooler::StartDocPrinter(PrinterHandle printer, const std::wstring& docName, const std::wstring& dataType) {
    std::lock_guard lock(mutex_);
    Printer* p = PrinterOf(printer);
    Handle* h = FindHandle(printer);
    if (!p || !h || h->docOpen) {
        return false;
    }
    const std::uint32_t jobId = nextJobId_++;
    p->jobs.push_back(JobInfo{jobId, docName, kJobStatusSpooling});
    h->docOpen = true;
    h->pageOpen = false;
    h->jobId = jobId;
    h->rawJob = rawJobs_.size();
    RawJob job;
    job.printer = p->name;
    job.docName = docName;
    job.dataType = dataType;
    rawJobs_.push_back(std::move(job));
    return true;
}

bool SimSpooler::StartPagePrinter(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    Handle* h = FindHandle(printer);
    if (!PrinterOf(printer) || !h->docOpen || h->pageOpen) {
        return false;
    }
    h->pageOpen = true;
    ++rawJobs_[h->rawJob].pages;
    return true;
}

bool SimSpooler::WritePrinter(PrinterHandle printer,
                              const std::uint8_t* data,
                              std::size_t length,
                              std::size_t& written) {
    written = 0;
    std::lock_guard lock(mutex_);
    Handle* h = FindHandle(printer);
    if (!PrinterOf(printer) || !h->docOpen || writeFault_ || (length > 0 && !data)) {
        return false;
    }
    Bytes& bytes = rawJobs_[h->rawJob].bytes;
    bytes.insert(bytes.end(), data, data + length);
    written = length;
    return true;
}

bool SimSpooler::EndPagePrinter(PrinterHandle printer) {
    std::lock_guard lock(mutex_);
    Handle* h = FindHandle(printer);
    if (!PrinterOf(printer) || !h->pageOpen) {
        return false;
    }
    h->pageOpen = false;
    return true;
}

bool SimSpooler::EndDocPrinter(PrinterHandle printer) {
    RawJob finished;
    RawJobSink sink;
    {
        std::lock_guard lock(mutex_);
        Printer* p = PrinterOf(printer);
        Handle* h = FindHandle(printer);
        if (!p || !h->docOpen) {
            return false;
        }
        std::erase_if(p->jobs, [&](const JobInfo& j) { return j.jobId == h->jobId; });
        h->docOpen = false;
        h->pageOpen = false;
        RawJob& job = rawJobs_[h->rawJob];
        job.completed = true;
        finished = job;
        sink = sink_;
    }
    if (sink) {
        sink(finished);
    }
    return true;
}

std::optional<PrinterDataValue> SimSpooler::GetPrinterData(PrinterHandle printer, const std::wstring& valueName) {
    std::lock_guard lock(mutex_);
    Printer* p = PrinterOf(printer);
    if (!p) {
        return std::nullopt;
    }
    const DataEntry* d = FindData(*p, valueName);
    if (!d) {
        return std::nullopt;
    }
    return d->value;
}

bool SimSpooler::SetPrinterData(PrinterHandle printer, const std::wstring& valueName, const PrinterDataValue& value) {
    std::lock_guard lock(mutex_);
    Printer* p = PrinterOf(printer);
    if (!p || valueName.empty()) {
        return false;
    }
    StoreData(*p, valueName, value);
    return true;
}

std::wstring SimSpooler::PrinterDriverDirectory() {
    std::lock_guard lock(mutex_);
    return driverDirectory_;
}

void SimSpooler::AddPrinter(const std::wstring& name,
                            const std::wstring& driverName,
                            const std::wstring& portName,
                            std::uint32_t attributes) {
    std::lock_guard lock(mutex_);
    std::erase_if(printers_, [&](const Printer& p) { return SameText(p.name, name); });
    Printer p;
    p.id = nextPrinterId_++;
    p.name = name;
    p.driverName = driverName;
    p.portName = portName;
    p.attributes = attributes;
    printers_.push_back(std::move(p));
}

bool SimSpooler::SetAttributes(const std::wstring& name, std::uint32_t attributes) {
    std::lock_guard lock(mutex_);
    Printer* p = FindPrinter(name);
    if (!p) {
        return false;
    }
    p->attributes = attributes;
    return true;
}

bool SimSpooler::SetStatus(const std::wstring& name, std::uint32_t status) {
    std::lock_guard lock(mutex_);
    Printer* p = FindPrinter(name);
    if (!p) {
        return false;
    }
    p->status = status;
    return true;
}

bool SimSpooler::RemovePrinter(const std::wstring& name) {
    std::lock_guard lock(mutex_);
    return std::erase_if(printers_, [&](const Printer& p) { return SameText(p.name, name); }) > 0;
}

std::uint32_t SimSpooler::AddQueuedJob(const std::wstring& printer, const std::wstring& document) {
    std::lock_guard lock(mutex_);
    Printer* p = FindPrinter(printer);
    if (!p) {
        return 0;
    }
    const std::uint32_t jobId = nextJobId_++;
    p->jobs.push_back(JobInfo{jobId, document, 0});
    return jobId;
}

void SimSpooler::ClearJobs(const std::wstring& printer) {
    std::lock_guard lock(mutex_);
    if (Printer* p = FindPrinter(printer)) {
        p->jobs.clear();
    }
}

bool SimSpooler::PutPrinterData(const std::wstring& printer,
                                const std::wstring& valueName,
                                const PrinterDataValue& value) {
    std::lock_guard lock(mutex_);
    Printer* p = FindPrinter(printer);
    if (!p || valueName.empty()) {
        return false;
    }
    StoreData(*p, valueName, value);
    return true;
}

std::optional<PrinterDataValue> SimSpooler::PrinterData(const std::wstring& printer,
                                                        const std::wstring& valueName) const {
    std::lock_guard lock(mutex_);
    const Printer* p = FindPrinter(printer);
    if (!p) {
        return std::nullopt;
    }
    const DataEntry* d = FindData(*p, valueName);
    if (!d) {
        return std::nullopt;
    }
    return d->value;
}

void SimSpooler::SetWriteFault(bool fails) {
    std::lock_guard lock(mutex_);
    writeFault_ = fails;
}

void SimSpooler::SetRawJobSink(RawJobSink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

void SimSpooler::SetPrinterDriverDirectory(std::wstring directory) {
    std::lock_guard lock(mutex_);
    driverDirectory_ = std::move(directory);
}

std::vector<RawJob> SimSpooler::RawJobs() const {
    std::lock_guard lock(mutex_);
    return rawJobs_;
}

std::size_t SimSpooler::OpenHandleCount() const {
    std::lock_guard lock(mutex_);
    return handles_.size();
}

bool SimSpooler::HasPrinter(const std::wstring& name) const {
    std::lock_guard lock(mutex_);
    return FindPrinter(name) != nullptr;
}

}  // namespace platform::sim
