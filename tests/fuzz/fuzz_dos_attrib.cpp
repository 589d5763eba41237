// The user.DOSATTRIB codec: any value decodes without a fault; a built value
// decodes to what was built; a decoded value built again decodes the same.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "platform/DosAttrib.h"

using namespace korvala;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    if (const std::optional<DosAttribInfo> info = parseDosAttrib(value)) {
        FUZZ_CHECK(info->version <= 5, "a version the decoder knows");
        FUZZ_CHECK(!info->createTime || *info->createTime != 0, "a creation time of 0 is no time");
        const std::optional<DosAttribInfo> again = parseDosAttrib(buildDosAttrib(info->attributes, info->createTime));
        FUZZ_CHECK(again && again->attributes == info->attributes && again->createTime == info->createTime,
            "a decoded value built again decodes the same");
    }

    FuzzedDataProvider in(data, size);
    const uint32_t attributes = in.ConsumeIntegral<uint32_t>();
    std::optional<uint64_t> createTime;
    if (in.ConsumeBool())
        createTime = in.ConsumeIntegral<uint64_t>();
    const std::string built = buildDosAttrib(attributes, createTime);
    const std::optional<DosAttribInfo> decoded = parseDosAttrib(built);
    FUZZ_CHECK(decoded.has_value(), "a built value decodes");
    FUZZ_CHECK(decoded->attributes == attributes && decoded->version == 3, "the bits and version come back");
    const std::optional<uint64_t> wanted = createTime && *createTime != 0 ? createTime : std::nullopt;
    FUZZ_CHECK(decoded->createTime == wanted, "the creation time comes back");
    return 0;
}
