// Draws the bitmaps of the resource folder and writes each as <id>.png into the folder given on the command line.
// The build runs it, so every bitmap is made from its description below and none is edited by hand. Shapes are
// drawn with the outline rasteriser at 96 dpi on whole-pixel edges, so straight edges stay crisp and only the
// slanted ones are smoothed.
//
//     make_bitmaps <folder>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/path/path.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb
{
    int r, g, b;
};

Rgb Mix(Rgb from, Rgb to, double t)
{
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

// Coverage (0 to 255) of each pixel of a width x height area by the outline build() makes.
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

// The probes of the display depth: three rows of red, green and blue. A display of 16 bits per pixel would hand
// them back as its three colour masks.
bool Probe(const std::filesystem::path& folder, unsigned id)
{
    return Save(folder, id, 3, 3, [](int, int y) {
        const Rgb rows[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
        return rows[y];
    });
}

// The slider's thumb: a small upright tab pointing down at the groove's scale, with a grey border, a light body
// shaded from top to bottom and a white inner highlight along the top and left. 6088 is its shape as a grey mask,
// 6089 its colours.
constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 19;

void ThumbOutline(CPath& path, double inset)
{
    // The slanted sides run at 45 degrees, so moving them in by `inset` moves their ends by inset * sqrt 2.
    const double slant = inset * std::sqrt(2.0);
    const double shoulder = 13.0 + inset - slant;
    path.MoveTo(inset, inset);
    path.LineTo(kThumbWidth - inset, inset);
    path.LineTo(kThumbWidth - inset, shoulder);
    path.LineTo(kThumbWidth / 2.0, kThumbHeight - 0.5 - slant);
    path.LineTo(inset, shoulder);
    path.Close();
}

bool Thumb(const std::filesystem::path& folder)
{
    const auto outer = Coverage(kThumbWidth, kThumbHeight, [](CPath& p) { ThumbOutline(p, 0.0); });
    const auto inner = Coverage(kThumbWidth, kThumbHeight, [](CPath& p) { ThumbOutline(p, 1.0); });
    const auto body = Coverage(kThumbWidth, kThumbHeight, [](CPath& p) { ThumbOutline(p, 2.0); });
    const Rgb border{112, 112, 112};
    const Rgb highlight{255, 255, 255};
    const Rgb top{250, 250, 250};
    const Rgb bottom{214, 214, 214};
    auto at = [](const std::vector<unsigned char>& plane, int x, int y) { return plane[y * kThumbWidth + x] / 255.0; };

    const bool mask = Save(folder, 6088, kThumbWidth, kThumbHeight, [&](int x, int y) {
        const int a = outer[y * kThumbWidth + x];
        return Rgb{a, a, a};
    });
    const bool colour = Save(folder, 6089, kThumbWidth, kThumbHeight, [&](int x, int y) {
        const Rgb shade = Mix(top, bottom, y / double(kThumbHeight - 1));
        // The ring between the border and the body lights the top and left edges only.
        const bool lit = x <= 1 || y <= 1;
        const Rgb ring = lit ? highlight : shade;
        const Rgb inside = Mix(ring, shade, at(body, x, y));
        return Mix(border, inside, at(inner, x, y));
    });
    return mask && colour;
}

// The counters' digits: seven-segment figures on a plain panel, so that a counter reads as one at a glance. Each
// style draws the same row "0001234" in its own colours and size.
bool SegmentLit(int digit, int x, int y, int width, int height, int thickness)
{
    // Segments a to g, as bits of each digit's mask: top, upper right, lower right, bottom, lower left, upper left,
    // middle.
    static const int masks[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const int mask = masks[digit % 10];
    const int middle = (height - thickness) / 2;
    const bool left = x < thickness, right = x >= width - thickness;
    const bool top = y < thickness, bottom = y >= height - thickness;
    const bool centre = y >= middle && y < middle + thickness;
    const bool upper = y < height / 2, lower = !upper;
    const bool lit[7] = {top, right && upper, right && lower, bottom, left && lower, left && upper, centre};
    for (int s = 0; s < 7; ++s)
        if ((mask >> s & 1) && lit[s])
            return true;
    return false;
}

struct CounterLook
{
    unsigned id;
    int width, height;
    Rgb panel, frame, digit;
};

bool Counter(const std::filesystem::path& folder, const CounterLook& look)
{
    const char digits[] = "0001234";
    const int count = 7;
    const int cellWidth = (look.width - 4) / count;
    const int inset = look.height / 6;
    const int digitWidth = cellWidth - 3;
    const int digitHeight = look.height - 2 * inset;
    const int thickness = look.height >= 30 ? 3 : 2;
    const int start = (look.width - cellWidth * count) / 2;
    return Save(folder, look.id, look.width, look.height, [&](int x, int y) {
        if (x == 0 || y == 0 || x == look.width - 1 || y == look.height - 1)
            return look.frame;
        const int cell = (x - start) / cellWidth;
        const int cx = x - start - cell * cellWidth - 1;
        const int cy = y - inset;
        if (x >= start && cell < count && cx >= 0 && cx < digitWidth && cy >= 0 && cy < digitHeight &&
            SegmentLit(digits[cell] - '0', cx, cy, digitWidth, digitHeight, thickness))
            return look.digit;
        return look.panel;
    });
}

// The placeholder pattern of HTML objects: soft diagonal stripes that tile without a seam every 100 pixels.
bool HtmlPattern(const std::filesystem::path& folder)
{
    return Save(folder, 495, 100, 100, [](int x, int y) {
        return ((x + y) / 10) % 2 == 0 ? Rgb{226, 232, 242} : Rgb{244, 246, 250};
    });
}

// The form's picture: a grey panel with four entry fields (two lines, two boxes) under dark label bars and two
// buttons at the foot. 506 holds its colours (wider than the form: the columns beyond 223 are not part of it),
// 508 its shape as a grey mask with rounded corners.
constexpr int kFormWidth = 223;
constexpr int kFormHeight = 317;

bool Form(const std::filesystem::path& folder)
{
    struct Box
    {
        int left, top, right, bottom;
        Rgb colour;
    };
    const Rgb label{60, 60, 70};
    const Rgb field{255, 255, 255};
    const Rgb button{200, 204, 214};
    const Box boxes[] = {
        {12, 14, 60, 22, label},      {16, 28, 200, 46, field},   {12, 60, 110, 68, label},
        {16, 74, 200, 92, field},     {12, 106, 100, 114, label}, {16, 120, 210, 170, field},
        {12, 184, 90, 192, label},    {16, 198, 210, 248, field}, {24, 270, 100, 296, button},
        {122, 270, 198, 296, button},
    };
    const bool colour = Save(folder, 506, 237, kFormHeight, [&](int x, int y) {
        if (x >= kFormWidth)
            return Rgb{255, 0, 255};
        for (const Box& box : boxes)
            if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
                const bool edge = x == box.left || y == box.top || x == box.right - 1 || y == box.bottom - 1;
                return edge ? Rgb{120, 124, 136} : box.colour;
            }
        return Rgb{228, 230, 236};
    });
    const int radius = 10;
    const bool mask = Save(folder, 508, kFormWidth, kFormHeight, [&](int x, int y) {
        const int dx = x < radius ? radius - x : x >= kFormWidth - radius ? x - (kFormWidth - radius - 1) : 0;
        const int dy = y < radius ? radius - y : y >= kFormHeight - radius ? y - (kFormHeight - radius - 1) : 0;
        const int a = dx * dx + dy * dy <= radius * radius ? 255 : 0;
        return Rgb{a, a, a};
    });
    return colour && mask;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bitmaps <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_bitmaps: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    // 6086: the transparency key of the glyphs, cyan.
    bool made = Save(folder, 6086, 1, 1, [](int, int) { return Rgb{0, 255, 255}; });
    made = Probe(folder, 6087) && made;
    made = Probe(folder, 421) && made;
    made = Thumb(folder) && made;
    const CounterLook counters[] = {
        {327, 85, 30, {250, 250, 250}, {90, 90, 90}, {20, 20, 20}},
        {325, 85, 30, {20, 32, 80}, {10, 16, 40}, {255, 255, 255}},
        {326, 75, 20, {200, 200, 200}, {100, 100, 100}, {200, 20, 20}},
        {324, 85, 30, {0, 0, 0}, {60, 60, 60}, {40, 230, 60}},
    };
    for (const CounterLook& look : counters)
        made = Counter(folder, look) && made;
    made = HtmlPattern(folder) && made;
    made = Form(folder) && made;
    return made ? 0 : 1;
}
