#include "script/GxMoaRunPos.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "script/GxMoaScript.h"

bool GxMoaRunPos::Write(GxContentWriterBase* writer) const
{
    writer->Write("m_Line", static_cast<int32_t>(m_Line));
    writer->Write("m_Pos", static_cast<int32_t>(m_Pos));
    return writer->GetErrorCount() == 0;
}

bool GxMoaRunPos::Read(GxContentReaderBase* reader)
{
    m_Line = reader->GetS32("m_Line");
    m_Pos = reader->GetS32("m_Pos");
    return reader->GetErrorCount() == 0;
}

bool GxMoaRunPos::Advance(const GxMoaScript& script)
{
    const int32_t lineCount = script.GetLineCount();
    if (m_Line < 0)
    {
        m_Line = 0;
        m_Pos = -1;
    }
    if (m_Line < lineCount)
    {
        if (m_Pos < -1)
            m_Pos = -1;
        if (m_Pos + 1 < script.GetTokenCount(m_Line))
        {
            ++m_Pos;
            return true;
        }
        for (int32_t line = m_Line + 1; line < lineCount; ++line)
        {
            if (script.GetTokenCount(line) > 0)
            {
                m_Line = line;
                m_Pos = 0;
                return true;
            }
        }
    }
    m_Line = lineCount;
    m_Pos = 0;
    return false;
}

bool GxMoaRunPos::AdvanceInLine(const GxMoaScript& script)
{
    const int32_t lineCount = script.GetLineCount();
    if (m_Line >= lineCount)
    {
        m_Line = lineCount;
        m_Pos = 0;
        return false;
    }
    if (m_Line < 0)
        return false;
    const int32_t count = script.GetTokenCount(m_Line);
    if (m_Pos < -1)
        m_Pos = -1;
    ++m_Pos;
    if (m_Pos < count)
        return true;
    m_Pos = count;
    return false;
}

bool GxMoaRunPos::StepBack(const GxMoaScript& script)
{
    const int32_t lineCount = script.GetLineCount();
    if (m_Line < 0)
    {
        m_Line = -1;
        m_Pos = 0;
        return false;
    }
    if (m_Line >= lineCount)
    {
        m_Line = lineCount;
        m_Pos = 0;
        return false;
    }
    m_Pos = m_Pos - 1 < -1 ? -1 : m_Pos - 1;
    return script.CheckPos(*this) == 1;
}

int GxMoaRunPos::NextLine(const GxMoaScript& script)
{
    const int check = script.CheckPos(*this);
    if (check != -2)
    {
        ++m_Line;
        m_Pos = 0;
    }
    return check;
}

bool GxMoaRunPos::FindOpenBrace(const GxMoaScript& script)
{
    for (;;)
    {
        if (script.CheckPos(*this) == 1)
        {
            const uint16_t kind = script.GetToken(*this).m_Kind;
            if (kind == TK_BRACE_OPEN)
                return true;
            if (kind == TK_SCRIPT_END)
                return false;
        }
        if (!Advance(script))
            return false;
    }
}
