#pragma once
// The main window, the main form of every start for a page rather than for one item: up to fifteen setting
// buttons of the current page with each item's title and current value, a mode button that moves to the
// next page (100, 99, 0, and back to 100 in a run that started on 0), and in port mode a list of local ports
// to write to. A setting button hides the window and opens the item's dialog. Showing the window prepares the
// ink state file of the USB printer the port library lists last.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Options.h"
#include "UNormalSet.h"
#include "platform/forms/forms.h"
#include "uSetItem.h"

// The program's command-line arguments as start-up read them; the main window's debug label shows them.
extern std::vector<std::wstring> g_slArguments;

// The debug labels stay visible only while this file exists.
inline constexpr wchar_t kDebugMarkerFile[] = L"c:\\QVDebug";

// The page the mode button leads to: 100 to 99, 99 to 0, 0 to 100; any other page to the advance page.
std::uint8_t NextPageOf(std::uint8_t byPage);

class TfrmMainView2 : public platform::forms::Form {
public:
    TfrmMainView2();

    static constexpr int kSlotCount = 15;

    platform::forms::Panel* pnlTop = nullptr;
    platform::forms::GroupBox* grp1 = nullptr;
    platform::forms::BitBtn* btn01 = nullptr;
    platform::forms::BitBtn* btn02 = nullptr;
    platform::forms::BitBtn* btn03 = nullptr;
    platform::forms::BitBtn* btn04 = nullptr;
    platform::forms::BitBtn* btn05 = nullptr;
    platform::forms::BitBtn* btn06 = nullptr;
    platform::forms::BitBtn* btn07 = nullptr;
    platform::forms::BitBtn* btn08 = nullptr;
    platform::forms::BitBtn* btn09 = nullptr;
    platform::forms::BitBtn* btn10 = nullptr;
    platform::forms::BitBtn* btn11 = nullptr;
    platform::forms::BitBtn* btn12 = nullptr;
    platform::forms::BitBtn* btn13 = nullptr;
    platform::forms::BitBtn* btn14 = nullptr;
    platform::forms::BitBtn* btn15 = nullptr;
    platform::forms::Label* lbl01 = nullptr;
    platform::forms::Label* lbl02 = nullptr;
    platform::forms::Label* lbl03 = nullptr;
    platform::forms::Label* lbl04 = nullptr;
    platform::forms::Label* lbl05 = nullptr;
    platform::forms::Label* lbl06 = nullptr;
    platform::forms::Label* lbl07 = nullptr;
    platform::forms::Label* lbl08 = nullptr;
    platform::forms::Label* lbl09 = nullptr;
    platform::forms::Label* lbl10 = nullptr;
    platform::forms::Label* lbl11 = nullptr;
    platform::forms::Label* lbl12 = nullptr;
    platform::forms::Label* lbl13 = nullptr;
    platform::forms::Label* lbl14 = nullptr;
    platform::forms::Label* lbl15 = nullptr;
    platform::forms::Label* lbl012 = nullptr;
    platform::forms::Label* lbl022 = nullptr;
    platform::forms::Label* lbl032 = nullptr;
    platform::forms::Label* lbl042 = nullptr;
    platform::forms::Label* lbl052 = nullptr;
    platform::forms::Label* lbl062 = nullptr;
    platform::forms::Label* lbl072 = nullptr;
    platform::forms::Label* lbl082 = nullptr;
    platform::forms::Label* lbl092 = nullptr;
    platform::forms::Label* lbl102 = nullptr;
    platform::forms::Label* lbl112 = nullptr;
    platform::forms::Label* lbl122 = nullptr;
    platform::forms::Label* lbl132 = nullptr;
    platform::forms::Label* lbl142 = nullptr;
    platform::forms::Label* lbl152 = nullptr;
    platform::forms::GroupBox* grp2 = nullptr;
    platform::forms::BitBtn* btnMode = nullptr;
    platform::forms::Label* lblMode = nullptr;
    platform::forms::Button* btnClose = nullptr;
    platform::forms::ComboBox* cbbPrinterPort = nullptr;
    platform::forms::Timer* tmrFreshPort = nullptr;
    platform::forms::Label* lblPrinter = nullptr;
    platform::forms::Label* lblPort = nullptr;

    // The port list's display names and port files, kept in step.
    std::vector<std::wstring> m_slPorts;
    std::vector<std::wstring> m_slLocalPortFile;
    // The dialog open at the moment.
    platform::forms::FormPtr<TfrmSetItem> m_frmSetItem;
    platform::forms::FormPtr<TNormalSet> m_NormalSet;
    // Port mode only.
    std::unique_ptr<TIniOptions> m_IniOptions;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void btnClick(platform::forms::Component& sender);
    void btnModeClick();
    void btnCloseClick();
    void cbbPrinterPortChange();
    void tmrFreshPortTimer();

    // Fills the mode button and the slots for g_byPage; bStartUp lets a failed read warn.
    void ShowPageItems(bool bStartUp);
    void RefreshPortList();
    void LoadPortModeScheme();
};
