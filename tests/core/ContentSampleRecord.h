#pragma once

// A record holding one value of every type, a string with every escaped character and Japanese text,
// a binary block, a list and a nested tree: written and read with the same calls in both forms. The
// floats have at most six decimals so that the text form keeps them exactly.

#include "core/GxBinBuffer.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

struct ContentSampleRecord
{
    struct Item
    {
        int32_t m_Id = 0;
        std::wstring m_Name;
        bool operator==(const Item&) const = default;
    };
    struct Node
    {
        uint16_t m_Kind = 0;
        std::vector<Node> m_Children;
    };

    int8_t m_S8 = -5;
    uint8_t m_U8 = 250;
    int16_t m_S16 = -30000;
    uint16_t m_U16 = 65000;
    int32_t m_S32 = -2000000000;
    uint32_t m_U32 = 4000000000u;
    int64_t m_S64 = -9000000000000000000LL;
    uint64_t m_U64 = 18000000000000000000ULL;
    float m_F32 = 0.5f;
    double m_F64 = -1234.125;
    bool m_Bool = true;
    GxVector2 m_Vector2;
    GxVector3 m_Vector3;
    GxVector4 m_Vector4;
    GxQuaternion m_Quat;
    GxFColor m_Colour{0.25f, 0.5f, 0.75f, 1.0f};
    GxMatrix m_Matrix;
    GxRect m_Rect{-1, 2, 1023, 767};
    GxFRect m_FRect{0.5f, -0.25f, 100.0f, 200.125f};
    GxBit32 m_Flags{0x80000001u};
    GxPoint2 m_Point2{3, 4};
    GxPoint3 m_Point3{-5, 6, -7};
    GxPoint4 m_Point4{8, -9, 10, 2147483647};
    std::wstring m_Text = L"名前\u3002 a\"b\\c\td\ne\rf\fg'h";
    std::string m_Narrow = "plain ascii";
    std::vector<uint8_t> m_Blob;
    std::vector<Item> m_Items;
    std::vector<Node> m_Tree;

    static ContentSampleRecord MakeFilled()
    {
        ContentSampleRecord r;
        r.m_Vector2 = GxVector2(1.5f, -2.25f);
        r.m_Vector3 = GxVector3(1.0f, 2.0f, 3.0f);
        r.m_Vector4 = GxVector4(4.0f, 5.0f, 6.0f, 7.0f);
        r.m_Quat = GxQuaternion(0.0f, 0.5f, 0.0f, 0.875f);
        float* m = &r.m_Matrix.m[0][0];
        for (int i = 0; i < 16; ++i)
            m[i] = float(i) * 0.25f - 2.0f;
        for (int i = 0; i < 70; ++i)
            r.m_Blob.push_back(uint8_t(i * 37 + 1));
        r.m_Items = {{1, L"一"}, {-2, L""}, {300, L"three\tthree"}};
        r.m_Tree = {Node{3, {Node{1, {}}, Node{2, {}}}}, Node{4, {}}};
        return r;
    }

    static void WriteNode(GxContentWriterBase& w, const Node& node)
    {
        w.TreeStratumBegin();
        w.Write("m_Kind", node.m_Kind);
        for (const Node& child : node.m_Children)
            WriteNode(w, child);
        w.TreeStratumEnd();
    }

    // The fields of one value each, in record order, each with its name.
    template <typename Record, typename F> static void ForEachValue(Record& r, F&& f)
    {
        f("m_S8", r.m_S8);
        f("m_U8", r.m_U8);
        f("m_S16", r.m_S16);
        f("m_U16", r.m_U16);
        f("m_S32", r.m_S32);
        f("m_U32", r.m_U32);
        f("m_S64", r.m_S64);
        f("m_U64", r.m_U64);
        f("m_F32", r.m_F32);
        f("m_F64", r.m_F64);
        f("m_Bool", r.m_Bool);
        f("m_Vector2", r.m_Vector2);
        f("m_Vector3", r.m_Vector3);
        f("m_Vector4", r.m_Vector4);
        f("m_Quat", r.m_Quat);
        f("m_Colour", r.m_Colour);
        f("m_Matrix", r.m_Matrix);
        f("m_Rect", r.m_Rect);
        f("m_FRect", r.m_FRect);
        f("m_Flags", r.m_Flags);
        f("m_Point2", r.m_Point2);
        f("m_Point3", r.m_Point3);
        f("m_Point4", r.m_Point4);
    }

    bool Write(GxContentWriterBase& w, const char* root) const
    {
        bool ok = w.WriteHeader(root, 7);
        ForEachValue(*this,
                     [&](const char* name, const auto& value)
                     {
                         if constexpr (std::is_arithmetic_v<std::decay_t<decltype(value)>>)
                             ok &= w.Write(name, value);
                         else
                             ok &= w.Write(name, &value);
                     });
        ok &= w.WriteString("m_Text", m_Text);
        ok &= w.WriteString("m_Narrow", m_Narrow);
        ok &= w.WriteBinary("m_Blob", m_Blob.data(), uint32_t(m_Blob.size()));
        ok &= w.ListBegin("m_Items", "Item", uint32_t(m_Items.size()));
        for (const Item& item : m_Items)
        {
            ok &= w.ListItemBegin();
            ok &= w.Write("m_Id", item.m_Id);
            ok &= w.WriteString("m_Name", item.m_Name);
            ok &= w.ListItemEnd();
        }
        ok &= w.ListEnd();
        ok &= w.TreeBegin("m_Tree", "Node");
        for (const Node& node : m_Tree)
            WriteNode(w, node);
        ok &= w.TreeEnd();
        return ok;
    }

    // Reads nodes while the next value opens one; the depth bound keeps a damaged record from nesting
    // the walk without end.
    static void ReadNodes(GxContentReaderBase& r, std::vector<Node>& nodes, int depth)
    {
        while (depth < 64 && r.PeekValueType() == VALTYPE_TreeStratumBegin && r.GetErrorCount() == 0)
        {
            Node node;
            r.TreeStratumBegin();
            r.Read("m_Kind", node.m_Kind);
            ReadNodes(r, node.m_Children, depth + 1);
            r.TreeStratumEnd();
            nodes.push_back(node);
        }
    }

    // Reads the fields back in order, as a client does; false when the header is refused.
    bool Read(GxContentReaderBase& r, const char* root)
    {
        uint32_t version = 0;
        if (!r.ReadHeader(root, version))
            return false;
        ForEachValue(*this, [&](const char* name, auto& value) { r.Read(name, value); });
        r.ReadString("m_Text", m_Text);
        r.ReadString("m_Narrow", m_Narrow);
        GxBinBuffer blob;
        if (r.ReadBinary("m_Blob", blob))
            m_Blob.assign(blob.GetData(), blob.GetData() + blob.GetSize());
        uint32_t count = 0;
        m_Items.clear();
        r.ListBegin("m_Items", count);
        for (uint32_t i = 0; i < count; ++i)
        {
            Item item;
            r.ListItemBegin();
            r.Read("m_Id", item.m_Id);
            r.ReadString("m_Name", item.m_Name);
            r.ListItemEnd();
            m_Items.push_back(item);
        }
        r.ListEnd();
        m_Tree.clear();
        r.TreeBegin("m_Tree");
        ReadNodes(r, m_Tree, 0);
        r.TreeEnd();
        return true;
    }
};

inline bool operator==(const ContentSampleRecord::Node& a, const ContentSampleRecord::Node& b)
{
    return a.m_Kind == b.m_Kind && a.m_Children == b.m_Children;
}

// Every field of a record read back equals the one written.
inline void ExpectSameRecord(const ContentSampleRecord& read, const ContentSampleRecord& written)
{
    // Every plain value byte for byte: none holds padding or a NaN.
    std::map<std::string, std::string> expected;
    ContentSampleRecord::ForEachValue(written, [&](const char* name, const auto& value)
                                      { expected[name].assign(reinterpret_cast<const char*>(&value), sizeof value); });
    ContentSampleRecord::ForEachValue(
        read, [&](const char* name, const auto& value)
        { EXPECT_EQ(std::string(reinterpret_cast<const char*>(&value), sizeof value), expected[name]) << name; });
    EXPECT_EQ(read.m_Text, written.m_Text);
    EXPECT_EQ(read.m_Narrow, written.m_Narrow);
    EXPECT_EQ(read.m_Blob, written.m_Blob);
    EXPECT_EQ(read.m_Items, written.m_Items);
    EXPECT_EQ(read.m_Tree, written.m_Tree);
}

// Collects what a writer puts into its FILE* in memory.
class MemoryFile
{
public:
    MemoryFile() : m_File(open_memstream(&m_Data, &m_Size)) {}
    ~MemoryFile()
    {
        if (m_File)
            std::fclose(m_File);
        std::free(m_Data);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    FILE* Get() const { return m_File; }
    std::string Bytes()
    {
        std::fflush(m_File);
        return std::string(m_Data, m_Size);
    }

private:
    char* m_Data = nullptr;
    size_t m_Size = 0;
    FILE* m_File = nullptr;
};

// Points the error log at a fresh file for the scope and hands back what was written to it.
class ErrorLogCapture
{
public:
    ErrorLogCapture() : m_Saved(GxLog::GetErrorLogPath())
    {
        m_Path = ::testing::TempDir() + "content_errors_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        std::remove(m_Path.c_str());
        GxLog::SetErrorLogPath(GxString::ToWide(m_Path));
    }
    ~ErrorLogCapture()
    {
        GxLog::SetErrorLogPath(m_Saved);
        std::remove(m_Path.c_str());
    }

    // The log's text without its byte-order mark, CR LF turned back into LF.
    std::wstring Text() const
    {
        std::ifstream in(m_Path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() >= 2)
            bytes.erase(0, 2);
        std::wstring text = GxString::FromUtf16LE(bytes.data(), bytes.size());
        std::erase(text, L'\r');
        return text;
    }

private:
    std::wstring m_Saved;
    std::string m_Path;
};
