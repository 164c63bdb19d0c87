#pragma once
// The write-then-read worker: one printer exchange over a USB port through the port library, on a thread of
// its own, polled by the user-interface thread until it has finished.

#include <array>
#include <cstdint>
#include <string>

#include "RWPrinterModel.h"
#include "platform/thread.h"
#include "platform/types.h"
#include "platform/usb_printer.h"

// The printer state file's section of the read count and the last read's result.
inline constexpr wchar_t kReadPrinterSection[] = L"ReadPrinter";
// Mirrors of the printer state file's [ReadPrinter] Count and Last, kept by the worker.
extern std::int32_t g_iReadCount;
extern bool g_bReadLast;
// The printer state file; empty in port mode (nothing is then counted or written).
extern std::wstring g_strPrinterIni;
// Puts every process-wide value of the printer link back as it is at program start: the ones above and the
// model the worker reports to. The program never calls it; it lets one process run many starts.
void ResetPrinterLinkGlobals();

class TRWPrinter : public platform::Thread {
public:
    static constexpr std::uint32_t kBufSize = 32768;

    // Created suspended; SetParameters, then Start.
    TRWPrinter() = default;
    ~TRWPrinter() override;

    // A dwReadData above kBufSize is cut to kBufSize: a read never asks for more than m_Buf holds, and the
    // caller, who compares the count it gets with what it wanted, sees the shortfall.
    void SetParameters(std::int32_t iUSBPrinter,
                       const std::wstring& strWriteHex,
                       bool bReadData,
                       std::int32_t iTimeOut,
                       std::int32_t iLeastByte,
                       bool bResetFirst,
                       std::uint32_t dwReadWait,
                       std::uint32_t dwReadData);

    // After the thread has finished: the reply into buffer[0..bufferHigh], from its first frame head when
    // bFindPrefix. Never copies more than bufferHigh + 1 bytes: a longer reply gives False and count 0.
    bool GetData(std::uint8_t* buffer, std::int32_t bufferHigh, std::int32_t& count, bool bFindPrefix) const;

    // Read by the creator only after the thread has finished.
    std::int32_t m_iUSBPrinter = 0;
    std::wstring m_strWriteHex;
    std::int32_t m_iTimeOut = 0;
    std::int32_t m_iLeastByte = 0;
    std::int32_t m_iLastRead = 0;
    std::array<std::uint8_t, kBufSize> m_Buf{};
    platform::Bytes m_pBuf;
    std::int32_t m_nRet = 0;
    bool m_bReadData = false;
    bool m_bMultiReadRetry = false;
    std::uint32_t m_dwReadData = 0;
    bool m_bResult = false;
    bool m_bResetFirst = false;
    std::uint32_t m_dwReadWait = 0;

protected:
    void Execute() override;

private:
    void DoExchange();
    void ReadReply(platform::FileHandle handle);
    void WriteReadState() const;
};
