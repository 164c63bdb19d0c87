// The device property page on the sim: what it adds to the sheet, the settings program's command line for
// each button, the fetch with its port checks, the slots filled from the exchange folder, and what the page
// releases and deletes when it goes.

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device_page.h"
#include "page_dialog.h"
#include "page_window_sim.h"
#include "plugin_fixture.h"

namespace {

namespace dk = driverkit;
using tavrel::SimPageWindow;

constexpr const wchar_t* kExchange = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\";
constexpr const wchar_t* kProgram = L"C:\\Drivers\\x64\\3\\VORodedezEvadezu";
const std::wstring kBlanks(21, L' ');

class DevicePageTest : public PluginTest {
protected:
    DevicePageTest() {
        sim.locale().SetUserDefaultUILanguage(1033);
        sim.locale().SetSystemDefaultLangId(1033);
        for (const wchar_t* name : {L"100_SETTINGS", L"101_PAPER", L"102_SPEED"}) {
            sim.resources().Add(name, platform::ResourceType::Bitmap, {1, 2, 3});
        }
        tavrel::SetThreadPrinterName(platform::threadState().CurrentThreadId(), kPrinter);
        sim.files().ForceDirectories(kExchange);
        page = std::make_unique<SimPageWindow>();
        page->Create();
    }

    std::wstring MenuFile() const { return std::wstring(kExchange) + kPrinter + L".DAT"; }
    std::wstring ValuesFile() const { return std::wstring(kExchange) + kPrinter; }
    std::wstring StateFile() const { return ValuesFile() + L".ini"; }

    void Write(const std::wstring& file, const wchar_t* section, const wchar_t* key, const std::wstring& value) {
        platform::IniFile(file).WriteString(section, key, value);
    }
    void MenuEntry(int n, const wchar_t* icon, const std::wstring& title, const std::wstring& note = L"") {
        const std::wstring section = (n < 10 ? L"BaseItem0" : L"BaseItem") + std::to_wstring(n);
        if (icon) {
            Write(MenuFile(), section.c_str(), L"Icon", icon);
        }
        Write(MenuFile(), section.c_str(), L"Title.EN", title);
        Write(MenuFile(), section.c_str(), L"Note.EN", note);
    }

    // The command lines the page started, each after the program and the quoted printer name.
    std::vector<std::wstring> Tails() {
        const std::wstring head = std::wstring(kProgram) + L" \"" + kPrinter + L"\"";
        std::vector<std::wstring> tails;
        for (const auto& started : sim.processes().Started()) {
            EXPECT_EQ(started.commandLine.substr(0, head.size()), head);
            tails.push_back(started.commandLine.substr(head.size()));
        }
        return tails;
    }

    bool Visible(int id) const { return page->Control(id).visible; }
    const std::wstring& Text(int id) const { return page->Control(id).text; }

    ~DevicePageTest() override {
        if (page->UserData()) {
            page->Destroy();
        }
    }

    std::unique_ptr<SimPageWindow> page;
};

// ---- What the page adds to the sheet.

struct SheetCall {
    dk::HANDLE sheet = nullptr;
    dk::UINT function = 0;
    dk::PROPSHEETPAGEW page{};
};

TEST_F(DevicePageTest, EachReasonWritesItsResult) {
    SheetCall seen;
    dk::PROPSHEETUI_INFO info{};
    info.cbSize = sizeof(info);
    info.Version = dk::PROPSHEETUI_INFO_VERSION;
    info.hComPropSheet = &seen;
    info.pfnComPropSheet = [](dk::HANDLE sheet, dk::UINT function, dk::LPARAM page, dk::LPARAM) -> dk::LONG_PTR {
        auto* call = static_cast<SheetCall*>(sheet);
        call->sheet = sheet;
        call->function = function;
        call->page = *reinterpret_cast<const dk::PROPSHEETPAGEW*>(page);
        return 0x4321;
    };

    info.Reason = dk::PROPSHEETUI_REASON_INIT;
    ASSERT_EQ(tavrel::AddDevicePage(&info, 0), dk::S_OK);
    EXPECT_EQ(info.Result, 0x4321u) << "the callback's result is the reason's";
    EXPECT_EQ(seen.sheet, &seen);
    EXPECT_EQ(seen.function, dk::CPSFUNC_ADD_PROPSHEETPAGEW);
    EXPECT_EQ(seen.page.dwSize, 88u);
    EXPECT_EQ(seen.page.dwFlags, dk::PSP_USEICONID);
    EXPECT_EQ(seen.page.pszTemplate, dk::MakeIntResource(106));
    EXPECT_EQ(seen.page.pszIcon, dk::MakeIntResource(160));
    EXPECT_EQ(seen.page.pfnDlgProc, &tavrel::PageDialogProc);
    EXPECT_EQ(seen.page.pszTitle, nullptr);
    EXPECT_EQ(seen.page.lParam, 0);

    dk::PROPSHEETUI_INFO_HEADER header{};
    info.Reason = dk::PROPSHEETUI_REASON_GET_INFO_HEADER;
    ASSERT_EQ(tavrel::AddDevicePage(&info, reinterpret_cast<dk::LPARAM>(&header)), dk::S_OK);
    EXPECT_EQ(info.Result, 1u);
    EXPECT_EQ(std::wstring(header.pTitle), L"OEM UI Page");

    dk::SETRESULT_INFO result{};
    result.Result = 7;
    info.Reason = dk::PROPSHEETUI_REASON_SET_RESULT;
    ASSERT_EQ(tavrel::AddDevicePage(&info, reinterpret_cast<dk::LPARAM>(&result)), dk::S_OK);
    EXPECT_EQ(info.Result, 7u);

    for (const auto& [reason, expected] : std::vector<std::pair<dk::WORD, dk::ULONG_PTR>>{
             {dk::PROPSHEETUI_REASON_DESTROY, 1}, {dk::PROPSHEETUI_REASON_GET_ICON, 0}, {99, 0}}) {
        SCOPED_TRACE(reason);
        info.Result = 55;
        info.Reason = reason;
        ASSERT_EQ(tavrel::AddDevicePage(&info, 0), dk::S_OK);
        EXPECT_EQ(info.Result, expected);
    }
}

// ---- The page as created.

TEST_F(DevicePageTest, ANewPageShowsOnlyTheFetchButtonTheHintAndTheFrame) {
    EXPECT_TRUE(Visible(tavrel::IDC_FETCH));
    EXPECT_EQ(Text(tavrel::IDC_FETCH), L"Get from printer");
    EXPECT_EQ(Text(tavrel::IDC_MODEL_NAME), L"Click button \"Get from printer\"");
    EXPECT_TRUE(Visible(tavrel::IDC_NONE));
    EXPECT_FALSE(Visible(tavrel::IDC_MAINTENANCE_FRAME));
    for (int slot = 0; slot < tavrel::kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(Visible(tavrel::iRCBtn[slot]));
        EXPECT_FALSE(Visible(tavrel::iRCTitle[slot]));
        if (tavrel::iRCValue[slot]) {
            EXPECT_FALSE(Visible(tavrel::iRCValue[slot]));
        }
    }
}

TEST_F(DevicePageTest, TheTemplateTextsFollowTheInterfaceLanguage) {
    for (const auto& [langId, fetch] : std::vector<std::pair<std::uint16_t, std::wstring>>{
             {2052, L"从打印机获取设置"}, {1028, L"從印表機獲取設置"}, {1041, L"Get from printer"}}) {
        SCOPED_TRACE(langId);
        sim.locale().SetUserDefaultUILanguage(langId);
        EXPECT_EQ(SimPageWindow().Control(tavrel::IDC_FETCH).text, fetch);
    }
}

TEST_F(DevicePageTest, TitlesArePaintedWithOneBoldFontOnTheBackgroundOfTheSystemVersion) {
    page->Paint();
    page->Paint();
    EXPECT_EQ(page->FontsMade(), 0) << "no title is visible yet";
    MenuEntry(1, L"101_PAPER", L"Paper");
    page->Click(tavrel::IDC_FETCH);
    page->Paint();
    page->Paint();
    EXPECT_EQ(page->FontsMade(), 1) << "one font for the page, not one per paint";
    EXPECT_EQ(page->LastTitleColour(), tavrel::PageColour::Window);

    SimPageWindow old;
    old.SetSystemMajorVersion(5);
    old.Create();
    EXPECT_EQ(old.Send(dk::WM_CTLCOLORSTATIC, 0, 0x10000 + 1049), 0x20000 + int(tavrel::PageColour::ButtonFace));
    EXPECT_EQ(old.Send(dk::WM_CTLCOLORSTATIC, 0, 0x10000 + 1062), 0) << "a value label keeps the default colours";
    old.Destroy();
    EXPECT_EQ(old.LiveFonts(), 0);
}

// ---- The settings program's command line.

struct ButtonCase {
    const char* name;
    int id;
    std::vector<std::wstring> tails;
};

TEST_F(DevicePageTest, EachButtonStartsTheProgramWithItsCommandLine) {
    const ButtonCase cases[] = {
        {"advanced", 1034, {L" 0"}},
        {"first group", 1035, {L" 1 0"}},
        {"last group", 1046, {L" 1 11"}},
        {"maintenance", 1047, {L" 99"}},
        {"fetch: menu, then values", 1074, {L" 102", L" 101"}},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = sim.processes().Started().size();
        page->Send(dk::WM_COMMAND, static_cast<dk::WPARAM>(c.id));
        std::vector<std::wstring> tails = Tails();
        tails.erase(tails.begin(), tails.begin() + static_cast<std::ptrdiff_t>(before));
        EXPECT_EQ(tails, c.tails);
    }
    page->Send(dk::WM_COMMAND, (1u << 16) | 1035u);
    page->Send(dk::WM_COMMAND, 1077);
    EXPECT_EQ(sim.processes().Started().size(), 6u) << "other notifications and ids start nothing";
}

TEST_F(DevicePageTest, TheProgramIsNamedByTheModelSettingsFile) {
    WriteSetting(L"GlobalSettings", L"MenuDisplayExe", L"Corventa");
    page->Send(dk::WM_COMMAND, 1047);
    ASSERT_EQ(sim.processes().Started().size(), 1u);
    EXPECT_EQ(sim.processes().Started()[0].commandLine, L"C:\\Drivers\\x64\\3\\Corventa \"Office VP-1\" 99");
}

// The sim's program runs to its end inside the start, so the test sees the order of the sheet's changes.
TEST_F(DevicePageTest, TheSheetIsHiddenForTheWaitThenBroughtToTheFront) {
    page->Send(dk::WM_COMMAND, 1036);
    EXPECT_TRUE(page->SheetVisible());
    EXPECT_EQ(page->SheetEvents(), (std::vector<std::string>{"hide", "show", "topmost", "notopmost"}));
}

TEST_F(DevicePageTest, AfterAGroupButtonTheValuesAreReadAgainWhetherOrNotTheProgramStarted) {
    for (const bool starts : {true, false}) {
        SCOPED_TRACE(starts);
        sim.processes().SetRunner([&](const std::wstring&) -> std::optional<std::uint32_t> {
            if (!starts) {
                return std::nullopt;
            }
            Write(ValuesFile(), L"CurrentValues", L"2", L"Fast");
            return 0;
        });
        const std::size_t eventsBefore = page->SheetEvents().size();
        Write(ValuesFile(), L"CurrentValues", L"0", starts ? L"A4" : L"A5");
        Write(StateFile(), L"PrinterInfo", L"PrinterName", L"VP-1");
        page->Send(dk::WM_COMMAND, 1037);
        EXPECT_EQ(Text(1062), starts ? L"A4" : L"A5");
        EXPECT_EQ(Text(1064), starts ? L"Fast" : L"") << "written by the program only when it ran";
        EXPECT_EQ(Text(tavrel::IDC_MODEL_NAME), L"VP-1");
        EXPECT_EQ(page->SheetEvents().size() - eventsBefore, starts ? 4u : 0u) << "a refused start leaves the sheet";
        sim.files().DeleteFile(ValuesFile());
    }
}

TEST_F(DevicePageTest, APrinterNameWithAQuoteIsNotPassedOn) {
    tavrel::SetThreadPrinterName(platform::threadState().CurrentThreadId(), L"Office \"VP\"");
    EXPECT_FALSE(tavrel::StartMenuProgram(*page, 99, -1));
    EXPECT_TRUE(sim.processes().Started().empty());
    EXPECT_TRUE(page->SheetEvents().empty());
}

TEST_F(DevicePageTest, WithoutAdministratorRightsTheProgramStartsThroughTheShell) {
    sim.processes().SetElevationRequired(true);
    EXPECT_TRUE(tavrel::StartMenuProgram(*page, 1, 4));
    auto started = sim.processes().Started();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_FALSE(started[0].started);
    EXPECT_TRUE(started[1].elevated);
    EXPECT_EQ(started[1].commandLine, std::wstring(kProgram) + L".exe \"Office VP-1\" 1 4");
    EXPECT_EQ(page->SheetEvents().size(), 4u) << "waited for with the sheet hidden, as a plain start";

    sim.processes().SetElevationConsent(false);
    EXPECT_FALSE(tavrel::StartMenuProgram(*page, 99, -1)) << "a refused consent is no start";
    EXPECT_EQ(page->SheetEvents().size(), 4u);

    // A program named with an extension keeps it.
    WriteSetting(L"GlobalSettings", L"MenuDisplayExe", L"Corventa.exe");
    sim.processes().SetElevationConsent(true);
    EXPECT_TRUE(tavrel::StartMenuProgram(*page, 99, -1));
    EXPECT_EQ(sim.processes().Started().back().commandLine, L"C:\\Drivers\\x64\\3\\Corventa.exe \"Office VP-1\" 99");
}

// Regression (a stale error): a start that failed for another reason after an earlier one had wanted administrator
// rights went through the shell as well.
TEST_F(DevicePageTest, OnlyAStartThatWantsAdministratorRightsGoesThroughTheShell) {
    sim.processes().SetRunner([](const std::wstring&) { return std::optional<std::uint32_t>(); });
    platform::threadState().SetLastError(platform::kErrorElevationRequired);
    EXPECT_FALSE(tavrel::StartMenuProgram(*page, 99, -1));
    ASSERT_EQ(sim.processes().Started().size(), 1u);
    EXPECT_FALSE(sim.processes().Started()[0].elevated);
    EXPECT_TRUE(page->SheetEvents().empty()) << "the sheet stays as it was";
}

// ---- The fetch.

struct PortCase {
    const char* name;
    const wchar_t* port;
    std::uint32_t attributes;
    const wchar_t* message;  // null: the fetch goes on
};

TEST_F(DevicePageTest, TheFetchNeedsAnOnlineUsbPort) {
    const PortCase cases[] = {
        {"lower-case usb", L"usb001", 0, nullptr},
        {"mixed-case usb", L"uSb003", 0, nullptr},
        {"parallel port", L"LPT1:", 0, L"The printer driver port do not support Printer Settings !"},
        {"usb not at the start", L"XUSB001", 0, L"The printer driver port do not support Printer Settings !"},
        {"offline", L"USB002", platform::kPrinterAttributeWorkOffline,
         L"The printer driver(port: USB002) is work offline now, please connect printer well."},
    };
    for (const PortCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(kPrinter, L"Maker VP-1 Series", c.port, c.attributes);
        const std::size_t before = sim.processes().Started().size();
        if (c.message) {
            sim.messageBoxes().ExpectBox({c.message, false, L"Notice"});
        }
        page->Click(tavrel::IDC_FETCH);
        EXPECT_EQ(sim.processes().Started().size() - before, c.message ? 0u : 2u);
    }
}

TEST_F(DevicePageTest, APrinterThatCannotBeOpenedFailsThePortCheck) {
    tavrel::SetThreadPrinterName(platform::threadState().CurrentThreadId(), L"Gone");
    sim.messageBoxes().ExpectBox({L"The printer driver port do not support Printer Settings !", false, L"Notice"});
    page->Click(tavrel::IDC_FETCH);
    EXPECT_TRUE(sim.processes().Started().empty());
}

TEST_F(DevicePageTest, TheFetchShowsTheSlotsTheMenuNamesWithTheirValues) {
    MenuEntry(1, L"101_PAPER", L"Paper", L"The paper size");
    MenuEntry(5, nullptr, L"Title without an icon");
    MenuEntry(8, L"NO_SUCH_PICTURE", L"Speed", L"How fast");
    MenuEntry(12, L"102_SPEED", L"Density");
    Write(ValuesFile(), L"CurrentValues", L"0", L"A4");
    Write(ValuesFile(), L"CurrentValues", L"11", L"Dark");
    Write(StateFile(), L"PrinterInfo", L"PrinterName", L"VP-1 Pro");

    page->Click(tavrel::IDC_FETCH);

    for (const int slot : {1, 8, 12}) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(Visible(tavrel::iRCBtn[slot]));
        EXPECT_TRUE(Visible(tavrel::iRCTitle[slot]));
        EXPECT_TRUE(Visible(tavrel::iRCValue[slot]));
        EXPECT_EQ(page->Control(tavrel::iRCBtn[slot]).toolTipWidth, 300);
    }
    for (const int slot : {2, 5, 13}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(Visible(tavrel::iRCBtn[slot]));
        EXPECT_FALSE(Visible(tavrel::iRCTitle[slot]));
    }
    EXPECT_FALSE(Visible(1066)) << "slot 5's value";
    EXPECT_FALSE(Visible(tavrel::IDC_MAINTENANCE_FRAME));
    EXPECT_EQ(Text(1049), L"Paper" + kBlanks);
    EXPECT_EQ(Text(1056), L"Speed" + kBlanks);
    EXPECT_EQ(page->ImageName(1035), L"101_PAPER");
    EXPECT_EQ(page->ImageName(1042), L"100_SETTINGS") << "the fallback for a name the module lacks";
    EXPECT_EQ(page->Control(1035).toolTip, L"The paper size");
    EXPECT_EQ(Text(1062), L"A4");
    EXPECT_EQ(Text(1069), L"") << "group 8 has no key 7";
    EXPECT_EQ(Text(1073), L"Dark");
    EXPECT_EQ(Text(tavrel::IDC_MODEL_NAME), L"VP-1 Pro");
}

TEST_F(DevicePageTest, ALaterFetchReplacesTheSlotsAndTheirBitmapsAndTips) {
    MenuEntry(1, L"101_PAPER", L"Paper", L"First note");
    MenuEntry(99, L"102_SPEED", L"Clean heads");
    page->Click(tavrel::IDC_FETCH);
    EXPECT_TRUE(Visible(1047));
    EXPECT_TRUE(Visible(1061));
    EXPECT_FALSE(Visible(tavrel::IDC_MAINTENANCE_FRAME)) << "the frame is never shown again";

    sim.files().DeleteFile(MenuFile());
    MenuEntry(1, L"102_SPEED", L"Speed", L"Second note");
    page->Click(tavrel::IDC_FETCH);
    EXPECT_FALSE(Visible(1047));
    EXPECT_EQ(page->ImageName(1035), L"102_SPEED");
    EXPECT_EQ(page->Control(1035).toolTip, L"Second note") << "the first tip is gone";
    EXPECT_EQ(page->LiveBitmaps(), 2u) << "slot 1's first bitmap was freed";

    page->Destroy();
    EXPECT_EQ(page->LiveBitmaps(), 0u);
    EXPECT_EQ(page->LiveToolTips(), 0u);
    EXPECT_EQ(page->LiveFonts(), 0);
}

TEST_F(DevicePageTest, WithoutAMenuFileEverySlotStaysHidden) {
    page->Click(tavrel::IDC_FETCH);
    for (int slot = 1; slot < tavrel::kSlotCount; ++slot) {
        EXPECT_FALSE(Visible(tavrel::iRCBtn[slot])) << slot;
    }
}

TEST_F(DevicePageTest, TheMenuIsReadInTheSystemLanguage) {
    const std::vector<std::pair<std::uint16_t, std::wstring>> cases = {{2052, L".CN"},  {5124, L".CN"}, {3076, L".CHT"},
                                                                       {1028, L".CHT"}, {1033, L".EN"}, {4100, L".EN"},
                                                                       {1041, L".EN"}};
    Write(MenuFile(), L"BaseItem03", L"Icon", L"101_PAPER");
    for (const auto& [langId, suffix] : cases) {
        SCOPED_TRACE(langId);
        sim.locale().SetSystemDefaultLangId(langId);
        EXPECT_EQ(tavrel::GetMenuLanguageSuffix(), suffix);
        Write(MenuFile(), L"BaseItem03", (L"Title" + suffix).c_str(), L"T" + suffix);
        Write(MenuFile(), L"BaseItem03", (L"Note" + suffix).c_str(), L"N" + suffix);
        std::wstring icon, title, note;
        EXPECT_TRUE(tavrel::ReadMenuEntry(kPrinter, 3, icon, title, note, tavrel::kEntryChars));
        EXPECT_EQ(title, L"T" + suffix + kBlanks);
        EXPECT_EQ(note, L"N" + suffix);
    }
}

// ---- The page's end.

TEST_F(DevicePageTest, DestroyingThePageDeletesTheValuesAndStateFilesButKeepsTheMenu) {
    Write(ValuesFile(), L"CurrentValues", L"0", L"A4");
    Write(StateFile(), L"PrinterInfo", L"PrinterName", L"VP-1");
    Write(MenuFile(), L"BaseItem01", L"Icon", L"101_PAPER");
    page->Destroy();
    EXPECT_FALSE(sim.files().FileExists(ValuesFile()));
    EXPECT_FALSE(sim.files().FileExists(StateFile()));
    EXPECT_TRUE(sim.files().FileExists(MenuFile()));
}

TEST_F(DevicePageTest, AThreadWithoutARecordActsOnNoPrinter) {
    Write(ValuesFile(), L"CurrentValues", L"0", L"A4");
    tavrel::RemoveThreadPrinterName(platform::threadState().CurrentThreadId());

    page->Send(dk::WM_COMMAND, 1035);
    EXPECT_TRUE(sim.processes().Started().empty());
    EXPECT_EQ(Text(1062), L"") << "emptied, not read";

    sim.messageBoxes().ExpectBox({L"The printer driver port do not support Printer Settings !", false, L"Notice"});
    page->Click(tavrel::IDC_FETCH);
    EXPECT_TRUE(sim.processes().Started().empty());

    page->Destroy();
    EXPECT_TRUE(sim.files().FileExists(ValuesFile()));
}

// ---- The resource script.

// The Windows build compiles the committed script; it must be what the page's table makes, so that the real
// dialog has the controls the sim shows. After a change to the table, copy the file this test writes.
TEST(PageResourceScript, TheCommittedScriptIsTheOneTheTableMakes) {
    std::ifstream committed(TAVREL_RESOURCE_SCRIPT, std::ios::binary);
    ASSERT_TRUE(committed) << TAVREL_RESOURCE_SCRIPT;
    std::stringstream text;
    text << committed.rdbuf();
    const std::string expected = tavrel::PageDialogResourceScript();
    if (text.str() != expected) {
        std::ofstream("Tavrel.rc.expected", std::ios::binary) << expected;
        FAIL() << "out of date: copy Tavrel.rc.expected from the test's working folder to " << TAVREL_RESOURCE_SCRIPT;
    }
}

}  // namespace
