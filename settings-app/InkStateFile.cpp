#include "InkStateFile.h"

#include <array>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/text.h"
#include "platform/types.h"

namespace {

constexpr std::size_t kNameBufferSize = 1024;
// Where the serial number starts in a USB device path, counted from 1, and how much of it names the folder.
constexpr std::ptrdiff_t kSerialStart = 27;
constexpr std::ptrdiff_t kSerialLength = 10;

const wchar_t kInkStateFileName[] = L"InkSetting.ini";
const wchar_t kSection[] = L"Settings";
// A deep cleaning long past, so that the first one is never refused as too soon.
const wchar_t kFirstDeepCleanTime[] = L"2017/07/07 10:10:33";

std::wstring TextOf(const std::array<char, kNameBufferSize>& buffer) {
    std::array<char, kNameBufferSize> copy = buffer;
    copy.back() = '\0';
    return platform::codePage().FromSystem(copy.data());
}

}  // namespace

void CreateFolder(const std::wstring& folder) {
    if (!platform::files().ForceDirectories(folder)) {
        throw platform::Exception(platform::Format(L"Unable to create directory %s", {folder}));
    }
}

std::wstring LastUsbPrinterSerial() {
    platform::PortLibrary& library = platform::portLibrary();
    std::wstring serial;
    const std::int32_t count = library.USBPrintRefresh();
    for (std::int32_t index = 0; index < count; ++index) {
        std::array<char, kNameBufferSize> path{};
        std::uint32_t pathLength = kNameBufferSize;
        library.GetUSBPrintFileName(index, path.data(), pathLength);
        std::array<char, kNameBufferSize> port{};
        std::array<char, kNameBufferSize> deviceId{};
        library.GetUSBHWID(index, port.data(), kNameBufferSize, deviceId.data(), kNameBufferSize);
        serial = platform::Copy(TextOf(path), kSerialStart, kSerialLength);
    }
    return serial;
}

std::wstring PrepareInkStateFile() {
    const std::wstring common = platform::files().CommonAppDataFolder();
    if (!platform::files().DirectoryExists(common)) {
        CreateFolder(common);
    }
    const std::wstring folder = common + L"\\" + LastUsbPrinterSerial();
    const std::wstring fileName = folder + L"\\" + kInkStateFileName;
    // The parent exists by now, so this creates one level only.
    if (!platform::files().DirectoryExists(folder)) {
        CreateFolder(folder);
        const platform::IniFile ini(fileName);
        ini.WriteString(kSection, L"LastDeepcleantime", kFirstDeepCleanTime);
        ini.WriteInteger(kSection, L"Degree", 0);
    }
    return fileName;
}
