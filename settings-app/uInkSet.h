#pragma once
// The ink alignment dialog: for one of three print resolutions it prints the printer's alignment pattern,
// reads the alignment the printer holds and sets a new one, -10 to +10 steps on a track bar. Its item is the
// model's item of g_byPage and g_iItem (texts, set instruction, rule values), so whoever opens it sets those
// first.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "DialogMethods.h"
#include "PubLib/USBPrinterPort.h"
#include "platform/forms/forms.h"

class TfrmInkSet : public platform::forms::Form {
public:
    TfrmInkSet();

    platform::forms::Panel* pnlTop = nullptr;
    platform::forms::Panel* pnlType = nullptr;
    platform::forms::Label* lbl1 = nullptr;
    platform::forms::TrackBar* trckbrAdjust = nullptr;
    platform::forms::Label* lblAdjust = nullptr;
    platform::forms::Panel* pnlSelect = nullptr;
    platform::forms::CheckBox* chkDraft = nullptr;
    platform::forms::CheckBox* chkNormal = nullptr;
    platform::forms::CheckBox* chkQuality = nullptr;
    platform::forms::Panel* pnlInfo = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Panel* pnlBottom = nullptr;
    platform::forms::Button* btnPrn = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnClose = nullptr;
    platform::forms::Button* btnDefault = nullptr;

    std::int32_t m_iPrinterItemValue = 0;
    std::unique_ptr<TUSBPrinterPort> m_USBPort;

    // The track bar's position for a value of 0.
    static constexpr int kZeroPosition = 10;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void chkDraftClick();
    void chkNormalClick();
    void chkQualityClick();
    void trckbrAdjustChange();
    void btnPrnClick();
    void btnSetClick();
    void btnDefaultClick();
    void btnCloseClick();

    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);
    bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue);
    bool GetCurrentItemValueFromPrinterI();

private:
    // A check box became the chosen resolution: the others are unchecked and the mode follows.
    void ChooseMode(platform::forms::CheckBox* chosen, std::int32_t mode);
    void ReadForMode();
    void SetOnUsb(const platform::Bytes& bytes, std::int32_t index);
};

// The resolution in use: 1 300 dpi (draft), 2 600 dpi (normal), 3 1200 dpi (quality). 2 at every show.
extern std::int32_t g_iAdjustMode;
// The dialog a start with page code 1 makes hidden, for the item dialog to use.
extern TfrmInkSet* frmInkSet;

// Puts the process-wide values of the three ink dialogs (alignment, inquiry, drying) back as they are at program
// start. The program never calls it; it lets one process run many starts.
void ResetInkDialogGlobals();

// The resolution code (00 300 dpi, 01 600 dpi, 02 1200 dpi) of the print and read commands: 600 dpi when the
// item is "Ink_Adjust600" or the mode is 2, else 1200 dpi for "Ink_Adjust1200" or mode 3, else 300 dpi for
// "Ink_Adjust300" or mode 1; nullopt when none of these holds.
std::optional<std::wstring> AlignmentResolutionCode(const std::wstring& itemName, std::int32_t iAdjustMode);
// The alignment read's reply, from its frame head: the value is byte 7, 192 to 255 standing for that number
// minus 256. nullopt for a reply too short to hold it.
std::optional<std::int32_t> DecodeAlignmentReply(const std::uint8_t* data, std::int32_t length);
