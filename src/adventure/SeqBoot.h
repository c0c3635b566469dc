#pragma once

#include "task/GxSeqBase.h"

// The first screen after start-up. Built once at start-up under the root task and registered as "SeqBoot".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqBoot : public GxSeqBase
{
public:
    explicit SeqBoot(GxTaskBase* parent);
    ~SeqBoot() override;
};
