// What the main window does around its page: the dialog each setting button opens and the page read again
// after the item dialog, the ink state file when it shows, port mode's list of local ports, the black-mark
// start, and the values file when a start on the maintenance page ends.
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "platform/ini_file.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

TEST_F(MainWindowTest, EachSettingButtonOpensItsItemsDialogWhileTheWindowHides) {
    std::vector<MenuItem> care = {
        {.code = 0x40, .icon = L"Ink_Adjust", .name = L"Ink_Adjust600"},
        {.code = 0x41, .icon = L"Ink_Inquiry", .name = L"Ink_Inquiry"},
        {.code = 0x42, .icon = L"Ink_Dry", .name = L"Ink_Dry"},
        {.code = 0x43, .icon = L"Ink_Clean", .name = L"NormalSet"},
        {.code = 0x44, .icon = L"Ink_Clean", .name = L"Ink_Clean"},
    };
    UseMenu(Items(2), care);
    const auto hiddenWith = [](std::int32_t item) {
        return UserScript()
            .Inspect([item](Form&) {
                EXPECT_FALSE(MainWindowShowing());
                EXPECT_EQ(g_iItem, item);
            })
            .PressEsc();
    };
    sim.forms().WhenModal(L"TNormalSet", hiddenWith(3));
    sim.forms().WhenModal(L"TfrmSetItem", hiddenWith(4));
    const auto shownAgain = [](Form& f) { EXPECT_TRUE(f.Visible()); };
    ShowMainWindow(pgMaintenance, UserScript()
                                      .Click(L"btn01")
                                      .Inspect(shownAgain)
                                      .Click(L"btn02")
                                      .Click(L"btn03")
                                      .Click(L"btn04")
                                      .Inspect(shownAgain)
                                      .Click(L"btn05")
                                      .Inspect(shownAgain)
                                      .Click(L"btnClose"));
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"TfrmInkSet 0", L"TInquiry 1", L"TInkDry 2"}));
    EXPECT_EQ(application().FindForm(L"TNormalSet"), nullptr) << "each dialog is freed when it closes";
}

TEST_F(MainWindowTest, AfterTheItemDialogThePageIsReadAgainAndShowsTheNewValue) {
    UseMenu(Items(2), Items(0), Items(2, L"ICON", 0x50));
    sim.forms().WhenModal(L"TfrmSetItem", UserScript().Pick(L"rg1", 1).Click(L"btnSet").ExpectBox(
                                              Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information)));
    ShowMainWindow(pgAdvance, UserScript()
                                  .Inspect([](Form& f) { EXPECT_EQ(Value(f, 2)->Caption(), L"Now: Off"); })
                                  .Click(L"btn02")
                                  .Inspect([](Form& f) {
                                      EXPECT_EQ(Value(f, 2)->Caption(), L"Now: On");
                                      EXPECT_TRUE(f.Visible());
                                  })
                                  .Click(L"btnClose"));
    const std::vector<std::string> log = printer->commandLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "read 02 items"), 2) << "the page, and the page again";
}

TEST_F(MainWindowTest, ShowingPreparesTheInkStateFileOfTheLastListedPrinter) {
    UseMenu(Items(2), Items(2, L"Ink_Clean"));
    usb.Plug(vprinter::makeIdentity("WJ-610", "SECOND000002", 2));
    ShowMainWindow(pgMaintenance, UserScript().Click(L"btnClose"));
    EXPECT_EQ(g_strInkIni, L"C:\\ProgramData\\SECOND0000\\InkSetting.ini");
    EXPECT_EQ(platform::IniFile(g_strInkIni).ReadString(L"Settings", L"LastDeepcleantime", L""),
              L"2017/07/07 10:10:33");
}

TEST_F(MainWindowTest, PortModeListsTheLocalPortsAndFallsBackToLpt1WhenItsUsbPrinterGoes) {
    UseMenu(Items(3));
    // A start without arguments: no printer name, and a model that the default scheme replaces.
    g_strPrinterName.clear();
    LoadModel(L"");
    const std::wstring devicePath = platform::Utf8ToWide(printer->identity().devicePath);
    RunMainWindowStart(
        pgBase,
        UserScript()
            .Inspect([](Form& f) {
                TfrmMainView2& main = Main(f);
                EXPECT_EQ(main.cbbPrinterPort->Items(), (std::vector<std::wstring>{L"LPT1", L"COM1", L"USB001"}));
                EXPECT_EQ(main.cbbPrinterPort->ItemIndex(), 0);
                EXPECT_TRUE(main.cbbPrinterPort->Visible());
                EXPECT_EQ(g_strLocalPortFile, L"LPT1");
                EXPECT_EQ(g_strSchemeFile, kProgramScheme);
                EXPECT_EQ(g_SchemeOptions->GetItemLength(pgBase), 3);
                EXPECT_EQ(Value(f, 1)->Caption(), L"") << "no printer to read";
            })
            .Pick(L"cbbPrinterPort", 2)
            .Inspect([&](Form&) { EXPECT_EQ(g_strLocalPortFile, devicePath); })
            .Wait(3500)
            .Inspect([&](Form& f) {
                EXPECT_EQ(Main(f).cbbPrinterPort->ItemIndex(), 2) << "still listed";
                sim.usbBus().Unplug(usb.DeviceOf(*printer));
            })
            .Wait(3500)
            .Inspect([](Form& f) {
                EXPECT_EQ(Main(f).cbbPrinterPort->Items(), (std::vector<std::wstring>{L"LPT1", L"COM1"}));
                EXPECT_EQ(Main(f).cbbPrinterPort->ItemIndex(), 0);
                EXPECT_EQ(g_strLocalPortFile, L"LPT1");
            })
            .Click(L"btnClose"));
}

TEST_F(MainWindowTest, ABasePageWhoseFirstItemIsTheBlackMarkSetOpensItsDialogBeforeTheWindowShows) {
    UseMenu({{.code = 0x30, .name = L"OTH Set"}, {.code = 0x31}});
    RunMainWindowStart(pgBase, UserScript().Click(L"btnClose"));
    EXPECT_EQ(opened, std::vector<std::wstring>{L"TBMset 0"});
    EXPECT_TRUE(printer->commandLog().empty()) << "the black-mark page reads its own values";
}

TEST_F(MainWindowTest, ClosingAfterAStartOnTheMaintenancePageRewritesTheValuesFile) {
    UseMenu({{.code = 0x30, .rule = L"0=Off,1=On (always)", .value = 1}, {.code = 0x31}}, Items(2, L"Ink_Clean", 0x40));
    PutFile(g_strPrinterPath, {'o', 'l', 'd'});
    RunMainWindowStart(pgMaintenance, UserScript().Click(L"btnClose"));
    const platform::IniFile values(g_strPrinterPath);
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"0", L"<none>"), L"Now: On");
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"1", L"<none>"), L"Now: Off");
}

TEST_F(MainWindowTest, ClosingAfterAStartOnTheAdvancePageLeavesTheValuesFile) {
    UseMenu(Items(2), Items(0), Items(2, L"ICON", 0x50));
    PutFile(g_strPrinterPath, {'o', 'l', 'd'});
    RunMainWindowStart(pgAdvance, UserScript().Click(L"btnClose"));
    EXPECT_EQ(sim.files().ReadWholeFile(g_strPrinterPath), (platform::Bytes{'o', 'l', 'd'}));
}

}  // namespace
