#pragma once
// The sim's USB bus and its class driver. Devices sit on the bus in plug order behind SimUsbDevice (the test
// support plugs virtual printers in); handles, pending transfers and every thread's last-error value live in
// the bus, so that the port library (port_library_sim.h) and the class driver share them as on the platform.
//
// Time is the sim clock's: a device is asked with the virtual time of each call, and a wait sleeps on the
// clock until the device says its next reply bytes become readable or the time-out passes, whichever comes
// first. Nothing here sleeps for real.
//
// Transfers on an overlapped handle: a read completes at once when reply bytes are readable, otherwise it is
// pending until WaitForHandle sees bytes arrive. A write always goes pending, as a bulk transfer does; it has
// completed by the first wait when the device accepted every byte, and it stalls (the wait times out) when
// the device accepted fewer. CancelIo ends a pending transfer only: reply bytes the device has queued stay
// there for the next read, as with the platform's class driver.
// Transfers on a plain handle complete before returning: a read takes what is readable now (maybe nothing).
//
// Thread-safe. No lock is held while a device is asked or while a caller sleeps.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/thread_state_sim.h"
#include "platform/types.h"
#include "platform/usb_printer.h"

namespace platform::sim {

class SimClock;

// One device on the bus, as the far side of the wire sees the host. Calls may come from any thread.
class SimUsbDevice {
public:
    virtual ~SimUsbDevice() = default;
    virtual std::string DevicePath() const = 0;  // "\\?\usb#vid_...#SERIAL#{...}"
    virtual std::string PortName() const = 0;    // the spooler port, "USB001"
    virtual std::string DeviceId() const = 0;    // IEEE 1284 id
    virtual bool CanOpen() const = 0;
    // Host to device: the count accepted.
    virtual std::size_t Write(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) = 0;
    // Device to host: up to max reply bytes readable at nowMs.
    virtual Bytes Read(std::size_t max, std::uint64_t nowMs) = 0;
    // When (more) reply bytes become readable, possibly already past; nothing when none are pending.
    virtual std::optional<std::uint64_t> NextReplyAt() const = 0;
    virtual std::uint8_t StatusByte() const = 0;
};

// One call as a sim front end (port library or class driver) saw it, for tests.
struct SimUsbCall {
    std::string operation;           // the call's name, "ReadPort", "WriteFile"
    std::vector<std::int64_t> args;  // its numeric arguments in order (handles, indexes, lengths, time-outs)
    std::wstring text;               // a path argument, when the call has one
    Bytes data;                      // bytes written, or bytes read
    std::int64_t result = 0;         // the call's result (count, handle, 1/0 for true/false)
    std::uint64_t atMs = 0;          // virtual time when the call began
};

class SimUsbBus {
public:
    SimUsbBus(SimClock& clock, SimThreadState& threadState);
    SimUsbBus(const SimUsbBus&) = delete;
    SimUsbBus& operator=(const SimUsbBus&) = delete;

    // Set-up: devices in plug order. Unplugging leaves open handles dangling: their transfers fail.
    void Plug(std::shared_ptr<SimUsbDevice> device);
    bool Unplug(const SimUsbDevice& device);
    std::vector<std::shared_ptr<SimUsbDevice>> Devices() const;
    // Handles opened and not yet closed, through either front end.
    std::size_t OpenHandleCount() const;

    // Used by the two front ends.
    SimClock& clock() { return clock_; }
    std::uint64_t NowMs() const;
    std::shared_ptr<SimUsbDevice> FindByPath(const std::wstring& devicePath) const;
    FileHandle OpenHandle(std::shared_ptr<SimUsbDevice> device, bool overlapped);
    bool CloseHandle(FileHandle handle);
    // The device behind an open handle; null (and last-error kErrorInvalidHandle) when not open.
    std::shared_ptr<SimUsbDevice> DeviceOf(FileHandle handle);
    bool IsOverlapped(FileHandle handle) const;
    // Still plugged in and willing to talk.
    bool Connected(const SimUsbDevice& device) const;

    // The handle's one transfer (overlapped handles).
    enum class TransferKind { None, Read, Write };
    struct Transfer {
        TransferKind kind = TransferKind::None;
        bool pending = false;  // still running
        bool stalled = false;  // a write the device did not take whole: it never completes
        std::uint8_t* buffer = nullptr;
        std::uint32_t length = 0;
        std::uint32_t moved = 0;              // bytes moved so far
        std::uint32_t error = kErrorSuccess;  // outcome once it has ended
    };
    bool SetTransfer(FileHandle handle, const Transfer& transfer);
    std::optional<Transfer> GetTransfer(FileHandle handle) const;

    // Waits (on the clock) up to timeoutMs for reply bytes; the bytes read, empty on time-out. length 0 reads
    // nothing at once.
    Bytes ReadWithin(SimUsbDevice& device, std::size_t length, std::uint32_t timeoutMs);

    // The calling thread's last-error value: the thread state's, which every platform call shares.
    std::uint32_t LastError() const;
    void SetLastError(std::uint32_t error);

private:
    struct Handle {
        std::shared_ptr<SimUsbDevice> device;
        bool overlapped = false;
        Transfer transfer;
    };

    SimClock& clock_;
    SimThreadState& threadState_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimUsbDevice>> devices_;
    std::map<FileHandle, Handle> handles_;
    FileHandle nextHandle_ = 0x10;
};

class SimUsbPrinterDriver : public UsbPrinterDriver {
public:
    explicit SimUsbPrinterDriver(SimUsbBus& bus) : bus_(bus) {}

    FileHandle OpenDevice(const std::wstring& devicePath, bool overlapped) override;
    bool CloseHandle(FileHandle handle) override;
    bool DeviceIoControl(FileHandle handle,
                         std::uint32_t code,
                         std::uint8_t* output,
                         std::uint32_t outputSize,
                         std::uint32_t& bytesReturned) override;
    bool ReadFile(FileHandle handle, std::uint8_t* buffer, std::uint32_t length, std::uint32_t& count) override;
    bool WriteFile(FileHandle handle, const std::uint8_t* data, std::uint32_t length, std::uint32_t& count) override;
    WaitResult WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) override;
    bool GetOverlappedResult(FileHandle handle, std::uint32_t& count) override;
    bool CancelIo(FileHandle handle) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;

    // Every call except the last-error ones, in order.
    std::vector<SimUsbCall> Calls() const;
    void ClearCalls();

private:
    void Log(SimUsbCall call);
    // The device behind handle when a new transfer may start on it; otherwise null, with the last-error value
    // set (unknown handle, device gone, a transfer still pending on an overlapped handle).
    std::shared_ptr<SimUsbDevice> DeviceForTransfer(FileHandle handle);

    SimUsbBus& bus_;
    mutable std::mutex logMutex_;
    std::vector<SimUsbCall> calls_;
};

}  // namespace platform::sim
