// Reading the printer's current values, one item or a whole page per exchange, and the values file through
// which the base page's values reach the driver's plug-in.
//
// Value reply (offsets from where ReturnPrefix stands, whatever its length):
//   offset  size      content
//   0       5         reply head, equal to ReturnPrefix (default 1B 1D 1E 05 03)
//   5       1         number of entries minus 1
//   6       variable  entries in the order asked (ValueEncoding.h): code, value type byte, 1 to 3 value bytes

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "Scheme.h"
#include "TraceLog.h"
#include "UtilPrinter.h"
#include "ValueEncoding.h"
#include "ValueReadCommand.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace {

constexpr std::size_t kItemReplySize = 1024;
constexpr std::int32_t kEntryCountOffset = 5;
constexpr std::int32_t kFirstEntryOffset = 6;

// Where the reply starts within the count bytes handed over: -1 when ReturnPrefix stands nowhere.
std::int32_t FindReplyHead(const platform::Bytes& prefix, const std::uint8_t* reply, std::int32_t count) {
    const std::int32_t start =
        FindBytePattern(prefix.data(), reply, static_cast<std::int32_t>(prefix.size()), std::max(count, 0));
    if (start < 0) {
        TraceLog().WarningMessage(L"返回数据中没有找到返回前缀");
    }
    return start;
}

std::wstring LocalDateTimeText() {
    platform::Locale& locale = platform::locale();
    const platform::LocalTime now = platform::clock().Now();
    return platform::FormatDateTime(locale.ShortDateFormat(), now) + L" " +
           platform::FormatDateTime(locale.LongTimeFormat(), now);
}

}  // namespace

std::wstring DisplayTitle(const std::wstring& title) {
    const std::size_t p = platform::Pos(L" (", title);
    return p == 0 ? title : platform::Copy(title, 1, static_cast<std::ptrdiff_t>(p));
}

bool TSchemeOptions2::GetItemValueFromUSBPrinter(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue) {
    const TSettingItem item = GetItem(g_byPage, g_iItem);
    std::array<std::uint8_t, kItemReplySize> buffer{};
    auto readLength = static_cast<std::int32_t>(buffer.size());
    if (!DoWriteAndReadPrinter(iUSBPrinter, ItemValueReadCommand(m_Sections, item), buffer.data(),
                               static_cast<std::int32_t>(buffer.size()) - 1, readLength, true, false,
                               static_cast<std::int32_t>(m_Sections.WriteReadDelay), true)) {
        return false;
    }
    const std::int32_t count = std::clamp(readLength, 0, static_cast<std::int32_t>(buffer.size()));
    const std::int32_t s = FindReplyHead(m_Sections.ReturnPrefix, buffer.data(), count);
    if (s < 0) {
        return false;
    }

    // The count byte and the entry's item code are not checked: the reply answers the one item asked for.
    const std::int32_t entryAt = s + kFirstEntryOffset;
    if (count < entryAt + 2) {
        TraceLog().WarningMessage(L"返回数据不完整");
        return false;
    }
    const std::uint8_t type = buffer[static_cast<std::size_t>(entryAt) + 1];
    if (type < ptByte || type > ptMask) {
        return true;  // a value of unknown width: nothing to show, but the printer did answer
    }
    const auto entry =
        DecodeReplyEntry(buffer.data() + entryAt, static_cast<std::size_t>(count - entryAt), item.nParameterByte);
    if (!entry) {
        TraceLog().WarningMessage(L"返回数据不完整");
        return false;
    }
    iPrinterItemValue = entry->value;
    return true;
}

bool TSchemeOptions2::GetPrinterValues_ForPage(std::int32_t iUSBPrinter, std::uint8_t byPage) {
    static const ArrSettingItems kNoItems;
    const ArrSettingItems* items = ItemsOfPage(byPage);
    const std::wstring command = PageValueReadCommand(m_Sections, items ? *items : kNoItems);

    std::array<std::uint8_t, kPageReplySize> buffer{};
    auto readLength = static_cast<std::int32_t>(buffer.size());
    if (!DoWriteAndReadPrinter(iUSBPrinter, command, buffer.data(), static_cast<std::int32_t>(buffer.size()) - 1,
                               readLength, true, false, static_cast<std::int32_t>(m_Sections.WriteReadDelay), true)) {
        return false;
    }
    const std::int32_t count = std::clamp(readLength, 0, static_cast<std::int32_t>(buffer.size()));
    const std::int32_t s = FindReplyHead(m_Sections.ReturnPrefix, buffer.data(), count);
    if (s < 0) {
        return false;
    }
    std::array<std::uint8_t, kPageReplySize> work{};
    std::copy(buffer.begin() + s, buffer.begin() + count, work.begin());
    SetAllCurrentValues_ForPage(work, count - s, byPage);
    return true;
}

bool TSchemeOptions2::GetPrinterValuesAfresh_ForPage(std::int32_t iUSBPrinter, std::uint8_t byPage) {
    // A reply too short to name any item changes no value, and the values held so far may be the menu's
    // defaults, which the printer never reported: a caller that shows the page must not show them as its.
    ArrSettingItems* items = ItemsOfPage(byPage);
    std::vector<std::int32_t> held;
    if (items) {
        for (TSettingItem& item : *items) {
            held.push_back(item.ValueCurrent);
            item.ValueCurrent = kNoPrinterValue;
        }
    }
    if (GetPrinterValues_ForPage(iUSBPrinter, byPage)) {
        return true;
    }
    if (items) {
        for (std::size_t i = 0; i < held.size() && i < items->size(); ++i) {
            (*items)[i].ValueCurrent = held[i];
        }
    }
    return false;
}

void TSchemeOptions2::SetAllCurrentValues_ForPage(const std::array<std::uint8_t, kPageReplySize>& data,
                                                  std::int32_t nLength,
                                                  std::uint8_t byPage) {
    if (nLength <= kFirstEntryOffset) {
        return;
    }
    const auto length = static_cast<std::size_t>(std::min<std::int32_t>(nLength, kPageReplySize));
    ArrSettingItems* items = ItemsOfPage(byPage);
    const std::size_t itemCount = items ? items->size() : 0;

    // Decoding stops short of the last five bytes, so an entry never starts where its value bytes could run
    // past the work area.
    const std::size_t last = data[kEntryCountOffset];
    std::size_t position = kFirstEntryOffset;
    std::vector<std::pair<std::wstring, std::int32_t>> values;
    for (std::size_t e = 0; e <= last; ++e) {
        // Entries come in the order asked, so entry e belongs to item e.
        const std::uint32_t width = e < itemCount ? (*items)[e].nParameterByte : 0;
        const auto entry = DecodeReplyEntry(data.data() + position, data.size() - position, width);
        if (!entry) {
            // An unknown value type has no known length: the entries after it cannot be located.
            TraceLog().WarningMessage(L"返回数据的参数类型无效");
            break;
        }
        values.emplace_back(platform::IntToHex(entry->code, 2), entry->value);
        TraceLog().TaggedMessageFmt(L"0x%.2X = %d", {std::int64_t{entry->code}, std::int64_t{entry->value}},
                                    L"参数分解");
        position += entry->size;
        if (position + 5 >= length) {
            break;
        }
    }

    for (std::size_t i = 0; i < itemCount; ++i) {
        TSettingItem& item = (*items)[i];
        const auto found = std::find_if(values.begin(), values.end(), [&](const auto& value) {
            return platform::SameText(value.first, item.GetInstruction);
        });
        item.ValueCurrent = found == values.end() ? kNoPrinterValue : found->second;
    }
}

void TSchemeOptions2::CreatePrinterValuesIni_ForPage(std::uint8_t byPage) {
    platform::FileSystem& files = platform::files();
    if (files.FileExists(g_strPrinterPath)) {
        files.DeleteFile(g_strPrinterPath);
    }
    std::wstring portName;
    bool bOnline = false;
    if (!GetPrinterPort(g_strPrinterName, portName, bOnline) || !bOnline ||
        portName.find(L"USB") == std::wstring::npos) {
        return;
    }
    if (!GetPrinterValuesAfresh_ForPage(GetUSBPrinterIndex(portName), byPage)) {
        return;
    }

    std::wstring text = L"[CurrentValues]\r\nTime = " + LocalDateTimeText() + L"\r\n";
    const std::int32_t count = GetItemLength(byPage);
    for (std::int32_t i = 0; i < count; ++i) {
        const TSettingItem item = GetItem(byPage, i);
        text += platform::IntToStr(i) + L" = ";
        if (item.ValueCurrent != kNoPrinterValue) {
            text += g_GlobalString.CurrentValue + DisplayTitle(GetTitleFromValue(byPage, i, item.ValueCurrent));
        }
        text += L"\r\n";
    }
    const std::string bytes = platform::codePage().ToSystem(text);
    files.WriteWholeFile(g_strPrinterPath, platform::Bytes(bytes.begin(), bytes.end()));
    TraceLog().MessageFmt(L"写入当前值文件：%s", {g_strPrinterPath});
}
