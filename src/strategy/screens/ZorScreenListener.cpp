#include "strategy/screens/ZorScreenListener.h"

#include "animation/GxNcEffectPool.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxLog.h"
#include "strategy/ZorCore.h"
#include "strategy/screens/ZorTaskNcEffectOverlay2D.h"
#include "task/GxTaskCastString2D.h"
#include "task/GxTaskNcEffectInstantLoad2D.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

std::wstring ConfigString(int index, const wchar_t* fallback)
{
    const std::wstring& value = GxTaskUIBase::GetSystemConfig().GetString(index);
    return value.empty() ? std::wstring(fallback) : value;
}

GxVector4 ColourOf(uint32_t argb)
{
    return GxVector4(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
}

} // namespace

ZorScreenListener::~ZorScreenListener()
{
    ZorCore* core = ZorCore::GetInstance();
    if (core && core->GetListener() == this)
        core->SetListener(nullptr);
}

void ZorScreenListener::ListenToRules()
{
    if (ZorCore* core = ZorCore::GetInstance())
        core->SetListener(this);
}

GxTaskBase* ZorScreenListener::FindEffectFolder(const wchar_t* name)
{
    ZorCore* core = ZorCore::GetInstance();
    return core ? core->FindList(name) : nullptr;
}

void ZorScreenListener::OnMapEffect(const wchar_t* name, const GxVector4& position, float param)
{
    const GxNcEffect* effect = GxNcEffectPool::Find(name);
    GxTaskBase* folder = FindEffectFolder(L"$EFFECT:SeqZorMain");
    ZorCore* core = ZorCore::GetInstance();
    ZorTaskCamera* camera = core ? core->GetCamera() : nullptr;
    if (!effect || !effect->m_pMotion || !folder || !camera)
        return;
    // The rules pass 70 or 71 here: the draw key of the effect among the map's overlays.
    auto* task = new ZorTaskNcEffectOverlay2D(folder, camera);
    task->Setup(effect->m_pProject, effect->m_pMotion, position, param, GxVector4(1.0f, 1.0f, 1.0f, 0.0f));
}

void ZorScreenListener::OnScreenEffect(const wchar_t* name, float x, float y, float depth)
{
    const std::wstring n = name;
    const wchar_t* folderName = L"$EFFECT:SeqZorMain";
    if (n == L"EFE_DEF_START")
        folderName = L"$EFFECTSTART:SeqZorMain";
    else if (n == L"EFE_DEF_VICTORY" || n == L"EFE_DEF_DEFEATED" || n == L"EFE_INV_VICTORY" ||
             n == L"EFE_INV_DEFEATED")
        folderName = L"$EFFECTEND:SeqZorMain";
    const GxNcEffect* effect = GxNcEffectPool::Find(n);
    GxTaskBase* folder = FindEffectFolder(folderName);
    if (!effect || !effect->m_pMotion || !folder)
        return;
    auto* task = new GxTaskNcEffect2D(folder);
    task->Setup(effect->m_pProject, effect->m_pMotion, x, y, depth, GxVector4(1.0f, 1.0f, 1.0f, 0.0f),
                GxVector2(1.0f, 1.0f), GxVector4(), GxVector4());
}

void ZorScreenListener::OnPopupText(const std::wstring& text, float x, float y, uint32_t color)
{
    GxTaskBase* folder = FindEffectFolder(L"$EFFECT:SeqZorMain");
    if (!folder)
        return;
    auto* task = new GxTaskCastString2D(folder);
    GxTaskCastString2D::Setup(task, text, x, y, GxVector4(), ColourOf(color), kPopupDepth);
}

void ZorScreenListener::OnSpecialEffect(const std::wstring& file, const std::wstring& group, const std::wstring& motion,
                                        float depth)
{
    GxTaskBase* folder = FindEffectFolder(L"$EFFECTSPECIAL:SeqZorMain");
    if (!folder || file.empty())
        return;
    // A cut-in that cannot be loaded kills itself at its first update, so time is held for one step at most.
    auto* task = new GxTaskNcEffectInstantLoad2D(folder);
    if (!task->Setup(ConfigString(SYSSTR_GNC_DIR, L"gnc/") + file, ConfigString(SYSSTR_GIS_DIR, L"gnc/gis/"), group,
                     motion, 512.0f, 384.0f, depth, GxVector4(1.0f, 1.0f, 1.0f, 0.0f)))
        GxLog::Error(L"ZorScreenListener::OnSpecialEffect カットインを読み込めません(%s:%s:%s)\n", file.c_str(),
                     group.c_str(), motion.c_str());
}

bool ZorScreenListener::IsSpecialEffectPlaying() const
{
    GxTaskBase* folder = FindEffectFolder(L"$EFFECTSPECIAL:SeqZorMain");
    return folder && folder->GetFirstChild() != nullptr;
}

void ZorScreenListener::OnVoice(const std::wstring& path, int32_t volumeID)
{
    GxSoundControl::PlaySEWithVoiceVolume(kVoiceSlot, volumeID, path);
}

void ZorScreenListener::OnOneShot(const wchar_t* path)
{
    GxSoundControl::PlayOneShot(path);
}

void ZorScreenListener::OnBGM(const wchar_t* file)
{
    GxSoundControl::PlayBGM(ConfigString(SYSSTR_BGM_DIR, L"bgms/") + file, 0, 0, 0, 0, true);
}
