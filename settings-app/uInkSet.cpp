#include "uInkSet.h"

#include "GlobalString.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uInkDry.h"
#include "uInquiry.h"

using namespace platform::forms;

std::int32_t g_iAdjustMode = 2;
TfrmInkSet* frmInkSet = nullptr;

namespace {

const FormDesign kInkSetDesign = {
    .clientWidth = 380,
    .clientHeight = 251,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .formStyle = fsStayOnTop,
    .OnCreate = &TfrmInkSet::FormCreate,
    .OnShow = &TfrmInkSet::FormShow,
    .OnDestroy = &TfrmInkSet::FormDestroy,
};

// The scale under the track bar: one mark every five steps, each centred under its position.
constexpr wchar_t kAdjustScale[] =
    L"-10                 -5                   0                   5                  10";

const ComponentDesign kInkSetLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlBottom",
     .field = &TfrmInkSet::pnlBottom,
     .height = 38,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Panel,
     .name = L"pnlTop",
     .field = &TfrmInkSet::pnlTop,
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Panel,
     .name = L"pnlType",
     .field = &TfrmInkSet::pnlType,
     .parent = L"pnlTop",
     .height = 82,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Label,
     .name = L"lbl1",
     .field = &TfrmInkSet::lbl1,
     .parent = L"pnlType",
     .left = 10,
     .top = 8,
     .caption = L"Parameter"},
    {.kind = ComponentKind::TrackBar,
     .name = L"trckbrAdjust",
     .field = &TfrmInkSet::trckbrAdjust,
     .parent = L"pnlType",
     .left = 10,
     .top = 26,
     .width = 360,
     .height = 30,
     .min = 0,
     .max = 20,
     .pageSize = 1,
     .position = TfrmInkSet::kZeroPosition,
     .OnChange = &TfrmInkSet::trckbrAdjustChange},
    {.kind = ComponentKind::Label,
     .name = L"lblAdjust",
     .field = &TfrmInkSet::lblAdjust,
     .parent = L"pnlType",
     .left = 12,
     .top = 58,
     .width = 356,
     .caption = kAdjustScale,
     .autoSize = false},
    {.kind = ComponentKind::Panel,
     .name = L"pnlSelect",
     .field = &TfrmInkSet::pnlSelect,
     .parent = L"pnlTop",
     .top = 82,
     .height = 28,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::CheckBox,
     .name = L"chkDraft",
     .field = &TfrmInkSet::chkDraft,
     .parent = L"pnlSelect",
     .left = 12,
     .top = 5,
     .width = 150,
     .height = 18,
     .caption = L"Draft",
     .OnClick = &TfrmInkSet::chkDraftClick},
    {.kind = ComponentKind::CheckBox,
     .name = L"chkNormal",
     .field = &TfrmInkSet::chkNormal,
     .parent = L"pnlSelect",
     .left = 170,
     .top = 5,
     .width = 200,
     .height = 18,
     .caption = L"Normal",
     .checked = true,
     .OnClick = &TfrmInkSet::chkNormalClick},
    {.kind = ComponentKind::CheckBox,
     .name = L"chkQuality",
     .field = &TfrmInkSet::chkQuality,
     .parent = L"pnlSelect",
     .left = 280,
     .top = 5,
     .width = 90,
     .height = 18,
     .caption = L"Quality",
     .OnClick = &TfrmInkSet::chkQualityClick},
    {.kind = ComponentKind::Panel,
     .name = L"pnlInfo",
     .field = &TfrmInkSet::pnlInfo,
     .parent = L"pnlTop",
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &TfrmInkSet::grp1,
     .parent = L"pnlInfo",
     .left = 8,
     .top = 0,
     .width = 364,
     .height = 100,
     .anchors = akLeft | akTop | akRight | akBottom,
     .caption = L"Explanation",
     .bold = true},
    {.kind = ComponentKind::Label,
     .name = L"lblInfo",
     .field = &TfrmInkSet::lblInfo,
     .parent = L"grp1",
     .left = 8,
     .top = 18,
     .width = 348,
     .height = 74,
     .anchors = akLeft | akTop | akRight | akBottom,
     .bold = false,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::Button,
     .name = L"btnPrn",
     .field = &TfrmInkSet::btnPrn,
     .parent = L"pnlBottom",
     .left = 8,
     .top = 7,
     .width = 80,
     .height = 25,
     .caption = L"Print",
     .OnClick = &TfrmInkSet::btnPrnClick},
    {.kind = ComponentKind::Button,
     .name = L"btnDefault",
     .field = &TfrmInkSet::btnDefault,
     .parent = L"pnlBottom",
     .left = 112,
     .top = 7,
     .width = 80,
     .height = 25,
     .caption = L"Default",
     .OnClick = &TfrmInkSet::btnDefaultClick},
    {.kind = ComponentKind::Button,
     .name = L"btnSet",
     .field = &TfrmInkSet::btnSet,
     .parent = L"pnlBottom",
     .left = 204,
     .top = 7,
     .width = 80,
     .height = 25,
     .caption = L"Set",
     .OnClick = &TfrmInkSet::btnSetClick},
    {.kind = ComponentKind::Button,
     .name = L"btnClose",
     .field = &TfrmInkSet::btnClose,
     .parent = L"pnlBottom",
     .left = 292,
     .top = 7,
     .width = 80,
     .height = 25,
     .caption = L"Return",
     .cancel = true,
     .OnClick = &TfrmInkSet::btnCloseClick},
};

const ComponentText<TGlobalString> kInkSetTexts[] = {
    {L"TfrmInkSet", &TGlobalString::ParametersCaption},    {L"lbl1", &TGlobalString::ParametersTitle},
    {L"grp1", &TGlobalString::ParametersNoteTitle},        {L"chkDraft", &TGlobalString::DraftPrint},
    {L"chkNormal", &TGlobalString::NormalPrint},           {L"btnPrn", &TGlobalString::btnInkPrn},
    {L"btnSet", &TGlobalString::ParametersBtnSet},         {L"btnClose", &TGlobalString::ParametersBtnReturn},
    {L"btnDefault", &TGlobalString::ParametersBtnDefault},
};

// Byte 7 of the reply, from its frame head.
constexpr std::int32_t kAlignmentValueOffset = 7;

TSettingItem CurrentItem() {
    return g_SchemeOptions->GetItem(g_byPage, g_iItem);
}

std::optional<std::wstring> ModeResolutionCode(std::int32_t iAdjustMode) {
    switch (iAdjustMode) {
        case 1:
            return L"00";
        case 2:
            return L"01";
        case 3:
            return L"02";
        default:
            return std::nullopt;
    }
}

// The print or read command of the resolution the rule chooses, in its hex command text.
std::optional<std::wstring> AlignmentCommand(const wchar_t* commandBytes) {
    const std::optional<std::wstring> code = AlignmentResolutionCode(CurrentItem().Name, g_iAdjustMode);
    if (!code) {
        return std::nullopt;
    }
    return std::wstring(L"1B 1D 1E ") + commandBytes + L" " + *code + L" 1B 1D 1F";
}

}  // namespace

std::optional<std::wstring> AlignmentResolutionCode(const std::wstring& itemName, std::int32_t iAdjustMode) {
    if (itemName == L"Ink_Adjust600" || iAdjustMode == 2) {
        return L"01";
    }
    if (itemName == L"Ink_Adjust1200" || iAdjustMode == 3) {
        return L"02";
    }
    if (itemName == L"Ink_Adjust300" || iAdjustMode == 1) {
        return L"00";
    }
    return std::nullopt;
}

// Alignment reply:
//   offset  size  content
//   0       3     1B 1D 1E
//   3       4     12 02 01 r (not checked)
//   7       1     the value: 0 to 191 as it is, 192 to 255 less 256
std::optional<std::int32_t> DecodeAlignmentReply(const std::uint8_t* data, std::int32_t length) {
    if (!data || length <= kAlignmentValueOffset) {
        return std::nullopt;
    }
    const std::int32_t value = data[kAlignmentValueOffset];
    return value >= 192 ? value - 256 : value;
}

void ResetInkDialogGlobals() {
    g_iAdjustMode = 2;
    g_iInquiryType = 0;
    frmInkSet = nullptr;
    Inquiry = nullptr;
    InkDry = nullptr;
}

TfrmInkSet::TfrmInkSet() : Form(L"TfrmInkSet", kInkSetDesign) {
    BindLayout(*this, kInkSetLayout);
}

void TfrmInkSet::FormCreate() {
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kInkSetTexts);
    chkQuality->Hide();
    m_USBPort = std::make_unique<TUSBPrinterPort>(false);
}

void TfrmInkSet::FormShow() {
    const TSettingItem item = CurrentItem();
    lblInfo->SetCaption(item.Explain);
    SetCaption(item.Title);
    lblAdjust->BringToFront();
    g_iAdjustMode = 2;
    ReadForMode();
}

void TfrmInkSet::FormDestroy() {
    m_USBPort.reset();
    if (frmInkSet == this) {
        frmInkSet = nullptr;
    }
}

void TfrmInkSet::ReadForMode() {
    if (dialogs::KeepPortAndCheckOnline()) {
        dialogs::ReadWithWaitingWindow([this] { return GetCurrentItemValueFromPrinterI(); });
    }
}

void TfrmInkSet::ChooseMode(CheckBox* chosen, std::int32_t mode) {
    for (CheckBox* box : {chkDraft, chkNormal, chkQuality}) {
        if (box != chosen) {
            box->SetChecked(false);
        }
    }
    g_iAdjustMode = mode;
}

void TfrmInkSet::chkDraftClick() {
    if (chkDraft->Checked()) {
        ChooseMode(chkDraft, 1);
        ReadForMode();
    }
}

void TfrmInkSet::chkNormalClick() {
    if (chkNormal->Checked()) {
        ChooseMode(chkNormal, 2);
        ReadForMode();
    }
}

void TfrmInkSet::chkQualityClick() {
    if (chkQuality->Checked()) {
        ChooseMode(chkQuality, 3);
    }
}

void TfrmInkSet::trckbrAdjustChange() {
    btnSet->SetEnabled(true);
}

void TfrmInkSet::btnDefaultClick() {
    trckbrAdjust->SetPosition(CurrentItem().ValueDefault + kZeroPosition);
    btnSet->SetEnabled(true);
}

void TfrmInkSet::btnPrnClick() {
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (dialogs::PrinterBusy(m_USBPort, portName)) {
        return;
    }
    const std::optional<std::wstring> command = AlignmentCommand(L"10 10 01");
    if (!command) {
        return;
    }
    dialogs::TDialogCommand road;
    road.confirm = [] {
        return application().ShowMessageBox(g_GlobalString.Adjust, g_GlobalString.HintTitle,
                                            platform::MsgIcon::Question,
                                            platform::MsgButtons::OKCancel) == platform::MsgResult::OK;
    };
    road.onUsb = [this](const platform::Bytes& bytes, std::int32_t index) {
        if (!DoWriteUSBPrinter(bytes, index)) {
            dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        }
    };
    // The pattern is printed only through the USB port.
    road.onOtherPort = [](const platform::Bytes&) {};
    dialogs::RunDialogCommand(*command, road);
}

void TfrmInkSet::btnSetClick() {
    const TSettingItem item = CurrentItem();
    const std::vector<std::int32_t>& values = item.RuleValues.RuleValue;
    const int position = trckbrAdjust->Position();
    const std::optional<std::wstring> code = ModeResolutionCode(g_iAdjustMode);
    // A position the item's rule has no value for is never sent.
    if (position < 0 || static_cast<std::size_t>(position) >= values.size() || !code) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    const std::optional<std::wstring> command = dialogs::FormatItemSetCommand(
        platform::Trim(item.SetInstruction) + L" " + *code, ptByte, values[static_cast<std::size_t>(position)]);
    if (!command) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    dialogs::TDialogCommand road;
    road.onUsb = [this](const platform::Bytes& bytes, std::int32_t index) { SetOnUsb(bytes, index); };
    dialogs::RunDialogCommand(dialogs::SettingsWriteSequence(g_SchemeOptions->m_Sections, {*command}), road);
}

void TfrmInkSet::SetOnUsb(const platform::Bytes& bytes, std::int32_t index) {
    // Set stays off until the track bar next moves.
    btnSet->SetEnabled(false);
    const dialogs::DisabledWhileSetting disabled{pnlTop, btnClose, btnDefault};
    if (!DoWriteUSBPrinter(bytes, index)) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    platform::clock().Sleep(sections.SleepBeforeRead);
    if (GetItemValueFromUSBPrinterI(index, m_iPrinterItemValue) || g_SchemeOptions->m_Sections.AffirmReadDisable) {
        trckbrAdjust->SetPosition(m_iPrinterItemValue + kZeroPosition);
        dialogs::ShowBox(g_GlobalString.SetPrinterSuccessI, g_GlobalString.HintTitle, platform::MsgIcon::Information);
    } else {
        dialogs::ShowBox(g_GlobalString.SetPrinterTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    }
}

void TfrmInkSet::btnCloseClick() {
    Close();
}

bool TfrmInkSet::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

bool TfrmInkSet::GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue) {
    const std::optional<std::wstring> command = AlignmentCommand(L"12 02 01");
    return command &&
           dialogs::GetItemValueFromUSBPrinterI(iUSBPrinter, *command, DecodeAlignmentReply, iPrinterItemValue);
}

bool TfrmInkSet::GetCurrentItemValueFromPrinterI() {
    return dialogs::GetCurrentItemValueFromPrinterI({
        .dialog = this,
        .value = &m_iPrinterItemValue,
        .read = [this](std::int32_t index, std::int32_t& value) { return GetItemValueFromUSBPrinterI(index, value); },
        .show = [this](std::int32_t value) { trckbrAdjust->SetPosition(value + kZeroPosition); },
        .unlistedFallback = {},
    });
}
