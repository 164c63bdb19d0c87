#include "standin/driver_host_sim.h"

#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "com_server.h"

namespace tavrel {

namespace dk = driverkit;

namespace {

constexpr dk::ULONG_PTR kSheetOk = 1;  // the sheet's result when the user pressed OK

// The common property sheet's side of the sheet: the pages the plug-in adds.
struct SheetPages {
    std::vector<std::unique_ptr<SimPageWindow>> pages;
};

dk::LONG_PTR ComPropSheet(dk::HANDLE hComPropSheet, dk::UINT function, dk::LPARAM lParam1, dk::LPARAM) {
    auto* sheet = static_cast<SheetPages*>(hComPropSheet);
    if (function != dk::CPSFUNC_ADD_PROPSHEETPAGEW || !lParam1) {
        return 0;
    }
    const auto* page = reinterpret_cast<const dk::PROPSHEETPAGEW*>(lParam1);
    if (page->dwSize < sizeof(dk::PROPSHEETPAGEW) || !page->pfnDlgProc) {
        return 0;
    }
    sheet->pages.push_back(std::make_unique<SimPageWindow>(page->pfnDlgProc));
    return static_cast<dk::LONG_PTR>(sheet->pages.size());  // a page handle: never 0
}

struct Releaser {
    void operator()(dk::IUnknown* object) const { object->Release(); }
};

}  // namespace

SimDriverHost::SimDriverHost(platform::sim::SimPlatform& sim, std::wstring printerName)
    : sim_(sim), printerName_(std::move(printerName)) {}

void SimDriverHost::SetProgramRunner(platform::sim::SimProcesses::Runner runner) {
    sim_.processes().SetRunner(std::move(runner));
}

SimDriverHost::SheetRun SimDriverHost::ShowDeviceSheet(const User& user) {
    SheetRun run;
    std::exception_ptr failure;
    std::thread sheetThread([&] {
        try {
            RunSheet(user, run);
        } catch (...) {
            failure = std::current_exception();
        }
        // The loader's call at the end of every thread of the host.
        DllMain(g_hModule, dk::DLL_THREAD_DETACH, nullptr);
    });
    sheetThread.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return run;
}

void SimDriverHost::RunSheet(const User& user, SheetRun& run) {
    dk::IClassFactory* factoryRaw = nullptr;
    if (DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&factoryRaw)) != dk::S_OK) {
        return;
    }
    std::unique_ptr<dk::IClassFactory, Releaser> factory(factoryRaw);
    dk::IPrintOemUI* uiRaw = nullptr;
    if (factory->CreateInstance(nullptr, dk::IID_IPrintOemUI, reinterpret_cast<void**>(&uiRaw)) != dk::S_OK) {
        return;
    }
    std::unique_ptr<dk::IPrintOemUI, Releaser> ui(uiRaw);

    // The printer properties: the plug-in's items are asked for twice, to count them and to fill them.
    auto& spooler = sim_.spooler();
    const platform::PrinterHandle printer = spooler.OpenPrinter(printerName_);
    const platform::HeapHandle heap = sim_.heap().Create();
    std::wstring name = printerName_;
    dk::OEMCUIPPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = reinterpret_cast<dk::HANDLE>(printer);
    param.pPrinterName = name.data();
    param.hOEMHeap = reinterpret_cast<dk::HANDLE>(heap);
    run.propResult = ui->CommonUIProp(dk::OEMCUIP_PRNPROP, &param);
    std::vector<dk::OPTITEM> items(param.cOEMOptItems);
    param.pOEMOptItems = items.data();
    ui->CommonUIProp(dk::OEMCUIP_PRNPROP, &param);

    SheetPages sheet;
    dk::PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.Version = dk::PROPSHEETUI_INFO_VERSION;
    info.hComPropSheet = &sheet;
    info.pfnComPropSheet = ComPropSheet;
    info.Reason = dk::PROPSHEETUI_REASON_INIT;
    run.sheetResult = ui->DevicePropertySheets(&info, 0);
    run.pagesAdded = static_cast<int>(sheet.pages.size());

    dk::PROPSHEETUI_INFO_HEADER header{};
    header.cbSize = sizeof header;
    info.Reason = dk::PROPSHEETUI_REASON_GET_INFO_HEADER;
    ui->DevicePropertySheets(&info, reinterpret_cast<dk::LPARAM>(&header));
    run.headerTitle = header.pTitle ? header.pTitle : L"";

    for (const auto& page : sheet.pages) {
        page->Create();
        page->Paint();
    }
    if (!sheet.pages.empty()) {
        user(*sheet.pages.front());
    }

    // OK: the driver's items are applied, the plug-in hears the sheet's result, the pages go.
    if (param.OEMCUIPCallback) {
        dk::CPSUICBPARAM cb{};
        cb.cbSize = sizeof cb;
        cb.Reason = dk::CPSUICB_REASON_APPLYNOW;
        param.OEMCUIPCallback(&cb, &param);
    }
    dk::SETRESULT_INFO result{};
    result.cbSize = sizeof result;
    result.Result = static_cast<dk::LRESULT>(kSheetOk);
    info.Reason = dk::PROPSHEETUI_REASON_SET_RESULT;
    ui->DevicePropertySheets(&info, reinterpret_cast<dk::LPARAM>(&result));
    run.setResult = info.Result;
    for (const auto& page : sheet.pages) {
        page->Destroy();
    }
    info.Reason = dk::PROPSHEETUI_REASON_DESTROY;
    ui->DevicePropertySheets(&info, 0);

    sim_.heap().Destroy(heap);
    if (printer) {
        spooler.ClosePrinter(printer);
    }
}

}  // namespace tavrel
