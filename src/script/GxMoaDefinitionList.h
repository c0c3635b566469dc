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
        ++m_Steps;
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

    // The first definition named so, or null. The names of the name's bucket are compared one by one here
    // rather than in the map's find, so each comparison is counted.
    const Definition* Find(const std::wstring& name) const
    {
        ++m_Steps;
        if (m_First.empty())
            return nullptr;
        const size_t bucket = m_First.bucket(name);
        for (auto it = m_First.begin(bucket); it != m_First.end(bucket); ++it)
        {
            ++m_Steps;
            if (it->first == name)
                return &m_Defs[it->second];
        }
        return nullptr;
    }

    // The list's work since it was made, in steps: each name its index takes in (one for each append, every
    // definition again for each erase), each lookup and each name a lookup compares. Tests read it to see a
    // definition indexed and found at a constant cost.
    size_t GetStepCount() const { return m_Steps; }

private:
    void Reindex()
    {
        m_First.clear();
        for (size_t i = 0; i < m_Defs.size(); ++i)
            m_First.try_emplace(m_Defs[i].m_Name, i);
        m_Steps += m_Defs.size();
    }

    std::vector<Definition> m_Defs;
    std::unordered_map<std::wstring, size_t> m_First;
    mutable size_t m_Steps = 0;
};
