#pragma once

#include <cstdint>

// Error lines of the task tree. FIXME: forwards to GxLog::Error once the log service is in the tree;
// until then only the count is kept.
class GxTaskLog
{
public:
    template <class... Args> static void Error(const wchar_t* format, Args... args)
    {
        (void)format;
        ((void)args, ...);
        ++s_ErrorCount;
    }
    static uint32_t GetErrorCount() { return s_ErrorCount; }

private:
    static uint32_t s_ErrorCount;
};
