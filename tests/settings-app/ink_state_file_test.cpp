// The ink state file: its folder named by the serial of the USB printer listed last, written only when that
// folder is new.
#include <gtest/gtest.h>

#include "InkStateFile.h"
#include "platform/ini_file.h"
#include "sim_fixture.h"
#include "virtual_usb.h"

namespace {

class InkStateFileTest : public SimTest {
protected:
    VirtualUsbPrinters usb{sim};
};

TEST_F(InkStateFileTest, TheLastListedPrinterNamesTheFolderAndANewFolderGetsTheDefaults) {
    usb.Plug(vprinter::makeIdentity("WJ-610", "FIRST00000001", 1));
    usb.Plug(vprinter::makeIdentity("WJ-610", "SECOND0000002", 2));
    EXPECT_EQ(LastUsbPrinterSerial(), L"SECOND0000");

    const std::wstring path = PrepareInkStateFile();
    EXPECT_EQ(path, L"C:\\ProgramData\\SECOND0000\\InkSetting.ini");
    const platform::IniFile ini(path);
    EXPECT_EQ(ini.ReadString(L"Settings", L"LastDeepcleantime", L"<none>"), L"2017/07/07 10:10:33");
    EXPECT_EQ(ini.ReadString(L"Settings", L"Degree", L"<none>"), L"0");
    EXPECT_FALSE(sim.files().DirectoryExists(L"C:\\ProgramData\\FIRST00000"));
}

TEST_F(InkStateFileTest, AnExistingFolderIsLeftAloneEvenWithoutTheFile) {
    usb.Plug(vprinter::makeIdentity("WJ-610", "SERIAL000001", 1));
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ProgramData\\SERIAL0000"));
    EXPECT_EQ(PrepareInkStateFile(), L"C:\\ProgramData\\SERIAL0000\\InkSetting.ini");
    EXPECT_FALSE(sim.files().FileExists(L"C:\\ProgramData\\SERIAL0000\\InkSetting.ini"));
}

TEST_F(InkStateFileTest, WithoutAUsbPrinterTheFileSitsInTheCommonFolderAndIsNotWritten) {
    EXPECT_EQ(LastUsbPrinterSerial(), L"");
    EXPECT_EQ(PrepareInkStateFile(), L"C:\\ProgramData\\\\InkSetting.ini");
    EXPECT_FALSE(sim.files().FileExists(L"C:\\ProgramData\\InkSetting.ini"));
}

TEST_F(InkStateFileTest, AFolderThatCannotBeCreatedRaisesAndWritesNothing) {
    usb.Plug(vprinter::makeIdentity("WJ-610", "SERIAL000001", 1));
    sim.files().SetWriteFailure(L"C:\\ProgramData\\SERIAL0000");
    EXPECT_THROW(PrepareInkStateFile(), platform::Exception);
    EXPECT_FALSE(sim.files().DirectoryExists(L"C:\\ProgramData\\SERIAL0000"));
}

}  // namespace
