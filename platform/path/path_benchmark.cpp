#include "platform/path/path.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/path/path_test_support.h"

namespace {

constexpr int kSize = 256;
constexpr int kPitch = kSize * 4;

void Ellipse(CPath& path)
{
    const double c = kSize / 2.0;
    AddEllipse(path, c, c, c, c);
}

// Twenty points, outer and inner corners alternating, in one closed outline.
void Star(CPath& path)
{
    const double c = kSize / 2.0;
    for (int i = 0; i < 40; ++i) {
        double r = (i % 2 == 0) ? c : c * 0.45;
        double a = 1.5 * M_PI + i * M_PI / 20;
        double x = c + r * std::cos(a), y = c + r * std::sin(a);
        if (i == 0)
            path.MoveTo(x, y);
        else
            path.LineTo(x, y);
    }
    path.Close();
}

template <void (*Build)(CPath&)> void BM_Rasterize(benchmark::State& state)
{
    CPath path;
    Build(path);
    std::vector<unsigned char> buffer(size_t(kPitch) * kSize);
    const CRect area(0, 0, kSize, kSize);
    const int quality = static_cast<int>(state.range(0));
    for (auto _ : state) {
        bool ok = path.Rasterize(area, buffer.data(), 4, kPitch, FILL_RULE_EVEN_ODD, quality);
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}

// Baseline: clearing the same tile buffer, the least any rasteriser of it must cost.
void BM_MemsetTile(benchmark::State& state)
{
    std::vector<unsigned char> buffer(size_t(kPitch) * kSize);
    for (auto _ : state) {
        std::memset(buffer.data(), 0, buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}

} // namespace

BENCHMARK(BM_MemsetTile);
BENCHMARK(BM_Rasterize<Ellipse>)->Name("BM_RasterizeEllipse")->Arg(2)->Arg(16);
BENCHMARK(BM_Rasterize<Star>)->Name("BM_RasterizeStar20")->Arg(2)->Arg(16);
