#include "script/GxMoaParseCache.h"

#include "script/GxMoaScript.h"

const GxMoaParseCache::Entry* GxMoaParseCache::Find(const GxMoaScript& script, const GxMoaRunPos& start)
{
    const GxMoaParseCache* cache = script.m_pParseCache.get();
    if (!cache || start.m_Line < 0 || static_cast<size_t>(start.m_Line) >= cache->m_Lines.size())
        return nullptr;
    for (const Entry& e : cache->m_Lines[static_cast<size_t>(start.m_Line)])
        if (e.m_Pos == start.m_Pos)
            return &e;
    return nullptr;
}

std::shared_ptr<const GxMoaParsedExpression> GxMoaParseCache::Store(const GxMoaScript& script, const GxMoaRunPos& start,
                                                                    const GxMoaRunPos& end, bool breakpoint,
                                                                    const std::vector<GxMoaVariable>& list)
{
    if (script.CheckPos(start) != 1)
        return nullptr;
    if (!script.m_pParseCache)
        script.m_pParseCache = std::make_shared<GxMoaParseCache>();
    GxMoaParseCache& cache = *script.m_pParseCache;
    if (cache.m_Lines.size() < static_cast<size_t>(script.GetLineCount()))
        cache.m_Lines.resize(static_cast<size_t>(script.GetLineCount()));
    std::vector<Entry>& line = cache.m_Lines[static_cast<size_t>(start.m_Line)];
    for (const Entry& e : line)
        if (e.m_Pos == start.m_Pos)
            return e.m_pParsed;
    Entry entry;
    entry.m_Pos = start.m_Pos;
    entry.m_End = end;
    entry.m_Breakpoint = breakpoint;
    entry.m_pParsed = std::make_shared<const GxMoaParsedExpression>(list);
    line.push_back(std::move(entry));
    return line.back().m_pParsed;
}
