// The script runtime's one value type: construction and the shared text of Str and RefVar, conversions
// between the types (with the script language's rules for text that is not a number), arrays grown by
// index within kMaxArraySize, the operators and comparisons of expressions (Int arithmetic wraps, a Float
// on either side makes the result a Float, text joins with "+"), and the dump text and stored records
// (nested arrays read to a bounded depth).
//
// [SECTION] helpers: blanks, float to integer, wrapping arithmetic, ordering
// [SECTION] construction, ownership
// [SECTION] conversions
// [SECTION] arrays
// [SECTION] operators
// [SECTION] comparisons
// [SECTION] dump text and records
#include "script/GxMoaVariable.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

// ---------------------------------------------------------------------------------------------------
// Helpers: blanks, float to integer, wrapping arithmetic, ordering
// ---------------------------------------------------------------------------------------------------

namespace
{
// Nested arrays read from a file recurse once per level; a damaged file must not be able to run the
// stack out.
constexpr int kMaxReadDepth = 64;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

int64_t FloatToInt64(double f)
{
    if (std::isnan(f))
        return 0;
    if (f >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (f <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(f);
}

int32_t FloatToInt32(double f)
{
    if (std::isnan(f))
        return 0;
    if (f >= 2147483648.0)
        return std::numeric_limits<int32_t>::max();
    if (f <= -2147483649.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(f);
}

int64_t WrapAdd(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
int64_t WrapSub(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
int64_t WrapMul(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

bool EitherFloat(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return l.GetType() == GxMoaVariable::TYPE_FLOAT || r.GetType() == GxMoaVariable::TYPE_FLOAT;
}

enum class ArithOp
{
    Add,
    Sub,
    Mul,
    Div,
    Mod
};

GxMoaVariable Arith(const GxMoaVariable& l, const GxMoaVariable& r, ArithOp op)
{
    GxMoaVariable out;
    if (!EitherFloat(l, r))
    {
        const int64_t a = l.ToInt64();
        const int64_t b = r.ToInt64();
        switch (op)
        {
        case ArithOp::Add:
            out.SetInt(WrapAdd(a, b));
            break;
        case ArithOp::Sub:
            out.SetInt(WrapSub(a, b));
            break;
        case ArithOp::Mul:
            out.SetInt(WrapMul(a, b));
            break;
        case ArithOp::Div:
            if (b == 0)
                break;
            // The most negative value divided by -1 does not fit: it wraps to itself.
            out.SetInt(b == -1 ? WrapSub(0, a) : a / b);
            break;
        case ArithOp::Mod:
            if (b == 0)
                break;
            out.SetInt(b == -1 ? 0 : a % b);
            break;
        }
        return out;
    }
    const double a = l.ToFloat();
    const double b = r.ToFloat();
    switch (op)
    {
    case ArithOp::Add:
        out.SetFloat(a + b);
        break;
    case ArithOp::Sub:
        out.SetFloat(a - b);
        break;
    case ArithOp::Mul:
        out.SetFloat(a * b);
        break;
    case ArithOp::Div:
        if (std::fabs(b) > GxMoaVariable::kEpsilon)
            out.SetFloat(a / b);
        break;
    case ArithOp::Mod:
        if (std::fabs(b) > GxMoaVariable::kEpsilon)
            out.SetFloat(std::fmod(a, b));
        break;
    }
    return out;
}

// Three-way ordering; 2 when the operands are unordered (a NaN takes part).
int OrderDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return 2;
    return a < b ? -1 : (a > b ? 1 : 0);
}

int OrderInt(int64_t a, int64_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Order of two values for ">", ">=", "<" and "<=".
int Order(const GxMoaVariable& l, const GxMoaVariable& r)
{
    const uint32_t lt = l.GetType();
    const uint32_t rt = r.GetType();
    if (lt == GxMoaVariable::TYPE_NULL && rt == GxMoaVariable::TYPE_NULL)
        return 0;
    if (lt == GxMoaVariable::TYPE_NULL || rt == GxMoaVariable::TYPE_NULL)
    {
        const bool nullLeft = lt == GxMoaVariable::TYPE_NULL;
        const GxMoaVariable& other = nullLeft ? r : l;
        int o;
        if (other.GetType() == GxMoaVariable::TYPE_INT)
            o = OrderInt(0, other.GetRawInt());
        else if (other.GetType() == GxMoaVariable::TYPE_FLOAT)
            o = OrderDouble(0.0, other.GetRawFloat());
        else
            o = Sign(GxMoaVariable::CompareOrdinal(std::wstring(), other.ToString()));
        if (o == 2)
            return 2;
        return nullLeft ? o : -o;
    }
    if (lt == rt && lt == GxMoaVariable::TYPE_INT)
        return OrderInt(l.GetRawInt(), r.GetRawInt());
    if (lt == rt && lt == GxMoaVariable::TYPE_FLOAT)
        return OrderDouble(l.GetRawFloat(), r.GetRawFloat());
    if ((lt == GxMoaVariable::TYPE_INT && rt == GxMoaVariable::TYPE_FLOAT) ||
        (lt == GxMoaVariable::TYPE_FLOAT && rt == GxMoaVariable::TYPE_INT))
        return OrderDouble(l.ToFloat(), r.ToFloat());
    return Sign(GxMoaVariable::CompareOrdinal(l.ToString(), r.ToString()));
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// Construction, ownership
// ---------------------------------------------------------------------------------------------------

void GxMoaVariable::CopyFrom(const GxMoaVariable& other)
{
    if (this != &other)
    {
        GxMoaVariable copy(other);
        *this = std::move(copy);
    }
}

// The text of a Str or RefVar with the count of values holding it. Counted atomically: values are
// copied on other threads too (loading, saving).
struct GxMoaVariable::SharedText
{
    explicit SharedText(const std::wstring& text) : m_Text(text) {}
    std::atomic<uint32_t> m_Refs{1};
    const std::wstring m_Text;
};

void GxMoaVariable::FreePayload()
{
    if ((m_ValueType == TYPE_STR || m_ValueType == TYPE_REFVAR))
    {
        if (m_Value.str && m_Value.str->m_Refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete m_Value.str;
    }
    else if (m_ValueType == TYPE_ARRAY)
        delete m_Value.arr;
    m_Value.i = 0;
}

void GxMoaVariable::Assign(const GxMoaVariable& other)
{
    if (this == &other)
        return;
    // Copy first: other may be an element of this value's own array.
    GxMoaVariable copy;
    copy.m_ValueType = other.m_ValueType;
    if ((other.m_ValueType == TYPE_STR || other.m_ValueType == TYPE_REFVAR) && other.m_Value.str)
    {
        copy.m_Value.str = other.m_Value.str;
        copy.m_Value.str->m_Refs.fetch_add(1, std::memory_order_relaxed);
    }
    else if (other.m_ValueType == TYPE_ARRAY && other.m_Value.arr)
        copy.m_Value.arr = new std::vector<GxMoaVariable>(*other.m_Value.arr);
    else
        copy.m_Value = other.m_Value;
    *this = std::move(copy);
}

void GxMoaVariable::Clear()
{
    FreePayload();
    m_ValueType = TYPE_NULL;
}

void GxMoaVariable::SetFloat(double value)
{
    Clear();
    m_ValueType = TYPE_FLOAT;
    m_Value.f = value;
}

void GxMoaVariable::SetString(const std::wstring& text)
{
    SharedText* copy = new SharedText(text);
    Clear();
    m_ValueType = TYPE_STR;
    m_Value.str = copy;
}

void GxMoaVariable::SetCString(const wchar_t* text)
{
    SetString(text ? std::wstring(text) : std::wstring());
}

void GxMoaVariable::SetRefVar(const std::wstring& name)
{
    SetString(name);
    m_ValueType = TYPE_REFVAR;
}

void GxMoaVariable::SetOpcode(int32_t opcode)
{
    Clear();
    m_ValueType = TYPE_OPCODE;
    m_Value.i = opcode;
}

const std::wstring* GxMoaVariable::GetText() const
{
    return (m_ValueType == TYPE_STR || m_ValueType == TYPE_REFVAR) && m_Value.str ? &m_Value.str->m_Text : nullptr;
}

// ---------------------------------------------------------------------------------------------------
// Conversions
// ---------------------------------------------------------------------------------------------------

int64_t GxMoaVariable::ParseInt64(const std::wstring& text, int64_t minValue, int64_t maxValue)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    // Accumulate as a negative number so the most negative value fits.
    int64_t value = 0;
    bool clamped = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    {
        const int digit = text[i] - L'0';
        if (clamped)
            continue;
        if (value < (minValue + digit) / 10 || value * 10 < minValue + digit)
        {
            clamped = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (clamped)
        return negative ? minValue : maxValue;
    if (negative)
        return value;
    return value < -maxValue ? maxValue : -value;
}

double GxMoaVariable::ParseFloat(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    std::string ascii;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    // Decimal digits, a point and an exponent only: no hexadecimal, infinity or NaN spellings.
    for (; i < text.size() && ascii.size() < 512; ++i)
    {
        const wchar_t c = text[i];
        if ((c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' ||
            ((c == L'+' || c == L'-') && !ascii.empty() && (ascii.back() == 'e' || ascii.back() == 'E')))
            ascii.push_back(static_cast<char>(c));
        else
            break;
    }
    double value = 0.0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range)
    {
        // from_chars leaves the value untouched on overflow or underflow; decide by the exponent sign.
        const size_t e = ascii.find_first_of("eE");
        const bool tiny = e != std::string::npos && e + 1 < ascii.size() && ascii[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    else if (res.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

std::wstring GxMoaVariable::FormatFloat(double value)
{
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::fixed, 6);
    if (res.ec != std::errc())
        return L"0.000000";
    return std::wstring(buf, res.ptr);
}

int64_t GxMoaVariable::ToInt64() const
{
    switch (m_ValueType)
    {
    case TYPE_INT:
        return m_Value.i;
    case TYPE_FLOAT:
        return FloatToInt64(m_Value.f);
    case TYPE_STR:
        return m_Value.str ? ParseInt64(m_Value.str->m_Text, std::numeric_limits<int64_t>::min(),
                                        std::numeric_limits<int64_t>::max())
                           : 0;
    case TYPE_ARRAY:
        return GetArraySize();
    default:
        return 0;
    }
}

int32_t GxMoaVariable::ToInt() const
{
    switch (m_ValueType)
    {
    case TYPE_INT:
        return static_cast<int32_t>(static_cast<uint32_t>(m_Value.i));
    case TYPE_FLOAT:
        return FloatToInt32(m_Value.f);
    case TYPE_STR:
        return m_Value.str ? static_cast<int32_t>(ParseInt64(m_Value.str->m_Text, std::numeric_limits<int32_t>::min(),
                                                             std::numeric_limits<int32_t>::max()))
                           : 0;
    case TYPE_ARRAY:
        return GetArraySize();
    default:
        return 0;
    }
}

double GxMoaVariable::ToFloat() const
{
    switch (m_ValueType)
    {
    case TYPE_INT:
        return static_cast<double>(m_Value.i);
    case TYPE_FLOAT:
        return m_Value.f;
    case TYPE_STR:
        return m_Value.str ? ParseFloat(m_Value.str->m_Text) : 0.0;
    case TYPE_ARRAY:
        return GetArraySize();
    default:
        return 0.0;
    }
}

std::wstring GxMoaVariable::ToString() const
{
    switch (m_ValueType)
    {
    case TYPE_INT:
        return std::to_wstring(m_Value.i);
    case TYPE_FLOAT:
        return FormatFloat(m_Value.f);
    case TYPE_STR:
    case TYPE_REFVAR:
        return m_Value.str ? m_Value.str->m_Text : std::wstring();
    case TYPE_ARRAY:
        return std::to_wstring(GetArraySize());
    default:
        return std::wstring();
    }
}

int32_t GxMoaVariable::GetArraySize() const
{
    return (m_ValueType == TYPE_ARRAY && m_Value.arr) ? static_cast<int32_t>(m_Value.arr->size()) : 0;
}

int32_t GxMoaVariable::GetStringLength() const
{
    const std::wstring text =
        (m_ValueType == TYPE_STR) ? (m_Value.str ? m_Value.str->m_Text : std::wstring()) : ToString();
    int32_t units = 0;
    for (wchar_t c : text)
        units += static_cast<uint32_t>(c) > 0xFFFF ? 2 : 1;
    return units;
}

const wchar_t* GxMoaVariable::TypeName(uint32_t type)
{
    switch (type)
    {
    case TYPE_INT:
        return L"Int";
    case TYPE_FLOAT:
        return L"Float";
    case TYPE_STR:
        return L"Str";
    case TYPE_ARRAY:
        return L"Array";
    case TYPE_REFVAR:
        return L"RefVar";
    case TYPE_OPCODE:
        return L"Opcode";
    case TYPE_NULL:
        return L"Null";
    default:
        return L"Unknown";
    }
}

int GxMoaVariable::CompareOrdinal(const std::wstring& a, const std::wstring& b)
{
    // A character above U+FFFF is a surrogate pair in UTF-16, whose first unit (D800-DBFF) sorts
    // below E000-FFFF; compare by that first unit, then by the whole character.
    auto unit = [](wchar_t c) -> uint32_t
    {
        const uint32_t v = static_cast<uint32_t>(c);
        return v > 0xFFFF ? 0xD800 + ((v - 0x10000) >> 10) : v;
    };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        if (a[i] == b[i])
            continue;
        const uint32_t ua = unit(a[i]);
        const uint32_t ub = unit(b[i]);
        if (ua != ub)
            return ua < ub ? -1 : 1;
        return static_cast<uint32_t>(a[i]) < static_cast<uint32_t>(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// ---------------------------------------------------------------------------------------------------
// Arrays
// ---------------------------------------------------------------------------------------------------

bool GxMoaVariable::MakeArray(int64_t count)
{
    if (count < 0 || count > kMaxArraySize)
        return false;
    auto* arr = new std::vector<GxMoaVariable>(static_cast<size_t>(count));
    Clear();
    m_ValueType = TYPE_ARRAY;
    m_Value.arr = arr;
    return true;
}

bool GxMoaVariable::Resize(int64_t count)
{
    if (count < 0 || count > kMaxArraySize)
        return false;
    if (m_ValueType == TYPE_ARRAY && m_Value.arr)
    {
        m_Value.arr->resize(static_cast<size_t>(count));
        return true;
    }
    return MakeArray(count);
}

GxMoaVariable* GxMoaVariable::GetElement(int64_t index)
{
    if (index == -1)
        return this;
    if (index < 0 || index >= kMaxArraySize || m_ValueType != TYPE_ARRAY || !m_Value.arr)
        return nullptr;
    if (static_cast<size_t>(index) >= m_Value.arr->size())
        m_Value.arr->resize(static_cast<size_t>(index) + 1);
    return &(*m_Value.arr)[static_cast<size_t>(index)];
}

const GxMoaVariable* GxMoaVariable::PeekElement(int64_t index) const
{
    if (index < 0 || m_ValueType != TYPE_ARRAY || !m_Value.arr || static_cast<size_t>(index) >= m_Value.arr->size())
        return nullptr;
    return &(*m_Value.arr)[static_cast<size_t>(index)];
}

bool GxMoaVariable::Store(int64_t index, const GxMoaVariable& value)
{
    if (index == -1)
    {
        Assign(value);
        return true;
    }
    if (index < 0)
        return true;
    if (index >= kMaxArraySize)
        return false;
    GxMoaVariable copy(value);
    if (m_ValueType != TYPE_ARRAY || !m_Value.arr)
        MakeArray(index + 1);
    else if (static_cast<size_t>(index) >= m_Value.arr->size())
        m_Value.arr->resize(static_cast<size_t>(index) + 1);
    (*m_Value.arr)[static_cast<size_t>(index)] = std::move(copy);
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Operators
// ---------------------------------------------------------------------------------------------------

GxMoaVariable GxMoaVariable::Add(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Arith(l, r, ArithOp::Add);
}
GxMoaVariable GxMoaVariable::Sub(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Arith(l, r, ArithOp::Sub);
}
GxMoaVariable GxMoaVariable::Mul(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Arith(l, r, ArithOp::Mul);
}
GxMoaVariable GxMoaVariable::Div(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Arith(l, r, ArithOp::Div);
}
GxMoaVariable GxMoaVariable::Mod(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Arith(l, r, ArithOp::Mod);
}

GxMoaVariable GxMoaVariable::Concat(const GxMoaVariable& l, const GxMoaVariable& r)
{
    GxMoaVariable out;
    out.SetString(l.ToString() + r.ToString());
    return out;
}

GxMoaVariable GxMoaVariable::BitAnd(const GxMoaVariable& l, const GxMoaVariable& r)
{
    GxMoaVariable out;
    out.SetInt(l.ToInt64() & r.ToInt64());
    return out;
}

GxMoaVariable GxMoaVariable::BitOr(const GxMoaVariable& l, const GxMoaVariable& r)
{
    GxMoaVariable out;
    out.SetInt(l.ToInt64() | r.ToInt64());
    return out;
}

GxMoaVariable GxMoaVariable::BitXor(const GxMoaVariable& l, const GxMoaVariable& r)
{
    GxMoaVariable out;
    out.SetInt(l.ToInt64() ^ r.ToInt64());
    return out;
}

GxMoaVariable GxMoaVariable::ShiftLeft(const GxMoaVariable& l, const GxMoaVariable& r)
{
    // The count is the low 8 bits of the right operand, taken as unsigned.
    const unsigned count = static_cast<unsigned>(static_cast<uint64_t>(r.ToInt64()) & 0xFF);
    GxMoaVariable out;
    out.SetInt(count >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(l.ToInt64()) << count));
    return out;
}

GxMoaVariable GxMoaVariable::ShiftRight(const GxMoaVariable& l, const GxMoaVariable& r)
{
    // A logical shift of the 64-bit pattern: zeros come in from the left.
    const unsigned count = static_cast<unsigned>(static_cast<uint64_t>(r.ToInt64()) & 0xFF);
    GxMoaVariable out;
    out.SetInt(count >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(l.ToInt64()) >> count));
    return out;
}

// Two Ints, the common case of counters, are updated in place.
void GxMoaVariable::AddAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    if (target.m_ValueType == TYPE_INT && v.m_ValueType == TYPE_INT)
        target.m_Value.i = WrapAdd(target.m_Value.i, v.m_Value.i);
    else
        target = Add(target, v);
}

void GxMoaVariable::SubAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    if (target.m_ValueType == TYPE_INT && v.m_ValueType == TYPE_INT)
        target.m_Value.i = WrapSub(target.m_Value.i, v.m_Value.i);
    else
        target = Sub(target, v);
}

void GxMoaVariable::MulAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    if (target.m_ValueType == TYPE_INT && v.m_ValueType == TYPE_INT)
        target.m_Value.i = WrapMul(target.m_Value.i, v.m_Value.i);
    else
        target = Mul(target, v);
}
void GxMoaVariable::DivAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    target = Div(target, v);
}
void GxMoaVariable::ModAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    target = Mod(target, v);
}
void GxMoaVariable::ConcatAssign(GxMoaVariable& target, const GxMoaVariable& v)
{
    target = Concat(target, v);
}

void GxMoaVariable::Negate(GxMoaVariable& v)
{
    switch (v.m_ValueType)
    {
    case TYPE_INT:
        v.m_Value.i = WrapSub(0, v.m_Value.i);
        break;
    case TYPE_FLOAT:
        v.m_Value.f = -v.m_Value.f;
        break;
    case TYPE_STR:
        v.SetInt(WrapSub(0, v.ToInt64()));
        break;
    default:
        v.SetInt(0);
        break;
    }
}

void GxMoaVariable::BitNot(GxMoaVariable& v)
{
    switch (v.m_ValueType)
    {
    case TYPE_INT:
        v.m_Value.i = ~v.m_Value.i;
        break;
    case TYPE_FLOAT:
    case TYPE_STR:
        v.SetInt(~v.ToInt64());
        break;
    default:
        v.SetInt(-1);
        break;
    }
}

void GxMoaVariable::LogicalNot(GxMoaVariable& v)
{
    switch (v.m_ValueType)
    {
    case TYPE_INT:
    case TYPE_FLOAT:
    case TYPE_STR:
        v.SetInt(v.ToInt64() == 0 ? 1 : 0);
        break;
    default:
        v.SetInt(1);
        break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Comparisons
// ---------------------------------------------------------------------------------------------------

bool GxMoaVariable::Equal(const GxMoaVariable& l, const GxMoaVariable& r)
{
    const uint32_t lt = l.m_ValueType;
    const uint32_t rt = r.m_ValueType;
    if (lt == TYPE_NULL && rt == TYPE_NULL)
        return true;
    if (lt == TYPE_NULL || rt == TYPE_NULL)
    {
        const GxMoaVariable& other = lt == TYPE_NULL ? r : l;
        switch (other.m_ValueType)
        {
        case TYPE_INT:
            return other.m_Value.i == 0;
        case TYPE_FLOAT:
            return other.m_Value.f == 0.0;
        case TYPE_STR:
            return other.ToString().empty();
        default:
            return false;
        }
    }
    if (lt == rt && lt == TYPE_INT)
        return l.m_Value.i == r.m_Value.i;
    if (lt == rt && lt == TYPE_FLOAT)
        return l.m_Value.f == r.m_Value.f;
    if ((lt == TYPE_INT && rt == TYPE_FLOAT) || (lt == TYPE_FLOAT && rt == TYPE_INT))
        return std::fabs(l.ToFloat() - r.ToFloat()) <= kEpsilon;
    return CompareOrdinal(l.ToString(), r.ToString()) == 0;
}

bool GxMoaVariable::NotEqual(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return !Equal(l, r);
}
bool GxMoaVariable::Greater(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Order(l, r) == 1;
}
bool GxMoaVariable::Less(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return Order(l, r) == -1;
}

bool GxMoaVariable::GreaterEqual(const GxMoaVariable& l, const GxMoaVariable& r)
{
    const int o = Order(l, r);
    return o == 1 || o == 0;
}

bool GxMoaVariable::LessEqual(const GxMoaVariable& l, const GxMoaVariable& r)
{
    const int o = Order(l, r);
    return o == -1 || o == 0;
}

// ---------------------------------------------------------------------------------------------------
// Dump text and records
// ---------------------------------------------------------------------------------------------------

std::wstring GxMoaVariable::DumpText(const GxMoaVariable& value, const std::wstring& name, int indent)
{
    std::wstring out(static_cast<size_t>(indent > 0 ? indent * 2 : 0), L' ');
    if (!name.empty())
        out += L"$" + name;
    switch (value.m_ValueType)
    {
    case TYPE_INT:
    case TYPE_FLOAT:
    case TYPE_OPCODE:
        out += GxString::Format(L"=%s(%s)\n", value.ToString().c_str(), TypeName(value.m_ValueType));
        break;
    case TYPE_STR:
        out += GxString::Format(L"=\"%s\"(%s)\n", value.ToString().c_str(), TypeName(value.m_ValueType));
        break;
    case TYPE_NULL:
        out += L"=Null\n";
        break;
    case TYPE_ARRAY:
    {
        const int32_t n = value.GetArraySize();
        out += GxString::Format(L"[%d]=(Array)\n", n);
        for (int32_t i = 0; i < n; ++i)
            out += DumpText((*value.m_Value.arr)[static_cast<size_t>(i)], GxString::Format(L"[%d]", i), indent + 1);
        break;
    }
    default:
        out += L"=Unknown\n";
        break;
    }
    return out;
}

bool GxMoaVariable::Write(GxContentWriterBase* writer) const
{
    writer->Write("m_ValueType", static_cast<uint32_t>(m_ValueType));
    switch (m_ValueType)
    {
    case TYPE_INT:
    case TYPE_FLOAT:
        // A Float travels as the raw bits of its double so it comes back exactly.
        writer->Write("m_IntOfFloat", static_cast<int64_t>(m_Value.i));
        break;
    case TYPE_STR:
    case TYPE_REFVAR:
        writer->WriteString("m_Str", m_Value.str ? m_Value.str->m_Text : std::wstring());
        break;
    case TYPE_ARRAY:
    {
        const int32_t n = GetArraySize();
        writer->Write("m_ArraySize", static_cast<int32_t>(n));
        for (int32_t i = 0; i < n; ++i)
            (*m_Value.arr)[static_cast<size_t>(i)].Write(writer);
        break;
    }
    case TYPE_OPCODE:
        writer->Write("m_Int", static_cast<int64_t>(m_Value.i));
        break;
    default:
        break;
    }
    return writer->GetErrorCount() == 0;
}

bool GxMoaVariable::Read(GxContentReaderBase* reader)
{
    return ReadNested(reader, 0);
}

bool GxMoaVariable::ReadNested(GxContentReaderBase* reader, int depth)
{
    Clear();
    const uint32_t type = reader->GetU32("m_ValueType");
    if (reader->GetErrorCount() != 0)
        return false;
    switch (type)
    {
    case TYPE_INT:
    case TYPE_FLOAT:
        m_ValueType = type;
        m_Value.i = reader->GetS64("m_IntOfFloat");
        break;
    case TYPE_STR:
        SetString(reader->ReadStringW("m_Str"));
        break;
    case TYPE_REFVAR:
        SetRefVar(reader->ReadStringW("m_Str"));
        break;
    case TYPE_ARRAY:
    {
        const int32_t n = reader->GetS32("m_ArraySize");
        if (reader->GetErrorCount() != 0)
            return false;
        if (n < 0 || n > kMaxArraySize || depth >= kMaxReadDepth)
        {
            GxLog::Error(L"GxMoaVariable::Read/配列の要素数または入れ子が不正です(%d)\n", n);
            return false;
        }
        MakeArray(0);
        // Elements are added one by one and the loop ends at the reader's first error, so a damaged
        // count can neither allocate nor loop beyond the bytes that are really there.
        for (int32_t i = 0; i < n; ++i)
        {
            m_Value.arr->emplace_back();
            if (!m_Value.arr->back().ReadNested(reader, depth + 1))
                return false;
        }
        break;
    }
    case TYPE_OPCODE:
        m_ValueType = TYPE_OPCODE;
        m_Value.i = reader->GetS64("m_Int");
        break;
    default:
        // Null, and an unknown code kept with no payload.
        m_ValueType = type;
        break;
    }
    return reader->GetErrorCount() == 0;
}
