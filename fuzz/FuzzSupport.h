// Shared by the fuzz targets that reach the engine's logs or write a scratch file. A run makes millions
// of calls that each may log a complaint: the logs go nowhere instead of growing in the working folder.
// The scratch file lives in the temporary folder, one per process, and goes when the process ends.
#pragma once

#include "core/GxLog.h"

#include <cstdio>
#include <string>
#include <unistd.h>

inline void FuzzQuietLogs()
{
    static const bool s_Quiet = []
    {
        GxLog::SetErrorLogPath(L"");
        GxLog::SetDebugLogPath(L"");
        GxLog::SetDeviceLogPath(L"");
        return true;
    }();
    (void)s_Quiet;
}

class FuzzScratchFile
{
public:
    FuzzScratchFile(const char* stem, const char* extension)
        : m_Path(std::string("/tmp/") + stem + std::to_string(getpid()) + extension)
    {
    }
    ~FuzzScratchFile() { std::remove(m_Path.c_str()); }
    FuzzScratchFile(const FuzzScratchFile&) = delete;
    FuzzScratchFile& operator=(const FuzzScratchFile&) = delete;

    const std::string& Path() const { return m_Path; }
    std::wstring WidePath() const { return std::wstring(m_Path.begin(), m_Path.end()); }
    // Replaces the file's content; false when it cannot be written.
    bool Write(const uint8_t* data, size_t size) const
    {
        FILE* f = std::fopen(m_Path.c_str(), "wb");
        if (!f)
            return false;
        const bool ok = std::fwrite(data, 1, size, f) == size;
        return std::fclose(f) == 0 && ok;
    }

private:
    std::string m_Path;
};
