// The fixed text and frame metrics of the header comment, so that layouts come out the same on every machine.
#include "platform/sim/forms_headless.h"

#include <algorithm>

#include "platform/text.h"

namespace platform::sim {

using namespace platform::forms;

namespace {

bool IsWide(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6) || u >= 0x20000;
}

int Units(wchar_t c, bool bold) {
    if (c == L'\t') {
        return 8 * (7 + (bold ? 1 : 0));
    }
    return (IsWide(c) ? 12 : 7) + (bold ? 1 : 0);
}

int Scaled(std::int64_t units, int points) {
    return static_cast<int>((units * points + 4) / 9);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Widths in units of the lines one source line breaks into at wrapWidth pixels.
std::vector<std::int64_t> WrapLine(const std::wstring& line, bool bold, int points, int wrapWidth) {
    std::vector<std::int64_t> out;
    std::int64_t current = 0;
    bool lineHasText = false;
    std::size_t i = 0;
    while (i < line.size()) {
        std::int64_t gap = 0;
        while (i < line.size() && IsBlank(line[i])) {
            gap += Units(line[i++], bold);
        }
        if (i == line.size()) {
            current += gap;  // trailing blanks of the source line count, as on one line
            break;
        }
        std::int64_t word = 0;
        if (IsWide(line[i])) {
            word = Units(line[i++], bold);
        } else {
            while (i < line.size() && !IsBlank(line[i]) && !IsWide(line[i])) {
                word += Units(line[i++], bold);
            }
        }
        if (!lineHasText) {
            current += gap + word;
            lineHasText = true;
        } else if (Scaled(current + gap + word, points) <= wrapWidth) {
            current += gap + word;
        } else {
            out.push_back(current);
            current = word;
        }
    }
    out.push_back(current);
    return out;
}

}  // namespace

Size HeadlessForms::MeasureText(const std::wstring& text, const TFont& font, int wrapWidth) {
    return Measure(text, font, wrapWidth);
}

Size HeadlessForms::Measure(const std::wstring& text, const TFont& font, int wrapWidth) {
    const int points = std::max(font.size, 1);
    const int lineHeight = Scaled(13, points);
    int widest = 0;
    int lines = 0;
    for (const std::wstring& line : platform::SplitLines(text)) {
        std::vector<std::int64_t> widths;
        if (wrapWidth > 0) {
            widths = WrapLine(line, font.bold, points, wrapWidth);
        } else {
            std::int64_t units = 0;
            for (wchar_t c : line) {
                units += Units(c, font.bold);
            }
            widths.push_back(units);
        }
        for (std::int64_t units : widths) {
            widest = std::max(widest, Scaled(units, points));
            ++lines;
        }
    }
    return {widest, lines * lineHeight};
}

Size HeadlessForms::FrameSize(TFormBorderStyle style) {
    switch (style) {
        case bsNone:
            return {0, 0};
        case bsSingle:
        case bsDialog:
            return {6, 29};
        case bsSizeable:
            return {8, 31};
        case bsToolWindow:
            return {6, 23};
        case bsSizeToolWin:
            return {8, 25};
    }
    return {0, 0};
}

}  // namespace platform::sim
