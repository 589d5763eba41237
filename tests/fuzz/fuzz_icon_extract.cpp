// The icon extractor on arbitrary bytes: no fault and no read outside them
// (the input lies in a buffer of its exact size); an icon rebuilt out of a
// program file is a well-formed .ico whose images lie inside it, and the PNG
// of an icon starts as a PNG does.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include <zlib.h>

#include "FuzzCheck.h"
#include "tools/foldericon/IconExtract.h"

using namespace korvala;

namespace {

uint32_t le(const std::string& s, size_t at, size_t n)
{
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(s[at + i])) << (8 * i);
    return v;
}

void checkIco(const std::string& ico)
{
    if (ico.empty())
        return;
    FUZZ_CHECK(ico.size() >= 6 && le(ico, 0, 2) == 0 && le(ico, 2, 2) == 1, "an .ico header");
    const size_t count = le(ico, 4, 2);
    FUZZ_CHECK(6 + 16 * count <= ico.size(), "the image directory lies inside the file");
    for (size_t i = 0; i < count; ++i) {
        const uint64_t bytes = le(ico, 6 + 16 * i + 8, 4), offset = le(ico, 6 + 16 * i + 12, 4);
        FUZZ_CHECK(offset >= 6 + 16 * count && offset + bytes <= ico.size(), "every image lies inside the file");
    }
}

uint32_t be32(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = v << 8 | static_cast<uint8_t>(s[at + i]);
    return v;
}

// A PNG of an icon: an image stored as PNG in the icon, as it is, or one
// converted from a 32-bit bitmap, which must be whole: IHDR, IDAT and IEND
// with their checksums, and rows that inflate to the size IHDR gives.
void checkPng(const std::string& png, const std::string& ico)
{
    if (png.empty())
        return;
    FUZZ_CHECK(png.compare(0, 4, "\x89PNG") == 0, "a PNG starts with its signature");
    if (ico.find(png) != std::string::npos)
        return;
    FUZZ_CHECK(png.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0, "a converted image has the whole signature");
    std::string ihdr, idat;
    size_t at = 8;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        const uint32_t length = be32(png, at);
        FUZZ_CHECK(at + 12 + length <= png.size(), "a chunk lies inside the PNG");
        const std::string type = png.substr(at + 4, 4), body = png.substr(at + 8, length);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), 4 + length);
        FUZZ_CHECK(be32(png, at + 8 + length) == crc, "a chunk's checksum is right");
        types.push_back(type);
        if (type == "IHDR")
            ihdr = body;
        else if (type == "IDAT")
            idat = body;
        at += 12 + length;
    }
    FUZZ_CHECK(at == png.size() && types == std::vector<std::string>({"IHDR", "IDAT", "IEND"}), "IHDR, IDAT, IEND");
    FUZZ_CHECK(ihdr.size() == 13 && ihdr.compare(8, 5, std::string("\x08\x06\0\0\0", 5)) == 0, "8-bit RGBA");
    const uint64_t width = be32(ihdr, 0), height = be32(ihdr, 4);
    FUZZ_CHECK(width >= 1 && height >= 1 && width <= 1024 && height <= 1024, "a size an icon can have");
    std::string rows(height * (1 + 4 * width) + 1, '\0');
    uLongf got = rows.size();
    FUZZ_CHECK(uncompress(reinterpret_cast<Bytef*>(rows.data()), &got, reinterpret_cast<const Bytef*>(idat.data()),
                   idat.size()) == Z_OK && got == rows.size() - 1, "the rows inflate to the size IHDR gives");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the icon group; the rest is the file.
    const int index = data[0] % 4;
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;
    const std::string fromPe = extractIconFromPe(file, fileSize, index);
    checkIco(fromPe);
    checkPng(pngOfIcon(fromPe), fromPe);

    const std::string bytes(reinterpret_cast<const char*>(file), fileSize);
    const std::string icon = iconFileBytes(bytes, index);
    if (bytes.compare(0, 2, "MZ") == 0)
        FUZZ_CHECK(icon == fromPe, "a program file's icon is its icon group");
    checkPng(pngOfIcon(icon), icon);
    checkPng(pngOfIcon(bytes), bytes);
    return 0;
}
