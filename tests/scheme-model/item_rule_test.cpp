// The rule parser: ENUM and SERIAL rules, their separators and quoting, and their failures.

#include <chrono>
#include <vector>

#include "ItemRule.h"
#include "model_test_support.h"

namespace {

using platform::sim::ExpectedBox;
using Values = std::vector<std::int32_t>;
using Titles = std::vector<std::wstring>;

class ItemRuleTest : public ModelTest {
protected:
    TSettingItem Parse(const std::wstring& ruleType, const std::wstring& rule) {
        TSettingItem item;
        item.Title = L"Line spacing";
        item.RuleType = ruleType;
        item.RuleString = rule;
        ParseItemRule(item);
        return item;
    }
    std::size_t Boxes() const { return const_cast<ItemRuleTest*>(this)->sim.messageBoxes().Shown().size(); }
    // The error boxes of an ENUM rule name the entry's index; the tables count them.
    void ExpectEnumErrors(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            sim.messageBoxes().ExpectBox(
                ExpectedBox{.text = L"while parseing Enum rule\"Line spacing\"(", .part = true});
        }
    }
};

struct RuleCase {
    const char* name;
    const wchar_t* ruleType;
    const wchar_t* rule;
    Values values;
    Titles titles;
    std::size_t boxes;
};

void ExpectRule(const TSettingItem& item, const RuleCase& c) {
    EXPECT_EQ(item.RuleValues.RuleValue, c.values);
    EXPECT_EQ(item.RuleValues.RuleTitle, c.titles);
    EXPECT_EQ(item.nRuleValueCount, c.values.size());
}

TEST_F(ItemRuleTest, EnumRules) {
    const RuleCase cases[] = {
        {"comma separated", L"ENUM", L"0=Off,1=On", {0, 1}, {L"Off", L"On"}, 0},
        {"line marks separate too", L"ENUM", L"0=Off\\r1=On", {0, 1}, {L"Off", L"On"}, 0},
        {"letter case of the type", L"enum", L"0=Off,1=On", {0, 1}, {L"Off", L"On"}, 0},
        {"blanks around the equals sign", L"ENUM", L"0 = Off line", {0}, {L"Off line"}, 0},
        {"a tab stays inside the title", L"ENUM", L"0=a\tb", {0}, {L"a\tb"}, 0},
        {"hexadecimal and negative values",
         L"ENUM",
         L"$10=a,0x20=b,x30=c,-5=d",
         {16, 32, 48, -5},
         {L"a", L"b", L"c", L"d"},
         0},
        {"quoted entry keeps its comma", L"ENUM", L"1=X,\"0=A,B\"", {1, 0}, {L"X", L"A,B"}, 0},
        {"doubled quotes inside quotes", L"ENUM", L"\"0=Say \"\"hi\"\"\",1=x", {0, 1}, {L"Say \"hi\"", L"x"}, 0},
        {"unquoted comma splits the title", L"ENUM", L"0=A,B", {0, 0}, {L"A", L""}, 1},
        {"trailing comma adds an empty entry", L"ENUM", L"0=Off,1=On,", {0, 1, 0}, {L"Off", L"On", L""}, 1},
        {"two commas give an empty entry", L"ENUM", L"0=Off,,1=On", {0, 0, 1}, {L"Off", L"", L"On"}, 1},
        {"value that is no number", L"ENUM", L"abc=Bad,1=Good", {0, 1}, {L"Bad", L"Good"}, 1},
        {"value with text after its digits", L"ENUM", L"1a=Bad", {0}, {L"Bad"}, 1},
        {"empty rule", L"ENUM", L"", {}, {}, 0},
        {"other rule type has no values", L"LIST", L"0=Off,1=On", {}, {}, 0},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        ExpectEnumErrors(c.boxes);
        ExpectRule(Parse(c.ruleType, c.rule), c);
        EXPECT_EQ(Boxes(), c.boxes);
    }
}

TEST_F(ItemRuleTest, EnumErrorBoxNamesItemAndEntry) {
    sim.messageBoxes().ExpectBox(L"while parseing Enum rule\"Line spacing\"(1)Exception !");
    Parse(L"ENUM", L"0=Off,oops=On");
    const auto shown = sim.messageBoxes().Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"while parseing Enum rule\"Line spacing\"(1)Exception !");
    EXPECT_EQ(shown[0].caption, L"Rule parse error");
    EXPECT_EQ(shown[0].icon, platform::MsgIcon::Error);
    EXPECT_EQ(shown[0].buttons, platform::MsgButtons::OK);
}

TEST_F(ItemRuleTest, SerialRules) {
    const RuleCase cases[] = {
        {"bounds swapped, negative step",
         L"SERIAL",
         L"Min=10\\rMax=0\\rStep=-5\\rDisplayAdd=1\\rTitle=mm\\rmmMultiply=0",
         {0, 5, 10},
         {L"1mm", L"6mm", L"11mm"},
         0},
        {"millimetres",
         L"SERIAL",
         L"Min=0\\rMax=2\\rStep=1\\rDisplayAdd=0\\rmmMultiply=0.5\\rTitle=",
         {0, 1, 2},
         {L"0\t ( 0.00mm )", L"1\t ( 0.50mm )", L"2\t ( 1.00mm )"},
         0},
        {"multiplier too small for millimetres",
         L"SERIAL",
         L"Min=1\\rMax=2\\rStep=1\\rDisplayAdd=0\\rmmMultiply=0.001",
         {1, 2},
         {L"1", L"2"},
         0},
        {"unreadable multiplier is 0",
         L"SERIAL",
         L"Min=1\\rMax=1\\rStep=1\\rDisplayAdd=0\\rmmMultiply=half",
         {1},
         {L"1"},
         0},
        {"names ignore letter case", L"serial", L"MIN=1,max=3,STEP=2,displayadd=0,title=x", {1, 3}, {L"1x", L"3x"}, 0},
        {"blank after the equals sign of the title",
         L"SERIAL",
         L"Min=1\\rMax=1\\rStep=1\\rDisplayAdd=0\\rTitle= dots",
         {1},
         {L"1 dots"},
         0},
        {"step that overshoots",
         L"SERIAL",
         L"Min=0\\rMax=10\\rStep=4\\rDisplayAdd=0",
         {0, 4, 8},
         {L"0", L"4", L"8"},
         0},
        {"first of two equal names counts",
         L"SERIAL",
         L"Min=1\\rMin=5\\rMax=2\\rStep=1\\rDisplayAdd=0",
         {1, 2},
         {L"1", L"2"},
         0},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        ExpectRule(Parse(c.ruleType, c.rule), c);
        EXPECT_EQ(Boxes(), c.boxes);
    }
}

TEST_F(ItemRuleTest, SerialMillimetresInTheLocaleFormat) {
    sim.locale().SetDecimalSeparator(L',');
    // The comma of the number would split the entry unless it is quoted.
    const TSettingItem item = Parse(L"SERIAL", L"Min=1\\rMax=2\\rStep=1\\rDisplayAdd=0\\r\"mmMultiply=0,25\"");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{L"1\t ( 0,25mm )", L"2\t ( 0,50mm )"}));
}

TEST_F(ItemRuleTest, SerialFailures) {
    const std::wstring serialError =
        L"while parseing Serial rule\"Form length\"Exception !\r\nMay be leak to write a key word";
    struct Case {
        const char* name;
        const wchar_t* rule;
        const wchar_t* message;
        std::size_t boxes;
    };
    const Case cases[] = {
        {"missing Min", L"Max=2\\rStep=1\\rDisplayAdd=0\\rTitle=x", L"'' is not a valid integer value", 0},
        {"Min that is no number", L"Min=abc\\rMax=2\\rStep=1\\rDisplayAdd=0", L"'abc' is not a valid integer value", 0},
        {"name followed by a blank", L"Min =1\\rMax=2\\rStep=1\\rDisplayAdd=0", L"'' is not a valid integer value", 0},
        {"Step 0", L"Min=0\\rMax=2\\rStep=0\\rDisplayAdd=0", L"Division by zero", 0},
        {"fewer than four entries", L"Min=0\\rMax=2\\rStep=1", L"'' is not a valid integer value", 1},
        {"too many values", L"Min=-2147483648\\rMax=2147483647\\rStep=1\\rDisplayAdd=0", L"is too large", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        TSettingItem item;
        item.Title = L"Form length";
        item.RuleType = L"SERIAL";
        item.RuleString = c.rule;
        if (c.boxes) {
            sim.messageBoxes().ExpectBox(serialError);
        }
        try {
            ParseItemRule(item);
            ADD_FAILURE() << "no error";
        } catch (const platform::Exception& e) {
            EXPECT_NE(e.Message().find(c.message), std::wstring::npos) << platform::WideToUtf8(e.Message());
        }
        EXPECT_EQ(item.nRuleValueCount, 0u);
        EXPECT_TRUE(item.RuleValues.RuleValue.empty());
        EXPECT_TRUE(item.RuleValues.RuleTitle.empty());
        const auto shown = sim.messageBoxes().Shown();
        ASSERT_EQ(shown.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(shown[0].text, serialError);
            EXPECT_EQ(shown[0].caption, L"Rule parse error");
            EXPECT_EQ(shown[0].icon, platform::MsgIcon::Error);
        }
    }
}

TEST_F(ItemRuleTest, TokenHelpers) {
    EXPECT_EQ(RestoreRuleToken(L"^^a^b`c\x01^"), L"a b\tc");
    EXPECT_EQ(SplitRuleEntries(L"\x01\x02"
                               L"a\r\nb , c,"),
              (Titles{L"a", L"b", L"c", L""}));
    EXPECT_EQ(SplitRuleEntries(L"\"open quote, to the end"), (Titles{L"open quote, to the end"}));
    EXPECT_EQ(SplitRuleEntries(L"a,b" + std::wstring(1, L'\0') + L",c"), (Titles{L"a", L"b"}));
    EXPECT_EQ(ParseRuleInteger(L"  -12"), -12);
    EXPECT_EQ(ParseRuleInteger(L"X1f"), 31);
    EXPECT_EQ(ParseRuleInteger(L"-$10"), -16);
    EXPECT_EQ(ParseRuleInteger(L"+0x10"), 16);
    EXPECT_EQ(ParseRuleInteger(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseRuleInteger(L"-"), std::nullopt);
    EXPECT_EQ(ParseRuleInteger(L"-$"), std::nullopt);
    EXPECT_EQ(ParseRuleInteger(L"12 "), std::nullopt);
    EXPECT_EQ(ParseRuleInteger(L""), std::nullopt);
}

TEST_F(ItemRuleTest, RuleStringStaysAsRead) {
    const TSettingItem item = Parse(L"ENUM", L"0=Off\\r1=On");
    EXPECT_EQ(item.RuleString, L"0=Off\\r1=On");
}

TEST_F(ItemRuleTest, HugeRulesParseInBoundedTime) {
    std::wstring manyEntries;
    Values values;
    for (int v = 0; manyEntries.size() < 100000; ++v) {
        manyEntries += platform::IntToStr(v) + L"=Entry^" + platform::IntToStr(v) + L",";
        values.push_back(v);
    }
    manyEntries.pop_back();
    const std::wstring oneEntry = L"1=" + std::wstring(100000, L'x');
    const std::wstring longTitle = L"Min=0\\rMax=3\\rStep=1\\rDisplayAdd=0\\rTitle=" + std::wstring(100000, L'y');

    const auto start = std::chrono::steady_clock::now();
    const TSettingItem many = Parse(L"ENUM", manyEntries);
    const TSettingItem one = Parse(L"ENUM", oneEntry);
    const TSettingItem serial = Parse(L"SERIAL", longTitle);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(many.RuleValues.RuleValue, values);
    EXPECT_EQ(many.RuleValues.RuleTitle.back(), L"Entry " + platform::IntToStr(values.back()));
    ASSERT_EQ(one.nRuleValueCount, 1u);
    EXPECT_EQ(one.RuleValues.RuleTitle[0].size(), 100000u);
    ASSERT_EQ(serial.nRuleValueCount, 4u);
    EXPECT_EQ(serial.RuleValues.RuleTitle[3].size(), 100001u);
    EXPECT_EQ(Boxes(), 0u);
    EXPECT_LT(elapsed, std::chrono::seconds(10));
}

}  // namespace
