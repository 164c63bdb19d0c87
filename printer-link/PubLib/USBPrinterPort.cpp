#include "PubLib/USBPrinterPort.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

#include "PortLibraryText.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/text.h"
#include "platform/types.h"

namespace {

constexpr std::uint32_t kListBufferSize = 1024;
constexpr std::uint32_t kPieceSize = 4096;
constexpr std::uint32_t kPiecePause = 10;

// The value of "KEY:" in an IEEE 1284 device id, up to the next ";" or the end of the id.
std::wstring ExtractDeviceIdKey(const std::wstring& deviceId, const std::wstring& key) {
    const std::wstring tag = key + L":";
    const std::size_t p = platform::Pos(tag, deviceId);
    if (p == 0) {
        return {};
    }
    const std::size_t from = p + tag.size();
    const std::size_t end = platform::Pos(L";", deviceId, from);
    const std::ptrdiff_t count =
        end > 0 ? static_cast<std::ptrdiff_t>(end - from) : static_cast<std::ptrdiff_t>(deviceId.size());
    return platform::Copy(deviceId, static_cast<std::ptrdiff_t>(from), count);
}

// The serial number in a device path of the form \\?\usb#vid_XXXX&pid_YYYY#SERIAL#{class id}: the text after
// the first "#" from the 10th character on, up to the next "#".
std::wstring ExtractSerialNumber(const std::wstring& devicePath) {
    const std::size_t a = platform::Pos(L"#", devicePath, 10) + 1;
    const std::size_t b = platform::Pos(L"#", devicePath, a + 2);
    if (b == 0) {
        return {};
    }
    return platform::Copy(devicePath, static_cast<std::ptrdiff_t>(a), static_cast<std::ptrdiff_t>(b - a));
}

const wchar_t kNoPrinterMessage[] = L"没有找到打印机，请确认打印机已正常开机并连接好USB线！";

}  // namespace

TUSBPrinterPort::TUSBPrinterPort(bool bRefresh) {
    if (bRefresh) {
        ListPrinters();
    }
}

TUSBPrinterPort::~TUSBPrinterPort() = default;

void TUSBPrinterPort::ListPrinters() {
    m_slFileNames.clear();
    m_slPort_FileName.clear();
    m_slPort_PrinterName_SN.clear();
    auto& library = platform::portLibrary();
    std::array<char, kListBufferSize> path{};
    std::array<char, kListBufferSize> port{};
    std::array<char, kListBufferSize> id{};
    std::uint32_t length = kListBufferSize;
    const std::int32_t count = library.USBPrintRefresh();
    for (std::int32_t index = 0; index < count; ++index) {
        path.fill(0);
        port.fill(0);
        id.fill(0);
        library.GetUSBPrintFileName(index, path.data(), length);
        library.GetUSBHWID(index, port.data(), kListBufferSize, id.data(), kListBufferSize);

        const std::wstring devicePath = PortLibraryText(path.data(), path.size());
        const std::wstring portName = PortLibraryText(port.data(), port.size());
        const std::wstring deviceId = PortLibraryText(id.data(), id.size());
        m_slFileNames.push_back(devicePath);
        m_slPort_FileName.push_back(platform::Format(L"%s=%s", {portName, devicePath}));
        m_slPort_PrinterName_SN.push_back(platform::Format(
            L"%s:  %s%s   <%s>", {portName, ExtractDeviceIdKey(deviceId, L"MFG"), ExtractDeviceIdKey(deviceId, L"MDL"),
                                  ExtractSerialNumber(devicePath)}));
    }
}

void TUSBPrinterPort::GetActiveUSBPrinters(std::vector<std::wstring>& PrinterInfos, bool Refresh) {
    if (Refresh) {
        ListPrinters();
    }
    PrinterInfos = m_slPort_PrinterName_SN;
}

std::wstring TUSBPrinterPort::FileNameOfPort(const std::wstring& strUSBPort) const {
    if (platform::Pos(L"USB", strUSBPort) == 0) {
        return {};
    }
    for (const std::wstring& entry : m_slPort_FileName) {
        const std::size_t eq = entry.find(L'=');
        if (eq != std::wstring::npos && platform::SameText(entry.substr(0, eq), strUSBPort)) {
            return entry.substr(eq + 1);
        }
    }
    return {};
}

const std::wstring& TUSBPrinterPort::FileNameAt(std::int64_t nPort) const {
    if (nPort < 0 || static_cast<std::size_t>(nPort) >= m_slFileNames.size()) {
        throw platform::Exception(platform::Format(L"List index out of bounds (%d)", {nPort}));
    }
    return m_slFileNames[static_cast<std::size_t>(nPort)];
}

bool TUSBPrinterPort::GetPrinterStatusByte(const std::wstring& strUSBPort, std::uint8_t& byStatus) {
    const std::wstring devicePath = FileNameOfPort(strUSBPort);
    if (devicePath.empty()) {
        return false;
    }
    return QueryLptStatus(devicePath, byStatus);
}

bool TUSBPrinterPort::GetPrinterStatusByte(std::int32_t nPort, std::uint8_t& byStatus) {
    if (nPort < 0) {
        return false;
    }
    return QueryLptStatus(FileNameAt(nPort), byStatus);
}

bool TUSBPrinterPort::QueryLptStatus(const std::wstring& devicePath, std::uint8_t& byStatus) {
    auto& driver = platform::usbDriver();
    const platform::FileHandle handle = driver.OpenDevice(devicePath, false);
    if (!platform::IsValidFileHandle(handle)) {
        return false;
    }
    std::uint32_t returned = 0;
    const bool ok = driver.DeviceIoControl(handle, platform::kIoctlUsbprintGetLptStatus, &byStatus, 1, returned);
    driver.CloseHandle(handle);
    return ok;
}

bool TUSBPrinterPort::OpenUSBPort(const std::wstring& strUSBPort) {
    const std::wstring devicePath = FileNameOfPort(strUSBPort);
    if (devicePath.empty()) {
        return false;
    }
    CloseUSBPort();
    m_hCurrentFile = platform::usbDriver().OpenDevice(devicePath, true);
    return platform::IsValidFileHandle(m_hCurrentFile);
}

bool TUSBPrinterPort::OpenUSBPort(std::uint32_t nPort) {
    const std::wstring& devicePath = FileNameAt(nPort);
    CloseUSBPort();
    m_hCurrentFile = platform::usbDriver().OpenDevice(devicePath, true);
    return platform::IsValidFileHandle(m_hCurrentFile);
}

void TUSBPrinterPort::CloseUSBPort() {
    if (platform::IsValidFileHandle(m_hCurrentFile)) {
        platform::usbDriver().CloseHandle(m_hCurrentFile);
    }
    m_hCurrentFile = platform::kInvalidFileHandle;
}

bool TUSBPrinterPort::FinishPendingTransfer(std::uint32_t& count) {
    auto& driver = platform::usbDriver();
    const platform::WaitResult wait = driver.WaitForHandle(m_hCurrentFile, static_cast<std::uint32_t>(m_iWaitTime));
    driver.GetOverlappedResult(m_hCurrentFile, count);
    switch (wait) {
        case platform::WaitResult::Signalled:
            driver.SetLastError(platform::kErrorSuccess);
            return true;
        case platform::WaitResult::TimedOut:
            driver.CancelIo(m_hCurrentFile);
            driver.SetLastError(platform::kErrorTimeout);
            return false;
        case platform::WaitResult::Failed:
            break;
    }
    driver.CancelIo(m_hCurrentFile);
    driver.SetLastError(platform::kErrorInvalidAccess);
    return false;
}

std::uint32_t TUSBPrinterPort::OverlappedRead(std::uint8_t* pBuf, std::uint32_t nBuf) {
    auto& driver = platform::usbDriver();
    std::uint32_t count = 0;
    if (driver.ReadFile(m_hCurrentFile, pBuf, nBuf, count) || driver.GetLastError() != platform::kErrorIoPending) {
        return count;
    }
    FinishPendingTransfer(count);
    return count;
}

std::int32_t TUSBPrinterPort::ChunkedWrite(const std::uint8_t* pBuf, std::uint32_t nBuf) {
    if (nBuf == 0) {
        return 0;
    }
    auto& driver = platform::usbDriver();
    const std::uint32_t pieces = nBuf / kPieceSize + (nBuf % kPieceSize ? 1 : 0);
    std::int64_t total = 0;
    for (std::uint32_t piece = 0; piece < pieces; ++piece) {
        const std::uint32_t offset = piece * kPieceSize;
        const std::uint32_t length = std::min(kPieceSize, nBuf - offset);
        std::uint32_t count = 0;
        const bool ok = driver.WriteFile(m_hCurrentFile, pBuf + offset, length, count);
        total += count;
        // A piece that failed outright adds nothing and the next one follows; a failed wait ends the write.
        if (!ok && driver.GetLastError() == platform::kErrorIoPending) {
            const bool completed = FinishPendingTransfer(count);
            total += count;
            if (!completed) {
                break;
            }
        }
        platform::clock().Sleep(kPiecePause);
    }
    return static_cast<std::int32_t>(total);
}

void TUSBPrinterPort::Read(std::uint8_t* pBuf, std::uint32_t& nBuf) {
    assert(platform::IsValidFileHandle(m_hCurrentFile) && "Read without an open port");
    nBuf = OverlappedRead(pBuf, nBuf);
}

std::int32_t TUSBPrinterPort::Write(const std::uint8_t* pBuf, std::uint32_t nBuf) {
    assert(platform::IsValidFileHandle(m_hCurrentFile) && "Write without an open port");
    return ChunkedWrite(pBuf, nBuf);
}

void TUSBPrinterPort::ReadData(std::int32_t nPort, std::uint8_t* pBuf, std::uint32_t& nBuf) {
    if (nPort < 0) {
        return;
    }
    if (!OpenUSBPort(static_cast<std::uint32_t>(nPort))) {
        throw platform::Exception(kNoPrinterMessage);
    }
    nBuf = OverlappedRead(pBuf, nBuf);
    CloseUSBPort();
}

std::int32_t TUSBPrinterPort::WriteData(std::int32_t nPort, const std::uint8_t* pBuf, std::uint32_t nBuf) {
    if (nPort < 0) {
        return 0;
    }
    if (!OpenUSBPort(static_cast<std::uint32_t>(nPort))) {
        throw platform::Exception(kNoPrinterMessage);
    }
    const std::int32_t written = ChunkedWrite(pBuf, nBuf);
    CloseUSBPort();
    return written;
}

void TUSBPrinterPort::WriteAndRead(std::int32_t nPort, std::uint8_t* pBuf, std::uint32_t& nBuf, std::uint32_t nBufMax) {
    if (nPort < 0) {
        return;
    }
    if (!OpenUSBPort(static_cast<std::uint32_t>(nPort))) {
        throw platform::Exception(kNoPrinterMessage);
    }
    ChunkedWrite(pBuf, nBuf);
    nBuf = OverlappedRead(pBuf, nBufMax);
    CloseUSBPort();
}
