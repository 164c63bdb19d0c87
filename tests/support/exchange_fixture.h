#pragma once
// The model's exchange tests: the model in use (g_SchemeOptions) loaded from a model settings file with every
// key at its default, a small base page, and a virtual printer on the sim's USB bus behind the spooler queue
// "Varintex WQ-472" (port USB001). Everything runs through the spooler, the port library and the worker
// thread, in virtual time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "Scheme.h"
#include "ThreadRWPrinter.h"
#include "WaitingWindowHook.h"
#include "model_test_support.h"
#include "platform/ini_file.h"
#include "platform/spooler.h"
#include "virtual_usb.h"
#include "vprinter/virtual_printer.h"

class ExchangeTest : public ModelTest {
protected:
    static constexpr wchar_t kPrinter[] = L"Varintex WQ-472";
    static constexpr wchar_t kDriver[] = L"Varintex WQ-472";

    void SetUp() override {
        ModelTest::SetUp();
        exchangeFolder = sim.files().TempFolder() + L"Varintex Printer\\";
        ASSERT_TRUE(sim.files().ForceDirectories(exchangeFolder));
        g_strPrinterName = kPrinter;
        g_strPrinterPath = exchangeFolder + kPrinter;
        g_strPrinterIni = g_strPrinterPath + L".ini";
        g_byPage = pgSingleItem;

        printer = &usb.PlugWithQueue(vprinter::makeIdentity("WQ-472", "SN0001", 1), kPrinter, kDriver);
        LoadModel(L"");
    }

    // A fresh model in use: [GlobalSettings] with the given keys (every other key at its default) and the
    // base page of kBaseMenu unless another menu is given.
    void LoadModel(const std::wstring& globalKeys, const std::wstring& menu = kBaseMenu) {
        PutIniFile(kSchemeFile, L"[GlobalSettings]\nMenuVersion=1\n" + globalKeys);
        PutIniFile(kMenuFile, menu);
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(kSchemeFile);
        g_SchemeOptions->LoadPrinterMenu(kMenuFile);
    }
    TSchemeOptions2& model() { return *g_SchemeOptions; }

    static platform::Bytes Hex(const std::string& text) { return HexBytes(text); }
    static platform::Bytes Cat(platform::Bytes a, const platform::Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    // The printer's next answer to the command it logs as `command`, in place of its own.
    void Script(const std::string& command, std::vector<platform::Bytes> reply) {
        printer->script({{command, std::move(reply)}});
    }

    std::vector<platform::sim::SimUsbCall> Calls(const std::string& operation) {
        return sim.portLibrary().Calls(operation);
    }
    // The time-out of every read that waits for a reply (a drain or a continuation read waits 100 ms at most).
    std::vector<std::int64_t> ReplyReadTimeOuts() {
        std::vector<std::int64_t> out;
        for (const auto& call : Calls("ReadPort")) {
            if (call.args[2] > 100) {
                out.push_back(call.args[2]);
            }
        }
        return out;
    }
    std::vector<platform::Bytes> Written() {
        std::vector<platform::Bytes> out;
        for (const auto& call : Calls("WritePort")) {
            out.push_back(call.data);
        }
        return out;
    }

    std::wstring State(const std::wstring& section, const std::wstring& key) {
        return platform::IniFile(g_strPrinterIni).ReadString(section, key, L"<none>");
    }

    std::uint64_t Now() { return sim.clock().Elapsed(); }

    // Four base items: code 24 of width 1, code 25 of width 2, code 26 a multi-select of width 3, and code 2a
    // written in lower case, of width 1.
    static constexpr wchar_t kBaseMenu[] =
        L"[BaseSection]\nItemCount=4\n"
        L"[BaseItem01]\nName=Spacing\nGetInstruction=24\nParameterCount=1\nRuleType=ENUM\n"
        L"Rule.EN=0=1/6 inch (4.23mm),1=1/8 inch (3.18mm),-2=Reverse\n"
        L"[BaseItem02]\nName=Length\nGetInstruction=25\nParameterCount=2\nRuleType=ENUM\nRule.EN=16=16 lines\n"
        L"[BaseItem03]\nName=Fonts\nGetInstruction=26\nParameterCount=3\nRuleType=ENUM\nRule.EN=1=A,2=B,3=C\n"
        L"[BaseItem04]\nName=Speed\nGetInstruction=2a\nParameterCount=1\nRuleType=ENUM\nRule.EN=0=Slow,1=Fast\n";

    std::wstring exchangeFolder;
    VirtualUsbPrinters usb{sim};
    vprinter::VirtualPrinter* printer = nullptr;
};
