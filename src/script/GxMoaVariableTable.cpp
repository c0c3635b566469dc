#include "script/GxMoaVariableTable.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoaRecordIO.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaVariableDefinition.h"

using namespace GxMoaRecordIO;

std::atomic<uint64_t> GxMoaVariableTable::s_LayoutVersion{1};

GxMoaVariableTable::~GxMoaVariableTable()
{
    if (!m_Sets.empty())
        NoteLayoutChange();
}

GxMoaVariableTable::GxMoaVariableTable(const GxMoaVariableTable& other)
    : m_TableKind(other.m_TableKind), m_AddedByRead(other.m_AddedByRead)
{
    for (const auto& set : other.m_Sets)
        Append(std::make_unique<GxMoaVariableSet>(*set));
}

GxMoaVariableTable& GxMoaVariableTable::operator=(const GxMoaVariableTable& other)
{
    if (this != &other)
    {
        Clear();
        m_TableKind = other.m_TableKind;
        m_AddedByRead = other.m_AddedByRead;
        for (const auto& set : other.m_Sets)
            Append(std::make_unique<GxMoaVariableSet>(*set));
    }
    return *this;
}

GxMoaVariableSet* GxMoaVariableTable::Append(std::unique_ptr<GxMoaVariableSet> set)
{
    GxMoaVariableSet* raw = set.get();
    NoteLayoutChange();
    m_Index.emplace(raw->m_Name, raw);
    m_Sets.push_back(std::move(set));
    return raw;
}

GxMoaVariableSet* GxMoaVariableTable::Find(const std::wstring& name) const
{
    auto it = m_Index.find(name);
    return it == m_Index.end() ? nullptr : it->second;
}

void GxMoaVariableTable::Add(const std::wstring& name, const GxMoaVariable& value)
{
    if (!Find(name))
        Append(std::make_unique<GxMoaVariableSet>(name, value, SCOPE_LOCAL));
}

void GxMoaVariableTable::AddFromDefinition(const GxMoaVariableDefinition& def)
{
    if (Find(def.m_Name))
        return;
    GxMoaVariableSet* set = Append(std::make_unique<GxMoaVariableSet>(def.m_Name, GxMoaVariable(), def.m_Scope));
    ResetFromDefinition(*set, &def);
}

void GxMoaVariableTable::ResetFromDefinition(GxMoaVariableSet& set, const GxMoaVariableDefinition* def)
{
    if (!def)
    {
        set.m_Value.Clear();
        return;
    }
    set.m_Value.Assign(def->m_InitValue);
    if (def->m_ArraySize >= 0 && !set.m_Value.IsArray())
        set.m_Value.MakeArray(def->m_ArraySize);
}

void GxMoaVariableTable::ResetClass(
    int32_t persistClass, const std::function<bool(int32_t scope)>& inScope,
    const std::function<const GxMoaVariableDefinition*(const std::wstring& name)>& definitionOf)
{
    // The sets that stay slide down over the removed ones in the same pass, in their order: a slot can
    // name hundreds of thousands of variables, and erasing them one at a time would move the rest of the
    // table once for each.
    size_t kept = 0;
    for (size_t i = 0; i < m_Sets.size(); ++i)
    {
        GxMoaVariableSet& set = *m_Sets[i];
        bool keep = true;
        if (GxMoaScope::IsInClass(set.m_Scope, persistClass))
        {
            const GxMoaVariableDefinition* def = definitionOf(set.m_Name);
            // A name only a file gave goes whatever scope the file gave it, as the read took it by class.
            if (!def && m_AddedByRead.erase(set.m_Name) != 0)
            {
                m_Index.erase(set.m_Name);
                keep = false;
            }
            else if (inScope(set.m_Scope))
                ResetFromDefinition(set, def);
        }
        if (!keep)
            continue;
        if (kept != i)
            m_Sets[kept] = std::move(m_Sets[i]); // frees the removed set that held this place
        ++kept;
    }
    if (kept != m_Sets.size())
    {
        m_Sets.resize(kept);
        NoteLayoutChange();
    }
}

int32_t GxMoaVariableTable::GetDefaultScope() const
{
    switch (m_TableKind)
    {
    case TABLE_STATIC:
        return SCOPE_STATIC_INGAME;
    case TABLE_GLOBAL:
        return SCOPE_GLOBAL_INGAME;
    case TABLE_EXTERN:
        return SCOPE_EXTERN_INGAME;
    default:
        return SCOPE_LOCAL;
    }
}

GxMoaVariableSet* GxMoaVariableTable::StoreByName(const std::wstring& name, int64_t index, const GxMoaVariable* value)
{
    if (index >= GxMoaVariable::kMaxArraySize)
        return nullptr;
    GxMoaVariableSet* set = Find(name);
    if (!set)
        set = Append(std::make_unique<GxMoaVariableSet>(name, GxMoaVariable(), GetDefaultScope()));
    set->m_Value.Store(index, value ? *value : GxMoaVariable());
    return set;
}

void GxMoaVariableTable::Clear()
{
    if (!m_Sets.empty())
        NoteLayoutChange();
    m_Index.clear();
    m_Sets.clear();
    m_AddedByRead.clear();
}

void GxMoaVariableTable::Dump(std::wstring& out, int indent) const
{
    for (const auto& set : m_Sets)
    {
        out += GxString::Format(L"Scope:%s\n", GxMoaScope::Name(set->m_Scope));
        out += GxMoaVariable::DumpText(set->m_Value, set->m_Name, indent);
    }
}

bool GxMoaVariableTable::Write(GxContentWriterBase* writer, int32_t persistClass) const
{
    int32_t count = 0;
    for (const auto& set : m_Sets)
        if (GxMoaScope::IsInClass(set->m_Scope, persistClass))
            ++count;
    writer->Write("m_VariablesSize", count);
    for (const auto& set : m_Sets)
        if (GxMoaScope::IsInClass(set->m_Scope, persistClass))
            set->Write(writer);
    return writer->GetErrorCount() == 0;
}

bool GxMoaVariableTable::Read(GxContentReaderBase* reader, int32_t persistClass)
{
    const int32_t count = reader->GetS32("m_VariablesSize");
    if (!Ok(reader))
        return false;
    if (count < 0)
    {
        GxLog::Error(L"GxMoaVariableTable::Read/変数の数が不正です(%d)\n", count);
        return false;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        auto record = std::make_unique<GxMoaVariableSet>();
        if (!record->Read(reader))
            return false;
        if (!GxMoaScope::IsInClass(record->m_Scope, persistClass))
            continue;
        if (GxMoaVariableSet* existing = Find(record->m_Name))
            existing->m_Value = std::move(record->m_Value);
        else
        {
            m_AddedByRead.insert(record->m_Name);
            Append(std::move(record));
        }
    }
    return Ok(reader);
}
