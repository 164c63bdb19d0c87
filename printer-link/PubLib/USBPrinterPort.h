#pragma once
// Direct access to USB printers through the class driver, by their device paths: the status byte, and large
// jobs written in 4096-byte overlapped pieces. The port library is used only to list the printers.
// User-interface thread only; a transfer blocks it for up to m_iWaitTime ms per piece or read.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/usb_printer.h"

class TUSBPrinterPort {
public:
    // Lists the printers at once when bRefresh.
    explicit TUSBPrinterPort(bool bRefresh);
    // An open port is not closed.
    virtual ~TUSBPrinterPort();
    TUSBPrinterPort(const TUSBPrinterPort&) = delete;
    TUSBPrinterPort& operator=(const TUSBPrinterPort&) = delete;

    // PrinterInfos becomes the display list ("USB001:  MakerModel   <SERIAL>").
    void GetActiveUSBPrinters(std::vector<std::wstring>& PrinterInfos, bool Refresh);
    bool GetPrinterStatusByte(const std::wstring& strUSBPort, std::uint8_t& byStatus);
    // An nPort past the list throws platform::Exception (the list's index error).
    bool GetPrinterStatusByte(std::int32_t nPort, std::uint8_t& byStatus);
    bool OpenUSBPort(const std::wstring& strUSBPort);
    bool OpenUSBPort(std::uint32_t nPort);
    void CloseUSBPort();
    // On the open port; time-outs and wait failures show in the last-error value (1460, 12).
    void Read(std::uint8_t* pBuf, std::uint32_t& nBuf);
    std::int32_t Write(const std::uint8_t* pBuf, std::uint32_t nBuf);
    // Open port nPort, transfer, close. nPort below 0 does nothing; a port that cannot be opened throws
    // platform::Exception with the message the user is shown.
    void ReadData(std::int32_t nPort, std::uint8_t* pBuf, std::uint32_t& nBuf);
    std::int32_t WriteData(std::int32_t nPort, const std::uint8_t* pBuf, std::uint32_t nBuf);
    // Writes nBuf bytes from pBuf, then reads up to nBufMax bytes into pBuf.
    void WriteAndRead(std::int32_t nPort, std::uint8_t* pBuf, std::uint32_t& nBuf, std::uint32_t nBufMax);

private:
    void ListPrinters();
    std::wstring FileNameOfPort(const std::wstring& strUSBPort) const;
    const std::wstring& FileNameAt(std::int64_t nPort) const;
    bool QueryLptStatus(const std::wstring& devicePath, std::uint8_t& byStatus);
    // Waits for the pending transfer on the open port and takes its count; sets the thread's last-error
    // value (0, 1460 after a time-out, 12 after a failed wait) and cancels on failure. True when signalled.
    bool FinishPendingTransfer(std::uint32_t& count);
    std::uint32_t OverlappedRead(std::uint8_t* pBuf, std::uint32_t nBuf);
    std::int32_t ChunkedWrite(const std::uint8_t* pBuf, std::uint32_t nBuf);

    std::int32_t m_iWaitTime = 5000;
    std::vector<std::wstring> m_slFileNames;
    std::vector<std::wstring> m_slPort_FileName;
    std::vector<std::wstring> m_slPort_PrinterName_SN;
    platform::FileHandle m_hCurrentFile = platform::kInvalidFileHandle;
};
