#pragma once
// Virtual printers on the sim's USB bus: a SimUsbDevice over vprinter::VirtualPrinter, and a small rig that
// plugs printers in and, when asked, adds a spooler queue on a printer's port whose raw jobs reach the same
// printer. The sim clock's virtual time is what the printer sees with every call.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/sim/usb_printer_sim.h"
#include "vprinter/virtual_printer.h"

class VirtualUsbDevice : public platform::sim::SimUsbDevice {
public:
    explicit VirtualUsbDevice(std::shared_ptr<vprinter::VirtualPrinter> printer) : printer_(std::move(printer)) {}

    std::string DevicePath() const override { return printer_->identity().devicePath; }
    std::string PortName() const override { return printer_->identity().portName; }
    std::string DeviceId() const override { return printer_->identity().deviceId; }
    bool CanOpen() const override { return printer_->canOpen(); }
    std::size_t Write(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) override {
        return printer_->hostWrite(data, n, nowMs);
    }
    platform::Bytes Read(std::size_t max, std::uint64_t nowMs) override { return printer_->hostRead(max, nowMs); }
    std::optional<std::uint64_t> NextReplyAt() const override { return printer_->nextReplyAt(); }
    std::uint8_t StatusByte() const override { return printer_->statusByte(); }

    vprinter::VirtualPrinter& printer() { return *printer_; }

private:
    std::shared_ptr<vprinter::VirtualPrinter> printer_;
};

class VirtualUsbPrinters {
public:
    // Takes over the sim spooler's raw-job sink for as long as it lives.
    explicit VirtualUsbPrinters(platform::sim::SimPlatform& sim);
    ~VirtualUsbPrinters();
    VirtualUsbPrinters(const VirtualUsbPrinters&) = delete;
    VirtualUsbPrinters& operator=(const VirtualUsbPrinters&) = delete;

    // Plugs a printer in after those plugged before.
    vprinter::VirtualPrinter& Plug(vprinter::Identity id);
    // Plugs a printer in and adds the spooler queue printerName on its port.
    vprinter::VirtualPrinter& PlugWithQueue(vprinter::Identity id,
                                            const std::wstring& printerName,
                                            const std::wstring& driverName,
                                            std::uint32_t attributes = 0);
    // A spooler queue on the port of a printer plugged in before; its raw jobs reach that printer.
    void AddQueue(vprinter::VirtualPrinter& printer,
                  const std::wstring& printerName,
                  const std::wstring& driverName,
                  std::uint32_t attributes = 0);
    // The bus device of a plugged printer (to unplug it, say).
    platform::sim::SimUsbDevice& DeviceOf(const vprinter::VirtualPrinter& printer);

private:
    struct Queue {
        std::wstring printerName;
        vprinter::VirtualPrinter* printer;
    };
    void Deliver(const platform::sim::RawJob& job);

    platform::sim::SimPlatform& sim_;
    std::vector<std::shared_ptr<VirtualUsbDevice>> devices_;
    mutable std::mutex mutex_;
    std::vector<Queue> queues_;
};
