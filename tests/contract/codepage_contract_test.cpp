// The code-page known answers (tests/platform/codepage_cases.h) in the platform's system code page.
#include "codepage_cases.h"
#include "platform/codepage.h"
#include "platform/platform.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using CodePageContract = ContractTest;

TEST_F(CodePageContract, KnownAnswersOfTheSystemCodePage) {
    int checked = 0;
    for (const auto& c : platform::cases::CodePageKnownAnswers()) {
        SCOPED_TRACE(c.name);
        if (!under->UseSystemCodePage(c.codePage)) {
            continue;
        }
        EXPECT_EQ(platform::codePage().SystemCodePage(), c.codePage);
        EXPECT_EQ(platform::codePage().ToSystem(c.text), c.bytes);
        EXPECT_EQ(platform::codePage().FromSystem(c.bytes), c.text);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no row for the system code page " << platform::codePage().SystemCodePage();
}

TEST_F(CodePageContract, CharactersTheCodePageLacksBecomeQuestionMarks) {
    for (const auto& c : platform::cases::CodePageLossyAnswers()) {
        SCOPED_TRACE(c.name);
        if (under->UseSystemCodePage(c.codePage)) {
            EXPECT_EQ(platform::codePage().ToSystem(c.text), c.bytes);
        }
    }
}

}  // namespace
}  // namespace contract
