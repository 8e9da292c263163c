// Draws the bitmaps of the resource folder and writes each as <id>.png into the folder given on the command line.
// The build runs it, so every bitmap is made from its description below and none is edited by hand. Shapes are
// drawn with the outline rasteriser at 96 dpi on whole-pixel edges, so straight edges stay crisp and only the
// slanted ones are smoothed.
//
//     make_bitmaps <folder> <textures folder>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/path/path.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// Glyphs of the picture buttons and icons, drawn pixel by pixel so that they stay sharp at 96 dpi. Every character
// is one pixel: '.' is the transparency key (bitmap 6086), the others the colours of GlyphColour.
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

// The picture buttons: a grid (off, on), flips left-right and up-down, and the bold, italic and underlined
// lettering of a text style.
bool ButtonGlyphs(const std::filesystem::path& folder)
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> gridOff = {
        "............",
        "#.#.#..#.#.#",
        "............",
        "#..........#",
        "............",
        "#..........#",
        "............",
        "#..........#",
        "............",
        "#.#.#..#.#.#",
        "............",
        "............",
    };
    const std::vector<std::string> gridOn = {
        "............",
        "############",
        "#...#..#...#",
        "#...#..#...#",
        "############",
        "#...#..#...#",
        "#...#..#...#",
        "############",
        "#...#..#...#",
        "############",
        "............",
        "............",
    };
    const std::vector<std::string> flipX = {
        ".....g......",
        ".....g......",
        "...#.g.#....",
        "..##.g.##...",
        ".###.g.###..",
        "####.g.####.",
        ".###.g.###..",
        "..##.g.##...",
        "...#.g.#....",
        ".....g......",
        ".....g......",
        "............",
    };
    const std::vector<std::string> flipY = {
        "............",
        ".....#......",
        "....###.....",
        "...#####....",
        "..#######...",
        "............",
        "ggggggggggg.",
        "............",
        "..#######...",
        "...#####....",
        "....###.....",
        ".....#......",
    };
    const std::vector<std::string> bold = {
        "............",
        "..######....",
        "..###..##...",
        "..###..##...",
        "..###..##...",
        "..######....",
        "..###..###..",
        "..###..###..",
        "..###..###..",
        "..#######...",
        "............",
        "............",
    };
    const std::vector<std::string> italic = {
        "............",
        ".....####...",
        ".......#....",
        "......##....",
        "......#.....",
        ".....##.....",
        ".....#......",
        "....##......",
        "....#.......",
        "..####......",
        "............",
        "............",
    };
    const std::vector<std::string> underline = {
        "............",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "..##...##...",
        "...#####....",
        "............",
        "..#######...",
        "............",
    };
    // clang-format on
    bool made = Glyph(folder, 6099, gridOff);
    made = Glyph(folder, 6096, gridOn) && made;
    made = Glyph(folder, 6105, flipX) && made;
    made = Glyph(folder, 6102, flipX) && made;
    made = Glyph(folder, 6111, flipY) && made;
    made = Glyph(folder, 6108, flipY) && made;
    made = Glyph(folder, 6066, bold) && made;
    made = Glyph(folder, 6067, bold) && made;
    made = Glyph(folder, 6062, italic) && made;
    made = Glyph(folder, 6063, italic) && made;
    made = Glyph(folder, 6068, underline) && made;
    made = Glyph(folder, 6069, underline) && made;
    return made;
}

// The icons that mark a value box: a width, a height, an angle, a font, a corner's radius, and a plain bullet for
// everything else.
bool IconGlyphs(const std::filesystem::path& folder)
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> width = {
        "................",
        "................",
        "................",
        "#..............#",
        "#..............#",
        "#...#......#...#",
        "#..##......##..#",
        "#.############.#",
        "#.############.#",
        "#..##......##..#",
        "#...#......#...#",
        "#..............#",
        "#..............#",
        "................",
        "................",
        "................",
    };
    const std::vector<std::string> height = {
        "...##########...",
        "................",
        ".......##.......",
        "......####......",
        ".....######.....",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".......##.......",
        ".....######.....",
        "......####......",
        ".......##.......",
        "................",
        "...##########...",
    };
    const std::vector<std::string> angle = {
        "................",
        "..............#.",
        ".............#..",
        "............#...",
        "...........#....",
        "..........#.....",
        ".........#......",
        "........#..b....",
        ".......#....b...",
        "......#......b..",
        ".....#.......b..",
        "....#.........b.",
        "...#..........b.",
        "..#############.",
        "................",
        "................",
    };
    const std::vector<std::string> font = {
        "................",
        "......####......",
        "......####......",
        ".....##..##.....",
        ".....##..##.....",
        "....##....##....",
        "....##....##....",
        "...##......##...",
        "...##########...",
        "..############..",
        "..##........##..",
        ".##..........##.",
        ".##..........##.",
        "###..........###",
        "................",
        "................",
    };
    const std::vector<std::string> corner = {
        "................",
        "..gggggggggggggg",
        "..g.............",
        "..g.............",
        "..g.....########",
        "..g...##........",
        "..g..#..........",
        "..g.#...........",
        "..g.#...........",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "..g#............",
        "................",
    };
    const std::vector<std::string> bullet = {
        "................",
        "................",
        "................",
        "................",
        "................",
        "......####......",
        ".....#gggg#.....",
        ".....#gggg#.....",
        ".....#gggg#.....",
        ".....#gggg#.....",
        "......####......",
        "................",
        "................",
        "................",
        "................",
        "................",
    };
    // clang-format on
    bool made = Glyph(folder, 6022, width);
    made = Glyph(folder, 6025, height) && made;
    made = Glyph(folder, 6026, angle) && made;
    made = Glyph(folder, 6090, font) && made;
    made = Glyph(folder, 6027, corner) && made;
    made = Glyph(folder, 6093, bullet) && made;
    return made;
}

// The folder tree's icons, 16 x 16: a closed and an open folder, and the files by what they hold: a web page, a
// picture, a script, a Flash movie and any other file.
bool FolderTreeIcons(const std::filesystem::path& folder)
{
    // One row of pixels a line, as the glyph looks.
    // clang-format off
    const std::vector<std::string> closed = {
        "................",
        "................",
        "..#####.........",
        ".#yyyyy#........",
        "#yyyyyyy#######.",
        "#yyyyyyyyyyyyyY#",
        "#YYYYYYYYYYYYYY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#yyyyyyyyyyyyyY#",
        "#YYYYYYYYYYYYYY#",
        ".##############.",
        "................",
        "................",
    };
    const std::vector<std::string> open = {
        "................",
        "................",
        "..#####.........",
        ".#YYYYY#........",
        "#YYYYYYY######..",
        "#YYYYYYYYYYYYY#.",
        "#YYY###########.",
        "#YY#yyyyyyyyyyy#",
        "#YY#yyyyyyyyyy#.",
        "#Y#yyyyyyyyyyy#.",
        "#Y#yyyyyyyyyy#..",
        "##yyyyyyyyyyy#..",
        "##yyyyyyyyyy#...",
        ".###########....",
        "................",
        "................",
    };
    const std::vector<std::string> page = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#bbbbbbbbbb#..",
        "..#bbbbbbbbbb#..",
        "..#oooooooooo#..",
        "..#ogggggggoo#..",
        "..#oooooooooo#..",
        "..#ogggggoooo#..",
        "..#oooooooooo#..",
        "..#obbbboggoo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    const std::vector<std::string> picture = {
        "................",
        "................",
        "################",
        "#bbbbbbbbbbbbbb#",
        "#bbbbbbbbbbyybb#",
        "#bbbbbbbbbyyyyb#",
        "#bbbbbbbbbyyyyb#",
        "#bbbbbbbbbbyybb#",
        "#bbbbebbbbbbbbb#",
        "#bbbeeebbbbbbbb#",
        "#bbeeeeebbbebbb#",
        "#beeeeeeebeeebb#",
        "#eeeeeeeeeeeeee#",
        "################",
        "................",
        "................",
    };
    const std::vector<std::string> script = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#oooooooooo#..",
        "..#obbbbooooo#..",
        "..#ooorrrrroo#..",
        "..#ooorrroooo#..",
        "..#ooooeeeeeo#..",
        "..#ooorrrrooo#..",
        "..#obbboooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    const std::vector<std::string> flash = {
        "................",
        ".##############.",
        "#rrrrrrrrrrrrrr#",
        "#rrrrrrrrroooor#",
        "#rrrrrrrrooorrr#",
        "#rrrrrrrroorrrr#",
        "#rrrrrroooooorr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrrroorrrrr#",
        "#rrrrrroorrrrrr#",
        "#rrrroooorrrrrr#",
        "#rrrroorrrrrrrr#",
        "#rrrrrrrrrrrrrr#",
        ".##############.",
        "................",
    };
    const std::vector<std::string> other = {
        "..#########.....",
        "..#ooooooo##....",
        "..#ooooooo#o#...",
        "..#ooooooo#oo#..",
        "..#ooooooo####..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..#oooooooooo#..",
        "..############..",
        "................",
    };
    // clang-format on
    bool made = true;
    unsigned id = 6140;
    for (const auto* rows : {&closed, &open, &page, &picture, &script, &flash, &other})
        made = Glyph(folder, id++, *rows) && made;
    return made;
}

// The gradient designer's handles and colour wells. A handle is a tab 13 pixels wide whose last seven rows narrow
// to a point on the band's top: at the top a box with the remove cross, below it a ridged grip, and the rest of
// the tab shows the stop's colours (left half, right half). Alpha maps are grey masks, colour maps the pictures.
constexpr int kHandleWidth = 13;
constexpr int kHandleHeight = 30;
constexpr int kHandleBody = 22; // rows of the straight part; the point follows

bool InHandle(int x, int y)
{
    if (x < 0 || x >= kHandleWidth || y < 0)
        return false;
    if (y < kHandleBody)
        return true;
    const int half = kHandleWidth / 2 - (y - kHandleBody);
    return half >= 0 && std::abs(x - kHandleWidth / 2) <= half;
}

bool OnHandleBorder(int x, int y)
{
    return InHandle(x, y) &&
           (!InHandle(x - 1, y) || !InHandle(x + 1, y) || !InHandle(x, y - 1) || !InHandle(x, y + 1) || y == 8);
}

bool InRemoveBox(int x, int y)
{
    return InHandle(x, y) && y <= 8;
}

bool InGrip(int x, int y)
{
    return y >= 10 && y <= 14 && x >= 2 && x <= kHandleWidth - 3;
}

bool Handles(const std::filesystem::path& folder)
{
    const Rgb border{64, 64, 64}, face{240, 240, 240}, cross{190, 40, 36}, ridge{96, 96, 96}, lit{255, 255, 255};
    auto mask = [](bool on) { return on ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; };
    const int w = kHandleWidth, h = kHandleHeight;
    bool made = Save(folder, 6017, w, h, [&](int x, int y) { return mask(InHandle(x, y)); });
    made = Save(folder, 6016, w, h,
                [&](int x, int y) {
                    if (OnHandleBorder(x, y))
                        return border;
                    const int cx = x - 4, cy = y - 2;
                    if (cy >= 0 && cy <= 4 && (cx == cy || cx == 4 - cy))
                        return cross;
                    return face;
                }) &&
           made;
    made = Save(folder, 6018, w, h,
                [&](int x, int y) { return mask(InHandle(x, y) && !OnHandleBorder(x, y) && !InRemoveBox(x, y)); }) &&
           made;
    made = Save(folder, 6015, w, h, [&](int, int y) { return y % 2 == 0 ? ridge : lit; }) && made;
    made = Save(folder, 6020, w, h, [&](int x, int y) { return mask(InGrip(x, y)); }) && made;
    made = Save(folder, 6021, w, h, [&](int x, int y) { return mask(InRemoveBox(x, y)); }) && made;
    return made;
}

// The colour wells at the band's ends: a raised square frame with the colour inside.
constexpr int kWellWidth = 14;
constexpr int kWellHeight = 21;

bool Wells(const std::filesystem::path& folder)
{
    const Rgb border{64, 64, 64}, light{255, 255, 255}, face{224, 224, 224};
    auto frame = [&](int x, int y) {
        if (x == 0 || y == 0 || x == kWellWidth - 1 || y == kWellHeight - 1)
            return border;
        if (x == 1 || y == 1)
            return light;
        return face;
    };
    auto colourArea = [](int x, int y) {
        const bool inside = x >= 3 && y >= 3 && x < kWellWidth - 3 && y < kWellHeight - 3;
        return inside ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    };
    auto all = [](int, int) { return Rgb{255, 255, 255}; };
    bool made = true;
    for (unsigned first : {6009u, 6012u}) {
        // 6012 to 6014 the start well, 6009 to 6011 the end well: colour mask, frame colours, frame shape.
        made = Save(folder, first, kWellWidth, kWellHeight, colourArea) && made;
        made = Save(folder, first + 1, kWellWidth, kWellHeight, frame) && made;
        made = Save(folder, first + 2, kWellWidth, kWellHeight, all) && made;
    }
    return made;
}

// The main toolbar's pictures: one strip of 32 x 32 icons in the toolbar's button order (New, Open, Save, Add
// Page, Show Page, Test, Send, Help). 147 holds them in colour, 149 greyed for disabled buttons. Cyan (the
// toolbar's mask colour) stands wherever no shape covers; the smoothed edges are mixed over a light grey like the
// bar's, so no cyan fringe shows.
constexpr int kToolIcon = 32;
constexpr int kToolIconCount = 8;

struct IconLayer
{
    std::function<void(CPath&)> shape;
    Rgb colour;
};

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

// A sheet of paper with its top-right corner folded, outlined, its left edge at x.
std::vector<IconLayer> Sheet(double x, double y, double w, double h, Rgb paper)
{
    const Rgb line{70, 76, 88};
    const double fold = 7;
    return {
        {[=](CPath& p) {
             Poly(p, {{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}});
         },
         line},
        {[=](CPath& p) {
             Poly(p, {{x + 1, y + 1},
                      {x + w - fold - 0.4, y + 1},
                      {x + w - 1, y + fold + 0.4},
                      {x + w - 1, y + h - 1},
                      {x + 1, y + h - 1}});
         },
         paper},
        {[=](CPath& p) {
             Poly(p, {{x + w - fold, y + 1}, {x + w - 1, y + fold}, {x + w - fold, y + fold}});
         },
         Rgb{200, 206, 216}},
    };
}

std::vector<IconLayer> ToolIcon(int index)
{
    const Rgb white{255, 255, 255};
    const Rgb dark{70, 76, 88};
    std::vector<IconLayer> layers;
    auto add = [&layers](std::vector<IconLayer> more) { layers.insert(layers.end(), more.begin(), more.end()); };
    switch (index) {
    case 0: // New: a blank sheet with a gold spark.
        add(Sheet(6, 3, 20, 26, white));
        add({{[](CPath& p) {
                  Poly(p, {{24, 18}, {26, 23}, {31, 25}, {26, 27}, {24, 32}, {22, 27}, {17, 25}, {22, 23}});
              },
              {226, 160, 20}}});
        break;
    case 1: // Open: a folder.
        add({{[](CPath& p) {
                  Poly(p, {{3, 7}, {12, 7}, {15, 10}, {27, 10}, {27, 26}, {3, 26}});
              },
              {150, 100, 20}},
             {[](CPath& p) {
                  Poly(p, {{4, 8}, {11.5, 8}, {14.5, 11}, {26, 11}, {26, 25}, {4, 25}});
              },
              {232, 180, 60}},
             {[](CPath& p) {
                  Poly(p, {{8, 14}, {31, 14}, {27, 26}, {3, 26}});
              },
              {150, 100, 20}},
             {[](CPath& p) {
                  Poly(p, {{8.7, 15}, {29.6, 15}, {26.3, 25}, {4.4, 25}});
              },
              {250, 210, 100}}});
        break;
    case 2: // Save: a disk.
        add({{[](CPath& p) {
                  Poly(p, {{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}});
              },
              {30, 60, 120}},
             {[](CPath& p) {
                  Poly(p, {{5, 5}, {23.6, 5}, {27, 8.4}, {27, 27}, {5, 27}});
              },
              {50, 100, 190}},
             {[](CPath& p) { Box(p, 9, 5, 23, 14); }, white},
             {[](CPath& p) { Box(p, 18, 6, 21, 13); }, {120, 130, 150}},
             {[](CPath& p) { Box(p, 9, 18, 23, 27); }, {210, 216, 226}}});
        break;
    case 3: // Add Page: a sheet and a green plus.
        add(Sheet(3, 3, 19, 25, white));
        add({{[](CPath& p) { Disc(p, 23, 23, 8); }, {30, 120, 40}},
             {[](CPath& p) { Disc(p, 23, 23, 7); }, {60, 170, 70}},
             {[](CPath& p) { Box(p, 22, 18, 24, 28); }, white},
             {[](CPath& p) { Box(p, 18, 22, 28, 24); }, white}});
        break;
    case 4: // Show Page: a stack of sheets, the front one with lines of text.
        add(Sheet(4, 2, 18, 23, {226, 230, 238}));
        add(Sheet(10, 7, 18, 23, white));
        for (int row = 0; row < 4; ++row)
            add({{[row](CPath& p) { Box(p, 13, 16 + 3 * row, row == 3 ? 21 : 25, 17 + 3 * row); }, {60, 110, 200}}});
        break;
    case 5: // Test: a browser window with a play mark.
        add({{[](CPath& p) { Box(p, 2, 4, 30, 28); }, dark},
             {[](CPath& p) { Box(p, 3, 5, 29, 10); }, {60, 110, 200}},
             {[](CPath& p) { Box(p, 3, 10, 29, 27); }, white},
             {[](CPath& p) {
                  Poly(p, {{12, 13}, {23, 19}, {12, 25}});
              },
              {40, 150, 60}}});
        break;
    case 6: // Send: the globe with an arrow leaving it.
        add({{[](CPath& p) { Disc(p, 14, 18, 12); }, {20, 70, 140}},
             {[](CPath& p) { Disc(p, 14, 18, 11); }, {70, 140, 220}},
             {[](CPath& p) {
                  Poly(p, {{7, 11}, {13, 9}, {15, 14}, {11, 19}, {12, 25}, {8, 24}, {5, 17}});
              },
              {80, 170, 80}},
             {[](CPath& p) {
                  Poly(p, {{17, 19}, {22, 18}, {23, 24}, {18, 26}});
              },
              {80, 170, 80}},
             {[](CPath& p) {
                  Poly(p, {{20, 14}, {26, 8}, {23, 5}, {31, 1}, {28, 9}, {25, 6}, {19, 12}});
              },
              {230, 120, 20}}});
        break;
    default: // Help: the information mark.
        add({{[](CPath& p) { Disc(p, 16, 16, 13); }, {20, 70, 140}},
             {[](CPath& p) { Disc(p, 16, 16, 12); }, {50, 110, 200}},
             {[](CPath& p) { Disc(p, 16, 9.5, 2.5); }, white},
             {[](CPath& p) {
                  Poly(p, {{12, 14},
                           {18, 14},
                           {18, 23},
                           {20, 23},
                           {20, 25},
                           {12, 25},
                           {12, 23},
                           {14, 23},
                           {14, 16},
                           {12, 16}});
              },
              white}});
        break;
    }
    return layers;
}

bool ToolbarStrips(const std::filesystem::path& folder)
{
    const int width = kToolIcon * kToolIconCount;
    const Rgb bar{240, 240, 240};
    std::vector<Rgb> colour(static_cast<size_t>(width) * kToolIcon, bar);
    std::vector<bool> covered(colour.size(), false);
    for (int index = 0; index < kToolIconCount; ++index) {
        for (const IconLayer& layer : ToolIcon(index)) {
            const auto coverage = Coverage(kToolIcon, kToolIcon, layer.shape);
            for (int y = 0; y < kToolIcon; ++y)
                for (int x = 0; x < kToolIcon; ++x) {
                    const int a = coverage[y * kToolIcon + x];
                    if (a == 0)
                        continue;
                    const size_t at = static_cast<size_t>(y) * width + index * kToolIcon + x;
                    colour[at] = Mix(colour[at], layer.colour, a / 255.0);
                    covered[at] = true;
                }
        }
    }
    const Rgb key{0, 255, 255};
    const bool normal = Save(folder, 147, width, kToolIcon, [&](int x, int y) {
        const size_t at = static_cast<size_t>(y) * width + x;
        return covered[at] ? colour[at] : key;
    });
    const bool disabled = Save(folder, 149, width, kToolIcon, [&](int x, int y) {
        const size_t at = static_cast<size_t>(y) * width + x;
        if (!covered[at])
            return key;
        const Rgb c = colour[at];
        const int grey = 150 + (c.r * 30 + c.g * 59 + c.b * 11) / 100 * 90 / 255;
        return Rgb{grey, grey, grey};
    });
    return normal && disabled;
}

// The tools bar's buttons, 28 x 24, a normal and a selected picture each: the tool's glyph on the bar's face
// (0xE0E0E0, the buttons' mask colour, so the bar shows through), and on the selected one a sunken white face with
// a dark edge above and to the left. The Shapes palette's buttons, 32 x 32, up and down the same way, raised and
// sunken, each with its shape in blue.
constexpr int kToolButtonWidth = 28;
constexpr int kToolButtonHeight = 24;
constexpr int kShapeButtonSize = 32;

void RegularPolygon(CPath& p, double cx, double cy, double r, int corners, double turn = 0.0)
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

std::vector<IconLayer> ShapeGlyph(int kind)
{
    const Rgb edge{20, 60, 130};
    const Rgb fill{70, 130, 210};
    const double c = kShapeButtonSize / 2.0;
    std::function<void(CPath&)> shape;
    switch (kind) {
    case 1:
        shape = [](CPath& p) { Box(p, 7, 9, 25, 23); };
        break;
    case 2:
        shape = [c](CPath& p) { Disc(p, c, c, 9); };
        break;
    case 13:
        shape = [](CPath& p) { Poly(p, {{6, 13}, {17, 13}, {17, 8}, {26, 16}, {17, 24}, {17, 19}, {6, 19}}); };
        break;
    case 14:
        shape = [c](CPath& p) {
            RegularPolygon(p, c, c + 1, 10, 3);
            RegularPolygon(p, c, c - 1, 10, 3, 3.14159265358979);
        };
        break;
    case 15:
        shape = [](CPath& p) { Poly(p, {{6, 24}, {6, 12}, {9, 8}, {16, 8}, {18, 12}, {26, 12}, {26, 24}}); };
        break;
    case 16:
        shape = [](CPath& p) { Poly(p, {{6, 8}, {26, 8}, {26, 20}, {16, 20}, {10, 26}, {11, 20}, {6, 20}}); };
        break;
    case 17:
        shape = [](CPath& p) { Poly(p, {{6, 24}, {24, 6}, {26, 8}, {8, 26}}); };
        break;
    case 18:
        shape = [c](CPath& p) { Star(p, c, c + 1, 11, 4.5, 5); };
        break;
    case 19:
        shape = [c](CPath& p) { Star(p, c, c, 11, 6, 6); };
        break;
    case 20:
        // Two boxes in one outline: the even-odd rule leaves the middle open.
        shape = [](CPath& p) {
            Box(p, 7, 7, 25, 25);
            Box(p, 11, 11, 21, 21);
        };
        break;
    default:
        shape = [c, kind](CPath& p) { RegularPolygon(p, c, c + (kind == 3 ? 1.5 : 0), 10, kind); };
        break;
    }
    // The edge is the shape itself drawn a shade darker under a copy grown inwards by blending: a dark rim shows
    // where the coverage is partial, the fill where it is full.
    return {{shape, edge}, {shape, fill}};
}

std::vector<IconLayer> ToolGlyph(int tool)
{
    const Rgb dark{40, 44, 52};
    const Rgb white{255, 255, 255};
    std::vector<IconLayer> layers;
    switch (tool) {
    case 1: // Arrow: the pointer.
        layers = {
            {[](CPath& p) {
                 Poly(p, {{10, 3}, {10, 19}, {13.5, 15.5}, {16, 21}, {18, 20}, {15.5, 14.5}, {20, 14.5}});
             },
             dark},
            {[](CPath& p) {
                 Poly(p, {{11, 5.5}, {11, 16.5}, {13.8, 13.8}, {16.4, 19.6}, {16.8, 19.4}, {14.2, 13.5}, {17.6, 13.5}});
             },
             white}};
        break;
    case 2: // Text: a capital T.
        layers = {{[](CPath& p) {
                       Poly(p, {{7, 4},
                                {21, 4},
                                {21, 8},
                                {19, 8},
                                {18, 6},
                                {15.5, 6},
                                {15.5, 18},
                                {17.5, 19},
                                {17.5, 20},
                                {10.5, 20},
                                {10.5, 19},
                                {12.5, 18},
                                {12.5, 6},
                                {10, 6},
                                {9, 8},
                                {7, 8}});
                   },
                   dark}};
        break;
    case 3: // Shape: a square behind a disc.
        layers = {{[](CPath& p) { Box(p, 6, 4, 17, 15); }, {30, 90, 170}},
                  {[](CPath& p) { Disc(p, 17, 14, 6.5); }, {200, 60, 40}}};
        break;
    case 5: // Picture: a landscape in a frame.
        layers = {{[](CPath& p) { Box(p, 5, 4, 23, 20); }, dark},
                  {[](CPath& p) { Box(p, 6, 5, 22, 19); }, {150, 200, 240}},
                  {[](CPath& p) {
                       Poly(p, {{6, 19}, {11, 11}, {15, 16}, {18, 13}, {22, 19}});
                   },
                   {60, 140, 60}},
                  {[](CPath& p) { Disc(p, 18, 8.5, 2); }, {240, 200, 40}}};
        break;
    case 6: // HTML: angle brackets.
        layers = {{[](CPath& p) {
                       Poly(p, {{11, 6}, {13, 8}, {8.5, 12}, {13, 16}, {11, 18}, {4.5, 12}});
                   },
                   {200, 90, 20}},
                  {[](CPath& p) {
                       Poly(p, {{17, 6}, {23.5, 12}, {17, 18}, {15, 16}, {19.5, 12}, {15, 8}});
                   },
                   {200, 90, 20}}};
        break;
    case 7: // Flash: a lightning bolt.
        layers = {{[](CPath& p) {
                       Poly(p, {{16, 2}, {8, 13}, {13, 13}, {10, 22}, {20, 9}, {15, 9}, {19, 2}});
                   },
                   {200, 40, 30}}};
        break;
    case 11: // Eyedropper: a slanted pipette.
        layers = {
            {[](CPath& p) {
                 Poly(p, {{17, 3}, {22, 8}, {19, 10}, {10, 19}, {7, 20}, {5, 21}, {6, 19}, {7, 16}, {16, 7}, {15, 6}});
             },
             dark},
            {[](CPath& p) {
                 Poly(p, {{15.5, 9}, {17, 10.5}, {9.5, 18}, {8, 18.5}, {8.5, 17}});
             },
             {90, 160, 230}}};
        break;
    default: { // Companion tools: a coloured tile with a white mark of its own.
        const Rgb tiles[] = {{190, 60, 60},  {60, 140, 60},  {60, 90, 190},
                             {200, 140, 30}, {130, 70, 170}, {30, 150, 160}};
        const int i = std::clamp(tool - 12, 0, 5);
        layers = {{[](CPath& p) { Box(p, 6, 3, 22, 19); }, tiles[i]},
                  {[i](CPath& p) {
                       if (i % 2 == 0)
                           RegularPolygon(p, 14, 11, 5, 3 + i / 2);
                       else
                           Star(p, 14, 11, 6, 2.5, 3 + i / 2);
                   },
                   white}};
        break;
    }
    }
    return layers;
}

// Paints the layers over a face; the sunken look darkens the top and left rows, the raised one lightens them and
// darkens the bottom and right.
enum class ButtonLook
{
    Flat,
    Sunken,
    Raised,
};

bool ButtonPicture(const std::filesystem::path& folder, unsigned id, int width, int height, ButtonLook look,
                   const std::vector<IconLayer>& layers, int shiftX = 0)
{
    const Rgb mask{224, 224, 224};
    const Rgb face = look == ButtonLook::Sunken   ? Rgb{250, 250, 250}
                     : look == ButtonLook::Raised ? Rgb{236, 236, 236}
                                                  : mask;
    std::vector<Rgb> colour(static_cast<size_t>(width) * height, face);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb& c = colour[static_cast<size_t>(y) * width + x];
            const bool topLeft = x == 0 || y == 0, bottomRight = x == width - 1 || y == height - 1;
            if (look == ButtonLook::Sunken && topLeft)
                c = Rgb{120, 120, 120};
            else if (look == ButtonLook::Sunken && bottomRight)
                c = Rgb{255, 255, 255};
            else if (look == ButtonLook::Raised && topLeft)
                c = Rgb{255, 255, 255};
            else if (look == ButtonLook::Raised && bottomRight)
                c = Rgb{130, 130, 130};
        }
    for (const IconLayer& layer : layers) {
        const auto coverage = Coverage(width, height, [&](CPath& p) { layer.shape(p); });
        for (int y = 0; y < height; ++y)
            for (int x = 0; x + shiftX < width; ++x) {
                const int a = coverage[static_cast<size_t>(y) * width + x];
                if (a == 0 || x + shiftX < 0)
                    continue;
                Rgb& c = colour[static_cast<size_t>(y) * width + x + shiftX];
                c = Mix(c, layer.colour, a / 255.0);
            }
    }
    return Save(folder, id, width, height, [&](int x, int y) { return colour[static_cast<size_t>(y) * width + x]; });
}

bool ToolsBarButtons(const std::filesystem::path& folder)
{
    struct Button
    {
        int tool;
        unsigned normal, selected;
    };
    const Button buttons[] = {{1, 166, 164},  {2, 162, 196},  {3, 131, 172},  {5, 220, 221},  {6, 139, 493},
                              {7, 200, 198},  {11, 188, 186}, {12, 563, 564}, {13, 135, 566}, {14, 136, 568},
                              {15, 137, 562}, {16, 618, 621}, {17, 651, 652}};
    bool made = true;
    for (const Button& b : buttons) {
        const std::vector<IconLayer> glyph = ToolGlyph(b.tool);
        made = ButtonPicture(folder, b.normal, kToolButtonWidth, kToolButtonHeight, ButtonLook::Flat, glyph) && made;
        made =
            ButtonPicture(folder, b.selected, kToolButtonWidth, kToolButtonHeight, ButtonLook::Sunken, glyph) && made;
    }
    struct Shape
    {
        int kind;
        unsigned up, down;
    };
    const Shape shapes[] = {{1, 601, 614},  {2, 594, 607},  {3, 591, 605},  {4, 602, 615},
                            {5, 600, 613},  {6, 597, 610},  {7, 596, 609},  {8, 599, 612},
                            {13, 626, 622}, {14, 627, 623}, {15, 628, 624}, {16, 629, 625},
                            {17, 637, 633}, {18, 635, 631}, {19, 636, 632}, {20, 634, 630}};
    for (const Shape& s : shapes) {
        const std::vector<IconLayer> glyph = ShapeGlyph(s.kind);
        made = ButtonPicture(folder, s.up, kShapeButtonSize, kShapeButtonSize, ButtonLook::Raised, glyph) && made;
        // Pressed, the shape moves a pixel right, as a pushed button's face does.
        made = ButtonPicture(folder, s.down, kShapeButtonSize, kShapeButtonSize, ButtonLook::Sunken, glyph, 1) && made;
    }
    return made;
}

// The Styles palette's textures: thirty tiles that repeat without a seam, each a pattern drawn in a palette of
// colours, saved as JPEG pictures beside the program, and each style's two 32 x 32 previews (a square of its texture
// with a hint of its shadow, bevel or glow, and a greyed copy for a selection that cannot take a style).
constexpr int kTextureSize = 128;

// Value noise that repeats every `period` cells across the tile, smoothly interpolated.
double Lattice(int x, int y, int period, unsigned seed)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double Noise(double x, double y, int period, unsigned seed)
{
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = Lattice(x0, y0, period, seed) * (1 - sx) + Lattice(x0 + 1, y0, period, seed) * sx;
    const double bottom = Lattice(x0, y0 + 1, period, seed) * (1 - sx) + Lattice(x0 + 1, y0 + 1, period, seed) * sx;
    return top * (1 - sy) + bottom * sy;
}

// Octaves of noise over the tile, 0 to 1; the coarsest has `cells` cells across the tile.
double Turbulence(int x, int y, int cells, int octaves, unsigned seed)
{
    double sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o, cells *= 2, amplitude *= 0.5) {
        sum += amplitude * Noise(x * cells / double(kTextureSize), y * cells / double(kTextureSize), cells, seed + o);
        weight += amplitude;
    }
    return sum / weight;
}

enum class Pattern
{
    clouds,
    marble,
    wood,
    bricks,
    weave,
    granite,
    ripples,
    canvas,
};

struct TextureLook
{
    Pattern pattern;
    Rgb dark, light;
    unsigned seed;
};

// The tone (0 dark to 1 light) of a pattern at a pixel of the tile.
double PatternTone(Pattern pattern, int x, int y, unsigned seed)
{
    const double pi = 3.14159265358979;
    const double t = Turbulence(x, y, 4, 5, seed);
    switch (pattern) {
    case Pattern::clouds:
        return t;
    case Pattern::marble:
        return 0.5 + 0.5 * std::sin(2 * pi * (2.0 * (x + y) / kTextureSize + 2.5 * t));
    case Pattern::wood: {
        // Rings across the tile, pulled out of line by the noise.
        const double rings = 6.0 * y / kTextureSize + 1.8 * t;
        return 0.35 + 0.65 * (rings - std::floor(rings));
    }
    case Pattern::bricks: {
        const int row = y / 16, mortarY = y % 16 == 0;
        const int shifted = (x + (row % 2) * 16) % 32;
        const bool mortar = mortarY || shifted == 0;
        return mortar ? 0.95 : 0.15 + 0.5 * t;
    }
    case Pattern::weave: {
        const int cellX = x / 8, cellY = y / 8;
        const bool across = (cellX + cellY) % 2 == 0;
        const int within = across ? y % 8 : x % 8;
        return 0.2 + 0.6 * std::sin(pi * (within + 0.5) / 8) + 0.2 * t;
    }
    case Pattern::granite: {
        const double grain = Lattice(x, y, kTextureSize, seed + 7);
        return grain > 0.93 ? 1.0 : grain < 0.07 ? 0.0 : 0.25 + 0.5 * t;
    }
    case Pattern::ripples:
        return 0.5 + 0.5 * std::sin(2 * pi * (8.0 * y / kTextureSize + 3.0 * t));
    case Pattern::canvas:
        return 0.45 + 0.25 * ((x + y) % 2) + 0.3 * Turbulence(x, y, 16, 3, seed);
    }
    return t;
}

const TextureLook kTextureLooks[] = {
    {Pattern::clouds, {40, 80, 160}, {200, 225, 255}, 1},    {Pattern::marble, {90, 90, 100}, {240, 240, 235}, 2},
    {Pattern::wood, {110, 60, 25}, {205, 150, 90}, 3},       {Pattern::granite, {70, 70, 70}, {190, 185, 180}, 4},
    {Pattern::ripples, {20, 90, 120}, {120, 210, 220}, 5},   {Pattern::bricks, {130, 40, 30}, {220, 210, 200}, 6},
    {Pattern::marble, {20, 70, 40}, {170, 220, 180}, 7},     {Pattern::weave, {40, 40, 110}, {170, 170, 230}, 8},
    {Pattern::clouds, {150, 40, 20}, {255, 200, 80}, 9},     {Pattern::canvas, {150, 135, 105}, {240, 230, 205}, 10},
    {Pattern::wood, {60, 35, 20}, {150, 100, 60}, 11},       {Pattern::ripples, {80, 20, 90}, {220, 160, 230}, 12},
    {Pattern::granite, {90, 50, 45}, {215, 170, 150}, 13},   {Pattern::marble, {20, 20, 25}, {120, 120, 135}, 14},
    {Pattern::weave, {120, 80, 20}, {240, 200, 120}, 15},    {Pattern::clouds, {30, 100, 40}, {190, 240, 150}, 16},
    {Pattern::bricks, {80, 80, 90}, {200, 200, 205}, 17},    {Pattern::canvas, {60, 90, 130}, {200, 215, 235}, 18},
    {Pattern::ripples, {140, 110, 20}, {250, 230, 140}, 19}, {Pattern::wood, {140, 110, 80}, {235, 215, 180}, 20},
    {Pattern::marble, {120, 30, 40}, {245, 200, 200}, 21},   {Pattern::granite, {30, 60, 70}, {150, 190, 195}, 22},
    {Pattern::clouds, {60, 60, 60}, {235, 235, 235}, 23},    {Pattern::weave, {20, 90, 80}, {150, 220, 200}, 24},
    {Pattern::canvas, {130, 60, 90}, {240, 200, 215}, 25},   {Pattern::bricks, {150, 90, 40}, {240, 220, 180}, 26},
    {Pattern::ripples, {10, 30, 70}, {90, 140, 220}, 27},    {Pattern::marble, {150, 110, 40}, {250, 235, 190}, 28},
    {Pattern::clouds, {90, 20, 120}, {255, 170, 210}, 29},   {Pattern::granite, {20, 20, 20}, {130, 130, 130}, 30},
};

std::vector<Rgb> Texture(const TextureLook& look)
{
    std::vector<Rgb> pixels(static_cast<size_t>(kTextureSize) * kTextureSize);
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            const double tone = std::clamp(PatternTone(look.pattern, x, y, look.seed), 0.0, 1.0);
            pixels[static_cast<size_t>(y) * kTextureSize + x] = Mix(look.dark, look.light, tone);
        }
    return pixels;
}

// The effects a style's preview hints at (a sunk bevel is lit from the other side).
struct PreviewEffects
{
    bool shadow, bevel, sunk, glow;
};

constexpr unsigned kStylePreviews[][2] = {
    {329, 423}, {330, 425}, {333, 427}, {334, 428}, {335, 429}, {336, 430}, {337, 431}, {338, 433},
    {339, 437}, {344, 438}, {346, 439}, {347, 440}, {349, 441}, {366, 442}, {364, 443}, {367, 444},
    {368, 445}, {365, 446}, {700, 712}, {701, 713}, {702, 714}, {703, 715}, {704, 716}, {705, 717},
    {706, 718}, {707, 719}, {708, 720}, {709, 721}, {710, 722}, {711, 723},
};

// The effects each style switches on, in style order, for its preview.
constexpr PreviewEffects kStyleEffects[] = {
    {true, false, false, false}, {false, true, false, false}, {false, true, false, false}, {true, false, false, false},
    {false, true, false, false}, {false, false, false, true}, {false, true, false, false}, {false, false, false, true},
    {false, false, false, true}, {false, true, false, false}, {false, true, false, true},  {true, false, false, false},
    {true, false, false, false}, {false, true, true, false},  {false, false, false, true}, {false, true, false, false},
    {true, false, false, false}, {true, false, false, false}, {false, false, false, true}, {false, false, false, true},
    {false, true, false, false}, {false, true, false, true},  {false, false, false, true}, {true, false, false, false},
    {false, true, true, false},  {false, false, false, true}, {false, true, false, false}, {false, true, false, true},
    {true, false, false, false}, {false, true, false, false},
};

bool StylePreviews(const std::filesystem::path& folder, int style, const std::vector<Rgb>& texture)
{
    constexpr int kSize = 32, kLeft = 5, kTop = 5, kSide = 21;
    const PreviewEffects effects = kStyleEffects[style - 1];
    const Rgb face{236, 236, 236};
    auto colour = [&](int x, int y) {
        const bool inside = x >= kLeft && x < kLeft + kSide && y >= kTop && y < kTop + kSide;
        if (!inside) {
            Rgb c = face;
            // A glow around the square, fading out over three pixels.
            const int dx = std::max({kLeft - x, x - (kLeft + kSide - 1), 0});
            const int dy = std::max({kTop - y, y - (kTop + kSide - 1), 0});
            const double distance = std::sqrt(double(dx * dx + dy * dy));
            if (effects.glow && distance <= 4)
                c = Mix(Rgb{30, 30, 30}, c, distance / 4.0);
            // A shadow down and to the right.
            const bool shade = x >= kLeft + 3 && x < kLeft + kSide + 3 && y >= kTop + 3 && y < kTop + kSide + 3;
            if (effects.shadow && shade)
                c = Mix(c, Rgb{0, 0, 0}, 0.45);
            return c;
        }
        // The texture's tile shrunk into the square.
        const int u = (x - kLeft) * kTextureSize / kSide, v = (y - kTop) * kTextureSize / kSide;
        Rgb c = texture[static_cast<size_t>(v) * kTextureSize + u];
        if (effects.bevel) {
            const int edge = std::min({x - kLeft, y - kTop, kLeft + kSide - 1 - x, kTop + kSide - 1 - y});
            if (edge < 3) {
                const bool lit = (x - kLeft) + (y - kTop) < kSide - 1;
                const bool light = lit != effects.sunk;
                c = Mix(c, light ? Rgb{255, 255, 255} : Rgb{0, 0, 0}, 0.55 - 0.15 * edge);
            }
        }
        return c;
    };
    const unsigned available = kStylePreviews[style - 1][0], unavailable = kStylePreviews[style - 1][1];
    const bool shown = Save(folder, available, kSize, kSize, colour);
    // Greyed: the grey of each pixel, washed out towards the face colour.
    const bool greyed = Save(folder, unavailable, kSize, kSize, [&](int x, int y) {
        const Rgb c = colour(x, y);
        const int grey = (c.r * 30 + c.g * 59 + c.b * 11) / 100;
        return Mix(Rgb{grey, grey, grey}, face, 0.55);
    });
    return shown && greyed;
}

bool StyleTextures(const std::filesystem::path& bitmaps, const std::filesystem::path& textures)
{
    bool made = true;
    for (int style = 1; style <= 30; ++style) {
        const std::vector<Rgb> texture = Texture(kTextureLooks[style - 1]);
        CImage picture(IMAGE_MODE_RGB, kTextureSize, kTextureSize);
        for (int y = 0; y < kTextureSize; ++y) {
            unsigned char* row = picture.GetData() + static_cast<size_t>(y) * picture.GetStride();
            for (int x = 0; x < kTextureSize; ++x) {
                const Rgb c = texture[static_cast<size_t>(y) * kTextureSize + x];
                row[3 * x] = static_cast<unsigned char>(c.r);
                row[3 * x + 1] = static_cast<unsigned char>(c.g);
                row[3 * x + 2] = static_cast<unsigned char>(c.b);
            }
        }
        const std::filesystem::path file = textures / ("tex" + std::to_string(style) + ".jpg");
        if (!CIO::SaveImage(file.string(), picture, 0, 90)) {
            std::fprintf(stderr, "make_bitmaps: cannot write %s\n", file.c_str());
            made = false;
        }
        made = StylePreviews(bitmaps, style, texture) && made;
    }
    return made;
}

// The design view's cursors, 32 x 32: each shape white with a black outline one pixel wide, on magenta, which the
// program takes as transparent. The program knows each cursor's hot spot.
constexpr int kCursorSize = 32;
using Outline = std::vector<std::pair<double, double>>;

Outline Turned(const Outline& points, double degrees, double cx, double cy)
{
    const double a = degrees * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
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
        const double a = (from + (to - from) * i / steps) * 3.14159265358979323846 / 180.0;
        points.emplace_back(cx + (r + width / 2) * std::cos(a), cy + (r + width / 2) * std::sin(a));
    }
    for (int i = steps; i >= 0; --i) {
        const double a = (from + (to - from) * i / steps) * 3.14159265358979323846 / 180.0;
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
        const double a = i * 2 * 3.14159265358979323846 / 16;
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bitmaps <folder> <textures folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path textures = argv[2];
    for (const std::filesystem::path& made : {folder, textures}) {
        std::error_code error;
        std::filesystem::create_directories(made, error);
        if (error) {
            std::fprintf(stderr, "make_bitmaps: cannot make %s: %s\n", made.c_str(), error.message().c_str());
            return 1;
        }
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
    made = ButtonGlyphs(folder) && made;
    made = IconGlyphs(folder) && made;
    made = FolderTreeIcons(folder) && made;
    made = Handles(folder) && made;
    made = Wells(folder) && made;
    made = ToolbarStrips(folder) && made;
    made = ToolsBarButtons(folder) && made;
    made = ViewCursors(folder) && made;
    made = AnimatedGifMarker(folder) && made;
    made = StyleTextures(folder, textures) && made;
    return made ? 0 : 1;
}
