// The sim as the platform under test: a fresh SimPlatform per test, with the contract printer on its spooler,
// the contract resources in its table and the exit-code program as the one program that can be started.
#include <cwchar>
#include <mutex>
#include <vector>

#include "kContractResources.h"
#include "platform/sim/sim_platform.h"
#include "platform_under_test.h"

namespace contract {
namespace {

// Accepts every byte and never has a reply.
class SilentDevice : public platform::sim::SimUsbDevice {
public:
    std::string DevicePath() const override {
        return "\\\\?\\usb#vid_0000&pid_0001#silent#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    }
    std::string PortName() const override { return "USB099"; }
    std::string DeviceId() const override { return "MFG:Contract;MDL:Silent;"; }
    bool CanOpen() const override { return true; }
    std::size_t Write(const std::uint8_t*, std::size_t n, std::uint64_t) override { return n; }
    platform::Bytes Read(std::size_t, std::uint64_t) override { return {}; }
    std::optional<std::uint64_t> NextReplyAt() const override { return std::nullopt; }
    std::uint8_t StatusByte() const override { return 0x18; }
};

class SimUnderTest : public PlatformUnderTest {
public:
    SimUnderTest() {
        sim_.files().ForceDirectories(kScratch);
        sim_.resources().AddTable(kContractResources, kContractResourcesCount);
        sim_.spooler().AddPrinter(kPrinterName, kDriverName, kPortName);
        sim_.spooler().SetRawJobSink([this](const platform::sim::RawJob& job) {
            std::lock_guard lock(mutex_);
            last_ = job.bytes;
        });
        sim_.processes().SetRunner([](const std::wstring& commandLine) -> std::optional<std::uint32_t> {
            const std::wstring program = std::wstring(kExitCodeProgram) + L" ";
            if (commandLine.compare(0, program.size(), program) != 0) {
                return std::nullopt;  // no other program is installed
            }
            return static_cast<std::uint32_t>(
                std::wcstoul(commandLine.c_str() + commandLine.rfind(L' ') + 1, nullptr, 10));
        });
    }

    const char* Name() const override { return "sim"; }
    std::wstring Scratch() const override { return kScratch; }
    bool UseSystemCodePage(std::uint32_t codePage) override {
        sim_.codePage().SetSystemCodePage(codePage);
        return true;
    }
    bool HasPrinter() const override { return true; }
    std::optional<platform::Bytes> PortBytes() override {
        std::lock_guard lock(mutex_);
        return last_;
    }
    bool HidePortLibrary() override {
        sim_.portLibrary().SetModuleMissing(true);
        return true;
    }
    std::wstring SilentDevicePath() override {
        // Plugged only when first asked, so that the other cases see the bus they expect.
        if (!silent_) {
            silent_ = std::make_shared<SilentDevice>();
            sim_.usbBus().Plug(silent_);
        }
        const std::string path = silent_->DevicePath();
        return std::wstring(path.begin(), path.end());
    }
    std::wstring ExitCodeProgram() override { return kExitCodeProgram; }
    std::string KnownDeviation(const std::string&) const override { return {}; }

private:
    static constexpr const wchar_t* kScratch = L"C:\\Contract\\";
    static constexpr const wchar_t* kExitCodeProgram = L"C:\\Contract\\Programs\\exit_code.exe";
    platform::sim::SimPlatform sim_;
    std::mutex mutex_;
    std::optional<platform::Bytes> last_;
    std::shared_ptr<SilentDevice> silent_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest(const std::string&) {
    return std::make_unique<SimUnderTest>();
}

}  // namespace contract
