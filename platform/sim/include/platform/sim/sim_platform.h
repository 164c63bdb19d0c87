#pragma once
// The simulated platform: one per test (tests/support's fixture makes it). Constructing it installs it as the
// current platform; destroying it uninstalls it. Everything is in memory and deterministic: files live in a
// sandbox, the clock is virtual, the spooler, the USB bus and the user are simulated. A test reads the sim's
// parts to see what happened.

#include "platform/platform.h"
#include "platform/sim/clock_sim.h"
#include "platform/sim/codepage_sim.h"
#include "platform/sim/files_sim.h"
#include "platform/sim/forms_headless.h"
#include "platform/sim/heap_sim.h"
#include "platform/sim/locale_sim.h"
#include "platform/sim/message_box_sim.h"
#include "platform/sim/port_library_sim.h"
#include "platform/sim/process_sim.h"
#include "platform/sim/profile_sim.h"
#include "platform/sim/resources_sim.h"
#include "platform/sim/spooler_sim.h"
#include "platform/sim/thread_state_sim.h"
#include "platform/sim/usb_printer_sim.h"

namespace platform::sim {

class SimPlatform {
public:
    SimPlatform();
    ~SimPlatform();
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    SimClock& clock() { return clock_; }
    SimCodePage& codePage() { return codePage_; }
    SimFileSystem& files() { return files_; }
    SimProfile& profile() { return profile_; }
    SimLocale& locale() { return locale_; }
    SimResources& resources() { return resources_; }
    SimMessageBoxes& messageBoxes() { return messageBoxes_; }
    SimProcesses& processes() { return processes_; }
    SimSpooler& spooler() { return spooler_; }
    SimUsbBus& usbBus() { return usbBus_; }
    SimPortLibrary& portLibrary() { return portLibrary_; }
    SimUsbPrinterDriver& usbDriver() { return usbDriver_; }
    HeadlessForms& forms() { return forms_; }
    SimThreadState& threadState() { return threadState_; }
    SimHeap& heap() { return heap_; }

    // The table the current platform accessor hands out, every entry pointing at one of the parts above.
    Platform& table() { return table_; }

private:
    SimClock clock_;
    SimCodePage codePage_;
    SimFileSystem files_;
    SimProfile profile_{files_, codePage_};
    SimLocale locale_;
    SimResources resources_;
    SimMessageBoxes messageBoxes_;
    SimProcesses processes_;
    SimSpooler spooler_;
    SimThreadState threadState_;  // before the USB bus, which keeps its last errors there
    SimUsbBus usbBus_{clock_, threadState_};
    SimPortLibrary portLibrary_{usbBus_};
    SimUsbPrinterDriver usbDriver_{usbBus_};
    HeadlessForms forms_{clock_, messageBoxes_};
    SimHeap heap_;
    Platform table_;
};

}  // namespace platform::sim
