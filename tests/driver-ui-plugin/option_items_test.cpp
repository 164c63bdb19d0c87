#include <gtest/gtest.h>

#include <vector>

#include "model_settings_file.h"
#include "option_items.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "plugin_fixture.h"
#include "private_devmode.h"

namespace {

namespace dk = driverkit;

struct Setting {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};

class OptionItemsTest : public PluginTest {
protected:
    OptionItemsTest() { printer = sim.spooler().OpenPrinter(kPrinter); }
    ~OptionItemsTest() override { sim.spooler().ClosePrinter(printer); }

    // No model settings file and no printer data.
    void Reset() {
        sim.files().DeleteFile(kSettingsFile);
        sim.spooler().AddPrinter(kPrinter, L"Maker VP-1 Series", L"USB001");  // drops the printer data
        sim.spooler().ClosePrinter(printer);
        printer = sim.spooler().OpenPrinter(kPrinter);
    }
    void Write(std::initializer_list<Setting> settings) {
        for (const auto& s : settings) {
            WriteSetting(s.section, s.key, s.value);
        }
    }
    void PutData(const wchar_t* name, const std::wstring& value) {
        sim.spooler().PutPrinterData(kPrinter, name, {platform::kRegSz, platform::WideToUtf16Le(value)});
    }

    dk::OEMCUIPPARAM Param() {
        dk::OEMCUIPPARAM param{};
        param.cbSize = sizeof param;
        param.hPrinter = reinterpret_cast<dk::HANDLE>(printer);
        param.pPrinterName = name.data();
        param.hOEMHeap = reinterpret_cast<dk::HANDLE>(heap);
        return param;
    }

    // The driver's two calls: count, then fill the room it made.
    std::vector<dk::OPTITEM> Build(dk::DWORD mode, dk::OEMCUIPPARAM& param) {
        tavrel::OemCommonUIProp(mode, &param);
        items.assign(param.cOEMOptItems, dk::OPTITEM{});
        param.pOEMOptItems = items.data();
        tavrel::OemCommonUIProp(mode, &param);
        return items;
    }
    std::vector<dk::OPTITEM> BuildPrinterItems() {
        param = Param();
        return Build(dk::OEMCUIP_PRNPROP, param);
    }
    void Apply(dk::OEMCUIPPARAM& p) {
        dk::CPSUICBPARAM cb{};
        cb.cbSize = sizeof cb;
        cb.Reason = dk::CPSUICB_REASON_APPLYNOW;
        EXPECT_EQ(p.OEMCUIPCallback(&cb, &p), dk::CPSUICB_ACTION_NONE);
    }
    std::wstring Data(const wchar_t* valueName) {
        const auto data = sim.spooler().PrinterData(kPrinter, valueName);
        return data ? platform::Utf16LeToWide(data->data.data(), data->data.size()) : L"<none>";
    }

    platform::PrinterHandle printer = 0;
    std::wstring name = kPrinter;
    platform::HeapHandle heap = sim.heap().Create();
    dk::OEMCUIPPARAM param{};
    std::vector<dk::OPTITEM> items;
};

// Each item is known by the range on its up-down type.
std::vector<std::pair<int, int>> Ranges(const std::vector<dk::OPTITEM>& items) {
    std::vector<std::pair<int, int>> ranges;
    for (const auto& item : items) {
        const dk::OPTPARAM& range = item.pOptType->pOptParam[1];
        ranges.emplace_back(static_cast<int>(static_cast<dk::LONG_PTR>(range.IconID)), static_cast<int>(range.lParam));
    }
    return ranges;
}

const std::pair<int, int> kCompress{25, 100}, kXMove{-50, 50}, kYMove{-100, 100};

struct SwitchCase {
    const char* name;
    std::vector<Setting> settings;
    std::vector<std::pair<int, int>> items;
};

const SwitchCase kSwitchCases[] = {
    {"no model settings file", {}, {}},
    {"method 0, compression only",
     {{L"Settings", L"Landscape_Compress", L"1"},
      {L"Settings", L"XMoveEnable", L"0"},
      {L"ImageProcess", L"MoveY", L"5"}},
     {kCompress}},
    {"method 0, both",
     {{L"Settings", L"Landscape_Compress", L"2"}, {L"Settings", L"XMoveEnable", L"1"}},
     {kCompress, kXMove}},
    {"method 1, only MoveY",
     {{L"Settings", L"GraphicProcessMethod", L"1"}, {L"ImageProcess", L"MoveY", L"3"}},
     {kYMove}},
    {"method 1, all three",
     {{L"Settings", L"GraphicProcessMethod", L"1"},
      {L"ImageProcess", L"CompressRate", L"90"},
      {L"ImageProcess", L"MoveX", L"0"},
      {L"ImageProcess", L"MoveY", L"-3"}},
     {kCompress, kXMove, kYMove}},
    {"method 1, a key of 1024 counts as absent",
     {{L"Settings", L"GraphicProcessMethod", L"1"},
      {L"ImageProcess", L"MoveX", L"1024"},
      {L"Settings", L"Landscape_Compress", L"1"}},
     {}},
    {"method 2 offers nothing",
     {{L"Settings", L"GraphicProcessMethod", L"2"}, {L"Settings", L"Landscape_Compress", L"1"}},
     {}},
};

TEST_F(OptionItemsTest, TheModelSettingsFileChoosesTheItems) {
    for (const auto& c : kSwitchCases) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kSettingsFile);
        for (const auto& s : c.settings) {
            WriteSetting(s.section, s.key, s.value);
        }
        EXPECT_EQ(Ranges(BuildPrinterItems()), c.items);
        if (!c.items.empty()) {
            EXPECT_EQ(param.OEMCUIPCallback, &tavrel::PrinterPropCallback);
        }
    }
}

// 98 zeros and "85": 100 characters.
const std::wstring kZeroPadded85 = std::wstring(98, L'0') + L"85";
const std::wstring k200Digits(200, L'1');

struct ValueCase {
    const char* name;
    std::vector<Setting> settings;
    const wchar_t* dataName;  // printer data to store, or null
    const wchar_t* data;
    std::vector<dk::LONG> sel;
};

const ValueCase kValueCases[] = {
    {"stored 20 is out of range", {{L"Settings", L"Landscape_Compress", L"1"}}, L"COMPRESS_VALUE", L"20", {100}},
    {"stored 85", {{L"Settings", L"Landscape_Compress", L"1"}}, L"COMPRESS_VALUE", L"85", {85}},
    {"stored 101 is out of range", {{L"Settings", L"Landscape_Compress", L"1"}}, L"COMPRESS_VALUE", L"101", {100}},
    {"move -51 is out of range", {{L"Settings", L"XMoveEnable", L"1"}}, L"XMove", L"-51", {0}},
    {"move -50", {{L"Settings", L"XMoveEnable", L"1"}}, L"XMove", L"-50", {-50}},
    {"starting value from the file",
     {{L"Settings", L"Landscape_Compress", L"1"}, {L"Settings", L"COMPRESS_VALUE", L"60"}},
     nullptr,
     nullptr,
     {60}},
    {"the data wins over the file",
     {{L"Settings", L"Landscape_Compress", L"1"}, {L"Settings", L"COMPRESS_VALUE", L"60"}},
     L"COMPRESS_VALUE",
     L"70",
     {70}},
    {"no data and no starting value", {{L"Settings", L"Landscape_Compress", L"1"}}, nullptr, nullptr, {100}},
    {"method 1 names",
     {{L"Settings", L"GraphicProcessMethod", L"1"},
      {L"ImageProcess", L"MoveX", L"7"},
      {L"ImageProcess", L"MoveY", L"-80"}},
     L"MoveY",
     L"-99",
     {7, -99}},
    {"data that is not a number reads as 0",
     {{L"Settings", L"Landscape_Compress", L"1"}},
     L"COMPRESS_VALUE",
     L"abc",
     {100}},
    {"only the leading digits count", {{L"Settings", L"Landscape_Compress", L"1"}}, L"COMPRESS_VALUE", L" 85%", {85}},
    // The read buffer holds 100 characters: data that fills it exactly has no terminator left after it.
    {"data filling the buffer exactly",
     {{L"Settings", L"Landscape_Compress", L"1"}, {L"Settings", L"COMPRESS_VALUE", L"60"}},
     L"COMPRESS_VALUE",
     kZeroPadded85.c_str(),
     {85}},
    {"data longer than the buffer gives way to the file",
     {{L"Settings", L"Landscape_Compress", L"1"}, {L"Settings", L"COMPRESS_VALUE", L"60"}},
     L"COMPRESS_VALUE",
     k200Digits.c_str(),
     {60}},
};

TEST_F(OptionItemsTest, StoredValuesAndTheirRanges) {
    for (const auto& c : kValueCases) {
        SCOPED_TRACE(c.name);
        Reset();
        for (const auto& s : c.settings) {
            WriteSetting(s.section, s.key, s.value);
        }
        if (c.dataName) {
            PutData(c.dataName, c.data);
        }
        std::vector<dk::LONG> sel;
        for (const auto& item : BuildPrinterItems()) {
            sel.push_back(item.Sel);
        }
        EXPECT_EQ(sel, c.sel);
    }
}

struct NumberCase {
    const char* name;
    const wchar_t* data;  // printer data "XMove", or null
    const wchar_t* file;  // [Settings] XMove, or null
    bool found;
    std::int32_t value;  // 7 when nothing was found
};

const NumberCase kNumberCases[] = {
    {"highest 32-bit number", L"2147483647", nullptr, true, 2147483647},
    {"lowest 32-bit number", L"-2147483648", nullptr, true, -2147483647 - 1},
    // A parse that wraps would read 2^32 + 85 as 85; one that saturates would find a value.
    {"data beyond 32 bits", L"4294967381", L"60", false, 7},
    {"below 32 bits", L"-2147483649", nullptr, false, 7},
    {"a starting value beyond 32 bits", nullptr, k200Digits.c_str(), false, 7},
    {"an empty starting value", nullptr, L"", false, 7},
    {"no digits", L"abc", nullptr, true, 0},
};

TEST_F(OptionItemsTest, ReadingAValueStopsAt32Bits) {
    for (const auto& c : kNumberCases) {
        SCOPED_TRACE(c.name);
        Reset();
        if (c.data) {
            PutData(L"XMove", c.data);
        }
        if (c.file) {
            WriteSetting(L"Settings", L"XMove", c.file);
        }
        std::int32_t value = 7;
        EXPECT_EQ(tavrel::ReadPrinterDataValue(L"XMove", value, true, printer), c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(OptionItemsTest, ApplyWritesEachValueAsTextWithoutTerminator) {
    Write({{L"Settings", L"Landscape_Compress", L"1"},
           {L"Settings", L"XMoveEnable", L"1"},
           {L"Settings", L"COMPRESS_VALUE", L"60"}});
    auto built = BuildPrinterItems();
    ASSERT_EQ(built.size(), 2u);
    EXPECT_EQ(built[0].Sel, 60);
    items[0].Sel = 75;
    items[1].Sel = -7;
    Apply(param);
    const auto data = sim.spooler().PrinterData(kPrinter, L"XMove");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->type, platform::kRegSz);
    EXPECT_EQ(data->data, (platform::Bytes{'-', 0, '7', 0}));
    EXPECT_EQ(Data(L"COMPRESS_VALUE"), L"75");

    // Once written, the printer data is the value, whatever the file says.
    WriteSetting(L"Settings", L"COMPRESS_VALUE", L"40");
    EXPECT_EQ(BuildPrinterItems()[0].Sel, 75);
}

TEST_F(OptionItemsTest, MethodOneWritesItsOwnNames) {
    Write({{L"Settings", L"GraphicProcessMethod", L"1"}, {L"ImageProcess", L"MoveY", L"3"}});
    ASSERT_EQ(BuildPrinterItems().size(), 1u);
    items[0].Sel = 12;
    Apply(param);
    EXPECT_EQ(Data(L"MoveY"), L"12");
    EXPECT_EQ(Data(L"XMove"), L"<none>");
}

// The driver makes room for what the counting call said; the file may offer more by the filling call.
TEST_F(OptionItemsTest, NeitherFillingNorApplyingGoesPastTheAllottedItems) {
    Write({{L"Settings", L"Landscape_Compress", L"1"}});
    param = Param();
    tavrel::OemCommonUIProp(dk::OEMCUIP_PRNPROP, &param);
    ASSERT_EQ(param.cOEMOptItems, 1u);
    Write({{L"Settings", L"XMoveEnable", L"1"}});

    dk::OPTITEM guard{};
    guard.cbSize = 0xBEEF;
    items.assign(2, guard);
    param.pOEMOptItems = items.data();
    tavrel::OemCommonUIProp(dk::OEMCUIP_PRNPROP, &param);
    EXPECT_EQ(items[0].cbSize, sizeof(dk::OPTITEM));
    EXPECT_EQ(items[1].cbSize, 0xBEEF) << "the item past the allotted one was touched";

    items[0].Sel = 70;
    items[1].Sel = 9;
    Apply(param);
    EXPECT_EQ(Data(L"COMPRESS_VALUE"), L"70");
    EXPECT_EQ(Data(L"XMove"), L"<none>") << "written from an item the driver never allotted";
}

// Only methods 0 and 1 are defined; a file switched to another one after the items were built.
TEST_F(OptionItemsTest, AnUndefinedMethodWritesNothing) {
    Write({{L"Settings", L"Landscape_Compress", L"1"}});
    ASSERT_EQ(BuildPrinterItems().size(), 1u);
    tavrel::PrivateDevMode part{};
    tavrel::DefaultPrivateDevMode(part);
    dk::OEMCUIPPARAM doc = Param();
    doc.pOEMDM = &part;
    std::vector<dk::OPTITEM> docItems(1);
    doc.cOEMOptItems = 1;
    doc.pOEMOptItems = docItems.data();
    tavrel::OemCommonUIProp(dk::OEMCUIP_DOCPROP, &doc);

    Write({{L"Settings", L"GraphicProcessMethod", L"2"}});
    Apply(param);
    Apply(doc);
    for (const wchar_t* name : {L"COMPRESS_VALUE", L"CompressRate", L"XMove", L"MoveX", L"MoveY"}) {
        EXPECT_EQ(Data(name), L"<none>") << platform::WideToUtf8(name);
    }
}

TEST_F(OptionItemsTest, AnItemIsAnUpDownFieldInTheDriversHeap) {
    sim.locale().SetUserDefaultUILanguage(2052);
    Write({{L"Settings", L"Landscape_Compress", L"1"}});
    const auto built = BuildPrinterItems();
    ASSERT_EQ(built.size(), 1u);
    const dk::OPTITEM& item = built[0];
    EXPECT_EQ(item.cbSize, sizeof(dk::OPTITEM));
    EXPECT_EQ(item.Level, 1);
    EXPECT_EQ(item.Flags, dk::OPTIF_COLLAPSE);
    EXPECT_EQ(item.DMPubID, dk::DMPUB_NONE);
    ASSERT_NE(item.pName, nullptr);
    EXPECT_EQ(std::wstring(item.pName), L"图形打印横向压缩率（%）");
    EXPECT_EQ(sim.heap().BlockSize(heap, item.pName), (std::wcslen(item.pName) + 1) * sizeof(wchar_t))
        << "the name block is shrunk to its text";
    const dk::OPTTYPE& type = *item.pOptType;
    EXPECT_EQ(type.cbSize, sizeof(dk::OPTTYPE));
    EXPECT_EQ(type.Type, dk::TVOT_UDARROW);
    EXPECT_EQ(type.Count, 2);
    EXPECT_EQ(type.pOptParam[0].cbSize, sizeof(dk::OPTPARAM));
    EXPECT_EQ(type.pOptParam[0].IconID, 0u);
    EXPECT_EQ(sim.heap().BlockCount(heap), 3u) << "name, type, parameters";
}

TEST_F(OptionItemsTest, ARefusingHeapLeavesTheItemWithoutTypeAndLeaksNothing) {
    Write({{L"Settings", L"XMoveEnable", L"1"}});
    sim.heap().RefuseAfter(heap, 3);  // the name, its shrink and the type; not the parameters
    const auto built = BuildPrinterItems();
    ASSERT_EQ(built.size(), 1u);
    EXPECT_NE(built[0].pName, nullptr);
    EXPECT_EQ(built[0].pOptType, nullptr);
    EXPECT_EQ(sim.heap().BlockCount(heap), 1u) << "the type went back when its parameters were refused";
}

TEST_F(OptionItemsTest, TheDocumentItemFollowsThePrivatePart) {
    Write({{L"Settings", L"Landscape_Compress", L"1"}});
    tavrel::PrivateDevMode part{};
    tavrel::DefaultPrivateDevMode(part);
    part.dwCompressRate = 20;
    dk::OEMCUIPPARAM doc = Param();
    doc.pOEMDM = &part;
    EXPECT_EQ(tavrel::OemCommonUIProp(dk::OEMCUIP_DOCPROP, &doc), dk::E_FAIL);
    EXPECT_EQ(doc.cOEMOptItems, 1u);
    Build(dk::OEMCUIP_DOCPROP, doc);
    EXPECT_EQ(part.dwCompressRate, 100u) << "a rate below 25 becomes 100";
    EXPECT_EQ(items[0].Sel, 100);
    ASSERT_EQ(doc.OEMCUIPCallback, &tavrel::DocumentPropCallback);

    dk::CPSUICBPARAM cb{};
    cb.Reason = dk::CPSUICB_REASON_SETACTIVE;
    EXPECT_EQ(doc.OEMCUIPCallback(&cb, &doc), dk::CPSUICB_ACTION_NONE) << "nothing changed";
    part.dwCompressRate = 10;
    EXPECT_EQ(doc.OEMCUIPCallback(&cb, &doc), dk::CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_EQ(items[0].Sel, 100);
    EXPECT_EQ(part.dwCompressRate, 100u);
    EXPECT_TRUE(items[0].Flags & dk::OPTIF_CHANGED);

    items[0].Sel = 80;
    cb.Reason = dk::CPSUICB_REASON_KILLACTIVE;
    doc.OEMCUIPCallback(&cb, &doc);
    EXPECT_EQ(part.dwCompressRate, 80u);

    items[0].Sel = 90;
    Apply(doc);
    EXPECT_EQ(Data(L"COMPRESS_VALUE"), L"90");
    EXPECT_EQ(part.dwCompressRate, 90u) << "no move item, so the rate is taken as well";
}

TEST_F(OptionItemsTest, OtherModesAreRefused) {
    dk::OEMCUIPPARAM p = Param();
    EXPECT_EQ(tavrel::OemCommonUIProp(3, &p), dk::E_FAIL);
    EXPECT_EQ(platform::threadState().GetLastError(), platform::kErrorInvalidParameter);
    EXPECT_EQ(tavrel::OemCommonUIProp(dk::OEMCUIP_PRNPROP, &p), dk::S_OK);
}

struct PathCase {
    const char* name;
    const wchar_t* driver;
    const wchar_t* path;
};

const PathCase kPathCases[] = {
    {"three words", L"Maker VP-1 Series", L"C:\\Drivers\\x64\\3\\VP-1 Series_Settings.Dat"},
    {"one word", L"VP1", L"C:\\Drivers\\x64\\3\\VP1_Settings.Dat"},
    {"cut to 259 characters", nullptr, nullptr},
};

TEST_F(OptionItemsTest, TheModelSettingsFileIsNamedAfterTheDriver) {
    for (const auto& c : kPathCases) {
        SCOPED_TRACE(c.name);
        const std::wstring driver = c.driver ? c.driver : L"Maker " + std::wstring(300, L'm');
        sim.spooler().AddPrinter(L"P", driver, L"LPT1:");
        std::wstring path = L"untouched";
        ASSERT_TRUE(tavrel::GetModelSettingsFile(L"P", path));
        if (c.path) {
            EXPECT_EQ(path, c.path);
        } else {
            EXPECT_EQ(path.size(), 259u);
        }
    }
    std::wstring path = L"untouched";
    EXPECT_FALSE(tavrel::GetModelSettingsFile(L"No such printer", path));
    EXPECT_EQ(path, L"untouched");
}

}  // namespace
