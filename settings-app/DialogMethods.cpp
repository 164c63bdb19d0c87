#include "DialogMethods.h"

#include <algorithm>
#include <array>

#include "GlobalString.h"
#include "UtilPrinter.h"
#include "ValueEncoding.h"
#include "platform/clock.h"
#include "platform/forms/application.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/text.h"
#include "uWaiting.h"

namespace dialogs {

namespace {

constexpr std::int32_t kWriteTimeOut = 2000;
constexpr std::array<std::uint8_t, 3> kFrameHead = {0x1B, 0x1D, 0x1E};
// The read's reply buffer.
constexpr std::int32_t kReplyBufferSize = 1024;
// The status byte of a printer that is still working on something.
constexpr std::uint8_t kStatusBusy = 0x1F;

}  // namespace

bool IsUsbPortName(const std::wstring& portName) {
    return portName.find(L"USB") != std::wstring::npos;
}

void ShowBox(const std::wstring& text, const std::wstring& caption, platform::MsgIcon icon) {
    platform::forms::application().ShowMessageBox(text, caption, icon);
}

bool KeepPortAndCheckOnline() {
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, g_strLocalPortFile, bOnline);
    if (!bOnline) {
        ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    }
    return bOnline;
}

bool PrinterBusy(std::unique_ptr<TUSBPrinterPort>& usbPort, const std::wstring& portName) {
    usbPort = std::make_unique<TUSBPrinterPort>(true);
    std::uint8_t byStatus = 0;
    if (!usbPort->GetPrinterStatusByte(portName, byStatus) || byStatus != kStatusBusy) {
        return false;
    }
    ShowBox(g_GlobalString.WaitingForPrinterWork, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    return true;
}

DisabledWhileSetting::DisabledWhileSetting(std::initializer_list<platform::forms::Control*> controls)
    : controls_(controls) {
    for (platform::forms::Control* control : controls_) {
        control->SetEnabled(false);
    }
}

DisabledWhileSetting::~DisabledWhileSetting() {
    for (platform::forms::Control* control : controls_) {
        control->SetEnabled(true);
    }
}

bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    platform::PortLibrary& library = platform::portLibrary();
    const platform::FileHandle handle = library.OpenPrinterUSBPort(iUSBPrinter + 1);
    if (handle == platform::kInvalidFileHandle) {
        return false;
    }
    const auto length = static_cast<std::int32_t>(bytes.size());
    const bool written = library.WritePort(handle, bytes.data(), length, kWriteTimeOut) == length;
    library.CloseUSBPort(handle);
    return written;
}

bool ReadUSBPrinterReply(std::int32_t iUSBPrinter, const std::wstring& strCommandHex, platform::Bytes& reply) {
    reply.clear();
    std::array<std::uint8_t, kReplyBufferSize> buffer{};
    std::int32_t readLength = kReplyBufferSize;
    bool handedOver = false;
    TSchemeOptions2& model = *g_SchemeOptions;
    const bool result = model.DoWriteAndReadPrinter(
        iUSBPrinter, strCommandHex, buffer.data(), kReplyBufferSize - 1, readLength, true, false,
        static_cast<std::int32_t>(model.m_Sections.WriteReadDelay), true, &handedOver);
    if (handedOver) {
        reply.assign(buffer.begin(), buffer.begin() + std::clamp(readLength, 0, kReplyBufferSize));
    }
    return result;
}

// The reply handed over by the exchange:
//   offset  size  content
//   0       3     frame head 1B 1D 1E (the exchange hands the reply over from its first one)
//   3       ...   the dialog's own reply; the decoder reads its value at fixed offsets from 0
bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter,
                                 const std::wstring& strCommandHex,
                                 const ReplyDecoder& decode,
                                 std::int32_t& iPrinterItemValue) {
    platform::Bytes reply;
    if (!ReadUSBPrinterReply(iUSBPrinter, strCommandHex, reply)) {
        return false;
    }
    if (reply.size() < kFrameHead.size() || !std::equal(kFrameHead.begin(), kFrameHead.end(), reply.begin())) {
        return false;
    }
    const std::optional<std::int32_t> value = decode(reply.data(), static_cast<std::int32_t>(reply.size()));
    if (!value) {
        return false;
    }
    iPrinterItemValue = *value;
    return true;
}

bool GetCurrentItemValueFromPrinterI(const TDialogReadRow& row) {
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (!IsUsbPortName(portName)) {
        return false;
    }
    if (!bOnline) {
        ShowBox(g_GlobalString.PrinterNotFound, g_strPrinterName, platform::MsgIcon::Warning);
        return false;
    }
    if (IsPortBlocked(portName)) {
        if (g_byStartPage == pgSingleItem) {
            platform::forms::application().Terminate();
        } else if (row.dialog) {
            row.dialog->Close();
        }
        return false;
    }
    const std::int32_t index = GetUSBPrinterIndex(portName);
    if (index < 0) {
        const std::wstring notOnPort = platform::Format(g_GlobalString.PrinterNotFoundOnPort, {portName});
        if (!row.unlistedFallback) {
            ShowBox(notOnPort, g_GlobalString.ErrorTitle, platform::MsgIcon::Error);
            return false;
        }
        // The spooler may name the port differently from the library; the printer is most likely the one
        // plugged in last.
        const std::int32_t last = platform::portLibrary().USBPrintRefresh() - 1;
        if (row.read(last, *row.value)) {
            row.show(*row.value);
            return true;
        }
        row.show(row.unlistedFallback());
        ShowBox(notOnPort, g_GlobalString.ErrorTitle, platform::MsgIcon::Error);
        return false;
    }
    if (row.read(index, *row.value)) {
        row.show(*row.value);
        return true;
    }
    if (!g_SchemeOptions->m_Sections.AffirmReadDisable) {
        ShowBox(g_GlobalString.PrinterStatusError, g_GlobalString.ErrorTitle, platform::MsgIcon::Warning);
    }
    return false;
}

bool ReadWithWaitingWindow(const std::function<bool()>& read, int passes) {
    auto waiting = platform::forms::MakeForm<TfrmWaiting>();
    waiting->Show();
    const bool result = read();
    if (result) {
        for (int pass = 0; pass < passes; ++pass) {
            platform::clock().Sleep(0);
            platform::forms::application().ProcessMessages();
            platform::clock().Sleep(10);
        }
    }
    waiting->Hide();
    return result;
}

void SendSettingJob(const platform::Bytes& bytes) {
    if (SendRawPrintJob(g_strPrinterName, bytes, kSettingJobName)) {
        ShowBox(g_GlobalString.SetPrinterCantAffirm, g_GlobalString.HintTitle, platform::MsgIcon::Information);
    } else {
        ShowBox(g_GlobalString.SetPrinterFailRetry, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    }
}

void RunDialogCommand(const std::wstring& strHexText, const TDialogCommand& command) {
    const platform::Bytes bytes = HexTextToBytes(strHexText);
    if (g_byPage == pgBase) {
        if (WriteToPortFile(bytes.data(), static_cast<std::int32_t>(bytes.size()), g_strLocalPortFile)) {
            ShowBox(command.portModeSuccess.value_or(g_GlobalString.SetPrinterSuccessI), g_GlobalString.HintTitle,
                    platform::MsgIcon::Information);
        } else {
            ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        }
        return;
    }
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (!bOnline && command.checkOnline) {
        ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    if (command.confirm && !command.confirm()) {
        return;
    }
    const std::int32_t index = IsUsbPortName(portName) ? GetUSBPrinterIndex(portName) : -1;
    if (index >= 0) {
        command.onUsb(bytes, index);
    } else if (command.onOtherPort) {
        command.onOtherPort(bytes);
    } else {
        SendSettingJob(bytes);
    }
}

std::optional<std::wstring> FormatItemSetCommand(const std::wstring& setInstruction,
                                                 std::uint32_t width,
                                                 std::int32_t value) {
    const std::optional<std::wstring> valueBytes = ValueToHex(value, width);
    if (!valueBytes) {
        return std::nullopt;
    }
    const std::wstring command = platform::Trim(setInstruction);
    return valueBytes->empty() ? command : command + L" " + *valueBytes;
}

std::wstring SettingsWriteSequence(const TTagSections& sections, const std::vector<std::wstring>& itemCommands) {
    std::wstring text = sections.EnterInstruction;
    for (const std::wstring& command : itemCommands) {
        text += L" " + command + L" " + sections.InstructionTail;
    }
    return text + L" " + sections.SaveInstruction;
}

}  // namespace dialogs
