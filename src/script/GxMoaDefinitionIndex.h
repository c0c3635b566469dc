#pragma once
// Name lookup over a program's definitions (variables, builtins), which stay in a plain vector in file
// order because the program is written back in that order. A program can hold tens of thousands of them
// and every reset looks up the definition of each variable it resets, so a search along the vector would
// make a reset cost the square of the program. The index maps each name to its first definition, the one
// a search from the front finds.
//
// The owner builds it once a program is loaded (Build) and drops it when the program goes (Invalidate).
// The vectors are public and tools and tests append, erase or reassign definitions directly: the index
// remembers the size and storage it was built over and builds itself again when either has changed. A
// definition replaced in place is seen when its old name is looked up, not when its new one is: whoever
// renames definitions calls Invalidate.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

template <typename Definition> class GxMoaDefinitionIndex
{
public:
    void Build(const std::vector<Definition>& defs)
    {
        m_First.clear();
        m_First.reserve(defs.size());
        for (size_t i = 0; i < defs.size(); ++i)
            m_First.emplace(defs[i].m_Name, i); // keeps the first of two definitions with one name
        m_BuiltOver = defs.data();
        m_BuiltSize = defs.size();
        m_Built = true;
    }

    void Invalidate()
    {
        m_First.clear();
        m_Built = false;
    }

    // The first definition named so, or null.
    Definition* Find(std::vector<Definition>& defs, const std::wstring& name)
    {
        if (!m_Built || defs.data() != m_BuiltOver || defs.size() != m_BuiltSize)
            Build(defs);
        auto it = m_First.find(name);
        if (it != m_First.end() && defs[it->second].m_Name != name)
        {
            Build(defs); // a definition was replaced in place since the index was built
            it = m_First.find(name);
        }
        return it == m_First.end() ? nullptr : &defs[it->second];
    }

private:
    std::unordered_map<std::wstring, size_t> m_First;
    const Definition* m_BuiltOver = nullptr;
    size_t m_BuiltSize = 0;
    bool m_Built = false;
};
