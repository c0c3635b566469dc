#pragma once
// A program's definitions of one kind (variables, builtins) in file order, the order the program is
// written back in, with an index from each name to its first definition: the one a search from the front
// finds. A program can hold tens of thousands of definitions; the compiler looks a name up before it adds
// each declaration and a reset looks up the definition of every variable it resets, so a search along
// them would make either cost the square of the program.
//
// Every change goes through the list, so the index is always current: an append indexes its name (when
// no earlier definition has it) at a constant cost, an erase builds the index again (it moves the
// definitions after it anyway). Definitions are read only: one renamed in place would leave the index
// stale.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

template <typename Definition> class GxMoaDefinitionList
{
public:
    using const_iterator = typename std::vector<Definition>::const_iterator;

    GxMoaDefinitionList() = default;
    GxMoaDefinitionList(std::initializer_list<Definition> defs)
    {
        for (const Definition& def : defs)
            push_back(def);
    }

    const_iterator begin() const { return m_Defs.begin(); }
    const_iterator end() const { return m_Defs.end(); }
    size_t size() const { return m_Defs.size(); }
    bool empty() const { return m_Defs.empty(); }
    const Definition& operator[](size_t i) const { return m_Defs[i]; }

    // Appends; a name already defined keeps its first definition.
    void push_back(Definition def)
    {
        ++m_IndexedCount;
        m_First.try_emplace(def.m_Name, m_Defs.size());
        m_Defs.push_back(std::move(def));
    }

    const_iterator erase(const_iterator at)
    {
        const auto next = m_Defs.erase(at);
        Reindex();
        return next;
    }

    void clear()
    {
        m_Defs.clear();
        m_First.clear();
    }

    // The first definition named so, or null.
    const Definition* Find(const std::wstring& name) const
    {
        const auto it = m_First.find(name);
        return it == m_First.end() ? nullptr : &m_Defs[it->second];
    }

    // How many names the index has taken in since the list was made: one for each append, and every
    // definition again for each erase. Tests read it to see the index kept at a constant cost a definition.
    size_t GetIndexedCount() const { return m_IndexedCount; }

private:
    void Reindex()
    {
        m_First.clear();
        for (size_t i = 0; i < m_Defs.size(); ++i)
            m_First.try_emplace(m_Defs[i].m_Name, i);
        m_IndexedCount += m_Defs.size();
    }

    std::vector<Definition> m_Defs;
    std::unordered_map<std::wstring, size_t> m_First;
    size_t m_IndexedCount = 0;
};
