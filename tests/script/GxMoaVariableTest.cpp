#include "script/GxMoaVariable.h"

#include "ScriptTestUtil.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

using namespace ScriptTest;

namespace
{
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
} // namespace

TEST(GxMoaVariable, ConversionsFollowTheTypeTableWhateverTheProcessLocale)
{
    EXPECT_EQ(StrV(L"12abc").ToInt64(), 12);
    EXPECT_EQ(StrV(L"abc").ToInt64(), 0);
    EXPECT_EQ(StrV(L"  -42x").ToInt64(), -42);
    EXPECT_EQ(StrV(L"99999999999999999999").ToInt64(), kMax);
    EXPECT_EQ(StrV(L"-99999999999999999999").ToInt64(), kMin);
    EXPECT_EQ(StrV(L"-9223372036854775808").ToInt64(), kMin);
    EXPECT_EQ(StrV(L"3000000000").ToInt(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(IntV(0x1'0000'0005).ToInt(), 5);
    EXPECT_EQ(FltV(-2.9).ToInt64(), -2);
    EXPECT_EQ(FltV(1e300).ToInt64(), kMax);
    EXPECT_EQ(FltV(NAN).ToInt(), 0);
    EXPECT_EQ(ArrV(3).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable().ToInt64(), 0);
    EXPECT_DOUBLE_EQ(StrV(L" 2.5e1z").ToFloat(), 25.0);
    EXPECT_DOUBLE_EQ(StrV(L"x2.5").ToFloat(), 0.0);
    EXPECT_EQ(FltV(1.5).ToString(), L"1.500000");
    EXPECT_EQ(FltV(-0.25).ToString(), L"-0.250000");
    EXPECT_EQ(IntV(-17).ToString(), L"-17");
    EXPECT_EQ(ArrV(3).ToString(), L"3");
    EXPECT_EQ(GxMoaVariable().ToString(), L"");
    EXPECT_EQ(OpV(21).ToString(), L"");
    EXPECT_EQ(RefV(L"name").ToString(), L"name");
    EXPECT_EQ(StrV(L"a\U0001F600").GetStringLength(), 3); // counted in UTF-16 units
    EXPECT_EQ(IntV(-12).GetStringLength(), 3);
    EXPECT_STREQ(GxMoaVariable::TypeName(39), L"Array");
    EXPECT_STREQ(GxMoaVariable::TypeName(1), L"Unknown");

    // The test main runs under a locale with a decimal comma where the machine has one.
    EXPECT_EQ(FltV(1234.5).ToString(), L"1234.500000");
    EXPECT_DOUBLE_EQ(StrV(L"1.25").ToFloat(), 1.25);
    EXPECT_DOUBLE_EQ(StrV(L"1,25").ToFloat(), 1.0);
}

TEST(GxMoaVariable, ArithmeticPromotesOnlyWithAFloat)
{
    EXPECT_EQ(GxMoaVariable::Add(IntV(7), StrV(L"2.5")).GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(GxMoaVariable::Add(IntV(7), StrV(L"2.5")).ToInt64(), 9);
    EXPECT_EQ(GxMoaVariable::Add(FltV(1.0), StrV(L"2.5")).GetType(), GxMoaVariable::TYPE_FLOAT);
    EXPECT_DOUBLE_EQ(GxMoaVariable::Add(FltV(1.0), StrV(L"2.5")).ToFloat(), 3.5);
    EXPECT_EQ(GxMoaVariable::Add(StrV(L"1"), StrV(L"2")).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::Add(IntV(kMax), IntV(1)).ToInt64(), kMin); // wraps
    EXPECT_EQ(GxMoaVariable::Mul(IntV(kMax), IntV(2)).ToInt64(), -2);
    EXPECT_EQ(GxMoaVariable::Sub(IntV(kMin), IntV(1)).ToInt64(), kMax);
    EXPECT_EQ(GxMoaVariable::Div(IntV(7), IntV(2)).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::Div(IntV(-7), IntV(2)).ToInt64(), -3);
    EXPECT_DOUBLE_EQ(GxMoaVariable::Div(FltV(7.0), IntV(2)).ToFloat(), 3.5);
    EXPECT_EQ(GxMoaVariable::Mod(IntV(-7), IntV(2)).ToInt64(), -1);
    EXPECT_DOUBLE_EQ(GxMoaVariable::Mod(FltV(-7.5), IntV(2)).ToFloat(), -1.5);
    EXPECT_EQ(GxMoaVariable::Concat(IntV(1), FltV(2.0)).ToString(), L"12.000000");
    EXPECT_EQ(GxMoaVariable::Concat(StrV(L"1"), StrV(L"2")).GetType(), GxMoaVariable::TYPE_STR);
}

TEST(GxMoaVariable, DivisionByZeroGivesNullAndMostNegativeByMinusOneIsDefined)
{
    EXPECT_TRUE(GxMoaVariable::Div(IntV(5), IntV(0)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Mod(IntV(5), GxMoaVariable()).IsNull());
    EXPECT_TRUE(GxMoaVariable::Div(FltV(1.0), FltV(1e-17)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Div(FltV(1.0), FltV(-2.220446049250313e-16)).IsNull());
    EXPECT_FALSE(GxMoaVariable::Div(FltV(1.0), FltV(3e-16)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Mod(FltV(1.0), FltV(0.0)).IsNull());
    GxMoaVariable t = IntV(4);
    GxMoaVariable::DivAssign(t, IntV(0));
    EXPECT_TRUE(t.IsNull());

    EXPECT_EQ(GxMoaVariable::Div(IntV(kMin), IntV(-1)).GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(GxMoaVariable::Div(IntV(kMin), IntV(-1)).ToInt64(), kMin);
    EXPECT_EQ(GxMoaVariable::Mod(IntV(kMin), IntV(-1)).ToInt64(), 0);
    GxMoaVariable m = IntV(kMin);
    GxMoaVariable::ModAssign(m, StrV(L"-1"));
    EXPECT_EQ(m.ToInt64(), 0);
}

TEST(GxMoaVariable, BitwiseAndShiftOperators)
{
    EXPECT_EQ(GxMoaVariable::ShiftLeft(IntV(1), IntV(64)).ToInt64(), 0);
    EXPECT_EQ(GxMoaVariable::ShiftRight(IntV(-8), IntV(1)).ToInt64(), 9223372036854775804);
    EXPECT_EQ(GxMoaVariable::ShiftRight(IntV(-1), IntV(100)).ToInt64(), 0);
    EXPECT_EQ(GxMoaVariable::ShiftLeft(IntV(3), IntV(256)).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::ShiftLeft(IntV(3), IntV(-255)).ToInt64(), 6); // low 8 bits: 1
    EXPECT_EQ(GxMoaVariable::BitAnd(IntV(6), StrV(L"3")).ToInt64(), 2);
    EXPECT_EQ(GxMoaVariable::BitOr(FltV(4.9), IntV(1)).ToInt64(), 5);
    EXPECT_EQ(GxMoaVariable::BitXor(IntV(5), IntV(1)).ToInt64(), 4);
}

TEST(GxMoaVariable, UnaryOperatorsChangeTheValueInPlace)
{
    using V = GxMoaVariable;
    const struct
    {
        GxMoaVariable m_Value;
        void (*m_Op)(GxMoaVariable&);
        int64_t m_Expect;
    } cases[] = {
        {V(), &V::LogicalNot, 1},       {FltV(0.5), &V::LogicalNot, 1}, {IntV(3), &V::LogicalNot, 0},
        {ArrV(2), &V::LogicalNot, 1},   {ArrV(2), &V::Negate, 0},       {StrV(L"5"), &V::Negate, -5},
        {IntV(kMin), &V::Negate, kMin}, {V(), &V::BitNot, -1},          {FltV(-1.0), &V::BitNot, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        GxMoaVariable v = cases[i].m_Value;
        cases[i].m_Op(v);
        EXPECT_EQ(v.GetType(), GxMoaVariable::TYPE_INT) << i;
        EXPECT_EQ(v.ToInt64(), cases[i].m_Expect) << i;
    }
}

TEST(GxMoaVariable, ComparisonsFollowTheSevenRules)
{
    using V = GxMoaVariable;
    EXPECT_TRUE(V::Equal(IntV(3), FltV(3.0000000000000001)));
    EXPECT_TRUE(V::Equal(FltV(0.1), FltV(0.1)));
    EXPECT_TRUE(V::Equal(V(), StrV(L"")));
    EXPECT_TRUE(V::Equal(V(), IntV(0)));
    EXPECT_TRUE(V::Less(V(), IntV(1)));
    EXPECT_TRUE(V::Greater(IntV(1), V()));
    EXPECT_TRUE(V::Less(IntV(-1), V()));
    EXPECT_FALSE(V::Equal(V(), ArrV(0)));
    EXPECT_TRUE(V::NotEqual(V(), ArrV(0)));
    EXPECT_TRUE(V::GreaterEqual(V(), V()));
    EXPECT_FALSE(V::Greater(V(), V()));
    EXPECT_TRUE(V::Less(StrV(L"abc"), StrV(L"abd")));
    EXPECT_TRUE(V::Less(StrV(L"ab"), StrV(L"abc")));
    EXPECT_TRUE(V::Equal(StrV(L"5"), IntV(5)));
    EXPECT_FALSE(V::Equal(StrV(L"1.5"), FltV(1.5)));
    EXPECT_TRUE(V::Equal(StrV(L"1.500000"), FltV(1.5)));
    EXPECT_TRUE(V::Less(IntV(-5), IntV(3)));
    EXPECT_TRUE(V::Greater(FltV(2.5), IntV(2)));
    EXPECT_TRUE(V::Less(StrV(L"10"), IntV(9))); // mixed Str and Int compare as text
    EXPECT_TRUE(V::Equal(ArrV(3), IntV(3)));
    EXPECT_FALSE(V::Less(FltV(NAN), FltV(1.0)));
    EXPECT_FALSE(V::GreaterEqual(FltV(NAN), FltV(1.0)));
    // UTF-16 order: a character beyond U+FFFF (a surrogate pair) sorts below U+FF01.
    EXPECT_TRUE(V::Less(StrV(L"\U0001F600"), StrV(L"\uFF01")));
}

TEST(GxMoaVariable, ArraysGrowOnReadAndStoreUpToTheirCap)
{
    GxMoaVariable a = ArrV(3);
    ASSERT_NE(a.GetElement(5), nullptr);
    EXPECT_EQ(a.GetArraySize(), 6);
    EXPECT_TRUE(a.GetElement(4)->IsNull());
    EXPECT_EQ(a.GetElement(-1), &a);
    EXPECT_EQ(a.GetElement(-2), nullptr);
    GxMoaVariable i = IntV(9);
    EXPECT_EQ(i.GetElement(0), nullptr);
    ASSERT_TRUE(i.Store(2, IntV(1)));
    ASSERT_EQ(i.GetArraySize(), 3);
    EXPECT_TRUE(i.PeekElement(0)->IsNull());
    EXPECT_EQ(i.PeekElement(2)->ToInt64(), 1);
    GxMoaVariable before = i;
    EXPECT_TRUE(i.Store(-2, IntV(5)));
    EXPECT_EQ(i.GetArraySize(), 3);
    i.Store(-1, StrV(L"x"));
    EXPECT_EQ(i.ToString(), L"x");
    // Storing an array into its own element copies first.
    GxMoaVariable self = ArrV(1);
    self.Store(0, self);
    EXPECT_EQ(self.PeekElement(0)->GetArraySize(), 1);

    GxMoaVariable capped = ArrV(1);
    EXPECT_EQ(capped.GetElement(1000000000), nullptr);
    EXPECT_EQ(capped.GetElement(GxMoaVariable::kMaxArraySize), nullptr);
    EXPECT_EQ(capped.GetArraySize(), 1);
    EXPECT_FALSE(capped.Store(GxMoaVariable::kMaxArraySize, IntV(1)));
    EXPECT_EQ(capped.GetArraySize(), 1);
    EXPECT_FALSE(capped.MakeArray(GxMoaVariable::kMaxArraySize + 1));
    EXPECT_NE(capped.GetElement(GxMoaVariable::kMaxArraySize - 1), nullptr);
}

TEST(GxMoaVariable, CopiesAreDeep)
{
    GxMoaVariable a = ArrV(2);
    a.Store(0, StrV(L"text"));
    GxMoaVariable b = a;
    b.GetElement(0)->SetInt(1);
    EXPECT_EQ(a.PeekElement(0)->ToString(), L"text");
    GxMoaVariable c;
    c.Assign(a);
    a.Clear();
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(c.PeekElement(0)->ToString(), L"text");
}

TEST(GxMoaVariable, DumpTextListsArraysElementByElement)
{
    GxMoaVariable a = ArrV(2);
    a.Store(0, IntV(5));
    a.Store(1, StrV(L"s"));
    EXPECT_EQ(GxMoaVariable::DumpText(a, L"arr", 1), L"  $arr[2]=(Array)\n    $[0]=5(Int)\n    $[1]=\"s\"(Str)\n");
    EXPECT_EQ(GxMoaVariable::DumpText(GxMoaVariable(), L"n", 0), L"$n=Null\n");
    EXPECT_EQ(GxMoaVariable::DumpText(FltV(1.5), L"", 0), L"=1.500000(Float)\n");
    EXPECT_EQ(GxMoaVariable::DumpText(RefV(L"x"), L"r", 0), L"$r=Unknown\n");
}

using GxMoaVariableRecord = ::testing::TestWithParam<Form>;

TEST_P(GxMoaVariableRecord, EveryTypeRoundTrips)
{
    // FltV(0.1): exact bits, also in the text form.
    std::vector<GxMoaVariable> values = {
        IntV(kMin),      FltV(0.1), FltV(-1e-300),  StrV(L"日本語 \"quoted\"\ttab\nline"),
        RefV(L"target"), OpV(-3),   GxMoaVariable()};
    GxMoaVariable nested = ArrV(3);
    nested.Store(0, IntV(1));
    nested.Store(1, ArrV(2));
    nested.GetElement(1)->Store(1, StrV(L"deep"));
    values.push_back(nested);

    const auto bytes = WriteBytes(GetParam(),
                                  [&](GxContentWriterBase* w)
                                  {
                                      for (const auto& v : values)
                                          ASSERT_TRUE(v.Write(w));
                                  });
    auto reader = MakeReader(GetParam(), bytes);
    for (const auto& expected : values)
    {
        GxMoaVariable got;
        ASSERT_TRUE(got.Read(reader.get()));
        EXPECT_EQ(got.GetType(), expected.GetType());
        EXPECT_EQ(got.GetRawInt() == expected.GetRawInt() || expected.GetType() == GxMoaVariable::TYPE_STR ||
                      expected.GetType() == GxMoaVariable::TYPE_REFVAR || expected.IsArray(),
                  true);
        EXPECT_EQ(GxMoaVariable::DumpText(got, L"v", 0), GxMoaVariable::DumpText(expected, L"v", 0));
    }
    EXPECT_EQ(reader->GetErrorCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothForms, GxMoaVariableRecord, ::testing::Values(Form::Binary, Form::Text),
                         [](const auto& info) { return info.param == Form::Binary ? "Binary" : "Text"; });

TEST(GxMoaVariable, RecordLayoutHasNoListFramesAndDamagedRecordsAreRefused)
{
    GxMoaVariable a = ArrV(1);
    a.Store(0, FltV(1.0));
    const auto layout = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { a.Write(w); });
    EXPECT_EQ(layout, Bytes().U32(39).S32(1).U32(10).S64(std::bit_cast<int64_t>(1.0)).Get());

    // An array whose count runs past the data, a negative count, and nesting too deep.
    Bytes deep;
    for (int i = 0; i < 10000; ++i)
        deep.U32(39).S32(1);
    deep.U32(254);
    for (const auto& bytes :
         {Bytes().U32(39).S32(1000000).U32(7).S64(1).Get(), Bytes().U32(39).S32(-1).Get(), deep.Get()})
    {
        GxMoaVariable v;
        EXPECT_FALSE(v.Read(MakeReader(Form::Binary, bytes).get()));
    }
    // An unknown type code is kept with no payload.
    const auto bytes = Bytes().U32(99).Get();
    GxMoaVariable v;
    EXPECT_TRUE(v.Read(MakeReader(Form::Binary, bytes).get()));
    EXPECT_EQ(v.GetType(), 99u);
}

