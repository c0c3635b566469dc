#pragma once
// Helpers for running scripts in tests: a runtime that keeps its report lines, a builtin dispatcher
// that records every call (and performs the control builtins with the worker's own operations), an
// adventure-screen stand-in that records what it is asked to show, and token-line builders.

#include "ScriptTestUtil.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxString.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaWorkerEx.h"

#include <cstdarg>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ScriptTest
{
// The adventure runtime with its "err:" and "warn:" lines kept in memory.
class RecordingMoa : public GxMoaEx
{
public:
    void Warning(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...) override
    {
        ++m_WarningCount;
        va_list args;
        va_start(args, format);
        Keep(L"warn", scriptName, line, GxString::FormatV(format, args));
        va_end(args);
    }
    void Error(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...) override
    {
        ++m_ErrorCount;
        va_list args;
        va_start(args, format);
        Keep(L"err", scriptName, line, GxString::FormatV(format, args));
        va_end(args);
    }
    void Keep(const wchar_t* kind, const std::wstring& scriptName, int32_t line, const std::wstring& text)
    {
        m_Lines.push_back(
            GxString::Format(L"%s:[Script=\"%s\"/line=%d] %s", kind, scriptName.c_str(), line + 1, text.c_str()));
    }
    void Log(const wchar_t* format, ...) override
    {
        va_list args;
        va_start(args, format);
        m_Lines.push_back(L"log:" + GxString::FormatV(format, args));
        va_end(args);
    }
    // The lines that start with the prefix ("err:", "warn:", "log:").
    std::vector<std::wstring> Lines(const std::wstring& prefix) const
    {
        std::vector<std::wstring> out;
        for (const std::wstring& l : m_Lines)
            if (l.compare(0, prefix.size(), prefix) == 0)
                out.push_back(l);
        return out;
    }

    std::vector<std::wstring> m_Lines;
};

// Records each call as name(arg,arg) into a trace, and performs goto, gosub, return and result as the
// real control builtins do. Extra behaviour per name can be added through m_Hooks.
class RecordingBuiltin : public GxMoaBuiltinBase
{
public:
    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript* script,
              GxMoaExecStack& execStack, GxMoaVariable& result) override
    {
        (void)script, (void)execStack;
        std::wstring line = name + L"(";
        for (int32_t i = 0; i < args.GetArraySize(); ++i)
            line += (i ? L"," : L"") + args.GetElement(i)->ToString();
        line += L")";
        m_Trace->push_back(line);
        m_Indices.push_back(index);
        auto hook = m_Hooks.find(name);
        if (hook != m_Hooks.end())
            return hook->second(args, worker, result);
        const auto arg = [&](int32_t i) { return i < args.GetArraySize() ? *args.GetElement(i) : GxMoaVariable(); };
        if (name == L"goto")
            return worker->JumpToLabel(arg(0).ToString());
        if (name == L"gosub")
        {
            GxMoaVariable rest;
            rest.MakeArray(args.GetArraySize() > 0 ? args.GetArraySize() - 1 : 0);
            for (int32_t i = 1; i < args.GetArraySize(); ++i)
                *rest.GetElement(i - 1) = arg(i);
            GxMoaVariableSet set(L"args", rest);
            return worker->CallLabel(arg(0).ToString(), &set);
        }
        if (name == L"return")
        {
            const GxMoaVariable value = arg(0);
            worker->Return(&value);
            return true;
        }
        if (name == L"result")
        {
            result = worker->m_ReturnValue;
            return true;
        }
        return true;
    }

    std::vector<std::wstring> m_OwnTrace;
    std::vector<std::wstring>* m_Trace = &m_OwnTrace;
    std::vector<int32_t> m_Indices;
    std::map<std::wstring, std::function<bool(GxMoaVariable&, GxMoaWorker*, GxMoaVariable&)>> m_Hooks;
};

// The adventure scene as the message statement sees it; records into a shared trace.
class RecordingScreen : public GxMoaAdventureScreen
{
public:
    explicit RecordingScreen(std::vector<std::wstring>* trace) : m_Trace(trace) { Register(this); }
    ~RecordingScreen() override { Register(nullptr); }

    void ShowMessageText(const std::wstring& text, bool readBefore, bool ignoreKinsoku, int32_t flags) override
    {
        m_Trace->push_back(GxString::Format(L"message:%s read=%d kinsoku=%d flags=%d", text.c_str(), readBefore ? 1 : 0,
                                            ignoreKinsoku ? 1 : 0, flags));
    }
    void ShowSpeakerName(const std::wstring& name, int32_t mode) override
    {
        m_Trace->push_back(GxString::Format(L"name:%s mode=%d", name.c_str(), mode));
    }
    void HideSpeakerName() override { m_Trace->push_back(L"name:hide"); }
    bool IsReadedMessage(const std::wstring& script, int32_t line) override
    {
        return m_Read.count(script + L":" + std::to_wstring(line)) != 0;
    }
    void SetReadedMessage(const std::wstring& script, int32_t line) override
    {
        m_Read[script + L":" + std::to_wstring(line)] = true;
    }
    void AddMessageLog(const std::wstring& name, const std::wstring& message, bool) override
    {
        m_Log.push_back(name + L"|" + message);
    }
    int32_t GetNameIdentifyMode() const override { return m_Mode; }
    bool GetIgnoreKinsoku() const override { return false; }
    std::wstring ResolveNameImagePath(const std::wstring& name) const override { return L"cg/name/" + name + L".png"; }

    std::vector<std::wstring>* m_Trace;
    std::map<std::wstring, bool> m_Read;
    std::vector<std::wstring> m_Log;
    int32_t m_Mode = 1;
};

// Token builders.
inline GxMoaToken Tok(uint16_t kind, int64_t value = 0)
{
    return GxMoaToken(kind, 0, value);
}
inline GxMoaToken Tok(uint16_t kind, const std::wstring& text, int64_t value = 0)
{
    GxMoaToken t(kind, 0, value);
    t.SetStr(text);
    return t;
}
inline GxMoaToken Flt(double v)
{
    GxMoaToken t(TK_FLOAT);
    t.SetFloat(v);
    return t;
}
inline const auto Int = [](int64_t v) { return Tok(TK_INT, v); };
inline const auto Str = [](const std::wstring& s) { return Tok(TK_STRING, s); };
inline const auto Var = [](const std::wstring& name) { return Tok(TK_VARIABLE, name); };
inline const auto AryVar = [](const std::wstring& name) { return Tok(TK_ARRAY_VARIABLE, name); };
inline const auto Fn = [](const std::wstring& name, int64_t index) { return Tok(TK_BUILTIN, name, index); };

// Text form of an opcode list: opcode names and operand values separated by blanks.
inline std::wstring ListText(const std::vector<GxMoaVariable>& list)
{
    std::wstring out;
    for (const GxMoaVariable& v : list)
    {
        if (!out.empty())
            out += L" ";
        out += v.GetType() == GxMoaVariable::TYPE_OPCODE ? GxMoaOpcodeName::Get(v.GetRawInt()) : v.ToString();
    }
    return out;
}

// A runtime holding one script "t" made of token lines, and a main worker with a frame on it.
struct TokenProgram
{
    RecordingMoa m_Moa;
    GxMoaScript* m_pScript = nullptr;
    std::unique_ptr<GxMoaWorkerEx> m_Worker;

    explicit TokenProgram(const std::vector<std::vector<GxMoaToken>>& lines)
    {
        auto script = std::make_unique<GxMoaScript>();
        script->m_ScriptName = L"t";
        for (const auto& line : lines)
        {
            script->m_Lines.emplace_back();
            script->m_Lines.back().m_Tokens = line;
        }
        m_pScript = script.get();
        m_Moa.AddScript(std::move(script));
        m_Worker = std::make_unique<GxMoaWorkerEx>(&m_Moa, nullptr);
        m_Worker->CreateGlobalVariables();
        auto frame = std::make_unique<GxMoaExecStackElement>();
        frame->m_BlockType = BLOCK_NORMAL;
        frame->m_Pos = GxMoaScriptPos(0, 0, L"t");
        frame->m_Pos.m_pEntity = m_Worker->FindScriptEntity(L"t");
        m_Worker->m_ExecStack.push_back(std::move(frame));
    }
    GxMoaExecStackElement& Frame() { return *m_Worker->GetTopFrame(); }
    void AddLabel(const std::wstring& name, int32_t line) { m_Moa.AddLabel(Label(name, L"t", line)); }
    // Evaluates the expression at (line, pos) on the top frame as a statement.
    bool Eval(GxMoaVariable* result, GxMoaBuiltinBase* builtin, int32_t line = 0, int32_t pos = 0)
    {
        GxMoaRunPos cursor(line, pos);
        return m_Moa.Eval_Token(result, builtin, m_Worker.get(), cursor, true);
    }
};

// A program built from source files by the program builder, loaded into a recording runtime with a
// main worker started at a label.
struct SourceProgram
{
    TempDir m_Dir;
    BuildResult m_Build;
    RecordingMoa m_Moa;
    std::unique_ptr<GxMoaWorkerEx> m_Worker;
    bool m_Loaded = false;

    SourceProgram(std::initializer_list<std::pair<std::string, std::string>> files)
    {
        for (const auto& f : files)
            WriteFile(m_Dir.Path() / "scripts" / f.first, f.second);
        m_Build = RunBuilder(m_Dir.Path() / "scripts", m_Dir.Path() / "bincode");
        const auto bytes = ReadFile(m_Dir.Path() / "bincode" / "moacode.mwb");
        if (!bytes.empty())
        {
            GxContentBinaryReader reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
            m_Loaded = m_Moa.Read(&reader);
        }
        m_Moa.CreateExternVariables();
        m_Worker = std::make_unique<GxMoaWorkerEx>(&m_Moa, nullptr);
        m_Worker->CreateGlobalVariables();
    }
    // Calls Exec until it returns false or the limit is reached; the number of calls made.
    int RunToEnd(GxMoaBuiltinBase* builtin, int limit = 1000)
    {
        int calls = 0;
        while (calls < limit)
        {
            ++calls;
            if (!m_Worker->Exec(builtin))
                break;
        }
        return calls;
    }
};
} // namespace ScriptTest
