// The sim as the platform under test: a fresh SimPlatform per test, with the contract printer on its spooler
// and the contract resources in its table.
#include <mutex>
#include <vector>

#include "kContractResources.h"
#include "platform/sim/sim_platform.h"
#include "platform_under_test.h"

namespace contract {
namespace {

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
    std::string KnownDeviation(const std::string&) const override { return {}; }

private:
    static constexpr const wchar_t* kScratch = L"C:\\Contract\\";
    platform::sim::SimPlatform sim_;
    std::mutex mutex_;
    std::optional<platform::Bytes> last_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest(const std::string&) {
    return std::make_unique<SimUnderTest>();
}

}  // namespace contract
