#pragma once
// The one table of builtin names and their indices, shared by the program builder (which binds every
// builtin name a script uses to its index) and by the runtime's tests.
//
// Indices 1 to 299 are the general-purpose builtins, dispatched by index alone; the names given to
// them here are the script language's. Every other builtin is dispatched by its index range and its
// exact name, so each range below lists its names in the order the dispatcher compares them and the
// table numbers them upward from the range's first index.

#include <cstdint>
#include <string>
#include <vector>

struct GxMoaBuiltinTableEntry
{
    const wchar_t* m_Name;
    int32_t m_Index;
};

class GxMoaBuiltinTable
{
public:
    static const std::vector<GxMoaBuiltinTableEntry>& GetEntries();
    // The entry of a name (exact, case-sensitive), or null.
    static const GxMoaBuiltinTableEntry* Find(const std::wstring& name);
    // The index of a name, or -1.
    static int32_t FindIndex(const std::wstring& name);
};
