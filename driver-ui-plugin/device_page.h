#pragma once
// The settings page of the driver's device property sheet.

#include "driver_kit.h"

namespace tavrel {

// The body of DevicePropertySheets: S_OK with the reason's result in the record's Result; E_FAIL with
// ERROR_INVALID_PARAMETER for a missing record or one of another version.
driverkit::HRESULT AddDevicePage(driverkit::PROPSHEETUI_INFO* pPSUIInfo, driverkit::LPARAM lParam);

}  // namespace tavrel
