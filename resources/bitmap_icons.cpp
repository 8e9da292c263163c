#include "bitmap_pictures.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace bitmaps {

namespace {

// The main toolbar's pictures: one strip of 32 x 32 icons in the toolbar's button order (New, Open, Save, Add
// Page, Show Page, Test, Send, Help). 147 holds them in colour, 149 greyed for disabled buttons. Cyan (the
// toolbar's mask colour) stands wherever no shape covers; the smoothed edges are mixed over a light grey like the
// bar's, so no cyan fringe shows.
constexpr int kToolIcon = 32;
constexpr int kToolIconCount = 8;

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

} // namespace

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

namespace {

// The tools bar's buttons, 28 x 24, a normal and a selected picture each: the tool's glyph on the bar's face
// (0xE0E0E0, the buttons' mask colour, so the bar shows through), and on the selected one a sunken white face with
// a dark edge above and to the left. The Shapes palette's buttons, 32 x 32, up and down the same way, raised and
// sunken, each with its shape in blue.
constexpr int kToolButtonWidth = 28;
constexpr int kToolButtonHeight = 24;
constexpr int kShapeButtonSize = 32;

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
        // The straight line is a horizontal bar across the whole width.
        shape = [](CPath& p) { Box(p, 5, 14, 27, 18); };
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

} // namespace

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

} // namespace bitmaps
