// The model's door to the exchange worker: one worker per exchange, polled by the user-interface thread, which
// keeps the windows alive meanwhile; and the two raw-byte wrappers that the dialogs use.

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

#include "Scheme.h"
#include "ThreadRWPrinter.h"
#include "TraceLog.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/forms/application.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace {

// Once a read has failed in the run, the printer is not given long to answer any more.
constexpr std::int32_t kShortReadTimeOut = 1500;
constexpr std::uint32_t kPollInterval = 50;
constexpr std::int32_t kWritePrinterExtra = 0;
constexpr std::int32_t kWriteAndReadExtra = 10;
constexpr std::int32_t kWritePrinterBufferSize = 1024;

void HandlePendingMessages() {
    // A model used without a window system (a tool, a test of the model alone) has no messages to handle.
    if (platform::Current().forms) {
        platform::forms::application().ProcessMessages();
    }
}

void ShowPrinterNotFound() {
    const std::wstring& text = g_GlobalString.PrinterNotFound;
    const std::wstring& caption = g_GlobalString.HintTitle;
    if (platform::Current().forms) {
        platform::forms::application().ShowMessageBox(text, caption, platform::MsgIcon::Error);
    } else {
        platform::messageBoxes().Show(text, caption, platform::MsgIcon::Error, platform::MsgButtons::OK);
    }
}

std::int32_t ReadTimeOut(const TSchemeOptions2& model, std::int32_t iTimeOut) {
    // The flag that counts is the one the worker sets: that of the model in use.
    const TSchemeOptions2& inUse = g_SchemeOptions ? *g_SchemeOptions : model;
    if (inUse.m_Sections.AffirmReadDisable) {
        return kShortReadTimeOut;
    }
    // A model settings file may hold any numbers; their sum must not wrap round.
    const std::int64_t sum = static_cast<std::int64_t>(iTimeOut) + model.m_Sections.TimeOutPage;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool TSchemeOptions2::DoWriteAndReadPrinter(std::int32_t iUSBPrinter,
                                            const std::wstring& strWriteHex,
                                            std::uint8_t* buffer,
                                            std::int32_t bufferSize,
                                            std::int32_t& readLength,
                                            bool bReadData,
                                            bool bResetFirst,
                                            std::int32_t iTimeOut,
                                            bool bFindPrefix,
                                            bool* handedOver) {
    TraceLog().EnterProc(L"DoWriteAndReadPrinter", L"");
    if (handedOver) {
        *handedOver = false;
    }
    const std::int32_t timeOut = ReadTimeOut(*this, iTimeOut);

    auto worker = std::make_unique<TRWPrinter>();
    worker->SetParameters(iUSBPrinter, strWriteHex, bReadData, timeOut, 0, bResetFirst, m_Sections.SleepBeforeRead,
                          static_cast<std::uint32_t>(std::max(readLength, 0)));
    worker->Start();
    platform::Clock& clock = platform::clock();
    while (!worker->Finished()) {
        HandlePendingMessages();
        clock.Sleep(kPollInterval);
    }

    // The worker has finished: its fields are the user-interface thread's to read now.
    const bool result = worker->m_bResult;
    if (result && bReadData && readLength > 0) {
        const bool copied = worker->GetData(buffer, bufferSize, readLength, bFindPrefix);
        if (handedOver) {
            *handedOver = copied;
        }
    }
    worker.reset();
    TraceLog().LeaveProc(L"DoWriteAndReadPrinter", L"");
    return result;
}

bool TSchemeOptions2::DoWriteAndReadPrinter(const std::wstring& strPrinterName,
                                            const std::wstring& strWriteHex,
                                            std::uint8_t* buffer,
                                            std::int32_t bufferSize,
                                            std::int32_t& readLength,
                                            bool bReadData,
                                            bool bResetFirst,
                                            std::int32_t iTimeOut,
                                            bool bFindPrefix,
                                            bool* handedOver) {
    if (handedOver) {
        *handedOver = false;
    }
    std::wstring portName;
    bool bOnline = false;
    if (!GetPrinterPort(strPrinterName, portName, bOnline) || !bOnline || portName.find(L"USB") == std::wstring::npos) {
        return false;
    }
    // An index of -1 (no such USB printer) goes on: the worker reports the port it cannot open.
    return DoWriteAndReadPrinter(GetUSBPrinterIndex(portName), strWriteHex, buffer, bufferSize, readLength, bReadData,
                                 bResetFirst, iTimeOut, bFindPrefix, handedOver);
}

bool TSchemeOptions2::WriteRawBytes(const std::uint8_t* pBufWrite,
                                    std::int32_t nBufWrite,
                                    bool bReadData,
                                    std::int32_t iTimeOut,
                                    std::uint8_t* buffer,
                                    std::int32_t bufferSize,
                                    std::int32_t& readLength,
                                    bool bFindPrefix) {
    std::wstring portName;
    bool bOnline = false;
    if (!GetPrinterPort(g_strPrinterName, portName, bOnline) || !bOnline) {
        ShowPrinterNotFound();
        readLength = 0;
        return false;
    }

    std::wstring hex;
    const std::int32_t count = pBufWrite ? std::max(nBufWrite, 0) : 0;
    hex.reserve(2 * static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        hex += platform::IntToHex(pBufWrite[i], 2);
    }

    bool handedOver = false;
    const bool result = DoWriteAndReadPrinter(g_strPrinterName, hex, buffer, bufferSize, readLength, bReadData, false,
                                              iTimeOut, bFindPrefix, &handedOver);
    if (!handedOver) {
        readLength = 0;
    }
    return result;
}

bool TSchemeOptions2::WritePrinter(const std::uint8_t* pBufWrite, std::int32_t nBufWrite) {
    std::array<std::uint8_t, kWritePrinterBufferSize> unread{};
    std::int32_t readLength = kWritePrinterBufferSize;
    return WriteRawBytes(pBufWrite, nBufWrite, false, kWritePrinterExtra, unread.data(), kWritePrinterBufferSize - 1,
                         readLength, true);
}

bool TSchemeOptions2::WriteAndReadPrinter(const std::uint8_t* pBufWrite,
                                          std::int32_t nBufWrite,
                                          std::uint8_t* buffer,
                                          std::int32_t bufferSize,
                                          std::int32_t& readLength,
                                          bool bFindPrefix) {
    return WriteRawBytes(pBufWrite, nBufWrite, true, kWriteAndReadExtra, buffer, bufferSize, readLength, bFindPrefix);
}
