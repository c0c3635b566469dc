#include "adventure/GxMoaBuiltinEx.h"

#include "adventure/GxMoaBuiltinCall.h"
#include "appdata/DBZorTown.h"
#include "appdata/GxStrategyGame.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "script/GxMoa.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaWorker.h"
#include "task/GxTaskManage.h"

#include <climits>
#include <cmath>
#include <string_view>

namespace
{

using Family = GxMoaBuiltinEx::Family;

struct DispatchEntry
{
    int32_t m_Low;
    int32_t m_High;
    std::wstring_view m_Name; // a view, so a comparison looks at the lengths first
    Family m_Family;
};

// The index ranges and, within each, the names in the order they are compared. Names are unique across
// the table, so walking it in order gives the range-then-name decision: a name is found only inside a
// range that holds the index. The table is in ascending order of the ranges' lower bounds, so the walk
// stops at the first range that begins above the index.
constexpr int32_t kNoLimit = INT32_MAX;
const DispatchEntry kDispatch[] = {
    {300, 499, L"rand", Family::System},

    {500, 999, L"getsavedir", Family::Own},
    {500, 999, L"getcurseqname", Family::Own},
    {500, 999, L"getprevseqname", Family::Own},
    {500, 999, L"getcurseqparam0", Family::Own},
    {500, 999, L"getcurseqparam1", Family::Own},
    {500, 999, L"getprevseqparam0", Family::Own},
    {500, 999, L"getprevseqparam1", Family::Own},
    {500, 999, L"getlastselect", Family::Own},
    {500, 999, L"getdialogresult", Family::System},
    {500, 999, L"getdebugmodeflag", Family::System},
    {500, 999, L"setgamedatatitle", Family::System},
    {500, 999, L"getgamedatatitle", Family::Own},
    {500, 999, L"getreplaymode", Family::System},
    {500, 999, L"getpassedlabel", Family::System},
    {500, 999, L"setnameidentifymode", Family::System},
    {500, 999, L"dlg", Family::System},
    {500, 999, L"msg", Family::Message},
    {500, 999, L"msgn", Family::Message},
    {500, 999, L"msg.show", Family::Message},
    {500, 999, L"msg.hide", Family::Message},
    {500, 999, L"msg.clear", Family::Message},
    {500, 999, L"text", Family::Message},

    {1000, 1099, L"sp.color", Family::Layer},
    {1000, 1099, L"sp.alpha", Family::Layer},
    {1000, 1099, L"sp.blend", Family::Layer},
    {1000, 1099, L"sp.lcg", Family::Layer},
    {1000, 1099, L"sp.lnc", Family::Layer},
    {1000, 1099, L"sp.wa", Family::Wait},
    {1000, 1099, L"sp.shake", Family::Layer},
    {1000, 1099, L"sp.shake_end", Family::Layer},
    {1000, 1099, L"sp.sub", Family::Layer},
    {1000, 1099, L"stand", Family::Layer},

    {1100, 1299, L"bg", Family::Picture},
    {1100, 1299, L"bg.color", Family::Picture},
    {1100, 1299, L"bg.act_move", Family::Picture},
    {1100, 1299, L"bg.wa", Family::Wait},
    {1100, 1299, L"ev", Family::Picture},
    {1100, 1299, L"ev.color", Family::Picture},
    {1100, 1299, L"ev.act_move", Family::Picture},
    {1100, 1299, L"ev.wa", Family::Wait},

    {1300, 1399, L"fin", Family::Screen},
    {1300, 1399, L"fout", Family::Screen},
    {1300, 1399, L"flash", Family::Screen},
    {1300, 1399, L"flash.wa", Family::Screen},
    {1300, 1399, L"shake", Family::Screen},
    {1300, 1399, L"shake.end", Family::Screen},

    {1400, 1499, L"mv", Family::Screen},
    {1400, 1499, L"mv.wa", Family::Screen},
    {1400, 1499, L"mv.autostop", Family::Screen},

    {1500, 1599, L"bgm", Family::Sound},
    {1500, 1599, L"bgm.wa", Family::Sound},
    {1500, 1599, L"bgv", Family::Sound},
    {1500, 1599, L"bgv.wa", Family::Sound},
    {1500, 1599, L"se", Family::Sound},
    {1500, 1599, L"se_0", Family::Sound},
    {1500, 1599, L"se_1", Family::Sound},
    {1500, 1599, L"se_2", Family::Sound},
    {1500, 1599, L"se_3", Family::Sound},
    {1500, 1599, L"se.wa", Family::Sound},
    {1500, 1599, L"vo", Family::Sound},
    {1500, 1599, L"vo_0", Family::Sound},
    {1500, 1599, L"vo_1", Family::Sound},
    {1500, 1599, L"vo_2", Family::Sound},
    {1500, 1599, L"vo_3", Family::Sound},
    {1500, 1599, L"vo.wa", Family::Sound},

    {2000, 2099, L"sel", Family::Select},
    {2000, 2099, L"sel.go", Family::Select},
    {2000, 2099, L"sel.gosub", Family::Select},
    {2000, 2099, L"sel.visible", Family::Select},
    {2000, 2099, L"sel.enable", Family::Select},
    {2000, 2099, L"sel.cancel", Family::Select},
    {2000, 2099, L"sel.hash", Family::Select},

    {2100, 2199, L"wa.click", Family::Wait},
    {2100, 2199, L"wa.time", Family::Wait},
    {2100, 2199, L"wa.layer", Family::Wait},

    {2200, 2399, L"rp.set", Family::Replay},
    {2200, 2399, L"rp.unset", Family::Replay},
    {2200, 2399, L"rp.setall", Family::Own},
    {2200, 2399, L"rp.unsetall", Family::Replay},
    {2200, 2399, L"rp.end", Family::Own},
    {2200, 2399, L"cg.set", Family::Replay},
    {2200, 2399, L"cg.setgroup", Family::Replay},
    {2200, 2399, L"cg.setall", Family::Own},
    {2200, 2399, L"cg.unsetall", Family::Replay},

    {10000, kNoLimit, L"jumptotitle", Family::System},
    {10000, kNoLimit, L"setextraoption", Family::System},
    {10000, kNoLimit, L"getextraoption", Family::System},

    {20000, kNoLimit, L"zor_jumptodef", Family::Strategy},
    {20000, kNoLimit, L"zor_jumptocom", Family::Strategy},
    {20000, kNoLimit, L"zor_jumptoinv", Family::Strategy},
    {20000, kNoLimit, L"zor_jumptotakeover", Family::Strategy},
    {20000, kNoLimit, L"zor_setdefbgm", Family::Strategy},
    {20000, kNoLimit, L"zor_setdeffirstparty", Family::Strategy},
    {20000, kNoLimit, L"zor_setdefbossparty", Family::Strategy},
    {20000, kNoLimit, L"zor_setdefalclevel", Family::Strategy},
    {20000, kNoLimit, L"zor_setdefrushtimes", Family::Strategy},
    {20000, kNoLimit, L"zor_setdefremainenemy", Family::Strategy},
    {20000, kNoLimit, L"zor_setnotoriety", Family::Strategy},
    {20000, kNoLimit, L"zor_getnotoriety", Family::Strategy},
    {20000, kNoLimit, L"zor_setautoheroinepartyenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getautoheroinepartyenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_setunitcaptureenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitcaptureenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getdefcaptureunitname", Family::Strategy},
    {20000, kNoLimit, L"zor_getdefcaptureresult", Family::Strategy},
    {20000, kNoLimit, L"zor_setunitfriend", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitfriend", Family::Strategy},
    {20000, kNoLimit, L"zor_setresourcebone", Family::Strategy},
    {20000, kNoLimit, L"zor_setresourcemagic", Family::Strategy},
    {20000, kNoLimit, L"zor_setresourcegold", Family::Strategy},
    {20000, kNoLimit, L"zor_setresourceleadershipbase", Family::Strategy},
    {20000, kNoLimit, L"zor_setresourceastaroshpmax", Family::Strategy},
    {20000, kNoLimit, L"zor_getresourcebone", Family::Strategy},
    {20000, kNoLimit, L"zor_getresourcemagic", Family::Strategy},
    {20000, kNoLimit, L"zor_getresourcegold", Family::Strategy},
    {20000, kNoLimit, L"zor_getresourceleadershipbase", Family::Own},
    {20000, kNoLimit, L"zor_getresourceastaroshpmax", Family::Strategy},
    {20000, kNoLimit, L"zor_setunitcreateenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitcreateenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_setstructcreateenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getstructcreateenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getfloorextendlevel", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitemployedcount", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitheroinelevel", Family::Strategy},
    {20000, kNoLimit, L"zor_getstructactivecount", Family::Strategy},
    {20000, kNoLimit, L"zor_getastarosweeklimit", Family::Strategy},
    {20000, kNoLimit, L"zor_decastarosweeklimit", Family::Strategy},
    {20000, kNoLimit, L"zor_setastarosweeklimit", Family::Strategy},
    {20000, kNoLimit, L"zor_setcommandenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getcommandenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_setinvnexttownname", Family::Strategy},
    {20000, kNoLimit, L"zor_setinvtownenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_setinvtownoccupied", Family::Strategy},
    {20000, kNoLimit, L"zor_setinvtownenemypartyname", Family::Strategy},
    {20000, kNoLimit, L"zor_setinvbgm", Family::Strategy},
    {20000, kNoLimit, L"zor_getinvnexttownname", Family::Own},
    {20000, kNoLimit, L"zor_getinvtownenabled", Family::Strategy},
    {20000, kNoLimit, L"zor_getinvtownoccupied", Family::Strategy},
    {20000, kNoLimit, L"zor_getinvtownenemypartyname", Family::Strategy},
    {20000, kNoLimit, L"zor_getunitclassreinforcelevel", Family::Strategy},
    {20000, kNoLimit, L"zor_addunitclassreinforcelevel", Family::Strategy},
    {20000, kNoLimit, L"zor_upgradefloorextendlevel", Family::Strategy},
    {20000, kNoLimit, L"zor_setenemyrushmode", Family::Strategy},
    {20000, kNoLimit, L"zor_setautoenemypartykind", Family::Strategy},
    {20000, kNoLimit, L"zor_getexistrounddata", Family::Strategy},
    {20000, kNoLimit, L"zor_saverounddata", Family::Strategy},
};

// The longest line the runtime's log hook takes.
constexpr size_t kDebugLineLimit = 1024;

} // namespace

GxMoaBuiltinEx::GxMoaBuiltinEx(GxCore* core) : m_Core(core) {}

GxMoaBuiltinEx::~GxMoaBuiltinEx() = default;

GxMoaBuiltinBase* GxMoaBuiltinEx::Create(GxCore* core)
{
    return new GxMoaBuiltinEx(core);
}

void GxMoaBuiltinEx::Install()
{
    g_MoaBuiltinCreator = &GxMoaBuiltinEx::Create;
}

bool GxMoaBuiltinEx::FindFamily(const std::wstring& name, int32_t index, Family& family)
{
    for (const DispatchEntry& entry : kDispatch)
    {
        if (index < entry.m_Low)
            break;
        if (index > entry.m_High)
            continue;
        if (name == entry.m_Name)
        {
            family = entry.m_Family;
            return true;
        }
    }
    return false;
}

bool GxMoaBuiltinEx::Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker,
                          GxMoaScript* script, GxMoaExecStack& execStack, GxMoaVariable& result)
{
    GxMoaBuiltinCall call(name, index, args, worker, script, execStack, result);
    if (index == 6 || index == 7)
        return CallDebugLine(call);
    if (index >= 1 && index <= 299)
        return GxMoaBuiltinDefault::Call(name, index, args, worker, script, execStack, result);
    Family family;
    if (!FindFamily(name, index, family))
        return false;
    switch (family)
    {
    case Family::Own: return CallOwn(call);
    case Family::Message: return CallMessage(call);
    case Family::Picture: return CallPicture(call);
    case Family::Layer: return CallLayer(call);
    case Family::Wait: return CallWait(call);
    case Family::System: return CallSystem(call);
    case Family::Sound: return CallSound(call);
    case Family::Screen: return CallScreen(call);
    case Family::Select: return CallSelect(call);
    case Family::Replay: return CallReplay(call);
    case Family::Strategy: return CallStrategy(call);
    }
    return false;
}

bool GxMoaBuiltinEx::CallDebugLine(GxMoaBuiltinCall& call)
{
    const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
    if (!config || !config->m_DebugModeFlag || !call.m_Args.IsArray())
        return true;
    const std::wstring text = call.ArgString(0);
    if (call.m_Index == 6)
    {
        // The hook formats: the text goes in as an argument so a "%" in it stays literal.
        GxMoa* moa = call.m_Worker ? call.m_Worker->GetMoa() : nullptr;
        if (moa)
            moa->Log(L"%s", text.substr(0, kDebugLineLimit).c_str());
    }
    else
    {
        GxLog::Debug(L"%s\n", text.c_str());
    }
    return true;
}

bool GxMoaBuiltinEx::CallOwn(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    GxTaskManage* manage = m_Core ? m_Core->m_TaskManage : nullptr;
    GxUserData* userData = m_Core ? m_Core->m_UserData : nullptr;
    GxUserDataPerman* perman = m_Core ? m_Core->m_UserDataPerman : nullptr;
    GxMoaVariable& result = call.m_Result;

    if (name == L"getsavedir")
        result.SetString(m_Core ? m_Core->m_SavePath : std::wstring());
    else if (name == L"getcurseqname")
        result.SetString(manage ? manage->GetCurrentSequenceName() : std::wstring());
    else if (name == L"getprevseqname")
        result.SetString(manage ? manage->GetPrevSequenceName() : std::wstring());
    else if (name == L"getcurseqparam0" || name == L"getcurseqparam1")
        result.SetInt(manage ? static_cast<int32_t>(manage->GetCurrentParam(name.back() == L'1')) : 0);
    else if (name == L"getprevseqparam0" || name == L"getprevseqparam1")
        result.SetInt(manage ? static_cast<int32_t>(manage->GetPrevParam(name.back() == L'1')) : 0);
    else if (name == L"getlastselect")
        result.SetInt(userData ? userData->m_LastSelectNum : 0);
    else if (name == L"getgamedatatitle")
        result.SetString(userData ? userData->m_GameDataTitle : std::wstring());
    else if (name == L"rp.setall")
    {
        if (perman)
            perman->PassAllReplayLabels();
    }
    else if (name == L"rp.end")
    {
        if (userData && userData->m_ReplayMode && call.m_Worker)
            call.m_Worker->Stop();
    }
    else if (name == L"cg.setall")
    {
        if (perman)
            perman->ShowAllCG();
    }
    else if (name == L"zor_getresourceleadershipbase" || name == L"zor_getinvnexttownname")
    {
        const GxStrategyGame* strategy = GxStrategyGame::Find();
        const bool leadership = name == L"zor_getresourceleadershipbase";
        int32_t value = 0;
        if (!strategy || !(leadership ? strategy->GetLeadershipBase(value) : strategy->GetNextInvTownID(value)))
            return call.Fail(L"戦略ゲームのデータがありません");
        if (leadership)
            result.SetInt(value);
        else
            result.SetString(g_DBZorTown.GetRow(static_cast<uint32_t>(value))->m_Name);
    }
    else
        return false;
    return true;
}

bool GxMoaBuiltinEx::ArgPresent(const GxMoaVariable* value)
{
    return value && !value->IsNull() && !value->ToString().empty();
}

double GxMoaBuiltinEx::ArgPosX(const GxMoaVariable* value, double defaultX, double width)
{
    if (!ArgPresent(value))
        return defaultX;
    const uint32_t type = value->GetType();
    if (type == GxMoaVariable::TYPE_INT || type == GxMoaVariable::TYPE_FLOAT)
        return value->ToFloat();
    const std::wstring text = value->ToString();
    const double room = std::trunc(1024.0 - width);
    if (text == L"L")
        return 0.0;
    if (text == L"M")
        return room * 0.5;
    if (text == L"R")
        return room;
    return defaultX;
}

double GxMoaBuiltinEx::ArgPosY(const GxMoaVariable* value, double height)
{
    if (!ArgPresent(value))
        return 768.0 - height;
    const uint32_t type = value->GetType();
    if (type == GxMoaVariable::TYPE_INT || type == GxMoaVariable::TYPE_FLOAT)
        return value->ToFloat();
    const std::wstring text = value->ToString();
    const double room = std::trunc(768.0 - height);
    if (text == L"T")
        return 0.0;
    if (text == L"M")
        return room * 0.5;
    if (text == L"B")
        return room;
    return 768.0 - height;
}
