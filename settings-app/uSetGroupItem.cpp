#include "uSetGroupItem.h"

#include "DialogMethods.h"
#include "GlobalString.h"
#include "GroupLayout.h"
#include "Scheme.h"
#include "UtilPrinter.h"
#include "platform/text.h"

using namespace platform::forms;

TFormSetGroupItem* FormSetGroupItem = nullptr;

namespace {

constexpr int kPanelCount = 8;
// The last page code with an item list of its own (sub-group 64).
constexpr std::uint8_t kLastSubGroupPage = pgSubGroup64;

const FormDesign kSetGroupItemDesign = {
    .clientWidth = 695,
    .clientHeight = 440,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .OnShow = &TFormSetGroupItem::FormShow,
};

using T = TFormSetGroupItem;

// Item panel N (1 to 8): two rows of four, hidden until a sub-group needs it.
ComponentDesign ItemPanel(const wchar_t* name, Panel* T::*field, int n) {
    constexpr int kLefts[] = {3, 174, 345, 519};
    return ItemPanelDesign(name, field, L"pnl3", kLefts[(n - 1) % 4], n <= 4 ? 8 : 167, false);
}

const ComponentDesign kSetGroupItemLayout[] = {
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .field = &T::pnlBottom, .height = 36, .align = alBottom},
    BottomButtonDesign(L"btnSet", &T::btnSet, 541, &T::btnSetClick),
    BottomButtonDesign(L"btnCancel", &T::btnCancel, 622, &T::btnCancelClick, true),
    {.kind = ComponentKind::Panel, .name = L"pnl1", .field = &T::pnl1, .align = alClient},
    {.kind = ComponentKind::Panel,
     .name = L"pnl4",
     .field = &T::pnl4,
     .parent = L"pnl1",
     .height = 77,
     .align = alBottom,
     .bevelOuter = bvNone},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &T::grp1,
     .parent = L"pnl4",
     .align = alClient,
     .bold = true},
    NoteLabelDesign(&T::lblInfo, 695, 77),
    {.kind = ComponentKind::Panel,
     .name = L"pnl3",
     .field = &T::pnl3,
     .parent = L"pnl1",
     .align = alClient,
     .bevelOuter = bvNone},
    ItemPanel(L"pnlItem1", &T::pnlItem1, 1),
    ItemPanel(L"pnlItem2", &T::pnlItem2, 2),
    ItemPanel(L"pnlItem3", &T::pnlItem3, 3),
    ItemPanel(L"pnlItem4", &T::pnlItem4, 4),
    ItemPanel(L"pnlItem5", &T::pnlItem5, 5),
    ItemPanel(L"pnlItem6", &T::pnlItem6, 6),
    ItemPanel(L"pnlItem7", &T::pnlItem7, 7),
    ItemPanel(L"pnlItem8", &T::pnlItem8, 8),
    ItemNameDesign(L"lblName1", &T::lblName1, L"pnlItem1"),
    ItemListDesign(L"lst1", &T::lst1, L"pnlItem1"),
    ItemNameDesign(L"lblName2", &T::lblName2, L"pnlItem2"),
    ItemListDesign(L"lst2", &T::lst2, L"pnlItem2"),
    ItemNameDesign(L"lblName3", &T::lblName3, L"pnlItem3"),
    ItemListDesign(L"lst3", &T::lst3, L"pnlItem3"),
    ItemNameDesign(L"lblName4", &T::lblName4, L"pnlItem4"),
    ItemListDesign(L"lst4", &T::lst4, L"pnlItem4"),
    ItemNameDesign(L"lblName5", &T::lblName5, L"pnlItem5"),
    ItemListDesign(L"lst5", &T::lst5, L"pnlItem5"),
    ItemNameDesign(L"lblName6", &T::lblName6, L"pnlItem6"),
    ItemListDesign(L"lst6", &T::lst6, L"pnlItem6"),
    ItemNameDesign(L"lblName7", &T::lblName7, L"pnlItem7"),
    ItemListDesign(L"lst7", &T::lst7, L"pnlItem7"),
    ItemNameDesign(L"lblName8", &T::lblName8, L"pnlItem8"),
    ItemListDesign(L"lst8", &T::lst8, L"pnlItem8"),
};

const ComponentText<TGlobalString> kSetGroupItemTexts[] = {
    {L"grp1", &TGlobalString::ParametersNoteTitle},
    {L"btnSet", &TGlobalString::ParametersBtnSet},
    {L"btnCancel", &TGlobalString::ParametersBtnCancel},
};

}  // namespace

TFormSetGroupItem::TFormSetGroupItem() : Form(L"TFormSetGroupItem", kSetGroupItemDesign) {
    BindLayout(*this, kSetGroupItemLayout);
}

// The dialog start-up made goes with the application's forms; the global must not outlive it.
TFormSetGroupItem::~TFormSetGroupItem() {
    if (FormSetGroupItem == this) {
        FormSetGroupItem = nullptr;
    }
}

void TFormSetGroupItem::SetParameters(const std::wstring& strCaption, std::int32_t iSubGroup) {
    SetCaption(strCaption);
    m_pm = static_cast<std::uint8_t>(127 + iSubGroup);
    if (m_pm > kLastSubGroupPage) {
        throw platform::Exception(platform::Format(L"SubGroup out of index: %d", {std::int64_t{iSubGroup}}));
    }
}

void TFormSetGroupItem::FormShow() {
    m_iItems = g_SchemeOptions->GetItemLength(m_pm);
    SetHeight(m_iItems > 4 ? 468 : 300);
    // The window ends just right of the last panel of the top row; 4 items (or none) keep the width.
    Panel* const lastOfRow[] = {pnlItem1, pnlItem2, pnlItem3};
    if (m_iItems >= 1 && m_iItems <= 3) {
        const Panel& panel = *lastOfRow[m_iItems - 1];
        SetWidth(panel.Left() + panel.Width() + 10);
    } else if (m_iItems > 4) {
        SetWidth(pnlItem4->Left() + pnlItem4->Width() + 10);
    }

    ApplyTexts(*this, g_GlobalString, kSetGroupItemTexts);
    // "%s" in the note stands for the option the user has just set.
    lblInfo->SetCaption(platform::Format(g_SchemeOptions->GetItem(m_pm, 0).Note, {Caption()}));

    // Panels beyond this sub-group's items keep whatever an earlier show left in them.
    for (int n = 1; n <= kPanelCount && n <= m_iItems; ++n) {
        const TSettingItem item = g_SchemeOptions->GetItem(m_pm, n - 1);
        Find<Panel>(platform::Format(L"pnlItem%d", {std::int64_t{n}}))->Show();
        Find<Label>(platform::Format(L"lblName%d", {std::int64_t{n}}))->SetCaption(item.Title);
        Find<ListBox>(platform::Format(L"lst%d", {std::int64_t{n}}))->SetItems(item.RuleValues.RuleTitle);
    }

    GetGroupValuesFromPrinter();
}

void TFormSetGroupItem::GetGroupValuesFromPrinter() {
    std::wstring port;
    bool bOnline = false;
    if (!GetPrinterPort(g_strPrinterName, port, bOnline) || !bOnline || !dialogs::IsUsbPortName(port)) {
        return;
    }
    // A failed read leaves the model's values, which the lists then show. A port the library does not list
    // is not read at all: its index would open some other port.
    const std::int32_t iUSBPrinter = GetUSBPrinterIndex(port);
    if (iUSBPrinter >= 0) {
        g_SchemeOptions->GetPrinterValuesAfresh_ForPage(iUSBPrinter, m_pm);
    }
    for (int n = 1; n <= kPanelCount && n <= m_iItems; ++n) {
        ListBox& list = *Find<ListBox>(platform::Format(L"lst%d", {std::int64_t{n}}));
        SelectListByValue(list, n - 1, g_SchemeOptions->GetItem(m_pm, n - 1).ValueCurrent);
    }
}

void TFormSetGroupItem::SelectListByValue(ListBox& list, std::int32_t iItem, std::int32_t iValue) const {
    list.SetItemIndex(-1);
    const std::vector<std::int32_t> values = g_SchemeOptions->GetItem(m_pm, iItem).RuleValues.RuleValue;
    for (std::size_t p = 0; p < values.size(); ++p) {
        if (values[p] == iValue) {
            list.SetItemIndex(static_cast<int>(p));
        }
    }
}

std::optional<std::wstring> TFormSetGroupItem::GetListSetInstruction(std::uint8_t byPage,
                                                                     std::int32_t iItem,
                                                                     std::int32_t iOption) const {
    if (iOption < 0) {
        return std::wstring();
    }
    const TSettingItem item = g_SchemeOptions->GetItem(byPage, iItem);
    const std::vector<std::int32_t>& values = item.RuleValues.RuleValue;
    if (static_cast<std::size_t>(iOption) >= values.size()) {
        return std::wstring();
    }
    // A width-3 item carries its value high byte first, as the printer answers it, so that the next group
    // read finds the chosen entry again.
    const std::optional<std::wstring> cmd = dialogs::FormatItemSetCommand(item.SetInstruction, item.nParameterByte,
                                                                          values[static_cast<std::size_t>(iOption)]);
    if (!cmd) {
        return std::nullopt;
    }
    return *cmd + L" " + g_SchemeOptions->m_Sections.InstructionTail + L" ";
}

void TFormSetGroupItem::btnSetClick() {
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    std::wstring text = sections.EnterInstruction + L" ";
    for (int n = 1; n <= kPanelCount && n <= m_iItems; ++n) {
        const ListBox& list = *Find<ListBox>(platform::Format(L"lst%d", {std::int64_t{n}}));
        const std::optional<std::wstring> instruction = GetListSetInstruction(m_pm, n - 1, list.ItemIndex());
        // A value too wide for its item would shift every later byte of the frame: nothing is sent.
        if (!instruction) {
            dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
            return;
        }
        text += *instruction;
    }
    text += sections.SaveInstruction;
    const platform::Bytes bytes = HexTextToBytes(text);

    std::wstring port;
    bool bOnline = false;
    if (!GetPrinterPort(g_strPrinterName, port, bOnline) || !bOnline) {
        dialogs::ShowBox(g_GlobalString.PrinterNotFound, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    // Only a printer the port library lists can take the write; any other index would open some other port.
    const std::int32_t iUSBPrinter = dialogs::IsUsbPortName(port) ? GetUSBPrinterIndex(port) : -1;
    if (iUSBPrinter < 0) {
        dialogs::ShowBox(platform::Format(g_GlobalString.PrinterNotFoundOnPort, {port}), g_GlobalString.ErrorTitle,
                         platform::MsgIcon::Error);
        return;
    }
    if (!WriteUSBPrinter(bytes, iUSBPrinter)) {
        dialogs::ShowBox(g_GlobalString.SetPrinterFail, g_GlobalString.HintTitle, platform::MsgIcon::Error);
        return;
    }
    btnCancel->SetCaption(g_GlobalString.ParametersBtnReturn);
    dialogs::ShowBox(g_GlobalString.SetPrinterSuccess, g_GlobalString.HintTitle, platform::MsgIcon::Information);
    Close();
}

void TFormSetGroupItem::btnCancelClick() {
    Close();
}
