#pragma once
// The sim's port library over the sim USB bus (usb_printer_sim.h).
//
// Listing: USBPrintRefresh takes a fresh snapshot of the plugged devices in plug order and counts them; the
// index calls and OpenPrinterUSBPort (port = index + 1) address that snapshot, which the first call of the
// run takes when nothing refreshed before. Every device on the bus is listed, whatever its device id holds and
// whether or not it can be opened (take it off the bus to have it vanish from the list).
// Handles are the bus's file handles: the class driver's CancelIo and CloseHandle work on them.
// ReadPort waits on the sim clock until reply bytes are readable or its time-out passes (then 0 and
// last-error 1460). WritePort hands the bytes to the device at once; when the device takes fewer, the call
// waits out its time-out and returns the count taken (last-error 1460); a bad handle or a device that has
// gone gives -2.
//
// Loading: the module and each operation bind at their first call. A switch makes the module or one
// operation missing: a call that would bind it throws platform::ExternalException (kDelayLoadModuleNotFound
// or kDelayLoadProcNotFound) and leaves it unbound, so the next call tries again. What has bound stays bound,
// as a loaded module would; set the switches before the calls they are meant for.
//
// Thread-safe; every call (failed bindings excepted) is logged.

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/port_library.h"
#include "platform/sim/usb_printer_sim.h"

namespace platform::sim {

class SimPortLibrary : public PortLibrary {
public:
    explicit SimPortLibrary(SimUsbBus& bus) : bus_(bus) {}

    std::int32_t USBPrintRefresh() override;
    std::int32_t GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& length) override;
    std::int32_t GetUSBHWID(std::int32_t index,
                            char* portBuffer,
                            std::uint32_t portLength,
                            char* idBuffer,
                            std::uint32_t idLength) override;
    FileHandle OpenPrinterUSBPort(std::int32_t port) override;
    std::int32_t WritePort(FileHandle handle,
                           const std::uint8_t* data,
                           std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(FileHandle handle,
                          std::uint8_t* buffer,
                          std::int32_t length,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(FileHandle handle) override;

    // Faults.
    void SetModuleMissing(bool missing);
    void SetOperationMissing(const std::string& operation, bool missing);
    bool ModuleLoaded() const;

    std::vector<SimUsbCall> Calls() const;
    // Only the calls of one operation.
    std::vector<SimUsbCall> Calls(const std::string& operation) const;
    void ClearCalls();

private:
    void Bind(const std::string& operation);
    std::shared_ptr<SimUsbDevice> ListedDevice(std::int32_t index);
    void Log(SimUsbCall call);

    SimUsbBus& bus_;
    mutable std::mutex mutex_;
    bool moduleMissing_ = false;
    bool moduleLoaded_ = false;
    std::set<std::string> missingOperations_;
    std::set<std::string> bound_;
    bool listed_ = false;
    std::vector<std::shared_ptr<SimUsbDevice>> listing_;
    std::vector<SimUsbCall> calls_;
};

}  // namespace platform::sim
