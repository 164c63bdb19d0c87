#include "fuzz_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "sim_fixture.h"

namespace {

constexpr char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#SN0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr char kDeviceId[] = "MFG:Varintex;CMD:ESC;MDL:WQ-472;CLS:PRINTER;";

}  // namespace

ReplyingDevice::ReplyingDevice(std::string devicePath,
                               std::string deviceId,
                               std::deque<platform::Bytes> replies,
                               std::size_t piece)
    : devicePath_(std::move(devicePath)),
      deviceId_(std::move(deviceId)),
      piece_(std::max<std::size_t>(piece, 1)),
      replies_(std::move(replies)) {}

std::size_t ReplyingDevice::Write(const std::uint8_t* /*data*/, std::size_t n, std::uint64_t /*nowMs*/) {
    std::lock_guard lock(mutex_);
    if (!replies_.empty()) {
        pending_.insert(pending_.end(), replies_.front().begin(), replies_.front().end());
        replies_.pop_front();
    }
    return n;
}

platform::Bytes ReplyingDevice::Read(std::size_t max, std::uint64_t /*nowMs*/) {
    std::lock_guard lock(mutex_);
    const std::size_t n = std::min({max, piece_, pending_.size()});
    platform::Bytes out(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

std::optional<std::uint64_t> ReplyingDevice::NextReplyAt() const {
    std::lock_guard lock(mutex_);
    return pending_.empty() ? std::nullopt : std::optional<std::uint64_t>(0);
}

FuzzSim::FuzzSim() {
    ResetProgramGlobals();
    sim.messageBoxes().AnswerAnyBox();
}

// Before the sim goes, so that what the globals hold is freed while its platform is current.
FuzzSim::~FuzzSim() {
    ResetProgramGlobals();
}

void FuzzSim::PutFile(const std::wstring& path, const platform::Bytes& bytes) {
    sim.files().ForceDirectories(path.substr(0, path.rfind(L'\\')));
    sim.files().WriteWholeFile(path, bytes);
}

void FuzzSim::PlugReplyingPrinter(std::deque<platform::Bytes> replies, std::size_t piece) {
    sim.usbBus().Plug(std::make_shared<ReplyingDevice>(kDevicePath, kDeviceId, std::move(replies), piece));
    sim.portLibrary().USBPrintRefresh();
}

platform::Bytes SampleFileBytes(const std::string& name) {
    std::ifstream in(std::string(CORVENTA_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return platform::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
