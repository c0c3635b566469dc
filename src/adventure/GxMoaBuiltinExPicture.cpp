// The background and event-picture builtins of GxMoaBuiltinEx: "bg", "ev", their ".color" and
// ".act_move" forms.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/SeqAvgMain.h"
#include "appdata/DBCGMode.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxColor.h"
#include "core/GxCore.h"
#include "core/GxPath.h"
#include "script/GxMoaVariable.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

SeqAvgMain* FindScreen(GxCore* core)
{
    GxTaskBase* task = core && core->m_TaskManage ? core->m_TaskManage->FindTaskByName(L"SeqAvgMain") : nullptr;
    return dynamic_cast<SeqAvgMain*>(task);
}

// A colour argument: the RGB value made opaque; white when absent.
GxVector4 ArgColor(const GxMoaBuiltinCall& call, int32_t i)
{
    if (!call.Has(i))
        return GxVector4(1.0f, 1.0f, 1.0f, 1.0f);
    return GxColor::FromARGB(static_cast<uint32_t>(call.ArgInt64(i)) | 0xFF000000u);
}

} // namespace

bool GxMoaBuiltinEx::CallPicture(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    SeqAvgMain* screen = FindScreen(m_Core);
    GxTaskLayer* bg = screen ? screen->FindLayer(L"$BGLAYER:SeqAvgMain") : nullptr;
    GxTaskLayer* wide = screen ? screen->FindLayer(L"$BGWLAYER:SeqAvgMain") : nullptr;
    if (!screen || !bg || !wide)
        return call.Fail(L"背景レイヤーがありません");

    if (name == L"bg.color" || name == L"ev.color")
    {
        bg->SetColor0(ArgColor(call, 0));
        return true;
    }
    if (name == L"bg.act_move" || name == L"ev.act_move")
    {
        GxVector4 target = bg->GetPos();
        target.x = static_cast<float>(call.ArgFloat(0));
        target.y = static_cast<float>(call.ArgFloat(1));
        bg->AddActionMove(call.ArgInt(2), target, 1);
        return true;
    }

    const bool event = name == L"ev";
    const GxSystemConfig& config = GxTaskUIBase::GetSystemConfig();
    if (!event)
        wide->ResetLayer();
    GxTaskActor::FinishActions(bg);
    if (!call.Has(0))
        return call.Fail(L"画像ファイルを指定してください");
    std::wstring path = config.GetString(event ? SYSSTR_EV_DIR : SYSSTR_BG_DIR) + call.ArgString(0);
    if (!GxSystemConfig::ResolveImagePath(path))
    {
        if (event ? config.m_ErrorStopNotFound_EV : config.m_ErrorStopNotFound_BG)
            return event ? call.Fail(L"画像ファイルが見つかりません[%s]", path.c_str())
                         : call.Fail(L"画像ファイルが見つかりません");
        path += L".png";
    }
    const std::wstring& errorPicture = config.GetString(SYSSTR_ERROR_IMAGE);
    if (event)
    {
        int32_t row = 0, cell = 0;
        GxUserDataPerman* perman = m_Core ? m_Core->m_UserDataPerman : nullptr;
        // Recorded under the gallery cell's own name: the gallery looks the record up by that name, so
        // a script naming the picture in another letter case still unlocks it.
        if (perman && FindCGModeFile(row, cell, path))
            perman->SetShowedCG(g_DBCGMode.GetRow(row)->m_FileName[cell]);
        const std::wstring base = call.Has(7) ? GxPath::GetBaseName(call.ArgString(7))
                                              : GxPath::GetBaseName(call.ArgString(0)) + L"_w";
        std::wstring widePath = config.GetString(SYSSTR_EV_DIR) + base;
        if (GxSystemConfig::ResolveImagePath(widePath))
            wide->SetImage(widePath, 0, errorPicture);
        else
            wide->ResetLayer();
    }
    int32_t time = config.m_PictureEffectTime;
    if (const GxMoaVariable* t = call.Arg(1); t && !t->IsNull())
        time = t->ToInt();
    std::wstring rule;
    if (call.Has(2))
    {
        rule = config.GetString(SYSSTR_TR_DIR) + call.ArgString(2);
        if (!GxSystemConfig::ResolveImagePath(rule))
            return event ? call.Fail(L"トランジション画像ファイルが見つかりません[%s]", rule.c_str())
                         : call.Fail(L"トランジション画像ファイルが見つかりません");
    }
    GxVector4 pos = bg->GetPos();
    bg->SetPos(GxVector4(static_cast<float>(call.ArgFloat(3)), static_cast<float>(call.ArgFloat(4)), pos.z, 0.0f));
    const GxVector4 colour = ArgColor(call, 5);
    const bool clearStands = call.Has(6) ? call.ArgInt64(6) == 0 : true;
    if (time > 0)
        screen->StartBackgroundChange(path, rule, time, clearStands);
    else
    {
        if (clearStands)
        {
            if (GxTaskFolder* stand = screen->FindFolder(L"$STAND:SeqAvgMain"); stand && stand->GetFirstChild())
                GxTaskControl::ClearLayers(stand->GetFirstChild(), 0);
        }
        bg->SetImage(path, 0, errorPicture);
    }
    bg->SetColor0(colour);
    return true;
}
