#pragma once
// The black-mark dialog: black-mark sensing on or off, the black-mark mode, the page-length lock on or off,
// the print start offset and the distance from the black mark to the tear-off position. It reads the three
// switches when it shows and sends each button's fixed command sequence at once. Its texts are fixed Chinese
// ones, not the localisation table's. Freeing it ends the program: it is the last thing a run shows.
//
// Whoever starts it makes it: a start with page code 1 with application().CreateForm into BMset, hidden; the
// main window's "OTH Set" start with ShowBlackMarkDialog.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "DialogMethods.h"
#include "platform/forms/forms.h"

class TBMset : public platform::forms::Form {
public:
    TBMset();

    platform::forms::Label* lbltitle1 = nullptr;
    platform::forms::Panel* pnlBMset = nullptr;
    platform::forms::Label* lblBMset = nullptr;
    platform::forms::Label* lblnBMset = nullptr;
    platform::forms::Button* btnON = nullptr;
    platform::forms::Button* btnOff = nullptr;
    platform::forms::GroupBox* grpInfo1 = nullptr;
    platform::forms::Label* lblInfo1 = nullptr;
    platform::forms::Panel* pnlBMMode = nullptr;
    platform::forms::Label* lblBMmode = nullptr;
    platform::forms::Label* lblnBMmode = nullptr;
    platform::forms::Button* btnMode0 = nullptr;
    platform::forms::Button* btnMode1 = nullptr;
    platform::forms::GroupBox* grpInfo2 = nullptr;
    platform::forms::Label* lblInfo2 = nullptr;
    platform::forms::Label* lbltitle2 = nullptr;
    platform::forms::Panel* pnlBMlock = nullptr;
    platform::forms::Label* lblBMlock = nullptr;
    platform::forms::Label* lblnLock = nullptr;
    platform::forms::Button* btnON2 = nullptr;
    platform::forms::Button* btnOFF2 = nullptr;
    platform::forms::GroupBox* grpInfo3 = nullptr;
    platform::forms::Label* lblInfo3 = nullptr;
    platform::forms::Panel* pnlBMhead = nullptr;
    platform::forms::Label* lblBMhesd = nullptr;
    platform::forms::Edit* edtBMhead = nullptr;
    platform::forms::Label* lbl1 = nullptr;
    platform::forms::Button* btnBMhead = nullptr;
    platform::forms::Panel* pnllock = nullptr;
    platform::forms::Label* lblLock = nullptr;
    platform::forms::Edit* edtLock = nullptr;
    platform::forms::Label* lbl2 = nullptr;
    platform::forms::Button* btnLock = nullptr;
    platform::forms::Button* btnOK = nullptr;
    platform::forms::Button* btnCancel = nullptr;

    // The three switches as the printer answered them: 100 x sensing + 10 x mode + lock.
    std::int32_t m_iPrinterItemValue = 0;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void btnONClick();
    void btnOffClick();
    void btnMode0Click();
    void btnMode1Click();
    void btnON2Click();
    void btnOFF2Click();
    void btnBMheadClick();
    void btnLockClick();
    void btnOKClick();
    void btnCancelClick();

    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);
    bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue);
    bool GetCurrentItemValueFromPrinterI();

private:
    // Shows the switches of a value read from the printer in the three state labels.
    void ShowSwitches(std::int32_t value);
    // The six buttons that only mean something while black-mark sensing is on.
    void EnableSensingButtons(bool enabled);
    // The road of one button's command; after a USB write went through, changed runs once its box is closed.
    void SendCommand(const std::wstring& strHexText, const std::function<void()>& changed);
    // The number in an edit field, or the error report for a text that is not one.
    static double FieldNumber(const platform::forms::Edit& field);
};

// The three switches of a black-mark read's reply (handed over from its frame head, `length` bytes long) as
// 100 x byte 8 + 10 x byte 11 + byte 14; nullopt for a reply too short to hold byte 14.
std::optional<std::int32_t> DecodeBlackMarkReply(const std::uint8_t* data, std::int32_t length);

// The main window's "OTH Set" start: makes the dialog, shows it modally and frees it, which ends the program.
void ShowBlackMarkDialog();

// The dialog a start with page code 1 makes (hidden) with the other dialogs; null otherwise.
extern TBMset* BMset;
