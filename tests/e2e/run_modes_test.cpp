// The settings program's start-up end to end: each run mode by its command line, the menu by its version, and
// the ends before any window (a running copy, a full print queue, a printer without a menu). Each start is a
// process of its own, so each case gets a fresh sim.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "StartUp.h"
#include "corventa_fixture.h"
#include "uMain2.h"
#include "uSetItem.h"

namespace {

using platform::forms::Form;
using platform::sim::UserScript;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using RunModeTest = CorventaTest;

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Page code 1 (also 257, kept in one byte) makes the item dialog the main form with the other dialogs of a
// one-item start hidden after it; closing it ends the program.
class PageOneTest : public CorventaTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(PageOneTest, OpensTheItemDialogOfItsBaseItem) {
    sim.forms().WhenModal(L"TfrmSetItem",
                          UserScript()
                              .Inspect([&](Form& dialog) {
                                  EXPECT_EQ(g_iItem, 5);
                                  EXPECT_EQ(dialog.Caption(), g_SchemeOptions->GetItem(pgSingleItem, 5).Title);
                                  EXPECT_THAT(Forms(), ElementsAre(L"TfrmSetItem shown", L"TfrmInkSet", L"TInquiry",
                                                                   L"TInkDry", L"TBMset", L"TFormSetGroupItem",
                                                                   L"TfrmInvoiceType_SetGruop", L"TAboutBox"));
                                  EXPECT_EQ(platform::forms::application().MainForm(), &dialog);
                                  EXPECT_EQ(sim.forms().BringToFrontCount(), 1u);
                              })
                              .PressEsc());
    EXPECT_EQ(Start(GetParam()), 0);
    EXPECT_THAT(Windows(), ElementsAre(L"TfrmSetItem"));
    EXPECT_FALSE(sim.files().FileExists(ValuesFile())) << "nothing was set";
    EXPECT_THAT(Forms(), IsEmpty()) << "freed at exit";
}

INSTANTIATE_TEST_SUITE_P(PageCodes,
                         PageOneTest,
                         ::testing::Values(L" \"Varintex WQ-472\" 1 5", L" \"Varintex WQ-472\" 257 5"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return info.index == 0 ? std::string("One") : std::string("TwoHundredFiftySeven");
                         });

TEST_F(RunModeTest, PageOneHundredAndOneWritesTheValuesFileWithoutAWindow) {
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 101"), 0);
    EXPECT_THAT(Windows(), IsEmpty());
    EXPECT_EQ(sim.forms().ApplicationTitle(), L"Printer Settings");
    ASSERT_TRUE(sim.files().FileExists(ValuesFile()));
    const platform::IniFile values(ValuesFile());
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"0", L"<none>"), texts.CurrentValue + L"1/6 inch");
    EXPECT_EQ(values.ReadString(L"CurrentValues", L"1", L"<none>"), texts.CurrentValue + L"66 lines");
}

// The plug-in's button that gets everything from the printer: 102 fetches the menu afresh, then 101 the values.
TEST_F(RunModeTest, MenuThenValuesRefreshBoth) {
    UseMenuFromPrinter();
    PutIniFile(MenuFile(), L"[BaseSection]\nItemCount=1\n[BaseItem01]\nName=Old\n");
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 102"), 0);
    EXPECT_THAT(printer->commandLog(), ElementsAre("model query", "menu request"));
    EXPECT_EQ(platform::IniFile(MenuFile()).ReadInteger(L"BaseSection", L"ItemCount", 0), 12);
    EXPECT_THAT(Windows(), IsEmpty());

    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 101"), 0);
    EXPECT_EQ(
        platform::IniFile(ValuesFile()).ReadString(L"CurrentValues", L"11", L"<none>").rfind(texts.CurrentValue, 0), 0u)
        << "the twelfth base item of the fresh menu has its value";
    EXPECT_THAT(Windows(), IsEmpty());
}

struct MenuFetchCase {
    const char* name;
    int menuVersion;
    bool menuCached;
    const wchar_t* arguments;
    std::vector<std::string> fetches;
};

void PrintTo(const MenuFetchCase& c, std::ostream* os) {
    *os << c.name;
}

class MenuFetchTest : public CorventaTest, public ::testing::WithParamInterface<MenuFetchCase> {};

TEST_P(MenuFetchTest, FetchesOnlyWhatIsMissingOrAskedFor) {
    const MenuFetchCase& c = GetParam();
    if (c.menuVersion == 1) {
        UseMenuFromPrinter();
    }
    if (c.menuCached) {
        PutFile(MenuFile(), impactModel);
    }
    if (c.arguments == std::wstring(L" \"Varintex WQ-472\" 0")) {
        sim.forms().WhenModal(L"TfrmMainView2", UserScript().Click(L"btnClose"));
    }
    EXPECT_EQ(Start(c.arguments), 0);
    std::vector<std::string> fetches;
    for (const std::string& line : printer->commandLog()) {
        if (line == "model query" || line == "menu request") {
            fetches.push_back(line);
        }
    }
    EXPECT_EQ(fetches, c.fetches);
}

INSTANTIATE_TEST_SUITE_P(
    Menus,
    MenuFetchTest,
    ::testing::Values(MenuFetchCase{"MenuVersionZeroNeverFetches", 0, false, L" \"Varintex WQ-472\" 102", {}},
                      MenuFetchCase{"MissingMenuFetchedOnceFor102",
                                    1,
                                    false,
                                    L" \"Varintex WQ-472\" 102",
                                    {"model query", "menu request"}},
                      MenuFetchCase{"CachedMenuFetchedAfreshFor102",
                                    1,
                                    true,
                                    L" \"Varintex WQ-472\" 102",
                                    {"model query", "menu request"}},
                      MenuFetchCase{"CachedMenuLoadsWithoutAFetch", 1, true, L" \"Varintex WQ-472\" 0", {}}),
    CaseName<MenuFetchCase>);

// Ends before any window of the program: the user sees at most one box.
struct EndCase {
    const char* name;
    std::function<void(CorventaTest&)> arrange;
    const wchar_t* arguments;
    // The box's text and caption by their fields, or a fixed text with the error caption.
    std::wstring TGlobalString::*text;
    std::wstring TGlobalString::*caption;
    const wchar_t* fixedText;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

class EndTest : public CorventaTest, public ::testing::WithParamInterface<EndCase> {
public:
    void UseMenuVersion(int version) { UseMenuFromPrinter(version); }
    void QueueJob() { sim.spooler().AddQueuedJob(kPrinter, L"Letter"); }
    void EmptyPrinterMenu() { printer->setMenuFile({}); }
};

TEST_P(EndTest, EndsWithoutAWindow) {
    const EndCase& c = GetParam();
    c.arrange(*this);
    sim.messageBoxes().ExpectBox({.text = c.fixedText ? std::wstring(c.fixedText) : texts.*c.text,
                                  .caption = texts.*c.caption,
                                  .icon = platform::MsgIcon::Error});
    EXPECT_EQ(Start(c.arguments), 0);
    EXPECT_THAT(Windows(), IsEmpty());
    EXPECT_FALSE(sim.files().FileExists(ValuesFile()));
    EXPECT_EQ(sim.messageBoxes().Shown().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Ends,
    EndTest,
    ::testing::Values(
        EndCase{"UnsupportedMenuVersion", [](CorventaTest& t) { static_cast<EndTest&>(t).UseMenuVersion(2); },
                L" \"Varintex WQ-472\" 1 0", nullptr, &TGlobalString::ErrorTitle, L"当前版本【2】的菜单没有实现！"},
        EndCase{"JobInTheQueue", [](CorventaTest& t) { static_cast<EndTest&>(t).QueueJob(); },
                L" \"Varintex WQ-472\" 1 0", &TGlobalString::mPrintQueue, &TGlobalString::HintTitle, nullptr},
        EndCase{"MenuMissingAfterTheFetch",
                [](CorventaTest& t) {
                    static_cast<EndTest&>(t).UseMenuVersion(1);
                    static_cast<EndTest&>(t).EmptyPrinterMenu();
                },
                L" \"Varintex WQ-472\" 1 0", &TGlobalString::ReadPrinterFailRetry, &TGlobalString::ErrorTitle, nullptr},
        // The model loads before the queue guard: without a driver there is no menu, and that box ends the run.
        EndCase{"PrinterTheSpoolerDoesNotKnow", [](CorventaTest&) {}, L" \"Varintex XX-1\" 1 0",
                &TGlobalString::ReadPrinterFailRetry, &TGlobalString::ErrorTitle, nullptr}),
    CaseName<EndCase>);

// Only a main window marks a running copy: beside a copy that runs one item dialog a second start proceeds.
TEST_F(RunModeTest, SecondStartBesideAnItemDialogProceeds) {
    sim.forms().OpenOtherProgramWindow(L"TfrmSetItem");
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 101"), 0);
    EXPECT_TRUE(sim.files().FileExists(ValuesFile()));
}

// Beside a main window it ends silently, before any set-up.
TEST_F(RunModeTest, SecondStartBesideAMainWindowEndsSilently) {
    sim.forms().OpenOtherProgramWindow(L"TfrmMainView2");
    EXPECT_EQ(Start(L" \"Varintex WQ-472\" 0"), 0);
    EXPECT_EQ(sim.forms().ApplicationTitle(), L"");
    EXPECT_EQ(g_strPrinterName, L"") << "the command line was not read";
    EXPECT_THAT(g_slArguments, IsEmpty());
    EXPECT_THAT(Windows(), IsEmpty());
    EXPECT_TRUE(printer->commandLog().empty());
    EXPECT_THAT(sim.messageBoxes().Shown(), IsEmpty());
}

// Every page code but 1, 101 and 102 opens the main window, the warning made hidden after it; page code 100
// (also a start without it, or without any argument) is port mode.
struct MainWindowCase {
    const char* name;
    const wchar_t* arguments;
    int page;
    bool portMode;
    std::vector<std::wstring> shownArguments;
};

void PrintTo(const MainWindowCase& c, std::ostream* os) {
    *os << c.name;
}

class MainWindowModeTest : public CorventaTest, public ::testing::WithParamInterface<MainWindowCase> {};

TEST_P(MainWindowModeTest, OpensTheMainWindow) {
    const MainWindowCase& c = GetParam();
    sim.forms().WhenModal(L"TfrmMainView2", UserScript()
                                                .Inspect([&](Form& form) {
                                                    auto& main = dynamic_cast<TfrmMainView2&>(form);
                                                    EXPECT_EQ(g_byStartPage, c.page);
                                                    EXPECT_EQ(main.cbbPrinterPort->Visible(), c.portMode);
                                                    EXPECT_EQ(g_slArguments, c.shownArguments);
                                                    EXPECT_THAT(Forms(), ElementsAre(L"TfrmMainView2 shown",
                                                                                     L"TfrmWarning", L"TAboutBox"));
                                                    EXPECT_EQ(platform::forms::application().MainForm(), &form);
                                                    EXPECT_EQ(g_strPrinterPath.empty(), c.shownArguments.empty())
                                                        << "without arguments there are no per-printer files";
                                                })
                                                .Click(L"btnClose"));
    EXPECT_EQ(Start(c.arguments), 0);
    EXPECT_THAT(Windows(), ElementsAre(L"TfrmMainView2"));
}

INSTANTIATE_TEST_SUITE_P(
    PageCodes,
    MainWindowModeTest,
    ::testing::Values(
        MainWindowCase{"NoArguments", L"", 100, true, {}},
        MainWindowCase{"OnlyAPrinterName", L" \"Varintex WQ-472\"", 100, true, {L"Varintex WQ-472"}},
        MainWindowCase{"PageCode356", L" \"Varintex WQ-472\" 356", 100, true, {L"Varintex WQ-472", L"356"}},
        MainWindowCase{"PageCodeNotANumber", L" \"Varintex WQ-472\" x", 0, false, {L"Varintex WQ-472", L"x"}},
        MainWindowCase{"MaintenancePage", L" \"Varintex WQ-472\" 99", 99, false, {L"Varintex WQ-472", L"99"}}),
    CaseName<MainWindowCase>);

}  // namespace
