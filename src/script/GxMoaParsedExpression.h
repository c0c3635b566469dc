#pragma once
// The opcode list of one parsed expression as the parse cache keeps it. Frames running the expression
// share it instead of copying it; it never changes once made. Beside it, per entry, the variable the
// last lookup of the name at that entry found, so a line that runs again finds its variables without
// hashing their names.

#include "script/GxMoaVariable.h"

#include <cstdint>
#include <vector>

class GxMoaScriptEntity;
class GxMoaVariableSet;
class GxMoaVariableTable;

class GxMoaParsedExpression
{
public:
    // A lookup result stays right while no variable table anywhere has gained or lost a variable
    // (the tables' layout version) and the lookup starts from the same LOCAL table and script entity.
    struct LookupSlot
    {
        uint64_t m_LayoutVersion = 0;
        const GxMoaVariableTable* m_pLocalTable = nullptr;
        const GxMoaScriptEntity* m_pEntity = nullptr;
        GxMoaVariableSet* m_pSet = nullptr;
    };

    explicit GxMoaParsedExpression(const std::vector<GxMoaVariable>& list) : m_List(list), m_Slots(list.size()) {}

    const std::vector<GxMoaVariable>& GetList() const { return m_List; }
    // The slot of the entry at the index (one per entry of the list).
    LookupSlot& GetSlot(size_t index) const { return m_Slots[index]; }

private:
    const std::vector<GxMoaVariable> m_List;
    mutable std::vector<LookupSlot> m_Slots;
};
