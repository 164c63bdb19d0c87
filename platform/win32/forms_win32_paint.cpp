// GDI for the native windows: fonts, brushes and text metrics, pictures from the bitmap resources, and the
// painting of our own window kinds (containers, labels, bitmap buttons).
#include <algorithm>

#include "forms_win32_host.h"
#include "platform/text.h"

namespace platform::win32 {

using namespace platform::forms;

namespace {

// The offset of the pixels in a device-independent bitmap, or 0 when the header or the pixel data do not fit in
// size bytes:
//   0  4  header size: 12 (core) or 40 and more
//   core: 4 2 width, 6 2 height, 10 2 bits per pixel, then 3-byte colour entries
//   else: 4 4 width, 8 4 height (negative: top-down), 14 2 bits per pixel, 16 4 compression (3: three
//         masks follow a 40-byte header), 20 4 size of compressed pixels, 32 4 colours used; 4-byte entries
std::size_t PixelOffset(const std::uint8_t* dib, std::size_t size) {
    auto get = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) {
            v = (v << 8) | dib[at + static_cast<std::size_t>(i)];
        }
        return v;
    };
    if (size < 12) {
        return 0;
    }
    const std::uint32_t headerSize = get(0, 4);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colours = 0;
    std::uint32_t entry = 4;
    std::uint32_t masks = 0;
    if (headerSize == 12) {
        width = get(4, 2);
        height = get(6, 2);
        bits = get(10, 2);
        colours = bits <= 8 ? (1u << bits) : 0;
        entry = 3;
    } else if (headerSize >= 40 && size >= 40) {
        width = static_cast<std::int32_t>(get(4, 4));
        height = static_cast<std::int32_t>(get(8, 4));
        bits = get(14, 2);
        compression = get(16, 4);
        imageSize = get(20, 4);
        colours = get(32, 4);
        if (colours == 0 && bits <= 8) {
            colours = 1u << bits;
        }
        masks = headerSize == 40 && compression == 3 ? 12 : 0;
    } else {
        return 0;
    }
    if (width <= 0 || height == 0 || bits == 0 || bits > 32 || colours > 256) {
        return 0;
    }
    const std::uint64_t offset = std::uint64_t{headerSize} + masks + std::uint64_t{colours} * entry;
    if (offset > size) {
        return 0;
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t need = (compression == 1 || compression == 2) ? imageSize : stride * rows;
    if (need > size - offset) {
        return 0;
    }
    return static_cast<std::size_t>(offset);
}

}  // namespace

HBITMAP FormsHost::MakeBitmap(const Bitmap& bitmap) {
    const Bytes& dib = bitmap.Dib();
    const std::size_t offset = PixelOffset(dib.data(), dib.size());
    if (bitmap.Empty() || offset == 0) {
        return nullptr;
    }
    HDC screen = ::GetDC(nullptr);
    HBITMAP made =
        ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), CBM_INIT, dib.data() + offset,
                         reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
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
