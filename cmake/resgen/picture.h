#pragma once
// The picture language of resgen: a picture is a short text of drawing commands, rendered with smoothed
// edges into an 8-bit bitmap file, or (a square one) into an icon file at several sizes. Plain C++ with no
// dependency on the project, like the rest of resgen.
//
// One command a line; "#" starts a comment; numbers may have a fraction. Coordinates are pixels from the
// top-left corner, y downwards; angles are degrees, clockwise from three o'clock.
//   size <width> <height>                 first command; at most 1024 x 1024
//   colour <name> #rrggbb                 names a colour for the commands below
//   background <colour>                   fills the whole picture
//   fill <colour>|none                    paint of the shapes' insides (none at first)
//   stroke <colour>|none [<width>]        paint and width of outlines and lines (none at first; width 1)
//   origin <x> <y> [<zoom>]               every coordinate, length and width below is multiplied by zoom
//                                         (1 at first) and moved by x and y (0 0 at first): a shared part
//                                         drawn at its place and size
//   rect <x> <y> <w> <h> [<radius>]       rectangle covering x .. x+w, y .. y+h, with rounded corners
//   circle <cx> <cy> <r>
//   ellipse <cx> <cy> <rx> <ry>
//   polygon <x> <y> <x> <y> ...           at least three corners
//   line <x> <y> <x> <y> ...              open line through the points, round ends, stroke only
//   arc <cx> <cy> <rx> <ry> <from> <to>   part of an ellipse's outline, stroke only
//   spokes <cx> <cy> <r1> <r2> <count> [<from> [<to>]]
//                                         count lines from radius r1 to r2, evenly once round, or from the
//                                         angle from to the angle to, both included; stroke only
//   arrow <x1> <y1> <x2> <y2>             line with a filled head at x2 y2, in the stroke paint
//   text <x> <y> <scale> <characters>     block letters (A-Z, 0-9, a few signs) in the fill paint; each letter
//                                         is 5 x 7 squares of scale pixels, 1 square apart
//   include <file>                        the commands of another file, relative to this one
// A colour is a name given by "colour" or #rrggbb. Later shapes paint over earlier ones. A bitmap starts
// white; an icon starts transparent, so that its picture leaves out "background" where the icon shows what
// lies behind it.

#include <cstdint>
#include <string>
#include <vector>

namespace picture {

struct Error {
    std::string message;  // "<file>:<line>: <what>"
};

// The bitmap file (14-byte file header, 40-byte information header, colour table, rows bottom-up) of the
// picture described in the file at path; throws Error. The same input always gives the same bytes.
std::vector<std::uint8_t> RenderFile(const std::string& path);

// The icon file (directory, then one 32-bit image with alpha and mask a size, in the order given) of the
// square picture in the file at path, drawn scaled to each of sides (1 to 256 pixels, each once); throws
// Error. The same input always gives the same bytes.
std::vector<std::uint8_t> RenderIconFile(const std::string& path, const std::vector<int>& sides);

}  // namespace picture
