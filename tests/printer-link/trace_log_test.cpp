// Every trace call is accepted anywhere and leaves no trace.

#include "TraceLog.h"

#include "sim_fixture.h"

namespace {

class TraceLogTest : public SimTest {};

TEST_F(TraceLogTest, EveryCallDoesNothing) {
    const auto filesBefore = sim.files().ListFiles();
    TraceLog().EnterProc(L"TRWPrinter.Execute", L"");
    TraceLog().Message(L"plain");
    TraceLog().MessageFmt(L"程序啓動，命令行：%s", {std::wstring(L"\"WQ-472\" 1 0")});
    TraceLog().TaggedMessage(L"tagged", L"tag");
    TraceLog().TaggedMessageFmt(L"%d of %d", {std::int64_t{1}, std::int64_t{2}}, L"tag");
    TraceLog().ErrorMessage(L"<0>");
    TraceLog().ErrorMessageFmt(L"OpenPrinterUSBPort(%d) Fail !", {std::int64_t{1}});
    TraceLog().WarningMessage(L"warning");
    TraceLog().Mark();
    TraceLog().LeaveProc(L"TRWPrinter.Execute", L"");
    EXPECT_EQ(sim.files().ListFiles(), filesBefore);
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

}  // namespace
