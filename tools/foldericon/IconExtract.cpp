#include "tools/foldericon/IconExtract.h"

#include <cstring>
#include <vector>

#include <zlib.h>

namespace korvala {
namespace {

// Bounds-checked little-endian reads of the input.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool has(size_t offset, size_t length) const { return offset <= m_size && length <= m_size - offset; }
    uint32_t u16(size_t at, bool& ok) const { return has(at, 2) ? m_data[at] | (m_data[at + 1] << 8) : fail(ok); }
    uint32_t u32(size_t at, bool& ok) const
    {
        return has(at, 4) ? static_cast<uint32_t>(m_data[at] | (m_data[at + 1] << 8) | (m_data[at + 2] << 16)) |
                static_cast<uint32_t>(m_data[at + 3]) << 24
                          : fail(ok);
    }
    const uint8_t* at(size_t offset) const { return m_data + offset; }

private:
    static uint32_t fail(bool& ok)
    {
        ok = false;
        return 0;
    }
    const uint8_t* m_data;
    size_t m_size;
};

constexpr uint32_t RT_ICON = 3;
constexpr uint32_t RT_GROUP_ICON = 14;
constexpr uint32_t kSubdirectory = 0x80000000u;

struct Pe {
    Bytes bytes;
    size_t rsrc = 0;       // file offset of the resource directory
    uint32_t rsrcRva = 0;
    struct Section {
        uint32_t va, size, raw, rawSize;
    };
    std::vector<Section> sections;

    bool rvaToOffset(uint32_t rva, uint32_t length, size_t& offset) const
    {
        for (const Section& s : sections) {
            const uint32_t span = s.size > s.rawSize ? s.size : s.rawSize;
            if (rva >= s.va && rva - s.va < span) {
                const uint64_t delta = rva - s.va;
                if (delta + length > s.rawSize)
                    return false;
                offset = s.raw + static_cast<size_t>(delta);
                return bytes.has(offset, length);
            }
        }
        return false;
    }
};

bool openPe(Pe& pe)
{
    bool ok = true;
    const Bytes& b = pe.bytes;
    if (!b.has(0, 64) || b.at(0)[0] != 'M' || b.at(0)[1] != 'Z')
        return false;
    const size_t nt = b.u32(0x3C, ok);
    if (!ok || !b.has(nt, 24) || std::memcmp(b.at(nt), "PE\0\0", 4) != 0)
        return false;
    const uint32_t sectionCount = b.u16(nt + 6, ok);
    const uint32_t optionalSize = b.u16(nt + 20, ok);
    const size_t optional = nt + 24;
    const uint32_t magic = b.u16(optional, ok);
    const size_t directories = optional + (magic == 0x20B ? 112 : 96);
    if (!ok || (magic != 0x10B && magic != 0x20B) || directories + 24 > optional + optionalSize)
        return false;
    pe.rsrcRva = b.u32(directories + 16, ok);
    const size_t table = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount && ok && i < 96; ++i) {
        const size_t s = table + 40 * i;
        pe.sections.push_back({b.u32(s + 12, ok), b.u32(s + 8, ok), b.u32(s + 20, ok), b.u32(s + 16, ok)});
    }
    return ok && pe.rsrcRva != 0 && pe.rvaToOffset(pe.rsrcRva, 16, pe.rsrc);
}

struct Entry {
    uint32_t id;
    uint32_t offset;  // within the resource section; kSubdirectory set for a directory
};

// The entries of the resource directory at `offset` (within the section),
// named ones first as stored.
bool entriesOf(const Pe& pe, uint32_t offset, std::vector<Entry>& out)
{
    bool ok = true;
    const size_t at = pe.rsrc + offset;
    const uint32_t count = pe.bytes.u16(at + 12, ok) + pe.bytes.u16(at + 14, ok);
    if (!ok || count > 65535 || !pe.bytes.has(at + 16, static_cast<size_t>(count) * 8))
        return false;
    out.clear();
    for (uint32_t i = 0; i < count; ++i)
        out.push_back({pe.bytes.u32(at + 16 + 8 * i, ok), pe.bytes.u32(at + 20 + 8 * i, ok)});
    return ok;
}

// The data of the first leaf below `entry` (its first language).
bool leafData(const Pe& pe, Entry entry, size_t& offset, uint32_t& size)
{
    std::vector<Entry> children;
    // A resource tree has three levels: below type and name only languages.
    for (int depth = 0; (entry.offset & kSubdirectory) && depth < 2; ++depth) {
        if (!entriesOf(pe, entry.offset & ~kSubdirectory, children) || children.empty())
            return false;
        entry = children[0];
    }
    if (entry.offset & kSubdirectory)
        return false;
    bool ok = true;
    const size_t dataEntry = pe.rsrc + entry.offset;
    const uint32_t rva = pe.bytes.u32(dataEntry, ok);
    size = pe.bytes.u32(dataEntry + 4, ok);
    return ok && pe.rvaToOffset(rva, size, offset);
}

bool typeDirectory(const Pe& pe, uint32_t type, std::vector<Entry>& out)
{
    std::vector<Entry> types;
    if (!entriesOf(pe, 0, types))
        return false;
    for (const Entry& t : types)
        if (t.id == type && (t.offset & kSubdirectory))
            return entriesOf(pe, t.offset & ~kSubdirectory, out);
    return false;
}

void put16(std::string& s, uint32_t v)
{
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& s, uint32_t v)
{
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

void putBe32(std::string& s, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void pngChunk(std::string& png, const char* type, const std::string& data)
{
    putBe32(png, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    putBe32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// A 32-bit bitmap of an icon (bottom-up rows of blue, green, red, alpha) as a PNG.
std::string pngOfBitmap(const Bytes& b, size_t at, uint32_t length)
{
    bool ok = true;
    const uint32_t header = b.u32(at, ok);
    const int32_t width = static_cast<int32_t>(b.u32(at + 4, ok));
    const int32_t height = static_cast<int32_t>(b.u32(at + 8, ok)) / 2;  // colour rows, then the mask
    const uint32_t depth = b.u16(at + 14, ok);
    if (!ok || header < 40 || depth != 32 || width <= 0 || height <= 0 || width > 1024 || height > 1024)
        return {};
    const size_t row = static_cast<size_t>(width) * 4;
    if (header > length || row * static_cast<size_t>(height) > length - header || !b.has(at + header, row * height))
        return {};
    std::string raw;
    for (int32_t y = height - 1; y >= 0; --y) {
        raw.push_back('\0');  // no filter
        const uint8_t* p = b.at(at + header + row * static_cast<size_t>(y));
        for (int32_t x = 0; x < width; ++x, p += 4) {
            raw.push_back(static_cast<char>(p[2]));
            raw.push_back(static_cast<char>(p[1]));
            raw.push_back(static_cast<char>(p[0]));
            raw.push_back(static_cast<char>(p[3]));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 9) != Z_OK)
        return {};
    packed.resize(packedSize);
    std::string ihdr;
    putBe32(ihdr, static_cast<uint32_t>(width));
    putBe32(ihdr, static_cast<uint32_t>(height));
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    pngChunk(png, "IHDR", ihdr);
    pngChunk(png, "IDAT", packed);
    pngChunk(png, "IEND", {});
    return png;
}

}  // namespace

std::string extractIconFromPe(const uint8_t* data, size_t size, int index)
{
    Pe pe{Bytes(data, size)};
    if (index < 0 || !openPe(pe))
        return {};
    std::vector<Entry> groups, icons;
    if (!typeDirectory(pe, RT_GROUP_ICON, groups) || static_cast<size_t>(index) >= groups.size() ||
        !typeDirectory(pe, RT_ICON, icons))
        return {};
    size_t groupAt = 0;
    uint32_t groupSize = 0;
    if (!leafData(pe, groups[static_cast<size_t>(index)], groupAt, groupSize) || groupSize < 6)
        return {};
    bool ok = true;
    const uint32_t count = pe.bytes.u16(groupAt + 4, ok);
    if (!ok || count == 0 || 6 + 14 * static_cast<uint64_t>(count) > groupSize)
        return {};
    struct Image {
        const uint8_t* entry;  // the 12 bytes the .ico entry shares with the group entry
        size_t at;
        uint32_t size;
    };
    std::vector<Image> images;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t e = groupAt + 6 + 14 * i;
        const uint32_t id = pe.bytes.u16(e + 12, ok);
        for (const Entry& icon : icons) {
            size_t at = 0;
            uint32_t length = 0;
            if (icon.id == id && leafData(pe, icon, at, length)) {
                images.push_back({pe.bytes.at(e), at, length});
                break;
            }
        }
    }
    if (!ok || images.empty())
        return {};
    std::string ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const Image& image : images) {
        ico.append(reinterpret_cast<const char*>(image.entry), 8);  // size, colours, planes, depth
        put32(ico, image.size);
        put32(ico, offset);
        offset += image.size;
    }
    for (const Image& image : images)
        ico.append(reinterpret_cast<const char*>(pe.bytes.at(image.at)), image.size);
    return ico;
}

std::string iconFileBytes(const std::string& bytes, int index)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (bytes.size() >= 6 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0)
        return index == 0 ? bytes : std::string();
    return extractIconFromPe(data, bytes.size(), index);
}

std::string pngOfIcon(const std::string& ico)
{
    const Bytes b(reinterpret_cast<const uint8_t*>(ico.data()), ico.size());
    bool ok = true;
    const uint32_t count = b.u16(4, ok);
    if (!ok || b.u16(2, ok) != 1)
        return {};
    // The largest image, by width then depth (a width byte of 0 means 256).
    size_t best = SIZE_MAX;
    uint32_t bestScore = 0;
    for (uint32_t i = 0; i < count && b.has(6 + 16 * i, 16); ++i) {
        const uint32_t width = b.at(6 + 16 * i)[0] ? b.at(6 + 16 * i)[0] : 256;
        const uint32_t score = width * 64 + b.u16(6 + 16 * i + 6, ok);
        if (best == SIZE_MAX || score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (best == SIZE_MAX)
        return {};
    const uint32_t size = b.u32(6 + 16 * best + 8, ok);
    const uint32_t at = b.u32(6 + 16 * best + 12, ok);
    if (!ok || !b.has(at, size) || size < 8)
        return {};
    if (std::memcmp(b.at(at), "\x89PNG", 4) == 0)
        return ico.substr(at, size);
    return pngOfBitmap(b, at, size);
}

}  // namespace korvala
