#pragma once
// Helpers for the script tests: records written to bytes through either content form and read back.

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"
#include "script/GxMoaLabelDefinition.h"
#include "script/GxMoaVariable.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ScriptTest
{
// Value builders.
inline GxMoaVariable MakeV(const std::function<void(GxMoaVariable&)>& set)
{
    GxMoaVariable v;
    set(v);
    return v;
}
inline const auto IntV = [](int64_t n) { return MakeV([&](GxMoaVariable& v) { v.SetInt(n); }); };
inline const auto FltV = [](double d) { return MakeV([&](GxMoaVariable& v) { v.SetFloat(d); }); };
inline const auto StrV = [](const std::wstring& s) { return MakeV([&](GxMoaVariable& v) { v.SetString(s); }); };
inline const auto ArrV = [](int32_t n) { return MakeV([&](GxMoaVariable& v) { v.MakeArray(n); }); };
inline const auto OpV = [](int32_t n) { return MakeV([&](GxMoaVariable& v) { v.SetOpcode(n); }); };
inline const auto RefV = [](const std::wstring& name) { return MakeV([&](GxMoaVariable& v) { v.SetRefVar(name); }); };

inline GxMoaLabelDefinition Label(const std::wstring& name, const std::wstring& script, int32_t line)
{
    GxMoaLabelDefinition def;
    def.m_Name = name;
    def.m_Pos = GxMoaScriptPos(line, 0, script);
    return def;
}

enum class Form
{
    Binary,
    Text,
};

// Runs fn with a writer of the form over a temporary file and returns the bytes written.
inline std::vector<uint8_t> WriteBytes(Form form, const std::function<void(GxContentWriterBase*)>& fn)
{
    FILE* f = std::tmpfile();
    {
        std::unique_ptr<GxContentWriterBase> writer;
        if (form == Form::Binary)
            writer = std::make_unique<GxContentBinaryWriter>(f);
        else
            writer = std::make_unique<GxContentTextWriter>(f);
        fn(writer.get());
    }
    std::fflush(f);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        bytes.clear();
    std::fclose(f);
    return bytes;
}

inline std::unique_ptr<GxContentReaderBase> MakeReader(Form form, const std::vector<uint8_t>& bytes)
{
    if (form == Form::Binary)
        return std::make_unique<GxContentBinaryReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return std::make_unique<GxContentTextReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// Builds expected bytes of the binary form by hand (tags and big-endian payloads).
class Bytes
{
public:
    Bytes& U8(uint8_t v)
    {
        m_Data.push_back(v);
        return *this;
    }
    Bytes& Be(uint64_t v, int n)
    {
        for (int i = n - 1; i >= 0; --i)
            m_Data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& S32(int32_t v) { return U8(5).Be(static_cast<uint32_t>(v), 4); }
    Bytes& U32(uint32_t v) { return U8(6).Be(v, 4); }
    Bytes& S64(int64_t v) { return U8(7).Be(static_cast<uint64_t>(v), 8); }
    Bytes& Bit32(uint32_t v) { return U8(21).Be(v, 4); }
    Bytes& Str(const std::string& utf8)
    {
        U8(26).Be(utf8.size(), 4);
        m_Data.insert(m_Data.end(), utf8.begin(), utf8.end());
        return U8(0);
    }
    Bytes& List(uint32_t count) { return U8(32).Be(count, 4); }
    Bytes& End() { return U8(33); }
    const std::vector<uint8_t>& Get() const { return m_Data; }

private:
    std::vector<uint8_t> m_Data;
};
} // namespace ScriptTest

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace ScriptTest
{
// A fresh temporary folder, removed with the object.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvscriptXXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_Path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_Path, ec);
    }
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct BuildResult
{
    int m_ExitCode = -1;
    std::string m_Messages;
};

// The folder of the built tools (the test main always sets KV_TOOLS_DIR).
inline std::string ToolsDir()
{
    return std::getenv("KV_TOOLS_DIR");
}

// Runs the program builder on a scripts folder; the program goes to out/moacode.mwb.
inline BuildResult RunBuilder(const std::filesystem::path& scripts, const std::filesystem::path& out)
{
    const std::string tools = ToolsDir();
    BuildResult result;
    const std::filesystem::path log = out.parent_path() / "moabuild.log";
    const std::string cmd =
        "'" + tools + "/moabuild' '" + scripts.string() + "' '" + out.string() + "' -a -mc 2> '" + log.string() + "'";
    const int status = std::system(cmd.c_str());
    result.m_ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto bytes = ReadFile(log);
    result.m_Messages.assign(bytes.begin(), bytes.end());
    return result;
}
} // namespace ScriptTest
