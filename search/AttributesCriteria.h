#pragma once
// Which attribute bits an entry must have or lack.

#include <cstdint>

#include "search/CustomCriteria.h"

namespace korvala {

enum TFileAttributeStatus : uint8_t {
    fsIgnore = 0,    // not tested
    fsSet = 1,       // must be set
    fsUnset = 2,     // must be clear
    fsAnySet = 3,    // at least one attribute in this state must be set
    fsAnyUnset = 4,  // at least one attribute in this state must be clear
};

class TAttributesCriteria : public TCustomCriteria {
public:
    // A new object accepts neither hidden nor system entries nor folders.
    TAttributesCriteria();
    TAttributesCriteria(const TAttributesCriteria&) = default;
    TAttributesCriteria& operator=(const TAttributesCriteria&) = default;

    void Assign(const TCustomCriteria& source) override;
    // Every attribute to fsIgnore (which differs from the initial states).
    void Clear() override;
    const char* ClassName() const override { return "TAttributesCriteria"; }

    // The state of one attribute bit (FILE_ATTRIBUTE_*), and setting it.
    TFileAttributeStatus State(uint32_t bit) const;
    void setState(uint32_t bit, TFileAttributeStatus state);

#define KORVALA_ATTRIBUTE_PROPERTY(Name, Bit)                                 \
    TFileAttributeStatus Name() const { return State(Bit); }                 \
    void set##Name(TFileAttributeStatus s) { setState(Bit, s); }
    KORVALA_ATTRIBUTE_PROPERTY(Readonly, 0x1)
    KORVALA_ATTRIBUTE_PROPERTY(Hidden, 0x2)
    KORVALA_ATTRIBUTE_PROPERTY(System, 0x4)
    KORVALA_ATTRIBUTE_PROPERTY(Directory, 0x10)
    KORVALA_ATTRIBUTE_PROPERTY(Archive, 0x20)
    KORVALA_ATTRIBUTE_PROPERTY(Device, 0x40)
    KORVALA_ATTRIBUTE_PROPERTY(Normal, 0x80)
    KORVALA_ATTRIBUTE_PROPERTY(Temporary, 0x100)
    KORVALA_ATTRIBUTE_PROPERTY(SparseFile, 0x200)
    KORVALA_ATTRIBUTE_PROPERTY(ReparsePoint, 0x400)
    KORVALA_ATTRIBUTE_PROPERTY(Compressed, 0x800)
    KORVALA_ATTRIBUTE_PROPERTY(Offline, 0x1000)
    KORVALA_ATTRIBUTE_PROPERTY(NotContentIndexed, 0x2000)
    KORVALA_ATTRIBUTE_PROPERTY(Encrypted, 0x4000)
    KORVALA_ATTRIBUTE_PROPERTY(Virtual, 0x10000)
#undef KORVALA_ATTRIBUTE_PROPERTY

    uint32_t SetMask() const { return m_set; }
    uint32_t UnsetMask() const { return m_unset; }
    uint32_t AnySetMask() const { return m_anySet; }
    uint32_t AnyUnsetMask() const { return m_anyUnset; }
    // Every bit that some state tests.
    uint32_t TestedMask() const { return m_set | m_unset | m_anySet | m_anyUnset; }

    bool Matches(uint32_t attributes) const;

private:
    uint32_t m_set = 0;
    uint32_t m_unset = 0;
    uint32_t m_anySet = 0;
    uint32_t m_anyUnset = 0;
};

// The fifteen attributes: property name and bit, in the order of the table of
// properties.
struct AttributeName {
    const char* name;
    uint32_t bit;
};
extern const AttributeName kAttributeNames[15];

}  // namespace korvala
