#include "device_page.h"

#include "platform/platform.h"
#include "platform/thread_state.h"

namespace tavrel {

namespace dk = driverkit;

// The page itself (its dialog, the header title and the sheet's result) is not built yet: every reason but
// DESTROY answers 0, so the sheet shows no page of ours.
driverkit::HRESULT AddDevicePage(driverkit::PROPSHEETUI_INFO* pPSUIInfo, driverkit::LPARAM lParam) {
    (void)lParam;
    if (!pPSUIInfo || pPSUIInfo->Version != dk::PROPSHEETUI_INFO_VERSION) {
        platform::threadState().SetLastError(platform::kErrorInvalidParameter);
        return dk::E_FAIL;
    }
    pPSUIInfo->Result = pPSUIInfo->Reason == dk::PROPSHEETUI_REASON_DESTROY ? 1 : 0;
    return dk::S_OK;
}

}  // namespace tavrel
