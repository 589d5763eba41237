#include "search/AttributesCriteria.h"

namespace korvala {

const AttributeName kAttributeNames[15] = {
    {"Readonly", 0x1}, {"Hidden", 0x2}, {"System", 0x4}, {"Directory", 0x10}, {"Archive", 0x20},
    {"Device", 0x40}, {"Normal", 0x80}, {"Temporary", 0x100}, {"SparseFile", 0x200},
    {"ReparsePoint", 0x400}, {"Compressed", 0x800}, {"Offline", 0x1000},
    {"NotContentIndexed", 0x2000}, {"Encrypted", 0x4000}, {"Virtual", 0x10000},
};

TAttributesCriteria::TAttributesCriteria()
{
    setHidden(fsUnset);
    setSystem(fsUnset);
    setDirectory(fsUnset);
}

void TAttributesCriteria::Assign(const TCustomCriteria& source)
{
    const auto& s = sourceAs<TAttributesCriteria>(source);
    m_set = s.m_set;
    m_unset = s.m_unset;
    m_anySet = s.m_anySet;
    m_anyUnset = s.m_anyUnset;
}

void TAttributesCriteria::Clear()
{
    m_set = m_unset = m_anySet = m_anyUnset = 0;
}

TFileAttributeStatus TAttributesCriteria::State(uint32_t bit) const
{
    if (m_set & bit) return fsSet;
    if (m_unset & bit) return fsUnset;
    if (m_anySet & bit) return fsAnySet;
    if (m_anyUnset & bit) return fsAnyUnset;
    return fsIgnore;
}

void TAttributesCriteria::setState(uint32_t bit, TFileAttributeStatus state)
{
    m_set &= ~bit;
    m_unset &= ~bit;
    m_anySet &= ~bit;
    m_anyUnset &= ~bit;
    switch (state) {
    case fsSet: m_set |= bit; break;
    case fsUnset: m_unset |= bit; break;
    case fsAnySet: m_anySet |= bit; break;
    case fsAnyUnset: m_anyUnset |= bit; break;
    case fsIgnore: break;
    }
}

bool TAttributesCriteria::Matches(uint32_t a) const
{
    if ((a & m_set) != m_set)
        return false;
    if (a & m_unset)
        return false;
    if (m_anySet && !(a & m_anySet))
        return false;
    if (m_anyUnset && (a & m_anyUnset) == m_anyUnset)
        return false;
    return true;
}

}  // namespace korvala
