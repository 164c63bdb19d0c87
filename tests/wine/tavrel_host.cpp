// A small driver host for Tavrel.dll under Wine: loads the module as the COM runtime would, creates the
// plug-in through its exports, asks it what a driver asks first (signature, the private DEVMODE part, colour
// profile, printer items for the prefix's printer), loads the page's tab icon as the property sheet does,
// releases everything and unloads it. Exit code 0 when every answer is the expected one.

#include <cstdio>
#include <thread>

#include "driver_kit.h"

namespace host {
namespace dk = driverkit;
// Taken before the system headers, which define these names as macros.
constexpr dk::HRESULT kOk = dk::S_OK;
constexpr dk::HRESULT kClassNotAvailable = dk::CLASS_E_CLASSNOTAVAILABLE;
constexpr dk::DWORD kGetSignature = dk::OEMGI_GETSIGNATURE;
using GetClassObject = dk::HRESULT (*)(const dk::CLSID&, const dk::IID&, void**);
using CanUnloadNow = dk::HRESULT (*)();
}  // namespace host

#include "platform/win32/windows_api.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    failures += ok ? 0 : 1;
}

}  // namespace

int main() {
    namespace dk = driverkit;
    HMODULE module = ::LoadLibraryW(L"Tavrel.dll");
    Check(module != nullptr, "Tavrel.dll loads");
    if (!module) {
        return 1;
    }
    // Through void*: the entry's real type is not GetProcAddress's.
    auto getClassObject =
        reinterpret_cast<host::GetClassObject>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")));
    auto canUnloadNow =
        reinterpret_cast<host::CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    Check(getClassObject && canUnloadNow, "both exports found by their plain names");
    if (!getClassObject || !canUnloadNow) {
        return 1;
    }

    // The page asks the sheet for icon 160 of the module (PSP_USEICONID); the sheet's tab draws it small, other
    // views large.
    for (const int side : {16, 32}) {
        HANDLE icon = ::LoadImageW(module, MAKEINTRESOURCEW(160), IMAGE_ICON, side, side, LR_DEFAULTCOLOR);
        Check(icon != nullptr, side == 16 ? "page icon 160 at 16 x 16" : "page icon 160 at 32 x 32");
        if (icon) {
            ::DestroyIcon(static_cast<HICON>(icon));
        }
    }

    void* none = nullptr;
    Check(getClassObject(dk::IID_IUnknown, dk::IID_IClassFactory, &none) == host::kClassNotAvailable && !none,
          "another class id is refused");

    dk::IClassFactory* factory = nullptr;
    Check(getClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&factory)) == host::kOk,
          "class factory");
    dk::IPrintOemUI* ui = nullptr;
    Check(factory && factory->CreateInstance(nullptr, dk::IID_IPrintOemUI, reinterpret_cast<void**>(&ui)) == host::kOk,
          "plug-in object");
    if (factory) {
        factory->Release();
    }
    if (ui) {
        dk::DWORD signature = 0;
        dk::DWORD needed = 0;
        Check(ui->GetInfo(host::kGetSignature, &signature, sizeof signature, &needed) == host::kOk &&
                  signature == 0x4D534654 && needed == 4,
              "signature");
        dk::OEMDMPARAM dm{};
        dm.cbSize = sizeof dm;
        Check(ui->DevMode(dk::OEMDM_SIZE, &dm) == host::kOk && dm.cbBufSize == 20, "private part size");
        // The private part: size, signature, version, move value, compression rate.
        dk::DWORD in[5] = {20, 0x4D534654, 1, 40, 60};
        dk::DWORD out[5] = {};
        dm.pOEMDMOut = out;
        Check(ui->DevMode(dk::OEMDM_DEFAULT, &dm) == host::kOk && out[0] == 20 && out[1] == 0x4D534654 && out[3] == 0 &&
                  out[4] == 100,
              "private part defaults");
        dm.pOEMDMIn = in;
        Check(ui->DevMode(dk::OEMDM_CONVERT, &dm) == host::kOk && out[3] == 40 && out[4] == 60,
              "private part converted");
        in[3] = 101;
        in[4] = 250;
        Check(ui->DevMode(dk::OEMDM_MERGE, &dm) == host::kOk && out[3] == 0 && out[4] == 100,
              "merged private part in range");
        wchar_t profile[16] = {};
        dk::ULONG size = sizeof profile;
        dk::FLONG flags = 0;
        Check(ui->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, profile, &size, &flags) == host::kOk &&
                  std::wstring(profile) == L"OEMPROFILE.icm" && flags == dk::QCP_PROFILEDISK,
              "colour profile");

        // The printer items of a printer whose driver ships no model settings file: none, on a thread that
        // ends while the module is loaded (its record goes at thread detach).
        std::thread([&] {
            wchar_t name[] = L"Contract Printer";
            HANDLE printer = nullptr;
            ::OpenPrinterW(name, &printer, nullptr);
            dk::OEMCUIPPARAM param{};
            param.cbSize = sizeof param;
            param.hPrinter = printer;
            param.pPrinterName = name;
            param.hOEMHeap = ::GetProcessHeap();
            param.cOEMOptItems = 99;
            Check(ui->CommonUIProp(dk::OEMCUIP_PRNPROP, &param) == host::kOk && param.cOEMOptItems == 0,
                  "no printer items without a model settings file");
            if (printer) {
                ::ClosePrinter(printer);
            }
        }).join();
        Check(ui->Release() == 0, "last reference");
    }
    Check(canUnloadNow() == host::kOk, "unloadable once everything is released");
    Check(::FreeLibrary(module) != 0, "unloads");
    return failures == 0 ? 0 : 1;
}
