#pragma once

#include "task/GxSeqBase.h"

// The quick-load screen. Built once at start-up under the root task and registered as "SeqQuickLoad".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqQuickLoad : public GxSeqBase
{
public:
    explicit SeqQuickLoad(GxTaskBase* parent);
    ~SeqQuickLoad() override;
};
