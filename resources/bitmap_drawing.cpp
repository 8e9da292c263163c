#include "bitmap_drawing.h"

#include <cmath>
#include <cstdio>

#include "image/image.h"
#include "platform/io/io.h"

namespace bitmaps {

Rgb Mix(Rgb from, Rgb to, double t)
{
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

std::vector<unsigned char> Coverage(int width, int height, const std::function<void(CPath&)>& build)
{
    CPath path;
    build(path);
    std::vector<unsigned char> coverage(static_cast<size_t>(width) * height, 0);
    path.Rasterize(CRect(0, 0, width, height), coverage.data(), 1, width, FILL_RULE_EVEN_ODD, 16);
    return coverage;
}

bool Save(const std::filesystem::path& folder, unsigned id, int width, int height,
          const std::function<Rgb(int x, int y)>& colour)
{
    CImage picture(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = picture.GetData() + static_cast<size_t>(y) * picture.GetStride();
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            row[3 * x] = static_cast<unsigned char>(c.r);
            row[3 * x + 1] = static_cast<unsigned char>(c.g);
            row[3 * x + 2] = static_cast<unsigned char>(c.b);
        }
    }
    const std::filesystem::path file = folder / (std::to_string(id) + ".png");
    if (!CIO::SavePNG(file.string(), picture)) {
        std::fprintf(stderr, "make_bitmaps: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

Rgb GlyphColour(char c)
{
    switch (c) {
    case '#':
        return {32, 32, 32};
    case 'g':
        return {128, 128, 128};
    case 'o':
        return {255, 255, 255};
    case 'b':
        return {36, 92, 196};
    case 'y':
        return {244, 196, 32};
    case 'Y':
        return {204, 150, 24};
    case 'r':
        return {200, 40, 36};
    case 'e':
        return {60, 150, 60};
    default:
        return {0, 255, 255};
    }
}

bool Glyph(const std::filesystem::path& folder, unsigned id, const std::vector<std::string>& rows)
{
    const int width = static_cast<int>(rows.front().size());
    return Save(folder, id, width, static_cast<int>(rows.size()),
                [&](int x, int y) { return GlyphColour(rows[y][x]); });
}

void Box(CPath& p, double l, double t, double r, double b)
{
    p.MoveTo(l, t);
    p.LineTo(r, t);
    p.LineTo(r, b);
    p.LineTo(l, b);
    p.Close();
}

void Disc(CPath& p, double cx, double cy, double r)
{
    const double k = 0.5523 * r;
    p.MoveTo(cx + r, cy);
    p.CurveTo(cx + r, cy + k, cx + k, cy + r, cx, cy + r);
    p.CurveTo(cx - k, cy + r, cx - r, cy + k, cx - r, cy);
    p.CurveTo(cx - r, cy - k, cx - k, cy - r, cx, cy - r);
    p.CurveTo(cx + k, cy - r, cx + r, cy - k, cx + r, cy);
    p.Close();
}

void Poly(CPath& p, std::initializer_list<std::pair<double, double>> points)
{
    bool first = true;
    for (auto [x, y] : points) {
        first ? p.MoveTo(x, y) : p.LineTo(x, y);
        first = false;
    }
    p.Close();
}

void RegularPolygon(CPath& p, double cx, double cy, double r, int corners, double turn)
{
    for (int i = 0; i < corners; ++i) {
        const double a = turn - 3.14159265358979 / 2 + i * 2 * 3.14159265358979 / corners;
        i == 0 ? p.MoveTo(cx + r * std::cos(a), cy + r * std::sin(a))
               : p.LineTo(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    p.Close();
}

void Star(CPath& p, double cx, double cy, double outer, double inner, int points)
{
    for (int i = 0; i < 2 * points; ++i) {
        const double a = -3.14159265358979 / 2 + i * 3.14159265358979 / points;
        const double r = i % 2 ? inner : outer;
        i == 0 ? p.MoveTo(cx + r * std::cos(a), cy + r * std::sin(a))
               : p.LineTo(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    p.Close();
}

} // namespace bitmaps
