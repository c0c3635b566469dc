// The expression machine: one Run per Exec_Opcode call steps through the top frame's opcode list on the
// worker's value stack. Each opcode family has its own member of Run; a builtin that removes the frame
// it was called from ends the run. After the run, the frame look-ups and the error reports that
// builtins and the scheduler share.
//
// [SECTION] the run: stack access, binary and unary operators, arrays, builtin calls, variables,
//           assignments, the opcode loop (Run::Go)
// [SECTION] frames and the value stack
// [SECTION] error reports
#include "script/GxMoaMachine.h"

#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaParser.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaScriptEntity.h"
#include "script/GxMoaWorker.h"

// ---------------------------------------------------------------------------------------------------
// The run
// ---------------------------------------------------------------------------------------------------

namespace
{
const wchar_t* const kUnderflowOne = L"Exec_IsValueLastOne 計算スタックに必要なパラメータが積まれていません";
const wchar_t* const kUnderflowTwo = L"Exec_IsValueLastTwo 計算スタックに必要なパラメータが積まれていません";

// One run of a list: the context every opcode needs.
class Run
{
public:
    Run(GxMoaBuiltinBase* builtin, GxMoaScript* script, GxMoa* moa, GxMoaWorker* worker, bool warn)
        : m_pBuiltin(builtin), m_pScript(script), m_pMoa(moa), m_pWorker(worker), m_Warn(warn),
          m_Stack(worker->m_ValueStack)
    {
        m_pFrame = worker->GetTopFrame();
        m_Serial = m_pFrame ? m_pFrame->m_Serial : 0;
    }

    int Go();

private:
    void Error(const wchar_t* message) const { GxMoaMachine::Exec_Error(m_pMoa, m_pScript, m_pWorker, message, m_Pc); }
    void ErrorF(const wchar_t* format, const std::wstring& name, int64_t index) const
    {
        const std::wstring text = GxString::Format(format, name.c_str(), static_cast<int>(index));
        Error(text.c_str());
    }

    bool Need(size_t n) const
    {
        if (m_Stack.size() >= n)
            return true;
        Error(n == 1 ? kUnderflowOne : kUnderflowTwo);
        return false;
    }
    GxMoaVariable Pop()
    {
        GxMoaVariable v(std::move(m_Stack.back()));
        m_Stack.pop_back();
        return v;
    }
    bool Push(const GxMoaVariable& v)
    {
        if (v.GetType() == GxMoaVariable::TYPE_OPCODE)
            return GxMoaMachine::Exec_PushStack(m_pMoa, m_pScript, m_pWorker, v);
        m_Stack.push_back(v);
        return true;
    }
    bool Push(GxMoaVariable&& v)
    {
        if (v.GetType() == GxMoaVariable::TYPE_OPCODE)
            return Push(static_cast<const GxMoaVariable&>(v));
        m_Stack.push_back(std::move(v));
        return true;
    }
    // Operand k (1 or 2) of the opcode at the program counter; null past the end of the list.
    const GxMoaVariable* Operand(int k) const
    {
        const GxMoaOpcodeList& list = m_pFrame->m_OpcodeList.Get();
        const size_t at = static_cast<size_t>(m_Pc) + static_cast<size_t>(k);
        return at < list.size() ? &list[at] : nullptr;
    }
    // The text of a name operand, in place when it is text.
    static const std::wstring& NameText(const GxMoaVariable& entry, std::wstring& converted)
    {
        if (const std::wstring* text = entry.GetText())
            return *text;
        return converted = entry.ToString();
    }

    // Variables: the lookup the running frame sees; new ones go into the function frame's LOCAL table.
    GxMoaVariableTable& CreationTable() const
    {
        GxMoaExecStack& stack = m_pWorker->GetExecStack();
        bool below = false;
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        {
            below = below || it->get() == m_pFrame;
            if (below && (*it)->m_BlockType == BLOCK_NORMAL)
                return (*it)->m_LocalTable;
        }
        return m_pFrame->m_LocalTable;
    }
    void WarnCreated(const std::wstring& name) const
    {
        if (!m_Warn)
            return;
        const std::wstring text = GxString::Format(L"ローカル変数 $%s を作成しました", name.c_str());
        GxMoaMachine::Exec_Warning(m_pMoa, m_pScript, m_pWorker, text.c_str(), m_Pc);
    }
    // The variable the running frame sees by the name at list entry k after the program counter.
    // A shared list keeps the result in the entry's slot while the tables' layout, the frame's LOCAL
    // table and its entity stay the same. A frame without an entity looks up through the worker's
    // FindVariable, which a worker may override: those lookups are never kept.
    GxMoaVariableSet* Lookup(const std::wstring& name, int k)
    {
        const GxMoaParsedExpression* parsed = m_pFrame->m_OpcodeList.GetShared();
        const GxMoaScriptEntity* entity = m_pFrame->m_Pos.m_pEntity;
        if (!parsed || !entity)
            return m_pWorker->LookupVariable(name, m_pFrame);
        GxMoaParsedExpression::LookupSlot& slot = parsed->GetSlot(static_cast<size_t>(m_Pc + k));
        const uint64_t version = GxMoaVariableTable::GetLayoutVersion();
        if (slot.m_pSet && slot.m_LayoutVersion == version && slot.m_pLocalTable == &m_pFrame->m_LocalTable &&
            slot.m_pEntity == entity)
            return slot.m_pSet;
        GxMoaVariableSet* set = m_pWorker->LookupVariable(name, m_pFrame);
        slot.m_LayoutVersion = version;
        slot.m_pLocalTable = &m_pFrame->m_LocalTable;
        slot.m_pEntity = entity;
        slot.m_pSet = set;
        return set;
    }
    // The variable, created (Null, or an Array of arraySize elements when that is 0 or more) when
    // the lookup does not find it.
    GxMoaVariableSet* FindOrCreate(const std::wstring& name, int k, int64_t arraySize)
    {
        if (GxMoaVariableSet* set = Lookup(name, k))
            return set;
        GxMoaVariable initial;
        if (arraySize >= 0)
            initial.MakeArray(arraySize);
        GxMoaVariableTable& table = CreationTable();
        table.Add(name, initial);
        WarnCreated(name);
        return table.Find(name);
    }

    bool Binary(int32_t opcode);
    bool Unary(int32_t opcode);
    bool CallBuiltin(bool& frameGone);
    bool MakeArray();
    bool PushVar(const std::wstring& name);
    bool PushVarAry(const std::wstring& name);
    bool Assign(int32_t opcode);

    GxMoaBuiltinBase* m_pBuiltin;
    GxMoaScript* m_pScript;
    GxMoa* m_pMoa;
    GxMoaWorker* m_pWorker;
    bool m_Warn;
    std::vector<GxMoaVariable>& m_Stack;
    GxMoaExecStackElement* m_pFrame;
    uint64_t m_Serial;
    int32_t m_Pc = 0;
};

bool Run::Binary(int32_t opcode)
{
    if (!Need(2))
        return false;
    // The result replaces the left operand in its stack slot. Two integers, the common case, are
    // computed here by the same rules (comparisons give 1 or 0, arithmetic wraps).
    GxMoaVariable& li = m_Stack[m_Stack.size() - 2];
    const GxMoaVariable& ri = m_Stack.back();
    if (li.GetType() == GxMoaVariable::TYPE_INT && ri.GetType() == GxMoaVariable::TYPE_INT)
    {
        const int64_t a = li.GetRawInt();
        const int64_t b = ri.GetRawInt();
        const uint64_t ua = static_cast<uint64_t>(a);
        const uint64_t ub = static_cast<uint64_t>(b);
        bool done = true;
        switch (opcode)
        {
        case OPC_EQ:
            li.SetInt(a == b ? 1 : 0);
            break;
        case OPC_NE:
            li.SetInt(a != b ? 1 : 0);
            break;
        case OPC_GT:
            li.SetInt(a > b ? 1 : 0);
            break;
        case OPC_GE:
            li.SetInt(a >= b ? 1 : 0);
            break;
        case OPC_LT:
            li.SetInt(a < b ? 1 : 0);
            break;
        case OPC_LE:
            li.SetInt(a <= b ? 1 : 0);
            break;
        case OPC_ADD:
            li.SetInt(static_cast<int64_t>(ua + ub));
            break;
        case OPC_SUB:
            li.SetInt(static_cast<int64_t>(ua - ub));
            break;
        case OPC_MUL:
            li.SetInt(static_cast<int64_t>(ua * ub));
            break;
        default:
            done = false;
            break;
        }
        if (done)
        {
            m_Stack.pop_back();
            return true;
        }
    }
    const GxMoaVariable r = Pop();
    GxMoaVariable& l = m_Stack.back();
    switch (opcode)
    {
    case OPC_EQ:
        l.SetInt(GxMoaVariable::Equal(l, r) ? 1 : 0);
        break;
    case OPC_NE:
        l.SetInt(GxMoaVariable::NotEqual(l, r) ? 1 : 0);
        break;
    case OPC_GT:
        l.SetInt(GxMoaVariable::Greater(l, r) ? 1 : 0);
        break;
    case OPC_GE:
        l.SetInt(GxMoaVariable::GreaterEqual(l, r) ? 1 : 0);
        break;
    case OPC_LT:
        l.SetInt(GxMoaVariable::Less(l, r) ? 1 : 0);
        break;
    case OPC_LE:
        l.SetInt(GxMoaVariable::LessEqual(l, r) ? 1 : 0);
        break;
    case OPC_ADD:
        l = GxMoaVariable::Add(l, r);
        break;
    case OPC_CONCAT:
        l = GxMoaVariable::Concat(l, r);
        break;
    case OPC_SUB:
        l = GxMoaVariable::Sub(l, r);
        break;
    case OPC_MUL:
        l = GxMoaVariable::Mul(l, r);
        break;
    case OPC_DIV:
        l = GxMoaVariable::Div(l, r);
        break;
    case OPC_MOD:
        l = GxMoaVariable::Mod(l, r);
        break;
    case OPC_BIT_AND:
        l = GxMoaVariable::BitAnd(l, r);
        break;
    case OPC_BIT_OR:
        l = GxMoaVariable::BitOr(l, r);
        break;
    case OPC_BIT_XOR:
        l = GxMoaVariable::BitXor(l, r);
        break;
    case OPC_SHL:
        l = GxMoaVariable::ShiftLeft(l, r);
        break;
    case OPC_SHR:
        l = GxMoaVariable::ShiftRight(l, r);
        break;
    case OPC_AND:
        l.SetInt(l.ToInt64() != 0 && r.ToInt64() != 0 ? 1 : 0);
        break;
    case OPC_OR:
        l.SetInt(l.ToInt64() != 0 || r.ToInt64() != 0 ? 1 : 0);
        break;
    default:
        break;
    }
    return true;
}

bool Run::Unary(int32_t opcode)
{
    if (!Need(1))
        return false;
    GxMoaVariable& v = m_Stack.back();
    switch (opcode)
    {
    case OPC_UNARY_MINUS:
        GxMoaVariable::Negate(v);
        break;
    case OPC_BIT_NOT:
        GxMoaVariable::BitNot(v);
        break;
    case OPC_NOT:
        GxMoaVariable::LogicalNot(v);
        break;
    default:
        break; // unary plus leaves the value as it is
    }
    return true;
}

// Pops a count n and then n values into a new Array, the first popped into element n-1.
bool Run::MakeArray()
{
    if (!Need(1))
        return false;
    const int64_t n = m_Stack.back().ToInt64();
    // The count comes from the list and may not match the stack (a list such as f(()) pushes a
    // count of 1 over nothing): check the depth before popping anything.
    if (n < 0 || static_cast<uint64_t>(n) > m_Stack.size() - 1)
    {
        Error(kUnderflowOne);
        return false;
    }
    m_Stack.pop_back();
    GxMoaVariable array;
    array.MakeArray(n);
    for (int64_t i = n - 1; i >= 0; --i)
        *array.GetElement(i) = Pop();
    m_Stack.push_back(std::move(array));
    return true;
}

bool Run::CallBuiltin(bool& frameGone)
{
    if (!m_pBuiltin)
    {
        Error(L"OPC_CALL_BUILTIN 組み込み関数ポインタが設定されていません");
        return false;
    }
    const GxMoaVariable* indexEntry = Operand(1);
    const GxMoaVariable* nameEntry = Operand(2);
    if (!indexEntry || !nameEntry)
    {
        Error(L"Exec_Opcode 不正な演算コードです");
        return false;
    }
    const int32_t index = indexEntry->ToInt();
    // The builtin may replace or change the frame. A shared list is held here for the call, so its
    // name can be passed in place; the name in a frame's own list is copied first.
    const std::shared_ptr<const GxMoaParsedExpression> held = m_pFrame->m_OpcodeList.GetSharedPointer();
    std::wstring copied;
    const std::wstring* text = held ? nameEntry->GetText() : nullptr;
    if (!text)
        text = &(copied = nameEntry->ToString());
    const std::wstring& name = *text;
    if (!MakeArray())
        return false;
    GxMoaVariable args = Pop();
    GxMoaVariable result;
    const bool ok = m_pBuiltin->Call(name, index, args, m_pWorker, m_pScript, m_pWorker->GetExecStack(), result);
    // The builtin may have jumped, called, returned or stopped: the frame this run works on must
    // still be there, as the same frame, or the run ends here.
    frameGone = GxMoaMachine::FindFrame(m_pWorker, m_pFrame, m_Serial) == nullptr;
    if (!ok)
    {
        GxMoaMachine::Exec_BuiltinError(m_pMoa, m_pScript, m_pWorker, L"関数実行時にエラーが発生したので停止します",
                                        name);
        return false;
    }
    if (frameGone)
        return true;
    return Push(std::move(result));
}

bool Run::PushVar(const std::wstring& name)
{
    GxMoaVariableSet* set = FindOrCreate(name, 1, -1);
    return Push(set ? set->m_Value : GxMoaVariable());
}

bool Run::PushVarAry(const std::wstring& name)
{
    if (!Need(1))
        return false;
    const int64_t index = Pop().ToInt64();
    GxMoaVariableSet* set = FindOrCreate(name, 1, index);
    GxMoaVariable* element = nullptr;
    if (set && (index == -1 || set->m_Value.IsArray()))
        element = set->m_Value.GetElement(index);
    if (!element)
        return Push(GxMoaVariable());
    return Push(*element);
}

// "=", postfix steps and compound assignments: the target entry and the name follow the opcode.
bool Run::Assign(int32_t opcode)
{
    const GxMoaVariable* target = Operand(1);
    const GxMoaVariable* nameEntry = Operand(2);
    if (!target || !nameEntry)
    {
        Error(L"Exec_Opcode 不正な演算コードです");
        return false;
    }
    const bool isPost = opcode == OPC_POST_INC || opcode == OPC_POST_DEC;
    const bool isPlain = opcode == OPC_ASSIGN;
    const wchar_t* brokenText = isPlain  ? L"OPC_ASSIGN Opecodeが壊れています"
                                : isPost ? L"OPC_AFTER_* Opecodeが壊れています"
                                         : L"OPC_ASSIGN_* Opecodeが壊れています";
    const wchar_t* indexText = isPlain  ? L"OPC_ASSIGN 変数の要素 $%s[%d] に代入できません"
                               : isPost ? L"OPC_AFTER_* 変数の要素 $%s[%d] に代入できません"
                                        : L"OPC_ASSIGN_* 変数の要素 $%s[%d] に代入できません";
    const int64_t targetCode = target->GetType() == GxMoaVariable::TYPE_OPCODE ? target->GetRawInt() : -1;
    // No builtin runs here, so the list and the name in it stay in place.
    std::wstring converted;
    const std::wstring& name = NameText(*nameEntry, converted);

    GxMoaVariable value;
    if (!isPost)
    {
        if (!Need(1))
            return false;
        value = Pop();
    }
    if (targetCode != OPC_ALTER_VAR && targetCode != OPC_ALTER_VARARY)
    {
        // Reported, and the machine goes on with the value as the result.
        Error(brokenText);
        return isPost ? Push(GxMoaVariable()) : Push(std::move(value));
    }
    int64_t index = -1;
    if (targetCode == OPC_ALTER_VARARY)
    {
        if (!Need(1))
            return false;
        index = Pop().ToInt64();
        if (index < 0 || index >= GxMoaVariable::kMaxArraySize)
        {
            ErrorF(indexText, name, index);
            return false;
        }
    }

    if (isPlain)
    {
        if (GxMoaVariableSet* set = Lookup(name, 2))
            set->m_Value.Store(index, value);
        else
        {
            CreationTable().StoreByName(name, index, &value);
            WarnCreated(name);
        }
        return Push(std::move(value));
    }

    GxMoaVariableSet* set = FindOrCreate(name, 2, index >= 0 ? index : -1);
    if (!set)
        return Push(GxMoaVariable());
    GxMoaVariable current;
    if (GxMoaVariable* element = (index == -1 || set->m_Value.IsArray()) ? set->m_Value.GetElement(index) : nullptr)
        current = *element;

    GxMoaVariable next = current;
    switch (opcode)
    {
    case OPC_POST_INC:
        next.SetInt(current.ToInt64() + 1);
        break;
    case OPC_POST_DEC:
        next.SetInt(current.ToInt64() - 1);
        break;
    case OPC_ADD_ASSIGN:
        GxMoaVariable::AddAssign(next, value);
        break;
    case OPC_CONCAT_ASSIGN:
        GxMoaVariable::ConcatAssign(next, value);
        break;
    case OPC_SUB_ASSIGN:
        GxMoaVariable::SubAssign(next, value);
        break;
    case OPC_MUL_ASSIGN:
        GxMoaVariable::MulAssign(next, value);
        break;
    case OPC_DIV_ASSIGN:
        GxMoaVariable::DivAssign(next, value);
        break;
    case OPC_MOD_ASSIGN:
        GxMoaVariable::ModAssign(next, value);
        break;
    case OPC_AND_ASSIGN:
        next = GxMoaVariable::BitAnd(current, value);
        break;
    case OPC_OR_ASSIGN:
        next = GxMoaVariable::BitOr(current, value);
        break;
    case OPC_XOR_ASSIGN:
        next = GxMoaVariable::BitXor(current, value);
        break;
    default:
        break;
    }
    // Index -1 stores the whole value: a plain copy, inline for numbers.
    if (index == -1)
        set->m_Value = next;
    else
        set->m_Value.Store(index, next);
    return Push(std::move(isPost ? current : next));
}

int Run::Go()
{
    if (!m_pFrame || m_pFrame->m_OpcodeList.empty())
        return 1;
    for (;;)
    {
        const GxMoaOpcodeList& list = m_pFrame->m_OpcodeList.Get();
        if (m_pFrame->m_OpcodePos < 0 || static_cast<size_t>(m_pFrame->m_OpcodePos) >= list.size())
            return 1;
        m_Pc = m_pFrame->m_OpcodePos;
        const GxMoaVariable& entry = list[static_cast<size_t>(m_Pc)];
        if (entry.GetType() != GxMoaVariable::TYPE_OPCODE)
        {
            Error(L"Exec_Opcode Opcodeではないパラメータを演算しようとしました");
            return 0;
        }
        const int64_t opcode = entry.GetRawInt();
        if (opcode < 0 || opcode > OPC_LAST)
        {
            Error(L"Exec_Opcode 不正な演算コードです");
            return 0;
        }
        int32_t length = 1;
        bool ok = true;
        switch (opcode)
        {
        case OPC_NONE:
        case OPC_SEPARATOR:
        case OPC_ELEMENT:
        case OPC_ARRAYINDEX:
        case OPC_PRE_INC:
        case OPC_PRE_DEC:
            break;
        case OPC_PUSH_INT:
        case OPC_PUSH_FLT:
        case OPC_PUSH_STR:
        case OPC_ELEMENTNUM:
        {
            length = 2;
            const GxMoaVariable* operand = Operand(1);
            if (!operand)
            {
                Error(L"Exec_Opcode 不正な演算コードです");
                return 0;
            }
            ok = Push(*operand);
            break;
        }
        case OPC_PUSH_NULL:
            m_Stack.emplace_back();
            break;
        case OPC_PUSH_VAR:
        case OPC_PUSH_VARARY:
        {
            length = 2;
            const GxMoaVariable* operand = Operand(1);
            if (!operand)
            {
                Error(L"Exec_Opcode 不正な演算コードです");
                return 0;
            }
            std::wstring converted;
            const std::wstring& name = NameText(*operand, converted);
            ok = opcode == OPC_PUSH_VARARY ? PushVarAry(name) : PushVar(name);
            break;
        }
        case OPC_ALTER_VAR:
            Error(L"OPC_ALTER_VAR 単体でこのコードは実行できません");
            return 0;
        case OPC_ALTER_VARARY:
            Error(L"OPC_ALTER_VARARY 単体でこのコードは実行できません");
            return 0;
        case OPC_CALL_BUILTIN:
        {
            length = 3;
            bool frameGone = false;
            ok = CallBuiltin(frameGone);
            if (ok && frameGone)
                return 1;
            break;
        }
        case OPC_ARRAYINIT:
            ok = MakeArray();
            break;
        case OPC_UNARY_PLUS:
        case OPC_UNARY_MINUS:
        case OPC_BIT_NOT:
        case OPC_NOT:
            ok = Unary(static_cast<int32_t>(opcode));
            break;
        case OPC_POST_INC:
        case OPC_POST_DEC:
        case OPC_ASSIGN:
        case OPC_ADD_ASSIGN:
        case OPC_CONCAT_ASSIGN:
        case OPC_SUB_ASSIGN:
        case OPC_MUL_ASSIGN:
        case OPC_DIV_ASSIGN:
        case OPC_MOD_ASSIGN:
        case OPC_AND_ASSIGN:
        case OPC_OR_ASSIGN:
        case OPC_XOR_ASSIGN:
            length = 3;
            ok = Assign(static_cast<int32_t>(opcode));
            break;
        default:
            ok = Binary(static_cast<int32_t>(opcode));
            break;
        }
        if (!ok)
            return 0;
        m_pFrame->m_OpcodePos = m_Pc + length;
    }
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// Frames and the value stack
// ---------------------------------------------------------------------------------------------------

GxMoaScript* GxMoaMachine::FindFrameScript(GxMoa* moa, GxMoaExecStackElement* frame)
{
    if (!frame)
        return nullptr;
    if (!frame->m_pScript)
    {
        if (frame->m_Pos.m_pEntity && frame->m_Pos.m_pEntity->m_pScript)
            frame->m_pScript = frame->m_Pos.m_pEntity->m_pScript;
        else if (moa && !frame->m_Pos.m_ScriptName.empty())
            frame->m_pScript = moa->FindScript(frame->m_Pos.m_ScriptName);
    }
    return frame->m_pScript;
}

GxMoaExecStackElement* GxMoaMachine::FindFrame(GxMoaWorker* worker, const GxMoaExecStackElement* frame, uint64_t serial)
{
    if (!worker || !frame)
        return nullptr;
    // Compared by address first: a frame that is gone is never dereferenced.
    for (const auto& f : worker->GetExecStack())
        if (f.get() == frame && f->m_Serial == serial)
            return f.get();
    return nullptr;
}

bool GxMoaMachine::Exec_PushStack(GxMoa* moa, GxMoaScript* script, GxMoaWorker* worker, const GxMoaVariable& value)
{
    if (value.GetType() == GxMoaVariable::TYPE_OPCODE)
    {
        const GxMoaExecStackElement* frame = worker ? worker->GetTopFrame() : nullptr;
        Exec_Error(moa, script, worker, L"Exec_PushStack 計算スタックに積むパラメータが不足しています",
                   frame ? frame->m_OpcodePos : 0);
        return false;
    }
    worker->m_ValueStack.push_back(value);
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Error reports
// ---------------------------------------------------------------------------------------------------

namespace
{
void Where(const GxMoaScript* script, const GxMoaWorker* worker, std::wstring& name, int32_t& line)
{
    name = script ? script->m_ScriptName : L"*";
    const GxMoaExecStackElement* frame = worker ? worker->GetTopFrame() : nullptr;
    line = frame ? frame->m_Pos.m_Line : -1;
}
} // namespace

void GxMoaMachine::Exec_Error(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker, const wchar_t* message,
                              int32_t pc)
{
    if (!moa)
        return;
    std::wstring name;
    int32_t line;
    Where(script, worker, name, line);
    moa->Error(name, line, L"%s[pc=%d]", message, pc);
}

void GxMoaMachine::Exec_Warning(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker,
                                const wchar_t* message, int32_t pc)
{
    if (!moa)
        return;
    std::wstring name;
    int32_t line;
    Where(script, worker, name, line);
    moa->Warning(name, line, L"%s[pc=%d]", message, pc);
}

void GxMoaMachine::Exec_BuiltinError(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker,
                                     const wchar_t* message, const std::wstring& name)
{
    if (!moa)
        return;
    std::wstring scriptName;
    int32_t line;
    Where(script, worker, scriptName, line);
    moa->Error(scriptName, line, L"%s[builtin:%s]", message, name.c_str());
}

int GxMoaMachine::Exec_Opcode(GxMoaBuiltinBase* builtin, GxMoaScript* script, GxMoa* moa, GxMoaWorker* worker,
                              bool warnOnCreate)
{
    if (!worker)
    {
        Exec_Error(moa, script, nullptr, L"Exec_Opcode ExecStackとValueStackが指定されていません", 0);
        return 0;
    }
    Run run(builtin, script, moa, worker, warnOnCreate);
    return run.Go();
}
