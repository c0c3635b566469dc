#include "strategy/ZorScriptBuiltins.h"

#include "appdata/DBZorCommand.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/ZorGlobals.h"
#include "core/GxBit32.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "script/GxMoaVariable.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

#include <algorithm>
#include <unordered_map>

namespace
{

GxBit32 s_OwnExtraOption;
GxBit32* s_ExtraOption = &s_OwnExtraOption;

void SetExtraBits(uint32_t bits)
{
    s_ExtraOption->SetBits(s_ExtraOption->GetBits() | bits);
}
std::wstring s_SaveFolder;

// One call's arguments and result. Reading argument i grows a shorter array to i + 1 elements (the
// new ones Null); a value that is no array reads Null everywhere.
struct Args
{
    GxMoaVariable& args;
    GxMoaVariable& result;

    const GxMoaVariable* At(int32_t i) { return args.IsArray() ? args.GetElement(i) : nullptr; }
    int32_t Int(int32_t i)
    {
        const GxMoaVariable* v = At(i);
        return v ? v->ToInt() : 0;
    }
    std::wstring Str(int32_t i)
    {
        const GxMoaVariable* v = At(i);
        return v ? v->ToString() : std::wstring();
    }
    bool SetInt(int64_t value)
    {
        result.Clear();
        result.SetInt(value);
        return true;
    }
    bool SetStr(const std::wstring& text)
    {
        if (text.empty())
            result.SetCString(L"");
        else
            result.SetString(text);
        return true;
    }
};

ZorUserData& S()
{
    return *ZorCore::GetInstance()->GetUserData();
}

int32_t Clamp(int32_t v)
{
    return std::clamp(v, 0, 99999);
}

bool Jump(const wchar_t* sequence)
{
    GxTaskManage* manage = ZorCore::GetInstance()->GetTaskManage();
    if (!manage || !manage->FindTaskByName(sequence))
    {
        GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", sequence);
        return true;
    }
    manage->ChangeSequence(std::wstring(sequence), 1);
    return true;
}

// A record keyed by argument 0's name; null (the builtin fails) when no row holds the name.
ZorUnitState* UnitArg(Args& a)
{
    const int32_t row = ZorGlobals::FindUnit(a.Str(0));
    return row ? S().GetUnitState(row) : nullptr;
}

ZorStructState* StructArg(Args& a)
{
    const int32_t row = ZorGlobals::FindStruct(a.Str(0));
    return row ? S().GetStructState(row) : nullptr;
}

ZorTownState* TownArg(Args& a)
{
    const int32_t row = ZorGlobals::FindTown(a.Str(0));
    return row ? S().GetTownState(row) : nullptr;
}

ZorEnemyPartyState* PartyArg(Args& a)
{
    const int32_t row = ZorGlobals::FindEnemy(a.Str(0));
    return row ? S().GetEnemyPartyState(row) : nullptr;
}

using Builtin = bool (*)(Args&);

const std::unordered_map<std::wstring, Builtin>& Table()
{
    static const std::unordered_map<std::wstring, Builtin> s_Table = {
        // Screen switches.
        {L"zor_jumptodef", [](Args&) { return Jump(L"SeqZorLoader"); }},
        {L"zor_jumptocom", [](Args&) { return Jump(L"SeqZorCommand"); }},
        {L"zor_jumptoinv", [](Args&) { return Jump(L"SeqZorInvLoader"); }},
        {L"zor_jumptotakeover", [](Args&) { return Jump(L"SeqZorTakeOver"); }},

        // Stage set-up and scalar state.
        {L"zor_setdefbgm", [](Args& a) { return S().m_DefBGM = a.Str(0), true; }},
        {L"zor_setinvbgm", [](Args& a) { return S().m_InvBGM = a.Str(0), true; }},
        {L"zor_setdeffirstparty",
         [](Args& a) { return S().m_FirstUniquePartyID = ZorGlobals::FindEnemy(a.Str(0)), true; }},
        {L"zor_setdefbossparty",
         [](Args& a) { return S().m_MiddleUniquePartyID = ZorGlobals::FindEnemy(a.Str(0)), true; }},
        {L"zor_setdefalclevel", [](Args& a) { return S().m_ElectLevel = a.Int(0), true; }},
        {L"zor_setdefrushtimes", [](Args& a) { return S().m_RashTimes = a.Int(0), true; }},
        {L"zor_setdefremainenemy", [](Args& a) { return S().m_RemainEnemyTotal = a.Int(0), true; }},
        {L"zor_setnotoriety", [](Args& a) { return S().m_Notoriety = a.Int(0), true; }},
        {L"zor_getnotoriety", [](Args& a) { return a.SetInt(S().m_Notoriety); }},
        {L"zor_setenemyrushmode",
         [](Args& a)
         {
             S().m_Inst_RushMode = a.Int(0);
             S().m_Inst_RushModeParam = a.Int(1);
             return true;
         }},
        {L"zor_setautoenemypartykind", [](Args& a) { return S().m_EnemyPartyKind = a.Int(0), true; }},
        {L"zor_getdefcaptureunitname",
         [](Args& a)
         {
             const int32_t id = S().m_Capture_UnitID;
             return a.SetStr(id == 0 ? std::wstring() : g_DBZorUnit.GetRow(static_cast<uint32_t>(id))->m_Name);
         }},
        {L"zor_getdefcaptureresult", [](Args& a) { return a.SetInt(S().m_Capture_Result); }},
        {L"zor_setresourcebone", [](Args& a) { return S().m_Resource_Bone = Clamp(a.Int(0)), true; }},
        {L"zor_setresourcemagic", [](Args& a) { return S().m_Resource_Magic = Clamp(a.Int(0)), true; }},
        {L"zor_setresourcegold", [](Args& a) { return S().m_Resource_Gold = Clamp(a.Int(0)), true; }},
        {L"zor_setresourceleadershipbase",
         [](Args& a)
         {
             S().m_Resource_LeadershipBase = a.Int(0);
             if (S().m_Resource_LeadershipBase >= 200)
                 SetExtraBits(0x10u);
             return true;
         }},
        {L"zor_setresourceastaroshpmax",
         [](Args& a)
         {
             S().m_Resource_AstarosHPMax = a.Int(0);
             S().m_Resource_AstarosHP = S().m_Resource_AstarosHPMax;
             return true;
         }},
        {L"zor_getresourcebone", [](Args& a) { return a.SetInt(S().m_Resource_Bone); }},
        {L"zor_getresourcemagic", [](Args& a) { return a.SetInt(S().m_Resource_Magic); }},
        {L"zor_getresourcegold", [](Args& a) { return a.SetInt(S().m_Resource_Gold); }},
        {L"zor_getresourceleadershipbase", [](Args& a) { return a.SetInt(S().m_Resource_LeadershipBase); }},
        {L"zor_getresourceastaroshpmax", [](Args& a) { return a.SetInt(S().m_Resource_AstarosHPMax); }},
        {L"zor_getfloorextendlevel", [](Args& a) { return a.SetInt(S().m_FloorExtendLevel); }},
        {L"zor_upgradefloorextendlevel",
         [](Args&)
         {
             S().UpgradeFloorExtendLevel();
             if (S().m_FloorExtendLevel >= 3)
                 SetExtraBits(0x08u);
             return true;
         }},
        {L"zor_getastarosweeklimit", [](Args& a) { return a.SetInt(S().m_AstarosWeekLimit); }},
        {L"zor_decastarosweeklimit",
         [](Args& a)
         {
             if (S().m_AstarosWeekLimit != 0)
                 --S().m_AstarosWeekLimit;
             return a.SetInt(S().m_AstarosWeekLimit);
         }},
        {L"zor_setastarosweeklimit", [](Args& a) { return S().m_AstarosWeekLimit = a.Int(0), true; }},
        // A class outside the 24 entries fails rather than reach past them.
        {L"zor_getunitclassreinforcelevel",
         [](Args& a)
         {
             const int32_t c = a.Int(0);
             return c >= 0 && c < ZorUserData::kReinforceClasses && a.SetInt(S().m_ReinforceMonster[c]);
         }},
        {L"zor_addunitclassreinforcelevel",
         [](Args& a)
         {
             const int32_t c = a.Int(0);
             if (c < 0 || c >= ZorUserData::kReinforceClasses)
                 return false;
             // Kept where a save of it still loads.
             if (S().m_ReinforceMonster[c] < ZorUserData::kMaxReinforceLevel)
                 ++S().m_ReinforceMonster[c];
             return true;
         }},
        {L"zor_setinvnexttownname",
         [](Args& a)
         {
             const int32_t row = ZorGlobals::FindTown(a.Str(0));
             return row != 0 && (S().m_NextInvTownID = row, true);
         }},
        {L"zor_getinvnexttownname",
         [](Args& a) { return a.SetStr(g_DBZorTown.GetRow(static_cast<uint32_t>(S().m_NextInvTownID))->m_Name); }},

        // Records keyed by name.
        {L"zor_setautoheroinepartyenabled",
         [](Args& a)
         {
             ZorEnemyPartyState* p = PartyArg(a);
             return p && (p->m_AutoAppear = a.Int(1), true);
         }},
        {L"zor_getautoheroinepartyenabled",
         [](Args& a)
         {
             const ZorEnemyPartyState* p = PartyArg(a);
             return p && a.SetInt(p->m_AutoAppear);
         }},
        {L"zor_setunitcaptureenabled",
         [](Args& a)
         {
             ZorUnitState* u = UnitArg(a);
             return u && (u->m_CaptureEnabled = a.Int(1), true);
         }},
        {L"zor_getunitcaptureenabled",
         [](Args& a)
         {
             const ZorUnitState* u = UnitArg(a);
             return u && a.SetInt(u->m_CaptureEnabled);
         }},
        {L"zor_setunitfriend",
         [](Args& a)
         {
             const int32_t row = ZorGlobals::FindUnit(a.Str(0));
             ZorUnitState* u = row ? S().GetUnitState(row) : nullptr;
             if (!u)
                 return false;
             u->m_FriendFlag = a.Int(1);
             if (u->m_FriendFlag == 2 && row >= 1 && row <= 9)
                 SetExtraBits(1u << (row + 10));
             return true;
         }},
        {L"zor_getunitfriend",
         [](Args& a)
         {
             const ZorUnitState* u = UnitArg(a);
             return u && a.SetInt(u->m_FriendFlag);
         }},
        {L"zor_setunitcreateenabled",
         [](Args& a)
         {
             ZorUnitState* u = UnitArg(a);
             return u && (u->m_Enabled = a.Int(1), true);
         }},
        {L"zor_getunitcreateenabled",
         [](Args& a)
         {
             const ZorUnitState* u = UnitArg(a);
             return u && a.SetInt(u->m_Enabled);
         }},
        {L"zor_getunitemployedcount",
         [](Args& a)
         {
             const ZorUnitState* u = UnitArg(a);
             return u && a.SetInt(u->m_UnitCreateCount);
         }},
        {L"zor_getunitheroinelevel",
         [](Args& a)
         {
             const ZorUnitState* u = UnitArg(a);
             return u && a.SetInt(u->m_Level);
         }},
        {L"zor_setstructcreateenabled",
         [](Args& a)
         {
             ZorStructState* s = StructArg(a);
             return s && (s->m_Enabled = a.Int(1), true);
         }},
        {L"zor_getstructcreateenabled",
         [](Args& a)
         {
             const ZorStructState* s = StructArg(a);
             return s && a.SetInt(s->m_Enabled);
         }},
        {L"zor_getstructactivecount",
         [](Args& a)
         {
             const ZorStructState* s = StructArg(a);
             return s && a.SetInt(s->m_RoomActiveCount);
         }},
        {L"zor_setcommandenabled",
         [](Args& a)
         {
             const int32_t row = ZorGlobals::FindCommand(a.Str(0));
             ZorCommandState* c = row ? S().GetCommandState(row) : nullptr;
             if (!c)
                 return false;
             c->m_Enabled = a.Int(1);
             c->m_ResourceMultiFactor = a.Int(2);
             const std::wstring label = a.Str(3);
             c->m_Label = !label.empty() ? label : g_DBZorCommand.GetRow(static_cast<uint32_t>(row))->m_Label;
             return true;
         }},
        {L"zor_getcommandenabled",
         [](Args& a)
         {
             const int32_t row = ZorGlobals::FindCommand(a.Str(0));
             const ZorCommandState* c = row ? S().GetCommandState(row) : nullptr;
             return c && a.SetInt(c->m_Enabled);
         }},
        {L"zor_setinvtownenabled",
         [](Args& a)
         {
             ZorTownState* t = TownArg(a);
             return t && (t->m_Enabled = a.Int(1), true);
         }},
        {L"zor_getinvtownenabled",
         [](Args& a)
         {
             const ZorTownState* t = TownArg(a);
             return t && a.SetInt(t->m_Enabled);
         }},
        {L"zor_setinvtownoccupied",
         [](Args& a)
         {
             ZorTownState* t = TownArg(a);
             return t && (t->m_Occupied = a.Int(1), true);
         }},
        {L"zor_getinvtownoccupied",
         [](Args& a)
         {
             const ZorTownState* t = TownArg(a);
             return t && a.SetInt(t->m_Occupied);
         }},
        {L"zor_setinvtownenemypartyname",
         [](Args& a)
         {
             ZorTownState* t = TownArg(a);
             return t && (t->m_EnemyParty = a.Str(1), true);
         }},
        {L"zor_getinvtownenemypartyname",
         [](Args& a)
         {
             const ZorTownState* t = TownArg(a);
             return t && a.SetStr(t->m_EnemyParty);
         }},

        // Take-over data.
        {L"zor_getexistrounddata",
         [](Args& a) { return a.SetInt(GxFile::Exists(s_SaveFolder + L"zordata_round.gd")); }},
        {L"zor_saverounddata",
         [](Args&)
         {
             // A failed write leaves the previous file; the script goes on, but the failure is logged.
             if (!ZorCore::GetInstance()->SaveRoundData(s_SaveFolder + L"zordata_round.gd", true))
                 GxLog::Error(L"zor_saverounddata/引き継ぎデータを書き込めません(%szordata_round.gd)\n",
                              s_SaveFolder.c_str());
             return true;
         }},
    };
    return s_Table;
}

} // namespace

bool ZorScriptBuiltins::Call(const std::wstring& name, GxMoaVariable& args, GxMoaVariable& result)
{
    auto it = Table().find(name);
    if (it == Table().end() || !ZorCore::GetInstance())
        return false;
    Args a{args, result};
    return it->second(a);
}

bool ZorScriptBuiltins::IsBuiltin(const std::wstring& name)
{
    return Table().count(name) != 0;
}

int32_t ZorScriptBuiltins::GetCount()
{
    return static_cast<int32_t>(Table().size());
}

void ZorScriptBuiltins::SetExtraOption(GxBit32* word)
{
    s_ExtraOption = word ? word : &s_OwnExtraOption;
}

GxBit32* ZorScriptBuiltins::GetExtraOption()
{
    return s_ExtraOption;
}

void ZorScriptBuiltins::SetSaveFolder(const std::wstring& folder)
{
    s_SaveFolder = folder;
}

const std::wstring& ZorScriptBuiltins::GetSaveFolder()
{
    return s_SaveFolder;
}
