#include "script/GxMoaToken.h"

#include "core/GxBit32.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxString.h"

#include <cstring>

namespace
{
// "m_Flags" bits of a stored token.
constexpr uint32_t kFlagInt = 1u << 0;
constexpr uint32_t kFlagJumpPos = 1u << 1;
constexpr uint32_t kFlagStr = 1u << 2;

const wchar_t* const s_KindNames[] = {
    L"未定義",
    L"組み込み関数名",
    L"不明文字列",
    L"整数値",
    L"小数値",
    L"文字列",
    L"NULL",
    L"ラベル宣言",
    L"テキスト",
    L"変数名",
    L"配列変数名",
    L"&変数名",
    L"&配列変数名",
    L"ARRAY",
    L"コマンド開始",
    L"ブレークポイント",
    L"ヒアドキュメント終端",
    L"スクリプト終端",
    L"DEFINE",
    L"BUILTIN",
    nullptr,
    L"STATIC",
    L"GLOBAL",
    L"EXTERN",
    L"NOSAVE",
    L"INGAME",
    L"PERMAN",
    L"IF",
    L"ELSE",
    L"WHILE",
    L"FOR",
    L"DO",
    L"CONTINUE",
    L"BREAK",
    L";",
    L",",
    L"{",
    L"}",
    L"[",
    L"]",
    L"(",
    L")",
    L"==",
    L"!=",
    L">",
    L">=",
    L"<",
    L"<=",
    L"+",
    L":",
    L"-",
    L"*",
    L"/",
    L"%",
    L"単項+",
    L"単項-",
    L"&",
    L"|",
    L"^",
    L"~",
    L"<<",
    L">>",
    L"!",
    L"&&",
    L"||",
    L"++単項",
    L"--単項",
    L"単項++",
    L"単項--",
    L"=",
    L"+=",
    L":=",
    L"-=",
    L"*=",
    L"/=",
    L"%=",
    L"&=",
    L"|=",
    L"^=",
    L"?",
};
static_assert(sizeof(s_KindNames) / sizeof(s_KindNames[0]) == 80);
} // namespace

GxMoaToken::GxMoaToken(const GxMoaToken& other)
    : m_Kind(other.m_Kind), m_Scope(other.m_Scope), m_Int(other.m_Int), m_Str(other.m_Str)
{
    if (other.m_JumpPos)
        m_JumpPos = std::make_unique<std::array<GxMoaRunPos, kJumpPosCount>>(*other.m_JumpPos);
}

GxMoaToken& GxMoaToken::operator=(const GxMoaToken& other)
{
    if (this != &other)
    {
        GxMoaToken copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void GxMoaToken::Clear()
{
    m_Kind = TK_UNDEFINED;
    m_Scope = 0;
    m_Int = 0;
    m_Str.reset();
    m_JumpPos.reset();
}

const std::wstring& GxMoaToken::GetStr() const
{
    static const std::wstring s_Empty;
    return m_Str ? *m_Str : s_Empty;
}

void GxMoaToken::SetJumpPos(int i, const GxMoaRunPos& pos)
{
    if (i < 0 || i >= kJumpPosCount)
        return;
    if (!m_JumpPos)
        m_JumpPos = std::make_unique<std::array<GxMoaRunPos, kJumpPosCount>>();
    (*m_JumpPos)[static_cast<size_t>(i)] = pos;
}

GxMoaRunPos GxMoaToken::GetJumpPos(int i) const
{
    if (!m_JumpPos || i < 0 || i >= kJumpPosCount)
        return GxMoaRunPos();
    return (*m_JumpPos)[static_cast<size_t>(i)];
}

double GxMoaToken::GetFloat() const
{
    double f;
    std::memcpy(&f, &m_Int, sizeof(f));
    return f;
}

void GxMoaToken::SetFloat(double value)
{
    std::memcpy(&m_Int, &value, sizeof(value));
}

const wchar_t* GxMoaToken::KindName(uint32_t kind)
{
    if (kind >= 80 || !s_KindNames[kind])
        return L"**不明トークン**";
    return s_KindNames[kind];
}

std::wstring GxMoaToken::ToString() const
{
    std::wstring text;
    switch (m_Kind)
    {
    case TK_BUILTIN:
        text = L"組み込み関数名";
        break;
    case TK_INT:
        text = GxString::Format(L"整数値[%I64d]", static_cast<long long>(m_Int));
        break;
    case TK_FLOAT:
        text = GxString::Format(L"小数値[%f]", GetFloat());
        break;
    case TK_VARIABLE:
        text = L"変数名";
        break;
    case TK_ARRAY_VARIABLE:
        text = L"配列変数名";
        break;
    default:
        text = KindName(m_Kind);
        break;
    }
    if (m_Str && !m_Str->empty())
        text += L" String:" + *m_Str;
    return text;
}

bool GxMoaToken::Write(GxContentWriterBase* writer) const
{
    uint32_t flags = 0;
    if (m_Int != 0)
        flags |= kFlagInt;
    if (m_JumpPos)
        flags |= kFlagJumpPos;
    if (m_Str)
        flags |= kFlagStr;
    const GxBit32 flagBits(flags);
    writer->Write("m_Flags", &flagBits);
    writer->Write("m_TokenTypeAndScope", static_cast<uint32_t>(m_Kind) | (static_cast<uint32_t>(m_Scope) << 16));
    if (flags & kFlagInt)
        writer->Write("m_Int", static_cast<int64_t>(m_Int));
    if (flags & kFlagJumpPos)
        for (const GxMoaRunPos& pos : *m_JumpPos)
            pos.Write(writer);
    if (flags & kFlagStr)
        writer->WriteString("m_Str", *m_Str);
    return writer->GetErrorCount() == 0;
}

bool GxMoaToken::Read(GxContentReaderBase* reader)
{
    Clear();
    const uint32_t flags = reader->GetBit32("m_Flags").GetBits();
    const uint32_t typeAndScope = reader->GetU32("m_TokenTypeAndScope");
    m_Kind = static_cast<uint16_t>(typeAndScope & 0xFFFF);
    m_Scope = static_cast<uint16_t>(typeAndScope >> 16);
    if (reader->GetErrorCount() != 0)
        return false;
    if (flags & kFlagInt)
        m_Int = reader->GetS64("m_Int");
    if (flags & kFlagJumpPos)
    {
        m_JumpPos = std::make_unique<std::array<GxMoaRunPos, kJumpPosCount>>();
        for (GxMoaRunPos& pos : *m_JumpPos)
            pos.Read(reader);
    }
    if (flags & kFlagStr)
        m_Str = reader->ReadStringW("m_Str");
    return reader->GetErrorCount() == 0;
}
