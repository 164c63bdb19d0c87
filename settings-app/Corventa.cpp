#include "Corventa.h"

#include <string>
#include <vector>

#include "GlobalString.h"
#include "GroupDialogs.h"
#include "MainDialogs.h"
#include "PrintQueueGuard.h"
#include "RWPrinterModel.h"
#include "Scheme.h"
#include "StartUp.h"
#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "uAbout.h"
#include "uBMset.h"
#include "uInkDry.h"
#include "uInkSet.h"
#include "uInquiry.h"
#include "uMain2.h"
#include "uSetItem.h"
#include "uWaitingHook.h"
#include "uWarning.h"

using platform::forms::Application;
using platform::forms::application;

namespace {

// What the program's modules set up before the main block runs, in the order they depend on each other (the
// texts first, which every box needs; the model's link for the worker; the waiting window that the menu fetch
// shows), and take down again in reverse order at exit.
class TModuleSetUp {
public:
    TModuleSetUp() {
        m_bStringsLoaded = LoadGlobalStrings(L"RESSTRING", &m_strError);
        InstallSchemeOptionsForWorker();
        SetWaitingWindowHook(&m_Waiting);
    }
    ~TModuleSetUp() {
        SetWaitingWindowHook(nullptr);
        SetRWPrinterModel(nullptr);
        g_GlobalString = TGlobalString{};
    }
    TModuleSetUp(const TModuleSetUp&) = delete;
    TModuleSetUp& operator=(const TModuleSetUp&) = delete;

    bool StringsLoaded() const { return m_bStringsLoaded; }
    const std::wstring& Error() const { return m_strError; }

private:
    bool m_bStringsLoaded = false;
    std::wstring m_strError;
    TWaitingWindowForModel m_Waiting;
};

// A dialog the main window opens for one item: made, shown modally, freed, its global pointing at it meanwhile.
template <class T>
void OpenDialogModal(T*& global) {
    auto dialog = platform::forms::MakeForm<T>();
    global = dialog.get();
    dialog->ShowModal();
    global = nullptr;
}

void InstallMainDialogOpeners() {
    SetMainDialogOpener(TMainDialog::InkSet, [] { OpenDialogModal(frmInkSet); });
    SetMainDialogOpener(TMainDialog::Inquiry, [] { OpenDialogModal(Inquiry); });
    SetMainDialogOpener(TMainDialog::InkDry, [] { OpenDialogModal(InkDry); });
    SetMainDialogOpener(TMainDialog::BMset, [] { OpenDialogModal(BMset); });
}

// The error box of a menu that could not be had, on a hidden about window made for it.
void ShowMenuMissing(Application& app) {
    app.CreateForm<TAboutBox>();
    app.ShowMessageBox(g_GlobalString.ReadPrinterFailRetry, g_GlobalString.ErrorTitle, platform::MsgIcon::Error);
}

// The item dialog of one base item as the main form, the other dialogs a page-1 start offers made hidden after
// it, in this order.
void CreateSingleItemForms(Application& app) {
    app.CreateForm<TfrmSetItem>();
    frmInkSet = app.CreateForm<TfrmInkSet>();
    Inquiry = app.CreateForm<TInquiry>();
    InkDry = app.CreateForm<TInkDry>();
    BMset = app.CreateForm<TBMset>();
    CreateGroupDialogs();
    app.BringToFront();
}

// Page code 102: the menu afresh from a printer that keeps it, unless start-up has just fetched it.
void ReadMenuAgain(Application& app) {
    if (g_SchemeOptions->m_Sections.MenuVersion == 0) {
        return;
    }
    if (!g_bMenuFetched) {
        g_SchemeOptions->GetPrinterMenuResources();
        g_bMenuFetched = true;
    }
    if (!platform::files().FileExists(g_strMenuFile)) {
        ShowMenuMissing(app);
    }
}

// The start-up sequence and the run mode's windows; false when the program ends before its windows exist.
bool StartUp(Application& app) {
    if (AnotherCopyRuns()) {
        return false;
    }
    app.SetTitle(kApplicationTitle);
    const std::wstring commandLine = platform::processes().CommandLine();
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    g_slArguments.assign(arguments.size() > 1 ? arguments.begin() + 1 : arguments.end(), arguments.end());

    if (ReadStartArguments(commandLine)) {
        SetPrinterPaths();
        switch (LoadPrinterModel()) {
            case TModelLoad::Loaded:
                break;
            case TModelLoad::UnsupportedMenuVersion:
                app.ShowMessageBox(UnsupportedMenuVersionText(g_SchemeOptions->m_Sections.MenuVersion),
                                   g_GlobalString.ErrorTitle, platform::MsgIcon::Error);
                return false;
            case TModelLoad::MenuMissing:
                ShowMenuMissing(app);
                return false;
        }
    }
    if (CheckPrintQueue() != TPrintQueue::Empty) {
        return false;
    }

    SetGroupHandOff(&g_GroupDialogs);
    InstallMainDialogOpeners();
    switch (g_byPage) {
        case pgSingleItem:
            CreateSingleItemForms(app);
            break;
        case pgSaveValues:
            g_SchemeOptions->CreatePrinterValuesIni_ForPage(pgSaveValues);
            break;
        case pgReadMenu:
            ReadMenuAgain(app);
            break;
        default:
            app.CreateForm<TfrmMainView2>();
            app.CreateForm<TfrmWarning>();
            app.BringToFront();
            break;
    }
    if (!app.FindForm(L"TAboutBox")) {
        app.CreateForm<TAboutBox>();
    }
    // Modes 101 and 102 have done their work without a main form; the main window may have ended the run while
    // it was created (its own queue guard).
    return g_byPage != pgSaveValues && g_byPage != pgReadMenu && !app.Terminated();
}

}  // namespace

int CorventaMain() {
    TModuleSetUp modules;
    Application& app = application();
    if (!modules.StringsLoaded()) {
        app.ShowMessageBox(modules.Error(), kApplicationTitle, platform::MsgIcon::Error);
        return 1;
    }
    bool run = false;
    try {
        run = StartUp(app);
    } catch (const platform::forms::FatalError&) {
        throw;
    } catch (const std::exception& error) {
        // A menu that cannot be loaded (a bad SERIAL rule) ends the start with its message.
        app.HandleException(error);
    }
    if (run) {
        app.Run();
    }
    app.DestroyForms();
    ClearMainDialogOpeners();
    SetGroupHandOff(nullptr);
    g_PrinterNameBuf.clear();
    g_strMenuFile.clear();
    return 0;
}
