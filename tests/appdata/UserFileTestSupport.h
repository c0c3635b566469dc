#pragma once

// Helpers for the tests of the player's files: goldens built value by value from the test's own list of
// keys and types (through the content writers, which the core tests cover), the offsets of chosen values
// inside the binary golden so a test can damage exactly a count, and file reading.

#include "DBTestSupport.h"

#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextWriter.h"
#include "core/GxContentWriterBase.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace usertest
{

// A record as the test expects it: each step writes one value (or a block written by a class the test
// trusts, such as a task's own record); Mark remembers where the next value starts in the binary form.
class Golden
{
public:
    using Step = std::function<void(GxContentWriterBase&)>;

    Golden& I(const char* name, int32_t v)
    {
        return Add([=](auto& w) { w.Write(name, v); });
    }
    Golden& U(const char* name, uint32_t v)
    {
        return Add([=](auto& w) { w.Write(name, v); });
    }
    Golden& B(const char* name, bool v)
    {
        return Add([=](auto& w) { w.Write(name, v); });
    }
    Golden& S(const char* name, const std::wstring& v)
    {
        return Add([=](auto& w) { w.WriteString(name, v); });
    }
    Golden& Bits(const char* name, uint32_t v)
    {
        return Add(
            [=](auto& w)
            {
                const GxBit32 bits(v);
                w.Write(name, &bits);
            });
    }
    Golden& List(const char* name, uint32_t count)
    {
        return Add([=](auto& w) { w.ListBegin(name, "", count); });
    }
    Golden& End()
    {
        return Add([](auto& w) { w.ListEnd(); });
    }
    Golden& Stratum()
    {
        return Add([](auto& w) { w.TreeStratumBegin(); });
    }
    Golden& StratumEnd()
    {
        return Add([](auto& w) { w.TreeStratumEnd(); });
    }
    Golden& Add(Step step)
    {
        m_Steps.push_back(std::move(step));
        return *this;
    }
    // The binary offset of the next step's first byte is recorded under the next mark index.
    Golden& Mark()
    {
        m_Marks.push_back(m_Steps.size());
        return *this;
    }

    std::string Bytes(bool text, const char* kind, std::vector<size_t>* marks = nullptr) const
    {
        char* data = nullptr;
        size_t size = 0;
        FILE* file = open_memstream(&data, &size);
        {
            std::unique_ptr<GxContentWriterBase> w;
            if (text)
                w = std::make_unique<GxContentTextWriter>(file);
            else
                w = std::make_unique<GxContentBinaryWriter>(file);
            w->WriteHeader((std::string(text ? "T" : "B") + kind).c_str(), 100);
            size_t mark = 0;
            for (size_t i = 0; i < m_Steps.size(); ++i)
            {
                for (; mark < m_Marks.size() && m_Marks[mark] == i; ++mark)
                    if (marks)
                    {
                        std::fflush(file);
                        marks->push_back(size);
                    }
                m_Steps[i](*w);
            }
        }
        std::fclose(file);
        std::string bytes(data, size);
        std::free(data);
        return bytes;
    }

private:
    std::vector<Step> m_Steps;
    std::vector<size_t> m_Marks;
};

inline std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(GxString::ToUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a run must leave of a player's file as it found it: the bytes, the mode and which file it is
// (device and inode). A link is described by itself (lstat), its bytes read through it.
struct FileState
{
    std::string m_Bytes;
    mode_t m_Mode = 0;
    dev_t m_Device = 0;
    ino_t m_Inode = 0;
    bool operator==(const FileState&) const = default;
};

inline FileState StateOf(const std::wstring& path)
{
    FileState state;
    struct stat st = {};
    if (lstat(GxString::ToUtf8(path).c_str(), &st) == 0)
    {
        state.m_Mode = st.st_mode;
        state.m_Device = st.st_dev;
        state.m_Inode = st.st_ino;
    }
    state.m_Bytes = ReadBytes(path);
    return state;
}

// Every way the tests damage a file: each truncation, each header byte flipped, and 0xFFFFFFFF written
// over each marked count (the count follows its one-byte tag).
inline std::vector<std::string> DamagedCopies(const std::string& good, size_t headerBytes,
                                              const std::vector<size_t>& counts)
{
    std::vector<std::string> out;
    for (size_t n = 0; n < good.size(); ++n)
        out.push_back(good.substr(0, n));
    for (size_t i = 0; i < headerBytes && i < good.size(); ++i)
    {
        out.push_back(good);
        out.back()[i] = static_cast<char>(out.back()[i] ^ 0x5A);
    }
    for (size_t at : counts)
    {
        out.push_back(good);
        out.back().replace(at + 1, 4, "\xFF\xFF\xFF\xFF");
    }
    return out;
}

} // namespace usertest
