#include "strategy/screens/SeqZorLoader.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "media/GxSound.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

std::wstring ConfigString(int id, const wchar_t* fallback)
{
    const std::wstring& s = GxTaskUIBase::GetSystemConfig().GetString(id);
    return s.empty() ? std::wstring(fallback) : s;
}

} // namespace

SeqZorLoader::SeqZorLoader(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorLoader")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorLoader");
    new GxTaskFolder(root, L"$UI:SeqZorLoader");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorLoader");
    m_BGLayer->SetOrderZ(-10.0f);
    // FIXME: its layout rows are built by the widget factory once it is on main.
    SetAcceptUIEvent(true);
}

SeqZorLoader::~SeqZorLoader() = default;

void SeqZorLoader::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    GxTaskManage* manage = GetManager();
    m_EnterParam = manage ? manage->GetCurrentParam(0) : 0;
    m_BGLayer->SetImage(ConfigString(SYSSTR_UI_DIR, L"cg/ui/") + L"bg_nowloading.png", 0,
                        ConfigString(SYSSTR_ERROR_IMAGE, L"cg/error.png"));
    if (m_EnterParam != kParamRestore)
    {
        GxSoundControl::StopBGM(1000);
        if (g_Core && g_Core->m_UserData)
            g_Core->m_UserData->LeaveAdventure();
        if (g_MoaMainWorker)
            g_MoaMainWorker->Stop();
        if (ZorCore* core = ZorCore::GetInstance())
            core->BeginDefence();
    }
    ZorMapModelPool::ReleaseAll();
    ZorNcPoolUnit::ReleaseAll();
}

bool SeqZorLoader::StepLoading()
{
    if (ZorMapModelPool::GetLoadIndex() < ZorMapModelPool::kBases)
        ZorMapModelPool::PrepareLoading(g_Core);
    else if (ZorNcPoolUnit::GetLoadIndex() < ZorNcPoolUnit::kUnitCount)
        ZorNcPoolUnit::PrepareLoading(ConfigString(SYSSTR_GNC_DIR, L"gnc/"), ConfigString(SYSSTR_GIS_DIR, L"gnc/gis/"));
    if (ZorMapModelPool::GetLoadIndex() >= ZorMapModelPool::kBases &&
        ZorNcPoolUnit::GetLoadIndex() == ZorNcPoolUnit::kUnitCount)
    {
        if (GxTaskManage* manage = GetManager())
            manage->ChangeSequence(L"SeqZorMain", m_EnterParam == kParamRestore ? kParamRestore : 1, 0);
        return true;
    }
    return false;
}

int32_t SeqZorLoader::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (DispatchUIEvents(this) == 0)
        StepLoading();
    AdvanceFrameCount();
    return 0;
}

void SeqZorLoader::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
    StartDefenceBGM();
}

std::wstring SeqZorLoader::StartDefenceBGM()
{
    ZorCore* core = ZorCore::GetInstance();
    if (!core || core->GetUserData()->m_DefBGM.empty())
        return std::wstring();
    std::wstring path = ConfigString(SYSSTR_BGM_DIR, L"bgms/") + core->GetUserData()->m_DefBGM;
    if (!GxSystemConfig::ResolveSoundPath(path))
        return std::wstring();
    GxUserData* data = g_Core ? g_Core->m_UserData : nullptr;
    if (data && data->m_BGMRecord.m_FileName == path)
        return std::wstring();
    if (data)
    {
        data->m_BGMRecord.m_FileName = path;
        data->m_BGMRecord.m_Loop = 0;
        data->m_BGMRecord.m_StartSeekPosTime = 0;
        data->m_BGMRecord.m_LoopPosTime = 0;
        data->m_BGMRecord.m_FadeInTime = 0;
    }
    GxSound::PlayBGM(path, -1, 0, 0, GxTaskUIBase::GetUserConfig().GetBGMVolume(), 0, 0);
    return path;
}
