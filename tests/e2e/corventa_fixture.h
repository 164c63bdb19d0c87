#pragma once
// The settings program run whole on the sim, as the plug-in starts it: the printer "Varintex WQ-472" on USB001
// behind its spooler queue, holding the items of the shipped impact model, whose model settings file lies in
// the printer-driver folder; the program's own resources; the options file and default scheme beside the
// program for port mode. A start sets the command line through the platform and runs the program's entry.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "Corventa.h"
#include "GlobalString.h"
#include "StartUp.h"
#include "ThreadRWPrinter.h"
#include "exchange_fixture.h"
#include "kCorventaResources.h"
#include "platform/ini_file.h"
#include "platform/sim/forms_headless.h"
#include "platform/sim/message_box_sim.h"
#include "uSetItem.h"

class CorventaTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount);
        // The texts the program will show, in the system's language.
        ASSERT_TRUE(LoadGlobalStrings(L"RESSTRING"));
        texts = g_GlobalString;
        g_GlobalString = TGlobalString{};

        impactModel = Sample("WQ-472_Settings.Dat");
        PutFile(kSchemeFile, impactModel);
        ASSERT_GT(printer->defineItemsFromMenu(impactModel), 12u);
        const std::wstring program = sim.files().ProgramPath();
        const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
        PutFile(folder + L"Corventa.ini", Sample("Corventa.ini"));
        PutFile(folder + L"WQ-472_Settings.Dat", impactModel);
        printer->setMenuFile(impactModel);
    }

    static platform::Bytes Sample(const std::string& name) {
        std::ifstream in(std::string(CORVENTA_SAMPLES_DIR) + "/" + name, std::ios::binary);
        EXPECT_TRUE(in) << name;
        return platform::Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // The shipped model settings file with MenuVersion 1 in place of 0: its menu then comes from the printer.
    void UseMenuFromPrinter(int menuVersion = 1) {
        PutIniFile(kSchemeFile, L"[GlobalSettings]\nMenuVersion=" + std::to_wstring(menuVersion) +
                                    L"\nPrinterName=Varintex WQ-472\n");
    }

    // The program started with these arguments after its path, as the plug-in starts it.
    int Start(const std::wstring& arguments) {
        return Run(L"\"C:\\Program Files\\Varintex\\Corventa.exe\"" + arguments);
    }
    // The program started with this whole command line.
    int Run(const std::wstring& commandLine) {
        sim.processes().SetCommandLine(commandLine);
        firstLoop = sim.forms().Loops().size();
        // A fresh process: nothing of the fixture's or an earlier start's values.
        ResetSettingsAppGlobals();
        ResetSchemeGlobals();
        ResetPrinterLinkGlobals();
        return CorventaMain();
    }

    std::wstring ValuesFile() const { return exchangeFolder + kPrinter; }
    std::wstring MenuFile() const { return ValuesFile() + L".DAT"; }
    std::wstring StateFile() const { return ValuesFile() + L".ini"; }

    // The classes of the event loops the last start went through: the windows the user saw.
    std::vector<std::wstring> Windows() {
        std::vector<std::wstring> out;
        const auto& loops = sim.forms().Loops();
        for (std::size_t i = firstLoop; i < loops.size(); ++i) {
            out.push_back(loops[i].className);
        }
        return out;
    }
    // Every form of the application in creation order, each followed by " shown" when it is visible.
    static std::vector<std::wstring> Forms() {
        std::vector<std::wstring> out;
        for (const platform::forms::Form* form : platform::forms::application().Forms()) {
            out.push_back(form->ClassName() + (form->Visible() ? L" shown" : L""));
        }
        return out;
    }

    platform::sim::ExpectedBox Box(const std::wstring& text, const std::wstring& caption) {
        return {.text = text, .caption = caption, .icon = platform::MsgIcon::Error};
    }

    // The road's user: line spacing (read code 21, set frame 1B 1D 1E 00 03), base item 0, stands at 1/8 inch
    // in the printer; the item dialog shows that, the user picks 1/3 inch, presses Set and answers the success.
    void UserSetsLineSpacing() {
        lineSpacing = vprinter::ItemCode::fromMenuTexts("21", "1B 1D 1E 00 03");
        ASSERT_TRUE(lineSpacing);
        printer->defineItem(*lineSpacing, 1, 1);
        sim.forms().WhenModal(L"TfrmSetItem", platform::sim::UserScript()
                                                  .Inspect([](platform::forms::Form& form) {
                                                      auto& dialog = dynamic_cast<TfrmSetItem&>(form);
                                                      EXPECT_EQ(dialog.lst2->ItemIndex(), 1) << "the printer's value";
                                                  })
                                                  .Pick(L"lst2", 2)
                                                  .Click(L"btnSet")
                                                  .ExpectBox(texts.SetPrinterSuccessI));
    }

    TGlobalString texts;
    std::optional<vprinter::ItemCode> lineSpacing;  // set by UserSetsLineSpacing
    std::size_t firstLoop = 0;
    platform::Bytes impactModel;
};
