// The generic item's dialog: its whole command sent as it stands, and the chosen reply bytes shown in hex.
#include <gtest/gtest.h>

#include "UNormalSet.h"
#include "dialog_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

class NormalSetTest : public DialogTest {
protected:
    // The command reads item 24 back; the blanks and the line break around it are not part of it.
    static constexpr char kCommand[] = "1B 1D 1E 05 03 01 24 1B 1D 1F";
    static constexpr char kReply[] = "1B 1D 1E 05 03 01 24 02";

    // A base page whose item 0 is the generic item with the given rule and keys.
    void UseNormalSet(const std::wstring& rule, const std::wstring& extra = L"", const std::wstring& globals = L"") {
        LoadModel(globals, L"[BaseSection]\nItemCount=1\n[BaseItem01]\n" + extra +
                               L"Name=NormalSet\nNote.EN=Item note\nGetInstruction=24\n"
                               L"SetInstruction=  \t1B 1D 1E 05 03 01 24 1B 1D 1F \nRuleType=ENUM\nRule.EN=" +
                               rule + L"\n");
    }
    // The printer's answer to each of the two commands of one Set (the write and the read).
    void ReplyTwice(const std::string& reply) {
        printer->script({{"read 01 items", {Hex(reply)}}, {"read 01 items", {Hex(reply)}}});
    }
    // The printer answers only the second command of one Set, so that the reply read is exactly this one.
    void ReplyToTheRead(const std::string& reply) {
        printer->script({{"read 01 items", {}}, {"read 01 items", {Hex(reply)}}});
    }
    FormPtr<TNormalSet> RunModal(UserScript script) {
        auto dialog = MakeForm<TNormalSet>();
        sim.forms().WhenModal(L"TNormalSet", std::move(script));
        dialog->ShowModal();
        return dialog;
    }
};

TEST_F(NormalSetTest, RuleTitlesSixAndTwoShowTwoReplyBytesAndASecondSetAppendsThem) {
    UseNormalSet(L"0=6,1=2", L"Explain.EN=What comes back\n");
    ReplyTwice(kReply);
    ReplyTwice(kReply);
    auto dialog = RunModal(UserScript()
                               .Inspect([](Form& f) {
                                   auto& d = static_cast<TNormalSet&>(f);
                                   EXPECT_EQ(d.Caption(), L"ParametersCaption");
                                   EXPECT_EQ(d.lblInfo->Caption(), L"Item note");
                                   EXPECT_EQ(d.btnCancel->Caption(), L"ParametersBtnCancel");
                               })
                               .Click(L"btnSet")
                               .Inspect([](Form& f) {
                                   auto& d = static_cast<TNormalSet&>(f);
                                   EXPECT_EQ(d.lblReturn->Caption(), L"24 02 ");
                                   EXPECT_EQ(d.btnCancel->Caption(), L"ParametersBtnReturn");
                               })
                               .Click(L"btnSet")
                               .Click(L"btnCancel"));
    EXPECT_EQ(dialog->lblReturn->Caption(), L"24 02 24 02 ");
    EXPECT_EQ(dialog->m_iPrinterItemValue, L"24 02 24 02 ");
    // Each Set: the write, then the same command again for the reply; never a settings write sequence.
    EXPECT_EQ(printer->writes(), (std::vector<platform::Bytes>(4, Hex(kCommand))));
    EXPECT_EQ(printer->scriptLeft(), 0u);
    EXPECT_EQ(sim.forms().ApplicationTitle(), kPrinter);
}

TEST_F(NormalSetTest, TheRoadsWithoutAReadBack) {
    struct Case {
        const char* name;
        const wchar_t* port;
        std::uint32_t attributes;
        std::uint8_t page;
        const wchar_t* extra;
        platform::sim::ExpectedBox box;
        std::size_t usbWrites;
    };
    const Case cases[] = {
        {"a parallel port: a spooler job", L"LPT1:", 0, pgSingleItem, L"",
         Box(L"SetPrinterCantAffirm", L"HintTitle", MsgIcon::Information), 0},
        {"offline", L"USB001", platform::kPrinterAttributeWorkOffline, pgSingleItem, L"",
         Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error), 0},
        {"port mode: the port file", L"USB001", 0, pgBase, L"",
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), 0},
        {"an alignment item is not read back", L"USB001", 0, pgSingleItem, L"Icon=Ink_Adjust\n",
         Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information), 1},
    };
    g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseNormalSet(L"0=6,1=2", c.extra);
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, c.attributes);
        g_byPage = c.page;
        const std::size_t writesBefore = printer->writes().size();
        auto dialog = RunModal(UserScript().Click(L"btnSet").ExpectBox(c.box).PressEsc());
        EXPECT_EQ(printer->writes().size() - writesBefore, c.usbWrites);
        EXPECT_EQ(dialog->lblReturn->Caption(), L"");
        EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnCancel");
    }
    const auto jobs = sim.spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].docName, L"Printer setting job");
    EXPECT_EQ(jobs[0].bytes, Hex(kCommand));
    EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\ports\\LPT1.prn"), Hex(kCommand));
}

TEST_F(NormalSetTest, ASilentPrinterTimesOutUnlessReadsAreNoLongerAffirmed) {
    UseNormalSet(L"0=6,1=2");
    printer->faults().noReply = true;
    RunModal(
        UserScript().Click(L"btnSet").ExpectBox(Box(L"SetPrinterTimeout", L"HintTitle", MsgIcon::Error)).PressEsc());

    UseNormalSet(L"0=6,1=2", L"", L"AffirmReadDisable=1\n");
    auto dialog = RunModal(UserScript().Click(L"btnSet").PressEsc());
    EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnReturn");
    EXPECT_EQ(dialog->lblReturn->Caption(), L"");
}

TEST_F(NormalSetTest, OnlyBytesTheReplyHoldsAreShown) {
    struct Case {
        const char* name;
        const wchar_t* rule;
        const char* reply;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {"a short reply shows its part", L"0=6,1=2", "1B 1D 1E 05 03 01 24", L"24 "},
        {"a reply ending before the offset shows nothing", L"0=6,1=2", "1B 1D 1E 05", L""},
        {"no second title: to the end", L"0=5", kReply, L"01 24 02 "},
        {"no titles: the whole reply", L"", kReply, L"1B 1D 1E 05 03 01 24 02 "},
        {"a negative offset shows the part inside", L"0=-2,1=4", kReply, L"1B 1D "},
        {"a negative count shows nothing", L"0=1,1=-3", kReply, L""},
        {"the reply from its frame head on", L"0=0,1=3", "00 41 1B 1D 1E 05", L"1B 1D 1E "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseNormalSet(c.rule);
        ReplyToTheRead(c.reply);
        auto dialog = RunModal(UserScript().Click(L"btnSet").PressEsc());
        EXPECT_EQ(dialog->lblReturn->Caption(), c.shown);
        EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnReturn");
    }
}

TEST_F(NormalSetTest, ARuleTitleThatIsNoNumberEndsTheReadBackWithTheErrorBox) {
    UseNormalSet(L"0=six,1=2");
    ReplyTwice(kReply);
    auto dialog = RunModal(UserScript()
                               .Click(L"btnSet")
                               .ExpectBox({.text = L"'six' is not a valid integer value.", .icon = MsgIcon::Error})
                               .PressEsc());
    EXPECT_EQ(dialog->lblReturn->Caption(), L"");
    EXPECT_EQ(dialog->btnCancel->Caption(), L"ParametersBtnCancel");
}

}  // namespace
