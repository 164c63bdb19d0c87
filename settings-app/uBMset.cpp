#include "uBMset.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "GlobalString.h"
#include "LocaleParse.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/forms/application.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/text.h"

using namespace platform::forms;

TBMset* BMset = nullptr;

namespace {

using T = TBMset;

const FormDesign kBMsetDesign = {
    .caption = L"黑标设置",
    .clientWidth = 424,
    .clientHeight = 437,
    .left = 192,
    .top = 107,
    .OnCreate = &T::FormCreate,
    .OnShow = &T::FormShow,
    .OnDestroy = &T::FormDestroy,
};

constexpr wchar_t kOn[] = L"开";
constexpr wchar_t kOff[] = L"关";
constexpr wchar_t kMode0[] = L"模式0";
constexpr wchar_t kMode1[] = L"模式1";

// A state label: the current value of a switch, right of its title.
ComponentDesign StateLabel(const wchar_t* name, Label* T::*field, const wchar_t* parent, const wchar_t* caption) {
    return {.kind = ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = parent,
            .left = 160,
            .top = 12,
            .caption = caption,
            .bold = true,
            .fontColor = clBlue};
}

ComponentDesign PanelButton(const wchar_t* name,
                            Button* T::*field,
                            const wchar_t* parent,
                            int left,
                            int top,
                            const wchar_t* caption,
                            Handler<NotifyEvent> onClick) {
    return {.kind = ComponentKind::Button,
            .name = name,
            .field = field,
            .parent = parent,
            .left = left,
            .top = top,
            .width = 75,
            .height = 25,
            .caption = caption,
            .OnClick = onClick};
}

ComponentDesign InfoBox(const wchar_t* name, GroupBox* T::*field, const wchar_t* parent) {
    return {.kind = ComponentKind::GroupBox,
            .name = name,
            .field = field,
            .parent = parent,
            .left = 8,
            .top = 36,
            .width = 396,
            .height = 50,
            .caption = L"说明"};
}

ComponentDesign InfoLabel(const wchar_t* name, Label* T::*field, const wchar_t* parent, const wchar_t* caption) {
    return {.kind = ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = parent,
            .left = 10,
            .top = 16,
            .width = 378,
            .height = 30,
            .caption = caption,
            .autoSize = false,
            .wordWrap = true};
}

ComponentDesign SwitchPanel(const wchar_t* name, Panel* T::*field, int top, int height) {
    return {.kind = ComponentKind::Panel,
            .name = name,
            .field = field,
            .left = 7,
            .top = top,
            .width = 412,
            .height = height,
            .bevelOuter = bvLowered};
}

ComponentDesign PlainLabel(const wchar_t* name,
                           Label* T::*field,
                           const wchar_t* parent,
                           int left,
                           int top,
                           const wchar_t* caption) {
    return {.kind = ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = parent,
            .left = left,
            .top = top,
            .caption = caption};
}

// A row of the lock panel: a length in millimetres with its own Set button.
ComponentDesign LengthPanel(const wchar_t* name, Panel* T::*field, int top) {
    return {.kind = ComponentKind::Panel,
            .name = name,
            .field = field,
            .parent = L"pnlBMlock",
            .left = 8,
            .top = top,
            .width = 396,
            .height = 38,
            .bevelOuter = bvNone};
}

ComponentDesign LengthEdit(const wchar_t* name, Edit* T::*field, const wchar_t* parent) {
    return {.kind = ComponentKind::Edit,
            .name = name,
            .field = field,
            .parent = parent,
            .left = 160,
            .top = 8,
            .width = 80,
            .height = 21};
}

const ComponentDesign kBMsetLayout[] = {
    {.kind = ComponentKind::Label,
     .name = L"lbltitle1",
     .field = &T::lbltitle1,
     .left = 10,
     .top = 3,
     .caption = L"黑标功能设置",
     .bold = true},
    SwitchPanel(L"pnlBMset", &T::pnlBMset, 19, 90),
    PlainLabel(L"lblBMset", &T::lblBMset, L"pnlBMset", 10, 12, L"黑标功能    当前状态："),
    StateLabel(L"lblnBMset", &T::lblnBMset, L"pnlBMset", kOn),
    PanelButton(L"btnON", &T::btnON, L"pnlBMset", 240, 7, kOn, &T::btnONClick),
    PanelButton(L"btnOff", &T::btnOff, L"pnlBMset", 326, 7, kOff, &T::btnOffClick),
    InfoBox(L"grpInfo1", &T::grpInfo1, L"pnlBMset"),
    InfoLabel(L"lblInfo1", &T::lblInfo1, L"grpInfo1", L"开启或关闭黑标检测定位打印功能。"),
    SwitchPanel(L"pnlBMMode", &T::pnlBMMode, 110, 90),
    PlainLabel(L"lblBMmode", &T::lblBMmode, L"pnlBMMode", 10, 12, L"黑标模式   当前状态："),
    StateLabel(L"lblnBMmode", &T::lblnBMmode, L"pnlBMMode", kMode1),
    PanelButton(L"btnMode0", &T::btnMode0, L"pnlBMMode", 240, 7, kMode0, &T::btnMode0Click),
    PanelButton(L"btnMode1", &T::btnMode1, L"pnlBMMode", 326, 7, kMode1, &T::btnMode1Click),
    InfoBox(L"grpInfo2", &T::grpInfo2, L"pnlBMMode"),
    InfoLabel(L"lblInfo2",
              &T::lblInfo2,
              L"grpInfo2",
              L"模式0：开机时已装纸，纸张不回退；模式1：开机时已装纸，纸张回退一段距离。"),
    {.kind = ComponentKind::Label,
     .name = L"lbltitle2",
     .field = &T::lbltitle2,
     .left = 10,
     .top = 206,
     .caption = L"撕缝位设置",
     .bold = true},
    SwitchPanel(L"pnlBMlock", &T::pnlBMlock, 224, 177),
    PlainLabel(L"lblBMlock", &T::lblBMlock, L"pnlBMlock", 10, 12, L"黑标页长锁定  当前状态："),
    StateLabel(L"lblnLock", &T::lblnLock, L"pnlBMlock", kOn),
    PanelButton(L"btnON2", &T::btnON2, L"pnlBMlock", 240, 7, kOn, &T::btnON2Click),
    PanelButton(L"btnOFF2", &T::btnOFF2, L"pnlBMlock", 326, 7, kOff, &T::btnOFF2Click),
    InfoBox(L"grpInfo3", &T::grpInfo3, L"pnlBMlock"),
    InfoLabel(L"lblInfo3", &T::lblInfo3, L"grpInfo3", L"开启时，打印机按所设的黑标页长换页；默认页长279mm（11英寸）。"),
    LengthPanel(L"pnlBMhead", &T::pnlBMhead, 90),
    PlainLabel(L"lblBMhesd", &T::lblBMhesd, L"pnlBMhead", 2, 12, L"实际打印位置偏移距离"),
    LengthEdit(L"edtBMhead", &T::edtBMhead, L"pnlBMhead"),
    PlainLabel(L"lbl1", &T::lbl1, L"pnlBMhead", 246, 12, L"mm"),
    PanelButton(L"btnBMhead", &T::btnBMhead, L"pnlBMhead", 318, 6, L"设置", &T::btnBMheadClick),
    LengthPanel(L"pnllock", &T::pnllock, 132),
    PlainLabel(L"lblLock", &T::lblLock, L"pnllock", 2, 12, L"黑标到撕缝位的距离"),
    LengthEdit(L"edtLock", &T::edtLock, L"pnllock"),
    PlainLabel(L"lbl2", &T::lbl2, L"pnllock", 246, 12, L"mm"),
    PanelButton(L"btnLock", &T::btnLock, L"pnllock", 318, 6, L"设置", &T::btnLockClick),
    {.kind = ComponentKind::Button,
     .name = L"btnOK",
     .field = &T::btnOK,
     .left = 256,
     .top = 406,
     .width = 75,
     .height = 25,
     .anchors = akRight | akBottom,
     .caption = L"确认",
     .OnClick = &T::btnOKClick},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .field = &T::btnCancel,
     .left = 341,
     .top = 406,
     .width = 75,
     .height = 25,
     .anchors = akRight | akBottom,
     .caption = L"返回",
     .cancel = true,
     .OnClick = &T::btnCancelClick},
};

// The three fixed messages keep their own caption.
constexpr wchar_t kNoticeCaption[] = L"Notice";
constexpr wchar_t kEnterOffset[] = L"请输入黑标起始打印位";
constexpr wchar_t kEnterDistance[] = L"请输入黑标页长";
constexpr wchar_t kOutOfRange[] = L"设置的数值超出范围！(0~297mm)";

// The read of the three switches: sensing (24), mode (4F) and page-length lock (50).
constexpr wchar_t kReadCommand[] = L"1B 1D 1E 05 03 03 24 4F 50 1B 1D 1F";
// This dialog writes its own frames around each setting, not the model's enter and save instructions.
constexpr wchar_t kEnterFrame[] = L"1B 1D 1E 05 01 1B 1D 1F";
constexpr wchar_t kSaveFrame[] = L"1B 1D 1E 05 02 1B 1D 1F";

// The waiting window stays up shorter after this dialog's read than after the others'.
constexpr int kWaitingPasses = 11;

// Both lengths are set in millimetres, up to 298 (one more than the message names).
constexpr double kMaxLength = 298;
// The printer counts the tear distance from 47 mm before the black mark.
constexpr double kTearBase = 47;
// Units of 1/144 inch.
constexpr double kOffsetUnitMm = 0.176;
constexpr double kMmPerInch = 25.4;
constexpr double kUnitsPerInch = 144;

// One setting between this dialog's own enter and save frames.
std::wstring Switch(const std::wstring& command) {
    return std::wstring(kEnterFrame) + L" " + command + L" " + kSaveFrame;
}

bool OneOf(std::int32_t value, std::initializer_list<std::int32_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// Halves go to the even neighbour.
std::int64_t RoundUnits(double units) {
    return static_cast<std::int64_t>(std::nearbyint(units));
}

void ShowNotice(const wchar_t* text) {
    dialogs::ShowBox(text, kNoticeCaption, platform::MsgIcon::Information);
}

}  // namespace

// Reply of the black-mark read, a value reply of three one-byte entries:
//   offset  size  content
//   0       5     reply prefix 1B 1D 1E 05 03
//   5       1     entry count - 1
//   6       2     24, value type
//   8       1     black-mark sensing
//   9       2     4F, value type
//   11      1     black-mark mode
//   12      2     50, value type
//   14      1     page-length lock
// Only the three value bytes are looked at.
std::optional<std::int32_t> DecodeBlackMarkReply(const std::uint8_t* data, std::int32_t length) {
    constexpr std::int32_t kLastValue = 14;
    if (data == nullptr || length <= kLastValue) {
        return std::nullopt;
    }
    return 100 * data[8] + 10 * data[11] + data[kLastValue];
}

void ShowBlackMarkDialog() {
    auto dialog = MakeForm<TBMset>();
    dialog->ShowModal();
}

TBMset::TBMset() : Form(L"TBMset", kBMsetDesign) {
    BindLayout(*this, kBMsetLayout);
}

void TBMset::FormCreate() {
    if (g_SchemeOptions) {
        edtBMhead->SetText(std::to_wstring(g_SchemeOptions->m_Sections.LenBM));
        edtLock->SetText(std::to_wstring(g_SchemeOptions->m_Sections.LenLock));
    }
}

void TBMset::FormShow() {
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, g_strLocalPortFile, bOnline);
    if (!bOnline) {
        dialogs::ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    dialogs::ReadWithWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); }, kWaitingPasses);
    EnableSensingButtons(lblnBMset->Caption() == kOn);
}

void TBMset::FormDestroy() {
    application().Terminate();
}

bool TBMset::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

bool TBMset::GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue) {
    return dialogs::GetItemValueFromUSBPrinterI(iUSBPrinter, kReadCommand, DecodeBlackMarkReply, iPrinterItemValue);
}

bool TBMset::GetCurrentItemValueFromPrinterI() {
    return dialogs::GetCurrentItemValueFromPrinterI({
        .dialog = this,
        .value = &m_iPrinterItemValue,
        .read = [this](std::int32_t index, std::int32_t& value) { return GetItemValueFromUSBPrinterI(index, value); },
        .show = [this](std::int32_t value) { ShowSwitches(value); },
        // A port the port library does not list is an error here, not a guess at another printer.
        .unlistedFallback = {},
    });
}

void TBMset::ShowSwitches(std::int32_t value) {
    lblnBMset->SetCaption(OneOf(value, {100, 101, 110, 111}) ? kOn : kOff);
    lblnBMmode->SetCaption(OneOf(value, {10, 11, 110, 111}) ? kMode1 : kMode0);
    lblnLock->SetCaption(OneOf(value, {1, 11, 101, 111}) ? kOn : kOff);
}

void TBMset::EnableSensingButtons(bool enabled) {
    for (Button* button : {btnMode0, btnMode1, btnON2, btnOFF2, btnBMhead, btnLock}) {
        button->SetEnabled(enabled);
    }
}

void TBMset::SendCommand(const std::wstring& strHexText, const std::function<void()>& changed) {
    dialogs::TDialogCommand command;
    command.onUsb = [this, &changed](const platform::Bytes& bytes, std::int32_t index) {
        if (!DoWriteUSBPrinter(bytes, index)) {
            dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
            return;
        }
        dialogs::ShowBox(g_GlobalString.InkFinish, g_GlobalString.HintTitle, platform::MsgIcon::Question);
        if (changed) {
            changed();
        }
    };
    // These settings go to a printer the port library lists, and to no other.
    command.onOtherPort = [](const platform::Bytes&) {
        std::wstring portName;
        bool bOnline = false;
        GetPrinterPort(g_strPrinterName, portName, bOnline);
        dialogs::ShowBox(platform::Format(g_GlobalString.PrinterNotFoundOnPort, {portName}), g_GlobalString.ErrorTitle,
                         platform::MsgIcon::Error);
    };
    dialogs::RunDialogCommand(strHexText, command);
}

void TBMset::btnONClick() {
    SendCommand(Switch(L"1B 1D 1E 02 0C 01 1B 1D 1F"), [this] {
        lblnBMset->SetCaption(kOn);
        EnableSensingButtons(true);
    });
}

void TBMset::btnOffClick() {
    SendCommand(Switch(L"1B 1D 1E 02 0C 00 1B 1D 1F"), [this] {
        lblnBMset->SetCaption(kOff);
        EnableSensingButtons(false);
    });
}

void TBMset::btnMode0Click() {
    SendCommand(Switch(L"1B 1D 1E 04 22 00 1B 1D 1F"), [this] { lblnBMmode->SetCaption(kMode0); });
}

void TBMset::btnMode1Click() {
    SendCommand(Switch(L"1B 1D 1E 04 22 01 1B 1D 1F"), [this] { lblnBMmode->SetCaption(kMode1); });
}

void TBMset::btnON2Click() {
    SendCommand(Switch(L"1B 1D 1E 04 25 01 1B 1D 1F"), [this] { lblnLock->SetCaption(kOn); });
}

void TBMset::btnOFF2Click() {
    SendCommand(Switch(L"1B 1D 1E 04 25 00 1B 1D 1F"), [this] { lblnLock->SetCaption(kOff); });
}

double TBMset::FieldNumber(const Edit& field) {
    const std::optional<double> number = TryParseLocaleFloat(field.Text(), platform::locale().DecimalSeparator());
    if (!number) {
        throw platform::Exception(L"'" + field.Text() + L"' is not a valid number");
    }
    return *number;
}

void TBMset::btnBMheadClick() {
    if (edtBMhead->Text().empty()) {
        ShowNotice(kEnterOffset);
        return;
    }
    const double mm = FieldNumber(*edtBMhead);
    if (mm < 0 || mm > kMaxLength) {
        ShowNotice(kOutOfRange);
        return;
    }
    // GS ( F, function 1: the print start position, low byte first; then ESC @, which initialises the printer.
    const std::int64_t n = RoundUnits(mm / kOffsetUnitMm);
    SendCommand(platform::Format(L"1D 28 46 04 00 01 00 %.2X %.2X 1B 40 %s %s",
                                 {n % 256, n / 256, std::wstring(kEnterFrame), std::wstring(kSaveFrame)}),
                nullptr);
}

void TBMset::btnLockClick() {
    if (edtLock->Text().empty()) {
        ShowNotice(kEnterDistance);
        return;
    }
    const double mm = FieldNumber(*edtLock) + kTearBase;
    if (mm < kTearBase || mm > kMaxLength + kTearBase) {
        ShowNotice(kOutOfRange);
        return;
    }
    const std::int64_t n = RoundUnits(mm / kMmPerInch * kUnitsPerInch);
    SendCommand(Switch(platform::Format(L"1B 1D 1E 04 24 %.2X %.2X 1B 1D 1F", {n / 256, n % 256})), nullptr);
}

void TBMset::btnOKClick() {
    Close();
}

void TBMset::btnCancelClick() {
    Close();
}
