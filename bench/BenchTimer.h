#pragma once

#include <functional>

// Times `subject` and `reference` in alternation, `runs` times each, and
// keeps the best time of each in seconds: the runs least disturbed by the
// rest of the machine, which both see alike.
struct BestTimes
{
    double subject;
    double reference;
};
BestTimes CompareBest(int runs, const std::function<void()>& subject, const std::function<void()>& reference);

// Seconds of one call of `work`.
double Seconds(const std::function<void()>& work);

// Prints one line: both throughputs in MB/s and their ratio.
void PrintRatio(const char* what, double bytes, const BestTimes& times);
