// The fault matrix of the ink printer's roads, each opened from the main window's maintenance page as the user
// opens it: the alignment, inquiry and drying dialogs' reads and writes, and every maintenance action.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault_matrix_fixture.h"
#include "uInkDry.h"
#include "uInkSet.h"
#include "uInquiry.h"

namespace {

using platform::forms::Form;
using platform::sim::UserScript;

enum class Operation {
    AlignmentRead,  // the alignment dialog's read as it shows
    AlignmentSet,   // its set at 600 dpi with the read-back
    InquiryRead,    // the page count and ink level read as the inquiry shows
    DryingRead,     // the drying dialog's read as it shows
    DryingSet,      // its set, which sends the drying frame alone
    Clean,
    DeepClean,
    BearingClean,
    HeadChange,       // through the change wizard
    CartridgeChange,  // through the change wizard
    NozzleCheck,
    SelfTest,
};

const char* Name(Operation op) {
    switch (op) {
        case Operation::AlignmentRead:
            return "AlignmentRead";
        case Operation::AlignmentSet:
            return "AlignmentSet";
        case Operation::InquiryRead:
            return "InquiryRead";
        case Operation::DryingRead:
            return "DryingRead";
        case Operation::DryingSet:
            return "DryingSet";
        case Operation::Clean:
            return "Clean";
        case Operation::DeepClean:
            return "DeepClean";
        case Operation::BearingClean:
            return "BearingClean";
        case Operation::HeadChange:
            return "HeadChange";
        case Operation::CartridgeChange:
            return "CartridgeChange";
        case Operation::NozzleCheck:
            return "NozzleCheck";
        case Operation::SelfTest:
            return "SelfTest";
    }
    return "?";
}

constexpr Operation kOperations[] = {
    Operation::AlignmentRead, Operation::AlignmentSet,    Operation::InquiryRead, Operation::DryingRead,
    Operation::DryingSet,     Operation::Clean,           Operation::DeepClean,   Operation::BearingClean,
    Operation::HeadChange,    Operation::CartridgeChange, Operation::NozzleCheck, Operation::SelfTest,
};

// The roads that read nothing back: the maintenance actions and the drying set only write.
bool WritesOnly(Operation op) {
    return op != Operation::AlignmentRead && op != Operation::AlignmentSet && op != Operation::InquiryRead &&
           op != Operation::DryingRead;
}

// The roads whose dialog reads the printer as it shows, before anything the dialog's user does.
bool ReadsAtShow(Operation op) {
    return !WritesOnly(op) || op == Operation::DryingSet;
}

// The main window's button of the operation's item on the sample's maintenance page.
const wchar_t* Button(Operation op) {
    switch (op) {
        case Operation::Clean:
            return L"btn01";
        case Operation::DeepClean:
            return L"btn02";
        case Operation::BearingClean:
            return L"btn03";
        case Operation::HeadChange:
            return L"btn04";
        case Operation::CartridgeChange:
            return L"btn05";
        case Operation::NozzleCheck:
            return L"btn06";
        case Operation::SelfTest:
            return L"btn07";
        case Operation::AlignmentRead:
        case Operation::AlignmentSet:
            return L"btn08";
        case Operation::InquiryRead:
            return L"btn09";
        case Operation::DryingRead:
        case Operation::DryingSet:
            return L"btn10";
    }
    return L"";
}

// No road here fetches the menu, so the menu faults (BadCrc, ZeroMenuLength, OversizedMenuLength, CorruptZlib)
// are left out everywhere; and a road that only writes reads no reply, so the faults that shape one (NoReply,
// ReplyInPieces, GarbageReply, OversizedReply) are left out of the maintenance actions and the drying set.
bool LeftOut(Fault f, Operation op) {
    return MenuOnly(f) || (WritesOnly(op) && ShapesAReply(f));
}

using InkCase = MatrixCase<Operation>;

class InkFaultTest : public FaultMatrixTest, public ::testing::WithParamInterface<InkCase> {
protected:
    void SetUp() override {
        FaultMatrixTest::SetUp();
        // The ink model: its settings file in the driver folder, its menu there from an earlier fetch, and both
        // printers holding its items. Print quality stands at "High quality" (its default is "Normal").
        const platform::Bytes menu = Sample("WJ-610_Menu.Dat");
        PutFile(kSchemeFile, Sample("WJ-610_Settings.Dat"));
        PutFile(MenuFile(), menu);
        for (vprinter::VirtualPrinter* p : {printer, bystander}) {
            p->defineItemsFromMenu(menu);
            p->setMenuFile(menu);
        }
        printer->defineItem(*vprinter::ItemCode::fromMenuTexts("61", "1B 1D 1E 01 21"), 1, 2);
        printer->setAlignment(1, 2);
        printer->setDryingTime(100);
        printer->setPageCount(1234);
        printer->setInkLevel(75);
    }

    std::wstring NotFoundOnPort() { return platform::Format(texts.PrinterNotFoundOnPort, {std::wstring(L"USB001")}); }
};

TEST_P(InkFaultTest, EndsWithTheFaultsOutcome) {
    const InkCase& c = GetParam();
    const bool readWorks = HarmlessToAReply(c.fault) || c.fault == Fault::BusyStatus;
    const bool busy = c.fault == Fault::BusyStatus;
    const bool unplugged = c.fault == Fault::UnpluggedMidExchange;
    std::vector<std::wstring> boxes;
    UserScript dialog;
    std::wstring dialogClass = L"TfrmSetItem";
    // Injected in the main window before the button for the reads at showing, in the dialog otherwise.
    const bool atShow =
        c.op == Operation::AlignmentRead || c.op == Operation::InquiryRead || c.op == Operation::DryingRead;
    if (!atShow) {
        dialog.Inspect([&](Form&) { Inject(c.fault); });
    }

    int position = -1;
    std::wstring pages;
    switch (c.op) {
        case Operation::AlignmentRead:
            dialogClass = L"TfrmInkSet";
            dialog.Inspect([&](Form& form) { position = dynamic_cast<TfrmInkSet&>(form).trckbrAdjust->Position(); })
                .PressEsc();
            if (!readWorks) {
                boxes = {Boxed(texts.PrinterStatusError, texts.ErrorTitle)};
            }
            break;
        case Operation::AlignmentSet:
            dialogClass = L"TfrmInkSet";
            dialog.Pick(L"trckbrAdjust", 3).Click(L"btnSet").PressEsc();
            boxes = {readWorks ? Boxed(texts.SetPrinterSuccessI, texts.HintTitle)
                               : Boxed(texts.SetPrinterTimeout, texts.HintTitle)};
            break;
        case Operation::InquiryRead:
            dialogClass = L"TInquiry";
            dialog.Inspect([&](Form& form) { pages = dynamic_cast<TInquiry&>(form).lblPage->Caption(); }).PressEsc();
            // Two reads, the page count and then the ink level. The second takes what the first left: the padding
            // of an oversized reply (no reply head), or no printer at all once it was pulled out.
            if (c.fault == Fault::OversizedReply) {
                boxes = {Boxed(texts.ReadTimeout, texts.HintTitle)};
            } else if (unplugged) {
                boxes = {Boxed(texts.ReadTimeout, texts.HintTitle), Boxed(texts.PrinterNotFound, texts.HintTitle)};
            } else if (!readWorks) {
                boxes = {Boxed(texts.ReadTimeout, texts.HintTitle), Boxed(texts.ReadTimeout, texts.HintTitle)};
            }
            break;
        case Operation::DryingRead:
            dialogClass = L"TInkDry";
            dialog.Inspect([&](Form& form) { position = dynamic_cast<TInkDry&>(form).trckbrTime->Position(); })
                .PressEsc();
            // The drying dialog asks the status before it reads.
            if (busy) {
                boxes = {Boxed(texts.WaitingForPrinterWork, texts.HintTitle)};
            } else if (!readWorks) {
                boxes = {Boxed(texts.PrinterStatusError, texts.ErrorTitle)};
            }
            break;
        case Operation::DryingSet:
            dialogClass = L"TInkDry";
            dialog.Pick(L"trckbrTime", 3).Click(L"btnSet").PressEsc();
            boxes = {busy ? Boxed(texts.WaitingForPrinterWork, texts.HintTitle)
                          : Boxed(texts.InkFinish, texts.HintTitle)};
            break;
        case Operation::Clean:
        case Operation::DeepClean:
        case Operation::BearingClean:
        case Operation::NozzleCheck:
        case Operation::SelfTest: {
            dialog.Click(L"btnInkset");
            std::vector<std::wstring> road;
            bool closes = true;
            switch (c.op) {
                case Operation::Clean:
                    road = {Boxed(texts.CleanFinish, texts.HintTitle)};
                    break;
                case Operation::DeepClean:
                    road = {Boxed(texts.DeepClean, texts.HintTitle), Boxed(texts.DeepCleanFinish, texts.HintTitle)};
                    break;
                case Operation::BearingClean:
                    road = {Boxed(texts.BearingClean, texts.HintTitle)};
                    closes = false;
                    break;
                case Operation::NozzleCheck:
                    road = {Boxed(texts.Holecheck, texts.HintTitle)};
                    closes = false;
                    break;
                default:
                    road = {Boxed(texts.CleanNewprinter, texts.HintTitle), Boxed(texts.InkFinish, texts.HintTitle)};
                    break;
            }
            // A busy printer refuses before anything is asked or sent; pulled out after the action's one command,
            // the printer leaves nothing the program could notice.
            if (busy) {
                boxes = {Boxed(texts.WaitingForPrinterWork, texts.HintTitle)};
                closes = false;
            } else {
                boxes = road;
            }
            if (!closes) {
                dialog.PressEsc();
            }
            break;
        }
        case Operation::HeadChange:
        case Operation::CartridgeChange: {
            const std::wstring finish = Boxed(texts.InkFinish, texts.HintTitle);
            const std::wstring waiting = Boxed(texts.WaitingForPrinterWork, texts.HintTitle);
            const bool head = c.op == Operation::HeadChange;
            if (busy) {
                // The wizard's first step asks the status and goes no further. The head change's Cancel asks it
                // too, and the dialog has no title-bar close: it waits for the printer to be ready.
                dialog.Click(L"btnNext").PressEsc();
                boxes = {waiting};
                if (head) {
                    dialog.Inspect([&](Form&) { printer->faults().statusByte = 0x18; }).PressEsc();
                    boxes.push_back(waiting);
                }
                break;
            }
            for (int step = 0; step < 5; ++step) {
                dialog.Click(L"btnNext");
            }
            dialog.Click(L"btnInkset");
            if (unplugged && head) {
                // The wizard's start frames reached the printer, which then went: the action and the Cancel after
                // it find the port unlisted and send nothing.
                dialog.PressEsc();
                boxes = {Boxed(NotFoundOnPort(), texts.ErrorTitle), Boxed(NotFoundOnPort(), texts.ErrorTitle)};
            } else {
                // The cartridge wizard's start writes nothing, so the printer goes after the change's own frame.
                boxes = {Boxed(texts.StarorCancel, texts.HintTitle), finish};
            }
            break;
        }
    }

    sim.forms().WhenModal(dialogClass, std::move(dialog));
    UserScript main;
    if (atShow) {
        main.Inspect([&](Form&) { Inject(c.fault); });
    }
    sim.forms().WhenModal(L"TfrmMainView2", std::move(main.Click(Button(c.op)).Click(L"btnClose")));
    ASSERT_EQ(Start(L" \"Varintex WQ-472\" 99"), 0);

    EXPECT_EQ(Boxes(), boxes);
    switch (c.op) {
        case Operation::AlignmentRead:
            EXPECT_EQ(position, readWorks ? 12 : TfrmInkSet::kZeroPosition) << "the printer's step + 10, or zero";
            break;
        case Operation::AlignmentSet:
            if (c.fault != Fault::NoReply) {
                EXPECT_EQ(printer->alignment(1), -7);
            }
            break;
        case Operation::InquiryRead:
            EXPECT_EQ(pages, readWorks ? L"1234" : L"");
            break;
        case Operation::DryingRead:
            EXPECT_EQ(position, readWorks && !busy ? 2 : 0) << "the printer's 1 s, or none";
            break;
        case Operation::DryingSet:
            EXPECT_EQ(printer->dryingTime(), busy ? 100 : 150);
            break;
        default:
            break;
    }
    // The page read at the close writes the values file only where the fault lets it read: a busy status
    // is asked by no read and garbage before a reply is passed over; a fault still on fails it, so does the
    // leftover of the dialog's read (an oversized reply's padding, the later pieces of a reply), and a printer
    // pulled out is read no more. Every exchange through the worker writes the printer state file: the dialogs'
    // reads at show come before a fault the dialog injects, while the maintenance actions' dialog reads nothing,
    // so once the printer is gone no exchange is left to write it.
    const bool readAtClose = busy || c.fault == Fault::GarbageReply;
    std::vector<std::wstring> files = {menuFile};
    if (readAtClose) {
        files.insert(files.begin(), valuesFile);
    }
    if (readAtClose || ReadsAtShow(c.op)) {
        files.push_back(stateFile);
    }
    EXPECT_EQ(ExchangeFiles(), files);
    if (readAtClose) {
        EXPECT_EQ(Value(0), texts.CurrentValue + L"High quality") << "the printer's, not the menu's default";
        EXPECT_NE(Value(7), L"<none>") << "all eight base items";
    }
}

INSTANTIATE_TEST_SUITE_P(Faults,
                         InkFaultTest,
                         ::testing::ValuesIn(CrossProduct(kOperations, LeftOut)),
                         MatrixCaseName<Operation>);

}  // namespace
