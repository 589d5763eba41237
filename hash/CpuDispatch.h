#pragma once
// Run-time choice between the accelerated kernels (carry-less multiply for
// CRC-32, the SHA instructions for SHA-1 and SHA-256) and the portable ones.

namespace korvala {

bool cpuHasCarrylessMultiply();
// Carry-less multiply on 512-bit registers (VPCLMULQDQ with AVX-512).
bool cpuHasWideCarrylessMultiply();
bool cpuHasShaInstructions();

// When set, every digest uses its portable kernel even where the processor
// offers a faster one. Starts set when the environment variable
// KORVALA_HASH_PORTABLE is "1", so tests and benchmarks can compare both paths.
void setPortableDigestsOnly(bool portableOnly);
bool portableDigestsOnly();

// What the kernels use now, after the processor check and the switch above.
bool useCarrylessMultiply();
bool useWideCarrylessMultiply();
bool useShaInstructions();

}  // namespace korvala
