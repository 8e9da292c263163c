#include "image/color_convert.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace detail {
namespace {

// ---- Tables, all built by the compiler ----

// Luma weights of the grey modes, in 256ths: 77 R + 151 G + 28 B.
struct GreyWeightTables
{
    int red[256];
    int green[256];
    int blue[256];
};

constexpr GreyWeightTables MakeGreyWeights()
{
    GreyWeightTables t{};
    for (int v = 0; v < 256; ++v) {
        t.red[v] = 77 * v;
        t.green[v] = 151 * v;
        t.blue[v] = 28 * v;
    }
    return t;
}

constexpr GreyWeightTables kGreyWeights = MakeGreyWeights();

// Hue runs from 0 to 383 (six sectors of 64); a byte holds it scaled by 2/3.
// Obvious form: floor(2h / 3 + 0.5), here in integers as (4h + 3) / 6.
struct HueToByteTable
{
    uint8_t value[384];
};

constexpr HueToByteTable MakeHueToByte()
{
    HueToByteTable t{};
    for (int h = 0; h < 384; ++h)
        t.value[h] = static_cast<uint8_t>((4 * h + 3) / 6);
    return t;
}

constexpr HueToByteTable kHueToByte = MakeHueToByte();

// Obvious form: floor(1.5b + 0.5), here (3b + 1) / 2.
struct ByteToHueTable
{
    int value[256];
};

constexpr ByteToHueTable MakeByteToHue()
{
    ByteToHueTable t{};
    for (int b = 0; b < 256; ++b)
        t.value[b] = (3 * b + 1) / 2;
    return t;
}

constexpr ByteToHueTable kByteToHue = MakeByteToHue();

// Full-range JFIF coefficients in 16.16 fixed point. The rounding terms ride on the blue tables; the red-to-Cr
// product equals the blue-to-Cb product, so one table serves both.
struct RgbToYccTables
{
    int redY[256];
    int greenY[256];
    int blueY[256];
    int redCb[256];
    int greenCb[256];
    int blueCbRedCr[256];
    int greenCr[256];
    int blueCr[256];
};

constexpr int kYRounding = 32768;
constexpr int kChromaOffset = 128 * 65536 + 32767;

constexpr RgbToYccTables MakeRgbToYcc()
{
    RgbToYccTables t{};
    for (int v = 0; v < 256; ++v) {
        t.redY[v] = 19595 * v;
        t.greenY[v] = 38470 * v;
        t.blueY[v] = 7471 * v + kYRounding;
        t.redCb[v] = -11059 * v;
        t.greenCb[v] = -21709 * v;
        t.blueCbRedCr[v] = 32768 * v + kChromaOffset;
        t.greenCr[v] = -27439 * v;
        t.blueCr[v] = -5329 * v;
    }
    return t;
}

constexpr RgbToYccTables kRgbToYcc = MakeRgbToYcc();

// The chroma terms of the inverse, indexed by the stored Cb or Cr byte (centred on 128). The green terms stay
// unshifted so that both are summed before the single shift.
struct YccToRgbTables
{
    int crToRed[256];
    int cbToBlue[256];
    int crToGreen[256];
    int cbToGreen[256];
};

constexpr YccToRgbTables MakeYccToRgb()
{
    YccToRgbTables t{};
    for (int i = 0; i < 256; ++i) {
        const int c = i - 128;
        t.crToRed[i] = (91881 * c + 32768) >> 16;
        t.cbToBlue[i] = (116130 * c + 32768) >> 16;
        t.crToGreen[i] = -46802 * c;
        t.cbToGreen[i] = -22554 * c + 32768;
    }
    return t;
}

constexpr YccToRgbTables kYccToRgb = MakeYccToRgb();

// ---- Per-pixel arithmetic on 8-bit samples. Inputs are read before outputs are written, so in may equal out. ----

inline uint8_t ClampToByte(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// Hue of a colour with d = max - min > 0, in 0..383.
inline int HueOf(int r, int g, int b, int max, int d)
{
    int hue;
    if (r == max)
        hue = 64 * (g - b) / d;
    else if (g == max)
        hue = 64 * (b - r) / d + 128;
    else
        hue = 64 * (r - g) / d + 256;
    if (hue < 0)
        hue += 384;
    else if (hue >= 384)
        hue -= 384;
    return hue;
}

void RgbToRgb(const uint8_t* in, uint8_t* out)
{
    const uint8_t r = in[0], g = in[1], b = in[2];
    out[0] = r;
    out[1] = g;
    out[2] = b;
}

// Bytes hue, lightness, saturation.
void RgbToHls(const uint8_t* in, uint8_t* out)
{
    const int r = in[0], g = in[1], b = in[2];
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const int l = (max + min) / 2;
    int s = 0;
    int hue = 0;
    if (max != min) {
        const int d = max - min;
        s = l <= 128 ? 255 * d / (max + min) : 255 * d / (510 - max - min);
        if (s != 0)
            hue = HueOf(r, g, b, max, d);
    }
    out[0] = kHueToByte.value[hue];
    out[1] = static_cast<uint8_t>(l);
    out[2] = static_cast<uint8_t>(s);
}

void HlsToRgb(const uint8_t* in, uint8_t* out)
{
    const int h = kByteToHue.value[in[0]];
    const int l = in[1];
    const int s = in[2];
    if (s == 0) {
        out[0] = out[1] = out[2] = static_cast<uint8_t>(l);
        return;
    }
    // At lightness 128 and full saturation m2 reaches 256; clamping keeps that brightest colour from wrapping
    // to black (and its 16-bit form from overflowing).
    const int m2 = l <= 128 ? (s + 255) * l / 255 : l + s - s * l / 255;
    const int m1 = 2 * l - m2;
    const int delta = m2 - m1;
    int r, g, b;
    switch (h / 64) {
    case 0:
        r = m2, g = m1 + delta * h / 64, b = m1;
        break;
    case 1:
        r = m1 + delta * (128 - h) / 64, g = m2, b = m1;
        break;
    case 2:
        r = m1, g = m2, b = m1 + delta * (h - 128) / 64;
        break;
    case 3:
        r = m1, g = m1 + delta * (256 - h) / 64, b = m2;
        break;
    case 4:
        r = m1 + delta * (h - 256) / 64, g = m1, b = m2;
        break;
    default:
        r = m2, g = m1, b = m1 + delta * (384 - h) / 64;
        break;
    }
    out[0] = ClampToByte(r);
    out[1] = ClampToByte(g);
    out[2] = ClampToByte(b);
}

// Bytes hue, saturation, value.
void RgbToHsv(const uint8_t* in, uint8_t* out)
{
    const int r = in[0], g = in[1], b = in[2];
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    int s = 0;
    int hue = 0;
    if (max != 0) {
        const int d = max - min;
        s = 255 * d / max;
        if (s != 0)
            hue = HueOf(r, g, b, max, d);
    }
    out[0] = kHueToByte.value[hue];
    out[1] = static_cast<uint8_t>(s);
    out[2] = static_cast<uint8_t>(max);
}

void HsvToRgb(const uint8_t* in, uint8_t* out)
{
    const int h = kByteToHue.value[in[0]];
    const int s = in[1];
    const int v = in[2];
    if (s == 0) {
        out[0] = out[1] = out[2] = static_cast<uint8_t>(v);
        return;
    }
    const int sector = h / 64;
    const int f = h - 64 * sector;
    // With S in 255ths and f in 64ths: q = V(1 - S f), t = V(1 - S(1 - f)), scaled by 255 * 64 = 16320 and
    // truncated like p. Truncation makes t equal p and q equal V at f = 0, so colours whose hue sits on a sector
    // boundary (red, green, cyan, magenta, and any shade of them) come back exactly from RGB to HSV to RGB.
    constexpr int kScale = 255 * 64;
    const int p = (255 - s) * v / 255;
    const int q = v * (kScale - s * f) / kScale;
    const int t = v * (kScale - s * (64 - f)) / kScale;
    int r, g, b;
    switch (sector) {
    case 0:
        r = v, g = t, b = p;
        break;
    case 1:
        r = q, g = v, b = p;
        break;
    case 2:
        r = p, g = v, b = t;
        break;
    case 3:
        r = p, g = q, b = v;
        break;
    case 4:
        r = t, g = p, b = v;
        break;
    default:
        r = v, g = p, b = q;
        break;
    }
    out[0] = static_cast<uint8_t>(r);
    out[1] = static_cast<uint8_t>(g);
    out[2] = static_cast<uint8_t>(b);
}

// Bytes Y, Cb, Cr. The sums stay non-negative and below 2^24, so every result lies in 0..255.
void RgbToYcc(const uint8_t* in, uint8_t* out)
{
    const int r = in[0], g = in[1], b = in[2];
    const RgbToYccTables& t = kRgbToYcc;
    const int y = (t.redY[r] + t.greenY[g] + t.blueY[b]) >> 16;
    const int cb = (t.redCb[r] + t.greenCb[g] + t.blueCbRedCr[b]) >> 16;
    const int cr = (t.blueCbRedCr[r] + t.greenCr[g] + t.blueCr[b]) >> 16;
    out[0] = static_cast<uint8_t>(y);
    out[1] = static_cast<uint8_t>(cb);
    out[2] = static_cast<uint8_t>(cr);
}

// Clamped rather than wrapped: a bright luma with strong chroma overshoots 255 (and a dark one drops below 0),
// and keeping only the low bits would turn the brightest reds and blues dark.
void YccToRgb(const uint8_t* in, uint8_t* out)
{
    const int y = in[0], cb = in[1], cr = in[2];
    const YccToRgbTables& t = kYccToRgb;
    out[0] = ClampToByte(y + t.crToRed[cr]);
    out[1] = ClampToByte(y + ((t.cbToGreen[cb] + t.crToGreen[cr]) >> 16));
    out[2] = ClampToByte(y + t.cbToBlue[cb]);
}

// ---- Sample access and the row loop ----

inline uint16_t Load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store16(uint8_t* p, uint16_t v)
{
    std::memcpy(p, &v, sizeof v);
}

// The common 16-bit form of a single colour is little-endian whatever the host.
inline int LoadLe16(const uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

inline void StoreLe16(uint8_t* p, int v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// Calls f(source pixel, destination pixel) for every pixel; sample sizes in bytes turn pixel steps into bytes.
template <int SrcSampleBytes, int DstSampleBytes, class F>
void ForEachPixel(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep, int dstRowStep,
                  int pixelsPerRow, int rows, F f)
{
    if (pixelsPerRow <= 0 || rows <= 0)
        return;
    const ptrdiff_t srcStep = static_cast<ptrdiff_t>(srcPixelStep) * SrcSampleBytes;
    const ptrdiff_t dstStep = static_cast<ptrdiff_t>(dstPixelStep) * DstSampleBytes;
    for (int y = 0; y < rows; ++y) {
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * srcRowStep;
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dstRowStep;
        for (int x = 0; x < pixelsPerRow; ++x)
            f(s + x * srcStep, d + x * dstStep);
    }
}

// ---- The converters ----

using PixelFunction = void (*)(const uint8_t* in, uint8_t* out);

// Modes whose pixel is three 8-bit samples: RGB, HLS, HSV and YCbCr.
template <PixelFunction ToRgb, PixelFunction FromRgb> class ThreeByteConverter : public ColorConverter
{
public:
    void RowToCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                     int dstRowStep, int pixelsPerRow, int rows) const override
    {
        if (IsCopy() && src == dst && srcPixelStep == dstPixelStep && srcRowStep == dstRowStep)
            return;
        ForEachPixel<1, 1>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows, ToRgb);
    }

    void PixelToCommon(uint8_t* color) const override
    {
        uint8_t rgb[3];
        ToRgb(color, rgb);
        for (int i = 0; i < 3; ++i)
            StoreLe16(color + 2 * i, rgb[i] * 257);
    }

    void RowFromCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                       int dstRowStep, int pixelsPerRow, int rows) const override
    {
        if (IsCopy() && src == dst && srcPixelStep == dstPixelStep && srcRowStep == dstRowStep)
            return;
        ForEachPixel<1, 1>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows, FromRgb);
    }

    void PixelFromCommon(uint8_t* color) const override
    {
        const uint8_t rgb[3] = {color[1], color[3], color[5]};
        FromRgb(rgb, color);
    }

private:
    static constexpr bool IsCopy() { return ToRgb == &RgbToRgb && FromRgb == &RgbToRgb; }
};

using RgbConverter = ThreeByteConverter<&RgbToRgb, &RgbToRgb>;
using HlsConverter = ThreeByteConverter<&HlsToRgb, &RgbToHls>;
using HsvConverter = ThreeByteConverter<&HsvToRgb, &RgbToHsv>;
using YccConverter = ThreeByteConverter<&YccToRgb, &RgbToYcc>;

// Mode 1: one 8-bit grey sample.
class GreyConverter : public ColorConverter
{
public:
    void RowToCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                     int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<1, 1>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
                           [](const uint8_t* s, uint8_t* d) { d[0] = d[1] = d[2] = s[0]; });
    }

    void PixelToCommon(uint8_t* color) const override
    {
        const int g = color[0] * 257;
        for (int i = 0; i < 3; ++i)
            StoreLe16(color + 2 * i, g);
    }

    void RowFromCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                       int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<1, 1>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
                           [](const uint8_t* s, uint8_t* d) {
                               const GreyWeightTables& w = kGreyWeights;
                               d[0] = static_cast<uint8_t>((w.red[s[0]] + w.green[s[1]] + w.blue[s[2]]) / 256);
                           });
    }

    void PixelFromCommon(uint8_t* color) const override
    {
        const int sum = 77 * LoadLe16(color) + 151 * LoadLe16(color + 2) + 28 * LoadLe16(color + 4);
        color[0] = static_cast<uint8_t>(sum >> 16);
    }
};

// Mode 10: one 16-bit grey sample.
class Grey16Converter : public ColorConverter
{
public:
    void RowToCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                     int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<2, 1>(
            src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
            [](const uint8_t* s, uint8_t* d) { d[0] = d[1] = d[2] = static_cast<uint8_t>(Load16(s) >> 8); });
    }

    void PixelToCommon(uint8_t* color) const override
    {
        const int g = LoadLe16(color);
        for (int i = 1; i < 3; ++i)
            StoreLe16(color + 2 * i, g);
    }

    void RowFromCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                       int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<1, 2>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
                           [](const uint8_t* s, uint8_t* d) {
                               const GreyWeightTables& w = kGreyWeights;
                               Store16(d, static_cast<uint16_t>(w.red[s[0]] + w.green[s[1]] + w.blue[s[2]]));
                           });
    }

    void PixelFromCommon(uint8_t* color) const override
    {
        const int sum = 77 * LoadLe16(color) + 151 * LoadLe16(color + 2) + 28 * LoadLe16(color + 4);
        StoreLe16(color, sum >> 8);
    }
};

// Every other mode: its samples are taken as 16-bit RGB as they stand.
class PassThroughConverter : public ColorConverter
{
public:
    void RowToCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                     int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<2, 1>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
                           [](const uint8_t* s, uint8_t* d) {
                               for (int i = 0; i < 3; ++i)
                                   d[i] = static_cast<uint8_t>(Load16(s + 2 * i) >> 8);
                           });
    }

    void PixelToCommon(uint8_t*) const override {}

    void RowFromCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                       int dstRowStep, int pixelsPerRow, int rows) const override
    {
        ForEachPixel<1, 2>(src, srcPixelStep, srcRowStep, dst, dstPixelStep, dstRowStep, pixelsPerRow, rows,
                           [](const uint8_t* s, uint8_t* d) {
                               const uint8_t rgb[3] = {s[0], s[1], s[2]};
                               for (int i = 0; i < 3; ++i)
                                   Store16(d + 2 * i, static_cast<uint16_t>(rgb[i] * 257));
                           });
    }

    void PixelFromCommon(uint8_t*) const override {}
};

} // namespace

const ColorConverter& GetConverter(IMAGE_MODE mode)
{
    switch (static_cast<uint32_t>(mode)) {
    case IMAGE_MODE_GREY: {
        static const GreyConverter converter;
        return converter;
    }
    case IMAGE_MODE_RGB: {
        static const RgbConverter converter;
        return converter;
    }
    case IMAGE_MODE_HLS: {
        static const HlsConverter converter;
        return converter;
    }
    case IMAGE_MODE_HSV: {
        static const HsvConverter converter;
        return converter;
    }
    case IMAGE_MODE_GREY16: {
        static const Grey16Converter converter;
        return converter;
    }
    case IMAGE_MODE_YCBCR: {
        static const YccConverter converter;
        return converter;
    }
    default: {
        static const PassThroughConverter converter;
        return converter;
    }
    }
}

} // namespace detail
