#include "GlobalString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "kCorventaResources.h"
#include "platform/text.h"
#include "sim_fixture.h"

namespace {

using platform::ResourceType;

constexpr std::uint16_t kLangCN = 2052;
constexpr std::uint16_t kLangCHT = 1028;
constexpr std::uint16_t kLangEN = 1033;
constexpr std::uint16_t kLangJP = 1041;

const wchar_t* const kCodes[] = {L"CN", L"CHT", L"EN", L"JP"};

// Keys the table carries in CN, CHT and EN only.
const std::set<std::wstring> kNoJapanese = {
    L"ReadTimeout",
    L"btnInkCancel",
    L"Group64_Name1",
    L"Group64_Name2",
    L"Group64_Name3",
    L"Group64_Name4",
    L"Group64_Name21",
    L"Group64_btnDetect",
    L"Group64_Info",
    L"PutTheCard",
    L"PaperLengthInvalid",
    L"Inch",
    L"Layer",
    L"Auto",
    L"ON_",
    L"OFF",
};
// Keys the table does not carry at all.
const std::set<std::wstring> kNoEntry = {L"CanSelectMultiItem"};

bool TableHasEntry(const std::wstring& name, const std::wstring& code) {
    if (kNoEntry.count(name)) {
        return false;
    }
    return !(code == L"JP" && kNoJapanese.count(name));
}

const TGlobalStringKey& KeyOf(const wchar_t* name) {
    for (const TGlobalStringKey& key : GlobalStringKeys()) {
        if (std::wstring(key.Name) == name) {
            return key;
        }
    }
    ADD_FAILURE() << "no key " << platform::WideToUtf8(name);
    return GlobalStringKeys().front();
}

class GlobalStringTest : public SimTest {
  protected:
    void SetUp() override { sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount); }

    void LoadIn(std::uint16_t langId) {
        sim.locale().SetSystemDefaultLangId(langId);
        std::wstring error;
        ASSERT_TRUE(LoadGlobalStrings(L"RESSTRING", &error)) << platform::WideToUtf8(error);
    }

    platform::Bytes TableBytes() {
        auto bytes = sim.resources().Find(L"RESSTRING", ResourceType::RCData);
        EXPECT_TRUE(bytes.has_value());
        return bytes.value_or(platform::Bytes{});
    }

    // The converted table as a file of its own, to be read through the profile functions as the program does.
    std::wstring TableFile() {
        const std::wstring path = L"C:\\table\\RESSTRING.ini";
        EXPECT_TRUE(sim.files().ForceDirectories(L"C:\\table"));
        EXPECT_TRUE(sim.files().WriteWholeFile(path, TableBytes()));
        return path;
    }

    // The table's text without its byte-order mark.
    std::wstring TableText() {
        const platform::Bytes bytes = TableBytes();
        if (bytes.size() < 2) {
            return {};
        }
        return platform::Utf16LeToWide(bytes.data() + 2, bytes.size() - 2);
    }
};

TEST_F(GlobalStringTest, SystemLanguageChoosesTheTexts) {
    struct Case {
        std::uint16_t langId;
        TProgramLanguage language;
        const wchar_t* suffix;
        const wchar_t* currentValue;
        const wchar_t* no;
    };
    const Case cases[] = {
        {3076, plCHT, L".CHT", L"當前值：", L"無"}, {5124, plCHT, L".CHT", L"當前值：", L"無"},
        {1028, plCHT, L".CHT", L"當前值：", L"無"}, {4100, plCN, L".CN", L"当前值：", L"无"},
        {2052, plCN, L".CN", L"当前值：", L"无"},   {1033, plEN, L".EN", L"Current :", L"No"},
        {2057, plEN, L".EN", L"Current :", L"No"},  {1036, plEN, L".EN", L"Current :", L"No"},
        {1041, plJP, L".JP", L"設定値:", L"ない"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.langId);
        g_GlobalString = TGlobalString{};
        LoadIn(c.langId);
        EXPECT_EQ(g_GlobalString.Language, c.language);
        EXPECT_EQ(AddLanguageCode(L"."), c.suffix);
        EXPECT_EQ(g_GlobalString.CurrentValue, c.currentValue);
        EXPECT_EQ(g_GlobalString.NO, c.no);
    }
}

// Every field, in every language, holds the table's text where the table has one and its default elsewhere.
TEST_F(GlobalStringTest, EveryFieldComesFromTheTableOrItsDefault) {
    const std::wstring file = TableFile();
    const std::uint16_t langIds[] = {kLangCN, kLangCHT, kLangEN, kLangJP};
    for (int lang = 0; lang < 4; ++lang) {
        LoadIn(langIds[lang]);
        for (const TGlobalStringKey& key : GlobalStringKeys()) {
            SCOPED_TRACE(platform::WideToUtf8(std::wstring(key.Name) + L"." + kCodes[lang]));
            const std::wstring raw =
                sim.profile().ReadString(file, L"Infos", std::wstring(key.Name) + L"." + kCodes[lang], key.Default);
            EXPECT_EQ(g_GlobalString.*key.Field, UnescapeLineBreaks(raw));
        }
    }
}

TEST_F(GlobalStringTest, JapaneseGapsShowTheEnglishDefaults) {
    LoadIn(kLangJP);
    for (const std::wstring& name : kNoJapanese) {
        SCOPED_TRACE(platform::WideToUtf8(name));
        const TGlobalStringKey& key = KeyOf(name.c_str());
        EXPECT_EQ(g_GlobalString.*key.Field, UnescapeLineBreaks(key.Default));
    }
    EXPECT_EQ(g_GlobalString.ReadTimeout,
              L"The printer establishes a value to read super! \r\nPlease confirm a printer to support this function, "
              L"and print a cable exactitude connectivity.");
    EXPECT_EQ(g_GlobalString.Group64_Name21, L"");
    EXPECT_EQ(g_GlobalString.ParametersBtnCancel, L"キャンセル");
}

TEST_F(GlobalStringTest, CanSelectMultiItemShowsItsDefaultInEveryLanguage) {
    for (std::uint16_t langId : {kLangCN, kLangCHT, kLangEN, kLangJP}) {
        SCOPED_TRACE(langId);
        LoadIn(langId);
        EXPECT_EQ(g_GlobalString.CanSelectMultiItem,
                  L"Can select or cancel several values, use a mouse to click an item.");
    }
}

// Texts the program's windows quote, as they show after loading (line breaks as CR LF).
TEST_F(GlobalStringTest, QuotedTextsLoadVerbatim) {
    struct Case {
        std::uint16_t langId;
        std::wstring TGlobalString::*field;
        const char* name;
        const wchar_t* text;
    };
#define FIELD(f) &TGlobalString::f, #f
    const Case cases[] = {
        {kLangCN, FIELD(HintTitle), L"提示"},
        {kLangEN, FIELD(HintTitle), L"Information"},
        {kLangCN, FIELD(ErrorTitle), L"错误"},
        {kLangEN, FIELD(ErrorTitle), L"Error"},
        {kLangCN, FIELD(ParametersCaption), L"选项设置"},
        {kLangEN, FIELD(ParametersCaption), L"Parameter picking"},
        {kLangCN, FIELD(ParametersTitle), L"参数选项："},
        {kLangEN, FIELD(ParametersTitle), L"The Parameter of picking :"},
        {kLangCN, FIELD(ParametersNoteTitle), L"说明："},
        {kLangEN, FIELD(ParametersNoteTitle), L"Explanation :"},
        {kLangCN, FIELD(ParametersBtnSet), L"设置"},
        {kLangEN, FIELD(ParametersBtnSet), L"Set"},
        {kLangCN, FIELD(ParametersBtnReturn), L"返回"},
        {kLangEN, FIELD(ParametersBtnReturn), L"Return"},
        {kLangCN, FIELD(ParametersBtnDefault), L"默认值"},
        {kLangEN, FIELD(ParametersBtnDefault), L"Default"},
        {kLangCN, FIELD(ParametersBtnCancel), L"取消"},
        {kLangEN, FIELD(ParametersBtnCancel), L"Cancel"},
        {kLangCN, FIELD(DraftPrint), L"草稿打印"},
        {kLangEN, FIELD(DraftPrint), L"Draft Print"},
        {kLangCN, FIELD(NormalPrint), L"正常和优质打印"},
        {kLangEN, FIELD(NormalPrint), L"Normal and Quality"},
        {kLangCN, FIELD(btnInkPrn), L"打印"},
        {kLangEN, FIELD(btnInkPrn), L"Print"},
        {kLangCN, FIELD(Adjust),
         L"确认打印机已经打开并连接到计算机，并安装好打印纸。\r\n点击“是”按钮打印垂直校准样张。"},
        {kLangEN, FIELD(Adjust), L"Click OK to print the checkpage."},
        {kLangCN, FIELD(WaitingForPrinterWork), L"打印机正在工作，请稍候。"},
        {kLangEN, FIELD(WaitingForPrinterWork), L"Printer is working, please wait."},
        {kLangCN, FIELD(PrinterNotFound), L"没有找到打印机！\r\n请确保打印电缆已正确连接且打印机处于联机状态。"},
        {kLangEN, FIELD(PrinterNotFound),
         L"No printer is found!\r\nPlease make sure the interface cable is connected correctly and the printer "
         L"should be ONLINE."},
        {kLangCN, FIELD(PrinterNotFoundOnPort), L"程序出现错误，没找到指定的联机端口（%s）！"},
        // The leading blank survives because the table quotes the text (blanks after "=" are dropped).
        {kLangEN, FIELD(PrinterNotFoundOnPort), L" Program error ! No target port is found (%s)!"},
        {kLangCN, FIELD(PrinterStatusError), L"参数获取失败！打印机可能处于脱机或缺纸状态。\r\n参数值不可确认。"},
        {kLangEN, FIELD(PrinterStatusError),
         L"Parameter reading failure! Printer may be paper out or offline. \r\n The parameter can not be "
         L"confirmed."},
        {kLangCN, FIELD(SetPrinterSuccessI), L"打印机设置成功。"},
        {kLangEN, FIELD(SetPrinterSuccessI), L"Setup is successful."},
        {kLangCN, FIELD(SetPrinterFail), L"设置失败！\r\n请确认打印电缆已正确连接。"},
        {kLangEN, FIELD(SetPrinterFail),
         L"Printer setup failure! \r\n Please confirm the cables are connected correctly."},
        {kLangCN, FIELD(SetPrinterTimeout), L"设置确认超时。\r\n请确认打印机支持此项功能，且打印电缆已正确连接。"},
        {kLangEN, FIELD(SetPrinterTimeout),
         L"Setting confirming is overtime! \r\n Please confirm that the printer supports this function and the "
         L"cables are connected correctly."},
        {kLangCN, FIELD(SetPrinterCantAffirm),
         L"打印机当前设置值读取超时，无法确认打印机设置成功。\r\n请确认打印机支持此项功能，且打印电缆正确连接。\r\n（"
         L"某些选项可能需要重新启动打印机才能生效！）"},
        {kLangEN, FIELD(SetPrinterCantAffirm),
         L"Reading the current settings overtime, it is unable to confirm if the printer is set successfully. "
         L"\r\n Please confirm that the printer supports this function and the cables are connected correctly. "
         L"\r\n (Some items are likely to take effect after restarting the printer!)"},
        {kLangCN, FIELD(SetPrinterFailRetry), L"打印机设置失败，请稍后重试！"},
        {kLangEN, FIELD(SetPrinterFailRetry), L"Printer setup failure, please try again later!"},
        {kLangCN, FIELD(Page), L"已打印页数"},
        {kLangEN, FIELD(Page), L"Print Page"},
        {kLangCN, FIELD(PageInfo), L"已打印\r\n \r\n \r\n页"},
        {kLangEN, FIELD(PageInfo), L"Printed\r\n \r\n \r\n pages"},
        {kLangCN, FIELD(InkInfo), L"剩余墨量"},
        {kLangEN, FIELD(InkInfo), L"Remainder Ink"},
        {kLangCN, FIELD(ReadTimeout), L"打印机设置值读取超时！\r\n请确认打印机支持此项功能，且打印电缆正确连接。"},
        // The table has this key twice in English; the first line counts.
        {kLangEN, FIELD(ReadTimeout),
         L"The printer value reading is overtime! \r\n Please confirm that the printer supports this function and "
         L"the cables are connected correctly."},
        {kLangEN, FIELD(btnInkCancel), L"Cancel"},
        {kLangCN, FIELD(InkFinish), L"设置完成！"},
        {kLangEN, FIELD(InkFinish), L"Finish."},
        {kLangEN, FIELD(DeepCleanInterval), L"Can not deep clean in 24 hours!"},
        {kLangEN, FIELD(StarorCancel),
         L"Please confirm your job has finished.\r\nPress yes to continue your printing,press no to do it again."},
        {kLangEN, FIELD(Group64_Name21), L"Custom page length:"},
        {kLangEN, FIELD(ON_), L"ON"},
    };
#undef FIELD
    for (std::uint16_t langId : {kLangCN, kLangEN}) {
        LoadIn(langId);
        for (const Case& c : cases) {
            if (c.langId == langId) {
                SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.langId));
                EXPECT_EQ(g_GlobalString.*c.field, c.text);
            }
        }
    }
}

// The table spells the key "Starorcancel"; key names match without regard to letter case.
TEST_F(GlobalStringTest, StarorcancelKeyFillsStarorCancel) {
    EXPECT_NE(TableText().find(L"\r\nStarorcancel.CN = "), std::wstring::npos);
    LoadIn(kLangCN);
    EXPECT_EQ(g_GlobalString.StarorCancel, L"请确认您的操作已经完成。\r\n按“确定”继续打印，按“取消”重新操作。");
}

TEST_F(GlobalStringTest, UnescapeLineBreaksTurnsOnlyTheFourCharacterSequence) {
    struct Case {
        const wchar_t* name;
        std::wstring in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"empty", L"", L""},
        {L"one", L"a\\r\\nb", L"a\r\nb"},
        {L"several", L"\\r\\n\\r\\nx\\r\\n", L"\r\n\r\nx\r\n"},
        {L"lone backslash n", L"a\\nb", L"a\\nb"},
        {L"lone backslash r", L"a\\rb", L"a\\rb"},
        {L"reversed", L"\\n\\r", L"\\n\\r"},
        {L"cut off", L"a\\r\\", L"a\\r\\"},
        {L"real CR LF untouched", L"a\r\nb", L"a\r\nb"},
        {L"doubled backslash", L"\\\\r\\n", L"\\\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.name));
        EXPECT_EQ(UnescapeLineBreaks(c.in), c.out);
    }
}

// A table of the program's own making: what loading does to texts the shipped table does not hold.
TEST_F(GlobalStringTest, LoadingUnescapesTableTextsAndKeepsLoneBackslashN) {
    const std::wstring text = L"\xFEFF[Infos]\r\nBack.EN = a\\nb\\r\\nc\r\n";
    sim.resources().Add(L"RESSTRING", ResourceType::RCData, platform::WideToUtf16Le(text));
    LoadIn(kLangEN);
    EXPECT_EQ(g_GlobalString.Back, L"a\\nb\r\nc");
    EXPECT_EQ(g_GlobalString.PageInfo, L"Printed\r\n \r\n page");  // a default, unescaped as well
    EXPECT_EQ(g_GlobalString.Next, L"Next");
}

TEST_F(GlobalStringTest, LeavesNoTemporaryFile) {
    const std::vector<std::wstring> before = sim.files().ListFiles();
    LoadIn(kLangEN);
    EXPECT_EQ(sim.files().ListFiles(), before);
    EXPECT_EQ(g_GlobalString.HintTitle, L"Information");
}

TEST_F(GlobalStringTest, FailuresEndWithAClearMessageAndLeaveNothingBehind) {
    struct Case {
        const char* name;
        bool removeResource;
        bool tempFolderReadOnly;
        const wchar_t* messagePart;
    };
    const Case cases[] = {
        {"resource missing", true, false, L"Resource RESSTRING not found"},
        {"temporary file cannot be made", false, true, L"temporary file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_GlobalString = TGlobalString{};
        if (c.removeResource) {
            sim.resources().Remove(L"RESSTRING", ResourceType::RCData);
        }
        if (c.tempFolderReadOnly) {
            sim.files().SetWriteFailure(sim.files().TempFolder());
        }
        const std::vector<std::wstring> before = sim.files().ListFiles();
        std::wstring error;
        EXPECT_FALSE(LoadGlobalStrings(L"RESSTRING", &error));
        EXPECT_NE(error.find(c.messagePart), std::wstring::npos) << platform::WideToUtf8(error);
        EXPECT_FALSE(LoadGlobalStrings(L"RESSTRING"));
        EXPECT_EQ(sim.files().ListFiles(), before);
        EXPECT_EQ(g_GlobalString.HintTitle, L"");
        sim.files().ClearWriteFailures();
        sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount);
    }
}

// The shipped table itself: in the form the program reads, with exactly the keys and gaps it is meant to have,
// so a missing or misspelt key fails here.
TEST_F(GlobalStringTest, TableHoldsEveryKeyInEveryLanguageExceptTheKnownGaps) {
    const platform::Bytes bytes = TableBytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    const std::wstring text = TableText();
    for (std::size_t at = text.find(L'\n'); at != std::wstring::npos; at = text.find(L'\n', at + 1)) {
        ASSERT_TRUE(at > 0 && text[at - 1] == L'\r') << "bare LF at character " << at;
    }

    const std::wstring file = TableFile();
    EXPECT_EQ(sim.profile().ReadSectionNames(file), std::vector<std::wstring>{L"Infos"});
    ASSERT_EQ(GlobalStringKeys().size(), 100u);

    std::set<std::wstring> expectedKeys;
    const std::wstring absent = L"\x1F<absent>";
    for (const TGlobalStringKey& key : GlobalStringKeys()) {
        for (const wchar_t* code : kCodes) {
            const std::wstring name = std::wstring(key.Name) + L"." + code;
            SCOPED_TRACE(platform::WideToUtf8(name));
            const bool expected = TableHasEntry(key.Name, code);
            const std::wstring value = sim.profile().ReadString(file, L"Infos", name, absent);
            EXPECT_EQ(value != absent, expected);
            if (expected) {
                EXPECT_FALSE(value.empty());
                expectedKeys.insert(platform::UpperCase(name));
            }
        }
    }
    for (const std::wstring& key : sim.profile().ReadSectionKeys(file, L"Infos")) {
        EXPECT_TRUE(expectedKeys.count(platform::UpperCase(key))) << "stray key " << platform::WideToUtf8(key);
    }
}

// The Japanese lines of these two keys carry the English code, so the table has no Japanese entry for them.
TEST_F(GlobalStringTest, TwoEnglishKeysOccurTwice) {
    const std::wstring text = TableText();
    for (const wchar_t* key : {L"ReadTimeout.EN = ", L"btnInkCancel.EN = "}) {
        SCOPED_TRACE(platform::WideToUtf8(key));
        std::size_t lines = 0;
        for (std::size_t at = text.find(std::wstring(L"\n") + key); at != std::wstring::npos;
             at = text.find(std::wstring(L"\n") + key, at + 1)) {
            ++lines;
        }
        EXPECT_EQ(lines, 2u);
    }
}

// Callers format only the port name into PrinterNotFoundOnPort; a stray "%" anywhere else would be shown as
// it stands, and a missing "%s" would drop the port name.
TEST_F(GlobalStringTest, OnlyPrinterNotFoundOnPortHoldsAPlaceholder) {
    const std::wstring file = TableFile();
    for (const TGlobalStringKey& key : GlobalStringKeys()) {
        for (const wchar_t* code : kCodes) {
            const std::wstring name = std::wstring(key.Name) + L"." + code;
            SCOPED_TRACE(platform::WideToUtf8(name));
            const std::wstring value = sim.profile().ReadString(file, L"Infos", name, key.Default);
            const auto percents = std::count(value.begin(), value.end(), L'%');
            if (std::wstring(key.Name) == L"PrinterNotFoundOnPort" && TableHasEntry(key.Name, code)) {
                EXPECT_EQ(percents, 1);
                EXPECT_NE(value.find(L"%s"), std::wstring::npos);
            } else {
                EXPECT_EQ(percents, 0);
            }
        }
    }
}

}  // namespace
