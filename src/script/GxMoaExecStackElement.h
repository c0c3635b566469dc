#pragma once
// One frame of a worker's execution stack: its block type, its position, its LOCAL variables and the
// opcode list of the expression being evaluated with the index of the next entry.

#include "script/GxMoaFrameOpcodeList.h"
#include "script/GxMoaScriptPos.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaVariableTable.h"

#include <cstdint>
#include <memory>
#include <vector>

class GxMoaScript;
class GxMoaWorker;

enum GxMoaBlockType : int32_t
{
    BLOCK_NONE = 0,
    BLOCK_NORMAL = 1,
    BLOCK_FUNCTION = 2,
    BLOCK_IF = 3,
    BLOCK_ELSE = 4,
    BLOCK_WHILE = 5,
    BLOCK_FOR = 6,
    BLOCK_DO = 7,
    BLOCK_SUB = 8,
};

class GxMoaExecStackElement
{
public:
    GxMoaExecStackElement();
    virtual ~GxMoaExecStackElement() = default;

    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader, GxMoaWorker* worker);

    // Makes the frame what a new frame is, with a new serial, keeping the storage of its LOCAL table
    // and opcode list for reuse (a jump replaces the running frame this way).
    void Reset();

    // Frames of types 3 to 8 are blocks inside a frame of type 1: jumps and returns drop them.
    bool IsBlockFrame() const { return m_BlockType >= BLOCK_IF && m_BlockType <= BLOCK_SUB; }
    // The label shown for a block type; "不明" for an unknown one.
    static const wchar_t* BlockTypeLabel(int32_t blockType);

    int32_t m_BlockType = BLOCK_NONE;
    GxMoaScriptPos m_Pos;
    GxMoaVariableTable m_LocalTable{TABLE_LOCAL};
    GxMoaFrameOpcodeList m_OpcodeList;
    int32_t m_OpcodePos = 0;
    // The frame's script, found by name the first time the frame runs (not stored).
    GxMoaScript* m_pScript = nullptr;
    // Unique for the process (not stored): a frame that replaces a popped one may reuse its address,
    // never its serial, so code that holds a frame across a builtin call can tell them apart.
    uint64_t m_Serial;
};

// Frames live at stable addresses while frames are pushed and popped above them.
using GxMoaExecStack = std::vector<std::unique_ptr<GxMoaExecStackElement>>;
