#pragma once
// Icons out of files, as plain functions over bytes: the icon group of a
// Windows program or library (.exe, .dll) rebuilt as an .ico file, the best
// image of an .ico file, and that image as a PNG. Any malformed input gives
// an empty answer, never a read outside the bytes given.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvala {

// The icon group at position `index` (0 the first, in the order of the
// resource directory) of a PE file, as the bytes of an .ico file.
std::string extractIconFromPe(const uint8_t* data, size_t size, int index);

// The icon `index` of a file's bytes: an .ico file is its own icon 0; a PE
// file gives its icon group. Empty when there is none.
std::string iconFileBytes(const std::string& bytes, int index);

// The largest image of an .ico file as a PNG (an image stored as PNG as it
// is; 32-bit ones converted); empty when it has neither.
std::string pngOfIcon(const std::string& ico);

}  // namespace korvala
