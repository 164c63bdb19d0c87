// The item dialog's maintenance actions: the nozzle-check print files, the actions of the action button with
// their frames, waits and finish messages, the deep-clean guard, the change wizard and the head-change Cancel,
// each against the virtual printer.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "item_dialog_fixture.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/resources.h"

namespace {

// Walks a raw print job command by command; the number of bit-image lines, or nullopt when a command is unknown
// or runs past the end, or the job does not end with a form feed right after its last line.
std::optional<int> BitImageLines(const platform::Bytes& job) {
    std::size_t at = 0;
    int lines = 0;
    auto word = [&](std::size_t offset) { return job[offset] | job[offset + 1] << 8; };
    while (at < job.size()) {
        if (job[at] == 0x0C) {
            return at + 1 == job.size() ? std::optional<int>(lines) : std::nullopt;
        }
        if (job[at] != 0x1B || at + 1 >= job.size()) {
            return std::nullopt;
        }
        std::size_t length = 0;
        switch (job[at + 1]) {
            case 0x40:
                length = 2;
                break;
            case 0x55:
            case 0x4A:
                length = 3;
                break;
            case 0x28:
                if (at + 5 > job.size()) {
                    return std::nullopt;
                }
                length = 5 + static_cast<std::size_t>(word(at + 3));
                break;
            case 0x2A: {
                if (at + 5 > job.size()) {
                    return std::nullopt;
                }
                const std::size_t perColumn = job[at + 2] == 33 ? 3 : job[at + 2] == 0 ? 1 : 0;
                if (perColumn == 0) {
                    return std::nullopt;
                }
                length = 5 + perColumn * static_cast<std::size_t>(word(at + 3));
                ++lines;
                break;
            }
            default:
                return std::nullopt;
        }
        at += length;
    }
    return std::nullopt;
}

struct PrintJobCase {
    const char* name;
    const wchar_t* resource;
    std::size_t size;
};

class PrintFilesTest : public ItemDialogTest, public ::testing::WithParamInterface<PrintJobCase> {};

// Each job is real printer data of its exact size: reset first, then commands that a printer can walk to the
// final form feed; a creation of the dialog saves it unchanged in the program's temporary folder.
TEST_P(PrintFilesTest, JobIsWholePrinterDataSavedAtEveryCreation) {
    const PrintJobCase& c = GetParam();
    UseItem(1, L"0=Only");
    const std::optional<platform::Bytes> job = platform::resources().Find(c.resource, platform::ResourceType::RCData);
    ASSERT_TRUE(job);
    ASSERT_EQ(job->size(), c.size);
    EXPECT_EQ((*job)[0], 0x1B);
    EXPECT_EQ((*job)[1], 0x40);
    const std::optional<int> lines = BitImageLines(*job);
    ASSERT_TRUE(lines);
    EXPECT_GT(*lines, 100);

    const std::wstring file = std::wstring(L"C:\\Users\\tester\\AppData\\Local\\Temp\\Corventa\\") + c.resource + L".prn";
    // A stale file of the same name is replaced.
    ASSERT_TRUE(platform::files().ForceDirectories(L"C:\\Users\\tester\\AppData\\Local\\Temp\\Corventa"));
    ASSERT_TRUE(platform::files().WriteWholeFile(file, {1, 2, 3}));
    auto dialog = platform::forms::MakeForm<TfrmSetItem>();
    EXPECT_EQ(platform::files().ReadWholeFile(file), job);
    EXPECT_EQ(c.resource == std::wstring(L"HoleCheck1541") ? dialog->m_Holecheck1541 : dialog->m_Holecheck1082, file);
}

INSTANTIATE_TEST_SUITE_P(Jobs,
                         PrintFilesTest,
                         ::testing::Values(PrintJobCase{"HoleCheck1541", L"HoleCheck1541", 1343742},
                                           PrintJobCase{"HoleCheck1082", L"HoleCheck1082", 808825}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
