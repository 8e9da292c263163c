#include "bitmap_pictures.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace bitmaps {

// The probes of the display depth: three rows of red, green and blue. A display of 16 bits per pixel would hand
// them back as its three colour masks.
bool Probe(const std::filesystem::path& folder, unsigned id)
{
    return Save(folder, id, 3, 3, [](int, int y) {
        const Rgb rows[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
        return rows[y];
    });
}

namespace {

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

} // namespace

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

namespace {

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

} // namespace

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

namespace {

// The form's picture: a grey panel with four entry fields (two lines, two boxes) under dark label bars and two
// buttons at the foot. 506 holds its colours (wider than the form: the columns beyond 223 are not part of it),
// 508 its shape as a grey mask with rounded corners.
constexpr int kFormWidth = 223;
constexpr int kFormHeight = 317;

} // namespace

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

namespace {

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

} // namespace

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

namespace {

// The colour wells at the band's ends: a raised square frame with the colour inside.
constexpr int kWellWidth = 14;
constexpr int kWellHeight = 21;

} // namespace

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

} // namespace bitmaps
