#pragma once
// The settings program behind the driver's page: the stand-in driver host opens the plug-in's page, whose every
// process start runs the settings program's real entry with the command line the page built, from the driver
// folder. The model settings file there names the program and takes the menu from the printer.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "com_server.h"
#include "corventa_fixture.h"
#include "standin/driver_host_sim.h"
#include "thread_printer_items.h"

class DriverPageTest : public CorventaTest {
protected:
    void SetUp() override {
        CorventaTest::SetUp();
        // The model settings file in the driver folder, where both the plug-in and the program look for it: the
        // menu comes from the printer, and the page starts the program it names beside it.
        PutIniFile(kSchemeFile,
                   L"[GlobalSettings]\nMenuVersion=1\nPrinterName=Varintex WQ-472\nMenuDisplayExe=Corventa\n");
        PutFile(programFile, {'M', 'Z'});
        host.SetProgramRunner([this](const std::wstring& commandLine) -> std::optional<std::uint32_t> {
            // The path is not quoted; the start adds the extension to a name without one.
            const std::wstring path = commandLine.substr(0, commandLine.find(L' '));
            const std::wstring file = path.find(L'.', path.rfind(L'\\')) == std::wstring::npos ? path + L".exe" : path;
            if (!sim.files().FileExists(file)) {
                return std::nullopt;
            }
            sim.files().SetProgramPath(file);
            return static_cast<std::uint32_t>(Run(commandLine));
        });
    }
    void TearDown() override {
        EXPECT_EQ(tavrel::g_cComponents.load(), 0) << "an object of the plug-in was left alive";
        EXPECT_TRUE(tavrel::ThreadPrinterItems().empty()) << "the sheet's thread left its record";
        CorventaTest::TearDown();
    }

    const std::wstring programFolder = sim.spooler().PrinterDriverDirectory() + L"\\3\\";
    const std::wstring programFile = programFolder + L"Corventa.exe";
    tavrel::SimDriverHost host{sim, kPrinter};
};
