#pragma once
// Helpers for the builtin tests: argument Arrays built from values, and one call of a builtin object
// on a recording runtime's worker with its result and report lines kept.

#include "script/ScriptExecUtil.h"

#include <initializer_list>
#include <string>

namespace BuiltinTest
{
using namespace ScriptTest;

inline GxMoaVariable Args(std::initializer_list<GxMoaVariable> values)
{
    GxMoaVariable args;
    args.MakeArray(static_cast<int64_t>(values.size()));
    int64_t i = 0;
    for (const GxMoaVariable& v : values)
        args.Store(i++, v);
    return args;
}

// A runtime with one empty script "t" and a main worker standing at its start.
struct Bench
{
    TokenProgram m_Program{{{}}};
    GxMoaVariable m_Result;

    GxMoaWorkerEx& Worker() { return *m_Program.m_Worker; }
    bool Call(GxMoaBuiltinBase& builtin, const std::wstring& name, int32_t index, GxMoaVariable args)
    {
        m_Result.Clear();
        return builtin.Call(name, index, args, m_Program.m_Worker.get(), m_Program.m_pScript,
                            m_Program.m_Worker->GetExecStack(), m_Result);
    }
    std::vector<std::wstring> Errors() const { return m_Program.m_Moa.Lines(L"err:"); }
};
} // namespace BuiltinTest

#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "script/GxMoaBuiltinTable.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

#include <memory>

namespace BuiltinTest
{
// A core with its configurations, user data and a task tree holding the adventure screen's named
// layers, and the dispatcher over it. Calls go through GxMoaBuiltinEx::Call with the table's index.
struct Scene
{
    GxCore m_Core;
    std::unique_ptr<GxTaskManage> m_Tasks;
    GxTaskBase* m_Root = nullptr;
    GxMoaBuiltinEx m_Ex{&m_Core};
    Bench m_Bench;

    Scene()
    {
        m_Core.m_SystemConfig = new GxSystemConfig();
        m_Core.m_UserConfig = new GxUserConfig();
        m_Core.m_UserData = new GxUserData(&m_Core);
        m_Core.m_UserDataPerman = new GxUserDataPerman(&m_Core);
        m_Tasks = std::make_unique<GxTaskManage>(&m_Core);
        m_Core.m_TaskManage = m_Tasks.get();
        m_Root = new GxTaskBase(m_Tasks.get());
        for (const wchar_t* name :
             {L"$GLOBALFADE:SeqAvgMain", L"$GLOBALFLASH:SeqAvgMain", L"$VISUAL:SeqAvgMain", L"$MOVIELAYER:SeqAvgMain"})
            new GxTaskLayer(m_Root, name);
        auto* stand = new GxTaskLayer(m_Root, L"$STAND:SeqAvgMain");
        new GxTaskLayer(stand, nullptr, L"mio", 0);
    }
    ~Scene() { m_Core.m_TaskManage = nullptr; }

    GxUserData& Data() { return *m_Core.m_UserData; }
    GxUserDataPerman& Perman() { return *m_Core.m_UserDataPerman; }
    GxSystemConfig& Config() { return *m_Core.m_SystemConfig; }
    GxTaskLayer* Layer(const wchar_t* name) { return dynamic_cast<GxTaskLayer*>(m_Tasks->FindTaskByName(name)); }
    bool Call(const std::wstring& name, GxMoaVariable args = GxMoaVariable())
    {
        return m_Bench.Call(m_Ex, name, GxMoaBuiltinTable::FindIndex(name), std::move(args));
    }
    GxMoaVariable& Result() { return m_Bench.m_Result; }
    std::vector<std::wstring> Errors() const { return m_Bench.Errors(); }
};
} // namespace BuiltinTest
