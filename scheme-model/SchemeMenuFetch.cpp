// Fetching the settings menu that a printer keeps in itself: identify the printer by the model query, ask
// for the menu, complete and unpack the menu container, and leave the menu file in the exchange folder.
//
// Model reply, from the place c where the CRC-32 of the challenge stands (least significant byte first):
//   offset  size  content
//   c       4     CRC-32 of the challenge 01..08: C5 88 CA 3F
//   c + 4   2     not interpreted
//   c + 6   1     name length n
//   c + 7   n     model name, 8-bit text in the system code page (at most 32 bytes taken, up to a zero byte)
//
// Menu reply, from the place j where its head stands:
//   offset  size  content
//   j       5     1B 1D 1E 06 03
//   j + 5   4     declared length L, least significant byte first (bytes past the reply read as zeros)
//   j + 9   2     not interpreted
//   j + 11  rest  menu data: when the reply holds L bytes or more, all of it but its last byte; else the L
//                 bytes of one more read
// The menu data hold the menu container (4A 5A 01 00 ...) that UnpackMenuStream turns into the menu file.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "CRC32.h"
#include "MenuUnpack.h"
#include "Scheme.h"
#include "TraceLog.h"
#include "UtilPrinter.h"
#include "WaitingWindowHook.h"
#include "platform/bytes.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace {

constexpr wchar_t kModelQuery[] = L"1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F";
constexpr std::uint8_t kChallenge[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
constexpr wchar_t kMenuRequest[] = L"1B 1D 1E 06 03 1B 1D 1F";
constexpr std::uint8_t kMenuReplyHead[] = {0x1B, 0x1D, 0x1E, 0x06, 0x03};
constexpr std::uint8_t kContainerHead[] = {0x4A, 0x5A, 0x01, 0x00};

constexpr std::int32_t kReplyBufferSize = 32768;
constexpr std::size_t kModelNameSize = 32;
constexpr std::int32_t kNameLengthOffset = 6;
constexpr std::int32_t kNameOffset = 7;
constexpr std::int32_t kDeclaredLengthOffset = 5;
constexpr std::int32_t kMenuDataOffset = 11;
constexpr std::int32_t kLeastMenuReply = 8;
// The printer needs a moment between naming itself and sending its menu.
constexpr std::uint32_t kPauseBeforeMenuRequest = 1500;
constexpr std::int32_t kCompletionReadExtra = 10;

constexpr wchar_t kPrinterInfoSection[] = L"PrinterInfo";

// Shows the waiting window for as long as the fetch runs, whichever way it ends.
class WaitingWindowScope {
public:
    WaitingWindowScope() : hook_(GetWaitingWindowHook()) {
        if (hook_) {
            hook_->ShowWaitingWindow();
        }
    }
    ~WaitingWindowScope() {
        if (hook_) {
            hook_->CloseWaitingWindow();
        }
    }
    WaitingWindowScope(const WaitingWindowScope&) = delete;
    WaitingWindowScope& operator=(const WaitingWindowScope&) = delete;

private:
    TWaitingWindowHook* hook_;
};

using ReplyBuffer = std::vector<std::uint8_t>;

std::int32_t Find(const std::uint8_t* pattern,
                  std::int32_t patternLength,
                  const std::uint8_t* data,
                  std::int32_t dataLength) {
    return FindBytePattern(pattern, data, patternLength, std::max(dataLength, 0));
}

using platform::ReadLe32;

// The name the model reply carries after the CRC at c; only bytes the reply holds are taken.
std::wstring ModelNameAt(const ReplyBuffer& reply, std::int32_t count, std::int32_t c) {
    std::array<char, kModelNameSize> area{};
    if (c + kNameLengthOffset < count) {
        const std::size_t declared = reply[static_cast<std::size_t>(c + kNameLengthOffset)];
        const std::size_t held = static_cast<std::size_t>(std::max(count - (c + kNameOffset), 0));
        const std::size_t n = std::min({declared, kModelNameSize, held});
        std::copy_n(reply.begin() + c + kNameOffset, n, area.begin());
    }
    const std::string name(area.data(), std::find(area.begin(), area.end(), '\0'));
    return platform::codePage().FromSystem(name);
}

class MenuFetch {
public:
    MenuFetch(TSchemeOptions2& model, std::wstring menuFile) : model_(model), menuFile_(std::move(menuFile)) {}

    bool Run() {
        std::int32_t count = 0;
        if (!Exchange(kModelQuery, kReplyBufferSize, model_.m_Sections.ClearBeforeReadMenu,
                      static_cast<std::int32_t>(model_.m_Sections.WriteReadDelay), count)) {
            return Fail(L"<0> 读取打印机型号失败");
        }
        if (!TakeModelName(count)) {
            return Fail(L"<0.2> 打印机型号校验失败");
        }

        platform::clock().Sleep(kPauseBeforeMenuRequest);

        platform::Bytes menuData;
        if (!RequestMenu(menuData)) {
            return false;
        }
        return UnpackAndSave(menuData);
    }

private:
    // One exchange of the fetch on the printer g_strPrinterName, into the zeroed reply buffer.
    bool Exchange(const std::wstring& command,
                  std::int32_t asked,
                  bool resetFirst,
                  std::int32_t extra,
                  std::int32_t& count) {
        std::fill(buffer_.begin(), buffer_.end(), 0);
        count = asked;
        const bool ok = model_.DoWriteAndReadPrinter(g_strPrinterName, command, buffer_.data(), kReplyBufferSize - 1,
                                                     count, true, resetFirst, extra, false);
        count = std::clamp(count, 0, kReplyBufferSize);
        return ok;
    }

    bool TakeModelName(std::int32_t count) {
        const std::uint32_t crc = ComputeCRC32(0, kChallenge, static_cast<std::int32_t>(sizeof kChallenge));
        const std::uint8_t crcBytes[] = {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8),
                                         static_cast<std::uint8_t>(crc >> 16), static_cast<std::uint8_t>(crc >> 24)};
        const std::int32_t c = Find(crcBytes, 4, buffer_.data(), count);
        if (c < 0) {
            return false;
        }
        g_strModelName = ModelNameAt(buffer_, count, c);
        // Recorded at once: the plug-in shows the name even when the menu itself then fails.
        if (!g_strPrinterIni.empty()) {
            platform::IniFile(g_strPrinterIni).WriteString(kPrinterInfoSection, L"PrinterName", g_strModelName);
        }
        return true;
    }

    bool RequestMenu(platform::Bytes& menuData) {
        std::int32_t count = 0;
        const bool ok = Exchange(kMenuRequest, kReplyBufferSize, false,
                                 static_cast<std::int32_t>(model_.m_Sections.ReadMenuDelay), count);
        if (!ok) {
            Fail(L"<1> 读取菜单失败");
        }
        if (count < kLeastMenuReply) {
            Fail(platform::Format(L"<1> 菜单数据长度错误：%d", {std::int64_t{count}}));
        }
        if (!ok || count < kLeastMenuReply) {
            return false;
        }

        const std::int32_t j = Find(kMenuReplyHead, 5, buffer_.data(), count);
        if (j < 0) {
            return Fail(L"<1> 菜单数据没有指令头");
        }
        // The buffer was zeroed before the read, so length bytes that the reply cut off read as zeros; only
        // a field running past the buffer itself is refused.
        if (j + kDeclaredLengthOffset + 4 > kReplyBufferSize) {
            return Fail(L"<1> 菜单数据没有长度");
        }
        const std::uint32_t declared = ReadLe32(buffer_.data() + j + kDeclaredLengthOffset);

        if (static_cast<std::int64_t>(count) >= declared) {
            if (declared == 0) {
                return Fail(L"<3> 打印机没有菜单");
            }
            // The reply's last byte closes it and is not part of the menu.
            const std::int32_t n = count - j - kMenuDataOffset - 1;
            if (n > 0) {
                menuData.assign(buffer_.begin() + j + kMenuDataOffset, buffer_.begin() + j + kMenuDataOffset + n);
            }
            return true;
        }

        // The printer sends the menu data on their own after the length: one more read, writing nothing.
        if (declared > static_cast<std::uint32_t>(kReplyBufferSize)) {
            return Fail(platform::Format(L"<2> 菜单长度 %d 超出缓冲区", {std::int64_t{declared}}));
        }
        const auto expected = static_cast<std::int32_t>(declared);
        std::int32_t completion = 0;
        if (!Exchange(L"", expected, false, kCompletionReadExtra, completion)) {
            return Fail(L"<2> 长度之后没有菜单数据");
        }
        if (completion != expected) {
            return Fail(
                platform::Format(L"<2> 菜单数据长度 %d，应为 %d", {std::int64_t{completion}, std::int64_t{expected}}));
        }
        menuData.assign(buffer_.begin(), buffer_.begin() + expected);
        return true;
    }

    bool UnpackAndSave(const platform::Bytes& menuData) {
        const std::int32_t head = Find(kContainerHead, 4, menuData.data(), static_cast<std::int32_t>(menuData.size()));
        if (head < 0) {
            std::array<std::uint8_t, 4> first{};
            std::copy_n(menuData.begin(), std::min<std::size_t>(menuData.size(), first.size()), first.begin());
            return Fail(platform::Format(
                L"菜单数据没有压缩头：%.2X %.2X %.2X %.2X",
                {std::int64_t{first[0]}, std::int64_t{first[1]}, std::int64_t{first[2]}, std::int64_t{first[3]}}));
        }
        platform::Bytes stream(menuData.begin() + head, menuData.end());
        platform::Bytes signature;
        std::uint16_t version = 0;
        try {
            UnpackMenuStream(&stream, signature, version);
        } catch (const platform::Exception& error) {
            // A container that does not unpack ends the fetch like every other bad reply: no menu file.
            return Fail(error.Message());
        }
        if (!platform::files().WriteWholeFile(menuFile_, stream)) {
            return Fail(L"菜单文件写入失败：" + menuFile_);
        }
        return true;
    }

    static bool Fail(const std::wstring& text) {
        TraceLog().ErrorMessage(text);
        return false;
    }

    TSchemeOptions2& model_;
    const std::wstring menuFile_;
    ReplyBuffer buffer_ = ReplyBuffer(kReplyBufferSize);
};

}  // namespace

bool TSchemeOptions2::GetPrinterMenuResources() {
    TraceLog().EnterProc(L"GetPrinterMenuResources", L"");
    const std::wstring menuFile = PrinterMenuFile();
    platform::FileSystem& files = platform::files();
    if (files.FileExists(menuFile) && files.DeleteFile(menuFile)) {
        TraceLog().MessageFmt(L"删除菜单文件：%s", {menuFile});
    }

    bool result = false;
    {
        const WaitingWindowScope waiting;
        g_strModelName.clear();
        result = MenuFetch(*this, menuFile).Run();
    }
    TraceLog().LeaveProc(L"GetPrinterMenuResources", L"");
    return result;
}
