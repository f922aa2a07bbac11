#include "BenchTimer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

double Seconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency{}, start{}, stop{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&stop);
    return static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart;
}

BestTimes CompareBest(int runs, const std::function<void()>& subject, const std::function<void()>& reference)
{
    BestTimes best{1e30, 1e30};
    for (int i = 0; i < runs; i++)
    {
        best.subject = std::min(best.subject, Seconds(subject));
        best.reference = std::min(best.reference, Seconds(reference));
    }
    return best;
}

void PrintRatio(const char* what, double bytes, const BestTimes& times)
{
    const double mb = bytes / (1024.0 * 1024.0);
    printf("%s: %.1f MB/s, reference %.1f MB/s, ratio %.2fx\n", what, mb / times.subject,
           mb / times.reference, times.reference / times.subject);
}
