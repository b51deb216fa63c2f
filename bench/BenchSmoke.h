#pragma once

// The smoke run (QUILLON_BENCH_SMOKE set, as the test suite sets it): every benchmark once, on tiny
// inputs, so one that no longer builds its case or runs fails the suite. The figures come from full runs.
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace BenchSmoke {
inline bool on() {
    static const bool smoke = std::getenv("QUILLON_BENCH_SMOKE") != nullptr;
    return smoke;
}
// An input size: the full one, or the tiny one in a smoke run.
inline long long size(long long full, long long tiny) {
    return on() ? tiny : full;
}
// Applied last to a benchmark: one iteration of one repetition in a smoke run.
inline void once(benchmark::internal::Benchmark* benchmark) {
    if (on())
        benchmark->Iterations(1)->Repetitions(1);
}
} // namespace BenchSmoke
