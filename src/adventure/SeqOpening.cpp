#include "adventure/SeqOpening.h"

#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"

SeqOpening::SeqOpening(GxTaskBase* parent) : GxSeqTransitBase(parent, L"SeqOpening")
{
    SetAcceptUIEvent(true);
    auto* root = new GxTaskFolder(this, L"$ROOT:SeqOpening");
    new GxTaskFolder(root, L"$UI:SeqOpening");
    auto* background = new GxTaskLayer(root, L"$BGLAYER:SeqOpening");
    background->SetOrderZ(-10.0f);
}

SeqOpening::~SeqOpening() = default;

int32_t SeqOpening::Update(int32_t step, int64_t elapsed)
{
    GxSeqTransitBase::Update(step, elapsed);
    ++m_FrameCount;
    return 0;
}
