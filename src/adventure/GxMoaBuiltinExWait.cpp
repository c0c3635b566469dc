// The wait builtins of GxMoaBuiltinEx: each sets a hold of the user data and returns at once; the
// adventure screen runs no script while a hold is set and ends it by time, state or input.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/GxMoaBuiltinHold.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

namespace
{
constexpr const wchar_t* kBGLayer = L"$BGLAYER:SeqAvgMain";
constexpr const wchar_t* kStandFolder = L"$STAND:SeqAvgMain";

// "sp.wa": the stand layer of that local name, or null.
GxTaskLayer* FindStandLayer(GxCore* core, const std::wstring& name)
{
    GxTaskManage* tasks = core ? core->m_TaskManage : nullptr;
    auto* folder = tasks ? dynamic_cast<GxTaskFolder*>(tasks->FindTaskByName(kStandFolder)) : nullptr;
    return folder ? dynamic_cast<GxTaskLayer*>(folder->FindTaskLocal(name, 0)) : nullptr;
}
} // namespace

bool GxMoaBuiltinEx::CallWait(GxMoaBuiltinCall& call)
{
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;
    const std::wstring& name = call.m_Name;
    if (name == L"sp.wa")
    {
        const std::wstring layerName = call.ArgString(0);
        if (layerName.empty())
            return call.Fail(L"レイヤー名がありません");
        const GxTaskLayer* layer = FindStandLayer(m_Core, layerName);
        if (layer == nullptr)
            return call.Fail(L"レイヤーが見つかりません。命令が間違っているかキャラ名[%s]は未定義です",
                             layerName.c_str());
        if (data)
        {
            GxMoaBuiltinHold::ApplyHide(call, 1, *data);
            data->m_Hold_EndOfLayerActionSeparate = GxMoaBuiltinHold::Mask(call, 2);
            data->m_Hold_EndOfLayerActionSeparate_LayerName = layer->GetTaskLocalName();
        }
        return true;
    }
    if (data == nullptr)
        return true;
    if (name == L"wa.click")
    {
        // A click always ends it, whatever the mask.
        GxMoaBuiltinHold::ApplyHide(call, 0, *data);
        data->m_Hold_WaitClick = GxMoaBuiltinHold::Mask(call, 1) | 2;
    }
    else if (name == L"wa.time")
    {
        // Mask 0 gives 1: a wait that only its time ends, as the script asked.
        GxMoaBuiltinHold::ApplyHide(call, 1, *data);
        data->m_Hold_WaitTime = GxMoaBuiltinHold::Mask(call, 2);
        data->m_Hold_WaitTime_TimeLeft = static_cast<int32_t>(call.ArgInt64(0));
    }
    else if (name == L"wa.layer")
    {
        GxMoaBuiltinHold::ApplyHide(call, 0, *data);
        data->m_Hold_EndOfLayerActionAll = GxMoaBuiltinHold::Mask(call, 1);
    }
    else if (name == L"bg.wa" || name == L"ev.wa")
    {
        // Backgrounds and event pictures share one layer.
        GxMoaBuiltinHold::ApplyHide(call, 0, *data);
        data->m_Hold_EndOfLayerActionSeparate = GxMoaBuiltinHold::Mask(call, 1);
        data->m_Hold_EndOfLayerActionSeparate_LayerName = kBGLayer;
    }
    else
        return false;
    return true;
}
