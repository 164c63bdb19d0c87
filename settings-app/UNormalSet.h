#pragma once
// The dialog of a generic item ("NormalSet"): the item's set instruction is a whole printer command. Set sends
// it; on a USB printer it sends it again, reads the reply and shows the chosen reply bytes in hex, appended to
// what an earlier Set of this showing showed. Its item is the model's item of g_byPage and g_iItem, whose
// first two rule titles are the offset of the first byte to show and the number of bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "DialogMethods.h"
#include "platform/forms/forms.h"

class TNormalSet : public platform::forms::Form {
public:
    TNormalSet();

    platform::forms::Panel* pnlTop = nullptr;
    platform::forms::GroupBox* grpInfo = nullptr;
    platform::forms::Label* lblInfo = nullptr;
    platform::forms::Label* lblReturnInfo = nullptr;
    platform::forms::Label* lblReturn = nullptr;
    platform::forms::Panel* pnlBot = nullptr;
    platform::forms::Button* btnSet = nullptr;
    platform::forms::Button* btnCancel = nullptr;

    // The reply bytes shown so far: two upper-case hex digits and a blank per byte.
    std::wstring m_iPrinterItemValue;

    void FormCreate();
    void btnSetClick();
    void btnCancelClick();
    bool DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter);
    bool GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::wstring& strValue);

private:
    void SetOnUsb(const platform::Bytes& bytes, std::int32_t index);
};

// The bytes of a reply (data[0] is its frame head's first byte, length bytes received) from offset on, count
// of them, as two upper-case hex digits and a blank each; only the positions inside the reply are shown, so a
// negative offset or count, or a range past the end, shows its part inside the reply or nothing.
std::wstring NormalSetReplyText(const std::uint8_t* data, std::int32_t length, std::int64_t offset, std::int64_t count);

// The offset and count of a generic item from its rule titles: a missing first title is offset 0, a missing
// second one means up to the end of the reply. A title that is not a decimal number raises platform::Exception
// "'<title>' is not a valid integer value".
struct TNormalSetRange {
    std::int64_t offset = 0;
    std::int64_t count = 0;
};
TNormalSetRange NormalSetRange(const std::vector<std::wstring>& ruleTitles, std::int32_t replyLength);
