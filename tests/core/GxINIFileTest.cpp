#include "FileTestSupport.h"

#include "core/GxINIFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

namespace
{

class GxINIFileTest : public ::testing::Test
{
protected:
    bool Load(const std::string& bytes)
    {
        m_Dir.Write("setting.ini", bytes);
        return m_Ini.Load(m_Dir.Wide("setting.ini"));
    }
    KvTempDir m_Dir;
    GxINIFile m_Ini;
};

TEST_F(GxINIFileTest, FirstKeyWinsKeysAreCaseSensitiveAndLinesWithoutEqualsAreIgnored)
{
    ASSERT_TRUE(Load("Title=first\r\nTitle=second\r\n  Spaced Key  =  spaced value \r\n"));
    EXPECT_EQ(m_Ini.GetString(L"Title", L"d"), L"first");
    EXPECT_EQ(m_Ini.GetString(L"title", L"d"), L"d");
    EXPECT_EQ(m_Ini.GetString(L"TITLE", L"d"), L"d");
    EXPECT_EQ(m_Ini.GetString(L"Spaced Key", L"d"), L"spaced value");
    ASSERT_TRUE(Load("[Section]\n; comment\n\n#Key=hash\nformula=a=b+c\n=empty key\n"));
    EXPECT_EQ(m_Ini.GetCount(), 3u);
    EXPECT_EQ(m_Ini.GetString(L"#Key", L""), L"hash");
    EXPECT_EQ(m_Ini.GetString(L"formula", L""), L"a=b+c");
    EXPECT_EQ(m_Ini.GetString(L"", L"none"), L"empty key");
    EXPECT_EQ(m_Ini.GetString(L"[Section]", L"none"), L"none");
}

TEST_F(GxINIFileTest, IntegersSwitchesCodePageAndReloads)
{
    ASSERT_TRUE(Load("one=1\ntwo= 2\nzero=0\nminus=-1\nword=yes\nbig=99999999999\nsmall=-99999999999\nmix=12ab\n"));
    EXPECT_TRUE(m_Ini.GetBool(L"one", false));
    EXPECT_TRUE(m_Ini.GetBool(L"two", false));
    EXPECT_FALSE(m_Ini.GetBool(L"zero", true));
    EXPECT_FALSE(m_Ini.GetBool(L"minus", true));
    EXPECT_FALSE(m_Ini.GetBool(L"word", true));
    EXPECT_TRUE(m_Ini.GetBool(L"absent", true));
    EXPECT_EQ(m_Ini.GetInt(L"two", 7), 2);
    EXPECT_EQ(m_Ini.GetInt(L"minus", 7), -1);
    EXPECT_EQ(m_Ini.GetInt(L"big", 7), INT32_MAX);
    EXPECT_EQ(m_Ini.GetInt(L"small", 7), INT32_MIN);
    EXPECT_EQ(m_Ini.GetInt(L"mix", 7), 12);
    EXPECT_EQ(m_Ini.GetInt(L"absent", 7), 7);
    ASSERT_TRUE(Load(GxString::ToMultiByte(L"Title=表示テスト\nSaveName=セーブ\n")));
    EXPECT_EQ(m_Ini.GetString(L"Title", L""), L"表示テスト");
    ASSERT_TRUE(Load("\xEF\xBB\xBFTitle=x\nNext=y\n"));
    EXPECT_EQ(m_Ini.GetString(L"Title", L"absent"), L"absent");
    ASSERT_TRUE(Load("a=1\n"));
    EXPECT_FALSE(m_Ini.Load(m_Dir.Wide("missing.ini")));
    EXPECT_EQ(m_Ini.GetCount(), 0u);
    ASSERT_TRUE(Load(""));
    EXPECT_EQ(m_Ini.GetCount(), 0u);
    ASSERT_TRUE(Load(std::string("a=1\0b=2\n", 8)));
    EXPECT_EQ(m_Ini.GetString(L"a", L""), L"1");
    EXPECT_EQ(m_Ini.GetString(L"b", L"none"), L"none");
}

// A section of a desktop-entry style file: only its own pairs, read as UTF-8, and a file that is not
// there (or a folder) gives false without an error line.
TEST_F(GxINIFileTest, SectionReadsOnlyItsOwnPairsAsUtf8)
{
    m_Dir.Write("mimeapps.list", "text/plain=outside.desktop\n[Added Associations]\ntext/plain=added.desktop\n"
                                 "[Default Applications]\r\ntext/plain = first.desktop;second.desktop;\r\n"
                                 "Name=\xE3\x82\xA8\xE3\x83\x87\xE3\x82\xA3\xE3\x82\xBF\n"
                                 "[Other]\ntext/plain=other.desktop\n");
    ASSERT_TRUE(m_Ini.LoadSection(m_Dir.Wide("mimeapps.list"), L"Default Applications"));
    EXPECT_EQ(m_Ini.GetCount(), 2u);
    EXPECT_EQ(m_Ini.GetString(L"text/plain", L""), L"first.desktop;second.desktop;");
    EXPECT_EQ(m_Ini.GetString(L"Name", L""), L"\x30A8\x30C7\x30A3\x30BF");
    ASSERT_TRUE(m_Ini.LoadSection(m_Dir.Wide("mimeapps.list"), L"Missing"));
    EXPECT_EQ(m_Ini.GetCount(), 0u);

    GxLog::ResetErrorCount();
    m_Dir.MakeDir("folder");
    EXPECT_FALSE(m_Ini.LoadSection(m_Dir.Wide("absent.list"), L"Default Applications"));
    EXPECT_FALSE(m_Ini.LoadSection(m_Dir.Wide("folder"), L"Default Applications"));
    EXPECT_EQ(GxLog::GetErrorCount(), 0u);
}

} // namespace
