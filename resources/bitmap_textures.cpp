#include "bitmap_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/io/io.h"

namespace bitmaps {

namespace {

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

} // namespace

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

} // namespace bitmaps
