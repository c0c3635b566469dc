#pragma once
// One worker's instance of one script: the script's STATIC variables.

#include "script/GxMoaVariableTable.h"

#include <cstdint>
#include <string>

class GxMoa;
class GxMoaScript;
class GxMoaWorker;

class GxMoaScriptEntity
{
public:
    GxMoaScriptEntity(GxMoa* moa, GxMoaWorker* worker, GxMoaScript* script)
        : m_pMoa(moa), m_pWorker(worker), m_pScript(script)
    {
        // A new entity may take a destroyed one's address: lookup results kept for that address go.
        GxMoaVariableTable::NoteLayoutChange();
    }
    virtual ~GxMoaScriptEntity() { GxMoaVariableTable::NoteLayoutChange(); }

    virtual bool Write(GxContentWriterBase* writer, int32_t persistClass) const;
    virtual bool Read(GxContentReaderBase* reader, int32_t persistClass);
    virtual bool Reload(GxContentReaderBase* reader, int32_t persistClass);

    // STATIC, then the worker's GLOBAL, then the runtime's EXTERN variables.
    GxMoaVariableSet* FindVariable(const std::wstring& name) const;
    void CreateStaticVariables();
    void RecreateStaticVariables();
    void ResetVariablesOfClass(int32_t persistClass);
    void Dump(std::wstring& out, int indent) const;

    GxMoa* m_pMoa;
    GxMoaWorker* m_pWorker;
    GxMoaScript* m_pScript;
    GxMoaVariableTable m_Table{TABLE_STATIC};
};
