// Drawing a page of text with one font: 25 lines of 80 characters of 12-point Arial into a coverage plane and into
// an RGB pixel map, each glyph's coverage kept from its first drawing. The peer draws the same lines with nothing
// kept, every glyph rendered afresh, as drawing once did.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "image/image.h"
#include "platform/text/font.h"

namespace {

constexpr int kLines = 25;
constexpr int kColumns = 80;

std::string LineText(int line)
{
    const std::string words = "the quick brown fox jumps over the lazy dog THE QUICK BROWN FOX 0123456789 ";
    std::string text;
    for (int i = 0; i < kColumns; ++i)
        text.push_back(words[(i + line * 7) % words.size()]);
    return text;
}

void DrawPage(benchmark::State& state, bool keepGlyphs, bool rgb)
{
    LOGFONT lf;
    lf.lfFaceName = "Arial";
    lf.lfHeight = -16;
    auto font = GetTextFont(lf);
    std::vector<std::string> lines;
    for (int i = 0; i < kLines; ++i)
        lines.push_back(LineText(i));
    const int width = font->GetTextExtent(lines[0]).cx + 8;
    const int lineHeight = font->GetTextMetrics().tmHeight;
    const int height = kLines * lineHeight + 8;
    std::vector<unsigned char> plane(static_cast<size_t>(width) * height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    const size_t previous = SetGlyphCacheLimit(keepGlyphs ? (size_t(32) << 20) : 0);
    for (auto _ : state) {
        for (int i = 0; i < kLines; ++i) {
            if (rgb)
                font->DrawString(map, 4, 4 + i * lineHeight, lines[i], RGB(20, 40, 200));
            else
                font->DrawString(CoverageBuffer{plane.data(), width, width, height}, 4, 4 + i * lineHeight, lines[i]);
        }
        benchmark::DoNotOptimize(plane.data());
        benchmark::DoNotOptimize(map.plane[0].data);
    }
    SetGlyphCacheLimit(previous);
    state.counters["per_char"] = benchmark::Counter(static_cast<double>(state.iterations()) * kLines * kColumns,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The peers are the RenderingEachGlyph runs.
BENCHMARK_CAPTURE(DrawPage, Coverage, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawPage, CoverageRenderingEachGlyph, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawPage, Rgb, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawPage, RgbRenderingEachGlyph, false, true)->Unit(benchmark::kMicrosecond);

} // namespace
