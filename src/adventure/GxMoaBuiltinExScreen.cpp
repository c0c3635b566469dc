// The screen-effect and movie builtins of GxMoaBuiltinEx: the global fade, the flash, the shake of every
// picture and the movie layer of the adventure screen. They queue actions or switch contents and return
// at once; "flash.wa" and "mv.wa" hold the script until the effect has ended.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "adventure/GxMoaBuiltinHold.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxColor.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxVector4.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

namespace
{
constexpr const wchar_t* kFadeLayer = L"$GLOBALFADE:SeqAvgMain";
constexpr const wchar_t* kFlashLayer = L"$GLOBALFLASH:SeqAvgMain";
constexpr const wchar_t* kVisualLayer = L"$VISUAL:SeqAvgMain";
constexpr const wchar_t* kMovieLayer = L"$MOVIELAYER:SeqAvgMain";
constexpr int32_t kMovieWidth = 1024;
constexpr int32_t kMovieHeight = 768;

GxTaskLayer* FindLayer(GxCore* core, const wchar_t* name)
{
    GxTaskManage* tasks = core ? core->m_TaskManage : nullptr;
    return tasks ? dynamic_cast<GxTaskLayer*>(tasks->FindTaskByName(name)) : nullptr;
}

// The global fade: its actions dropped, then the layer goes to the alpha at once (a time below 1) or
// over the time. Alpha 0 shows the screen, 255 covers it.
void GlobalFade(GxCore* core, int32_t ms, bool toOpaque)
{
    GxTaskLayer* layer = FindLayer(core, kFadeLayer);
    if (layer == nullptr)
        return;
    layer->ClearActions();
    if (ms < 1)
        layer->SetAlpha(toOpaque ? 255 : 0);
    else if (toOpaque)
        layer->AddActionFadeIn(ms);
    else
        layer->AddActionFadeOut(ms);
}
} // namespace

bool GxMoaBuiltinEx::CallScreen(GxMoaBuiltinCall& call)
{
    const std::wstring& name = call.m_Name;
    const GxSystemConfig* config = m_Core ? m_Core->m_SystemConfig : nullptr;
    const int32_t pictureTime = config ? config->m_PictureEffectTime : 1000;
    const int32_t charTime = config ? config->m_CharEffectTime : 800;
    GxUserData* data = m_Core ? m_Core->m_UserData : nullptr;

    if (name == L"fin" || name == L"fout")
    {
        GlobalFade(m_Core, call.Has(0) ? call.ArgInt(0) : pictureTime, name == L"fout");
        return true;
    }
    if (name == L"flash")
    {
        GxTaskLayer* layer = FindLayer(m_Core, kFlashLayer);
        if (layer == nullptr)
            return true;
        const int32_t timeIn = call.Has(0) ? call.ArgInt(0) : pictureTime;
        const int32_t timeOut = call.Has(1) ? call.ArgInt(1) : pictureTime;
        // The flash is always fully opaque in its colour: the alpha byte given is ignored.
        const GxVector4 colour = call.Has(2) ? GxColor::FromARGB(static_cast<uint32_t>(call.ArgInt64(2)) | 0xFF000000u)
                                             : GxVector4(1.0f, 1.0f, 1.0f, 1.0f);
        // Queued after whatever the layer still does.
        layer->AddActionSetColor0(colour);
        layer->AddActionFadeIn(timeIn);
        layer->AddActionFadeOut(timeOut);
        return true;
    }
    if (name == L"flash.wa" || name == L"mv.wa")
    {
        if (data == nullptr)
            return true;
        GxMoaBuiltinHold::ApplyHide(call, 0, *data);
        const int32_t mask = GxMoaBuiltinHold::Mask(call, 1);
        if (name == L"mv.wa")
            data->m_Hold_EndOfMovie = mask;
        else
        {
            data->m_Hold_EndOfLayerActionSeparate = mask;
            data->m_Hold_EndOfLayerActionSeparate_LayerName = kFlashLayer;
        }
        return true;
    }
    if (name == L"shake")
    {
        // A new shake replaces a running one.
        if (GxTaskLayer* layer = FindLayer(m_Core, kVisualLayer))
        {
            const int32_t ms = call.Has(0) ? call.ArgInt(0) : charTime;
            layer->StartShake(
                GxVector4(static_cast<float>(call.ArgInt(1)), static_cast<float>(call.ArgInt(2)), 0.0f, 0.0f), ms);
        }
        return true;
    }
    if (name == L"shake.end")
    {
        if (GxTaskLayer* layer = FindLayer(m_Core, kVisualLayer))
            layer->StopShake();
        return true;
    }
    if (name == L"mv.autostop")
    {
        if (GxTaskLayer* layer = FindLayer(m_Core, kMovieLayer))
            layer->SetMovieAutoDisappearTime(call.Has(0) ? call.ArgInt(0) : charTime);
        return true;
    }
    if (name == L"mv")
    {
        GxTaskLayer* layer = FindLayer(m_Core, kMovieLayer);
        const int32_t fade = call.Has(1) ? call.ArgInt(1) : pictureTime;
        if (!call.Has(0))
        {
            if (layer)
                layer->ClearContent(fade);
            return true;
        }
        std::wstring path =
            (config ? config->GetString(SYSSTR_MOVIE_DIR) : std::wstring(L"movies/")) + call.ArgString(0);
        // No switch silences a missing movie, unlike the sound builtins.
        if (!GxSystemConfig::ResolveMoviePath(path))
            return call.Fail(L"動画ファイルが見つかりません[%s]", path.c_str());
        if (layer == nullptr)
            return true;
        // An empty file stands for "no movie": the layer's movie goes, as without a name.
        if (GxFile::GetSize(path) == 0)
        {
            layer->ClearContent(fade);
            return true;
        }
        const int32_t width = call.Has(2) ? call.ArgInt(2) : kMovieWidth;
        const int32_t height = call.Has(3) ? call.ArgInt(3) : kMovieHeight;
        // Loop count 0 repeats without end; the layer hands the slot count - 1.
        const int32_t loop = call.Has(4) ? call.ArgInt(4) : 0;
        const double start = call.Has(5) ? static_cast<double>(call.ArgInt64(5)) / 1000.0 : 0.0;
        const int32_t volume = m_Core && m_Core->m_UserConfig ? m_Core->m_UserConfig->GetMovieVolume() : 0;
        layer->SetMovie(path, width, height, loop, start, volume, true, fade);
        return true;
    }
    return false;
}
