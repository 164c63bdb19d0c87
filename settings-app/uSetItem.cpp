#include "uSetItem.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>

#include "GlobalString.h"
#include "GroupHandOff.h"
#include "InkStateFile.h"
#include "PortLibraryText.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/port_library.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "uWaiting.h"

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

// The kind of a maintenance item: its name without "Ink_"; it names the pictures and the wizard.
std::wstring KindOf(const TSettingItem& item) {
    return platform::Copy(item.Name, 5, static_cast<std::ptrdiff_t>(item.Name.size()));
}

// The folder of the nozzle-check print files: the user's temporary folder and the program's name without its
// extension.
std::wstring PrintFileFolder() {
    const std::wstring program = platform::files().ProgramPath();
    const std::size_t slash = program.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? program : program.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        name.resize(dot);
    }
    return platform::files().TempFolder() + name + L"\\";
}

// Saves an embedded print job as a file, replacing one of the same name.
void SaveResourceToFile(const std::wstring& resource, const std::wstring& fileName) {
    const std::optional<platform::Bytes> data = platform::resources().Find(resource, platform::ResourceType::RCData);
    if (!data) {
        throw ResourceNotFound(resource);
    }
    if (!platform::files().WriteWholeFile(fileName, *data)) {
        throw platform::Exception(platform::Format(L"Cannot create file \"%s\"", {fileName}));
    }
}

// A menu may name an action the program has no picture for: its panel stays plain rather than failing.
Bitmap PictureOrNone(const std::wstring& name) {
    try {
        return Bitmap::FromResource(name);
    } catch (const ResourceNotFound&) {
        return Bitmap();
    }
}

// The change wizards, by the item's name without "Ink_": their step texts, in order, and whether they change
// the head (which the printer is told of at the start) or a cartridge. Step n shows the picture kind + n.
struct TWizardKind {
    const wchar_t* kind;
    std::vector<std::wstring TGlobalString::*> steps;
    bool head;
};
const TWizardKind kWizardKinds[] = {
    {L"Changehead",
     {&TGlobalString::Step1, &TGlobalString::Step2, &TGlobalString::Step3, &TGlobalString::Step4,
      &TGlobalString::Step5},
     true},
    {L"Changebox",
     {&TGlobalString::bStep1, &TGlobalString::bStep2, &TGlobalString::bStep3, &TGlobalString::bStep4,
      &TGlobalString::bStep5},
     false},
    {L"ChangeheadA",
     {&TGlobalString::A4Step1, &TGlobalString::A4Step2, &TGlobalString::A4Step3, &TGlobalString::A4Step4},
     true},
    {L"ChangeboxA", {&TGlobalString::A4Step5}, false},
};

const TWizardKind* FindWizardKind(const std::wstring& kind) {
    for (const TWizardKind& wizard : kWizardKinds) {
        if (kind == wizard.kind) {
            return &wizard;
        }
    }
    return nullptr;
}

// Tells the printer that a head change starts: the end of any earlier one, then the start.
const wchar_t kHeadChangeStart[] = L"1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F";

// A maintenance frame: the frame head, the class and command bytes, the tail.
std::wstring MaintenanceFrame(const std::wstring& bytes) {
    return L"1B 1D 1E " + bytes + L" 1B 1D 1F";
}

// Ends a head change, whether it ran or was cancelled.
const wchar_t kHeadChangeEnd[] = L"11 13 01";
// Port mode has no print file road: the printer prints its own nozzle check.
const wchar_t kPortModeNozzleCheck[] = L"1B 1D 1E 10 09 81 1B 1D 1F 0A 0A 0C";

const wchar_t kInkStateSection[] = L"Settings";
const wchar_t kDefaultLastDeepClean[] = L"2016/05/16 10:10:33";
const wchar_t kDeepCleanTimePicture[] = L"yyyy/MM/dd HH:mm:ss";

bool Confirm(const std::wstring& text) {
    return application().ShowMessageBox(text, g_GlobalString.HintTitle, platform::MsgIcon::Information,
                                        platform::MsgButtons::OKCancel) == platform::MsgResult::OK;
}

// Hours since the start of the calendar, for the deep-clean interval, which counts whole hours.
std::int64_t HourNumber(int year, int month, int day, int hour) {
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || hour < 0 || hour > 23) {
        throw platform::Exception(L"Invalid argument to date encode");
    }
    return static_cast<std::int64_t>(std::chrono::sys_days(date).time_since_epoch().count()) * 24 + hour;
}

// Whether now, cut to the hour, is less than 24 hours after the stored deep clean ("yyyy/mm/dd hh:nn:ss",
// read by position; minutes and seconds do not count). A stored time later than now (a clock set back) does
// not refuse: the printer's state is unknown then, and refusing would lock the user out until the clock
// caught up. A text whose positions hold no numbers raises the conversion error.
bool WithinDeepCleanInterval(const std::wstring& stored, const platform::LocalTime& now) {
    // Converted in this order, so that the first field that is no number is the one reported.
    const std::int32_t year = platform::StrToInt(platform::Copy(stored, 1, 4));
    const std::int32_t month = platform::StrToInt(platform::Copy(stored, 6, 2));
    const std::int32_t day = platform::StrToInt(platform::Copy(stored, 9, 2));
    const std::int32_t hour = platform::StrToInt(platform::Copy(stored, 12, 2));
    const std::int64_t last = HourNumber(year, month, day, hour);
    const std::int64_t current = HourNumber(now.year, now.month, now.day, now.hour);
    return current >= last && current - last < 24;
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
    WritePrintFiles();
    application().SetTitle(g_strPrinterName);
    ApplyTexts(*this, g_GlobalString, kSetItemTexts);
    m_USBPort = std::make_unique<TUSBPrinterPort>(false);
}

void TfrmSetItem::WritePrintFiles() {
    const std::wstring folder = PrintFileFolder();
    CreateFolder(folder);
    m_Holecheck1541 = folder + L"HoleCheck1541.prn";
    m_Holecheck1082 = folder + L"HoleCheck1082.prn";
    SaveResourceToFile(L"HoleCheck1541", m_Holecheck1541);
    SaveResourceToFile(L"HoleCheck1082", m_Holecheck1082);
}

void TfrmSetItem::LoadItemOptions() {
    const TSettingItem item = CurrentItem();
    const std::wstring kind = KindOf(item);
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
        const Bitmap picture = PictureOrNone(L"Img_" + kind);
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
    if (CurrentItem().Icon == L"Ink_Changehead") {
        CancelHeadChange();
        return;
    }
    Close();
}

void TfrmSetItem::lblWebClick() {
    platform::processes().ShellOpen(g_SchemeOptions->m_Sections.WebAddress);
}

void TfrmSetItem::FormClose(Component& /*Sender*/, TCloseAction& Action) {
    // A maintenance wait is under way: the dialog stays until it has ended.
    if (m_bWaiting) {
        Action = caNone;
        return;
    }
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

// The common start of the action button, the wizard's Start/Next and the head-change Cancel: the printer's
// port, then a fresh port object asks whether the printer is still busy. False when it is.
bool TfrmSetItem::MaintenanceStart(std::wstring& portName, bool& bOnline) {
    portName.clear();
    bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    return !dialogs::PrinterBusy(m_USBPort, portName);
}

// Before any confirmation: a road that addresses the printer by its USB index needs a USB port the port
// library lists; any other port would send the frames to whichever printer the library lists first. An
// offline printer is left to the online check, which refuses it in its own words.
bool TfrmSetItem::MaintenancePortListed(const std::wstring& portName, bool bOnline, bool bOnlineChecked) {
    if (g_byPage == pgBase || (!bOnline && bOnlineChecked)) {
        return true;
    }
    if (dialogs::IsUsbPortName(portName) && GetUSBPrinterIndex(portName) >= 0) {
        return true;
    }
    ShowPortNotListed(portName);
    return false;
}

void TfrmSetItem::ShowPortNotListed(const std::wstring& portName) {
    dialogs::ShowBox(platform::Format(g_GlobalString.PrinterNotFoundOnPort, {portName}), g_GlobalString.ErrorTitle,
                     platform::MsgIcon::Error);
}

// The road of one maintenance frame: port mode writes it to the chosen port; otherwise the USB printer of the
// printer's port gets it (command.onUsb, or a plain write followed by afterUsbWrite with the printer's index).
void TfrmSetItem::RunMaintenance(const std::wstring& frame,
                                 dialogs::TDialogCommand command,
                                 const std::function<void(std::int32_t index)>& afterUsbWrite) {
    if (!command.onUsb) {
        command.onUsb = [this, afterUsbWrite](const platform::Bytes& bytes, std::int32_t index) {
            DoWriteUSBPrinter(bytes, index);
            if (afterUsbWrite) {
                afterUsbWrite(index);
            }
        };
    }
    // The port was checked before the action started; one that changed since is refused the same way.
    command.onOtherPort = [this](const platform::Bytes&) {
        std::wstring portName;
        bool bOnline = false;
        GetPrinterPort(g_strPrinterName, portName, bOnline);
        ShowPortNotListed(portName);
    };
    dialogs::RunDialogCommand(frame, command);
}

// The wait of a maintenance action: (modelTime + 1) passes of 100 ms under the waiting window, handling
// messages so that the window stays alive; the dialog takes no input meanwhile, so no second action starts
// inside this one.
void TfrmSetItem::WaitForPrinter(std::uint32_t modelTime) {
    auto waiting = MakeForm<TfrmWaiting>();
    waiting->Show();
    {
        const dialogs::DisabledWhileSetting disabled{pnlTop, pnlBottom};
        m_bWaiting = true;
        const std::int64_t passes = static_cast<std::int64_t>(static_cast<std::int32_t>(modelTime)) + 1;
        for (std::int64_t pass = 0; pass < passes; ++pass) {
            platform::clock().Sleep(0);
            application().ProcessMessages();
            platform::clock().Sleep(100);
        }
        m_bWaiting = false;
    }
    waiting->Hide();
}

void TfrmSetItem::FinishMaintenance(const std::wstring& text) {
    dialogs::ShowBox(text, g_GlobalString.HintTitle, platform::MsgIcon::Information);
    Close();
}

void TfrmSetItem::btnInksetClick() {
    std::wstring portName;
    bool bOnline = false;
    if (!MaintenanceStart(portName, bOnline)) {
        return;
    }
    const TSettingItem item = CurrentItem();
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    if (item.Icon == L"Ink_Clean") {
        if (MaintenancePortListed(portName, bOnline, true)) {
            RunMaintenance(MaintenanceFrame(L"10 01"), {}, [this, &sections](std::int32_t) {
                WaitForPrinter(sections.CleanSleeptime);
                FinishMaintenance(g_GlobalString.CleanFinish);
            });
        }
    } else if (item.Icon == L"Ink_Deepclean") {
        if (MaintenancePortListed(portName, bOnline, true)) {
            DeepClean();
        }
    } else if (item.Icon == L"Ink_Bearing_Clean") {
        if (MaintenancePortListed(portName, bOnline, true) && Confirm(g_GlobalString.BearingClean)) {
            RunMaintenance(MaintenanceFrame(L"10 06"), {}, nullptr);
        }
    } else if (item.Icon == L"Ink_Changehead" || item.Icon == L"Ink_Changebox") {
        if (MaintenancePortListed(portName, bOnline, true)) {
            ChangeHeadOrBox(item.Icon == L"Ink_Changehead");
        }
    } else if (item.Icon == L"Ink_Holecheck") {
        if (MaintenancePortListed(portName, bOnline, true) && Confirm(g_GlobalString.Holecheck)) {
            NozzleCheck(item.Name);
        }
    } else if (item.Icon == L"Ink_Selftest") {
        if (MaintenancePortListed(portName, bOnline, false) && Confirm(g_GlobalString.CleanNewprinter)) {
            dialogs::TDialogCommand command;
            command.checkOnline = false;
            RunMaintenance(MaintenanceFrame(L"10 04"), command, [this, &sections](std::int32_t) {
                WaitForPrinter(sections.NewPrinterSleeptime);
                FinishMaintenance(g_GlobalString.InkFinish);
            });
        }
    }
}

void TfrmSetItem::DeepClean() {
    if (g_strInkIni.empty()) {
        // A start for one item has no main window to have prepared the file.
        g_strInkIni = PrepareInkStateFile();
    }
    const platform::IniFile ini(g_strInkIni);
    const std::wstring last = ini.ReadString(kInkStateSection, L"LastDeepcleantime", kDefaultLastDeepClean);
    const std::int32_t degree = ini.ReadInteger(kInkStateSection, L"Degree", 0);
    const platform::LocalTime now = platform::clock().Now();
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    if (sections.DeepcleanIntervaltime != 0 && WithinDeepCleanInterval(last, now)) {
        dialogs::ShowBox(g_GlobalString.DeepCleanInterval, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    if (!Confirm(g_GlobalString.DeepClean)) {
        return;
    }
    RunMaintenance(MaintenanceFrame(L"10 02"), {}, [this, ini, degree, now, &sections](std::int32_t) {
        WaitForPrinter(sections.DeepcleanSleeptime);
        dialogs::ShowBox(g_GlobalString.DeepCleanFinish, g_GlobalString.HintTitle, platform::MsgIcon::Information);
        ini.WriteString(kInkStateSection, L"LastDeepcleantime", platform::FormatDateTime(kDeepCleanTimePicture, now));
        ini.WriteInteger(kInkStateSection, L"Degree", degree + 1);
        Close();
    });
}

void TfrmSetItem::ChangeHeadOrBox(bool bHead) {
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    dialogs::TDialogCommand command;
    if (bHead) {
        command.portModeSuccess = g_GlobalString.SetPrinterSuccess;
    }
    // Asked once the printer is known to be online; a head change cancelled here still ends the change it
    // started, over the device path of the printer the library listed last.
    command.confirm = [this, bHead] {
        if (Confirm(g_GlobalString.StarorCancel)) {
            return true;
        }
        if (bHead) {
            for (const wchar_t* bytes : {L"10 08", kHeadChangeEnd}) {
                const platform::Bytes frame = HexTextToBytes(MaintenanceFrame(bytes));
                WriteToPortFile(frame.data(), static_cast<std::int32_t>(frame.size()), g_USBPort);
            }
        }
        Close();
        return false;
    };
    RunMaintenance(
        MaintenanceFrame(bHead ? L"10 07" : L"10 05"), command, [this, bHead, &sections](std::int32_t index) {
            WaitForPrinter(bHead ? sections.ChangeHeadTime : sections.ChangeBoxTime);
            dialogs::ShowBox(g_GlobalString.InkFinish, g_GlobalString.HintTitle, platform::MsgIcon::Information);
            if (bHead) {
                DoWriteUSBPrinter(HexTextToBytes(MaintenanceFrame(kHeadChangeEnd)), index);
            }
            Close();
        });
}

void TfrmSetItem::NozzleCheck(const std::wstring& itemName) {
    dialogs::TDialogCommand command;
    command.onUsb = [this, itemName](const platform::Bytes&, std::int32_t index) {
        const std::wstring* file = itemName == L"Ink_Holecheck1541"   ? &m_Holecheck1541
                                   : itemName == L"Ink_Holecheck1082" ? &m_Holecheck1082
                                                                      : nullptr;
        if (!file) {
            return;
        }
        const std::optional<platform::Bytes> job = platform::files().ReadWholeFile(*file);
        if (!job) {
            throw platform::Exception(platform::Format(L"Cannot open file \"%s\"", {*file}));
        }
        m_USBPort->WriteData(index, job->data(), static_cast<std::uint32_t>(job->size()));
    };
    RunMaintenance(kPortModeNozzleCheck, command, nullptr);
}

void TfrmSetItem::btnCleanClick() {
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (!MaintenancePortListed(portName, bOnline, true) || !Confirm(g_GlobalString.Clean)) {
        return;
    }
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    RunMaintenance(MaintenanceFrame(L"10 01"), {}, [this, &sections](std::int32_t) {
        WaitForPrinter(sections.CleanSleeptime);
        FinishMaintenance(g_GlobalString.CleanFinish);
    });
}

void TfrmSetItem::btnNextClick() {
    std::wstring portName;
    bool bOnline = false;
    if (!MaintenanceStart(portName, bOnline)) {
        return;
    }
    const TSettingItem item = CurrentItem();
    const TWizardKind* wizard = FindWizardKind(KindOf(item));
    if (!wizard) {
        return;
    }
    // The caption still reads Start until a first press has reached the printer.
    if (btnNext->Caption() == g_GlobalString.btnInkset) {
        if (!MaintenancePortListed(portName, bOnline, true)) {
            return;
        }
        bool started = false;
        dialogs::TDialogCommand command;
        command.onUsb = [this, &started](const platform::Bytes& bytes, std::int32_t index) {
            DoWriteUSBPrinter(bytes, index);
            started = true;
        };
        RunMaintenance(wizard->head ? kHeadChangeStart : L"", command, nullptr);
        if (!started) {
            return;
        }
        btnNext->SetCaption(g_GlobalString.Next);
    }
    const auto steps = static_cast<std::int32_t>(wizard->steps.size());
    const std::int32_t next = m_count + 1 > steps ? 1 : m_count + 1;
    if (next == steps) {
        btnInkset->SetEnabled(true);
        btnNext->SetEnabled(false);
    }
    btnBack->SetEnabled(true);
    ShowWizardStep(next);
}

void TfrmSetItem::btnBackClick() {
    const std::int32_t step = std::max(m_count - 1, 1);
    if (step == 1) {
        btnBack->SetEnabled(false);
    }
    btnInkset->SetEnabled(false);
    btnNext->SetEnabled(true);
    ShowWizardStep(step);
}

void TfrmSetItem::ShowWizardStep(std::int32_t step) {
    const TSettingItem item = CurrentItem();
    const std::wstring kind = KindOf(item);
    const TWizardKind* wizard = FindWizardKind(kind);
    if (!wizard) {
        return;
    }
    const Bitmap picture = PictureOrNone(kind + std::to_wstring(step));
    tsb3->SetBrushBitmap(picture);
    SetHeight(390);
    if (!picture.Empty()) {
        tsb3->SetHeight(picture.Height());
    }
    lblInfo->SetCaption(g_GlobalString.*(wizard->steps[static_cast<std::size_t>(step - 1)]));
    m_count = step;
}

// The Cancel of a head change ends it at the printer: port mode sends the cancel frame and stays; otherwise
// the cancel and the end of the change go to the printer of the port, offline or not, and the dialog closes.
void TfrmSetItem::CancelHeadChange() {
    std::wstring portName;
    bool bOnline = false;
    if (!MaintenanceStart(portName, bOnline)) {
        return;
    }
    if (g_byPage != pgBase && !bOnline) {
        dialogs::ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
    }
    if (MaintenancePortListed(portName, bOnline, false)) {
        dialogs::TDialogCommand command;
        command.portModeSuccess = g_GlobalString.SetPrinterSuccess;
        command.checkOnline = false;
        RunMaintenance(MaintenanceFrame(L"10 08"), command, [this](std::int32_t index) {
            DoWriteUSBPrinter(HexTextToBytes(MaintenanceFrame(kHeadChangeEnd)), index);
        });
    }
    if (g_byPage != pgBase) {
        Close();
    }
}
