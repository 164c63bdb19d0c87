// The black-mark dialog as a user meets it: the three switches read when it shows, each button's command on
// the wire of the virtual printer, the length fields with their units and ranges, and the end of the program
// once the dialog is freed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "platform/spooler.h"
#include "uBMset.h"

namespace {

using platform::MsgIcon;
using platform::sim::ExpectedBox;
using platform::sim::UserScript;
using namespace platform::forms;

constexpr char kEnterSave[] = "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F";

class BMsetTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_GlobalString.InkFinish = L"InkFinish";
        printer->defineBlackMark(1, 1, 1);
    }
    void TearDown() override { BMset = nullptr; }

    // The dialog shown modally with the scripted user's steps. It stays until the test ends: freeing it ends
    // the program, after which no further dialog could wait for its user.
    TBMset& RunModal(UserScript script) {
        auto dialog = MakeForm<TBMset>();
        sim.forms().WhenModal(L"TBMset", std::move(script));
        dialog->ShowModal();
        dialogs_.push_back(std::move(dialog));
        return *dialogs_.back();
    }

    static std::vector<Button*> SensingButtons(const TBMset& d) {
        return {d.btnMode0, d.btnMode1, d.btnON2, d.btnOFF2, d.btnBMhead, d.btnLock};
    }
    static void ExpectSensingButtons(const TBMset& d, bool enabled) {
        for (const Button* button : SensingButtons(d)) {
            EXPECT_EQ(button->Enabled(), enabled) << platform::WideToUtf8(button->Name());
        }
    }
    static void ExpectLabels(const TBMset& d, const wchar_t* sensing, const wchar_t* mode, const wchar_t* lock) {
        EXPECT_EQ(d.lblnBMset->Caption(), sensing);
        EXPECT_EQ(d.lblnBMmode->Caption(), mode);
        EXPECT_EQ(d.lblnLock->Caption(), lock);
    }
    // The writes after the read at show (every write that is not the read command).
    std::vector<platform::Bytes> CommandWrites() {
        std::vector<platform::Bytes> out;
        for (const platform::Bytes& write : printer->writes()) {
            if (write != Hex("1B 1D 1E 05 03 03 24 4F 50 1B 1D 1F")) {
                out.push_back(write);
            }
        }
        return out;
    }
    // Typing that replaces a field's text.
    static std::wstring Replacing(const std::wstring& current, const std::wstring& text) {
        return std::wstring(current.size(), L'\b') + text;
    }

    static ExpectedBox Notice(const wchar_t* text) { return Box(text, L"Notice", MsgIcon::Information); }
    static ExpectedBox Finished() { return Box(L"InkFinish", L"HintTitle", MsgIcon::Question); }

    std::vector<FormPtr<TBMset>> dialogs_;
};

TEST_F(BMsetTest, ShowingReadsTheThreeSwitchesIntoTheLabelsAndTheButtonsFollowSensing) {
    struct Case {
        const char* name;
        std::uint8_t sensing, mode, lock;
        std::int32_t value;
        const wchar_t* labels[3];
    };
    const Case cases[] = {
        {"all on", 1, 1, 1, 111, {L"开", L"模式1", L"开"}},
        {"all off", 0, 0, 0, 0, {L"关", L"模式0", L"关"}},
        {"sensing alone", 1, 0, 0, 100, {L"开", L"模式0", L"关"}},
        {"a value outside the table reads as off", 2, 0, 1, 201, {L"关", L"模式0", L"关"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->defineBlackMark(c.sensing, c.mode, c.lock);
        TBMset& d = RunModal(UserScript().PressEsc());
        EXPECT_EQ(d.m_iPrinterItemValue, c.value);
        ExpectLabels(d, c.labels[0], c.labels[1], c.labels[2]);
        ExpectSensingButtons(d, c.labels[0] == std::wstring(L"开"));
        EXPECT_EQ(g_strLocalPortFile, L"USB001") << "the printer's port is kept";
    }
    EXPECT_EQ(printer->writes().front(), Hex("1B 1D 1E 05 03 03 24 4F 50 1B 1D 1F"));
}

// Byte 14 is the last one read: a reply that ends before it decodes to nothing.
TEST(BMsetReply, DecodesBytes8_11And14OnlyWhenTheReplyHoldsThem) {
    const platform::Bytes reply = HexBytes("1B 1D 1E 05 03 02 24 01 01 4F 01 00 50 01 01 1B 1D 1F");
    const auto length = static_cast<std::int32_t>(reply.size());
    EXPECT_EQ(DecodeBlackMarkReply(reply.data(), length), 101);
    EXPECT_EQ(DecodeBlackMarkReply(reply.data(), 15), 101);
    EXPECT_EQ(DecodeBlackMarkReply(reply.data(), 14), std::nullopt);
    EXPECT_EQ(DecodeBlackMarkReply(reply.data(), 0), std::nullopt);
    EXPECT_EQ(DecodeBlackMarkReply(nullptr, length), std::nullopt);
}

TEST_F(BMsetTest, TheWaitingWindowStaysElevenPassesAfterTheRead) {
    std::int32_t value = 0;
    std::uint64_t start = Now();
    ASSERT_TRUE(
        dialogs::GetItemValueFromUSBPrinterI(0, L"1B 1D 1E 05 03 03 24 4F 50 1B 1D 1F", DecodeBlackMarkReply, value));
    const std::uint64_t read = Now() - start;
    start = Now();
    std::uint64_t shown = 0;
    RunModal(UserScript().Inspect([&](Form&) { shown = Now() - start; }).PressEsc());
    EXPECT_EQ(shown, read + 110);
}

TEST_F(BMsetTest, AFailedReadLeavesTheLabelsAndReportsAsTheFamilyDoes) {
    struct Case {
        const char* name;
        const wchar_t* port;  // the queue's port
        bool offline;
        const wchar_t* globalKeys;
        std::optional<ExpectedBox> box;
        bool reads;
    };
    const Case cases[] = {
        {"a reply too short for byte 14", L"USB001", false, L"",
         Box(L"PrinterStatusError", L"ErrorTitle", MsgIcon::Warning), true},
        {"too short, reads no longer affirmed", L"USB001", false, L"AffirmReadDisable=1\n", std::nullopt, true},
        {"offline", L"USB001", true, L"", Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error), false},
        {"a port the library does not list", L"USB009", false, L"",
         Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error), false},
        {"not a USB port: no read, no box", L"LPT1:", false, L"", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadModel(c.globalKeys);
        printer->defineBlackMark(0, 0, 0);
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        if (c.reads) {
            // Only bytes 8 and 11 arrive.
            Script("read 03 items", {Hex("1B 1D 1E 05 03 00 24 01 00 1B 1D 1F")});
        }
        if (c.box) {
            sim.messageBoxes().ExpectBox(*c.box);
        }
        const std::size_t before = printer->writes().size();
        TBMset& d = RunModal(UserScript().PressEsc());
        ExpectLabels(d, L"开", L"模式1", L"开");
        ExpectSensingButtons(d, true);
        EXPECT_EQ(printer->writes().size(), before + (c.reads ? 1 : 0));
        EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
        EXPECT_EQ(printer->scriptLeft(), 0u);
    }
}

TEST_F(BMsetTest, TheSwitchButtonsSendTheirSequenceAndChangeTheirLabelAfterTheBox) {
    struct Case {
        const char* name;
        const wchar_t* button;
        const char* frame;
        std::uint8_t sensing, mode, lock;  // before
        const wchar_t* labels[3];          // after
        bool buttonsAfter;
    };
    const Case cases[] = {
        {"sensing on", L"btnON", "1B 1D 1E 02 0C 01 1B 1D 1F", 0, 0, 0, {L"开", L"模式0", L"关"}, true},
        {"sensing off", L"btnOff", "1B 1D 1E 02 0C 00 1B 1D 1F", 1, 1, 1, {L"关", L"模式1", L"开"}, false},
        {"mode 0", L"btnMode0", "1B 1D 1E 04 22 00 1B 1D 1F", 1, 1, 1, {L"开", L"模式0", L"开"}, true},
        {"mode 1", L"btnMode1", "1B 1D 1E 04 22 01 1B 1D 1F", 1, 0, 0, {L"开", L"模式1", L"关"}, true},
        {"lock on", L"btnON2", "1B 1D 1E 04 25 01 1B 1D 1F", 1, 0, 0, {L"开", L"模式0", L"开"}, true},
        {"lock off", L"btnOFF2", "1B 1D 1E 04 25 00 1B 1D 1F", 1, 1, 1, {L"开", L"模式1", L"关"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->defineBlackMark(c.sensing, c.mode, c.lock);
        const std::size_t before = CommandWrites().size();
        TBMset& d = RunModal(UserScript().Click(c.button).ExpectBox(Finished()).PressEsc());
        ExpectLabels(d, c.labels[0], c.labels[1], c.labels[2]);
        ExpectSensingButtons(d, c.buttonsAfter);
        const std::vector<platform::Bytes> writes = CommandWrites();
        ASSERT_EQ(writes.size(), before + 1);
        EXPECT_EQ(writes.back(), Hex(std::string("1B 1D 1E 05 01 1B 1D 1F ") + c.frame + " 1B 1D 1E 05 02 1B 1D 1F"));
    }
    EXPECT_EQ(printer->itemValue(vprinter::kBlackMarkLock), 0) << "the printer took the last one";
}

TEST_F(BMsetTest, AFailedWriteKeepsTheLabels) {
    TBMset& d = RunModal(UserScript()
                             .Inspect([&](Form&) { printer->faults().shortWrite = 4; })
                             .Click(L"btnOff")
                             .ExpectBox(Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error))
                             .PressEsc());
    ExpectLabels(d, L"开", L"模式1", L"开");
    ExpectSensingButtons(d, true);
    EXPECT_EQ(printer->itemValue(vprinter::kBlackMarkSensing), 1);
}

// The offset goes as the unframed receipt command GS ( F, low byte first, in units of 0.176 mm; the distance in
// the tear distance frame, high byte first, in 1/144 inch counted from 47 mm before the mark.
TEST_F(BMsetTest, TheLengthButtonsCheckTheirFieldAndSendItInItsUnits) {
    const std::string offset = "1D 28 46 04 00 01 00 ";
    const std::string distance = "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 24 ";
    const std::string distanceEnd = " 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F";
    const std::string offsetEnd = std::string(" 1B 40 ") + kEnterSave;
    const ExpectedBox outOfRange = Notice(L"设置的数值超出范围！(0~297mm)");
    struct Case {
        const char* name;
        const wchar_t* field;
        const wchar_t* text;
        std::optional<std::string> bytes;  // nullopt: nothing sent
        std::optional<ExpectedBox> box;    // nullopt: the finish box
    };
    const Case cases[] = {
        {"offset 298 is accepted", L"edtBMhead", L"298", offset + "9D 06" + offsetEnd, std::nullopt},
        {"offset 10", L"edtBMhead", L"10", offset + "39 00" + offsetEnd, std::nullopt},
        {"offset 0", L"edtBMhead", L"0", offset + "00 00" + offsetEnd, std::nullopt},
        {"offset 298.5", L"edtBMhead", L"298.5", std::nullopt, outOfRange},
        {"offset -1", L"edtBMhead", L"-1", std::nullopt, outOfRange},
        {"offset empty", L"edtBMhead", L"", std::nullopt, Notice(L"请输入黑标起始打印位")},
        {"offset not a number: the error report", L"edtBMhead", L"1O", std::nullopt,
         ExpectedBox{.text = L"'1O' is not a valid number", .part = true, .icon = MsgIcon::Error}},
        {"distance 0", L"edtLock", L"0", distance + "01 0A" + distanceEnd, std::nullopt},
        {"distance 298", L"edtLock", L"298", distance + "07 A4" + distanceEnd, std::nullopt},
        {"distance 279", L"edtLock", L"279", distance + "07 38" + distanceEnd, std::nullopt},
        {"distance 298.5", L"edtLock", L"298.5", std::nullopt, outOfRange},
        {"distance -1", L"edtLock", L"-1", std::nullopt, outOfRange},
        {"distance empty", L"edtLock", L"", std::nullopt, Notice(L"请输入黑标页长")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool isOffset = c.field == std::wstring(L"edtBMhead");
        const std::size_t before = CommandWrites().size();
        UserScript script;
        script.Type(c.field, Replacing(isOffset ? L"0" : L"279", c.text))
            .Click(isOffset ? L"btnBMhead" : L"btnLock")
            .ExpectBox(c.box ? *c.box : Finished());
        RunModal(script.PressEsc());
        const std::vector<platform::Bytes> writes = CommandWrites();
        if (!c.bytes) {
            EXPECT_EQ(writes.size(), before);
            continue;
        }
        ASSERT_EQ(writes.size(), before + 1);
        EXPECT_EQ(writes.back(), Hex(*c.bytes));
    }
    // The printer keeps what came last of each.
    EXPECT_EQ(printer->printStartOffset(), 0);
    EXPECT_EQ(printer->tearDistance(), 0x0738);
}

TEST_F(BMsetTest, TheFieldsStartFromTheModelsLengths) {
    LoadModel(L"LenBM=12\nLenLock=250\n");
    auto dialog = MakeForm<TBMset>();
    EXPECT_EQ(dialog->edtBMhead->Text(), L"12");
    EXPECT_EQ(dialog->edtLock->Text(), L"250");
    EXPECT_EQ(dialog->Caption(), L"黑标设置");
    EXPECT_EQ(dialog->ClientRect().Width(), 424);
    EXPECT_EQ(dialog->ClientRect().Height(), 437);

    LoadModel(L"");
    dialog = MakeForm<TBMset>();
    EXPECT_EQ(dialog->edtBMhead->Text(), L"0");
    EXPECT_EQ(dialog->edtLock->Text(), L"279");
}

TEST_F(BMsetTest, PortModeWritesThePortFileAndChangesNothingOnTheWindow) {
    g_byPage = pgBase;
    g_strPrinterName = L"";
    g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    TBMset& d = RunModal(UserScript()
                             .Click(L"btnOff")
                             .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                             .PressEsc());
    ExpectLabels(d, L"开", L"模式1", L"开");
    ExpectSensingButtons(d, true);
    EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\ports\\LPT1.prn"),
              Hex("1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 02 0C 00 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F"));
    EXPECT_TRUE(printer->writes().empty());
}

TEST_F(BMsetTest, APrinterOffTheLibrarysListIsRefusedWithNothingSent) {
    struct Case {
        const char* name;
        const wchar_t* port;
        bool offline;
        std::vector<ExpectedBox> boxes;  // at show, then at the button
    };
    const Case cases[] = {
        {"a parallel port", L"LPT1:", false, {Box(L"PrinterNotFoundOnPort(LPT1:)", L"ErrorTitle", MsgIcon::Error)}},
        {"an unlisted USB port",
         L"USB009",
         false,
         {Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error),
          Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error)}},
        {"offline",
         L"USB001",
         true,
         {Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error),
          Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        if (c.boxes.size() > 1) {
            sim.messageBoxes().ExpectBox(c.boxes.front());
        }
        RunModal(UserScript().Click(L"btnOff").ExpectBox(c.boxes.back()).PressEsc());
        EXPECT_TRUE(printer->writes().empty());
        EXPECT_TRUE(printer->jobs().empty());
    }
}

// A stand-in for the main window's start: its creation opens the black-mark dialog for an "OTH Set" item before
// the window itself shows, as the main window does.
class TMainStandIn : public Form {
public:
    explicit TMainStandIn(std::vector<std::wstring>& events)
        : Form(L"TfrmMainView2", {.OnCreate = &TMainStandIn::FormCreate, .OnShow = &TMainStandIn::FormShow}),
          events_(events) {}
    void FormCreate() {
        if (g_SchemeOptions->GetItem(g_byPage, g_iItem).Name == L"OTH Set") {
            Hide();
            ShowBlackMarkDialog();
            Show();
        }
    }
    void FormShow() { events_.push_back(L"main window shows"); }

private:
    std::vector<std::wstring>& events_;
};

TEST_F(BMsetTest, OthSetOpensTheDialogBeforeTheMainWindowAndFreeingItEndsTheProgram) {
    UseItem(1, Options(2), 0, L"Name=OTH Set\n");
    printer->defineBlackMark(1, 0, 1);
    g_byStartPage = pgBase;
    g_byPage = pgBase;
    std::vector<std::wstring> events;
    sim.forms().WhenModal(L"TBMset", UserScript()
                                         .Inspect([&](Form& f) {
                                             events.push_back(L"black-mark dialog shows " +
                                                              static_cast<TBMset&>(f).lblnBMmode->Caption());
                                         })
                                         .Click(L"btnOK"));
    auto& app = application();
    app.CreateForm<TMainStandIn>(events);
    EXPECT_TRUE(app.Terminated()) << "freeing the dialog ended the program";
    app.Run();
    app.DestroyForms();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"black-mark dialog shows 模式0", L"main window shows"}));
}

// A start with page code 1 makes the dialog hidden with the others: it reads nothing until it is shown.
TEST_F(BMsetTest, APageOneStartMakesItHiddenWithoutReading) {
    LoadModel(L"LenBM=5\n");
    std::vector<std::wstring> events;
    auto& app = application();
    app.CreateForm<TMainStandIn>(events);
    BMset = app.CreateForm<TBMset>();
    EXPECT_FALSE(BMset->Visible());
    EXPECT_EQ(BMset->edtBMhead->Text(), L"5");
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_FALSE(app.Terminated());
    app.DestroyForms();
    EXPECT_TRUE(app.Terminated());
}

}  // namespace
