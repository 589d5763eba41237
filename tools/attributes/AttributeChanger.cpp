#include "tools/attributes/AttributeChanger.h"

#include "platform/AttributeLetters.h"
#include "platform/FileAttributes.h"

namespace korvala {
namespace {

uint32_t applyChoice(uint32_t word, uint32_t bit, AttributeChoice choice)
{
    switch (choice) {
    case AttributeChoice::acSet:
        return word | bit;
    case AttributeChoice::acClear:
        return word & ~bit;
    case AttributeChoice::acKeep:
        break;
    }
    return word;
}

}  // namespace

uint32_t ComputeAttributeWord(uint32_t word, AttributeChoice readOnly, AttributeChoice hidden,
    AttributeChoice system, AttributeChoice archive)
{
    word = applyChoice(word, FILE_ATTRIBUTE_READONLY, readOnly);
    word = applyChoice(word, FILE_ATTRIBUTE_ARCHIVE, archive);
    word = applyChoice(word, FILE_ATTRIBUTE_SYSTEM, system);
    word = applyChoice(word, FILE_ATTRIBUTE_HIDDEN, hidden);
    return word;
}

AttributeChange ApplyAttributeChoices(const std::string& path, AttributeChoice readOnly,
    AttributeChoice hidden, AttributeChoice system, AttributeChoice archive)
{
    AttributeChange change;
    if (const std::error_code ec = readFileAttributes(path, change.before)) {
        change.before = change.after = INVALID_FILE_ATTRIBUTES;
        change.error = ec;
        return change;
    }
    change.after = ComputeAttributeWord(change.before, readOnly, hidden, system, archive);
    if (change.after == change.before)
        return change;  // untouched, so its change time stays as it was
    // Only the bits the choices changed are written: the store keeps its own
    // bits, never the ones the word derives from the name or the mode.
    change.error = changeFileAttributes(path, change.after & ~change.before, change.before & ~change.after);
    change.written = !change.error;
    return change;
}

std::string AttributeLetters(uint32_t word)
{
    return attributeLetters(word);
}

}  // namespace korvala
