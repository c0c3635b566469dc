#pragma once
// The adventure game's runtime: writes the runtime's log lines to the debug log, and warnings and
// errors as "warn:" and "err:" lines with the script name and the 1-based line.

#include "script/GxMoa.h"

class GxMoaEx : public GxMoa
{
public:
    // Reports are formatted into at most this many characters.
    static constexpr size_t kMessageLimit = 1024;

    void Log(const wchar_t* format, ...) override;
    void Warning(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...) override;
    void Error(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...) override;
};
