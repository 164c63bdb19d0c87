#pragma once
// The page's dialog template (resource 106) as one table: the sim's page window is built from it and the
// Windows resource script is written from it, so both show the same controls at the same places.

#include <cstdint>
#include <span>
#include <string>

#include "plugin_strings.h"

namespace tavrel {

inline constexpr std::uint16_t IDD_DEVICE_PAGE = 106;
inline constexpr std::uint16_t IDI_DEVICE_PAGE = 160;
// The tab icon's file, drawn by the build from the picture of the same name and found by the resource compiler
// in the folder it is drawn into (driver-ui-plugin/CMakeLists.txt).
inline constexpr const char* kDevicePageIconFile = "160_DEVICE_PAGE.ico";

inline constexpr int IDC_FETCH = 1074;
inline constexpr int IDC_MAINTENANCE_FRAME = 1075;
inline constexpr int IDC_MODEL_NAME = 1076;
inline constexpr int IDC_NONE = -1;  // the outer frame has no id of its own

inline constexpr int kSlotCount = 14;
inline constexpr int kMaintenanceSlot = 13;
// Per slot: its button, its title label and (slots 1 to 12) its value label; 0 where a slot has none.
inline constexpr int iRCBtn[kSlotCount] = {1034, 1035, 1036, 1037, 1038, 1039, 1040,
                                           1041, 1042, 1043, 1044, 1045, 1046, 1047};
inline constexpr int iRCTitle[kSlotCount] = {1048, 1049, 1050, 1051, 1052, 1053, 1054,
                                             1055, 1056, 1057, 1058, 1059, 1060, 1061};
inline constexpr int iRCValue[kSlotCount] = {0,    1062, 1063, 1064, 1065, 1066, 1067,
                                             1068, 1069, 1070, 1071, 1072, 1073, 0};

// A group's title is a single-line label: it ends in blanks, and a label that wraps breaks such a line at its
// last inner blank, onto a second line the title has no room for.
enum class PageControlKind { PushButton, BitmapButton, Label, SingleLineLabel, GroupBox };

struct PageControl {
    int id;
    PageControlKind kind;
    short x, y, cx, cy;  // dialog units
    bool visible;        // as the template creates it
    PluginText text;     // initial text; placeholders are the same in every language
};

struct PageDialogFrame {
    short cx, cy;  // dialog units
    const wchar_t* fontName;
    short fontPoints;
    PluginText caption;
};

const PageDialogFrame& PageDialog();
std::span<const PageControl> PageDialogControls();

// The resource script of the page's icon (one for every language), and of dialog 106 and the plug-in's string
// table in the three languages, UTF-8 without a byte-order mark, as the resource compiler reads it with code
// page 65001.
std::string PageDialogResourceScript();

}  // namespace tavrel
