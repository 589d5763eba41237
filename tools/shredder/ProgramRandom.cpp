#include "tools/shredder/ProgramRandom.h"

#include <mutex>

namespace korvala {
namespace {

std::mutex g_mutex;
TLinearCongruential g_generator;  // guarded by g_mutex

}  // namespace

void fillProgramRandom(unsigned char* bytes, size_t size)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_generator.fill(bytes, size);
}

uint32_t programRandomState()
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_generator.state;
}

}  // namespace korvala
