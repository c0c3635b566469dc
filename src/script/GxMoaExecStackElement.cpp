#include "script/GxMoaExecStackElement.h"

#include "script/GxMoaRecordIO.h"
#include "script/GxMoaWorker.h"

using namespace GxMoaRecordIO;

namespace
{
uint64_t NextSerial()
{
    static uint64_t s_NextSerial = 0;
    return ++s_NextSerial;
}
} // namespace

GxMoaExecStackElement::GxMoaExecStackElement() : m_Serial(NextSerial()) {}

void GxMoaExecStackElement::Reset()
{
    m_BlockType = BLOCK_NONE;
    m_Pos = GxMoaScriptPos();
    m_LocalTable.Clear();
    m_OpcodeList.clear();
    m_OpcodePos = 0;
    m_pScript = nullptr;
    m_Serial = NextSerial();
}

const wchar_t* GxMoaExecStackElement::BlockTypeLabel(int32_t blockType)
{
    switch (blockType)
    {
    case BLOCK_NORMAL:
        return L"通常ブロック";
    case BLOCK_FUNCTION:
        return L"関数ブロック";
    case BLOCK_IF:
        return L"IFブロック";
    case BLOCK_ELSE:
        return L"ELSEブロック";
    case BLOCK_WHILE:
        return L"WHILEブロック";
    case BLOCK_FOR:
        return L"FORブロック";
    case BLOCK_DO:
        return L"DOブロック";
    case BLOCK_SUB:
        return L"通常SUBブロック";
    default:
        return L"不明";
    }
}

bool GxMoaExecStackElement::Write(GxContentWriterBase* writer) const
{
    writer->Write("m_BlockType", static_cast<int32_t>(m_BlockType));
    m_Pos.Write(writer);
    m_LocalTable.Write(writer, 0);
    writer->ListBegin("m_OpcodeList", "", static_cast<uint32_t>(m_OpcodeList.size()));
    for (const GxMoaVariable& v : m_OpcodeList)
        v.Write(writer);
    writer->ListEnd();
    writer->Write("m_OpcodePos", static_cast<int32_t>(m_OpcodePos));
    return writer->GetErrorCount() == 0;
}

bool GxMoaExecStackElement::Read(GxContentReaderBase* reader, GxMoaWorker* worker)
{
    m_BlockType = reader->GetS32("m_BlockType");
    if (!m_Pos.Read(reader))
        return false;
    m_pScript = nullptr;
    m_Pos.m_pEntity = (worker && !m_Pos.m_ScriptName.empty()) ? worker->FindScriptEntity(m_Pos.m_ScriptName) : nullptr;
    m_LocalTable.Clear();
    if (!m_LocalTable.Read(reader, 0))
        return false;
    m_OpcodeList.clear();
    m_OpcodePos = 0;
    uint32_t count = 0;
    if (!BeginList(reader, "m_OpcodeList", count))
        return false;
    GxMoaFrameOpcodeList::List& list = m_OpcodeList.Edit();
    for (uint32_t i = 0; i < count; ++i)
    {
        list.emplace_back();
        if (!list.back().Read(reader))
            return false;
    }
    if (!EndList(reader))
        return false;
    m_OpcodePos = reader->GetS32("m_OpcodePos");
    return Ok(reader);
}
