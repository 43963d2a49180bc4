// A finding for libFuzzer: a property the fuzzed code must keep does not hold.
#pragma once

#include <cstdlib>

inline void check(bool ok)
{
    if (!ok)
        std::abort();
}
