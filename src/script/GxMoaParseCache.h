#pragma once
// Parsed expressions of one script, by the position where each begins. A line parses to the same
// opcode list every time it runs, so the list of a successful parse is kept and shared with the frame
// on the next run instead of parsing the tokens again; what a parse does besides (raising the
// breakpoint flag) is kept with it and repeated. Failed parses are never kept: they are parsed and
// reported again, as before.

#include "script/GxMoaParsedExpression.h"
#include "script/GxMoaRunPos.h"
#include "script/GxMoaVariable.h"

#include <cstdint>
#include <memory>
#include <vector>

class GxMoaScript;

class GxMoaParseCache
{
public:
    struct Entry
    {
        int32_t m_Pos = 0;
        GxMoaRunPos m_End;
        bool m_Breakpoint = false;
        std::shared_ptr<const GxMoaParsedExpression> m_pParsed;
    };

    // The kept parse of the expression that begins at the position, or null.
    static const Entry* Find(const GxMoaScript& script, const GxMoaRunPos& start);
    // Keeps a copy of the list; returns the kept expression (the one kept before when there is one),
    // or null when the start is not a token of the script.
    static std::shared_ptr<const GxMoaParsedExpression> Store(const GxMoaScript& script, const GxMoaRunPos& start,
                                                              const GxMoaRunPos& end, bool breakpoint,
                                                              const std::vector<GxMoaVariable>& list);

private:
    std::vector<std::vector<Entry>> m_Lines;
};
