#pragma once

#include "task/GxSeqBase.h"

// The title screen. Built once at start-up under the root task and registered as "SeqTitle".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqTitle : public GxSeqBase
{
public:
    explicit SeqTitle(GxTaskBase* parent);
    ~SeqTitle() override;
};
