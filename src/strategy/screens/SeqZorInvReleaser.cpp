#include "strategy/screens/SeqZorInvReleaser.h"

#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "media/GxSound.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

SeqZorInvReleaser::SeqZorInvReleaser(GxTaskBase* parent) : SeqZorReleaser(parent, L"SeqZorInvReleaser") {}

SeqZorInvReleaser::~SeqZorInvReleaser() = default;

void SeqZorInvReleaser::OnSequenceEnter()
{
    SeqZorReleaser::OnSequenceEnter();
    GxTaskManage* manage = GetManager();
    m_EnterParam = manage ? manage->GetCurrentParam(0) : 0;
}

void SeqZorInvReleaser::OnSequenceLeave()
{
    // Not the defence releaser's leave: there is no stage to end here.
    GxSeqTransitBase::OnSequenceLeave();
    if (ZorCore* core = ZorCore::GetInstance())
    {
        core->EndInvasion();
        if (m_EnterParam == 1)
        {
            if (ZorTownState* town = core->GetUserData()->GetTownState(core->GetUserData()->m_NextInvTownID))
                town->RecoverEnemyHP();
        }
    }
    ZorMapModelPool::ReleaseAll();
    ZorNcPoolUnit::ReleaseAll();
    if (g_Core && g_Core->m_UserData)
    {
        g_Core->m_UserData->m_BGMRecord.Clear();
        GxSound::StopBGM(1000);
    }
}
