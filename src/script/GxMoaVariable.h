#pragma once
// The one value type of the script runtime: integer, float, text, array, reference by name, opcode or
// Null. Copies are deep, except that copies of a Str or RefVar share its text (text never changes
// once made: every change makes new text). Only Str, RefVar and Array allocate.

#include <cstdint>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;

class GxMoaVariable
{
public:
    enum ValueType : uint32_t
    {
        TYPE_INT = 7,
        TYPE_FLOAT = 10,
        TYPE_STR = 25,
        TYPE_ARRAY = 39,
        TYPE_REFVAR = 250,
        TYPE_OPCODE = 253,
        TYPE_NULL = 254,
    };

    // Largest element count an array may be grown to by an index or a size taken from a script or a
    // file; a larger request is refused (the caller reports it as a script error).
    static constexpr int64_t kMaxArraySize = 1 << 20;

    // Two numbers closer than this count as equal (Int against Float) and a divisor this close to zero
    // gives Null.
    static constexpr double kEpsilon = 2.220446049250313e-16;

    // Values without a payload on the heap (numbers, opcodes, Null) are copied and destroyed inline:
    // the expression machine copies them on every push.
    GxMoaVariable() = default;
    GxMoaVariable(const GxMoaVariable& other)
    {
        if (other.HasHeapPayload())
            Assign(other);
        else
        {
            m_ValueType = other.m_ValueType;
            m_Value = other.m_Value;
        }
    }
    GxMoaVariable(GxMoaVariable&& other) noexcept : m_ValueType(other.m_ValueType), m_Value(other.m_Value)
    {
        other.m_ValueType = TYPE_NULL;
        other.m_Value.i = 0;
    }
    GxMoaVariable& operator=(const GxMoaVariable& other)
    {
        if (HasHeapPayload() || other.HasHeapPayload())
            CopyFrom(other);
        else
        {
            m_ValueType = other.m_ValueType;
            m_Value = other.m_Value;
        }
        return *this;
    }
    GxMoaVariable& operator=(GxMoaVariable&& other) noexcept
    {
        if (this != &other)
        {
            if (HasHeapPayload())
                FreePayload();
            m_ValueType = other.m_ValueType;
            m_Value = other.m_Value;
            other.m_ValueType = TYPE_NULL;
            other.m_Value.i = 0;
        }
        return *this;
    }
    virtual ~GxMoaVariable()
    {
        if (HasHeapPayload())
            FreePayload();
    }

    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    void Assign(const GxMoaVariable& other);
    void Clear();

    void SetInt(int64_t value)
    {
        if (HasHeapPayload())
            FreePayload();
        m_ValueType = TYPE_INT;
        m_Value.i = value;
    }
    void SetFloat(double value);
    void SetString(const std::wstring& text);
    void SetCString(const wchar_t* text);
    void SetRefVar(const std::wstring& name);
    void SetOpcode(int32_t opcode);

    uint32_t GetType() const { return m_ValueType; }
    bool IsNull() const { return m_ValueType == TYPE_NULL; }
    bool IsArray() const { return m_ValueType == TYPE_ARRAY; }
    // Raw payload access for the expression machine and for tests.
    int64_t GetRawInt() const { return m_Value.i; }
    double GetRawFloat() const { return m_Value.f; }
    // The text of a Str or RefVar, null for any other type or a Str without text.
    const std::wstring* GetText() const;

    int64_t ToInt64() const;
    int32_t ToInt() const;
    double ToFloat() const;
    std::wstring ToString() const;

    int32_t GetArraySize() const;
    int32_t GetStringLength() const;
    static const wchar_t* TypeName(uint32_t type);

    // Arrays. MakeArray and Resize refuse counts beyond kMaxArraySize (false, value unchanged).
    bool MakeArray(int64_t count);
    bool Resize(int64_t count);
    bool SetElement(int64_t count) { return Resize(count); }
    // Index -1 is the value itself; reading past the end grows the array. Null when there is no
    // element (not an array, another negative index, or an index at or beyond kMaxArraySize).
    GxMoaVariable* GetElement(int64_t index);
    // Index -1 assigns the whole value; other negative indices do nothing. False when the index is at
    // or beyond kMaxArraySize (nothing changes).
    bool Store(int64_t index, const GxMoaVariable& value);
    // Element access without growing; null past the end.
    const GxMoaVariable* PeekElement(int64_t index) const;

    // Binary operators: a new value from left op right.
    static GxMoaVariable Add(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable Sub(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable Mul(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable Div(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable Mod(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable Concat(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable BitAnd(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable BitOr(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable BitXor(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable ShiftLeft(const GxMoaVariable& l, const GxMoaVariable& r);
    static GxMoaVariable ShiftRight(const GxMoaVariable& l, const GxMoaVariable& r);

    // Assignment forms: target := target op operand.
    static void AddAssign(GxMoaVariable& target, const GxMoaVariable& v);
    static void SubAssign(GxMoaVariable& target, const GxMoaVariable& v);
    static void MulAssign(GxMoaVariable& target, const GxMoaVariable& v);
    static void DivAssign(GxMoaVariable& target, const GxMoaVariable& v);
    static void ModAssign(GxMoaVariable& target, const GxMoaVariable& v);
    static void ConcatAssign(GxMoaVariable& target, const GxMoaVariable& v);

    // Unary operators change the value in place.
    static void Negate(GxMoaVariable& v);
    static void BitNot(GxMoaVariable& v);
    static void LogicalNot(GxMoaVariable& v);

    static bool Equal(const GxMoaVariable& l, const GxMoaVariable& r);
    static bool NotEqual(const GxMoaVariable& l, const GxMoaVariable& r);
    static bool Greater(const GxMoaVariable& l, const GxMoaVariable& r);
    static bool GreaterEqual(const GxMoaVariable& l, const GxMoaVariable& r);
    static bool Less(const GxMoaVariable& l, const GxMoaVariable& r);
    static bool LessEqual(const GxMoaVariable& l, const GxMoaVariable& r);

    // Dump text of one value: two blanks per indent level, "$name" when a name is given, then the value.
    static std::wstring DumpText(const GxMoaVariable& value, const std::wstring& name, int indent);

    // Ordinal comparison by UTF-16 code units (text is held as UTF-32 in memory).
    static int CompareOrdinal(const std::wstring& a, const std::wstring& b);
    // Locale-independent number parsing and printing used by the conversions.
    static int64_t ParseInt64(const std::wstring& text, int64_t minValue, int64_t maxValue);
    static double ParseFloat(const std::wstring& text);
    static std::wstring FormatFloat(double value);

private:
    struct SharedText;

    bool HasHeapPayload() const
    {
        return m_ValueType == TYPE_STR || m_ValueType == TYPE_REFVAR || m_ValueType == TYPE_ARRAY;
    }
    void CopyFrom(const GxMoaVariable& other);
    void FreePayload();
    bool ReadNested(GxContentReaderBase* reader, int depth);

    uint32_t m_ValueType = TYPE_NULL;
    union
    {
        int64_t i;
        double f;
        SharedText* str;
        std::vector<GxMoaVariable>* arr;
    } m_Value{0};
};
