#include "UNormalSet.h"

#include <algorithm>
#include <cwctype>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/clock.h"
#include "platform/forms/application.h"
#include "platform/platform.h"
#include "platform/text.h"

using namespace platform::forms;

namespace {

const FormDesign kNormalSetDesign = {
    .clientWidth = 308,
    .clientHeight = 242,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .formStyle = fsStayOnTop,
    .OnCreate = &TNormalSet::FormCreate,
};

const ComponentDesign kNormalSetLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlBot",
     .field = &TNormalSet::pnlBot,
     .height = 40,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Button,
     .name = L"btnSet",
     .field = &TNormalSet::btnSet,
     .parent = L"pnlBot",
     .left = 130,
     .top = 8,
     .width = 75,
     .height = 25,
     .anchors = akTop | akRight,
     .OnClick = &TNormalSet::btnSetClick},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .field = &TNormalSet::btnCancel,
     .parent = L"pnlBot",
     .left = 219,
     .top = 8,
     .width = 75,
     .height = 25,
     .anchors = akTop | akRight,
     .cancel = true,
     .OnClick = &TNormalSet::btnCancelClick},
    {.kind = ComponentKind::Panel,
     .name = L"pnlTop",
     .field = &TNormalSet::pnlTop,
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grpInfo",
     .field = &TNormalSet::grpInfo,
     .parent = L"pnlTop",
     .left = 8,
     .top = 6,
     .width = 292,
     .height = 104,
     .bold = true},
    {.kind = ComponentKind::Label,
     .name = L"lblInfo",
     .field = &TNormalSet::lblInfo,
     .parent = L"grpInfo",
     .left = 10,
     .top = 20,
     .width = 272,
     .height = 76,
     .bold = false,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::Label,
     .name = L"lblReturnInfo",
     .field = &TNormalSet::lblReturnInfo,
     .parent = L"pnlTop",
     .left = 12,
     .top = 116,
     .width = 284,
     .height = 52,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::Label,
     .name = L"lblReturn",
     .field = &TNormalSet::lblReturn,
     .parent = L"pnlTop",
     .left = 12,
     .top = 172,
     .width = 284,
     .height = 26,
     .bold = true,
     .autoSize = false,
     .wordWrap = true},
};

const ComponentText<TGlobalString> kNormalSetTexts[] = {
    {L"TNormalSet", &TGlobalString::ParametersCaption},
    {L"grpInfo", &TGlobalString::ParametersNoteTitle},
    {L"btnSet", &TGlobalString::ParametersBtnSet},
    {L"btnCancel", &TGlobalString::ParametersBtnCancel},
};

TSettingItem CurrentItem() {
    return g_SchemeOptions->GetItem(g_byPage, g_iItem);
}

// The whole command, as the item's set instruction holds it.
std::wstring CommandText() {
    return platform::Trim(CurrentItem().SetInstruction);
}

// A rule title as a decimal integer, or the error a failed conversion shows.
std::int64_t DecimalTitle(const std::wstring& title) {
    const std::wstring text = platform::Trim(title);
    std::size_t digits = text.empty() || (text[0] != L'-' && text[0] != L'+') ? 0 : 1;
    const bool valid = text.size() > digits && text.size() - digits <= 10 &&
                       std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                                   [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (!valid) {
        throw platform::Exception(platform::Format(L"'%s' is not a valid integer value", {title}));
    }
    return std::stoll(text);
}

}  // namespace

std::wstring NormalSetReplyText(const std::uint8_t* data,
                                std::int32_t length,
                                std::int64_t offset,
                                std::int64_t count) {
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t end = std::min<std::int64_t>(offset + std::max<std::int64_t>(count, 0), length);
    std::wstring text;
    for (std::int64_t i = first; i < end; ++i) {
        text += platform::Format(L"%.2X ", {static_cast<std::int64_t>(data[i])});
    }
    return text;
}

TNormalSetRange NormalSetRange(const std::vector<std::wstring>& ruleTitles, std::int32_t replyLength) {
    TNormalSetRange range;
    range.offset = ruleTitles.empty() ? 0 : DecimalTitle(ruleTitles[0]);
    range.count = ruleTitles.size() < 2 ? replyLength - range.offset : DecimalTitle(ruleTitles[1]);
    return range;
}

TNormalSet::TNormalSet() : Form(L"TNormalSet", kNormalSetDesign) {
    BindLayout(*this, kNormalSetLayout);
}

void TNormalSet::FormCreate() {
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kNormalSetTexts);
    const TSettingItem item = CurrentItem();
    lblInfo->SetCaption(item.Note);
    lblReturnInfo->SetCaption(item.Explain);
    m_iPrinterItemValue.clear();
}

void TNormalSet::btnSetClick() {
    dialogs::TDialogCommand road;
    road.onUsb = [this](const platform::Bytes& bytes, std::int32_t index) { SetOnUsb(bytes, index); };
    dialogs::RunDialogCommand(CommandText(), road);
}

void TNormalSet::SetOnUsb(const platform::Bytes& bytes, std::int32_t index) {
    if (!DoWriteUSBPrinter(bytes, index)) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    if (CurrentItem().Icon == L"Ink_Adjust") {
        dialogs::ShowBox(g_GlobalString.SetPrinterSuccessI, g_GlobalString.HintTitle, platform::MsgIcon::Information);
        return;
    }
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    platform::clock().Sleep(sections.SleepBeforeRead);
    if (GetItemValueFromUSBPrinterI(index, m_iPrinterItemValue) || g_SchemeOptions->m_Sections.AffirmReadDisable) {
        btnCancel->SetCaption(g_GlobalString.ParametersBtnReturn);
        lblReturn->SetCaption(m_iPrinterItemValue);
    } else {
        dialogs::ShowBox(g_GlobalString.SetPrinterTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    }
}

bool TNormalSet::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

bool TNormalSet::GetItemValueFromUSBPrinterI(std::int32_t iUSBPrinter, std::wstring& strValue) {
    platform::Bytes reply;
    if (!dialogs::ReadUSBPrinterReply(iUSBPrinter, CommandText(), reply)) {
        return false;
    }
    const auto length = static_cast<std::int32_t>(reply.size());
    const TNormalSetRange range = NormalSetRange(CurrentItem().RuleValues.RuleTitle, length);
    strValue += NormalSetReplyText(reply.data(), length, range.offset, range.count);
    return true;
}

void TNormalSet::btnCancelClick() {
    Close();
}
