#include "app/model/gradient_info.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "app/model/record_stream.h"
#include "image/tiles.h"

namespace {

// Left colour, right colour and position of one stop in the stream.
constexpr ULONGLONG kStopBytes = 3 + 3 + 8;

constexpr int kFractionBits = 16;

double CubicKernel(double x)
{
    x = std::fabs(x);
    if (x < 1.0)
        return x * x * x - 2.0 * x * x + 1.0;
    if (x < 2.0)
        return -x * x * x + 5.0 * x * x - 8.0 * x + 4.0;
    return 0.0;
}

double ClampPosition(double position)
{
    if (!(position > 0.0)) // NaN too
        return 0.0;
    return position > 1.0 ? 1.0 : position;
}

// The axis of an angle, exact at the multiples of 90 degrees so that those gradients give identical rows or
// columns.
void AxisOf(int angle, double& c, double& s)
{
    int deg = angle % 360;
    if (deg < 0)
        deg += 360;
    switch (deg) {
    case 0:
        c = 1.0, s = 0.0;
        return;
    case 90:
        c = 0.0, s = 1.0;
        return;
    case 180:
        c = -1.0, s = 0.0;
        return;
    case 270:
        c = 0.0, s = -1.0;
        return;
    default:
        c = std::cos(deg * M_PI / 180.0);
        s = std::sin(deg * M_PI / 180.0);
    }
}

} // namespace

namespace detail {

const CubicWeightTable& GetCubicWeights()
{
    static const CubicWeightTable table = [] {
        CubicWeightTable t{};
        for (int i = 0; i < 256; ++i) {
            const double f = i / 256.0;
            const double distances[4] = {1.0 + f, f, 1.0 - f, 2.0 - f};
            for (int k = 0; k < 4; ++k)
                t[i][k] = static_cast<int>(CubicKernel(distances[k]) * 4096.0);
        }
        return t;
    }();
    return table;
}

} // namespace detail

CGradientInfo::CGradientInfo()
{
    CGradientModel::GetPredefinedGradient(*this, 0);
}

void CGradientInfo::SetGradientColors(const GRADIENTCOLORS& colors)
{
    if (&colors != static_cast<const GRADIENTCOLORS*>(this))
        GRADIENTCOLORS::operator=(colors);
}

bool CGradientInfo::operator==(const CGradientInfo& other) const
{
    return angle == other.angle && CGradientModel::IsGradientEqual(*this, other);
}

void CGradientInfo::Write(CFile& file) const
{
    const size_t n = GetStopCount();
    WriteColor(file, start);
    WriteColor(file, end);
    WriteInt32(file, static_cast<int32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        WriteColor(file, leftColors[i]);
        WriteColor(file, rightColors[i]);
        WriteDouble(file, positions[i]);
    }
    WriteInt32(file, predefined);
    WriteInt32(file, angle);
}

void CGradientInfo::Read(CFile& file, int /*major*/, int /*minor*/)
{
    CColor newStart = ReadColor(file);
    CColor newEnd = ReadColor(file);
    const int32_t count = ReadInt32(file);
    const ULONGLONG length = file.GetLength();
    const ULONGLONG position = file.GetPosition();
    const ULONGLONG remaining = length > position ? length - position : 0;
    if (count < 0 || static_cast<ULONGLONG>(count) * kStopBytes > remaining)
        ThrowBadRecord();

    std::vector<CColor> left(count), right(count);
    std::vector<double> pos(count, 0.0);
    for (int32_t i = 0; i < count; ++i) {
        left[i] = ReadColor(file);
        right[i] = ReadColor(file);
        pos[i] = ClampPosition(ReadDouble(file));
    }
    const int32_t newPredefined = ReadInt32(file);
    const int32_t newAngle = ReadInt32(file);

    start = newStart;
    end = newEnd;
    leftColors = std::move(left);
    rightColors = std::move(right);
    positions = std::move(pos);
    predefined = newPredefined;
    angle = newAngle;
}

bool CGradientInfo::Render(CImage* target) const
{
    if (target == nullptr || !ModesMatchIgnoringAlpha(target->GetMode(), IMAGE_MODE_RGB))
        return false;
    const int w = target->Width();
    const int h = target->Height();
    if (w <= 0 || h <= 0)
        return true; // nothing to paint
    if (target->IsEmpty())
        return false;

    double c, s;
    AxisOf(angle, c, s);

    // The band covers the extent of the image on the axis; two entries at least, so that start and end colour
    // both exist.
    const int64_t length = static_cast<int64_t>(w * std::fabs(c) + h * std::fabs(s));
    const int64_t n = std::max<int64_t>(length, 2);
    std::unique_ptr<unsigned char[]> band(new (std::nothrow) unsigned char[3 * n]);
    if (!band)
        return false;
    CGradientModel::BuildColorBand(this, band.get(), static_cast<int>(n));

    CPixMap map(IMAGE_MODE_RGB, kImageTileSize, kImageTileSize);
    if (!map.IsValid())
        return false;

    // A pixel takes the band at the projection of its centre on the axis, x c - y s. The centres of the corner
    // pixels map to the first and the last entry, so the start colour lands on the start corner and the end
    // colour on the opposite one.
    const double xMin = 0.5, xMax = w - 0.5, yMin = 0.5, yMax = h - 0.5;
    const double p00 = xMin * c - yMin * s, p10 = xMax * c - yMin * s;
    const double p01 = xMin * c - yMax * s, p11 = xMax * c - yMax * s;
    const double pMin = std::min({p00, p10, p01, p11});
    const double pMax = std::max({p00, p10, p01, p11});
    // The corner centres land a little outside the band, on the clamp, so that the rounding of the fixed-point
    // steps cannot pull them off the first or the last entry.
    const double margin = 1.0 / 128.0;
    const double scale = pMax > pMin ? (static_cast<double>(n - 1) + 2.0 * margin) / (pMax - pMin) : 0.0;
    const double offset = pMax > pMin ? -margin : 0.0;
    const double one = static_cast<double>(int64_t(1) << kFractionBits);
    const int64_t stepX = std::llround(c * scale * one);
    const int64_t last = (n - 1) << kFractionBits;

    const detail::CubicWeightTable& weights = detail::GetCubicWeights();
    const unsigned char* b = band.get();
    auto entry = [&](int64_t i) { return b + 3 * std::clamp<int64_t>(i, 0, n - 1); };

    ForEachTile(map, w, h, [&](int tx, int ty) {
        const int tw = map.width, th = map.height;
        for (int j = 0; j < th; ++j) {
            const double y = ty + j + 0.5;
            int64_t fx = std::llround((((tx + 0.5) * c - y * s - pMin) * scale + offset) * one);
            unsigned char* out = map.plane[0].data + static_cast<ptrdiff_t>(j) * map.plane[0].rowStep;
            for (int i = 0; i < tw; ++i, fx += stepX, out += 3) {
                const int64_t at = std::clamp<int64_t>(fx, 0, last);
                const int64_t index = at >> kFractionBits;
                const int row = static_cast<int>((at >> (kFractionBits - 8)) & 0xFF);
                const unsigned char* e1 = entry(index);
                if (row == 0) {
                    out[0] = e1[0];
                    out[1] = e1[1];
                    out[2] = e1[2];
                    continue;
                }
                const unsigned char* e0 = entry(index - 1);
                const unsigned char* e2 = entry(index + 1);
                const unsigned char* e3 = entry(index + 2);
                const std::array<int, 4>& wt = weights[row];
                for (int ch = 0; ch < 3; ++ch) {
                    const int sum = wt[0] * e0[ch] + wt[1] * e1[ch] + wt[2] * e2[ch] + wt[3] * e3[ch];
                    out[ch] = static_cast<unsigned char>(std::clamp(sum >> 12, 0, 255));
                }
            }
        }
        target->SetBuf(tx, ty, map);
        return true;
    });
    return true;
}
