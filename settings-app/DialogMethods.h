#pragma once
// What the setting dialogs (item, generic, alignment, inquiry, drying, black-mark) share for talking to the
// printer: one direct USB write, the read of a value through the model's exchange, the guarded read of the
// current value with its message boxes, that read under the waiting window, and the road of a command that
// sends bytes (port mode, spooler, USB). Each dialog describes what differs for it in a small row
// (TDialogReadRow, TDialogCommand) and keeps its own method names as thin members over these.
// User-interface thread only; the reads pump window messages while the model's worker runs.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PubLib/USBPrinterPort.h"
#include "Scheme.h"
#include "platform/forms/form.h"
#include "platform/message_box.h"
#include "platform/types.h"

namespace dialogs {

// The document name of every raw spooler job that carries settings.
inline constexpr wchar_t kSettingJobName[] = L"Printer setting job";

// The value in a dialog's read reply, which starts at its frame head and is `length` bytes long; nullopt when
// the reply is too short to hold it.
using ReplyDecoder = std::function<std::optional<std::int32_t>(const std::uint8_t* data, std::int32_t length)>;

// A port name the spooler gives a USB printer: it holds "USB" (upper case) anywhere.
bool IsUsbPortName(const std::wstring& portName);

// Writes bytes to the USB printer at that index through the port library (port number index + 1, 2000 ms) and
// reads no reply. True when every byte was written; the port is closed again whatever the write gave.
bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);

// Sends the read command (hex command text) to the USB printer at that index through the model's exchange
// (reply buffer of 1024 bytes, no drain first, the model's WriteReadDelay as the extra time-out) and hands
// the reply over from its first frame head into reply, which stays empty when nothing was handed over. The
// exchange's result.
bool ReadUSBPrinterReply(std::int32_t iUSBPrinter, const std::wstring& strCommandHex, platform::Bytes& reply);

// ReadUSBPrinterReply and the decoder. True, with iPrinterItemValue set, only when the exchange handed over a reply
// that starts with the frame head and the decoder found its value.
bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter,
                                 const std::wstring& strCommandHex,
                                 const ReplyDecoder& decode,
                                 std::int32_t& iPrinterItemValue);

// What one dialog's guarded read of the current value does with its own parts.
struct TDialogReadRow {
    // Closed when the printer's port is blocked (outside a start with page code 1).
    platform::forms::Form* dialog = nullptr;
    // The dialog's m_iPrinterItemValue.
    std::int32_t* value = nullptr;
    // The dialog's read from the USB printer at an index.
    std::function<bool(std::int32_t iUSBPrinter, std::int32_t& value)> read;
    // Shows a value in the dialog.
    std::function<void(std::int32_t value)> show;
    // Set by a dialog that reads a port missing from the port library's list on the library's last printer:
    // the value it shows when that read fails too. Unset: such a port ends the read with its error box.
    std::function<std::int32_t()> unlistedFallback;
};

// The guarded read of the current value of the printer g_strPrinterName: silent False on a port that is not
// USB (port mode too), boxes for an offline printer, an unlisted port and a failed read (none while the model's
// AffirmReadDisable is set). True when a value was read and shown.
bool GetCurrentItemValueFromPrinterI(const TDialogReadRow& row);

// Passes of the wait that keeps the waiting window up after a good read, unless a dialog says otherwise.
inline constexpr int kWaitingWindowPasses = 51;

// Runs read under the waiting window; after a successful read the window stays a little longer (`passes`
// passes of a 10 ms sleep with message handling) so that it does not merely flash. The read's result.
bool ReadWithWaitingWindow(const std::function<bool()>& read, int passes = kWaitingWindowPasses);

// What one dialog command does on the road's last steps.
struct TDialogCommand {
    // Asked once the printer is known to be online, before anything is sent; false sends nothing. Unset: go on.
    std::function<bool()> confirm;
    // The bytes for the USB printer at that index (the dialog writes them with DoWriteUSBPrinter and does what
    // its own command does around the write).
    std::function<void(const platform::Bytes& bytes, std::int32_t iUSBPrinter)> onUsb;
    // The bytes for an online printer on any other port. Unset: SendSettingJob.
    std::function<void(const platform::Bytes& bytes)> onOtherPort;
    // The box of a good port-mode write. Unset: SetPrinterSuccessI.
    std::optional<std::wstring> portModeSuccess;
    // False: the USB road goes on for an offline printer too.
    bool checkOnline = true;
};

// The road of a dialog command: hex text to bytes; in port mode (g_byPage 100) straight to g_strLocalPortFile
// with its success or failure box; else an offline printer gets PrinterNotFound; else the USB port or the other
// port as the command says.
void RunDialogCommand(const std::wstring& strHexText, const TDialogCommand& command);

// The bytes as a raw spooler job for g_strPrinterName, with the box that says it cannot be confirmed or that
// it failed.
void SendSettingJob(const platform::Bytes& bytes);

// One item's command text: its set instruction without surrounding blanks followed by the value bytes of its
// width (1: one byte, two's complement; 2: two bytes low first, sign and magnitude with bit 15 the minus sign;
// 3: a mask of 24 bits, high byte first; any other width: no value bytes). nullopt for a value that does not
// fit its width (width 1 outside -256 to 255, width 2 beyond 15 bits of magnitude, width 3 beyond 24 bits):
// such a value is never sent.
std::optional<std::wstring> FormatItemSetCommand(const std::wstring& setInstruction,
                                                 std::uint32_t width,
                                                 std::int32_t value);

// The settings write sequence: the enter instruction, each item's command text followed by the instruction
// tail, then the save instruction, joined by single blanks.
std::wstring SettingsWriteSequence(const TTagSections& sections, const std::vector<std::wstring>& itemCommands);

// GetPrinterPort for g_strPrinterName, keeping the port name in g_strLocalPortFile (an unknown printer leaves
// it as it was); an offline or unknown printer gets PrinterNotFound. True when the printer is online.
bool KeepPortAndCheckOnline();

// Replaces usbPort by a freshly listed one and asks it for the status byte of the printer on that port. True
// when the printer says it is busy (0x1F), after the box WaitingForPrinterWork; a port without a status (not
// a listed USB printer) is not busy.
bool PrinterBusy(std::unique_ptr<TUSBPrinterPort>& usbPort, const std::wstring& portName);

// Controls that a set disables while it writes and reads back (messages are handled meanwhile), enabled again
// however the set ends, an exception included.
class DisabledWhileSetting {
public:
    explicit DisabledWhileSetting(std::initializer_list<platform::forms::Control*> controls);
    ~DisabledWhileSetting();
    DisabledWhileSetting(const DisabledWhileSetting&) = delete;
    DisabledWhileSetting& operator=(const DisabledWhileSetting&) = delete;

private:
    std::vector<platform::forms::Control*> controls_;
};

// A message box with the localised text and caption of the program (the caption is given as text).
void ShowBox(const std::wstring& text, const std::wstring& caption, platform::MsgIcon icon);

}  // namespace dialogs
