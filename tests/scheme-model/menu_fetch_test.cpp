// The menu fetch: model query with its CRC-32 check, [PrinterInfo], the pause, the menu request, the
// completion read, the container search and unpacking, the menu file; the waiting window around all of it.

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exchange_fixture.h"

namespace {

using ::testing::ElementsAre;
using Bytes = platform::Bytes;

const char* const kModelQueryBytes = "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F";
const char* const kMenuRequestBytes = "1B 1D 1E 06 03 1B 1D 1F";

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

// A menu container made here with zlib, independent of both the program and the printer.
Bytes Container(const Bytes& menu, std::uint32_t declaredSize) {
    uLongf packedSize = compressBound(static_cast<uLong>(menu.size()));
    Bytes packed(packedSize);
    EXPECT_EQ(compress2(packed.data(), &packedSize, menu.data(), static_cast<uLong>(menu.size()), 9), Z_OK);
    packed.resize(packedSize);
    Bytes out = {0x4A, 0x5A, 0x01, 0x00};
    const Bytes size = Le32(declaredSize);
    out.insert(out.end(), size.begin(), size.end());
    out.insert(out.end(), 8, 0x00);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

// Menu reply head: 1B 1D 1E 06 03, declared length, two bytes not interpreted.
Bytes MenuHead(std::uint32_t declared) {
    Bytes out = {0x1B, 0x1D, 0x1E, 0x06, 0x03};
    const Bytes length = Le32(declared);
    out.insert(out.end(), length.begin(), length.end());
    out.insert(out.end(), {0x00, 0x00});
    return out;
}

// The waiting window's stand-in: what happened to it, and when.
class RecordingWaitingWindow : public TWaitingWindowHook {
public:
    explicit RecordingWaitingWindow(platform::sim::SimPlatform& sim) : sim_(sim) {}
    void ShowWaitingWindow() override { events.push_back({"show", sim_.portLibrary().Calls().size()}); }
    void CloseWaitingWindow() override { events.push_back({"close", sim_.portLibrary().Calls().size()}); }

    struct Event {
        std::string what;
        std::size_t portCallsBefore;  // port library calls made before it
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> events;

private:
    platform::sim::SimPlatform& sim_;
};

class MenuFetchTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        SetWaitingWindowHook(&waiting);
        menuFile = g_strPrinterPath + L".DAT";
        printer->setModelName("WQ-472");
        printer->setMenuFile(kMenu);
    }

    // A fetch with an old menu file in place; the waiting window must have been shown before anything was
    // written and closed after the last port call.
    bool Fetch() {
        EXPECT_TRUE(sim.files().WriteWholeFile(menuFile, Text("old menu")));
        waiting.events.clear();
        sim.portLibrary().ClearCalls();
        const bool fetched = model().GetPrinterMenuResources();
        using Event = RecordingWaitingWindow::Event;
        EXPECT_EQ(waiting.events, (std::vector<Event>{{"show", 0}, {"close", sim.portLibrary().Calls().size()}}));
        EXPECT_EQ(sim.files().FileExists(menuFile), fetched) << "a menu file exactly when the fetch succeeded";
        return fetched;
    }
    Bytes MenuFile() { return sim.files().ReadWholeFile(menuFile).value_or(Bytes{}); }

    // The printer's own model reply and the given menu reply: a script must name every command it meets.
    void ScriptMenuReply(std::vector<Bytes> reply) {
        Script("model query", {Cat(Cat(Hex("1B 1D 1E 04 0F C5 88 CA 3F 01 00 06"), Text("WQ-472")), Hex("1B 1D 1F"))});
        Script("menu request", std::move(reply));
    }

    const Bytes kMenu = Text("[BaseSection]\r\nItemCount=0\r\n");
    RecordingWaitingWindow waiting{sim};
    std::wstring menuFile;
};

// ---- the whole fetch --------------------------------------------------------------------------------------

TEST_F(MenuFetchTest, FetchIdentifiesThePrinterAndWritesTheUnpackedMenu) {
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(MenuFile(), kMenu);
    EXPECT_EQ(g_strModelName, L"WQ-472");
    EXPECT_EQ(State(L"PrinterInfo", L"PrinterName"), L"WQ-472");
    EXPECT_THAT(Written(), ElementsAre(Hex(kModelQueryBytes), Hex(kMenuRequestBytes)));
    EXPECT_THAT(printer->commandLog(), ElementsAre("model query", "menu request"));

    // The model query drains the port first; the menu request does not.
    const auto reads = Calls("ReadPort");
    ASSERT_GE(reads.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(reads[i].args[2], i < 5 ? 10 : 20);
    }
    EXPECT_THAT(ReplyReadTimeOuts(), ElementsAre(3500, 4500)) << "WriteReadDelay and ReadMenuDelay on TimeOutPage";
    const auto closes = Calls("CloseUSBPort");
    const auto writes = Calls("WritePort");
    ASSERT_EQ(closes.size(), 2u);
    const std::uint64_t pause = writes.at(1).atMs - closes.at(0).atMs;
    EXPECT_GE(pause, 1500u);
    EXPECT_LT(pause, 1550u) << "the 1500 ms pause and at most one poll";
}

TEST_F(MenuFetchTest, FetchedSampleMenuLoadsAsTheSampleItself) {
    std::ifstream in(std::string(CORVENTA_SAMPLES_DIR) + "/WJ-610_Menu.Dat", std::ios::binary);
    ASSERT_TRUE(in);
    const Bytes sample((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    printer->setMenuFile(sample);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(MenuFile(), sample);

    const std::wstring samplePath = exchangeFolder + L"sample.DAT";
    ASSERT_TRUE(sim.files().WriteWholeFile(samplePath, sample));
    TSchemeOptions2 fromSample;
    fromSample.LoadPrinterMenu(samplePath);
    TSchemeOptions2 fetched;
    fetched.LoadPrinterMenu(menuFile);

    const std::pair<const char*, ArrSettingItems TSchemeOptions2::*> lists[] = {
        {"base", &TSchemeOptions2::m_BaseItems},           {"advance", &TSchemeOptions2::m_AdvanceItems},
        {"maintenance", &TSchemeOptions2::m_Maintenance},  {"sub-group 1", &TSchemeOptions2::m_CustomItems},
        {"sub-group 2", &TSchemeOptions2::m_CustomItems2}, {"sub-group 64", &TSchemeOptions2::m_CustomItems64},
    };
    std::size_t items = 0;
    for (const auto& [name, list] : lists) {
        SCOPED_TRACE(name);
        const ArrSettingItems& expected = fromSample.*list;
        const ArrSettingItems& actual = fetched.*list;
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(actual[i], expected[i]);
        }
        items += expected.size();
    }
    EXPECT_GT(items, 8u);
    EXPECT_EQ(fetched.m_IndexItems, fromSample.m_IndexItems);
}

// ---- model reply ------------------------------------------------------------------------------------------

TEST_F(MenuFetchTest, ModelNameFollowsTheCRCWhereverItStands) {
    const std::string forty(40, 'M');
    struct Case {
        const char* name;
        Bytes reply;
        std::wstring model;
    };
    const Case cases[] = {
        {"CRC after two other bytes, six name bytes", Hex("AA BB C5 88 CA 3F 00 00 06 57 51 2D 34 37 32"), L"WQ-472"},
        {"name length 40: the first 32 bytes", Cat(Hex("C5 88 CA 3F 00 00 28"), Text(forty)), std::wstring(32, L'M')},
        {"name ends at a zero byte", Hex("C5 88 CA 3F 00 00 06 41 42 00 43 44 45"), L"AB"},
        {"name cut by the end of the reply", Hex("C5 88 CA 3F 00 00 0A 41 42 43"), L"ABC"},
        {"name in the system code page", Hex("1B 1D 1E 04 0F C5 88 CA 3F 01 00 02 E9 74 1B 1D 1F"), L"\u00e9t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script("model query", {c.reply});
        EXPECT_TRUE(Fetch());
        EXPECT_EQ(g_strModelName, c.model);
        EXPECT_EQ(State(L"PrinterInfo", L"PrinterName"), c.model);
    }
}

TEST_F(MenuFetchTest, ModelReplyWithoutTheCRCEndsTheFetch) {
    printer->faults().wrongCrc = true;
    EXPECT_FALSE(Fetch());
    EXPECT_EQ(State(L"PrinterInfo", L"PrinterName"), L"<none>");
    EXPECT_THAT(printer->commandLog(), ElementsAre("model query")) << "the menu request is not sent";
    EXPECT_EQ(g_strModelName, L"");
}

// ---- menu reply -------------------------------------------------------------------------------------------

TEST_F(MenuFetchTest, MenuReplyIsCheckedCompletedAndUnpacked) {
    const Bytes container = Container(kMenu, static_cast<std::uint32_t>(kMenu.size()));
    ASSERT_LT(container.size(), 88u);
    // 88 bytes of menu data with the container at their end.
    const Bytes data88 = Cat(Bytes(88 - container.size(), 0x00), container);
    // A container one byte longer whose last byte is the reply's last, declaring one byte more than it holds:
    // it unpacks only when that byte is taken as menu data.
    const Bytes longer = Container(kMenu, static_cast<std::uint32_t>(kMenu.size()) + 1);
    const Bytes data89 = Cat(Bytes(89 - longer.size(), 0x00), longer);
    Bytes corrupt = container;
    std::fill(corrupt.begin() + 18, corrupt.end(), 0xFF);
    const auto length = static_cast<std::uint32_t>(container.size());
    // The first bytes of the length field, for replies that end inside it.
    const Bytes lengthField = Le32(length);
    const auto lengthCut = [&](std::size_t kept) { return Bytes(lengthField.begin(), lengthField.begin() + kept); };

    struct Case {
        const char* name;
        std::vector<Bytes> reply;
        bool fetched;
        std::int64_t completion;  // bytes the completion read asks for; 0: no completion read
    };
    const Case cases[] = {
        {"100 bytes, L = 88: the bytes from 11 to 98", {Cat(Cat(MenuHead(88), data88), Hex("EE"))}, true, 0},
        {"100 bytes, L = 20: L is only compared", {Cat(Cat(MenuHead(20), data88), Hex("EE"))}, true, 0},
        {"the reply's last byte is not menu data", {Cat(MenuHead(88), data89)}, false, 0},
        {"12 bytes, then the L bytes in a second read", {Cat(MenuHead(length), Hex("00")), container}, true, length},
        {"12 bytes with L = 5000, then only 4999", {Cat(MenuHead(5000), Hex("00")), Bytes(4999, 0x4A)}, false, 5000},
        {"L = 0: the printer holds no menu", {Cat(MenuHead(0), Hex("00"))}, false, 0},
        {"L beyond the reply buffer", {Cat(MenuHead(32769), Hex("00"))}, false, 0},
        {"L filling the reply buffer exactly", {Cat(MenuHead(32768), Hex("00")), Bytes(32767, 0x00)}, false, 32768},
        {"fewer than 8 bytes", {Hex("1B 1D 1E 06 03 00 00")}, false, 0},
        {"no menu reply head", {Hex("1B 1D 1E 06 04 20 00 00 00 00 00 00 00 00")}, false, 0},
        // The buffer is zeroed before the read, so the bytes of a length field that the reply cut read as zeros.
        {"8 bytes, the length's last byte cut", {Cat(Hex("1B 1D 1E 06 03"), lengthCut(3)), container}, true, length},
        {"head at 4, L in 2 bytes", {Cat(Hex("00 00 00 00 1B 1D 1E 06 03"), lengthCut(2)), container}, true, length},
        {"head ending the reply: L reads as 0", {Hex("00 00 00 1B 1D 1E 06 03")}, false, 0},
        {"head at the end of a full reply buffer", {Cat(Bytes(32763, 0x00), Hex("1B 1D 1E 06 03"))}, false, 0},
        {"no container head", {Cat(Cat(MenuHead(40), Bytes(40, 0x5A)), Hex("00"))}, false, 0},
        {"corrupt container", {Cat(Cat(MenuHead(length), corrupt), Hex("00"))}, false, 0},
        {"container shorter than its header", {Cat(MenuHead(6), Hex("4A 5A 01 00 05 00 00"))}, false, 0},
        {"no reply", {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptMenuReply(c.reply);
        EXPECT_EQ(Fetch(), c.fetched);
        if (c.fetched) {
            EXPECT_EQ(MenuFile(), kMenu);
        }
        EXPECT_EQ(Written().size(), 2u) << "the completion read writes nothing";
        const auto timeOuts = ReplyReadTimeOuts();
        if (c.completion == 0) {
            EXPECT_THAT(timeOuts, ElementsAre(3500, 4500));
        } else {
            EXPECT_THAT(timeOuts, ElementsAre(3500, 4500, 3510));
            EXPECT_EQ(Calls("ReadPort").back().args[1], c.completion);
        }
        EXPECT_EQ(printer->scriptLeft(), 0u);
        EXPECT_EQ(State(L"PrinterInfo", L"PrinterName"), L"WQ-472") << "recorded whatever the menu does";
        printer->discardPendingReplies();
    }
}

TEST_F(MenuFetchTest, PrinterFaultsLeaveNoMenuFile) {
    struct Case {
        const char* name;
        void (*fault)(vprinter::Faults&);
        bool fetched;
    };
    const Case cases[] = {
        {"menu data sent after the length head", [](vprinter::Faults& f) { f.menuInSecondRead = true; }, true},
        {"damaged zlib data", [](vprinter::Faults& f) { f.corruptMenuStream = true; }, false},
        {"zlib stream cut short", [](vprinter::Faults& f) { f.truncateMenuStream = true; }, false},
        {"printer does not answer", [](vprinter::Faults& f) { f.noReply = true; }, false},
        {"port cannot be opened", [](vprinter::Faults& f) { f.unplugged = true; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->faults() = vprinter::Faults{};
        c.fault(printer->faults());
        EXPECT_EQ(Fetch(), c.fetched);
        if (c.fetched) {
            EXPECT_EQ(MenuFile(), kMenu);
        }
        printer->faults() = vprinter::Faults{};
        printer->discardPendingReplies();
    }
}

TEST_F(MenuFetchTest, PrinterOfflineOrOffUSBStartsNoExchange) {
    struct Case {
        const char* name;
        const wchar_t* port;
        std::uint32_t attributes;
    };
    const Case cases[] = {
        {"offline", L"USB001", platform::kPrinterAttributeWorkOffline},
        {"parallel port", L"LPT1:", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().AddPrinter(kPrinter, kDriver, c.port, c.attributes);
        EXPECT_FALSE(Fetch());
        EXPECT_TRUE(Calls("OpenPrinterUSBPort").empty());
    }
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

TEST_F(MenuFetchTest, MissingPortLibraryRaisesPastTheClosedWaitingWindow) {
    ASSERT_TRUE(sim.files().WriteWholeFile(menuFile, Text("old menu")));
    sim.portLibrary().SetModuleMissing(true);
    EXPECT_THROW(model().GetPrinterMenuResources(), platform::ExternalException);
    using Event = RecordingWaitingWindow::Event;
    EXPECT_EQ(waiting.events, (std::vector<Event>{{"show", 0}, {"close", 0}}));
    EXPECT_FALSE(sim.files().FileExists(menuFile));
}

TEST_F(MenuFetchTest, AfterAFailedReadEveryReadOfTheFetchWaits1500Ms) {
    LoadModel(L"ReadOnLastFail=0\n");
    printer->faults().noReply = true;
    EXPECT_FALSE(Fetch());
    printer->faults().noReply = false;
    ASSERT_TRUE(model().m_Sections.AffirmReadDisable);

    printer->faults().menuInSecondRead = true;
    EXPECT_TRUE(Fetch());
    EXPECT_THAT(ReplyReadTimeOuts(), ElementsAre(1500, 1500, 1500));
}

}  // namespace
