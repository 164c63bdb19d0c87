// The settings program's printer in the Wine prefix (scripts/wine-printer-prefix.sh), seen as start-up sees it,
// from a program of each bitness: the spooler has the printer on its USB port with an empty queue, the model
// settings file lies where this program's printer-driver folder says, and the stand-in port library lists the
// printer's port. Run in the stand-in's folder, where the module search finds it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr wchar_t kPrinter[] = L"Varintex WJ-610";

class PrinterPrefixTest : public ::testing::Test {
protected:
    platform::win32::Win32Platform win32_;
};

TEST_F(PrinterPrefixTest, TheSpoolerHasThePrinterOnItsUsbPort) {
    platform::Spooler& spooler = platform::spooler();
    const platform::PrinterHandle printer = spooler.OpenPrinter(kPrinter);
    ASSERT_NE(printer, 0u) << "no printer \"Varintex WJ-610\": seed the prefix with scripts/wine-printer-prefix.sh";
    const auto info = spooler.GetPrinter2(printer);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->portName, L"USB001");
    EXPECT_EQ(info->driverName, kPrinter);
    EXPECT_EQ(info->attributes & platform::kPrinterAttributeWorkOffline, 0u);
    EXPECT_TRUE(spooler.EnumJobs(printer).empty());
    spooler.ClosePrinter(printer);

    std::wstring port;
    bool online = false;
    ASSERT_TRUE(GetPrinterPort(kPrinter, port, online));
    EXPECT_EQ(GetUSBPrinterIndex(port), 0) << "the stand-in lists the printer's port first";
}

TEST_F(PrinterPrefixTest, TheModelSettingsFileIsWhereThisProgramLooks) {
    std::wstring file;
    ASSERT_TRUE(GetSchemeFile(kPrinter, file));
    const std::wstring folder = platform::spooler().PrinterDriverDirectory();
    EXPECT_EQ(file, folder + L"\\3\\WJ-610_Settings.Dat");
    // Each bitness has a driver folder of its own.
    const std::wstring environment = folder.substr(folder.find_last_of(L'\\') + 1);
    EXPECT_TRUE(platform::SameText(environment, sizeof(void*) == 8 ? L"x64" : L"W32X86")) << platform::WideToUtf8(folder);
    ASSERT_TRUE(platform::files().FileExists(file)) << platform::WideToUtf8(file);

    TSchemeOptions2 model;
    model.LoadFromFile(file);
    EXPECT_EQ(model.m_Sections.MenuVersion, 1);
    EXPECT_EQ(model.m_Sections.PrinterName, kPrinter);
}

}  // namespace
