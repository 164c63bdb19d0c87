#pragma once
// The group dialogs' tests: the exchange fixture's model and virtual printer (queue "Varintex WQ-472" on
// USB001), a menu with three sub-groups whose items the printer knows too, the four invoice-type settings,
// and localised texts that tell every box apart.

#include <string>

#include "GlobalString.h"
#include "exchange_fixture.h"
#include "platform/sim/forms_headless.h"
#include "print_jobs.h"

class GroupDialogTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        AddPrintJobs(sim.resources());
        TGlobalString& s = g_GlobalString;
        s.HintTitle = L"Hint";
        s.ErrorTitle = L"Error";
        s.PrinterNotFound = L"No printer found.";
        s.PrinterNotFoundOnPort = L"No printer on port %s.";
        s.SetPrinterSuccess = L"Printer set.";
        s.SetPrinterFail = L"Setting the printer failed.";
        s.ParametersNoteTitle = L"Note";
        s.ParametersBtnSet = L"Set";
        s.ParametersBtnCancel = L"Cancel";
        s.ParametersBtnReturn = L"Return";
        s.Group64_Name1 = L"Top of form";
        s.Group64_Name2 = L"Booklet height";
        s.Group64_Name3 = L"Left margin";
        s.Group64_Name4 = L"Copy strength";
        s.Group64_btnDetect = L"Measure";
        s.Group64_Info = L"Booklet and card forms.";
        s.Inch = L"inch";
        s.Auto = L"Auto";
        s.Layer = L" layers";
        s.PutTheCard = L"Put the booklet in.";
        s.PaperLengthInvalid = L"The height is not a number.";
        LoadModel(L"", kGroupMenu);
        ResetPrinterItems();
    }

    // The printer's values as the menu's defaults give them.
    void ResetPrinterItems() {
        const std::wstring menu = kGroupMenu;
        printer->defineItemsFromMenu(platform::Bytes(menu.begin(), menu.end()));
    }
    // The invoice-type settings (the first two share their codes with sub-group 64's items).
    void DefineInvoiceItems(std::int32_t topOfForm,
                            std::int32_t height,
                            std::int32_t leftMargin,
                            std::int32_t copyStrength) {
        printer->defineItem(kTopOfForm, 2, topOfForm);
        printer->defineItem(kBookletHeight, 2, height);
        printer->defineItem(kLeftMargin, 1, leftMargin);
        printer->defineItem(kCopyStrength, 1, copyStrength);
    }
    static constexpr vprinter::ItemCode kTopOfForm{0x4B, 0x04, 0x13};
    static constexpr vprinter::ItemCode kBookletHeight{0x4D, 0x00, 0x1A};
    static constexpr vprinter::ItemCode kLeftMargin{0x0A, 0x00, 0x0B};
    static constexpr vprinter::ItemCode kCopyStrength{0x0F, 0x00, 0x10};

    // The bytes of the last port write (a settings write or a read command).
    platform::Bytes LastWrite() {
        const auto written = Written();
        return written.empty() ? platform::Bytes{} : written.back();
    }

    platform::sim::HeadlessForms& forms() { return sim.forms(); }

    // Sub-group 1: five items (two equal rule values, a width-3 item); sub-group 2: four items; sub-group 64:
    // a width-1 and a width-2 item whose printer values match no rule value, so nothing is selected at first.
    static constexpr wchar_t kGroupMenu[] =
        L"[BaseSection]\nItemCount=1\n"
        L"[BaseItem01]\nName=Forms\nGetInstruction=40\nSetInstruction=04 40\nRuleType=ENUM\n"
        L"Rule.EN=0=Plain,1=Booklet\nSubGroup=64\n"
        L"[SubGroup01]\nItemCount=5\n"
        L"[SubGroup01Item01]\nTitle.EN=Mode\nNote.EN=Plain note, 100 per cent.\nGetInstruction=61\n"
        L"SetInstruction=04 61\nRuleType=ENUM\nRule.EN=1=One,1=Uno,2=Two\nDefault=1\n"
        L"[SubGroup01Item02]\nTitle.EN=Fonts\nGetInstruction=62\nSetInstruction=04 62\nParameterCount=3\n"
        L"RuleType=ENUM\nRule.EN=10485760=First and third,5=Other\nDefault=5\n"
        L"[SubGroup01Item03]\nTitle.EN=Three\nGetInstruction=63\nSetInstruction=04 63\nRuleType=ENUM\n"
        L"Rule.EN=0=Off,1=On\n"
        L"[SubGroup01Item04]\nTitle.EN=Four\nGetInstruction=64\nSetInstruction=04 64\nRuleType=ENUM\n"
        L"Rule.EN=0=Off,1=On\n"
        L"[SubGroup01Item05]\nTitle.EN=Five\nGetInstruction=65\nSetInstruction=04 65\nRuleType=ENUM\n"
        L"Rule.EN=0=Off,1=On\n"
        L"[SubGroup02]\nItemCount=4\n"
        L"[SubGroup02Item01]\nTitle.EN=A\nGetInstruction=71\nSetInstruction=04 71\nRuleType=ENUM\nRule.EN=0=Off\n"
        L"[SubGroup02Item02]\nTitle.EN=B\nGetInstruction=72\nSetInstruction=04 72\nRuleType=ENUM\nRule.EN=0=Off\n"
        L"[SubGroup02Item03]\nTitle.EN=C\nGetInstruction=73\nSetInstruction=04 73\nRuleType=ENUM\nRule.EN=0=Off\n"
        L"[SubGroup02Item04]\nTitle.EN=D\nGetInstruction=74\nSetInstruction=04 74\nRuleType=ENUM\nRule.EN=0=Off\n"
        L"[SubGroup64]\nItemCount=2\n"
        L"[SubGroup64Item01]\nTitle.EN=Left margin\nNote.EN=Forms of kind %s: set both.\nGetInstruction=0A\n"
        L"SetInstruction=00 0B\nRuleType=ENUM\nRule.EN=0=None,3=3/10 inch,-1=Minus one\nDefault=9\n"
        L"[SubGroup64Item02]\nTitle.EN=Top of form\nGetInstruction=4B\nSetInstruction=04 13\nParameterCount=2\n"
        L"RuleType=ENUM\nRule.EN=0=0,-5=-5/60 inch,-300=-300/60 inch\nDefault=9\n";
};
