// The port library's loading rule: a module that cannot be found makes the call throw the delayed-load
// error, and the next call tries again.
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using PortLibraryContract = ContractTest;

TEST_F(PortLibraryContract, MissingModuleThrowsAtEveryCall) {
    if (!under->HidePortLibrary()) {
        GTEST_SKIP() << "the port library can be found here";
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        try {
            platform::portLibrary().USBPrintRefresh();
            ADD_FAILURE() << "no exception";
        } catch (const platform::ExternalException& e) {
            EXPECT_EQ(e.Code(), platform::kDelayLoadModuleNotFound);
        }
    }
}

}  // namespace
}  // namespace contract
