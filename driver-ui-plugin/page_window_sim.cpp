#include "page_window_sim.h"

#include <stdexcept>

#include "device_page.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/resources.h"

namespace tavrel {

namespace dk = driverkit;

namespace {

// A control's window handle on the sim: its id above a base no id reaches.
constexpr dk::LPARAM kControlHandleBase = 0x10000;
constexpr dk::INT_PTR kBrushBase = 0x20000;
constexpr std::size_t kPageStringChars = 256;

}  // namespace

dk::INT_PTR PageDialogProc(dk::HWND hDlg, dk::UINT message, dk::WPARAM wParam, dk::LPARAM lParam) {
    return DevicePageDlgProc(*static_cast<SimPageWindow*>(hDlg), message, wParam, lParam);
}

SimPageWindow::SimPageWindow(dk::DLGPROC proc) : proc_(proc) {
    const PluginLanguage language = PluginLanguageOf(platform::locale().UserDefaultUILanguage());
    for (const PageControl& control : PageDialogControls()) {
        controls_.push_back(ControlState{control, control.text.In(language), control.visible, 0, L"", 0});
    }
}

dk::INT_PTR SimPageWindow::Send(dk::UINT message, dk::WPARAM wParam, dk::LPARAM lParam) {
    return proc_(Handle(), message, wParam, lParam);
}

void SimPageWindow::Create() {
    Send(dk::WM_INITDIALOG);
}

void SimPageWindow::Paint() {
    for (const ControlState& state : controls_) {
        if (state.visible && (state.control.kind == PageControlKind::Label ||
                              state.control.kind == PageControlKind::SingleLineLabel)) {
            Send(dk::WM_CTLCOLORSTATIC, 0, kControlHandleBase + state.control.id);
        }
    }
}

bool SimPageWindow::Click(int id) {
    if (!Find(id).visible) {
        return false;
    }
    Send(dk::WM_COMMAND, static_cast<dk::WPARAM>(id));  // notification 0: a click
    return true;
}

void SimPageWindow::Destroy() {
    Send(dk::WM_DESTROY);
}

SimPageWindow::ControlState& SimPageWindow::Find(int id) {
    for (ControlState& state : controls_) {
        if (state.control.id == id) {
            return state;
        }
    }
    throw std::out_of_range("the page has no control " + std::to_string(id));
}

const SimPageWindow::ControlState& SimPageWindow::Control(int id) const {
    return const_cast<SimPageWindow*>(this)->Find(id);
}

std::wstring SimPageWindow::ImageName(int id) const {
    const auto it = bitmaps_.find(Control(id).image);
    return it == bitmaps_.end() ? L"" : it->second;
}

void SimPageWindow::ShowControl(int id, bool visible) {
    Find(id).visible = visible;
}

void SimPageWindow::SetControlText(int id, const std::wstring& text) {
    Find(id).text = text;
}

int SimPageWindow::ControlIdOf(dk::LPARAM control) {
    const dk::LPARAM id = control - kControlHandleBase;
    for (const ControlState& state : controls_) {
        if (state.control.id == id && id != IDC_NONE) {
            return state.control.id;
        }
    }
    return -1;
}

PageBitmap SimPageWindow::LoadBitmapResource(const std::wstring& name) {
    if (!platform::resources().Find(name, platform::ResourceType::Bitmap)) {
        return 0;
    }
    const PageBitmap bitmap = nextHandle_++;
    bitmaps_.emplace(bitmap, name);
    return bitmap;
}

PageBitmap SimPageWindow::SetButtonImage(int id, PageBitmap bitmap) {
    ControlState& state = Find(id);
    const PageBitmap previous = state.image;
    state.image = bitmap;
    return previous;
}

void SimPageWindow::FreeBitmap(PageBitmap bitmap) {
    if (bitmaps_.erase(bitmap) == 0) {
        throw std::logic_error("a bitmap freed twice or never loaded");
    }
}

PageToolTip SimPageWindow::AddButtonToolTip(int id, const std::wstring& text) {
    Find(id);
    const PageToolTip tip = nextHandle_++;
    toolTips_.emplace(tip, ToolTip{id, text});
    RefreshToolTips();
    return tip;
}

void SimPageWindow::SetToolTipMaxWidth(PageToolTip tip, int pixels) {
    toolTips_.at(tip).maxWidth = pixels;
    RefreshToolTips();
}

void SimPageWindow::DestroyToolTip(PageToolTip tip) {
    if (toolTips_.erase(tip) == 0) {
        throw std::logic_error("a tool tip destroyed twice or never made");
    }
    RefreshToolTips();
}

// A button shows the text of its live tool tip; two live tips on one button show as both, joined by "|",
// so that a tip left behind is seen.
void SimPageWindow::RefreshToolTips() {
    for (ControlState& state : controls_) {
        state.toolTip.clear();
        state.toolTipWidth = 0;
    }
    for (const auto& [handle, tip] : toolTips_) {
        ControlState& state = Find(tip.id);
        state.toolTip += (state.toolTip.empty() ? L"" : L"|") + tip.text;
        state.toolTipWidth = tip.maxWidth;
    }
}

PageFont SimPageWindow::CreateTitleFont(bool, bool) {
    ++liveFonts_;
    ++fontsMade_;
    return nextHandle_++;
}

void SimPageWindow::DeleteFont(PageFont) {
    --liveFonts_;
}

dk::INT_PTR SimPageWindow::PaintTitle(dk::WPARAM, PageFont, PageColour colour) {
    lastColour_ = colour;
    return kBrushBase + static_cast<dk::INT_PTR>(colour);
}

std::wstring SimPageWindow::LoadPageString(std::uint32_t id) {
    std::wstring text = PluginString(id, platform::locale().UserDefaultUILanguage()).value_or(L"");
    text.resize(std::min(text.size(), kPageStringChars - 1));
    return text;
}

void SimPageWindow::MessageBoxOk(const std::wstring& text, const std::wstring& caption) {
    platform::messageBoxes().Show(text, caption, platform::MsgIcon::None, platform::MsgButtons::OK);
}

void SimPageWindow::HideSheet() {
    sheetVisible_ = false;
    sheetEvents_.push_back("hide");
}

void SimPageWindow::ShowSheetInFront() {
    sheetVisible_ = true;
    sheetEvents_.insert(sheetEvents_.end(), {"show", "topmost", "notopmost"});
}

}  // namespace tavrel
