#pragma once
// A table of named variables in insertion order: a frame's LOCAL table (kind 1), a script entity's
// STATIC table (2), a worker's GLOBAL table (3) or the runtime's EXTERN table (4). Names are unique
// within a table; variables keep their addresses while the table grows.

#include "script/GxMoaVariableSet.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class GxMoaVariableDefinition;

enum GxMoaTableKind : int32_t
{
    TABLE_LOCAL = 1,
    TABLE_STATIC = 2,
    TABLE_GLOBAL = 3,
    TABLE_EXTERN = 4,
};

class GxMoaVariableTable
{
public:
    explicit GxMoaVariableTable(int32_t kind = TABLE_LOCAL) : m_TableKind(kind) {}
    GxMoaVariableTable(const GxMoaVariableTable& other);
    GxMoaVariableTable& operator=(const GxMoaVariableTable& other);
    virtual ~GxMoaVariableTable();

    virtual bool Write(GxContentWriterBase* writer, int32_t persistClass) const;
    virtual bool Read(GxContentReaderBase* reader, int32_t persistClass);

    GxMoaVariableSet* Find(const std::wstring& name) const;
    // Appends a LOCAL variable holding a copy of the value unless the name exists.
    void Add(const std::wstring& name, const GxMoaVariable& value);
    void AddFromDefinition(const GxMoaVariableDefinition& def);
    static void ResetFromDefinition(GxMoaVariableSet& set, const GxMoaVariableDefinition* def);
    // Puts every variable of the persistence class that inScope accepts back to its definition
    // (definitionOf, by name). One without a definition becomes Null, except one that a read added
    // (a name only a file gave): that one is removed, so a reset followed by a read gives exactly what
    // the read takes, whatever an earlier read added.
    void ResetClass(int32_t persistClass, const std::function<bool(int32_t scope)>& inScope,
                    const std::function<const GxMoaVariableDefinition*(const std::wstring& name)>& definitionOf);
    // Finds or appends (with the table's default scope) and stores the value at the index (-1: the
    // whole value). Null when the index is beyond the array size limit.
    GxMoaVariableSet* StoreByName(const std::wstring& name, int64_t index, const GxMoaVariable* value);
    GxMoaVariableSet* StoreNullByName(const std::wstring& name, int64_t index)
    {
        return StoreByName(name, index, nullptr);
    }
    void Clear();
    // Appends "Scope:<name>" and the value's dump text for each variable.
    void Dump(std::wstring& out, int indent) const;

    int32_t GetDefaultScope() const;
    int32_t GetTableKind() const { return m_TableKind; }
    size_t GetCount() const { return m_Sets.size(); }
    GxMoaVariableSet* GetAt(size_t i) const { return m_Sets[i].get(); }

    // Counts every change, in any table, to which variables exist (one added, a table cleared or
    // destroyed with variables in it). While it stays the same, every variable found by a lookup is
    // still where it was found and is still the one the same lookup would find: the expression
    // machine keeps lookup results on that condition. Anything else that changes what a lookup sees
    // (a script entity made or destroyed) calls NoteLayoutChange. Atomic because tables are also
    // made on other threads (loading); the kept results themselves belong to the script thread.
    static uint64_t GetLayoutVersion() { return s_LayoutVersion.load(std::memory_order_relaxed); }
    static void NoteLayoutChange() { s_LayoutVersion.fetch_add(1, std::memory_order_relaxed); }

private:
    GxMoaVariableSet* Append(std::unique_ptr<GxMoaVariableSet> set);

    int32_t m_TableKind;
    std::vector<std::unique_ptr<GxMoaVariableSet>> m_Sets;
    std::unordered_map<std::wstring, GxMoaVariableSet*> m_Index;
    std::unordered_set<std::wstring> m_AddedByRead;

    static std::atomic<uint64_t> s_LayoutVersion;
};
