// The system and query builtins of GxMoaBuiltinEx: random numbers, the developer switch, the replay
// state, the user dialog, the save title, the speaker-name mode, the extra-option bits and the return
// to the title screen.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxRandom.h"
#include "script/GxMoaVariable.h"
#include "task/GxSeqSystemBase.h"
#include "task/GxTaskManage.h"

#include <cstdint>
#include <utility>

namespace
{

// Both bounds included. The count is taken in 64 bits; one that does not fit a positive 32-bit value
// draws nothing and gives the lower bound.
int32_t RandomBetween(int32_t low, int32_t high)
{
    if (low > high)
        std::swap(low, high);
    if (low == high)
        return low;
    const int64_t count = static_cast<int64_t>(high) - low + 1;
    const int32_t draw = count > INT32_MAX ? 0 : GxRandom::Next(static_cast<int32_t>(count));
    return static_cast<int32_t>(low + static_cast<int64_t>(draw));
}

} // namespace

bool GxMoaBuiltinEx::CallSystem(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;
    GxUserDataPerman* perman = m_Core ? m_Core->m_UserDataPerman : nullptr;
    GxTaskManage* tasks = m_Core ? m_Core->m_TaskManage : nullptr;

    if (name == L"rand")
    {
        call.m_Result.SetInt(
            RandomBetween(static_cast<int32_t>(call.ArgInt64(0)), static_cast<int32_t>(call.ArgInt64(1))));
        return true;
    }
    if (name == L"getdialogresult")
    {
        call.m_Result.SetInt(data ? data->m_LastDialogResult : 0);
        return true;
    }
    if (name == L"getdebugmodeflag")
    {
        const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
        call.m_Result.SetInt(config && config->m_DebugModeFlag ? 1 : 0);
        return true;
    }
    if (name == L"setgamedatatitle")
    {
        if (data)
            data->SetGameDataTitle(call.ArgString(0));
        return true;
    }
    if (name == L"getreplaymode")
    {
        call.m_Result.SetInt(data && data->m_ReplayMode ? 1 : 0);
        return true;
    }
    if (name == L"getpassedlabel")
    {
        if (!call.Has(0))
            return call.Fail(L"ラベル名を指定してください");
        call.m_Result.SetInt(perman && perman->m_PassedReplayLabels.count(call.ArgString(0)) ? 1 : 0);
        return true;
    }
    if (name == L"setnameidentifymode")
    {
        if (data)
            data->m_NameIdentifyMode = call.ArgInt(0);
        return true;
    }
    if (name == L"dlg")
    {
        // The result reads 0 until the player answers, even when the dialog cannot open.
        if (data)
            data->m_LastDialogResult = 0;
        const std::wstring message = call.ArgString(0);
        const int32_t kind = call.Has(1) ? call.ArgInt(1) : 1;
        const GxTaskBase* dialog = tasks ? tasks->FindTaskByName(L"dlg_user") : nullptr;
        if (dialog && dialog->IsActive())
            return call.Fail(L"ダイアログは二重に開けません");
        if (auto* system = tasks ? dynamic_cast<GxSeqSystemBase*>(tasks->GetSystemSequence()) : nullptr)
            system->OpenUserDialog(L"USERDIALOG", message.c_str(), kind);
        return true;
    }
    if (name == L"jumptotitle")
    {
        GxTaskBase* title = tasks ? tasks->FindTaskByName(L"SeqTitle") : nullptr;
        if (title)
            tasks->ChangeSequence(title, 0, 0);
        else
            GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqTitle");
        return true;
    }
    if (name == L"setextraoption" || name == L"getextraoption")
    {
        // Only the low five bits of the bit number count: 35 is bit 3.
        const uint32_t bit = static_cast<uint32_t>(call.ArgInt(0)) & 31u;
        if (name == L"setextraoption")
        {
            if (perman)
                perman->m_ExtraOption.Set(bit, call.ArgInt(1) != 0);
        }
        else
            call.m_Result.SetInt(perman && perman->m_ExtraOption.IsSet(bit) ? 1 : 0);
        return true;
    }
    return false;
}
