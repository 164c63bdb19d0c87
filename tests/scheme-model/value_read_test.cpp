// The value read commands, the one-item read with its reply decoding, and the page read with its decoder,
// end to end against the virtual printer.

#include <array>
#include <cstdint>
#include <vector>

#include "ValueReadCommand.h"
#include "exchange_fixture.h"

namespace {

using ::testing::ElementsAre;

constexpr std::int32_t kUnchanged = 777;
constexpr std::int32_t kNone = kNoPrinterValue;

std::wstring PageOf(const std::vector<std::wstring>& codes) {
    std::wstring menu =
        L"[BaseSection]\nItemCount=" + platform::IntToStr(static_cast<std::int64_t>(codes.size())) + L"\n";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        menu += platform::Format(L"[BaseItem%.2d]\nGetInstruction=%s\n", {static_cast<std::int64_t>(i + 1), codes[i]});
    }
    return menu;
}

class ValueReadTest : public ExchangeTest {
protected:
    bool ReadItem(std::int32_t index, std::int32_t& value) {
        g_iItem = index;
        return model().GetItemValueFromUSBPrinter(0, value);
    }
    std::vector<std::int32_t> Values(std::uint8_t page) {
        std::vector<std::int32_t> out;
        for (std::int32_t i = 0; i < model().GetItemLength(page); ++i) {
            out.push_back(model().GetItem(page, i).ValueCurrent);
        }
        return out;
    }
    void PresetValues(std::uint8_t page, std::int32_t value) {
        for (std::int32_t i = 0; i < model().GetItemLength(page); ++i) {
            model().SetItem_ValueCurrent(page, i, value);
        }
    }
};

// ---- commands ---------------------------------------------------------------------------------------------

TEST_F(ValueReadTest, CommandTexts) {
    const std::vector<std::wstring> twelve = {L"21", L"22", L"23", L"24", L"25", L"26",
                                              L"27", L"28", L"29", L"2A", L"2B", L"2C"};
    struct Case {
        const char* name;
        const wchar_t* keys;
        std::vector<std::wstring> codes;
        bool page;
        std::wstring text;
    };
    const Case cases[] = {
        {"one item", L"", {L"24"}, false, L"1B 1D 1E 05 03 01 24 1B 1D 1F"},
        {"page of three", L"", {L"21", L"22", L"2C"}, true, L"1B 1D 1E 05 03 03 21 22 2C 1B 1D 1F"},
        {"page of twelve: count in lower case", L"", twelve, true,
         L"1B 1D 1E 05 03 0c 21 22 23 24 25 26 27 28 29 2A 2B 2C 1B 1D 1F"},
        {"empty page", L"", {}, true, L"1B 1D 1E 05 03 00 1B 1D 1F"},
        {"instructions of the file",
         L"GetInstructionClass=1B 1D 1E 07 03\nInstructionTail=1B 1D 1F 00\n",
         {L"24"},
         false,
         L"1B 1D 1E 07 03 01 24 1B 1D 1F 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadModel(c.keys, PageOf(c.codes));
        const std::wstring text = c.page ? PageValueReadCommand(model().m_Sections, model().m_BaseItems)
                                         : ItemValueReadCommand(model().m_Sections, model().GetItem(pgBase, 0));
        EXPECT_EQ(text, c.text);
    }
}

TEST_F(ValueReadTest, ReadsGoOnTheWireWithTheirBufferSizesAndTimeOut) {
    LoadModel(L"WriteReadDelay=500\n");
    g_byPage = pgBase;
    std::int32_t value = kUnchanged;
    EXPECT_FALSE(ReadItem(3, value)) << "the printer does not know code 2A";
    EXPECT_FALSE(model().GetPrinterValues_ForPage(0, pgBase));
    EXPECT_FALSE(model().GetPrinterValues_ForPage(0, pgSubGroup01)) << "an empty page gets no answer";

    EXPECT_THAT(Written(),
                ElementsAre(Hex("1B 1D 1E 05 03 01 2A 1B 1D 1F"), Hex("1B 1D 1E 05 03 04 24 25 26 2A 1B 1D 1F"),
                            Hex("1B 1D 1E 05 03 00 1B 1D 1F")));
    const auto reads = Calls("ReadPort");
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_EQ(reads[0].args[1], 1024);
    EXPECT_EQ(reads[1].args[1], 4096);
    EXPECT_THAT(ReplyReadTimeOuts(), ElementsAre(4000, 4000, 4000)) << "WriteReadDelay plus TimeOutPage";
}

// ---- one item ---------------------------------------------------------------------------------------------

TEST_F(ValueReadTest, ItemReplyDecoding) {
    struct Case {
        const char* name;
        std::int32_t item;  // 0: width 1, 1: width 2, 2: width 3
        const char* reply;
        bool result;
        std::int32_t value;
    };
    const Case cases[] = {
        // Known answers.
        {"ptByte FE", 0, "1B 1D 1E 05 03 00 24 01 FE", true, -2},
        {"ptWord 05 80 of a width-2 item", 1, "1B 1D 1E 05 03 00 24 02 05 80", true, -5},
        {"ptWord 05 80 of a width-1 item: its second byte", 0, "1B 1D 1E 05 03 00 24 02 05 80", true, 128},
        {"ptMask 00 00 05", 2, "1B 1D 1E 05 03 00 24 03 00 00 05", true, 5},
        {"ptByte C0 reads back negative", 0, "1B 1D 1E 05 03 00 24 01 C0", true, -64},
        {"ptByte BF stays positive", 0, "1B 1D 1E 05 03 00 24 01 BF", true, 191},
        // Where the reply starts.
        {"head after two other bytes", 0, "AA BB 1B 1D 1E 05 03 00 24 01 FE", true, -2},
        {"stray frame head before the reply head", 0, "1B 1D 1E AA BB 1B 1D 1E 05 03 00 24 01 FE", true, -2},
        {"the entry's code is not checked", 1, "1B 1D 1E 05 03 00 77 02 10 00", true, 16},
        // Failures.
        {"unknown value type: unchanged", 0, "1B 1D 1E 05 03 00 24 07 01 02 03", true, kUnchanged},
        {"no reply head", 0, "1B 1D 1E 05 04 00 24 01 FE", false, kUnchanged},
        {"cut before its value bytes", 2, "1B 1D 1E 05 03 00 24 03 00 00", false, kUnchanged},
        {"cut before its type byte", 0, "1B 1D 1E 05 03 00 24", false, kUnchanged},
        {"no reply", 0, "", false, kUnchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script("read 01 items", {Hex(c.reply)});
        std::int32_t value = kUnchanged;
        EXPECT_EQ(ReadItem(c.item, value), c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(printer->scriptLeft(), 0u);
    }
    EXPECT_EQ(Values(pgBase), std::vector<std::int32_t>(4, 0)) << "a single read changes no item";
}

TEST_F(ValueReadTest, ReplyOffsetsCountFromReturnPrefixWhateverItsLength) {
    struct Case {
        const char* name;
        const wchar_t* keys;
        const char* reply;
    };
    const Case cases[] = {
        {"three-byte ReturnPrefix", L"ReturnPrefix=1B 1D 1E\n", "1B 1D 1E 05 03 00 24 01 FE"},
        {"empty ReturnPrefix matches at the first byte", L"ReturnPrefix=\n", "1B 1D 1E 05 03 00 24 01 FE"},
        {"other ReturnPrefix", L"ReturnPrefix=1B 1D 1E 05 09\n", "1B 1D 1E 05 03 1B 1D 1E 05 09 00 24 01 FE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadModel(c.keys);
        Script("read 01 items", {Hex(c.reply)});
        std::int32_t value = kUnchanged;
        EXPECT_TRUE(ReadItem(0, value));
        EXPECT_EQ(value, -2);
    }
}

TEST_F(ValueReadTest, ItemReadTakesTheItemOfTheCurrentPage) {
    printer->defineItem(0x26, 3, 0x0A0000);
    g_byPage = pgBase;
    std::int32_t value = kUnchanged;
    EXPECT_TRUE(ReadItem(2, value));
    EXPECT_EQ(value, 0x0A0000);
    EXPECT_THAT(Written(), ElementsAre(Hex("1B 1D 1E 05 03 01 26 1B 1D 1F")));
}

// ---- page -------------------------------------------------------------------------------------------------

TEST_F(ValueReadTest, PageReplyDecoding) {
    // Items 21 (width 1), 22 (width 2) and 2c (width 1, written in lower case).
    LoadModel(L"",
              L"[BaseSection]\nItemCount=3\n[BaseItem01]\nGetInstruction=21\n"
              L"[BaseItem02]\nGetInstruction=22\nParameterCount=2\n[BaseItem03]\nGetInstruction=2c\n");
    const char* const pad = " 00 00 00 00 00";
    struct Case {
        const char* name;
        std::string reply;
        bool result;
        std::vector<std::int32_t> values;
    };
    const Case cases[] = {
        {"two entries and five more bytes",
         std::string("1B 1D 1E 05 03 01 21 01 02 22 02 10 00") + pad,
         true,
         {2, 16, kNone}},
        {"thirteen bytes: decoding stops after the first entry",
         "1B 1D 1E 05 03 01 21 01 02 22 02 10 00",
         true,
         {2, kNone, kNone}},
        // The decoding goes on while the next entry starts before nLength - 5.
        {"fifteen bytes: the second entry starts at 9, before 10",
         "1B 1D 1E 05 03 01 21 01 02 22 01 10 00 00 00",
         true,
         {2, 16, kNone}},
        {"fourteen bytes: the second entry would start at 9, not before 9",
         "1B 1D 1E 05 03 01 21 01 02 22 01 10 00 00",
         true,
         {2, kNone, kNone}},
        {"lower-case code matches",
         std::string("1B 1D 1E 05 03 00 2C 03 0A 00 00") + pad,
         true,
         {kNone, kNone, 0x0A0000}},
        {"type 2 for a width-1 item: its second byte",
         std::string("1B 1D 1E 05 03 00 21 02 05 80") + pad,
         true,
         {128, kNone, kNone}},
        {"unknown value type ends the decoding",
         std::string("1B 1D 1E 05 03 02 21 01 02 22 09 10 00 2C 01 07") + pad,
         true,
         {2, kNone, kNone}},
        {"first entry of a code wins",
         std::string("1B 1D 1E 05 03 01 21 01 02 21 01 03") + pad,
         true,
         {2, kNone, kNone}},
        {"head after other bytes", std::string("AA 1B 1D 1E 05 03 00 21 01 FE") + pad, true, {-2, kNone, kNone}},
        // The width rule follows the order of the request, not the code: entry 0 belongs to item 0 (width 1).
        {"type 2 in the first entry is read for the first item",
         std::string("1B 1D 1E 05 03 00 22 02 05 80") + pad,
         true,
         {kNone, 128, kNone}},
        {"six bytes: nothing changes", "1B 1D 1E 05 03 00", true, {99, 99, 99}},
        {"no reply head: nothing changes", std::string("1B 1D 1E 05 04 00 21 01 02") + pad, false, {99, 99, 99}},
        {"no reply: nothing changes", "", false, {99, 99, 99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetValues(pgBase, 99);
        Script("read 03 items", {Hex(c.reply)});
        EXPECT_EQ(model().GetPrinterValues_ForPage(0, pgBase), c.result);
        EXPECT_EQ(Values(pgBase), c.values);
        EXPECT_EQ(printer->scriptLeft(), 0u);
    }
}

TEST_F(ValueReadTest, PageReadOfThePrintersOwnValues) {
    printer->defineItem(0x24, 1, -2);
    printer->defineItem(0x25, 2, -300);
    printer->defineItem(0x2A, 1, 1);
    // Code 26 is unknown to the printer: it leaves it out of its reply.
    g_byPage = pgSingleItem;
    EXPECT_TRUE(model().GetPrinterValues_ForPage(0, pgSaveValues));
    EXPECT_EQ(Values(pgBase), (std::vector<std::int32_t>{-2, -300, kNone, 1}));
}

TEST_F(ValueReadTest, DecoderStaysWithinItsWorkArea) {
    // 256 mask entries: the most a page reply can announce, in a reply that claims to be longer than the area.
    std::array<std::uint8_t, kPageReplySize> data{};
    const platform::Bytes head = Hex("1B 1D 1E 05 03 FF");
    std::copy(head.begin(), head.end(), data.begin());
    for (std::size_t e = 0; e < 256; ++e) {
        const std::size_t at = 6 + 5 * e;
        data[at] = e == 255 ? 0x26 : 0x10;
        data[at + 1] = 3;
        data[at + 4] = 1;
    }
    model().SetAllCurrentValues_ForPage(data, 100000, pgBase);
    EXPECT_EQ(Values(pgBase), (std::vector<std::int32_t>{kNone, kNone, 1, kNone}));
}

}  // namespace
