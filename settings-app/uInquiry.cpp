#include "uInquiry.h"

#include "GlobalString.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/process.h"

using namespace platform::forms;

std::int32_t g_iInquiryType = 0;
TInquiry* Inquiry = nullptr;

namespace {

const FormDesign kInquiryDesign = {
    .clientWidth = 420,
    .clientHeight = 235,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .formStyle = fsStayOnTop,
    .OnCreate = &TInquiry::FormCreate,
    .OnShow = &TInquiry::FormShow,
    .OnDestroy = &TInquiry::FormDestroy,
};

const ComponentDesign kInquiryLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlBottom",
     .field = &TInquiry::pnlBottom,
     .height = 38,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Panel,
     .name = L"pnlTop",
     .field = &TInquiry::pnlTop,
     .height = 112,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Label,
     .name = L"lblPageTitle",
     .field = &TInquiry::lblPageTitle,
     .parent = L"pnlTop",
     .left = 16,
     .top = 8,
     .caption = L"Print Page"},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnPage",
     .field = &TInquiry::btnPage,
     .parent = L"pnlTop",
     .left = 16,
     .top = 26,
     .width = 75,
     .height = 80,
     .showHint = true,
     .OnClick = &TInquiry::btnPageClick},
    {.kind = ComponentKind::Label,
     .name = L"lblPageInfo",
     .field = &TInquiry::lblPageInfo,
     .parent = L"pnlTop",
     .left = 100,
     .top = 36,
     .caption = L"Printed\r\n \r\n \r\npages"},
    {.kind = ComponentKind::Label,
     .name = L"lblPage",
     .field = &TInquiry::lblPage,
     .parent = L"pnlTop",
     .left = 100,
     .top = 54,
     .width = 100,
     .bold = true,
     .autoSize = false},
    {.kind = ComponentKind::Label,
     .name = L"lblInkTitle",
     .field = &TInquiry::lblInkTitle,
     .parent = L"pnlTop",
     .left = 232,
     .top = 8,
     .caption = L"Remainder Ink"},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnInk",
     .field = &TInquiry::btnInk,
     .parent = L"pnlTop",
     .left = 232,
     .top = 26,
     .width = 75,
     .height = 80,
     .showHint = true,
     .OnClick = &TInquiry::btnInkClick},
    {.kind = ComponentKind::Label,
     .name = L"lblInk",
     .field = &TInquiry::lblInk,
     .parent = L"pnlTop",
     .left = 316,
     .top = 36,
     .visible = false},
    {.kind = ComponentKind::Label,
     .name = L"lblInkQuantity",
     .field = &TInquiry::lblInkQuantity,
     .parent = L"pnlTop",
     .left = 316,
     .top = 54,
     .visible = false},
    {.kind = ComponentKind::Panel,
     .name = L"pnlInfo",
     .field = &TInquiry::pnlInfo,
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &TInquiry::grp1,
     .parent = L"pnlInfo",
     .left = 8,
     .top = 0,
     .width = 404,
     .height = 85,
     .anchors = akLeft | akTop | akRight | akBottom,
     .caption = L"Explanation",
     .bold = true},
    {.kind = ComponentKind::Label,
     .name = L"lblInfo",
     .field = &TInquiry::lblInfo,
     .parent = L"grp1",
     .left = 8,
     .top = 18,
     .width = 388,
     .height = 42,
     .anchors = akLeft | akTop | akRight,
     .bold = false,
     .autoSize = false,
     .wordWrap = true},
    // Until the printer has been read, the link shows the address the program ships with.
    {.kind = ComponentKind::Label,
     .name = L"lblWeb",
     .field = &TInquiry::lblWeb,
     .parent = L"grp1",
     .left = 8,
     .top = 64,
     .anchors = akLeft | akBottom,
     .caption = kDefaultWebAddress,
     .bold = false,
     .underline = true,
     .fontColor = clBlue,
     .cursor = crHandPoint,
     .OnClick = &TInquiry::lblWebClick},
    {.kind = ComponentKind::Button,
     .name = L"btnClose",
     .field = &TInquiry::btnClose,
     .parent = L"pnlBottom",
     .left = 332,
     .top = 7,
     .width = 80,
     .height = 25,
     .caption = L"Cancel",
     .cancel = true,
     .OnClick = &TInquiry::btnCloseClick},
};

const ComponentText<TGlobalString> kInquiryTexts[] = {
    {L"TInquiry", &TGlobalString::ParametersCaption},
    {L"grp1", &TGlobalString::ParametersNoteTitle},
    {L"btnClose", &TGlobalString::ParametersBtnCancel},
    {L"lblPageTitle", &TGlobalString::Page},
    {L"lblInkTitle", &TGlobalString::InkInfo},
    {L"lblPageInfo", &TGlobalString::PageInfo},
    {L"lblInk", &TGlobalString::InkInfo},
};

constexpr std::int32_t kPageType = 1;
constexpr std::int32_t kInkType = 2;
constexpr std::int32_t kInquiryValueOffset = 6;
// Between the page read and the ink read at show, and after each button's read.
constexpr std::uint32_t kBetweenReadsMs = 500;
constexpr std::uint32_t kAfterReadMs = 1000;

// Each ink-level step the deep cleans take away, per clean counted in the ink state file.
constexpr std::int32_t kPercentPerDegree = 10;

std::int32_t InkDegree() {
    if (g_strInkIni.empty()) {
        return 0;
    }
    return platform::IniFile(g_strInkIni).ReadInteger(L"Settings", L"Degree", 0);
}

// Sleeps however the button's read ends, an exception included.
class SleepAfterRead {
public:
    SleepAfterRead() = default;
    ~SleepAfterRead() { platform::clock().Sleep(kAfterReadMs); }
    SleepAfterRead(const SleepAfterRead&) = delete;
    SleepAfterRead& operator=(const SleepAfterRead&) = delete;
};

}  // namespace

std::optional<std::wstring> InquiryReadCommand(std::int32_t iInquiryType) {
    switch (iInquiryType) {
        case 1:
            return L"1B 1D 1E 12 07 02 1B 1D 1F";
        case 2:
            return L"1B 1D 1E 12 07 07 1B 1D 1F";
        case 3:
            return L"1B 1D 1E 12 07 05 1B 1D 1F";
        case 4:
            return L"1B 1D 1E 12 07 04 1B 1D 1F";
        default:
            return std::nullopt;
    }
}

// Inquiry reply:
//   offset  size  content
//   0       3     1B 1D 1E
//   3       3     12 07 t (not checked)
//   6       1     t = 07 (type 2): the ink level in percent
//   6       4     t = 02, 05 (types 1, 3): a counter, low byte first
//   6       8     t = 04 (type 4): a counter, low byte first, of which the low four bytes are used
std::optional<std::int32_t> DecodeInquiryReply(std::int32_t iInquiryType,
                                               const std::uint8_t* data,
                                               std::int32_t length) {
    if (!data || iInquiryType < 1 || iInquiryType > 4) {
        return std::nullopt;
    }
    if (iInquiryType == kInkType) {
        if (length <= kInquiryValueOffset) {
            return std::nullopt;
        }
        return data[kInquiryValueOffset];
    }
    if (length < kInquiryValueOffset + 4) {
        return std::nullopt;
    }
    std::uint32_t counter = 0;
    for (int i = 3; i >= 0; --i) {
        counter = (counter << 8) | data[kInquiryValueOffset + i];
    }
    return static_cast<std::int32_t>(counter);
}

TInkBand InkBand(std::int32_t level) {
    struct Band {
        std::int32_t highest;
        const wchar_t* picture;
    };
    static constexpr Band kBands[] = {
        {10, L"Ink_no"}, {39, L"Ink_few"}, {59, L"Ink_half"}, {89, L"Ink_ample"}, {100, L"Ink_full"},
    };
    if (level < 0 || level > 100) {
        return {L"Ink_no", L"ERROR"};
    }
    for (const Band& band : kBands) {
        if (level <= band.highest) {
            return {band.picture, std::to_wstring(level) + L"%"};
        }
    }
    return {L"Ink_no", L"ERROR"};
}

TInquiry::TInquiry() : Form(L"TInquiry", kInquiryDesign) {
    BindLayout(*this, kInquiryLayout);
}

void TInquiry::FormCreate() {
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kInquiryTexts);
}

void TInquiry::FormShow() {
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    lblWeb->SetVisible(sections.PrinterName.find(L"Varintex") != std::wstring::npos);
    const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, g_iItem);
    lblInfo->SetCaption(item.Explain);
    SetCaption(item.Title);
    btnPage->SetHint(item.Note);
    btnInk->SetHint(item.Note);
    if (!dialogs::KeepPortAndCheckOnline()) {
        return;
    }
    btnPage->Click();
    platform::clock().Sleep(kBetweenReadsMs);
    btnInk->Click();
    lblWeb->SetCaption(g_SchemeOptions->m_Sections.WebAddress);
}

void TInquiry::FormDestroy() {
    if (Inquiry == this) {
        Inquiry = nullptr;
    }
}

void TInquiry::btnPageClick() {
    InquiryClick(kPageType);
}

void TInquiry::btnInkClick() {
    InquiryClick(kInkType);
}

void TInquiry::InquiryClick(std::int32_t iInquiryType) {
    g_iInquiryType = iInquiryType;
    dialogs::TDialogCommand road;
    road.onOtherPort = [](const platform::Bytes&) {
        dialogs::ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Information);
    };
    road.onUsb = [this, iInquiryType](const platform::Bytes& bytes, std::int32_t index) {
        const SleepAfterRead pause;
        if (!DoWriteUSBPrinter(bytes, index)) {
            dialogs::ShowBox(g_GlobalString.ReadTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Error);
            return;
        }
        platform::clock().Sleep(g_SchemeOptions->m_Sections.SleepBeforeRead);
        if (GetItemValueFromUSBPrinterI(index, m_iPrinterItemValue) || g_SchemeOptions->m_Sections.AffirmReadDisable) {
            ShowInquiryValue(iInquiryType);
        } else {
            dialogs::ShowBox(g_GlobalString.ReadTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        }
    };
    // The button only asks: it opens the port with nothing to write, then reads.
    dialogs::RunDialogCommand(L"", road);
}

void TInquiry::ShowInquiryValue(std::int32_t iInquiryType) {
    if (iInquiryType == kPageType) {
        lblPage->BringToFront();
        lblPage->SetCaption(std::to_wstring(m_iPrinterItemValue));
        return;
    }
    const TInkBand band = InkBand(m_iPrinterItemValue - kPercentPerDegree * InkDegree());
    lblInkQuantity->SetCaption(band.text);
    btnInk->SetGlyph(Bitmap::FromResource(band.picture));
    btnInk->Invalidate();
}

void TInquiry::lblWebClick() {
    platform::processes().ShellOpen(g_SchemeOptions->m_Sections.WebAddress);
}

void TInquiry::btnCloseClick() {
    Close();
}

bool TInquiry::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

bool TInquiry::GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue) {
    // The counter is fixed when the read starts: a click on the other button meanwhile changes
    // g_iInquiryType, not what this reply means.
    const std::int32_t iInquiryType = g_iInquiryType;
    const std::optional<std::wstring> command = InquiryReadCommand(iInquiryType);
    if (!command) {
        return false;
    }
    return dialogs::GetItemValueFromUSBPrinterI(
        iUSBPrinter, *command,
        [iInquiryType](const std::uint8_t* data, std::int32_t length) {
            return DecodeInquiryReply(iInquiryType, data, length);
        },
        iPrinterItemValue);
}
