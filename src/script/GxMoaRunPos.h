#pragma once
// A position in a script: a line index and a token index within that line (-1 = before the first
// token), with the stepping operations the statement interpreter moves by.

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;
class GxMoaScript;

class GxMoaRunPos
{
public:
    GxMoaRunPos() = default;
    GxMoaRunPos(int32_t line, int32_t pos) : m_Line(line), m_Pos(pos) {}
    GxMoaRunPos(const GxMoaRunPos&) = default;
    GxMoaRunPos& operator=(const GxMoaRunPos&) = default;
    virtual ~GxMoaRunPos() = default;

    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    // Next token, skipping lines without tokens; false (line = line count, pos 0) past the end.
    bool Advance(const GxMoaScript& script);
    // Next token of the same line; false at the line's end (pos = token count).
    bool AdvanceInLine(const GxMoaScript& script);
    // Previous token of the line, not below -1; true when the position is then a token.
    bool StepBack(const GxMoaScript& script);
    // Start of the next line; returns the check result of the position before the move.
    int NextLine(const GxMoaScript& script);
    // Moves token by token to the next "{"; false when the end of the script comes first.
    bool FindOpenBrace(const GxMoaScript& script);

    bool operator==(const GxMoaRunPos& o) const { return m_Line == o.m_Line && m_Pos == o.m_Pos; }

    int32_t m_Line = 0;
    int32_t m_Pos = -1;
};
