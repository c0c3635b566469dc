#include "script/GxMoaVariable.h"

#include "ScriptTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace ScriptTest;

namespace
{
GxMoaVariable Int(int64_t v)
{
    GxMoaVariable x;
    x.SetInt(v);
    return x;
}

GxMoaVariable Flt(double v)
{
    GxMoaVariable x;
    x.SetFloat(v);
    return x;
}

GxMoaVariable Str(const std::wstring& v)
{
    GxMoaVariable x;
    x.SetString(v);
    return x;
}

GxMoaVariable Arr(int n)
{
    GxMoaVariable x;
    x.MakeArray(n);
    return x;
}

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
} // namespace

TEST(GxMoaVariable, ConversionsFollowTheTypeTable)
{
    EXPECT_EQ(Str(L"12abc").ToInt64(), 12);
    EXPECT_EQ(Str(L"abc").ToInt64(), 0);
    EXPECT_EQ(Str(L"  -42x").ToInt64(), -42);
    EXPECT_EQ(Str(L"99999999999999999999").ToInt64(), kMax);
    EXPECT_EQ(Str(L"-99999999999999999999").ToInt64(), kMin);
    EXPECT_EQ(Str(L"-9223372036854775808").ToInt64(), kMin);
    EXPECT_EQ(Str(L"3000000000").ToInt(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Int(0x1'0000'0005).ToInt(), 5);
    EXPECT_EQ(Flt(-2.9).ToInt64(), -2);
    EXPECT_EQ(Flt(1e300).ToInt64(), kMax);
    EXPECT_EQ(Flt(NAN).ToInt(), 0);
    EXPECT_EQ(Arr(3).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable().ToInt64(), 0);
    EXPECT_DOUBLE_EQ(Str(L" 2.5e1z").ToFloat(), 25.0);
    EXPECT_DOUBLE_EQ(Str(L"x2.5").ToFloat(), 0.0);
    EXPECT_EQ(Flt(1.5).ToString(), L"1.500000");
    EXPECT_EQ(Flt(-0.25).ToString(), L"-0.250000");
    EXPECT_EQ(Int(-17).ToString(), L"-17");
    EXPECT_EQ(Arr(3).ToString(), L"3");
    EXPECT_EQ(GxMoaVariable().ToString(), L"");
    GxMoaVariable op;
    op.SetOpcode(21);
    EXPECT_EQ(op.ToString(), L"");
    GxMoaVariable ref;
    ref.SetRefVar(L"name");
    EXPECT_EQ(ref.ToString(), L"name");
    EXPECT_EQ(Str(L"a\U0001F600").GetStringLength(), 3); // counted in UTF-16 units
    EXPECT_EQ(Int(-12).GetStringLength(), 3);
    EXPECT_STREQ(GxMoaVariable::TypeName(39), L"Array");
    EXPECT_STREQ(GxMoaVariable::TypeName(1), L"Unknown");
}

TEST(GxMoaVariable, ConversionsIgnoreTheProcessLocale)
{
    // The test main runs under a locale with a decimal comma where the machine has one.
    EXPECT_EQ(Flt(1234.5).ToString(), L"1234.500000");
    EXPECT_DOUBLE_EQ(Str(L"1.25").ToFloat(), 1.25);
    EXPECT_DOUBLE_EQ(Str(L"1,25").ToFloat(), 1.0);
}

TEST(GxMoaVariable, ArithmeticPromotesOnlyWithAFloat)
{
    const GxMoaVariable a = GxMoaVariable::Add(Int(7), Str(L"2.5"));
    EXPECT_EQ(a.GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(a.ToInt64(), 9);
    const GxMoaVariable b = GxMoaVariable::Add(Flt(1.0), Str(L"2.5"));
    EXPECT_EQ(b.GetType(), GxMoaVariable::TYPE_FLOAT);
    EXPECT_DOUBLE_EQ(b.ToFloat(), 3.5);
    EXPECT_EQ(GxMoaVariable::Add(Str(L"1"), Str(L"2")).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::Add(Int(kMax), Int(1)).ToInt64(), kMin); // wraps
    EXPECT_EQ(GxMoaVariable::Mul(Int(kMax), Int(2)).ToInt64(), -2);
    EXPECT_EQ(GxMoaVariable::Sub(Int(kMin), Int(1)).ToInt64(), kMax);
    EXPECT_EQ(GxMoaVariable::Div(Int(7), Int(2)).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::Div(Int(-7), Int(2)).ToInt64(), -3);
    EXPECT_DOUBLE_EQ(GxMoaVariable::Div(Flt(7.0), Int(2)).ToFloat(), 3.5);
    EXPECT_EQ(GxMoaVariable::Mod(Int(-7), Int(2)).ToInt64(), -1);
    EXPECT_DOUBLE_EQ(GxMoaVariable::Mod(Flt(-7.5), Int(2)).ToFloat(), -1.5);
    EXPECT_EQ(GxMoaVariable::Concat(Int(1), Flt(2.0)).ToString(), L"12.000000");
    EXPECT_EQ(GxMoaVariable::Concat(Str(L"1"), Str(L"2")).GetType(), GxMoaVariable::TYPE_STR);
}

TEST(GxMoaVariable, DivisionByZeroGivesNull)
{
    EXPECT_TRUE(GxMoaVariable::Div(Int(5), Int(0)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Mod(Int(5), GxMoaVariable()).IsNull());
    EXPECT_TRUE(GxMoaVariable::Div(Flt(1.0), Flt(1e-17)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Div(Flt(1.0), Flt(-2.220446049250313e-16)).IsNull());
    EXPECT_FALSE(GxMoaVariable::Div(Flt(1.0), Flt(3e-16)).IsNull());
    EXPECT_TRUE(GxMoaVariable::Mod(Flt(1.0), Flt(0.0)).IsNull());
    GxMoaVariable t = Int(4);
    GxMoaVariable::DivAssign(t, Int(0));
    EXPECT_TRUE(t.IsNull());
}

TEST(GxMoaVariable, MostNegativeByMinusOneIsDefined)
{
    const GxMoaVariable q = GxMoaVariable::Div(Int(kMin), Int(-1));
    EXPECT_EQ(q.GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(q.ToInt64(), kMin);
    const GxMoaVariable r = GxMoaVariable::Mod(Int(kMin), Int(-1));
    EXPECT_EQ(r.ToInt64(), 0);
    GxMoaVariable t = Int(kMin);
    GxMoaVariable::ModAssign(t, Str(L"-1"));
    EXPECT_EQ(t.ToInt64(), 0);
}

TEST(GxMoaVariable, BitwiseAndShiftOperators)
{
    EXPECT_EQ(GxMoaVariable::ShiftLeft(Int(1), Int(64)).ToInt64(), 0);
    EXPECT_EQ(GxMoaVariable::ShiftRight(Int(-8), Int(1)).ToInt64(), 9223372036854775804);
    EXPECT_EQ(GxMoaVariable::ShiftRight(Int(-1), Int(100)).ToInt64(), 0);
    EXPECT_EQ(GxMoaVariable::ShiftLeft(Int(3), Int(256)).ToInt64(), 3);
    EXPECT_EQ(GxMoaVariable::ShiftLeft(Int(3), Int(-255)).ToInt64(), 6); // low 8 bits: 1
    EXPECT_EQ(GxMoaVariable::BitAnd(Int(6), Str(L"3")).ToInt64(), 2);
    EXPECT_EQ(GxMoaVariable::BitOr(Flt(4.9), Int(1)).ToInt64(), 5);
    EXPECT_EQ(GxMoaVariable::BitXor(Int(5), Int(1)).ToInt64(), 4);
}

TEST(GxMoaVariable, UnaryOperatorsChangeTheValueInPlace)
{
    GxMoaVariable v;
    GxMoaVariable::LogicalNot(v);
    EXPECT_EQ(v.ToInt64(), 1);
    v = Flt(0.5);
    GxMoaVariable::LogicalNot(v);
    EXPECT_EQ(v.ToInt64(), 1);
    v = Int(3);
    GxMoaVariable::LogicalNot(v);
    EXPECT_EQ(v.ToInt64(), 0);
    v = Arr(2);
    GxMoaVariable::LogicalNot(v);
    EXPECT_EQ(v.ToInt64(), 1);
    v = Arr(2);
    GxMoaVariable::Negate(v);
    EXPECT_EQ(v.GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(v.ToInt64(), 0);
    v = Str(L"5");
    GxMoaVariable::Negate(v);
    EXPECT_EQ(v.ToInt64(), -5);
    v = Int(kMin);
    GxMoaVariable::Negate(v);
    EXPECT_EQ(v.ToInt64(), kMin);
    v = GxMoaVariable();
    GxMoaVariable::BitNot(v);
    EXPECT_EQ(v.ToInt64(), -1);
    v = Flt(-1.0);
    GxMoaVariable::BitNot(v);
    EXPECT_EQ(v.ToInt64(), 0);
}

TEST(GxMoaVariable, ComparisonsFollowTheSevenRules)
{
    using V = GxMoaVariable;
    EXPECT_TRUE(V::Equal(Int(3), Flt(3.0000000000000001)));
    EXPECT_TRUE(V::Equal(Flt(0.1), Flt(0.1)));
    EXPECT_TRUE(V::Equal(V(), Str(L"")));
    EXPECT_TRUE(V::Equal(V(), Int(0)));
    EXPECT_TRUE(V::Less(V(), Int(1)));
    EXPECT_TRUE(V::Greater(Int(1), V()));
    EXPECT_TRUE(V::Less(Int(-1), V()));
    EXPECT_FALSE(V::Equal(V(), Arr(0)));
    EXPECT_TRUE(V::NotEqual(V(), Arr(0)));
    EXPECT_TRUE(V::GreaterEqual(V(), V()));
    EXPECT_FALSE(V::Greater(V(), V()));
    EXPECT_TRUE(V::Less(Str(L"abc"), Str(L"abd")));
    EXPECT_TRUE(V::Less(Str(L"ab"), Str(L"abc")));
    EXPECT_TRUE(V::Equal(Str(L"5"), Int(5)));
    EXPECT_FALSE(V::Equal(Str(L"1.5"), Flt(1.5)));
    EXPECT_TRUE(V::Equal(Str(L"1.500000"), Flt(1.5)));
    EXPECT_TRUE(V::Less(Int(-5), Int(3)));
    EXPECT_TRUE(V::Greater(Flt(2.5), Int(2)));
    EXPECT_TRUE(V::Less(Str(L"10"), Int(9))); // mixed Str and Int compare as text
    EXPECT_TRUE(V::Equal(Arr(3), Int(3)));
    EXPECT_FALSE(V::Less(Flt(NAN), Flt(1.0)));
    EXPECT_FALSE(V::GreaterEqual(Flt(NAN), Flt(1.0)));
    // UTF-16 order: a character beyond U+FFFF (a surrogate pair) sorts below U+FF01.
    EXPECT_TRUE(V::Less(Str(L"\U0001F600"), Str(L"\uFF01")));
}

TEST(GxMoaVariable, ArraysGrowOnReadAndStore)
{
    GxMoaVariable a = Arr(3);
    ASSERT_NE(a.GetElement(5), nullptr);
    EXPECT_EQ(a.GetArraySize(), 6);
    EXPECT_TRUE(a.GetElement(4)->IsNull());
    EXPECT_EQ(a.GetElement(-1), &a);
    EXPECT_EQ(a.GetElement(-2), nullptr);
    GxMoaVariable i = Int(9);
    EXPECT_EQ(i.GetElement(0), nullptr);
    ASSERT_TRUE(i.Store(2, Int(1)));
    ASSERT_EQ(i.GetArraySize(), 3);
    EXPECT_TRUE(i.PeekElement(0)->IsNull());
    EXPECT_EQ(i.PeekElement(2)->ToInt64(), 1);
    GxMoaVariable before = i;
    EXPECT_TRUE(i.Store(-2, Int(5)));
    EXPECT_EQ(i.GetArraySize(), 3);
    i.Store(-1, Str(L"x"));
    EXPECT_EQ(i.ToString(), L"x");
    // Storing an array into its own element copies first.
    GxMoaVariable self = Arr(1);
    self.Store(0, self);
    EXPECT_EQ(self.PeekElement(0)->GetArraySize(), 1);
}

TEST(GxMoaVariable, ArrayIndexBeyondTheCapIsRefused)
{
    GxMoaVariable a = Arr(1);
    EXPECT_EQ(a.GetElement(1000000000), nullptr);
    EXPECT_EQ(a.GetElement(GxMoaVariable::kMaxArraySize), nullptr);
    EXPECT_EQ(a.GetArraySize(), 1);
    EXPECT_FALSE(a.Store(GxMoaVariable::kMaxArraySize, Int(1)));
    EXPECT_EQ(a.GetArraySize(), 1);
    EXPECT_FALSE(a.MakeArray(GxMoaVariable::kMaxArraySize + 1));
    EXPECT_NE(a.GetElement(GxMoaVariable::kMaxArraySize - 1), nullptr);
}

TEST(GxMoaVariable, CopiesAreDeep)
{
    GxMoaVariable a = Arr(2);
    a.Store(0, Str(L"text"));
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
    GxMoaVariable a = Arr(2);
    a.Store(0, Int(5));
    a.Store(1, Str(L"s"));
    EXPECT_EQ(GxMoaVariable::DumpText(a, L"arr", 1), L"  $arr[2]=(Array)\n    $[0]=5(Int)\n    $[1]=\"s\"(Str)\n");
    EXPECT_EQ(GxMoaVariable::DumpText(GxMoaVariable(), L"n", 0), L"$n=Null\n");
    EXPECT_EQ(GxMoaVariable::DumpText(Flt(1.5), L"", 0), L"=1.500000(Float)\n");
    GxMoaVariable ref;
    ref.SetRefVar(L"x");
    EXPECT_EQ(GxMoaVariable::DumpText(ref, L"r", 0), L"$r=Unknown\n");
}

class GxMoaVariableRecord : public ::testing::TestWithParam<Form>
{
};

TEST_P(GxMoaVariableRecord, EveryTypeRoundTrips)
{
    std::vector<GxMoaVariable> values;
    values.push_back(Int(kMin));
    values.push_back(Flt(0.1)); // exact bits, also in the text form
    values.push_back(Flt(-1e-300));
    values.push_back(Str(L"日本語 \"quoted\"\ttab\nline"));
    GxMoaVariable ref;
    ref.SetRefVar(L"target");
    values.push_back(ref);
    GxMoaVariable op;
    op.SetOpcode(-3);
    values.push_back(op);
    values.push_back(GxMoaVariable());
    GxMoaVariable nested = Arr(3);
    nested.Store(0, Int(1));
    nested.Store(1, Arr(2));
    nested.GetElement(1)->Store(1, Str(L"deep"));
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

TEST(GxMoaVariable, RecordLayoutHasNoListFrames)
{
    GxMoaVariable a = Arr(1);
    a.Store(0, Flt(1.0));
    const auto bytes = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { a.Write(w); });
    uint64_t bits;
    const double one = 1.0;
    std::memcpy(&bits, &one, 8);
    const auto expected = Bytes().U32(39).S32(1).U32(10).S64(static_cast<int64_t>(bits)).Get();
    EXPECT_EQ(bytes, expected);
}

TEST(GxMoaVariable, DamagedRecordsAreRefused)
{
    // An array whose count runs past the data, a negative count, and nesting too deep.
    {
        const auto bytes = Bytes().U32(39).S32(1000000).U32(7).S64(1).Get();
        GxMoaVariable v;
        auto reader = MakeReader(Form::Binary, bytes);
        EXPECT_FALSE(v.Read(reader.get()));
    }
    {
        const auto bytes = Bytes().U32(39).S32(-1).Get();
        GxMoaVariable v;
        auto reader = MakeReader(Form::Binary, bytes);
        EXPECT_FALSE(v.Read(reader.get()));
    }
    {
        Bytes deep;
        for (int i = 0; i < 10000; ++i)
            deep.U32(39).S32(1);
        deep.U32(254);
        GxMoaVariable v;
        auto reader = MakeReader(Form::Binary, deep.Get());
        EXPECT_FALSE(v.Read(reader.get()));
    }
    {
        // An unknown type code is kept with no payload.
        const auto bytes = Bytes().U32(99).Get();
        GxMoaVariable v;
        auto reader = MakeReader(Form::Binary, bytes);
        EXPECT_TRUE(v.Read(reader.get()));
        EXPECT_EQ(v.GetType(), 99u);
    }
}
