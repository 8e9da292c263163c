#include "bitmap_pictures.h"

#include <cmath>
#include <utility>
#include <vector>

namespace bitmaps {

namespace {

// The design view's cursors, 32 x 32: each shape white with a black outline one pixel wide, on magenta, which the
// program takes as transparent. The program knows each cursor's hot spot.
constexpr int kCursorSize = 32;
constexpr double kCursorPi = 3.14159265358979323846;
using Outline = std::vector<std::pair<double, double>>;

Outline Turned(const Outline& points, double degrees, double cx, double cy)
{
    const double a = degrees * kCursorPi / 180.0, c = std::cos(a), s = std::sin(a);
    Outline turned;
    for (auto [x, y] : points)
        turned.emplace_back(cx + x * c - y * s, cy + x * s + y * c);
    return turned;
}

// A double-headed arrow along the x axis through the origin, each head reach pixels out.
Outline DoubleArrow(double reach)
{
    const double head = 5.5, shaft = 1.5, neck = reach - head;
    return {{-reach, 0},     {-neck, -head}, {-neck, -shaft}, {neck, -shaft}, {neck, -head},
            {reach, 0},      {neck, head},   {neck, shaft},   {-neck, shaft}, {-neck, head}};
}

Outline Rectangle(double l, double t, double r, double b)
{
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// A ring of radius r around (cx, cy), width pixels wide, from one angle to another, as an outline.
Outline Arc(double cx, double cy, double r, double width, double from, double to)
{
    Outline points;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double a = (from + (to - from) * i / steps) * kCursorPi / 180.0;
        points.emplace_back(cx + (r + width / 2) * std::cos(a), cy + (r + width / 2) * std::sin(a));
    }
    for (int i = steps; i >= 0; --i) {
        const double a = (from + (to - from) * i / steps) * kCursorPi / 180.0;
        points.emplace_back(cx + (r - width / 2) * std::cos(a), cy + (r - width / 2) * std::sin(a));
    }
    return points;
}

bool Cursor(const std::filesystem::path& folder, unsigned id, const std::vector<Outline>& parts, Rgb fill = {255, 255, 255})
{
    // The parts overlap, so each is filled on its own and the shape is their union.
    std::vector<unsigned char> inside(static_cast<size_t>(kCursorSize) * kCursorSize, 0);
    for (const Outline& part : parts) {
        const std::vector<unsigned char> coverage = Coverage(kCursorSize, kCursorSize, [&](CPath& p) {
            bool first = true;
            for (auto [x, y] : part) {
                first ? p.MoveTo(x, y) : p.LineTo(x, y);
                first = false;
            }
            p.Close();
        });
        for (size_t i = 0; i < inside.size(); ++i)
            inside[i] = inside[i] || coverage[i] >= 128;
    }
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kCursorSize && y < kCursorSize &&
               inside[static_cast<size_t>(y) * kCursorSize + x];
    };
    return Save(folder, id, kCursorSize, kCursorSize, [&](int x, int y) {
        if (in(x, y))
            return fill;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (in(x + dx, y + dy))
                    return Rgb{0, 0, 0};
        return Rgb{255, 0, 255};
    });
}

} // namespace

bool ViewCursors(const std::filesystem::path& folder)
{
    constexpr double c = 15.5;
    const Outline arrow = {{2, 2}, {2, 22}, {7, 17.5}, {10.5, 25.5}, {13.5, 24.2}, {10.2, 16.3}, {16.5, 16.3}};
    bool made = Cursor(folder, 285, {arrow});
    made = Cursor(folder, 286, {Turned(DoubleArrow(11), 0, c, c)}) && made;
    made = Cursor(folder, 287, {Turned(DoubleArrow(11), 90, c, c)}) && made;
    made = Cursor(folder, 288, {Turned(DoubleArrow(10), -45, c, c)}) && made;
    made = Cursor(folder, 289, {Turned(DoubleArrow(10), 45, c, c)}) && made;
    made = Cursor(folder, 284, {Turned(DoubleArrow(11), 0, c, c), Turned(DoubleArrow(11), 90, c, c)}) && made;
    // Over a guide: the guide as a bar, with the arrow across it the way the guide moves.
    made = Cursor(folder, 283, {Turned(DoubleArrow(11), 90, c, c), Rectangle(c - 10, c - 1.5, c + 10, c + 1.5)}) && made;
    made = Cursor(folder, 290, {Turned(DoubleArrow(11), 0, c, c), Rectangle(c - 1.5, c - 10, c + 1.5, c + 10)}) && made;
    made = Cursor(folder, 293,
                  {Rectangle(c - 1, c - 9, c + 1, c + 9), Rectangle(c - 4.5, c - 10.5, c + 4.5, c - 8.5),
                   Rectangle(c - 4.5, c + 8.5, c + 4.5, c + 10.5)}) &&
           made;
    // Rotate: three quarters of a ring ending in an arrow head.
    const Outline head = {{c + 9, c - 12}, {c + 15, c - 6.5}, {c + 7.5, c - 3.5}};
    made = Cursor(folder, 282, {Arc(c, c, 8, 3, -60, 200), head}) && made;
    // The eyedropper: a pipette from its tip at the bottom left up to its bulb.
    const Outline pipette = {{0, 0}, {4, -2}, {15, -2}, {15, 2}, {4, 2}};
    const Outline collar = Rectangle(15, -4, 18, 4);
    Outline bulb;
    for (int i = 0; i < 16; ++i) {
        const double a = i * 2 * kCursorPi / 16;
        bulb.emplace_back(22 + 4.5 * std::cos(a), 4.5 * std::sin(a));
    }
    made = Cursor(folder, 312, {Turned(pipette, -45, 2, 29), Turned(collar, -45, 2, 29), Turned(bulb, -45, 2, 29)}) &&
           made;
    return made;
}

// The marker of an animated GIF picture at its object's top-right handle: a frame of film, 12 x 12.
bool AnimatedGifMarker(const std::filesystem::path& folder)
{
    return Save(folder, 489, 12, 12, [](int x, int y) {
        if (x == 0 || y == 0 || x == 11 || y == 11)
            return Rgb{20, 20, 20};
        // The sprocket holes along the top and bottom edges.
        if ((y == 2 || y == 9) && x % 3 == 1)
            return Rgb{255, 255, 255};
        if (y <= 3 || y >= 8)
            return Rgb{20, 20, 20};
        // A play mark in the picture area.
        const int dx = x - 4, dy = y - 4;
        if (dx >= 0 && dx <= 3 && dy >= dx / 2 && dy <= 3 - dx / 2)
            return Rgb{255, 200, 40};
        return Rgb{60, 110, 200};
    });
}

} // namespace bitmaps
