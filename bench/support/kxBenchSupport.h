// Timing for the benchmarks: the library and its peer run alternately in one process, so both
// see the same machine load, and the medians are compared.
#ifndef KXBENCH_KXBENCHSUPPORT_H
#define KXBENCH_KXBENCHSUPPORT_H

#include <functional>
#include <string>

struct kxBenchResult
{
    double m_library; // median seconds of one run of the library's work
    double m_peer;    // median seconds of one run of the peer's work
};

// Runs library and peer alternately `repeats` times after one warm-up each, prints a table row
// for both (with MB/s when bytes is not 0) and the line `ratio <name> <library/peer>`.
kxBenchResult kxBenchCompare(const std::string& name, const std::function<void()>& library,
                             const std::function<void()>& peer, double bytes = 0, int repeats = 7);

// Median seconds of `repeats` runs of work, after one warm-up.
double kxBenchMedian(const std::function<void()>& work, int repeats = 7);

// Prints one table row: what was measured, its median time and, with bytes, its throughput.
void kxBenchRow(const std::string& what, double seconds, double bytes = 0);

// Keeps the optimiser from discarding a computed value.
void kxBenchKeep(const void* value);

// The shared data folder beside the repository (bench-data lives there).
std::string kxBenchSharedDir();

#endif
