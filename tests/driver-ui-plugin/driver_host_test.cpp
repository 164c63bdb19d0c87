// The plug-in as the driver drives it: loaded through its exports, the device sheet opened on a thread of
// its own, the page used there, applied and closed. The settings program is played by a small recorder that
// writes the exchange files as the real one does for the page codes it is started with.

#include <string>
#include <vector>

#include "page_dialog.h"
#include "platform/ini_file.h"
#include "plugin_fixture.h"
#include "standin/driver_host_sim.h"

namespace {

constexpr const wchar_t* kExchange = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\";

class DriverHostTest : public PluginTest {
protected:
    DriverHostTest() {
        sim.locale().SetUserDefaultUILanguage(1033);
        sim.locale().SetSystemDefaultLangId(1033);
        sim.resources().Add(L"100_SETTINGS", platform::ResourceType::Bitmap, {1});
        sim.files().ForceDirectories(kExchange);
        host.SetProgramRunner(
            [this](const std::wstring& commandLine) -> std::optional<std::uint32_t> { return Program(commandLine); });
    }

    // The settings program as far as the page sees it: the menu for 102, the values and the model for 101,
    // a new value of the item for "1 <item>".
    std::optional<std::uint32_t> Program(const std::wstring& commandLine) {
        started.push_back(commandLine);
        const std::wstring values = std::wstring(kExchange) + kPrinter;
        const std::wstring tail = commandLine.substr(commandLine.rfind(L'"') + 1);
        if (tail == L" 102") {
            platform::IniFile menu(values + L".DAT");
            menu.WriteString(L"BaseItem03", L"Icon", L"103_SPEED");
            menu.WriteString(L"BaseItem03", L"Title.EN", L"Speed");
        } else if (tail == L" 101") {
            platform::IniFile(values).WriteString(L"CurrentValues", L"2", L"Normal");
            platform::IniFile(values + L".ini").WriteString(L"PrinterInfo", L"PrinterName", L"VP-1");
        } else if (tail == L" 1 2") {
            platform::IniFile(values).WriteString(L"CurrentValues", L"2", L"Fast");  // the user's choice
        }
        return 0;
    }

    tavrel::SimDriverHost host{sim, kPrinter};
    std::vector<std::wstring> started;
};

TEST_F(DriverHostTest, AGroupButtonChangesASettingAndThePageShowsTheNewValue) {
    std::vector<std::wstring> shown;
    const auto run = host.ShowDeviceSheet([&](tavrel::SimPageWindow& page) {
        page.Click(tavrel::IDC_FETCH);
        shown.push_back(page.Control(1051).text);
        shown.push_back(page.Control(1064).text);
        shown.push_back(page.Control(tavrel::IDC_MODEL_NAME).text);
        EXPECT_TRUE(page.Click(1037)) << "group 3 is shown";
        shown.push_back(page.Control(1064).text);
    });

    EXPECT_EQ(run.propResult, driverkit::S_OK);
    EXPECT_EQ(run.sheetResult, driverkit::S_OK);
    EXPECT_EQ(run.pagesAdded, 1);
    EXPECT_EQ(run.headerTitle, L"OEM UI Page");
    EXPECT_EQ(run.setResult, 1u);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Speed" + std::wstring(21, L' '), L"Normal", L"VP-1", L"Fast"}));
    const std::wstring program = L"C:\\Drivers\\x64\\3\\VORodedezEvadezu \"Office VP-1\"";
    EXPECT_EQ(started, (std::vector<std::wstring>{program + L" 102", program + L" 101", program + L" 1 2"}));
    EXPECT_EQ(sim.processes().Started().size(), 3u) << "every start goes through the process facility";

    // The sheet's thread has ended: its record is gone and the page's exchange files with it.
    EXPECT_TRUE(tavrel::ThreadPrinterItems().empty());
    EXPECT_FALSE(sim.files().FileExists(std::wstring(kExchange) + kPrinter));
    EXPECT_TRUE(sim.files().FileExists(std::wstring(kExchange) + kPrinter + L".DAT"));
}

}  // namespace
