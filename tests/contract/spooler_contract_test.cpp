// The spooler's basics on the contract printer: names without regard to case, printer information, raw jobs
// that reach the port whole, printer data. The job queue is the sim's alone: the Wine spooler never lists a job.
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/text.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using platform::Bytes;
using platform::PrinterHandle;

// A text value may come back with a terminator that was not stored (Wine's registry adds one), so readers of
// printer data stop at the first NUL; the comparison here does the same.
Bytes WithoutTerminator(Bytes data) {
    while (data.size() >= 2 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0) {
        data.resize(data.size() - 2);
    }
    return data;
}

class SpoolerContract : public ContractTest {
protected:
    void SetUp() override {
        if (!under->HasPrinter()) {
            GTEST_SKIP() << "no contract printer in this spooler (scripts/test-windows.sh seeds it)";
        }
    }
    platform::Spooler& spooler() { return platform::spooler(); }
};

TEST_F(SpoolerContract, PrinterInfoByNameWithoutRegardToCase) {
    const PrinterHandle h = spooler().OpenPrinter(platform::UpperCase(kPrinterName));
    ASSERT_NE(h, 0u);
    const auto info = spooler().GetPrinter2(h);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->printerName, kPrinterName);
    EXPECT_EQ(info->portName, kPortName);
    EXPECT_EQ(info->driverName, kDriverName);
    EXPECT_EQ(info->attributes & platform::kPrinterAttributeWorkOffline, 0u);
    EXPECT_EQ(spooler().GetPrinterDriverName(h), std::optional<std::wstring>(kDriverName));
    const auto info5 = spooler().GetPrinter5(h);
    ASSERT_TRUE(info5);
    EXPECT_EQ(info5->printerName, kPrinterName);
    EXPECT_EQ(info5->portName, kPortName);
    EXPECT_EQ(info5->attributes & platform::kPrinterAttributeWorkOffline, 0u);
    spooler().ClosePrinter(h);
    EXPECT_FALSE(spooler().PrinterDriverDirectory().empty());
}

TEST_F(SpoolerContract, UnknownPrinterGivesNoHandle) {
    EXPECT_EQ(spooler().OpenPrinter(L"No Such Printer"), 0u);
    EXPECT_EQ(spooler().GetPrinter2(0), std::nullopt);
    EXPECT_EQ(spooler().GetPrinter5(0), std::nullopt);
    EXPECT_FALSE(spooler().StartDocPrinter(0, L"x", L"RAW"));
}

TEST_F(SpoolerContract, RawJobReachesThePortWhole) {
    const Bytes first{0x1B, 0x1D, 0x1E, 0x05, 0x01};
    const Bytes second{0x1B, 0x1D, 0x1F, 0x00, 0xFF};
    const PrinterHandle h = spooler().OpenPrinter(kPrinterName);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(spooler().StartDocPrinter(h, L"Printer setting job", L"RAW"));
    ASSERT_TRUE(spooler().StartPagePrinter(h));
    std::size_t written = 0;
    ASSERT_TRUE(spooler().WritePrinter(h, first.data(), first.size(), written));
    EXPECT_EQ(written, first.size());
    ASSERT_TRUE(spooler().WritePrinter(h, second.data(), second.size(), written));
    ASSERT_TRUE(spooler().EndPagePrinter(h));
    ASSERT_TRUE(spooler().EndDocPrinter(h));
    spooler().ClosePrinter(h);

    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(under->PortBytes(), expected);
}

TEST_F(SpoolerContract, PrinterDataRoundTrips) {
    const PrinterHandle h = spooler().OpenPrinter(kPrinterName);
    ASSERT_NE(h, 0u);
    const platform::PrinterDataValue text{platform::kRegSz, {'1', 0, '2', 0}};
    const platform::PrinterDataValue dword{platform::kRegDword, {0x78, 0x56, 0x34, 0x12}};
    EXPECT_TRUE(spooler().SetPrinterData(h, L"CompressRate", text));
    EXPECT_TRUE(spooler().SetPrinterData(h, L"XMove", dword));
    const auto readText = spooler().GetPrinterData(h, L"compressrate");
    ASSERT_TRUE(readText);
    EXPECT_EQ(readText->type, platform::kRegSz);
    EXPECT_EQ(WithoutTerminator(readText->data), text.data);
    const auto readDword = spooler().GetPrinterData(h, L"XMove");
    ASSERT_TRUE(readDword);
    EXPECT_EQ(readDword->type, platform::kRegDword);
    EXPECT_EQ(readDword->data, dword.data);
    EXPECT_EQ(spooler().GetPrinterData(h, L"NoSuchValue"), std::nullopt);
    spooler().ClosePrinter(h);
}

}  // namespace
}  // namespace contract
