#pragma once

// Damaged binary content records made from good ones: a list count raised and zero bytes appended, so the
// count still fits the file's length at one byte an item but not at any item's real size. The readers'
// cost tests make them from the sample game's own files (SharedSampleGame), the files the fuzz seeds are,
// and from the player-file seeds of the fuzz corpus.

#include "core/GxContentBinaryReader.h"
#include "core/GxContentValueType.h"
#include "support/SampleGameCache.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvtest
{

// The bytes of a file of the shared sample game ("" when there is none).
inline std::string SampleGameBytes(const std::string& relative)
{
    const std::string game = SharedSampleGame();
    if (game.empty())
        return {};
    std::ifstream in(game + "/" + relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The bytes of a seed of the fuzz corpus (fuzz/corpus/<target>/<file>, "" when there is none).
inline std::string CorpusSeedBytes(const std::string& relative)
{
    const char* source = std::getenv("KV_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : ".") + "/fuzz/corpus/" + relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The binary record with the big-endian count after the list-begin tag at `at` set to count, and `zeros`
// zero bytes after its end.
inline std::string RaiseListCount(std::string bytes, size_t at, uint32_t count, size_t zeros)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + 1 + i] = static_cast<char>((count >> (24 - 8 * i)) & 0xFF);
    bytes.append(zeros, '\0');
    return bytes;
}

// Where the end tag of the list whose begin tag is at `at` stands, just past its items (nested lists
// included), or npos when no end follows.
inline size_t ListItemsEnd(const std::string& bytes, size_t at)
{
    struct Walker : GxContentBinaryReader
    {
        using GxContentBinaryReader::GxContentBinaryReader;
        size_t Offset(const std::string& record) const
        {
            return static_cast<size_t>(reinterpret_cast<const char*>(m_Cursor) - record.data());
        }
    };
    if (at + 5 > bytes.size())
        return std::string::npos;
    Walker walker(bytes.data() + at + 5, static_cast<uint32_t>(bytes.size() - at - 5));
    int depth = 0;
    while (!walker.IsEnd())
    {
        const uint32_t tag = walker.PeekValueType();
        if (tag == VALTYPE_ListEnd && depth-- == 0)
            return walker.Offset(bytes);
        if (tag == VALTYPE_ListBegin)
            ++depth;
        if (!walker.SkipValue())
            break;
    }
    return std::string::npos;
}

// The binary record with the list at `at` given copies of its own items after them, about `extra` bytes
// of them, and its count raised to `count`: a count its bytes cannot hold at an item's least size, over
// items that all read. A reader that does not hold the count to the bytes builds every copy before it
// fails at the list's end. "" when the list has no items or no end.
inline std::string RaiseListCountOverCopies(const std::string& bytes, size_t at, uint32_t count, size_t extra)
{
    const size_t end = ListItemsEnd(bytes, at);
    if (end == std::string::npos || end == at + 5)
        return {};
    const std::string items = bytes.substr(at + 5, end - at - 5);
    std::string copies;
    while (copies.size() < extra)
        copies += items;
    std::string raised = RaiseListCount(bytes, at, count, 0);
    raised.insert(end, copies);
    return raised;
}

// Every place past the record's 20-byte head where a list could begin: a list-begin tag (0x20) with a
// count of at most 0xFFFF after it. Some are bytes of other values; raising them damages the record some
// other way, which must be as cheap.
inline std::vector<size_t> ListBeginCandidates(const std::string& bytes)
{
    std::vector<size_t> at;
    for (size_t i = 20; i + 5 <= bytes.size(); ++i)
        if (bytes[i] == 0x20 && bytes[i + 1] == 0 && bytes[i + 2] == 0)
            at.push_back(i);
    return at;
}

} // namespace kvtest
