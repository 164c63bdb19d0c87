#include "uMain2.h"

#include <algorithm>

#include "DialogMethods.h"
#include "GlobalString.h"
#include "InkStateFile.h"
#include "MainDialogs.h"
#include "PrintQueueGuard.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uWarning.h"

using namespace platform::forms;

std::vector<std::wstring> g_slArguments;

namespace {

const FormDesign kMainDesign = {
    .clientWidth = 486,
    .clientHeight = 539,
    .position = poScreenCenter,
    .borderStyle = bsSingle,
    .borderIcons = biSystemMenu | biMinimize,
    .formStyle = fsStayOnTop,
    .OnCreate = &TfrmMainView2::FormCreate,
    .OnShow = &TfrmMainView2::FormShow,
    .OnDestroy = &TfrmMainView2::FormDestroy,
};

// The standard icon: 48 x 40, so a slot button is 54 x 46 and the rows are 59 apart.
constexpr int kIconWidth = 48;
constexpr int kIconHeight = 40;
constexpr int kGlyphMargin = 6;
constexpr int kRowGap = 13;
constexpr int kFirstRowTop = 15;
constexpr int kLeftColumn = 12;
constexpr int kRightColumn = 210;
// A glyph at least this wide leaves no room for a second column.
constexpr int kNarrowGlyph = 60;
constexpr int kModeGroupLeft = 205;
constexpr int kWindowWidth = 440;
// The box of a slot's value text, at most.
constexpr int kValueWidth = 128;
constexpr int kValueHeight = 50;
// Below the rows: the mode button's group and the bottom line.
constexpr int kWindowExtra = 110;

constexpr int DesignedButtonTop(int slot) {
    return (slot / 2) * (kIconHeight + kGlyphMargin + kRowGap) + kFirstRowTop;
}
constexpr int DesignedButtonLeft(int slot) {
    return slot % 2 == 0 ? kLeftColumn : kRightColumn;
}

ComponentDesign SlotButton(const wchar_t* name, BitBtn* TfrmMainView2::*field, int slot) {
    return {.kind = ComponentKind::BitBtn,
            .name = name,
            .field = field,
            .parent = L"grp1",
            .left = DesignedButtonLeft(slot),
            .top = DesignedButtonTop(slot),
            .width = kIconWidth + kGlyphMargin,
            .height = kIconHeight + kGlyphMargin,
            .showHint = true,
            .tag = slot + 1,
            .OnClick = &TfrmMainView2::btnClick};
}

ComponentDesign SlotTitle(const wchar_t* name, Label* TfrmMainView2::*field, int slot) {
    return {.kind = ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = L"grp1",
            .left = DesignedButtonLeft(slot) + kIconWidth + kGlyphMargin + 10,
            .top = DesignedButtonTop(slot) + 3,
            .bold = true};
}

ComponentDesign SlotValue(const wchar_t* name, Label* TfrmMainView2::*field, int slot) {
    return {.kind = ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = L"grp1",
            .left = DesignedButtonLeft(slot) + kIconWidth + kGlyphMargin + 10,
            .top = DesignedButtonTop(slot) + 21,
            .width = kValueWidth,
            .height = kIconHeight + kGlyphMargin + kRowGap - 18,
            .autoSize = false,
            .wordWrap = true};
}

// The page fills the window above the bottom line and follows its height; the mode button's group keeps its
// distance to the bottom, so that it stays beside the last row when the window is lowered.
const ComponentDesign kMainLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnlTop",
     .field = &TfrmMainView2::pnlTop,
     .width = 486,
     .height = 500,
     .anchors = akLeft | akTop | akRight | akBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &TfrmMainView2::grp1,
     .parent = L"pnlTop",
     .align = alClient},
    SlotButton(L"btn01", &TfrmMainView2::btn01, 0),
    SlotButton(L"btn02", &TfrmMainView2::btn02, 1),
    SlotButton(L"btn03", &TfrmMainView2::btn03, 2),
    SlotButton(L"btn04", &TfrmMainView2::btn04, 3),
    SlotButton(L"btn05", &TfrmMainView2::btn05, 4),
    SlotButton(L"btn06", &TfrmMainView2::btn06, 5),
    SlotButton(L"btn07", &TfrmMainView2::btn07, 6),
    SlotButton(L"btn08", &TfrmMainView2::btn08, 7),
    SlotButton(L"btn09", &TfrmMainView2::btn09, 8),
    SlotButton(L"btn10", &TfrmMainView2::btn10, 9),
    SlotButton(L"btn11", &TfrmMainView2::btn11, 10),
    SlotButton(L"btn12", &TfrmMainView2::btn12, 11),
    SlotButton(L"btn13", &TfrmMainView2::btn13, 12),
    SlotButton(L"btn14", &TfrmMainView2::btn14, 13),
    SlotButton(L"btn15", &TfrmMainView2::btn15, 14),
    SlotTitle(L"lbl01", &TfrmMainView2::lbl01, 0),
    SlotTitle(L"lbl02", &TfrmMainView2::lbl02, 1),
    SlotTitle(L"lbl03", &TfrmMainView2::lbl03, 2),
    SlotTitle(L"lbl04", &TfrmMainView2::lbl04, 3),
    SlotTitle(L"lbl05", &TfrmMainView2::lbl05, 4),
    SlotTitle(L"lbl06", &TfrmMainView2::lbl06, 5),
    SlotTitle(L"lbl07", &TfrmMainView2::lbl07, 6),
    SlotTitle(L"lbl08", &TfrmMainView2::lbl08, 7),
    SlotTitle(L"lbl09", &TfrmMainView2::lbl09, 8),
    SlotTitle(L"lbl10", &TfrmMainView2::lbl10, 9),
    SlotTitle(L"lbl11", &TfrmMainView2::lbl11, 10),
    SlotTitle(L"lbl12", &TfrmMainView2::lbl12, 11),
    SlotTitle(L"lbl13", &TfrmMainView2::lbl13, 12),
    SlotTitle(L"lbl14", &TfrmMainView2::lbl14, 13),
    SlotTitle(L"lbl15", &TfrmMainView2::lbl15, 14),
    SlotValue(L"lbl012", &TfrmMainView2::lbl012, 0),
    SlotValue(L"lbl022", &TfrmMainView2::lbl022, 1),
    SlotValue(L"lbl032", &TfrmMainView2::lbl032, 2),
    SlotValue(L"lbl042", &TfrmMainView2::lbl042, 3),
    SlotValue(L"lbl052", &TfrmMainView2::lbl052, 4),
    SlotValue(L"lbl062", &TfrmMainView2::lbl062, 5),
    SlotValue(L"lbl072", &TfrmMainView2::lbl072, 6),
    SlotValue(L"lbl082", &TfrmMainView2::lbl082, 7),
    SlotValue(L"lbl092", &TfrmMainView2::lbl092, 8),
    SlotValue(L"lbl102", &TfrmMainView2::lbl102, 9),
    SlotValue(L"lbl112", &TfrmMainView2::lbl112, 10),
    SlotValue(L"lbl122", &TfrmMainView2::lbl122, 11),
    SlotValue(L"lbl132", &TfrmMainView2::lbl132, 12),
    SlotValue(L"lbl142", &TfrmMainView2::lbl142, 13),
    SlotValue(L"lbl152", &TfrmMainView2::lbl152, 14),
    {.kind = ComponentKind::GroupBox,
     .name = L"grp2",
     .field = &TfrmMainView2::grp2,
     .parent = L"grp1",
     .left = 236,
     .top = 413,
     .width = 228,
     .height = 66,
     .anchors = akLeft | akBottom},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnMode",
     .field = &TfrmMainView2::btnMode,
     .parent = L"grp2",
     .left = 8,
     .top = 12,
     .width = kIconWidth + kGlyphMargin,
     .height = kIconHeight + kGlyphMargin,
     .showHint = true,
     .OnClick = &TfrmMainView2::btnModeClick},
    {.kind = ComponentKind::Label,
     .name = L"lblMode",
     .field = &TfrmMainView2::lblMode,
     .parent = L"grp2",
     .left = 72,
     .top = 28,
     .bold = true},
    {.kind = ComponentKind::ComboBox,
     .name = L"cbbPrinterPort",
     .field = &TfrmMainView2::cbbPrinterPort,
     .left = 12,
     .top = 508,
     .width = 150,
     .anchors = akLeft | akBottom,
     .OnChange = &TfrmMainView2::cbbPrinterPortChange},
    {.kind = ComponentKind::Label,
     .name = L"lblPrinter",
     .field = &TfrmMainView2::lblPrinter,
     .left = 172,
     .top = 505,
     .anchors = akLeft | akBottom},
    {.kind = ComponentKind::Label,
     .name = L"lblPort",
     .field = &TfrmMainView2::lblPort,
     .left = 172,
     .top = 520,
     .anchors = akLeft | akBottom},
    {.kind = ComponentKind::Button,
     .name = L"btnClose",
     .field = &TfrmMainView2::btnClose,
     .left = 399,
     .top = 507,
     .width = 75,
     .height = 25,
     .anchors = akRight | akBottom,
     .cancel = true,
     .OnClick = &TfrmMainView2::btnCloseClick},
    {.kind = ComponentKind::Timer,
     .name = L"tmrFreshPort",
     .field = &TfrmMainView2::tmrFreshPort,
     .enabled = false,
     .interval = 3500,
     .OnTimer = &TfrmMainView2::tmrFreshPortTimer},
};

const wchar_t kFallbackIcon[] = L"100_Settings";

// The settings icon in place of a missing one. Only a missing resource is replaced, unless anyFailure says
// that a broken one is too. A program built without its icons at all shows plain buttons of the standard size.
Bitmap IconOf(const std::wstring& name, bool anyFailure) {
    try {
        return Bitmap::FromResource(name);
    } catch (const ResourceNotFound&) {
    } catch (const platform::Exception&) {
        if (!anyFailure) {
            throw;
        }
    }
    try {
        return Bitmap::FromResource(kFallbackIcon);
    } catch (const ResourceNotFound&) {
        return Bitmap();
    }
}

// A button sized to its glyph.
void PutGlyph(BitBtn& button, const Bitmap& glyph) {
    button.SetGlyph(glyph);
    button.SetWidth((glyph.Empty() ? kIconWidth : glyph.Width()) + kGlyphMargin);
    button.SetHeight((glyph.Empty() ? kIconHeight : glyph.Height()) + kGlyphMargin);
}

// A page read would be pointless on the maintenance page (its items hold no values) and on the black-mark
// page, which reads its own values.
bool PageHoldsValues(std::uint8_t byPage) {
    return platform::Copy(g_SchemeOptions->GetItem(byPage, 1).Icon, 1, 3) != L"Ink" &&
           platform::Copy(g_SchemeOptions->GetItem(byPage, 0).Name, 1, 3) != L"OTH";
}

}  // namespace

std::uint8_t NextPageOf(std::uint8_t byPage) {
    switch (byPage) {
        case pgBase:
            return pgMaintenance;
        case pgMaintenance:
            return pgAdvance;
        case pgAdvance:
            return pgBase;
        default:
            return pgAdvance;
    }
}

TfrmMainView2::TfrmMainView2() : Form(L"TfrmMainView2", kMainDesign) {
    BindLayout(*this, kMainLayout);
}

void TfrmMainView2::FormCreate() {
    if (CheckPrintQueue() != TPrintQueue::Empty) {
        application().Terminate();
        return;
    }
    m_slPorts.clear();
    m_slLocalPortFile.clear();
    if (g_byStartPage == pgBase) {
        LoadPortModeScheme();
    }
    application().SetTitle(g_strPrinterName);
    SetCaption(g_strPrinterName + L" " + g_GlobalString.MainCaption);

    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);
    if (bOnline) {
        lblPort->SetCaption(portName);
        lblPort->SetFontColor(clBlack);
    } else {
        lblPort->SetCaption(g_GlobalString.PrinterNotOnline);
        lblPort->SetFontColor(clRed);
    }
    std::wstring arguments;
    for (const std::wstring& argument : g_slArguments) {
        arguments += argument + L" ";
    }
    lblPrinter->SetCaption(arguments);

    cbbPrinterPort->SetVisible(g_byStartPage == pgBase);
    tmrFreshPort->SetEnabled(g_byStartPage == pgBase);
    if (!platform::files().FileExists(kDebugMarkerFile)) {
        lblPort->Hide();
        lblPrinter->Hide();
    }

    ShowPageItems(true);

    if (g_byStartPage == pgBase) {
        RefreshPortList();
        if (!cbbPrinterPort->Items().empty()) {
            cbbPrinterPort->SetItemIndex(0);
            g_strLocalPortFile = m_slLocalPortFile.front();
        }
    }

    if (g_SchemeOptions->GetItem(g_byPage, g_iItem).Name == L"OTH Set") {
        // The black-mark dialog ends the program when it goes.
        Hide();
        OpenMainDialog(TMainDialog::BMset);
        Show();
    }
}

void TfrmMainView2::LoadPortModeScheme() {
    const std::wstring program = platform::files().ProgramPath();
    m_IniOptions = std::make_unique<TIniOptions>();
    m_IniOptions->LoadFromFile(OptionsFileOfProgram(program));
    g_strSchemeFile = PortModeSchemeFile(program, m_IniOptions->FSettingsDefaultScheme);
    // The default scheme holds its menu itself, whatever its menu version says.
    auto model = std::make_unique<TSchemeOptions2>();
    model->LoadFromFile(g_strSchemeFile);
    model->LoadPrinterMenu(g_strSchemeFile);
    g_SchemeOptions = std::move(model);
}

void TfrmMainView2::ShowPageItems(bool bStartUp) {
    btnClose->SetCaption(g_GlobalString.ParametersBtnReturn);
    std::wstring portName;
    bool bOnline = false;
    GetPrinterPort(g_strPrinterName, portName, bOnline);

    const bool holdsValues = PageHoldsValues(g_byPage);
    bool bValuesRead = false;
    if (holdsValues && bOnline && dialogs::IsUsbPortName(portName)) {
        const std::int32_t index = GetUSBPrinterIndex(portName);
        bValuesRead = dialogs::ReadWithWaitingWindow(
            [index] { return g_SchemeOptions->GetPrinterValuesAfresh_ForPage(index, g_byPage); });
    }

    const TSettingItem header = g_SchemeOptions->GetIndexItem(NextPageOf(g_byPage));
    if (!header.Icon.empty()) {
        PutGlyph(*btnMode, IconOf(header.Icon, true));
        btnMode->SetHint(header.Note);
        lblMode->SetCaption(header.Title);
        lblMode->SetLeft(btnMode->Left() + btnMode->Width() + 10);
    } else {
        btnMode->Hide();
        lblMode->Hide();
        grp2->Hide();
    }

    // The window's width first: the mode button's group is sized to what the page then has.
    SetWidth(kWindowWidth);
    const std::int32_t count = g_SchemeOptions->GetItemLength(g_byPage);
    for (int i = 0; i < kSlotCount; ++i) {
        auto* title = Find<Label>(platform::Format(L"lbl%.2d", {static_cast<std::int64_t>(i + 1)}));
        auto* value = Find<Label>(platform::Format(L"lbl%.2d2", {static_cast<std::int64_t>(i + 1)}));
        auto* button = Find<BitBtn>(platform::Format(L"btn%.2d", {static_cast<std::int64_t>(i + 1)}));
        if (i >= count) {
            title->Hide();
            value->Hide();
            button->Hide();
            continue;
        }
        const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, i);
        std::wstring valueText;
        if (bValuesRead && item.ValueCurrent != kNoPrinterValue) {
            const std::wstring valueTitle = g_SchemeOptions->GetTitleFromValue(g_byPage, i, item.ValueCurrent);
            if (!valueTitle.empty()) {
                valueText = g_GlobalString.CurrentValue + DisplayTitle(valueTitle);
            }
        }
        title->Show();
        value->Show();
        button->Show();
        PutGlyph(*button, IconOf(item.Icon, false));
        title->SetCaption(item.Title);
        button->SetHint(item.Note);
        value->SetCaption(platform::StartsWith(item.Icon, L"Ink") ? L"" : valueText);

        const int pitch = button->Height() + kRowGap;
        int left = kLeftColumn;
        int top = (i / 2) * pitch + kFirstRowTop;
        if (i % 2 == 1 && button->Glyph().Width() < kNarrowGlyph) {
            left = kRightColumn;
            grp2->SetLeft(kModeGroupLeft);
            grp2->SetWidth(grp1->Width() - grp2->Left() - 8);
        }
        // The maintenance page's last item starts a row of its own, so the mode button fits beside it.
        if (g_byPage == pgMaintenance && i == count - 1 && i % 2 == 1) {
            left = kLeftColumn;
            top = ((i + 1) / 2) * pitch + kFirstRowTop;
        }
        button->SetLeft(left);
        button->SetTop(top);
        title->SetTop(top + 3);
        title->SetLeft(left + button->Width() + 10);
        // The value's box ends above the next row's title and left of the right column and the mode
        // button's group, so that it paints over neither.
        const int valueTop = title->Top() + title->Height() + 5;
        value->SetBounds(title->Left(), valueTop, kValueWidth, std::min(kValueHeight, top + pitch + 3 - valueTop));
    }

    const int pitch = btn03->Top() - btn01->Top();
    if (g_byPage == pgMaintenance) {
        SetHeight(pitch * ((count + 2) / 2) + kWindowExtra);
    } else if (g_byPage == pgAdvance) {
        SetHeight(pitch * ((count + 1) / 2) + kWindowExtra);
    }

    if (bStartUp && !g_SchemeOptions->m_Sections.AffirmReadDisable && !bValuesRead && dialogs::IsUsbPortName(portName) &&
        holdsValues) {
        dialogs::ShowBox(g_GlobalString.ReadTimeout, g_GlobalString.HintTitle, platform::MsgIcon::Warning);
    }
}

void TfrmMainView2::FormShow() {
    g_strInkIni = PrepareInkStateFile();
}

void TfrmMainView2::btnClick(Component& sender) {
    Hide();
    g_iItem = sender.Tag() - 1;
    const TSettingItem item = g_SchemeOptions->GetItem(g_byPage, g_iItem);
    if (item.Icon == L"Ink_Adjust") {
        OpenMainDialog(TMainDialog::InkSet);
    } else if (item.Name == L"Ink_Inquiry") {
        OpenMainDialog(TMainDialog::Inquiry);
    } else if (item.Name == L"Ink_Dry") {
        OpenMainDialog(TMainDialog::InkDry);
    } else if (item.Name == L"NormalSet") {
        m_NormalSet = MakeForm<TNormalSet>();
        m_NormalSet->ShowModal();
        m_NormalSet.reset();
    } else {
        m_frmSetItem = MakeForm<TfrmSetItem>();
        m_frmSetItem->ShowModal();
        m_frmSetItem.reset();
        // The dialog may have changed the value.
        ShowPageItems(false);
    }
    Show();
}

void TfrmMainView2::btnModeClick() {
    const std::uint8_t next = NextPageOf(g_byPage);
    if (next == pgAdvance) {
        auto* warning = dynamic_cast<TfrmWarning*>(application().FindForm(L"TfrmWarning"));
        FormPtr<TfrmWarning> ownWarning;
        if (!warning) {
            ownWarning = MakeForm<TfrmWarning>();
            warning = ownWarning.get();
        }
        warning->ShowModal();
        if (!warning->m_bAffirm) {
            return;
        }
    }
    g_byPage = next;
    ShowPageItems(false);
    if (g_byPage == pgAdvance) {
        btnMode->Hide();
        lblMode->Hide();
        grp2->Hide();
    }
}

void TfrmMainView2::RefreshPortList() {
    ParseLocalPorts(m_IniOptions ? m_IniOptions->FSettingsLocalPorts : L"", &m_slPorts, &m_slLocalPortFile);
    // A USB entry reads "<maker><model> - <port>"; the list shows the port only.
    for (std::wstring& name : m_slPorts) {
        const std::size_t separator = platform::Pos(L" - ", name);
        if (dialogs::IsUsbPortName(name) && separator > 0) {
            name = platform::Copy(name, static_cast<std::ptrdiff_t>(separator) + 3, 6);
        }
    }
    cbbPrinterPort->SetItems(m_slPorts);
    auto chosen = std::find(m_slLocalPortFile.begin(), m_slLocalPortFile.end(), g_strLocalPortFile);
    int index = -1;
    if (chosen != m_slLocalPortFile.end()) {
        index = static_cast<int>(chosen - m_slLocalPortFile.begin());
    } else if (auto lpt1 = std::find(m_slPorts.begin(), m_slPorts.end(), L"LPT1"); lpt1 != m_slPorts.end()) {
        index = static_cast<int>(lpt1 - m_slPorts.begin());
    }
    cbbPrinterPort->SetItemIndex(index);
    cbbPrinterPortChange();
}

void TfrmMainView2::cbbPrinterPortChange() {
    const int index = cbbPrinterPort->ItemIndex();
    if (!m_slLocalPortFile.empty() && index >= 0 && static_cast<std::size_t>(index) < m_slLocalPortFile.size()) {
        g_strLocalPortFile = m_slLocalPortFile[static_cast<std::size_t>(index)];
    }
}

void TfrmMainView2::tmrFreshPortTimer() {
    RefreshPortList();
}

void TfrmMainView2::btnCloseClick() {
    Close();
}

void TfrmMainView2::FormDestroy() {
    m_slPorts.clear();
    m_slLocalPortFile.clear();
    // The driver's page shows the base values when the program ends.
    if (g_byStartPage == pgMaintenance) {
        g_SchemeOptions->CreatePrinterValuesIni_ForPage(pgSaveValues);
    }
}
