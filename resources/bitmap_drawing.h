#pragma once

// The drawing of the resource bitmaps: colours, the coverage of an outline, writing a picture as <id>.png, glyphs
// drawn pixel by pixel, and the outlines the icons are made of.

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/path/path.h"

namespace bitmaps {

struct Rgb
{
    int r, g, b;
};

Rgb Mix(Rgb from, Rgb to, double t);

// Coverage (0 to 255) of each pixel of a width x height area by the outline build() makes.
std::vector<unsigned char> Coverage(int width, int height, const std::function<void(CPath&)>& build);

bool Save(const std::filesystem::path& folder, unsigned id, int width, int height,
          const std::function<Rgb(int x, int y)>& colour);

// Glyphs of the picture buttons and icons, drawn pixel by pixel so that they stay sharp at 96 dpi. Every character
// is one pixel: '.' is the transparency key (bitmap 6086), the others the colours of GlyphColour.
Rgb GlyphColour(char c);
bool Glyph(const std::filesystem::path& folder, unsigned id, const std::vector<std::string>& rows);

// One shape of an icon in its colour.
struct IconLayer
{
    std::function<void(CPath&)> shape;
    Rgb colour;
};

void Box(CPath& p, double l, double t, double r, double b);
void Disc(CPath& p, double cx, double cy, double r);
void Poly(CPath& p, std::initializer_list<std::pair<double, double>> points);
void RegularPolygon(CPath& p, double cx, double cy, double r, int corners, double turn = 0.0);
void Star(CPath& p, double cx, double cy, double outer, double inner, int points);

} // namespace bitmaps
