#include "UtilPrinter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "PortLibraryText.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/spooler.h"
#include "platform/text.h"

namespace {

constexpr std::uint32_t kListBufferSize = 1024;
constexpr std::int32_t kWriteTimeOut = 2000;

// Opens a printer for the duration of one query.
class PrinterScope {
public:
    explicit PrinterScope(const std::wstring& name) : handle_(platform::spooler().OpenPrinter(name)) {}
    ~PrinterScope() {
        if (handle_) {
            platform::spooler().ClosePrinter(handle_);
        }
    }
    PrinterScope(const PrinterScope&) = delete;
    PrinterScope& operator=(const PrinterScope&) = delete;
    platform::PrinterHandle get() const { return handle_; }

private:
    platform::PrinterHandle handle_;
};

// The printer's level-2 information, opening and closing the printer around the query; nothing for an empty
// name, an unknown printer or a failed query.
std::optional<platform::PrinterInfo2> QueryPrinter2(const std::wstring& printerName) {
    if (printerName.empty()) {
        return std::nullopt;
    }
    PrinterScope printer(printerName);
    if (!printer.get()) {
        return std::nullopt;
    }
    return platform::spooler().GetPrinter2(printer.get());
}

}  // namespace

std::int32_t FindBytePattern(const std::uint8_t* pattern,
                             const std::uint8_t* data,
                             std::int32_t patternLength,
                             std::int32_t dataLength) {
    if (patternLength < 0 || dataLength < patternLength || !data || (patternLength > 0 && !pattern)) {
        return -1;
    }
    for (std::int32_t start = 0; start + patternLength <= dataLength; ++start) {
        if (patternLength == 0 || std::memcmp(data + start, pattern, static_cast<std::size_t>(patternLength)) == 0) {
            return start;
        }
    }
    return -1;
}

std::int32_t EnumUSBPrinters(std::vector<std::wstring>& names,
                             std::vector<std::wstring>& files,
                             const std::wstring& separator) {
    auto& library = platform::portLibrary();
    const std::int32_t count = library.USBPrintRefresh();
    for (std::int32_t index = 0; index < count; ++index) {
        std::array<char, kListBufferSize> path{};
        std::array<char, kListBufferSize> port{};
        std::array<char, kListBufferSize> id{};
        std::uint32_t length = kListBufferSize;
        library.GetUSBPrintFileName(index, path.data(), length);
        library.GetUSBHWID(index, port.data(), kListBufferSize, id.data(), kListBufferSize);

        const std::wstring deviceId = PortLibraryText(id.data(), id.size());
        std::wstring model;
        if (!GetDeviceIdValue(deviceId, L"MDL:", model)) {
            continue;  // not a printer that names its model
        }
        std::wstring maker;
        GetDeviceIdValue(deviceId, L"MFG:", maker);
        names.push_back(maker + model + separator + PortLibraryText(port.data(), port.size()));
        files.push_back(PortLibraryText(path.data(), path.size()));
    }
    return static_cast<std::int32_t>(names.size());
}

bool GetDeviceIdValue(const std::wstring& deviceId, const std::wstring& key, std::wstring& value) {
    const std::size_t p = platform::Pos(key, deviceId);
    if (p == 0) {
        return false;
    }
    // The known keys are four characters long; the value is looked for in the next 50 characters only.
    const std::wstring window = platform::Copy(deviceId, static_cast<std::ptrdiff_t>(p + 4), 50);
    const std::size_t end = platform::Pos(L";", window);
    value = end > 0 ? platform::Copy(window, 1, static_cast<std::ptrdiff_t>(end - 1)) : std::wstring();
    return true;
}

std::int32_t GetUSBPrinterIndex(const std::wstring& portName) {
    std::vector<std::wstring> names;
    std::vector<std::wstring> files;
    EnumUSBPrinters(names, files, L"=");
    std::int32_t result = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t eq = names[i].find(L'=');
        if (eq != std::wstring::npos && names[i].substr(eq + 1) == portName) {
            result = static_cast<std::int32_t>(i);
        }
    }
    return result;
}

std::int32_t ParseLocalPorts(const std::wstring& localPorts,
                             std::vector<std::wstring>* portNames,
                             std::vector<std::wstring>* portFiles) {
    if (!portNames || !portFiles) {
        return -1;
    }
    portNames->clear();
    portFiles->clear();
    // The list is comma text (quotes allowed, blanks also separate); an empty entry names no port.
    for (const std::wstring& token : platform::SplitCommaText(localPorts)) {
        if (token.empty()) {
            continue;
        }
        if (token[0] == L'_') {
            if (token == L"_USB") {
                EnumUSBPrinters(*portNames, *portFiles, L" - ");
            }
            continue;
        }
        portNames->push_back(token);
        portFiles->push_back(token);
    }
    return static_cast<std::int32_t>(portFiles->size());
}

platform::Bytes HexTextToBytes(const std::wstring& hexText, BadHexPair badPair, HexPairSource source) {
    std::wstring packed;
    packed.reserve(hexText.size());
    for (wchar_t c : hexText) {
        if (c != L' ' && c != L'\t') {
            packed += c;
        }
    }
    if (source == HexPairSource::SystemCodePage) {
        // A character outside ASCII may take two bytes there, which moves the pairs after it.
        const std::string text = platform::codePage().ToSystem(packed);
        packed.assign(text.size(), L'\0');
        std::transform(text.begin(), text.end(), packed.begin(),
                       [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    }
    platform::Bytes bytes;
    bytes.reserve(packed.size() / 2);
    for (std::size_t i = 0; i + 1 < packed.size(); i += 2) {
        const int high = platform::HexDigitValue(packed[i]);
        const int low = platform::HexDigitValue(packed[i + 1]);
        if (high >= 0 && low >= 0) {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        } else if (badPair == BadHexPair::ZeroByte) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

bool SendRawPrintJob(const std::wstring& printerName, const platform::Bytes& data, const std::wstring& docName) {
    auto& spooler = platform::spooler();
    PrinterScope printer(printerName);
    if (!printer.get()) {
        return false;
    }
    spooler.StartDocPrinter(printer.get(), docName, L"RAW");
    spooler.StartPagePrinter(printer.get());
    std::size_t written = 0;
    const bool ok = spooler.WritePrinter(printer.get(), data.data(), data.size(), written);
    spooler.EndPagePrinter(printer.get());
    spooler.EndDocPrinter(printer.get());
    return ok;
}

bool WriteToPortFile(const std::uint8_t* data, std::int32_t length, const std::wstring& portFile) {
    if (length < 0 || (length > 0 && !data)) {
        return false;
    }
    platform::OpenFileRequest request;
    request.path = platform::StartsWith(portFile, L"\\\\") ? portFile : L"\\\\?\\" + portFile;
    request.read = true;
    request.write = true;
    request.shareRead = true;
    request.shareWrite = true;
    // A path on a drive is a file to create; anything else is a port that must already exist.
    request.disposition =
        platform::Pos(L":\\", portFile) > 0 ? platform::Disposition::CreateAlways : platform::Disposition::OpenExisting;
    std::unique_ptr<platform::File> file = platform::files().Open(request);
    if (!file) {
        return false;
    }
    std::size_t written = 0;
    return file->Write(data, static_cast<std::size_t>(length), written);
}

bool WriteUSBPrinter(const platform::Bytes& data, std::int32_t iUSBPrinter) {
    auto& library = platform::portLibrary();
    const platform::FileHandle handle = library.OpenPrinterUSBPort(iUSBPrinter + 1);
    if (handle == platform::kInvalidFileHandle) {
        return false;
    }
    const auto length = static_cast<std::int32_t>(data.size());
    const bool ok = library.WritePort(handle, data.data(), length, kWriteTimeOut) == length;
    platform::usbDriver().CloseHandle(handle);
    return ok;
}

bool GetSchemeFile(const std::wstring& printerName, std::wstring& fileName) {
    const auto info = QueryPrinter2(printerName);
    if (!info) {
        return false;
    }
    const std::size_t blank = info->driverName.find(L' ');
    const std::wstring model = blank == std::wstring::npos ? info->driverName : info->driverName.substr(blank + 1);
    fileName = platform::spooler().PrinterDriverDirectory() + L"\\3\\" + model + L"_Settings.Dat";
    return true;
}

bool GetPrinterPort(const std::wstring& printerName, std::wstring& portName, bool& bOnline) {
    const auto info = QueryPrinter2(printerName);
    if (!info) {
        return false;
    }
    portName = info->portName;
    bOnline = (info->attributes & platform::kPrinterAttributeWorkOffline) == 0;
    return true;
}

bool IsPortBlocked(const std::wstring& /*portName*/) {
    return false;
}
