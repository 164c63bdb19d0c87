// Item access by page code and index, display titles of values, and the read-disable switch.

#include <cstdint>
#include <vector>

#include "model_test_support.h"

namespace {

TSettingItem MakeItem(const std::wstring& name,
                      std::uint32_t width,
                      std::vector<std::int32_t> values,
                      std::vector<std::wstring> titles) {
    TSettingItem item;
    item.Name = name;
    item.nParameterByte = width;
    item.nRuleValueCount = static_cast<std::uint32_t>(values.size());
    item.RuleValues.RuleValue = std::move(values);
    item.RuleValues.RuleTitle = std::move(titles);
    return item;
}

class ItemAccessTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        model.m_BaseItems = {MakeItem(L"Base0", 1, {}, {}), MakeItem(L"Base1", 1, {}, {})};
        model.m_AdvanceItems = {MakeItem(L"Adv0", 1, {}, {})};
        model.m_Maintenance = {MakeItem(L"Mnt0", 1, {}, {})};
        model.m_CustomItems = {MakeItem(L"Sub1", 1, {}, {})};
        model.m_CustomItems2 = {MakeItem(L"Sub2", 1, {}, {})};
        model.m_CustomItems64 = {MakeItem(L"Sub64a", 1, {}, {}), MakeItem(L"Sub64b", 1, {}, {}),
                                 MakeItem(L"Sub64c", 1, {}, {})};
        model.m_IndexItems[pgAdvance].Name = L"AdvHeader";
        model.m_IndexItems[pgMaintenance].Name = L"MntHeader";
        model.m_IndexItems[pgBase].Name = L"BaseHeader";
    }
    TSchemeOptions2 model;
};

TEST_F(ItemAccessTest, PageCodesSelectTheirLists) {
    struct Case {
        std::uint8_t page;
        std::int32_t length;
        const wchar_t* first;  // name of item 0, empty for a page without items
        const wchar_t* header;
    };
    const Case cases[] = {
        {pgAdvance, 1, L"Adv0", L"AdvHeader"},
        {pgSingleItem, 2, L"Base0", L""},
        {pgMaintenance, 1, L"Mnt0", L"MntHeader"},
        {pgBase, 2, L"Base0", L"BaseHeader"},
        {pgSaveValues, 2, L"Base0", L""},
        {pgSubGroup01, 1, L"Sub1", L""},
        {pgSubGroup02, 1, L"Sub2", L""},
        {pgSubGroup64, 3, L"Sub64a", L""},
        // Codes outside the table: pages without items and without a header.
        {2, 0, L"", L""},
        {pgReadMenu, 0, L"", L""},
        {130, 0, L"", L""},
        {192, 0, L"", L""},
        {255, 0, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page));
        EXPECT_EQ(model.GetItemLength(c.page), c.length);
        EXPECT_EQ(model.GetItem(c.page, 0).Name, c.first);
        EXPECT_EQ(model.GetIndexItem(c.page).Name, c.header);
        TSettingItem item;
        EXPECT_EQ(model.GetItem(c.page, 0, item), c.length > 0);
    }
}

TEST_F(ItemAccessTest, OutOfRangeLeavesRecordAndModelAlone) {
    TSettingItem sentinel = MakeItem(L"Untouched", 3, {5}, {L"five"});
    sentinel.ValueCurrent = 77;
    struct Case {
        const char* name;
        std::uint8_t page;
        std::int32_t index;
    };
    const Case cases[] = {
        {"index -1", pgBase, -1},
        {"index equal to the length", pgBase, 2},
        {"far index", pgSubGroup64, 1 << 30},
        {"unknown page", 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSettingItem item = sentinel;
        EXPECT_FALSE(model.GetItem(c.page, c.index, item));
        EXPECT_EQ(item, sentinel);
        EXPECT_EQ(model.GetItem(c.page, c.index), TSettingItem());
        EXPECT_EQ(model.GetTitleFromValue(c.page, c.index, 0), L"");

        const ArrSettingItems before = model.m_BaseItems;
        model.SetItem_ValueCurrent(c.page, c.index, 99);
        EXPECT_EQ(model.m_BaseItems, before);
    }
}

TEST_F(ItemAccessTest, SetValueCurrentReachesTheSharedList) {
    model.SetItem_ValueCurrent(pgSingleItem, 1, -7);
    EXPECT_EQ(model.GetItem(pgBase, 1).ValueCurrent, -7);
    EXPECT_EQ(model.GetItem(pgSaveValues, 1).ValueCurrent, -7);
    EXPECT_EQ(model.GetItem(pgBase, 0).ValueCurrent, 0);
    model.SetItem_ValueCurrent(pgSubGroup64, 2, 5);
    EXPECT_EQ(model.m_CustomItems64[2].ValueCurrent, 5);
}

TEST_F(ItemAccessTest, TitleFromValue) {
    struct Case {
        const char* name;
        TSettingItem item;
        std::int32_t value;
        const wchar_t* title;
    };
    const TSettingItem byteItem = MakeItem(L"b", 1, {0, 1, -1}, {L"Off", L"On", L"Auto"});
    const TSettingItem twinItem = MakeItem(L"t", 2, {3, 3}, {L"first", L"last"});
    const TSettingItem mask4 = MakeItem(L"m", 3, {0, 1, 2, 3}, {L"A", L"B", L"C", L"D"});
    const TSettingItem mask30 = MakeItem(L"m30", 3, std::vector<std::int32_t>(30, 0), std::vector<std::wstring>(30));
    const Case cases[] = {
        {"byte value with a title", byteItem, 1, L"On"},
        {"negative byte value", byteItem, -1, L"Auto"},
        {"value without a title", byteItem, 5, L""},
        {"last of equal values wins", twinItem, 3, L"last"},
        {"mask 0", mask4, 0, L"No"},
        {"mask options 1 and 3", mask4, (1 << 23) | (1 << 21), L"1, 3"},
        {"mask every option", mask4, 0xF00000, L"1, 2, 3, 4"},
        {"mask bits beyond the options only", mask4, 0x0FFFFF, L"No"},
        {"mask bits above 23 are no options", mask4, 0x7F000000 | (1 << 20), L"4"},
        {"mask of more than 24 options stops at 24", mask30, 1, L"24"},
        {"width 0 has no titles", MakeItem(L"z", 0, {1}, {L"One"}), 1, L""},
        {"width 4 has no titles", MakeItem(L"w", 4, {1}, {L"One"}), 1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.m_BaseItems = {c.item};
        EXPECT_EQ(model.GetTitleFromValue(pgBase, 0, c.value), c.title);
    }
}

TEST_F(ItemAccessTest, WorkerReachesTheModelInUse) {
    InstallSchemeOptionsForWorker();
    TRWPrinterModel* link = GetRWPrinterModel();
    ASSERT_NE(link, nullptr);
    // Without a model the worker keeps its long time-outs.
    EXPECT_EQ(link->ReadOnLastFail(), 1);
    link->SetAffirmReadDisableStatus(true);

    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    g_SchemeOptions->m_Sections.ReadOnLastFail = 0;
    EXPECT_EQ(link->ReadOnLastFail(), 0);
    link->SetAffirmReadDisableStatus(true);
    EXPECT_TRUE(g_SchemeOptions->m_Sections.AffirmReadDisable);

    // Port mode puts another model in place; the worker follows it.
    g_SchemeOptions = std::make_unique<TSchemeOptions2>();
    g_SchemeOptions->m_Sections.ReadOnLastFail = 3;
    EXPECT_EQ(link->ReadOnLastFail(), 3);
    EXPECT_FALSE(g_SchemeOptions->m_Sections.AffirmReadDisable);
    InstallSchemeOptionsForWorker();
    EXPECT_EQ(GetRWPrinterModel(), link);
}

TEST_F(ItemAccessTest, LoadingSettingsInstallsTheWorkerLink) {
    // Regression: with the model settings file missing the link was never installed, so a failed read
    // could not switch the model to short time-outs.
    for (const bool fileExists : {false, true}) {
        SCOPED_TRACE(fileExists ? "file present" : "file missing");
        SetRWPrinterModel(nullptr);
        if (fileExists) {
            PutIniFile(kSchemeFile, L"[GlobalSettings]\nReadOnLastFail=0\n");
        }
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(kSchemeFile);
        ASSERT_NE(GetRWPrinterModel(), nullptr);
        EXPECT_EQ(GetRWPrinterModel()->ReadOnLastFail(), 0);
        GetRWPrinterModel()->SetAffirmReadDisableStatus(true);
        EXPECT_TRUE(g_SchemeOptions->m_Sections.AffirmReadDisable);
    }
}

}  // namespace
