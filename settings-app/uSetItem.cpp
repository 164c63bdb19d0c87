#include "uSetItem.h"

#include <algorithm>
#include <array>

#include "GlobalString.h"
#include "GroupHandOff.h"
#include "PortLibraryText.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/process.h"
#include "platform/text.h"

using namespace platform::forms;

namespace {

const FormDesign kSetItemDesign = {
    .clientWidth = 358,
    .clientHeight = 235,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = 0,
    .formStyle = fsStayOnTop,
    .OnCreate = &TfrmSetItem::FormCreate,
    .OnShow = &TfrmSetItem::FormShow,
    .OnClose = &TfrmSetItem::FormClose,
    .OnDestroy = &TfrmSetItem::FormDestroy,
};

// The three option panels share the room above the explanation; the one in use fills it, the others are put
// away when the dialog is built from its item.
const ComponentDesign kSetItemLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlBottom",
     .field = &TfrmSetItem::pnlBottom,
     .height = 36,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Panel,
     .name = L"pnlTop",
     .field = &TfrmSetItem::pnlTop,
     .align = alClient,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Panel,
     .name = L"pnlType1",
     .field = &TfrmSetItem::pnlType1,
     .parent = L"pnlTop",
     .height = 80,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::RadioGroup,
     .name = L"rg1",
     .field = &TfrmSetItem::rg1,
     .parent = L"pnlType1",
     .align = alClient,
     .caption = L"Options",
     .OnClick = &TfrmSetItem::rg1Click},
    {.kind = ComponentKind::Panel,
     .name = L"pnlType2",
     .field = &TfrmSetItem::pnlType2,
     .parent = L"pnlTop",
     .top = 80,
     .height = 100,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::Label,
     .name = L"lbl1",
     .field = &TfrmSetItem::lbl1,
     .parent = L"pnlType2",
     .align = alTop,
     .caption = L"Options"},
    {.kind = ComponentKind::ListBox,
     .name = L"lst2",
     .field = &TfrmSetItem::lst2,
     .parent = L"pnlType2",
     .align = alClient,
     .showHint = true,
     .tabWidth = 4,
     .OnClick = &TfrmSetItem::lst2Click,
     .OnMouseEnter = &TfrmSetItem::lst2MouseEnter,
     .OnMouseLeave = &TfrmSetItem::lst2MouseLeave,
     .OnEnter = &TfrmSetItem::lst2Enter,
     .OnExit = &TfrmSetItem::lst2Exit},
    {.kind = ComponentKind::Panel,
     .name = L"pnlType3",
     .field = &TfrmSetItem::pnlType3,
     .parent = L"pnlTop",
     .top = 180,
     .height = 100,
     .align = alTop,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::ScrollBox,
     .name = L"tsb3",
     .field = &TfrmSetItem::tsb3,
     .parent = L"pnlType3",
     .height = 100,
     .align = alTop},
    {.kind = ComponentKind::Panel,
     .name = L"pnlInfo",
     .field = &TfrmSetItem::pnlInfo,
     .parent = L"pnlTop",
     .height = 95,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &TfrmSetItem::grp1,
     .parent = L"pnlInfo",
     .align = alClient,
     .caption = L"Explanation",
     .bold = true},
    {.kind = ComponentKind::Label,
     .name = L"lblInfo",
     .field = &TfrmSetItem::lblInfo,
     .parent = L"grp1",
     .left = 8,
     .top = 18,
     .width = 342,
     .height = 52,
     .anchors = akLeft | akTop | akRight,
     .bold = false,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::Label,
     .name = L"lblWeb",
     .field = &TfrmSetItem::lblWeb,
     .parent = L"grp1",
     .left = 8,
     .top = 74,
     .anchors = akLeft | akBottom,
     .caption = kDefaultWebAddress,
     .visible = false,
     .bold = false,
     .underline = true,
     .fontColor = clBlue,
     .cursor = crHandPoint,
     .OnClick = &TfrmSetItem::lblWebClick},
    {.kind = ComponentKind::Button,
     .name = L"btnBack",
     .field = &TfrmSetItem::btnBack,
     .parent = L"pnlBottom",
     .left = 10,
     .top = 6,
     .width = 65,
     .height = 25,
     .caption = L"Back",
     .OnClick = &TfrmSetItem::btnBackClick},
    {.kind = ComponentKind::Button,
     .name = L"btnInkset",
     .field = &TfrmSetItem::btnInkset,
     .parent = L"pnlBottom",
     .left = 32,
     .top = 6,
     .width = 65,
     .height = 25,
     .anchors = akTop | akRight,
     .caption = L"OK",
     .OnClick = &TfrmSetItem::btnInksetClick},
    {.kind = ComponentKind::Button,
     .name = L"btnSet",
     .field = &TfrmSetItem::btnSet,
     .parent = L"pnlBottom",
     .left = 103,
     .top = 6,
     .width = 65,
     .height = 25,
     .anchors = akTop | akRight,
     .caption = L"Set",
     .enabled = false,
     .OnClick = &TfrmSetItem::btnSetClick},
    {.kind = ComponentKind::Button,
     .name = L"btnNext",
     .field = &TfrmSetItem::btnNext,
     .parent = L"pnlBottom",
     .left = 156,
     .top = 6,
     .width = 65,
     .height = 25,
     .caption = L"Start",
     .OnClick = &TfrmSetItem::btnNextClick},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .field = &TfrmSetItem::btnCancel,
     .parent = L"pnlBottom",
     .left = 189,
     .top = 6,
     .width = 65,
     .height = 25,
     .anchors = akTop | akRight,
     .caption = L"Cancel",
     .cancel = true,
     .OnClick = &TfrmSetItem::btnCancelClick},
    {.kind = ComponentKind::Button,
     .name = L"btnDefault",
     .field = &TfrmSetItem::btnDefault,
     .parent = L"pnlBottom",
     .left = 286,
     .top = 6,
     .width = 65,
     .height = 25,
     .anchors = akTop | akRight,
     .caption = L"Default",
     .OnClick = &TfrmSetItem::btnDefaultClick},
    {.kind = ComponentKind::Button,
     .name = L"btnClean",
     .field = &TfrmSetItem::btnClean,
     .parent = L"pnlBottom",
     .width = 65,
     .align = alRight,
     .caption = L"Clean",
     .OnClick = &TfrmSetItem::btnCleanClick},
};

const ComponentText<TGlobalString> kSetItemTexts[] = {
    {L"TfrmSetItem", &TGlobalString::ParametersCaption},
    {L"rg1", &TGlobalString::ParametersTitle},
    {L"lbl1", &TGlobalString::ParametersTitle},
    {L"grp1", &TGlobalString::ParametersNoteTitle},
    {L"btnSet", &TGlobalString::ParametersBtnSet},
    {L"btnCancel", &TGlobalString::ParametersBtnCancel},
    {L"btnDefault", &TGlobalString::ParametersBtnDefault},
    {L"btnInkset", &TGlobalString::ParametersBtnOK},
    {L"btnBack", &TGlobalString::Back},
    // The change wizard knows its first step by this "Start" caption.
    {L"btnNext", &TGlobalString::btnInkset},
    {L"btnClean", &TGlobalString::BtnClean},
};

// The lowest the option panels may be before the dialog grows to make room.
constexpr int kMinRadioPanelHeight = 78;
constexpr int kMinListPanelHeight = 100;

TSettingItem CurrentItem() {
    return g_SchemeOptions->GetItem(g_byPage, g_iItem);
}

void PutAway(Panel* panel) {
    panel->SetAlign(alNone);
    panel->SetHeight(0);
    panel->Hide();
}

void FillWith(Panel* panel) {
    panel->SetAlign(alClient);
    panel->Show();
}


}  // namespace

TfrmSetItem::TfrmSetItem() : Form(L"TfrmSetItem", kSetItemDesign) {
    BindLayout(*this, kSetItemLayout);
}

void TfrmSetItem::FormCreate() {
    // The nozzle-check print files come with the maintenance actions; until then their paths stay empty.
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kSetItemTexts);
    m_USBPort = std::make_unique<TUSBPrinterPort>(false);
}

void TfrmSetItem::LoadItemOptions() {
    const TSettingItem item = CurrentItem();
    const std::wstring kind = platform::Copy(item.Name, 5, static_cast<std::ptrdiff_t>(item.Name.size()));
    btnSet->SetEnabled(item.iSubGroup >= 1);
    lblInfo->SetCaption(platform::Copy(item.Icon, 1, 3) == L"Ink" ? item.Explain : item.Note);
    SetCaption(item.Title);

    const bool mask = item.nParameterByte == ptMask;
    std::vector<std::wstring> options = item.RuleValues.RuleTitle;
    if (mask && options.size() > static_cast<std::size_t>(kMaskOptionCount)) {
        options.resize(kMaskOptionCount);  // a mask has no bit for more
    }
    const auto count = static_cast<int>(options.size());
    lst2->Clear();

    // A mask item always gets the list, so that what it writes is a mask of the chosen options.
    if ((count == 2 || count == 3) && !mask) {
        m_iShowMode = 0;
        PutAway(pnlType2);
        PutAway(pnlType3);
        FillWith(pnlType1);
        rg1->SetItems(options);
        SetHeight(21 * count + 200);
        btnInkset->Hide();
        btnBack->Hide();
        btnNext->Hide();
        btnClean->Hide();
        if (pnlType1->Height() < kMinRadioPanelHeight) {
            SetHeight(Height() + kMinRadioPanelHeight - pnlType1->Height());
        }
    } else if (count == 1) {
        m_iShowMode = 2;
        PutAway(pnlType2);
        PutAway(pnlType1);
        FillWith(pnlType3);
        btnDefault->Hide();
        // A menu may name an action the program has no picture for: it shows the plain panel rather than
        // failing to open.
        Bitmap picture;
        try {
            picture = Bitmap::FromResource(L"Img_" + kind);
        } catch (const ResourceNotFound&) {
            picture = Bitmap();
        }
        tsb3->SetBrushBitmap(picture);
        tsb3->Invalidate();
        SetHeight(390);
        if (!picture.Empty()) {
            tsb3->SetHeight(picture.Height());
        }
        btnSet->Hide();
        btnInkset->SetLeft(108);
        btnInkset->Show();
        btnBack->Hide();
        btnNext->Hide();
        btnClean->Hide();
        if (item.Icon == L"Ink_Holecheck") {
            btnClean->Show();
        }
        if (kind == L"Changebox" || kind == L"Changehead" || kind == L"ChangeboxA" || kind == L"ChangeheadA") {
            btnBack->SetLeft(20);
            btnBack->Show();
            btnBack->SetEnabled(false);
            btnNext->SetLeft(100);
            btnNext->Show();
            btnInkset->SetLeft(180);
            btnInkset->SetEnabled(false);
            btnCancel->SetLeft(260);
        }
        lblWeb->Show();
        if (g_SchemeOptions->m_Sections.PrinterName.find(L"Varintex") != std::wstring::npos) {
            lblWeb->SetCaption(g_SchemeOptions->m_Sections.WebAddress);
        }
    } else {
        m_iShowMode = 1;
        PutAway(pnlType1);
        PutAway(pnlType3);
        FillWith(pnlType2);
        lst2->SetMultiSelect(mask);
        lst2->SetItems(options);
        btnInkset->Hide();
        btnBack->Hide();
        btnNext->Hide();
        btnClean->Hide();
        if (mask) {
            lst2->SetHint(g_GlobalString.CanSelectMultiItem);
            SetHeight(320);
        } else {
            lst2->SetHint(g_GlobalString.CanSelectAnItem);
            SetHeight(count <= 10 ? 260 : 330);
        }
        if (pnlType2->Height() < kMinListPanelHeight) {
            SetHeight(Height() + kMinListPanelHeight - pnlType2->Height());
        }
    }

    if (item.Icon == L"Ink_Adjust") {
        btnInkset->SetLeft(28);
        btnInkset->Show();
        btnInkset->SetCaption(g_GlobalString.btnInkPrn);
    } else if (item.Icon == L"Ink_Holecheck") {
        btnInkset->SetCaption(g_GlobalString.btnInkPrn);
    }

    lst2->ClearSelection();
    lst2->SetItemIndex(-1);
    m_iValueIndex = m_iShowMode == 2 ? 0 : kNothingChosen;
}

void TfrmSetItem::FormShow() {
    const TSettingItem item = CurrentItem();
    if (platform::StartsWith(item.Icon, L"Ink") && item.Icon != L"Ink_Adjust") {
        LoadItemOptions();
        bool bOnline = false;
        GetPrinterPort(g_strPrinterName, g_strPort, bOnline);
        if (!bOnline) {
            dialogs::ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
            return;
        }
        if (dialogs::IsUsbPortName(g_strPort)) {
            g_iPrinter = GetUSBPrinterIndex(g_strPort);
        }
        platform::PortLibrary& library = platform::portLibrary();
        g_USBPort.clear();
        const std::int32_t count = library.USBPrintRefresh();
        for (std::int32_t index = 0; index < count; ++index) {
            std::array<char, 1024> buffer{};
            std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
            library.GetUSBPrintFileName(index, buffer.data(), length);
            g_USBPort = PortLibraryText(buffer.data(), buffer.size());
        }
    } else {
        dialogs::ReadWithWaitingWindow([this] {
            m_bHasSetPrinter = false;
            LoadItemOptions();
            return GetCurrentItemValueFromPrinterI();
        });
    }

    const std::wstring& webAddress = g_SchemeOptions->m_Sections.WebAddress;
    if (webAddress == L"0") {
        lblWeb->Hide();
    } else {
        lblWeb->Show();
        lblWeb->SetCaption(webAddress);
    }
}

dialogs::TDialogReadRow TfrmSetItem::ReadRow() {
    return {
        .dialog = this,
        .value = &m_iPrinterItemValue,
        .read = [](std::int32_t index,
                   std::int32_t& value) { return g_SchemeOptions->GetItemValueFromUSBPrinter(index, value); },
        .show = [this](std::int32_t value) { ShowItemValue(value); },
        .unlistedFallback = [] { return CurrentItem().ValueDefault; },
    };
}

bool TfrmSetItem::GetCurrentItemValueFromPrinterI() {
    return dialogs::GetCurrentItemValueFromPrinterI(ReadRow());
}

void TfrmSetItem::ShowItemValue(std::int32_t value) {
    m_iValueIndex = kNothingChosen;
    const TSettingItem item = CurrentItem();
    if (item.nParameterByte == ptMask) {
        m_iValueIndex = value;
        lst2->ClearSelection();
        const auto count = std::min(static_cast<int>(lst2->Items().size()), kMaskOptionCount);
        for (int i = 0; i < count; ++i) {
            if ((value >> MaskBitOfOption(i + 1)) & 1) {
                lst2->SetSelected(i, true);
            }
        }
    } else {
        lst2->SetItemIndex(-1);
        rg1->SetItemIndex(-1);
        const std::vector<std::int32_t>& values = item.RuleValues.RuleValue;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i] == value) {
                m_iValueIndex = static_cast<std::int32_t>(i);
            }
        }
        // Moving the radio group runs its click handler, which records the same index.
        if (m_iShowMode == 0) {
            rg1->SetItemIndex(m_iValueIndex < 0 ? -1 : m_iValueIndex);
        } else {
            lst2->SetItemIndex(m_iValueIndex < 0 ? -1 : m_iValueIndex);
        }
    }
    btnSet->SetEnabled(item.iSubGroup >= 1);
}

void TfrmSetItem::rg1Click() {
    btnSet->SetEnabled(true);
    m_iValueIndex = rg1->ItemIndex();
}

void TfrmSetItem::lst2Click() {
    btnSet->SetEnabled(true);
    if (CurrentItem().nParameterByte == ptMask) {
        m_iValueIndex = 0;
        const auto count = std::min(static_cast<int>(lst2->Items().size()), kMaskOptionCount);
        for (int i = 0; i < count; ++i) {
            if (lst2->Selected(i)) {
                m_iValueIndex |= 1 << MaskBitOfOption(i + 1);
            }
        }
    } else {
        m_iValueIndex = lst2->ItemIndex();
    }
}

void TfrmSetItem::btnDefaultClick() {
    m_iValueIndex = kNothingChosen;
    ShowItemValue(CurrentItem().ValueDefault);
    btnSet->SetEnabled(true);
}

// Over a multi-select list the Ctrl key is held for the user, so that plain clicks add options to the
// selection or take them out.
void TfrmSetItem::lst2MouseEnter() {
    if (lst2->MultiSelect() && !m_bCtrlHeld) {
        application().KeyEvent(kKeyControl, false);
        m_bCtrlHeld = true;
    }
}

void TfrmSetItem::lst2MouseLeave() {
    ReleaseCtrlHold();
}

void TfrmSetItem::ReleaseCtrlHold() {
    if (m_bCtrlHeld) {
        m_bCtrlHeld = false;
        application().KeyEvent(kKeyControl, true);
    }
}

void TfrmSetItem::btnSetClick() {
    if (m_iValueIndex < 0) {
        dialogs::ShowBox(g_GlobalString.HaveToSelectAnItem, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    const TSettingItem item = CurrentItem();
    const std::int32_t k = m_iShowMode == 0 ? rg1->ItemIndex() : m_iShowMode == 1 ? lst2->ItemIndex() : 0;
    std::int32_t value = m_iValueIndex;
    if (item.nParameterByte != ptMask) {
        const std::vector<std::int32_t>& values = item.RuleValues.RuleValue;
        if (k < 0 || static_cast<std::size_t>(k) >= values.size()) {
            dialogs::ShowBox(g_GlobalString.HaveToSelectAnItem, g_GlobalString.HintTitle, platform::MsgIcon::Error);
            return;
        }
        value = values[static_cast<std::size_t>(k)];
    }
    const std::optional<std::wstring> command =
        dialogs::FormatItemSetCommand(item.SetInstruction, item.nParameterByte, value);
    if (!command) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    dialogs::TDialogCommand road;
    road.onUsb = [this, k](const platform::Bytes& bytes, std::int32_t index) { SetOnUsb(bytes, index, k); };
    dialogs::RunDialogCommand(dialogs::SettingsWriteSequence(g_SchemeOptions->m_Sections, {*command}), road);
}

void TfrmSetItem::SetOnUsb(const platform::Bytes& bytes, std::int32_t index, std::int32_t k) {
    // No second set, cancel or default may start while the read-back pumps messages.
    btnSet->SetEnabled(false);
    const dialogs::DisabledWhileSetting disabled{pnlTop, btnCancel, btnDefault};
    const TSettingItem item = CurrentItem();
    if (!DoWriteUSBPrinter(bytes, index)) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    if (item.Icon == L"Ink_Adjust") {
        dialogs::ShowBox(g_GlobalString.SetPrinterSuccessI, g_GlobalString.HintTitle, platform::MsgIcon::Information);
        return;
    }
    m_bHasSetPrinter = true;
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    platform::clock().Sleep(sections.SleepBeforeRead);
    const bool readBack = g_SchemeOptions->GetItemValueFromUSBPrinter(index, m_iPrinterItemValue);
    if (!readBack && !g_SchemeOptions->m_Sections.AffirmReadDisable) {
        dialogs::ShowBox(g_GlobalString.SetPrinterTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    ShowItemValue(m_iPrinterItemValue);
    // Only a value the printer confirmed is the item's current value.
    if (readBack) {
        g_SchemeOptions->SetItem_ValueCurrent(g_byPage, g_iItem, m_iPrinterItemValue);
    }
    btnCancel->SetCaption(g_GlobalString.ParametersBtnReturn);
    HandOff(k);
}

void TfrmSetItem::HandOff(std::int32_t k) {
    const TSettingItem item = CurrentItem();
    TGroupHandOff* handOff = GetGroupHandOff();
    if (item.iSubGroup <= 0 || !handOff) {
        dialogs::ShowBox(g_GlobalString.SetPrinterSuccessI, g_GlobalString.HintTitle, platform::MsgIcon::Information);
        Close();
        return;
    }
    const std::vector<std::wstring>& titles = item.RuleValues.RuleTitle;
    const std::wstring caption =
        k >= 0 && static_cast<std::size_t>(k) < titles.size() ? titles[static_cast<std::size_t>(k)] : L"";
    if (item.iSubGroup == 64 && k >= 3) {
        handOff->ShowInvoiceType(k, caption);
    } else {
        handOff->ShowSubGroup(caption, item.iSubGroup);
    }
}

bool TfrmSetItem::DoWriteUSBPrinter(const platform::Bytes& bytes, std::int32_t iUSBPrinter) {
    return dialogs::DoWriteUSBPrinter(bytes, iUSBPrinter);
}

void TfrmSetItem::btnCancelClick() {
    Close();
}

void TfrmSetItem::lblWebClick() {
    platform::processes().ShellOpen(g_SchemeOptions->m_Sections.WebAddress);
}

void TfrmSetItem::FormClose() {
    ReleaseCtrlHold();
    // The driver's page reads the values file once the program has ended.
    if (m_bHasSetPrinter && g_byStartPage == pgSingleItem) {
        g_SchemeOptions->CreatePrinterValuesIni_ForPage(pgSaveValues);
    }
}

void TfrmSetItem::FormDestroy() {
    ReleaseCtrlHold();
    m_USBPort.reset();
}

void TfrmSetItem::btnInksetClick() {}

void TfrmSetItem::btnCleanClick() {}

void TfrmSetItem::btnNextClick() {}

void TfrmSetItem::btnBackClick() {}
