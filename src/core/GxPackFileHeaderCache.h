#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

// One mounted ".gxp" pack: its 48-byte header and its whole directory, kept in memory, with an index
// from lower-cased entry name to the entry's record inside the directory block.
//
// Layout (little-endian):
//   header  0..11 unused | 12 u32 names are UTF-16LE (else CP932) | 16 u32 unused | 20 u32 scrambled
//           24 u32 entry count | 28 u32 directory size | 32..39 unused | 40 u64 data base
//   entry   0 u32 entry length (with the name and its terminator) | 4 u32 data size | 8..15 unused
//           16 u64 FILETIME | 24 u64 data offset from the data base | 32 name, NUL-terminated
// The directory follows the header at offset 48. Entry records stay in the directory block; handles
// and the index point into it, so the block lives until Clear or the destructor.
class GxPackFileHeaderCache
{
public:
    static constexpr uint32_t kHeaderSize = 48;
    static constexpr uint32_t kEntryFixedSize = 32;
    // A lookup name is held in 522 wide characters with its terminator.
    static constexpr size_t kMaxNameLength = 521;

    GxPackFileHeaderCache();
    virtual ~GxPackFileHeaderCache();
    GxPackFileHeaderCache(const GxPackFileHeaderCache&) = delete;
    GxPackFileHeaderCache& operator=(const GxPackFileHeaderCache&) = delete;

    // Reads and checks header and directory; false (one log line when the file is malformed) on failure.
    bool Load(const std::wstring& path);
    // The same with the path as the operating system names it (the file system resolves it first).
    bool Load(const std::wstring& path, const std::string& osPath);
    // The entry record for a name ('\' or '/', any ASCII case), or null.
    const uint8_t* Find(const std::wstring& name) const;
    void Clear();
    void BuildIndex();

    bool IsLoaded() const { return m_Loaded; }
    bool IsScrambled() const { return ReadU32(m_Header + 20) != 0; }
    bool HasWideNames() const { return ReadU32(m_Header + 12) != 0; }
    uint32_t GetEntryCount() const { return ReadU32(m_Header + 24); }
    uint32_t GetDirectorySize() const { return ReadU32(m_Header + 28); }
    uint64_t GetDataBase() const { return ReadU64(m_Header + 40); }
    const std::wstring& GetPath() const { return m_Path; }
    // The path as handed to the operating system when an entry is opened.
    const std::string& GetOsPath() const { return m_OsPath; }

    static uint32_t GetEntryLength(const uint8_t* entry) { return ReadU32(entry); }
    static uint32_t GetEntrySize(const uint8_t* entry) { return ReadU32(entry + 4); }
    static uint64_t GetEntryFileTime(const uint8_t* entry) { return ReadU64(entry + 16); }
    static uint64_t GetEntryOffset(const uint8_t* entry) { return ReadU64(entry + 24); }

    static uint32_t ReadU32(const uint8_t* p)
    {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
               (static_cast<uint32_t>(p[3]) << 24);
    }
    static uint64_t ReadU64(const uint8_t* p)
    {
        return static_cast<uint64_t>(ReadU32(p)) | (static_cast<uint64_t>(ReadU32(p + 4)) << 32);
    }

private:
    bool CheckDirectory(uint64_t fileSize, const wchar_t** reason);

    std::unordered_map<std::wstring, const uint8_t*> m_Index;
    uint8_t m_Header[kHeaderSize];
    uint8_t* m_Directory;
    bool m_Loaded;
    std::wstring m_Path;
    std::string m_OsPath;
};
