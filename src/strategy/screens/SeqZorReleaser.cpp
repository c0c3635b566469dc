#include "strategy/screens/SeqZorReleaser.h"

#include "script/GxMoaAdventureScreen.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

SeqZorReleaser::SeqZorReleaser(GxTaskBase* parent) : SeqZorReleaser(parent, L"SeqZorReleaser") {}

SeqZorReleaser::SeqZorReleaser(GxTaskBase* parent, const wchar_t* globalName) : GxSeqTransitBase(parent, globalName)
{
    const std::wstring name = globalName;
    GxTaskBase* root = new GxTaskFolder(this, (L"$ROOT:" + name).c_str());
    new GxTaskFolder(root, (L"$UI:" + name).c_str());
    auto* layer = new GxTaskLayer(root, (L"$BGLAYER:" + name).c_str());
    layer->SetOrderZ(-10.0f);
    GxTaskControl::CreateUIFromDBUILayout(this, (L"$UI:" + name).c_str());
    SetAcceptUIEvent(true);
}

SeqZorReleaser::~SeqZorReleaser() = default;

void SeqZorReleaser::SetJumpLabel(const std::wstring& label)
{
    m_NextSequence.clear();
    m_SwitchParam = 0;
    m_JumpLabel = label;
}

void SeqZorReleaser::SetNextSequence(const std::wstring& name, uint64_t param)
{
    m_NextSequence = name;
    m_SwitchParam = param;
    m_JumpLabel.clear();
}

void SeqZorReleaser::OnSequenceEnter()
{
    GxSeqTransitBase::OnSequenceEnter();
    SetFrameCount(0);
}

int32_t SeqZorReleaser::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (DispatchUIEvents(this) == 0 && GetFrameCount() > kWaitSteps)
    {
        // Asked again on every step until the switch is performed at the start of the next frame; a jump
        // that found no label pends no switch, so it is tried (and logged) again on the next step.
        GxTaskManage* manage = GetManager();
        if (!m_NextSequence.empty())
        {
            if (manage)
                manage->ChangeSequence(m_NextSequence.c_str(), static_cast<uint32_t>(m_SwitchParam),
                                       static_cast<uint32_t>(m_SwitchParam >> 32));
        }
        else if (!m_JumpLabel.empty() && !(manage && manage->IsChangeSequencePending()))
            GxMoaAdventureScreen::ReturnToStory(m_JumpLabel);
    }
    AdvanceFrameCount();
    return 0;
}

void SeqZorReleaser::OnSequenceLeave()
{
    GxSeqTransitBase::OnSequenceLeave();
    if (ZorCore* core = ZorCore::GetInstance())
        core->EndDefence();
    ZorMapModelPool::ReleaseAll();
    ZorNcPoolUnit::ReleaseAll();
}
