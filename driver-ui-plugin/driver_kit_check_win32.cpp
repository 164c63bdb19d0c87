// Compile-time proof that our driver-kit declarations match the system's where mingw-w64 carries them
// (compstui.h, the COM headers), and match the published 64-bit layouts where it does not (the plug-in
// records of the print driver kit). Nothing here runs.
//
// Our constants are taken before the system headers come in: those define the same names as macros.

#include "driver_kit.h"

namespace ours {
namespace k = driverkit;
constexpr k::HRESULT results[] = {k::S_OK,
                                  k::S_FALSE,
                                  k::E_NOTIMPL,
                                  k::E_NOINTERFACE,
                                  k::E_POINTER,
                                  k::E_FAIL,
                                  k::E_OUTOFMEMORY,
                                  k::CLASS_E_NOAGGREGATION,
                                  k::CLASS_E_CLASSNOTAVAILABLE};
constexpr unsigned long optifCollapse = k::OPTIF_COLLAPSE;
constexpr unsigned long optifChanged = k::OPTIF_CHANGED;
constexpr unsigned tvotUdArrow = k::TVOT_UDARROW;
constexpr unsigned dmpubNone = k::DMPUB_NONE;
constexpr unsigned reasons[] = {k::CPSUICB_REASON_APPLYNOW, k::CPSUICB_REASON_SETACTIVE, k::CPSUICB_REASON_KILLACTIVE};
constexpr long actions[] = {k::CPSUICB_ACTION_NONE, k::CPSUICB_ACTION_OPTIF_CHANGED};
constexpr unsigned sheetUi[] = {k::PROPSHEETUI_INFO_VERSION,           k::PROPSHEETUI_REASON_INIT,
                                k::PROPSHEETUI_REASON_GET_INFO_HEADER, k::PROPSHEETUI_REASON_DESTROY,
                                k::PROPSHEETUI_REASON_SET_RESULT,      k::PROPSHEETUI_REASON_GET_ICON,
                                k::CPSFUNC_ADD_PROPSHEETPAGEW};
constexpr unsigned long pageFlags = k::PSP_USEICONID;
constexpr unsigned messages[] = {k::WM_DESTROY, k::WM_INITDIALOG, k::WM_COMMAND, k::WM_CTLCOLORSTATIC};
constexpr unsigned long dll[] = {k::DLL_PROCESS_ATTACH, k::DLL_THREAD_DETACH};
}  // namespace ours

#include "platform/win32/windows_api.h"

#include <compstui.h>
#include <objbase.h>

#include <type_traits>

#define SAME_LAYOUT(ourType, theirType, ...)                                          \
    static_assert(sizeof(driverkit::ourType) == sizeof(theirType), #ourType " size"); \
    static_assert(alignof(driverkit::ourType) == alignof(theirType), #ourType " alignment")
#define SAME_FIELD(ourType, theirType, field) \
    static_assert(offsetof(driverkit::ourType, field) == offsetof(theirType, field), #ourType "." #field)

static_assert(sizeof(void*) == 8, "the plug-in is a 64-bit module; the checks below hold its layouts");
static_assert(sizeof(wchar_t) == sizeof(WCHAR));

static_assert(ours::results[0] == S_OK && ours::results[1] == S_FALSE && ours::results[2] == E_NOTIMPL);
static_assert(ours::results[3] == E_NOINTERFACE && ours::results[4] == E_POINTER && ours::results[5] == E_FAIL);
static_assert(ours::results[6] == E_OUTOFMEMORY && ours::results[7] == CLASS_E_NOAGGREGATION);
static_assert(ours::results[8] == CLASS_E_CLASSNOTAVAILABLE);

static_assert(ours::optifCollapse == OPTIF_COLLAPSE && ours::optifChanged == OPTIF_CHANGED);
static_assert(ours::tvotUdArrow == TVOT_UDARROW && ours::dmpubNone == DMPUB_NONE);
static_assert(ours::reasons[0] == CPSUICB_REASON_APPLYNOW && ours::reasons[1] == CPSUICB_REASON_SETACTIVE);
static_assert(ours::reasons[2] == CPSUICB_REASON_KILLACTIVE);
static_assert(ours::actions[0] == CPSUICB_ACTION_NONE && ours::actions[1] == CPSUICB_ACTION_OPTIF_CHANGED);
static_assert(ours::sheetUi[0] == PROPSHEETUI_INFO_VERSION && ours::sheetUi[1] == PROPSHEETUI_REASON_INIT);
static_assert(ours::sheetUi[2] == PROPSHEETUI_REASON_GET_INFO_HEADER);
static_assert(ours::sheetUi[3] == PROPSHEETUI_REASON_DESTROY && ours::sheetUi[4] == PROPSHEETUI_REASON_SET_RESULT);
static_assert(ours::sheetUi[5] == PROPSHEETUI_REASON_GET_ICON && ours::sheetUi[6] == CPSFUNC_ADD_PROPSHEETPAGEW);
static_assert(ours::dll[0] == DLL_PROCESS_ATTACH && ours::dll[1] == DLL_THREAD_DETACH);

// COM basics.
SAME_LAYOUT(GUID, ::GUID);
static_assert(sizeof(driverkit::HRESULT) == sizeof(::HRESULT) && sizeof(driverkit::LONG) == sizeof(::LONG));
static_assert(sizeof(driverkit::DWORD) == sizeof(::DWORD) && sizeof(driverkit::LPARAM) == sizeof(::LPARAM));
static_assert(std::is_signed_v<driverkit::HRESULT> == std::is_signed_v<::HRESULT>);

// Common property sheet records.
SAME_LAYOUT(OPTPARAM, ::OPTPARAM);
SAME_FIELD(OPTPARAM, ::OPTPARAM, pData);
SAME_FIELD(OPTPARAM, ::OPTPARAM, IconID);
SAME_FIELD(OPTPARAM, ::OPTPARAM, lParam);
SAME_FIELD(OPTPARAM, ::OPTPARAM, dwReserved);
SAME_LAYOUT(OPTTYPE, ::OPTTYPE);
SAME_FIELD(OPTTYPE, ::OPTTYPE, Type);
SAME_FIELD(OPTTYPE, ::OPTTYPE, Count);
SAME_FIELD(OPTTYPE, ::OPTTYPE, pOptParam);
SAME_FIELD(OPTTYPE, ::OPTTYPE, Style);
SAME_FIELD(OPTTYPE, ::OPTTYPE, dwReserved);
SAME_LAYOUT(OPTITEM, ::OPTITEM);
SAME_FIELD(OPTITEM, ::OPTITEM, Level);
SAME_FIELD(OPTITEM, ::OPTITEM, Flags);
SAME_FIELD(OPTITEM, ::OPTITEM, UserData);
SAME_FIELD(OPTITEM, ::OPTITEM, pName);
SAME_FIELD(OPTITEM, ::OPTITEM, Sel);
SAME_FIELD(OPTITEM, ::OPTITEM, pOptType);
SAME_FIELD(OPTITEM, ::OPTITEM, HelpIndex);
SAME_FIELD(OPTITEM, ::OPTITEM, DMPubID);
SAME_FIELD(OPTITEM, ::OPTITEM, pOIExt);
SAME_FIELD(OPTITEM, ::OPTITEM, dwReserved);
SAME_LAYOUT(CPSUICBPARAM, ::CPSUICBPARAM);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, Reason);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, hDlg);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, pOptItem);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, cOptItem);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, pCurItem);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, OldSel);
SAME_FIELD(CPSUICBPARAM, ::CPSUICBPARAM, Result);
SAME_LAYOUT(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, Reason);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, hComPropSheet);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, pfnComPropSheet);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, lParamInit);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, UserData);
SAME_FIELD(PROPSHEETUI_INFO, ::PROPSHEETUI_INFO, Result);
static_assert(std::is_same_v<driverkit::PFNCOMPROPSHEET, ::PFNCOMPROPSHEET>);
SAME_LAYOUT(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER);
SAME_FIELD(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER, Flags);
SAME_FIELD(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER, pTitle);
SAME_FIELD(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER, hWndParent);
SAME_FIELD(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER, hInst);
SAME_FIELD(PROPSHEETUI_INFO_HEADER, ::PROPSHEETUI_INFO_HEADER, IconID);
static_assert(std::is_same_v<decltype(::PROPSHEETUI_INFO_HEADER::pTitle), LPWSTR>, "the UNICODE header");
SAME_LAYOUT(SETRESULT_INFO, ::SETRESULT_INFO);
SAME_FIELD(SETRESULT_INFO, ::SETRESULT_INFO, hSetResult);
SAME_FIELD(SETRESULT_INFO, ::SETRESULT_INFO, Result);
// The page record: our layout is the one that ends with the header subtitle.
static_assert(ours::pageFlags == PSP_USEICONID);
static_assert(ours::messages[0] == WM_DESTROY && ours::messages[1] == WM_INITDIALOG);
static_assert(ours::messages[2] == WM_COMMAND && ours::messages[3] == WM_CTLCOLORSTATIC);
static_assert(sizeof(driverkit::PROPSHEETPAGEW) == 88);
static_assert(offsetof(::PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(void*) == 88);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, hInstance);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, pszTemplate);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, pszIcon);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, pfnDlgProc);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, lParam);
SAME_FIELD(PROPSHEETPAGEW, ::PROPSHEETPAGEW, pszHeaderSubTitle);

// The plug-in records, which mingw-w64 does not carry: the published x64 layouts (pointers and handles 8
// bytes, DWORDs 4, each member at its natural alignment).
static_assert(sizeof(driverkit::OEM_DMEXTRAHEADER) == 12);
static_assert(offsetof(driverkit::OEMDMPARAM, pdriverobj) == 8 && offsetof(driverkit::OEMDMPARAM, pOEMDMIn) == 48);
static_assert(offsetof(driverkit::OEMDMPARAM, cbBufSize) == 64 && sizeof(driverkit::OEMDMPARAM) == 72);
static_assert(offsetof(driverkit::OEMCUIPPARAM, pPrinterName) == 24);
static_assert(offsetof(driverkit::OEMCUIPPARAM, hOEMHeap) == 40);
static_assert(offsetof(driverkit::OEMCUIPPARAM, dwFlags) == 64);
static_assert(offsetof(driverkit::OEMCUIPPARAM, pOEMOptItems) == 88);
static_assert(offsetof(driverkit::OEMCUIPPARAM, cOEMOptItems) == 96);
static_assert(offsetof(driverkit::OEMCUIPPARAM, OEMCUIPCallback) == 112 && sizeof(driverkit::OEMCUIPPARAM) == 120);
static_assert(offsetof(driverkit::OEMUIOBJ, pOemUIProcs) == 8 && sizeof(driverkit::OEMUIOBJ) == 16);
static_assert(offsetof(driverkit::DEVQUERYPRINT_INFO, hPrinter) == 8);
static_assert(offsetof(driverkit::DEVQUERYPRINT_INFO, pszErrorStr) == 24);
static_assert(offsetof(driverkit::DEVQUERYPRINT_INFO, cchNeeded) == 36 && sizeof(driverkit::DEVQUERYPRINT_INFO) == 40);

// COM objects are reached through their first pointer, the function table.
static_assert(sizeof(driverkit::IUnknown) == sizeof(void*) && sizeof(driverkit::IPrintOemUI) == sizeof(void*));
