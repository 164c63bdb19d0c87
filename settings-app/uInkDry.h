#pragma once
// The ink drying dialog: the time an ink printer waits after each page for the ink to dry, one of five steps
// from 0 s to 2 s on a track bar, read from the printer when the dialog shows and sent alone by Set. Its texts
// come from the model's item of g_byPage and g_iItem.

#include <cstdint>
#include <memory>
#include <optional>

#include "DialogMethods.h"
#include "PubLib/USBPrinterPort.h"
#include "platform/forms/forms.h"

class TInkDry : public platform::forms::Form {
public:
    TInkDry();

    platform::forms::Panel* pnlDry = nullptr;
    platform::forms::GroupBox* grpInfo = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Label* lblTitle = nullptr;
    platform::forms::TrackBar* trckbrTime = nullptr;
    platform::forms::Label* lblTime = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnReturn = nullptr;

    // The last value read, as a track bar position.
    std::int32_t m_iPrinterItemValue = 0;
    std::unique_ptr<TUSBPrinterPort> m_USBPort;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void trckbrTimeChange();
    void btnSetClick();
    void btnReturnClick();

    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);
    bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue);
    bool GetCurrentItemValueFromPrinterI();
};

// The dialog a start with page code 1 makes hidden, for the item dialog to use.
extern TInkDry* InkDry;

// The drying read's reply, from its frame head: bytes 5 and 6, low first, a time in steps of 10 ms; the
// track bar position is that divided by 50. nullopt for a reply too short to hold it.
std::optional<std::int32_t> DecodeDryingReply(const std::uint8_t* data, std::int32_t length);
// The set frame for a track bar position: the value position x 50 in two bytes, low first.
std::wstring DryingSetCommand(std::int32_t position);
