#pragma once
// The narrow window interface the device page's code works through: its controls by id, their texts,
// visibility, images and tool tips, the title font and colours, message boxes owned by the page, and the
// property sheet around it. The win32 side is the real dialog; the sim side is built from the page's control
// table and lets a test read the page and press its buttons. All calls run on the sheet's thread.

#include <cstdint>
#include <string>

#include "driver_kit.h"

namespace tavrel {

using PageBitmap = std::uintptr_t;   // 0: none
using PageToolTip = std::uintptr_t;  // 0: none
using PageFont = std::uintptr_t;     // 0: none

// The system colours the page paints its titles on.
enum class PageColour { ButtonFace, Window };

class PageWindow {
public:
    virtual ~PageWindow() = default;

    virtual void ShowControl(int id, bool visible) = 0;
    virtual void SetControlText(int id, const std::wstring& text) = 0;
    // The id of the control whose window a message names (WM_CTLCOLORSTATIC's lParam); -1 when unknown.
    virtual int ControlIdOf(driverkit::LPARAM control) = 0;

    // A bitmap resource of the plug-in by name; 0 when the module has none of that name.
    virtual PageBitmap LoadBitmapResource(const std::wstring& name) = 0;
    // Sets the button's image; the previous one, which the caller still owns, is returned.
    virtual PageBitmap SetButtonImage(int id, PageBitmap bitmap) = 0;
    virtual void FreeBitmap(PageBitmap bitmap) = 0;

    // A tool tip window owned by the page, with the button as its one tool; 0 when it cannot be made.
    virtual PageToolTip AddButtonToolTip(int id, const std::wstring& text) = 0;
    virtual void SetToolTipMaxWidth(PageToolTip tip, int pixels) = 0;
    virtual void DestroyToolTip(PageToolTip tip) = 0;

    // From the stock default GUI font: height -12, weight 700 or 400, italic as asked.
    virtual PageFont CreateTitleFont(bool bold, bool italic) = 0;
    virtual void DeleteFont(PageFont font) = 0;
    // WM_CTLCOLORSTATIC for a title: transparent background, the font selected into the device context;
    // the brush of the colour, as the message's result.
    virtual driverkit::INT_PTR PaintTitle(driverkit::WPARAM deviceContext, PageFont font, PageColour colour) = 0;

    // The operating system's major version, which decides the title background.
    virtual std::uint32_t SystemMajorVersion() = 0;
    // The plug-in's string of id in the user-interface language, cut to 255 characters.
    virtual std::wstring LoadPageString(std::uint32_t id) = 0;
    // An OK box owned by the page; blocks until answered.
    virtual void MessageBoxOk(const std::wstring& text, const std::wstring& caption) = 0;

    // The property sheet that holds the page.
    virtual void HideSheet() = 0;
    // Shows the sheet, sets it topmost and at once not topmost, which brings it to the front.
    virtual void ShowSheetInFront() = 0;

    // One pointer the page keeps with its window, as a dialog's user data.
    virtual void* UserData() = 0;
    virtual void SetUserData(void* data) = 0;
};

// The dialog procedure handed to the sheet: it passes each message, with the page window of the dialog handle
// (the real dialog on Windows, the simulated page on the sim), to DevicePageDlgProc.
driverkit::INT_PTR PageDialogProc(driverkit::HWND hDlg,
                                  driverkit::UINT message,
                                  driverkit::WPARAM wParam,
                                  driverkit::LPARAM lParam);

}  // namespace tavrel
