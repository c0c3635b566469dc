#include "script/GxMoaEx.h"

#include "core/GxLog.h"
#include "core/GxString.h"

#include <cstdarg>

namespace
{
std::wstring Limit(std::wstring text)
{
    if (text.size() >= GxMoaEx::kMessageLimit)
        text.resize(GxMoaEx::kMessageLimit - 1);
    return text;
}
} // namespace

void GxMoaEx::Log(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring text = Limit(GxString::FormatV(format, args));
    va_end(args);
    GxLog::Debug(L"%s\n", text.c_str());
}

void GxMoaEx::Warning(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...)
{
    ++m_WarningCount;
    va_list args;
    va_start(args, format);
    const std::wstring text = Limit(GxString::FormatV(format, args));
    va_end(args);
    GxLog::SlightError(L"warn:[Script=\"%s\"/line=%d] %s\n", scriptName.c_str(), line + 1, text.c_str());
}

void GxMoaEx::Error(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...)
{
    ++m_ErrorCount;
    va_list args;
    va_start(args, format);
    const std::wstring text = Limit(GxString::FormatV(format, args));
    va_end(args);
    GxLog::Error(L"err:[Script=\"%s\"/line=%d] %s\n", scriptName.c_str(), line + 1, text.c_str());
}
