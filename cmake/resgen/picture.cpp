#include "picture.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace picture {
namespace {

// Every pixel is painted as kSub x kSub samples and then averaged: smooth edges without blending rules.
constexpr int kSub = 4;
constexpr int kMaxSide = 1024;
constexpr int kMaxIncludeDepth = 8;
constexpr double kPi = 3.14159265358979323846;

using Rgb = std::uint32_t;  // 0xRRGGBB

// A sample no shape has painted: above every 0xRRGGBB value. Only an icon's canvas starts with it.
constexpr Rgb kUnpainted = 0xFF000000u;

// A pixel: the mean colour of its painted samples and how much of it they cover (255: all of it).
struct Pixel {
    Rgb colour;
    std::uint8_t alpha;
};

struct Point {
    double x;
    double y;
};

// 5 x 7 block letters, one text row per line of squares.
struct Glyph {
    char c;
    std::array<const char*, 7> rows;
};

const Glyph kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'o', {"     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {'+', {"     ", "  #  ", "  #  ", "#####", "  #  ", "  #  ", "     "}},
    {'/', {"    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "}},
    {'%', {"##   ", "##  #", "   # ", "  #  ", " #   ", "#  ##", "   ##"}},
    {'#', {" # # ", " # # ", "#####", " # # ", "#####", " # # ", " # # "}},
    {'$', {"  #  ", " ####", "# #  ", " ### ", "  # #", "#### ", "  #  "}},
    {'@', {" ### ", "#   #", "# ###", "# # #", "# ###", "#    ", " ####"}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {'[', {" ### ", " #   ", " #   ", " #   ", " #   ", " #   ", " ### "}},
    {']', {" ### ", "   # ", "   # ", "   # ", "   # ", "   # ", " ### "}},
    {'<', {"   # ", "  #  ", " #   ", "#    ", " #   ", "  #  ", "   # "}},
    {'>', {" #   ", "  #  ", "   # ", "    #", "   # ", "  #  ", " #   "}},
    {'=', {"     ", "     ", "#####", "     ", "#####", "     ", "     "}},
};

class Canvas {
public:
    Canvas(int width, int height) : w_(width * kSub), h_(height * kSub), samples_(static_cast<std::size_t>(w_) * h_) {}

    // Paints every sample whose centre lies in the box and passes inside(x, y), in picture pixels.
    template <typename Inside>
    void Paint(double left, double top, double right, double bottom, Rgb colour, Inside inside) {
        const int x0 = std::max(0, static_cast<int>(std::floor(left * kSub)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top * kSub)));
        const int x1 = std::min(w_, static_cast<int>(std::ceil(right * kSub)) + 1);
        const int y1 = std::min(h_, static_cast<int>(std::ceil(bottom * kSub)) + 1);
        for (int sy = y0; sy < y1; ++sy) {
            const double y = (sy + 0.5) / kSub;
            for (int sx = x0; sx < x1; ++sx) {
                const double x = (sx + 0.5) / kSub;
                if (inside(x, y)) {
                    samples_[static_cast<std::size_t>(sy) * w_ + sx] = colour;
                }
            }
        }
    }

    // Paints every sample whose centre lies inside the polygon (non-zero winding, so that a shape drawn either
    // way round fills the same), one row of samples at a time.
    void FillPolygon(const std::vector<Point>& poly, Rgb colour) {
        double top = poly[0].y;
        double bottom = top;
        for (const Point& p : poly) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        const int y0 = std::max(0, static_cast<int>(std::floor(top * kSub)));
        const int y1 = std::min(h_, static_cast<int>(std::ceil(bottom * kSub)) + 1);
        std::vector<std::pair<double, int>> crossings;
        for (int sy = y0; sy < y1; ++sy) {
            const double y = (sy + 0.5) / kSub;
            crossings.clear();
            for (std::size_t i = 0; i < poly.size(); ++i) {
                const Point a = poly[i];
                const Point b = poly[(i + 1) % poly.size()];
                if ((a.y <= y) != (b.y <= y)) {
                    crossings.emplace_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y), a.y <= y ? 1 : -1);
                }
            }
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].second;
                if (winding == 0) {
                    continue;
                }
                const int from = std::max(0, static_cast<int>(std::ceil(crossings[i].first * kSub - 0.5)));
                const int to = std::min(w_, static_cast<int>(std::ceil(crossings[i + 1].first * kSub - 0.5)));
                for (int sx = from; sx < to; ++sx) {
                    samples_[static_cast<std::size_t>(sy) * w_ + sx] = colour;
                }
            }
        }
    }

    void Clear(Rgb colour) { std::fill(samples_.begin(), samples_.end(), colour); }

    // The picture's pixels, each the rounded mean of its painted samples, with their share as the coverage.
    std::vector<Pixel> Pixels() const {
        const int width = w_ / kSub;
        const int height = h_ / kSub;
        std::vector<Pixel> pixels(static_cast<std::size_t>(width) * height);
        for (int py = 0; py < height; ++py) {
            for (int px = 0; px < width; ++px) {
                std::uint32_t r = 0, g = 0, b = 0, n = 0;
                for (int sy = 0; sy < kSub; ++sy) {
                    for (int sx = 0; sx < kSub; ++sx) {
                        const Rgb c = samples_[static_cast<std::size_t>(py * kSub + sy) * w_ + px * kSub + sx];
                        if (c == kUnpainted) {
                            continue;
                        }
                        r += c >> 16;
                        g += (c >> 8) & 0xFF;
                        b += c & 0xFF;
                        ++n;
                    }
                }
                constexpr std::uint32_t all = kSub * kSub;
                Pixel& p = pixels[static_cast<std::size_t>(py) * width + px];
                p.alpha = static_cast<std::uint8_t>((n * 255 + all / 2) / all);
                p.colour = n == 0 ? 0 : ((r + n / 2) / n) << 16 | ((g + n / 2) / n) << 8 | ((b + n / 2) / n);
            }
        }
        return pixels;
    }

private:
    int w_;
    int h_;
    std::vector<Rgb> samples_;
};

double SegmentDistanceSquared(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x;
    const double ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

std::vector<Point> EllipsePoints(double cx, double cy, double rx, double ry, double from, double to, int steps) {
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const double a = (from + (to - from) * i / steps) * kPi / 180.0;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

int StepsFor(double rx, double ry, double degrees) {
    const double around = std::max(rx, ry) * 2 * kPi * std::abs(degrees) / 360.0;
    return std::clamp(static_cast<int>(around / 1.5), 8, 256);
}

std::vector<Point> RectPoints(double x, double y, double w, double h, double radius) {
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (radius <= 0) {
        return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
    }
    std::vector<Point> points;
    const int steps = StepsFor(radius, radius, 90);
    const struct {
        double cx, cy, from;
    } corners[] = {{x + w - radius, y + radius, -90},
                   {x + w - radius, y + h - radius, 0},
                   {x + radius, y + h - radius, 90},
                   {x + radius, y + radius, 180}};
    for (const auto& c : corners) {
        const auto arc = EllipsePoints(c.cx, c.cy, radius, radius, c.from, c.from + 90, steps);
        points.insert(points.end(), arc.begin(), arc.end());
    }
    return points;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Paint {
    bool on = false;
    Rgb colour = 0;
};

class Renderer {
public:
    // The picture at the size its size command gives, on white.
    std::vector<std::uint8_t> Bitmap(const std::string& path) {
        Draw(path);
        return Encode(canvas_->Pixels());
    }

    // The picture scaled to side x side pixels, on nothing: what no shape covers stays transparent.
    std::vector<Pixel> Icon(const std::string& path, int side) {
        iconSide_ = side;
        Draw(path);
        return canvas_->Pixels();
    }

private:
    void Draw(const std::string& path) {
        Execute(path, 0);
        if (!canvas_) {
            throw Error{path + ": no size command"};
        }
    }

    void Execute(const std::string& path, int depth) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw Error{path + ": cannot open"};
        }
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            where_ = path + ":" + std::to_string(number);
            std::string command;
            std::istringstream line(text);
            line >> command;
            if (command.empty() || command[0] == '#') {
                continue;
            }
            if (command == "text") {
                Text(line);
                continue;
            }
            std::istringstream args(StripComment(text));
            args >> command;
            std::vector<std::string> words;
            for (std::string w; args >> w;) {
                words.push_back(w);
            }
            if (command == "include") {
                Expect(words.size() == 1, "include takes one file");
                Expect(depth < kMaxIncludeDepth, "includes nest too deep");
                const std::string here = where_;
                const std::filesystem::path target = std::filesystem::path(path).parent_path() / words[0];
                Execute(target.string(), depth + 1);
                where_ = here;
            } else {
                Command(command, words);
            }
        }
    }

    // "#" also begins a colour: a "#" that is not six hex digits and a blank (or the line's end) begins a
    // comment. A text command keeps its "#" letters.
    static std::string StripComment(const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '#') {
                continue;
            }
            const bool colour = i + 7 <= text.size() &&
                                std::all_of(text.begin() + i + 1, text.begin() + i + 7,
                                            [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }) &&
                                (i + 7 == text.size() || std::isspace(static_cast<unsigned char>(text[i + 7])));
            if (!colour) {
                return text.substr(0, i);
            }
        }
        return text;
    }

    // A point and a length of the commands in picture pixels.
    Point At(double x, double y) const { return {scale_ * (origin_.x + zoom_ * x), scale_ * (origin_.y + zoom_ * y)}; }
    double Len(double v) const { return scale_ * zoom_ * v; }

    [[noreturn]] void Fail(const std::string& what) const { throw Error{where_ + ": " + what}; }

    void Expect(bool ok, const std::string& what) const {
        if (!ok) {
            Fail(what);
        }
    }

    double Number(const std::string& word) const {
        std::size_t used = 0;
        double value = 0;
        try {
            value = std::stod(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != word.size() || !std::isfinite(value) || std::abs(value) > 100000) {
            Fail("\"" + word + "\" is not a number");
        }
        return value;
    }

    std::vector<double> Numbers(const std::vector<std::string>& words, std::size_t from = 0) const {
        std::vector<double> values;
        for (std::size_t i = from; i < words.size(); ++i) {
            values.push_back(Number(words[i]));
        }
        return values;
    }

    Rgb Colour(const std::string& word) const {
        if (!word.empty() && word[0] == '#') {
            Expect(word.size() == 7 && std::all_of(word.begin() + 1, word.end(),
                                                   [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }),
                   "colour \"" + word + "\" is not #rrggbb");
            return static_cast<Rgb>(std::stoul(word.substr(1), nullptr, 16));
        }
        const auto it = colours_.find(word);
        if (it == colours_.end()) {
            Fail("unknown colour \"" + word + "\"");
        }
        return it->second;
    }

    Paint PaintOf(const std::string& word) const {
        if (word == "none") {
            return {};
        }
        return {true, Colour(word)};
    }

    Canvas& Target() {
        if (!canvas_) {
            Fail("size must come first");
        }
        return *canvas_;
    }

    void Command(const std::string& command, const std::vector<std::string>& words) {
        const std::size_t n = words.size();
        if (command == "size") {
            Expect(!canvas_, "size given twice");
            Expect(n == 2, "size takes width and height");
            const double w = Number(words[0]);
            const double h = Number(words[1]);
            Expect(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide && w == std::floor(w) && h == std::floor(h),
                   "size must be whole numbers from 1 to 1024");
            if (iconSide_ > 0) {
                // One source for every size of an icon: drawn at its own size, scaled to each.
                Expect(w == h, "an icon's picture must be square");
                scale_ = iconSide_ / w;
                width_ = height_ = iconSide_;
            } else {
                width_ = static_cast<int>(w);
                height_ = static_cast<int>(h);
            }
            canvas_.emplace(width_, height_);
            canvas_->Clear(iconSide_ > 0 ? kUnpainted : 0xFFFFFF);
        } else if (command == "colour") {
            Expect(n == 2 && !words[0].empty() && words[0][0] != '#', "colour takes a name and #rrggbb");
            Expect(words[1].size() == 7 && words[1][0] == '#', "colour takes a name and #rrggbb");
            colours_[words[0]] = Colour(words[1]);
        } else if (command == "background") {
            Expect(n == 1, "background takes a colour");
            Target().Clear(Colour(words[0]));
        } else if (command == "fill") {
            Expect(n == 1, "fill takes a colour or none");
            fill_ = PaintOf(words[0]);
        } else if (command == "stroke") {
            Expect(n == 1 || n == 2, "stroke takes a colour or none, and a width");
            stroke_ = PaintOf(words[0]);
            if (n == 2) {
                strokeWidth_ = Number(words[1]);
                Expect(strokeWidth_ > 0, "stroke width must be above 0");
            }
        } else if (command == "origin") {
            Expect(n == 2 || n == 3, "origin takes x, y and a zoom");
            origin_ = {Number(words[0]), Number(words[1])};
            zoom_ = n == 3 ? Number(words[2]) : 1;
            Expect(zoom_ > 0, "zoom must be above 0");
        } else if (command == "rect") {
            Expect(n == 4 || n == 5, "rect takes x, y, width, height and a corner radius");
            const auto v = Numbers(words);
            Expect(v[2] >= 0 && v[3] >= 0, "rect size must not be negative");
            const Point at = At(v[0], v[1]);
            Shape(RectPoints(at.x, at.y, Len(v[2]), Len(v[3]), n == 5 ? Len(v[4]) : 0));
        } else if (command == "circle" || command == "ellipse") {
            const bool circle = command == "circle";
            Expect(n == (circle ? 3u : 4u), circle ? "circle takes cx, cy and r" : "ellipse takes cx, cy, rx, ry");
            const auto v = Numbers(words);
            const double rx = Len(v[2]);
            const double ry = Len(circle ? v[2] : v[3]);
            Expect(rx > 0 && ry > 0, "radius must be above 0");
            const Point c = At(v[0], v[1]);
            auto points = EllipsePoints(c.x, c.y, rx, ry, 0, 360, StepsFor(rx, ry, 360));
            points.pop_back();
            Shape(points);
        } else if (command == "polygon" || command == "line") {
            const auto v = Numbers(words);
            const bool polygon = command == "polygon";
            Expect(v.size() % 2 == 0 && v.size() >= (polygon ? 6u : 4u),
                   polygon ? "polygon takes three points or more" : "line takes two points or more");
            std::vector<Point> points;
            for (std::size_t i = 0; i < v.size(); i += 2) {
                points.push_back(At(v[i], v[i + 1]));
            }
            if (polygon) {
                Shape(points);
            } else {
                Outline(points, false);
            }
        } else if (command == "arc") {
            Expect(n == 6, "arc takes cx, cy, rx, ry, from and to");
            const auto v = Numbers(words);
            Expect(v[2] > 0 && v[3] > 0, "radius must be above 0");
            const Point c = At(v[0], v[1]);
            Outline(
                EllipsePoints(c.x, c.y, Len(v[2]), Len(v[3]), v[4], v[5], StepsFor(Len(v[2]), Len(v[3]), v[5] - v[4])),
                false);
        } else if (command == "spokes") {
            Expect(n >= 5 && n <= 7, "spokes takes cx, cy, inner and outer radius, count, and from and to angles");
            const auto v = Numbers(words);
            Expect(v[4] >= 1 && v[4] <= 360 && v[4] == std::floor(v[4]), "spokes count must be 1 to 360");
            const int count = static_cast<int>(v[4]);
            const double from = n >= 6 ? v[5] : 0;
            // Without an end the spokes go once round; with one, the first and the last stand on the ends.
            const double step = n == 7 ? (count > 1 ? (v[6] - from) / (count - 1) : 0) : 360.0 / count;
            const double cx = At(v[0], v[1]).x;
            const double cy = At(v[0], v[1]).y;
            for (int i = 0; i < count; ++i) {
                const double a = (from + step * i) * kPi / 180.0;
                const double c = std::cos(a);
                const double s = std::sin(a);
                Outline({{cx + Len(v[2]) * c, cy + Len(v[2]) * s}, {cx + Len(v[3]) * c, cy + Len(v[3]) * s}}, false);
            }
        } else if (command == "arrow") {
            Expect(n == 4, "arrow takes two points");
            const auto v = Numbers(words);
            Arrow(At(v[0], v[1]), At(v[2], v[3]));
        } else {
            Fail("unknown command \"" + command + "\"");
        }
    }

    // A closed shape: its inside in the fill paint, then its outline in the stroke paint.
    void Shape(const std::vector<Point>& points) {
        if (fill_.on) {
            Target().FillPolygon(points, fill_.colour);
        }
        Outline(points, true);
    }

    void Outline(const std::vector<Point>& points, bool closed) {
        if (!stroke_.on) {
            return;
        }
        // One segment at a time: all in one paint, so their order does not matter, and each only within its
        // own bounds.
        const double half = Len(strokeWidth_) / 2;
        const std::size_t segments = closed ? points.size() : points.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const Point a = points[i];
            const Point b = points[(i + 1) % points.size()];
            Target().Paint(std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
                           std::max(a.y, b.y) + half, stroke_.colour, [&](double x, double y) {
                               return SegmentDistanceSquared({x, y}, a, b) <= half * half;
                           });
        }
    }

    void Arrow(Point from, Point to) {
        Expect(stroke_.on, "arrow needs a stroke paint");
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        Expect(length > 0, "arrow needs two different points");
        const double ux = dx / length;
        const double uy = dy / length;
        const double head = std::max(2.5 * scale_, Len(strokeWidth_) * 2);
        const Point base{to.x - ux * head * 1.2, to.y - uy * head * 1.2};
        Outline({from, base}, false);
        const std::vector<Point> tip = {
            to, {base.x - uy * head, base.y + ux * head}, {base.x + uy * head, base.y - ux * head}};
        Target().FillPolygon(tip, stroke_.colour);
    }

    void Text(std::istringstream& line) {
        std::string xs, ys, scales;
        line >> xs >> ys >> scales;
        std::string characters;
        std::getline(line, characters);
        const std::size_t first = characters.find_first_not_of(' ');
        characters = first == std::string::npos ? "" : characters.substr(first);
        Expect(!characters.empty(), "text takes x, y, scale and characters");
        Expect(fill_.on, "text needs a fill paint");
        const double x = At(Number(xs), 0).x;
        const double y = At(0, Number(ys)).y;
        const double scale = Len(Number(scales));
        Expect(scale > 0, "text scale must be above 0");
        for (std::size_t i = 0; i < characters.size(); ++i) {
            const char c = characters[i];
            if (c == ' ') {
                continue;
            }
            const Glyph* glyph = nullptr;
            for (const Glyph& g : kGlyphs) {
                if (g.c == c) {
                    glyph = &g;
                }
            }
            if (!glyph) {
                Fail(std::string("no letter for \"") + c + "\"");
            }
            const double left = x + static_cast<double>(i) * 6 * scale;
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (glyph->rows[row][col] == '#') {
                        const double l = left + col * scale;
                        const double t = y + row * scale;
                        Target().Paint(l, t, l + scale, t + scale, fill_.colour, [&](double px, double py) {
                            return px >= l && px < l + scale && py >= t && py < t + scale;
                        });
                    }
                }
            }
        }
    }

    // At most 256 colours: the most frequent ones (ties to the lower value) are kept, every other pixel takes
    // the nearest kept colour. Only the rarest in-between shades of crowded edges ever move.
    std::vector<std::uint8_t> Encode(const std::vector<Pixel>& pixels) const {
        std::map<Rgb, std::size_t> counts;
        for (const Pixel& p : pixels) {
            ++counts[p.colour];
        }
        std::vector<std::pair<Rgb, std::size_t>> ranked(counts.begin(), counts.end());
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        if (ranked.size() > 256) {
            ranked.resize(256);
        }
        std::vector<Rgb> palette;
        std::map<Rgb, std::uint8_t> index;
        for (const auto& [colour, count] : ranked) {
            index[colour] = static_cast<std::uint8_t>(palette.size());
            palette.push_back(colour);
        }
        auto IndexOf = [&](Rgb c) {
            const auto it = index.find(c);
            if (it != index.end()) {
                return it->second;
            }
            std::size_t best = 0;
            long bestDistance = -1;
            for (std::size_t i = 0; i < palette.size(); ++i) {
                const long dr = static_cast<long>(c >> 16) - static_cast<long>(palette[i] >> 16);
                const long dg = static_cast<long>((c >> 8) & 0xFF) - static_cast<long>((palette[i] >> 8) & 0xFF);
                const long db = static_cast<long>(c & 0xFF) - static_cast<long>(palette[i] & 0xFF);
                const long d = dr * dr + dg * dg + db * db;
                if (bestDistance < 0 || d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            index[c] = static_cast<std::uint8_t>(best);
            return static_cast<std::uint8_t>(best);
        };

        // File header (14), information header (40), colour table (4 bytes a colour: blue, green, red, 0),
        // rows of one index a pixel padded to 4 bytes, bottom row first.
        const std::uint32_t stride = (static_cast<std::uint32_t>(width_) + 3) / 4 * 4;
        const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size()) * 4;
        const std::uint32_t size = offset + stride * static_cast<std::uint32_t>(height_);
        std::vector<std::uint8_t> out;
        out.reserve(size);
        out.push_back('B');
        out.push_back('M');
        Put32(out, size);
        Put32(out, 0);
        Put32(out, offset);
        Put32(out, 40);
        Put32(out, static_cast<std::uint32_t>(width_));
        Put32(out, static_cast<std::uint32_t>(height_));
        Put16(out, 1);
        Put16(out, 8);
        Put32(out, 0);  // no compression
        Put32(out, stride * static_cast<std::uint32_t>(height_));
        Put32(out, 2835);  // 72 dots an inch
        Put32(out, 2835);
        Put32(out, static_cast<std::uint32_t>(palette.size()));
        Put32(out, 0);
        for (const Rgb c : palette) {
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(0);
        }
        for (int row = height_ - 1; row >= 0; --row) {
            for (int x = 0; x < width_; ++x) {
                out.push_back(IndexOf(pixels[static_cast<std::size_t>(row) * width_ + x].colour));
            }
            out.resize(out.size() + (stride - static_cast<std::uint32_t>(width_)), 0);
        }
        return out;
    }

    std::optional<Canvas> canvas_;
    int width_ = 0;
    int height_ = 0;
    std::map<std::string, Rgb> colours_;
    Paint fill_;
    Paint stroke_;
    double strokeWidth_ = 1;
    Point origin_{0, 0};
    double zoom_ = 1;
    int iconSide_ = 0;  // 0: a bitmap at its own size
    double scale_ = 1;  // from the picture's size to the icon's
    std::string where_;
};

// One image of an icon file, from the information header on (an icon's image has no file header):
//   offset  size          content
//   0       40            information header: 40, width, twice the height (colour rows and mask rows),
//                         1 plane, 32 bits a pixel, no compression, the size of the two parts, zeros
//   40      4 w h         colour: blue, green, red, alpha a pixel (not premultiplied), bottom row first
//   ...     mask-stride h mask: 1 bit a pixel, the leftmost in the top bit, 1 where the pixel is wholly
//                         transparent; rows bottom first, each padded to 4 bytes
// A wholly transparent pixel is black in the colour part, so that a system drawing by the mask alone leaves
// the screen as it is there.
std::vector<std::uint8_t> IconImage(int side, const std::vector<Pixel>& pixels) {
    const std::uint32_t s = static_cast<std::uint32_t>(side);
    const std::uint32_t maskStride = (s + 31) / 32 * 4;
    const std::uint32_t dataSize = 4 * s * s + maskStride * s;
    std::vector<std::uint8_t> out;
    out.reserve(40 + dataSize);
    Put32(out, 40);
    Put32(out, s);
    Put32(out, 2 * s);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, dataSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = side - 1; row >= 0; --row) {
        for (int x = 0; x < side; ++x) {
            const Pixel& p = pixels[static_cast<std::size_t>(row) * s + x];
            const Rgb c = p.alpha == 0 ? 0 : p.colour;
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(p.alpha);
        }
    }
    for (int row = side - 1; row >= 0; --row) {
        std::vector<std::uint8_t> mask(maskStride, 0);
        for (int x = 0; x < side; ++x) {
            if (pixels[static_cast<std::size_t>(row) * s + x].alpha == 0) {
                mask[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> RenderFile(const std::string& path) {
    return Renderer().Bitmap(path);
}

// The icon file: the directory, one entry a size, then the images in the entries' order.
//   offset  size  content
//   0       2     0
//   2       2     1 (an icon, not a cursor)
//   4       2     number of images
//   6       16 n  entries: width, height (one byte each, 0 for 256), 0 colours (more than 256), 0, 1 plane,
//                 32 bits a pixel, the image's size, its offset from the start of the file
//   6+16n   ...   the images (IconImage)
std::vector<std::uint8_t> RenderIconFile(const std::string& path, const std::vector<int>& sides) {
    if (sides.empty() || sides.size() > 16) {
        throw Error{path + ": an icon takes 1 to 16 sizes"};
    }
    std::vector<std::vector<std::uint8_t>> images;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        if (sides[i] < 1 || sides[i] > 256) {
            throw Error{path + ": icon size " + std::to_string(sides[i]) + " is not 1 to 256"};
        }
        if (std::find(sides.begin(), sides.begin() + static_cast<std::ptrdiff_t>(i), sides[i]) !=
            sides.begin() + static_cast<std::ptrdiff_t>(i)) {
            throw Error{path + ": icon size " + std::to_string(sides[i]) + " given twice"};
        }
        images.push_back(IconImage(sides[i], Renderer().Icon(path, sides[i])));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::uint8_t side = static_cast<std::uint8_t>(sides[i] & 0xFF);
        out.push_back(side);
        out.push_back(side);
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace picture
