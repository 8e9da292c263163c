// Repairing addresses that hold long runs of what the repair cuts one at a time: colons before a name, misspelt
// schemes, and hosts whose port is a host and port again. Each reports its time per cut character beside a scan of
// the same bytes for colons (what any repair must at least look at).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "app/build/url_scheme.h"

namespace {

std::string Address(int kind, size_t n)
{
    std::string text;
    switch (kind) {
    case 0:
        text = std::string(n, ':') + "name";
        break;
    case 1:
        while (text.size() < n)
            text += "htp:/";
        text += "www.a.com/";
        break;
    default:
        while (text.size() < n)
            text += "a:1";
        break;
    }
    return text;
}

void PerCharacter(benchmark::State& state, size_t n)
{
    state.counters["per_char"] = benchmark::Counter(static_cast<double>(n),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_FixUrl(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(1));
    const std::string typed = Address(static_cast<int>(state.range(0)), n);
    for (auto _ : state) {
        std::string url = typed;
        FixUrl(url);
        benchmark::DoNotOptimize(url.data());
    }
    PerCharacter(state, n);
}
BENCHMARK(BM_FixUrl)
    ->ArgNames({"kind", "n"})
    ->ArgsProduct({{0, 1, 2}, {1000, 10000, 100000}})
    ->Unit(benchmark::kMicrosecond);

void BM_ScanForColons(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    const std::string typed = Address(0, n);
    for (auto _ : state) {
        std::string url = typed;
        benchmark::DoNotOptimize(std::count(url.begin(), url.end(), ':'));
    }
    PerCharacter(state, n);
}
BENCHMARK(BM_ScanForColons)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
