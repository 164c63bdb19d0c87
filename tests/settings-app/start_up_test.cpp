// Start-up before any window: the running copy it refuses, the command line, the exchange folder with the
// per-printer file names, the model and menu by MenuVersion, and the print-queue guard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlobalString.h"
#include "Scheme.h"
#include "StartUp.h"
#include "ThreadRWPrinter.h"
#include "exchange_fixture.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "platform/text.h"
#include "sim_fixture.h"
#include "uWaitingHook.h"

namespace {

using StartUpTest = SimTest;

TEST(SplitCommandLineTest, BlanksOutsideQuotesSeparateAndQuotesGo) {
    struct Case {
        const char* name;
        std::wstring commandLine;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {"quoted program path with blanks",
         L"\"C:\\Program Files\\Corventa.exe\"",
         {L"C:\\Program Files\\Corventa.exe"}},
        {"as the plug-in starts it",
         L"C:\\Drivers\\3\\Corventa \"Varintex WJ-610\" 1 5",
         {L"C:\\Drivers\\3\\Corventa", L"Varintex WJ-610", L"1", L"5"}},
        {"runs of blanks and tabs", L"  p \t a   b\t", {L"p", L"a", L"b"}},
        {"a quote inside an argument", L"p Var\"intex WJ\"-610", {L"p", L"Varintex WJ-610"}},
        {"quoted parts run together", L"p \"a b\"\"c d\"", {L"p", L"a bc d"}},
        {"an empty quoted argument", L"p \"\" 101", {L"p", L"", L"101"}},
        {"a quote left open", L"p \"Varintex WJ-610 1", {L"p", L"Varintex WJ-610 1"}},
        {"nothing", L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.arguments);
    }
}

TEST(ParseStartArgumentsTest, EachArgumentAndItsDefault) {
    struct Case {
        const char* name;
        std::wstring arguments;  // after the program
        bool any;
        std::wstring printer;
        int page;
        int item;
        int extra;
    };
    const Case cases[] = {
        {"no arguments: port mode", L"", false, L"", 100, 0, 0},
        {"only a printer name, quoted with blanks", L" \"Varintex WJ-610\"", true, L"Varintex WJ-610", 100, 0, 0},
        {"one base item", L" \"Varintex WJ-610\" 1 5", true, L"Varintex WJ-610", 1, 5, 0},
        {"the values file", L" \"Varintex WJ-610\" 101", true, L"Varintex WJ-610", 101, 0, 0},
        {"page code kept in one byte: 356", L" P 356", true, L"P", 100, 0, 0},
        {"page code kept in one byte: 257", L" P 257", true, L"P", 1, 0, 0},
        {"page code kept in one byte: -1", L" P -1", true, L"P", 255, 0, 0},
        {"page code not a number", L" P x", true, L"P", 0, 0, 0},
        {"page code beyond 32 bits is no number", L" P 4294967397", true, L"P", 0, 0, 0},
        {"item not a number", L" P 1 five", true, L"P", 1, 0, 0},
        {"extra number", L" P 1 5 -7", true, L"P", 1, 5, -7},
        {"extra number not a number", L" P 1 5 x", true, L"P", 1, 5, 0},
        {"a fifth argument is not read", L" P 1 5 7 9", true, L"P", 1, 5, 7},
        {"an unquoted name ends at its blank", L" Varintex WJ-610 1", true, L"Varintex", 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TStartArguments start = ParseStartArguments(L"\"C:\\Program Files\\Corventa.exe\"" + c.arguments);
        EXPECT_EQ(start.bAny, c.any);
        EXPECT_EQ(start.strPrinterName, c.printer);
        EXPECT_EQ(start.byPage, c.page);
        EXPECT_EQ(start.iItem, c.item);
        EXPECT_EQ(start.iExtraArg, c.extra);
    }
}

TEST_F(StartUpTest, ArgumentsBecomeTheStartsValues) {
    // What an earlier start of this process left.
    g_bMenuFetched = true;
    g_iReadCount = 4;
    ASSERT_TRUE(ReadStartArguments(L"Corventa \"Varintex WJ-610\" 257 5 9"));
    EXPECT_EQ(g_strPrinterName, L"Varintex WJ-610");
    EXPECT_EQ(g_byPage, pgSingleItem);
    EXPECT_EQ(g_byStartPage, pgSingleItem);
    EXPECT_EQ(g_iItem, 5);
    EXPECT_EQ(g_iExtraArg, 9);
    EXPECT_FALSE(g_bMenuFetched);
    EXPECT_EQ(g_iReadCount, 0);
}

TEST_F(StartUpTest, WithoutArgumentsThePortModeValues) {
    g_strPrinterName = L"left over";
    g_byPage = pgSingleItem;
    g_byStartPage = pgSingleItem;
    EXPECT_FALSE(ReadStartArguments(L"\"C:\\Program Files\\Varintex\\Corventa.exe\" "));
    EXPECT_EQ(g_strPrinterName, L"");
    EXPECT_EQ(g_byPage, pgBase);
    EXPECT_EQ(g_byStartPage, pgBase);
}

TEST_F(StartUpTest, PerPrinterFilesLieInTheExchangeFolder) {
    sim.files().SetTempFolder(L"D:\\Temp\\Work");
    g_strPrinterName = L"Varintex WJ-610";
    ASSERT_FALSE(sim.files().DirectoryExists(L"D:\\Temp\\Work\\Varintex Printer"));
    SetPrinterPaths();
    EXPECT_EQ(ExchangeFolder(), L"D:\\Temp\\Work\\Varintex Printer\\");
    EXPECT_TRUE(sim.files().DirectoryExists(L"D:\\Temp\\Work\\Varintex Printer"));
    EXPECT_EQ(g_strPrinterPath, L"D:\\Temp\\Work\\Varintex Printer\\Varintex WJ-610");
    EXPECT_EQ(g_strPrinterIni, L"D:\\Temp\\Work\\Varintex Printer\\Varintex WJ-610.ini");
    EXPECT_EQ(PrinterMenuFile(), L"D:\\Temp\\Work\\Varintex Printer\\Varintex WJ-610.DAT");
}

// Only the main window marks a running copy: a copy that runs one item dialog lets a second start proceed.
TEST_F(StartUpTest, OnlyAMainWindowMarksARunningCopy) {
    EXPECT_FALSE(AnotherCopyRuns());
    sim.forms().OpenOtherProgramWindow(L"TfrmSetItem");
    EXPECT_FALSE(AnotherCopyRuns());
    sim.forms().OpenOtherProgramWindow(kMainWindowClass);
    EXPECT_TRUE(AnotherCopyRuns());
}

// The printer "Varintex WQ-472" behind its spooler queue and on the USB bus, with its model settings file in the
// printer-driver folder, as start-up meets it.
class StartUpModelTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        g_SchemeOptions.reset();
        InstallSchemeOptionsForWorker();
        SetWaitingWindowHook(&waiting);
        printer->setModelName("WQ-472");
        printer->setMenuFile(Text(kFetchedMenu));
    }

    void PutSchemeFile(int menuVersion, const std::wstring& menu = L"") {
        PutIniFile(kSchemeFile, L"[GlobalSettings]\nMenuVersion=" + platform::IntToStr(menuVersion) + L"\n" + menu);
    }
    static platform::Bytes Text(const std::wstring& text) {
        const std::string narrow = platform::WideToUtf8(platform::ReplaceAll(text, L"\n", L"\r\n"));
        return platform::Bytes(narrow.begin(), narrow.end());
    }
    std::size_t BaseItemCount() const { return g_SchemeOptions->m_BaseItems.size(); }

    // One base item in the printer's menu, two in the one already in the exchange folder.
    static constexpr wchar_t kFetchedMenu[] = L"[BaseSection]\nItemCount=1\n[BaseItem01]\nName=Fetched\n";
    static constexpr wchar_t kCachedMenu[] =
        L"[BaseSection]\nItemCount=2\n[BaseItem01]\nName=Cached\n[BaseItem02]\nName=Cached\n";

    TWaitingWindowForModel waiting;
};

TEST_F(StartUpModelTest, VersionOneLoadsTheMenuFileInTheExchangeFolderWithoutAFetch) {
    PutSchemeFile(1);
    PutIniFile(PrinterMenuFile(), kCachedMenu);
    PutIniFile(g_strPrinterIni, L"[ReadPrinter]\nCount=7\nLast=1\n");
    ASSERT_EQ(LoadPrinterModel(), TModelLoad::Loaded);
    EXPECT_TRUE(platform::SameText(g_strSchemeFile, kSchemeFile)) << platform::WideToUtf8(g_strSchemeFile);
    EXPECT_EQ(g_strMenuFile, PrinterMenuFile());
    EXPECT_EQ(BaseItemCount(), 2u);
    EXPECT_FALSE(g_bMenuFetched);
    EXPECT_TRUE(printer->commandLog().empty());
    EXPECT_EQ(g_iReadCount, 7);
    EXPECT_TRUE(g_bReadLast);
}

TEST_F(StartUpModelTest, VersionOneFetchesAMissingMenuOnce) {
    PutSchemeFile(1);
    ASSERT_EQ(LoadPrinterModel(), TModelLoad::Loaded);
    EXPECT_TRUE(g_bMenuFetched);
    EXPECT_THAT(printer->commandLog(), ::testing::ElementsAre("model query", "menu request"));
    EXPECT_EQ(BaseItemCount(), 1u);
    EXPECT_EQ(waiting.Window(), nullptr) << "the waiting window has closed";
    EXPECT_EQ(g_iReadCount, 2) << "the fetch's two reads";
}

TEST_F(StartUpModelTest, VersionOneWithoutAMenuFromThePrinterIsTheMenuMissingError) {
    PutSchemeFile(1);
    printer->setMenuFile({});
    EXPECT_EQ(LoadPrinterModel(), TModelLoad::MenuMissing);
    EXPECT_TRUE(g_bMenuFetched);
    EXPECT_EQ(BaseItemCount(), 0u);
}

TEST_F(StartUpModelTest, VersionZeroReadsTheMenuFromTheModelSettingsFile) {
    PutSchemeFile(0, L"[BaseSection]\nItemCount=1\n[BaseItem01]\nName=Shipped\n");
    PutIniFile(PrinterMenuFile(), kCachedMenu);
    ASSERT_EQ(LoadPrinterModel(), TModelLoad::Loaded);
    EXPECT_EQ(g_strMenuFile, g_strSchemeFile);
    EXPECT_EQ(BaseItemCount(), 1u);
    EXPECT_FALSE(g_bMenuFetched);
    EXPECT_TRUE(printer->commandLog().empty());
}

TEST_F(StartUpModelTest, AnotherVersionLoadsNothing) {
    PutSchemeFile(2);
    EXPECT_EQ(LoadPrinterModel(), TModelLoad::UnsupportedMenuVersion);
    EXPECT_FALSE(g_bMenuFetched);
    EXPECT_TRUE(printer->commandLog().empty());
    EXPECT_EQ(UnsupportedMenuVersionText(2), L"当前版本【2】的菜单没有实现！");
}

// Without a driver there is no model settings file: MenuVersion stays 0, the menu file name is empty, and the
// fetch finds no printer to ask.
TEST_F(StartUpModelTest, APrinterTheSpoolerDoesNotKnowHasNoMenu) {
    PutSchemeFile(1);
    g_strPrinterName = L"Varintex XX-1";
    EXPECT_EQ(LoadPrinterModel(), TModelLoad::MenuMissing);
    EXPECT_EQ(g_strSchemeFile, L"");
    EXPECT_EQ(g_strMenuFile, L"");
    EXPECT_TRUE(g_bMenuFetched);
    EXPECT_TRUE(printer->commandLog().empty());
}

TEST_F(StartUpModelTest, PrintQueueGuard) {
    struct Case {
        const char* name;
        std::wstring printer;
        bool jobWaiting;
        TPrintQueue result;
        bool opened;
    };
    const Case cases[] = {
        {"an empty queue", kPrinter, false, TPrintQueue::Empty, true},
        {"a job waiting", kPrinter, true, TPrintQueue::JobsWaiting, true},
        {"a printer the spooler does not know", L"Varintex XX-1", false, TPrintQueue::NotOpened, false},
        {"port mode: no printer name", L"", false, TPrintQueue::Empty, false},
    };
    g_GlobalString.mPrintQueue = L"mPrintQueue";
    g_GlobalString.HintTitle = L"HintTitle";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.spooler().ClearJobs(kPrinter);
        if (c.jobWaiting) {
            sim.spooler().AddQueuedJob(kPrinter, L"Letter");
            sim.messageBoxes().ExpectBox(
                {.text = L"mPrintQueue", .caption = L"HintTitle", .icon = platform::MsgIcon::Error});
        }
        g_strPrinterName = c.printer;
        g_hPrinter = 0;
        const std::size_t handlesBefore = sim.spooler().OpenHandleCount();
        EXPECT_EQ(CheckPrintQueue(), c.result);
        EXPECT_EQ(g_PrinterNameBuf, c.printer);
        EXPECT_EQ(g_hPrinter != 0, c.opened);
        EXPECT_EQ(sim.spooler().OpenHandleCount(), handlesBefore + (c.opened ? 1 : 0)) << "the handle stays open";
    }
}

}  // namespace
