#include "script/GxMoaFrameOpcodeList.h"

GxMoaFrameOpcodeList& GxMoaFrameOpcodeList::operator=(const List& list)
{
    m_pShared.reset();
    m_Own = list;
    return *this;
}

GxMoaFrameOpcodeList& GxMoaFrameOpcodeList::operator=(List&& list)
{
    m_pShared.reset();
    m_Own = std::move(list);
    return *this;
}

void GxMoaFrameOpcodeList::Share(const std::shared_ptr<const GxMoaParsedExpression>& parsed)
{
    // A statement that runs again keeps the expression it already holds (no count traffic).
    if (m_pShared != parsed)
        m_pShared = parsed;
    m_Own.clear();
}

GxMoaFrameOpcodeList::List& GxMoaFrameOpcodeList::Edit()
{
    if (m_pShared)
    {
        m_Own = m_pShared->GetList();
        m_pShared.reset();
    }
    return m_Own;
}

void GxMoaFrameOpcodeList::clear()
{
    m_pShared.reset();
    m_Own.clear();
}
