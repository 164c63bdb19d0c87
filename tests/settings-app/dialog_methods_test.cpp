// The dialogs' shared printer methods: one USB write, a read through the model's exchange with the dialog's
// own decoder, the item command text by value width, and the road of a dialog command.
#include <gtest/gtest.h>

#include "DialogMethods.h"
#include "dialog_fixture.h"
#include "platform/files.h"
#include "platform/spooler.h"

namespace {

using platform::Bytes;
using platform::forms::application;

class DialogMethodsTest : public DialogTest {};

TEST_F(DialogMethodsTest, AUsbWriteOpensPortIndexPlusOneWritesAndClosesThroughTheLibrary) {
    struct Case {
        const char* name;
        bool unplugged;
        std::optional<std::size_t> shortWrite;
        bool result;
        std::size_t closes;
    };
    const Case cases[] = {
        {"every byte written", false, std::nullopt, true, 1},
        {"fewer bytes written: closed all the same", false, 3, false, 1},
        {"the port does not open: nothing to close", true, std::nullopt, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.portLibrary().ClearCalls();
        printer->faults().unplugged = c.unplugged;
        printer->faults().shortWrite = c.shortWrite;
        EXPECT_EQ(dialogs::DoWriteUSBPrinter(Hex(kEnter), 0), c.result);
        const auto opens = Calls("OpenPrinterUSBPort");
        ASSERT_EQ(opens.size(), 1u);
        EXPECT_EQ(opens[0].args[0], 1);
        EXPECT_EQ(Calls("CloseUSBPort").size(), c.closes);
        if (!c.unplugged) {
            ASSERT_EQ(Calls("WritePort").size(), 1u);
            EXPECT_EQ(Calls("WritePort")[0].args[2], 2000) << "the write's time limit";
        }
    }
}

TEST_F(DialogMethodsTest, AReadHandsTheDecoderTheReplyFromItsFrameHead) {
    UseItem(1, Options(2), 1);
    const std::wstring command = L"1B 1D 1E 05 03 01 24 1B 1D 1F";
    Bytes seen;
    const dialogs::ReplyDecoder decode = [&](const std::uint8_t* data, std::int32_t length) {
        seen.assign(data, data + length);
        return std::optional<std::int32_t>(length);
    };
    printer->faults().garbageBeforeFrame = {0x00, 0x41};
    std::int32_t value = -1;
    ASSERT_TRUE(dialogs::GetItemValueFromUSBPrinterI(0, command, decode, value));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(Bytes(seen.begin(), seen.begin() + 3), Hex("1B 1D 1E")) << "the garbage is not handed over";
    EXPECT_EQ(value, static_cast<std::int32_t>(seen.size()));

    // A decoder that finds no value, and a printer that stays silent, fail without touching the value.
    value = -1;
    const dialogs::ReplyDecoder refuses = [](const std::uint8_t*, std::int32_t) {
        return std::optional<std::int32_t>();
    };
    EXPECT_FALSE(dialogs::GetItemValueFromUSBPrinterI(0, command, refuses, value));
    printer->faults().noReply = true;
    bool decoded = false;
    const dialogs::ReplyDecoder notes = [&](const std::uint8_t*, std::int32_t) {
        decoded = true;
        return std::optional<std::int32_t>(5);
    };
    EXPECT_FALSE(dialogs::GetItemValueFromUSBPrinterI(0, command, notes, value));
    EXPECT_FALSE(decoded);
    EXPECT_EQ(value, -1);
}

TEST_F(DialogMethodsTest, TheItemCommandCarriesTheValueBytesOfItsWidth) {
    struct Case {
        const char* name;
        std::uint32_t width;
        std::int32_t value;
        std::optional<std::wstring> text;
    };
    const Case cases[] = {
        {"byte", 1, 1, L"1B 1D 1E 04 24 01"},
        {"byte, negative as two's complement", 1, -1, L"1B 1D 1E 04 24 FF"},
        {"byte, lowest", 1, -256, L"1B 1D 1E 04 24 00"},
        {"byte, highest", 1, 255, L"1B 1D 1E 04 24 FF"},
        {"byte, too high", 1, 256, std::nullopt},
        {"byte, too low", 1, -257, std::nullopt},
        {"word, low byte first", 2, 300, L"1B 1D 1E 04 24 2C 01"},
        {"word, negative as sign and magnitude", 2, -5, L"1B 1D 1E 04 24 05 80"},
        {"word, highest magnitude", 2, -32767, L"1B 1D 1E 04 24 FF FF"},
        {"word, 16 bits", 2, 32768, std::nullopt},
        {"word, negative 16 bits", 2, -32768, std::nullopt},
        {"mask, high byte first", 3, 0xA00000, L"1B 1D 1E 04 24 A0 00 00"},
        {"mask, none chosen", 3, 0, L"1B 1D 1E 04 24 00 00 00"},
        {"mask, beyond 24 bits", 3, 0x1000000, std::nullopt},
        {"no width: the command alone", 0, 7, L"1B 1D 1E 04 24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dialogs::FormatItemSetCommand(L"  1B 1D 1E 04 24 ", c.width, c.value), c.text);
    }
}

TEST_F(DialogMethodsTest, TheWriteSequenceFramesEachItemCommand) {
    EXPECT_EQ(dialogs::SettingsWriteSequence(model().m_Sections, {L"1B 1D 1E 04 22 01"}),
              L"1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 04 22 01 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(dialogs::SettingsWriteSequence(model().m_Sections, {L"A", L"B"}),
              L"1B 1D 1E 05 01 1B 1D 1F A 1B 1D 1F B 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
}

TEST_F(DialogMethodsTest, ACommandGoesWhereThePortSays) {
    struct Case {
        const char* name;
        const wchar_t* port;  // the queue's port; "" keeps the printer's own USB001
        bool offline;
        bool confirmed;
        const wchar_t* box;  // "" none
        const char* route;   // "usb", "other" or "" (nothing sent)
    };
    const Case cases[] = {
        {"a listed USB port", L"", false, true, L"", "usb"},
        {"an unlisted USB port", L"USB009", false, true, L"", "other"},
        {"a parallel port", L"LPT1:", false, true, L"", "other"},
        {"the user refuses", L"", false, false, L"", ""},
        {"offline: asked nothing", L"", true, true, L"PrinterNotFound", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.port) {
            sim.spooler().AddPrinter(kPrinter, kDriver, c.port);
        }
        sim.spooler().SetAttributes(kPrinter, c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        std::string route;
        bool asked = false;
        dialogs::TDialogCommand command;
        command.confirm = [&] {
            asked = true;
            return c.confirmed;
        };
        command.onUsb = [&](const Bytes& bytes, std::int32_t index) {
            EXPECT_EQ(bytes, Hex(kEnter));
            EXPECT_EQ(index, 0);
            route = "usb";
        };
        command.onOtherPort = [&](const Bytes& bytes) {
            EXPECT_EQ(bytes, Hex(kEnter));
            route = "other";
        };
        if (*c.box) {
            sim.messageBoxes().ExpectBox(Box(c.box, L"HintTitle", platform::MsgIcon::Error));
        }
        dialogs::RunDialogCommand(L"1B 1D 1E 05 01 1B 1D 1F", command);
        EXPECT_EQ(route, c.route);
        EXPECT_EQ(asked, !c.offline);
        EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
        sim.spooler().AddPrinter(kPrinter, kDriver, L"USB001");
    }
}

TEST_F(DialogMethodsTest, PortModeWritesThePortFileWhateverThePrinter) {
    g_byPage = pgBase;
    g_strLocalPortFile = L"C:\\ports\\LPT1.prn";
    ASSERT_TRUE(sim.files().ForceDirectories(L"C:\\ports"));
    dialogs::TDialogCommand command;
    command.onUsb = [](const Bytes&, std::int32_t) { ADD_FAILURE() << "port mode looked for a USB port"; };
    sim.messageBoxes().ExpectBox(Box(L"SetPrinterSuccessI", L"HintTitle", platform::MsgIcon::Information));
    dialogs::RunDialogCommand(L"1B 1D 1E 05 01 1B 1D 1F", command);
    EXPECT_EQ(sim.files().ReadWholeFile(L"C:\\ports\\LPT1.prn"), Hex(kEnter));

    g_strLocalPortFile = L"C:\\no such folder\\LPT1.prn";
    sim.messageBoxes().ExpectBox(Box(L"SetPrinterFail", L"HintTitle", platform::MsgIcon::Error));
    dialogs::RunDialogCommand(L"1B 1D 1E 05 01 1B 1D 1F", command);
}

// A dialog without the item dialog's fallback (the alignment, drying, black-mark and generic dialogs).
TEST_F(DialogMethodsTest, TheGuardedReadStopsWithItsBoxBeforeReadingAnythingItCannot) {
    struct Case {
        const char* name;
        const wchar_t* port;  // "" keeps USB001
        bool offline;
        bool silent;
        bool affirmReadDisable;
        std::optional<platform::sim::ExpectedBox> box;
        bool result;
    };
    using platform::MsgIcon;
    const Case cases[] = {
        {"read and shown", L"", false, false, false, std::nullopt, true},
        {"not a USB port: silent", L"LPT1:", false, false, false, std::nullopt, false},
        {"offline", L"", true, false, false, Box(L"PrinterNotFound", kPrinter, MsgIcon::Warning), false},
        {"unlisted port", L"USB009", false, false, false,
         Box(L"PrinterNotFoundOnPort(USB009)", L"ErrorTitle", MsgIcon::Error), false},
        {"silent printer", L"", false, true, false, Box(L"PrinterStatusError", L"ErrorTitle", MsgIcon::Warning), false},
        {"silent printer, reads no longer affirmed", L"", false, true, true, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(kPrinter, kDriver, *c.port ? c.port : L"USB001",
                                 c.offline ? platform::kPrinterAttributeWorkOffline : 0);
        printer->faults().noReply = c.silent;
        model().m_Sections.AffirmReadDisable = c.affirmReadDisable;
        std::vector<std::int32_t> reads;
        std::vector<std::int32_t> shown;
        std::int32_t value = 0;
        dialogs::TDialogReadRow row;
        row.value = &value;
        row.read = [&](std::int32_t index, std::int32_t& v) {
            reads.push_back(index);
            if (c.silent) {
                return false;
            }
            v = 42;
            return true;
        };
        row.show = [&](std::int32_t v) { shown.push_back(v); };
        if (c.box) {
            sim.messageBoxes().ExpectBox(*c.box);
        }
        EXPECT_EQ(dialogs::GetCurrentItemValueFromPrinterI(row), c.result);
        EXPECT_EQ(shown, c.result ? std::vector<std::int32_t>{42} : std::vector<std::int32_t>{});
        const bool readable = !*c.port && !c.offline;
        EXPECT_EQ(reads, readable ? std::vector<std::int32_t>{0} : std::vector<std::int32_t>{});
        EXPECT_TRUE(sim.messageBoxes().Unfinished().empty());
    }
}

TEST_F(DialogMethodsTest, TheWaitingWindowStaysAWhileAfterAGoodReadOnly) {
    struct Case {
        const char* name;
        bool good;
        std::optional<int> passes;  // unset: the family's 51
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {"a good read: 51 passes of 10 ms", true, std::nullopt, 510},
        {"a failed read", false, std::nullopt, 0},
        {"a good read with 11 passes", true, 11, 110},
        {"a failed read with 11 passes", false, 11, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool shownDuringRead = false;
        const std::uint64_t start = Now();
        const auto read = [&] {
            auto* waiting = application().FindForm(L"TfrmWaiting");
            shownDuringRead = waiting && waiting->Visible();
            return c.good;
        };
        EXPECT_EQ(c.passes ? dialogs::ReadWithWaitingWindow(read, *c.passes) : dialogs::ReadWithWaitingWindow(read),
                  c.good);
        EXPECT_TRUE(shownDuringRead);
        EXPECT_EQ(Now() - start, c.elapsed);
        EXPECT_EQ(application().FindForm(L"TfrmWaiting"), nullptr) << "freed";
    }
}

}  // namespace
