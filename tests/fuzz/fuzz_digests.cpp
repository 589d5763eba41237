// Every digest algorithm over the input's data: fed in pieces cut at points
// the input chooses, it gives the digest of the data in one piece, with the
// algorithm's number of upper-case hexadecimal digits.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "hash/CpuDispatch.h"
#include "hash/DigestContext.h"

using namespace korvala;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool portable = in.ConsumeBool();
    std::vector<uint16_t> cuts(in.ConsumeIntegralInRange<size_t>(0, 12));
    for (uint16_t& cut : cuts)
        cut = in.ConsumeIntegral<uint16_t>();
    const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();
    for (uint16_t& cut : cuts)
        cut = static_cast<uint16_t>(bytes.empty() ? 0 : cut % (bytes.size() + 1));
    std::sort(cuts.begin(), cuts.end());

    for (int a = 0; a < HashAlgorithmCount; ++a) {
        const auto algorithm = static_cast<HashAlgorithm>(a);
        // The portable kernels and the ones for this processor's instructions
        // must agree: one whole digest with each.
        setPortableDigestsOnly(portable);
        const std::string whole = digestOfBytes(algorithm, bytes.data(), bytes.size());
        setPortableDigestsOnly(!portable);
        const std::string other = digestOfBytes(algorithm, bytes.data(), bytes.size());
        setPortableDigestsOnly(false);
        FUZZ_CHECK(whole == other, "portable and processor kernels agree");
        FUZZ_CHECK(whole.size() == static_cast<size_t>(HashDigitCounts[a]), "the digest has its number of digits");
        FUZZ_CHECK(std::all_of(whole.begin(), whole.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }),
            "the digest is upper-case hexadecimal");

        const std::unique_ptr<DigestContext> context = makeDigestContext(algorithm);
        size_t from = 0;
        for (uint16_t cut : cuts) {
            context->update(bytes.data() + from, cut - from);
            from = cut;
        }
        context->update(bytes.data() + from, bytes.size() - from);
        FUZZ_CHECK(context->finish() == whole, "pieces give the digest of the whole");
    }
    return 0;
}
