// GDI for the native windows: fonts, brushes and text metrics, pictures from the bitmap resources, and the
// painting of our own window kinds (containers, labels, bitmap buttons).
#include <algorithm>

#include "forms_win32_host.h"
#include "platform/text.h"

namespace platform::win32 {

using namespace platform::forms;

HBITMAP FormsHost::MakeBitmap(const Bitmap& bitmap) {
    // Bitmap has checked the header and that the pixels fit when it took the bytes in.
    if (bitmap.Empty()) {
        return nullptr;
    }
    const Bytes& dib = bitmap.Dib();
    HDC screen = ::GetDC(nullptr);
    HBITMAP made = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), CBM_INIT,
                                    dib.data() + bitmap.PixelOffset(), reinterpret_cast<const BITMAPINFO*>(dib.data()),
                                    DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return made;
}

HFONT FormsHost::Font(const TFont& font) {
    auto key = std::make_tuple(font.name, font.size, font.bold, font.italic, font.underline);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) {
        return it->second.get();
    }
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(std::max(font.size, 1), ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    HFONT made = ::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
    return fonts_.emplace(key, UniqueFont(made)).first->second.get();
}

COLORREF FormsHost::ToColorRef(TColor color) {
    if (color & 0x80000000u) {
        return ::GetSysColor(static_cast<int>(color & 0xFFu));
    }
    return static_cast<COLORREF>(color & 0xFFFFFFu);
}

HBRUSH FormsHost::Brush(TColor color) {
    const COLORREF ref = ToColorRef(color);
    auto it = brushes_.find(ref);
    if (it != brushes_.end()) {
        return it->second.get();
    }
    return brushes_.emplace(ref, UniqueBrush(::CreateSolidBrush(ref))).first->second.get();
}

Size FormsHost::Measure(const std::wstring& text, const TFont& font, int wrapWidth) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Font(font));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    Size size;
    if (wrapWidth > 0) {
        // The same rule as the label's painting, so that what was measured is what is shown.
        RECT r{0, 0, wrapWidth, 0};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        size = {r.right - r.left, r.bottom - r.top};
    } else {
        int lines = 0;
        for (const std::wstring& line : platform::SplitLines(text)) {
            SIZE extent{0, 0};
            if (!line.empty()) {
                ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
            }
            size.cx = std::max(size.cx, static_cast<int>(extent.cx));
            ++lines;
        }
        size.cy = lines * static_cast<int>(metrics.tmHeight);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size;
}

// ---- painting our own kinds ----

void FormsHost::PaintBackground(Native& container, HDC hdc, POINT origin, const RECT& area) {
    if (container.kind == ComponentKind::ScrollBox && container.brush.get()) {
        ::SetBrushOrgEx(hdc, origin.x, origin.y, nullptr);
        ::FillRect(hdc, &area, container.brush.get());
        return;
    }
    ::FillRect(hdc, &area, Brush(container.control->Color()));
}

void FormsHost::PaintContainer(Native& native, HDC hdc) {
    FormsHost& host = *this;
    Control& control = *native.control;
    RECT client{};
    ::GetClientRect(native.hwnd(), &client);
    HGDIOBJ oldFont = ::SelectObject(hdc, host.Font(control.Font()));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, control.EnabledWithParents() ? FormsHost::ToColorRef(control.Font().color)
                                                     : ::GetSysColor(COLOR_GRAYTEXT));
    const std::wstring& caption = control.Caption();
    if (native.kind == ComponentKind::Panel) {
        auto& panel = static_cast<Panel&>(control);
        RECT r = client;
        auto edge = [&](TBevelCut cut, UINT raised, UINT sunken) {
            if (cut == bvNone) {
                return;
            }
            ::DrawEdge(hdc, &r, cut == bvRaised ? raised : sunken, BF_RECT);
            ::InflateRect(&r, -1, -1);
        };
        edge(panel.BevelOuter(), BDR_RAISEDINNER, BDR_SUNKENOUTER);
        edge(panel.BevelInner(), BDR_RAISEDINNER, BDR_SUNKENOUTER);
        if (!caption.empty()) {
            ::DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &r,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    } else if (native.kind == ComponentKind::GroupBox || native.kind == ComponentKind::RadioGroup) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(hdc, &metrics);
        RECT frame = client;
        frame.top += metrics.tmHeight / 2;
        ::DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            SIZE extent{};
            ::GetTextExtentPoint32W(hdc, caption.c_str(), static_cast<int>(caption.size()), &extent);
            RECT text{8, 0, std::min<LONG>(8 + extent.cx + 2, client.right - 2), metrics.tmHeight};
            host.PaintBackground(native, hdc, {0, 0}, text);
            ::DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &text,
                        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    ::SelectObject(hdc, oldFont);
}

void FormsHost::PaintLabel(Native& native, HDC hdc) {
    FormsHost& host = *this;
    auto& label = static_cast<Label&>(*native.control);
    RECT client{};
    ::GetClientRect(native.hwnd(), &client);
    // A label shows its parent's background, the scroll box's picture included, unless it was given a colour
    // of its own.
    Control* parent = label.Parent();
    Native* up = parent ? host.Find(*parent) : nullptr;
    if (up && parent->Color() == label.Color()) {
        host.PaintBackground(*up, hdc, {-label.Left(), -label.Top()}, client);
    } else {
        ::FillRect(hdc, &client, host.Brush(label.Color()));
    }
    HGDIOBJ oldFont = ::SelectObject(hdc, host.Font(label.Font()));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(
        hdc, label.EnabledWithParents() ? FormsHost::ToColorRef(label.Font().color) : ::GetSysColor(COLOR_GRAYTEXT));
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS | (label.WordWrap() ? DT_WORDBREAK : 0);
    switch (label.Alignment()) {
        case taLeftJustify:
            flags |= DT_LEFT;
            break;
        case taRightJustify:
            flags |= DT_RIGHT;
            break;
        case taCenter:
            flags |= DT_CENTER;
            break;
    }
    const std::wstring& text = label.Caption();
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client, flags);
    ::SelectObject(hdc, oldFont);
}

// A bitmap button: the glyph left of the caption, both centred; the glyph's bottom-left pixel is its
// transparent colour.
void FormsHost::DrawBitButton(Native& native, const DRAWITEMSTRUCT& item) {
    auto& button = static_cast<BitBtn&>(*native.control);
    HDC hdc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::DrawFrameControl(hdc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    HGDIOBJ oldFont = ::SelectObject(hdc, Font(button.Font()));
    const std::wstring& caption = button.Caption();
    SIZE text{0, 0};
    if (!caption.empty()) {
        ::GetTextExtentPoint32W(hdc, caption.c_str(), static_cast<int>(caption.size()), &text);
    }
    const int glyphWidth = native.glyph.get() ? button.Glyph().Width() : 0;
    const int glyphHeight = native.glyph.get() ? button.Glyph().Height() : 0;
    const int spacing = glyphWidth > 0 && text.cx > 0 ? 4 : 0;
    const int shift = pressed ? 1 : 0;
    int x = r.left + (r.right - r.left - (glyphWidth + spacing + text.cx)) / 2 + shift;
    const int middle = r.top + (r.bottom - r.top) / 2 + shift;
    if (glyphWidth > 0) {
        HDC memory = ::CreateCompatibleDC(hdc);
        HGDIOBJ oldBitmap = ::SelectObject(memory, native.glyph.get());
        const COLORREF transparent = ::GetPixel(memory, 0, glyphHeight - 1);
        ::TransparentBlt(hdc, x, middle - glyphHeight / 2, glyphWidth, glyphHeight, memory, 0, 0, glyphWidth,
                         glyphHeight, transparent);
        ::SelectObject(memory, oldBitmap);
        ::DeleteDC(memory);
        x += glyphWidth + spacing;
    }
    if (text.cx > 0) {
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ToColorRef(button.Font().color));
        RECT t{x, middle - text.cy / 2, x + text.cx, middle - text.cy / 2 + text.cy};
        ::DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &t, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(hdc, &focus);
    }
    ::SelectObject(hdc, oldFont);
}

}  // namespace platform::win32
