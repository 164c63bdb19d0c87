#pragma once
// The printer driver kit as the plug-in sees it: COM basics, the plug-in interfaces and the common property
// sheet records, written from the published reference pages. Plain types of fixed width, so that the plug-in
// builds and is tested on the sim as well; on Windows (64-bit, the only build of the plug-in) the layouts
// match the system's, which driver_kit_check_win32.cpp proves against the system headers where mingw-w64 has
// them. Names are the kit's own, inside this namespace.

#include <cstddef>
#include <cstdint>

namespace driverkit {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using FLONG = ULONG;
using LONG = std::int32_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using LPARAM = std::intptr_t;
using WPARAM = std::uintptr_t;
using HANDLE = void*;
using HWND = void*;
using HMODULE = void*;
using PWSTR = wchar_t*;  // UTF-16 on Windows

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}

// Results. Failure codes have the top bit set; they are written as their 32-bit patterns.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);

inline constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_IClassFactory = {0x00000001,
                                           0x0000,
                                           0x0000,
                                           {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_IPrintOemUI = {0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
inline constexpr GUID IID_IPrintOemDriverUI = {0x92B05D50,
                                               0x78BC,
                                               0x11D1,
                                               {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// The kit's class id of user-interface plug-ins.
inline constexpr GUID CLSID_OEMUI = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};

// ---- COM interfaces: abstract classes without data or destructor, so that their tables are the COM ones.

struct IUnknown {
    virtual HRESULT QueryInterface(const IID& riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, const IID& riid, void** ppv) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;
};

// ---- Private DEVMODE part and the DEVMODE calls.

struct OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
};

struct DEVMODEW;  // the public DEVMODE: the plug-in only passes it on

// The driver's handle on its own services, passed through to the plug-in; the procedures are the driver's
// private business.
struct OEMUIPROCS;
struct OEMUIOBJ {
    DWORD cbSize;
    OEMUIPROCS* pOemUIProcs;
};

inline constexpr DWORD OEMDM_SIZE = 1;
inline constexpr DWORD OEMDM_DEFAULT = 2;
inline constexpr DWORD OEMDM_CONVERT = 3;
inline constexpr DWORD OEMDM_MERGE = 4;

struct OEMDMPARAM {
    DWORD cbSize;
    void* pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    DEVMODEW* pPublicDMIn;
    DEVMODEW* pPublicDMOut;
    void* pOEMDMIn;
    void* pOEMDMOut;
    DWORD cbBufSize;
};

inline constexpr DWORD OEMGI_GETSIGNATURE = 1;
inline constexpr DWORD OEMGI_GETINTERFACEVERSION = 2;
inline constexpr DWORD OEMGI_GETVERSION = 3;
inline constexpr DWORD OEMGI_GETPUBLISHERINFO = 4;

inline constexpr ULONG QCP_DEVICEPROFILE = 0;
inline constexpr FLONG QCP_PROFILEDISK = 2;

// ---- Common property sheet records.

struct OPTPARAM {
    WORD cbSize;
    BYTE Flags;
    BYTE Style;
    PWSTR pData;
    ULONG_PTR IconID;
    LPARAM lParam;
    ULONG_PTR dwReserved[2];
};

struct OPTTYPE {
    WORD cbSize;
    BYTE Type;
    BYTE Flags;
    WORD Count;
    WORD BegCtrlID;
    OPTPARAM* pOptParam;
    WORD Style;
    WORD wReserved[3];
    ULONG_PTR dwReserved[3];
};

struct OPTITEM {
    WORD cbSize;
    BYTE Level;
    BYTE DlgPageIdx;
    DWORD Flags;
    ULONG_PTR UserData;
    PWSTR pName;
    union {
        LONG Sel;
        PWSTR pSel;
    };
    union {
        void* pExtChkBox;
        void* pExtPush;
    };
    OPTTYPE* pOptType;
    DWORD HelpIndex;
    BYTE DMPubID;
    BYTE UserItemID;
    WORD wReserved;
    void* pOIExt;
    ULONG_PTR dwReserved[3];
};

inline constexpr DWORD OPTIF_COLLAPSE = 0x00000001;
inline constexpr DWORD OPTIF_CHANGED = 0x00000008;
inline constexpr BYTE TVOT_UDARROW = 2;
inline constexpr BYTE DMPUB_NONE = 0;

struct CPSUICBPARAM {
    WORD cbSize;
    WORD Reason;
    HWND hDlg;
    OPTITEM* pOptItem;
    WORD cOptItem;
    WORD Flags;
    OPTITEM* pCurItem;
    union {
        LONG OldSel;
        PWSTR pOldSel;
    };
    ULONG_PTR UserData;
    ULONG_PTR Result;
};

inline constexpr WORD CPSUICB_REASON_APPLYNOW = 6;
inline constexpr WORD CPSUICB_REASON_SETACTIVE = 10;
inline constexpr WORD CPSUICB_REASON_KILLACTIVE = 11;
inline constexpr LONG CPSUICB_ACTION_NONE = 0;
inline constexpr LONG CPSUICB_ACTION_OPTIF_CHANGED = 1;

using PFNCOMPROPSHEET = LONG_PTR (*)(HANDLE hComPropSheet, UINT Function, LPARAM lParam1, LPARAM lParam2);

using LRESULT = LONG_PTR;
using HINSTANCE = void*;
using HICON = void*;

struct PROPSHEETUI_INFO {
    WORD cbSize;
    WORD Version;
    WORD Flags;
    WORD Reason;
    HANDLE hComPropSheet;
    PFNCOMPROPSHEET pfnComPropSheet;
    LPARAM lParamInit;
    ULONG_PTR UserData;
    ULONG_PTR Result;
};

struct PROPSHEETUI_INFO_HEADER {
    WORD cbSize;
    WORD Flags;
    PWSTR pTitle;
    HWND hWndParent;
    HINSTANCE hInst;
    union {
        HICON hIcon;
        ULONG_PTR IconID;
    };
};

struct SETRESULT_INFO {
    WORD cbSize;
    WORD wReserved;
    HANDLE hSetResult;
    LRESULT Result;
};

inline constexpr UINT CPSFUNC_ADD_PROPSHEETPAGEW = 1;
inline constexpr WORD PROPSHEETUI_INFO_VERSION = 0x0100;
inline constexpr WORD PROPSHEETUI_REASON_INIT = 0;
inline constexpr WORD PROPSHEETUI_REASON_GET_INFO_HEADER = 1;
inline constexpr WORD PROPSHEETUI_REASON_DESTROY = 2;
inline constexpr WORD PROPSHEETUI_REASON_SET_RESULT = 3;
inline constexpr WORD PROPSHEETUI_REASON_GET_ICON = 4;

// ---- The property page the plug-in hands to the common property sheet, and the window messages its dialog
// procedure handles.

using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// The 64-bit layout that ends with the header subtitle (88 bytes), which every system version takes.
struct PROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    union {
        const wchar_t* pszTemplate;
        const void* pResource;
    };
    union {
        HICON hIcon;
        const wchar_t* pszIcon;
    };
    const wchar_t* pszTitle;
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    void* pfnCallback;
    UINT* pcRefParent;
    const wchar_t* pszHeaderTitle;
    const wchar_t* pszHeaderSubTitle;
};

inline constexpr DWORD PSP_USEICONID = 0x00000004;

// A resource id where a name may stand, as the system's resource calls take it.
inline const wchar_t* MakeIntResource(WORD id) {
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(id));
}

inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;

// ---- The plug-in's property calls.

struct OEMCUIPPARAM;
using OEMCUIPCALLBACK = LONG (*)(CPSUICBPARAM* pCPSUICBParam, OEMCUIPPARAM* pOEMUIParam);

struct OEMCUIPPARAM {
    DWORD cbSize;
    OEMUIOBJ* poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    DEVMODEW* pPublicDM;
    void* pOEMDM;
    DWORD dwFlags;
    OPTITEM* pDrvOptItems;
    DWORD cDrvOptItems;
    OPTITEM* pOEMOptItems;
    DWORD cOEMOptItems;
    void* pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
};

inline constexpr DWORD OEMCUIP_DOCPROP = 1;
inline constexpr DWORD OEMCUIP_PRNPROP = 2;

struct DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    PWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
};

// The driver's services to the plug-in; the plug-in holds it but calls none of them, so only its identity
// matters here.
struct IPrintOemDriverUI : IUnknown {};

// The plug-in interface, in the kit's slot order: IUnknown, then the common part, then the UI part.
struct IPrintOemCommon : IUnknown {
    virtual HRESULT GetInfo(DWORD dwMode, void* pBuffer, DWORD cbSize, DWORD* pcbNeeded) = 0;
    virtual HRESULT DevMode(DWORD dwMode, OEMDMPARAM* pOemDMParam) = 0;
};

struct IPrintOemUI : IPrintOemCommon {
    virtual HRESULT PublishDriverInterface(IUnknown* pIUnknown) = 0;
    virtual HRESULT CommonUIProp(DWORD dwMode, OEMCUIPPARAM* pOemCUIPParam) = 0;
    virtual HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT DevicePropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT DevQueryPrintEx(OEMUIOBJ* poemuiobj,
                                    DEVQUERYPRINT_INFO* pDQPInfo,
                                    DEVMODEW* pPublicDM,
                                    void* pOEMDM) = 0;
    virtual HRESULT DeviceCapabilities(OEMUIOBJ* poemuiobj,
                                       HANDLE hPrinter,
                                       PWSTR pDeviceName,
                                       WORD wCapability,
                                       void* pOutput,
                                       DEVMODEW* pPublicDM,
                                       void* pOEMDM,
                                       DWORD dwOld,
                                       DWORD* dwResult) = 0;
    virtual HRESULT UpgradePrinter(DWORD dwLevel, BYTE* pDriverUpgradeInfo) = 0;
    virtual HRESULT PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) = 0;
    virtual HRESULT DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, BYTE* pDriverInfo, LPARAM lParam) = 0;
    virtual HRESULT QueryColorProfile(HANDLE hPrinter,
                                      OEMUIOBJ* poemuiobj,
                                      DEVMODEW* pPublicDM,
                                      void* pOEMDM,
                                      ULONG ulQueryMode,
                                      void* pvProfileData,
                                      ULONG* pcbProfileData,
                                      FLONG* pflProfileData) = 0;
    virtual HRESULT FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual HRESULT UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) = 0;
};

// The module entry point's reasons.
inline constexpr DWORD DLL_PROCESS_ATTACH = 1;
inline constexpr DWORD DLL_THREAD_DETACH = 3;

}  // namespace driverkit
