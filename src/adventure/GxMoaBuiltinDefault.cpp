#include "adventure/GxMoaBuiltinDefault.h"

#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaDumpFile.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxMath.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaVariableSet.h"
#include "script/GxMoaWorker.h"

#include <cmath>

namespace
{

// Text in UTF-16 code units, the unit in which scripts count characters (index 11 counts them too).
std::u16string Units(const std::wstring& text)
{
    return GxString::ToUtf16(text);
}

// Index 12. Start and count are clamped to the text: a start outside it, or a count below 1, gives
// the empty text.
std::wstring SubText(const std::wstring& text, int64_t start, int64_t count, bool toEnd)
{
    const std::u16string units = Units(text);
    const int64_t length = static_cast<int64_t>(units.size());
    if (start < 0 || start >= length)
        return std::wstring();
    const int64_t left = length - start;
    const int64_t take = toEnd ? left : (count < 0 ? 0 : (count > left ? left : count));
    return GxString::FromUtf16(units.substr(static_cast<size_t>(start), static_cast<size_t>(take)));
}

// Index 15: -1 for a start outside the text (a start equal to the length still finds an empty part).
int64_t FindText(const std::wstring& text, const std::wstring& part, int64_t start)
{
    const std::u16string units = Units(text);
    if (start < 0 || start > static_cast<int64_t>(units.size()))
        return -1;
    const size_t at = units.find(Units(part), static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int64_t>(at);
}

// Index 17: the runtime's variables, then the calling worker's, in the dump file form.
void DumpVariables(const std::wstring& path, const GxMoaWorker* worker)
{
    if (worker == nullptr)
        return;
    std::wstring text;
    if (const GxMoa* moa = worker->GetMoa())
        moa->Dump(text, 0);
    worker->Dump(text, 1);
    GxMoaDumpFile::Write(path, text);
}

// Indices 64 to 67. The value becomes the new frame's LOCAL "_".
bool JumpOrCall(GxMoaBuiltinCall& call, const std::wstring& label, const GxMoaVariable& value, bool isCall)
{
    if (call.m_Worker == nullptr)
        return false;
    const GxMoaVariableSet set(L"_", value, 1);
    const bool found = isCall ? call.m_Worker->CallLabel(label, &set) : call.m_Worker->JumpToLabel(label, &set);
    if (found)
        return true;
    call.Fail(L"飛び先のラベルが見つかりません[%s]", label.c_str());
    if (GxMoa* moa = call.m_Worker->GetMoa())
        moa->m_ErrorStop = 1;
    return false;
}

GxMoaVariable ArgValue(const GxMoaBuiltinCall& call, int32_t i)
{
    const GxMoaVariable* value = call.Arg(i);
    return value ? *value : GxMoaVariable();
}

} // namespace

bool GxMoaBuiltinDefault::IsBuiltinIndex(int32_t index)
{
    return (index >= 1 && index <= 17) || (index >= 20 && index <= 32) || (index >= 64 && index <= 71) ||
           (index >= 100 && index <= kLastIndex);
}

bool GxMoaBuiltinDefault::Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker,
                               GxMoaScript* script, GxMoaExecStack& execStack, GxMoaVariable& result)
{
    if (!IsBuiltinIndex(index))
        return false;
    GxMoaBuiltinCall call(name, index, args, worker, script, execStack, result);
    if ((index >= 20 && index <= 31) || index == 32)
        return CallTime(call);
    // Every other index reads arguments; without an argument Array it does nothing.
    if (index != 71 && !args.IsArray())
        return true;

    switch (index)
    {
    case 1:
        result.SetInt(call.ArgInt64(0));
        return true;
    case 2:
        result.SetFloat(call.ArgFloat(0));
        return true;
    case 3:
        result.SetString(call.ArgString(0));
        return true;
    case 4:
        result.SetInt(call.Arg(0)->IsArray() ? 1 : 0);
        return true;
    case 5:
        result.SetInt(call.Arg(0)->GetArraySize());
        return true;
    case 6:
        if (worker && worker->GetMoa())
            worker->GetMoa()->Log(L"%s", call.ArgString(0).c_str());
        return true;
    case 7:
        GxLog::Debug(L"%s\n", call.ArgString(0).c_str());
        return true;
    case 8:
        GxLog::Error(L"%s\n", call.ArgString(0).c_str());
        return true;
    case 9:
        result.SetInt(static_cast<int64_t>(GxFile::Exists(call.ArgString(0))));
        return true;
    case 10:
        result.SetInt(static_cast<int64_t>(GxFile::GetSize(call.ArgString(0))));
        return true;
    case 11:
        result.SetInt(call.Arg(0)->GetStringLength());
        return true;
    case 12:
    {
        // "No count argument" means the call gave fewer than three arguments (or a Null third).
        const bool toEnd = args.GetArraySize() < 3 || call.Arg(2)->IsNull();
        result.SetString(SubText(call.ArgString(0), call.ArgInt64(1), call.ArgInt64(2), toEnd));
        return true;
    }
    case 13:
        result.SetString(GxString::ToLower(call.ArgString(0)));
        return true;
    case 14:
        result.SetString(GxString::ToUpper(call.ArgString(0)));
        return true;
    case 15:
        result.SetInt(FindText(call.ArgString(0), call.ArgString(1), call.ArgInt64(2)));
        return true;
    case 16:
    {
        const GxMoa* moa = worker ? worker->GetMoa() : nullptr;
        const bool has = moa && moa->HasScriptLabel(call.ArgString(0), GxString::ToLower(call.ArgString(1)));
        result.SetInt(has ? 1 : 0);
        return true;
    }
    case 17:
        DumpVariables(call.ArgString(0), worker);
        return true;
    case 64:
    case 66:
        return JumpOrCall(call, call.ArgString(0), ArgValue(call, 1), index == 66);
    case 65:
    case 67:
    {
        const std::wstring label = call.ArgInt64(0) != 0 ? call.ArgString(1) : call.ArgString(2);
        if (label.empty())
            return true;
        return JumpOrCall(call, label, ArgValue(call, 3), index == 67);
    }
    case 68:
    {
        const GxMoaVariable value = ArgValue(call, 0);
        if (worker)
            worker->Return(&value);
        return true;
    }
    case 69:
        if (call.ArgInt64(0) != 0 && worker)
        {
            const GxMoaVariable value = ArgValue(call, 1);
            worker->Return(&value);
        }
        return true;
    case 70:
    {
        const GxMoaVariable value = ArgValue(call, 0);
        if (worker)
            worker->ReturnFromFunction(&value);
        return true;
    }
    case 71:
        if (worker)
            result.Assign(worker->m_ReturnValue);
        return true;
    case 100:
        result.SetInt(GxMath::Sign64(call.ArgInt64(0)));
        return true;
    case 101:
        result.SetInt(GxMath::Abs64(call.ArgInt64(0)));
        return true;
    case 102:
        result.SetFloat(GxMath::Sign(call.ArgFloat(0)));
        return true;
    case 103:
        result.SetFloat(std::fabs(call.ArgFloat(0)));
        return true;
    // Outside their domains these give NaN or an infinity, never a failure.
    case 104:
        result.SetFloat(std::fmod(call.ArgFloat(0), call.ArgFloat(1)));
        return true;
    case 105:
        result.SetFloat(std::pow(call.ArgFloat(0), call.ArgFloat(1)));
        return true;
    case 106:
        result.SetFloat(std::sqrt(call.ArgFloat(0)));
        return true;
    case 107:
        result.SetFloat(std::exp(call.ArgFloat(0)));
        return true;
    case 108:
        result.SetFloat(std::log(call.ArgFloat(0)));
        return true;
    default:
        return false;
    }
}
