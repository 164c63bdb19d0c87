#pragma once
// A stand-in for the printer driver's configuration module on the sim: it loads the plug-in's object
// through the module's exports and opens the printer's device property sheet as the driver does, on a thread
// of its own: CommonUIProp with the printer's name, DevicePropertySheets with the common property sheet
// callback, the page's messages, the apply, and the thread's end. The settings program the page starts is
// whatever runner the host is given, played by the sim's process facility, which records every start.

#include <functional>
#include <string>

#include "driver_kit.h"
#include "page_window_sim.h"
#include "platform/sim/sim_platform.h"

namespace tavrel {

class SimDriverHost {
public:
    // What the sheet's calls answered.
    struct SheetRun {
        driverkit::HRESULT propResult = driverkit::E_FAIL;   // CommonUIProp
        driverkit::HRESULT sheetResult = driverkit::E_FAIL;  // DevicePropertySheets, INIT
        int pagesAdded = 0;
        std::wstring headerTitle;
        driverkit::ULONG_PTR setResult = 0;  // the Result of SET_RESULT after the apply
    };
    // The user at the sheet, on the sheet's thread; the sheet is applied and closed when it returns.
    using User = std::function<void(SimPageWindow& page)>;

    SimDriverHost(platform::sim::SimPlatform& sim, std::wstring printerName);

    // The program every process start of the page runs (the sim's runner); empty: each start succeeds at once.
    void SetProgramRunner(platform::sim::SimProcesses::Runner runner);
    SheetRun ShowDeviceSheet(const User& user);

private:
    void RunSheet(const User& user, SheetRun& run);

    platform::sim::SimPlatform& sim_;
    std::wstring printerName_;
};

}  // namespace tavrel
