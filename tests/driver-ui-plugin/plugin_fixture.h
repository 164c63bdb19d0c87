#pragma once
// A printer with a driver whose model settings file the test writes, a driver heap, and the plug-in's
// process-wide state checked clean after every test (objects released, thread records removed).

#include <gtest/gtest.h>

#include <string>

#include "com_server.h"
#include "platform/ini_file.h"
#include "sim_fixture.h"
#include "thread_printer_items.h"

class PluginTest : public SimTest {
protected:
    static constexpr const wchar_t* kPrinter = L"Office VP-1";
    // The model is the driver name after its first blank.
    static constexpr const wchar_t* kSettingsFile = L"C:\\Drivers\\x64\\3\\VP-1 Series_Settings.Dat";

    PluginTest() {
        sim.spooler().SetPrinterDriverDirectory(L"C:\\Drivers\\x64");
        sim.spooler().AddPrinter(kPrinter, L"Maker VP-1 Series", L"USB001");
        sim.files().ForceDirectories(L"C:\\Drivers\\x64\\3");
    }
    ~PluginTest() override {
        EXPECT_EQ(tavrel::g_cComponents.load(), 0) << "an object was left alive";
        EXPECT_EQ(tavrel::g_cServerLocks.load(), 0);
        for (const auto& item : tavrel::ThreadPrinterItems()) {
            tavrel::RemoveThreadPrinterName(item.dwThreadId);
        }
    }

    void WriteSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
        platform::IniFile(kSettingsFile).WriteString(section, key, value);
    }
};
