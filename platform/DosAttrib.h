#pragma once
// The user.DOSATTRIB extended attribute: DOS attribute bits and a creation time in
// the NDR layout that SMB servers keep on POSIX file systems, so that machines
// reading a share of the folder see the same bits and times we do. Pure
// functions: nothing here fails or throws (see platform/SystemError.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvala {

constexpr uint32_t DOSATTRIB_VALID_ATTRIB = 0x1;
constexpr uint32_t DOSATTRIB_VALID_CREATE_TIME = 0x10;

struct DosAttribInfo {
    uint32_t attributes = 0;             // the bits as stored (not masked)
    std::optional<uint64_t> createTime;  // NTTIME, when the value keeps a valid one
    uint16_t version = 0;                // 0 for a value of hex text alone
};

// Reads a value strictly: hex text alone (with or without "0x", with or without a
// trailing NUL), or an NDR record of version 1 to 5 of exactly its size. Anything
// else gives nullopt, which callers treat as "no attribute stored".
std::optional<DosAttribInfo> parseDosAttrib(std::string_view value);

// Builds a version 3 value: "0x%x" text + NUL, padding to 2, version 3, level 3,
// padding to 4, then {valid_flags, attrib, ea_size 0, size 0, alloc_size 0,
// create_time, change_time 0}. valid_flags holds 0x10 only with a creation time.
std::string buildDosAttrib(uint32_t attributes, std::optional<uint64_t> createTime);

}  // namespace korvala
