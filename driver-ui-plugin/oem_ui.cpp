#include "oem_ui.h"

#include <algorithm>
#include <cstring>

#include "device_page.h"
#include "option_items.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "platform/usb_printer.h"
#include "private_devmode.h"
#include "thread_printer_items.h"

namespace tavrel {

namespace {

namespace dk = driverkit;

constexpr wchar_t kProfileName[] = L"OEMPROFILE.icm";
constexpr dk::ULONG kProfileBytes = 32;  // what the profile query asks the caller to provide
constexpr dk::HRESULT kStrSafeInsufficientBuffer = static_cast<dk::HRESULT>(0x8007007Au);

dk::HRESULT Fail(std::uint32_t lastError) {
    platform::threadState().SetLastError(lastError);
    return dk::E_FAIL;
}

// A bounded copy of a text and its terminator as UTF-16LE into a byte buffer: cut to fit, always terminated,
// and a failure when it had to be cut.
dk::HRESULT CopyWideText(void* buffer, std::size_t bytes, const std::wstring& text) {
    platform::Bytes data = platform::WideToUtf16Le(text);
    data.push_back(0);
    data.push_back(0);
    if (bytes < 2) {
        return kStrSafeInsufficientBuffer;
    }
    const std::size_t n = std::min(data.size(), bytes & ~std::size_t{1});
    std::memcpy(buffer, data.data(), n);
    if (n < data.size()) {
        std::memset(static_cast<std::uint8_t*>(buffer) + n - 2, 0, 2);
        return kStrSafeInsufficientBuffer;
    }
    return dk::S_OK;
}

}  // namespace

IOemUI::~IOemUI() {
    if (m_pDriverUI) {
        m_pDriverUI->Release();
        m_pDriverUI = nullptr;
    }
}

driverkit::HRESULT IOemUI::QueryInterface(const driverkit::IID& riid, void** ppv) {
    if (!ppv) {
        return dk::E_POINTER;
    }
    if (riid == dk::IID_IUnknown || riid == dk::IID_IPrintOemUI) {
        return Hand(ppv);
    }
    *ppv = nullptr;
    return dk::E_NOINTERFACE;
}

driverkit::HRESULT IOemUI::GetInfo(driverkit::DWORD dwMode,
                                   void* pBuffer,
                                   driverkit::DWORD cbSize,
                                   driverkit::DWORD* pcbNeeded) {
    if (!pcbNeeded ||
        (dwMode != dk::OEMGI_GETSIGNATURE && dwMode != dk::OEMGI_GETVERSION && dwMode != dk::OEMGI_GETPUBLISHERINFO)) {
        return Fail(platform::kErrorInvalidParameter);
    }
    *pcbNeeded = sizeof(dk::DWORD);
    if (!pBuffer || cbSize < sizeof(dk::DWORD)) {
        return Fail(platform::kErrorInsufficientBuffer);
    }
    dk::DWORD answer = 0;
    switch (dwMode) {
        case dk::OEMGI_GETSIGNATURE:
            answer = kOemSignature;
            break;
        case dk::OEMGI_GETVERSION:
            answer = kOemVersion;
            break;
        default:  // publisher information: none to give
            *pcbNeeded = 0;
            return Fail(platform::kErrorNotSupported);
    }
    std::memcpy(pBuffer, &answer, sizeof answer);
    return dk::S_OK;
}

driverkit::HRESULT IOemUI::DevMode(driverkit::DWORD dwMode, driverkit::OEMDMPARAM* pOemDMParam) {
    if (!pOemDMParam || dwMode < dk::OEMDM_SIZE || dwMode > dk::OEMDM_MERGE) {
        return Fail(platform::kErrorInvalidParameter);
    }
    auto* in = static_cast<const PrivateDevMode*>(pOemDMParam->pOEMDMIn);
    auto* out = static_cast<PrivateDevMode*>(pOemDMParam->pOEMDMOut);
    switch (dwMode) {
        case dk::OEMDM_SIZE:
            pOemDMParam->cbBufSize = sizeof(PrivateDevMode);
            break;
        case dk::OEMDM_DEFAULT:
            if (out) {
                DefaultPrivateDevMode(*out);
            }
            break;
        case dk::OEMDM_CONVERT:
            ConvertPrivateDevMode(in, out);
            break;
        default:  // OEMDM_MERGE
            ConvertPrivateDevMode(in, out);
            if (out) {
                ValidatePrivateDevMode(*out);
            }
            break;
    }
    return dk::S_OK;
}

driverkit::HRESULT IOemUI::PublishDriverInterface(driverkit::IUnknown* pIUnknown) {
    if (m_pDriverUI) {
        return dk::S_OK;
    }
    void* driverUI = nullptr;
    if (!pIUnknown || pIUnknown->QueryInterface(dk::IID_IPrintOemDriverUI, &driverUI) != dk::S_OK || !driverUI) {
        m_pDriverUI = nullptr;
        return dk::E_FAIL;
    }
    m_pDriverUI = static_cast<dk::IPrintOemDriverUI*>(driverUI);
    return dk::S_OK;
}

driverkit::HRESULT IOemUI::CommonUIProp(driverkit::DWORD dwMode, driverkit::OEMCUIPPARAM* pOemCUIPParam) {
    if (!pOemCUIPParam) {
        return Fail(platform::kErrorInvalidParameter);
    }
    SetThreadPrinterName(platform::threadState().CurrentThreadId(), pOemCUIPParam->pPrinterName);
    return OemCommonUIProp(dwMode, pOemCUIPParam);
}

driverkit::HRESULT IOemUI::DocumentPropertySheets(driverkit::PROPSHEETUI_INFO*, driverkit::LPARAM) {
    return dk::E_FAIL;
}

driverkit::HRESULT IOemUI::DevicePropertySheets(driverkit::PROPSHEETUI_INFO* pPSUIInfo, driverkit::LPARAM lParam) {
    return AddDevicePage(pPSUIInfo, lParam);
}

driverkit::HRESULT IOemUI::DevQueryPrintEx(driverkit::OEMUIOBJ*,
                                           driverkit::DEVQUERYPRINT_INFO*,
                                           driverkit::DEVMODEW*,
                                           void*) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::DeviceCapabilities(driverkit::OEMUIOBJ*,
                                              driverkit::HANDLE,
                                              driverkit::PWSTR,
                                              driverkit::WORD,
                                              void*,
                                              driverkit::DEVMODEW*,
                                              void*,
                                              driverkit::DWORD,
                                              driverkit::DWORD*) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::UpgradePrinter(driverkit::DWORD, driverkit::BYTE*) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::PrinterEvent(driverkit::PWSTR, driverkit::INT, driverkit::DWORD, driverkit::LPARAM) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::DriverEvent(driverkit::DWORD, driverkit::DWORD, driverkit::BYTE*, driverkit::LPARAM) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::QueryColorProfile(driverkit::HANDLE,
                                             driverkit::OEMUIOBJ*,
                                             driverkit::DEVMODEW*,
                                             void*,
                                             driverkit::ULONG ulQueryMode,
                                             void* pvProfileData,
                                             driverkit::ULONG* pcbProfileData,
                                             driverkit::FLONG* pflProfileData) {
    if (ulQueryMode != dk::QCP_DEVICEPROFILE || !pcbProfileData) {
        return dk::E_FAIL;
    }
    if (!pvProfileData || *pcbProfileData < kProfileBytes) {
        *pcbProfileData = kProfileBytes;
        return Fail(platform::kErrorInsufficientBuffer);
    }
    const dk::HRESULT hr = CopyWideText(pvProfileData, *pcbProfileData, kProfileName);
    *pcbProfileData = kProfileBytes;
    if (pflProfileData) {
        *pflProfileData = dk::QCP_PROFILEDISK;
    }
    if (hr != dk::S_OK) {
        platform::threadState().SetLastError(static_cast<std::uint32_t>(hr));
    }
    return hr;
}

driverkit::HRESULT IOemUI::FontInstallerDlgProc(driverkit::HWND,
                                                driverkit::UINT,
                                                driverkit::WPARAM,
                                                driverkit::LPARAM) {
    return dk::E_NOTIMPL;
}

driverkit::HRESULT IOemUI::UpdateExternalFonts(driverkit::HANDLE, driverkit::HANDLE, driverkit::PWSTR) {
    return dk::E_NOTIMPL;
}

}  // namespace tavrel
