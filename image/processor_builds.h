#pragma once

#include <vector>

// A routine built more than once, for the instruction sets a processor may have. Callers run the first build
// the processor can run; the tests run each.
template <class Routine> struct ProcessorBuild
{
    const char* name;
    Routine routine;
};

// The builds this processor runs, the fastest first: the AVX-512 build (foundation, byte and word, and vector
// length instructions) when the processor has those, the AVX2 build when it has AVX2, then the baseline build.
// A null routine is a build that was not made.
template <class Routine>
std::vector<ProcessorBuild<Routine>> BuildsThisProcessorRuns(Routine avx512, Routine avx2, Routine baseline)
{
    std::vector<ProcessorBuild<Routine>> builds;
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (avx512 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl"))
        builds.push_back({"avx512", avx512});
    if (avx2 && __builtin_cpu_supports("avx2"))
        builds.push_back({"avx2", avx2});
#endif
    builds.push_back({"baseline", baseline});
    return builds;
}

template <class Routine> std::vector<ProcessorBuild<Routine>> BuildsThisProcessorRuns(Routine avx2, Routine baseline)
{
    return BuildsThisProcessorRuns<Routine>(nullptr, avx2, baseline);
}
