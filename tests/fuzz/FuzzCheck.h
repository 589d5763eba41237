#pragma once
// What every fuzz target shares: a failed property stops the run with the
// property's text, so libFuzzer keeps the input as a crash.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                      \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
