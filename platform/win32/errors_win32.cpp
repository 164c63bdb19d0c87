#include "platform/usb_printer.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

std::uint32_t MapError(DWORD error) {
    switch (error) {
        // A printer pulled off the bus shows as any of these, depending on the moment and the driver.
        case ERROR_GEN_FAILURE:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_BAD_UNIT:
            return kErrorDeviceNotConnected;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            return kErrorFileNotFound;
        case ERROR_SEM_TIMEOUT:
        case WAIT_TIMEOUT:
        case ERROR_TIMEOUT:
            return kErrorTimeout;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return kErrorInvalidAccess;
        default:
            return error;
    }
}

}  // namespace platform::win32
