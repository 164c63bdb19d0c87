#pragma once
// The main window's tests: a start-up stand-in that makes the main window the main form of a start on a page
// (with the warning made hidden after it, as the program's entry does; the entry would install the real
// dialogs' openers over the recorders, and its whole start runs in tests/e2e), menus of n items per page written for the test,
// the virtual printer holding the base items, setting icons in the program's resources, and recorders in
// place of the dialogs that live in units of their own.

#include <string>
#include <utility>
#include <vector>

#include "MainDialogs.h"
#include "bitmap_file.h"
#include "dialog_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "uMain2.h"
#include "uWarning.h"

class MainWindowTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_GlobalString.CurrentValue = L"Now: ";
        g_GlobalString.ReadTimeout = L"ReadTimeout";
        g_GlobalString.MainCaption = L"MainCaption";
        g_GlobalString.PrinterNotOnline = L"PrinterNotOnline";
        g_GlobalString.mPrintQueue = L"mPrintQueue";
        g_GlobalString.OnlyForTechnical = L"OnlyForTechnical";
        g_slArguments.clear();
        const std::pair<TMainDialog, const wchar_t*> dialogs[] = {{TMainDialog::InkSet, L"TfrmInkSet"},
                                                                  {TMainDialog::Inquiry, L"TInquiry"},
                                                                  {TMainDialog::InkDry, L"TInkDry"},
                                                                  {TMainDialog::BMset, L"TBMset"}};
        for (const auto& [dialog, name] : dialogs) {
            SetMainDialogOpener(dialog, [this, name = std::wstring(name)] {
                opened.push_back(name + L" " + std::to_wstring(g_iItem) + (MainWindowShowing() ? L" shown" : L""));
            });
        }
        for (const wchar_t* icon : {L"100_SETTINGS", L"99_MAINTENANCE", L"00_ADVANCE", L"Ink_Clean", L"ICON"}) {
            AddIcon(icon, 48, 40);
        }
    }
    void TearDown() override {
        ClearMainDialogOpeners();
        g_slArguments.clear();
        DialogTest::TearDown();
    }

    static void AddIconTo(platform::sim::SimPlatform& platform, const std::wstring& name, int width, int height) {
        platform.resources().Add(name, platform::ResourceType::Bitmap, BitmapFile(width, height, 8));
    }
    void AddIcon(const std::wstring& name, int width, int height) { AddIconTo(sim, name, width, height); }

    // One item of a page: its read code and width, icon and rule; the printer holds it at value unless absent.
    struct MenuItem {
        std::uint8_t code = 0x30;
        std::uint32_t width = 1;
        std::wstring icon = L"ICON";
        std::wstring rule = L"0=Off,1=On";
        std::wstring name = L"Item";
        std::int32_t value = 0;
        bool inPrinter = true;
    };
    // n plain items with the codes first, first + 1, ...
    static std::vector<MenuItem> Items(int n, const std::wstring& icon = L"ICON", std::uint8_t first = 0x30) {
        std::vector<MenuItem> items;
        for (int i = 0; i < n; ++i) {
            items.push_back({.code = static_cast<std::uint8_t>(first + i), .icon = icon});
        }
        return items;
    }
    static std::wstring Section(const std::wstring& list,
                                const std::wstring& itemPrefix,
                                const std::vector<MenuItem>& items,
                                const std::wstring& titlePrefix) {
        std::wstring text = L"[" + list + L"]\nItemCount=" + std::to_wstring(items.size()) + L"\n";
        for (std::size_t i = 0; i < items.size(); ++i) {
            const MenuItem& item = items[i];
            const std::wstring code = platform::IntToHex(item.code, 2);
            text += platform::Format(L"[%s%.2d]\n", {itemPrefix, static_cast<std::int64_t>(i + 1)}) + L"Name=" +
                    item.name + L"\nIcon=" + item.icon + L"\nTitle.EN=" + titlePrefix + std::to_wstring(i) +
                    L"\nNote.EN=Note " + std::to_wstring(i) + L"\nGetInstruction=" + code +
                    L"\nSetInstruction=1B 1D 1E 04 " + code + L"\nParameterCount=" + std::to_wstring(item.width) +
                    L"\nRuleType=ENUM\nRule.EN=" + item.rule + L"\n";
        }
        return text;
    }
    // The page headers and the three pages in one model settings file, which is also port mode's default
    // scheme next to the program (with the options file that names it and the local ports); the model in use
    // is loaded from it and the printer holds the base items.
    void UseMenu(const std::vector<MenuItem>& base,
                 const std::vector<MenuItem>& maintenance = Items(0),
                 const std::vector<MenuItem>& advance = Items(0),
                 const std::wstring& globalKeys = L"",
                 const std::wstring& localPorts = L"LPT1  COM1  _USB") {
        const std::wstring scheme =
            L"[GlobalSettings]\nMenuVersion=0\n" + globalKeys +
            L"[BaseItemME]\nName=Settings\nIcon=100_SETTINGS\nTitle.EN=Printer settings\nNote.EN=Everyday settings\n"
            L"[BaseItem00]\nName=Advance\nIcon=00_ADVANCE\nTitle.EN=Advanced settings\nNote.EN=For technicians\n"
            L"[BaseItem99]\nName=Maintenance\nIcon=99_MAINTENANCE\nTitle.EN=Maintenance\nNote.EN=Ink care\n" +
            Section(L"BaseSection", L"BaseItem", base, L"Base ") +
            Section(L"MaintenanceSection", L"MaintenanceItem", maintenance, L"Care ") +
            Section(L"AdvanceSection", L"AdvanceItem", advance, L"Advanced ");
        PutIniFile(kProgramScheme, scheme);
        PutIniFile(kOptionsFile, L"[Settings]\nLocalPorts=" + localPorts + L"\nDefaultScheme=Test_Settings.Dat\n");
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(kProgramScheme);
        g_SchemeOptions->LoadPrinterMenu(kProgramScheme);
        for (const std::vector<MenuItem>* page : {&base, &maintenance, &advance}) {
            for (const MenuItem& item : *page) {
                DefineInPrinter(item);
            }
        }
    }
    void DefineInPrinter(const MenuItem& item) {
        if (!item.inPrinter) {
            return;
        }
        const std::string code = platform::WideToUtf8(platform::IntToHex(item.code, 2));
        const auto itemCode = vprinter::ItemCode::fromMenuTexts(code, "1B 1D 1E 04 " + code);
        ASSERT_TRUE(itemCode);
        printer->defineItem(*itemCode, static_cast<int>(item.width), item.value);
    }

    static constexpr wchar_t kProgramScheme[] = L"C:\\Program Files\\Varintex\\Test_Settings.Dat";
    static constexpr wchar_t kOptionsFile[] = L"C:\\Program Files\\Varintex\\Corventa.ini";

    // The start-up stand-in: a start on that page with the main window as the main form until it closes.
    void RunMainWindowStart(std::uint8_t page, platform::sim::UserScript script) {
        g_byStartPage = page;
        g_byPage = page;
        auto& app = platform::forms::application();
        app.CreateForm<TfrmMainView2>();
        app.CreateForm<TfrmWarning>();
        sim.forms().WhenModal(L"TfrmMainView2", std::move(script));
        app.Run();
        app.DestroyForms();
    }

    // The same window shown modally, for a table of cases in one test (a start's end ends the application
    // for good); the warning is made first and kept while it runs, as start-up makes it.
    void ShowMainWindow(std::uint8_t page, platform::sim::UserScript script) {
        g_byStartPage = page;
        g_byPage = page;
        auto warning = platform::forms::MakeForm<TfrmWarning>();
        auto main = platform::forms::MakeForm<TfrmMainView2>();
        sim.forms().WhenModal(L"TfrmMainView2", std::move(script));
        main->ShowModal();
    }

    // A slot's controls by slot number (from 1).
    static platform::forms::BitBtn* Button(platform::forms::Form& f, int n) {
        return f.Find<platform::forms::BitBtn>(platform::Format(L"btn%.2d", {static_cast<std::int64_t>(n)}));
    }
    static platform::forms::Label* Title(platform::forms::Form& f, int n) {
        return f.Find<platform::forms::Label>(platform::Format(L"lbl%.2d", {static_cast<std::int64_t>(n)}));
    }
    static platform::forms::Label* Value(platform::forms::Form& f, int n) {
        return f.Find<platform::forms::Label>(platform::Format(L"lbl%.2d2", {static_cast<std::int64_t>(n)}));
    }

    static TfrmMainView2& Main(platform::forms::Form& form) { return dynamic_cast<TfrmMainView2&>(form); }
    static bool MainWindowShowing() {
        platform::forms::Form* main = platform::forms::application().FindForm(L"TfrmMainView2");
        return main && main->Visible();
    }

    // What the recorders saw: the dialog, the item index, and whether the main window was showing meanwhile.
    std::vector<std::wstring> opened;
};
