#pragma once

// Temporary folders and files for the file-layer tests, removed again when the test ends.

#include "../../tools/gxpack/GxPackWriter.h"

#include "core/GxFile.h"
#include "core/GxFileHandle.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

class KvTempDir
{
public:
    KvTempDir()
    {
        char pattern[] = "/tmp/kvfilesXXXXXX";
        const char* made = mkdtemp(pattern);
        m_Path = made ? made : "";
    }
    ~KvTempDir() { Remove(); }
    // Removes the folder now, for a process that will leave without running destructors.
    void Remove()
    {
        if (!m_Path.empty())
            nftw(m_Path.c_str(), &RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
        m_Path.clear();
    }
    KvTempDir(const KvTempDir&) = delete;
    KvTempDir& operator=(const KvTempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string Abs(const std::string& relative) const { return m_Path + "/" + relative; }
    // The absolute path as a wide name (the temporary folder's path is plain ASCII).
    std::wstring Wide(const std::string& relative) const
    {
        std::string a = Abs(relative);
        return std::wstring(a.begin(), a.end());
    }

    void Write(const std::string& relative, const std::string& bytes) const
    {
        MakeParents(relative);
        std::ofstream out(Abs(relative), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const
    {
        Write(relative, std::string(bytes.begin(), bytes.end()));
    }
    void MakeDir(const std::string& relative) const { MakeParents(relative + "/x"); }

private:
    void MakeParents(const std::string& relative) const
    {
        for (size_t at = relative.find('/'); at != std::string::npos; at = relative.find('/', at + 1))
            mkdir(Abs(relative.substr(0, at)).c_str(), 0755);
    }
    static int RemoveOne(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

    std::string m_Path;
};

// A whole file as read from disk, or nothing when it cannot be read.
inline std::string KvFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes that differ from position to position, so that misplaced reads show.
inline std::string KvPatternBytes(size_t size, uint32_t seed)
{
    std::string s(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i)
    {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        s[i] = static_cast<char>(x);
    }
    return s;
}

// Reads a whole named file through the file layer, or "<absent>".
inline std::string KvReadAll(const std::wstring& name)
{
    GxFileHandle handle;
    if (!GxFile::Open(handle, name))
        return "<absent>";
    std::string out(handle.GetSize(), '\0');
    uint32_t got = out.empty() ? 0 : GxFile::Read(out.data(), static_cast<uint32_t>(out.size()), handle);
    out.resize(got);
    GxFile::Close(handle);
    return out;
}
