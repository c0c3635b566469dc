#include "strategy/screens/SeqZorInvLoader.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNcPoolUnit.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

std::wstring ConfigString(int index, const wchar_t* fallback)
{
    const std::wstring& value = GxTaskUIBase::GetSystemConfig().GetString(index);
    return value.empty() ? std::wstring(fallback) : value;
}

} // namespace

SeqZorInvLoader::SeqZorInvLoader(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqZorInvLoader")
{
    GxTaskBase* root = new GxTaskFolder(this, L"$ROOT:SeqZorInvLoader");
    new GxTaskFolder(root, L"$UI:SeqZorInvLoader");
    m_BGLayer = new GxTaskLayer(root, L"$BGLAYER:SeqZorInvLoader");
    m_BGLayer->SetOrderZ(-10.0f);
    GxTaskControl::CreateUIFromDBUILayout(this, L"$UI:SeqZorInvLoader");
    SetAcceptUIEvent(true);
}

SeqZorInvLoader::~SeqZorInvLoader() = default;

void SeqZorInvLoader::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    m_BGLayer->SetImage(ConfigString(SYSSTR_UI_DIR, L"cg/ui/") + L"bg_nowloading.png", 0,
                        ConfigString(SYSSTR_ERROR_IMAGE, L"cg/error.png"));
    if (g_Core && g_Core->m_UserData)
        g_Core->m_UserData->LeaveAdventure();
    if (g_MoaMainWorker)
        g_MoaMainWorker->Stop();
    ZorNcPoolUnit::ReleaseAll();
    if (ZorCore* core = ZorCore::GetInstance())
        core->BeginInvasion();
}

void SeqZorInvLoader::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    m_BGLayer->ClearContent(0);
}

int32_t SeqZorInvLoader::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (DispatchUIEvents(this) == 0)
    {
        if (ZorNcPoolUnit::GetLoadIndex() < ZorNcPoolUnit::kUnitCount)
            ZorNcPoolUnit::PrepareLoading(ConfigString(SYSSTR_GNC_DIR, L"gnc/"),
                                          ConfigString(SYSSTR_GIS_DIR, L"gnc/gis/"));
        if (ZorNcPoolUnit::GetLoadIndex() == ZorNcPoolUnit::kUnitCount)
        {
            GxTaskManage* manage = GetManager();
            GxTaskBase* screen = manage ? manage->FindTaskByName(L"SeqZorInvMain") : nullptr;
            if (screen)
                manage->ChangeSequence(screen, 1, 0);
            else
                GxLog::Error(L"遷移先のシーケンスが見つかりません(%s)\n", L"SeqZorInvMain");
        }
    }
    AdvanceFrameCount();
    return 0;
}
