#include "core/GxPackFileHeaderCache.h"

#include "core/GxLog.h"
#include "core/GxPack.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"

#include <cstdlib>
#include <cstring>

// Reads exactly count bytes at offset; false on a short read or an error.
static bool ReadAt(int fd, void* buffer, size_t count, uint64_t offset)
{
    uint8_t* p = static_cast<uint8_t*>(buffer);
    while (count > 0)
    {
        const int64_t n = PfFileSystem::ReadAt(fd, p, count, offset);
        if (n <= 0)
            return false;
        p += n;
        count -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

GxPackFileHeaderCache::GxPackFileHeaderCache() : m_Header{}, m_Directory(nullptr), m_Loaded(false) {}

GxPackFileHeaderCache::~GxPackFileHeaderCache()
{
    Clear();
}

void GxPackFileHeaderCache::Clear()
{
    std::memset(m_Header, 0, sizeof(m_Header));
    std::free(m_Directory);
    m_Directory = nullptr;
    m_Loaded = false;
    m_Path.clear();
    m_OsPath.clear();
    m_Index.clear();
}

bool GxPackFileHeaderCache::Load(const std::wstring& path)
{
    std::string osPath = GxString::ToUtf8(path);
    for (char& c : osPath)
        if (c == '\\')
            c = '/';
    return Load(path, osPath);
}

bool GxPackFileHeaderCache::Load(const std::wstring& path, const std::string& osPath)
{
    if (m_Directory || m_Loaded)
        Clear();

    int fd = PfFileSystem::OpenRead(osPath);
    if (fd < 0)
        return false;

    const wchar_t* reason = nullptr;
    PfFileInfo st;
    uint64_t fileSize = 0;
    if (!PfFileSystem::GetInfo(fd, st) || !st.m_IsRegular)
        reason = L"通常のファイルではありません";
    else
        fileSize = st.m_Size;

    if (!reason && (fileSize < kHeaderSize || !ReadAt(fd, m_Header, kHeaderSize, 0)))
        reason = L"ヘッダが48バイトに足りません";
    uint32_t directorySize = GetDirectorySize();
    if (!reason && directorySize == 0)
        reason = L"ディレクトリが空です";
    if (!reason && kHeaderSize + static_cast<uint64_t>(directorySize) > fileSize)
        reason = L"ディレクトリがファイルの終わりを越えています";
    if (!reason)
    {
        m_Directory = static_cast<uint8_t*>(std::malloc(directorySize));
        if (!m_Directory)
            reason = L"ディレクトリのメモリを確保できません";
        else if (!ReadAt(fd, m_Directory, directorySize, kHeaderSize))
            reason = L"ディレクトリを読めません";
    }
    PfFileSystem::Close(fd);

    if (!reason)
        CheckDirectory(fileSize, &reason);
    if (reason)
    {
        GxLog::Error(L"GxPackFileHeaderCache::Load/パックファイルを読み込めません(%s):%s\n", path.c_str(), reason);
        Clear();
        return false;
    }

    m_Loaded = true;
    m_Path = path;
    m_OsPath = osPath;
    BuildIndex();
    return true;
}

// Unscrambles the directory when the pack is scrambled and checks every entry against the directory and
// the file, so that nothing later reads outside either.
bool GxPackFileHeaderCache::CheckDirectory(uint64_t fileSize, const wchar_t** reason)
{
    const uint32_t directorySize = GetDirectorySize();
    const uint32_t count = GetEntryCount();
    const bool scrambled = IsScrambled();
    const bool wide = HasWideNames();
    const uint64_t base = GetDataBase();

    // Every entry takes at least 33 bytes (32 fixed and a one-byte terminator).
    if (count > directorySize / (kEntryFixedSize + 1))
    {
        *reason = L"エントリ数がディレクトリに収まりません";
        return false;
    }
    uint32_t at = 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        if (directorySize - at < 4)
        {
            *reason = L"エントリ数がディレクトリに収まりません";
            return false;
        }
        uint8_t* entry = m_Directory + at;
        if (scrambled)
            GxPack::Descramble(entry, 4, 0);
        const uint32_t length = GetEntryLength(entry);
        if (length < kEntryFixedSize + 1)
        {
            *reason = L"エントリの長さが33バイトに足りません";
            return false;
        }
        if (length > directorySize - at)
        {
            *reason = L"エントリがディレクトリの終わりを越えています";
            return false;
        }
        if (scrambled)
            GxPack::Descramble(entry + 4, length - 4, 4);

        bool terminated = false;
        if (wide)
        {
            for (uint32_t k = kEntryFixedSize; k + 1 < length; k += 2)
                if (entry[k] == 0 && entry[k + 1] == 0)
                {
                    terminated = true;
                    break;
                }
        }
        else
            terminated = std::memchr(entry + kEntryFixedSize, 0, length - kEntryFixedSize) != nullptr;
        if (!terminated)
        {
            *reason = L"エントリ名が終端していません";
            return false;
        }

        uint64_t start = 0, stop = 0;
        if (__builtin_add_overflow(base, GetEntryOffset(entry), &start) ||
            __builtin_add_overflow(start, static_cast<uint64_t>(GetEntrySize(entry)), &stop) || stop > fileSize)
        {
            *reason = L"エントリのデータがファイルの範囲外です";
            return false;
        }
        at += length;
    }
    return true;
}

static void LowerAscii(std::wstring& s)
{
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
}

void GxPackFileHeaderCache::BuildIndex()
{
    m_Index.clear();
    if (!m_Directory)
        return;
    const uint32_t count = GetEntryCount();
    const bool wide = HasWideNames();
    m_Index.reserve(count);
    uint32_t at = 0;
    std::wstring name;
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint8_t* entry = m_Directory + at;
        const uint32_t length = GetEntryLength(entry);
        name.clear();
        if (wide)
        {
            // UTF-16LE up to a NUL; surrogate pairs join, a lone surrogate is kept as it is.
            name =
                GxString::FromUtf16LE(entry + kEntryFixedSize, length > kEntryFixedSize ? length - kEntryFixedSize : 0);
        }
        else
        {
            const char* text = reinterpret_cast<const char*>(entry + kEntryFixedSize);
            bool plain = true;
            size_t n = 0;
            for (; text[n]; ++n)
                if (static_cast<unsigned char>(text[n]) >= 0x80)
                    plain = false;
            if (plain)
                name.assign(text, text + n);
            else
                name = GxString::ToWide(std::string(text, n));
        }
        LowerAscii(name);
        m_Index.emplace(name, entry); // the first entry of a name keeps it
        at += length;
    }
}

const uint8_t* GxPackFileHeaderCache::Find(const std::wstring& name) const
{
    // Lengths count UTF-16 units, as the lookup buffer of the format does.
    size_t units = name.size();
    for (wchar_t c : name)
        if (static_cast<uint32_t>(c) > 0xFFFF)
            ++units;
    if (units > kMaxNameLength)
        return nullptr;
    std::wstring key = name;
    for (wchar_t& c : key)
        if (c == L'\\')
            c = L'/';
    auto it = m_Index.find(key);
    if (it != m_Index.end())
        return it->second;
    LowerAscii(key);
    it = m_Index.find(key);
    return it != m_Index.end() ? it->second : nullptr;
}
