#pragma once

// Helpers shared by the data-table tests: a scratch folder, text files in each encoding a table file may
// be saved in, and a capture of the error lines written meanwhile.

// Every table class, so that a test names none of their headers.
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBEffect.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "core/GxDebugListenerBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "support/SampleGameCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace dbtest
{

class TempFolder
{
public:
    TempFolder()
    {
        static std::atomic<int> s_Counter{0};
        m_Path = std::filesystem::temp_directory_path() /
                 ("kv_appdata_" + std::to_string(getpid()) + "_" + std::to_string(s_Counter++));
        std::filesystem::create_directories(m_Path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The wide path of a file in the folder.
    std::wstring File(const std::wstring& name) const
    {
        return GxString::FromUtf8((m_Path / GxString::ToUtf8(name)).string());
    }
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

enum class Encoding
{
    Utf8Bom,
    Utf16LeBom,
    Cp932,
    Utf16BeBom,
};

inline std::string Encode(const std::wstring& text, Encoding encoding)
{
    switch (encoding)
    {
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + GxString::ToUtf8(text);
    case Encoding::Utf16LeBom:
        return std::string("\xFF\xFE", 2) + GxString::ToUtf16LE(text);
    case Encoding::Cp932:
        return GxString::ToMultiByte(text);
    case Encoding::Utf16BeBom:
    {
        std::string le = GxString::ToUtf16LE(text);
        for (size_t i = 0; i + 1 < le.size(); i += 2)
            std::swap(le[i], le[i + 1]);
        return std::string("\xFE\xFF", 2) + le;
    }
    }
    return {};
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(GxString::ToUtf8(path)).parent_path());
    std::ofstream out(GxString::ToUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

inline void WriteText(const std::wstring& path, const std::wstring& text, Encoding encoding = Encoding::Utf8Bom)
{
    WriteBytes(path, Encode(text, encoding));
}

// Collects the error lines echoed while it lives; the error and debug logs go into the scratch folder.
class LogCapture : public GxDebugListenerBase
{
public:
    explicit LogCapture(const TempFolder& folder)
        : m_OldConsole(GxLog::GetConsole()), m_OldErrorLog(GxLog::GetErrorLogPath()),
          m_OldDebugLog(GxLog::GetDebugLogPath())
    {
        GxLog::SetErrorLogPath(folder.File(L"error.log"));
        GxLog::SetDebugLogPath(folder.File(L"debug.log"));
        GxLog::SetConsole(this);
    }
    ~LogCapture() override
    {
        GxLog::SetConsole(m_OldConsole);
        GxLog::SetErrorLogPath(m_OldErrorLog);
        GxLog::SetDebugLogPath(m_OldDebugLog);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void OnOutput(const wchar_t* text, int) override { m_Lines.emplace_back(text); }

    const std::vector<std::wstring>& Lines() const { return m_Lines; }
    bool Contains(const std::wstring& line) const
    {
        return std::find(m_Lines.begin(), m_Lines.end(), line) != m_Lines.end();
    }

private:
    GxDebugListenerBase* m_OldConsole;
    std::wstring m_OldErrorLog;
    std::wstring m_OldDebugLog;
    std::vector<std::wstring> m_Lines;
};

// The sample game as tools/samplegen writes it, into the folder (a copy of the one shared by the tests).
inline void GenerateSample(const TempFolder& folder)
{
    ASSERT_TRUE(kvtest::CopySampleGame(folder.Path().string()));
}

// A run of tools/samplegen of its own into the folder, for the cases about what samplegen writes.
inline void RunSamplegen(const TempFolder& folder)
{
    const char* tools = std::getenv("KV_TOOLS_DIR");
    ASSERT_NE(tools, nullptr);
    const std::string command = std::string(tools) + "/samplegen '" + folder.Path().string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

// Empties process-wide tables (they are too large for the stack, hence the heap copy).
template <typename... Tables> void ResetTables(Tables&... tables)
{
    ((tables = *std::make_unique<std::remove_reference_t<Tables>>()), ...);
}

// A scratch folder and a log capture, with a one-call load of a table from text.
class DBTest : public ::testing::Test
{
protected:
    bool Load(GxDBBase& table, const std::wstring& text, Encoding encoding = Encoding::Utf8Bom)
    {
        const std::wstring path = m_Folder.File(L"data/table.txt");
        WriteText(path, text, encoding);
        return table.Load(path);
    }

    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};
};

} // namespace dbtest
