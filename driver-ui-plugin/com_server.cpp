#include "com_server.h"

#include "oem_ui.h"
#include "platform/platform.h"
#include "platform/thread_state.h"
#include "thread_printer_items.h"

namespace tavrel {

driverkit::HMODULE g_hModule = nullptr;
std::atomic<std::int32_t> g_cComponents{0};
std::atomic<std::int32_t> g_cServerLocks{0};

}  // namespace tavrel

namespace dk = driverkit;

driverkit::HRESULT DllGetClassObject(const driverkit::CLSID& rclsid, const driverkit::IID& riid, void** ppv) {
    if (!ppv) {
        return dk::E_POINTER;
    }
    *ppv = nullptr;
    if (!(rclsid == dk::CLSID_OEMUI)) {
        return dk::CLASS_E_CLASSNOTAVAILABLE;
    }
    // Every object of the module starts here, so here the platform comes in, never in DllMain.
    platform::InstallDefaultOnce();
    return tavrel::CreateAndQuery<tavrel::IOemCF>(riid, ppv);
}

driverkit::HRESULT DllCanUnloadNow() {
    return tavrel::g_cComponents == 0 && tavrel::g_cServerLocks == 0 ? dk::S_OK : dk::S_FALSE;
}

// Under the loader lock: store, forget, nothing else.
driverkit::BOOL DllMain(driverkit::HMODULE hModule, driverkit::DWORD dwReason, void*) {
    if (dwReason == dk::DLL_PROCESS_ATTACH) {
        tavrel::g_hModule = hModule;
    } else if (dwReason == dk::DLL_THREAD_DETACH && platform::IsInstalled()) {
        // Without a platform no object has run yet, so no thread has a record.
        tavrel::RemoveThreadPrinterName(platform::threadState().CurrentThreadId());
    }
    return 1;
}
