#include "platform/sim/port_library_sim.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/clock_sim.h"
#include "platform/text.h"

namespace platform::sim {

namespace {

constexpr const char* kModuleName = "QVP_RW.dll";

// Zero-terminated text into a caller's buffer of size bytes, cut to fit.
void CopyText(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) {
        return;
    }
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

void SimPortLibrary::Bind(const std::string& operation) {
    std::lock_guard lock(mutex_);
    if (bound_.count(operation)) {
        return;
    }
    if (!moduleLoaded_) {
        if (moduleMissing_) {
            throw ExternalException(kDelayLoadModuleNotFound, Utf8ToWide(std::string(kModuleName) + " not found"));
        }
        moduleLoaded_ = true;
    }
    if (missingOperations_.count(operation)) {
        throw ExternalException(kDelayLoadProcNotFound,
                                Utf8ToWide(operation + " not found in " + std::string(kModuleName)));
    }
    bound_.insert(operation);
}

std::shared_ptr<SimUsbDevice> SimPortLibrary::ListedDevice(std::int32_t index) {
    std::lock_guard lock(mutex_);
    if (!listed_) {
        listing_ = bus_.Devices();
        listed_ = true;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= listing_.size()) {
        return nullptr;
    }
    return listing_[static_cast<std::size_t>(index)];
}

std::int32_t SimPortLibrary::USBPrintRefresh() {
    Bind("USBPrintRefresh");
    std::int32_t count = 0;
    {
        std::lock_guard lock(mutex_);
        listing_ = bus_.Devices();
        listed_ = true;
        count = static_cast<std::int32_t>(listing_.size());
    }
    Log({"USBPrintRefresh", {}, {}, {}, count, bus_.NowMs()});
    return count;
}

std::int32_t SimPortLibrary::GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& length) {
    Bind("GetUSBPrintFileName");
    SimUsbCall call{"GetUSBPrintFileName", {index, length}, {}, {}, 0, bus_.NowMs()};
    if (auto device = ListedDevice(index)) {
        CopyText(device->DevicePath(), buffer, length);
        call.result = 1;
    }
    Log(std::move(call));
    return static_cast<std::int32_t>(call.result);
}

std::int32_t SimPortLibrary::GetUSBHWID(std::int32_t index,
                                        char* portBuffer,
                                        std::uint32_t portLength,
                                        char* idBuffer,
                                        std::uint32_t idLength) {
    Bind("GetUSBHWID");
    SimUsbCall call{"GetUSBHWID", {index, portLength, idLength}, {}, {}, 0, bus_.NowMs()};
    if (auto device = ListedDevice(index)) {
        CopyText(device->PortName(), portBuffer, portLength);
        CopyText(device->DeviceId(), idBuffer, idLength);
        call.result = 1;
    }
    Log(std::move(call));
    return static_cast<std::int32_t>(call.result);
}

FileHandle SimPortLibrary::OpenPrinterUSBPort(std::int32_t port) {
    Bind("OpenPrinterUSBPort");
    SimUsbCall call{"OpenPrinterUSBPort", {port}, {}, {}, kInvalidFileHandle, bus_.NowMs()};
    auto device = ListedDevice(port - 1);
    if (device && bus_.Connected(*device)) {
        call.result = bus_.OpenHandle(std::move(device), false);
    } else {
        bus_.SetLastError(kErrorFileNotFound);
    }
    Log(call);
    return static_cast<FileHandle>(call.result);
}

std::int32_t SimPortLibrary::WritePort(FileHandle handle,
                                       const std::uint8_t* data,
                                       std::int32_t length,
                                       std::int32_t timeoutMs) {
    Bind("WritePort");
    SimUsbCall call{"WritePort", {handle, length, timeoutMs}, {}, {}, -2, bus_.NowMs()};
    auto device = bus_.DeviceOf(handle);
    if (!device) {
        // DeviceOf has set the last-error value.
    } else if (!bus_.Connected(*device) || length < 0 || (length > 0 && !data)) {
        bus_.SetLastError(kErrorDeviceNotConnected);
    } else {
        const auto n = static_cast<std::size_t>(length);
        const std::size_t accepted = std::min(n ? device->Write(data, n, bus_.NowMs()) : 0, n);
        call.data.assign(data, data + accepted);
        if (accepted < n) {
            bus_.clock().Sleep(static_cast<std::uint32_t>(std::max(timeoutMs, 0)));
            bus_.SetLastError(kErrorTimeout);
        }
        call.result = static_cast<std::int64_t>(accepted);
    }
    Log(call);
    return static_cast<std::int32_t>(call.result);
}

std::int32_t SimPortLibrary::ReadPort(FileHandle handle,
                                      std::uint8_t* buffer,
                                      std::int32_t length,
                                      std::int32_t timeoutMs) {
    Bind("ReadPort");
    SimUsbCall call{"ReadPort", {handle, length, timeoutMs}, {}, {}, 0, bus_.NowMs()};
    auto device = bus_.DeviceOf(handle);
    if (!device) {
        // DeviceOf has set the last-error value.
    } else if (!bus_.Connected(*device) || (length > 0 && !buffer)) {
        bus_.SetLastError(kErrorDeviceNotConnected);
    } else if (length > 0) {
        Bytes bytes = bus_.ReadWithin(*device, static_cast<std::size_t>(length),
                                      static_cast<std::uint32_t>(std::max(timeoutMs, 0)));
        if (bytes.empty()) {
            bus_.SetLastError(kErrorTimeout);
        } else {
            std::memcpy(buffer, bytes.data(), bytes.size());
            call.result = static_cast<std::int64_t>(bytes.size());
            call.data = std::move(bytes);
        }
    }
    Log(call);
    return static_cast<std::int32_t>(call.result);
}

void SimPortLibrary::CloseUSBPort(FileHandle handle) {
    Bind("CloseUSBPort");
    const bool ok = bus_.CloseHandle(handle);
    if (!ok) {
        bus_.SetLastError(kErrorInvalidHandle);
    }
    Log({"CloseUSBPort", {handle}, {}, {}, ok ? 1 : 0, bus_.NowMs()});
}

void SimPortLibrary::SetModuleMissing(bool missing) {
    std::lock_guard lock(mutex_);
    moduleMissing_ = missing;
}

void SimPortLibrary::SetOperationMissing(const std::string& operation, bool missing) {
    std::lock_guard lock(mutex_);
    if (missing) {
        missingOperations_.insert(operation);
    } else {
        missingOperations_.erase(operation);
    }
}

bool SimPortLibrary::ModuleLoaded() const {
    std::lock_guard lock(mutex_);
    return moduleLoaded_;
}

std::vector<SimUsbCall> SimPortLibrary::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<SimUsbCall> SimPortLibrary::Calls(const std::string& operation) const {
    std::lock_guard lock(mutex_);
    std::vector<SimUsbCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const SimUsbCall& c) { return c.operation == operation; });
    return out;
}

void SimPortLibrary::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void SimPortLibrary::Log(SimUsbCall call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

}  // namespace platform::sim
