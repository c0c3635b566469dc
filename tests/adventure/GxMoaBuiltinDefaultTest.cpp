#include "BuiltinTestSupport.h"
#include "adventure/GxMoaBuiltinDefault.h"
#include "adventure/GxMoaDumpFile.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>

using namespace BuiltinTest;

namespace
{
struct ValueCase
{
    int32_t m_Index;
    GxMoaVariable m_Args;
    std::wstring m_Expected; // the result's type name and text
};

std::wstring Describe(const GxMoaVariable& v)
{
    return std::wstring(GxMoaVariable::TypeName(v.GetType())) + L":" + v.ToString();
}
} // namespace

TEST(GxMoaBuiltinDefault, ValueStringAndArithmeticBuiltinsGiveTheirResults)
{
    const GxMoaVariable nul;
    const std::vector<ValueCase> cases = {
        {1, Args({StrV(L"42abc")}), L"Int:42"},
        {2, Args({StrV(L"2.5")}), L"Float:" + FltV(2.5).ToString()},
        {3, Args({nul}), L"Str:"},
        {4, Args({ArrV(0)}), L"Int:1"},
        {4, Args({StrV(L"a")}), L"Int:0"},
        {5, Args({StrV(L"abc")}), L"Int:0"},
        {5, Args({ArrV(3)}), L"Int:3"},
        {11, Args({StrV(L"日本語abc")}), L"Int:6"},
        {12, Args({StrV(L"abcdef"), IntV(2), IntV(3)}), L"Str:cde"},
        {12, Args({StrV(L"abcdef"), IntV(2)}), L"Str:cdef"},
        {12, Args({StrV(L"abcdef"), IntV(2), IntV(0)}), L"Str:"},
        {12, Args({StrV(L"abcdef"), IntV(2), IntV(99)}), L"Str:cdef"},
        {12, Args({StrV(L"abcdef"), IntV(-1), IntV(3)}), L"Str:"},
        {12, Args({StrV(L"abcdef"), IntV(6), IntV(3)}), L"Str:"},
        {12, Args({StrV(L"abcdef"), IntV(1), IntV(-4)}), L"Str:"},
        {13, Args({StrV(L"AbÄ")}), L"Str:abÄ"},
        {14, Args({StrV(L"aBc")}), L"Str:ABC"},
        {15, Args({StrV(L"abcabc"), StrV(L"c")}), L"Int:2"},
        {15, Args({StrV(L"abcabc"), StrV(L"c"), IntV(3)}), L"Int:5"},
        {15, Args({StrV(L"abc"), StrV(L"x")}), L"Int:-1"},
        {15, Args({StrV(L"abc"), StrV(L"a"), IntV(-2)}), L"Int:-1"},
        {15, Args({StrV(L"abc"), StrV(L"a"), IntV(40)}), L"Int:-1"},
        {100, Args({IntV(-7)}), L"Int:-1"},
        {101, Args({IntV(-7)}), L"Int:7"},
        {102, Args({FltV(-0.5)}), L"Float:" + FltV(-1.0).ToString()},
        {103, Args({FltV(-2.5)}), L"Float:" + FltV(2.5).ToString()},
        {104, Args({IntV(-7), IntV(3)}), L"Float:" + FltV(-1.0).ToString()},
        {105, Args({IntV(2), IntV(10)}), L"Float:" + FltV(1024.0).ToString()},
        {106, Args({IntV(16)}), L"Float:" + FltV(4.0).ToString()},
        {107, Args({IntV(0)}), L"Float:" + FltV(1.0).ToString()},
    };
    GxMoaBuiltinDefault builtin;
    for (const ValueCase& c : cases)
    {
        Bench bench;
        EXPECT_TRUE(bench.Call(builtin, L"f", c.m_Index, c.m_Args)) << c.m_Index;
        EXPECT_EQ(Describe(bench.m_Result), c.m_Expected) << "index " << c.m_Index;
    }
}

TEST(GxMoaBuiltinDefault, OnlyTheFortySevenIndicesAreBuiltinsAndOtherArgumentsDoNothing)
{
    int count = 0;
    for (int32_t i = -1; i < 300; ++i)
        count += GxMoaBuiltinDefault::IsBuiltinIndex(i) ? 1 : 0;
    EXPECT_EQ(count, 47);
    GxMoaBuiltinDefault builtin;
    for (int32_t index : {0, 18, 19, 33, 63, 72, 99, 109, 299})
    {
        Bench bench;
        EXPECT_FALSE(bench.Call(builtin, L"f", index, Args({IntV(1)}))) << index;
        EXPECT_TRUE(bench.m_Result.IsNull());
    }
    // An argument value that is no Array: handled, nothing done, even for a jump.
    for (int32_t index : {1, 12, 64, 104})
    {
        Bench bench;
        EXPECT_TRUE(bench.Call(builtin, L"f", index, IntV(5))) << index;
        EXPECT_TRUE(bench.m_Result.IsNull());
    }
}

TEST(GxMoaBuiltinDefault, MathsOutsideItsDomainGivesAFloat)
{
    GxMoaBuiltinDefault builtin;
    Bench bench;
    ASSERT_TRUE(bench.Call(builtin, L"fmod", 104, Args({IntV(1), IntV(0)})));
    EXPECT_TRUE(std::isnan(bench.m_Result.GetRawFloat()));
    ASSERT_TRUE(bench.Call(builtin, L"sqrt", 106, Args({IntV(-1)})));
    EXPECT_TRUE(std::isnan(bench.m_Result.GetRawFloat()));
    ASSERT_TRUE(bench.Call(builtin, L"ln", 108, Args({IntV(0)})));
    EXPECT_EQ(bench.m_Result.GetType(), GxMoaVariable::TYPE_FLOAT);
    EXPECT_TRUE(std::isinf(bench.m_Result.GetRawFloat()));
}

TEST(GxMoaBuiltinDefault, ClockCalendarLocaleAndTimeZone)
{
    GxMoaBuiltinDefault builtin;
    Bench bench;
    ASSERT_TRUE(bench.Call(builtin, L"time", 23, GxMoaVariable()));
    const int64_t now = bench.m_Result.GetRawInt();
    const time_t t = static_cast<time_t>(now);
    struct tm local = {};
    localtime_r(&t, &local);
    ASSERT_TRUE(bench.Call(builtin, L"year", 24, Args({IntV(now)})));
    EXPECT_EQ(bench.m_Result.GetRawInt(), local.tm_year + 1900);
    ASSERT_TRUE(bench.Call(builtin, L"weekday", 30, Args({IntV(now)})));
    EXPECT_EQ(bench.m_Result.GetRawInt(), local.tm_wday);
    // A time the local-time conversion cannot represent gives 0 and does not fail.
    ASSERT_TRUE(bench.Call(builtin, L"year", 24, Args({IntV(INT64_MAX)})));
    EXPECT_EQ(bench.m_Result.GetRawInt(), 0);

    EXPECT_EQ(GxMoaBuiltinDefault::LocaleIdFromName(L"ja_JP.UTF-8"), 1041);
    EXPECT_EQ(GxMoaBuiltinDefault::LocaleIdFromName(L"en_GB.UTF-8"), 1033);
    EXPECT_EQ(GxMoaBuiltinDefault::LocaleIdFromName(L""), 1033);

    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "JST-9", 1);
    ASSERT_TRUE(bench.Call(builtin, L"gettzname", 21, GxMoaVariable()));
    EXPECT_EQ(bench.m_Result.ToString(), L"JST");
    ASSERT_TRUE(bench.Call(builtin, L"gettzbias", 22, GxMoaVariable()));
    EXPECT_EQ(bench.m_Result.GetRawInt(), -540); // UTC = local - 9 hours
    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    ASSERT_TRUE(bench.Call(builtin, L"getcurdir", 32, GxMoaVariable()));
    EXPECT_EQ(bench.m_Result.ToString().back(), L'/');
}

TEST(GxMoaBuiltinDefault, JumpsCallsAndReturnsRunInScripts)
{
    GxMoaBuiltinDefault builtin;
    SourceProgram p({{"Main.txt", "*MAIN\n@gosub(\"SUB\", 2)\n@$r = result()\n@$h = haslabel(\"SUB\", \"MAIN\")\n"
                                  "@$n = haslabel(\"NONE\", \"main\")\n@gotoif(0, \"SUB\", \"\")\n@$x = 1\n"
                                  "@goto(\"NOWHERE\")\n@$y = 1\n"
                                  "*SUB\n@return($_ + 3)\n"}});
    ASSERT_EQ(p.m_Build.m_ExitCode, 0) << p.m_Build.m_Messages;
    ASSERT_TRUE(p.m_Worker->StartAtLabel(L"MAIN"));
    p.RunToEnd(&builtin);
    const auto value = [&](const wchar_t* name)
    {
        const GxMoaVariableSet* set = p.m_Worker->LookupVariable(name);
        return set ? set->m_Value.ToString() : std::wstring(L"(none)");
    };
    EXPECT_EQ(value(L"r"), L"5");
    EXPECT_EQ(value(L"h"), L"1"); // the script name is lowered, the label taken as written
    EXPECT_EQ(value(L"n"), L"0");
    EXPECT_EQ(value(L"x"), L"1"); // an empty chosen label does nothing
    EXPECT_EQ(value(L"y"), L"(none)");
    EXPECT_EQ(p.m_Moa.m_ErrorStop, 1);
    const auto errors = p.m_Moa.Lines(L"err:");
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.front().find(L"goto:飛び先のラベルが見つかりません[NOWHERE]"), std::wstring::npos)
        << GxString::ToUtf8(errors.front());
}

TEST(GxMoaBuiltinDefault, DumpFileOfTheArrayExampleIsUtf16WithCrLf)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv_builtin_dump";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / "dump.txt";
    GxMoaBuiltinDefault builtin;
    Bench bench;
    GxMoaVariable a = ArrV(3);
    a.Store(0, IntV(1));
    a.Store(1, StrV(L"x"));
    a.Store(2, ArrV(0));
    bench.m_Program.m_Moa.m_ExternTable.Add(L"a", a);
    bench.m_Program.m_Moa.m_ExternTable.GetAt(0)->m_Scope = 8;
    ASSERT_TRUE(bench.Call(builtin, L"dumpvars", 17, Args({StrV(GxString::FromUtf8(path.string()))})));

    const std::string text = "--MoaInstance:\n"
                             "Scope:EXTERN_PERMAN\n"
                             "$a[3]=(Array)\n"
                             "  $[0]=1(Int)\n"
                             "  $[1]=\"x\"(Str)\n"
                             "  $[2][0]=(Array)\n"
                             "----Worker:MAIN_WORKER\n"
                             "------Script:t\n"
                             "------ExecStack:0\n";
    std::string expected = "\xFF\xFE";
    for (char c : text)
    {
        if (c == '\n')
            expected += std::string("\r\0", 2);
        expected += std::string(1, c) + '\0';
    }
    const auto bytes = ReadFile(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    std::filesystem::remove_all(dir);
}
