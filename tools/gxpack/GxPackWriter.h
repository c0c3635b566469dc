#pragma once

// Writes ".gxp" packs: a 48-byte header, a directory of named entries and the entries' data, plain or
// scrambled, with entry names in UTF-16LE or CP932. Header-only so that tests and benchmarks can build
// packs in memory without running the command.
//
// Layout (little-endian):
//   header  0..11 zero | 12 u32 1 = UTF-16LE names, 0 = CP932 | 16 u32 zero | 20 u32 1 = scrambled
//           24 u32 entry count | 28 u32 directory size | 32..39 zero | 40 u64 data base
//   entry   0 u32 entry length (name and terminator included) | 4 u32 data size | 8..15 zero
//           16 u64 FILETIME | 24 u64 data offset from the data base | 32 name, NUL-terminated
// Scrambling: the byte at position p of a unit (each directory entry, each entry's data) is XOR'ed with
// (p & 0xFF) and with byte (p mod 23) of the table below.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <string>
#include <unistd.h>
#include <vector>

class GxPackWriter
{
public:
    enum NameEncoding
    {
        kNamesUtf16LE,
        kNamesCp932,
    };
    enum Scrambling
    {
        kPlain,
        kScrambled,
    };

    struct Entry
    {
        std::wstring name; // relative path; '\' is written as '/'
        std::vector<uint8_t> data;
        uint64_t fileTime = 0;
    };

    void Add(const std::wstring& name, std::vector<uint8_t> data, uint64_t fileTime = 0)
    {
        m_Entries.push_back({name, std::move(data), fileTime});
    }
    void Add(const std::wstring& name, const std::string& text, uint64_t fileTime = 0)
    {
        Add(name, std::vector<uint8_t>(text.begin(), text.end()), fileTime);
    }
    const std::vector<Entry>& GetEntries() const { return m_Entries; }

    static void Scramble(uint8_t* bytes, size_t count, uint32_t position)
    {
        static const uint8_t table[23] = {0x5a, 0x17, 0xc3, 0xe0, 0x8b, 0x4d, 0x92, 0xf6, 0x1e, 0x7a, 0x08, 0xb3,
                                          0xc5, 0x5d, 0x29, 0xe4, 0xf0, 0x13, 0x6a, 0xb8, 0x9c, 0x47, 0xd1};
        for (size_t i = 0; i < count; ++i, ++position)
            bytes[i] ^= static_cast<uint8_t>((position & 0xFF) ^ table[position % 23]);
    }

    // The whole pack in memory; false (with a reason) when a name cannot be encoded or sizes overflow.
    bool Build(std::vector<uint8_t>& out, NameEncoding encoding, Scrambling scrambling,
               std::string* error = nullptr) const
    {
        std::vector<uint8_t> directory;
        std::vector<size_t> entryStarts;
        uint64_t dataOffset = 0;
        for (const Entry& e : m_Entries)
        {
            std::vector<uint8_t> name;
            if (!EncodeName(e.name, encoding, name))
            {
                if (error)
                    *error = "entry name cannot be encoded";
                return false;
            }
            if (e.data.size() > 0xFFFFFFFFull || 32 + name.size() > 0xFFFFFFFFull)
            {
                if (error)
                    *error = "entry too large";
                return false;
            }
            size_t start = directory.size();
            entryStarts.push_back(start);
            directory.resize(start + 32 + name.size());
            uint8_t* p = directory.data() + start;
            PutU32(p, static_cast<uint32_t>(32 + name.size()));
            PutU32(p + 4, static_cast<uint32_t>(e.data.size()));
            PutU64(p + 16, e.fileTime);
            PutU64(p + 24, dataOffset);
            std::memcpy(p + 32, name.data(), name.size());
            dataOffset += e.data.size();
        }
        if (directory.size() > 0xFFFFFFFFull)
        {
            if (error)
                *error = "directory too large";
            return false;
        }
        if (scrambling == kScrambled)
            for (size_t i = 0; i < entryStarts.size(); ++i)
            {
                size_t stop = i + 1 < entryStarts.size() ? entryStarts[i + 1] : directory.size();
                Scramble(directory.data() + entryStarts[i], stop - entryStarts[i], 0);
            }

        out.assign(48, 0);
        PutU32(out.data() + 12, encoding == kNamesUtf16LE ? 1 : 0);
        PutU32(out.data() + 20, scrambling == kScrambled ? 1 : 0);
        PutU32(out.data() + 24, static_cast<uint32_t>(m_Entries.size()));
        PutU32(out.data() + 28, static_cast<uint32_t>(directory.size()));
        PutU64(out.data() + 40, 48 + directory.size());
        out.insert(out.end(), directory.begin(), directory.end());
        for (const Entry& e : m_Entries)
        {
            size_t start = out.size();
            out.insert(out.end(), e.data.begin(), e.data.end());
            if (scrambling == kScrambled)
                Scramble(out.data() + start, e.data.size(), 0);
        }
        return true;
    }

    // Writes the pack through a temporary file in the same folder, synced and renamed over the target.
    bool Write(const std::string& path, NameEncoding encoding, Scrambling scrambling,
               std::string* error = nullptr) const
    {
        std::vector<uint8_t> bytes;
        if (!Build(bytes, encoding, scrambling, error))
            return false;
        std::string temp = path + ".tmp";
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
        {
            if (error)
                *error = "cannot create " + temp + ": " + std::strerror(errno);
            return false;
        }
        size_t done = 0;
        while (done < bytes.size())
        {
            ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        bool ok = done == bytes.size() && fsync(fd) == 0;
        ok = close(fd) == 0 && ok;
        if (!ok || std::rename(temp.c_str(), path.c_str()) != 0)
        {
            if (error)
                *error = "cannot write " + path;
            unlink(temp.c_str());
            return false;
        }
        return true;
    }

    static void PutU32(uint8_t* p, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
    static void PutU64(uint8_t* p, uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            p[i] = static_cast<uint8_t>(v >> (8 * i));
    }

    // The name with '\' made '/', NUL-terminated, in the chosen encoding.
    static bool EncodeName(const std::wstring& name, NameEncoding encoding, std::vector<uint8_t>& out)
    {
        std::wstring n = name;
        for (wchar_t& c : n)
            if (c == L'\\')
                c = L'/';
        out.clear();
        if (encoding == kNamesUtf16LE)
        {
            for (wchar_t c : n)
            {
                uint32_t u = static_cast<uint32_t>(c);
                if (u == 0 || u > 0x10FFFF)
                    return false;
                if (u >= 0x10000)
                {
                    u -= 0x10000;
                    PushUnit(out, static_cast<uint16_t>(0xD800 + (u >> 10)));
                    PushUnit(out, static_cast<uint16_t>(0xDC00 + (u & 0x3FF)));
                }
                else
                    PushUnit(out, static_cast<uint16_t>(u));
            }
            PushUnit(out, 0);
            return true;
        }
        iconv_t cd = iconv_open("CP932", "WCHAR_T");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return false;
        std::vector<char> buffer(n.size() * 4 + 4);
        char* in = reinterpret_cast<char*>(n.data());
        size_t inLeft = n.size() * sizeof(wchar_t);
        char* o = buffer.data();
        size_t outLeft = buffer.size();
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        iconv_close(cd);
        if (r == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        out.assign(buffer.data(), o);
        if (std::memchr(out.data(), 0, out.size()))
            return false;
        out.push_back(0);
        return true;
    }

private:
    static void PushUnit(std::vector<uint8_t>& out, uint16_t u)
    {
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }

    std::vector<Entry> m_Entries;
};
