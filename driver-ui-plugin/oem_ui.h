#pragma once
// The plug-in object that the driver's configuration module talks to, and its class factory.

#include "com_server.h"
#include "driver_kit.h"

namespace tavrel {

class IOemUI final : public ComObject<IOemUI, driverkit::IPrintOemUI> {
public:
    IOemUI() = default;
    ~IOemUI();
    IOemUI(const IOemUI&) = delete;
    IOemUI& operator=(const IOemUI&) = delete;

    driverkit::HRESULT QueryInterface(const driverkit::IID& riid, void** ppv) override;

    driverkit::HRESULT GetInfo(driverkit::DWORD dwMode,
                               void* pBuffer,
                               driverkit::DWORD cbSize,
                               driverkit::DWORD* pcbNeeded) override;
    driverkit::HRESULT DevMode(driverkit::DWORD dwMode, driverkit::OEMDMPARAM* pOemDMParam) override;
    driverkit::HRESULT PublishDriverInterface(driverkit::IUnknown* pIUnknown) override;
    driverkit::HRESULT CommonUIProp(driverkit::DWORD dwMode, driverkit::OEMCUIPPARAM* pOemCUIPParam) override;
    driverkit::HRESULT DocumentPropertySheets(driverkit::PROPSHEETUI_INFO* pPSUIInfo,
                                              driverkit::LPARAM lParam) override;
    driverkit::HRESULT DevicePropertySheets(driverkit::PROPSHEETUI_INFO* pPSUIInfo, driverkit::LPARAM lParam) override;
    driverkit::HRESULT DevQueryPrintEx(driverkit::OEMUIOBJ* poemuiobj,
                                       driverkit::DEVQUERYPRINT_INFO* pDQPInfo,
                                       driverkit::DEVMODEW* pPublicDM,
                                       void* pOEMDM) override;
    driverkit::HRESULT DeviceCapabilities(driverkit::OEMUIOBJ* poemuiobj,
                                          driverkit::HANDLE hPrinter,
                                          driverkit::PWSTR pDeviceName,
                                          driverkit::WORD wCapability,
                                          void* pOutput,
                                          driverkit::DEVMODEW* pPublicDM,
                                          void* pOEMDM,
                                          driverkit::DWORD dwOld,
                                          driverkit::DWORD* dwResult) override;
    driverkit::HRESULT UpgradePrinter(driverkit::DWORD dwLevel, driverkit::BYTE* pDriverUpgradeInfo) override;
    driverkit::HRESULT PrinterEvent(driverkit::PWSTR pPrinterName,
                                    driverkit::INT iDriverEvent,
                                    driverkit::DWORD dwFlags,
                                    driverkit::LPARAM lParam) override;
    driverkit::HRESULT DriverEvent(driverkit::DWORD dwDriverEvent,
                                   driverkit::DWORD dwLevel,
                                   driverkit::BYTE* pDriverInfo,
                                   driverkit::LPARAM lParam) override;
    driverkit::HRESULT QueryColorProfile(driverkit::HANDLE hPrinter,
                                         driverkit::OEMUIOBJ* poemuiobj,
                                         driverkit::DEVMODEW* pPublicDM,
                                         void* pOEMDM,
                                         driverkit::ULONG ulQueryMode,
                                         void* pvProfileData,
                                         driverkit::ULONG* pcbProfileData,
                                         driverkit::FLONG* pflProfileData) override;
    driverkit::HRESULT FontInstallerDlgProc(driverkit::HWND hWnd,
                                            driverkit::UINT usMsg,
                                            driverkit::WPARAM wParam,
                                            driverkit::LPARAM lParam) override;
    driverkit::HRESULT UpdateExternalFonts(driverkit::HANDLE hPrinter,
                                           driverkit::HANDLE hHeap,
                                           driverkit::PWSTR pwstrCartridges) override;

private:
    driverkit::IPrintOemDriverUI* m_pDriverUI = nullptr;
};

using IOemCF = ClassFactory<IOemUI>;

}  // namespace tavrel
