#include "platform/DosAttrib.h"

#include <cstdio>

namespace korvala {

namespace {

// Record sizes of the fixed-size versions; version 2 ends in a NUL-terminated name.
constexpr size_t RECORD1_SIZE = 4 + 4 + 8 + 8 + 8 + 8;          // attrib .. change_time
constexpr size_t RECORD2_FIXED_SIZE = 4 + 4 + 4 + 8 + 8 + 8 + 8 + 8;  // flags .. write_time
constexpr size_t RECORD3_SIZE = 4 + 4 + 4 + 8 + 8 + 8 + 8;      // valid_flags .. change_time
constexpr size_t RECORD4_SIZE = 4 + 4 + 8 + 8;                  // valid_flags, attrib, itime, create_time
constexpr size_t RECORD5_SIZE = 4 + 4 + 8;                      // valid_flags, attrib, create_time

// The text in front of a record is at most "0x" and eight digits; longer text is not
// something any writer of this format produces.
constexpr size_t MAX_TEXT_LENGTH = 10;

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Hex digits with an optional "0x" in front, at most 32 bits; false for anything else.
bool parseHexText(std::string_view text, uint32_t& value)
{
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 8)
        return false;
    uint32_t result = 0;
    for (char c : text) {
        if (!isHexDigit(c))
            return false;
        const uint32_t digit = (c <= '9') ? uint32_t(c - '0') : uint32_t((c | 0x20) - 'a' + 10);
        result = (result << 4) | digit;
    }
    value = result;
    return true;
}

uint16_t readU16(std::string_view data, size_t offset)
{
    return uint16_t(uint8_t(data[offset]) | (uint8_t(data[offset + 1]) << 8));
}

uint32_t readU32(std::string_view data, size_t offset)
{
    return uint32_t(readU16(data, offset)) | (uint32_t(readU16(data, offset + 2)) << 16);
}

uint64_t readU64(std::string_view data, size_t offset)
{
    return uint64_t(readU32(data, offset)) | (uint64_t(readU32(data, offset + 4)) << 32);
}

void appendU16(std::string& out, uint16_t v)
{
    out.push_back(char(v & 0xFF));
    out.push_back(char(v >> 8));
}

void appendU32(std::string& out, uint32_t v)
{
    appendU16(out, uint16_t(v & 0xFFFF));
    appendU16(out, uint16_t(v >> 16));
}

void appendU64(std::string& out, uint64_t v)
{
    appendU32(out, uint32_t(v & 0xFFFFFFFFu));
    appendU32(out, uint32_t(v >> 32));
}

size_t alignUp(size_t offset, size_t alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

std::optional<uint64_t> timeIfSet(uint64_t nt)
{
    if (nt == 0)
        return std::nullopt;
    return nt;
}

}  // namespace

std::optional<DosAttribInfo> parseDosAttrib(std::string_view value)
{
    const size_t nul = value.find('\0');

    // Hex text alone, as the oldest writers keep it.
    if (nul == std::string_view::npos || nul + 1 == value.size()) {
        DosAttribInfo info;
        if (!parseHexText(value.substr(0, nul), info.attributes))
            return std::nullopt;
        return info;
    }

    // An NDR record: the text (empty or hex), then version and level.
    const std::string_view text = value.substr(0, nul);
    uint32_t ignored = 0;
    if (text.size() > MAX_TEXT_LENGTH || (!text.empty() && !parseHexText(text, ignored)))
        return std::nullopt;
    const size_t versionOffset = alignUp(nul + 1, 2);
    if (versionOffset + 4 > value.size())
        return std::nullopt;
    const uint16_t version = readU16(value, versionOffset);
    const uint16_t level = readU16(value, versionOffset + 2);
    if (version < 1 || version > 5 || level != version)
        return std::nullopt;
    const size_t record = alignUp(versionOffset + 4, 4);
    if (record > value.size())
        return std::nullopt;
    const size_t recordSize = value.size() - record;

    DosAttribInfo info;
    info.version = version;
    switch (version) {
    case 1:
        if (recordSize != RECORD1_SIZE)
            return std::nullopt;
        info.attributes = readU32(value, record);
        info.createTime = timeIfSet(readU64(value, record + 24));
        break;
    case 2: {
        // The name after the fixed part must end with the value's last byte.
        if (recordSize < RECORD2_FIXED_SIZE + 1)
            return std::nullopt;
        const size_t nameStart = record + RECORD2_FIXED_SIZE;
        if (value.find('\0', nameStart) != value.size() - 1)
            return std::nullopt;
        info.attributes = readU32(value, record + 4);
        info.createTime = timeIfSet(readU64(value, record + 28));
        break;
    }
    case 3:
    case 4:
    case 5: {
        const size_t expected = version == 3 ? RECORD3_SIZE : version == 4 ? RECORD4_SIZE : RECORD5_SIZE;
        if (recordSize != expected)
            return std::nullopt;
        const uint32_t validFlags = readU32(value, record);
        if (validFlags & DOSATTRIB_VALID_ATTRIB)
            info.attributes = readU32(value, record + 4);
        const size_t createOffset = version == 3 ? record + 28 : version == 4 ? record + 16 : record + 8;
        if (validFlags & DOSATTRIB_VALID_CREATE_TIME)
            info.createTime = timeIfSet(readU64(value, createOffset));
        break;
    }
    }
    return info;
}

std::string buildDosAttrib(uint32_t attributes, std::optional<uint64_t> createTime)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", attributes);
    std::string out(text);
    out.push_back('\0');
    out.resize(alignUp(out.size(), 2), '\0');
    appendU16(out, 3);  // version
    appendU16(out, 3);  // union level, equal to the version
    out.resize(alignUp(out.size(), 4), '\0');
    const bool withTime = createTime.has_value() && *createTime != 0;
    appendU32(out, DOSATTRIB_VALID_ATTRIB | (withTime ? DOSATTRIB_VALID_CREATE_TIME : 0));
    appendU32(out, attributes);
    appendU32(out, 0);  // ea_size
    appendU64(out, 0);  // size
    appendU64(out, 0);  // alloc_size
    appendU64(out, withTime ? *createTime : 0);
    appendU64(out, 0);  // change_time
    return out;
}

}  // namespace korvala
