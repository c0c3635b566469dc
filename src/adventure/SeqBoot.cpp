#include "adventure/SeqBoot.h"

#include "task/GxTaskManage.h"

SeqBoot::SeqBoot(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqBoot") {}

SeqBoot::~SeqBoot() = default;

int32_t SeqBoot::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    // A missing title is logged by the task manager.
    if (GxTaskManage* manage = GetManager())
        manage->ChangeSequence(L"SeqTitle", 0, 0);
    ++m_FrameCount;
    return 0;
}
