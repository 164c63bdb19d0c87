#include <cstdio>

#include "vprinter/virtual_printer.h"

namespace vprinter {
namespace {

// The USB printer device interface class that the class driver registers its devices under.
constexpr const char* kUsbPrintClassGuid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr const char* kVendorProduct = "vid_5a4b&pid_0472";
constexpr const char* kMaker = "Varintex";

}  // namespace

std::string Identity::serial() const {
    const auto first = devicePath.find('#');
    if (first == std::string::npos) {
        return {};
    }
    const auto second = devicePath.find('#', first + 1);
    if (second == std::string::npos) {
        return {};
    }
    const auto third = devicePath.find('#', second + 1);
    if (third == std::string::npos) {
        return {};
    }
    return devicePath.substr(second + 1, third - second - 1);
}

Identity makeIdentity(std::string model, std::string serial, int portNumber, bool withMdl) {
    Identity id;
    id.devicePath = std::string("\\\\?\\usb#") + kVendorProduct + "#" + serial + "#" + kUsbPrintClassGuid;
    char port[16];
    std::snprintf(port, sizeof port, "USB%03d", portNumber);
    id.portName = port;
    id.deviceId = std::string("MFG:") + kMaker + ";";
    if (withMdl) {
        id.deviceId += "MDL:" + model + ";";
    }
    id.deviceId += "CMD:ESC;";
    return id;
}

}  // namespace vprinter
