// Each dialog's reply decoding, a function of (bytes, length) reached without a window: the ink alignment,
// drying, inquiry counters, black mark, invoice type and the generic item's reply text and range.
//
//   offset  size  content
//   0       1     inquiry type (as start-up's extra number would give it)
//   1       4     the generic item's rule titles: offset and count, each a signed byte times a byte
//   5       rest  the reply, from its frame head

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FormInvoiceType_SetGroup.h"
#include "UNormalSet.h"
#include "fuzz_support.h"
#include "platform/text.h"
#include "platform/types.h"
#include "uBMset.h"
#include "uInkDry.h"
#include "uInkSet.h"
#include "uInquiry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::size_t kHead = 5;
    if (size < kHead) {
        return 0;
    }
    const std::uint8_t* reply = data + kHead;
    const auto length = static_cast<std::int32_t>(size - kHead);
    DecodeAlignmentReply(reply, length);
    DecodeDryingReply(reply, length);
    DecodeBlackMarkReply(reply, length);
    DecodeInquiryReply(static_cast<std::int8_t>(data[0]), reply, length);
    DecodeInvoiceTypeReply(reply, length, true);
    DecodeInvoiceTypeReply(reply, length, false);

    // The generic item's range comes from its rule titles, which the menu file writes as text.
    const std::vector<std::wstring> titles = {std::to_wstring(static_cast<std::int8_t>(data[1]) * data[2]),
                                              std::to_wstring(static_cast<std::int8_t>(data[3]) * data[4])};
    for (std::size_t n = 0; n <= titles.size(); ++n) {
        const TNormalSetRange range =
            NormalSetRange(std::vector<std::wstring>(titles.begin(), titles.begin() + n), length);
        NormalSetReplyText(reply, length, range.offset, range.count);
    }
    try {
        NormalSetRange({platform::Utf16LeToWide(reply, static_cast<std::size_t>(length))}, length);
    } catch (const platform::Exception&) {
        // a title that is no number is refused with its message
    }
    return 0;
}
