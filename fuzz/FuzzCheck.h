#pragma once

#include <cstdlib>

// A property every input must keep: a broken one stops the run, so the fuzzer
// keeps the input that broke it.
inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}
