#include "hash/CpuDispatch.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace korvala {

namespace {

bool portableFromEnvironment()
{
    const char* value = std::getenv("KORVALA_HASH_PORTABLE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// Read by every kernel call, written by tests: relaxed atomics are enough since
// both paths give the same result.
std::atomic<bool>& portableFlag()
{
    static std::atomic<bool> flag{portableFromEnvironment()};
    return flag;
}

}  // namespace

bool cpuHasCarrylessMultiply()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return has;
#else
    return false;
#endif
}

bool cpuHasWideCarrylessMultiply()
{
#if defined(__x86_64__)
    static const bool has = cpuHasCarrylessMultiply() && __builtin_cpu_supports("vpclmulqdq")
                            && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
    return has;
#else
    return false;
#endif
}

bool cpuHasShaInstructions()
{
#if defined(__x86_64__) || defined(__i386__)
    // The SHA extensions are bit 29 of EBX in leaf 7, read directly: not every
    // compiler knows "sha" as a feature name of __builtin_cpu_supports.
    static const bool has = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        const bool sha = __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & (1u << 29)) != 0;
        return sha && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3");
    }();
    return has;
#else
    return false;
#endif
}

void setPortableDigestsOnly(bool portableOnly)
{
    portableFlag().store(portableOnly, std::memory_order_relaxed);
}

bool portableDigestsOnly()
{
    return portableFlag().load(std::memory_order_relaxed);
}

bool useCarrylessMultiply()
{
    return cpuHasCarrylessMultiply() && !portableDigestsOnly();
}

bool useWideCarrylessMultiply()
{
    return cpuHasWideCarrylessMultiply() && !portableDigestsOnly();
}

bool useShaInstructions()
{
    return cpuHasShaInstructions() && !portableDigestsOnly();
}

}  // namespace korvala
