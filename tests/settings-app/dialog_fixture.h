#pragma once
// The tests of the setting dialogs and their shared printer methods: the model in use loaded with a one-item
// base page that a test describes, the printer behind the queue "Varintex WQ-472" (USB001) holding that item,
// and the program's texts set to their own key names (so that a box reads "SetPrinterFail").

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "exchange_fixture.h"
#include "platform/sim/message_box_sim.h"
#include "print_jobs.h"

class DialogTest : public ExchangeTest {
protected:
    static constexpr wchar_t kSet[] = L"1B 1D 1E 04 24";
    // The enter and save frames around every settings write, and the instruction tail.
    static constexpr char kEnter[] = "1B 1D 1E 05 01 1B 1D 1F";
    static constexpr char kTail[] = "1B 1D 1F";
    static constexpr char kSave[] = "1B 1D 1E 05 02 1B 1D 1F";

    void SetUp() override {
        ExchangeTest::SetUp();
        AddPrintJobs(sim.resources());
        for (const auto& [name, field] : kGlobalStringFields) {
            g_GlobalString.*field = name;
        }
        g_GlobalString.PrinterNotFoundOnPort = L"PrinterNotFoundOnPort(%s)";
        g_byStartPage = pgSingleItem;
        g_iItem = 0;
    }
    // Base item 0 of the given width and ENUM rule; extra holds further keys ("SubGroup=1\n"), which come first
    // and so win over the defaults (the first of two equal keys counts). The printer
    // holds the item at `value`.
    void UseItem(std::uint32_t width,
                 const std::wstring& rule,
                 std::int32_t value = 0,
                 const std::wstring& extra = L"",
                 const std::wstring& globalKeys = L"") {
        const std::wstring menu = L"[BaseSection]\nItemCount=1\n[BaseItem01]\n" + extra +
                                  L"Name=Item\nTitle.EN=Item title\n"
                                  L"Note.EN=Item note\nGetInstruction=24\nSetInstruction=" +
                                  std::wstring(kSet) + L"\nParameterCount=" + std::to_wstring(width) +
                                  L"\nRuleType=ENUM\nRule.EN=" + rule + L"\n";
        LoadModel(globalKeys, menu);
        const std::wstring setInstruction = Item().SetInstruction;
        const auto code =
            vprinter::ItemCode::fromMenuTexts("24", std::string(setInstruction.begin(), setInstruction.end()));
        ASSERT_TRUE(code);
        printer->defineItem(*code, width == 0 ? 1 : static_cast<int>(width), value);
    }

    // A rule of n options 0 to n - 1.
    static std::wstring Options(int n) {
        std::wstring rule;
        for (int i = 0; i < n; ++i) {
            rule += (i ? L"," : L"") + std::to_wstring(i) + L"=Option " + std::to_wstring(i);
        }
        return rule;
    }

    // The settings write sequences the printer received (writes that begin with the enter frame).
    std::vector<platform::Bytes> SetWrites() {
        std::vector<platform::Bytes> out;
        const platform::Bytes enter = Hex(kEnter);
        for (const platform::Bytes& write : printer->writes()) {
            if (write.size() >= enter.size() && std::equal(enter.begin(), enter.end(), write.begin())) {
                out.push_back(write);
            }
        }
        return out;
    }
    // The sequence for one item command of kSet followed by the value bytes.
    static platform::Bytes Sequence(const std::string& valueBytes) {
        return Hex(std::string(kEnter) + " 1B 1D 1E 04 24 " + valueBytes + " " + kTail + " " + kSave);
    }

    TSettingItem Item() { return model().GetItem(pgSingleItem, 0); }

    static platform::sim::ExpectedBox Box(std::wstring text, std::wstring caption, platform::MsgIcon icon) {
        return {.text = std::move(text), .caption = std::move(caption), .icon = icon};
    }

    static inline const std::pair<const wchar_t*, std::wstring TGlobalString::*> kGlobalStringFields[] = {
        {L"HintTitle", &TGlobalString::HintTitle},
        {L"ErrorTitle", &TGlobalString::ErrorTitle},
        {L"PrinterNotFound", &TGlobalString::PrinterNotFound},
        {L"PrinterStatusError", &TGlobalString::PrinterStatusError},
        {L"SetPrinterSuccessI", &TGlobalString::SetPrinterSuccessI},
        {L"SetPrinterFail", &TGlobalString::SetPrinterFail},
        {L"SetPrinterTimeout", &TGlobalString::SetPrinterTimeout},
        {L"SetPrinterCantAffirm", &TGlobalString::SetPrinterCantAffirm},
        {L"SetPrinterFailRetry", &TGlobalString::SetPrinterFailRetry},
        {L"HaveToSelectAnItem", &TGlobalString::HaveToSelectAnItem},
        {L"CanSelectAnItem", &TGlobalString::CanSelectAnItem},
        {L"CanSelectMultiItem", &TGlobalString::CanSelectMultiItem},
        {L"ParametersCaption", &TGlobalString::ParametersCaption},
        {L"ParametersTitle", &TGlobalString::ParametersTitle},
        {L"ParametersNoteTitle", &TGlobalString::ParametersNoteTitle},
        {L"ParametersBtnSet", &TGlobalString::ParametersBtnSet},
        {L"ParametersBtnCancel", &TGlobalString::ParametersBtnCancel},
        {L"ParametersBtnReturn", &TGlobalString::ParametersBtnReturn},
        {L"ParametersBtnDefault", &TGlobalString::ParametersBtnDefault},
        {L"ParametersBtnOK", &TGlobalString::ParametersBtnOK},
        {L"btnInkset", &TGlobalString::btnInkset},
        {L"btnInkPrn", &TGlobalString::btnInkPrn},
        {L"Back", &TGlobalString::Back},
        {L"BtnClean", &TGlobalString::BtnClean},
    };
};
