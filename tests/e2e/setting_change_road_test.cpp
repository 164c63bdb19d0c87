// The road of one setting change, as the plug-in's group button starts it: the item dialog of base item 0
// reads the printer's value, the user picks another option and presses Set, the printer receives the settings
// write sequence and answers the read-back, the dialog closes, and the values file and the printer state file
// hold what the plug-in will show.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "corventa_fixture.h"
#include "uSetItem.h"

namespace {

using platform::forms::Form;
using platform::sim::UserScript;
using ::testing::ElementsAre;

using SettingChangeRoadTest = CorventaTest;

TEST_F(SettingChangeRoadTest, OneSettingChangedEndToEnd) {
    UserSetsLineSpacing();
    ASSERT_EQ(Start(L" \"Varintex WQ-472\" 1 0"), 0);

    EXPECT_THAT(Windows(), ElementsAre(L"TfrmSetItem"));
    EXPECT_EQ(printer->itemValue(*lineSpacing), 2);
    const platform::Bytes sequence =
        Hex("1B 1D 1E 05 01 1B 1D 1F  1B 1D 1E 00 03 02 1B 1D 1F  1B 1D 1E 05 02 1B 1D 1F");
    const std::vector<platform::Bytes> writes = printer->writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), sequence), 1);
    EXPECT_THAT(printer->commandLog(),
                ElementsAre("read 01 items", "enter", "set 03=02", "save", "read 01 items", "read 0C items"));

    const platform::IniFile values(ValuesFile());
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"0", L"<none>"), texts.CurrentValue + L"1/3 inch");
    const platform::IniFile state(StateFile());
    EXPECT_EQ(state.ReadInteger(L"ReadPrinter", L"Count", -1), 3) << "the value, its read-back and the page";
    EXPECT_EQ(state.ReadString(L"ReadPrinter", L"Last", L""), L"-1") << "the last read succeeded";
}

struct ValuesFileCase {
    const char* name;
    const wchar_t* port;
    bool unplugBeforeSet;
    bool set;
    bool valuesFile;
};

void PrintTo(const ValuesFileCase& c, std::ostream* os) {
    *os << c.name;
}

class ItemDialogStartTest : public CorventaTest, public ::testing::WithParamInterface<ValuesFileCase> {};

// At a start with page code 1 the driver's page reads the values file once the program ends; only a set that
// reached the printer over USB writes it.
TEST_P(ItemDialogStartTest, ClosingWritesTheValuesFileOnlyAfterAUsbSet) {
    const ValuesFileCase& c = GetParam();
    sim.spooler().AddPrinter(kPrinter, kDriver, c.port);
    UserScript script;
    if (c.set) {
        script.Pick(L"lst2", 1)
            .Inspect([&](Form&) { printer->faults().unplugged = c.unplugBeforeSet; })
            .Click(L"btnSet");
        if (c.unplugBeforeSet) {
            script.ExpectBox(texts.SetPrinterFail).Inspect([&](Form&) { printer->faults().unplugged = false; });
        } else if (std::wstring(c.port) == L"USB001") {
            script.ExpectBox(texts.SetPrinterSuccessI);
        } else {
            script.ExpectBox(texts.SetPrinterCantAffirm);
        }
    }
    if (!c.set || c.unplugBeforeSet || std::wstring(c.port) != L"USB001") {
        script.PressEsc();
    }
    sim.forms().WhenModal(L"TfrmSetItem", std::move(script));
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 1 0"), 0);
    EXPECT_TRUE(platform::forms::application().Terminated());
    EXPECT_EQ(sim.files().FileExists(ValuesFile()), c.valuesFile);
}

INSTANTIATE_TEST_SUITE_P(Sets,
                         ItemDialogStartTest,
                         ::testing::Values(ValuesFileCase{"UsbSet", L"USB001", false, true, true},
                                           ValuesFileCase{"FailedSet", L"USB001", true, true, false},
                                           ValuesFileCase{"SpoolerSet", L"LPT1:", false, true, false},
                                           ValuesFileCase{"NoSet", L"USB001", false, false, false}),
                         [](const ::testing::TestParamInfo<ValuesFileCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
