#include "platform/sim/usb_printer_sim.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/clock_sim.h"
#include "platform/text.h"

namespace platform::sim {

namespace {

// Device paths are ASCII; the platform opens them without regard to letter case.
bool SamePath(const std::wstring& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerCase(a[i]) != LowerCase(static_cast<wchar_t>(static_cast<unsigned char>(b[i])))) {
            return false;
        }
    }
    return true;
}

}  // namespace

// ---- SimUsbBus -------------------------------------------------------------------------------------------

SimUsbBus::SimUsbBus(SimClock& clock, SimThreadState& threadState) : clock_(clock), threadState_(threadState) {}

void SimUsbBus::Plug(std::shared_ptr<SimUsbDevice> device) {
    if (!device) {
        return;
    }
    std::lock_guard lock(mutex_);
    devices_.push_back(std::move(device));
}

bool SimUsbBus::Unplug(const SimUsbDevice& device) {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(devices_.begin(), devices_.end(), [&](const auto& d) { return d.get() == &device; });
    if (it == devices_.end()) {
        return false;
    }
    devices_.erase(it);
    return true;
}

std::vector<std::shared_ptr<SimUsbDevice>> SimUsbBus::Devices() const {
    std::lock_guard lock(mutex_);
    return devices_;
}

std::size_t SimUsbBus::OpenHandleCount() const {
    std::lock_guard lock(mutex_);
    return handles_.size();
}

std::uint64_t SimUsbBus::NowMs() const {
    return clock_.Elapsed();
}

std::shared_ptr<SimUsbDevice> SimUsbBus::FindByPath(const std::wstring& devicePath) const {
    std::lock_guard lock(mutex_);
    for (const auto& d : devices_) {
        if (SamePath(devicePath, d->DevicePath())) {
            return d;
        }
    }
    return nullptr;
}

FileHandle SimUsbBus::OpenHandle(std::shared_ptr<SimUsbDevice> device, bool overlapped) {
    std::lock_guard lock(mutex_);
    FileHandle h = nextHandle_;
    nextHandle_ += 4;  // never reused, so a stale handle cannot reach a later device
    handles_[h] = Handle{std::move(device), overlapped, {}};
    return h;
}

bool SimUsbBus::CloseHandle(FileHandle handle) {
    std::lock_guard lock(mutex_);
    return handles_.erase(handle) > 0;
}

std::shared_ptr<SimUsbDevice> SimUsbBus::DeviceOf(FileHandle handle) {
    std::shared_ptr<SimUsbDevice> device;
    {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle);
        if (it != handles_.end()) {
            device = it->second.device;
        }
    }
    if (!device) {
        SetLastError(kErrorInvalidHandle);
    }
    return device;
}

bool SimUsbBus::Connected(const SimUsbDevice& device) const {
    {
        std::lock_guard lock(mutex_);
        if (std::none_of(devices_.begin(), devices_.end(), [&](const auto& d) { return d.get() == &device; })) {
            return false;
        }
    }
    return device.CanOpen();
}

bool SimUsbBus::IsOverlapped(FileHandle handle) const {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    return it != handles_.end() && it->second.overlapped;
}

bool SimUsbBus::SetTransfer(FileHandle handle, const Transfer& transfer) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return false;
    }
    it->second.transfer = transfer;
    return true;
}

std::optional<SimUsbBus::Transfer> SimUsbBus::GetTransfer(FileHandle handle) const {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return std::nullopt;
    }
    return it->second.transfer;
}

Bytes SimUsbBus::ReadWithin(SimUsbDevice& device, std::size_t length, std::uint32_t timeoutMs) {
    if (length == 0) {
        return {};
    }
    const std::uint64_t deadline = NowMs() + timeoutMs;
    for (;;) {
        const std::uint64_t now = NowMs();
        Bytes bytes = device.Read(length, now);
        if (!bytes.empty()) {
            if (bytes.size() > length) {
                bytes.resize(length);  // a device that overdelivers must not overrun the caller's buffer
            }
            return bytes;
        }
        const auto next = device.NextReplyAt();
        if (next && *next > now && *next <= deadline) {
            clock_.Sleep(static_cast<std::uint32_t>(*next - now));
            continue;
        }
        if (deadline > now) {
            clock_.Sleep(static_cast<std::uint32_t>(deadline - now));
        }
        return {};
    }
}

std::uint32_t SimUsbBus::LastError() const {
    return threadState_.GetLastError();
}

void SimUsbBus::SetLastError(std::uint32_t error) {
    threadState_.SetLastError(error);
}

// ---- SimUsbPrinterDriver ---------------------------------------------------------------------------------

FileHandle SimUsbPrinterDriver::OpenDevice(const std::wstring& devicePath, bool overlapped) {
    SimUsbCall call{"OpenDevice", {overlapped ? 1 : 0}, devicePath, {}, 0, bus_.NowMs()};
    FileHandle h = kInvalidFileHandle;
    auto device = bus_.FindByPath(devicePath);
    if (device && device->CanOpen()) {
        h = bus_.OpenHandle(std::move(device), overlapped);
    } else {
        bus_.SetLastError(kErrorFileNotFound);
    }
    call.result = h;
    Log(std::move(call));
    return h;
}

bool SimUsbPrinterDriver::CloseHandle(FileHandle handle) {
    const bool ok = bus_.CloseHandle(handle);
    if (!ok) {
        bus_.SetLastError(kErrorInvalidHandle);
    }
    Log({"CloseHandle", {handle}, {}, {}, ok ? 1 : 0, bus_.NowMs()});
    return ok;
}

bool SimUsbPrinterDriver::DeviceIoControl(FileHandle handle,
                                          std::uint32_t code,
                                          std::uint8_t* output,
                                          std::uint32_t outputSize,
                                          std::uint32_t& bytesReturned) {
    SimUsbCall call{"DeviceIoControl", {handle, code, outputSize}, {}, {}, 0, bus_.NowMs()};
    bytesReturned = 0;
    bool ok = false;
    if (auto device = bus_.DeviceOf(handle)) {
        if (code != kIoctlUsbprintGetLptStatus) {
            bus_.SetLastError(kErrorInvalidFunction);
        } else if (!output || outputSize < 1) {
            bus_.SetLastError(kErrorInsufficientBuffer);
        } else if (!bus_.Connected(*device)) {
            bus_.SetLastError(kErrorDeviceNotConnected);
        } else {
            output[0] = device->StatusByte();
            bytesReturned = 1;
            call.data = {output[0]};
            ok = true;
        }
    }
    call.result = ok ? 1 : 0;
    Log(std::move(call));
    return ok;
}

std::shared_ptr<SimUsbDevice> SimUsbPrinterDriver::DeviceForTransfer(FileHandle handle) {
    auto device = bus_.DeviceOf(handle);  // sets the last-error value when the handle is unknown
    if (!device) {
        return nullptr;
    }
    if (!bus_.Connected(*device)) {
        bus_.SetLastError(kErrorDeviceNotConnected);
        return nullptr;
    }
    const auto previous = bus_.GetTransfer(handle);
    if (bus_.IsOverlapped(handle) && previous && previous->pending) {
        bus_.SetLastError(kErrorInvalidAccess);  // one transfer per handle at a time
        return nullptr;
    }
    return device;
}

bool SimUsbPrinterDriver::ReadFile(FileHandle handle,
                                   std::uint8_t* buffer,
                                   std::uint32_t length,
                                   std::uint32_t& count) {
    SimUsbCall call{"ReadFile", {handle, length}, {}, {}, 0, bus_.NowMs()};
    count = 0;
    bool ok = false;
    const bool overlapped = bus_.IsOverlapped(handle);
    if (auto device = DeviceForTransfer(handle)) {
        Bytes bytes = length ? device->Read(length, bus_.NowMs()) : Bytes{};
        bytes.resize(std::min<std::size_t>(bytes.size(), length));
        if (!bytes.empty()) {
            std::memcpy(buffer, bytes.data(), bytes.size());
        }
        count = static_cast<std::uint32_t>(bytes.size());
        call.data = bytes;
        if (!overlapped || count > 0 || length == 0) {
            if (overlapped) {
                bus_.SetTransfer(handle, {SimUsbBus::TransferKind::Read, false, false, nullptr, length, count});
            }
            ok = true;
        } else {
            bus_.SetTransfer(handle, {SimUsbBus::TransferKind::Read, true, false, buffer, length, 0});
            bus_.SetLastError(kErrorIoPending);
        }
    }
    call.result = ok ? 1 : 0;
    call.args.push_back(count);
    Log(std::move(call));
    return ok;
}

bool SimUsbPrinterDriver::WriteFile(FileHandle handle,
                                    const std::uint8_t* data,
                                    std::uint32_t length,
                                    std::uint32_t& count) {
    SimUsbCall call{"WriteFile", {handle, length}, {}, {}, 0, bus_.NowMs()};
    count = 0;
    bool ok = false;
    const bool overlapped = bus_.IsOverlapped(handle);
    if (auto device = DeviceForTransfer(handle)) {
        const std::size_t accepted =
            std::min<std::size_t>(length ? device->Write(data, length, bus_.NowMs()) : 0, length);
        call.data.assign(data, data + accepted);
        if (!overlapped || length == 0) {
            count = static_cast<std::uint32_t>(accepted);
            ok = true;
        } else {
            SimUsbBus::Transfer t{SimUsbBus::TransferKind::Write,      true, accepted < length, nullptr, length,
                                  static_cast<std::uint32_t>(accepted)};
            if (!t.stalled) {
                t.pending = false;  // the bus has taken it all; the first wait sees it complete
            }
            bus_.SetTransfer(handle, t);
            bus_.SetLastError(kErrorIoPending);
        }
    }
    call.result = ok ? 1 : 0;
    call.args.push_back(count);
    Log(std::move(call));
    return ok;
}

WaitResult SimUsbPrinterDriver::WaitForHandle(FileHandle handle, std::uint32_t timeoutMs) {
    SimUsbCall call{"WaitForHandle", {handle, timeoutMs}, {}, {}, 0, bus_.NowMs()};
    WaitResult result = WaitResult::Signalled;
    auto device = bus_.DeviceOf(handle);
    auto transfer = bus_.GetTransfer(handle);
    if (!device || !transfer) {
        result = WaitResult::Failed;
    } else if (!transfer->pending) {
        result = WaitResult::Signalled;
    } else if (transfer->kind == SimUsbBus::TransferKind::Write || !bus_.Connected(*device)) {
        // A stalled write (or a device that has gone) never completes.
        bus_.clock().Sleep(timeoutMs);
        result = WaitResult::TimedOut;
    } else {
        Bytes bytes = bus_.ReadWithin(*device, transfer->length, timeoutMs);
        if (bytes.empty()) {
            result = WaitResult::TimedOut;
        } else {
            std::memcpy(transfer->buffer, bytes.data(), bytes.size());
            transfer->pending = false;
            transfer->moved = static_cast<std::uint32_t>(bytes.size());
            transfer->buffer = nullptr;
            bus_.SetTransfer(handle, *transfer);
            call.data = std::move(bytes);
        }
    }
    call.result = static_cast<std::int64_t>(result);
    Log(std::move(call));
    return result;
}

bool SimUsbPrinterDriver::GetOverlappedResult(FileHandle handle, std::uint32_t& count) {
    SimUsbCall call{"GetOverlappedResult", {handle}, {}, {}, 0, bus_.NowMs()};
    count = 0;
    bool ok = false;
    auto transfer = bus_.GetTransfer(handle);
    if (!transfer) {
        bus_.SetLastError(kErrorInvalidHandle);
    } else {
        count = transfer->moved;
        if (transfer->pending) {
            bus_.SetLastError(kErrorIoIncomplete);
        } else if (transfer->error != kErrorSuccess) {
            bus_.SetLastError(transfer->error);
        } else {
            ok = true;
        }
    }
    call.result = ok ? 1 : 0;
    call.args.push_back(count);
    Log(std::move(call));
    return ok;
}

bool SimUsbPrinterDriver::CancelIo(FileHandle handle) {
    SimUsbCall call{"CancelIo", {handle}, {}, {}, 0, bus_.NowMs()};
    bool ok = false;
    if (bus_.DeviceOf(handle)) {
        auto transfer = bus_.GetTransfer(handle);
        if (transfer && transfer->pending) {
            transfer->pending = false;
            transfer->buffer = nullptr;
            transfer->error = kErrorOperationAborted;
            bus_.SetTransfer(handle, *transfer);
        }
        // Only the transfer ends: what the printer has queued stays for the next read, as on the real driver.
        ok = true;
    }
    call.result = ok ? 1 : 0;
    Log(std::move(call));
    return ok;
}

std::uint32_t SimUsbPrinterDriver::GetLastError() {
    return bus_.LastError();
}

void SimUsbPrinterDriver::SetLastError(std::uint32_t error) {
    bus_.SetLastError(error);
}

std::vector<SimUsbCall> SimUsbPrinterDriver::Calls() const {
    std::lock_guard lock(logMutex_);
    return calls_;
}

void SimUsbPrinterDriver::ClearCalls() {
    std::lock_guard lock(logMutex_);
    calls_.clear();
}

void SimUsbPrinterDriver::Log(SimUsbCall call) {
    std::lock_guard lock(logMutex_);
    calls_.push_back(std::move(call));
}

}  // namespace platform::sim
