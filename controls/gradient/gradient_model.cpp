#include "controls/gradient/gradient_model.h"

#include <cstdint>
#include <iterator>

namespace {

struct PredefinedStop
{
    double position;
    unsigned char left[3];
    unsigned char right[3];
};

struct PredefinedGradient
{
    unsigned char start[3];
    unsigned char end[3];
    const PredefinedStop* stops;
    size_t stopCount;
};

const PredefinedStop kBlueBorderStops[] = {
    {0.1, {0, 0, 255}, {255, 255, 255}},
};

// The positions are the decimal constants that stored gradients carry, not exact sixths; equality with a stored
// record depends on them being the same doubles.
const PredefinedStop kRainbowStops[] = {
    {0.1666666, {255, 0, 255}, {255, 0, 255}}, {0.3333333, {0, 0, 255}, {0, 0, 255}},
    {0.5, {0, 255, 255}, {0, 255, 255}},       {0.6666666, {0, 255, 0}, {0, 255, 0}},
    {0.8333333, {255, 255, 0}, {255, 255, 0}},
};

const PredefinedGradient kPredefined[] = {
    {{255, 255, 255}, {0, 0, 0}, nullptr, 0},
    {{0, 0, 0}, {255, 255, 255}, nullptr, 0},
    {{0, 0, 255}, {255, 255, 255}, kBlueBorderStops, std::size(kBlueBorderStops)},
    {{255, 0, 0}, {255, 0, 0}, kRainbowStops, std::size(kRainbowStops)},
};

const char* const kNames[] = {"White to black", "Black to white", "Blue border", "Rainbow", "Custom"};
constexpr int kFirstNameId = 6;

CColor MakeColor(const unsigned char (&rgb)[3])
{
    return CColor(rgb[0], rgb[1], rgb[2]);
}

void PutPixel(unsigned char* rgb, int i, const CColor& c)
{
    const unsigned char* s = c.GetColor();
    rgb[3 * i] = s[0];
    rgb[3 * i + 1] = s[1];
    rgb[3 * i + 2] = s[2];
}

// The pixel a stop falls on in a band whose last pixel is a. Positions outside 0..1 land on the nearest end.
int StopPixel(double position, int a)
{
    if (!(position > 0.0)) // also catches NaN
        return 0;
    if (position >= 1.0)
        return a;
    int k = static_cast<int>(a * position);
    return k < 0 ? 0 : (k > a ? a : k);
}

} // namespace

void CGradientModel::GetPredefinedGradient(GRADIENTCOLORS& g, int n)
{
    if (n < 0 || n >= GetPredefinedNo())
        return;
    const PredefinedGradient& p = kPredefined[n];
    g.RemoveAllStops();
    g.start = MakeColor(p.start);
    g.end = MakeColor(p.end);
    for (size_t i = 0; i < p.stopCount; ++i)
        g.AddStop(p.stops[i].position, MakeColor(p.stops[i].left), MakeColor(p.stops[i].right));
    g.predefined = n;
}

void CGradientModel::BuildColorBand(const GRADIENTCOLORS* g, unsigned char* rgb, int n)
{
    if (g == nullptr || rgb == nullptr || n < 1)
        return;
    const int a = n - 1;
    const size_t stops = g->GetStopCount();

    // Key pixels: those whose colour is fixed by a stop or an end; the pixels between two neighbouring keys are
    // interpolated.
    std::vector<int> keys;
    keys.reserve(2 * stops + 2);
    for (size_t i = 0; i < stops; ++i) {
        int k = StopPixel(g->positions[i], a);
        if (k == 0) {
            PutPixel(rgb, 0, g->rightColors[i]);
            keys.push_back(0);
        } else if (k == a) {
            PutPixel(rgb, a, g->leftColors[i]);
            keys.push_back(a);
        } else {
            PutPixel(rgb, k, g->leftColors[i]);
            PutPixel(rgb, k + 1, g->rightColors[i]);
            keys.push_back(k);
            keys.push_back(k + 1);
        }
    }
    if (keys.empty()) {
        PutPixel(rgb, 0, g->start);
        PutPixel(rgb, a, g->end);
        keys.push_back(0);
        keys.push_back(a);
    } else {
        if (keys.front() > 0) {
            PutPixel(rgb, 0, g->start);
            keys.insert(keys.begin(), 0);
        }
        if (keys.back() < a) {
            PutPixel(rgb, a, g->end);
            keys.push_back(a);
        }
    }

    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        const int p = keys[i];
        const int q = keys[i + 1];
        if (q <= p)
            continue;
        int64_t c0[3], c1[3];
        for (int ch = 0; ch < 3; ++ch) {
            c0[ch] = rgb[3 * p + ch];
            c1[ch] = rgb[3 * q + ch];
        }
        for (int j = p; j < q; ++j)
            for (int ch = 0; ch < 3; ++ch)
                rgb[3 * j + ch] = static_cast<unsigned char>(c0[ch] + (j - p) * (c1[ch] - c0[ch]) / (q - p));
    }
}

bool CGradientModel::IsGradientEqual(const GRADIENTCOLORS& a, const GRADIENTCOLORS& b)
{
    const size_t n = a.GetStopCount();
    if (n != b.GetStopCount())
        return false;
    if (a.start.GetCOLORREF() != b.start.GetCOLORREF() || a.end.GetCOLORREF() != b.end.GetCOLORREF())
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (a.leftColors[i].GetCOLORREF() != b.leftColors[i].GetCOLORREF() ||
            a.rightColors[i].GetCOLORREF() != b.rightColors[i].GetCOLORREF() || a.positions[i] != b.positions[i])
            return false;
    }
    return true;
}

int CGradientModel::GetGradientNameId(int predefined)
{
    if (predefined < 0 || predefined >= GetPredefinedNo())
        predefined = GetPredefinedNo();
    return kFirstNameId + predefined;
}

const char* CGradientModel::GetGradientName(int predefined)
{
    return kNames[GetGradientNameId(predefined) - kFirstNameId];
}
