#include "MoaExpressionCheck.h"

#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaParser.h"
#include "script/GxMoaScript.h"

#include <cstdarg>

namespace
{
// Keeps the first message the parser reports instead of counting it.
class MessageKeeper : public GxMoa
{
public:
    void Error(const std::wstring&, int32_t, const wchar_t* format, ...) override
    {
        if (!m_Message.empty())
            return;
        va_list args;
        va_start(args, format);
        m_Message = GxString::FormatV(format, args);
        va_end(args);
    }
    std::wstring m_Message;
};
} // namespace

bool MoaExpressionCheck::Check(const std::vector<GxMoaToken>& tokens, size_t begin, size_t end, std::string& message)
{
    MessageKeeper keeper;
    GxMoaScript script(&keeper);
    script.m_Lines.resize(1);
    script.m_Lines[0].m_Tokens = tokens;
    GxMoaRunPos pos(0, static_cast<int32_t>(begin));
    GxMoaOpcodeList list;
    if (!GxMoaParser::Phase_Expr(script, pos, list))
    {
        message = "the runtime cannot parse this expression: " + GxString::ToUtf8(keeper.m_Message);
        return false;
    }
    if (pos.m_Line == 0 && pos.m_Pos >= 0 && static_cast<size_t>(pos.m_Pos) == end)
        return true;
    if (pos.m_Line == 0 && pos.m_Pos >= 0 && static_cast<size_t>(pos.m_Pos) < end)
        message = "the expression ends before '" + GxString::ToUtf8(tokens[static_cast<size_t>(pos.m_Pos)].ToString()) +
                  "', which the runtime cannot run";
    else
        message = "the expression runs past its end";
    return false;
}
