#include "ThreadRWPrinter.h"

#include <algorithm>
#include <cstring>

#include "TraceLog.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/text.h"

std::int32_t g_iReadCount = 0;
bool g_bReadLast = false;
std::wstring g_strPrinterIni;

void ResetPrinterLinkGlobals() {
    g_iReadCount = 0;
    g_bReadLast = false;
    g_strPrinterIni.clear();
    SetRWPrinterModel(nullptr);
}

namespace {

constexpr std::int32_t kWriteTimeOut = 2000;
constexpr std::int32_t kDrainReadLength = 32767;
constexpr std::int32_t kDrainTimeOut = 10;
constexpr std::int32_t kDrainLastTimeOut = 20;
constexpr std::uint32_t kDrainSettle = 20;
constexpr std::int32_t kMoreTimeOut = 100;


// What the library says it read, trusted only within what was asked for.
std::int32_t Clamp(std::int32_t n, std::int32_t asked) {
    return std::clamp(n, 0, std::max(asked, 0));
}

}  // namespace

TRWPrinter::~TRWPrinter() {
    // The thread must be gone before the fields it works on are.
    WaitFor();
}

void TRWPrinter::SetParameters(std::int32_t iUSBPrinter,
                               const std::wstring& strWriteHex,
                               bool bReadData,
                               std::int32_t iTimeOut,
                               std::int32_t iLeastByte,
                               bool bResetFirst,
                               std::uint32_t dwReadWait,
                               std::uint32_t dwReadData) {
    m_iUSBPrinter = iUSBPrinter;
    m_strWriteHex = strWriteHex;
    m_bReadData = bReadData;
    m_iTimeOut = iTimeOut;
    m_iLeastByte = iLeastByte;
    m_bResetFirst = bResetFirst;
    m_bMultiReadRetry = bResetFirst;  // a drained exchange always reads on after its first read
    m_dwReadWait = dwReadWait;
    m_dwReadData = std::min(dwReadData, kBufSize);

    m_pBuf = HexTextToBytes(strWriteHex, BadHexPair::ZeroByte, HexPairSource::Characters);
}

bool TRWPrinter::GetData(std::uint8_t* buffer, std::int32_t bufferHigh, std::int32_t& count, bool bFindPrefix) const {
    const std::int64_t room = static_cast<std::int64_t>(bufferHigh) + 1;
    if (room < m_iLastRead) {
        count = 0;
        return false;
    }
    const std::int32_t total = Clamp(m_nRet, static_cast<std::int32_t>(kBufSize));
    std::int32_t from = 0;
    if (bFindPrefix) {
        static constexpr std::uint8_t kFrameHead[] = {0x1B, 0x1D, 0x1E};
        from = FindBytePattern(kFrameHead, m_Buf.data(), 3, total);
        if (from < 0) {
            return false;
        }
    }
    const std::int32_t n = total - from;
    if (n > room || (n > 0 && !buffer)) {
        count = 0;
        return false;
    }
    if (n > 0) {
        std::memcpy(buffer, m_Buf.data() + from, static_cast<std::size_t>(n));
    }
    count = n;
    return true;
}

void TRWPrinter::Execute() {
    TraceLog().EnterProc(L"TRWPrinter.Execute", L"");
    try {
        DoExchange();
    } catch (const platform::ExternalException& e) {
        // The port library is missing: the exchange ends at the failing call, failed, and nothing after it
        // happens (no state file, no globals). A drain may already have set the result from CancelIo.
        m_bResult = false;
        TraceLog().ErrorMessageFmt(L"External exception %x", {static_cast<std::int64_t>(e.Code())});
        return;
    }
    TraceLog().LeaveProc(L"TRWPrinter.Execute", L"");
}

void TRWPrinter::DoExchange() {
    auto& library = platform::portLibrary();

    m_bResult = false;
    g_iReadCount =
        g_strPrinterIni.empty() ? 0 : platform::IniFile(g_strPrinterIni).ReadInteger(kReadPrinterSection, L"Count", 0);

    const platform::FileHandle handle = library.OpenPrinterUSBPort(m_iUSBPrinter + 1);
    if (handle == platform::kInvalidFileHandle) {
        TraceLog().ErrorMessageFmt(L"OpenPrinterUSBPort(%d) Fail !", {static_cast<std::int64_t>(m_iUSBPrinter + 1)});
    } else {
        if (m_bResetFirst) {
            // Whatever the printer still had to say belongs to an earlier exchange.
            TraceLog().Message(L"清除打印機緩衝");
            m_bResult = platform::usbDriver().CancelIo(handle);
            for (int i = 0; i < 5; ++i) {
                m_nRet = library.ReadPort(handle, m_Buf.data(), kDrainReadLength, kDrainTimeOut);
            }
            m_nRet = library.ReadPort(handle, m_Buf.data(), kDrainReadLength, kDrainLastTimeOut);
            platform::clock().Sleep(kDrainSettle);
        }

        const auto length = static_cast<std::int32_t>(m_pBuf.size());
        if (length > 0) {
            m_nRet = library.WritePort(handle, m_pBuf.data(), length, kWriteTimeOut);
            TraceLog().MessageFmt(L"WritePort: %d / %d",
                                  {static_cast<std::int64_t>(m_nRet), static_cast<std::int64_t>(length)});
        }

        if (m_nRet == -2) {
            m_bResult = false;
        } else if (m_nRet == length && !m_bReadData) {
            m_bResult = true;
        } else if (m_nRet == length) {
            ReadReply(handle);
        }
        // Any other count is a short write: the result stays what it was.

        m_strWriteHex.clear();
        WriteReadState();
        library.CloseUSBPort(handle);
    }

    g_bReadLast = m_bResult;
    TRWPrinterModel* model = GetRWPrinterModel();
    if (!m_bResult && model && model->ReadOnLastFail() == 0 && g_iReadCount >= 1) {
        model->SetAffirmReadDisableStatus(true);
    }
}

void TRWPrinter::ReadReply(platform::FileHandle handle) {
    auto& library = platform::portLibrary();
    auto& driver = platform::usbDriver();
    auto& clock = platform::clock();

    // The count comes from a file anyone can edit; past its largest value it wraps as an Integer does.
    g_iReadCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(g_iReadCount) + 1u);
    clock.Sleep(m_dwReadWait);

    const auto asked = static_cast<std::int32_t>(m_dwReadData);
    const std::uint32_t start = clock.TickCount();
    driver.SetLastError(platform::kErrorSuccess);
    const std::int32_t n = Clamp(library.ReadPort(handle, m_Buf.data(), asked, m_iTimeOut), asked);
    m_iLastRead = n;
    m_nRet = n;
    const std::uint32_t error = driver.GetLastError();
    const std::uint32_t elapsed = clock.TickCount() - start;
    if (error != platform::kErrorSuccess) {
        m_bResult = false;
        if (error == platform::kErrorTimeout || static_cast<std::int64_t>(elapsed) >= m_iTimeOut) {
            TraceLog().ErrorMessageFmt(L"ReadPort 超時：%d ms", {static_cast<std::int64_t>(elapsed)});
        } else {
            TraceLog().ErrorMessageFmt(L"ReadPort 失敗：%d", {static_cast<std::int64_t>(error)});
        }
        return;
    }

    if (m_bMultiReadRetry) {
        while (m_nRet < static_cast<std::int32_t>(kBufSize)) {
            const std::int32_t ask = std::min(asked, static_cast<std::int32_t>(kBufSize) - m_nRet);
            if (ask <= 0) {
                break;
            }
            driver.SetLastError(platform::kErrorSuccess);
            const std::int32_t k = Clamp(library.ReadPort(handle, m_Buf.data() + m_nRet, ask, kMoreTimeOut), ask);
            m_nRet += k;
            if (driver.GetLastError() != platform::kErrorSuccess) {
                break;
            }
            m_iLastRead = k;
            if (k == 0) {
                break;  // a read that brings nothing and reports nothing would otherwise repeat for ever
            }
        }
    }

    if (m_nRet >= m_iLeastByte) {
        m_bResult = true;
    }
}

void TRWPrinter::WriteReadState() const {
    if (g_strPrinterIni.empty()) {
        return;
    }
    const platform::IniFile ini(g_strPrinterIni);
    ini.WriteInteger(kReadPrinterSection, L"Count", g_iReadCount);
    ini.WriteString(kReadPrinterSection, L"Last", m_bResult ? L"-1" : L"0");
}
