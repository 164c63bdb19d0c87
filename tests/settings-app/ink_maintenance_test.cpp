// The item dialog's maintenance actions: the nozzle-check print files, the actions of the action button with
// their frames, waits and finish messages, the deep-clean guard, the change wizard and the head-change Cancel,
// each against the virtual printer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "item_dialog_fixture.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "uWaiting.h"

namespace {

using platform::MsgIcon;
using platform::MsgResult;
using platform::forms::application;
using platform::sim::UserScript;

// Walks a raw print job command by command; the number of bit-image lines, or nullopt when a command is unknown
// or runs past the end, or the job does not end with a form feed right after its last line.
std::optional<int> BitImageLines(const platform::Bytes& job) {
    std::size_t at = 0;
    int lines = 0;
    auto word = [&](std::size_t offset) { return job[offset] | job[offset + 1] << 8; };
    while (at < job.size()) {
        if (job[at] == 0x0C) {
            return at + 1 == job.size() ? std::optional<int>(lines) : std::nullopt;
        }
        if (job[at] != 0x1B || at + 1 >= job.size()) {
            return std::nullopt;
        }
        std::size_t length = 0;
        switch (job[at + 1]) {
            case 0x40:
                length = 2;
                break;
            case 0x55:
            case 0x4A:
                length = 3;
                break;
            case 0x28:
                if (at + 5 > job.size()) {
                    return std::nullopt;
                }
                length = 5 + static_cast<std::size_t>(word(at + 3));
                break;
            case 0x2A: {
                if (at + 5 > job.size()) {
                    return std::nullopt;
                }
                const std::size_t perColumn = job[at + 2] == 33 ? 3 : job[at + 2] == 0 ? 1 : 0;
                if (perColumn == 0) {
                    return std::nullopt;
                }
                length = 5 + perColumn * static_cast<std::size_t>(word(at + 3));
                ++lines;
                break;
            }
            default:
                return std::nullopt;
        }
        at += length;
    }
    return std::nullopt;
}

struct PrintJobCase {
    const char* name;
    const wchar_t* resource;
    std::size_t size;
};

class PrintFilesTest : public ItemDialogTest, public ::testing::WithParamInterface<PrintJobCase> {};

// Each job is real printer data of its exact size: reset first, then commands that a printer can walk to the
// final form feed; a creation of the dialog saves it unchanged in the program's temporary folder.
TEST_P(PrintFilesTest, JobIsWholePrinterDataSavedAtEveryCreation) {
    const PrintJobCase& c = GetParam();
    UseItem(1, L"0=Only");
    const std::optional<platform::Bytes> job = platform::resources().Find(c.resource, platform::ResourceType::RCData);
    ASSERT_TRUE(job);
    ASSERT_EQ(job->size(), c.size);
    EXPECT_EQ((*job)[0], 0x1B);
    EXPECT_EQ((*job)[1], 0x40);
    const std::optional<int> lines = BitImageLines(*job);
    ASSERT_TRUE(lines);
    EXPECT_GT(*lines, 100);

    const std::wstring file =
        std::wstring(L"C:\\Users\\tester\\AppData\\Local\\Temp\\Corventa\\") + c.resource + L".prn";
    // A stale file of the same name is replaced.
    ASSERT_TRUE(platform::files().ForceDirectories(L"C:\\Users\\tester\\AppData\\Local\\Temp\\Corventa"));
    ASSERT_TRUE(platform::files().WriteWholeFile(file, {1, 2, 3}));
    auto dialog = platform::forms::MakeForm<TfrmSetItem>();
    EXPECT_EQ(platform::files().ReadWholeFile(file), job);
    EXPECT_EQ(c.resource == std::wstring(L"HoleCheck1541") ? dialog->m_Holecheck1541 : dialog->m_Holecheck1082, file);
}

INSTANTIATE_TEST_SUITE_P(Jobs,
                         PrintFilesTest,
                         ::testing::Values(PrintJobCase{"HoleCheck1541", L"HoleCheck1541", 1343742},
                                           PrintJobCase{"HoleCheck1082", L"HoleCheck1082", 808825}),
                         [](const auto& info) { return std::string(info.param.name); });

// The maintenance item of a test: one option, its name and icon, the model times in the global keys.
class MaintenanceTest : public ItemDialogTest {
protected:
    void SetUp() override {
        ItemDialogTest::SetUp();
        TGlobalString& s = g_GlobalString;
        for (auto [field, text] : {std::pair{&TGlobalString::WaitingForPrinterWork, L"WaitingForPrinterWork"},
                                   {&TGlobalString::Clean, L"Clean"},
                                   {&TGlobalString::DeepClean, L"DeepClean"},
                                   {&TGlobalString::DeepCleanInterval, L"DeepCleanInterval"},
                                   {&TGlobalString::BearingClean, L"BearingClean"},
                                   {&TGlobalString::StarorCancel, L"StarorCancel"},
                                   {&TGlobalString::Holecheck, L"Holecheck"},
                                   {&TGlobalString::CleanNewprinter, L"CleanNewprinter"},
                                   {&TGlobalString::CleanFinish, L"CleanFinish"},
                                   {&TGlobalString::DeepCleanFinish, L"DeepCleanFinish"},
                                   {&TGlobalString::InkFinish, L"InkFinish"},
                                   {&TGlobalString::SetPrinterSuccess, L"SetPrinterSuccess"},
                                   {&TGlobalString::Next, L"Next"}}) {
            s.*field = text;
        }
    }
    void UseAction(const std::wstring& name, const std::wstring& icon, const std::wstring& globalKeys = L"") {
        UseItem(1, L"0=Run", 0, L"Name=" + name + L"\nIcon=" + icon + L"\n", globalKeys);
    }
    static platform::sim::ExpectedBox Confirmation(std::wstring text) {
        return {.text = std::move(text),
                .caption = L"HintTitle",
                .icon = MsgIcon::Information,
                .buttons = platform::MsgButtons::OKCancel,
                .answer = MsgResult::OK};
    }
    static platform::sim::ExpectedBox Information(std::wstring text) {
        return Box(std::move(text), L"HintTitle", MsgIcon::Information);
    }
    // What the printer received since the last look, whichever road it came by.
    std::vector<platform::Bytes> Received() {
        const std::vector<platform::Bytes> all = printer->writes();
        std::vector<platform::Bytes> out(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return out;
    }

private:
    std::size_t seen_ = 0;
};

struct ActionCase {
    const char* name;
    const wchar_t* icon;  // also its Name, but for the changes, whose wizards come later
    const wchar_t* globalKeys;
    const wchar_t* confirmation;        // nullptr: none
    std::vector<const char*> frames;    // through the port library, in order
    std::optional<std::uint64_t> wait;  // virtual milliseconds; nullopt: no wait
    const wchar_t* finish;              // nullptr: the dialog stays open
};

// Each action on the USB road: its confirmation, its frames byte for byte, its wait of (T + 1) x 100 ms in
// virtual time and the finish message that closes the dialog.
TEST_F(MaintenanceTest, EachActionSendsItsFramesWaitsAndFinishes) {
    const ActionCase cases[] = {
        {"clean", L"Ink_Clean", L"CleanSleeptime=3\n", nullptr, {"1B 1D 1E 10 01 1B 1D 1F"}, 400, L"CleanFinish"},
        {"clean with a model time of 0 still waits one pass",
         L"Ink_Clean",
         L"CleanSleeptime=0\n",
         nullptr,
         {"1B 1D 1E 10 01 1B 1D 1F"},
         100,
         L"CleanFinish"},
        {"clean at the default time", L"Ink_Clean", L"", nullptr, {"1B 1D 1E 10 01 1B 1D 1F"}, 15100, L"CleanFinish"},
        {"deep clean",
         L"Ink_Deepclean",
         L"DeepcleanSleeptime=4\n",
         L"DeepClean",
         {"1B 1D 1E 10 02 1B 1D 1F"},
         500,
         L"DeepCleanFinish"},
        {"bearing clean",
         L"Ink_Bearing_Clean",
         L"",
         L"BearingClean",
         {"1B 1D 1E 10 06 1B 1D 1F"},
         std::nullopt,
         nullptr},
        {"head change",
         L"Ink_Changehead",
         L"ChangeHeadTime=5\n",
         L"StarorCancel",
         {"1B 1D 1E 10 07 1B 1D 1F", "1B 1D 1E 11 13 01 1B 1D 1F"},
         600,
         L"InkFinish"},
        {"cartridge change",
         L"Ink_Changebox",
         L"ChangeBoxTime=6\n",
         L"StarorCancel",
         {"1B 1D 1E 10 05 1B 1D 1F"},
         700,
         L"InkFinish"},
        {"self test",
         L"Ink_Selftest",
         L"NewPrinterSleeptime=2\n",
         L"CleanNewprinter",
         {"1B 1D 1E 10 04 1B 1D 1F"},
         300,
         L"InkFinish"},
        {"an icon of no action", L"Ink_Other", L"", nullptr, {}, std::nullopt, nullptr},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring icon = c.icon;
        UseAction(icon == L"Ink_Changehead" || icon == L"Ink_Changebox" ? L"Ink_Service" : icon, icon, c.globalKeys);
        g_strInkIni.clear();
        sim.portLibrary().ClearCalls();
        std::uint64_t pressed = 0;
        UserScript script;
        script.Inspect([&](platform::forms::Form&) { pressed = Now(); }).Click(L"btnInkset");
        if (c.confirmation) {
            script.ExpectBox(Confirmation(c.confirmation));
        }
        if (c.finish) {
            script.ExpectBox(Information(c.finish));
        } else {
            script.PressEsc();
        }
        auto dialog = RunModal(std::move(script));
        std::vector<platform::Bytes> expected;
        for (const char* frame : c.frames) {
            expected.push_back(Hex(frame));
        }
        EXPECT_EQ(Written(), expected);
        EXPECT_EQ(Now() - pressed, c.wait.value_or(0));
    }
}

// A busy printer (status byte 0x1F) refuses every action before its confirmation; a port that is no USB port
// of the library's list is refused, with its name, before any confirmation too. Nothing is sent, nothing waits
// and the dialog stays open. (The head change, whose Cancel button does more, has its own tests.)
TEST_F(MaintenanceTest, ABusyPrinterOrAPortOutsideTheListRefusesEveryAction) {
    struct Refusal {
        const char* name;
        const wchar_t* port;
        std::uint8_t status;
        platform::sim::ExpectedBox box;
    };
    const Refusal refusals[] = {
        {"busy", L"USB001", 0x1F, Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error)},
        {"not a USB port", L"LPT1:", 0x18, Box(L"PrinterNotFoundOnPort(LPT1:)", L"ErrorTitle", MsgIcon::Error)},
        {"a USB port the library does not list", L"USB009", 0x18,
         Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error)},
    };
    const std::pair<const wchar_t*, const wchar_t*> actions[] = {
        {L"Ink_Clean", L"btnInkset"},     {L"Ink_Deepclean", L"btnInkset"}, {L"Ink_Bearing_Clean", L"btnInkset"},
        {L"Ink_Changebox", L"btnInkset"}, {L"Ink_Holecheck", L"btnInkset"}, {L"Ink_Selftest", L"btnInkset"},
    };
    for (const Refusal& r : refusals) {
        for (const auto& [icon, button] : actions) {
            SCOPED_TRACE(std::string(r.name) + " " + platform::WideToUtf8(icon));
            UseAction(L"Ink_Service", icon);
            g_strInkIni.clear();
            printer->faults().statusByte = r.status;
            sim.spooler().AddPrinter(kPrinter, kDriver, r.port, 0);
            const std::uint64_t before = Now();
            auto dialog = RunModal(UserScript().Click(button).ExpectBox(r.box).PressEsc());
            EXPECT_TRUE(Received().empty());
            EXPECT_EQ(Now(), before);
            EXPECT_EQ(g_strInkIni, L"") << "the ink state file is not even looked at";
        }
    }
}

// The Clean button asks no status: a busy printer is cleaned after the confirmation, with the clean's wait
// and finish message. Its port is checked all the same.
TEST_F(MaintenanceTest, TheCleanButtonAsksNoStatusButChecksThePort) {
    UseAction(L"Ink_Holecheck1541", L"Ink_Holecheck", L"CleanSleeptime=7\n");
    printer->faults().statusByte = 0x1F;
    const std::uint64_t before = Now();
    RunModal(UserScript().Click(L"btnClean").ExpectBox(Confirmation(L"Clean")).ExpectBox(Information(L"CleanFinish")));
    EXPECT_EQ(Written(), std::vector<platform::Bytes>{Hex("1B 1D 1E 10 01 1B 1D 1F")});
    EXPECT_EQ(Now() - before, 800u);

    sim.portLibrary().ClearCalls();
    sim.spooler().AddPrinter(kPrinter, kDriver, L"LPT1:", 0);
    RunModal(UserScript()
                 .Click(L"btnClean")
                 .ExpectBox(Box(L"PrinterNotFoundOnPort(LPT1:)", L"ErrorTitle", MsgIcon::Error))
                 .PressEsc());
    EXPECT_TRUE(Written().empty());
}

// While a wait runs the waiting window is up and moving, and the dialog takes no input: Esc neither cancels
// nor closes it; once the wait is over the finish message closes it.
TEST_F(MaintenanceTest, TheDialogTakesNoInputWhileItWaits) {
    UseAction(L"Ink_Clean", L"Ink_Clean", L"CleanSleeptime=20\n");
    RunModal(UserScript()
                 .Click(L"btnInkset")
                 .DuringNextPump()
                 .PressEsc()
                 .DuringNextPump()
                 .Inspect([](platform::forms::Form& form) {
                     auto* waiting = dynamic_cast<TfrmWaiting*>(application().FindForm(L"TfrmWaiting"));
                     ASSERT_NE(waiting, nullptr);
                     EXPECT_TRUE(waiting->Visible());
                     auto& dialog = dynamic_cast<TfrmSetItem&>(form);
                     EXPECT_FALSE(dialog.btnCancel->CanFocus());
                     EXPECT_FALSE(dialog.btnInkset->CanFocus());
                     EXPECT_TRUE(dialog.Visible());
                 })
                 .ExpectBox(Information(L"CleanFinish")));
    EXPECT_EQ(application().FindForm(L"TfrmWaiting"), nullptr);
}

// The deep-clean guard counts whole hours: a deep clean stored at 10:30 refuses until 09:59 the next day.
// Interval 0 switches it off; a stored time later than now (a clock set back) does not refuse. An allowed deep
// clean on USB stores the time of the press and counts one more.
TEST_F(MaintenanceTest, TheDeepCleanGuardCountsWholeHoursOfADay) {
    struct Case {
        const char* name;
        const wchar_t* interval;
        const wchar_t* stored;
        platform::LocalTime now;
        bool refused;
    };
    const Case cases[] = {
        {"09:59 the next day", L"12", L"2026/03/05 10:30:00", {2026, 3, 6, 9, 59, 0}, true},
        {"10:00 the next day", L"12", L"2026/03/05 10:30:00", {2026, 3, 6, 10, 0, 0}, false},
        {"a month later", L"12", L"2026/03/05 10:30:00", {2026, 4, 5, 8, 0, 0}, false},
        {"across a year end", L"1", L"2025/12/31 23:10:00", {2026, 1, 1, 22, 59, 0}, true},
        {"interval 0", L"0", L"2026/03/05 10:30:00", {2026, 3, 5, 10, 45, 0}, false},
        {"stored later than now", L"12", L"2026/03/07 10:30:00", {2026, 3, 6, 10, 0, 0}, false},
    };
    const std::wstring inkIni = L"C:\\ProgramData\\SN0001\\InkSetting.ini";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseAction(L"Ink_Deepclean", L"Ink_Deepclean",
                  std::wstring(L"DeepcleanSleeptime=1\nDeepcleanIntervaltime=") + c.interval + L"\n");
        sim.clock().SetStartTime(c.now);
        const std::uint64_t start = Now();
        ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ProgramData\\SN0001"));
        const platform::IniFile ini(inkIni);
        ini.WriteString(L"Settings", L"LastDeepcleantime", c.stored);
        ini.WriteInteger(L"Settings", L"Degree", 4);
        g_strInkIni = inkIni;
        sim.portLibrary().ClearCalls();
        std::wstring pressedAt;
        UserScript script;
        script.Inspect([&](platform::forms::Form&) {
            pressedAt = platform::FormatDateTime(L"yyyy/MM/dd HH:mm:ss", sim.clock().Now());
        });
        script.Click(L"btnInkset");
        if (c.refused) {
            script.ExpectBox(Box(L"DeepCleanInterval", L"HintTitle", MsgIcon::Error)).PressEsc();
        } else {
            script.ExpectBox(Confirmation(L"DeepClean")).ExpectBox(Information(L"DeepCleanFinish"));
        }
        RunModal(std::move(script));
        EXPECT_EQ(Written().empty(), c.refused);
        EXPECT_EQ(ini.ReadString(L"Settings", L"LastDeepcleantime", L""), c.refused ? c.stored : pressedAt);
        EXPECT_EQ(ini.ReadInteger(L"Settings", L"Degree", 0), c.refused ? 4 : 5);
        EXPECT_EQ(Now() - start, c.refused ? 0u : 200u);
    }
}

// What ends a deep clean without touching the ink state file: a stored time that is no date (its conversion
// error, nothing sent), the Cancel of the confirmation, and port mode, which writes only the frame.
TEST_F(MaintenanceTest, ADeepCleanThatDoesNotGoOverUsbLeavesTheInkStateFile) {
    struct Case {
        const char* name;
        const wchar_t* stored;
        bool portMode;
        std::vector<platform::sim::ExpectedBox> boxes;
        const char* portFile;  // what the port file holds afterwards
    };
    platform::sim::ExpectedBox cancelled = Confirmation(L"DeepClean");
    cancelled.answer = MsgResult::Cancel;
    const Case cases[] = {
        {"no date",
         L"yesterday at ten",
         false,
         {{.text = L"'yest' is not a valid integer value.", .icon = MsgIcon::Error}},
         ""},
        {"an impossible date",
         L"2026/02/30 10:00:00",
         false,
         {{.text = L"Invalid argument to date encode.", .icon = MsgIcon::Error}},
         ""},
        {"cancelled", L"2020/01/01 00:00:00", false, {cancelled}, ""},
        {"port mode",
         L"2020/01/01 00:00:00",
         true,
         {Confirmation(L"DeepClean"), Information(L"SetPrinterSuccessI")},
         "1B 1D 1E 10 02 1B 1D 1F"},
    };
    const std::wstring inkIni = L"C:\\ProgramData\\SN0001\\InkSetting.ini";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseAction(L"Ink_Deepclean", L"Ink_Deepclean");
        ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ProgramData\\SN0001"));
        ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
        ASSERT_TRUE(sim.files().WriteWholeFile(L"C:\\ports\\LPT1.prn", {}));
        const platform::IniFile ini(inkIni);
        ini.WriteString(L"Settings", L"LastDeepcleantime", c.stored);
        ini.WriteInteger(L"Settings", L"Degree", 2);
        g_strInkIni = inkIni;
        g_byPage = c.portMode ? pgBase : pgSingleItem;
        g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
        sim.portLibrary().ClearCalls();
        UserScript script;
        script.Click(L"btnInkset");
        for (const auto& box : c.boxes) {
            script.ExpectBox(box);
        }
        RunModal(std::move(script.PressEsc()));
        EXPECT_TRUE(Received().empty());
        EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\ports\\LPT1.prn"), Hex(c.portFile));
        EXPECT_EQ(ini.ReadString(L"Settings", L"LastDeepcleantime", L""), c.stored);
        EXPECT_EQ(ini.ReadInteger(L"Settings", L"Degree", 0), 2);
    }
}

// A start for one item has no main window to prepare the ink state file: the deep clean prepares it the same
// way, in the folder of the last listed printer, and counts its first deep clean there.
TEST_F(MaintenanceTest, ADeepCleanAtAStartForOneItemPreparesTheInkStateFile) {
    UseAction(L"Ink_Deepclean", L"Ink_Deepclean", L"DeepcleanSleeptime=0\n");
    g_strInkIni.clear();
    g_byStartPage = pgSingleItem;
    RunModal(UserScript()
                 .Click(L"btnInkset")
                 .ExpectBox(Confirmation(L"DeepClean"))
                 .ExpectBox(Information(L"DeepCleanFinish")));
    EXPECT_TRUE(platform::StartsWith(g_strInkIni, L"C:\\ProgramData\\SN0001")) << platform::WideToUtf8(g_strInkIni);
    EXPECT_TRUE(platform::files().FileExists(g_strInkIni));
    EXPECT_EQ(platform::IniFile(g_strInkIni).ReadInteger(L"Settings", L"Degree", 0), 1);
    EXPECT_EQ(Written(), std::vector<platform::Bytes>{Hex("1B 1D 1E 10 02 1B 1D 1F")});
}

// The head change's two ways out: the Cancel answer to its question ends the change over the device path of
// the printer the library listed last; the dialog's Cancel button ends it through the port library, after the
// same busy check as the action button, and also for an offline printer, after saying so.
TEST_F(MaintenanceTest, AHeadChangeIsCancelledByTheDevicePathOrThePortLibrary) {
    const std::vector<platform::Bytes> cancelFrames = {Hex("1B 1D 1E 10 08 1B 1D 1F"),
                                                       Hex("1B 1D 1E 11 13 01 1B 1D 1F")};
    UseAction(L"Ink_Service", L"Ink_Changehead");
    // The printer's device, as the class driver opens it.
    const std::wstring devicePath = platform::Utf8ToWide(printer->identity().devicePath);
    sim.files().AddDevice(devicePath);
    platform::sim::ExpectedBox cancelled = Confirmation(L"StarorCancel");
    cancelled.answer = MsgResult::Cancel;
    RunModal(UserScript().Click(L"btnInkset").ExpectBox(cancelled));
    EXPECT_TRUE(Written().empty()) << "not through the port library";
    EXPECT_EQ(sim.files().DeviceWrites(devicePath), cancelFrames);

    printer->faults().statusByte = 0x1F;
    RunModal(UserScript()
                 .Click(L"btnInkset")
                 .ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error))
                 .Click(L"btnCancel")
                 .ExpectBox(Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error))
                 .Inspect([&](platform::forms::Form& form) {
                     EXPECT_TRUE(form.Visible());
                     EXPECT_TRUE(Received().empty());
                     printer->faults().statusByte = 0x18;
                 })
                 .Click(L"btnCancel"));
    EXPECT_EQ(Written(), cancelFrames);

    sim.portLibrary().ClearCalls();
    sim.spooler().AddPrinter(kPrinter, kDriver, L"USB001", platform::kPrinterAttributeWorkOffline);
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal(UserScript().Click(L"btnCancel").ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error)));
    EXPECT_EQ(Written(), cancelFrames) << "an offline printer is still told";

    sim.portLibrary().ClearCalls();
    sim.spooler().AddPrinter(kPrinter, kDriver, L"LPT1:", 0);
    RunModal(UserScript()
                 .Click(L"btnCancel")
                 .ExpectBox(Box(L"PrinterNotFoundOnPort(LPT1:)", L"ErrorTitle", MsgIcon::Error)));
    EXPECT_TRUE(Written().empty());
}

// Port mode: each action writes only its first frame straight to the chosen port and reports it, with no wait;
// the nozzle check sends the printer's own check command instead of a print file; the head change's Cancel
// button sends its cancel frame. The dialog stays open.
TEST_F(MaintenanceTest, PortModeWritesOnlyTheFirstFrameToThePort) {
    struct Case {
        const char* name;
        const wchar_t* icon;
        const wchar_t* button;
        const wchar_t* confirmation;
        const wchar_t* success;
        const char* frame;
    };
    const Case cases[] = {
        {"clean", L"Ink_Clean", L"btnInkset", nullptr, L"SetPrinterSuccessI", "1B 1D 1E 10 01 1B 1D 1F"},
        {"bearing clean", L"Ink_Bearing_Clean", L"btnInkset", L"BearingClean", L"SetPrinterSuccessI",
         "1B 1D 1E 10 06 1B 1D 1F"},
        {"head change", L"Ink_Changehead", L"btnInkset", nullptr, L"SetPrinterSuccess", "1B 1D 1E 10 07 1B 1D 1F"},
        {"cartridge change", L"Ink_Changebox", L"btnInkset", nullptr, L"SetPrinterSuccessI", "1B 1D 1E 10 05 1B 1D 1F"},
        {"nozzle check", L"Ink_Holecheck", L"btnInkset", L"Holecheck", L"SetPrinterSuccessI",
         "1B 1D 1E 10 09 81 1B 1D 1F 0A 0A 0C"},
        {"self test", L"Ink_Selftest", L"btnInkset", L"CleanNewprinter", L"SetPrinterSuccessI",
         "1B 1D 1E 10 04 1B 1D 1F"},
        {"Clean button", L"Ink_Holecheck", L"btnClean", L"Clean", L"SetPrinterSuccessI", "1B 1D 1E 10 01 1B 1D 1F"},
        {"head change Cancel", L"Ink_Changehead", L"btnCancel", nullptr, L"SetPrinterSuccess",
         "1B 1D 1E 10 08 1B 1D 1F"},
    };
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseAction(L"Ink_Holecheck1541", c.icon);
        g_byPage = pgBase;
        g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
        ASSERT_TRUE(sim.files().WriteWholeFile(g_strLocalPortFile, {}));
        const std::uint64_t before = Now();
        UserScript script;
        script.Click(c.button);
        if (c.confirmation) {
            script.ExpectBox(Confirmation(c.confirmation));
        }
        // The dialog stays open; the test closes it, as no button of a head change would.
        script.ExpectBox(Information(c.success)).Inspect([](platform::forms::Form& form) {
            EXPECT_TRUE(form.Visible());
            form.Close();
        });
        RunModal(std::move(script));
        EXPECT_EQ(sim.files().ReadWholeFile(g_strLocalPortFile), Hex(c.frame));
        EXPECT_TRUE(Received().empty());
        EXPECT_EQ(Now(), before);
    }
}

// The change wizards forwards to their last step and back to the first, with each step's picture, height and
// text: the first press of Start tells the printer (the head kinds send the start of a head change, the
// cartridge kinds an empty write) and Start becomes Next; OK is offered at the last step only; Back stops at
// step 1. Esc then cancels: a head change is ended at the printer, a cartridge change just closes.
TEST_F(MaintenanceTest, TheChangeWizardsStepForwardsAndBack) {
    struct Case {
        const wchar_t* kind;
        std::vector<const wchar_t*> texts;
        std::vector<const char*> frames;  // through the port library
    };
    const std::vector<const char*> headFrames = {"1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F",
                                                 "1B 1D 1E 10 08 1B 1D 1F", "1B 1D 1E 11 13 01 1B 1D 1F"};
    const Case cases[] = {
        {L"Changehead", {L"Step1", L"Step2", L"Step3", L"Step4", L"Step5"}, headFrames},
        {L"Changebox", {L"bStep1", L"bStep2", L"bStep3", L"bStep4", L"bStep5"}, {""}},
        {L"ChangeheadA", {L"A4Step1", L"A4Step2", L"A4Step3", L"A4Step4"}, headFrames},
        {L"ChangeboxA", {L"A4Step5"}, {""}},
    };
    sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount);
    TGlobalString& s = g_GlobalString;
    s.Step1 = L"Step1", s.Step2 = L"Step2", s.Step3 = L"Step3", s.Step4 = L"Step4", s.Step5 = L"Step5";
    s.bStep1 = L"bStep1", s.bStep2 = L"bStep2", s.bStep3 = L"bStep3", s.bStep4 = L"bStep4", s.bStep5 = L"bStep5";
    s.A4Step1 = L"A4Step1", s.A4Step2 = L"A4Step2", s.A4Step3 = L"A4Step3", s.A4Step4 = L"A4Step4";
    s.A4Step5 = L"A4Step5";
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.kind));
        const std::wstring kind = c.kind;
        UseAction(L"Ink_" + kind, platform::StartsWith(kind, L"Changehead") ? L"Ink_Changehead" : L"Ink_Changebox");
        sim.portLibrary().ClearCalls();
        const auto steps = static_cast<int>(c.texts.size());
        auto shows = [&](int step) {
            return [&, step](platform::forms::Form& form) {
                SCOPED_TRACE("step " + std::to_string(step));
                auto& dialog = dynamic_cast<TfrmSetItem&>(form);
                const platform::forms::Bitmap picture =
                    platform::forms::Bitmap::FromResource(kind + std::to_wstring(step));
                EXPECT_EQ(dialog.m_count, step);
                EXPECT_TRUE(dialog.tsb3->BrushBitmap() == picture);
                EXPECT_EQ(dialog.tsb3->Height(), picture.Height());
                EXPECT_EQ(dialog.Height(), 390);
                EXPECT_EQ(dialog.lblInfo->Caption(), c.texts[static_cast<std::size_t>(step - 1)]);
                EXPECT_EQ(dialog.btnNext->Caption(), L"Next");
                EXPECT_EQ(dialog.btnInkset->Enabled(), step == steps);
                EXPECT_EQ(dialog.btnNext->Enabled(), step != steps);
            };
        };
        UserScript script;
        for (int step = 1; step <= steps; ++step) {
            script.Click(L"btnNext").Inspect(shows(step));
        }
        for (int step = steps - 1; step >= 1; --step) {
            script.Click(L"btnBack").Inspect(shows(step));
        }
        if (steps > 1) {
            script.Inspect(
                [](platform::forms::Form& form) { EXPECT_FALSE(dynamic_cast<TfrmSetItem&>(form).btnBack->Enabled()); });
        } else {
            // Back at step 1 stays there, and like every Back takes OK away until Next comes to the end again.
            script.Click(L"btnBack").Inspect([](platform::forms::Form& form) {
                auto& dialog = dynamic_cast<TfrmSetItem&>(form);
                EXPECT_EQ(dialog.m_count, 1);
                EXPECT_FALSE(dialog.btnBack->Enabled());
                EXPECT_FALSE(dialog.btnInkset->Enabled());
                EXPECT_TRUE(dialog.btnNext->Enabled());
            });
        }
        RunModal(std::move(script.PressEsc()));
        std::vector<platform::Bytes> expected;
        for (const char* frame : c.frames) {
            expected.push_back(Hex(frame));
        }
        EXPECT_EQ(Written(), expected);
    }
}

// The wizard's Start does not advance when it did not reach the printer over USB: a busy printer refuses it, a
// port outside the list is named, and port mode writes the start frames, reports them and stays at the start.
// Back asks nothing of the printer.
TEST_F(MaintenanceTest, TheWizardStartsOnlyWhenThePrinterWasTold) {
    struct Case {
        const char* name;
        std::uint8_t status;
        const wchar_t* port;
        bool portMode;
        platform::sim::ExpectedBox box;
        const char* portFile;
    };
    const Case cases[] = {
        {"busy", 0x1F, L"USB001", false, Box(L"WaitingForPrinterWork", L"HintTitle", MsgIcon::Error), ""},
        {"not a USB port", 0x18, L"LPT1:", false, Box(L"PrinterNotFoundOnPort(LPT1:)", L"ErrorTitle", MsgIcon::Error),
         ""},
        {"port mode", 0x18, L"USB001", true, Information(L"SetPrinterSuccessI"),
         "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F"},
    };
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseAction(L"Ink_Changehead", L"Ink_Changehead");
        printer->faults().statusByte = c.status;
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, 0);
        g_byPage = c.portMode ? pgBase : pgSingleItem;
        g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
        ASSERT_TRUE(sim.files().WriteWholeFile(g_strLocalPortFile, {}));
        sim.portLibrary().ClearCalls();
        RunModal(UserScript().Click(L"btnNext").ExpectBox(c.box).Inspect([](platform::forms::Form& form) {
            auto& dialog = dynamic_cast<TfrmSetItem&>(form);
            EXPECT_EQ(dialog.m_count, 0);
            EXPECT_EQ(dialog.btnNext->Caption(), L"btnInkset");
            EXPECT_FALSE(dialog.btnBack->Enabled());
            // Back still works without the printer (the user could not reach it yet).
            dialog.btnBackClick();
            EXPECT_EQ(dialog.m_count, 1);
            form.Close();
        }));
        EXPECT_TRUE(Written().empty());
        EXPECT_EQ(sim.files().ReadWholeFile(g_strLocalPortFile), Hex(c.portFile));
    }
}

// The nozzle check sends the print file its name selects, whole and unchanged, in pieces of 4096 bytes with a
// pause of 10 ms after each; no wait follows and the dialog stays open for a clean. A name that selects no
// file sends nothing.
TEST_F(MaintenanceTest, TheNozzleCheckSendsItsPrintFileInPieces) {
    struct Case {
        const wchar_t* name;
        const wchar_t* resource;  // nullptr: nothing is sent
        std::uint64_t atLeast;    // virtual milliseconds
    };
    const Case cases[] = {
        {L"Ink_Holecheck1541", L"HoleCheck1541", 3290},
        {L"Ink_Holecheck1082", L"HoleCheck1082", 1980},
        {L"Ink_Holecheck", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.name));
        UseAction(c.name, L"Ink_Holecheck");
        Received();
        std::uint64_t took = 0;
        RunModal(UserScript()
                     .Inspect([&](platform::forms::Form&) { took = Now(); })
                     .Click(L"btnInkset")
                     .ExpectBox(Confirmation(L"Holecheck"))
                     .Inspect([&](platform::forms::Form& form) {
                         took = Now() - took;
                         EXPECT_TRUE(form.Visible());
                     })
                     .PressEsc());
        const std::vector<platform::Bytes> pieces = Received();
        EXPECT_TRUE(Written().empty()) << "by the class driver, not the port library";
        if (!c.resource) {
            EXPECT_TRUE(pieces.empty());
            continue;
        }
        const platform::Bytes job = *platform::resources().Find(c.resource, platform::ResourceType::RCData);
        ASSERT_EQ(pieces.size(), (job.size() + 4095) / 4096);
        platform::Bytes joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i + 1 < pieces.size()) {
                EXPECT_EQ(pieces[i].size(), 4096u);
            }
            joined.insert(joined.end(), pieces[i].begin(), pieces[i].end());
        }
        EXPECT_EQ(joined, job);
        EXPECT_EQ(took, pieces.size() * 10);
        EXPECT_GE(took, c.atLeast);
    }
}

// At the wizard's last step OK runs the change itself: the cartridge change after its one-step wizard.
TEST_F(MaintenanceTest, OkAtTheWizardsLastStepRunsTheChange) {
    UseAction(L"Ink_ChangeboxA", L"Ink_Changebox", L"ChangeBoxTime=2\n");
    RunModal(UserScript()
                 .Click(L"btnNext")
                 .Click(L"btnInkset")
                 .ExpectBox(Confirmation(L"StarorCancel"))
                 .ExpectBox(Information(L"InkFinish")));
    EXPECT_EQ(Written(), (std::vector<platform::Bytes>{{}, Hex("1B 1D 1E 10 05 1B 1D 1F")}));
    const std::vector<std::string> log = printer->commandLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "cartridge change"), log.end());
}

}  // namespace
