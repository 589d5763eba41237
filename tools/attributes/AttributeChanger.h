#pragma once
// Attribute Changer engine: sets, clears or keeps Read-Only, Hidden, System and
// Archive on one file or folder, writing the attribute word only when it changes.

#include <cstdint>
#include <string>
#include <system_error>

namespace korvala {

// One choice per attribute, as the three-state boxes of the page hold them:
// checked = set, unchecked = clear, grayed = keep.
enum class AttributeChoice { acSet, acClear, acKeep };

// What ApplyAttributeChoices did with one path. The page ignores it (failures on
// one item are passed over); the command line reports it.
struct AttributeChange {
    uint32_t before = 0;     // the word read (INVALID_FILE_ATTRIBUTES when unreadable)
    uint32_t after = 0;      // the word computed from the choices
    bool written = false;    // a write was made (and succeeded)
    std::error_code error;   // why the word could not be read or written
};

// The new word: Read-Only, Archive, System, Hidden in this order, each set,
// cleared or kept; every other bit is carried through unchanged.
uint32_t ComputeAttributeWord(uint32_t word, AttributeChoice readOnly, AttributeChoice hidden,
    AttributeChoice system, AttributeChoice archive);

// Reads the attribute word of path, computes the new word and writes it when it
// differs: one change of the bits that differ, applied to the bits the store
// keeps (platform/FileAttributes.h, changeFileAttributes), all or nothing.
// Never throws. A path whose word cannot
// be read is not written at all: writing the all-ones word with some bits
// cleared would set every other stored bit on it.
AttributeChange ApplyAttributeChoices(const std::string& path, AttributeChoice readOnly,
    AttributeChoice hidden, AttributeChoice system, AttributeChoice archive);

// The five letters of the attribute column (platform/AttributeLetters.h).
std::string AttributeLetters(uint32_t word);

}  // namespace korvala
