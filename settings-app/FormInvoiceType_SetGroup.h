#pragma once
// The invoice-type group dialog: the paper geometry of booklet and card forms in one step (top-of-form
// distance, height of the opened booklet page, typed or measured by the printer, left margin, copy strength).
// Its four fields and their codes are its own, not the menu's; it talks to the printer in raw command frames
// through the model. Whoever shows it lays it out for the chosen option first (LayOutInvoiceType) and sets
// its caption; it reads the printer each time it shows.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/forms.h"
#include "uWaiting.h"

class TfrmInvoiceType_SetGruop : public platform::forms::Form {
public:
    TfrmInvoiceType_SetGruop();
    ~TfrmInvoiceType_SetGruop() override;

    platform::forms::Panel* pnl1 = nullptr;
    platform::forms::Panel* pnlItem1 = nullptr;
    platform::forms::Label* lblName1 = nullptr;
    platform::forms::ListBox* lst1 = nullptr;
    platform::forms::Panel* pnlItem2 = nullptr;
    platform::forms::Label* lblName2 = nullptr;
    platform::forms::MaskEdit* medt1 = nullptr;
    platform::forms::Label* lbl1 = nullptr;
    platform::forms::Button* btnDetect = nullptr;
    platform::forms::Panel* pnlItem3 = nullptr;
    platform::forms::Label* lblName3 = nullptr;
    platform::forms::ListBox* lst3 = nullptr;
    platform::forms::Panel* pnlItem4 = nullptr;
    platform::forms::Label* lblName4 = nullptr;
    platform::forms::ListBox* lst4 = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Panel* pnlBottom = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnCancel = nullptr;
    platform::forms::Button* btnRead = nullptr;

    // The waiting window while a measurement runs; empty otherwise.
    platform::forms::FormPtr<TfrmWaiting> waitDlg1;

    void FormCreate();
    void FormShow();
    void btnReadClick();
    void btnDetectClick();
    void btnSetClick();
    void btnCancelClick();
    void medt1KeyPress(platform::forms::Component& sender, wchar_t& key);
};

// What the item dialog does before each show, by the option the user chose: 3 hides the booklet panel and
// closes the gap, 4 shows it; any other option keeps the layout of the show before.
void LayOutInvoiceType(TfrmInvoiceType_SetGruop& dialog, std::int32_t iOption);

// The fields of an invoice-type read's reply, each present only when the reply reaches its bytes.
struct TInvoiceTypeValues {
    std::optional<std::int32_t> topOfForm;  // sixtieths of an inch
    std::optional<std::uint8_t> leftMargin;
    std::optional<std::uint8_t> copyStrength;
    std::optional<std::int16_t> bookletHeight;  // sixtieths of an inch; asked only with the booklet panel shown
};

// Decodes a reply handed over from its first byte, length bytes long; a reply shorter than 12 bytes, or one that
// does not open with the value reply's head 1B 1D 1E 05 03, gives nothing at all.
TInvoiceTypeValues DecodeInvoiceTypeReply(const std::uint8_t* data, std::int32_t length, bool withHeight);

// The dialog a start with page code 1 makes once (CreateGroupDialogs) and keeps; null otherwise and once it
// has been freed.
extern TfrmInvoiceType_SetGruop* frmInvoiceType_SetGruop;
