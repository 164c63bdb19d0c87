// Loading the menu definition: page headers, the six lists, and menu files that fail.

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "model_test_support.h"
#include "platform/profile.h"

namespace {

constexpr wchar_t kMenu[] =
    L"[BaseItem00]\nName=Advance\nIcon=00_ADVANCE\nTitle.EN=Advanced\nNote.EN=For service staff\n"
    L"[BaseItem99]\nName=Maintenance\nIcon=99_MAINTENANCE\nTitle.EN=Maintenance\nTitle.CN=维护\n"
    L"[BaseSection]\nItemCount=3\n"
    L"[BaseItem01]\nTaskIndex=7\nName=LineSpacing\nIcon=01_LINE_SPACING\nTitle.EN=Line spacing\n"
    L"Title.CN=行距\nNote.EN=Space between lines\nGetInstruction=21\nSetInstruction=1B 1D 1E 04 21\n"
    L"ParameterCount=1\nRuleType=ENUM\nRule.EN=0=1/6 inch,1=1/8 inch\nRule.CN=0=1/6英寸,1=1/8英寸\n"
    L"Default=1\nSubGroup=2\nExplain.EN=Not for base items\n"
    L"[BaseItem03]\nName=FormLength\nGetInstruction=23\nParameterCount=2\nRuleType=SERIAL\n"
    L"Rule.EN=Min=1\\rMax=3\\rStep=1\\rDisplayAdd=0\\rTitle=^inch\n"
    L"Rule.CN=Min=1\\rMax=3\\rStep=1\\rDisplayAdd=0\\rTitle=^英寸\nDefault=2\n"
    L"[AdvanceSection]\nItemCount=1\n[AdvanceItem01]\nName=Emulation\n"
    L"[MaintenanceSection]\nItemCount=1\n"
    L"[MaintenanceItem01]\nName=Clean\nIcon=Ink_Clean\nExplain.EN=Cleans the head\nExplain.CN=清洗\n"
    L"[SubGroup01]\nItemCount=1\n[SubGroup01Item01]\nName=G1\n"
    L"[SubGroup02]\nItemCount=2\n[SubGroup02Item02]\nName=G2b\n"
    L"[SubGroup64]\nItemCount=1\n[SubGroup64Item01]\nName=G64\n";

class SchemeMenuTest : public ModelTest {};

TEST_F(SchemeMenuTest, LoadsHeadersAndEveryList) {
    PutIniFile(kMenuFile, kMenu);
    TSchemeOptions2 model;
    model.LoadPrinterMenu(kMenuFile);
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    EXPECT_EQ(model.m_strLangStrTail, L".EN");

    EXPECT_EQ(model.GetIndexItem(pgAdvance).Name, L"Advance");
    EXPECT_EQ(model.GetIndexItem(pgAdvance).Note, L"For service staff");
    EXPECT_EQ(model.GetIndexItem(pgMaintenance).Icon, L"99_MAINTENANCE");
    EXPECT_EQ(model.GetIndexItem(pgMaintenance).Title, L"Maintenance");

    struct Count {
        std::uint8_t page;
        std::int32_t items;
    };
    for (const Count c : {Count{pgBase, 3}, Count{pgAdvance, 1}, Count{pgMaintenance, 1}, Count{pgSubGroup01, 1},
                          Count{pgSubGroup02, 2}, Count{pgSubGroup64, 1}}) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(model.GetItemLength(c.page), c.items);
    }

    const TSettingItem first = model.GetItem(pgBase, 0);
    EXPECT_EQ(first.TaskIndex, 7);
    EXPECT_EQ(first.Name, L"LineSpacing");
    EXPECT_EQ(first.Icon, L"01_LINE_SPACING");
    EXPECT_EQ(first.Title, L"Line spacing");
    EXPECT_EQ(first.Note, L"Space between lines");
    EXPECT_EQ(first.GetInstruction, L"21");
    EXPECT_EQ(first.SetInstruction, L"1B 1D 1E 04 21");
    EXPECT_EQ(first.nParameterByte, 1u);
    EXPECT_EQ(first.RuleString, L"0=1/6 inch,1=1/8 inch");
    EXPECT_EQ(first.RuleValues.RuleTitle, (std::vector<std::wstring>{L"1/6 inch", L"1/8 inch"}));
    EXPECT_EQ(first.ValueDefault, 1);
    EXPECT_EQ(first.ValueCurrent, 1);
    EXPECT_EQ(first.iSubGroup, 2);
    EXPECT_EQ(first.Explain, L"");  // only maintenance items have one

    // ItemCount 3 with no [BaseItem02]: a blank item with the width default.
    const TSettingItem gap = model.GetItem(pgBase, 1);
    EXPECT_EQ(gap.Name, L"");
    EXPECT_EQ(gap.nParameterByte, 1u);
    EXPECT_EQ(gap.nRuleValueCount, 0u);

    const TSettingItem third = model.GetItem(pgBase, 2);
    EXPECT_EQ(third.nParameterByte, 2u);
    EXPECT_EQ(third.RuleValues.RuleValue, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(third.RuleValues.RuleTitle[0], L"1 inch");
    EXPECT_EQ(third.ValueCurrent, 2);

    EXPECT_EQ(model.GetItem(pgMaintenance, 0).Explain, L"Cleans the head");
    EXPECT_EQ(model.GetItem(pgSubGroup02, 0).Name, L"");
    EXPECT_EQ(model.GetItem(pgSubGroup02, 1).Name, L"G2b");
    EXPECT_EQ(model.GetItem(pgSubGroup64, 0).Name, L"G64");
}

TEST_F(SchemeMenuTest, ReadsTheSystemLanguage) {
    g_GlobalString.Language = plCN;
    PutIniFile(kMenuFile, kMenu);
    TSchemeOptions2 model;
    model.LoadPrinterMenu(kMenuFile);
    EXPECT_EQ(model.GetItem(pgBase, 0).Title, L"行距");
    EXPECT_EQ(model.GetItem(pgBase, 0).RuleValues.RuleTitle[1], L"1/8英寸");
    EXPECT_EQ(model.GetItem(pgMaintenance, 0).Explain, L"清洗");
    EXPECT_EQ(model.GetIndexItem(pgMaintenance).Title, L"维护");
    EXPECT_EQ(model.GetItem(pgBase, 2).RuleValues.RuleTitle[2], L"3 英寸");
    // A key the language lacks is empty, not the English text.
    EXPECT_EQ(model.GetItem(pgBase, 0).Note, L"");
}

TEST_F(SchemeMenuTest, MissingMenuKeepsTheLists) {
    PutIniFile(kMenuFile, kMenu);
    TSchemeOptions2 model;
    model.LoadPrinterMenu(kMenuFile);
    model.LoadPrinterMenu(L"C:\\nowhere\\menu.DAT");
    EXPECT_EQ(model.GetItemLength(pgBase), 3);

    TSchemeOptions2 fresh;
    fresh.LoadPrinterMenu(L"C:\\nowhere\\menu.DAT");
    EXPECT_EQ(fresh.GetItemLength(pgBase), 0);
    EXPECT_EQ(fresh.m_strLangStrTail, L"");
}

TEST_F(SchemeMenuTest, FailingMenuStopsTheLoad) {
    struct Case {
        const char* name;
        const wchar_t* menu;
        const wchar_t* message;
        std::int32_t baseItems;        // length of the base list afterwards
        std::int32_t loadedBaseItems;  // leading base items read before the failure
    };
    const wchar_t* const tail = L"[AdvanceSection]\nItemCount=2\n[AdvanceItem01]\nName=Adv\n";
    const Case cases[] = {
        {"SERIAL without Min",
         L"[BaseSection]\nItemCount=3\n[BaseItem01]\nName=A\n[BaseItem02]\nName=B\nRuleType=SERIAL\n"
         L"Rule.EN=Max=2\\rStep=1\\rDisplayAdd=0\\rTitle=x\n[BaseItem03]\nName=C\n",
         L"[BaseItem02] '' is not a valid integer value", 3, 2},
        {"SERIAL with Step 0",
         L"[BaseSection]\nItemCount=3\n[BaseItem01]\nName=A\n[BaseItem02]\nName=B\nRuleType=SERIAL\n"
         L"Rule.EN=Min=0\\rMax=2\\rStep=0\\rDisplayAdd=0\n[BaseItem03]\nName=C\n",
         L"[BaseItem02] Division by zero", 3, 2},
        {"negative ItemCount", L"[BaseSection]\nItemCount=-1\n[BaseItem01]\nName=A\n",
         L"ItemCount -1 of [BaseSection] is out of range", 0, 0},
        {"10000 items", L"[BaseSection]\nItemCount=10000\n[BaseItem01]\nName=A\n",
         L"ItemCount 10000 of [BaseSection] is out of range", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutIniFile(kMenuFile, std::wstring(c.menu) + tail);
        TSchemeOptions2 model;
        const auto start = std::chrono::steady_clock::now();
        try {
            model.LoadPrinterMenu(kMenuFile);
            ADD_FAILURE() << "no error";
        } catch (const platform::Exception& e) {
            EXPECT_NE(e.Message().find(c.message), std::wstring::npos) << platform::WideToUtf8(e.Message());
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        ASSERT_EQ(model.GetItemLength(pgBase), c.baseItems);
        for (std::int32_t i = 0; i < c.baseItems; ++i) {
            SCOPED_TRACE(i);
            const TSettingItem item = model.GetItem(pgBase, i);
            EXPECT_EQ(item.Name.empty(), i >= c.loadedBaseItems);
            EXPECT_EQ(item.nRuleValueCount, 0u);
            if (i >= c.loadedBaseItems) {
                EXPECT_EQ(item, TSettingItem());
            }
        }
        EXPECT_EQ(model.GetItemLength(pgAdvance), 0);
        EXPECT_TRUE(sim.messageBoxes().Shown().empty());
    }
}

TEST_F(SchemeMenuTest, GarbageMenuFileLoadsNothing) {
    // A fixed pseudo-random byte stream, once as 8-bit text and once behind a UTF-16 byte-order mark.
    platform::Bytes garbage(64 * 1024);
    std::uint32_t state = 12345;
    for (std::uint8_t& b : garbage) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    platform::Bytes utf16(garbage.size() + 2);
    utf16[0] = 0xFF;
    utf16[1] = 0xFE;
    std::copy(garbage.begin(), garbage.end(), utf16.begin() + 2);
    utf16.push_back(0x41);  // odd length
    for (const platform::Bytes* bytes : {&garbage, &utf16}) {
        PutFile(kMenuFile, *bytes);
        TSchemeOptions2 model;
        EXPECT_NO_THROW(model.LoadPrinterMenu(kMenuFile));
        for (std::uint8_t page : {pgBase, pgAdvance, pgMaintenance, pgSubGroup01, pgSubGroup02, pgSubGroup64}) {
            EXPECT_EQ(model.GetItemLength(page), 0);
        }
    }
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

TEST_F(SchemeMenuTest, OverlongRuleIsCutByTheProfileReader) {
    std::wstring rule;
    for (int v = 0; rule.size() < 100000; ++v) {
        rule += platform::IntToStr(v % 10) + L"=x,";
    }
    PutIniFile(kMenuFile, L"[BaseSection]\nItemCount=1\n[BaseItem01]\nRuleType=ENUM\nRule.EN=" + rule + L"\n");
    TSchemeOptions2 model;
    model.LoadPrinterMenu(kMenuFile);
    const TSettingItem item = model.GetItem(pgBase, 0);
    EXPECT_EQ(item.RuleString.size(), platform::kProfileValueMax);
    // 2047 characters hold 511 entries of four characters and a last one of three.
    EXPECT_EQ(item.nRuleValueCount, 512u);
    EXPECT_EQ(item.RuleValues.RuleTitle.size(), 512u);
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

}  // namespace
