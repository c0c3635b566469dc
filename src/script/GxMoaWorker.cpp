#include "script/GxMoaWorker.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaRecordIO.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaScript.h"

#include <cstdarg>
#include <typeinfo>

using namespace GxMoaRecordIO;

namespace
{
constexpr size_t kValueStackReserve = 8;
constexpr size_t kReportLimit = 1024;
} // namespace

GxMoaWorker::GxMoaWorker(GxMoa* moa) : m_pMoa(moa)
{
    m_ValueStack.reserve(kValueStackReserve);
}

GxMoaWorker::~GxMoaWorker()
{
    m_ExecStack.clear();
    m_ValueStack.clear();
    m_ScriptEntities.clear();
}

GxMoaScriptEntity* GxMoaWorker::FindScriptEntity(const std::wstring& scriptName) const
{
    auto it = m_ScriptEntities.find(scriptName);
    return it == m_ScriptEntities.end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------------------------------------------
// Variables
// ---------------------------------------------------------------------------------------------------

GxMoaVariableSet* GxMoaWorker::FindVariable(const std::wstring& name) const
{
    if (!m_pMoa)
        return nullptr;
    if (GxMoaVariableSet* set = m_GlobalTable.Find(name))
        return set;
    return m_pMoa->GetVariableTable()->Find(name);
}

GxMoaVariableSet* GxMoaWorker::LookupVariable(const std::wstring& name, const GxMoaExecStackElement* frame) const
{
    if (!frame)
        frame = GetTopFrame();
    if (!frame)
        return FindVariable(name);
    if (GxMoaVariableSet* set = frame->m_LocalTable.Find(name))
        return set;
    if (frame->m_Pos.m_pEntity)
        return frame->m_Pos.m_pEntity->FindVariable(name);
    return FindVariable(name);
}

bool GxMoaWorker::WriteScriptEntities(GxContentWriterBase* writer, int32_t persistClass) const
{
    m_GlobalTable.Write(writer, persistClass);
    // The program's scripts and the records kept for scripts it lacks, in name order.
    std::map<std::wstring, const GxMoaScriptEntity*> records;
    const auto unknown = m_UnknownScriptRecords.find(persistClass);
    if (unknown != m_UnknownScriptRecords.end())
        for (const auto& entry : unknown->second)
            records.emplace(entry.first, entry.second.get());
    for (const auto& entry : m_ScriptEntities)
        records[entry.first] = entry.second.get();
    writer->Write("m_pScriptEntitySize", static_cast<int32_t>(records.size()));
    for (const auto& entry : records)
    {
        writer->WriteString("m_ScriptName", entry.first);
        entry.second->Write(writer, persistClass);
    }
    return writer->GetErrorCount() == 0;
}

bool GxMoaWorker::ReadScriptEntities(GxContentReaderBase* reader, int32_t persistClass)
{
    if (!m_GlobalTable.Read(reader, persistClass))
        return false;
    const int32_t count = reader->GetS32("m_pScriptEntitySize");
    if (!Ok(reader))
        return false;
    if (count < 0)
    {
        GxLog::Error(L"GxMoaWorker::ReadScriptEntities/スクリプト数が不正です(%d)\n", count);
        return false;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        const std::wstring name = reader->ReadStringW("m_ScriptName");
        if (!Ok(reader))
            return false;
        if (GxMoaScriptEntity* entity = FindScriptEntity(name))
        {
            if (!entity->Read(reader, persistClass))
                return false;
        }
        else
        {
            // A script no longer in the program: its record is read and dropped.
            GxMoaScriptEntity scratch(m_pMoa, this, nullptr);
            if (!scratch.Read(reader, persistClass))
                return false;
        }
    }
    return Ok(reader);
}

bool GxMoaWorker::ReloadScriptEntities(GxContentReaderBase* reader, int32_t persistClass)
{
    ResetVariablesOfClass(persistClass);
    bool ok = m_GlobalTable.Read(reader, persistClass);
    const int32_t count = ok ? reader->GetS32("m_pScriptEntitySize") : 0;
    if (ok && count < 0)
    {
        GxLog::Error(L"GxMoaWorker::ReloadScriptEntities/スクリプト数が不正です(%d)\n", count);
        ok = false;
    }
    for (int32_t i = 0; ok && Ok(reader) && i < count; ++i)
    {
        const std::wstring name = reader->ReadStringW("m_ScriptName");
        if (!Ok(reader))
            break;
        if (GxMoaScriptEntity* entity = FindScriptEntity(name))
            ok = entity->Reload(reader, persistClass);
        else
        {
            // A script the program lacks: its record is kept as read, to be written back.
            auto record = std::make_unique<GxMoaScriptEntity>(m_pMoa, this, nullptr);
            ok = record->Read(reader, persistClass);
            if (ok)
                m_UnknownScriptRecords[persistClass][name] = std::move(record);
        }
    }
    // Variables added to the program since the save get their initial values.
    RecreateGlobalVariables();
    return ok && Ok(reader);
}

void GxMoaWorker::CreateGlobalVariables()
{
    m_ScriptEntities.clear();
    m_GlobalTable.Clear();
    if (m_pMoa)
    {
        for (const GxMoaVariableDefinition& def : m_pMoa->m_VariableDefine)
            if (GxMoaScope::IsGlobal(def.m_Scope))
                m_GlobalTable.AddFromDefinition(def);
        for (const auto& entry : m_pMoa->m_ScriptDefine)
        {
            auto entity = std::make_unique<GxMoaScriptEntity>(m_pMoa, this, entry.second.get());
            entity->CreateStaticVariables();
            m_ScriptEntities.emplace(entry.first, std::move(entity));
        }
    }
    // Frames keep pointers to entities: point them at the new ones.
    for (auto& frame : m_ExecStack)
    {
        frame->m_Pos.m_pEntity = FindScriptEntity(frame->m_Pos.m_ScriptName);
        frame->m_pScript = nullptr;
    }
}

void GxMoaWorker::RecreateGlobalVariables()
{
    if (!m_pMoa)
        return;
    for (const GxMoaVariableDefinition& def : m_pMoa->m_VariableDefine)
        if (GxMoaScope::IsGlobal(def.m_Scope))
            m_GlobalTable.AddFromDefinition(def);
    for (auto& entry : m_ScriptEntities)
        entry.second->RecreateStaticVariables();
}

void GxMoaWorker::ResetVariablesOfClass(int32_t persistClass)
{
    if (persistClass == PERSIST_ALL)
        m_UnknownScriptRecords.clear();
    else
        m_UnknownScriptRecords.erase(persistClass);
    if (!m_pMoa)
        return;
    m_GlobalTable.ResetClass(
        persistClass, [](int32_t scope) { return GxMoaScope::IsGlobal(scope); },
        [this](const std::wstring& name) { return m_pMoa->FindVariableDefinition(name); });
    for (auto& entry : m_ScriptEntities)
        entry.second->ResetVariablesOfClass(persistClass);
}

void GxMoaWorker::Dump(std::wstring& out, int indent) const
{
    out += GxString::Format(L"----Worker:%s\n", m_Name.c_str());
    m_GlobalTable.Dump(out, indent);
    for (const auto& entry : m_ScriptEntities)
        entry.second->Dump(out, indent + 1);
    for (size_t i = 0; i < m_ExecStack.size(); ++i)
    {
        out += GxString::Format(L"------ExecStack:%d\n", static_cast<int>(i));
        m_ExecStack[i]->m_LocalTable.Dump(out, indent + 1);
    }
}

bool GxMoaWorker::ResetGame()
{
    Stop();
    ResetVariablesOfClass(PERSIST_INGAME);
    ResetVariablesOfClass(PERSIST_NOSAVE);
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Control
// ---------------------------------------------------------------------------------------------------

GxMoaScriptEntity* GxMoaWorker::GetContextEntity() const
{
    for (auto it = m_ExecStack.rbegin(); it != m_ExecStack.rend(); ++it)
        if ((*it)->m_BlockType == BLOCK_NORMAL)
            return (*it)->m_Pos.m_pEntity;
    return nullptr;
}

bool GxMoaWorker::PushLabelFrame(const std::wstring& label, const GxMoaScriptEntity* context,
                                 const GxMoaVariableSet* args, bool replace)
{
    const GxMoaLabelDefinition* def = m_pMoa ? m_pMoa->FindLabelForEntity(label, context) : nullptr;
    if (!def)
        return false;
    std::unique_ptr<GxMoaExecStackElement> frame;
    GxMoaScriptEntity* entity = nullptr;
    if (args)
    {
        // Filled before popping: args may live in a frame that is about to go.
        frame = std::make_unique<GxMoaExecStackElement>();
        frame->m_LocalTable.Add(args->m_Name, args->m_Value);
    }
    if (replace)
    {
        while (!m_ExecStack.empty() && m_ExecStack.back()->IsBlockFrame())
            m_ExecStack.pop_back();
        if (!m_ExecStack.empty())
        {
            // A jump without arguments reuses the storage of the frame it replaces; the new serial
            // tells anyone holding the old frame that it is gone.
            const GxMoaExecStackElement& replaced = *m_ExecStack.back();
            if (!frame && typeid(replaced) == typeid(GxMoaExecStackElement))
            {
                frame = std::move(m_ExecStack.back());
                // A jump within the script keeps the entity the frame already has (frames always
                // hold the entity of their script's name) instead of looking it up by name.
                if (frame->m_Pos.m_pEntity && frame->m_Pos.m_ScriptName == def->m_Pos.m_ScriptName)
                    entity = frame->m_Pos.m_pEntity;
                frame->Reset();
            }
            m_ExecStack.pop_back();
        }
    }
    if (!frame)
        frame = std::make_unique<GxMoaExecStackElement>();
    frame->m_BlockType = BLOCK_NORMAL;
    frame->m_Pos.m_Line = def->m_Pos.m_Line;
    frame->m_Pos.m_Pos = def->m_Pos.m_Pos;
    frame->m_Pos.m_ScriptName = def->m_Pos.m_ScriptName;
    if (!entity && !def->m_Pos.m_ScriptName.empty())
        entity = FindScriptEntity(def->m_Pos.m_ScriptName);
    frame->m_Pos.m_pEntity = entity;
    m_ExecStack.push_back(std::move(frame));
    return true;
}

bool GxMoaWorker::JumpToLabel(const std::wstring& label, const GxMoaVariableSet* args)
{
    return PushLabelFrame(label, GetContextEntity(), args, true);
}

bool GxMoaWorker::StartAtLabel(const std::wstring& label, const GxMoaVariableSet* args)
{
    Stop();
    return JumpToLabel(label, args);
}

bool GxMoaWorker::CallLabel(const std::wstring& label, const GxMoaVariableSet* args)
{
    return PushLabelFrame(label, GetContextEntity(), args, false);
}

bool GxMoaWorker::JumpToLabelInScript(const std::wstring& label, const std::wstring& scriptName,
                                      const GxMoaVariableSet* args)
{
    return PushLabelFrame(label, FindScriptEntity(scriptName), args, true);
}

bool GxMoaWorker::CallLabelInScript(const std::wstring& label, const std::wstring& scriptName,
                                    const GxMoaVariableSet* args)
{
    return PushLabelFrame(label, FindScriptEntity(scriptName), args, false);
}

bool GxMoaWorker::StartInScript(const std::wstring& scriptName, const std::wstring& label, const GxMoaVariableSet* args)
{
    Stop();
    return JumpToLabelInScript(label, scriptName, args);
}

bool GxMoaWorker::RestartInScript(const std::wstring& scriptName, const std::wstring& label,
                                  const GxMoaVariableSet* args)
{
    Stop();
    ResetVariablesOfClass(PERSIST_INGAME);
    ResetVariablesOfClass(PERSIST_NOSAVE);
    return JumpToLabelInScript(label, scriptName, args);
}

bool GxMoaWorker::Return(const GxMoaVariable* value)
{
    m_ReturnValue = value ? *value : GxMoaVariable();
    if (m_ExecStack.empty())
        return false;
    while (!m_ExecStack.empty() && m_ExecStack.back()->IsBlockFrame())
        m_ExecStack.pop_back();
    if (!m_ExecStack.empty())
        m_ExecStack.pop_back();
    return !m_ExecStack.empty();
}

void GxMoaWorker::Finish(const GxMoaVariable* value)
{
    m_ReturnValue = value ? *value : GxMoaVariable();
    m_ExecStack.clear();
    m_ValueStack.clear();
}

void GxMoaWorker::Stop()
{
    m_ExecStack.clear();
    m_ValueStack.clear();
    m_ValueStack.reserve(kValueStackReserve);
    m_ReturnValue.Clear();
}

// ---------------------------------------------------------------------------------------------------
// Queries and reports
// ---------------------------------------------------------------------------------------------------

std::wstring GxMoaWorker::GetCurrentScriptName(const GxMoaExecStackElement* frame) const
{
    if (!frame)
        frame = GetTopFrame();
    return frame ? frame->m_Pos.m_ScriptName : std::wstring();
}

int32_t GxMoaWorker::GetCurrentLineIndex(const GxMoaExecStackElement* frame) const
{
    if (!frame)
        frame = GetTopFrame();
    return frame ? frame->m_Pos.m_Line : -1;
}

int32_t GxMoaWorker::GetCurrentLine(const GxMoaExecStackElement* frame) const
{
    if (!frame)
        frame = GetTopFrame();
    if (!frame)
        return -1;
    const GxMoaScript* script = frame->m_Pos.m_pEntity ? frame->m_Pos.m_pEntity->m_pScript : nullptr;
    if (!script)
        return frame->m_Pos.m_Line;
    int32_t line = frame->m_Pos.m_Line - 1;
    if (line > script->GetLineCount() - 1)
        line = script->GetLineCount() - 1;
    for (; line >= 1; --line)
        if (script->GetTokenCount(line) > 0)
            return line + 1;
    return 0;
}

void GxMoaWorker::ReportErrorText(const GxMoaScript* script, const GxMoaExecStack* execStack, const wchar_t* where,
                                  const std::wstring& message)
{
    std::wstring scriptName = L"*";
    int32_t line = -1;
    if (script)
        scriptName = script->m_ScriptName;
    if (execStack && !execStack->empty())
        line = execStack->back()->m_Pos.m_Line;
    std::wstring text = message;
    if (text.size() >= kReportLimit)
        text.resize(kReportLimit - 1);
    if (m_pMoa)
        m_pMoa->Error(scriptName, line, L"%s:%s", where ? where : L"", text.c_str());
}

void GxMoaWorker::ReportError(const wchar_t* where, const GxMoaScriptEntity* entity, const GxMoaExecStack* execStack,
                              const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring message = GxString::FormatV(format, args);
    va_end(args);
    ReportErrorText(entity ? entity->m_pScript : nullptr, execStack, where, message);
}

void GxMoaWorker::ReportError(const wchar_t* where, const GxMoaScript* script, const GxMoaExecStack* execStack,
                              const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring message = GxString::FormatV(format, args);
    va_end(args);
    ReportErrorText(script, execStack, where, message);
}

// ---------------------------------------------------------------------------------------------------
// Worker record
// ---------------------------------------------------------------------------------------------------

bool GxMoaWorker::Write(GxContentWriterBase* writer) const
{
    writer->WriteString("m_Name", m_Name);
    writer->ListBegin("m_ExecStack", "", static_cast<uint32_t>(m_ExecStack.size()));
    for (const auto& frame : m_ExecStack)
        frame->Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_ValueStack", "", static_cast<uint32_t>(m_ValueStack.size()));
    for (const GxMoaVariable& v : m_ValueStack)
        v.Write(writer);
    writer->ListEnd();
    m_ReturnValue.Write(writer);
    return writer->GetErrorCount() == 0;
}

bool GxMoaWorker::ValidateFrame(const GxMoaExecStackElement& frame) const
{
    bool ok = frame.m_BlockType >= BLOCK_NONE && frame.m_BlockType <= BLOCK_SUB && frame.m_OpcodePos >= 0 &&
              static_cast<size_t>(frame.m_OpcodePos) <= frame.m_OpcodeList.size();
    const GxMoaScript* script = frame.m_Pos.m_pEntity ? frame.m_Pos.m_pEntity->m_pScript : nullptr;
    if (ok && script)
    {
        // A position is a token of a line, the place before a line's first token or after its last,
        // or the end of the script.
        const int32_t line = frame.m_Pos.m_Line;
        const int32_t pos = frame.m_Pos.m_Pos;
        const int32_t lineCount = script->GetLineCount();
        if (line == lineCount)
            ok = pos == 0;
        else
            ok = line >= 0 && line < lineCount && pos >= -1 && pos <= script->GetTokenCount(line);
    }
    if (!ok)
        GxLog::Error(L"GxMoaWorker::Read/実行位置が不正です[Script=\"%s\"/line=%d/pos=%d/block=%d]\n",
                     frame.m_Pos.m_ScriptName.c_str(), frame.m_Pos.m_Line, frame.m_Pos.m_Pos, frame.m_BlockType);
    return ok;
}

bool GxMoaWorker::Read(GxContentReaderBase* reader)
{
    // A record that cannot be read whole leaves the worker stopped, never half restored.
    auto fail = [this]()
    {
        Stop();
        return false;
    };
    m_LackedScript.clear();
    m_Name = reader->ReadStringW("m_Name");
    m_ExecStack.clear();
    uint32_t count = 0;
    if (!BeginList(reader, "m_ExecStack", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        auto frame = std::make_unique<GxMoaExecStackElement>();
        if (!frame->Read(reader, this))
            return fail();
        // A frame in a script the program lacks (a damaged or changed program) cannot be run again: the
        // record is refused here, once, instead of failing at every step after the restore.
        if (!frame->m_Pos.m_ScriptName.empty() && !frame->m_Pos.m_pEntity)
        {
            m_LackedScript = frame->m_Pos.m_ScriptName;
            GxLog::Error(L"GxMoaWorker::Read/実行位置のスクリプトがプログラムにないため復元できません[Script=\"%s\"]\n",
                         m_LackedScript.c_str());
            return fail();
        }
        if (!ValidateFrame(*frame))
            return fail();
        m_ExecStack.push_back(std::move(frame));
    }
    if (!EndList(reader))
        return fail();
    m_ValueStack.clear();
    m_ValueStack.reserve(kValueStackReserve);
    if (!BeginList(reader, "m_ValueStack", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        m_ValueStack.emplace_back();
        if (!m_ValueStack.back().Read(reader))
            return fail();
    }
    if (!EndList(reader) || !m_ReturnValue.Read(reader))
        return fail();
    return true;
}
