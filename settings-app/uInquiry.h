#pragma once
// The inquiry dialog of an ink printer: the pages printed and the ink left, the latter as one of five level
// pictures, corrected by the deep cleans counted in the ink state file. Both are read when the dialog shows
// and again at each click on their picture button. Its texts come from the model's item of g_byPage and
// g_iItem.

#include <cstdint>
#include <optional>
#include <string>

#include "DialogMethods.h"
#include "platform/forms/forms.h"

class TInquiry : public platform::forms::Form {
public:
    TInquiry();

    platform::forms::Panel* pnlTop = nullptr;
    platform::forms::Label* lblPageTitle = nullptr;
    platform::forms::BitBtn* btnPage = nullptr;
    platform::forms::Label* lblPageInfo = nullptr;
    platform::forms::Label* lblPage = nullptr;
    platform::forms::Label* lblInkTitle = nullptr;
    platform::forms::BitBtn* btnInk = nullptr;
    platform::forms::Label* lblInk = nullptr;
    platform::forms::Label* lblInkQuantity = nullptr;
    platform::forms::Panel* pnlInfo = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Label* lblWeb = nullptr;
    platform::forms::Panel* pnlBottom = nullptr;
    platform::forms::Button* btnClose = nullptr;

    // The last value either button read.
    std::int32_t m_iPrinterItemValue = 0;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void btnPageClick();
    void btnInkClick();
    void lblWebClick();
    void btnCloseClick();

    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);
    bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue);

private:
    // What both buttons do for the counter g_iInquiryType names.
    void InquiryClick(std::int32_t iInquiryType);
    // What the button of that counter shows of m_iPrinterItemValue.
    void ShowInquiryValue(std::int32_t iInquiryType);
};

// The counter GetItemValueFromUSBPrinterI reads next: 1 pages printed, 2 ink left (3 and 4 are counters no
// button reads).
extern std::int32_t g_iInquiryType;
// The dialog a start with page code 1 makes hidden, for the item dialog to use.
extern TInquiry* Inquiry;

// The read command of an inquiry counter; nullopt for a type that names none.
std::optional<std::wstring> InquiryReadCommand(std::int32_t iInquiryType);
// An inquiry reply, from its frame head: the ink level (type 2) is byte 6, 0 to 255; the other counters are
// bytes 6 to 9, low first, held as a signed 32-bit number (2^31 and above come out negative). nullopt for a
// reply too short to hold the value, or a type that names no counter.
std::optional<std::int32_t> DecodeInquiryReply(std::int32_t iInquiryType,
                                               const std::uint8_t* data,
                                               std::int32_t length);

// The picture and the text of an ink level L (percent, already corrected): "Ink_no" up to 10, "Ink_few" up to
// 39, "Ink_half" up to 59, "Ink_ample" up to 89, "Ink_full" up to 100, each with L and "%"; below 0 or above
// 100 "Ink_no" and "ERROR".
struct TInkBand {
    const wchar_t* picture;
    std::wstring text;
};
TInkBand InkBand(std::int32_t level);
