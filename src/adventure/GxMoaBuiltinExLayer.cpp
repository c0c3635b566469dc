// The layer and character builtins of GxMoaBuiltinEx: "sp.color", "sp.alpha", "sp.blend", "sp.lcg",
// "sp.lnc", "sp.shake", "sp.shake_end", "sp.sub" and the "stand" block.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/GxMoaScriptBlock.h"
#include "adventure/SeqAvgMain.h"
#include "appdata/DBAvgChar.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxColor.h"
#include "core/GxCore.h"
#include "script/GxMoaVariable.h"
#include "task/GxSubLayerContent.h"
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

// The placement shared by "sp.lcg", "sp.lnc" and "stand" once the content is settled; the argument
// indices are those of the depth key, the move mode and the transit mode.
void Place(GxMoaBuiltinCall& call, GxTaskLayer* layer, double x, double y, int32_t time, int32_t depthArg,
           int32_t moveArg, int32_t transitArg)
{
    const GxVector4 target(static_cast<float>(x), static_cast<float>(y), layer->GetPos().z, 0.0f);
    const int32_t moveMode = call.ArgInt(moveArg);
    if (time != 0 && moveMode != 0)
        layer->AddActionMove(time, target, static_cast<uint32_t>(moveMode));
    else
        layer->SetPos(target);
    if (call.Has(depthArg))
        layer->SetOrderZ(static_cast<float>(call.ArgFloat(depthArg)));
    layer->SetLocalTransitMode(call.Has(transitArg) ? call.ArgInt(transitArg) : 1);
}

} // namespace

bool GxMoaBuiltinEx::CallLayer(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    const std::wstring layerName = call.ArgString(0);
    if (layerName.empty())
        return call.Fail(L"レイヤー名がありません");
    SeqAvgMain* screen = FindScreen(m_Core);
    GxTaskFolder* stand = screen ? screen->FindFolder(L"$STAND:SeqAvgMain") : nullptr;
    GxTaskBase* task = stand ? stand->FindTaskLocal(layerName, 0) : nullptr;
    GxTaskLayer* layer = task && task->HasKind(GX_TASKKIND_LAYER) ? static_cast<GxTaskLayer*>(task) : nullptr;
    const bool plainLookup = name == L"sp.color" || name == L"sp.alpha" || name == L"sp.blend" || name == L"stand";
    if (!layer)
        return plainLookup ? call.Fail(L"レイヤーが見つかりません。キャラ名[%s]は未定義です", layerName.c_str())
                           : call.Fail(L"レイヤーが見つかりません。命令が間違っているかキャラ名[%s]は未定義です",
                                       layerName.c_str());
    const GxSystemConfig& config = GxTaskUIBase::GetSystemConfig();

    if (name == L"sp.color")
    {
        layer->SetColor0(call.Has(1) ? GxColor::FromARGB(static_cast<uint32_t>(call.ArgInt64(1)) | 0xFF000000u)
                                     : GxVector4(1.0f, 1.0f, 1.0f, 1.0f));
        return true;
    }
    if (name == L"sp.alpha")
    {
        layer->SetAlpha(call.Has(1) ? call.ArgInt(1) : 255);
        return true;
    }
    if (name == L"sp.blend")
    {
        layer->GetVisual().m_BlendMode = call.Has(1) ? call.ArgInt(1) : 2;
        return true;
    }
    if (name == L"sp.shake")
    {
        const int32_t time = call.Has(1) ? call.ArgInt(1) : config.m_CharEffectTime;
        layer->StartShake(GxVector4(static_cast<float>(call.ArgInt(2)), static_cast<float>(call.ArgInt(3)), 0.0f, 0.0f),
                          time);
        return true;
    }
    if (name == L"sp.shake_end")
    {
        layer->StopShake();
        return true;
    }

    const int32_t row = FindAvgCharData(layerName);
    if (row < 0)
        return call.Fail(L"キャラ名[%s]は未定義です", layerName.c_str());
    const DBAvgCharData& character = *g_DBAvgChar.GetRow(static_cast<uint32_t>(row));
    const std::wstring& errorPicture = config.GetString(SYSSTR_ERROR_IMAGE);
    auto resolve = [&](const std::wstring& file, std::wstring& path) {
        path = character.m_StandPath + file;
        return GxSystemConfig::ResolveImagePath(path);
    };
    // A sub-layer past the content's count would be used unchecked: refused with an error.
    auto subLayer = [&](int32_t index) -> GxSubLayerContent* {
        GxSubLayerContent* sub = layer->GetCurrentContent().GetSubLayer(index);
        if (!sub)
            call.Fail(L"サブレイヤー[%d]がありません。キャラ名[%s]のサブレイヤー数は%dです", index, layerName.c_str(),
                      layer->GetCurrentContent().GetSubLayerCount());
        return sub;
    };

    if (name == L"sp.sub")
    {
        const int32_t index = call.ArgInt(1);
        std::wstring path;
        if (call.Has(2) && !resolve(call.ArgString(2), path))
            return call.Fail(L"画像ファイルが見つかりません[%s]", path.c_str());
        GxSubLayerContent* sub = subLayer(index);
        if (!sub)
            return false;
        if (call.Has(2))
            sub->SetImage(path);
        else
            sub->Clear();
        return true;
    }

    if (name == L"sp.lcg")
    {
        const int32_t time = call.Has(5) ? call.ArgInt(5) : config.m_CharEffectTime;
        const double currentX = layer->GetPos().x;
        int32_t width = layer->GetWidth();
        int32_t height = layer->GetHeight();
        if (call.Has(1))
        {
            std::wstring path;
            if (!resolve(call.ArgString(1), path))
                return call.Fail(L"画像ファイルが見つかりません[%s]", path.c_str());
            layer->SetImage(path, time, errorPicture);
            width = layer->GetWidth();
            height = layer->GetHeight();
        }
        else
            layer->ClearContent(time);
        Place(call, layer, ArgPosX(call.Arg(2), currentX, width), ArgPosY(call.Arg(3), height), time, 4, 6, 7);
        return true;
    }

    if (name == L"sp.lnc")
    {
        const int32_t time = call.Has(6) ? call.ArgInt(6) : config.m_CharEffectTime;
        if (call.Has(2))
        {
            std::wstring project = config.GetGncDir() + character.m_NCProjFileName;
            if (!GxSystemConfig::ResolveGncPath(project))
                return call.Fail(L"NCProjファイルが見つかりません[%s]", project.c_str());
            std::wstring group = call.Has(1) ? call.ArgString(1) : std::wstring();
            if (!layer->SetMotion(project, config.GetGisDir(), group, call.ArgString(2), 0, time))
                return call.Fail(L"モーショングループが存在しないか読み込みミスです");
        }
        else
            layer->ClearContent(time);
        const GxVector4 pos = layer->GetPos();
        Place(call, layer, call.Has(3) ? call.ArgFloat(3) : pos.x, call.Has(4) ? call.ArgFloat(4) : pos.y, time, 5, 7,
              8);
        return true;
    }

    // "stand": the standing picture from the block's first line, sub-layer pictures from the others.
    const int32_t time = call.Has(4) ? call.ArgInt(4) : config.m_CharEffectTime;
    std::vector<std::wstring> lines;
    std::wstring refused;
    if (!GxMoaScriptBlock::Read(call, L"endstand", lines, refused))
        return call.Fail(L"ENDSTANDに到達する前に処理できないトークンがあります[%s]", refused.c_str());
    if (lines.empty())
    {
        layer->ClearContent(time);
        return true;
    }
    std::wstring path;
    if (!resolve(lines[0], path))
        return call.Fail(L"画像ファイルが見つかりません[%s]", path.c_str());
    const double currentX = layer->GetPos().x;
    layer->SetImage(path, time, errorPicture);
    Place(call, layer, ArgPosX(call.Arg(1), currentX, layer->GetWidth()), ArgPosY(call.Arg(2), layer->GetHeight()),
          time, 3, 5, 6);
    for (size_t k = 1; k < lines.size(); ++k)
    {
        if (!resolve(lines[k], path))
            return call.Fail(L"画像ファイルが見つかりません[%s]", path.c_str());
        GxSubLayerContent* sub = subLayer(static_cast<int32_t>(k) - 1);
        if (!sub)
            return false;
        sub->SetImage(path);
    }
    return true;
}
