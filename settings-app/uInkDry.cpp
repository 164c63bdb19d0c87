#include "uInkDry.h"

#include "GlobalString.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/text.h"

using namespace platform::forms;

TInkDry* InkDry = nullptr;

namespace {

const FormDesign kInkDryDesign = {
    .clientWidth = 259,
    .clientHeight = 197,
    .left = 583,
    .top = 266,
    .position = poDesigned,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .OnCreate = &TInkDry::FormCreate,
    .OnShow = &TInkDry::FormShow,
    .OnDestroy = &TInkDry::FormDestroy,
};

// The scale under the track bar, a mark centred under each of the five positions.
constexpr wchar_t kTimeScale[] = L"0 s        0.5 s        1 s        1.5 s        2 s";

const ComponentDesign kInkDryLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlDry",
     .field = &TInkDry::pnlDry,
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Label,
     .name = L"lblTitle",
     .field = &TInkDry::lblTitle,
     .parent = L"pnlDry",
     .left = 10,
     .top = 8,
     .width = 239,
     .height = 13,
     .autoSize = false},
    {.kind = ComponentKind::TrackBar,
     .name = L"trckbrTime",
     .field = &TInkDry::trckbrTime,
     .parent = L"pnlDry",
     .left = 8,
     .top = 24,
     .width = 243,
     .height = 30,
     .min = 0,
     .max = 4,
     .pageSize = 1,
     .OnChange = &TInkDry::trckbrTimeChange},
    {.kind = ComponentKind::Label,
     .name = L"lblTime",
     .field = &TInkDry::lblTime,
     .parent = L"pnlDry",
     .left = 8,
     .top = 56,
     .width = 249,
     .caption = kTimeScale,
     .autoSize = false},
    {.kind = ComponentKind::GroupBox,
     .name = L"grpInfo",
     .field = &TInkDry::grpInfo,
     .parent = L"pnlDry",
     .left = 8,
     .top = 76,
     .width = 243,
     .height = 80,
     .caption = L"Explanation",
     .bold = true},
    {.kind = ComponentKind::Label,
     .name = L"lblInfo",
     .field = &TInkDry::lblInfo,
     .parent = L"grpInfo",
     .left = 8,
     .top = 18,
     .width = 227,
     .height = 56,
     .bold = false,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::Button,
     .name = L"btnSet",
     .field = &TInkDry::btnSet,
     .parent = L"pnlDry",
     .left = 86,
     .top = 164,
     .width = 75,
     .height = 25,
     .caption = L"Set",
     .OnClick = &TInkDry::btnSetClick},
    {.kind = ComponentKind::Button,
     .name = L"btnReturn",
     .field = &TInkDry::btnReturn,
     .parent = L"pnlDry",
     .left = 176,
     .top = 164,
     .width = 75,
     .height = 25,
     .caption = L"Return",
     .cancel = true,
     .OnClick = &TInkDry::btnReturnClick},
};

const ComponentText<TGlobalString> kInkDryTexts[] = {
    {L"TInkDry", &TGlobalString::ParametersCaption},
    {L"grpInfo", &TGlobalString::ParametersNoteTitle},
    {L"btnReturn", &TGlobalString::ParametersBtnReturn},
    {L"btnSet", &TGlobalString::ParametersBtnSet},
};

// One track bar step is 50 units of the printer's value.
constexpr std::int32_t kUnitsPerStep = 50;
constexpr std::int32_t kDryingValueOffset = 5;
constexpr wchar_t kDryingRead[] = L"1B 1D 1E 12 09 1B 1D 1F";

}  // namespace

// Drying reply:
//   offset  size  content
//   0       3     1B 1D 1E
//   3       2     12 09 (not checked)
//   5       2     the drying time, low byte first
std::optional<std::int32_t> DecodeDryingReply(const std::uint8_t* data, std::int32_t length) {
    if (!data || length < kDryingValueOffset + 2) {
        return std::nullopt;
    }
    const std::int32_t time = data[kDryingValueOffset] | (data[kDryingValueOffset + 1] << 8);
    return time / kUnitsPerStep;
}

std::wstring DryingSetCommand(std::int32_t position) {
    const std::int64_t value = static_cast<std::int64_t>(position) * kUnitsPerStep;
    return platform::Format(L"%s %.2X %.2X", {std::wstring(L"1B 1D 1E 11 1D"), value % 256, value / 256}) +
           L" 1B 1D 1F";
}

TInkDry::TInkDry() : Form(L"TInkDry", kInkDryDesign) {
    BindLayout(*this, kInkDryLayout);
}

void TInkDry::FormCreate() {
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kInkDryTexts);
    m_USBPort = std::make_unique<TUSBPrinterPort>(false);
}

void TInkDry::FormShow() {
    const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, g_iItem);
    lblInfo->SetCaption(item.Explain);
    SetCaption(item.Title);
    lblTitle->SetCaption(item.Note);
    lblTime->BringToFront();
    if (!dialogs::KeepPortAndCheckOnline() || dialogs::PrinterBusy(m_USBPort, g_strLocalPortFile)) {
        return;
    }
    dialogs::ReadWithWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); });
}

void TInkDry::FormDestroy() {
    m_USBPort.reset();
    if (InkDry == this) {
        InkDry = nullptr;
    }
}

void TInkDry::trckbrTimeChange() {
    btnSet->SetEnabled(true);
}

void TInkDry::btnSetClick() {
    // The busy check comes first in every mode, port mode included.
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (dialogs::PrinterBusy(m_USBPort, portName)) {
        return;
    }
    dialogs::TDialogCommand road;
    road.onUsb = [this](const platform::Bytes& bytes, std::int32_t index) {
        if (DoWriteUSBPrinter(bytes, index)) {
            dialogs::ShowBox(g_GlobalString.InkFinish, g_GlobalString.HintTitle, platform::MsgIcon::Information);
            btnSet->SetEnabled(false);
        } else {
            dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        }
    };
    // The drying time is set only through the USB port.
    road.onOtherPort = [](const platform::Bytes&) {};
    dialogs::RunDialogCommand(DryingSetCommand(trckbrTime->Position()), road);
}

void TInkDry::btnReturnClick() {
    Close();
}

bool TInkDry::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

bool TInkDry::GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue) {
    return dialogs::GetItemValueFromUSBPrinterI(iUSBPrinter, kDryingRead, DecodeDryingReply, iPrinterItemValue);
}

bool TInkDry::GetCurrentItemValueFromPrinterI() {
    return dialogs::GetCurrentItemValueFromPrinterI({
        .dialog = this,
        .value = &m_iPrinterItemValue,
        .read = [this](std::int32_t index, std::int32_t& value) { return GetItemValueFromUSBPrinterI(index, value); },
        .show = [this](std::int32_t value) { trckbrTime->SetPosition(value); },
        .unlistedFallback = {},
    });
}
