#include "script/GxMoaScript.h"

#include "script/GxMoaRecordIO.h"

using namespace GxMoaRecordIO;

const GxMoaToken& GxMoaScript::EndToken()
{
    static const GxMoaToken s_End;
    return s_End;
}

void GxMoaScript::Clear()
{
    m_ScriptName.clear();
    m_LabelDefine.clear();
    m_VariableDefine.clear();
    m_Lines.clear();
    m_pParseCache.reset();
}

GxMoaLabelDefinition* GxMoaScript::FindLabel(const std::wstring& name) const
{
    auto it = m_LabelDefine.find(name);
    return it == m_LabelDefine.end() ? nullptr : it->second.get();
}

const GxMoaVariableDefinition* GxMoaScript::FindVariableDefinition(const std::wstring& name) const
{
    return m_VariableDefine.Find(name);
}

bool GxMoaScript::AddLabel(const GxMoaLabelDefinition& label)
{
    if (m_LabelDefine.count(label.m_Name))
        return false;
    m_LabelDefine.emplace(label.m_Name, std::make_unique<GxMoaLabelDefinition>(label));
    return true;
}

bool GxMoaScript::Write(GxContentWriterBase* writer) const
{
    writer->WriteString("m_ScriptName", m_ScriptName);
    writer->ListBegin("m_pLabelDefine", "", static_cast<uint32_t>(m_LabelDefine.size()));
    for (const auto& entry : m_LabelDefine)
        entry.second->Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_VariableDefine", "", static_cast<uint32_t>(m_VariableDefine.size()));
    for (const GxMoaVariableDefinition& def : m_VariableDefine)
        def.Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_Lines", "", static_cast<uint32_t>(m_Lines.size()));
    for (const GxMoaScriptStep& step : m_Lines)
    {
        writer->ListBegin("m_Tokens", "", static_cast<uint32_t>(step.m_Tokens.size()));
        for (const GxMoaToken& token : step.m_Tokens)
            token.Write(writer);
        writer->ListEnd();
    }
    writer->ListEnd();
    return writer->GetErrorCount() == 0;
}

bool GxMoaScript::Read(GxContentReaderBase* reader)
{
    Clear();
    m_ScriptName = reader->ReadStringW("m_ScriptName");

    uint32_t count = 0;
    if (!BeginList(reader, "m_pLabelDefine", count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        auto label = std::make_unique<GxMoaLabelDefinition>();
        if (!label->Read(reader))
            return false;
        // The first of two labels with one name is kept.
        m_LabelDefine.emplace(label->m_Name, std::move(label));
    }
    if (!EndList(reader) || !BeginList(reader, "m_VariableDefine", count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        GxMoaVariableDefinition def;
        if (!def.Read(reader))
            return false;
        m_VariableDefine.push_back(std::move(def));
    }
    if (!EndList(reader) || !BeginList(reader, "m_Lines", count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t tokenCount = 0;
        if (!BeginList(reader, "m_Tokens", tokenCount))
            return false;
        m_Lines.emplace_back();
        std::vector<GxMoaToken>& tokens = m_Lines.back().m_Tokens;
        for (uint32_t t = 0; t < tokenCount; ++t)
        {
            tokens.emplace_back();
            if (!tokens.back().Read(reader))
                return false;
        }
        if (!EndList(reader))
            return false;
    }
    return EndList(reader);
}
