#include "tools/attributes/AttributeChanger.h"

#include <filesystem>

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

// Why a path gave no attribute word: the error of looking it up, or a generic
// input/output error when the path exists but its store could not be read.
std::error_code unreadableReason(const std::string& path)
{
    std::error_code ec;
    (void)std::filesystem::symlink_status(path, ec);
    if (ec)
        return ec;
    return std::make_error_code(std::errc::io_error);
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
    change.before = getFileAttributes(path);
    if (change.before == INVALID_FILE_ATTRIBUTES) {
        change.after = change.before;
        change.error = unreadableReason(path);
        return change;
    }
    change.after = ComputeAttributeWord(change.before, readOnly, hidden, system, archive);
    if (change.after == change.before)
        return change;  // untouched, so its change time stays as it was
    change.error = setFileAttributes(path, change.after);
    change.written = !change.error;
    return change;
}

std::string AttributeLetters(uint32_t word)
{
    std::string letters = "_____";
    if (word & FILE_ATTRIBUTE_SYSTEM)
        letters[0] = 'S';
    if (word & FILE_ATTRIBUTE_READONLY)
        letters[1] = 'R';
    if (word & FILE_ATTRIBUTE_HIDDEN)
        letters[2] = 'H';
    if (word & FILE_ATTRIBUTE_ARCHIVE)
        letters[3] = 'A';
    if (word & FILE_ATTRIBUTE_DIRECTORY)
        letters[4] = 'D';
    return letters;
}

}  // namespace korvala
