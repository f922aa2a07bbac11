// Breaks the one rule named on its command line, for the checked-build test:
// in a checked build each break stops the program at once.
//   checked_build_probe.exe none|assert|index|overflow|shift
#include <cassert>
#include <climits>
#include <cstring>
#include <vector>

namespace
{

// Read at run time, so that the compiler can neither fold the broken
// operations nor warn about them.
volatile int g_operand = 0;

int AddOne(int value)
{
    return value + 1;
}

int ShiftOne(int bits)
{
    return 1 << bits;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const char* rule = argv[1];
    if (strcmp(rule, "none") == 0)
        return 0;
    if (strcmp(rule, "assert") == 0)
    {
        assert(g_operand == 1);
        return 0;
    }
    if (strcmp(rule, "index") == 0)
    {
        const std::vector<int> two(2);
        return two[g_operand + 2];
    }
    if (strcmp(rule, "overflow") == 0)
    {
        g_operand = INT_MAX;
        return AddOne(g_operand);
    }
    if (strcmp(rule, "shift") == 0)
    {
        g_operand = 40;
        return ShiftOne(g_operand);
    }
    return 2;
}
