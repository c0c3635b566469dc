#include "FileTestSupport.h"

#include "core/GxFile.h"
#include "core/GxFileHandle.h"
#include "core/GxLog.h"
#include "core/GxPack.h"
#include "core/GxPackFileHeaderCache.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

class GxPackFileTest : public ::testing::Test
{
protected:
    void TearDown() override { GxFile::UnmountAll(); }

    // Writes the pack into the temporary folder and mounts it.
    bool Mount(const GxPackWriter& writer, const std::string& file, GxPackWriter::NameEncoding encoding,
               GxPackWriter::Scrambling scrambling)
    {
        std::vector<uint8_t> bytes;
        if (!writer.Build(bytes, encoding, scrambling))
            return false;
        m_Dir.Write(file, bytes);
        return GxFile::MountPack(m_Dir.Wide(file));
    }

    KvTempDir m_Dir;
};

struct PackKind
{
    GxPackWriter::NameEncoding encoding;
    GxPackWriter::Scrambling scrambling;
};

const PackKind kKinds[] = {
    {GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain},
    {GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled},
    {GxPackWriter::kNamesCp932, GxPackWriter::kPlain},
    {GxPackWriter::kNamesCp932, GxPackWriter::kScrambled},
};

// Sizes around the scrambling period (5888 bytes) and the 64-bit word width.
const size_t kSizes[] = {0, 1, 7, 9, 100, 5887, 5888, 5889, 70001};

TEST_F(GxPackFileTest, EveryPackKindReadsLikeTheLooseCopiesAfterAnySeek)
{
    int kindIndex = 0;
    for (const PackKind& kind : kKinds)
    {
        SCOPED_TRACE(kindIndex);
        GxPackWriter writer;
        std::vector<std::string> names;
        for (size_t i = 0; i < std::size(kSizes); ++i)
        {
            std::string name = "loose" + std::to_string(kindIndex) + "/data/file" + std::to_string(i) + ".bin";
            std::string bytes = KvPatternBytes(kSizes[i], static_cast<uint32_t>(i + 1));
            m_Dir.Write(name, bytes);
            writer.Add(std::wstring(name.begin(), name.end()), bytes, 1000 + i);
            names.push_back(name);
        }
        // "表" ends in 0x5C in CP932.
        std::string japanese = "loose" + std::to_string(kindIndex) + "/data/表示テスト.txt";
        m_Dir.Write(japanese, "かな");
        writer.Add(GxString::FromUtf8(japanese), std::string("かな"));
        names.push_back(japanese);

        ASSERT_TRUE(Mount(writer, "pack" + std::to_string(kindIndex) + ".gxp", kind.encoding, kind.scrambling));
        for (const std::string& name : names)
        {
            SCOPED_TRACE(name);
            const std::wstring packed = GxString::FromUtf8(name);
            EXPECT_EQ(GxFile::Exists(packed), GxFile::kPacked);
            EXPECT_EQ(KvReadAll(packed), KvReadAll(GxString::FromUtf8(m_Dir.Abs(name))));
        }
        EXPECT_EQ(KvReadAll(L"LOOSE" + std::to_wstring(kindIndex) + L"\\DATA\\表示テスト.TXT"), "かな");

        // Reads after seeks into the last, largest entry (which starts well inside the data) match the whole
        // read, from the start, the current position and the end.
        const std::string data = KvReadAll(GxString::FromUtf8(m_Dir.Abs(names[8])));
        const int64_t size = static_cast<int64_t>(data.size());
        GxFileHandle handle;
        ASSERT_TRUE(GxFile::Open(handle, GxString::FromUtf8(names[8])));
        for (int64_t at : {int64_t{1}, int64_t{5887}, int64_t{5888}, int64_t{12345}, size - 1})
        {
            ASSERT_TRUE(GxFile::Seek(handle, at, 0));
            char chunk[100];
            uint32_t got = GxFile::Read(chunk, sizeof(chunk), handle);
            ASSERT_EQ(got, std::min<int64_t>(100, size - at));
            EXPECT_EQ(std::string(chunk, got), data.substr(static_cast<size_t>(at), got)) << at;
        }
        ASSERT_TRUE(GxFile::Seek(handle, 1000, 0));
        ASSERT_TRUE(GxFile::Seek(handle, -10, 1));
        char chunk[8];
        ASSERT_EQ(GxFile::Read(chunk, 8, handle), 8u);
        EXPECT_EQ(std::string(chunk, 8), data.substr(990, 8));
        ASSERT_TRUE(GxFile::Seek(handle, -3, 2));
        ASSERT_EQ(GxFile::Read(chunk, 8, handle), 3u);
        EXPECT_EQ(std::string(chunk, 3), data.substr(data.size() - 3, 3));
        EXPECT_EQ(GxFile::Read(chunk, 8, handle), 0u);
        GxFile::Close(handle);
        GxFile::UnmountAll();
        ++kindIndex;
    }
}

TEST_F(GxPackFileTest, EntriesKeepTimeAndSizeFirstDuplicateWinsAndLongNamesAreAbsent)
{
    GxPackWriter writer;
    writer.Add(L"t.bin", std::string("12345"), 0x01D9ABCDEF012345ull);
    ASSERT_TRUE(Mount(writer, "t.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
    GxFileHandle handle;
    ASSERT_TRUE(GxFile::Open(handle, L"t.bin"));
    EXPECT_EQ(handle.GetFileTime(), 0x01D9ABCDEF012345ull);
    EXPECT_EQ(handle.GetSize(), 5u);
    EXPECT_EQ(GxFile::GetSize(L"T.BIN"), 5u);
    GxPackWriter one;
    one.Add(L"dup.txt", std::string("first"));
    one.Add(L"DUP.TXT", std::string("second"));
    ASSERT_TRUE(Mount(one, "one.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
    EXPECT_EQ(KvReadAll(L"Dup.txt"), "first");

    GxPackWriter two;
    two.Add(L"later.txt", std::string("from two"));
    two.Add(L"dup.txt", std::string("from two"));
    ASSERT_TRUE(Mount(two, "two.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
    EXPECT_EQ(KvReadAll(L"dup.txt"), "first");
    EXPECT_EQ(KvReadAll(L"later.txt"), "from two");

    GxPackFileHeaderCache* pack = nullptr;
    const uint8_t* entry = nullptr;
    ASSERT_NE(GxFile::FindInPacks(&pack, &entry, L"later.txt"), nullptr);
    EXPECT_EQ(pack->GetPath(), m_Dir.Wide("two.gxp"));
    std::wstring longest(521, L'a');
    std::wstring tooLong(522, L'b');
    GxPackWriter names;
    names.Add(longest, std::string("521"));
    names.Add(tooLong, std::string("522"));
    ASSERT_TRUE(Mount(names, "long.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
    EXPECT_EQ(KvReadAll(longest), "521");
    EXPECT_EQ(GxFile::Exists(tooLong), GxFile::kAbsent);
    EXPECT_EQ(GxFile::Exists(std::wstring(100000, L'c')), GxFile::kAbsent);
}

TEST_F(GxPackFileTest, LooseFileWinsAndNamesMatchInAnyAsciiCase)
{
    GxPackWriter writer;
    writer.Add(L"both/same.txt", std::string("packed"));
    writer.Add(L"only/packed.txt", std::string("in pack"));
    ASSERT_TRUE(Mount(writer, "win.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
    m_Dir.Write("both/same.txt", "loose");

    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
    ASSERT_EQ(chdir(m_Dir.Path().c_str()), 0);
    EXPECT_EQ(GxFile::Exists(L"both/same.txt"), GxFile::kLoose);
    EXPECT_EQ(KvReadAll(L"both/same.txt"), "loose");
    EXPECT_EQ(KvReadAll(L"BOTH\\Same.TXT"), "loose");
    EXPECT_EQ(GxFile::Exists(L"only/packed.txt"), GxFile::kPacked);
    EXPECT_EQ(KvReadAll(L"only/packed.txt"), "in pack");
    EXPECT_EQ(GxFile::Exists(L"nowhere.txt"), GxFile::kAbsent);
    // A folder named like a packed file counts as loose and cannot be opened.
    m_Dir.MakeDir("only/packed.txt.d");
    writer.Add(L"only/packed.txt.d", std::string("x"));
    ASSERT_TRUE(Mount(writer, "win2.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
    EXPECT_EQ(GxFile::Exists(L"only/packed.txt.d"), GxFile::kLoose);
    GxFileHandle handle;
    EXPECT_FALSE(GxFile::Open(handle, L"only/packed.txt.d"));
    ASSERT_EQ(chdir(saved), 0);
    // Names match in any ASCII case with either separator.
    GxPackWriter cases;
    cases.Add(L"Data/Sub/MixedCase.TXT", std::string("mixed"));
    cases.Add(L"data/lower.txt", std::string("lower"));
    ASSERT_TRUE(Mount(cases, "case.gxp", GxPackWriter::kNamesCp932, GxPackWriter::kScrambled));
    for (const wchar_t* name : {L"data/sub/mixedcase.txt", L"DATA\\SUB\\MIXEDCASE.TXT", L"dAtA\\sub/MixedCase.txt",
                                L"Data/Sub/MixedCase.TXT"})
        EXPECT_EQ(KvReadAll(name), "mixed") << name;
    EXPECT_EQ(KvReadAll(L"Data\\LOWER.txt"), "lower");
    EXPECT_EQ(KvReadAll(L"data/sub/mixedcase.txt.bak"), "<absent>");
    // Only ASCII letters fold: a full-width letter is a different name.
    EXPECT_EQ(GxFile::Exists(L"data/ｌower.txt"), GxFile::kAbsent);
}

TEST_F(GxPackFileTest, DescrambleUndoesTheWritersScrambleFromAnyPosition)
{
    const std::string plain = KvPatternBytes(30000, 3);
    for (uint32_t start : {0u, 1u, 255u, 5887u, 5889u, 100000u})
        for (size_t count : {size_t{0}, size_t{1}, size_t{13}, size_t{6000}, size_t{30000}})
        {
            std::vector<uint8_t> bytes(plain.begin(), plain.begin() + static_cast<long>(count));
            GxPackWriter::Scramble(bytes.data(), bytes.size(), start);
            if (count > 8)
            {
                EXPECT_NE(std::string(bytes.begin(), bytes.end()), plain.substr(0, count));
            }
            GxPack::Descramble(bytes.data(), static_cast<uint32_t>(bytes.size()), start);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), plain.substr(0, count)) << start << " " << count;
        }
    // Known bytes: position 0 uses table byte 0x5a, position 24 uses 24 ^ table[1].
    uint8_t zero[25] = {};
    GxPack::Descramble(zero, 25, 0);
    EXPECT_EQ(zero[0], 0x5a);
    EXPECT_EQ(zero[24], 24 ^ 0x17);
}

// A small valid plain pack with ANSI names and two entries, for corrupting.
std::vector<uint8_t> ValidPack(GxPackWriter::NameEncoding encoding, GxPackWriter::Scrambling scrambling)
{
    GxPackWriter writer;
    writer.Add(L"a.txt", std::string("alpha"));
    writer.Add(L"b.txt", std::string("beta"));
    std::vector<uint8_t> bytes;
    writer.Build(bytes, encoding, scrambling);
    return bytes;
}

// Sets a 32- or 64-bit field of a directory entry at byte offset `at` within the entry, honouring scrambling.
template <typename T> void SetEntry(std::vector<uint8_t>& pack, size_t entryStart, uint32_t at, T value, bool scrambled)
{
    uint8_t* p = pack.data() + entryStart + at;
    if constexpr (sizeof(T) == 4)
        GxPackWriter::PutU32(p, value);
    else
        GxPackWriter::PutU64(p, value);
    if (scrambled)
        GxPackWriter::Scramble(p, sizeof(T), at);
}

TEST_F(GxPackFileTest, MalformedMissingEmptyOrHalfNamedPacksAreRefused)
{
    struct Case
    {
        const char* what;
        void (*corrupt)(std::vector<uint8_t>&, bool scrambled);
    };
    const Case cases[] = {
        {"shorter than the header", [](std::vector<uint8_t>& p, bool) { p.resize(47); }},
        {"empty directory", [](std::vector<uint8_t>& p, bool) { GxPackWriter::PutU32(p.data() + 28, 0); }},
        {"directory past the end",
         [](std::vector<uint8_t>& p, bool) { GxPackWriter::PutU32(p.data() + 28, static_cast<uint32_t>(p.size())); }},
        {"directory cut by the end of the file", [](std::vector<uint8_t>& p, bool) { p.resize(48 + 40); }},
        {"entry count beyond the directory",
         [](std::vector<uint8_t>& p, bool) { GxPackWriter::PutU32(p.data() + 24, 3); }},
        {"huge entry count", [](std::vector<uint8_t>& p, bool) { GxPackWriter::PutU32(p.data() + 24, 0xFFFFFFFF); }},
        {"entry length below 33", [](std::vector<uint8_t>& p, bool s) { SetEntry<uint32_t>(p, 48, 0, 32, s); }},
        {"entry length zero", [](std::vector<uint8_t>& p, bool s) { SetEntry<uint32_t>(p, 48, 0, 0, s); }},
        {"entry length past the directory",
         [](std::vector<uint8_t>& p, bool s) { SetEntry<uint32_t>(p, 48, 0, 0x7FFFFFFF, s); }},
        {"second entry past the directory",
         [](std::vector<uint8_t>& p, bool s)
         {
             std::vector<uint8_t> head(p.begin() + 48, p.begin() + 52);
             if (s)
                 GxPackWriter::Scramble(head.data(), 4, 0);
             const uint32_t first = head[0] | head[1] << 8;
             SetEntry<uint32_t>(p, 48 + first, 0, 1000, s);
         }},
        // The first entry shortened so that its name's terminator falls outside it.
        {"name without terminator", [](std::vector<uint8_t>& p, bool s) { SetEntry<uint32_t>(p, 48, 0, 34, s); }},
        {"data offset past the file",
         [](std::vector<uint8_t>& p, bool s) { SetEntry<uint64_t>(p, 48, 24, 1u << 20, s); }},
        {"data size past the file", [](std::vector<uint8_t>& p, bool s) { SetEntry<uint32_t>(p, 48, 4, 1000, s); }},
        {"data offset overflowing 64 bits",
         [](std::vector<uint8_t>& p, bool s) { SetEntry<uint64_t>(p, 48, 24, 0xFFFFFFFFFFFFFFF0ull, s); }},
        {"data base past the file",
         [](std::vector<uint8_t>& p, bool) { GxPackWriter::PutU64(p.data() + 40, 0xFFFFFFFFFFFFFF00ull); }},
    };
    int index = 0;
    for (GxPackWriter::NameEncoding encoding : {GxPackWriter::kNamesCp932, GxPackWriter::kNamesUtf16LE})
        for (GxPackWriter::Scrambling scrambling : {GxPackWriter::kPlain, GxPackWriter::kScrambled})
            for (const Case& c : cases)
            {
                SCOPED_TRACE(c.what);
                std::vector<uint8_t> pack = ValidPack(encoding, scrambling);
                c.corrupt(pack, scrambling == GxPackWriter::kScrambled);
                std::string file = "bad" + std::to_string(index++) + ".gxp";
                m_Dir.Write(file, pack);
                uint32_t errors = GxLog::GetErrorCount();
                EXPECT_FALSE(GxFile::MountPack(m_Dir.Wide(file)));
                EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
                EXPECT_EQ(GxFile::Exists(L"a.txt"), GxFile::kAbsent);
            }
    // The uncorrupted packs mount.
    for (GxPackWriter::NameEncoding encoding : {GxPackWriter::kNamesCp932, GxPackWriter::kNamesUtf16LE})
        for (GxPackWriter::Scrambling scrambling : {GxPackWriter::kPlain, GxPackWriter::kScrambled})
        {
            m_Dir.Write("good.gxp", ValidPack(encoding, scrambling));
            EXPECT_TRUE(GxFile::MountPack(m_Dir.Wide("good.gxp")));
            EXPECT_EQ(KvReadAll(L"b.txt"), "beta");
            GxFile::UnmountAll();
        }

    // Missing, empty and half-named packs do not mount either.
    EXPECT_FALSE(GxFile::MountPack(m_Dir.Wide("no-such.gxp")));
    GxPackWriter empty;
    std::vector<uint8_t> bytes;
    empty.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain);
    m_Dir.Write("empty.gxp", bytes);
    EXPECT_FALSE(GxFile::MountPack(m_Dir.Wide("empty.gxp")));
    std::vector<uint8_t> pack = ValidPack(GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain);
    // "a.txt" in UTF-16 takes 10 bytes and 2 for the terminator: an entry of 43 bytes holds only half of it.
    SetEntry<uint32_t>(pack, 48, 0, 43, false);
    m_Dir.Write("half.gxp", pack);
    EXPECT_FALSE(GxFile::MountPack(m_Dir.Wide("half.gxp")));
}

TEST_F(GxPackFileTest, PackCommandBuildsPackThatReadsLikeItsFolder)
{
    // The test main always sets KV_TOOLS_DIR; the tools are built before the tests.
    const std::string program = std::string(std::getenv("KV_TOOLS_DIR")) + "/gxpack";
    struct stat st;
    ASSERT_EQ(stat(program.c_str(), &st), 0) << program << " is not built";
    m_Dir.Write("src/data/Table.txt", "id\tname\n1\tone\n");
    m_Dir.Write("src/cg/背景.png", KvPatternBytes(9000, 11));
    m_Dir.Write("src/empty.bin", "");
    std::string command =
        program + " --scramble --cp932 -o '" + m_Dir.Abs("out.gxp") + "' '" + m_Dir.Abs("src") + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(GxFile::MountPack(m_Dir.Wide("out.gxp")));
    for (const char* name : {"data/Table.txt", "cg/背景.png", "empty.bin"})
    {
        SCOPED_TRACE(name);
        std::wstring packed = GxString::FromUtf8(name);
        std::wstring loose = GxString::FromUtf8(m_Dir.Abs(std::string("src/") + name));
        EXPECT_EQ(GxFile::Exists(packed), GxFile::kPacked);
        EXPECT_EQ(KvReadAll(packed), KvReadAll(loose));
        GxFileHandle a, b;
        ASSERT_TRUE(GxFile::Open(a, packed));
        ASSERT_TRUE(GxFile::Open(b, loose));
        EXPECT_EQ(a.GetFileTime(), b.GetFileTime());
    }
}

} // namespace
