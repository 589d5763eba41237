#pragma once
// The program's one pseudo-random sequence: a 32-bit linear congruential
// generator (state = state * 134775813 + 1, modulo 2^32) whose bytes are the
// top 8 bits of each new state. It starts from 0 when the program starts and
// is never reseeded, so what it gives depends only on how much was drawn
// before in the same run.

#include <cstddef>
#include <cstdint>

namespace korvala {

// The generator as a value, for code that must know what the program-wide one
// will give from a known state.
struct TLinearCongruential {
    uint32_t state = 0;

    uint8_t nextByte()
    {
        state = state * 134775813u + 1u;
        return static_cast<uint8_t>(state >> 24);
    }
    void fill(unsigned char* bytes, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            bytes[i] = nextByte();
    }
};

// Fills bytes with the next `size` bytes of the program-wide generator. Safe
// from any thread: each fill takes a run of the sequence of its own.
void fillProgramRandom(unsigned char* bytes, size_t size);
// The program-wide generator's state now (it is not changed).
uint32_t programRandomState();

}  // namespace korvala
