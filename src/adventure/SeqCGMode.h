#pragma once

#include "task/GxSeqBase.h"

// The gallery. Built once at start-up under the root task and registered as "SeqCGMode".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqCGMode : public GxSeqBase
{
public:
    explicit SeqCGMode(GxTaskBase* parent);
    ~SeqCGMode() override;
};
