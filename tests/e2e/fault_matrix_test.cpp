// The fault matrix of the impact printer's roads: an item's value read, the base page read, a set with its
// read-back, the menu fetch, the driver page's fetch through the settings program, the main window's page read,
// the sub-group and invoice-type dialogs' reads and writes, the black-mark dialog's read and write, and the
// generic item dialog's command with its reply.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault_matrix_fixture.h"
#include "page_dialog.h"
#include "uSetItem.h"

namespace {

using platform::forms::Form;
using platform::sim::UserScript;

enum class Operation {
    ValueRead,        // the item dialog's read as it shows (page code 1)
    PageRead,         // the base page into the values file (page code 101)
    SetWithReadBack,  // the item dialog's Set, its read-back and the page read at its close
    MenuFetch,        // the menu afresh (page code 102)
    PluginFetch,      // the page's fetch button: the program for 102, then for 101
    MainWindowRead,   // the main window's read of the advanced page as it opens (page code 0)
    SubGroupRead,     // the serial sub-group's read as its dialog shows, after the baud rate was set
    SubGroupSet,      // that dialog's Set, which writes the chosen items without reading back
    InvoiceTypeRead,  // the invoice-type dialog's read as it shows, after the invoice type was set to a card
    InvoiceTypeSet,   // that dialog's Set, in raw frames without reading back
    BlackMarkRead,    // the black-mark dialog's read of its three switches, opened by a port-mode start
    BlackMarkWrite,   // that dialog's sensing buttons, opened by an advanced page start: to the USB printer
    NormalSet,        // the generic item dialog's Set from the main window: the command, again, the reply shown
};

const char* Name(Operation op) {
    switch (op) {
        case Operation::ValueRead:
            return "ValueRead";
        case Operation::PageRead:
            return "PageRead";
        case Operation::SetWithReadBack:
            return "SetWithReadBack";
        case Operation::MenuFetch:
            return "MenuFetch";
        case Operation::PluginFetch:
            return "PluginFetch";
        case Operation::MainWindowRead:
            return "MainWindowRead";
        case Operation::SubGroupRead:
            return "SubGroupRead";
        case Operation::SubGroupSet:
            return "SubGroupSet";
        case Operation::InvoiceTypeRead:
            return "InvoiceTypeRead";
        case Operation::InvoiceTypeSet:
            return "InvoiceTypeSet";
        case Operation::BlackMarkRead:
            return "BlackMarkRead";
        case Operation::BlackMarkWrite:
            return "BlackMarkWrite";
        case Operation::NormalSet:
            return "NormalSet";
    }
    return "?";
}

constexpr Operation kOperations[] = {
    Operation::ValueRead,       Operation::PageRead,       Operation::SetWithReadBack, Operation::MenuFetch,
    Operation::PluginFetch,     Operation::MainWindowRead, Operation::SubGroupRead,    Operation::SubGroupSet,
    Operation::InvoiceTypeRead, Operation::InvoiceTypeSet, Operation::BlackMarkRead,   Operation::BlackMarkWrite,
    Operation::NormalSet,
};

// Only the menu fetch meets a CRC, a menu length field or a zlib stream, so BadCrc, ZeroMenuLength,
// OversizedMenuLength and CorruptZlib are left out of every other operation; and the group dialogs' Set and the
// black-mark dialog's buttons read no reply, so the faults that shape one are left out of them.
bool LeftOut(Fault f, Operation op) {
    if (op == Operation::SubGroupSet || op == Operation::InvoiceTypeSet || op == Operation::BlackMarkWrite) {
        return ShapesAReply(f);
    }
    return MenuOnly(f) && op != Operation::MenuFetch && op != Operation::PluginFetch;
}

using ReadCase = MatrixCase<Operation>;

class ReadFaultTest : public FaultMatrixTest, public ::testing::WithParamInterface<ReadCase> {
protected:
    static constexpr vprinter::ItemCode kDataBits{0x40, 0x07, 0x02};
    static constexpr vprinter::ItemCode kTopOfForm{0x4B, 0x04, 0x13};
    // The generic item's command reads item 7F, the firmware version, which no set frame names.
    static constexpr vprinter::ItemCode kFirmwareVersion{0x7F};

    void SetUp() override {
        FaultMatrixTest::SetUp();
        // Base item 0, line spacing, stands at 1/8 inch in the target printer; the program's menu comes from
        // the printer and, but for the fetches, is there from an earlier run.
        lineSpacing = vprinter::ItemCode::fromMenuTexts("21", "1B 1D 1E 00 03");
        ASSERT_TRUE(lineSpacing);
        printer->defineItem(*lineSpacing, 1, 1);
        // The advanced page's buzzer is off and the serial data bits are 7 (their defaults are on and 8).
        printer->defineItem(*vprinter::ItemCode::fromMenuTexts("31", "1B 1D 1E 08 01"), 1, 0);
        printer->defineItem(kDataBits, 1, 7);
        // The invoice forms' top of form is 5/60 inch.
        printer->defineItem(kTopOfForm, 2, 5);
        const Operation op = GetParam().op;
        if (op != Operation::MenuFetch && op != Operation::PluginFetch) {
            PutFile(MenuFile(), impactModel);
        }
    }
};

TEST_P(ReadFaultTest, EndsWithTheFaultsOutcome) {
    const ReadCase& c = GetParam();
    // Only the maintenance actions ask the class driver for the busy status.
    const bool works = HarmlessToAReply(c.fault) || c.fault == Fault::BusyStatus;
    // An oversized reply's padding beyond what its read took stays in the printer; the next exchange that does
    // not drain the port (the page read after a set, the values run after the menu run) takes it, finds no
    // reply head and fails honestly.
    const bool leftOver = c.fault == Fault::OversizedReply;
    std::vector<std::wstring> boxes;
    std::vector<std::wstring> files;

    switch (c.op) {
        case Operation::ValueRead: {
            Inject(c.fault);
            int shown = -2;
            sim.forms().WhenModal(L"TfrmSetItem", UserScript()
                                                      .Inspect([&](Form& form) {
                                                          shown = dynamic_cast<TfrmSetItem&>(form).lst2->ItemIndex();
                                                      })
                                                      .PressEsc());
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 1 0"), 0);
            EXPECT_EQ(shown, works ? 1 : -1) << "the printer's option, or none";
            if (!works) {
                boxes = {Boxed(texts.PrinterStatusError, texts.ErrorTitle)};
            }
            files = {menuFile, stateFile};  // a read alone writes no values file
            break;
        }
        case Operation::PageRead: {
            Inject(c.fault);
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 101"), 0);
            if (works) {
                EXPECT_EQ(Value(0), texts.CurrentValue + L"1/8 inch");
                files = {valuesFile, menuFile, stateFile};
            } else if (c.fault == Fault::ReplyInPieces) {
                // The first piece holds the reply head and no entry: a read that names no item.
                EXPECT_EQ(Value(0), L"");
                files = {valuesFile, menuFile, stateFile};
            } else {
                files = {menuFile, stateFile};
            }
            break;
        }
        case Operation::SetWithReadBack: {
            UserScript script;
            script.Inspect([&](Form&) { Inject(c.fault); }).Pick(L"lst2", 2).Click(L"btnSet");
            if (!works) {
                script.PressEsc();
            }
            sim.forms().WhenModal(L"TfrmSetItem", std::move(script));
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 1 0"), 0);
            if (works) {
                boxes = {Boxed(texts.SetPrinterSuccessI, texts.HintTitle)};
                EXPECT_EQ(printer->itemValue(*lineSpacing), 2);
                if (leftOver) {
                    files = {menuFile, stateFile};
                } else {
                    EXPECT_EQ(Value(0), texts.CurrentValue + L"1/3 inch");
                    files = {valuesFile, menuFile, stateFile};
                }
            } else {
                boxes = {Boxed(texts.SetPrinterTimeout, texts.HintTitle)};
                files = {menuFile, stateFile};
            }
            break;
        }
        case Operation::MenuFetch: {
            Inject(c.fault);
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 102"), 0);
            if (works) {
                EXPECT_EQ(sim.files().ReadWholeFile(MenuFile()), impactModel);
                files = {menuFile, stateFile};
            } else {
                boxes = {Boxed(texts.ReadPrinterFailRetry, texts.ErrorTitle)};
                files = {stateFile};
            }
            break;
        }
        case Operation::PluginFetch: {
            Inject(c.fault);
            std::wstring title, value, model;
            bool slotShown = false;
            std::vector<std::wstring> filesAfterFetch;
            host.ShowDeviceSheet([&](tavrel::SimPageWindow& page) {
                page.Click(tavrel::IDC_FETCH);
                // The page deletes the exchange files when it goes, so they are looked at while it shows.
                filesAfterFetch = ExchangeFiles();
                slotShown = page.Control(1035).visible;
                title = page.Control(1049).text;
                value = page.Control(1062).text;
                model = page.Control(tavrel::IDC_MODEL_NAME).text;
            });
            if (works) {
                EXPECT_TRUE(slotShown);
                EXPECT_EQ(title, L"Line spacing" + std::wstring(21, L' '));
                EXPECT_EQ(model, L"WQ-472");
                if (leftOver) {
                    EXPECT_EQ(value, L"");
                    files = {menuFile, stateFile};
                } else {
                    EXPECT_EQ(value, texts.CurrentValue + L"1/8 inch");
                    files = {valuesFile, menuFile, stateFile};
                }
            } else {
                EXPECT_FALSE(slotShown);
                EXPECT_EQ(value, L"");
                EXPECT_TRUE(model.empty() || model == L"WQ-472") << "only the name the printer gave";
                // The values run finds no menu either and tries once more.
                boxes = {Boxed(texts.ReadPrinterFailRetry, texts.ErrorTitle),
                         Boxed(texts.ReadPrinterFailRetry, texts.ErrorTitle)};
                files = {stateFile};
            }
            EXPECT_EQ(filesAfterFetch, files);
            // Closing the page deletes the values and printer state files; the menu stays for the next show.
            files = works ? std::vector<std::wstring>{menuFile} : std::vector<std::wstring>{};
            break;
        }
        case Operation::MainWindowRead: {
            Inject(c.fault);
            std::wstring buzzer;
            sim.forms().WhenModal(
                L"TfrmMainView2",
                UserScript()
                    .Inspect([&](Form& form) { buzzer = form.Find<platform::forms::Label>(L"lbl012")->Caption(); })
                    .Click(L"btnClose"));
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 0"), 0);
            if (works) {
                EXPECT_EQ(buzzer, texts.CurrentValue + L"Off");
            } else {
                EXPECT_EQ(buzzer, L"") << "no value the printer did not give";
                if (c.fault != Fault::ReplyInPieces) {
                    boxes = {Boxed(texts.ReadTimeout, texts.HintTitle)};
                }
            }
            files = {menuFile, stateFile};
            break;
        }
        case Operation::SubGroupRead:
        case Operation::SubGroupSet: {
            // Base item 8, the baud rate, opens sub-group 1 once it is set: the set and its read-back first.
            const bool atRead = c.op == Operation::SubGroupRead;
            int dataBits = -2;
            UserScript group;
            group.Inspect([&](Form& form) { dataBits = form.Find<platform::forms::ListBox>(L"lst1")->ItemIndex(); });
            if (atRead) {
                group.PressEsc();
            } else {
                group.Inspect([&](Form&) { Inject(c.fault); }).Pick(L"lst1", 1).Click(L"btnSet");
                boxes = {Boxed(texts.SetPrinterSuccess, texts.HintTitle)};
            }
            sim.forms().WhenModal(L"TFormSetGroupItem", std::move(group));
            sim.forms().WhenModal(L"TfrmSetItem", UserScript()
                                                      .Inspect([&](Form&) {
                                                          if (atRead) {
                                                              target->AfterWrites(2, [&] { Inject(c.fault); });
                                                          }
                                                      })
                                                      .Pick(L"lst2", 4)
                                                      .Click(L"btnSet")
                                                      .PressEsc());
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 1 8"), 0);
            if (atRead) {
                // A failed read is not looked at: the list shows what the model held, here the menu's default.
                EXPECT_EQ(dataBits, works ? 0 : c.fault == Fault::ReplyInPieces ? -1 : 1);
            } else {
                EXPECT_EQ(dataBits, 0) << "read as the dialog showed";
                EXPECT_EQ(printer->itemValue(kDataBits), 8);
            }
            // The page read at the close: it fails after a fault that is still on, and takes an oversized
            // reply's leftover padding.
            files = {menuFile, stateFile};
            if (works && !leftOver) {
                files.insert(files.begin(), valuesFile);
            }
            break;
        }
        case Operation::InvoiceTypeRead:
        case Operation::InvoiceTypeSet: {
            // Base item 11, the invoice type, opens the invoice-type dialog once it is set to a card (option 3).
            const bool atRead = c.op == Operation::InvoiceTypeRead;
            int topOfForm = -2;
            int copyStrength = -2;
            UserScript invoice;
            invoice.Inspect([&](Form& form) {
                topOfForm = form.Find<platform::forms::ListBox>(L"lst1")->ItemIndex();
                copyStrength = form.Find<platform::forms::ListBox>(L"lst4")->ItemIndex();
            });
            if (atRead) {
                invoice.PressEsc();
            } else {
                // Entry 29 is 10/60 inch.
                invoice.Inspect([&](Form&) { Inject(c.fault); }).Pick(L"lst1", 29).Click(L"btnSet");
            }
            sim.forms().WhenModal(L"TfrmInvoiceType_SetGruop", std::move(invoice));
            sim.forms().WhenModal(L"TfrmSetItem", UserScript()
                                                      .Inspect([&](Form&) {
                                                          if (atRead) {
                                                              target->AfterWrites(2, [&] { Inject(c.fault); });
                                                          }
                                                      })
                                                      .Pick(L"lst2", 3)
                                                      .Click(L"btnSet")
                                                      .PressEsc());
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 1 11"), 0);
            if (atRead) {
                // Entry 24 is 5/60 inch and entry 0 the automatic copy strength; a failed read leaves the lists
                // without a choice. The dialog takes its reply from the first byte, so a reply behind garbage is
                // none.
                const bool read = works && c.fault != Fault::GarbageReply;
                EXPECT_EQ(topOfForm, read ? 24 : -1);
                EXPECT_EQ(copyStrength, read ? 0 : -1);
            } else {
                EXPECT_EQ(topOfForm, 24) << "read as the dialog showed";
                EXPECT_EQ(printer->itemValue(kTopOfForm), 10);
            }
            files = {menuFile, stateFile};
            if (works && !leftOver) {
                files.insert(files.begin(), valuesFile);
            }
            break;
        }
        case Operation::BlackMarkRead: {
            // A port-mode start whose first base item is the black-mark set: the dialog opens before the main
            // window and reads the printer of the queue named. Sensing and lock are off in the printer, on in
            // the dialog's design.
            const std::wstring program = sim.files().ProgramPath();
            PutIniFile(program.substr(0, program.rfind(L'\\') + 1) + L"WQ-472_Settings.Dat",
                       L"[GlobalSettings]\nMenuVersion=0\n[BaseSection]\nItemCount=1\n"
                       L"[BaseItem01]\nName=OTH Set\nIcon=100_SETTINGS\nTitle.EN=Black mark\n");
            printer->defineBlackMark(0, 1, 0);
            Inject(c.fault);
            std::vector<std::wstring> labels;
            sim.forms().WhenModal(L"TBMset",
                                  UserScript()
                                      .Inspect([&](Form& form) {
                                          for (const wchar_t* name : {L"lblnBMset", L"lblnBMmode", L"lblnLock"}) {
                                              labels.push_back(form.Find<platform::forms::Label>(name)->Caption());
                                          }
                                      })
                                      .Click(L"btnOK"));
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 100"), 0);
            if (works) {
                EXPECT_EQ(labels, (std::vector<std::wstring>{L"关", L"模式1", L"关"}));
            } else {
                EXPECT_EQ(labels, (std::vector<std::wstring>{L"开", L"模式1", L"开"})) << "as designed";
                boxes = {Boxed(texts.PrinterStatusError, texts.ErrorTitle)};
            }
            files = {menuFile, stateFile};
            break;
        }
        case Operation::BlackMarkWrite: {
            // The item a main-window start selects is the black-mark set, here the advanced page's first: the
            // dialog opens before the window shows and, off port mode, writes to the queue's USB printer. Sensing
            // is on in the printer; once the dialog has read it the user turns it off, then on again.
            PutIniFile(MenuFile(),
                       L"[AdvanceSection]\nItemCount=1\n"
                       L"[AdvanceItem01]\nName=OTH Set\nIcon=100_SETTINGS\nTitle.EN=Black mark\n");
            printer->defineBlackMark(1, 1, 0);
            std::vector<std::wstring> sensing;
            const auto look = [&](Form& form) {
                sensing.push_back(form.Find<platform::forms::Label>(L"lblnBMset")->Caption() +
                                  (form.Find<platform::forms::Button>(L"btnMode0")->Enabled() ? L" enabled" : L""));
            };
            sim.forms().WhenModal(L"TBMset", UserScript()
                                                 .Inspect([&](Form&) { Inject(c.fault); })
                                                 .Click(L"btnOff")
                                                 .Inspect(look)
                                                 .Click(L"btnON")
                                                 .Inspect(look)
                                                 .Click(L"btnOK"));
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 0 0"), 0);
            // The dialog asks no status, and its first write reached the printer before it was pulled out; the
            // second then finds the port gone from the port library's list and sends nothing, to no printer.
            const bool unplugged = c.fault == Fault::UnpluggedMidExchange;
            EXPECT_EQ(sensing, (std::vector<std::wstring>{L"关", unplugged ? L"关" : L"开 enabled"}));
            EXPECT_EQ(printer->itemValue(vprinter::kBlackMarkSensing), unplugged ? 0 : 1);
            boxes = {Boxed(texts.InkFinish, texts.HintTitle),
                     unplugged ? Boxed(platform::Format(texts.PrinterNotFoundOnPort, {std::wstring(L"USB001")}),
                                       texts.ErrorTitle)
                               : Boxed(texts.InkFinish, texts.HintTitle)};
            // The read at show leaves the printer state; a page that begins with the black-mark set reads no
            // values.
            files = {menuFile, stateFile};
            break;
        }
        case Operation::NormalSet: {
            // The advanced page's fourth item, the firmware version 3.18: Set sends the value read of item 7F,
            // sends it again for the reply and shows its bytes 8 and 9, the version low byte first.
            printer->defineItem(kFirmwareVersion, 2, 0x0312);
            std::wstring shown = L"<not shown>";
            std::wstring cancel;
            sim.forms().WhenModal(L"TNormalSet",
                                  UserScript()
                                      .Inspect([&](Form&) { Inject(c.fault); })
                                      .Click(L"btnSet")
                                      .Inspect([&](Form& form) {
                                          shown = form.Find<platform::forms::Label>(L"lblReturn")->Caption();
                                          cancel = form.Find<platform::forms::Button>(L"btnCancel")->Caption();
                                      })
                                      .PressEsc());
            sim.forms().WhenModal(L"TfrmMainView2", UserScript().Click(L"btn04").Click(L"btnClose"));
            ASSERT_EQ(Start(L" \"Varintex WQ-472\" 0"), 0);
            // The read takes the reply of the Set's first sending, which the printer answered too. Its first
            // piece holds the frame head and no byte 8: a read that went through with nothing to show. A
            // printer pulled out after the first sending gives no reply to the second.
            const bool answered = works || c.fault == Fault::ReplyInPieces;
            const std::vector<platform::Bytes> writes = printer->writes();
            ASSERT_FALSE(writes.empty());
            EXPECT_EQ(std::vector<platform::Bytes>(writes.begin() + 1, writes.end()),
                      std::vector<platform::Bytes>(c.fault == Fault::UnpluggedMidExchange ? 1 : 2,
                                                   Hex("1B 1D 1E 05 03 01 7F 1B 1D 1F")))
                << "after the page read, the command as it stands, with no enter or save frame";
            EXPECT_EQ(shown, works ? L"12 03 " : L"");
            EXPECT_EQ(cancel, answered ? texts.ParametersBtnReturn : texts.ParametersBtnCancel);
            if (!answered) {
                boxes = {Boxed(texts.SetPrinterTimeout, texts.HintTitle)};
            }
            // The page read as the window opened leaves the printer state; a start on the advanced page writes
            // no values file.
            files = {menuFile, stateFile};
            break;
        }
    }

    EXPECT_EQ(Boxes(), boxes);
    EXPECT_EQ(ExchangeFiles(), files);
}

INSTANTIATE_TEST_SUITE_P(Faults,
                         ReadFaultTest,
                         ::testing::ValuesIn(CrossProduct(kOperations, LeftOut)),
                         MatrixCaseName<Operation>);

}  // namespace
