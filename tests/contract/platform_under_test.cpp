#include "platform_under_test.h"

#include <cstdio>

namespace contract {

bool IsKnownDeviation(const PlatformUnderTest& under, const std::string& caseName) {
    const std::string reason = under.KnownDeviation(caseName);
    if (reason.empty()) {
        return false;
    }
    std::printf("[ KNOWN    ] %s on %s: %s\n", caseName.c_str(), under.Name(), reason.c_str());
    return true;
}

}  // namespace contract
