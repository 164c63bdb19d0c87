#include "platform/sim/sim_platform.h"

namespace platform::sim {

SimPlatform::SimPlatform() {
    table_.profile = &profile_;
    table_.files = &files_;
    table_.clock = &clock_;
    table_.locale = &locale_;
    table_.codePage = &codePage_;
    table_.resources = &resources_;
    table_.messageBoxes = &messageBoxes_;
    table_.processes = &processes_;
    table_.spooler = &spooler_;
    table_.portLibrary = &portLibrary_;
    table_.usbDriver = &usbDriver_;
    table_.forms = &forms_;
    table_.threadState = &threadState_;
    table_.heap = &heap_;
    Install(&table_);
}

SimPlatform::~SimPlatform() {
    Install(nullptr);
}

}  // namespace platform::sim

namespace platform {

// Each test installs its own sim platform.
void InstallDefaultOnce() {}

}  // namespace platform
