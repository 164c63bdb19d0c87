#include "virtual_usb.h"

#include <stdexcept>

#include "platform/text.h"

VirtualUsbPrinters::VirtualUsbPrinters(platform::sim::SimPlatform& sim) : sim_(sim) {
    sim_.spooler().SetRawJobSink([this](const platform::sim::RawJob& job) { Deliver(job); });
}

VirtualUsbPrinters::~VirtualUsbPrinters() {
    sim_.spooler().SetRawJobSink({});
}

vprinter::VirtualPrinter& VirtualUsbPrinters::Plug(vprinter::Identity id) {
    auto device = std::make_shared<VirtualUsbDevice>(std::make_shared<vprinter::VirtualPrinter>(std::move(id)));
    devices_.push_back(device);
    sim_.usbBus().Plug(device);
    return device->printer();
}

vprinter::VirtualPrinter& VirtualUsbPrinters::PlugWithQueue(vprinter::Identity id,
                                                            const std::wstring& printerName,
                                                            const std::wstring& driverName,
                                                            std::uint32_t attributes) {
    vprinter::VirtualPrinter& printer = Plug(std::move(id));
    AddQueue(printer, printerName, driverName, attributes);
    return printer;
}

void VirtualUsbPrinters::AddQueue(vprinter::VirtualPrinter& printer,
                                  const std::wstring& printerName,
                                  const std::wstring& driverName,
                                  std::uint32_t attributes) {
    sim_.spooler().AddPrinter(printerName, driverName, platform::Utf8ToWide(printer.identity().portName), attributes);
    std::lock_guard lock(mutex_);
    queues_.push_back({printerName, &printer});
}

platform::sim::SimUsbDevice& VirtualUsbPrinters::DeviceOf(const vprinter::VirtualPrinter& printer) {
    for (auto& device : devices_) {
        if (&device->printer() == &printer) {
            return *device;
        }
    }
    throw std::logic_error("printer not plugged by this rig");
}

void VirtualUsbPrinters::Deliver(const platform::sim::RawJob& job) {
    vprinter::VirtualPrinter* target = nullptr;
    {
        std::lock_guard lock(mutex_);
        for (const Queue& q : queues_) {
            if (platform::SameText(q.printerName, job.printer)) {
                target = q.printer;
            }
        }
    }
    if (target) {
        target->hostPrintJob(job.docName, job.bytes, sim_.clock().Elapsed());
    }
}
