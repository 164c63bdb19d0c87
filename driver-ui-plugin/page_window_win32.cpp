// The page window on the real dialog: controls through the dialog's item calls, bitmaps and strings from the
// plug-in's own module, tool tips of the common controls, and the property sheet as the dialog's parent.

#include "device_page.h"
#include "page_window.h"
#include "platform/win32/windows_api.h"

#include <cstddef>

namespace tavrel {

namespace dk = driverkit;

namespace {

constexpr int kPageStringChars = 256;

// The tool record up to its lParam: 64 bytes in a 64-bit module. The full record is refused by the common
// controls of version 5, which a host without a version-6 manifest gets.
static_assert(offsetof(TOOLINFOW, lpReserved) == 64);

class Win32PageWindow final : public PageWindow {
public:
    explicit Win32PageWindow(HWND dialog) : dialog_(dialog) {}

    void ShowControl(int id, bool visible) override {
        ::ShowWindow(::GetDlgItem(dialog_, id), visible ? SW_SHOW : SW_HIDE);
    }
    void SetControlText(int id, const std::wstring& text) override { ::SetDlgItemTextW(dialog_, id, text.c_str()); }
    int ControlIdOf(dk::LPARAM control) override {
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(control));
        return id == 0 ? -1 : id;
    }

    PageBitmap LoadBitmapResource(const std::wstring& name) override {
        return reinterpret_cast<PageBitmap>(::LoadImageW(Module(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    }
    PageBitmap SetButtonImage(int id, PageBitmap bitmap) override {
        return static_cast<PageBitmap>(
            ::SendDlgItemMessageW(dialog_, id, BM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(bitmap)));
    }
    void FreeBitmap(PageBitmap bitmap) override { ::DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap)); }

    PageToolTip AddButtonToolTip(int id, const std::wstring& text) override {
        const HWND button = ::GetDlgItem(dialog_, id);
        if (!button) {
            return 0;
        }
        const HWND tip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, Module(), nullptr);
        if (!tip) {
            return 0;
        }
        TOOLINFOW tool{};
        tool.cbSize = offsetof(TOOLINFOW, lpReserved);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog_;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = const_cast<wchar_t*>(text.c_str());  // the tip keeps its own copy
        ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return reinterpret_cast<PageToolTip>(tip);
    }
    void SetToolTipMaxWidth(PageToolTip tip, int pixels) override {
        ::SendMessageW(reinterpret_cast<HWND>(tip), TTM_SETMAXTIPWIDTH, 0, pixels);
    }
    // The sheet owns the tips and destroys them before the page hears WM_DESTROY; a handle already gone is
    // left alone, and so is one that now names some other window.
    void DestroyToolTip(PageToolTip tip) override {
        const HWND window = reinterpret_cast<HWND>(tip);
        wchar_t cls[32] = {};
        if (::IsWindow(window) && ::GetClassNameW(window, cls, 32) && ::lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) {
            ::DestroyWindow(window);
        }
    }

    PageFont CreateTitleFont(bool bold, bool italic) override {
        LOGFONTW font{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        font.lfHeight = -12;
        font.lfWidth = 0;
        font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        if (italic) {
            font.lfItalic = TRUE;
        }
        return reinterpret_cast<PageFont>(::CreateFontIndirectW(&font));
    }
    void DeleteFont(PageFont font) override { ::DeleteObject(reinterpret_cast<HGDIOBJ>(font)); }
    dk::INT_PTR PaintTitle(dk::WPARAM deviceContext, PageFont font, PageColour colour) override {
        const HDC dc = reinterpret_cast<HDC>(deviceContext);
        ::SetBkMode(dc, TRANSPARENT);
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
        return reinterpret_cast<dk::INT_PTR>(
            ::GetSysColorBrush(colour == PageColour::ButtonFace ? COLOR_BTNFACE : COLOR_WINDOW));
    }

    // Without a compatibility manifest the system reports 6.2 from Windows 8 on: still 6 or more, which is
    // all the page asks.
    std::uint32_t SystemMajorVersion() override { return LOBYTE(LOWORD(::GetVersion())); }
    std::wstring LoadPageString(std::uint32_t id) override {
        wchar_t text[kPageStringChars] = {};
        ::LoadStringW(Module(), id, text, kPageStringChars);
        return text;
    }
    void MessageBoxOk(const std::wstring& text, const std::wstring& caption) override {
        ::MessageBoxW(dialog_, text.c_str(), caption.c_str(), MB_OK);
    }

    void HideSheet() override { ::ShowWindow(Sheet(), SW_HIDE); }
    void ShowSheetInFront() override {
        const HWND sheet = Sheet();
        ::ShowWindow(sheet, SW_SHOW);
        constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
        ::SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, flags);
        ::SetWindowPos(sheet, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    }

    void* UserData() override { return reinterpret_cast<void*>(::GetWindowLongPtrW(dialog_, DWLP_USER)); }
    void SetUserData(void* data) override { ::SetWindowLongPtrW(dialog_, DWLP_USER, reinterpret_cast<LONG_PTR>(data)); }

private:
    // The plug-in's own module, where its bitmaps, strings and dialog are.
    static HINSTANCE Module() {
        HMODULE module = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(&PageDialogProc), &module);
        return module;
    }
    HWND Sheet() const { return ::GetParent(dialog_); }

    HWND dialog_;
};

}  // namespace

dk::INT_PTR PageDialogProc(dk::HWND hDlg, dk::UINT message, dk::WPARAM wParam, dk::LPARAM lParam) {
    Win32PageWindow window(static_cast<HWND>(hDlg));
    return DevicePageDlgProc(window, message, wParam, lParam);
}

}  // namespace tavrel
