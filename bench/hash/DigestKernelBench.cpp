// In-memory throughput of every digest, on the accelerated kernels and with
// the portable ones forced: shows what the file benchmarks (run.sh) cannot
// separate from reading.

#include <benchmark/benchmark.h>

#include <vector>

#include "hash/CpuDispatch.h"
#include "hash/DigestContext.h"

namespace {

void digestThroughput(benchmark::State& state)
{
    const auto algorithm = static_cast<korvala::HashAlgorithm>(state.range(0));
    const bool portable = state.range(1) != 0;
    std::vector<unsigned char> data(static_cast<std::size_t>(4) << 20);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    korvala::setPortableDigestsOnly(portable);
    for (auto _ : state)
        benchmark::DoNotOptimize(korvala::digestOfBytes(algorithm, data.data(), data.size()));
    korvala::setPortableDigestsOnly(false);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(data.size()));
    state.SetLabel(std::string(korvala::hashAlgorithmName(algorithm)) + (portable ? " portable" : ""));
}

void allAlgorithms(benchmark::internal::Benchmark* b)
{
    for (int a = 0; a < korvala::HashAlgorithmCount; ++a)
        b->Args({a, 0});
    // The kernels with a run-time choice, on their portable path.
    for (auto a : {korvala::HashAlgorithm::haCRC32, korvala::HashAlgorithm::haSHA1, korvala::HashAlgorithm::haSHA256})
        b->Args({static_cast<int>(a), 1});
}

}  // namespace

BENCHMARK(digestThroughput)->Apply(allAlgorithms)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
