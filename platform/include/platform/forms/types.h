#pragma once
// The vocabulary of the program's windows: alignment, anchors, form styles, modal results, cursors, colours
// and fonts, with the type and value names that the window layouts use (alTop, akRight, poScreenCenter,
// mrCancel, crHourGlass ...). Plain values, no behaviour.

#include <cstdint>
#include <string>

namespace platform::forms {

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

// Left, top, right and bottom; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Which edge of its parent's client area an aligned control sticks to (alClient fills what is left).
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Edges of the parent whose distance a control keeps when the parent changes size (a bit set).
using TAnchors = std::uint8_t;
inline constexpr TAnchors akLeft = 1;
inline constexpr TAnchors akTop = 2;
inline constexpr TAnchors akRight = 4;
inline constexpr TAnchors akBottom = 8;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// Where a form goes when it is shown.
enum TPosition : std::uint8_t { poDesigned, poScreenCenter, poMainFormCenter };

enum TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };

enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// The caption buttons of a form (a bit set); without biSystemMenu there are none at all.
using TBorderIcons = std::uint8_t;
inline constexpr TBorderIcons biSystemMenu = 1;
inline constexpr TBorderIcons biMinimize = 2;
inline constexpr TBorderIcons biMaximize = 4;
inline constexpr TBorderIcons biHelp = 8;

// The result of a modal form; the values are the platform's dialog result codes.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

// What a form does when it is closed (set by OnClose): nothing, or hide.
enum TCloseAction : std::uint8_t { caNone, caHide };

enum TCursor : std::uint8_t { crDefault, crArrow, crHourGlass, crHandPoint, crIBeam };

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised };

// Colours as 0x00BBGGRR; values with the top bit set name a system colour.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clBtnFace = 0x8000000F;

struct TFont {
    std::wstring name = L"Tahoma";
    int size = 8;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    TColor color = clWindowText;
    bool operator==(const TFont&) const = default;
};

// The kinds of components the windows are made of; a backend maps each to one native control.
enum class ComponentKind : std::uint8_t {
    Form,
    Panel,
    GroupBox,
    ScrollBox,
    Label,
    Button,
    BitBtn,
    CheckBox,
    RadioGroup,
    ListBox,
    ComboBox,
    Edit,
    MaskEdit,
    TrackBar,
    Timer,
};

const wchar_t* KindName(ComponentKind kind);

// What changed on a control, so that a backend updates only that part of its native window.
enum class Change : std::uint32_t {
    None = 0,
    Bounds = 1u << 0,
    Text = 1u << 1,
    Visible = 1u << 2,
    Enabled = 1u << 3,
    Font = 1u << 4,
    Items = 1u << 5,      // list entries
    Selection = 1u << 6,  // item index, selected entries
    State = 1u << 7,      // checked, track bar position
    Image = 1u << 8,      // glyph, brush bitmap, or a plain repaint
    Style = 1u << 9,      // everything else: alignment, word wrap, default/cancel, hint, cursor, borders ...
    Order = 1u << 10,     // z-order among siblings
};
constexpr Change operator|(Change a, Change b) {
    return static_cast<Change>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr bool Has(Change set, Change bit) {
    return (static_cast<std::uint32_t>(set) & static_cast<std::uint32_t>(bit)) != 0;
}

}  // namespace platform::forms
