// libFuzzer target for the expression parser, the expression machine and the statement interpreter.
// The input becomes a script of token lines (kind, integer, text and jump positions taken from the
// bytes); every line is parsed and evaluated as an expression, then a main worker steps the script for
// a bounded number of calls with a builtin that jumps, calls, returns or stops as the bytes say.
#include "script/GxMoa.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaParser.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaWorkerEx.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace
{
class Bytes
{
public:
    Bytes(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    bool Empty() const { return m_At >= m_Size; }
    uint8_t U8() { return m_At < m_Size ? m_Data[m_At++] : 0; }
    int64_t Small() { return static_cast<int8_t>(U8()); }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_At = 0;
};

class FuzzBuiltin : public GxMoaBuiltinBase
{
public:
    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript*,
              GxMoaExecStack&, GxMoaVariable& result) override
    {
        (void)name;
        switch (index & 7)
        {
        case 0:
            return worker->JumpToLabel(L"L");
        case 1:
            return worker->CallLabel(L"L");
        case 2:
        {
            const GxMoaVariable* first = args.PeekElement(0);
            worker->Return(first);
            return true;
        }
        case 3:
            worker->Stop();
            return true;
        case 4:
            return false;
        case 5:
            result.SetInt(args.GetArraySize());
            return true;
        default:
            return true;
        }
    }
};

GxMoaToken MakeToken(Bytes& in, int32_t lineCount)
{
    const uint16_t kind = static_cast<uint16_t>(in.U8() % 82);
    GxMoaToken token(kind, 0, in.Small());
    const uint8_t extra = in.U8();
    if (extra & 1)
        token.SetStr(std::wstring(1, static_cast<wchar_t>(L'a' + (extra >> 4) % 4)));
    if (kind == TK_FLOAT)
        token.SetFloat(static_cast<double>(in.Small()) / 4.0);
    if (kind == TK_UNKNOWN_WORD && (extra & 2))
        token.SetStr(extra & 4 ? L"chara.alpha" : L"chara");
    if (extra & 8)
    {
        const int32_t line = lineCount ? static_cast<int32_t>(in.U8() % (lineCount + 1)) - (extra & 16 ? 1 : 0) : 0;
        token.SetJumpPos(0, GxMoaRunPos(line, static_cast<int32_t>(in.Small() % 8)));
        token.SetJumpPos(1, GxMoaRunPos(line, static_cast<int32_t>(in.Small() % 8)));
    }
    return token;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes in(data, size);
    GxMoa moa;
    auto owned = std::make_unique<GxMoaScript>();
    owned->m_ScriptName = L"f";
    const int32_t lineCount = 1 + in.U8() % 6;
    owned->m_Lines.resize(static_cast<size_t>(lineCount));
    for (int32_t line = 0; line < lineCount && !in.Empty(); ++line)
    {
        const int n = in.U8() % 24;
        for (int i = 0; i < n && !in.Empty(); ++i)
            owned->m_Lines[static_cast<size_t>(line)].m_Tokens.push_back(MakeToken(in, lineCount));
    }
    GxMoaScript* script = owned.get();
    moa.AddScript(std::move(owned));
    GxMoaLabelDefinition label;
    label.m_Name = L"L";
    label.m_Pos = GxMoaScriptPos(0, 0, L"f");
    moa.AddLabel(label);
    for (const wchar_t* name : {L"sp.lcg", L"sp.alpha"})
    {
        GxMoaBuiltinDefinition def;
        def.m_Name = name;
        def.m_BuiltinIndex = 6;
        moa.AddBuiltinDefinition(def);
    }

    FuzzBuiltin builtin;
    GxMoaWorkerEx worker(&moa, nullptr);
    worker.CreateGlobalVariables();

    // Every line as an expression.
    for (int32_t line = 0; line < lineCount; ++line)
    {
        GxMoaOpcodeList list;
        GxMoaRunPos pos(line, 0);
        GxMoaParser::Phase_Expr(*script, pos, list);
        worker.Stop();
        moa.ResetRunState();
        if (!worker.StartAtLabel(L"L"))
            return 0;
        GxMoaRunPos cursor(line, 0);
        GxMoaVariable result;
        moa.Eval_Token(&result, &builtin, &worker, cursor, true);
    }

    // The script stepped statement by statement.
    worker.Stop();
    moa.ResetRunState();
    worker.StartAtLabel(L"L");
    for (int calls = 0; calls < 64 && worker.Exec(&builtin); ++calls)
    {
    }
    return 0;
}
