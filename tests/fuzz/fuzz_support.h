#pragma once
// What the fuzz targets share: a fresh sim for each input with the program's process-wide values as at
// program start, and files written into it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "platform/sim/sim_platform.h"
#include "platform/sim/usb_printer_sim.h"
#include "platform/types.h"

// A printer that answers each write with the next of its replies, handed out in reads of at most piece bytes:
// whatever bytes the input makes, in whatever pieces, reach the host through the sim's USB bus.
class ReplyingDevice : public platform::sim::SimUsbDevice {
public:
    ReplyingDevice(std::string devicePath,
                   std::string deviceId,
                   std::deque<platform::Bytes> replies,
                   std::size_t piece);

    std::string DevicePath() const override { return devicePath_; }
    std::string PortName() const override { return "USB001"; }
    std::string DeviceId() const override { return deviceId_; }
    bool CanOpen() const override { return true; }
    std::size_t Write(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) override;
    platform::Bytes Read(std::size_t max, std::uint64_t nowMs) override;
    std::optional<std::uint64_t> NextReplyAt() const override;
    std::uint8_t StatusByte() const override { return 0x18; }

private:
    const std::string devicePath_;
    const std::string deviceId_;
    const std::size_t piece_;
    mutable std::mutex mutex_;
    std::deque<platform::Bytes> replies_;
    platform::Bytes pending_;
};

// A sim whose message boxes are all answered: a box is one of the outcomes a bad input may have.
class FuzzSim {
public:
    FuzzSim();
    ~FuzzSim();
    FuzzSim(const FuzzSim&) = delete;
    FuzzSim& operator=(const FuzzSim&) = delete;

    // Writes bytes as they stand, creating the folder.
    void PutFile(const std::wstring& path, const platform::Bytes& bytes);
    // Plugs a ReplyingDevice in on port USB001 and lists it in the port library.
    void PlugReplyingPrinter(std::deque<platform::Bytes> replies, std::size_t piece);

    platform::sim::SimPlatform sim;
};

// A shipped sample file as the build leaves it (CORVENTA_SAMPLES_DIR); empty when it cannot be read.
platform::Bytes SampleFileBytes(const std::string& name);
