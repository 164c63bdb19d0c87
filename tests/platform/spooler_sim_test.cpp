#include "platform/sim/spooler_sim.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim_fixture.h"

namespace {

using platform::Bytes;
using platform::PrinterHandle;
using platform::sim::RawJob;

class SpoolerSimTest : public SimTest {
protected:
    SpoolerSimTest() {
        spooler().AddPrinter(L"Office WQ", L"Maker WQ-472", L"USB001");
        spooler().AddPrinter(L"Counter", L"Maker TL-20", L"LPT1:");
    }
    platform::sim::SimSpooler& spooler() { return sim.spooler(); }

    // A whole raw job through the platform interface, as the program sends one.
    bool SendRaw(const std::wstring& printer, const std::wstring& docName, const Bytes& bytes) {
        platform::Spooler& s = platform::spooler();
        const PrinterHandle h = s.OpenPrinter(printer);
        if (!h) {
            return false;
        }
        s.StartDocPrinter(h, docName, L"RAW");
        s.StartPagePrinter(h);
        std::size_t written = 0;
        const bool ok = s.WritePrinter(h, bytes.data(), bytes.size(), written);
        s.EndPagePrinter(h);
        s.EndDocPrinter(h);
        s.ClosePrinter(h);
        return ok;
    }
};

TEST_F(SpoolerSimTest, PrinterInfoByNameWithoutRegardToCase) {
    const PrinterHandle h = spooler().OpenPrinter(L"office wq");
    ASSERT_NE(h, 0u);
    const auto info = spooler().GetPrinter2(h);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->printerName, L"Office WQ");
    EXPECT_EQ(info->portName, L"USB001");
    EXPECT_EQ(info->driverName, L"Maker WQ-472");
    EXPECT_EQ(info->attributes, 0u);
    EXPECT_EQ(info->jobs, 0u);
    EXPECT_EQ(spooler().GetPrinterDriverName(h), L"Maker WQ-472");
    spooler().ClosePrinter(h);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
}

TEST_F(SpoolerSimTest, OfflineIsReportedButNotEnforced) {
    ASSERT_TRUE(spooler().SetAttributes(L"Counter", platform::kPrinterAttributeWorkOffline));
    const PrinterHandle h = spooler().OpenPrinter(L"Counter");
    EXPECT_EQ(spooler().GetPrinter2(h)->attributes & platform::kPrinterAttributeWorkOffline,
              platform::kPrinterAttributeWorkOffline);
    spooler().ClosePrinter(h);

    EXPECT_TRUE(SendRaw(L"Counter", L"Printer setting job", {0x1B, 0x40}));
    ASSERT_EQ(spooler().RawJobs().size(), 1u);
    EXPECT_TRUE(spooler().RawJobs()[0].completed);
    EXPECT_FALSE(spooler().SetAttributes(L"Nobody", 0));
}

TEST_F(SpoolerSimTest, EveryOpenGivesAFreshHandle) {
    const PrinterHandle a = spooler().OpenPrinter(L"Office WQ");
    const PrinterHandle b = spooler().OpenPrinter(L"Office WQ");
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(spooler().OpenHandleCount(), 2u);
    spooler().ClosePrinter(a);
    spooler().ClosePrinter(a);  // a second close changes nothing
    EXPECT_EQ(spooler().OpenHandleCount(), 1u);
    const PrinterHandle c = spooler().OpenPrinter(L"Office WQ");
    EXPECT_NE(c, a);  // handles are never reused
    spooler().ClosePrinter(b);
    spooler().ClosePrinter(c);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
}

TEST_F(SpoolerSimTest, RawJobIsCapturedAndHandedToTheSink) {
    std::vector<RawJob> delivered;
    spooler().SetRawJobSink([&](const RawJob& job) { delivered.push_back(job); });
    platform::Spooler& s = platform::spooler();
    const PrinterHandle h = s.OpenPrinter(L"Office WQ");
    ASSERT_TRUE(s.StartDocPrinter(h, L"Printer setting job", L"RAW"));
    // While spooling, the job is in the queue.
    ASSERT_EQ(s.EnumJobs(h).size(), 1u);
    EXPECT_EQ(s.EnumJobs(h)[0].document, L"Printer setting job");
    EXPECT_EQ(s.GetPrinter2(h)->jobs, 1u);
    ASSERT_TRUE(s.StartPagePrinter(h));
    const Bytes first{0x1B, 0x1D, 0x1E, 0x05, 0x01};
    const Bytes second{0x1B, 0x1D, 0x1F};
    std::size_t written = 0;
    ASSERT_TRUE(s.WritePrinter(h, first.data(), first.size(), written));
    EXPECT_EQ(written, first.size());
    ASSERT_TRUE(s.WritePrinter(h, second.data(), second.size(), written));
    EXPECT_TRUE(delivered.empty());  // nothing reaches the printer before the document ends
    ASSERT_TRUE(s.EndPagePrinter(h));
    ASSERT_TRUE(s.EndDocPrinter(h));
    EXPECT_TRUE(s.EnumJobs(h).empty());
    s.ClosePrinter(h);

    const Bytes expected{0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
    const auto jobs = spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].printer, L"Office WQ");
    EXPECT_EQ(jobs[0].docName, L"Printer setting job");
    EXPECT_EQ(jobs[0].dataType, L"RAW");
    EXPECT_EQ(jobs[0].bytes, expected);
    EXPECT_TRUE(jobs[0].completed);
    EXPECT_EQ(jobs[0].pages, 1);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].bytes, expected);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
}

TEST_F(SpoolerSimTest, WriteFaultFailsTheWriteAndLosesNoState) {
    spooler().SetWriteFault(true);
    EXPECT_FALSE(SendRaw(L"Office WQ", L"Printer setting job", {1, 2, 3}));
    const auto jobs = spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(jobs[0].bytes.empty());
    EXPECT_TRUE(jobs[0].completed);
    spooler().SetWriteFault(false);
    EXPECT_TRUE(SendRaw(L"Office WQ", L"Printer setting job", {1, 2, 3}));
    EXPECT_EQ(spooler().RawJobs()[1].bytes, (Bytes{1, 2, 3}));
}

TEST_F(SpoolerSimTest, DocumentLeftOpenStaysIncomplete) {
    const PrinterHandle h = spooler().OpenPrinter(L"Office WQ");
    ASSERT_TRUE(spooler().StartDocPrinter(h, L"half", L"RAW"));
    const std::uint8_t byte = 0x1B;
    std::size_t written = 0;
    // Without StartPagePrinter, as the real spooler allows for raw data.
    ASSERT_TRUE(spooler().WritePrinter(h, &byte, 1, written));
    spooler().ClosePrinter(h);
    const auto jobs = spooler().RawJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_FALSE(jobs[0].completed);
    EXPECT_EQ(jobs[0].bytes, Bytes{0x1B});
    EXPECT_EQ(jobs[0].pages, 0);
    const PrinterHandle again = spooler().OpenPrinter(L"Office WQ");
    EXPECT_TRUE(spooler().EnumJobs(again).empty());
    spooler().ClosePrinter(again);
}

TEST_F(SpoolerSimTest, CallsOutOfOrderFail) {
    struct Case {
        const char* name;
        std::function<bool(PrinterHandle)> call;
    };
    std::size_t written = 0;
    const std::uint8_t byte = 0;
    const Case cases[] = {
        {"page without document", [&](PrinterHandle h) { return spooler().StartPagePrinter(h); }},
        {"write without document", [&](PrinterHandle h) { return spooler().WritePrinter(h, &byte, 1, written); }},
        {"end page without page", [&](PrinterHandle h) { return spooler().EndPagePrinter(h); }},
        {"end document without document", [&](PrinterHandle h) { return spooler().EndDocPrinter(h); }},
        {"second document",
         [&](PrinterHandle h) {
             return spooler().StartDocPrinter(h, L"a", L"RAW") && spooler().StartDocPrinter(h, L"b", L"RAW");
         }},
        {"second page",
         [&](PrinterHandle h) {
             return spooler().StartDocPrinter(h, L"a", L"RAW") && spooler().StartPagePrinter(h) &&
                    spooler().StartPagePrinter(h);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrinterHandle h = spooler().OpenPrinter(L"Office WQ");
        EXPECT_FALSE(c.call(h));
        spooler().ClosePrinter(h);
    }
}

TEST_F(SpoolerSimTest, InvalidHandlesFail) {
    const PrinterHandle closed = spooler().OpenPrinter(L"Office WQ");
    spooler().ClosePrinter(closed);
    const PrinterHandle removed = spooler().OpenPrinter(L"Counter");
    ASSERT_TRUE(spooler().RemovePrinter(L"counter"));
    spooler().AddPrinter(L"Counter", L"Maker TL-20", L"LPT1:");  // a new printer: old handles stay dead
    const PrinterHandle server = spooler().OpenPrinter(L"");

    struct Case {
        const char* name;
        PrinterHandle handle;
    };
    const Case cases[] = {{"zero", 0}, {"closed", closed}, {"removed printer", removed}, {"print server", server}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t written = 1;
        const std::uint8_t byte = 0;
        EXPECT_FALSE(spooler().GetPrinter2(c.handle));
        EXPECT_FALSE(spooler().GetPrinterDriverName(c.handle));
        EXPECT_TRUE(spooler().EnumJobs(c.handle).empty());
        EXPECT_FALSE(spooler().StartDocPrinter(c.handle, L"x", L"RAW"));
        EXPECT_FALSE(spooler().StartPagePrinter(c.handle));
        EXPECT_FALSE(spooler().WritePrinter(c.handle, &byte, 1, written));
        EXPECT_EQ(written, 0u);
        EXPECT_FALSE(spooler().EndPagePrinter(c.handle));
        EXPECT_FALSE(spooler().EndDocPrinter(c.handle));
        EXPECT_FALSE(spooler().GetPrinterData(c.handle, L"XMove"));
        EXPECT_FALSE(spooler().SetPrinterData(c.handle, L"XMove", {platform::kRegSz, {}}));
    }
    EXPECT_TRUE(spooler().RawJobs().empty());
    spooler().ClosePrinter(removed);
    spooler().ClosePrinter(server);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
}

TEST_F(SpoolerSimTest, UnknownPrinter) {
    EXPECT_EQ(spooler().OpenPrinter(L"Nobody"), 0u);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
    EXPECT_EQ(spooler().AddQueuedJob(L"Nobody", L"doc"), 0u);
    EXPECT_FALSE(spooler().RemovePrinter(L"Nobody"));
    EXPECT_FALSE(spooler().PutPrinterData(L"Nobody", L"XMove", {platform::kRegSz, {}}));
    EXPECT_FALSE(SendRaw(L"Nobody", L"Printer setting job", {1}));
    EXPECT_TRUE(spooler().RawJobs().empty());
}

// The print-queue guard opens the spooler with an empty name in port mode and must find no jobs.
TEST_F(SpoolerSimTest, EmptyNameOpensThePrintServer) {
    spooler().AddQueuedJob(L"Office WQ", L"letter");
    const PrinterHandle h = spooler().OpenPrinter(L"");
    EXPECT_NE(h, 0u);
    EXPECT_TRUE(spooler().EnumJobs(h).empty());
    spooler().ClosePrinter(h);
    EXPECT_EQ(spooler().OpenHandleCount(), 0u);
}

TEST_F(SpoolerSimTest, QueuedJobsAreListedAndCounted) {
    const std::uint32_t first = spooler().AddQueuedJob(L"OFFICE WQ", L"letter");
    const std::uint32_t second = spooler().AddQueuedJob(L"Office WQ", L"invoice");
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    const PrinterHandle h = spooler().OpenPrinter(L"Office WQ");
    const auto jobs = spooler().EnumJobs(h);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].jobId, first);
    EXPECT_EQ(jobs[0].document, L"letter");
    EXPECT_EQ(jobs[1].document, L"invoice");
    EXPECT_EQ(spooler().GetPrinter2(h)->jobs, 2u);
    const PrinterHandle other = spooler().OpenPrinter(L"Counter");
    EXPECT_TRUE(spooler().EnumJobs(other).empty());
    spooler().ClearJobs(L"office wq");
    EXPECT_TRUE(spooler().EnumJobs(h).empty());
    EXPECT_EQ(spooler().GetPrinter2(h)->jobs, 0u);
    spooler().ClosePrinter(h);
    spooler().ClosePrinter(other);
}

TEST_F(SpoolerSimTest, PrinterDataRoundTrip) {
    const PrinterHandle h = spooler().OpenPrinter(L"Office WQ");
    const platform::PrinterDataValue minusSeven{platform::kRegSz, {'-', 0, '7', 0}};
    EXPECT_FALSE(spooler().GetPrinterData(h, L"XMove"));
    ASSERT_TRUE(spooler().SetPrinterData(h, L"XMove", minusSeven));
    const auto read = spooler().GetPrinterData(h, L"xmove");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->type, platform::kRegSz);
    EXPECT_EQ(read->data, minusSeven.data);

    // Replacing keeps one value; the value persists with the printer, not the handle.
    ASSERT_TRUE(spooler().SetPrinterData(h, L"XMOVE", {platform::kRegDword, {5, 0, 0, 0}}));
    spooler().ClosePrinter(h);
    const auto stored = spooler().PrinterData(L"office wq", L"XMove");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::kRegDword);
    EXPECT_EQ(stored->data, (Bytes{5, 0, 0, 0}));

    // Per printer; and a value prepared without a handle is read through one.
    EXPECT_FALSE(spooler().PrinterData(L"Counter", L"XMove"));
    ASSERT_TRUE(spooler().PutPrinterData(L"Counter", L"COMPRESS_VALUE", {platform::kRegSz, {'8', 0, '5', 0}}));
    const PrinterHandle counter = spooler().OpenPrinter(L"Counter");
    EXPECT_EQ(spooler().GetPrinterData(counter, L"compress_value")->data, (Bytes{'8', 0, '5', 0}));
    spooler().ClosePrinter(counter);
}

TEST_F(SpoolerSimTest, DriverDirectory) {
    EXPECT_EQ(platform::spooler().PrinterDriverDirectory(), L"C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86");
    spooler().SetPrinterDriverDirectory(L"D:\\Drivers");
    EXPECT_EQ(platform::spooler().PrinterDriverDirectory(), L"D:\\Drivers");
}

}  // namespace
