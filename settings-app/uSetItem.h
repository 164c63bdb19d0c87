#pragma once
// The dialog of one setting item: its options (a radio group for two or three, a list otherwise, a
// multi-select list for a bit-mask item, an action panel with a picture for a single option), its explanation
// and the value the printer holds; Set writes the chosen option as a settings write sequence, reads it back
// and hands an item that owns a sub-group on to the group dialogs. Its item is always the model's item of
// g_byPage and g_iItem, taken afresh at each use, so whoever opens it sets those first.
//
// The maintenance actions of the action panel (ink set, clean, the change wizard's next and back) share this
// class; their handlers are declared here and filled with the maintenance actions.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "DialogMethods.h"
#include "PubLib/USBPrinterPort.h"
#include "platform/forms/forms.h"

class TfrmSetItem : public platform::forms::Form {
public:
    TfrmSetItem();

    platform::forms::Panel* pnlTop = nullptr;
    platform::forms::Panel* pnlType1 = nullptr;
    platform::forms::RadioGroup* rg1 = nullptr;
    platform::forms::Panel* pnlType2 = nullptr;
    platform::forms::Label* lbl1 = nullptr;
    platform::forms::ListBox* lst2 = nullptr;
    platform::forms::Panel* pnlType3 = nullptr;
    platform::forms::ScrollBox* tsb3 = nullptr;
    platform::forms::Panel* pnlInfo = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Label* lblWeb = nullptr;
    platform::forms::Panel* pnlBottom = nullptr;
    platform::forms::Button* btnBack = nullptr;
    platform::forms::Button* btnInkset = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnNext = nullptr;
    platform::forms::Button* btnCancel = nullptr;
    platform::forms::Button* btnDefault = nullptr;
    platform::forms::Button* btnClean = nullptr;

    // The choice: the mask of the chosen options for a bit-mask item, else the chosen option's index; any
    // negative value means nothing is chosen.
    std::int32_t m_iValueIndex = kNothingChosen;
    // 0 radio group, 1 list, 2 action panel.
    std::int32_t m_iShowMode = 0;
    // Step of the change wizard.
    std::int32_t m_count = 0;
    std::wstring m_Holecheck1541;
    std::wstring m_Holecheck1082;
    std::unique_ptr<TUSBPrinterPort> m_USBPort;
    // Port, USB index and last listed device path of the printer, for the ink actions.
    std::wstring g_strPort;
    std::int32_t g_iPrinter = 0;
    std::wstring g_USBPort;
    // A USB set of this showing went through: closing a page-1 start writes the values file.
    bool m_bHasSetPrinter = false;
    std::int32_t m_iPrinterItemValue = 0;

    static constexpr std::int32_t kNothingChosen = INT32_MIN;

    void FormCreate();
    void FormShow();
    void FormClose(platform::forms::Component& Sender, platform::forms::TCloseAction& Action);
    void FormDestroy();
    void LoadItemOptions();
    bool GetCurrentItemValueFromPrinterI();
    void ShowItemValue(std::int32_t value);
    void rg1Click();
    void lst2Click();
    void lst2MouseEnter();
    void lst2MouseLeave();
    void lst2Enter() {}
    void lst2Exit() {}
    void btnDefaultClick();
    void btnSetClick();
    void btnCancelClick();
    void lblWebClick();
    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);

    // Maintenance actions of the action panel.
    void btnInksetClick();
    void btnCleanClick();
    void btnNextClick();
    void btnBackClick();

private:
    // Maintenance: the common start (false when the printer is busy), the port check, the road of a frame,
    // the wait, the finish message and the actions that take more than one frame.
    bool MaintenanceStart(std::wstring& portName, bool& bOnline);
    bool MaintenancePortListed(const std::wstring& portName, bool bOnline, bool bOnlineChecked);
    void ShowPortNotListed(const std::wstring& portName);
    void RunMaintenance(const std::wstring& frame,
                        dialogs::TDialogCommand command,
                        const std::function<void(std::int32_t index)>& afterUsbWrite);
    void WaitForPrinter(std::uint32_t modelTime);
    void FinishMaintenance(const std::wstring& text);
    void DeepClean();
    void ChangeHeadOrBox(bool bHead);
    void NozzleCheck(const std::wstring& itemName);
    // The change wizard's step: its picture, height and text; m_count becomes step.
    void ShowWizardStep(std::int32_t step);
    void CancelHeadChange();

    // Saves the two nozzle-check print jobs in the program's temporary folder and keeps their paths.
    void WritePrintFiles();
    dialogs::TDialogReadRow ReadRow();
    // The USB road of a set: write, read back, show, hand off.
    void SetOnUsb(const platform::Bytes& bytes, std::int32_t index, std::int32_t k);
    void HandOff(std::int32_t k);
    void ReleaseCtrlHold();

    // A maintenance wait is running: the dialog takes no input and cannot be closed.
    bool m_bWaiting = false;
    // The list synthesised a Ctrl press that it has not released yet.
    bool m_bCtrlHeld = false;
};
