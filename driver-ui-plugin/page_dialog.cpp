#include "page_dialog.h"

#include <cstdio>

#include "platform/text.h"

namespace tavrel {

namespace {

using K = PageControlKind;

constexpr PluginText Same(const wchar_t* text) {
    return {text, text, text};
}

constexpr PageDialogFrame kFrame = {286,
                                    292,
                                    L"MS Shell Dlg",
                                    8,
                                    {L"打印机参数设置", L"印表機設定", L"Printer settings"}};

constexpr PageControl kControls[] = {
    {IDC_FETCH, K::PushButton, 6, 8, 86, 20, true, {L"从打印机获取设置", L"從印表機獲取設置", L"Get from printer"}},
    {IDC_MODEL_NAME,
     K::Label,
     109,
     15,
     170,
     16,
     true,
     {L"请点击“从打印机获取设置”按钮", L"請點擊“從印表機獲取設置”按鈕", L"Click button \"Get from printer\""}},
    {IDC_NONE, K::GroupBox, 6, 31, 273, 260, true, Same(L"")},
    {IDC_MAINTENANCE_FRAME, K::GroupBox, 145, 247, 125, 38, true, Same(L"")},
    {1034, K::BitmapButton, 249, 215, 30, 21, false, Same(L"Advance")},
    {1048, K::Label, 251, 237, 28, 8, false, Same(L"Advance")},
    {1035, K::BitmapButton, 13, 39, 34, 26, true, Same(L"Item1")},
    {1049, K::SingleLineLabel, 55, 42, 80, 11, true, Same(L"Title1")},
    {1062, K::Label, 55, 55, 76, 8, true, Same(L"Value1")},
    {1036, K::BitmapButton, 149, 39, 34, 26, true, Same(L"Item2")},
    {1050, K::SingleLineLabel, 192, 42, 80, 11, true, Same(L"Title2")},
    {1063, K::Label, 192, 55, 76, 8, true, Same(L"Value2")},
    {1037, K::BitmapButton, 13, 75, 34, 26, true, Same(L"Item3")},
    {1051, K::SingleLineLabel, 55, 78, 80, 11, true, Same(L"Title3")},
    {1064, K::Label, 55, 91, 76, 8, true, Same(L"Value3")},
    {1038, K::BitmapButton, 149, 75, 34, 26, true, Same(L"Item4")},
    {1052, K::SingleLineLabel, 192, 78, 80, 11, true, Same(L"Title4")},
    {1065, K::Label, 191, 91, 76, 8, true, Same(L"Value4")},
    {1039, K::BitmapButton, 13, 111, 34, 26, true, Same(L"Item5")},
    {1053, K::SingleLineLabel, 55, 114, 80, 11, true, Same(L"Title5")},
    {1066, K::Label, 55, 127, 76, 8, true, Same(L"Value5")},
    {1040, K::BitmapButton, 149, 111, 34, 26, true, Same(L"Item6")},
    {1054, K::SingleLineLabel, 192, 114, 80, 11, true, Same(L"Title6")},
    {1067, K::Label, 191, 127, 76, 8, true, Same(L"Value6")},
    {1041, K::BitmapButton, 13, 147, 34, 26, true, Same(L"Item7")},
    {1055, K::SingleLineLabel, 55, 150, 80, 11, true, Same(L"Title7")},
    {1068, K::Label, 55, 163, 76, 8, true, Same(L"Value7")},
    {1042, K::BitmapButton, 149, 147, 34, 26, true, Same(L"Item8")},
    {1056, K::SingleLineLabel, 192, 149, 80, 11, true, Same(L"Title8")},
    {1069, K::Label, 191, 163, 76, 8, true, Same(L"Value8")},
    {1043, K::BitmapButton, 13, 183, 34, 26, true, Same(L"Item9")},
    {1057, K::SingleLineLabel, 55, 186, 80, 11, true, Same(L"Title9")},
    {1070, K::Label, 55, 199, 76, 8, true, Same(L"Value9")},
    {1044, K::BitmapButton, 149, 183, 34, 26, true, Same(L"Item10")},
    {1058, K::SingleLineLabel, 192, 187, 80, 11, true, Same(L"Title10")},
    {1071, K::Label, 191, 199, 76, 8, true, Same(L"Value10")},
    {1045, K::BitmapButton, 13, 219, 34, 26, true, Same(L"Item11")},
    {1059, K::SingleLineLabel, 55, 222, 80, 11, true, Same(L"Title11")},
    {1072, K::Label, 55, 235, 76, 8, true, Same(L"Value11")},
    {1046, K::BitmapButton, 13, 255, 34, 26, true, Same(L"Item12")},
    {1060, K::SingleLineLabel, 55, 257, 80, 11, true, Same(L"Title12")},
    {1073, K::Label, 55, 270, 76, 8, true, Same(L"Value12")},
    {1047, K::BitmapButton, 150, 255, 34, 26, true, Same(L"Maintenance")},
    {1061, K::Label, 193, 259, 72, 20, true, Same(L"Title13")},
};

struct ResourceLanguage {
    PluginLanguage language;
    const char* rcLanguage;  // LANGUAGE statement
    std::uint16_t langId;
};

constexpr ResourceLanguage kLanguages[] = {
    {PluginLanguage::Cn, "LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", 2052},
    {PluginLanguage::Cht, "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL", 1028},
    {PluginLanguage::En, "LANG_ENGLISH, SUBLANG_ENGLISH_US", 1033},
};

// A resource-script string literal: quotes doubled, the rest as UTF-8.
std::string RcString(const wchar_t* text) {
    std::string out = "\"";
    for (const char c : platform::WideToUtf8(text)) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string RcControl(const PageControl& control, PluginLanguage language) {
    const char* kind = "";
    const char* style = "";
    switch (control.kind) {
        case K::PushButton:
            kind = "PUSHBUTTON";
            break;
        case K::BitmapButton:
            kind = "PUSHBUTTON";
            style = "BS_BITMAP";
            break;
        case K::Label:
            kind = "LTEXT";
            break;
        case K::SingleLineLabel:
            kind = "LTEXT";
            style = "SS_LEFTNOWORDWRAP";
            break;
        case K::GroupBox:
            kind = "GROUPBOX";
            break;
    }
    std::string flags = style;
    if (!control.visible) {
        flags += flags.empty() ? "NOT WS_VISIBLE" : " | NOT WS_VISIBLE";
    }
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%d, %d, %d, %d, %d", control.id == IDC_NONE ? -1 : control.id, control.x,
                  control.y, control.cx, control.cy);
    std::string line = std::string("    ") + kind + " " + RcString(control.text.In(language)) + ", " + geometry;
    if (!flags.empty()) {
        line += ", " + flags;
    }
    return line + "\n";
}

}  // namespace

const PageDialogFrame& PageDialog() {
    return kFrame;
}

std::span<const PageControl> PageDialogControls() {
    return kControls;
}

std::string PageDialogResourceScript() {
    std::string rc =
        "// Generated from the page's control table and the plug-in's text table; do not edit.\n"
        "#pragma code_page(65001)\n#include <windows.h>\n\n";
    rc += "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n";
    rc += std::to_string(IDI_DEVICE_PAGE) + " ICON \"" + kDevicePageIconFile + "\"\n\n";
    for (const ResourceLanguage& language : kLanguages) {
        rc += std::string("LANGUAGE ") + language.rcLanguage + "\n";
        rc += std::to_string(IDD_DEVICE_PAGE) + " DIALOGEX 0, 0, " + std::to_string(kFrame.cx) + ", " +
              std::to_string(kFrame.cy) + "\n";
        rc += "STYLE DS_SHELLFONT | WS_CHILD | WS_DISABLED | WS_CAPTION\n";
        rc += "CAPTION " + RcString(kFrame.caption.In(language.language)) + "\n";
        rc += "FONT " + std::to_string(kFrame.fontPoints) + ", " + RcString(kFrame.fontName) + ", 0, 0, 1\n";
        rc += "BEGIN\n";
        for (const PageControl& control : kControls) {
            rc += RcControl(control, language.language);
        }
        rc += "END\n\nSTRINGTABLE\nBEGIN\n";
        for (const std::uint32_t id : PluginStringIds()) {
            rc += "    " + std::to_string(id) + ", " + RcString(PluginString(id, language.langId)->c_str()) + "\n";
        }
        rc += "END\n\n";
    }
    return rc;
}

}  // namespace tavrel
