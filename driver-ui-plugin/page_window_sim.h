#pragma once
// The simulated page window: the controls of the page's dialog table with their texts, visibility, images
// and tool tips, and the sheet around them. Its dialog handle is the object itself; a test (or the stand-in
// driver host) sends the page its messages here and reads what it shows. Bitmaps are the sim's module
// resources of type Bitmap; message boxes go to the sim's scripted boxes.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "page_dialog.h"
#include "page_window.h"

namespace tavrel {

class SimPageWindow final : public PageWindow {
public:
    struct ControlState {
        PageControl control;
        std::wstring text;
        bool visible = false;
        PageBitmap image = 0;
        std::wstring toolTip;  // the text of the button's live tool tip; empty when it has none
        int toolTipWidth = 0;
    };

    // The controls as the template creates them, in the user-interface language.
    explicit SimPageWindow(driverkit::DLGPROC proc = PageDialogProc);

    driverkit::HWND Handle() { return this; }

    // The sheet's messages.
    driverkit::INT_PTR Send(driverkit::UINT message, driverkit::WPARAM wParam = 0, driverkit::LPARAM lParam = 0);
    void Create();
    // Asks for the colours of every visible label, as a paint would.
    void Paint();
    // Presses a button; a hidden one cannot be pressed (false).
    bool Click(int id);
    void Destroy();

    const ControlState& Control(int id) const;
    // The resource name of the bitmap on a button; empty when it has none.
    std::wstring ImageName(int id) const;
    bool SheetVisible() const { return sheetVisible_; }
    // "hide", "show", "topmost", "notopmost" in order.
    const std::vector<std::string>& SheetEvents() const { return sheetEvents_; }
    std::size_t LiveBitmaps() const { return bitmaps_.size(); }
    std::size_t LiveToolTips() const { return toolTips_.size(); }
    int LiveFonts() const { return liveFonts_; }
    int FontsMade() const { return fontsMade_; }
    // The colour of the last title paint, and whether its font was the bold one.
    PageColour LastTitleColour() const { return lastColour_; }
    void SetSystemMajorVersion(std::uint32_t version) { majorVersion_ = version; }

    // PageWindow
    void ShowControl(int id, bool visible) override;
    void SetControlText(int id, const std::wstring& text) override;
    int ControlIdOf(driverkit::LPARAM control) override;
    PageBitmap LoadBitmapResource(const std::wstring& name) override;
    PageBitmap SetButtonImage(int id, PageBitmap bitmap) override;
    void FreeBitmap(PageBitmap bitmap) override;
    PageToolTip AddButtonToolTip(int id, const std::wstring& text) override;
    void SetToolTipMaxWidth(PageToolTip tip, int pixels) override;
    void DestroyToolTip(PageToolTip tip) override;
    PageFont CreateTitleFont(bool bold, bool italic) override;
    void DeleteFont(PageFont font) override;
    driverkit::INT_PTR PaintTitle(driverkit::WPARAM deviceContext, PageFont font, PageColour colour) override;
    std::uint32_t SystemMajorVersion() override { return majorVersion_; }
    std::wstring LoadPageString(std::uint32_t id) override;
    void MessageBoxOk(const std::wstring& text, const std::wstring& caption) override;
    void HideSheet() override;
    void ShowSheetInFront() override;
    void* UserData() override { return userData_; }
    void SetUserData(void* data) override { userData_ = data; }

private:
    ControlState& Find(int id);
    void RefreshToolTips();

    struct ToolTip {
        int id;
        std::wstring text;
        int maxWidth = 0;
    };

    driverkit::DLGPROC proc_;
    std::vector<ControlState> controls_;
    std::map<PageBitmap, std::wstring> bitmaps_;
    std::map<PageToolTip, ToolTip> toolTips_;
    std::uintptr_t nextHandle_ = 1;
    int liveFonts_ = 0;
    int fontsMade_ = 0;
    PageColour lastColour_ = PageColour::Window;
    std::uint32_t majorVersion_ = 10;
    bool sheetVisible_ = true;
    std::vector<std::string> sheetEvents_;
    void* userData_ = nullptr;
};

}  // namespace tavrel
