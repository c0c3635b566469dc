#include "script/GxMoaBuiltinTable.h"

#include <initializer_list>
#include <unordered_map>

namespace
{
struct Range
{
    int32_t m_First;
    std::initializer_list<const wchar_t*> m_Names;
};

std::vector<GxMoaBuiltinTableEntry> Build()
{
    // General-purpose builtins, by their fixed index.
    std::vector<GxMoaBuiltinTableEntry> entries = {
        {L"int", 1},       {L"float", 2},       {L"str", 3},      {L"isarray", 4},    {L"arraysize", 5},
        {L"log", 6},       {L"debuglog", 7},    {L"errorlog", 8}, {L"fileexists", 9}, {L"filesize", 10},
        {L"strlen", 11},   {L"substr", 12},     {L"tolower", 13}, {L"toupper", 14},   {L"strfind", 15},
        {L"haslabel", 16}, {L"dumpvars", 17},   {L"getlcid", 20}, {L"gettzname", 21}, {L"gettzbias", 22},
        {L"time", 23},     {L"year", 24},       {L"month", 25},   {L"day", 26},       {L"hour", 27},
        {L"minute", 28},   {L"second", 29},     {L"weekday", 30}, {L"yearday", 31},   {L"getcurdir", 32},
        {L"goto", 64},     {L"gotoif", 65},     {L"gosub", 66},   {L"gosubif", 67},   {L"return", 68},
        {L"returnif", 69}, {L"returnfunc", 70}, {L"result", 71},  {L"sign", 100},     {L"abs", 101},
        {L"fsign", 102},   {L"fabs", 103},      {L"fmod", 104},   {L"pow", 105},      {L"sqrt", 106},
        {L"exp", 107},     {L"ln", 108},
    };
    // Builtins dispatched by range and name, numbered from the range's first index in comparison order.
    const Range ranges[] = {
        {300, {L"rand"}},
        {500,
         {L"getsavedir",
          L"getcurseqname",
          L"getprevseqname",
          L"getcurseqparam0",
          L"getcurseqparam1",
          L"getprevseqparam0",
          L"getprevseqparam1",
          L"getlastselect",
          L"getdialogresult",
          L"getdebugmodeflag",
          L"setgamedatatitle",
          L"getgamedatatitle",
          L"getreplaymode",
          L"getpassedlabel",
          L"setnameidentifymode",
          L"dlg",
          L"msg",
          L"msgn",
          L"msg.show",
          L"msg.hide",
          L"msg.clear",
          L"text"}},
        {1000,
         {L"sp.color", L"sp.alpha", L"sp.blend", L"sp.lcg", L"sp.lnc", L"sp.wa", L"sp.shake", L"sp.shake_end",
          L"sp.sub", L"stand"}},
        {1100, {L"bg", L"bg.color", L"bg.act_move", L"bg.wa", L"ev", L"ev.color", L"ev.act_move", L"ev.wa"}},
        {1300, {L"fin", L"fout", L"flash", L"flash.wa", L"shake", L"shake.end"}},
        {1400, {L"mv", L"mv.wa", L"mv.autostop"}},
        {1500,
         {L"bgm", L"bgm.wa", L"bgv", L"bgv.wa", L"se", L"se_0", L"se_1", L"se_2", L"se_3", L"se.wa", L"vo", L"vo_0",
          L"vo_1", L"vo_2", L"vo_3", L"vo.wa"}},
        {2000, {L"sel", L"sel.go", L"sel.gosub", L"sel.visible", L"sel.enable", L"sel.cancel", L"sel.hash"}},
        {2100, {L"wa.click", L"wa.time", L"wa.layer"}},
        {2200,
         {L"rp.set", L"rp.unset", L"rp.setall", L"rp.unsetall", L"rp.end", L"cg.set", L"cg.setgroup", L"cg.setall",
          L"cg.unsetall"}},
        {10000, {L"jumptotitle", L"setextraoption", L"getextraoption"}},
        {20000,
         {L"zor_jumptodef",
          L"zor_jumptocom",
          L"zor_jumptoinv",
          L"zor_jumptotakeover",
          L"zor_setdefbgm",
          L"zor_setdeffirstparty",
          L"zor_setdefbossparty",
          L"zor_setdefalclevel",
          L"zor_setdefrushtimes",
          L"zor_setdefremainenemy",
          L"zor_setnotoriety",
          L"zor_getnotoriety",
          L"zor_setautoheroinepartyenabled",
          L"zor_getautoheroinepartyenabled",
          L"zor_setunitcaptureenabled",
          L"zor_getunitcaptureenabled",
          L"zor_getdefcaptureunitname",
          L"zor_getdefcaptureresult",
          L"zor_setunitfriend",
          L"zor_getunitfriend",
          L"zor_setresourcebone",
          L"zor_setresourcemagic",
          L"zor_setresourcegold",
          L"zor_setresourceleadershipbase",
          L"zor_setresourceastaroshpmax",
          L"zor_getresourcebone",
          L"zor_getresourcemagic",
          L"zor_getresourcegold",
          L"zor_getresourceleadershipbase",
          L"zor_getresourceastaroshpmax",
          L"zor_setunitcreateenabled",
          L"zor_getunitcreateenabled",
          L"zor_setstructcreateenabled",
          L"zor_getstructcreateenabled",
          L"zor_getfloorextendlevel",
          L"zor_getunitemployedcount",
          L"zor_getunitheroinelevel",
          L"zor_getstructactivecount",
          L"zor_getastarosweeklimit",
          L"zor_decastarosweeklimit",
          L"zor_setastarosweeklimit",
          L"zor_setcommandenabled",
          L"zor_getcommandenabled",
          L"zor_setinvnexttownname",
          L"zor_setinvtownenabled",
          L"zor_setinvtownoccupied",
          L"zor_setinvtownenemypartyname",
          L"zor_setinvbgm",
          L"zor_getinvnexttownname",
          L"zor_getinvtownenabled",
          L"zor_getinvtownoccupied",
          L"zor_getinvtownenemypartyname",
          L"zor_getunitclassreinforcelevel",
          L"zor_addunitclassreinforcelevel",
          L"zor_upgradefloorextendlevel",
          L"zor_setenemyrushmode",
          L"zor_setautoenemypartykind",
          L"zor_getexistrounddata",
          L"zor_saverounddata"}},
    };
    for (const Range& range : ranges)
    {
        int32_t index = range.m_First;
        for (const wchar_t* name : range.m_Names)
            entries.push_back({name, index++});
    }
    return entries;
}
} // namespace

const std::vector<GxMoaBuiltinTableEntry>& GxMoaBuiltinTable::GetEntries()
{
    static const std::vector<GxMoaBuiltinTableEntry> s_Entries = Build();
    return s_Entries;
}

const GxMoaBuiltinTableEntry* GxMoaBuiltinTable::Find(const std::wstring& name)
{
    static const std::unordered_map<std::wstring, const GxMoaBuiltinTableEntry*> s_ByName = []
    {
        std::unordered_map<std::wstring, const GxMoaBuiltinTableEntry*> map;
        for (const GxMoaBuiltinTableEntry& e : GetEntries())
            map.emplace(e.m_Name, &e);
        return map;
    }();
    auto it = s_ByName.find(name);
    return it == s_ByName.end() ? nullptr : it->second;
}

int32_t GxMoaBuiltinTable::FindIndex(const std::wstring& name)
{
    const GxMoaBuiltinTableEntry* e = Find(name);
    return e ? e->m_Index : -1;
}
