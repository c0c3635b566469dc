// The builtin dispatch: index ranges and exact names decide the family, the builtins it answers itself,
// the debug lines of indices 6 and 7, and the argument helpers.
#include "../appdata/DBTestSupport.h"

#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "script/GxMoaVariable.h"

#include <gtest/gtest.h>


using Family = GxMoaBuiltinEx::Family;

namespace
{

GxMoaVariable Int(int64_t v)
{
    GxMoaVariable x;
    x.SetInt(v);
    return x;
}
GxMoaVariable Str(const wchar_t* s)
{
    GxMoaVariable x;
    x.SetString(s);
    return x;
}

// Calls the dispatch with the arguments as one Array.
bool CallBuiltin(GxMoaBuiltinEx& builtin, const std::wstring& name, int32_t index, std::vector<GxMoaVariable> args,
                 GxMoaVariable& result)
{
    GxMoaVariable array;
    array.MakeArray(static_cast<int64_t>(args.size()));
    for (size_t i = 0; i < args.size(); ++i)
        array.Store(static_cast<int64_t>(i), args[i]);
    GxMoaExecStack stack;
    return builtin.Call(name, index, array, nullptr, nullptr, stack, result);
}

} // namespace

TEST(GxMoaBuiltinEx, RangesAndExactNamesPickTheFamily)
{
    struct Case
    {
        const wchar_t* name;
        int32_t index;
        bool found;
        Family family;
    } cases[] = {
        {L"msg", 500, true, Family::Message},     {L"msg", 1100, false, Family::Own},
        {L"msg", 999, true, Family::Message},     {L"MSG", 500, false, Family::Own},
        {L"rand", 300, true, Family::System},     {L"getlastselect", 700, true, Family::Own},
        {L"stand", 1099, true, Family::Layer},    {L"sp.wa", 1000, true, Family::Wait},
        {L"bg", 1100, true, Family::Picture},     {L"ev.wa", 1299, true, Family::Wait},
        {L"bg", 1600, false, Family::Own},        {L"wa.click", 2100, true, Family::Wait},
        {L"rp.end", 2399, true, Family::Own},     {L"cg.set", 2200, true, Family::Replay},
        {L"bgm", 2400, false, Family::Own},       {L"jumptotitle", 10000, true, Family::System},
        {L"jumptotitle", 20000, true, Family::System},
        {L"zor_getnotoriety", 20000, true, Family::Strategy},
        {L"zor_getnotoriety", 19999, false, Family::Own},
        {L"zor_getinvnexttownname", 25000, true, Family::Own},
        {L"sel.hash", 2099, true, Family::Select}, {L"mv", 1400, true, Family::Screen},
        {L"vo_3", 1599, true, Family::Sound},      {L"getlastselect", 0, false, Family::Own},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.index);
        Family family = Family::Own;
        EXPECT_EQ(GxMoaBuiltinEx::FindFamily(c.name, c.index, family), c.found);
        if (c.found)
            EXPECT_EQ(family, c.family);
    }
}

TEST(GxMoaBuiltinEx, PositionsAndPresence)
{
    GxMoaVariable null;
    const GxMoaVariable m = Str(L"M"), l = Str(L"L"), r = Str(L"R"), lower = Str(L"l"), empty = Str(L"");
    const GxMoaVariable t = Str(L"T"), b = Str(L"B"), num = Int(17);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&m, 5, 100), 462.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&m, 5, 101), 461.5);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&l, 5, 100), 0.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&r, 5, 100.5), 923.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&lower, 5, 100), 5.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(nullptr, 5, 100), 5.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosX(&num, 5, 100), 17.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosY(nullptr, 200), 568.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosY(&t, 200), 0.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosY(&m, 201), 283.5);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosY(&b, 200.5), 567.0);
    EXPECT_DOUBLE_EQ(GxMoaBuiltinEx::ArgPosY(&empty, 200.5), 567.5);

    const GxMoaVariable zero = Int(0);
    EXPECT_TRUE(GxMoaBuiltinEx::ArgPresent(&zero));
    EXPECT_FALSE(GxMoaBuiltinEx::ArgPresent(&empty));
    EXPECT_FALSE(GxMoaBuiltinEx::ArgPresent(&null));
    EXPECT_FALSE(GxMoaBuiltinEx::ArgPresent(nullptr));
}

TEST(GxMoaBuiltinEx, OwnAnswersAndDebugLines)
{
    dbtest::TempFolder folder;
    GxCore core;
    GxSystemConfig config;
    GxUserData userData(&core);
    core.m_SystemConfig = &config;
    core.m_UserData = &userData;
    core.m_SavePath = L"/saves/";
    userData.m_LastSelectNum = 3;
    GxMoaBuiltinEx builtin(&core);

    GxMoaVariable result;
    EXPECT_TRUE(CallBuiltin(builtin, L"getlastselect", 510, {}, result));
    EXPECT_EQ(result.GetType(), static_cast<uint32_t>(GxMoaVariable::TYPE_INT));
    EXPECT_EQ(result.ToInt64(), 3);
    EXPECT_TRUE(CallBuiltin(builtin, L"getsavedir", 500, {}, result));
    EXPECT_EQ(result.ToString(), L"/saves/");
    EXPECT_FALSE(CallBuiltin(builtin, L"getlastselect", 1100, {}, result));
    EXPECT_FALSE(CallBuiltin(builtin, L"nosuch", 500, {}, result));

    dbtest::LogCapture log(folder);
    const std::wstring old = GxLog::GetDebugLogPath();
    GxLog::SetDebugLogPath(folder.File(L"debug.log"));
    EXPECT_TRUE(CallBuiltin(builtin, L"", 7, {Str(L"quiet")}, result)); // not in debug mode
    config.m_DebugModeFlag = true;
    EXPECT_TRUE(CallBuiltin(builtin, L"", 7, {Str(L"100%")}, result));
    GxLog::SetDebugLogPath(old);
    EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"100%\n"});
    core.m_SystemConfig = nullptr;
    core.m_UserData = nullptr;
}
