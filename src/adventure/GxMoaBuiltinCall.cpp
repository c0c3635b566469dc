#include "adventure/GxMoaBuiltinCall.h"

#include "core/GxString.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaWorker.h"

#include <cstdarg>

GxMoaVariable* GxMoaBuiltinCall::Arg(int32_t i) const
{
    if (!m_Args.IsArray() || i < 0)
        return nullptr;
    // GetElement grows the array with Nulls up to i.
    return m_Args.GetElement(i);
}

int64_t GxMoaBuiltinCall::ArgInt64(int32_t i) const
{
    const GxMoaVariable* v = Arg(i);
    return v ? v->ToInt64() : 0;
}

int32_t GxMoaBuiltinCall::ArgInt(int32_t i) const
{
    const GxMoaVariable* v = Arg(i);
    return v ? v->ToInt() : 0;
}

double GxMoaBuiltinCall::ArgFloat(int32_t i) const
{
    const GxMoaVariable* v = Arg(i);
    return v ? v->ToFloat() : 0.0;
}

std::wstring GxMoaBuiltinCall::ArgString(int32_t i) const
{
    const GxMoaVariable* v = Arg(i);
    return v ? v->ToString() : std::wstring();
}

bool GxMoaBuiltinCall::Has(int32_t i) const
{
    const GxMoaVariable* v = Arg(i);
    return v && !v->IsNull() && !v->ToString().empty();
}

bool GxMoaBuiltinCall::Fail(const wchar_t* format, ...) const
{
    va_list args;
    va_start(args, format);
    const std::wstring message = GxString::FormatV(format, args);
    va_end(args);
    if (m_Worker)
        m_Worker->ReportError(m_Name.c_str(), m_Script, &m_ExecStack, L"%s", message.c_str());
    return false;
}
