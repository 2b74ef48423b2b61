// Timing and reporting shared by the benchmarks: medians of repeated runs, table rows, ratios.
#include "support/kxBenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

double kxBenchMedian(const std::function<void()>& work, int repeats)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(Seconds(work));
    return Median(times);
}

void kxBenchRow(const std::string& what, double seconds, double bytes)
{
    if (bytes > 0)
        printf("  %-44s %12.3f ms %10.1f MB/s\n", what.c_str(), seconds * 1e3,
               bytes / seconds / 1e6);
    else
        printf("  %-44s %12.3f ms\n", what.c_str(), seconds * 1e3);
}

kxBenchResult kxBenchCompare(const std::string& name, const std::function<void()>& library,
                             const std::function<void()>& peer, double bytes, int repeats)
{
    library();
    peer();
    std::vector<double> libraryTimes, peerTimes;
    for (int i = 0; i < repeats; ++i)
    {
        libraryTimes.push_back(Seconds(library));
        peerTimes.push_back(Seconds(peer));
    }
    const kxBenchResult result{Median(libraryTimes), Median(peerTimes)};
    kxBenchRow(name + " (library)", result.m_library, bytes);
    kxBenchRow(name + " (peer)", result.m_peer, bytes);
    printf("ratio %s %.3f\n", name.c_str(), result.m_library / result.m_peer);
    fflush(stdout);
    return result;
}

void kxBenchKeep(const void* value)
{
    asm volatile("" : : "g"(value) : "memory");
}

std::string kxBenchSharedDir()
{
    return KX_SHARED_DIR;
}
