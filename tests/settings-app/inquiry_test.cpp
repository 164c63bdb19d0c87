// The inquiry dialog against the virtual printer: the page count and the ink level read at showing and by
// their buttons, the level's picture corrected by the deep cleans of the ink state file, and the other roads.
#include <gtest/gtest.h>

#include "bitmap_file.h"
#include "ink_dialog_fixture.h"
#include "platform/files.h"
#include "platform/spooler.h"

namespace {

using platform::MsgIcon;
using platform::sim::UserScript;
using namespace platform::forms;

constexpr wchar_t kInkIni[] = L"C:\\ProgramData\\SN0001\\InkSetting.ini";
const wchar_t* const kPictures[] = {L"Ink_no", L"Ink_few", L"Ink_half", L"Ink_ample", L"Ink_full"};

class InquiryTest : public InkDialogTest {
protected:
    void SetUp() override {
        InkDialogTest::SetUp();
        UseInkItem(L"Ink_Inquiry", L"", L"PrinterName=Varintex WJ-610\nWebAddress=https://shop.example/ink\n");
        // Five pictures told apart by their widths.
        int width = 10;
        for (const wchar_t* picture : kPictures) {
            sim.resources().Add(picture, platform::ResourceType::Bitmap, BitmapFile(width++, 8, 8));
        }
        printer->setPageCount(10000);
        printer->setInkLevel(75);
    }
    void UseDegree(const std::wstring& degree) {
        g_strInkIni = kInkIni;
        PutIniFile(kInkIni, L"[Settings]\nDegree=" + degree + L"\n");
    }
    static std::wstring PictureOf(const TInquiry& dialog) {
        const int width = dialog.btnInk->Glyph().Width();
        return width >= 10 && width < 15 ? kPictures[width - 10] : L"none";
    }
    // When each command reached the printer (empty writes included).
    std::vector<std::uint64_t> WriteTimes() {
        std::vector<std::uint64_t> out;
        for (const auto& call : Calls("WritePort")) {
            out.push_back(call.atMs);
        }
        return out;
    }
};

TEST_F(InquiryTest, ShowingReadsThePagesAndHalfASecondLaterTheInk) {
    UseDegree(L"2");
    auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
    EXPECT_EQ(dialog->lblPage->Caption(), L"10000");
    EXPECT_EQ(dialog->lblInkQuantity->Caption(), L"55%") << "75 less 10 for each of two deep cleans";
    EXPECT_EQ(PictureOf(*dialog), L"Ink_half");
    EXPECT_EQ(dialog->Caption(), L"Ink title");
    EXPECT_EQ(dialog->lblInfo->Caption(), L"Ink explanation");
    EXPECT_EQ(dialog->btnPage->Hint(), L"Ink note");
    EXPECT_EQ(dialog->btnInk->Hint(), L"Ink note");
    EXPECT_EQ(dialog->lblPageTitle->Caption(), L"Page");
    EXPECT_EQ(dialog->lblPageInfo->Caption(), L"PageInfo");
    EXPECT_EQ(dialog->btnClose->Caption(), L"ParametersBtnCancel");
    EXPECT_TRUE(dialog->lblWeb->Visible());
    EXPECT_EQ(dialog->lblWeb->Caption(), L"https://shop.example/ink");
    EXPECT_EQ(g_strLocalPortFile, L"USB001");
    EXPECT_EQ(printer->commandLog(), (std::vector<std::string>{"inquiry 02", "inquiry 07"}));
    // Each button opens the port with an empty write, then asks; a second passes after each button's read and
    // half a second more before the ink button.
    const std::vector<std::uint64_t> at = WriteTimes();
    ASSERT_EQ(at.size(), 4u);
    EXPECT_GE(at[2] - at[1], 1500u);
    EXPECT_LT(at[2] - at[1], 1500u + 1000u);
}

TEST_F(InquiryTest, TheLevelBands) {
    struct Case {
        std::int32_t level;
        const wchar_t* picture;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"Ink_no", L"0%"},
        {10, L"Ink_no", L"10%"},
        {11, L"Ink_few", L"11%"},
        {39, L"Ink_few", L"39%"},
        {40, L"Ink_half", L"40%"},
        {59, L"Ink_half", L"59%"},
        {60, L"Ink_ample", L"60%"},
        {89, L"Ink_ample", L"89%"},
        {90, L"Ink_full", L"90%"},
        {100, L"Ink_full", L"100%"},
        {101, L"Ink_no", L"ERROR"},
        {-1, L"Ink_no", L"ERROR"},
        {INT32_MIN, L"Ink_no", L"ERROR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const TInkBand band = InkBand(c.level);
        EXPECT_EQ(std::wstring(band.picture), c.picture);
        EXPECT_EQ(band.text, c.text);
    }
}

TEST_F(InquiryTest, TheDeepCleansOfTheInkStateFileCorrectTheLevel) {
    struct Case {
        const char* name;
        std::uint8_t level;
        std::optional<std::wstring> degree;  // nullopt: no ink state file
        const wchar_t* inkIni;
        const wchar_t* picture;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"5 less one clean is below 0", 5, L"1", kInkIni, L"Ink_no", L"ERROR"},
        {"a missing file counts no clean", 75, std::nullopt, kInkIni, L"Ink_ample", L"75%"},
        {"no file named counts no clean", 75, L"2", L"", L"Ink_ample", L"75%"},
        {"a level of 255", 255, L"0", kInkIni, L"Ink_no", L"ERROR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kInkIni);
        if (c.degree) {
            UseDegree(*c.degree);
        }
        g_strInkIni = c.inkIni;
        printer->setInkLevel(c.level);
        auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
        EXPECT_EQ(PictureOf(*dialog), c.picture);
        EXPECT_EQ(dialog->lblInkQuantity->Caption(), c.text);
    }
}

TEST_F(InquiryTest, CountersOfTwoToTheThirtyFirstShowNegative) {
    printer->setPageCount(0x80000000u);
    auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
    EXPECT_EQ(dialog->lblPage->Caption(), L"-2147483648");
}

TEST_F(InquiryTest, TheDecoderTakesTheValueBytesOfAReplyLongEnough) {
    const std::uint8_t pages[] = {0x1B, 0x1D, 0x1E, 0x12, 0x07, 0x02, 0x10, 0x27, 0x00, 0x00};
    const std::uint8_t ink[] = {0x1B, 0x1D, 0x1E, 0x12, 0x07, 0x07, 0xFF};
    EXPECT_EQ(DecodeInquiryReply(1, pages, 10), 10000);
    EXPECT_EQ(DecodeInquiryReply(3, pages, 10), 10000);
    EXPECT_EQ(DecodeInquiryReply(4, pages, 10), 10000) << "the low four of eight bytes";
    EXPECT_EQ(DecodeInquiryReply(1, pages, 9), std::nullopt);
    EXPECT_EQ(DecodeInquiryReply(2, ink, 7), 255);
    EXPECT_EQ(DecodeInquiryReply(2, ink, 6), std::nullopt);
    EXPECT_EQ(DecodeInquiryReply(5, pages, 10), std::nullopt);
    EXPECT_EQ(DecodeInquiryReply(1, nullptr, 10), std::nullopt);
}

TEST_F(InquiryTest, ButtonsReadAgainAndEachReadEndsASecondLater) {
    std::uint64_t before = 0;
    auto dialog = RunModal<TInquiry>(UserScript()
                                         .Inspect([&](Form&) {
                                             printer->setPageCount(12);
                                             printer->setInkLevel(95);
                                             before = Now();
                                         })
                                         .Click(L"btnPage")
                                         .Inspect([&](Form& form) {
                                             EXPECT_GE(Now() - before, 1000u);
                                             EXPECT_EQ(dynamic_cast<TInquiry&>(form).lblPage->Caption(), L"12");
                                         })
                                         .Click(L"btnInk")
                                         .PressEsc());
    EXPECT_EQ(PictureOf(*dialog), L"Ink_full");
    EXPECT_EQ(g_iInquiryType, 2);
}

// The other button runs its whole exchange inside the first one's wait, on the same printer. Which of the two
// workers collects the printer's replies depends on how the threads are scheduled: the first read may take both
// and leave the second none (its ReadTimeout box), or each may take its own. Either way the page count stays
// right, as the first read decodes its own counter whatever the click meanwhile did to g_iInquiryType.
TEST_F(InquiryTest, AClickOnTheOtherButtonDuringARead) {
    auto dialog = RunModal<TInquiry>(UserScript()
                                         .AnswerAnyBox(platform::MsgResult::OK)
                                         .Inspect([&](Form&) {
                                             printer->setPageCount(4321);
                                             printer->setInkLevel(20);
                                         })
                                         .Click(L"btnPage")
                                         .DuringNextPump()
                                         .Click(L"btnInk")
                                         .PressEsc());
    const auto& boxes = sim.messageBoxes().Shown();
    ASSERT_LE(boxes.size(), 1u);
    const bool secondReadGotNothing = boxes.size() == 1;
    if (secondReadGotNothing) {
        EXPECT_EQ(boxes.front().text, L"ReadTimeout");
    }
    EXPECT_EQ(printer->commandLog(),
              (std::vector<std::string>{"inquiry 02", "inquiry 07", "inquiry 02", "inquiry 07"}));
    EXPECT_EQ(dialog->lblPage->Caption(), L"4321");
    EXPECT_EQ(dialog->m_iPrinterItemValue, 4321);
    // The level read at showing, unless the ink button's own read got its reply (20 %).
    EXPECT_EQ(PictureOf(*dialog), secondReadGotNothing ? L"Ink_ample" : L"Ink_few");
    EXPECT_EQ(g_iInquiryType, 2);
}

TEST_F(InquiryTest, FailedReads) {
    struct Case {
        const char* name;
        const wchar_t* globalKeys;
        std::vector<platform::sim::ExpectedBox> boxes;
        const wchar_t* ink;
    };
    const Case cases[] = {
        {"each failed read has its box", L"", {Box(L"ReadTimeout", L"HintTitle", MsgIcon::Error)}, L""},
        // The ink read shows the page count that stayed behind.
        {"no longer affirmed: the last value read", L"AffirmReadDisable=1\n", {}, L"ERROR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseInkItem(L"Ink_Inquiry", L"", std::wstring(L"PrinterName=Varintex WJ-610\n") + c.globalKeys);
        printer->setPageCount(1234);
        Script("inquiry 02", {Hex("1B 1D 1E 12 07 02 D2 04 00 00 1B 1D 1F")});
        Script("inquiry 07", {});
        for (const auto& box : c.boxes) {
            sim.messageBoxes().ExpectBox(box);
        }
        auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
        EXPECT_EQ(dialog->lblPage->Caption(), L"1234");
        EXPECT_EQ(dialog->lblInkQuantity->Caption(), c.ink);
    }
}

TEST_F(InquiryTest, TheWebLinkBelongsToTheMakersOwnPrinters) {
    UseInkItem(L"Ink_Inquiry", L"", L"PrinterName=Other WJ-610\n");
    auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
    EXPECT_FALSE(dialog->lblWeb->Visible());

    UseInkItem(L"Ink_Inquiry", L"", L"PrinterName=Varintex WJ-610\nWebAddress=https://shop.example/ink\n");
    RunModal<TInquiry>(UserScript().Click(L"lblWeb").PressEsc());
    EXPECT_EQ(sim.processes().ShellOpened(), std::vector<std::wstring>{L"https://shop.example/ink"});
}

TEST_F(InquiryTest, AnOfflinePrinterGetsOneBoxAndNoRead) {
    sim.spooler().SetAttributes(kPrinter, platform::kPrinterAttributeWorkOffline);
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    auto dialog = RunModal<TInquiry>(UserScript().PressEsc());
    EXPECT_TRUE(printer->writes().empty());
    EXPECT_EQ(dialog->lblWeb->Caption(), kDefaultWebAddress);
}

TEST_F(InquiryTest, APrinterOnAnotherPortIsNotFoundByEitherButton) {
    sim.spooler().AddPrinter(kPrinter, kDriver, L"LPT1:");
    sim.messageBoxes()
        .ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Information))
        .ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Information));
    RunModal<TInquiry>(UserScript().PressEsc());
    EXPECT_TRUE(printer->writes().empty());
}

TEST_F(InquiryTest, PortModeMakesAnEmptyWriteToThePortFile) {
    UsePortMode();
    sim.messageBoxes().ExpectBox(Box(L"PrinterNotFound", L"HintTitle", MsgIcon::Error));
    RunModal<TInquiry>(UserScript()
                           .Click(L"btnPage")
                           .ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", MsgIcon::Information))
                           .Inspect([&](Form&) { g_strLocalPortFile = L"C:\\missing\\LPT1.prn"; })
                           .Click(L"btnInk")
                           .ExpectBox(Box(L"SetPrinterFail", L"HintTitle", MsgIcon::Error))
                           .PressEsc());
    EXPECT_TRUE(sim.files().FileExists(kPortFile));
    EXPECT_EQ(sim.files().ReadWholeFile(kPortFile), platform::Bytes{});
    EXPECT_TRUE(printer->writes().empty());
}

}  // namespace
