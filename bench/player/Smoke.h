#pragma once

#include <QtGlobal>

// QUILLON_BENCH_SMOKE=1 runs a benchmark once, on a few cases and tiny inputs, so that the test command
// sees that it still runs (bench/player/smoke.sh); its figures come from full runs only.
inline bool benchSmoke() {
    return qEnvironmentVariableIntValue("QUILLON_BENCH_SMOKE") > 0;
}
