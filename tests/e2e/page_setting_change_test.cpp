// The road of one setting change from the driver's page: the stand-in driver host opens the plug-in's page,
// whose every process start runs the settings program's real entry with the command line the page built. The
// fetch runs the program for the menu and then the values, both from the printer; a group button runs it for
// that one item, the user sets another option, and the page shows the new value once the program has ended.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver_page_fixture.h"
#include "page_dialog.h"
#include "uSetItem.h"

namespace {

using ::testing::ElementsAre;

using PageSettingChangeTest = DriverPageTest;

TEST_F(PageSettingChangeTest, AGroupButtonRunsTheProgramAndThePageShowsTheValueTheUserSet) {
    // Base item 0 (and so the page's group 1): the user changes line spacing from 1/8 to 1/3 inch.
    UserSetsLineSpacing();

    const std::wstring blanks(21, L' ');
    std::vector<std::wstring> fetched;
    std::vector<std::string> commandsAfterFetch;
    std::wstring after;
    const auto run = host.ShowDeviceSheet([&](tavrel::SimPageWindow& page) {
        page.Click(tavrel::IDC_FETCH);
        for (const int id : {1049, 1062, 1051, 1064, 1061, tavrel::IDC_MODEL_NAME}) {
            fetched.push_back(page.Control(id).text);
        }
        EXPECT_TRUE(page.Control(1035).visible);
        commandsAfterFetch = printer->commandLog();
        ASSERT_TRUE(page.Click(1035)) << "group 1 is shown";
        after = page.Control(1062).text;
        EXPECT_TRUE(page.SheetVisible()) << "shown again once the program ended";
    });
    EXPECT_EQ(run.setResult, 1u);

    // The page built each command line; the program ran from the driver folder for each.
    const std::wstring program = programFolder + L"Corventa \"Varintex WQ-472\"";
    std::vector<std::wstring> started;
    for (const auto& process : sim.processes().Started()) {
        EXPECT_TRUE(process.started);
        started.push_back(process.commandLine);
    }
    EXPECT_EQ(started, (std::vector<std::wstring>{program + L" 102", program + L" 101", program + L" 1 0"}));
    std::vector<std::wstring> windows;
    for (const auto& loop : sim.forms().Loops()) {
        windows.push_back(loop.className);
    }
    EXPECT_THAT(windows, ElementsAre(L"TfrmSetItem")) << "the fetch's runs show no window";

    // The menu and the values came from the printer; the set sent the settings write sequence once.
    EXPECT_THAT(commandsAfterFetch, ElementsAre("model query", "menu request", "read 0C items"));
    const platform::Bytes sequence =
        Hex("1B 1D 1E 05 01 1B 1D 1F  1B 1D 1E 00 03 02 1B 1D 1F  1B 1D 1E 05 02 1B 1D 1F");
    const std::vector<platform::Bytes> writes = printer->writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), sequence), 1);
    EXPECT_EQ(printer->itemValue(*lineSpacing), 2);

    EXPECT_EQ(fetched, (std::vector<std::wstring>{L"Line spacing" + blanks, texts.CurrentValue + L"1/8 inch",
                                                  L"Print speed" + blanks, texts.CurrentValue + L"Normal",
                                                  L"Maintenance" + blanks, L"WQ-472"}));
    EXPECT_EQ(after, texts.CurrentValue + L"1/3 inch");
}

}  // namespace
